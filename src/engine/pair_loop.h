// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/image_record.h"
#include "engine/record_table.h"
#include "engine/sample_store.h"

namespace dupliora {

struct PairLoopOptions {
  int similarity = 90;
  bool search_rotated = false;
  bool search_flipped = false;
  bool search_negative = false;
  // 0: every pair of the table; else records [0, first_count) against the rest.
  int first_count = 0;
  bool two_folder = false;
  int threads = 1;
};

struct PairCounts {
  std::int64_t done = 0;     // weighted pairs passed
  std::int64_t skipped = 0;  // weighted comparisons the brightness filters avoided
  int matches = 0;
};

// Weight of one comparison pass over a pair (R) and of the whole pair (W).
int PassWeight(const PairLoopOptions& options);
int PairWeight(const PairLoopOptions& options);
// Pairs the loop visits for `loaded` records.
std::int64_t PairCount(const PairLoopOptions& options, int loaded);
// How far apart two mean brightness values may lie for a comparison to run.
int BrightnessTolerance(int similarity);
// Aspect agreement: both ratios folded below 1, the smaller over the larger.
float AspectAgreement(float a, float b);
// Whether a similarity and an aspect agreement make a match.
bool AcceptPair(double similarity_percent, float ratio, int threshold);

// Final order of the result list: most similar first, ties in the order the
// loop found them (ascending first, then second index).
void SortMatchesBySimilarity(std::vector<MatchResult>& matches);

// Compares the pairs of a record table. Rows are cut into blocks of
// kBlockRecords handed to worker threads; within a block the columns are
// walked in tiles of the same size so that both sides stay in cache.
// Matches reach `commit` in ascending (first, second) order whatever the
// thread count; `progress` is called with the weighted pairs done about every
// 128 ms. Both are called on the thread that calls Run.
class PairLoop {
 public:
  static constexpr int kBlockRecords = 64;

  PairLoop(const RecordTable& table, const PairLoopOptions& options, const std::atomic<bool>& stop);

  PairCounts Run(const std::function<void(std::int64_t done)>& progress,
                 const std::function<void(std::vector<MatchResult>)>& commit);

 private:
  struct BlockResult;
  void RunBlock(int block, BlockResult& result, std::atomic<std::int64_t>& live_done) const;
  bool EvaluatePair(int i, int j, MatchResult& match, std::int64_t& skipped) const;
  double Compare(int i, int j, MatchVariant& variant, bool negative) const;
  int BlockCount() const;

  const RecordTable& table_;
  PairLoopOptions options_;
  const std::atomic<bool>& stop_;
  SampleStore samples_;
  SampleMatcher matcher_;
  std::vector<int> name_group_;  // records naming the same file share a group
  int rows_ = 0;
  int pass_weight_ = 1;
  int pair_weight_ = 1;
  int tolerance_ = 1;
};

}  // namespace dupliora
