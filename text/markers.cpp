#include "text/markers.h"

#include "text/encoding.h"

namespace gedan {

const Text& QuoteMarker() {
  static const Text marker = Utf8ToAnsi("#引号");
  return marker;
}

Text TextBefore(TextView text, TextView marker, int start, Case letterCase) {
  if (start <= 0) start = 1;
  int p = FindText(text, marker, start, letterCase);
  if (p == kNotFound) return {};
  return TextLeft(text, p - 1);
}

Text TextBetween(TextView text, TextView left, TextView right, int start, Case letterCase) {
  const Text leftMarker = ReplaceText(left, QuoteMarker(), "\"");
  const Text rightMarker = ReplaceText(right, QuoteMarker(), "\"");
  int a = FindText(text, leftMarker, start, letterCase);
  if (a == kNotFound) return {};
  a += TextLength(leftMarker);
  // The right marker is searched after the left one, so the two never overlap.
  int b = FindText(text, rightMarker, a, letterCase);
  if (b == kNotFound) return {};
  return TextMid(text, a, b - a);
}

}  // namespace gedan
