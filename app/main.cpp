#include <string_view>

#include "app/program.h"
#include "app/screenshot.h"

int main(int argc, char** argv) {
  if (argc >= 2 && std::string_view(argv[1]) == "--screenshot") {
    return gedan::RunScreenshot(argc, argv);
  }
  return gedan::ProgramMain(argc, argv);
}
