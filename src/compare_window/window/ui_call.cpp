// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/ui_call.h"

#include <QThread>

namespace dupliora {

BlockingUiCall::BlockingUiCall(QObject* context)
    : context_(context), state_(std::make_shared<State>()) {}

BlockingUiCall::~BlockingUiCall() { Abandon(); }

bool BlockingUiCall::Call(const std::function<void()>& fn) {
  if (QThread::currentThread() == context_->thread()) {
    if (Abandoned()) return false;
    fn();
    return true;
  }
  auto finished = std::make_shared<bool>(false);
  std::shared_ptr<State> state = state_;
  {
    std::lock_guard lock(state->mutex);
    if (state->abandoned) return false;
  }
  // `fn` refers to the caller's stack; it runs only while the caller still
  // waits, which the abandoned flag (set on this same UI thread) guarantees.
  const std::function<void()>* job = &fn;
  QMetaObject::invokeMethod(
      context_,
      [state, finished, job] {
        bool abandoned;
        {
          std::lock_guard lock(state->mutex);
          abandoned = state->abandoned;
        }
        if (!abandoned) (*job)();
        std::lock_guard lock(state->mutex);
        *finished = true;
        state->done.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(state->mutex);
  state->done.wait(lock, [&] { return *finished || state->abandoned; });
  return *finished && !state->abandoned;
}

void BlockingUiCall::Abandon() {
  std::lock_guard lock(state_->mutex);
  state_->abandoned = true;
  state_->done.notify_all();
}

void BlockingUiCall::Reset() {
  // A fresh state: calls still queued from before stay abandoned.
  if (Abandoned()) state_ = std::make_shared<State>();
}

bool BlockingUiCall::Abandoned() const {
  std::lock_guard lock(state_->mutex);
  return state_->abandoned;
}

}  // namespace dupliora
