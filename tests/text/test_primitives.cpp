#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/primitives.h"

namespace gedan {
namespace {

// GB18030 bytes used below (iconv -f UTF-8 -t GB18030):
//   中 D6 D0   啊 B0 A1   full-width space A1 A1   😀 94 39 FC 36 (four bytes, holding the ASCII
//   digits 9 and 6 as its second and fourth byte)
// 81 61 is a double-byte character whose second byte is the letter "a".
constexpr const char* kEmoji = "\x94\x39\xFC\x36";

struct CutCase {
  Text actual;
  Text expected;
};

TEST(TextCutting, CountsBytesAndClampsOnlyTheLength) {
  const CutCase cases[] = {
      {TextLeft("abc", 2), "ab"},        {TextLeft("abc", 5), "abc"},  {TextLeft("abc", -1), ""},
      {TextLeft("\xD6\xD0", 1), "\xD6"},  // cuts a character in two
      {TextRight("abc", 2), "bc"},       {TextRight("abc", 5), "abc"}, {TextRight("abc", 0), ""},
      {TextMid("abc", 2, 10), "bc"},     {TextMid("abc", 0, 2), ""},  // start is not clamped
      {TextMid("abc", 4, 1), ""},        {TextMid("abc", 3, 1), "c"},  {TextMid("abc", 1, 0), ""},
      {RepeatText(3, "ab"), "ababab"},   {RepeatText(0, "ab"), ""},    {RepeatText(-2, "ab"), ""},
      {CharFromCode('A'), "A"},          {CharFromCode(0xD6), "\xD6"}, {CharFromCode(0), ""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].actual, cases[i].expected) << "row " << i;
  }
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength(kEmoji), 4);
}

struct FindCase {
  std::string text;
  std::string sought;
  int start;
  Case letterCase;
  int expected;
};

TEST(FindText, FindsOnCharacterBoundariesOnly) {
  constexpr Case S = Case::kSensitive;
  constexpr Case I = Case::kIgnore;
  // clang-format off
  const FindCase cases[] = {
      {"abc", "", 1, S, 1},
      {"", "", 1, S, -1},
      {"abc", "", 3, S, 1},   // the searched range still holds a byte
      {"abc", "", 4, S, -1},
      {"abcabc", "abc", 2, S, 4},
      {"abcabc", "abc", 0, S, 1},
      {"abcabc", "abc", -7, S, 1},
      {"abc", "c", 4, S, -1},
      {"abc", "abcd", 1, S, -1},
      {"ABC", "b", 1, S, -1},
      {"ABC", "b", 1, I, 2},
      // No match on the second byte of a double-byte character.
      {"\xD6\xD0" "a", "\xD0" "a", 1, S, -1},
      {"\xD6\xD0" "a", "a", 1, S, 3},
      // A four-byte character steps as two double-byte units: its digit bytes are never found.
      {std::string(kEmoji) + "96", "9", 1, S, 5},
      {std::string(kEmoji) + "96", "6", 1, S, 6},
      {kEmoji, "\x39\xFC", 1, S, -1},
      {kEmoji, "\xFC\x36", 1, S, 3},
      // A start inside a character scans from there, taking that byte as a lead byte.
      {"\xD6\xD0\xD6\xD0", "\xD6\xD0", 2, S, -1},
      // Letter folding is for single-byte characters: the second byte "a" of 81 61 is not folded.
      {"\x81" "a", "\x81" "A", 1, I, -1},
      {"\x81" "a" "A", "a", 1, I, 3},
      // A lead byte at the very end ends the scan.
      {"ab\x81", "b\x81", 1, S, 2},
      {"\x81", "x", 1, S, -1},
  };
  // clang-format on
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const FindCase& c = cases[i];
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.letterCase), c.expected) << "row " << i;
  }
}

struct ReplaceCase {
  std::string text;
  std::string sought;
  std::string replacement;
  int start;
  int count;
  Case letterCase;
  std::string expected;
};

