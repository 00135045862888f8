// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/similarity.h"

namespace dupliora {
namespace {

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
};

// Where the differences of a built pair sit: before which check point, on
// the early-exit value itself, or after it.
enum class Spot { kFirst256, kTo512, kTo1024, kOnValue1024, kTail, kEverywhere };

// `sum` spread as evenly as the byte range allows over [begin, end).
void Spread(std::vector<int>& diffs, int begin, int end, long sum) {
  for (int k = begin; k < end && sum > 0; ++k) {
    const long share = std::min<long>(255, (sum + (end - k) - 1) / (end - k));
    diffs[k] += static_cast<int>(share);
    sum -= share;
  }
}

std::vector<int> Differences(Spot spot, long sum) {
  std::vector<int> diffs(kSampleSize, 0);
  switch (spot) {
    case Spot::kFirst256:
      Spread(diffs, 0, 256, sum);
      break;
    case Spot::kTo512:
      Spread(diffs, 256, 512, sum);
      break;
    case Spot::kTo1024:
      Spread(diffs, 512, 1024, sum);
      break;
    case Spot::kOnValue1024:
      diffs[1024] = static_cast<int>(std::min<long>(255, sum));
      Spread(diffs, 0, 1024, sum - diffs[1024]);
      break;
    case Spot::kTail:
      Spread(diffs, 1025, kSampleSize, sum);
      break;
    case Spot::kEverywhere:
      Spread(diffs, 0, kSampleSize, sum);
      break;
  }
  return diffs;
}

// `p` as the pass sees it (negated when asked), moved by exactly diffs[k].
Sample Apart(const Sample& p, const std::vector<int>& diffs, bool negative) {
  Sample q{};
  for (int k = 0; k < kSampleSize; ++k) {
    const int a = negative ? static_cast<std::uint8_t>(256 - p[k]) : p[k];
    q[k] = static_cast<std::uint8_t>(a + diffs[k] <= 255 ? a + diffs[k] : a - diffs[k]);
  }
  return q;
}

// A pair whose second picture carries several near copies of the first: the
// plain pass, the 90 degree pass (turned copy read backward) and the
// mirrored-and-turned pass each differ by the given sum at the given spot,
// with small offsets so that some of them fall on each side of the limit.
void BuildNearPair(std::mt19937& random, Spot spot, long sum, bool negative, Picture& a,
                   Picture& b) {
  for (auto& array : a.arrays) std::generate(array.begin(), array.end(), random);
  for (auto& array : b.arrays) std::generate(array.begin(), array.end(), random);
  const auto offset = [&] { return sum + static_cast<long>(random() % 5) - 2; };
  b.arrays[0] = Apart(a.arrays[0], Differences(spot, offset()), negative);
  b.arrays[1] = Apart(a.arrays[0], Differences(spot, offset()), negative);
  std::reverse(b.arrays[1].begin(), b.arrays[1].end());
  b.arrays[2] = Apart(a.arrays[1], Differences(spot, offset()), negative);
  a.MakeReversedCopies();
  b.MakeReversedCopies();
}

class SampleMatcherTest : public ::testing::TestWithParam<KernelLevel> {
 protected:
  void SetUp() override {
    if (!ForceKernelLevel(GetParam())) {
      GTEST_SKIP() << "This processor lacks " << KernelLevelName(GetParam());
    }
  }
  void TearDown() override { ForceKernelLevel(BestKernelLevel()); }

