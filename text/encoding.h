#pragma once

// Conversions between the internal code page (GB18030) and Unicode, and the conversions at the
// system's boundaries: UTF-8 for file names, the terminal and the script engine, UTF-16 for Qt and
// the regex engine, any named charset for web pages. All of them go through iconv, and GB18030
// covers Unicode, so no ordinary character is lost (the C library maps a handful of private-use
// code points to nothing). Bytes that are not valid in the source encoding, and characters the
// target cannot hold, become U+FFFD (or its GB18030 form).
//
//   Bytes wide = AnsiToUnicode("A");      // 41 00 00 00
//   Text t = UnicodeToAnsi(wide);         // "A"
//   std::string file = AnsiToUtf8(name);  // for open(), mkdir(), std::cout

#include <optional>
#include <string>
#include <string_view>

#include "text/value.h"

namespace gedan {

// UTF-16LE bytes of the text followed by the two-byte terminator, unless dropTerminator is set.
// The empty text gives empty bytes, with no terminator.
Bytes AnsiToUnicode(TextView text, bool dropTerminator = false);
// UTF-16LE bytes up to the first zero unit (an odd last byte is ignored), as internal text.
Text UnicodeToAnsi(const Bytes& utf16le);
// UTF-8 bytes as internal text, up to the first zero byte.
Text Utf8ToAnsi(const Bytes& utf8);
Text Utf8ToAnsi(std::string_view utf8);

// Boundary conversions.
std::string AnsiToUtf8(TextView text);
std::u16string AnsiToUtf16(TextView text);
Text Utf16ToAnsi(std::u16string_view utf16);

// The bytes decoded as `charset` (an IANA or iconv name such as "utf-8", "big5", "iso-8859-1") and
// converted to internal text, up to the first zero byte. nullopt when the charset is unknown.
std::optional<Text> DecodeCharset(const Bytes& bytes, std::string_view charset);

}  // namespace gedan
