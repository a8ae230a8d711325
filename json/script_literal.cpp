#include "json/script_literal.h"

#include <cstdio>

namespace gedan {
namespace {

using Byte = unsigned char;

// GB18030 forms of the characters written as escapes.
constexpr TextView kLineSeparator = "\x81\x36\xA6\x35";       // U+2028
constexpr TextView kParagraphSeparator = "\x81\x36\xA6\x36";  // U+2029

bool InRange(Byte b, Byte low, Byte high) {
  return b >= low && b <= high;
}

// An ASCII byte that stands for itself inside a double-quoted literal.
bool IsPlain(Byte b) {
  return b >= 0x20 && b < 0x7F && b != '"' && b != '\\';
}

// Length of the character starting at `p`, or 0 when the bytes there form none.
std::size_t CharacterLength(TextView text, std::size_t p) {
  auto lead = static_cast<Byte>(text[p]);
  if (lead < 0x80) return 1;
  if (!InRange(lead, 0x81, 0xFE) || p + 1 >= text.size()) return 0;
  auto second = static_cast<Byte>(text[p + 1]);
  if (InRange(second, 0x40, 0x7E) || InRange(second, 0x80, 0xFE)) return 2;
  if (InRange(second, 0x30, 0x39) && p + 3 < text.size() &&
      InRange(static_cast<Byte>(text[p + 2]), 0x81, 0xFE) &&
      InRange(static_cast<Byte>(text[p + 3]), 0x30, 0x39)) {
    return 4;
  }
  return 0;
}

void AppendEscapedAscii(Text& out, char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      break;
  }
  auto b = static_cast<Byte>(c);
  if (b < 0x20 || b == 0x7F) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04X", b);
    out += escape;
  } else {
    out += c;
  }
}

}  // namespace

void AppendScriptStringLiteral(Text& out, TextView text) {
  out.reserve(out.size() + text.size() + text.size() / 16 + 16);  // room for a few escapes
  out += '"';
  std::size_t p = 0;
  while (p < text.size()) {
    // Most of a text needs no escape: copy such runs whole.
    std::size_t run = p;
    while (run < text.size() && IsPlain(static_cast<Byte>(text[run]))) ++run;
    out.append(text.substr(p, run - p));
    p = run;
    if (p == text.size()) break;

    std::size_t length = CharacterLength(text, p);
    TextView character = text.substr(p, length);
    if (length == 0) {
      out += "\\uFFFD";
      length = 1;
    } else if (length == 1) {
      AppendEscapedAscii(out, text[p]);
    } else if (character == kLineSeparator) {
      out += "\\u2028";
    } else if (character == kParagraphSeparator) {
      out += "\\u2029";
    } else {
      out.append(character);
    }
    p += length;
  }
  out += '"';
}

Text ScriptStringLiteral(TextView text) {
  Text out;
  AppendScriptStringLiteral(out, text);
  return out;
}

}  // namespace gedan
