// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/brightness_skips.h"
#include "engine/image_record.h"
#include "engine/pair_bands.h"
#include "engine/record_table.h"
#include "engine/sample_store.h"
#include "engine/similarity.h"

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
  // Benchmarks' baselines: visit every pair, as if no sums were ever too far
  // apart; compare without first looking at the block means.
  bool visit_every_pair = false;
  bool block_means = true;
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

// Compares the pairs of a record table. Rows are cut into chunks in table
// order and each chunk into blocks of kBlockRecords rows of near sample sums,
// handed to worker threads. A row meets only the partners whose sums are
// within reach of its own or of its negative's (PairBands), walked in tiles of
// kBlockRecords columns so that both sides stay in cache; every other pair is
// counted without a visit, from the brightness values (BrightnessSkips).
// Matches, counts and progress are those of comparing every pair in turn.
// Matches reach `commit` in ascending (first, second) order whatever the
// thread count, a chunk at a time, and the loop keeps none it has handed on;
// `progress` is called with the weighted pairs done about every 128 ms. Both
// are called on the thread that calls Run.
class PairLoop {
 public:
  static constexpr int kBlockRecords = 64;

  PairLoop(const RecordTable& table, const PairLoopOptions& options, const std::atomic<bool>& stop);

  PairCounts Run(const std::function<void(std::int64_t done)>& progress,
                 const std::function<void(std::vector<MatchResult>)>& commit);

 private:
  struct Found;
  struct Row;
  struct BlockResult;
  struct Chunk {
    int block_begin = 0;
    int block_end = 0;
  };

  void PlanRows();
  std::int64_t PartnerCount(int row) const;
  Row MakeRow(int row) const;
  void RunBlock(int block, BlockResult& result) const;
  void VisitColumn(Row& row, int position, BlockResult& result) const;
  void Compare(const Row& row, int position, bool negative, MatchVariant& variant,
               double& similarity) const;
  void CommitChunk(const Chunk& chunk, std::vector<BlockResult>& results, PairCounts& counts,
                   const std::function<void(std::vector<MatchResult>)>& commit) const;

  const RecordTable& table_;
  PairLoopOptions options_;
  const std::atomic<bool>& stop_;
  SampleMatcher matcher_;
  PairBands bands_;
  SampleStore samples_;
  BrightnessSkips skips_;
  std::vector<int> name_group_;  // records naming the same file share a group
  std::vector<int> row_order_;   // chunk by chunk, each ordered by sample sum
  std::vector<Chunk> chunks_;
  int rows_ = 0;
  int pass_weight_ = 1;
  int pair_weight_ = 1;
  int tolerance_ = 1;
};

}  // namespace dupliora
