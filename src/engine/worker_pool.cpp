// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/worker_pool.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace dupliora {

void WorkerPool::Wake() {
  std::lock_guard lock(mutex_);
  woken_ = true;
  changed_.notify_one();
}

void WorkerPool::Run(int threads, const std::function<void()>& work,
                     const std::function<void()>& tick, int tick_ms) {
  running_ = std::max(1, threads);
  std::vector<std::thread> workers;
  for (int t = 0, count = running_; t < count; ++t) {
    workers.emplace_back([&] {
      work();
      std::lock_guard lock(mutex_);
      --running_;
      changed_.notify_one();
    });
  }
  for (bool all_done = false; !all_done;) {
    {
      std::unique_lock lock(mutex_);
      changed_.wait_for(lock, std::chrono::milliseconds(tick_ms),
                        [&] { return running_ == 0 || woken_; });
      all_done = running_ == 0;
      woken_ = false;
    }
    if (!all_done) tick();
  }
  for (std::thread& worker : workers) worker.join();
}

}  // namespace dupliora
