#include "json/engine_text.h"

#include <algorithm>
#include <cstdint>

#include "text/encoding.h"

namespace gedan {
namespace {

using Byte = unsigned char;

// A surrogate in CESU-8 is ED A0..BF xx: ED A0..AF starts a high half, ED B0..BF a low half.
bool IsSurrogateAt(std::string_view text, std::size_t p, Byte low, Byte high) {
  if (p + 2 >= text.size() || static_cast<Byte>(text[p]) != 0xED) return false;
  auto second = static_cast<Byte>(text[p + 1]);
  return second >= low && second <= high;
}

std::uint32_t SurrogateValue(std::string_view text, std::size_t p) {
  return 0xD000u | ((static_cast<Byte>(text[p + 1]) & 0x3Fu) << 6) |
         (static_cast<Byte>(text[p + 2]) & 0x3Fu);
}

}  // namespace

bool IsPlainAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    auto b = static_cast<Byte>(c);
    return b != 0 && b < 0x80;
  });
}

std::string ToEngineText(TextView text) {
  if (IsPlainAscii(text)) return std::string(text);
  return AnsiToUtf8(text);
}

std::string Cesu8ToUtf8(std::string_view cesu8) {
  if (cesu8.find('\xED') == std::string_view::npos) return std::string(cesu8);
  std::string out;
  out.reserve(cesu8.size());
  std::size_t p = 0;
  while (p < cesu8.size()) {
    if (IsSurrogateAt(cesu8, p, 0xA0, 0xAF) && IsSurrogateAt(cesu8, p + 3, 0xB0, 0xBF)) {
      std::uint32_t high = SurrogateValue(cesu8, p);
      std::uint32_t low = SurrogateValue(cesu8, p + 3);
      std::uint32_t code = 0x10000u + ((high - 0xD800u) << 10) + (low - 0xDC00u);
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
      p += 6;
    } else if (IsSurrogateAt(cesu8, p, 0xA0, 0xBF)) {
      out += "\xEF\xBF\xBD";  // a half without its partner
      p += 3;
    } else {
      out += cesu8[p++];
    }
  }
  return out;
}

Text FromEngineText(std::string_view cesu8) {
  if (IsPlainAscii(cesu8)) return Text(cesu8);
  return Utf8ToAnsi(Cesu8ToUtf8(cesu8));
}

}  // namespace gedan
