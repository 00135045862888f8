// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Damaged, hostile and odd files through the imaging services: each one is
// refused with its reason or read, never a crash, a hang or a huge allocation.
#include "support/hostile_files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <atomic>
#include <thread>

#include "imaging/bitmap_ops.h"
#include "imaging/decode_budget.h"
#include "imaging/exif_thumbnail.h"
#include "imaging/picture_file.h"
#include "imaging/picture_header.h"
#include "imaging/read_problem.h"
#include "imaging/scaled_decode.h"
#include "imaging/svg_guard.h"
#include "support/file_fixture.h"

namespace dupliora {
namespace {

class HostileFilesTest : public test::TempFolderTest {
 protected:
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = PathOf(name);
    EXPECT_TRUE(test::WriteBytes(path, bytes));
    return path;
  }
};

struct Outcome {
  bool header = false;   // LoadPictureHeader gave one
  bool picture = false;  // DecodeStretched gave one
  ReadProblem problem = ReadProblem::kNone;
};

Outcome ReadBoth(const QString& path) {
  ReadProblemWatch watch;
  const bool header = LoadPictureHeader(path).has_value();
  const bool picture = !DecodeStretched(path, QSize(64, 64), true).isNull();
  return {header, picture, watch.First()};
}

TEST_F(HostileFilesTest, EachIsReadOrRefusedWithItsReason) {
  const QImage photo = test::NoisyImage(QSize(320, 240), 7);
  const QByteArray jpeg = test::EncodedPicture(photo, "jpg");
  const QByteArray gif = test::GifBytes(photo);
  const QByteArray bmp = test::EncodedPicture(photo, "bmp");
  const auto half = [&](const char* format) {
    const QByteArray whole = test::EncodedPicture(photo, format);
    return whole.left(whole.size() / 2);
  };
  ASSERT_TRUE(test::MakeFifo(PathOf("fifo.png")));
  ASSERT_TRUE(test::MakeFifo(PathOf("pipe")));
  using enum ReadProblem;
  const struct Case {
    QString name;
    QByteArray bytes;  // written unless the file exists already
    Outcome expected;
  } cases[] = {
      {"missing.png", {}, {false, false, kUnreadable}},
      {"fifo.png", {}, {false, false, kSpecialFile}},
      {"/dev/zero", {}, {false, false, kSpecialFile}},
      {"text.jpg", "no picture here\n", {false, false, kNotAPicture}},
      {"empty.jpg", "", {false, false, kNotAPicture}},
      {"zeros.png", QByteArray(4096, '\0'), {false, false, kNotAPicture}},
      {".", {}, {false, false, kSpecialFile}},
      {"archive.svgz", test::Gzip(QByteArray(4096, 'x')), {false, false, kNotAPicture}},
      {"bomb.svgz", test::SvgzWithHugeComment(100), {false, false, kTooLarge}},
      {"broken.svg",
       R"(<svg xmlns="http://www.w3.org/2000/svg" width="5)",
       {false, false, kDamaged}},
      {"self.svg", test::SvgWithImage(PathOf("self.svg")), {true, true, kNone}},
      {"fifo.svg", test::SvgWithImage(PathOf("pipe")), {true, true, kNone}},
      {"remote.svgz",
       test::Gzip(test::SvgWithImage("http://example.com/a.png")),
       {true, true, kNone}},
      {"bomb24.bmp", test::BmpClaimingSize(16383, 16383, 24), {true, false, kTooLarge}},
      {"bomb8.bmp", test::BmpClaimingSize(16383, 16383, 8), {true, false, kTooLarge}},
      {"empty8.bmp", test::BmpClaimingSize(2000, 2000, 8), {true, false, kDamaged}},
      {"bomb1.png", test::MonoPng(16384, 16384), {true, false, kTooLarge}},
      {"big1.png", test::MonoPng(8192, 8192), {true, true, kNone}},
      {"whole.jpg", jpeg, {true, true, kNone}},
      {"cut.jpg", jpeg.left(jpeg.size() / 2), {true, true, kDamaged}},
      {"whole.gif", gif, {true, true, kNone}},
      {"cut.gif", gif.left(gif.size() / 2), {true, true, kDamaged}},
      {"whole.bmp", bmp, {true, true, kNone}},
      {"cut.bmp", bmp.left(bmp.size() / 2), {true, true, kDamaged}},
      // These formats fail outright when cut, and say it is damage.
      {"cut.png", half("png"), {true, false, kDamaged}},
      {"cut.webp", half("webp"), {true, false, kDamaged}},
      {"cut.tiff", half("tiff"), {true, false, kDamaged}},
      {"claim.png", test::PngClaimingSize(100000, 100000), {true, false, kTooLarge}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    const QString path = c.name.startsWith(u'/') ? c.name : PathOf(c.name);
    if (!c.bytes.isNull() && !QFile::exists(path)) Write(c.name, c.bytes);
    const Outcome got = ReadBoth(path);
    EXPECT_EQ(got.header, c.expected.header);
    EXPECT_EQ(got.picture, c.expected.picture);
    EXPECT_EQ(got.problem, c.expected.problem);
  }
}

// A small JPEG whose EXIF thumbnail is a 1-bit PNG of 16384 x 16384: the
// thumbnail is refused as too large and the picture itself decoded instead.
TEST_F(HostileFilesTest, BombAsEmbeddedThumbnailFallsBackToThePicture) {
  const QImage photo = test::NoisyImage(QSize(320, 240), 5);
  const QString path = Write("bomb_thumb.jpg", test::EncodedPicture(photo, "jpg"));
  ASSERT_TRUE(test::AddExifThumbnailBytes(path, test::MonoPng(16384, 16384)));
  ASSERT_EQ(ReadEmbeddedThumbnail(path).size(), test::MonoPng(16384, 16384).size());
  ReadProblemWatch watch;
  const QImage thumb = LoadThumbnail(path, QSize(64, 64));
  EXPECT_TRUE(watch.Saw(ReadProblem::kTooLarge));
  EXPECT_EQ(thumb, DecodeStretched(path, QSize(64, 64), false));
}

// Rendering the guarded document draws what the original draws, less what it
// would fetch from elsewhere.
TEST_F(HostileFilesTest, SelfContainedSvgKeepsEverythingInside) {
  const QByteArray dot = test::EncodedPicture(test::SolidImage(QSize(8, 8), Qt::red), "png");
  const QByteArray document =
      R"(<?xml version="1.0"?><!DOCTYPE svg><?xml-stylesheet href="x.css"?>)"
      R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="64" height="64">)"
      R"(<defs><linearGradient id="g"><stop offset="0" stop-color="#fff"/><stop offset="1" stop-color="#00f"/></linearGradient>)"
      R"svg(<rect id="r" width="30" height="30" fill="url(#g)"/></defs><use xlink:href="#r"/>)svg"
      R"(<use xlink:href="#r" x="32" y="32"/><image x="32" width="32" height="32" xlink:href="data:image/png;base64,)" +
      dot.toBase64() +
      R"("/><image y="32" width="32" height="32" xlink:href="other.svg"/>)"
      R"(<image y="32" width="32" height="32" href="data:image/svg+xml;base64,PHN2Zy8+"/><![CDATA[ ]]></svg>)";
  const auto guarded = SelfContainedSvg(document);
  ASSERT_TRUE(guarded.has_value());
  for (const char* outside : {"other.svg", "image/svg+xml", "x.css"})
    EXPECT_FALSE(guarded->contains(outside)) << outside;
  const auto render = [](const QByteArray& svg) {
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QSvgRenderer(svg).render(&painter);
    return image;
  };
  QByteArray without_outside = document;
  without_outside.replace(R"(xlink:href="other.svg")", "")
      .replace(R"(href="data:image/svg+xml;base64,PHN2Zy8+")", "");
  EXPECT_EQ(render(*guarded), render(without_outside));
  EXPECT_NE(render(*guarded).pixel(40, 8), 0u);  // the embedded picture is drawn
}

TEST(InflateGzipTest, StopsAtTheLimitAndTellsCutFromWhole) {
  const QByteArray text(100000, 'a');
  const QByteArray packed = test::Gzip(text);
  const Inflated whole = InflateGzip(packed, 200000);
  EXPECT_TRUE(whole.complete);
  EXPECT_EQ(whole.bytes, text);
  const Inflated limited = InflateGzip(packed, 1000);
  EXPECT_FALSE(limited.complete);
  EXPECT_FALSE(limited.damaged);
  EXPECT_EQ(limited.bytes.size(), 1000);
  const Inflated cut = InflateGzip(packed.left(packed.size() / 2), 200000);
  EXPECT_FALSE(cut.complete);
  EXPECT_TRUE(cut.damaged);
}

// The waiting of large takers is proven across processes in decoder_pool_test.
TEST(MemoryBudgetTest, ACancelEndsTheWaitAndTheWholeCapsATaker) {
  MemoryBudget budget(512);
  EXPECT_EQ(budget.Acquire(400), 400);
  std::atomic<bool> cancel{true};
  EXPECT_EQ(budget.Acquire(300, &cancel), 0);
  budget.Release(400);
  EXPECT_EQ(budget.Acquire(5000), 512) << "more than the whole is cut to the whole";
}

// A file rewritten and cut while it is read gives a read error, never SIGBUS:
// nothing maps it.
TEST_F(HostileFilesTest, FileChangingUnderTheReaderNeverCrashesIt) {
  const QImage photo = test::NoisyImage(QSize(400, 300), 11);
  const QString jpeg = PathOf("moving.jpg");
  ASSERT_TRUE(test::WritePicture(jpeg, photo));
  ASSERT_TRUE(test::AddExifThumbnail(jpeg, photo.scaled(160, 120)));
  const QByteArray jpeg_bytes = test::ReadBytes(jpeg);
  const QByteArray tiff_bytes = test::EncodedPicture(photo, "tiff");
  for (const auto& [name, bytes] :
       {std::pair{"moving.jpg", jpeg_bytes}, {"moving.tif", tiff_bytes}}) {
    SCOPED_TRACE(name);
    const QString path = PathOf(QString::fromLatin1(name));
    std::atomic<bool> done{false};
    std::thread writer([&, bytes = bytes] {
      for (int round = 0; !done.load(); ++round) {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite)) continue;
        file.resize(0);
        file.write(bytes.left(bytes.size() * (round % 4 + 1) / 4));
        file.flush();
        file.resize(bytes.size() / (round % 3 + 2));
      }
    });
    for (int k = 0; k < 150; ++k) {
      ReadEmbeddedThumbnail(path);
      LoadPictureHeader(path);
      DecodeStretched(path, QSize(64, 64), true);
    }
    done = true;
    writer.join();
  }
}

}  // namespace
}  // namespace dupliora
