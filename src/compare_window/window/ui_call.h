// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QObject>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace dupliora {

// Runs a function on the thread of a context object and waits for it, like a
// blocking queued call, except that the owner can abandon all calls: a waiting
// caller is woken at once and later calls return without running. That is
// what lets the window wait for its worker while closing without a deadlock.
class BlockingUiCall {
 public:
  explicit BlockingUiCall(QObject* context);
  ~BlockingUiCall();

  // False when the calls were abandoned and `fn` did not (completely) run.
  // On the context's own thread `fn` runs directly.
  bool Call(const std::function<void()>& fn);
  // On the context's thread: wakes the waiting caller, refuses new calls.
  void Abandon();
  // Accepts calls again (a new worker is about to start).
  void Reset();
  bool Abandoned() const;

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable done;
    bool abandoned = false;
  };
  QObject* context_;
  std::shared_ptr<State> state_;
};

}  // namespace dupliora
