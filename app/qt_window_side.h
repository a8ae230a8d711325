#pragma once

// The desktop program's side of the core's window operations: Qt's event processing behind
// ProcessEvents and DelayWithEvents, and a message box behind ShowMessage.
//
//   QApplication application(argc, argv);
//   QtEventPump pump;
//   InstallEventPump(&pump);

#include "text/window_side.h"

namespace gedan {

class QtEventPump : public EventPump {
 public:
  // Dispatches the events already waiting, including input, so other handlers may run to their end
  // inside; never waits for more.
  void ProcessEvents() override;
  // Dispatches events as they come until `milliseconds` have passed, sleeping while none arrive.
  void DelayWithEvents(int milliseconds) override;
};

// A modal box without owner or icon, caption "信息：", one OK button.
class QtMessageBox : public MessageBoxSink {
 public:
  void ShowMessage(const Text& text) override;
};

}  // namespace gedan
