#include "app/gui_thread_calls.h"

#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace gedan {

struct GuiThreadCalls::State {
  struct Call {
    const std::function<void()>* work = nullptr;
    bool done = false;
  };
  std::mutex mutex;
  std::condition_variable finished;
  std::deque<std::shared_ptr<Call>> pending;
  bool closed = false;
};

GuiThreadCalls::GuiThreadCalls(QObject* parent)
    : QObject(parent), state_(std::make_shared<State>()) {}

GuiThreadCalls::~GuiThreadCalls() {
  Close();
}

bool GuiThreadCalls::Run(const std::function<void()>& work) {
  // Waiters keep the state alive, so a caller released by Close() never touches freed memory even
  // when this object goes right after.
  std::shared_ptr<State> state = state_;
  if (QThread::currentThread() == thread()) {
    if (closed()) return false;
    work();
    return true;
  }
  auto call = std::make_shared<State::Call>();
  call->work = &work;
  std::unique_lock lock(state->mutex);
  if (state->closed) return false;
  state->pending.push_back(call);
  // Posted under the lock: Close(), and so the destructor, waits for it, so `this` is alive here.
  // Posting only queues an event; the GUI thread runs it later.
  QMetaObject::invokeMethod(
      this, [this] { RunPending(); }, Qt::QueuedConnection);
  state->finished.wait(lock, [&] { return call->done || state->closed; });
  return call->done;
}

void GuiThreadCalls::RunPending() {
  for (;;) {
    std::shared_ptr<State::Call> call;
    {
      std::lock_guard lock(state_->mutex);
      if (state_->closed || state_->pending.empty()) return;
      call = state_->pending.front();
      state_->pending.pop_front();
    }
    // Closing happens on this thread too, so it cannot overtake the work while it runs.
    (*call->work)();
    {
      std::lock_guard lock(state_->mutex);
      call->done = true;
    }
    state_->finished.notify_all();
  }
}

void GuiThreadCalls::Close() {
  {
    std::lock_guard lock(state_->mutex);
    state_->closed = true;
    state_->pending.clear();
  }
  state_->finished.notify_all();
}

bool GuiThreadCalls::closed() const {
  std::lock_guard lock(state_->mutex);
  return state_->closed;
}

}  // namespace gedan
