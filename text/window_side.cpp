#include "text/window_side.h"

#include <chrono>
#include <thread>

#include <sys/stat.h>

#include "text/encoding.h"

namespace gedan {
namespace {

// Installed once by the front end before any work starts, read on the window thread only.
EventPump* g_pump = nullptr;
MessageBoxSink* g_messages = nullptr;

}  // namespace

void InstallEventPump(EventPump* pump) {
  g_pump = pump;
}
void InstallMessageBoxSink(MessageBoxSink* sink) {
  g_messages = sink;
}

void ProcessEvents() {
  if (g_pump != nullptr) g_pump->ProcessEvents();
}

void DelayWithEvents(int milliseconds) {
  if (milliseconds <= 0) return;
  if (g_pump != nullptr) {
    g_pump->DelayWithEvents(milliseconds);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

void ShowMessage(const Text& text) {
  if (g_messages != nullptr) g_messages->ShowMessage(text);
}

bool MakeDirectory(TextView path) {
  if (path.empty()) return false;
  return ::mkdir(AnsiToUtf8(path).c_str(), 0777) == 0;
}

}  // namespace gedan
