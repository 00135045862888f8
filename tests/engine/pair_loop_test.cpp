// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/pair_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <tuple>

#include "engine/record_path.h"
#include "engine/similarity.h"
#include "run_test_support.h"

namespace dupliora {
namespace {

using testing::FillSample;
using testing::PatternRecord;

TEST(PairLoopRulesTest, WeightsToleranceCountsAndAcceptance) {
  struct Case {
    bool rotated, flipped, negative;
    int pass_weight, pair_weight;
  };
  const Case cases[] = {{false, false, false, 1, 1},
                        {true, false, false, 4, 4},
                        {true, true, true, 8, 16},
                        {false, false, true, 1, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.rotated << c.flipped << c.negative);
    PairLoopOptions options;
    options.search_rotated = c.rotated;
    options.search_flipped = c.flipped;
    options.search_negative = c.negative;
    EXPECT_EQ(PassWeight(options), c.pass_weight);
    EXPECT_EQ(PairWeight(options), c.pair_weight);
  }
  EXPECT_EQ(BrightnessTolerance(90), 3);
  EXPECT_EQ(BrightnessTolerance(40), 16);
  EXPECT_EQ(BrightnessTolerance(100), 1);

  // The reference loop below checks the counts of both modes; this one needs 64 bits.
  EXPECT_EQ(PairCount(PairLoopOptions{}, 100000), 4999950000LL);

  EXPECT_FLOAT_EQ(AspectAgreement(4.0f / 3.0f, 3.0f / 4.0f), 1.0f);
  EXPECT_NEAR(AspectAgreement(16.0f / 9.0f, 4.0f / 3.0f), 0.75f, 1e-6);
  // 16:9 against 4:3 fails any threshold of 85 or more: trunc(85 * 0.92) = 78.
  EXPECT_FALSE(AcceptPair(100.0, AspectAgreement(16.0f / 9.0f, 4.0f / 3.0f), 85));
  EXPECT_TRUE(AcceptPair(100.0, AspectAgreement(16.0f / 9.0f, 4.0f / 3.0f), 80));
  EXPECT_TRUE(AcceptPair(90.0, 1.0f, 90));  // exactly the threshold
  EXPECT_FALSE(AcceptPair(89.99, 1.0f, 90));
  EXPECT_FALSE(AcceptPair(95.0, 0.82f, 90));  // exactly trunc(90 * 0.92) is not enough
  EXPECT_TRUE(AcceptPair(95.0, 0.83f, 90));
  EXPECT_FALSE(AcceptPair(100.0, AspectAgreement(0.0f, 1.0f), 40));
}

class PairLoopTest : public ::testing::Test {
 protected:
  void Add(const ImageRecord& record) { table_.Append(std::make_shared<ImageRecord>(record)); }

