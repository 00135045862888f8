// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Records per second against a full QImage decode of the same file in the same
// run: the record maker must never decode more than the 64 x 64 sample needs.
// Compare each BM_MakeRecord row with the BM_FullDecode row of its file.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <exiv2/exiv2.hpp>
#include <memory>

#include "bench/bench_records.h"
#include "engine/record_maker.h"
#include "imaging/scaled_decode.h"

namespace dupliora {
namespace {

enum PictureKind { kJpeg, kJpegWithExifThumbnail, kPng, kWebp, kKindCount };
constexpr const char* kFileNames[kKindCount] = {"photo.jpg", "camera.jpg", "large.png",
                                                "large.webp"};
constexpr QSize kPictureSize(4000, 3000);  // 12 megapixels

void EmbedThumbnail(const QString& path, const QImage& picture) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  picture.scaled(160, 120).save(&buffer, "jpg", 85);
  auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
  image->readMetadata();
  Exiv2::ExifData exif;
  Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()),
                                          static_cast<long>(jpeg.size()));
  image->setExifData(exif);
  image->writeMetadata();
}

// The pictures are written once per process, in a folder removed at exit.
class BenchPictures {
 public:
  BenchPictures() {
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("cache"))));
    const QImage photo = bench::DrawPhoto(kPictureSize);
    photo.save(PathOf(kJpeg), "jpg", 90);
    photo.save(PathOf(kJpegWithExifThumbnail), "jpg", 90);
    EmbedThumbnail(PathOf(kJpegWithExifThumbnail), photo);
    photo.save(PathOf(kPng), "png");
    photo.save(PathOf(kWebp), "webp", 80);
  }
  QString PathOf(int kind) const { return m_dir.filePath(QString::fromLatin1(kFileNames[kind])); }

 private:
  QTemporaryDir m_dir;
};

const BenchPictures& Pictures() {
  static const BenchPictures pictures;
  return pictures;
}

void BM_FullDecode(benchmark::State& state) {
  const QString path = Pictures().PathOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QImageReader reader(path);
    ConfigurePictureReader(reader);  // the engine's limit must let a 12 MP decode through
    const QImage image = reader.read();
    if (image.size() != kPictureSize) state.SkipWithError("full decode failed");
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(kFileNames[state.range(0)]);
  state.SetItemsProcessed(state.iterations());
}

void BM_MakeRecord(benchmark::State& state) {
  bench::MakeRecords(state, Pictures().PathOf(static_cast<int>(state.range(0))),
                     static_cast<int>(state.range(1)), kFileNames[state.range(0)]);
}

BENCHMARK(BM_FullDecode)->DenseRange(0, kKindCount - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeRecord)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kKindCount - 1, 1), {2, 3}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dupliora

int main(int argc, char** argv) { return dupliora::bench::RunBenchmarks(argc, argv); }
