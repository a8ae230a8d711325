#pragma once

// The commands of the terminal front end. Each takes the arguments after its name (UTF-8, as the
// shell passes them), writes its results to `out` and its complaints to `err`, both in UTF-8, and
// returns the process exit code.
//
//   gedan-cli list SHARE_LINK   ->  RunList({"SHARE_LINK"}, std::cout, std::cerr)

#include <iosfwd>
#include <string>
#include <vector>

namespace gedan::cli {

// Exit codes shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

// Prints one line per song of the share link's list:
// index TAB name TAB hash TAB album id TAB play-info address.
int RunList(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace gedan::cli
