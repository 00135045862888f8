// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/pair_loop.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <numeric>

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

namespace {

// Chunks a run's rows are cut into: matches are held back until their chunk
// is done, so a chunk holds about this share of the pairs, and blocks of near
// sums are drawn from a few thousand rows.
constexpr std::int64_t kChunksPerRun = 32;
// Matches handed on per call once their chunk is done.
constexpr std::size_t kCommitBatch = 65536;

// The partners of the rows: every record in one list, the second list in two.
std::vector<int> ColumnsOf(const RecordTable& table, const PairLoopOptions& options) {
  std::vector<int> columns(table.size() - (options.two_folder ? options.first_count : 0));
  std::iota(columns.begin(), columns.end(), options.two_folder ? options.first_count : 0);
  return columns;
}

// The sample store holds the columns in the order of sums, then (two lists)
// the rows, so a position among the columns is one in the store too.
std::vector<int> LayoutOf(const std::vector<int>& columns, const PairLoopOptions& options) {
  std::vector<int> layout = columns;
  if (options.two_folder) {
    for (int row = 0; row < options.first_count; ++row) layout.push_back(row);
  }
  return layout;
}

// How far apart two sample sums may lie for a pair to be visited. At a
// threshold of 0 or below a pair the brightness filter skips (similarity 0)
// would match, so every pair is visited.
std::int64_t ReachOf(const PairLoopOptions& options, const SampleMatcher& matcher) {
  if (options.visit_every_pair || options.similarity <= 0) {
    return std::numeric_limits<std::int64_t>::max() / 4;
  }
  return matcher.BelowSum();
}

}  // namespace

// A match as the loop holds it until its chunk is handed on: 20 bytes
// instead of the 40 of a MatchResult, which a long list at a low threshold
// notices.
struct PairLoop::Found {
  std::int32_t first;
  std::int32_t second;
  std::int32_t similarity;
  std::int32_t ratio;
  std::int16_t rotation;
  std::int8_t flip;
  std::int8_t negative;
};

// One row of a block: its picture, where its partners within reach lie (one
// or two ranges of positions in the order of sums), and how many of its
// pairs the negative filter would have counted but never reached.
struct PairLoop::Row {
  int index = 0;
  SampleSet samples;
  const std::uint8_t* heads = nullptr;
  std::int64_t brightness = 0;
  std::int64_t sum = 0;  // of the sample's values
  float aspect = 0.0f;
  PairBands::Range ranges[2];
  int range_count = 0;
  std::int64_t negative_not_reached = 0;
};

struct PairLoop::BlockResult {
  std::vector<Found> found;
  std::int64_t done = 0;
  std::int64_t skipped = 0;
  std::atomic<bool> finished{false};
};

PairLoop::PairLoop(const RecordTable& table, const PairLoopOptions& options,
                   const std::atomic<bool>& stop)
    : table_(table),
      options_(options),
      stop_(stop),
      matcher_(CompareOptions{options.similarity, options.search_rotated, options.search_flipped}),
      bands_(table, ColumnsOf(table, options), ReachOf(options, matcher_), options.search_rotated,
             options.search_flipped),
      samples_(table, LayoutOf(bands_.Columns(), options), options.search_rotated,
               options.search_flipped),
      pass_weight_(PassWeight(options)),
      pair_weight_(PairWeight(options)),
      tolerance_(BrightnessTolerance(options.similarity)) {
  rows_ = options.two_folder ? options.first_count : table.size();
  std::vector<std::int32_t> brightness(table.size());
  for (int i = 0; i < table.size(); ++i) brightness[i] = table[i].brightness;
  skips_ = options.two_folder ? CountSkipsAcrossLists(brightness, rows_, tolerance_)
                              : CountSkipsWithinList(brightness, tolerance_);
  // Two records of one run can name the same file only where file names
  // ignore case; such a pair is never a match.
  std::map<QString, int> first_of_name;
  name_group_.resize(table.size());
  for (int i = 0; i < table.size(); ++i) {
    name_group_[i] = first_of_name.try_emplace(FileNameKey(RecordPath(table[i])), i).first->second;
  }
  PlanRows();
}

std::int64_t PairLoop::PartnerCount(int row) const {
  return options_.two_folder ? table_.size() - options_.first_count : table_.size() - 1 - row;
}

