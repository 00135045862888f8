// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/pair_loop.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>

#include "engine/record_path.h"
#include "engine/run_progress.h"
#include "engine/worker_pool.h"
#include "platform/file_names.h"

namespace dupliora {

int PassWeight(const PairLoopOptions& o) {
  return (o.search_rotated ? 4 : 1) * (o.search_flipped ? 2 : 1);
}

int PairWeight(const PairLoopOptions& o) { return PassWeight(o) * (o.search_negative ? 2 : 1); }

std::int64_t PairCount(const PairLoopOptions& o, int loaded) {
  const std::int64_t n = loaded;
  if (o.two_folder) return static_cast<std::int64_t>(o.first_count) * (n - o.first_count);
  return n * (n - 1) / 2;
}

int BrightnessTolerance(int similarity) { return ((100 - similarity) >> 2) + 1; }

float AspectAgreement(float a, float b) {
  if (a > 1.0f) a = static_cast<float>(1.0 / a);
  if (b > 1.0f) b = static_cast<float>(1.0 / b);
  return std::min(a, b) / std::max(a, b);
}

bool AcceptPair(double similarity_percent, float ratio, int threshold) {
  return similarity_percent >= threshold &&
         ratio * 100.0f > static_cast<float>(static_cast<int>(threshold * 0.92));
}

void SortMatchesBySimilarity(std::vector<MatchResult>& matches) {
  std::stable_sort(matches.begin(), matches.end(), [](const MatchResult& a, const MatchResult& b) {
    return a.similarity > b.similarity;
  });
}

struct PairLoop::BlockResult {
  std::vector<std::pair<std::int64_t, MatchResult>> matches;  // keyed by i * n + j
  std::int64_t done = 0;
  std::int64_t skipped = 0;
  std::atomic<bool> finished{false};
};

PairLoop::PairLoop(const RecordTable& table, const PairLoopOptions& options,
                   const std::atomic<bool>& stop)
    : table_(table),
      options_(options),
      stop_(stop),
      samples_(table, options.search_rotated, options.search_flipped),
      matcher_(CompareOptions{options.similarity, options.search_rotated, options.search_flipped}),
      pass_weight_(PassWeight(options)),
      pair_weight_(PairWeight(options)),
      tolerance_(BrightnessTolerance(options.similarity)) {
  rows_ = options.two_folder ? options.first_count : table.size();
  // Two records of one run can name the same file only where file names
  // ignore case; such a pair is never a match.
  std::map<QString, int> first_of_name;
  name_group_.resize(table.size());
  for (int i = 0; i < table.size(); ++i) {
    name_group_[i] = first_of_name.try_emplace(FileNameKey(RecordPath(table[i])), i).first->second;
  }
}

int PairLoop::BlockCount() const { return (rows_ + kBlockRecords - 1) / kBlockRecords; }

double PairLoop::Compare(int i, int j, MatchVariant& variant, bool negative) const {
  if (name_group_[i] == name_group_[j]) return 0.0;
  double similarity = 0.0;
  if (matcher_.Match(samples_.Samples(i), samples_.Samples(j), variant, negative, similarity)) {
    return similarity;
  }
  // Below the threshold, by how much nobody asks: the pair rules only ever
  // compare a rejected value with the threshold.
  return -std::numeric_limits<double>::infinity();
}

bool PairLoop::EvaluatePair(int i, int j, MatchResult& match, std::int64_t& skipped) const {
  const int a_bright = samples_.brightness(i);
  const int b_bright = samples_.brightness(j);
  MatchVariant variant;
  double sim = 0.0;
  if (std::abs(a_bright - b_bright) > tolerance_) {
    skipped += pass_weight_;
  } else {
    sim = 100.0 * Compare(i, j, variant, false);
    variant.negative = 0;
  }
  if (options_.search_negative && sim < options_.similarity) {
    // One-sided on purpose: a picture and its negative have brightness
    // values that add up to about 100.
    if (a_bright + b_bright - 100 > tolerance_) {
      skipped += pass_weight_;
      return false;
    }
    variant.negative = 1;
    sim = 100.0 * Compare(i, j, variant, true);
  }
  const float ratio = AspectAgreement(samples_.aspect(i), samples_.aspect(j));
  if (!AcceptPair(sim, ratio, options_.similarity)) return false;
  match = {
      &table_[i],       &table_[j],       static_cast<std::int32_t>(sim),           variant.flip,
      variant.negative, variant.rotation, static_cast<std::int32_t>(ratio * 100.0f)};
  return true;
}

void PairLoop::RunBlock(int block, BlockResult& result,
                        std::atomic<std::int64_t>& live_done) const {
  const int n = table_.size();
  const int row_begin = block * kBlockRecords;
  const int row_end = std::min(rows_, row_begin + kBlockRecords);
  const int column_begin = options_.two_folder ? options_.first_count : row_begin;
  for (int tile = column_begin; tile < n; tile += kBlockRecords) {
    const int tile_end = std::min(n, tile + kBlockRecords);
    std::int64_t tile_pairs = 0;
    for (int i = row_begin; i < row_end; ++i) {
      const int j_begin = options_.two_folder ? tile : std::max(tile, i + 1);
      for (int j = j_begin; j < tile_end; ++j) {
        if (stop_.load(std::memory_order_relaxed)) {
          result.done += tile_pairs * pair_weight_;
          live_done += tile_pairs * pair_weight_;
          return;
        }
        MatchResult match;
        if (EvaluatePair(i, j, match, result.skipped)) {
          result.matches.emplace_back(static_cast<std::int64_t>(i) * n + j, match);
        }
        ++tile_pairs;
      }
    }
    result.done += tile_pairs * pair_weight_;
    live_done += tile_pairs * pair_weight_;
  }
}

PairCounts PairLoop::Run(const std::function<void(std::int64_t)>& progress,
                         const std::function<void(std::vector<MatchResult>)>& commit) {
  const int blocks = BlockCount();
  std::vector<BlockResult> results(blocks);
  std::atomic<int> next_block{0};
  std::atomic<std::int64_t> live_done{0};
  WorkerPool pool;
  const auto work = [&] {
    for (int b = next_block++; b < blocks && !stop_.load(); b = next_block++) {
      RunBlock(b, results[b], live_done);
      results[b].finished = true;
      pool.Wake();
    }
  };
  PairCounts counts;
  int next_commit = 0;
  // Blocks reach the window in row order, so the list grows in (i, j) order.
  const auto commit_block = [&](BlockResult& result) {
    std::sort(result.matches.begin(), result.matches.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<MatchResult> batch;
    batch.reserve(result.matches.size());
    for (auto& [key, match] : result.matches) batch.push_back(match);
    // Released once handed on, so a run where nearly every pair matches
    // holds one copy of its matches (the command line holds none).
    result.matches = {};
    counts.matches += static_cast<int>(batch.size());
    if (!batch.empty()) commit(std::move(batch));
  };
  std::int64_t last_update = TickMs();
  const auto tick = [&] {
    while (next_commit < blocks && results[next_commit].finished) {
      commit_block(results[next_commit++]);
    }
    const std::int64_t now = TickMs();
    if (TickMovedOn(last_update, now)) {
      last_update = now;
      progress(live_done.load());
    }
  };
  pool.Run(std::min(options_.threads, std::max(1, blocks)), work, tick);
  // After a stop the blocks still open hold what was found so far.
  for (; next_commit < blocks; ++next_commit) commit_block(results[next_commit]);
  for (const BlockResult& result : results) {
    counts.done += result.done;
    counts.skipped += result.skipped;
  }
  return counts;
}

}  // namespace dupliora
