#pragma once

// Cutting values out of pages and paths by the texts around them.
//
//   TextBefore("key=value", "=")            -> "key"
//   TextBetween("a=1;b=2", "=", ";")        -> "1"
//   TextBetween("x\"a\"y", "#引号", "#引号")  -> "a"   (the marker stands for a double quote)

#include "text/primitives.h"

namespace gedan {

// Everything in front of the first `marker` at or after `start`; empty when there is none.
Text TextBefore(TextView text, TextView marker, int start = 1, Case letterCase = Case::kSensitive);

// The text between the first `left` marker at or after `start` and the next `right` marker after
// it. Both markers may write a double quote as the quote marker (see QuoteMarker()).
Text TextBetween(TextView text, TextView left, TextView right, int start = 1,
                 Case letterCase = Case::kSensitive);

// The internal-code-page text "#引号", which markers and patterns use for a double quote.
const Text& QuoteMarker();

}  // namespace gedan
