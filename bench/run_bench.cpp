// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Compare-phase speed over synthetic records (no files): the pair loop over
// 10,000 records against the kernel on a set small enough to stay in cache.
// DUPLIORA_BENCH_RECORDS changes the record count.
#include <benchmark/benchmark.h>

#include <QString>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <random>

#include "engine/pair_loop.h"
#include "engine/record_path.h"
#include "engine/similarity.h"

namespace dupliora {
namespace {

int RecordCount() {
  const char* text = std::getenv("DUPLIORA_BENCH_RECORDS");
  return text != nullptr ? std::atoi(text) : 10000;
}

// alike: every record has the same mean brightness, so the brightness
// filters skip nothing (the worst case); else the means spread as photos do.
RecordTable MakeTable(bool alike) {
  RecordTable made;
  std::mt19937 random(42);
  std::normal_distribution<double> mean(45.0, 15.0);
  for (int i = 0, n = RecordCount(); i < n; ++i) {
    auto record = std::make_shared<ImageRecord>();
    SetRecordPath(*record, QStringLiteral("/bench/%1.jpg").arg(i));
    const int centre = alike ? 100 : std::clamp(static_cast<int>(mean(random) * 2.56), 20, 235);
    std::uniform_int_distribution<int> value(centre - 20, centre + 20);
    long sum = 0;
    for (int k = 0; k < kSampleSize; ++k) {
      record->gray[k] = static_cast<std::uint8_t>(value(random));
      record->gray_rot[k] = static_cast<std::uint8_t>(value(random));
      record->gray_flip[k] = static_cast<std::uint8_t>(value(random));
      sum += record->gray[k];
    }
    record->brightness = static_cast<std::int32_t>(((sum / 4096) * 100) / 256);
    record->aspect = 1.0f;
    made.Append(std::move(record));
  }
  return made;
}

const RecordTable& Table(bool alike) {
  if (alike) {
    static const RecordTable alike_table = MakeTable(true);
    return alike_table;
  }
  static const RecordTable spread_table = MakeTable(false);
  return spread_table;
}

PairLoopOptions Options(bool variants, int threads) {
  PairLoopOptions options;
  options.search_rotated = options.search_flipped = options.search_negative = variants;
  options.threads = threads;
  return options;
}

// The kernel alone on 64 records that stay in cache: the speed to aim at.
void BM_InCacheKernel(benchmark::State& state) {
  const bool variants = state.range(0) != 0;
  const RecordTable& table = Table(true);
  const CompareOptions compare{90, variants, variants};
  std::int64_t pairs = 0;
  for (auto _ : state) {
    for (int i = 0; i < 64; ++i) {
      for (int j = i + 1; j < 64; ++j) {
        MatchVariant variant;
        double s =
            CompareSamples(compare, SamplesOf(table[i]), SamplesOf(table[j]), variant, false);
        if (variants)
          s = CompareSamples(compare, SamplesOf(table[i]), SamplesOf(table[j]), variant, true);
        benchmark::DoNotOptimize(s);
        ++pairs;
      }
    }
  }
  state.counters["pairs_per_s"] =
      benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InCacheKernel)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The same pairs through the matcher the pair loop uses, which gives up a
// variant as soon as its partial sum decides it.
void BM_InCacheMatcher(benchmark::State& state) {
  const bool variants = state.range(0) != 0;
  const RecordTable& table = Table(state.range(1) != 0);
  const SampleMatcher matcher(CompareOptions{90, variants, variants});
  std::int64_t pairs = 0;
  for (auto _ : state) {
    for (int i = 0; i < 64; ++i) {
      for (int j = i + 1; j < 64; ++j) {
        MatchVariant variant;
        double s = 0.0;
        if (!matcher.Match(SamplesOf(table[i]), SamplesOf(table[j]), variant, false, s) &&
            variants) {
          matcher.Match(SamplesOf(table[i]), SamplesOf(table[j]), variant, true, s);
        }
        benchmark::DoNotOptimize(s);
        ++pairs;
      }
    }
  }
  state.counters["pairs_per_s"] =
      benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InCacheMatcher)
    ->ArgsProduct({{0, 1}, {1, 0}})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// The whole pair loop over every pair of the table.
void BM_PairLoop(benchmark::State& state) {
  const bool variants = state.range(0) != 0;
  const int threads = static_cast<int>(state.range(1));
  const RecordTable& table = Table(state.range(2) != 0);
  std::atomic<bool> stop{false};
  std::int64_t pairs = 0;
  for (auto _ : state) {
    PairLoop loop(table, Options(variants, threads), stop);
    const PairCounts counts = loop.Run([](std::int64_t) {}, [](std::vector<MatchResult>) {});
    benchmark::DoNotOptimize(counts.done);
    pairs += PairCount(Options(variants, threads), table.size());
  }
  state.counters["pairs_per_s"] =
      benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsRate);
  state.counters["records"] = table.size();
}
// Arguments: variants on, threads, all brightness alike. Rates are per
// second of process CPU time; the wall time shows the gain of threads.
BENCHMARK(BM_PairLoop)
    ->ArgsProduct({{0, 1}, {1, 2}, {1, 0}})
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dupliora

BENCHMARK_MAIN();
