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
  qputenv("DUPLIORA_T", "/s");
  qunsetenv("DUPLIORA_NONE");
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
      {"%DUPLIORA_T%Day", "/s/Day", {"/s/Day"}, "/s/Day"},
      {"%DUPLIORA_NONE%Day", "%DUPLIORA_NONE%Day", {"%DUPLIORA_NONE%Day"}, "%DUPLIORA_NONE%Day"},
      // Only the first name of a piece is expanded, all its occurrences.
      {"%DUPLIORA_T%%DUPLIORA_T%", "/s//s/", {"/s//s/"}, "/s//s/"},
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
  // A symlink to nothing is an entry that does not exist.
  const QString dangling = dir.filePath("dangling");
  ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), dangling));
  struct Case {
    QString text;
    int count;
    QString last;  // the greatest entry in the set's order, or the missing one
  } const cases[] = {
      {b + u';' + a, 2, b},
      {a + u';' + missing + u';' + b, 0, missing},
      {{}, 0, {}},
      {a + u';' + dangling, 0, dangling},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    QString text = c.text;
    const PathListCheck check = CheckPathList(text);
    EXPECT_EQ(check.count, c.count);
    EXPECT_EQ(check.last, c.last);
  }
}

}  // namespace
}  // namespace dupliora
