#include "http/cookies.h"

#include <unordered_set>

#include "text/primitives.h"

namespace gedan {

Text MergeCookies(Text& requestCookies, Text& responseCookies) {
  requestCookies = TrimBoth(requestCookies);
  responseCookies = TrimBoth(responseCookies);
  TextArray requestItems = SplitText(requestCookies, ";");
  TextArray merged = SplitText(responseCookies, ";");
  // The names in `merged`, hashed for the same reason as in RemoveDuplicateItems. `merged` grows as
  // we go, so of several request items of one name only the first gets in.
  std::unordered_set<Text> names;
  for (const Text& item : merged) names.insert(CookieName(item));
  for (const Text& item : requestItems) {
    if (names.insert(CookieName(item)).second) merged.push_back(item);
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
  // A response may set tens of thousands of cookies: looking each one up in a list of those seen
  // would take quadratic time, so the lookup is hashed.
  TextArray parts = SplitText(text, separator);
  std::unordered_set<TextView> seen;
  Text out;
  for (const Text& part : parts) {
    if (seen.insert(part).second) {
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
