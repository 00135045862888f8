// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/decode_budget.h"

#include <algorithm>
#include <chrono>

#include "imaging/scaled_decode.h"

namespace dupliora {

namespace {

constexpr auto kCancelPoll = std::chrono::milliseconds(50);

thread_local bool t_holding = false;

DecodeMemoryGate& Gate() {
  static DecodeMemoryGate gate{
      [](std::int64_t bytes) { return SharedDecodeBudget().Acquire(bytes); },
      [](std::int64_t bytes) { SharedDecodeBudget().Release(bytes); }};
  return gate;
}

}  // namespace

std::int64_t MemoryBudget::Acquire(std::int64_t bytes, const std::atomic<bool>* cancel) {
  const std::int64_t wanted = std::clamp<std::int64_t>(bytes, 0, total_);
  std::unique_lock lock(mutex_);
  while (in_use_ + wanted > total_) {
    if (cancel != nullptr && cancel->load()) return 0;
    freed_.wait_for(lock, kCancelPoll);
  }
  in_use_ += wanted;
  return wanted;
}

void MemoryBudget::Release(std::int64_t bytes) {
  {
    std::lock_guard lock(mutex_);
    in_use_ = std::max<std::int64_t>(0, in_use_ - bytes);
  }
  freed_.notify_all();
}

std::int64_t MemoryBudget::InUse() const {
  std::lock_guard lock(mutex_);
  return in_use_;
}

MemoryBudget& SharedDecodeBudget() {
  static MemoryBudget budget(kMaxDecodeBytes);
  return budget;
}

void SetDecodeMemoryGate(DecodeMemoryGate gate) { Gate() = std::move(gate); }

DecodeMemoryHold::DecodeMemoryHold(std::int64_t bytes) {
  if (bytes < kLargeDecodeBytes || t_holding) return;
  outermost_ = true;
  t_holding = true;
  granted_ = Gate().acquire(bytes);
}

DecodeMemoryHold::~DecodeMemoryHold() {
  if (!outermost_) return;
  t_holding = false;
  if (granted_ > 0) Gate().release(granted_);
}

}  // namespace dupliora
