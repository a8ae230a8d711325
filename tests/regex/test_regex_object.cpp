#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "regex/regex_object.h"
#include "text/encoding.h"
#include "text/primitives.h"

namespace gedan {
namespace {

// The charset probe the HTTP client runs over the head of every page.
constexpr const char* kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";
// "#引号" in GB18030 (iconv -f UTF-8 -t GB18030): 23 D2 FD BA C5.
constexpr const char* kQuote = "#\xD2\xFD\xBA\xC5";

struct MatchCase {
  const char* name;
  std::string pattern = {};
  std::string subject = {};
  bool caseSensitive = false;
  bool multiline = true;
  bool global = true;
  bool quoteMarker = false;
  // Expected results.
  bool accepted = true;
  int matchCount = 0;
  std::string lastMatch = {};   // MatchText(MatchCount())
  std::string firstGroup = {};  // SubMatchText(1, 1)
  int subMatchCount = 0;
  const char* getPattern = nullptr;  // GetPattern(); nullptr: the pattern as given
};

void PrintTo(const MatchCase& c, std::ostream* os) {
  *os << c.name;
}

// clang-format off
const MatchCase kMatchCases[] = {
    {.name = "CharsetAfterContentType", .pattern = kCharsetPattern,
     .subject = "<meta name=x content=text/html;charset=gb2312>",
     .matchCount = 1, .lastMatch = "<meta name=x content=text/html;charset=gb2312",
     .firstGroup = "gb2312", .subMatchCount = 1},
    // The one non-word character allowed after "charset=" is the quote.
    {.name = "QuotedCharset", .pattern = kCharsetPattern, .subject = "<meta charset=\"utf-8\">",
     .matchCount = 1, .lastMatch = "<meta charset=\"utf-8", .firstGroup = "utf-8",
     .subMatchCount = 1},
    {.name = "UpperCaseIgnoredByDefault", .pattern = kCharsetPattern,
     .subject = "<META CHARSET=UTF-8>",
     .matchCount = 1, .lastMatch = "<META CHARSET=UTF-8", .firstGroup = "UTF-8",
     .subMatchCount = 1},
    {.name = "UpperCaseWhenCaseSensitive", .pattern = kCharsetPattern,
     .subject = "<META CHARSET=UTF-8>", .caseSensitive = true},
    {.name = "NoMetaTag", .pattern = kCharsetPattern, .subject = "<html><head><title>x</title>"},
    // "." stops at line ends, so a tag broken over two lines is not found.
    {.name = "MetaTagOverTwoLines", .pattern = kCharsetPattern,
     .subject = "<meta http-equiv=Content-Type\r\ncontent=\"text/html; charset=gbk\">"},
    // \w is ASCII only: the name ends at the first Chinese character (D6 D0 is 中).
    {.name = "WordClassIsAscii", .pattern = kCharsetPattern,
     .subject = "<meta charset=utf_8\xD6\xD0>",
     .matchCount = 1, .lastMatch = "<meta charset=utf_8", .firstGroup = "utf_8",
     .subMatchCount = 1},
    {.name = "RejectedPattern", .pattern = "(", .subject = "(((", .accepted = false},
    {.name = "DigitsGlobal", .pattern = "\\d+", .subject = "a12b345",
     .matchCount = 2, .lastMatch = "345"},
    {.name = "DigitsFirstOnly", .pattern = "\\d+", .subject = "a12b345", .global = false,
     .matchCount = 1, .lastMatch = "12"},
    {.name = "QuoteMarker", .pattern = std::string("charset=") + kQuote + "(\\w+)",
     .subject = "charset=\"x\"", .quoteMarker = true,
     .matchCount = 1, .lastMatch = "charset=\"x", .firstGroup = "x", .subMatchCount = 1,
     .getPattern = "charset=\"(\\w+)"},
    {.name = "QuoteMarkerLeftAlone", .pattern = std::string("charset=") + kQuote + "(\\w+)",
     .subject = "charset=\"x\""},
    {.name = "LineStartWhenMultiline", .pattern = "^b\\w*$", .subject = "a\r\nbc\r\nd",
     .matchCount = 1, .lastMatch = "bc"},
    {.name = "SubjectStartOnly", .pattern = "^b\\w*$", .subject = "a\r\nbc\r\nd",
     .multiline = false},
    // Empty matches: one wherever nothing else matched.
    {.name = "EmptyMatches", .pattern = "x*", .subject = "axxb", .matchCount = 4},
    // After an empty match the search looks for a non-empty one at the same place.
    {.name = "EmptyThenNonEmpty", .pattern = "\\d??", .subject = "12", .matchCount = 5},
};
// clang-format on

class RegexMatchTable : public testing::TestWithParam<MatchCase> {};

TEST_P(RegexMatchTable, GivesCountsTextsAndGroups) {
  const MatchCase& c = GetParam();
  RegexObject re;
  EXPECT_EQ(re.Match(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global, c.quoteMarker),
            c.accepted);
  EXPECT_EQ(re.MatchCount(), c.matchCount);
  EXPECT_EQ(re.MatchText(re.MatchCount()), c.lastMatch);
  EXPECT_EQ(re.SubMatchText(1, 1), c.firstGroup);
  EXPECT_EQ(re.SubMatchCount(), c.subMatchCount);
  EXPECT_EQ(re.GetPattern(), c.getPattern ? c.getPattern : c.pattern);
  EXPECT_EQ(re.MatchText(c.matchCount + 1), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, RegexMatchTable, testing::ValuesIn(kMatchCases),
                         [](const testing::TestParamInfo<MatchCase>& row) {
                           return std::string(row.param.name);
                         });

TEST(RegexObject, EverythingIsEmptyBeforeTheFirstMatch) {
  RegexObject re;
  int position = 0;
  EXPECT_EQ(re.GetPattern(), "");
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.SubMatchCount(), 0);
  EXPECT_EQ(re.MatchText(1, &position), "");
  EXPECT_EQ(position, -1);
  EXPECT_EQ(re.SubMatchText(1, 1), "");
  EXPECT_EQ(re.ReplaceMatches("x"), "");
}

TEST(RegexObject, RejectedPatternDropsTheEarlierMatches) {
  RegexObject re;
  ASSERT_TRUE(re.Match("(b)", "abc"));
  ASSERT_EQ(re.MatchCount(), 1);

  EXPECT_FALSE(re.Match("a[", "abc"));
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.MatchText(1), "");
  EXPECT_EQ(re.SubMatchText(1, 1), "");
  EXPECT_EQ(re.SubMatchCount(), 0);
  EXPECT_EQ(re.ReplaceMatches("x"), "");
}

TEST(RegexObject, MissingMatchesAndGroupsAreEmptyWithPositionMinusOne) {
  RegexObject re;
  ASSERT_TRUE(re.Match("(a)|(b)", "xb"));
  EXPECT_EQ(re.SubMatchCount(), 2);

  int position = 0;
  EXPECT_EQ(re.SubMatchText(1, 2, &position), "b");
  EXPECT_EQ(position, 1);
  // Group 1 took no part in the match.
  position = 0;
  EXPECT_EQ(re.SubMatchText(1, 1, &position), "");
  EXPECT_EQ(position, -1);

  for (auto [match, group] : {std::pair{0, 1}, {2, 1}, {-1, 1}, {1, 0}, {1, 3}, {1, -1}}) {
    position = 0;
    EXPECT_EQ(re.SubMatchText(match, group, &position), "") << match << "," << group;
    EXPECT_EQ(position, -1) << match << "," << group;
  }
  for (int index : {0, 2, -1}) {
    position = 0;
    EXPECT_EQ(re.MatchText(index, &position), "") << index;
    EXPECT_EQ(position, -1) << index;
  }
}

// Positions count bytes of the internal text, while the engine counts UTF-16 units: every
// character in front of the match below takes more bytes than units (中文 2+2 bytes, 1 unit each;
// 😀 4 bytes, 2 units; 한 4 bytes, 1 unit).
TEST(RegexObject, PositionsAreByteOffsetsInTheSubject) {
  const Text before = Utf8ToAnsi("中文😀한 ");
  const Text between = Utf8ToAnsi(" 歌名 ");
  const Text subject = before + "id=42" + between + "id=7";
  ASSERT_EQ(TextLength(before), 13);

  RegexObject re;
  ASSERT_TRUE(re.Match("id=(\\d+)", subject));
  ASSERT_EQ(re.MatchCount(), 2);

  int position = 0;
  EXPECT_EQ(re.MatchText(1, &position), "id=42");
  EXPECT_EQ(position, 13);
  EXPECT_EQ(re.SubMatchText(1, 1, &position), "42");
  EXPECT_EQ(position, 16);
  EXPECT_EQ(re.MatchText(2, &position), "id=7");
  EXPECT_EQ(position, 13 + 5 + TextLength(between));
  EXPECT_EQ(subject.substr(position, 4), "id=7");
}

TEST(RegexObject, MatchesChineseTextAndKeepsSurrogatePairsWhole) {
  RegexObject re;
  const Text subject = Utf8ToAnsi("歌名：晴天 歌名：七里香");
  ASSERT_TRUE(re.Match(Utf8ToAnsi("歌名：(\\S+)"), subject));
  ASSERT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.SubMatchText(2, 1), Utf8ToAnsi("七里香"));

