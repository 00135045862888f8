// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/similarity.h"

namespace dupliora {

void PrintTo(KernelLevel level, std::ostream* out) { *out << KernelLevelName(level); }

namespace {

// Room for every start offset within a cache line, so the kernels see
// aligned and misaligned arrays alike.
constexpr int kSlack = 64;

struct Buffers {
  std::vector<std::uint8_t> p = std::vector<std::uint8_t>(kSampleSize + kSlack);
  std::vector<std::uint8_t> q = std::vector<std::uint8_t>(kSampleSize + kSlack);
  int p_offset = 0;
  int q_offset = 0;
  std::uint8_t* P() { return p.data() + p_offset; }
  std::uint8_t* Q() { return q.data() + q_offset; }
};

int Partner(int k, bool backward) { return backward ? kSampleSize - 1 - k : k; }

// Sum over the first `count` values, written independently of the program's loops.
std::uint32_t ReferenceSum(const std::uint8_t* p, const std::uint8_t* q, bool backward,
                           bool negative, int count) {
  std::uint32_t sum = 0;
  for (int k = 0; k < count; ++k) {
    const int a = negative ? (256 - p[k]) % 256 : p[k];
    sum += static_cast<std::uint32_t>(std::abs(a - q[Partner(k, backward)]));
  }
  return sum;
}

// The shapes of data that break kernels: byte extremes, near-equal arrays
// (full passes), exact negatives and plain noise.
void FillPair(std::mt19937& random, int shape, Buffers& buffers) {
  static constexpr std::array<std::uint8_t, 4> kExtremes = {0, 1, 128, 255};
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> extreme(0, 3);
  std::uniform_int_distribution<int> noise(-3, 3);
  std::uint8_t* p = buffers.P();
  std::uint8_t* q = buffers.Q();
  for (int k = 0; k < kSampleSize; ++k) {
    switch (shape) {
      case 0:
        p[k] = static_cast<std::uint8_t>(byte(random));
        q[k] = static_cast<std::uint8_t>(byte(random));
        break;
      case 1:
        p[k] = kExtremes[extreme(random)];
        q[k] = kExtremes[extreme(random)];
        break;
      case 2:
        p[k] = static_cast<std::uint8_t>(byte(random));
        q[k] = static_cast<std::uint8_t>(p[k] + noise(random));
        break;
      default:
        p[k] = static_cast<std::uint8_t>(byte(random));
        q[k] = static_cast<std::uint8_t>(256 - p[k]);
        break;
    }
  }
  // Near-equal and negative shapes must hold for backward passes too.
  if (shape >= 2 && random() % 2 == 0) std::reverse(q, q + kSampleSize);
}

class KernelLevelTest : public ::testing::TestWithParam<KernelLevel> {
 protected:
  void SetUp() override {
    if (!ForceKernelLevel(GetParam())) {
      GTEST_SKIP() << "This processor lacks " << KernelLevelName(GetParam());
    }
  }
  void TearDown() override { ForceKernelLevel(BestKernelLevel()); }
};

TEST_P(KernelLevelTest, EqualsTheScalarLoopOnRandomAndAdversarialData) {
  std::mt19937 random(20240611u + static_cast<unsigned>(GetParam()));
  Buffers buffers;
  int early_exits = 0;
  int full_passes = 0;
  for (int round = 0; round < 400; ++round) {
    const int shape = round % 4;
    buffers.p_offset = static_cast<int>(random() % kSlack);
    buffers.q_offset = static_cast<int>(random() % kSlack);
    FillPair(random, shape, buffers);
    for (const bool backward : {false, true}) {
      for (const bool negative : {false, true}) {
        const std::uint32_t head = ReferenceSum(buffers.P(), buffers.Q(), backward, negative, 1025);
        const int boundary = static_cast<int>(std::floor((1.0 - head / 65536.0) * 100.0));
        for (const int threshold : {-1000, 0, 40, 90, 100, 101, boundary, boundary + 1}) {
          SCOPED_TRACE(::testing::Message()
                       << "round " << round << " shape " << shape << " backward " << backward
                       << " negative " << negative << " threshold " << threshold);
          const double fast =
              PassSimilarity(buffers.P(), buffers.Q(), backward, negative, threshold);
          const double plain =
              PassSimilarityScalar(buffers.P(), buffers.Q(), backward, negative, threshold);
          ASSERT_EQ(fast, plain);
          (threshold > (1.0 - head / 65536.0) * 100.0 ? early_exits : full_passes)++;
        }
      }
    }
  }
  EXPECT_GT(early_exits, 1000);
  EXPECT_GT(full_passes, 1000);
}

TEST_P(KernelLevelTest, ConstantArraysGiveTheExactExpectedValue) {
  struct Case {
    std::uint8_t p, q;
    bool backward, negative;
    int threshold;
    std::uint32_t expected_sum;
    int expected_count;
  };
  const Case cases[] = {
      {0, 255, false, false, 90, 1025 * 255, 1024},   // clearly different: early exit
      {0, 255, true, false, -300, 4096 * 255, 4096},  // unreachable exit: full pass
      {0, 255, false, true, 90, 1025 * 255, 1024},    // black stays black when negated
      {1, 255, true, true, 100, 0, 4096},             // 1 negated is 255
      {128, 128, false, true, 100, 0, 4096},          // 128 is its own negative
  };
  Buffers buffers;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << int(c.p) << " vs " << int(c.q) << " backward "
                                      << c.backward << " negative " << c.negative);
    std::fill_n(buffers.P(), kSampleSize, c.p);
    std::fill_n(buffers.Q(), kSampleSize, c.q);
    const double expected = 1.0 - static_cast<double>(c.expected_sum) / (64.0 * c.expected_count);
    EXPECT_EQ(PassSimilarity(buffers.P(), buffers.Q(), c.backward, c.negative, c.threshold),
              expected);
    EXPECT_EQ(PassSimilarityScalar(buffers.P(), buffers.Q(), c.backward, c.negative, c.threshold),
              expected);
  }
}

