#pragma once

// Measuring, cutting, searching and editing texts.
//
// Scanning operations (FindText, ReplaceText, SplitText, TrimBoth) step through a text character by
// character from where the scan begins: a byte below 0x80 is one character, any other byte starts a
// two-byte unit. A match therefore never begins on the second byte of a double-byte character.
// GB18030 four-byte characters step as two two-byte units. Cutting operations count bytes only.
//
//   FindText("abcabc", "abc", 2)          -> 4
//   ReplaceText("aaa", "aa", "b")         -> "ba"
//   SplitText("a,,b,", ",")               -> {"a", "", "b"}

#include <limits>

#include "text/value.h"

namespace gedan {

// Returned by the searches when nothing is found.
inline constexpr int kNotFound = -1;
// The default count of ReplaceText and SplitText.
inline constexpr int kNoLimit = std::numeric_limits<int>::max();

int TextLength(TextView text);
Text TextLeft(TextView text, int n);
Text TextRight(TextView text, int n);
// n bytes from 1-based `start`; empty when start < 1, start > length or n <= 0.
Text TextMid(TextView text, int start, int n);

enum class Case { kSensitive, kIgnore };

// 1-based position of the first occurrence of `sought` at or after `start`, or -1. With
// Case::kIgnore only the ASCII letters are folded together.
int FindText(TextView text, TextView sought, int start = 1, Case letterCase = Case::kSensitive);

// Every occurrence of `sought` from `start` on (at most `count` of them; 0 replaces nothing, a
// negative count is no limit) replaced by `replacement`. Occurrences never overlap.
Text ReplaceText(TextView text, TextView sought, TextView replacement = {}, int start = 1,
                 int count = kNoLimit, Case letterCase = Case::kSensitive);

// Pieces of `text` between separators. A trailing separator adds no empty last piece; a leading
// separator or two adjacent ones give empty pieces. At most maxCount pieces; none when it is 0 or
// less.
TextArray SplitText(TextView text, TextView separator = ",", int maxCount = kNoLimit);

// Removes leading and trailing ASCII spaces and full-width spaces (0xA1 0xA1).
Text TrimBoth(TextView text);

// Negative, zero or positive. Double-byte characters compare as whole characters; Case::kIgnore
// folds the ASCII letters.
int CompareText(TextView a, TextView b, Case letterCase = Case::kSensitive);

Text RepeatText(int count, TextView text);
// A one-byte text holding that byte; empty for 0.
Text CharFromCode(int byteValue);

}  // namespace gedan