  // One "." is one character, also beyond the 16-bit range (GB18030 94 39 FC 36 is U+1F600, by
  // iconv).
  ASSERT_TRUE(re.Match("^.$", "\x94\x39\xFC\x36"));
  EXPECT_EQ(re.MatchCount(), 1);
  EXPECT_EQ(re.MatchText(1), "\x94\x39\xFC\x36");
}

struct ReplaceCase {
  const char* name;
  const char* pattern;
  std::string subject = {};
  const char* replacement;
  bool global;
  std::string expected;
};

TEST(RegexObject, ReplaceMatchesExpandsGroupReferences) {
  // clang-format off
  const ReplaceCase cases[] = {
      {"Group", "(\\d+)", "a12b345", "<$1>", true, "a<12>b<345>"},
      {"FirstOnly", "(\\d+)", "a12b345", "<$1>", false, "a<12>b345"},
      {"Remove", "\\d", "a12b3", "", true, "ab"},
      {"WholeMatchAndDollar", "\\d+", "a12", "[$&$$]", true, "a[12$]"},
      {"AroundTheMatch", "b", "abc", "($`|$')", true, "a(a|c)c"},
      // $2 names no group and stays; $10 is group 1 and a "0" when there is no group 10.
      {"UnknownGroups", "(b)", "abc", "$2$10$x$", true, "a$2b0$x$c"},
      {"TwoDigitGroup", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", "abcdefghijk", "$11$1", true, "ka"},
      {"NothingMatched", "z", "abc", "x", true, "abc"},
      {"EmptyMatches", "x*", "abc", "-", true, "-a-b-c-"},
      // U+1F600 is two UTF-16 units; no empty match falls between them.
      {"EmptyMatchesAroundEmoji", "x*", "\x94\x39\xFC\x36", "-", true, "-\x94\x39\xFC\x36-"},
      {"ChineseKept", "\\d+", Utf8ToAnsi("第1首 第2首"), "#", true, Utf8ToAnsi("第#首 第#首")},
  };
  // clang-format on
  for (const ReplaceCase& c : cases) {
    RegexObject re;
    ASSERT_TRUE(re.Match(c.pattern, c.subject, false, true, c.global)) << c.name;
    EXPECT_EQ(re.ReplaceMatches(c.replacement), c.expected) << c.name;
  }
}

TEST(RegexObject, ReplaceMatchesWithAChineseReplacement) {
  RegexObject re;
  ASSERT_TRUE(re.Match("(\\w+)=(\\w+)", "a=1;b=2"));
  EXPECT_EQ(re.ReplaceMatches(Utf8ToAnsi("$2是$1")), Utf8ToAnsi("1是a;2是b"));
}

TEST(RegexObject, CopiesShareTheResultsOfTheirMatch) {
  RegexObject original;
  ASSERT_TRUE(original.Match("(\\d+)", "a12b345"));

  RegexObject copy(original);
  RegexObject assigned;
  ASSERT_TRUE(assigned.Match("x", "x"));
  assigned = original;

  // The original moves on; the copies keep what they were given.
  ASSERT_TRUE(original.Match("z", "abc"));
  EXPECT_EQ(original.MatchCount(), 0);
  for (const RegexObject* re : {&copy, &assigned}) {
    EXPECT_EQ(re->MatchCount(), 2);
    EXPECT_EQ(re->SubMatchText(2, 1), "345");
    EXPECT_EQ(re->GetPattern(), "(\\d+)");
    EXPECT_EQ(re->ReplaceMatches("#"), "a#b#");
  }

  RegexObject fresh;
  RegexObject copyOfFresh(fresh);
  EXPECT_EQ(copyOfFresh.MatchCount(), 0);
  EXPECT_EQ(copyOfFresh.GetPattern(), "");

  copy = copy;  // NOLINT: self-assignment keeps the results
  EXPECT_EQ(copy.MatchCount(), 2);
}

// Nested repetition over a long run without the expected end backtracks exponentially; the match
// limit ends the search, and the matches found before it stay. ctest's time-out catches a hang.
TEST(RegexObject, CatastrophicBacktrackingEndsTheSearch) {
  RegexObject re;
  const Text hostile = std::string(5000, 'a') + "!";
  ASSERT_TRUE(re.Match("(a+)+$", hostile));
  EXPECT_EQ(re.MatchCount(), 0);

  ASSERT_TRUE(re.Match("(a+)+$", "aa\n" + std::string(40, 'a') + "!"));
  EXPECT_EQ(re.MatchCount(), 1);
  EXPECT_EQ(re.MatchText(1), "aa");
}

TEST(RegexObject, BrokenSubjectBytesDoNotStopTheMatch) {
  RegexObject re;
  // A lead byte before a space, a byte that is never valid, and a lead byte at the very end.
  ASSERT_TRUE(re.Match("\\d+",
                       "\x81 1 2\xFF"
                       "3\xD6"));
  EXPECT_EQ(re.MatchCount(), 3);
  EXPECT_EQ(re.MatchText(3), "3");
}

}  // namespace
}  // namespace gedan
