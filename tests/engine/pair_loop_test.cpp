// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/pair_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <tuple>

#include "engine/record_path.h"
#include "engine/similarity.h"
#include "run_test_support.h"

namespace dupliora {
namespace {

using testing::PatternRecord;

TEST(PairLoopRulesTest, WeightsAndTolerance) {
  struct Case {
    bool rotated, flipped, negative;
    int pass_weight, pair_weight;
  };
  const Case cases[] = {{false, false, false, 1, 1}, {true, false, false, 4, 4},
                        {false, true, false, 2, 2},  {true, true, false, 8, 8},
                        {true, true, true, 8, 16},   {false, false, true, 1, 2}};
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
}

TEST(PairLoopRulesTest, PairCounts) {
  PairLoopOptions one;
  EXPECT_EQ(PairCount(one, 0), 0);
  EXPECT_EQ(PairCount(one, 1), 0);
  EXPECT_EQ(PairCount(one, 100000), 4999950000LL);  // needs 64 bits
  PairLoopOptions two;
  two.two_folder = true;
  two.first_count = 3;
  EXPECT_EQ(PairCount(two, 10), 21);
}

TEST(PairLoopRulesTest, AspectAgreementAndAcceptance) {
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

  PairCounts RunLoop(const PairLoopOptions& options, std::vector<MatchResult>& matches) {
    PairLoop loop(table_, options, stop_);
    return loop.Run([](std::int64_t) {},
                    [&](std::vector<MatchResult> batch) {
                      matches.insert(matches.end(), batch.begin(), batch.end());
                    });
  }

  int IndexOf(const ImageRecord* record) const {
    for (int i = 0; i < table_.size(); ++i) {
      if (&table_[i] == record) return i;
    }
    return -1;
  }

  RecordTable table_;
  std::atomic<bool> stop_{false};
};

TEST_F(PairLoopTest, FindsCopiesAndTheirVariants) {
  const ImageRecord base = PatternRecord("/p/base", 1);
  Add(base);
  Add(PatternRecord("/p/other", 2));
  ImageRecord turned = base;  // base turned half way: its sample read backward
  SetRecordPath(turned, "/p/turned");
  std::reverse_copy(base.gray, base.gray + kSampleSize, turned.gray);
  Add(turned);
  ImageRecord copy = base;
  SetRecordPath(copy, "/p/copy");
  Add(copy);

  PairLoopOptions options;
  options.threads = 1;
  std::vector<MatchResult> plain;
  PairCounts counts = RunLoop(options, plain);
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(IndexOf(plain[0].first), 0);
  EXPECT_EQ(IndexOf(plain[0].second), 3);
  EXPECT_EQ(plain[0].similarity, 100);
  EXPECT_EQ(plain[0].ratio, 100);
  EXPECT_EQ(counts.done, 6);

  options.search_rotated = true;
  std::vector<MatchResult> rotated;
  counts = RunLoop(options, rotated);
  ASSERT_EQ(rotated.size(), 3u);
  EXPECT_EQ(IndexOf(rotated[0].second), 2);
  EXPECT_EQ(rotated[0].rotation, 180);
  EXPECT_EQ(counts.done, 6 * 4);
}

TEST_F(PairLoopTest, BrightnessFiltersCountWhatTheySave) {
  // Threshold 90, all variants: T = 3, R = 8, W = 16.
  Add(PatternRecord("/p/a", 1, 0));
  Add(PatternRecord("/p/b", 1, 13));  // brightness about 5 above: plain pass skipped
  ASSERT_GT(std::abs(table_[0].brightness - table_[1].brightness), 3);
  PairLoopOptions options;
  options.search_rotated = options.search_flipped = true;
  std::vector<MatchResult> matches;
  PairCounts counts = RunLoop(options, matches);
  EXPECT_EQ(counts.done, 8);
  EXPECT_EQ(counts.skipped, 8);

  // a + b - 100 <= 3 here, so the negative pass runs: only the plain one is saved.
  options.search_negative = true;
  ASSERT_LE(table_[0].brightness + table_[1].brightness - 100, 3);
  counts = RunLoop(options, matches);
  EXPECT_EQ(counts.done, 16);
  EXPECT_EQ(counts.skipped, 8);

  table_.Clear();
  Add(PatternRecord("/p/a", 1, 60));
  Add(PatternRecord("/p/b", 1, 75));
  ASSERT_GT(table_[0].brightness + table_[1].brightness - 100, 3);
  counts = RunLoop(options, matches);
  EXPECT_EQ(counts.skipped, 16);
  EXPECT_EQ(counts.done, 16);
  EXPECT_TRUE(matches.empty());
}

TEST_F(PairLoopTest, NegativeCopyIsFoundOnlyWithNegativeSearch) {
  const ImageRecord base = PatternRecord("/p/base", 5, 0);
  ImageRecord negative = base;
  SetRecordPath(negative, "/p/negative");
  long sum = 0;
  for (int k = 0; k < kSampleSize; ++k) {
    negative.gray[k] = static_cast<std::uint8_t>((256 - base.gray[k]) & 255);
    sum += negative.gray[k];
  }
  negative.brightness = static_cast<std::int32_t>(((sum / 4096) * 100) / 256);
  Add(base);
  Add(negative);
  PairLoopOptions options;
  options.similarity = 40;  // T = 16: the plain pass is still skipped (38 against 60)
  std::vector<MatchResult> matches;
  RunLoop(options, matches);
  EXPECT_TRUE(matches.empty());
  options.search_negative = true;
  RunLoop(options, matches);
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].negative, 1);
  EXPECT_EQ(matches[0].similarity, 100);
}

