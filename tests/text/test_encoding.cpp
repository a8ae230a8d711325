#include <cctype>
#include <cstddef>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "text/encoding.h"

namespace gedan {
namespace {

// U+FFFD, which stands for every broken input sequence, in GB18030.
constexpr const char* kReplacement = "\x84\x31\xA4\x37";

Bytes ToByteSet(std::string_view bytes) {
  return Bytes(bytes.begin(), bytes.end());
}

std::u16string Units(std::string_view utf16le) {
  std::u16string out;
  for (std::size_t i = 0; i + 1 < utf16le.size(); i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(utf16le[i]) |
                                        static_cast<unsigned char>(utf16le[i + 1]) << 8));
  }
  return out;
}

// One text in the three encodings; the bytes come from iconv -f UTF-8 -t GB18030 / UTF-16LE.
struct RoundTrip {
  const char* name;
  std::string utf8;
  std::string internal;
  std::string utf16le;
};

const RoundTrip kRoundTrips[] = {
    {"Ascii", "abc", "abc", std::string("a\0b\0c\0", 6)},
    {"Chinese", "中文", "\xD6\xD0\xCE\xC4", "\x2D\x4E\x87\x65"},
    // Hangul syllables take four bytes in GB18030.
    {"Korean", "한국어", "\x83\x36\x84\x33\x82\x37\xF4\x30\x83\x32\xEB\x35",
     "\x5C\xD5\x6D\xAD\xB4\xC5"},
    // Beyond the 16-bit range: four bytes, a surrogate pair.
    {"Emoji", "😀", "\x94\x39\xFC\x36", std::string("\x3D\xD8\x00\xDE", 4)},
    {"EuroAndAccent", "€é", "\xA2\xE3\xA8\xA6", std::string("\xAC\x20\xE9\x00", 4)},
};

TEST(Encoding, RoundTripsBetweenTheThreeEncodings) {
  for (const RoundTrip& r : kRoundTrips) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(Utf8ToAnsi(r.utf8), r.internal);
    EXPECT_EQ(Utf8ToAnsi(ToByteSet(r.utf8)), r.internal);
    EXPECT_EQ(AnsiToUtf8(r.internal), r.utf8);
    EXPECT_EQ(AnsiToUtf16(r.internal), Units(r.utf16le));
    EXPECT_EQ(Utf16ToAnsi(Units(r.utf16le)), r.internal);
    EXPECT_EQ(AnsiToUnicode(r.internal, true), ToByteSet(r.utf16le));
    EXPECT_EQ(AnsiToUnicode(r.internal), ToByteSet(r.utf16le + std::string(2, '\0')));
    EXPECT_EQ(UnicodeToAnsi(ToByteSet(r.utf16le)), r.internal);
  }
}

TEST(AnsiToUnicode, EndsWithTheTerminatorUnlessDropped) {
  EXPECT_EQ(AnsiToUnicode("A"), (Bytes{0x41, 0, 0, 0}));
  EXPECT_EQ(AnsiToUnicode("A", true), (Bytes{0x41, 0}));
  EXPECT_EQ(AnsiToUnicode(""), Bytes{});
  EXPECT_EQ(AnsiToUnicode("", true), Bytes{});
}

TEST(UnicodeToAnsi, StopsAtTheFirstZeroUnit) {
  EXPECT_EQ(UnicodeToAnsi({0x41, 0, 0, 0, 0x42, 0}), "A");
  EXPECT_EQ(UnicodeToAnsi({0x41, 0, 0x42}), "A");      // an odd last byte is ignored
  EXPECT_EQ(UnicodeToAnsi({0x00, 0x4E}), "\xD2\xBB");  // 一 U+4E00: a zero byte, not a zero unit
  EXPECT_EQ(UnicodeToAnsi({}), "");
  EXPECT_EQ(Utf16ToAnsi(std::u16string(u"A\0B", 3)), "A");
}

