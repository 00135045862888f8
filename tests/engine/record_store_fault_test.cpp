// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// A damaged, locked, read-only or full database: the store steps aside and
// the records are still made.
#include <sqlite3.h>

#include <QDir>
#include <QFile>

#include "engine/record_store.h"
#include "record_store_test_support.h"
#include "support/file_fixture.h"

namespace dupliora {
namespace {

using test::WritePicture;

class RecordStoreFaultTest : public RecordStoreTest {
 protected:
  void SetUp() override {
    picture_ = PathOf(QStringLiteral("picture.png"));
    ASSERT_TRUE(WritePicture(picture_, test::NoisyImage(QSize(240, 180), 4)));
    ASSERT_TRUE(AgeFile(picture_));
  }

  // Fills the store with `count` synthetic records and the picture's record.
  void Fill(int count) {
    auto store = OpenStore();
    for (int k = 0; k < count; ++k) {
      const SyntheticRecord r = MakeSyntheticRecord(QStringLiteral("/p/%1.jpg").arg(k), k);
      store->Put(r.path, r.entry, 2, *r.record, 0);
    }
    ASSERT_NE(Load(store.get(), picture_, 2), nullptr);
  }

  // The record is made whatever the store's state, and whether it came from it.
  bool ServedFromStore(RecordStore* store) {
    RecordOrigin origin{};
    EXPECT_NE(Load(store, picture_, 2, &origin), nullptr);
    return origin == RecordOrigin::kStore;
  }

  QString picture_;
};

TEST_F(RecordStoreFaultTest, DamagedFileIsSetAsideAndANewOneStarted) {
  struct Case {
    const char* label;
    qint64 offset;  // where garbage overwrites the file
  } const cases[] = {{"not a database", 0}, {"damaged pages", 65536 * 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    QDir(PathOf(QStringLiteral("cache"))).removeRecursively();
    Fill(100);
    QFile file(StoreFile());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(c.offset));
    file.write(QByteArray(65536 * 4, '\x5a'));
    file.close();
    {
      auto store = OpenStore();
      for (int k = 0; k < 100; ++k) {
        const SyntheticRecord r = MakeSyntheticRecord(QStringLiteral("/p/%1.jpg").arg(k), k);
        store->Find(r.path, r.entry, 2);  // runs into the damage sooner or later
      }
      EXPECT_FALSE(ServedFromStore(store.get()));
      store->Flush();
      EXPECT_EQ(store->Fault(), DbFault::kDamaged);
      EXPECT_TRUE(QFileInfo(StoreFile() + QStringLiteral(".damaged")).isFile());
      store->NewRun();  // found before the first run: that run tells of it
      EXPECT_EQ(store->Fault(), DbFault::kDamaged);
      store->NewRun();  // said once: the next run hears no more of it
      EXPECT_EQ(store->Fault(), DbFault::kNone);
    }
    auto store = OpenStore();
    EXPECT_TRUE(ServedFromStore(store.get()));  // written into the new file
    EXPECT_EQ(store->Fault(), DbFault::kNone);
  }
}

TEST_F(RecordStoreFaultTest, LockedDatabaseIsPassedByAndTriedAgainNextRun) {
  Fill(1);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(StoreFile()).constData(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other,
                         "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;"
                         " SELECT count(*) FROM entries;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  RecordStoreOptions options;
  options.busy_timeout_ms = 50;
  auto store = OpenStore(options);
  EXPECT_FALSE(ServedFromStore(store.get()));
  EXPECT_EQ(store->Fault(), DbFault::kLocked);
  EXPECT_FALSE(ServedFromStore(store.get()));  // no second wait
  sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  store->NewRun();  // the next run opens it again
  EXPECT_TRUE(ServedFromStore(store.get()));
  EXPECT_EQ(store->Fault(), DbFault::kNone);
}

TEST_F(RecordStoreFaultTest, ReadOnlyDiskIsReadButNotWritten) {
  test::ScratchMount disk(QStringLiteral("size=4096k"));
  if (!disk.Mounted()) GTEST_SKIP() << disk.Reason().toStdString();
  ASSERT_TRUE(QFile::link(disk.Path(), PathOf(QStringLiteral("cache"))));
  Fill(10);
  ASSERT_TRUE(disk.RemountReadOnly());
  const QString other = PathOf(QStringLiteral("other.png"));
  ASSERT_TRUE(WritePicture(other, test::GradientImage(QSize(200, 200))));
  ASSERT_TRUE(AgeFile(other));
  {
    auto store = OpenStore();
    EXPECT_TRUE(ServedFromStore(store.get()));
    EXPECT_EQ(store->Fault(), DbFault::kReadOnly);
    EXPECT_NE(Load(store.get(), other, 2), nullptr);  // made, not remembered
  }
  auto store = OpenStore();
  RecordOrigin origin{};
  EXPECT_NE(Load(store.get(), other, 2, &origin), nullptr);
  EXPECT_EQ(origin, RecordOrigin::kDecoded);
}

TEST_F(RecordStoreFaultTest, FullDiskTurnsWritingOffUntilTheNextRun) {
  test::ScratchMount disk(QStringLiteral("size=2048k"));
  if (!disk.Mounted()) GTEST_SKIP() << disk.Reason().toStdString();
  ASSERT_TRUE(QFile::link(disk.Path(), PathOf(QStringLiteral("cache"))));
  auto store = OpenStore();
  for (int k = 0; k < 400 && store->Fault() == DbFault::kNone; ++k) {
    const SyntheticRecord r = MakeSyntheticRecord(QStringLiteral("/p/%1.jpg").arg(k), k);
    store->Put(r.path, r.entry, 2, *r.record, 0);
    if (k % 25 == 24) store->Flush();
  }
  store->Flush();
  EXPECT_EQ(store->Fault(), DbFault::kFull);
  const SyntheticRecord first = MakeSyntheticRecord(QStringLiteral("/p/0.jpg"), 0);
  EXPECT_NE(store->Find(first.path, first.entry, 2), nullptr);  // what fitted is still read
  EXPECT_FALSE(ServedFromStore(store.get()));
  store->NewRun();
  EXPECT_EQ(store->Fault(), DbFault::kNone);
}

TEST_F(RecordStoreFaultTest, StoreThatCannotBeCreatedLeavesTheRecordsToTheDecoder) {
  ASSERT_TRUE(test::WriteBytes(PathOf(QStringLiteral("cache")), "a file where the folder goes"));
  auto store = OpenStore();
  EXPECT_FALSE(ServedFromStore(store.get()));
  EXPECT_EQ(store->Fault(), DbFault::kUnavailable);
}

}  // namespace
}  // namespace dupliora