TEST_F(PairLoopTest, ThreadCountChangesNothing) {
  // Enough records for several blocks, with copies spread over them.
  for (int i = 0; i < 300; ++i) {
    const int seed = i % 97 == 0 ? 7 : i % 50 == 0 ? 8 : 1000 + i;
    Add(PatternRecord(QStringLiteral("/p/%1").arg(i, 4, 10, QChar(u'0')), seed, 0,
                      i % 3 == 0 ? 1.5f : 1.0f));
  }
  for (bool two_folder : {false, true}) {
    SCOPED_TRACE(two_folder);
    PairLoopOptions options;
    options.similarity = 85;
    options.search_rotated = options.search_flipped = options.search_negative = true;
    options.two_folder = two_folder;
    options.first_count = two_folder ? 130 : 0;
    options.threads = 1;
    std::vector<MatchResult> single;
    const PairCounts single_counts = RunLoop(options, single);
    EXPECT_EQ(single_counts.done, PairCount(options, 300) * 16);
    ASSERT_FALSE(single.empty());
    for (std::size_t k = 1; k < single.size(); ++k) {
      const auto key = [&](const MatchResult& m) {
        return std::pair(IndexOf(m.first), IndexOf(m.second));
      };
      EXPECT_LT(key(single[k - 1]), key(single[k]));  // found in (i, j) order
    }
    for (int threads : {2, 3, 8}) {
      SCOPED_TRACE(threads);
      options.threads = threads;
      std::vector<MatchResult> many;
      const PairCounts counts = RunLoop(options, many);
      EXPECT_EQ(counts.done, single_counts.done);
      EXPECT_EQ(counts.skipped, single_counts.skipped);
      EXPECT_EQ(counts.matches, single_counts.matches);
      ASSERT_EQ(many.size(), single.size());
      for (std::size_t k = 0; k < many.size(); ++k) {
        EXPECT_EQ(std::memcmp(&many[k], &single[k], sizeof(MatchResult)), 0) << k;
      }
    }
  }
}

