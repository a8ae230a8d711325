#pragma once

// Runs work on the GUI thread on behalf of any thread, the caller waiting until it is done.
//
//   GuiThreadCalls calls;                        // created on the GUI thread
//   calls.Run([&] { model.SetText(row, 5, text); });   // from an engine thread: waits
//   calls.Close();                               // the window is gone: waiters are released
//
// A call from the GUI thread itself runs at once. A call from another thread is queued and runs
// the next time the GUI thread processes events (in its event loop or in ProcessEvents); if that
// never happens, the caller waits until Close(). After Close() nothing runs any more and Run()
// returns false at once, so the GUI thread may then join threads that call in without deadlock.

#include <QObject>
#include <functional>
#include <memory>

namespace gedan {

class GuiThreadCalls : public QObject {
 public:
  explicit GuiThreadCalls(QObject* parent = nullptr);
  ~GuiThreadCalls() override;

  // True when `work` ran; false, without running it, once closed.
  bool Run(const std::function<void()>& work);
  // GUI thread only. Drops the calls still waiting and releases their callers.
  void Close();
  bool closed() const;

 private:
  struct State;
  void RunPending();

  std::shared_ptr<State> state_;
};

}  // namespace gedan
