// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <string_view>

#include "bench/dng_writer.h"
#include "imaging/bitmap_ops.h"
#include "imaging/codec_dispatch.h"
#include "imaging/exif_thumbnail.h"
#include "imaging/read_problem.h"
#include "imaging/scaled_decode.h"
#include "support/file_fixture.h"
#include "support/format_tools.h"
#include "support/pictures.h"

namespace dupliora {
namespace {

using test::Encoder;

constexpr QSize kPhotoSize(320, 240);

// Every test file, made once for the suite: encoding takes a few seconds.
class CodecFiles {
 public:
  CodecFiles() {
    const QImage photo = test::GradientImage(kPhotoSize);
    m_ok = test::WritePicture(PathOf("photo.png"), photo) &&
           test::WritePicture(PathOf("alpha.png"),
                              test::SolidImage(QSize(200, 150), QColor(255, 0, 0, 128))) &&
           test::WritePicture(PathOf("turned.jpg"), photo, "jpg", 95) &&
           test::SetExifOrientation(PathOf("turned.jpg"), 6) &&
           test::WritePicture(PathOf("photo.tif"), photo, "tiff") &&
           Encode(Encoder::kHeic, "photo.png", "photo.heic", {"-t", "96"}) &&
           Encode(Encoder::kHeic, "photo.png", "plain.heic") &&
           Encode(Encoder::kHeic, "alpha.png", "alpha.heic", {"-t", "96"}) &&
           Encode(Encoder::kAvif, "photo.png", "photo.avif") &&
           Encode(Encoder::kJpegXl, "photo.png", "photo.jxl", {"-d", "1"}) &&
           Encode(Encoder::kJpegXl, "turned.jpg", "turned.jxl") &&
           bench::WriteDng(PathOf("camera.dng"), photo, CameraOptions()) &&
           bench::WriteDng(PathOf("bare.dng"), photo) &&
           QFile::copy(PathOf("photo.heic"), PathOf("heic.jpg")) &&
           QFile::copy(PathOf("turned.jpg"), PathOf("jpeg.heic"));
  }
  QString PathOf(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
  bool ok() const { return m_ok; }

 private:
  // Turned a quarter, with a preview drawn yellow to tell it from the sensor data.
  static bench::DngOptions CameraOptions() {
    bench::DngOptions options;
    options.orientation = 6;
    options.preview = QSize(160, 120);
    options.preview_image = test::SolidImage(kPhotoSize, Qt::yellow);
    return options;
  }
  bool Encode(Encoder encoder, const char* source, const char* target, QStringList extra = {}) {
    return test::EncodeWithTool(encoder, PathOf(source), PathOf(target), extra);
  }
  QTemporaryDir m_dir;
  bool m_ok = false;
};

class CodecTest : public testing::Test {
 protected:
  void SetUp() override {
    const QStringList missing = test::MissingEncoders();
    if (!missing.isEmpty()) GTEST_SKIP() << "encoders missing: " << missing.join(' ').toStdString();
    ASSERT_TRUE(Files().ok()) << "a test file could not be made";
  }
  // Made at the first test that needs them, removed when the program ends.
  static CodecFiles& Files() {
    static CodecFiles files;
    return files;
  }
  static QString PathOf(const char* name) { return Files().PathOf(name); }
};

// Mean absolute difference per channel; 255 for pictures of two sizes.
double MeanDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 255;
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  return sum / (3.0 * a.width() * a.height());
}

using enum Codec;

struct FormatCase {
  const char* name;
  Codec codec;
  QSize stored;
  bool alpha;
  int orientation;
  bool thumbnail;
} const kFormats[] = {
    {"photo.heic", kHeif, kPhotoSize, false, 1, true},
    {"plain.heic", kHeif, kPhotoSize, false, 1, false},
    {"alpha.heic", kHeif, {200, 150}, true, 1, false},  // a PPM would lose the alpha
    {"heic.jpg", kHeif, kPhotoSize, false, 1, true},
    {"photo.avif", kHeif, kPhotoSize, false, 1, false},
    {"photo.jxl", kJpegXl, kPhotoSize, false, 1, false},
    {"turned.jxl", kJpegXl, kPhotoSize, false, 6, false},
    {"camera.dng", kCameraRaw, kPhotoSize, false, 6, true},
    {"bare.dng", kCameraRaw, kPhotoSize, false, 1, false},
    {"photo.tif", kQt, kPhotoSize, false, 1, false},  // a plain TIFF is no RAW
    {"jpeg.heic", kQt, kPhotoSize, false, 6, false},
};

// The content decides the decoder, never the name; every operation of the
// imaging services reads what the source picture holds.
TEST_F(CodecTest, EveryFormatReadsLikeItsSource) {
  const QImage expected = test::GradientImage(kPhotoSize).scaled(64, 48);
  for (const FormatCase& c : kFormats) {
    SCOPED_TRACE(c.name);
    const QString path = PathOf(c.name);
    EXPECT_EQ(CodecOf(path), c.codec);
    const std::optional<PictureHeader> header = LoadPictureHeader(path);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(QSize(int(header->width), int(header->height)), c.stored);
    EXPECT_EQ(header->alpha, c.alpha);
    EXPECT_EQ(header->orientation, c.orientation);
    const QByteArray thumb = ReadEmbeddedThumbnail(path);
    EXPECT_EQ(!thumb.isEmpty(), c.thumbnail);
    if (!thumb.isEmpty()) {  // Qt reads it, and its shape is the picture's
      const QSize size = QImage::fromData(thumb).size();
      EXPECT_EQ(size.width() * c.stored.height(), size.height() * c.stored.width());
    }
    if (c.alpha) continue;
    // camera.dng serves small sizes from its preview, drawn differently on purpose.
    if (std::string_view(c.name) != "camera.dng") {
      EXPECT_LT(MeanDifference(DecodeStretched(path, QSize(64, 48), false), expected), 8.0);
    }
    // Upright and fitted, never enlarged: a quarter turn stands the picture up.
    const bool portrait = c.orientation >= 5;
    const QImage upright = DecodeScaled(path, QSize(200, 200), true);
    EXPECT_EQ(upright.size(), portrait ? QSize(150, 200) : QSize(200, 150));
    EXPECT_EQ(DecodeScaled(path, QSize(1000, 1000), true).size(),
              portrait ? kPhotoSize.transposed() : kPhotoSize);
    if (portrait) {  // a clockwise turn: the dark corner goes top right, the green one top left
      const QRgb top_right = upright.pixel(upright.width() - 2, 1);
      EXPECT_LT(qRed(top_right) + qGreen(top_right), 60);
      EXPECT_GT(qGreen(upright.pixel(1, 1)), 200);
    }
  }
}

TEST_F(CodecTest, RawPreviewServesWhenLargeEnoughElseTheSensorData) {
  // The preview is drawn yellow, the sensor data as the gradient.
  const QImage small = DecodeScaled(PathOf("camera.dng"), QSize(100, 100), false);
  ASSERT_EQ(small.size(), QSize(100, 75));
  EXPECT_GT(qRed(small.pixel(5, 70)), 200);
  EXPECT_GT(qGreen(small.pixel(5, 70)), 200);
  const QImage large = DecodeScaled(PathOf("camera.dng"), QSize(300, 300), false);
  ASSERT_EQ(large.size(), QSize(300, 225));
  EXPECT_LT(qRed(large.pixel(5, 220)), 60);
  const QImage thumb = LoadThumbnail(PathOf("camera.dng"), QSize(64, 64));
  ASSERT_EQ(thumb.size(), QSize(64, 64));
  EXPECT_GT(qGreen(thumb.pixel(32, 32)), 200);
  EXPECT_LT(qBlue(thumb.pixel(32, 32)), 60);
}

// Each decoder gets cut and bit-flipped copies of its files: every one is
// read or refused, none crashes or hangs the test.
TEST_F(CodecTest, DamagedFilesAreRefusedOrReadNeverFatal) {
  std::mt19937 random(20240611);
  QTemporaryDir dir;
  int refused = 0, tried = 0;
  for (const char* name : {"photo.heic", "alpha.heic", "photo.avif", "photo.jxl", "turned.jxl",
                           "camera.dng", "bare.dng"}) {
    SCOPED_TRACE(name);
    const QByteArray original = test::ReadBytes(PathOf(name));
    ASSERT_FALSE(original.isEmpty());
    std::vector<QByteArray> damaged;
    for (const qsizetype cut : {qsizetype{0}, qsizetype{11}, qsizetype{64}, original.size() / 3,
                                original.size() / 2, original.size() - 9})
      damaged.push_back(original.left(cut));
    for (int i = 0; i < 24; ++i) {
      QByteArray flipped = original;
      for (int f = 0; f <= i % 6; ++f) {
        // Half the flips land in the first 512 bytes, where the headers are.
        const std::uint32_t span =
            f % 2 == 0 ? std::min<qsizetype>(512, original.size()) : original.size();
        const qsizetype at = random() % span;
        flipped[at] = static_cast<char>(flipped[at] ^ (1 << (random() % 8)));
      }
      damaged.push_back(flipped);
    }
    const QString path = dir.filePath(QString::fromLatin1(name));
    for (std::size_t i = 0; i < damaged.size(); ++i, ++tried) {
      SCOPED_TRACE(i);
      ASSERT_TRUE(test::WriteBytes(path, damaged[i]));
      const auto header = LoadPictureHeader(path);
      const QImage stretched = DecodeStretched(path, QSize(64, 64), true);
      LoadThumbnail(path, QSize(64, 64));
      DecodeScaled(path, QSize(128, 128), true);
      EXPECT_TRUE(i != 0 || !header || header->width == 0) << "nothing read from an empty file";
      EXPECT_TRUE(stretched.isNull() || stretched.size() == QSize(64, 64));
      refused += stretched.isNull() ? 1 : 0;
    }
  }
  EXPECT_GT(refused, tried / 10);  // the damage is real: many copies are refused
}

TEST_F(CodecTest, AnOversizedSensorIsRefusedBeforeDecoding) {
  // 40000 x 30000 sensor pixels claimed by a file of a few bytes.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("huge.dng"));
  bench::DngOptions options;
  options.claimed_size = QSize(40000, 30000);
  const QByteArray huge = bench::DngBytes(test::GradientImage(QSize(16, 16)), options);
  ASSERT_TRUE(test::WriteBytes(path, huge));
  const ReadProblemWatch watch;
  EXPECT_TRUE(DecodeStretched(path, QSize(64, 64), true).isNull());
  EXPECT_EQ(watch.First(), ReadProblem::kTooLarge);  // said as for any other picture
  EXPECT_TRUE(ReadEmbeddedThumbnail(path).isEmpty());
}

TEST(OrientationTest, EveryValueTurnsTheStoredCornerWhereItBelongs) {
  // A 3 x 2 picture whose stored top-left pixel is marked: where it ends up.
  QImage stored = test::SolidImage({3, 2}, Qt::black);
  stored.setPixel(0, 0, qRgb(255, 255, 255));
  const std::pair<int, QPoint> cases[] = {{1, {0, 0}}, {2, {2, 0}}, {3, {2, 1}}, {4, {0, 1}},
                                          {5, {0, 0}}, {6, {1, 0}}, {7, {1, 2}}, {8, {0, 2}}};
  for (const auto& [orientation, corner] : cases) {
    SCOPED_TRACE(orientation);
    const QImage turned = ApplyOrientation(stored, orientation);
    EXPECT_EQ(turned.size(), OrientationSwapsAxes(orientation) ? QSize(2, 3) : QSize(3, 2));
    EXPECT_EQ(turned.pixel(corner), qRgb(255, 255, 255));
  }
}

}  // namespace
}  // namespace dupliora
