#pragma once

// Hands an address to the desktop's opener (xdg-open, looked up on PATH), which starts the
// user's default browser. Does not wait for it; a missing opener or a failure is ignored.

#include "text/value.h"

namespace gedan {

void OpenInBrowser(TextView url);

}  // namespace gedan
