#pragma once

// The value model every part of gedan works in.
//
// A Text is a byte string in the internal multi-byte code page (GB18030, a superset of GBK that
// represents all of Unicode) and never holds a zero byte. An absent text and the empty text are the
// same value. Lengths and positions count bytes; positions handed to and returned from the text
// operations are 1-based, and a search that finds nothing gives -1.
//
// Bytes is a counted byte sequence that may hold zero bytes (a response body, a UTF-16 buffer).
//
// A TextArray is a sequence of texts. The operations that produce one (SplitText, the member names
// of a JSON object) fill it in order; index it from 0 in C++.
//
//   Text name = Utf8ToAnsi("歌名");           // constants written in UTF-8 source, converted once
//   int p = FindText(name, "\xC3\xFB");       // 3: GB18030 bytes of 名
//   Bytes wide = AnsiToUnicode(name);         // UTF-16LE with its two-byte terminator

#include <string>
#include <string_view>
#include <vector>

namespace gedan {

using Text = std::string;
using TextView = std::string_view;
using Bytes = std::vector<unsigned char>;
using TextArray = std::vector<Text>;

}  // namespace gedan
