// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/path_list.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace dupliora {
namespace {

TEST(SplitPathListTest, NormalisesEntries) {
  qputenv("DUPLIORA_TEST_SHOTS", "/tmp/shots");
  qunsetenv("DUPLIORA_UNDEFINED_VAR");
  struct Case {
    const char* input;
    const char* text;
    std::vector<QString> entries;
    const char* last;
  };
  const Case cases[] = {
      // Linux file names are exact: /Pics and /pics are two folders.
      {"/Pics;/pics;/D/x;;/C", "/Pics;/pics;/D/x;/C", {"/C", "/D/x", "/Pics", "/pics"}, "/C"},
      {"/a/b;/a/b;/a/b", "/a/b", {"/a/b"}, "/a/b"},
      {";;;", "", {}, ""},
      // Short entries are folders here: the root, "." and "..", short relative names.
      {"ab;/x;/xy;ab", "ab;/x;/xy", {"/x", "/xy", "ab"}, "/xy"},
      {"/;.;..;a", "/;.;..;a", {".", "..", "/", "a"}, "a"},
      // Line breaks separate entries like ";".
      {"/a\n/b\r\n/c;/d\n", "/a;/b;/c;/d", {"/a", "/b", "/c", "/d"}, "/d"},
      {"%DUPLIORA_TEST_SHOTS%Day", "/tmp/shots/Day", {"/tmp/shots/Day"}, "/tmp/shots/Day"},
      {"%DUPLIORA_UNDEFINED_VAR%Day",
       "%DUPLIORA_UNDEFINED_VAR%Day",
       {"%DUPLIORA_UNDEFINED_VAR%Day"},
       "%DUPLIORA_UNDEFINED_VAR%Day"},
      // Only the first name of a piece is expanded, all its occurrences.
      {"%DUPLIORA_TEST_SHOTS%%DUPLIORA_TEST_SHOTS%",
       "/tmp/shots//tmp/shots/",
       {"/tmp/shots//tmp/shots/"},
       "/tmp/shots//tmp/shots/"},
      {"/z/b;/z/a", "/z/b;/z/a", {"/z/a", "/z/b"}, "/z/a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    QString text = QString::fromUtf8(c.input);
    PathSet entries;
    const QString last = SplitPathList(text, &entries);
    EXPECT_EQ(text, QString::fromUtf8(c.text));
    EXPECT_EQ(std::vector<QString>(entries.begin(), entries.end()), c.entries);
    EXPECT_EQ(last, QString::fromUtf8(c.last));
  }
  // Paths are never cut at a fixed length.
  const QString long_path = u'/' + QString(600, u'p');
  QString text = long_path + u';' + long_path;
  EXPECT_EQ(SplitPathList(text), long_path);
  EXPECT_EQ(text, long_path);
}

TEST(CheckPathListTest, CountsExistingEntriesAndNamesTheMissingOne) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkpath("b"));
  ASSERT_TRUE(QDir(dir.path()).mkpath("a"));
  const QString a = dir.filePath("a");
  const QString b = dir.filePath("b");
  const QString missing = dir.filePath("c");

  QString both = b + u';' + a;
  PathListCheck check = CheckPathList(both);
  EXPECT_EQ(check.count, 2);
  EXPECT_EQ(check.last, b);  // the greatest entry in the set's order

  QString with_missing = a + u';' + missing + u';' + b;
  check = CheckPathList(with_missing);
  EXPECT_EQ(check.count, 0);
  EXPECT_EQ(check.last, missing);

  QString empty;
  EXPECT_EQ(CheckPathList(empty).count, 0);

  // A symlink to nothing is an entry that does not exist.
  const QString dangling = dir.filePath("dangling");
  ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), dangling));
  QString with_dangling = a + u';' + dangling;
  check = CheckPathList(with_dangling);
  EXPECT_EQ(check.count, 0);
  EXPECT_EQ(check.last, dangling);
}

}  // namespace
}  // namespace dupliora
