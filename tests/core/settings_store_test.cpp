// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "core/settings_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "support/file_fixture.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

using test::ReadBytes;

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    store_.SettingsFilePath = dir_.filePath("Dupliora.ini");
  }
  void Put(const QByteArray& bytes) {
    ASSERT_TRUE(test::WriteBytes(store_.SettingsFilePath, bytes));
  }

  QTemporaryDir dir_;
  CMyProfStr store_;
};

TEST_F(SettingsStoreTest, ReadIntFollowsLeadingIntegerRuleAndClamps) {
  Put("[Start]\nnum=12abc\nword=abc\nzero=0\nbig=250\nneg= -7x\nplus=+5\nhuge=99999999999\n");
  struct Case {
    const char* key;
    int def, min, max, expected;
  } const cases[] = {
      {"missing", 42, -1, -1, 42},     {"num", 5, -1, -1, 12},        {"word", 5, -1, -1, 0},
      {"zero", 5, 1, 100, 1},          {"big", 5, 1, 100, 100},       {"big", 5, -1, 100, 250},
      {"big", 5, 1, -1, 250},          {"neg", 5, -1, -1, -7},        {"plus", 0, -1, -1, 5},
      {"huge", 0, -1, -1, 2147483647}, {"missing", 500, 1, 100, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(store_.ReadInt("Start", c.key, c.def, c.min, c.max), c.expected);
  }
}

TEST_F(SettingsStoreTest, ReadRectNeedsFourFields) {
  Put("[Start]\nfull=10;20;300;400\nshort=10;20;300\nextra=1;2;3;4;5\nempty=\n");
  EXPECT_EQ(store_.ReadRect("Start", "full"), (SettingsRect{10, 20, 300, 400}));
  EXPECT_EQ(store_.ReadRect("Start", "extra"), (SettingsRect{1, 2, 3, 4}));
  for (const char* key : {"short", "empty", "missing"})
    EXPECT_FALSE(store_.ReadRect("Start", key).has_value()) << key;
}

TEST_F(SettingsStoreTest, ValuesRoundTripExactly) {
  const QString values[] = {"/home/a;b=c/[x]/Bilder",
                            "  leading and trailing  ",
                            "\"quoted\"",
                            "back\\slash\\",
                            "line\nbreak\r\tand tab",
                            "Grüße, 写真, ΑΒΓ",
                            "",
                            " ",
                            "\\x41 not an escape",
                            "a\001b",
                            "\"",
                            "ends with quote\""};
  for (int n = 0; n < int(std::size(values)); ++n)
    ASSERT_TRUE(store_.WriteString("Path1", QStringLiteral("k%1").arg(n), values[n]));
  for (int n = 0; n < int(std::size(values)); ++n) {  // all written first, then all read
    SCOPED_TRACE(values[n].toStdString());
    EXPECT_EQ(store_.ReadString("path1", QStringLiteral("K%1").arg(n), "default"), values[n]);
  }
}

TEST_F(SettingsStoreTest, NamesCompareWithoutCaseAndUpdatesKeepOtherLines) {
  Put("; my comment\n[START]\nMax=1\nforeign = kept as is \n\n[Other]\nx=1\n");
  ASSERT_TRUE(store_.WriteInt("start", "max", 2));
  ASSERT_TRUE(store_.WriteInt("Start", "showCmd", 3));
  EXPECT_EQ(ReadBytes(store_.SettingsFilePath),
            "; my comment\n[START]\nMax=2\nforeign = kept as is \nshowCmd=3\n\n[Other]\nx=1\n");
  EXPECT_EQ(store_.ReadString("Start", "foreign"), "kept as is");
}

TEST_F(SettingsStoreTest, SectionsAreReadWrittenAndDeletedWhole) {
  ASSERT_TRUE(store_.WriteString("Path1", "entry_000", "/a"));
  ASSERT_TRUE(store_.WriteString("Start", "Max", "1"));
  ASSERT_TRUE(store_.WriteSection("Path1", "entry_000=/b\r\nentry_001=/c;d\r\nnot a line\r\n"));
  EXPECT_EQ(store_.ReadSection("PATH1"), "entry_000=/b\r\nentry_001=/c;d\r\n");
  ASSERT_TRUE(store_.DeleteSection("path1"));
  EXPECT_EQ(store_.ReadSection("Path1"), "");
  EXPECT_EQ(store_.ReadString("Start", "Max"), "1");
}

TEST_F(SettingsStoreTest, UnstorableNamesAreRefusedAndNothingIsWritten) {
  for (const auto& [section, key] :
       {std::pair{"", "key"}, {"Sec]", "key"}, {"Sec", "a=b"}, {"Sec", "[key"}})
    EXPECT_FALSE(store_.WriteString(section, key, "v")) << section << ' ' << key;
  EXPECT_FALSE(QFile::exists(store_.SettingsFilePath));
  CMyProfStr unset;
  EXPECT_FALSE(unset.WriteInt("Start", "Max", 1));
  EXPECT_EQ(unset.ReadInt("Start", "Max", 3), 3);
}

TEST_F(SettingsStoreTest, DamagedFilesReadAsDefaultsAndAreNotMadeWorse) {
  const QByteArray garbage("\xff\xfe\x00\x01[Start]\x80=1", 16);
  const QByteArray huge = "Max=" + QByteArray(IniDocument::kMaxLineBytes, '7');
  const QByteArray original =
      "[Start]\n" + garbage + "\n" + huge + "\nclose_ask=1\nlast=no newline";
  Put(original);
  EXPECT_EQ(store_.ReadInt("Start", "Max", 3), 3);
  EXPECT_EQ(store_.ReadInt("Start", "close_ask", 0), 1);
  EXPECT_EQ(store_.ReadString("Start", "last"), "no newline");
  ASSERT_TRUE(store_.WriteInt("Start", "close_ask", 0));
  ASSERT_TRUE(store_.WriteInt("List", "ExportIndex", 2));
  const QByteArray after = ReadBytes(store_.SettingsFilePath);
  EXPECT_TRUE(after.startsWith("[Start]\n" + garbage + "\n" + huge + "\nclose_ask=0\n"));
  EXPECT_TRUE(after.endsWith("last=no newline\n[List]\nExportIndex=2\n"));
}

TEST_F(SettingsStoreTest, ReadOnlyFileIsNeitherReplacedNorAccepted) {
  Put("[Start]\nMax=1\n");
  QFile::setPermissions(store_.SettingsFilePath, QFile::ReadOwner | QFile::ReadUser);
  EXPECT_FALSE(store_.WriteInt("Start", "Max", 2));
  EXPECT_EQ(store_.ReadInt("Start", "Max", 3), 1);
  EXPECT_FALSE(store_.ProbeSettingsFile(store_.SettingsFilePath));
  EXPECT_FALSE(store_.ProbeSettingsFile(QString()));
  // A probe of another file restores the path and leaves its probe value.
  const QString other = dir_.filePath("other.ini");
  EXPECT_TRUE(store_.ProbeSettingsFile(other));
  EXPECT_EQ(store_.SettingsFilePath, dir_.filePath("Dupliora.ini"));
  EXPECT_TRUE(ReadBytes(other).startsWith("[Start]\nchk_ini="));
  EXPECT_TRUE(store_.ProbeSettingsFile(other));  // a second probe over the first
}

TEST_F(SettingsStoreTest, UserCounterLivesInTheFileOnlyInPerUserMode) {
  EXPECT_EQ(store_.ReadUserCounter("Dupliora_Id", 7), 7);
  ASSERT_TRUE(store_.WriteUserCounter("Dupliora_Id", 4));
  EXPECT_EQ(store_.ReadUserCounter("Dupliora_Id", 7), 4);
  store_.PortableMode = true;
  EXPECT_EQ(store_.ReadUserCounter("Dupliora_Id", 7), 0);
  EXPECT_FALSE(store_.WriteUserCounter("Dupliora_Id", 9));
  store_.PortableMode = false;
  EXPECT_EQ(store_.ReadUserCounter("Dupliora_Id", 7), 4);
}

// Special files and oversized files are neither read (no hang, no endless
// read) nor written over; the program then runs on its defaults.
TEST_F(SettingsStoreTest, SpecialAndOversizedFilesAreRefusedAndLeftAlone) {
  const QString fifo = dir_.filePath("fifo.ini");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString zero = dir_.filePath("zero.ini");
  ASSERT_TRUE(QFile::link("/dev/zero", zero));
  const QString large = dir_.filePath("large.ini");
  ASSERT_TRUE(test::WriteBytes(large, "[Start]\nMax=1\n"));
  ASSERT_TRUE(QFile(large).resize(kMaxSettingsFileBytes + 1));
  const QString folder = dir_.filePath("folder.ini");
  ASSERT_TRUE(QDir().mkpath(folder));
  using enum SettingsFileProblem;
  const std::pair<QString, SettingsFileProblem> rows[] = {
      {fifo, kNotRegular}, {zero, kNotRegular}, {large, kTooLarge}, {folder, kNotRegular}};
  for (const auto& [path, problem] : rows) {
    SCOPED_TRACE(path.toStdString());
    const QFileInfo before(path);
    store_.SettingsFilePath = path;
    EXPECT_EQ(store_.ReadInt("Start", "Max", 3), 3);
    EXPECT_EQ(store_.Problem(), problem);
    EXPECT_FALSE(store_.WriteInt("Start", "Max", 2));
    EXPECT_FALSE(store_.WriteStrings("Path1", {{"last_entry", "/x"}}));
    EXPECT_FALSE(store_.ProbeSettingsFile(path));
    const QFileInfo after(path);
    EXPECT_EQ(after.isSymLink(), before.isSymLink());
    EXPECT_EQ(after.isFile(), before.isFile());
    EXPECT_EQ(after.size(), before.size());
  }
  store_.SettingsFilePath = dir_.filePath("Dupliora.ini");
  EXPECT_EQ(store_.Problem(), kNone) << "a missing file is fine";
}

// The file is parsed once: an unchanged file (same size, time and inode) is
// not read again, while a write by anyone else is seen at the next read.
TEST_F(SettingsStoreTest, ReadsUseTheParsedFileUntilItChanges) {
  Put("[Start]\nMax=1\n");
  EXPECT_EQ(store_.ReadInt("Start", "Max", 3), 1);
  const QByteArray name = QFile::encodeName(store_.SettingsFilePath);
  struct stat before {};
  ASSERT_EQ(stat(name.constData(), &before), 0);
  Put("[Start]\nMax=2\n");  // same inode, same size
  const struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, name.constData(), times, 0), 0);
  EXPECT_EQ(store_.ReadInt("Start", "Max", 3), 1) << "not parsed again";
  CMyProfStr other;
  other.SettingsFilePath = store_.SettingsFilePath;
  ASSERT_TRUE(other.WriteInt("Start", "close_ask", 1));
  EXPECT_EQ(store_.ReadInt("Start", "close_ask", 0), 1);
  EXPECT_EQ(store_.ReadInt("Start", "Max", 3), 2) << "the other writer read the file afresh";
}

