#pragma once

// Cookie texts as WebAccess hands them back: items "name=value" joined by "; ".
//
//   Text request = "a=0; z=9", response = "a=1; b=2";
//   MergeCookies(request, response);   // "a=1;  b=2;  z=9"
//
// The response's items come first and win over request items of the same name; request items the
// response did not set follow in their order; an item ending in "=deleted" is dropped (and keeps
// the request item of its name out); repeated identical items appear once. Items keep the blank
// that followed a ";", which is why a merged text can hold two blanks after a separator.

#include "text/value.h"

namespace gedan {

// Both arguments are trimmed in place first.
Text MergeCookies(Text& requestCookies, Text& responseCookies);

// The trimmed text in front of the first "=", or the whole trimmed item when it has none.
Text CookieName(TextView item);

// Whether some item's CookieName equals `name` exactly.
bool HasCookieName(const TextArray& items, TextView name);

// The pieces of `text` between separators, each kept once (first occurrence), joined again.
Text RemoveDuplicateItems(TextView text, TextView separator);

// 1-based index of the first element equal to `text`, or -1.
int FindItem(const TextArray& items, TextView text);

}  // namespace gedan
