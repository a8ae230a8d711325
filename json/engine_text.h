#pragma once

// Texts at the boundary of the script engine, which reads UTF-8 and writes CESU-8: characters
// beyond U+FFFF come out as two three-byte surrogate halves instead of one four-byte sequence.
//
//   std::string in = ToEngineText(text);            // internal text -> UTF-8
//   Text out = FromEngineText("\xED\xA0\xBD\xED\xB8\x80");   // U+1F600 as internal text

#include <string>
#include <string_view>

#include "text/value.h"

namespace gedan {

// UTF-8 for the engine. Invalid input bytes become U+FFFD.
std::string ToEngineText(TextView text);

// True when every byte is ASCII other than zero: such a text reads the same in every encoding
// involved and needs no conversion either way.
bool IsPlainAscii(std::string_view text);

// CESU-8 (or UTF-8) from the engine as internal text: surrogate pairs are joined, a lone surrogate
// becomes U+FFFD, and the text ends at the first zero byte.
Text FromEngineText(std::string_view cesu8);

// The same text with each surrogate pair written as one four-byte UTF-8 sequence.
std::string Cesu8ToUtf8(std::string_view cesu8);

}  // namespace gedan