TEST_F(SettingsStoreTest, GroupsOfKeysGoInOneWrite) {
  Put("[Path1]\nentry_000=a\nentry_070=stale\n");
  ASSERT_TRUE(store_.WriteStrings("Path1", {{"last_entry", "b"}, {"entry_000", "b"}}));
  EXPECT_EQ(store_.ReadSection("Path1"), "entry_000=b\r\nentry_070=stale\r\nlast_entry=b\r\n");
  EXPECT_FALSE(store_.WriteStrings("Path1", {{"ok", "1"}, {"bad=key", "2"}}));
  EXPECT_EQ(store_.ReadString("Path1", "ok", "<absent>"), "<absent>") << "all or nothing";
  ASSERT_TRUE(store_.Edit([](IniDocument& doc) {
    doc.RemoveKeys("Path1", [](const QString& key) { return key.startsWith("entry_07"); });
    return true;
  }));
  EXPECT_EQ(store_.ReadSection("Path1"), "entry_000=b\r\nlast_entry=b\r\n");
}

// Helper mode for the test below: runs only inside the spawned processes.
TEST(SettingsWriterProcess, WritesKeys) {
  const QString path = qEnvironmentVariable("DUPLIORA_TEST_WRITER_FILE");
  if (path.isEmpty()) GTEST_SKIP() << "only runs as helper process";
  CMyProfStr store;
  store.SettingsFilePath = path;
  const QString prefix = qEnvironmentVariable("DUPLIORA_TEST_WRITER_PREFIX");
  for (int i = 0; i < 60; ++i) ASSERT_TRUE(store.WriteInt("Start", prefix + QString::number(i), i));
}

TEST_F(SettingsStoreTest, TwoProcessesWritingAtOnceLoseNoKey) {
  QProcess writers[2];
  for (int p = 0; p < 2; ++p) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DUPLIORA_TEST_WRITER_FILE", store_.SettingsFilePath);
    env.insert("DUPLIORA_TEST_WRITER_PREFIX", p == 0 ? "a" : "b");
    writers[p].setProcessEnvironment(env);
    writers[p].start(QCoreApplication::applicationFilePath(),
                     {"--gtest_filter=SettingsWriterProcess.WritesKeys"});
  }
  for (QProcess& writer : writers) {
    ASSERT_TRUE(writer.waitForFinished(60000));
    EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardOutput().toStdString();
  }
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(store_.ReadInt("Start", QStringLiteral("a%1").arg(i), -1), i);
    EXPECT_EQ(store_.ReadInt("Start", QStringLiteral("b%1").arg(i), -1), i);
  }
  EXPECT_FALSE(QFile::exists(store_.SettingsFilePath + ".lock"));
}

}  // namespace
}  // namespace dupliora
