// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The guard against the real decoder program: jobs that crash, hang, spin or
// exhaust memory cost their own result only, and the next job is served.
#include "platform/decoder_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "imaging/decode_budget.h"

namespace dupliora::decoder {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using enum JobKind;
using enum JobStatus;

class DecoderPoolTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Pool().Available()) << "no decoder program"; }
  static DecoderPool& Pool() { return DecoderPool::Shared(); }
  static JobResult Echo() { return Pool().Run(kEcho, "ping", nullptr); }
};

TEST_F(DecoderPoolTest, AMisbehavingJobCostsOnlyItsOwnResult) {
  const struct Case {
    const char* label;
    JobKind kind;
    QByteArray body;
    JobLimits limits;
    JobStatus expected;
  } cases[] = {
      {"echo", kEcho, "ping", {}, kDone},
      {"crash", kCrash, {}, {}, kCrashed},
      {"hang past the wall clock", kHang, {}, {300ms, 20}, kTimedOut},
      {"spin past the CPU time", kSpin, {}, {20000ms, 1}, kTimedOut},
      {"allocate beyond the address space", kAllocate, "3000", {}, kOutOfMemory},
      {"allocate within it", kAllocate, "100", {}, kDone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const auto started = Clock::now();
    const JobResult result = Pool().Run(c.kind, c.body, nullptr, c.limits);
    EXPECT_EQ(result.status, c.expected);
    EXPECT_LT(Clock::now() - started, 10s);
    const JobResult next = Echo();
    EXPECT_EQ(next.status, kDone);
    EXPECT_EQ(next.reply, "ping");
  }
  EXPECT_EQ(Pool().Run(kAllocate, "100", nullptr).reply, QByteArray::number(100 << 20));
}

// The CPU limit is per job: a process that served several jobs (the pool
// hands the same idle one back) has used more than any one job may, and must
// still serve the next.
TEST_F(DecoderPoolTest, TheCpuLimitCountsEachJobAlone) {
  for (int job = 0; job < 3; ++job) {
    SCOPED_TRACE(job);
    EXPECT_EQ(Pool().Run(JobKind::kBurn, "700", nullptr, {20000ms, 1}).status, JobStatus::kDone);
  }
}

TEST_F(DecoderPoolTest, AStopEndsAHungJobWithinASecond) {
  std::atomic<bool> stop{false};
  std::thread stopper([&] {
    std::this_thread::sleep_for(300ms);
    stop = true;
  });
  const auto started = Clock::now();
  const JobResult result = Pool().Run(kHang, {}, &stop);
  const auto took = Clock::now() - started;
  stopper.join();
  EXPECT_EQ(result.status, kStopped);
  EXPECT_LT(took, 1300ms);
  EXPECT_EQ(Echo().status, kDone);
}

// Decoder processes take their large decodes from the program's one budget:
// while the program holds most of it, a large job waits, and its wall clock
// does not run meanwhile.
TEST_F(DecoderPoolTest, LargeDecodesShareTheProgramsBudget) {
  MemoryBudget& budget = SharedDecodeBudget();
  ASSERT_EQ(budget.Acquire(400 << 20), 400 << 20);
  std::atomic<bool> done{false};
  JobResult result;
  std::thread job([&] {
    result = Pool().Run(kAllocate, "300", nullptr, {1500ms, 20});
    done = true;
  });
  std::this_thread::sleep_for(2s);  // longer than the job's wall clock
  EXPECT_FALSE(done.load()) << "ran while the budget was taken";
  budget.Release(400 << 20);
  job.join();
  EXPECT_EQ(result.status, kDone);
  EXPECT_EQ(budget.InUse(), 0) << "the job gave its memory back";
}

}  // namespace
}  // namespace dupliora::decoder