void PairLoop::PlanRows() {
  const std::int64_t budget =
      std::max<std::int64_t>(1, PairCount(options_, table_.size()) / kChunksPerRun);
  for (int begin = 0; begin < rows_;) {
    // Whole blocks only, so no block spans two chunks.
    int end = begin;
    for (std::int64_t pairs = 0; end < rows_ && (pairs < budget || (end - begin) % kBlockRecords);
         ++end) {
      pairs += PartnerCount(end);
    }
    const auto first = row_order_.size();
    for (int row = begin; row < end; ++row) row_order_.push_back(row);
    std::stable_sort(row_order_.begin() + first, row_order_.end(),
                     [&](int a, int b) { return bands_.SumOf(a) < bands_.SumOf(b); });
    const int first_block = static_cast<int>(first / kBlockRecords);
    chunks_.push_back(
        {first_block, first_block + (end - begin + kBlockRecords - 1) / kBlockRecords});
    begin = end;
  }
}

PairLoop::Row PairLoop::MakeRow(int index) const {
  Row row;
  row.index = index;
  row.samples = samples_.Samples(index);
  row.heads = samples_.HeadsAt(samples_.PositionOf(index));
  row.brightness = samples_.brightness(index);
  row.aspect = samples_.aspect(index);
  row.sum = bands_.SumOf(index);
  PairBands::Range plain = bands_.PlainRange(row.sum);
  PairBands::Range negative =
      options_.search_negative ? bands_.NegativeRange(row.sum) : PairBands::Range{};
  if (plain.begin > negative.begin) std::swap(plain, negative);
  if (plain.begin == plain.end) {
    plain = negative;
    negative = {};
  } else if (negative.begin <= plain.end) {
    plain.end = std::max(plain.end, negative.end);
    negative = {};
  }
  for (const PairBands::Range& range : {plain, negative}) {
    if (range.begin < range.end) row.ranges[row.range_count++] = range;
  }
  return row;
}

void PairLoop::Compare(const Row& row, int position, bool negative, MatchVariant& variant,
                       double& similarity) const {
  if (name_group_[row.index] == name_group_[bands_.ColumnAt(position)]) {
    similarity = 0.0;
    return;
  }
  // The block means settle most pairs of unrelated pictures at a tenth of the cost.
  if ((options_.block_means &&
       matcher_.HeadsApart(row.heads, samples_.HeadsAt(position), negative)) ||
      !matcher_.Match(row.samples, samples_.SamplesAt(position), variant, negative, similarity)) {
    // Below the threshold, by how much nobody asks: the pair rules only ever
    // compare a rejected value with the threshold.
    similarity = -std::numeric_limits<double>::infinity();
    return;
  }
  similarity *= 100.0;
}

// The pair rules for one pair, in the order the run applies them. Counts of
// the brightness filters come from BrightnessSkips; a pair out of reach is
// below the threshold without a comparison.
void PairLoop::VisitColumn(Row& row, int position, BlockResult& result) const {
  const int j = bands_.ColumnAt(position);
  if (!options_.two_folder && j <= row.index) return;
  const std::int64_t b_bright = samples_.BrightnessAt(position);
  MatchVariant variant;
  double sim = 0.0;
  if (std::abs(row.brightness - b_bright) <= tolerance_) {
    sim = -std::numeric_limits<double>::infinity();
    if (bands_.PlainInReach(row.sum, position)) Compare(row, position, false, variant, sim);
  }
  if (options_.search_negative) {
    const bool negative_skipped = row.brightness + b_bright - 100 > tolerance_;
    if (sim >= options_.similarity) {
      row.negative_not_reached += negative_skipped ? 1 : 0;
    } else {
      if (negative_skipped) return;
      variant.negative = 1;
      sim = -std::numeric_limits<double>::infinity();
      if (bands_.NegativeInReach(row.sum, position)) Compare(row, position, true, variant, sim);
    }
  }
  if (!(sim >= options_.similarity)) return;  // spares the aspect of the many rejected pairs
  const float ratio = AspectAgreement(row.aspect, samples_.AspectAt(position));
  if (!AcceptPair(sim, ratio, options_.similarity)) return;
  result.found.push_back(
      {row.index, j, static_cast<std::int32_t>(sim), static_cast<std::int32_t>(ratio * 100.0f),
       static_cast<std::int16_t>(variant.rotation), static_cast<std::int8_t>(variant.flip),
       static_cast<std::int8_t>(variant.negative)});
}

