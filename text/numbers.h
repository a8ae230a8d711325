#pragma once

// Numbers to texts and back.
//
//   ToInteger("\xA3\xB1\xA3\xB2")  -> 12 (full-width digits)
//   ToText(0.1 + 0.2)              -> "0.3" ("%.13g")
//   FormatNumber(1.005, 2)         -> "1.01"

#include <cstdint>

#include "text/value.h"

namespace gedan {

// Full-width ASCII is read as ASCII; then leading white space, an optional sign and decimal digits.
// No digits gives 0; the value wraps on 32-bit overflow.
std::int32_t ToInteger(TextView text);

Text ToText(std::int32_t value);  // "%d"
Text ToText(double value);        // "%.13g"
Text ToText(const Bytes& bytes);  // the bytes up to the first zero byte

Text ToHexText(std::int32_t value);  // "%X", negative values as 32-bit two's complement

// `value` rounded half away from zero to `decimals` places, written with exactly that many digits
// after the point.
Text FormatNumber(double value, int decimals);

template <typename... Ints>
constexpr std::int32_t BitwiseOr(Ints... values) {
  return (static_cast<std::int32_t>(0) | ... | static_cast<std::int32_t>(values));
}

}  // namespace gedan
