#pragma once

// The few operations of the core that reach the user's side: letting pending window events through
// during long work, a message box, and creating a directory.
//
// The core defines the event pump and the message box as interfaces; each front end installs its
// own implementation once at start-up (the desktop program dispatches Qt events and shows a dialog;
// the terminal front end has no events and prints the message). Until one is installed, the
// operations do nothing, and DelayWithEvents just sleeps.
//
//   class QtEventPump : public EventPump { ... };
//   QtEventPump pump;
//   InstallEventPump(&pump);
//   ProcessEvents();  // dispatches what is waiting, never waits

#include "text/value.h"

namespace gedan {

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Dispatches every event already waiting on the calling (window) thread and returns; never waits.
  virtual void ProcessEvents() = 0;
  // Keeps dispatching events for `milliseconds`; returns at once for 0 or less.
  virtual void DelayWithEvents(int milliseconds) = 0;
};

class MessageBoxSink {
 public:
  virtual ~MessageBoxSink() = default;
  // Shows `text` with the caption "信息：" and one OK button; returns when it is closed.
  virtual void ShowMessage(const Text& text) = 0;
};

// Installs the front end's implementations; nullptr removes them. Not owned.
void InstallEventPump(EventPump* pump);
void InstallMessageBoxSink(MessageBoxSink* sink);

void ProcessEvents();
void DelayWithEvents(int milliseconds);
void ShowMessage(const Text& text);

// Creates that one directory (not its parents). False when it exists already or cannot be made.
bool MakeDirectory(TextView path);

}  // namespace gedan
