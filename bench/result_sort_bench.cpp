// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Sorting the result list's rows against copying them, on 100,000 rows that
// point into 2,000 records, as after a large run.
#include <benchmark/benchmark.h>

#include <deque>
#include <random>

#include "compare_window/result_list/result_sort.h"
#include "engine/record_path.h"

namespace dupliora {
namespace {

constexpr int kRecords = 2000;
constexpr int kRows = 100000;

struct Rows {
  std::deque<ImageRecord> records;
  std::vector<ResultRow> rows;
};

const Rows& SampleRows() {
  static const Rows sample = [] {
    Rows s;
    std::mt19937 random(7);
    for (int i = 0; i < kRecords; ++i) {
      ImageRecord& record = s.records.emplace_back();
      SetRecordPath(record, QStringLiteral("/home/user/Pictures/Folder%1/IMG_%2.JPG")
                                .arg(random() % 40)
                                .arg(random() % 100000));
      record.width = random() % 5000;
      record.file_size = random();
    }
    for (int i = 0; i < kRows; ++i) {
      MatchResult m;
      m.first = &s.records[random() % kRecords];
      m.second = &s.records[random() % kRecords];
      m.similarity = 40 + random() % 61;
      m.rotation = 90 * (random() % 4);
      s.rows.push_back(ResultRow{m, false, false});
    }
    return s;
  }();
  return sample;
}

// The baseline: building the sorted copy of the rows without the sort.
void BM_CopyRows(benchmark::State& state) {
  const auto& rows = SampleRows().rows;
  for (auto _ : state) {
    std::vector<ResultRow> copy(rows.begin(), rows.end());
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_CopyRows)->Unit(benchmark::kMillisecond);

void BM_SortRows(benchmark::State& state) {
  const auto& rows = SampleRows().rows;
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::vector<int> order = SortedRowOrder(rows, column, true);
    std::vector<ResultRow> sorted;
    sorted.reserve(rows.size());
    for (int index : order) sorted.push_back(rows[index]);
    benchmark::DoNotOptimize(sorted.data());
  }
}
// Similarity (after every run), a path, a width, a file size, the rotation.
BENCHMARK(BM_SortRows)->Arg(2)->Arg(0)->Arg(4)->Arg(11)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dupliora

BENCHMARK_MAIN();
