#pragma once

// Internal texts written into script code as data, never as code.
//
//   Text code = "da.t=" + ScriptStringLiteral(value);   // da.t then holds value exactly as given
//   // value  say "hi"<line break>   gives the script text  "say \"hi\"\n"  (quotes included)
//
// The literal is double-quoted. Quotes, backslashes, control characters and the two Unicode line
// separators (which end a string literal in the engine) are escaped; every other character is
// copied whole, so the trail byte of a double-byte character is never read as a quote or a
// backslash. Bytes that do not form a character of the internal code page become U+FFFD.

#include "text/value.h"

namespace gedan {

Text ScriptStringLiteral(TextView text);
// The same literal appended to `out`, which saves a copy of a long text.
void AppendScriptStringLiteral(Text& out, TextView text);

}  // namespace gedan