// 128 differences of 128 among the first 1025 values make (1 - sum / 65536)
// exactly 0.75; the last of them sits on index 1024, the value the decision
// includes. 256 more in the tail bring the full pass to 1 - 49152 / 262144.
void FillEarlyExitBoundary(std::uint8_t* p, std::uint8_t* q, bool backward) {
  std::fill_n(p, kSampleSize, 0);
  std::fill_n(q, kSampleSize, 0);
  for (int i = 0; i < 128; ++i) q[Partner(1024 - 8 * i, backward)] = 128;
  for (int i = 0; i < 256; ++i) q[Partner(1025 + 8 * i, backward)] = 128;
}

TEST_P(KernelLevelTest, EarlyExitDecidesExactlyAtTheBoundary) {
  Buffers buffers;
  buffers.q_offset = 3;
  for (const bool backward : {false, true}) {
    SCOPED_TRACE(backward ? "backward" : "forward");
    FillEarlyExitBoundary(buffers.P(), buffers.Q(), backward);
    ASSERT_EQ(ReferenceSum(buffers.P(), buffers.Q(), backward, false, 1025), 16384u);
    ASSERT_EQ(ReferenceSum(buffers.P(), buffers.Q(), backward, false, 1024), 16384u - 128u);
    for (const auto pass : {&PassSimilarity, &PassSimilarityScalar}) {
      // 75 > 75 is false: the pass goes on to the end.
      EXPECT_EQ(pass(buffers.P(), buffers.Q(), backward, false, 75), 1.0 - 49152.0 / 262144.0);
      // 76 > 75: it stops, and n = 1024 counts against a sum of 1025 values.
      EXPECT_EQ(pass(buffers.P(), buffers.Q(), backward, false, 76), 1.0 - 16384.0 / 65536.0);
    }
  }
}

TEST_P(KernelLevelTest, ReversedCopyReadForwardEqualsBackwardRead) {
  std::mt19937 random(7u);
  Buffers buffers;
  std::vector<std::uint8_t> reversed(kSampleSize);
  for (int round = 0; round < 50; ++round) {
    FillPair(random, round % 4, buffers);
    ReverseSample(buffers.Q(), reversed.data());
    for (const bool negative : {false, true}) {
      EXPECT_EQ(PassSimilarity(buffers.P(), reversed.data(), false, negative, -1000),
                PassSimilarity(buffers.P(), buffers.Q(), true, negative, -1000));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllLevels, KernelLevelTest,
                         ::testing::Values(KernelLevel::kScalar, KernelLevel::kSse2,
                                           KernelLevel::kAvx2, KernelLevel::kAvx512),
                         [](const ::testing::TestParamInfo<KernelLevel>& info) {
                           std::string name;
                           for (const char c : std::string(KernelLevelName(info.param))) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

TEST(KernelLevelChoiceTest, BestLevelIsSupportedAndActiveByDefault) {
  EXPECT_TRUE(KernelLevelSupported(BestKernelLevel()));
  EXPECT_TRUE(KernelLevelSupported(KernelLevel::kScalar));
#if defined(__x86_64__)
  EXPECT_NE(BestKernelLevel(), KernelLevel::kScalar);
  EXPECT_EQ(KernelLevelSupported(KernelLevel::kAvx2), __builtin_cpu_supports("avx2") != 0);
#endif
  EXPECT_EQ(ActiveKernelLevel(), BestKernelLevel());
}

}  // namespace
}  // namespace dupliora
