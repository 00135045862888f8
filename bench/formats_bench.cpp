// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Records per second for a 12 MP HEIC with and without its thumbnail image,
// a camera RAW with its embedded preview, a JPEG XL and an AVIF, each against
// the full decode of the same file in the same run. Compare each
// BM_MakeRecord row with the BM_FullDecode row of its file.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "bench/bench_records.h"
#include "bench/dng_writer.h"
#include "engine/record_maker.h"
#include "imaging/codec_dispatch.h"
#include "support/format_tools.h"

namespace dupliora {
namespace {

using test::Encoder;

enum PictureKind { kHeicThumb, kHeicPlain, kRawPreview, kRawBare, kJpegXl, kAvif, kKindCount };
constexpr const char* kFileNames[kKindCount] = {"thumb.heic", "plain.heic", "preview.dng",
                                                "bare.dng",   "photo.jxl",  "photo.avif"};
constexpr QSize kPictureSize(4000, 3000);  // 12 megapixels
// Phones store a 320-pixel thumbnail; cameras a preview of about 1600 pixels.
constexpr int kHeicThumbSide = 320;
constexpr QSize kRawPreviewSize(1600, 1200);

// Written once per process (the encoders take some seconds), removed at exit.
class BenchPictures {
 public:
  BenchPictures() {
    qputenv("XDG_CACHE_HOME", m_dir.filePath(QStringLiteral("cache")).toLocal8Bit());
    const QImage photo = bench::DrawPhoto(kPictureSize);
    const QString png = m_dir.filePath(QStringLiteral("photo.png"));
    bench::DngOptions with_preview;
    with_preview.preview = kRawPreviewSize;
    m_ok = photo.save(png) &&
           test::EncodeWithTool(Encoder::kHeic, png, PathOf(kHeicThumb),
                                {QStringLiteral("-t"), QString::number(kHeicThumbSide)}) &&
           test::EncodeWithTool(Encoder::kHeic, png, PathOf(kHeicPlain)) &&
           bench::WriteDng(PathOf(kRawPreview), photo, with_preview) &&
           bench::WriteDng(PathOf(kRawBare), photo) &&
           test::EncodeWithTool(Encoder::kJpegXl, png, PathOf(kJpegXl),
                                {QStringLiteral("-d"), QStringLiteral("1")}) &&
           test::EncodeWithTool(Encoder::kAvif, png, PathOf(kAvif));
  }
  QString PathOf(int kind) const { return m_dir.filePath(QString::fromLatin1(kFileNames[kind])); }
  bool ok() const { return m_ok; }

 private:
  QTemporaryDir m_dir;
  bool m_ok = false;
};

const BenchPictures& Pictures() {
  static const BenchPictures pictures;
  return pictures;
}

// The whole picture at its full size: for RAW the full demosaic.
void BM_FullDecode(benchmark::State& state) {
  if (!Pictures().ok()) return state.SkipWithError("test files could not be made");
  const QString path = Pictures().PathOf(static_cast<int>(state.range(0)));
  const Codec codec = CodecOf(path);
  for (auto _ : state) {
    const QImage image = DecodeWithCodec(codec, path, {kPictureSize, true, false, false});
    if (image.size() != kPictureSize) state.SkipWithError("full decode failed");
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(kFileNames[state.range(0)]);
  state.SetItemsProcessed(state.iterations());
}

void BM_MakeRecord(benchmark::State& state) {
  if (!Pictures().ok()) return state.SkipWithError("test files could not be made");
  bench::MakeRecords(state, Pictures().PathOf(static_cast<int>(state.range(0))),
                     static_cast<int>(state.range(1)), kFileNames[state.range(0)]);
}

// Wall time: libheif and LibRaw decode on threads of their own, which the
// process CPU time of the calling thread would not see.
BENCHMARK(BM_FullDecode)
    ->DenseRange(0, kKindCount - 1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeRecord)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kKindCount - 1, 1), {2, 3}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dupliora

int main(int argc, char** argv) { return dupliora::bench::RunBenchmarks(argc, argv); }
