// gedan-cli: the terminal front end over the same core as the desktop program.

#include <iostream>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "version.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: gedan-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Downloads the songs of a shared playlist.\n"
    "\n"
    "Commands:\n"
    "  list SHARE_LINK   fetch the playlist's page and print one line per song:\n"
    "                    index, name, hash, album id and play-info address,\n"
    "                    separated by tabs (UTF-8)\n"
    "\n"
    "Options:\n"
    "  -h, --help        show this help and exit\n"
    "      --version     show the version and exit\n"
    "\n"
    "Environment:\n"
    "  GEDAN_SERVICE_ORIGIN   web origin used in play-info addresses\n"
    "\n"
    "Exit status: 0 on success, 1 when the work failed, 2 for a usage error.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace gedan::cli;
  const Arguments args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  const std::string& command = args[0];
  if (command == "-h" || command == "--help") {
    std::cout << kUsage;
    return kExitOk;
  }
  if (command == "--version") {
    std::cout << "gedan-cli " << GEDAN_VERSION << '\n';
    return kExitOk;
  }
  const Arguments rest(args.begin() + 1, args.end());
  if (command == "list") return RunList(rest, std::cout, std::cerr);
  std::cerr << "gedan-cli: unknown command '" << command << "' (see gedan-cli --help)\n";
  return kExitUsage;
}
