// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace dupliora {

// Decodes smaller than this never wait for the budget.
inline constexpr std::int64_t kLargeDecodeBytes = std::int64_t{64} << 20;

// A pool of bytes that threads take from and give back; a taker waits while
// the rest does not suffice. A request for more than the whole is cut to the
// whole, so it runs alone instead of never.
class MemoryBudget {
 public:
  explicit MemoryBudget(std::int64_t total) : total_(total) {}

  // Takes `bytes` (cut to the total) once they are free and returns what was
  // taken; 0 when `cancel` was set while waiting.
  std::int64_t Acquire(std::int64_t bytes, const std::atomic<bool>* cancel = nullptr);
  void Release(std::int64_t bytes);
  std::int64_t InUse() const;
  std::int64_t Total() const { return total_; }

 private:
  const std::int64_t total_;
  mutable std::mutex mutex_;
  std::condition_variable freed_;
  std::int64_t in_use_ = 0;
};

// The one budget that all large decodes of this program share, those in its
// decoder processes included (they ask the program for it): with two loader
// threads, two 81 MP WebP files no longer decode at once, so peak memory stays
// near the one-thread figure whatever the core count.
MemoryBudget& SharedDecodeBudget();

// How a large decode obtains its memory. The default takes it from
// SharedDecodeBudget; a decoder process asks its program instead.
struct DecodeMemoryGate {
  std::function<std::int64_t(std::int64_t bytes)> acquire;  // returns what was granted
  std::function<void(std::int64_t bytes)> release;
};
void SetDecodeMemoryGate(DecodeMemoryGate gate);

// Holds decode memory through the gate for its lifetime. Only the outermost
// hold of a thread asks, so a decode inside a decode cannot wait for itself.
class DecodeMemoryHold {
 public:
  explicit DecodeMemoryHold(std::int64_t bytes);
  ~DecodeMemoryHold();
  DecodeMemoryHold(const DecodeMemoryHold&) = delete;
  DecodeMemoryHold& operator=(const DecodeMemoryHold&) = delete;

 private:
  std::int64_t granted_ = 0;
  bool outermost_ = false;
};

}  // namespace dupliora
