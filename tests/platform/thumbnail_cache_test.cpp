// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/thumbnail_cache.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/pictures.h"

#ifdef DUPLIORA_HAVE_GLIB
#include <glib.h>
#endif

namespace dupliora {
namespace {

class ThumbnailCacheTest : public testing::Test {
 protected:
  void SetUp() override {
    m_picture = m_dir.filePath("holiday photo #1.jpg");
    ASSERT_TRUE(test::WritePicture(m_picture, test::GradientImage(QSize(300, 300))));
  }

  QTemporaryDir m_dir;
  test::ScopedThumbnailCache m_cache;
  QString m_picture;
};

TEST_F(ThumbnailCacheTest, FollowsXdgCacheHomeOnEveryCall) {
  qputenv("XDG_CACHE_HOME", "/somewhere/else");  // the fixture restores it
  EXPECT_EQ(ThumbnailCacheFolder(), "/somewhere/else/thumbnails");
  qunsetenv("XDG_CACHE_HOME");
  EXPECT_EQ(ThumbnailCacheFolder(), QDir::homePath() + "/.cache/thumbnails");
  qputenv("XDG_CACHE_HOME", "relative/path");  // not absolute: ignored
  EXPECT_EQ(ThumbnailCacheFolder(), QDir::homePath() + "/.cache/thumbnails");
}

TEST_F(ThumbnailCacheTest, FileNameIsMd5OfTheEncodedUri) {
  // The URI percent-encodes the blank and the '#': hash what the cache writers hash.
  const QByteArray uri = "file://" + QFile::encodeName(m_dir.path()).toPercentEncoding("/") +
                         "/holiday%20photo%20%231.jpg";
  const QString md5 =
      QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex());
  EXPECT_EQ(CachedThumbnailPath(m_picture, "large"),
            ThumbnailCacheFolder() + QStringLiteral("/large/") + md5 + ".png");
}

// Every byte class GLib treats apart: kept, escaped where QUrl keeps it,
// control bytes and UTF-8.
const char* const kOddNames[] = {"plain a&b=c+d,e'(f)*!$@~_-:.jpg", "blank [x];y#1%41?.jpg",
                                 "back\\slash{}|^`<>\"q\".jpg", "tab\tline\nend.jpg",
                                 "caf\xc3\xa9 \xf0\x9f\x93\xb7.jpg"};

#ifdef DUPLIORA_HAVE_GLIB
QByteArray GlibUri(const QByteArray& absolute) {
  gchar* uri = g_filename_to_uri(absolute.constData(), nullptr, nullptr);
  const QByteArray result(uri);
  g_free(uri);
  return result;
}
#endif

TEST(ThumbnailUriTest, EscapedAsGlibEscapes) {
  // Known answers, checked once against g_filename_to_uri.
  EXPECT_EQ(ThumbnailUri("/p/[x];y #1%.jpg"), QByteArray("file:///p/%5Bx%5D%3By%20%231%25.jpg"));
  EXPECT_EQ(ThumbnailUri("/p/a&b=c+d,e'(f)*!$@~_-:.jpg"),
            QByteArray("file:///p/a&b=c+d,e'(f)*!$@~_-:.jpg"));
#ifndef DUPLIORA_HAVE_GLIB
  GTEST_SKIP() << "built without GLib: only the known answers are checked";
#else
  const QByteArray folder = QFile::encodeName(QDir::currentPath());
  for (const char* name : kOddNames) {
    SCOPED_TRACE(name);
    const QByteArray bytes(name);
    const QString path = QFile::decodeName(bytes);
    EXPECT_EQ(ThumbnailUri(QStringLiteral("/photos/") + path), GlibUri("/photos/" + bytes));
    // A relative path counts from the current folder, cleaned as GFile cleans it.
    EXPECT_EQ(ThumbnailUri(QStringLiteral("./sub/../") + path), GlibUri(folder + '/' + bytes));
  }
  EXPECT_EQ(ThumbnailUri("/a//b/./c/../d.jpg"), GlibUri("/a/b/d.jpg"));
#endif
}

TEST_F(ThumbnailCacheTest, PicksTheSmallestAtOrAboveTheRequestElseTheLargest) {
  for (const auto& [folder, side] : {std::pair{"normal", 128}, {"x-large", 512}}) {
    test::CachedThumbnailFacts facts;
    facts.size_folder = folder;
    ASSERT_TRUE(
        test::WriteCachedThumbnail(m_picture, test::SolidImage({side, side}, Qt::red), facts));
  }
  // Requested size, side of the thumbnail given.
  for (const auto& [requested, side] : {std::pair{128, 128}, {129, 512}, {1024, 512}}) {
    SCOPED_TRACE(requested);
    EXPECT_EQ(LoadCachedThumbnail(m_picture, requested).width(), side);
  }
}

// The picture's size comes from the keys of a thumbnail that is still valid.
TEST_F(ThumbnailCacheTest, StaleOrForeignThumbnailIsNoThumbnail) {
  const qint64 mtime = QFileInfo(m_picture).lastModified().toSecsSinceEpoch();
  const QSize size(4000, 3000);
  struct Case {
    const char* label;
    std::optional<qint64> mtime;
    std::optional<QByteArray> uri;
    QSize claimed;
    bool valid;
  } const cases[] = {
      {"matching", mtime, std::nullopt, size, true},
      {"zero width claimed", mtime, std::nullopt, QSize(0, 3000), true},
      {"older", mtime - 1, std::nullopt, size, false},
      {"newer", mtime + 1, std::nullopt, size, false},
      {"other file", mtime, QByteArray("file:///tmp/other.jpg"), size, false},
      {"plain path instead of uri", mtime, QFile::encodeName(m_picture), size, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    test::CachedThumbnailFacts facts;
    facts.mtime = c.mtime;
    facts.uri = c.uri;
    facts.image_size = c.claimed;
    ASSERT_TRUE(
        test::WriteCachedThumbnail(m_picture, test::SolidImage(QSize(128, 128), Qt::red), facts));
    EXPECT_EQ(!LoadCachedThumbnail(m_picture, 64).isNull(), c.valid);
    const bool size_known = c.valid && c.claimed.width() > 0;
    EXPECT_EQ(ThumbnailCacheImageSize(m_picture), size_known ? std::optional(size) : std::nullopt);
  }
}

// Nothing cached, or only damaged files: no thumbnail, and nothing written.
TEST_F(ThumbnailCacheTest, NothingOrDamagedCachedGivesNothing) {
  EXPECT_TRUE(LoadCachedThumbnail(m_picture, 64).isNull());
  EXPECT_FALSE(ThumbnailCacheImageSize(m_picture).has_value());
  EXPECT_TRUE(LoadCachedThumbnail(m_dir.filePath("missing.jpg"), 64).isNull());
  EXPECT_FALSE(QFileInfo::exists(ThumbnailCacheFolder()));
  const QString target = CachedThumbnailPath(m_picture, "normal");
  ASSERT_TRUE(QDir().mkpath(QFileInfo(target).absolutePath()));
  for (const QByteArray& bytes :
       {QByteArray(), QByteArray("garbage"), test::PngClaimingSize(100000, 100000)}) {
    ASSERT_TRUE(test::WriteBytes(target, bytes));
    EXPECT_TRUE(LoadCachedThumbnail(m_picture, 64).isNull());
  }
}

}  // namespace
}  // namespace dupliora
