#pragma once

// A whole document read with one plain GET, for the start-up notice: redirects followed, no proxy,
// the body returned whatever the status. Empty on failure; bytes received before a read error are
// kept. Gives up after 5 seconds without progress, since the window waits for it.

#include "text/value.h"

namespace gedan {

Bytes ReadUrlBytes(TextView url);

}  // namespace gedan
