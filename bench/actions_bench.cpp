// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The list export of 100,000 rows against writing the same bytes with one
// QFile::write, and a move of 10,000 small files within one file system
// against `mv` of the same files.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/list_export.h"
#include "platform/file_transfer.h"

namespace dupliora {
namespace {

constexpr int kRows = 100000;
constexpr int kFiles = 10000;

// Thirteen columns as the result list shows them, with paths of typical length.
const ListContent& Rows() {
  static const ListContent content = [] {
    ListContent c;
    c.headers = {"Path (1)", "Path (2)",       "Similarity",     "Ratio %", "Size (1)",
                 "Size (2)", "Brightness (1)", "Brightness (2)", "Rotated", "Mirrored",
                 "Negative", "Size (1)",       "Size (2)"};
    c.rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
      c.rows.push_back({QStringLiteral("/home/user/Pictures/2023/Holiday/IMG_%1.jpg").arg(i),
                        QStringLiteral("/home/user/Pictures/backup/IMG_%1 (copy).jpg").arg(i),
                        "97 %", "100.00 %", "4000 x 3000", "4000 x 3000", "42 %", "42 %", "0 °",
                        "No", "No", "3.4 MB", "3.4 MB"});
    }
    return c;
  }();
  return content;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) std::abort();
}

void BM_Export(benchmark::State& state) {
  const auto format = static_cast<ExportFormat>(state.range(0));
  QTemporaryDir dir;
  const ListContent& content = Rows();
  for (auto _ : state) WriteFile(dir.filePath("e"), ExportBytes(format, content));
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Export)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// Baseline: the finished bytes of the same export, written with one call.
void BM_WriteSameBytes(benchmark::State& state) {
  QTemporaryDir dir;
  const QByteArray bytes = ExportBytes(static_cast<ExportFormat>(state.range(0)), Rows());
  for (auto _ : state) WriteFile(dir.filePath("e"), bytes);
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_WriteSameBytes)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// 10,000 files of 2 KB in src/, to be moved to dst/.
void MakeFiles(const QTemporaryDir& dir) {
  QDir(dir.path()).mkpath("src");
  QDir(dir.path()).mkpath("dst");
  const QByteArray bytes(2048, 'x');
  for (int i = 0; i < kFiles; ++i)
    WriteFile(dir.filePath(QStringLiteral("src/f%1.jpg").arg(i)), bytes);
}

void BM_MoveFiles(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir dir;
    MakeFiles(dir);
    std::vector<TransferItem> items;
    for (int i = 0; i < kFiles; ++i) {
      items.push_back({dir.filePath(QStringLiteral("src/f%1.jpg").arg(i)),
                       dir.filePath(QStringLiteral("dst/f%1.jpg").arg(i))});
    }
    state.ResumeTiming();
    FileTransfer move(TransferVerb::kMove, std::move(items), nullptr);
    move.RunAll();
    if (move.Count(ItemStatus::kDone) != kFiles) std::abort();
  }
}
BENCHMARK(BM_MoveFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baseline: one `mv` of the same files (the shell's start counted in).
void BM_MvCommand(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir dir;
    MakeFiles(dir);
    const QByteArray command = "cd '" + QFile::encodeName(dir.path()) + "' && mv src/* dst/";
    state.ResumeTiming();
    if (std::system(command.constData()) != 0) std::abort();
  }
}
BENCHMARK(BM_MvCommand)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace dupliora

BENCHMARK_MAIN();