  RecordTable table_;
  std::atomic<bool> stop_{false};
};

// The pair rules written out over CompareRecords, pair by pair: what the
// loop must give, whatever shortcuts its matcher takes.
PairCounts ReferenceLoop(const RecordTable& table, const PairLoopOptions& options,
                         std::vector<MatchResult>& matches) {
  const CompareOptions compare{options.similarity, options.search_rotated, options.search_flipped};
  const int tolerance = BrightnessTolerance(options.similarity);
  const int rows = options.two_folder ? options.first_count : table.size();
  PairCounts counts;
  for (int i = 0; i < rows; ++i) {
    for (int j = options.two_folder ? rows : i + 1; j < table.size(); ++j) {
      const ImageRecord& a = table[i];
      const ImageRecord& b = table[j];
      counts.done += PairWeight(options);
      MatchVariant variant;
      double sim = 0.0;
      if (std::abs(a.brightness - b.brightness) > tolerance) {
        counts.skipped += PassWeight(options);
      } else {
        sim = 100.0 * CompareRecords(compare, a, b, variant, false);
      }
      if (options.search_negative && sim < options.similarity) {
        if (a.brightness + b.brightness - 100 > tolerance) {
          counts.skipped += PassWeight(options);
          continue;
        }
        variant.negative = 1;
        sim = 100.0 * CompareRecords(compare, a, b, variant, true);
      }
      const float ratio = AspectAgreement(a.aspect, b.aspect);
      if (!AcceptPair(sim, ratio, options.similarity)) continue;
      matches.push_back({&a, &b, static_cast<std::int32_t>(sim), variant.flip, variant.negative,
                         variant.rotation, static_cast<std::int32_t>(ratio * 100.0f)});
    }
  }
  counts.matches = static_cast<int>(matches.size());
  return counts;
}

// The source of (x, y) under the eight turns and mirrors of the square.
int Transformed(int transform, int x, int y) {
  constexpr int kLast = kSampleSide - 1;
  const int u = transform & 1 ? kLast - x : x;
  const int v = transform & 2 ? kLast - y : y;
  return transform & 4 ? u * kSampleSide + v : v * kSampleSide + u;
}

// `record` turned or mirrored, moved in brightness by `shift`, by up to
// `noise` per value, and negated as asked.
ImageRecord Derived(const ImageRecord& record, int seed, int shift, int noise, int transform,
                    bool negated) {
  ImageRecord made = record;
  SetRecordPath(made, QStringLiteral("/derived/%1").arg(seed));
  std::mt19937 random(static_cast<unsigned>(seed));
  FillSample(made, [&](int x, int y) {
    const int value = std::clamp(record.gray[Transformed(transform, x, y)] + shift +
                                     static_cast<int>(random() % (noise + 1)) - noise / 2,
                                 0, 255);
    return negated ? 255 - value : value;
  });
  return made;
}

// Soft shapes around a mean brightness, as the samples of photos are.
ImageRecord Scene(int seed, int mean) {
  ImageRecord record = PatternRecord(QStringLiteral("/base/%1").arg(seed), seed);
  std::mt19937 random(static_cast<unsigned>(seed));
  const double fx = 0.05 + 0.01 * (random() % 10);
  const double fy = 0.05 + 0.01 * (random() % 10);
  FillSample(record, [&](int x, int y) {
    return std::clamp(mean + static_cast<int>(60.0 * std::sin(fx * x) * std::cos(fy * y)) +
                          static_cast<int>(random() % 9),
                      0, 255);
  });
  record.aspect = seed % 5 == 0 ? 1.5f : 1.0f;
  return record;
}

// Families of a picture and copies shifted, noisy, turned, mirrored or
// negated, with means drawn from `mean`: pairs fall on both sides of every
// threshold, of the brightness filters and of the reach of the sample sums.
void AddFamilies(RecordTable& table, std::mt19937& random, const std::function<int()>& mean) {
  for (int family = 0; family < 9; ++family) {
    const ImageRecord base = Scene(static_cast<int>(random() % 100000), mean());
    table.Append(std::make_shared<ImageRecord>(base));
    for (int k = 0; k < 10; ++k) {
      const int shift = static_cast<int>(random() % 17) - 8;
      table.Append(std::make_shared<ImageRecord>(
          Derived(base, static_cast<int>(random()), shift, 4 * (k % 5), k % 8, k % 3 == 2)));
    }
  }
}

// Also the identity of threaded and single-threaded runs: the tables span
// several blocks and chunks, so threads share the rows.
TEST_F(PairLoopTest, SameResultsAsComparingEachPairWithCompareRecords) {
  std::mt19937 random(1234);
  std::normal_distribution<double> photo(115.0, 38.0);
  const std::function<int()> distributions[] = {
      [&] { return static_cast<int>(photo(random)); },   // like photos
      [] { return 100; },                                // all alike
      [&] { return random() % 2 ? 40 : 215; },           // dark and light
      [&] { return static_cast<int>(random() % 256); },  // uniform
  };
  int matches_seen = 0;
  for (std::size_t distribution = 0; distribution < std::size(distributions); ++distribution) {
    table_.Clear();
    AddFamilies(table_, random, distributions[distribution]);
    // A damaged record: its turned copy is another picture's sample, so only
    // the turned pass matches while the plain sums lie far apart.
    ImageRecord damaged = Scene(7, 240);
    std::copy(std::begin(table_[0].gray), std::end(table_[0].gray), damaged.gray_rot);
    Add(damaged);
    // Brightness values a record store could hold, far outside 0..99.
    ImageRecord odd = table_[1];
    odd.brightness = distribution % 2 ? 1000000 : -1000000;
    Add(odd);
    for (const int threshold : {40, 70, 90, 95, 100}) {
      for (int combination = 0; combination < 16; ++combination) {
        PairLoopOptions options;
        options.similarity = threshold;
        options.search_rotated = (combination & 1) != 0;
        options.search_flipped = (combination & 2) != 0;
        options.search_negative = (combination & 4) != 0;
        options.two_folder = (combination & 8) != 0;
        options.first_count = options.two_folder ? table_.size() / 3 : 0;
        std::vector<MatchResult> expected;
        const PairCounts expected_counts = ReferenceLoop(table_, options, expected);
        for (const int threads : {1, 3}) {
          SCOPED_TRACE(::testing::Message()
                       << "distribution " << distribution << " threshold " << threshold
                       << " options " << combination << " threads " << threads);
          options.threads = threads;
          std::vector<MatchResult> matches;
          std::int64_t last_progress = 0;
          PairLoop loop(table_, options, stop_);
          const PairCounts counts = loop.Run(
              [&](std::int64_t done) {
                EXPECT_GE(done, last_progress);
                last_progress = done;
              },
              [&](std::vector<MatchResult> batch) {
                matches.insert(matches.end(), batch.begin(), batch.end());
              });
          EXPECT_EQ(counts.done, expected_counts.done);
          EXPECT_EQ(counts.done, PairCount(options, table_.size()) * PairWeight(options));
          EXPECT_LE(last_progress, counts.done);
          EXPECT_EQ(counts.skipped, expected_counts.skipped);
          EXPECT_EQ(counts.matches, expected_counts.matches);
          ASSERT_EQ(matches.size(), expected.size());
          const auto fields = [](const MatchResult& m) {
            return std::tuple(m.first, m.second, m.similarity, m.flip, m.negative, m.rotation,
                              m.ratio);
          };
          for (std::size_t k = 0; k < matches.size(); ++k) {
            EXPECT_EQ(fields(matches[k]), fields(expected[k])) << k;
          }
          matches_seen += static_cast<int>(matches.size());
        }
      }
    }
  }
  EXPECT_GT(matches_seen, 4000);
}

TEST_F(PairLoopTest, StopKeepsWhatWasFound) {
  // Every pair matches and costs a full pass: the blocks after the first
  // take far longer than the hand-over of its batch.
  for (int i = 0; i < 3000; ++i) Add(PatternRecord(QStringLiteral("/p/%1").arg(i), 1));
  PairLoopOptions options;
  std::vector<MatchResult> matches;
  PairLoop loop(table_, options, stop_);
  const PairCounts counts = loop.Run([](std::int64_t) {},
                                     [&](std::vector<MatchResult> batch) {
                                       matches.insert(matches.end(), batch.begin(), batch.end());
                                       stop_ = true;  // stop after the first batch arrives
                                     });
  EXPECT_LT(counts.done, PairCount(options, 3000));
  EXPECT_FALSE(matches.empty());
  EXPECT_EQ(counts.matches, static_cast<int>(matches.size()));
}

TEST(SortMatchesTest, MostSimilarFirstTiesKeepTheirOrder) {
  std::vector<MatchResult> matches(4);
  const int similarity[] = {90, 100, 90, 95};
  for (int k = 0; k < 4; ++k) {
    matches[k].similarity = similarity[k];
    matches[k].ratio = k;
  }
  SortMatchesBySimilarity(matches);
  std::vector<std::pair<int, int>> order;
  for (const MatchResult& m : matches) order.emplace_back(m.similarity, m.ratio);
  EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{100, 1}, {95, 3}, {90, 0}, {90, 2}}));
}

}  // namespace
}  // namespace dupliora
