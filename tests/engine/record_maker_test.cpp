// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/record_maker.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <cstring>

#include "engine/record_path.h"
#include "engine/record_test_support.h"
#include "engine/similarity.h"

namespace dupliora {
namespace {

using test::WritePicture;

TEST_F(RecordTest, AreaLimitAcceptsExactly16384Pixels) {
  struct Case {
    int width, height;
    bool made;
  } const cases[] = {{128, 128, true}, {127, 129, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    const QString path = PathOf(QStringLiteral("area_%1x%2.png").arg(c.width).arg(c.height));
    ASSERT_TRUE(WritePicture(path, test::GradientImage(QSize(c.width, c.height))));
    auto record = Make(path);
    EXPECT_EQ(m_made, c.made);
    // The measured size stays written even when the area is refused.
    EXPECT_EQ(record->width, static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(record->height, static_cast<std::uint32_t>(c.height));
  }
}

TEST_F(RecordTest, GradientSampleRunsDarkToBrightLikeThePicture) {
  const QString path = PathOf(QStringLiteral("gradient.png"));
  ASSERT_TRUE(WritePicture(path, test::GradientImage(QSize(256, 256))));
  for (int rule : {2, 3}) {
    SCOPED_TRACE(rule);
    auto record = Make(path, rule);
    ASSERT_TRUE(m_made);
    EXPECT_LT(record->gray[0], record->gray[63]);       // red rises to the right
    EXPECT_LT(record->gray[0], record->gray[63 * 64]);  // green rises downwards
    EXPECT_GT(record->gray[4095], 150);
  }
}

TEST_F(RecordTest, AlphaIsTakenFromThePixelFormat) {
  const QString opaque = PathOf(QStringLiteral("opaque.png"));
  const QString clear = PathOf(QStringLiteral("clear.png"));
  ASSERT_TRUE(WritePicture(opaque, test::GradientImage(QSize(128, 128))));
  ASSERT_TRUE(WritePicture(clear, test::SolidImage(QSize(128, 128), Qt::transparent)));
  EXPECT_EQ(Make(opaque)->alpha, 0);
  auto record = Make(clear);
  ASSERT_TRUE(m_made);
  EXPECT_EQ(record->alpha, 1);
  EXPECT_EQ(record->gray[0], 255);  // transparent black folds to 255
}

TEST_F(RecordTest, EmbeddedThumbnailIsMeasuredAndUsedByMethodTwoOnly) {
  const QString path = PathOf(QStringLiteral("camera.jpg"));
  ASSERT_TRUE(WritePicture(path, test::SolidImage(QSize(640, 480), Qt::white)));
  ASSERT_TRUE(test::AddExifThumbnail(path, test::SolidImage(QSize(160, 120), Qt::black)));
  auto thumb = Make(path, 2);
  ASSERT_TRUE(m_made);
  EXPECT_GT(thumb->thumb_bytes, 0u);
  EXPECT_LT(thumb->brightness, 5);  // drawn from the black embedded thumbnail
  auto drawn = Make(path, 3);
  ASSERT_TRUE(m_made);
  EXPECT_EQ(drawn->thumb_bytes, thumb->thumb_bytes);
  EXPECT_GT(drawn->brightness, 95);  // drawn from the white picture itself
}

// A camera's 160 x 120 thumbnail of a 3:2 photo: black bars above and below.
QImage LetterboxedThumbnail(const QImage& photo) {
  QImage thumb = test::SolidImage(QSize(160, 120), Qt::black);
  QPainter(&thumb).drawImage(QRect(0, 7, 160, 107), photo);
  return thumb;
}

TEST_F(RecordTest, CameraThumbnailBarsAreCutAndAStaleThumbnailIsLeftAside) {
  const QImage photo = test::NoisyImage(QSize(600, 400), 7);
  const QString camera = PathOf(QStringLiteral("camera.jpg"));
  ASSERT_TRUE(WritePicture(camera, photo));
  ASSERT_TRUE(test::AddExifThumbnail(camera, LetterboxedThumbnail(photo)));
  const QString turned = PathOf(QStringLiteral("turned.png"));
  ASSERT_TRUE(WritePicture(turned, photo.transformed(QTransform().rotate(90))));
  auto with_bars = Make(camera);
  ASSERT_TRUE(m_made);
  EXPECT_GT(with_bars->thumb_bytes, 0u);
  auto turned_copy = Make(turned);
  MatchVariant variant;
  const CompareOptions options{95, true, false};
  EXPECT_GE(CompareRecords(options, *with_bars, *turned_copy, variant, false), 0.95);
  EXPECT_EQ(variant.rotation, 90);

  // An editor turned the photo and left the camera's thumbnail as it was:
  // the record comes from the picture, as if there were no thumbnail.
  const QString plain = PathOf(QStringLiteral("edited_plain.jpg"));
  const QString edited = PathOf(QStringLiteral("edited.jpg"));
  ASSERT_TRUE(WritePicture(plain, photo.transformed(QTransform().rotate(90))));
  ASSERT_TRUE(QFile::copy(plain, edited));
  ASSERT_TRUE(test::AddExifThumbnail(edited, LetterboxedThumbnail(photo)));
  auto stale = Make(edited);
  EXPECT_GT(stale->thumb_bytes, 0u);
  auto without = Make(plain);
  EXPECT_EQ(std::memcmp(stale->gray, without->gray, sizeof stale->gray), 0);
}

TEST_F(RecordTest, ThumbnailCacheServesWhatTheLibraryCannotReadWhenSizedAndFresh) {
  const QString path = PathOf(QStringLiteral("drawing.unknownformat"));
  ASSERT_TRUE(test::WriteBytes(path, "not a picture any plugin reads"));
  const QImage thumb = test::SolidImage(QSize(128, 96), Qt::white);
  struct Case {
    const char* label;
    std::optional<QSize> image_size;
    std::optional<qint64> mtime_shift;
    std::optional<QByteArray> uri;
  } const cases[] = {
      {"no image size", std::nullopt, std::nullopt, std::nullopt},
      {"too small", QSize(127, 129), std::nullopt, std::nullopt},
      {"stale mtime", QSize(800, 600), 60, std::nullopt},
      {"other file's uri", QSize(800, 600), std::nullopt, QByteArray("file:///elsewhere.png")},
      {"sized and fresh", QSize(800, 600), std::nullopt, std::nullopt},
  };
  const qint64 mtime = QFileInfo(path).lastModified().toSecsSinceEpoch();
  std::unique_ptr<ImageRecord> record;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    test::CachedThumbnailFacts facts;
    facts.image_size = c.image_size;
    if (c.mtime_shift) facts.mtime = mtime + *c.mtime_shift;
    facts.uri = c.uri;
    ASSERT_TRUE(test::WriteCachedThumbnail(path, thumb, facts));
    record = Make(path);
    EXPECT_EQ(m_made, &c == std::end(cases) - 1);
  }
  EXPECT_EQ(record->method, kMethodThumbnailCache);
  EXPECT_EQ(record->thumb_bytes, 3u);
  EXPECT_EQ(QSize(record->width, record->height), QSize(800, 600));
  EXPECT_EQ(record->alpha, 0);
  EXPECT_EQ(RecordPath(*record), path);
  EXPECT_GT(record->brightness, 0);
}

TEST_F(RecordTest, StaleThumbnailIsNotUsedByMethodOne) {
  const QString path = PathOf(QStringLiteral("square.png"));
  ASSERT_TRUE(WritePicture(path, test::SolidImage(QSize(200, 200), Qt::white)));
  test::CachedThumbnailFacts facts;
  facts.mtime = QFileInfo(path).lastModified().toSecsSinceEpoch() - 3600;
  ASSERT_TRUE(
      test::WriteCachedThumbnail(path, test::SolidImage(QSize(128, 128), Qt::black), facts));
  auto record = Make(path, 1);
  ASSERT_TRUE(m_made);
  EXPECT_EQ(record->method, kMethodLibraryThumbnail);
  EXPECT_EQ(record->brightness, 99);
}

TEST_F(RecordTest, HugeVectorPictureDoesNotOverflowTheArea) {
  const QString path = PathOf(QStringLiteral("poster.svg"));
  ASSERT_TRUE(test::WriteSvg(path, QSize(50000, 50000), Qt::white));
  auto record = Make(path, 3);
  ASSERT_TRUE(m_made);
  EXPECT_EQ(record->width, 50000u);
  EXPECT_EQ(record->height, 50000u);
  EXPECT_EQ(record->brightness, 99);
}

TEST_F(RecordTest, PathMustFitTheRecordWithItsTerminatorNeverCut) {
  QString folder = m_dir.path();
  while (folder.size() < kRecordPathCapacity - 250) {
    folder += QStringLiteral("/") + QString(200, u'd');
    ASSERT_TRUE(QDir().mkpath(folder));
  }
  const auto path_of_length = [&](qsizetype length) {
    const qsizetype stem = length - folder.size() - 1 - 4;  // "/" and ".png"
    return folder + u'/' + QString(stem, u'f') + QStringLiteral(".png");
  };
  struct Case {
    qsizetype length;
    bool made;
  } const cases[] = {{kRecordPathCapacity - 1, true}, {kRecordPathCapacity, false}};
  for (const Case& c : cases) {
    const QString path = path_of_length(c.length);
    ASSERT_EQ(path.size(), c.length);
    ASSERT_TRUE(WritePicture(path, test::GradientImage(QSize(128, 128))));
    for (int rule : {1, 2, 3}) {
      SCOPED_TRACE(testing::Message() << "length " << c.length << " rule " << rule);
      auto record = Make(path, rule);
      EXPECT_EQ(m_made, c.made);
      EXPECT_EQ(RecordPath(*record), c.made ? path : QString());
    }
  }
}

}  // namespace
}  // namespace dupliora