void PairLoop::RunBlock(int block, BlockResult& result) const {
  const int begin = block * kBlockRecords;
  const int end = std::min(rows_, begin + kBlockRecords);
  std::vector<Row> rows;
  rows.reserve(end - begin);
  std::vector<PairBands::Range> spans;
  for (int k = begin; k < end; ++k) {
    rows.push_back(MakeRow(row_order_[k]));
    for (int r = 0; r < rows.back().range_count; ++r) spans.push_back(rows.back().ranges[r]);
  }
  // Walk the union of the rows' ranges tile by tile; the rows' sums are near,
  // so their ranges overlap and each tile serves most of them.
  std::sort(spans.begin(), spans.end(),
            [](const auto& a, const auto& b) { return a.begin < b.begin; });
  std::vector<PairBands::Range> merged;
  for (const PairBands::Range& span : spans) {
    if (!merged.empty() && span.begin <= merged.back().end) {
      merged.back().end = std::max(merged.back().end, span.end);
    } else {
      merged.push_back(span);
    }
  }
  for (const PairBands::Range& span : merged) {
    for (int tile = span.begin; tile < span.end; tile += kBlockRecords) {
      if (stop_.load(std::memory_order_relaxed)) return;
      const int tile_end = std::min(span.end, tile + kBlockRecords);
      for (Row& row : rows) {
        for (int r = 0; r < row.range_count; ++r) {
          const int from = std::max(tile, row.ranges[r].begin);
          const int to = std::min(tile_end, row.ranges[r].end);
          for (int position = from; position < to; ++position) VisitColumn(row, position, result);
        }
      }
    }
  }
  for (const Row& row : rows) {
    result.done += PartnerCount(row.index) * pair_weight_;
    result.skipped += pass_weight_ * std::int64_t{skips_.plain[row.index]};
    if (options_.search_negative) {
      result.skipped += pass_weight_ * (skips_.negative[row.index] - row.negative_not_reached);
    }
  }
}

void PairLoop::CommitChunk(const Chunk& chunk, std::vector<BlockResult>& results,
                           PairCounts& counts,
                           const std::function<void(std::vector<MatchResult>)>& commit) const {
  std::vector<Found> found;
  for (int block = chunk.block_begin; block < chunk.block_end; ++block) {
    std::vector<Found>& part = results[block].found;
    found.insert(found.end(), part.begin(), part.end());
    std::vector<Found>().swap(part);
  }
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return a.first != b.first ? a.first < b.first : a.second < b.second;
  });
  counts.matches += static_cast<int>(found.size());
  for (std::size_t from = 0; from < found.size(); from += kCommitBatch) {
    std::vector<MatchResult> batch;
    batch.reserve(std::min(kCommitBatch, found.size() - from));
    for (std::size_t k = from; k < from + batch.capacity(); ++k) {
      const Found& f = found[k];
      batch.push_back({&table_[f.first], &table_[f.second], f.similarity, f.flip, f.negative,
                       f.rotation, f.ratio});
    }
    commit(std::move(batch));
  }
}

PairCounts PairLoop::Run(const std::function<void(std::int64_t)>& progress,
                         const std::function<void(std::vector<MatchResult>)>& commit) {
  const int blocks = chunks_.empty() ? 0 : chunks_.back().block_end;
  std::vector<BlockResult> results(blocks);
  std::atomic<int> next_block{0};
  std::atomic<std::int64_t> live_done{0};
  WorkerPool pool;
  const auto work = [&] {
    for (int b = next_block++; b < blocks && !stop_.load(); b = next_block++) {
      RunBlock(b, results[b]);
      live_done += results[b].done;
      results[b].finished = true;
      pool.Wake();
    }
  };
  PairCounts counts;
  std::size_t next_chunk = 0;
  const auto chunk_finished = [&](const Chunk& chunk) {
    for (int b = chunk.block_begin; b < chunk.block_end; ++b) {
      if (!results[b].finished) return false;
    }
    return true;
  };
  std::int64_t last_update = TickMs();
  const auto tick = [&] {
    // Chunks reach the window in table order, so the list grows in (i, j) order.
    while (next_chunk < chunks_.size() && chunk_finished(chunks_[next_chunk])) {
      CommitChunk(chunks_[next_chunk++], results, counts, commit);
    }
    const std::int64_t now = TickMs();
    if (TickMovedOn(last_update, now)) {
      last_update = now;
      progress(live_done.load());
    }
  };
  pool.Run(std::min(options_.threads, std::max(1, blocks)), work, tick);
  // After a stop the chunks still open hold what was found so far.
  for (; next_chunk < chunks_.size(); ++next_chunk) {
    CommitChunk(chunks_[next_chunk], results, counts, commit);
  }
  for (const BlockResult& result : results) {
    counts.done += result.done;
    counts.skipped += result.skipped;
  }
  return counts;
}

}  // namespace dupliora
