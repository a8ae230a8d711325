#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "text/numbers.h"

namespace gedan {
namespace {

struct IntegerCase {
  std::string text;
  std::int32_t expected;
};

TEST(ToInteger, ReadsFullWidthDigitsSignsAndWrapsOnOverflow) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  // Full-width forms are A3 + (ASCII + 0x80): "１" A3 B1, "－" A3 AD, "＋" A3 AB; A1 A1 is the
  // full-width space.
  const IntegerCase cases[] = {
      {"\xA3\xB1\xA3\xB2\xA3\xB3", 123},
      {"1\xA3\xB2"
       "3",
       123},
      {"\xA1\xA1\xA3\xAD\xA3\xB5", -5},
      {"\xA3\xAB"
       "8",
       8},
      {" 42abc", 42},
      {"\t\n\v\f\r 5", 5},
      {"abc", 0},
      {"", 0},
      {"-7", -7},
      {"+8", 8},
      {"1", 1},
      {"- 5", 0},
      {"--5", 0},
      {"12 34", 12},
      {"7\x81", 7},  // a lead byte with nothing after it ends the text
      {"\xD6\xD0"
       "1",
       0},  // a character that is not a digit stops the number
      {"2147483647", kMax},
      {"-2147483648", kMin},
      {"2147483648", kMin},  // 32-bit wrap
      {"4294967297", 1},
      {"99999999999", 1215752191},  // 99999999999 - 23 * 2^32
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ToInteger(cases[i].text), cases[i].expected) << "row " << i;
  }
}

TEST(ToText, WritesIntegersDecimalsBytesAndHex) {
  const std::pair<Text, Text> cases[] = {
      {ToText(0), "0"},
      {ToText(-5), "-5"},
      {ToText(std::numeric_limits<std::int32_t>::min()), "-2147483648"},
      {ToText(0.1 + 0.2), "0.3"},
      {ToText(5.0), "5"},
      {ToText(-2.5), "-2.5"},
      {ToText(1234567890123.0), "1234567890123"},
      {ToText(1e13), "1e+13"},
      {ToText(0.0001), "0.0001"},
      {ToText(0.00001), "1e-05"},
      {ToText(Bytes{'a', 0, 'b'}), "a"},
      {ToText(Bytes{'a', 'b'}), "ab"},
      {ToText(Bytes{}), ""},
      {ToHexText(255), "FF"},
      {ToHexText(10), "A"},
      {ToHexText(0), "0"},
      {ToHexText(-1), "FFFFFFFF"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].first, cases[i].second) << "row " << i;
  }
}

struct FormatCase {
  double value;
  int decimals;
  std::string expected;
};

TEST(FormatNumber, RoundsHalvesAwayFromZeroAndPadsDecimals) {
  const FormatCase cases[] = {
      {2.5, 0, "3"},        {-2.5, 0, "-3"},
      {0.5, 0, "1"},        {7, 0, "7"},
      {1.005, 2, "1.01"},  // stored just below the half; the 1e-12 nudge rounds it up
      {2.675, 2, "2.68"},   {0.125, 2, "0.13"},
      {3, 2, "3.00"},       {0, 2, "0.00"},
      {12.3, 2, "12.30"},   {99.995, 2, "100.00"},
      {-1.234, 2, "-1.23"}, {1234567.891, 2, "1234567.89"},  // no thousands separators
      {45.6789, 0, "46"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const FormatCase& c = cases[i];
    EXPECT_EQ(FormatNumber(c.value, c.decimals), c.expected) << "row " << i;
  }
}

}  // namespace
}  // namespace gedan
