// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QBuffer>
#include <QFile>
#include <cstdio>

#include "engine/record_maker.h"
#include "engine/record_path.h"
#include "engine/record_test_support.h"

namespace dupliora {
namespace {

QByteArray EncodedPicture(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

// Damaged files are refused, or give a record of the right size: never a
// crash, a hang or a gigabyte allocation.
TEST_F(RecordTest, BadFilesAreRefusedOrGiveACorrectRecord) {
  const QByteArray jpeg = EncodedPicture(test::NoisyImage(QSize(512, 384), 3), "jpg");
  const QByteArray png = EncodedPicture(test::NoisyImage(QSize(512, 384), 4), "png");
  const QByteArray webp = EncodedPicture(test::NoisyImage(QSize(512, 384), 5), "webp");
  QByteArray garbled = jpeg;
  for (qsizetype i = 600; i < garbled.size(); i += 97) garbled[i] = static_cast<char>(i * 31);
  struct Case {
    const char* name;
    QByteArray bytes;
    bool may_succeed;
    bool full_size = false;
  } const cases[] = {
      {"empty.jpg", QByteArray(), false},
      {"text.jpg", QByteArray("this is a text file, not a picture\n"), false},
      {"header_only.jpg", jpeg.left(20), false},
      {"half.jpg", jpeg.left(jpeg.size() / 2), true, true},
      {"garbled.jpg", garbled, true, true},
      {"half.png", png.left(png.size() / 2), true, true},
      {"header_only.png", png.left(40), true, true},
      {"half.webp", webp.left(webp.size() / 2), true, true},
      {"bomb.png", test::PngClaimingSize(100000, 100000), false},
      {"claims_50000.png", test::PngClaimingSize(50000, 50000), false},
      {"nosize.svg", QByteArray(R"(<svg xmlns="http://www.w3.org/2000/svg"><rect/></svg>)"), true},
      {"broken.svg", QByteArray(R"(<svg xmlns="http://www.w3.org/2000/svg" width="500)"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = PathOf(QString::fromLatin1(c.name));
    ASSERT_TRUE(test::WriteBytes(path, c.bytes));
    for (int rule : {1, 2, 3}) {
      SCOPED_TRACE(rule);
      auto record = Make(path, rule);
      if (!c.may_succeed) {
        EXPECT_FALSE(m_made);
      }
      if (m_made) {
        EXPECT_EQ(RecordPath(*record), path);
        EXPECT_GE(std::int64_t{record->width} * record->height, kMinPictureArea);
        // A cut picture keeps the size its header gives.
        if (c.full_size) {
          EXPECT_EQ(QSize(record->width, record->height), QSize(512, 384));
        }
      }
    }
  }
}

TEST_F(RecordTest, MissingFileAndFolderAreRefused) {
  Make(PathOf(QStringLiteral("missing.png")));
  EXPECT_FALSE(m_made);
  Make(m_dir.path());
  EXPECT_FALSE(m_made);
}

TEST_F(RecordTest, NonUtf8FileNameIsRefusedOrRecordedUnderItsOwnName) {
  const QByteArray native = QFile::encodeName(m_dir.path()) + "/bad\xff\xfe name.png";
  ASSERT_TRUE(test::WritePicture(PathOf("bad.png"), test::GradientImage(QSize(128, 128))));
  ASSERT_EQ(::rename(QFile::encodeName(PathOf("bad.png")).constData(), native.constData()), 0);
  const QString path = QFile::decodeName(native);
  for (int rule : {1, 2, 3}) {
    SCOPED_TRACE(rule);
    auto record = Make(path, rule);
    if (m_made) {
      EXPECT_EQ(QFile::encodeName(RecordPath(*record)), native);
    }
  }
}

}  // namespace
}  // namespace dupliora
