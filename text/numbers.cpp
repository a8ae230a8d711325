#include "text/numbers.h"

#include <cmath>
#include <cstdio>

namespace gedan {
namespace {

using Byte = unsigned char;

// Full-width ASCII (lead byte 0xA3) and the few full-width signs a number may carry become their
// ASCII forms, so "１２３" reads as 123.
Text NormaliseFullWidth(TextView text) {
  Text out;
  out.reserve(text.size());
  std::size_t p = 0;
  while (p < text.size()) {
    auto lead = static_cast<Byte>(text[p]);
    if (lead < 0x80) {
      out += text[p++];
      continue;
    }
    if (p + 1 >= text.size()) break;  // a lead byte with nothing after it ends the text
    auto trail = static_cast<Byte>(text[p + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      out += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out += '*';
    } else {
      out.append(text.substr(p, 2));
    }
    p += 2;
  }
  return out;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::int32_t ToInteger(TextView text) {
  const Text normal = NormaliseFullWidth(text);
  std::size_t p = 0;
  while (p < normal.size() && IsSpace(normal[p])) ++p;
  bool negative = false;
  if (p < normal.size() && (normal[p] == '+' || normal[p] == '-')) negative = normal[p++] == '-';
  // Unsigned arithmetic wraps without undefined behaviour; the result is its 32-bit reading.
  std::uint32_t value = 0;
  while (p < normal.size() && normal[p] >= '0' && normal[p] <= '9') {
    value = value * 10u + static_cast<std::uint32_t>(normal[p++] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

Text ToText(std::int32_t value) {
  return std::to_string(value);
}

Text ToText(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.13g", value);
  return buffer;
}

Text ToText(const Bytes& bytes) {
  Text out;
  for (unsigned char b : bytes) {
    if (b == 0) break;
    out += static_cast<char>(b);
  }
  return out;
}

Text ToHexText(std::int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
  return buffer;
}

Text FormatNumber(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  double rounded = 0;
  if (value != 0) {
    const double scale = std::pow(10.0, decimals);
    // The tiny nudge makes values such as 1.005, stored just below the half, round up as written.
    const double y = std::fabs(value) * scale + 0.000000000001;
    double whole = std::floor(y);
    if (y - whole >= 0.5) whole += 1;
    rounded = std::copysign(whole / scale, value);
  }
  Text out = ToText(rounded);
  if (decimals > 0) {
    auto point = out.find('.');
    if (point == Text::npos) {
      out += '.';
      out.append(static_cast<std::size_t>(decimals), '0');
    } else {
      std::size_t digits = out.size() - point - 1;
      if (digits < static_cast<std::size_t>(decimals))
        out.append(static_cast<std::size_t>(decimals) - digits, '0');
    }
  }
  return out;
}

}  // namespace gedan