TEST(ReplaceText, ReplacesNonOverlappingOccurrencesOnBoundaries) {
  constexpr Case S = Case::kSensitive;
  constexpr Case I = Case::kIgnore;
  // clang-format off
  const ReplaceCase cases[] = {
      {"aaa", "aa", "b", 1, -1, S, "ba"},
      {"a-b-c", "-", "", 1, -1, S, "abc"},
      {"AbAB", "ab", "x", 1, -1, I, "xx"},
      {"AbAB", "ab", "x", 1, -1, S, "AbAB"},
      {"aXaXa", "a", "b", 2, -1, S, "aXbXb"},
      {"aaa", "a", "b", 1, 1, S, "baa"},
      {"aaa", "a", "b", 1, 0, S, "aaa"},
      {"aaa", "", "b", 1, -1, S, "aaa"},
      {"aaa", "a", "b", 4, -1, S, "aaa"},
      {"", "a", "b", 1, -1, S, ""},
      {"\xD6\xD0" "a", "\xD0" "a", "x", 1, -1, S, "\xD6\xD0" "a"},
      {std::string(kEmoji) + "9", "9", "x", 1, -1, S, std::string(kEmoji) + "x"},
      // A lead byte with nothing after it is dropped.
      {"ab\x81", "z", "y", 1, -1, S, "ab"},
      {"\xD6\xD0" "\xD6\xD0", "\xD6\xD0", "a", 1, -1, S, "aa"},
  };
  // clang-format on
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const ReplaceCase& c = cases[i];
    EXPECT_EQ(ReplaceText(c.text, c.sought, c.replacement, c.start, c.count, c.letterCase),
              c.expected)
        << "row " << i;
  }
}

struct SplitCase {
  std::string text;
  std::string separator;
  int maxCount;
  std::vector<std::string> expected;
};

TEST(SplitText, SplitsAtSeparatorsOnBoundaries) {
  // clang-format off
  const SplitCase cases[] = {
      {"a,,b,", ",", kNoLimit, {"a", "", "b"}},
      {",a", ",", kNoLimit, {"", "a"}},
      {"a", ",", kNoLimit, {"a"}},
      {",", ",", kNoLimit, {""}},
      {"", ",", kNoLimit, {}},
      {"abc", "", kNoLimit, {"abc"}},
      {"x\r\ny", "\r\n", kNoLimit, {"x", "y"}},
      {"k=1; k2=2", ";", kNoLimit, {"k=1", " k2=2"}},
      {"a,b,c", ",", 2, {"a", "b"}},
      {"a,b,c", ",", 5, {"a", "b", "c"}},
      {"a,b,c", ",", 0, {}},
      {"a,b,c", ",", -1, {}},  // a limit of 0 or less takes nothing
      // 81 61 holds the separator "a" as its second byte; 😀 holds "9".
      {"\x81" "ab", "a", kNoLimit, {"\x81" "ab"}},
      {std::string(kEmoji) + "9x", "9", kNoLimit, {kEmoji, "x"}},
  };
  // clang-format on
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const SplitCase& c = cases[i];
    EXPECT_EQ(SplitText(c.text, c.separator, c.maxCount), c.expected) << "row " << i;
  }
  EXPECT_EQ(SplitText("a,b"), (TextArray{"a", "b"}));  // the separator defaults to ","
}

TEST(TrimBoth, RemovesSpacesAndFullWidthSpacesAtBothEnds) {
  const std::pair<std::string, std::string> cases[] = {
      {"\t a \r\n", "\t a \r\n"},  // tab and line ends are not blanks
      {"\xA1\xA1"
       "a"
       "\xA1\xA1",
       "a"},
      {"  ", ""},
      {"", ""},
      {" a b ", "a b"},
      {"a\xA1\xA1 \xA1\xA1", "a"},
      {"\xD6\xD0 ", "\xD6\xD0"},
      // B0 A1 is 啊: the A1 A1 across two characters is no full-width space.
      {"\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
      {" \xB0\xA1\xA1\xB0 ", "\xB0\xA1\xA1\xB0"},
      // A lead byte with nothing after it is cut off.
      {"a\x81", "a"},
      {"\xA1\xA1\xA1", ""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(TrimBoth(cases[i].first), cases[i].second) << "row " << i;
  }
}

struct CompareCase {
  std::string a;
  std::string b;
  Case letterCase;
  int expectedSign;
};

TEST(CompareText, ComparesBytesAsUnsignedWithOptionalAsciiFolding) {
  constexpr Case S = Case::kSensitive;
  constexpr Case I = Case::kIgnore;
  const CompareCase cases[] = {
      {"", "", S, 0},
      {"a", "", S, 1},
      {"", "a", S, -1},
      {"Charset", "CHARSET", I, 0},
      {"Charset", "CHARSET", S, 1},
      {"ab", "abc", I, -1},
      {"a", "b", S, -1},
      {"\xD6\xD0", "a", S, 1},  // unsigned: lead bytes sort after ASCII
      {"\xD6\xD0", "\xD6\xD0", I, 0},
      {"\x81"
       "a",
       "\x81"
       "A",
       I, 1},  // the second byte of a character is not folded
  };
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const CompareCase& c = cases[i];
    EXPECT_EQ(sign(CompareText(c.a, c.b, c.letterCase)), c.expectedSign) << "row " << i;
    EXPECT_EQ(sign(CompareText(c.b, c.a, c.letterCase)), -c.expectedSign) << "row " << i;
  }
}

}  // namespace
}  // namespace gedan
