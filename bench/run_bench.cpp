// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Compare-phase speed and memory over synthetic records (no files): the pair
// loop over 10,000 records against the kernel on a set small enough to stay
// in cache, and against itself without its shortcuts (the block means, the
// reach of the sample sums). DUPLIORA_BENCH_RECORDS changes the record
// count; run one case per process for its peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QString>
#include <algorithm>
#include <atomic>
#include <cmath>
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
// Noise: values drawn at random around the mean, which no early check
// rejects before about 500 of them: the hardest content for the matcher.
// Scenes: a few soft waves and a little noise, as the 64 x 64 samples of
// photos look. The turned copies are made as a real record's are, so all
// three arrays hold the same values.
RecordTable MakeTable(bool alike, bool scenes) {
  RecordTable made;
  std::mt19937 random(42);
  std::normal_distribution<double> mean(45.0, 15.0);
  std::uniform_real_distribution<double> frequency(0.02, 0.25);
  std::uniform_real_distribution<double> phase(0.0, 6.3);
  std::uniform_real_distribution<double> amplitude(5.0, 20.0);
  for (int i = 0, n = RecordCount(); i < n; ++i) {
    auto record = std::make_shared<ImageRecord>();
    SetRecordPath(*record, QStringLiteral("/bench/%1.jpg").arg(i));
    const int centre = alike ? 100 : std::clamp(static_cast<int>(mean(random) * 2.56), 20, 235);
    std::uniform_int_distribution<int> noise(scenes ? -3 : -20, scenes ? 3 : 20);
    // Each wave as its two factors along x and y: 100,000 scenes in seconds.
    double along_x[4][kSampleSide], along_y[4][kSampleSide];
    for (int w = 0; w < 4; ++w) {
      const double fx = frequency(random), fy = frequency(random), px = phase(random);
      const double py = phase(random), height = scenes ? amplitude(random) : 0.0;
      for (int k = 0; k < kSampleSide; ++k) {
        along_x[w][k] = height * std::cos(fx * k + px);
        along_y[w][k] = std::cos(fy * k + py);
      }
    }
    long sum = 0;
    for (int y = 0; y < kSampleSide; ++y) {
      for (int x = 0; x < kSampleSide; ++x) {
        double value = centre + noise(random);
        for (int w = 0; w < 4; ++w) value += along_x[w][x] * along_y[w][y];
        const auto g = static_cast<std::uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
        record->gray[y * kSampleSide + x] = g;
        record->gray_rot[x * kSampleSide + (kSampleSide - 1 - y)] = g;
        record->gray_flip[(kSampleSide - 1 - y) * kSampleSide + x] = g;
        sum += g;
      }
    }
    record->brightness = static_cast<std::int32_t>(((sum / 4096) * 100) / 256);
    record->aspect = 1.0f;
    made.Append(std::move(record));
  }
  return made;
}

const RecordTable& Table(bool alike, bool scenes = false) {
  static std::unique_ptr<RecordTable> tables[2][2];
  std::unique_ptr<RecordTable>& table = tables[alike][scenes];
  if (!table) table = std::make_unique<RecordTable>(MakeTable(alike, scenes));
  return *table;
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

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The whole pair loop over every pair of the table.
void BM_PairLoop(benchmark::State& state) {
  const bool variants = state.range(0) != 0;
  const int threads = static_cast<int>(state.range(1));
  const RecordTable& table = Table(state.range(2) != 0, state.range(4) != 0);
  PairLoopOptions options = Options(variants, threads);
  options.block_means = state.range(3) == 0;
  options.visit_every_pair = state.range(3) == 2;
  std::atomic<bool> stop{false};
  std::int64_t pairs = 0;
  int matches = 0;
  for (auto _ : state) {
    PairLoop loop(table, options, stop);
    const PairCounts counts = loop.Run([](std::int64_t) {}, [](std::vector<MatchResult>) {});
    benchmark::DoNotOptimize(counts.done);
    matches = counts.matches;
    pairs += PairCount(options, table.size());
  }
  state.counters["pairs_per_s"] =
      benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsRate);
  state.counters["records"] = table.size();
  state.counters["matches"] = matches;
  // Of the whole process: records, their compact samples and the loop's own.
  state.counters["peak_kb_per_record"] = static_cast<double>(PeakRssKb()) / table.size();
}
// Arguments: variants on (rotated, flipped, negative), threads, all
// brightness alike, the loop's shortcuts (0: all; 1: without the block
// means; 2: neither those nor the reach of the sample sums, every pair
// visited: the plain loop), scenes rather than noise. Rates are per second
// of process CPU time; the wall time shows the gain of threads.
BENCHMARK(BM_PairLoop)
    ->ArgsProduct({{0, 1}, {1, 2}, {1, 0}, {0, 1, 2}, {0, 1}})
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// A threshold of 40 %: nearly every pair matches. The sink keeps every match
// as the window's list does; the peak shows what the loop holds beside it.
void BM_MatchEveryPair(benchmark::State& state) {
  const RecordTable& table = Table(true);
  PairLoopOptions options = Options(true, static_cast<int>(state.range(0)));
  options.similarity = 40;
  std::atomic<bool> stop{false};
  std::size_t kept = 0;
  for (auto _ : state) {
    std::vector<MatchResult> list;
    PairLoop loop(table, options, stop);
    loop.Run([](std::int64_t) {},
             [&](std::vector<MatchResult> batch) {
               list.insert(list.end(), batch.begin(), batch.end());
             });
    kept = list.size();
  }
  state.counters["matches"] = static_cast<double>(kept);
  state.counters["peak_mb"] = PeakRssKb() / 1024.0;
}
BENCHMARK(BM_MatchEveryPair)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dupliora

BENCHMARK_MAIN();