// The pair rules written out over CompareRecords, pair by pair: what the
// loop must give, whatever shortcuts its matcher takes.
PairCounts ReferenceLoop(const RecordTable& table, const PairLoopOptions& options,
                         std::vector<MatchResult>& matches) {
  const CompareOptions compare{options.similarity, options.search_rotated, options.search_flipped};
  const int tolerance = BrightnessTolerance(options.similarity);
  PairCounts counts;
  for (int i = 0; i < table.size(); ++i) {
    for (int j = i + 1; j < table.size(); ++j) {
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

// `record` with its sample moved by up to `noise` grey levels per value,
// turned a quarter clockwise or negated as asked; turned copies rebuilt.
ImageRecord Derived(const ImageRecord& record, int seed, int noise, bool turned, bool negated) {
  ImageRecord made = record;
  SetRecordPath(made, QStringLiteral("/derived/%1").arg(seed));
  std::mt19937 random(static_cast<unsigned>(seed));
  long sum = 0;
  for (int y = 0; y < kSampleSide; ++y) {
    for (int x = 0; x < kSampleSide; ++x) {
      const int from = turned ? (kSampleSide - 1 - x) * kSampleSide + y : y * kSampleSide + x;
      int value = record.gray[from] + static_cast<int>(random() % (noise + 1)) - noise / 2;
      value = std::clamp(value, 0, 255);
      const auto g = static_cast<std::uint8_t>(negated ? 256 - value : value);
      made.gray[y * kSampleSide + x] = g;
      made.gray_rot[x * kSampleSide + (kSampleSide - 1 - y)] = g;
      made.gray_flip[(kSampleSide - 1 - y) * kSampleSide + x] = g;
      sum += g;
    }
  }
  made.brightness = static_cast<std::int32_t>(((sum / 4096) * 100) / 256);
  return made;
}

TEST_F(PairLoopTest, SameResultsAsComparingEachPairWithCompareRecords) {
  // Copies at rising noise straddle every threshold; some are turned or negated.
  for (int base = 0; base < 4; ++base) {
    const ImageRecord original =
        PatternRecord(QStringLiteral("/base/%1").arg(base), 50 + base, 20 * base);
    Add(original);
    for (int k = 0; k < 9; ++k) {
      Add(Derived(original, base * 100 + k, 6 * k, k % 3 == 1, k % 4 == 2));
    }
  }
  int matches_seen = 0;
  for (const int threshold : {40, 65, 85, 90, 95, 100}) {
    for (int combination = 0; combination < 8; ++combination) {
      SCOPED_TRACE(::testing::Message() << "threshold " << threshold << " options " << combination);
      PairLoopOptions options;
      options.similarity = threshold;
      options.search_rotated = (combination & 1) != 0;
      options.search_flipped = (combination & 2) != 0;
      options.search_negative = (combination & 4) != 0;
      std::vector<MatchResult> expected;
      const PairCounts expected_counts = ReferenceLoop(table_, options, expected);
      std::vector<MatchResult> matches;
      const PairCounts counts = RunLoop(options, matches);
      EXPECT_EQ(counts.done, expected_counts.done);
      EXPECT_EQ(counts.skipped, expected_counts.skipped);
      EXPECT_EQ(counts.matches, expected_counts.matches);
      ASSERT_EQ(matches.size(), expected.size());
      const auto fields = [](const MatchResult& m) {
        return std::tuple(m.first, m.second, m.similarity, m.flip, m.negative, m.rotation, m.ratio);
      };
      for (std::size_t k = 0; k < matches.size(); ++k) {
        EXPECT_EQ(fields(matches[k]), fields(expected[k])) << k;
      }
      matches_seen += static_cast<int>(matches.size());
    }
  }
  EXPECT_GT(matches_seen, 200);
}

TEST_F(PairLoopTest, StopKeepsWhatWasFound) {
  // Every pair matches and costs a full pass: the blocks after the first
  // take far longer than the hand-over of its batch.
  for (int i = 0; i < 3000; ++i) Add(PatternRecord(QStringLiteral("/p/%1").arg(i), 1));
  PairLoopOptions options;
  options.threads = 1;
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
