#pragma once

// For reviewers and documentation: `gedan --screenshot FILE [SHARE_LINK]` shows the window
// (without the start-up notice), fetches SHARE_LINK when given and prints how long filling the
// table took, then renders the window into FILE (PNG) and ends. Works under
// QT_QPA_PLATFORM=offscreen, without a display.

namespace gedan {

int RunScreenshot(int argc, char** argv);

}  // namespace gedan
