// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The record store with 100,000 synthetic records (DUPLIORA_BENCH_RECORDS=N
// changes the count): batched writing, the size on disk per record, and
// reading them all back in a new store, per signature rule (rule 1 also asks
// the thumbnail cache about every file). The baseline of the same process is
// BM_MakeRecord: one record made from a 6 MP camera JPEG, the work a store
// hit saves.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <random>
#include <vector>

#include "bench/bench_records.h"
#include "engine/file_list.h"
#include "engine/record_maker.h"
#include "engine/record_store.h"
#include "platform/thumbnail_cache.h"

namespace dupliora {
namespace {

int RecordCount() {
  const int count = qEnvironmentVariableIntValue("DUPLIORA_BENCH_RECORDS");
  return count > 0 ? count : 100000;
}

struct Synthetic {
  QString path;
  FileEntry entry;
  std::int64_t thumbnails = 0;  // what a rule 1 record is checked against on reading
};

class BenchStore {
 public:
  BenchStore() {
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("xdg"))));
    std::minstd_rand random(7);
    for (int k = 0; k < RecordCount(); ++k) {
      Synthetic s;
      s.path = QStringLiteral("/home/someone/Pictures/%1/%2/IMG_%3.JPG")
                   .arg(2010 + k / 10000)
                   .arg(QStringLiteral("event-%1").arg(k / 250, 3, 10, QLatin1Char('0')))
                   .arg(k, 6, 10, QLatin1Char('0'));
      s.entry.size = 2'000'000 + random() % 6'000'000;
      s.entry.mtime_ns = 1'500'000'000'000'000'000 + static_cast<std::int64_t>(random());
      s.entry.identity.inode = 1'000'000 + static_cast<std::uint64_t>(k);
      s.entry.identity.device = 2049;
      s.thumbnails = ThumbnailCacheState(s.path);
      m_files.push_back(s);
    }
    m_record = std::make_unique<ImageRecord>();
    for (int i = 0; i < kSampleSize; ++i) m_record->gray[i] = static_cast<std::uint8_t>(random());
    m_record->width = 3000;
    m_record->height = 2000;
    m_record->aspect = 1.5f;
    m_record->method = kMethodLibraryThumbnail;
    QImage noisy(3000, 2000, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(noisy.scanLine(y));
      for (int x = 0; x < noisy.width(); ++x) line[x] = qRgb(x / 12, y / 8, random() % 64);
    }
    noisy.save(JpegPath(), "jpg", 90);
  }

  QString StoreFile(int rule) const {
    return m_dir.filePath(QStringLiteral("records-rule%1.sqlite").arg(rule));
  }
  QString JpegPath() const { return m_dir.filePath(QStringLiteral("camera.jpg")); }
  const std::vector<Synthetic>& files() const { return m_files; }
  const ImageRecord& record() const { return *m_record; }

 private:
  QTemporaryDir m_dir;
  std::vector<Synthetic> m_files;
  std::unique_ptr<ImageRecord> m_record;
};

const BenchStore& Bench() {
  static const BenchStore bench;
  return bench;
}

void BM_StoreWrite(benchmark::State& state) {
  const int rule = static_cast<int>(state.range(0));
  const QString file = Bench().StoreFile(rule);
  for (auto _ : state) {
    QFile::remove(file);
    RecordStore store(file);
    for (const Synthetic& s : Bench().files()) {
      store.Put(s.path, s.entry, rule, Bench().record(), rule == 1 ? s.thumbnails : 0);
    }
    store.Flush();
  }
  // Measured after the store closed, so the log is in the file.
  state.counters["bytes_per_record"] =
      static_cast<double>(RecordStore::SizeOnDisk(file)) / Bench().files().size();
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Bench().files().size()));
}

void BM_StoreRead(benchmark::State& state) {
  const int rule = static_cast<int>(state.range(0));
  std::int64_t found = 0;
  for (auto _ : state) {
    RecordStore store(Bench().StoreFile(rule));
    for (const Synthetic& s : Bench().files())
      found += store.Find(s.path, s.entry, rule) != nullptr;
  }
  if (found != state.iterations() * static_cast<std::int64_t>(Bench().files().size())) {
    state.SkipWithError("records missing: run BM_StoreWrite first");
  }
  state.SetItemsProcessed(found);
}

void BM_MakeRecord(benchmark::State& state) {
  RecordMaker maker(static_cast<int>(state.range(0)));
  auto record = std::make_unique<ImageRecord>();
  const QString jpeg = Bench().JpegPath();  // the set is made outside the timing
  for (auto _ : state) {
    *record = ImageRecord{};
    if (!maker.MakeRecord(jpeg, *record)) state.SkipWithError("no record");
  }
  state.SetItemsProcessed(state.iterations());
}

// Wall time: the writing happens on the store's thread.
BENCHMARK(BM_MakeRecord)->Arg(2)->Arg(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreWrite)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreRead)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dupliora

int main(int argc, char** argv) { return dupliora::bench::RunBenchmarks(argc, argv); }
