#include <cstddef>
#include <string>

#include <gtest/gtest.h>

#include "text/encoding.h"
#include "text/markers.h"

namespace gedan {
namespace {

// "#引号" in GB18030 (iconv -f UTF-8 -t GB18030): 23 D2 FD BA C5.
constexpr const char* kQuote = "#\xD2\xFD\xBA\xC5";

TEST(QuoteMarker, IsTheInternalTextOfTheMarker) {
  EXPECT_EQ(QuoteMarker(), kQuote);
}

struct BetweenCase {
  std::string text;
  std::string left;
  std::string right;
  int start;
  Case letterCase;
  std::string expected;
};

TEST(TextBetween, CutsBetweenTheLeftMarkerAndTheNextRightMarker) {
  constexpr Case S = Case::kSensitive;
  // clang-format off
  const BetweenCase cases[] = {
      {"x\"a\"y", kQuote, kQuote, 1, S, "a"},
      {"charset=\"gbk\"", std::string("charset=") + kQuote, kQuote, 1, S, "gbk"},
      {"abc", "a", "c", 1, S, "b"},
      {"ac", "a", "c", 1, S, ""},
      {"abc", "x", "c", 1, S, ""},
      {"abc", "a", "x", 1, S, ""},
      {"a=1;b=2", "=", ";", 1, S, "1"},
      {"a=1;b=2;", "=", ";", 4, S, "2"},
      // The right marker is searched after the left one, so equal markers do not overlap.
      {"a=b=c", "=", "=", 1, S, "b"},
      {"A=1;", "a=", ";", 1, Case::kIgnore, "1"},
      {"A=1;", "a=", ";", 1, S, ""},
      // The left marker cannot start on the second byte of D6 D0.
      {"\xD6\xD0" "a=1;", "\xD0" "a=", ";", 1, S, ""},
  };
  // clang-format on
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const BetweenCase& c = cases[i];
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.letterCase), c.expected)
        << "row " << i;
  }
}

TEST(TextBetween, CutsTheSongDataOutOfAPage) {
  const Text page = Utf8ToAnsi(
      "<script>var dataFromSmarty = [{\"song_name\":\"晴天\"}],//当前页面歌曲信息\n</script>");
  EXPECT_EQ(TextBetween(page, "var dataFromSmarty = ", Utf8ToAnsi(",//当前页面歌曲信息")),
            Utf8ToAnsi("[{\"song_name\":\"晴天\"}]"));
}

TEST(TextBefore, TakesEverythingFromTheBeginningUpToTheMarker) {
  const std::pair<Text, Text> cases[] = {
      {TextBefore("key=value", "="), "key"},
      {TextBefore("abc", "="), ""},
      {TextBefore("=x", "="), ""},
      {TextBefore("a=b=c", "=", 3), "a=b"},  // from the beginning, not from start
      {TextBefore("a=b", "=", 0), "a"},
      {TextBefore("a=b", "=", -3), "a"},
      {TextBefore("Key: v", "key:", 1, Case::kIgnore), ""},
      {TextBefore("x Key: v", "key:", 1, Case::kIgnore), "x "},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].first, cases[i].second) << "row " << i;
  }
}

}  // namespace
}  // namespace gedan
