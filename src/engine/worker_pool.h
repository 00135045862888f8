// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

namespace dupliora {

// Runs `work` on `threads` new threads (at least one) and meanwhile calls
// `tick` on the calling thread every `tick_ms`, or at once after Wake, until
// all of them returned: progress and results reach the window from the run's
// own thread.
class WorkerPool {
 public:
  void Run(int threads, const std::function<void()>& work, const std::function<void()>& tick,
           int tick_ms = 20);
  // Called by a worker when it has something for `tick`.
  void Wake();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int running_ = 0;
  bool woken_ = false;
};

}  // namespace dupliora
