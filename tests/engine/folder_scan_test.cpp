// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/folder_scan.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "run_test_support.h"
#include "support/pictures.h"

namespace dupliora {
namespace {

using testing::SavePattern;

class FolderScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    root_ = dir_.path() + u'/';
    ASSERT_TRUE(QDir(root_).mkpath("sub/deeper"));
  }

  // Scans `paths` in turn into files_; returns the names listed, under root_.
  QStringList Scan(const QStringList& paths, bool recurse = true) {
    files_.clear();
    FolderScanner scanner(files_, stop_, nullptr);
    for (const QString& path : paths) scanner.ScanFolder(path, recurse);
    QStringList names;
    for (const auto& [full, entry] : files_) names << full.mid(root_.size());
    return names;
  }
  void WriteBytes(const QString& name, const QByteArray& bytes) {
    ASSERT_TRUE(test::WriteBytes(root_ + name, bytes));
  }

  QTemporaryDir dir_;
  QString root_;
  std::atomic<bool> stop_{false};
  FileList files_;
};

TEST_F(FolderScanTest, ProbesEveryFileWhateverItsName) {
  ASSERT_TRUE(SavePattern(root_ + "a.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "no_extension", 2, 128, 128));
  ASSERT_TRUE(SavePattern(root_ + "wide.png", 3, 2000, 100));  // too low
  ASSERT_TRUE(SavePattern(root_ + "small.png", 4, 127, 200));  // too narrow
  ASSERT_TRUE(SavePattern(root_ + "sub/b.jpg", 5, 200, 150, "JPG"));
  ASSERT_TRUE(SavePattern(root_ + "sub/deeper/c.png", 6));
  WriteBytes("zero.png", {});
  WriteBytes("text.jpg", "not a picture at all");
  ASSERT_TRUE(SavePattern(root_ + "truncated.png", 7));
  ASSERT_TRUE(QFile::resize(root_ + "truncated.png", 40));

  EXPECT_EQ(Scan({dir_.path()}),
            (QStringList{"a.png", "no_extension", "sub/b.jpg", "sub/deeper/c.png"}));
  // Without subfolders only the folder's own files count.
  EXPECT_EQ(Scan({dir_.path()}, false), (QStringList{"a.png", "no_extension"}));
}

TEST_F(FolderScanTest, SkipsLinksFifosAndNamesThatCannotBeHeld) {
  ASSERT_TRUE(SavePattern(root_ + "sub/real.png", 1));
  ASSERT_EQ(::symlink((root_ + "sub/real.png").toUtf8().constData(),
                      (root_ + "link.png").toUtf8().constData()),
            0);
  // A loop: the folder links to its own parent.
  ASSERT_EQ(::symlink(root_.toUtf8().constData(), (root_ + "sub/loop").toUtf8().constData()), 0);
  ASSERT_EQ(::mkfifo((root_ + "fifo.png").toUtf8().constData(), 0600), 0);
  const QByteArray odd_name = QFile::encodeName(root_) + QByteArray("odd\xff\xfe.png");
  ASSERT_TRUE(SavePattern(root_ + "odd.png", 2));
  ASSERT_EQ(::rename(QFile::encodeName(root_ + "odd.png").constData(), odd_name.constData()), 0);
  EXPECT_EQ(Scan({dir_.path()}), QStringList{"sub/real.png"});
}

TEST_F(FolderScanTest, SingleFileKeepsItsRealSizeAndTime) {
  ASSERT_TRUE(SavePattern(root_ + "one.png", 1));
  ASSERT_EQ(Scan({root_ + "one.png"}), QStringList{"one.png"});
  const FileEntry& entry = files_.begin()->second;
  const QFileInfo info(root_ + "one.png");
  EXPECT_EQ(entry.size, static_cast<std::uint64_t>(info.size()));
  const std::int64_t unix_seconds = info.lastModified().toSecsSinceEpoch();
  EXPECT_EQ(entry.last_write / 10000000ULL,
            static_cast<std::uint64_t>(unix_seconds) + 11644473600ULL);
}

TEST_F(FolderScanTest, VanishedAndUnreadableFoldersYieldNothing) {
  EXPECT_TRUE(Scan({root_ + "gone"}).isEmpty());
  // Root reads any folder whatever its mode; a folder that is a file in
  // disguise (ENOTDIR on open) stands in for one that cannot be read.
  WriteBytes("notafolder", "x");
  EXPECT_TRUE(Scan({root_ + "notafolder/"}).isEmpty());
  if (::geteuid() != 0) {
    ASSERT_TRUE(SavePattern(root_ + "sub/locked.png", 1));
    ASSERT_EQ(::chmod((root_ + "sub").toUtf8().constData(), 0), 0);
    EXPECT_TRUE(Scan({root_ + "sub"}).isEmpty());
    ::chmod((root_ + "sub").toUtf8().constData(), 0755);
  }
}

TEST_F(FolderScanTest, OneFileUnderManyNamesIsListedOnce) {
  ASSERT_TRUE(SavePattern(root_ + "sub/x.png", 1));
  ASSERT_EQ(::link((root_ + "sub/x.png").toUtf8().constData(),
                   (root_ + "sub/deeper/a_link.png").toUtf8().constData()),
            0);
  ASSERT_TRUE(SavePattern(root_ + "sub/other.png", 2));
  // The folder twice (once spelled with "./") and a file of it on its own.
  // The hard link pair keeps the name that sorts first, though read second.
  EXPECT_EQ(Scan({root_ + "sub", root_ + "./sub/", root_ + "sub/other.png"}),
            (QStringList{"sub/deeper/a_link.png", "sub/other.png"}));
}

TEST_F(FolderScanTest, DeepTreeNeedsNoHandlePerLevel) {
  // Far more levels than open files allowed: each folder is closed before
  // the next is entered.
  constexpr int kLevels = 300;
  QString folder = root_ + "deep";
  for (int level = 0; level < kLevels; ++level) folder += "/d";
  ASSERT_TRUE(QDir().mkpath(folder));
  ASSERT_TRUE(SavePattern(folder + "/bottom.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "deep/top.png", 2));
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit low = saved;
  low.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
  const QStringList names = Scan({root_ + "deep"});
  ::setrlimit(RLIMIT_NOFILE, &saved);
  ASSERT_EQ(names.size(), 2);
  EXPECT_TRUE(names[0].endsWith("/d/bottom.png"));
  EXPECT_EQ(names[1], "deep/top.png");
}

TEST_F(FolderScanTest, StopEndsTheScan) {
  ASSERT_TRUE(QDir(root_).mkpath("flat"));
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(SavePattern(root_ + "flat/" + QString::number(i), i));
  stop_ = true;
  EXPECT_EQ(Scan({root_ + "flat"}).size(), 1);  // the entry in hand is finished
}

}  // namespace
}  // namespace dupliora
