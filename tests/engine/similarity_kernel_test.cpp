// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/head_means.h"
#include "engine/similarity.h"
#include "engine/similarity_kernels.h"

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
    const int a = negative ? 255 - p[k] : p[k];
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
    p[k] = static_cast<std::uint8_t>(shape == 1 ? kExtremes[extreme(random)] : byte(random));
    const int partner = shape == 0   ? byte(random)
                        : shape == 1 ? kExtremes[extreme(random)]
                        : shape == 2 ? p[k] + noise(random)
                                     : 255 - p[k];
    q[k] = static_cast<std::uint8_t>(partner);
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

std::string LevelTestName(const ::testing::TestParamInfo<KernelLevel>& info) {
  std::string name;
  for (const char c : std::string(KernelLevelName(info.param))) {
    if (std::isalnum(static_cast<unsigned char>(c))) name += c;
  }
  return name;
}

const auto kAllLevels = ::testing::Values(KernelLevel::kScalar, KernelLevel::kSse2,
                                          KernelLevel::kAvx2, KernelLevel::kAvx512);

// Each kernel level's sums over the block means against a plain loop, on
// bytes with the extremes that overflow a careless negation.
TEST_P(KernelLevelTest, BlockMeanSumsEqualThePlainLoop) {
  const simd::SadKernels* by_level[] = {&simd::PortableKernels(), simd::Sse2Kernels(),
                                        simd::Avx2Kernels(), simd::Avx512Kernels()};
  const simd::HeadSadFunction heads = by_level[static_cast<int>(GetParam())]->heads;
  std::mt19937 random(5u);
  std::array<std::uint8_t, kHeadBytes> a{}, b{};
  for (int round = 0; round < 40; ++round) {
    for (int k = 0; k < kHeadBytes; ++k) {
      a[k] = static_cast<std::uint8_t>(round % 2 ? random() % 256 : (random() % 2) * 255);
      b[k] = static_cast<std::uint8_t>(random() % 256);
    }
    for (const bool negative : {false, true}) {
      for (int part = 0; part < kHeadBytes; part += kHeadBlocks) {
        // Against B's parts from the last: parts of both kinds meet.
        const int b_part = kHeadBytes - kHeadBlocks - part;
        std::uint32_t expected = 0;
        for (int k = 0; k < kHeadBlocks; ++k) {
          const int value = negative ? 255 - a[part + k] : a[part + k];
          expected += static_cast<std::uint32_t>(std::abs(value - b[b_part + k]));
        }
        ASSERT_EQ(heads(a.data() + part, b.data() + b_part, negative), expected)
            << "round " << round << " part " << part;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllLevels, KernelLevelTest, kAllLevels, LevelTestName);

using Sample = std::array<std::uint8_t, kSampleSize>;

// The six arrays of one picture: gray, gray_rot, gray_flip and their reversed copies.
struct Picture {
  std::array<Sample, 6> arrays{};

  SampleSet Set(bool with_reversed) const {
    SampleSet set{arrays[0].data(), arrays[1].data(), arrays[2].data()};
    if (with_reversed) {
      set.gray_rev = arrays[3].data();
      set.gray_rot_rev = arrays[4].data();
      set.gray_flip_rev = arrays[5].data();
    }
    return set;
  }
  void MakeReversedCopies() {
    for (int k = 0; k < 3; ++k) ReverseSample(arrays[k].data(), arrays[k + 3].data());
  }
  std::array<std::uint8_t, kHeadBytes> Heads() const {
    std::array<std::uint8_t, kHeadBytes> heads{};
    MakeHeadMeans(arrays[0].data(), arrays[1].data(), arrays[2].data(), heads.data());
    return heads;
  }
};

// Where the differences of a built pair sit, as [begin, end): before each
// check point, after the early-exit value, or everywhere. A negative begin
// puts the largest share on the early-exit value 1024 itself.
struct Spot {
  int begin, end;
};
constexpr Spot kSpots[] = {{0, 256},   {256, 512},          {512, 1024},
                           {-1, 1024}, {1025, kSampleSize}, {0, kSampleSize}};

// `sum` spread as evenly as the byte range allows over the spot.
std::vector<int> Differences(Spot spot, long sum) {
  std::vector<int> diffs(kSampleSize, 0);
  if (spot.begin < 0) {
    diffs[1024] = static_cast<int>(std::min<long>(255, sum));
    sum -= diffs[1024];
    spot.begin = 0;
  }
  for (int k = spot.begin; k < spot.end && sum > 0; ++k) {
    const long share = std::min<long>(255, (sum + (spot.end - k) - 1) / (spot.end - k));
    diffs[k] += static_cast<int>(share);
    sum -= share;
  }
  return diffs;
}

// `p` as the pass sees it (negated when asked), moved by exactly diffs[k].
Sample Apart(const Sample& p, const std::vector<int>& diffs, bool negative) {
  Sample q{};
  for (int k = 0; k < kSampleSize; ++k) {
    const int a = negative ? 255 - p[k] : p[k];
    q[k] = static_cast<std::uint8_t>(a + diffs[k] <= 255 ? a + diffs[k] : a - diffs[k]);
  }
  return q;
}

// A pair of noise, or a copy moved by small noise, plain or negated.
void BuildRandomPair(std::mt19937& random, int round, Picture& a, Picture& b) {
  for (auto& array : a.arrays) std::generate(array.begin(), array.end(), std::ref(random));
  const int noise = round % 3 == 0 ? 256 : static_cast<int>(random() % 24);
  const bool negated = round % 4 == 1;
  for (std::size_t i = 0; i < b.arrays.size(); ++i) {
    for (int k = 0; k < kSampleSize; ++k) {
      const int base = negated ? 255 - a.arrays[i][k] : a.arrays[i][k];
      b.arrays[i][k] = static_cast<std::uint8_t>(base + static_cast<int>(random() % (noise + 1)));
    }
  }
  a.MakeReversedCopies();
  b.MakeReversedCopies();
}

// Every array of B is A's (negated when asked) moved up by about `step`
// per value, built so that the block means bound a pass at its tightest:
// each 4 x 4 block of A sums to 16 v + 7 (negated: 16 (255 - v) + 8), the
// edge of rounding to v, and B's block sums lie at the opposite edge.
void BuildShiftedPair(std::mt19937& random, int step, bool negative, Picture& a, Picture& b) {
  for (std::size_t i = 0; i < 3; ++i) {
    for (int block = 0; block < kSampleSize / 16; ++block) {
      const int v = 48 + static_cast<int>(random() % 152);
      for (int cell = 0; cell < 16; ++cell) {
        const int k = (block / 16 * 4 + cell / 4) * kSampleSide + block % 16 * 4 + cell % 4;
        const int edge = cell == 0 ? (negative ? -8 : 7) : 0;
        a.arrays[i][k] = static_cast<std::uint8_t>(v + edge);
        const int base = negative ? 255 - a.arrays[i][k] : a.arrays[i][k];
        const int moved = step == 0 ? 0 : step - (negative || cell > 0 ? 1 : 0);
        b.arrays[i][k] = static_cast<std::uint8_t>(base + moved);
      }
    }
  }
  a.MakeReversedCopies();
  b.MakeReversedCopies();
}

// The pair loop's matcher against CompareSamples reading backward passes
// backward: the matcher's reversed copies must give the same results.
class SampleMatcherTest : public KernelLevelTest {
 protected:
  // Match against CompareSamples for every option combination.
  void ExpectSameDecision(int threshold, const Picture& a, const Picture& b, bool negative) {
    for (int combination = 0; combination < 8; ++combination) {
      const CompareOptions options{threshold, (combination & 1) != 0, (combination & 2) != 0};
      const bool with_reversed = (combination & 4) != 0;
      SCOPED_TRACE(::testing::Message() << "threshold " << threshold << " negative " << negative
                                        << " options " << combination);
      MatchVariant expected_variant{7, 7, 7};
      const double expected =
          CompareSamples(options, a.Set(false), b.Set(false), expected_variant, negative);
      MatchVariant variant{5, 5, 5};
      double similarity = -5.0;
      const bool matched = SampleMatcher(options).Match(a.Set(with_reversed), b.Set(with_reversed),
                                                        variant, negative, similarity);
      ASSERT_EQ(matched, !(threshold > expected * 100.0)) << "CompareSamples gave " << expected;
      // The block means may only turn away what the passes turn away.
      if (SampleMatcher(options).HeadsApart(a.Heads().data(), b.Heads().data(), negative)) {
        ASSERT_FALSE(matched) << "the block means rejected a match";
        ++heads_rejections_;
      }
      EXPECT_EQ(variant.flip, expected_variant.flip);
      EXPECT_EQ(variant.rotation, expected_variant.rotation);
      EXPECT_EQ(variant.negative, 5);                    // the caller's field
      EXPECT_EQ(similarity, matched ? expected : -5.0);  // bit for bit
      ++(matched ? matches_ : rejections_);
    }
  }

  int matches_ = 0;
  int rejections_ = 0;
  int heads_rejections_ = 0;
};

// Near pairs where only one variant pass is near, for each pass in turn
// (the matcher may start all passes of a pair together, and each must still
// be judged by its own sums), then random pairs, then pairs across the limit
// of the block means.
TEST_P(SampleMatcherTest, SameDecisionAsCompareSamples) {
  struct NearPass {
    int a_array, b_array;
    bool backward;
  };
  // In the order the passes are tried; arrays as indices into Picture::arrays.
  constexpr NearPass kNearPasses[] = {{0, 0, false}, {0, 0, true}, {0, 1, false}, {0, 1, true},
                                      {0, 2, false}, {0, 2, true}, {1, 2, false}, {1, 2, true}};
  std::mt19937 random(91u + static_cast<unsigned>(GetParam()));
  Picture a, b;
  for (const NearPass near : kNearPasses) {
    for (const int threshold : {40, 50, 75, 90, 100}) {
      // The sums at which a pass just stops at its early exit, and at which
      // the whole pass just falls below the threshold.
      const long early = std::lround(65536.0 * (100 - threshold) / 100.0);
      const long full = std::lround(262144.0 * (100 - threshold) / 100.0);
      for (const Spot spot : kSpots) {
        for (const long sum : {early, full, (early + full) / 2}) {
          for (const bool negative : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << "near pass " << near.a_array << near.b_array << near.backward
                         << " spot " << spot.begin << " sum " << sum);
            for (auto& array : a.arrays)
              std::generate(array.begin(), array.end(), std::ref(random));
            for (auto& array : b.arrays)
              std::generate(array.begin(), array.end(), std::ref(random));
            const long moved = sum + static_cast<long>(random() % 5) - 2;
            Sample& q = b.arrays[near.b_array];
            q = Apart(a.arrays[near.a_array], Differences(spot, moved), negative);
            if (near.backward) std::reverse(q.begin(), q.end());
            a.MakeReversedCopies();
            b.MakeReversedCopies();
            ExpectSameDecision(threshold, a, b, negative);
            if (HasFatalFailure()) return;
          }
        }
      }
    }
  }
  for (int round = 0; round < 60; ++round) {
    BuildRandomPair(random, round, a, b);
    for (const int threshold : {-1000, 0, 40, 41, 70, 90, 99, 100, 101}) {
      for (const bool negative : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "random pair: round " << round);
        ExpectSameDecision(threshold, a, b, negative);
        if (HasFatalFailure()) return;
      }
    }
  }
  for (const int threshold : {50, 75, 90, 99}) {
    for (int step = 0; step <= 40; ++step) {
      for (const bool negative : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "shifted pair: step " << step);
        BuildShiftedPair(random, step, negative, a, b);
        ExpectSameDecision(threshold, a, b, negative);
        if (HasFatalFailure()) return;
      }
    }
  }
  EXPECT_GT(matches_, 2500);
  EXPECT_GT(rejections_, 2500);
  EXPECT_GT(heads_rejections_, 1200);
}

INSTANTIATE_TEST_SUITE_P(AllLevels, SampleMatcherTest, kAllLevels, LevelTestName);

}  // namespace
}  // namespace dupliora