  // Match against CompareSamples for every option combination.
  void ExpectSameDecision(int threshold, const Picture& a, const Picture& b, bool negative) {
    for (int combination = 0; combination < 8; ++combination) {
      const CompareOptions options{threshold, (combination & 1) != 0, (combination & 2) != 0};
      const bool with_reversed = (combination & 4) != 0;
      SCOPED_TRACE(::testing::Message()
                   << "rotated " << options.search_rotated << " flipped " << options.search_flipped
                   << " reversed copies " << with_reversed);
      MatchVariant expected_variant{7, 7, 7};
      const double expected = CompareSamples(options, a.Set(with_reversed), b.Set(with_reversed),
                                             expected_variant, negative);
      const bool expect_match = !(threshold > expected * 100.0);
      MatchVariant variant{5, 5, 5};
      double similarity = -5.0;
      const bool matched = SampleMatcher(options).Match(a.Set(with_reversed), b.Set(with_reversed),
                                                        variant, negative, similarity);
      ASSERT_EQ(matched, expect_match) << "CompareSamples gave " << expected;
      EXPECT_EQ(variant.flip, expected_variant.flip);
      EXPECT_EQ(variant.rotation, expected_variant.rotation);
      EXPECT_EQ(variant.negative, 5);  // the caller's field
      if (matched) {
        EXPECT_EQ(similarity, expected);  // bit for bit
        ++matches_;
      } else {
        EXPECT_EQ(similarity, -5.0);
        ++rejections_;
      }
    }
  }

  int matches_ = 0;
  int rejections_ = 0;
};

TEST_P(SampleMatcherTest, SameDecisionAsCompareSamplesOnNearThresholdPairs) {
  std::mt19937 random(77u + static_cast<unsigned>(GetParam()));
  Picture a, b;
  const Spot spots[] = {Spot::kFirst256,    Spot::kTo512, Spot::kTo1024,
                        Spot::kOnValue1024, Spot::kTail,  Spot::kEverywhere};
  for (int threshold = 40; threshold <= 100; threshold += 5) {
    // The sums at which a pass just stops at its early exit, and at which
    // the whole pass just falls below the threshold.
    const long early = std::lround(65536.0 * (100 - threshold) / 100.0);
    const long full = std::lround(262144.0 * (100 - threshold) / 100.0);
    for (const Spot spot : spots) {
      for (const long sum : {early, full, (early + full) / 2}) {
        for (const bool negative : {false, true}) {
          SCOPED_TRACE(::testing::Message()
                       << "threshold " << threshold << " spot " << static_cast<int>(spot) << " sum "
                       << sum << " negative " << negative);
          BuildNearPair(random, spot, sum, negative, a, b);
          ExpectSameDecision(threshold, a, b, negative);
          if (HasFatalFailure()) return;
        }
      }
    }
  }
  EXPECT_GT(matches_, 1000);
  EXPECT_GT(rejections_, 1000);
}

TEST_P(SampleMatcherTest, SameDecisionAsCompareSamplesOnRandomPairsAndEdges) {
  std::mt19937 random(99u + static_cast<unsigned>(GetParam()));
  Picture a, b;
  for (int round = 0; round < 60; ++round) {
    // Noise, copies with small noise, and identical or negated copies.
    for (auto& array : a.arrays) std::generate(array.begin(), array.end(), random);
    const int noise = round % 3 == 0 ? 256 : static_cast<int>(random() % 24);
    const bool negated = round % 4 == 1;
    for (std::size_t i = 0; i < b.arrays.size(); ++i) {
      for (int k = 0; k < kSampleSize; ++k) {
        const int base = negated ? static_cast<std::uint8_t>(256 - a.arrays[i][k]) : a.arrays[i][k];
        b.arrays[i][k] = static_cast<std::uint8_t>(base + static_cast<int>(random() % (noise + 1)));
      }
    }
    a.MakeReversedCopies();
    b.MakeReversedCopies();
    for (const int threshold : {-1000, 0, 40, 41, 70, 90, 99, 100, 101}) {
      for (const bool negative : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "round " << round << " threshold " << threshold
                                          << " negative " << negative);
        ExpectSameDecision(threshold, a, b, negative);
        if (HasFatalFailure()) return;
      }
    }
  }
  EXPECT_GT(matches_, 500);
  EXPECT_GT(rejections_, 500);
}

INSTANTIATE_TEST_SUITE_P(AllLevels, SampleMatcherTest,
                         ::testing::Values(KernelLevel::kScalar, KernelLevel::kSse2,
                                           KernelLevel::kAvx2, KernelLevel::kAvx512),
                         [](const ::testing::TestParamInfo<KernelLevel>& info) {
                           std::string name;
                           for (const char c : std::string(KernelLevelName(info.param))) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

}  // namespace
}  // namespace dupliora
