// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/picture_source.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>

#include "bench/dng_writer.h"
#include "support/pictures.h"

namespace dupliora {
namespace {

PictureRequest FileRequest(const QString& path, QSize client) {
  return PictureRequest{path, false, false, client, {}};
}

// The pane's own way, through a decoder process.
QImage Load(const PictureRequest& request) {
  const std::atomic<bool> never{false};
  return LoadPaneSourcePicture(request, never);
}

// Orientation 6: the camera was turned; the stored left edge (red) belongs at the top.
// A camera raw file is turned from its preview when that is large enough, else from
// the sensor data.
TEST(PictureSourceTest, PhotoAndCameraRawAreTurnedUprightThenFitted) {
  QImage landscape = test::SolidImage({800, 400}, Qt::blue);
  QPainter(&landscape).fillRect(0, 0, 400, 400, Qt::red);
  QTemporaryDir dir;
  const QString jpeg = dir.filePath("turned.jpg");
  ASSERT_TRUE(test::WritePicture(jpeg, landscape));
  ASSERT_TRUE(test::SetExifOrientation(jpeg, 6));
  QStringList paths{jpeg};
  for (const QSize preview : {QSize(400, 200), QSize()}) {
    paths << dir.filePath(QStringLiteral("turned%1.dng").arg(preview.width()));
    bench::DngOptions options;
    options.orientation = 6;
    options.preview = preview;
    ASSERT_TRUE(bench::WriteDng(paths.back(), landscape, options));
  }
  for (const QString& path : paths) {
    SCOPED_TRACE(path.toStdString());
    const QImage shown = Load(FileRequest(path, {400, 300}));
    ASSERT_EQ(shown.size(), QSize(150, 300));
    EXPECT_GT(QColor(shown.pixel(75, 20)).red(), 200);
    EXPECT_GT(QColor(shown.pixel(75, 280)).blue(), 200);
  }
}

TEST(PictureSourceTest, FiftyMegapixelPhotoLoadsScaled) {
  QTemporaryDir dir;
  const QString path = dir.filePath("big.jpg");
  {
    QImage big(8200, 6200, QImage::Format_Grayscale8);  // 50.8 megapixels
    big.fill(128);
    ASSERT_TRUE(big.save(path, "JPEG", 30));
  }
  const QImage shown = Load(FileRequest(path, {400, 300}));
  EXPECT_EQ(shown.size(), QSize(396, 300));
}

TEST(PictureSourceTest, NothingToLoad) {
  QTemporaryDir dir;
  const QString garbage = dir.filePath("garbage.png");
  ASSERT_TRUE(test::WriteBytes(garbage, QByteArray(100, 'x')));
  const QString huge = dir.filePath("huge.png");
  ASSERT_TRUE(test::WriteBytes(huge, test::PngClaimingSize(60000, 60000)));
  const std::pair<const char*, PictureRequest> cases[] = {
      {"empty path", FileRequest("", {400, 300})},
      {"missing file", FileRequest(dir.filePath("none.png"), {400, 300})},
      {"not a picture", FileRequest(garbage, {400, 300})},
      {"header claiming 60000 x 60000", FileRequest(huge, {400, 300})},
      {"pane without area", FileRequest(garbage, {0, 0})},
      {"unknown resource", PictureRequest{":/viewer/none.png", true, false, {400, 300}, {}}},
      {"file path asked as resource", PictureRequest{garbage, true, false, {400, 300}, {}}},
  };
  for (const auto& [label, request] : cases) {
    SCOPED_TRACE(label);
    EXPECT_TRUE(Load(request).isNull());
  }
}

class ThumbnailCacheTest : public ::testing::Test {
 protected:
  QString SaveRedPhoto() {
    const QString path = files_.filePath("photo.jpg");
    EXPECT_TRUE(test::WritePicture(path, test::SolidImage({1600, 1200}, Qt::red)));
    return path;
  }

  test::ScopedThumbnailCache cache_;
  QTemporaryDir files_;
};

TEST_F(ThumbnailCacheTest, OpaquePictureUsesTheCachedThumbnail) {
  const QString path = SaveRedPhoto();
  test::CachedThumbnailFacts facts;
  facts.size_folder = "xx-large";
  ASSERT_TRUE(test::WriteCachedThumbnail(path, test::SolidImage({1024, 768}, Qt::green), facts));
  const QImage shown = Load(FileRequest(path, {400, 300}));
  ASSERT_FALSE(shown.isNull());
  EXPECT_EQ(QColor(shown.pixel(10, 10)), QColor(Qt::green));
}

TEST_F(ThumbnailCacheTest, ThumbnailChoice) {
  const QString photo = SaveRedPhoto();
  const QString png = files_.filePath("transparent.png");
  ASSERT_TRUE(test::WritePicture(png, test::SolidImage({1600, 1200}, QColor(255, 0, 0, 128))));
  const struct {
    const char* label;
    QString path;
    QSize thumbnail;
    int expected_request;  // 0: the lookup must not be asked
    bool thumbnail_shown;
  } cases[] = {
      {"large thumbnail of an opaque photo", photo, {1024, 768}, 800, true},
      {"thumbnail exactly the fit size", photo, {400, 300}, 800, true},
      {"thumbnail smaller than the pane needs", photo, {256, 192}, 800, false},
      {"no thumbnail", photo, {}, 800, false},
      {"transparent picture is always decoded", png, {1024, 768}, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    int asked = 0;
    ThumbnailLookup lookup = [&](const QString&, int requested) {
      asked = requested;
      return test::SolidImage(c.thumbnail, Qt::green);
    };
    const QImage shown = LoadFilePicture(c.path, {400, 300}, lookup);
    EXPECT_EQ(asked, c.expected_request);
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(QColor(shown.pixel(10, 10)).green() > 200, c.thumbnail_shown);
    if (!c.thumbnail_shown) {
      EXPECT_EQ(shown.size(), QSize(400, 300));
    }
  }
}

TEST(PictureSourceTest, SampleIsEmbedded) {
  const QImage sample = LoadResourcePicture(kSamplePictureResource);
  ASSERT_FALSE(sample.isNull());
  EXPECT_GE(sample.width(), 128);
  EXPECT_NE(sample, sample.mirrored(true, true));  // a turn must be visible
}

}  // namespace
}  // namespace dupliora