TEST(Encoding, BrokenInputBecomesOneReplacementAndTheRestSurvives) {
  const std::string r = kReplacement;
  EXPECT_EQ(Utf8ToAnsi("a\xFF"
                       "b"),
            "a" + r + "b");
  EXPECT_EQ(Utf8ToAnsi("a\x80"
                       "b"),
            "a" + r + "b");  // a continuation byte alone
  // An unpaired surrogate in UTF-16 (3D D8 is the first half of 😀).
  EXPECT_EQ(UnicodeToAnsi({0x3D, 0xD8, 0x41, 0x00}), r + "A");
  EXPECT_EQ(Utf16ToAnsi(u"\xDE00z"), r + "z");
  // A GB18030 lead byte before a byte that cannot follow it.
  EXPECT_EQ(AnsiToUtf8("\x81 a"), "\xEF\xBF\xBD a");

  // A well-formed character that the internal code page has no code for (U+E78D, a private-use
  // character whose old GB18030 code now stands for U+FE10) becomes one character, as it does from
  // UTF-16, not one replacement per byte.
  const Text unencodable = Utf16ToAnsi(u"\uE78D");
  EXPECT_EQ(Utf8ToAnsi("a\xEE\x9E\x8D"
                       "b"),
            "a" + unencodable + "b");
  EXPECT_EQ(DecodeCharset(ToByteSet("a\xEE\x9E\x8D"
                                    "b"),
                          "utf-8"),
            "a" + unencodable + "b");

  // Truncated and surrogate-encoded UTF-8 at the end: how many replacements is open, but nothing
  // before them is lost and nothing else appears.
  for (const char* broken : {"a\xE4\xB8", "a\xED\xA0\x80", "a\xF0\x9F\x98"}) {
    const Text converted = Utf8ToAnsi(broken);
    ASSERT_GE(converted.size(), 1 + r.size()) << broken;
    EXPECT_EQ(converted[0], 'a');
    for (std::size_t p = 1; p < converted.size(); p += r.size())
      EXPECT_EQ(converted.substr(p, r.size()), r) << broken;
  }
}

TEST(Utf8ToAnsi, StopsAtTheFirstZeroByte) {
  EXPECT_EQ(Utf8ToAnsi(std::string_view("a\0b", 3)), "a");
  EXPECT_EQ(Utf8ToAnsi(Bytes{'a', 0, 'b'}), "a");
  EXPECT_EQ(Utf8ToAnsi(Bytes{}), "");
}

struct CharsetCase {
  const char* charset;
  std::string bytes;
  std::optional<Text> expected;
};

TEST(DecodeCharset, DecodesNamedCharsetsAndRefusesUnknownNames) {
  // Big5 and GBK bytes of 中文 by iconv -t BIG5 / -t GBK.
  const CharsetCase cases[] = {
      {"utf-8", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
      {"UTF-8", "a\xFF", std::string("a") + kReplacement},
      {"big5", "\xA4\xA4\xA4\xE5", "\xD6\xD0\xCE\xC4"},
      {"gbk", "\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4"},
      {"gb2312", "\xD6\xD0", "\xD6\xD0"},
      {"iso-8859-1", "caf\xE9", "caf\xA8\xA6"},
      {"utf-8", std::string("a\0b", 3), "a"},
      {"utf-8", "", ""},
      {"x-no-such-charset", "abc", std::nullopt},
      {"", "abc", std::nullopt},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const CharsetCase& c = cases[i];
    EXPECT_EQ(DecodeCharset(ToByteSet(c.bytes), c.charset), c.expected) << "row " << i;
  }
}

// Pages choose the charset name; every spelling of it opens a converter, and the ones kept must
// not run out or go stale when many names come by.
TEST(DecodeCharset, KeepsWorkingOverManySpellingsOfCharsetNames) {
  const std::string name = "latin1";
  for (unsigned mask = 0; mask < (1u << name.size()); ++mask) {
    std::string spelling = name;
    for (std::size_t i = 0; i < name.size(); ++i)
      if (mask & (1u << i)) spelling[i] = static_cast<char>(std::toupper(spelling[i]));
    ASSERT_EQ(DecodeCharset(ToByteSet("caf\xE9"), spelling), Text("caf\xA8\xA6")) << spelling;
    ASSERT_EQ(DecodeCharset(ToByteSet("x"), spelling + "-unknown"), std::nullopt);
    ASSERT_EQ(Utf8ToAnsi("\xE4\xB8\xAD"), "\xD6\xD0");
  }
}

}  // namespace
}  // namespace gedan
