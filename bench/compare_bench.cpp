// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Pairs per second for one core, each kernel level against the plain scalar
// loop in the same process. The samples stay in the first-level cache.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/similarity.h"

namespace dupliora {
namespace {

constexpr int kPoolSize = 8;  // 8 x 3 x 4 KiB each side: well inside L1 + L2

enum class PairKind { kDifferent, kMatching, kMatchingTurned };

// Samples of kPoolSize first and second pictures; a matching pool differs by
// at most 2 grey levels (similarity above 96 %), the turned one is also read
// from the end, and a different one is noise.
struct Pool {
  std::vector<std::uint8_t> first = std::vector<std::uint8_t>(kPoolSize * 3 * kSampleSize);
  std::vector<std::uint8_t> second = std::vector<std::uint8_t>(kPoolSize * 3 * kSampleSize);

  explicit Pool(PairKind kind) {
    std::mt19937 random(42);
    for (std::size_t k = 0; k < first.size(); ++k) {
      first[k] = static_cast<std::uint8_t>(random());
      second[k] = kind == PairKind::kDifferent
                      ? static_cast<std::uint8_t>(random())
                      : static_cast<std::uint8_t>(std::min(255, first[k] + int(random() % 3)));
    }
    if (kind != PairKind::kMatchingTurned) return;
    for (auto sample = second.begin(); sample != second.end(); sample += kSampleSize) {
      std::reverse(sample, sample + kSampleSize);
    }
  }
  static SampleSet Samples(const std::vector<std::uint8_t>& data, int index) {
    const std::uint8_t* base = data.data() + index * 3 * kSampleSize;
    return SampleSet{base, base + kSampleSize, base + 2 * kSampleSize};
  }
};

const Pool& PoolOf(PairKind kind) {
  static const Pool different(PairKind::kDifferent);
  static const Pool matching(PairKind::kMatching);
  static const Pool turned(PairKind::kMatchingTurned);
  switch (kind) {
    case PairKind::kMatching:
      return matching;
    case PairKind::kMatchingTurned:
      return turned;
    case PairKind::kDifferent:
      break;
  }
  return different;
}

// Levels: -1 is the plain scalar loop, else a KernelLevel.
constexpr int kPlainLoop = -1;

bool UseLevel(benchmark::State& state, int level) {
  if (level == kPlainLoop) return true;
  if (!ForceKernelLevel(static_cast<KernelLevel>(level))) {
    state.SkipWithError("processor lacks this level");
    return false;
  }
  return true;
}

std::string LevelLabel(int level) {
  return level == kPlainLoop ? "plain loop" : KernelLevelName(static_cast<KernelLevel>(level));
}

void OnePass(benchmark::State& state, PairKind kind, bool backward) {
  const int level = static_cast<int>(state.range(0));
  if (!UseLevel(state, level)) return;
  const Pool& pool = PoolOf(kind);
  const auto pass = level == kPlainLoop ? &PassSimilarityScalar : &PassSimilarity;
  int index = 0;
  for (auto _ : state) {
    const SampleSet a = Pool::Samples(pool.first, index);
    const SampleSet b = Pool::Samples(pool.second, index);
    benchmark::DoNotOptimize(pass(a.gray, b.gray, backward, false, 90));
    index = (index + 1) % kPoolSize;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(LevelLabel(level));
}

void BM_DifferentPairPlainPass(benchmark::State& state) {
  OnePass(state, PairKind::kDifferent, false);
}
void BM_MatchingPairFullPass(benchmark::State& state) {
  OnePass(state, PairKind::kMatching, false);
}
void BM_MatchingPairBackwardPass(benchmark::State& state) {
  OnePass(state, PairKind::kMatchingTurned, true);
}

// The same passes, in the same order, as CompareSamples on a pair that
// matches no variant: the baseline for the whole comparison.
void AllVariantsPlainLoop(const SampleSet& a, const SampleSet& b, bool negative) {
  const std::uint8_t* const passes[8][2] = {{a.gray, b.gray},          {a.gray, b.gray},
                                            {a.gray, b.gray_rot},      {a.gray, b.gray_rot},
                                            {a.gray, b.gray_flip},     {a.gray, b.gray_flip},
                                            {a.gray_rot, b.gray_flip}, {a.gray_rot, b.gray_flip}};
  for (int i = 0; i < 8; ++i) {
    const bool backward = i % 2 == 1;
    benchmark::DoNotOptimize(
        PassSimilarityScalar(passes[i][0], passes[i][1], backward, negative, 90));
  }
}

// Eight variants, then the same eight against the negative, as a run with
// every search option does for a pair that matches nothing.
void BM_DifferentPairAllVariantsAndNegative(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  if (!UseLevel(state, level)) return;
  const Pool& pool = PoolOf(PairKind::kDifferent);
  CompareOptions options;
  options.search_rotated = true;
  options.search_flipped = true;
  int index = 0;
  for (auto _ : state) {
    const SampleSet a = Pool::Samples(pool.first, index);
    const SampleSet b = Pool::Samples(pool.second, index);
    MatchVariant variant;
    if (level == kPlainLoop) {
      AllVariantsPlainLoop(a, b, false);
      AllVariantsPlainLoop(a, b, true);
    } else {
      benchmark::DoNotOptimize(CompareSamples(options, a, b, variant, false));
      benchmark::DoNotOptimize(CompareSamples(options, a, b, variant, true));
    }
    index = (index + 1) % kPoolSize;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(LevelLabel(level));
}

// The same pairs through the matcher of the pair loop, which gives a variant
// up as soon as its partial sum decides it (the plain loop row stays the
// full-pass baseline).
void BM_DifferentPairMatcherAllVariantsAndNegative(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  if (!UseLevel(state, level)) return;
  const Pool& pool = PoolOf(PairKind::kDifferent);
  const SampleMatcher matcher(CompareOptions{90, true, true});
  int index = 0;
  for (auto _ : state) {
    const SampleSet a = Pool::Samples(pool.first, index);
    const SampleSet b = Pool::Samples(pool.second, index);
    MatchVariant variant;
    double similarity = 0.0;
    if (level == kPlainLoop) {
      AllVariantsPlainLoop(a, b, false);
      AllVariantsPlainLoop(a, b, true);
    } else {
      benchmark::DoNotOptimize(matcher.Match(a, b, variant, false, similarity));
      benchmark::DoNotOptimize(matcher.Match(a, b, variant, true, similarity));
    }
    index = (index + 1) % kPoolSize;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(LevelLabel(level));
}

void AllLevels(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(kPlainLoop);
  for (KernelLevel level :
       {KernelLevel::kScalar, KernelLevel::kSse2, KernelLevel::kAvx2, KernelLevel::kAvx512}) {
    benchmark->Arg(static_cast<int>(level));
  }
}

BENCHMARK(BM_DifferentPairPlainPass)->Apply(AllLevels);
BENCHMARK(BM_MatchingPairFullPass)->Apply(AllLevels);
BENCHMARK(BM_MatchingPairBackwardPass)->Apply(AllLevels);
BENCHMARK(BM_DifferentPairAllVariantsAndNegative)->Apply(AllLevels);
BENCHMARK(BM_DifferentPairMatcherAllVariantsAndNegative)->Apply(AllLevels);

// Prints every result as usual and remembers its rate, so that the closing
// table can show each level as a multiple of the plain loop.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto rate = run.counters.find("items_per_second");
      if (run.error_occurred || rate == run.counters.end()) continue;
      // With --benchmark_repetitions the median, reported last, stands for the level.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      const std::string name = run.benchmark_name();
      rates_[name.substr(0, name.find('/'))][run.report_label] = rate->second.value;
    }
  }

  void PrintRatios() const {
    std::printf("\nPairs per second, as a multiple of the plain loop:\n");
    for (const auto& [benchmark_name, by_level] : rates_) {
      const auto plain = by_level.find("plain loop");
      if (plain == by_level.end()) continue;
      std::printf("%-42s plain %.2f M/s", benchmark_name.c_str(), plain->second / 1e6);
      for (const auto& [level, rate] : by_level) {
        if (level != "plain loop") std::printf("  %s %.1fx", level.c_str(), rate / plain->second);
      }
      std::printf("\n");
    }
  }

 private:
  std::map<std::string, std::map<std::string, double>> rates_;
};

}  // namespace
}  // namespace dupliora

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  dupliora::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
