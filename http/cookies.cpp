#include "http/cookies.h"

#include "text/primitives.h"

namespace gedan {

Text MergeCookies(Text& requestCookies, Text& responseCookies) {
  requestCookies = TrimBoth(requestCookies);
  responseCookies = TrimBoth(responseCookies);
  TextArray requestItems = SplitText(requestCookies, ";");
  TextArray merged = SplitText(responseCookies, ";");
  for (const Text& item : requestItems) {
    // `merged` grows as we go, so of several request items of one name only the first gets in.
    if (!HasCookieName(merged, CookieName(item))) merged.push_back(item);
  }
  Text joined;
  for (const Text& item : merged) {
    if (TextRight(item, 8) != "=deleted") joined += item + "; ";
  }
  joined = TextLeft(joined, TextLength(joined) - 2);
  return RemoveDuplicateItems(joined, "; ");
}

Text CookieName(TextView item) {
  int equals = FindText(item, "=");
  return TrimBoth(equals == kNotFound ? item : TextLeft(item, equals - 1));
}

bool HasCookieName(const TextArray& items, TextView name) {
  for (const Text& item : items)
    if (CookieName(item) == name) return true;
  return false;
}

Text RemoveDuplicateItems(TextView text, TextView separator) {
  TextArray seen;
  Text out;
  for (const Text& part : SplitText(text, separator)) {
    if (FindItem(seen, part) == kNotFound) {
      seen.push_back(part);
      out += part;
      out += separator;
    }
  }
  return TextLeft(out, TextLength(out) - TextLength(separator));
}

int FindItem(const TextArray& items, TextView text) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == text) return static_cast<int>(i) + 1;
  return kNotFound;
}

}  // namespace gedan
