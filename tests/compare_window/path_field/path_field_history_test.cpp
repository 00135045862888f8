// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include "compare_window/path_field/path_field.h"
#include "core/settings_store.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

class PathFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    store_.SettingsFilePath = dir_.filePath("Dupliora.ini");
  }
  // A fresh field over the same settings, as after a restart.
  std::unique_ptr<C2017ComboBoxEx> Field(const QString& section = "Path2") {
    auto field = std::make_unique<C2017ComboBoxEx>(nullptr, store_);
    field->SetSection(section);
    return field;
  }
  QStringList Items(const C2017ComboBoxEx& field) {
    QStringList items;
    for (int i = 0; i < field.count(); ++i) items << field.GetEntry(i);
    return items;
  }
  QString Stored(const QString& key, const QString& section = "Path2") {
    return store_.ReadString(section, key, "<absent>");
  }

  QTemporaryDir dir_;
  CMyProfStr store_;
};

TEST_F(PathFieldTest, AddEntryMovesExactTextToTopAndKeepsOtherCase) {
  auto field = Field();
  for (const char* text : {"/a", "/b", "/c", "/a", "/A", ""}) field->AddEntry(text);
  EXPECT_EQ(Items(*field), (QStringList{"/A", "/a", "/c", "/b"}));
  EXPECT_EQ(field->Text(), "/A");
  EXPECT_EQ(Stored("last_entry"), "/A");
  EXPECT_EQ(Stored("entry_000"), "/A");
  EXPECT_EQ(Stored("entry_003"), "/b");
  EXPECT_EQ(Stored("entry_004"), "<absent>");
}

TEST_F(PathFieldTest, PrefixSelectionFromTheSecondEntryWraps) {
  const struct {
    const char* name;
    QStringList entries;
    QString last;
    int index;
    QString shown;
  } rows[] = {
      {"exact beats longer", {"/x", "/photos/2020", "/photos"}, "/photos", 2, "/photos"},
      {"else first longer after top", {"/photos/b", "/x", "/photos/a"}, "/photos", 2, "/photos/a"},
      {"first entry reached by wrapping", {"/Photos/a", "/x"}, "/photos", 0, "/Photos/a"},
      {"no entry begins with it", {"/x", "/y"}, "/gone", -1, "/gone"},
      {"empty history", {}, "/only/text", -1, "/only/text"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    store_.DeleteSection("Path2");
    for (int n = 0; n < row.entries.size(); ++n) {
      store_.WriteString("Path2", HistoryEntryKey(n), row.entries[n]);
    }
    store_.WriteString("Path2", "last_entry", row.last);
    auto field = Field();
    field->LoadHistory();
    EXPECT_EQ(field->currentIndex(), row.index);
    EXPECT_EQ(field->Text(), row.shown);
  }
}

TEST_F(PathFieldTest, DeleteInOpenListRewritesAndBlanksNextKey) {
  auto field = Field();
  for (const char* text : {"/e", "/d", "/c", "/b", "/a"}) field->AddEntry(text);
  field->view()->setCurrentIndex(field->model()->index(2, 0));  // "/c"
  field->DeleteHighlightedEntry();
  EXPECT_EQ(Items(*field), (QStringList{"/a", "/b", "/d", "/e"}));
  EXPECT_EQ(field->view()->currentIndex().row(), 2) << "the entry below is highlighted";
  auto reloaded = Field();  // a key left behind past the list would come back
  reloaded->LoadHistory();
  EXPECT_EQ(Items(*reloaded), (QStringList{"/a", "/b", "/d", "/e"}));

  field->view()->setCurrentIndex(field->model()->index(3, 0));  // the last one
  field->DeleteHighlightedEntry();
  EXPECT_EQ(field->view()->currentIndex().row(), 2) << "the last entry falls back to the one above";
  field->view()->setCurrentIndex(QModelIndex());
  field->DeleteHighlightedEntry();
  EXPECT_EQ(field->count(), 3) << "nothing highlighted: nothing deleted";
}

TEST_F(PathFieldTest, FirstStartDefaultsOnlyWithoutLastEntryAndOnlyFoldersThatExist) {
  const QString home = dir_.path(), pictures = dir_.filePath("Pictures");
  ASSERT_TRUE(QDir().mkpath(pictures));
  auto field = Field();
  field->FillFirstStartDefaults({dir_.filePath("Documents"), pictures, home});
  field->LoadHistory();
  EXPECT_EQ(Items(*field), (QStringList{home, pictures})) << "no Documents folder here";
  EXPECT_EQ(field->Text(), home);

  field->AddEntry("/photos");
  auto again = Field();
  again->FillFirstStartDefaults({home});
  again->LoadHistory();
  EXPECT_EQ(again->count(), 3);
  EXPECT_EQ(again->Text(), "/photos");
}

// Sixty-four entries are read, empty ones skipped. Start writes the history
// each time: one store write, never more than the 64 entries that are read
// back, and nothing left past them.
TEST_F(PathFieldTest, HistoryReadsAndWritesSixtyFourEntriesAtMost) {
  for (int n = 0; n < 70; ++n)
    store_.WriteString("Path2", HistoryEntryKey(n), n == 5 ? QString() : QString("/d%1").arg(n));
  store_.WriteString("Path2", "last_entry", "/d3");
  auto field = Field();
  field->LoadHistory();
  ASSERT_EQ(field->count(), 63);  // 0..63 without the empty number 5
  EXPECT_EQ(field->GetEntry(5), "/d6");
  EXPECT_EQ(field->GetEntry(62), "/d63");
  // "/d3" is matched first by "/d30".."/d39", which come after it: the search
  // starts at the second entry, so "/d3" itself (index 3) is found first.
  EXPECT_EQ(field->currentIndex(), 3);
  EXPECT_EQ(field->Text(), "/d3");

  field->AddEntry("/new");
  field->AddEntry("/new2");
  EXPECT_EQ(field->count(), 65) << "the list in memory is not cut";
  EXPECT_EQ(Stored("entry_000"), "/new2");
  EXPECT_EQ(Stored("entry_063"), "/d62");
  for (int n = 64; n < 70; ++n) EXPECT_EQ(Stored(HistoryEntryKey(n)), "<absent>") << n;
  EXPECT_EQ(Stored("last_entry"), "/new2");
}

TEST_F(PathFieldTest, EmptySectionReadsAndWritesNothing) {
  auto field = Field(QString());
  field->AddEntry("/a");
  EXPECT_EQ(field->count(), 1);
  EXPECT_TRUE(store_.ReadSection("").isEmpty());
  EXPECT_TRUE(store_.ReadSection("Path2").isEmpty());
  auto named = Field(QString(70, 'x'));
  EXPECT_EQ(named->Section().size(), 59);
}

}  // namespace
}  // namespace dupliora
