// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/record_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "engine/record_codec.h"
#include "engine/record_maker.h"
#include "record_store_test_support.h"

namespace dupliora {
namespace {

using test::WritePicture;

bool SameBytes(const ImageRecord& a, const ImageRecord& b) {
  return std::memcmp(&a, &b, sizeof(ImageRecord)) == 0;
}

TEST_F(RecordStoreTest, StoredRecordIsByteIdenticalToAFreshOneForEveryRuleAndMethod) {
  const QString square = PathOf(QStringLiteral("square.jpg"));
  const QString wide = PathOf(QStringLiteral("wide.jpg"));
  const QString camera = PathOf(QStringLiteral("camera.jpg"));
  const QString clear = PathOf(QStringLiteral("clear.png"));
  const QString odd = PathOf(QStringLiteral("drawing.unknownformat"));
  ASSERT_TRUE(WritePicture(square, test::NoisyImage(QSize(256, 256), 7)));
  ASSERT_TRUE(WritePicture(wide, test::NoisyImage(QSize(400, 200), 6)));
  ASSERT_TRUE(WritePicture(camera, test::NoisyImage(QSize(640, 480), 8)));
  ASSERT_TRUE(test::AddExifThumbnail(camera, test::GradientImage(QSize(160, 120))));
  ASSERT_TRUE(WritePicture(clear, test::SolidImage(QSize(200, 150), QColor(10, 200, 30, 90))));
  ASSERT_TRUE(test::WriteBytes(odd, "read by no plugin"));
  for (const QString& path : {square, wide, camera, clear, odd}) ASSERT_TRUE(AgeFile(path));
  ASSERT_TRUE(test::WriteCachedThumbnail(square, test::GradientImage(QSize(128, 128))));
  ASSERT_TRUE(test::WriteCachedThumbnail(wide, test::GradientImage(QSize(128, 64))));
  test::CachedThumbnailFacts facts;
  facts.image_size = QSize(800, 600);
  ASSERT_TRUE(test::WriteCachedThumbnail(odd, test::NoisyImage(QSize(128, 96), 9), facts));
  struct Case {
    const QString* path;
    int rule;
    int method;
  } const cases[] = {
      {&square, 1, kMethodThumbnailExtractor},
      {&square, 2, kMethodLibraryThumbnail},
      // The keep-aspect cached thumbnail of a wide picture is 64 x 32: no sample from it.
      {&wide, 1, kMethodLibraryThumbnail},
      {&camera, 1, kMethodLibraryThumbnail},
      {&camera, 2, kMethodLibraryThumbnail},
      {&camera, 3, kMethodLibraryDrawing},
      {&clear, 2, kMethodLibraryThumbnail},
      {&clear, 3, kMethodLibraryDrawing},
      {&odd, 2, kMethodThumbnailCache},
      {&odd, 1, kMethodThumbnailCache},
  };
  {
    auto writer = OpenStore();
    for (const Case& c : cases) ASSERT_NE(Load(writer.get(), *c.path, c.rule), nullptr);
  }
  auto reader = OpenStore();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.path->toStdString() << " rule " << c.rule);
    auto fresh = Make(*c.path, c.rule);
    ASSERT_TRUE(m_made);
    const FileEntry entry = *ReadFileEntry(*c.path);
    fresh->file_size = entry.size;
    fresh->last_write = entry.last_write;
    RecordOrigin origin{};
    const SharedRecord stored = Load(reader.get(), *c.path, c.rule, &origin);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(origin, RecordOrigin::kStore);
    EXPECT_EQ(stored->method, c.method);
    EXPECT_TRUE(SameBytes(*stored, *fresh));
  }
}

TEST_F(RecordStoreTest, AnyChangeOfFileRuleMakerOrThumbnailsIsAMiss) {
  const QString path = PathOf(QStringLiteral("picture.png"));
  ASSERT_TRUE(WritePicture(path, test::NoisyImage(QSize(300, 200), 3)));
  ASSERT_TRUE(AgeFile(path));
  const FileEntry entry = *ReadFileEntry(path);
  {
    auto store = OpenStore();
    ASSERT_NE(Load(store.get(), path, 1), nullptr);
    ASSERT_NE(Load(store.get(), path, 2), nullptr);
  }
  struct Case {
    const char* label;
    std::function<void(FileEntry&)> change;
    int rule = 2;
    std::int64_t maker_version = 0;
  } const cases[] = {
      {"unchanged", [](FileEntry&) {}},
      {"size", [](FileEntry& e) { ++e.size; }},
      {"time alone, by one nanosecond", [](FileEntry& e) { ++e.mtime_ns; }},
      {"inode", [](FileEntry& e) { ++e.identity.inode; }},
      {"device", [](FileEntry& e) { ++e.identity.device; }},
      {"rule", [](FileEntry&) {}, 3},
      {"record maker", [](FileEntry&) {}, 2, CurrentRecordMakerVersion() + 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RecordStoreOptions options;
    options.maker_version = c.maker_version;
    auto store = OpenStore(options);
    FileEntry changed = entry;
    c.change(changed);
    EXPECT_EQ(store->Find(path, changed, c.rule) != nullptr,
              changed == entry && c.rule == 2 && c.maker_version == 0);
  }
  // Rule 1 asks the thumbnail cache first, so a thumbnail that appears is a change.
  auto store = OpenStore();
  EXPECT_NE(store->Find(path, entry, 1), nullptr);
  ASSERT_TRUE(test::WriteCachedThumbnail(path, test::GradientImage(QSize(128, 128))));
  EXPECT_EQ(store->Find(path, entry, 1), nullptr);
  EXPECT_NE(store->Find(path, entry, 2), nullptr);
}

TEST_F(RecordStoreTest, FileReplacedWithSameSizeAndTimeIsMadeAgain) {
  const QString path = PathOf(QStringLiteral("a.png"));
  const QString other = PathOf(QStringLiteral("b.png"));
  ASSERT_TRUE(WritePicture(path, test::SolidImage(QSize(200, 200), Qt::white)));
  ASSERT_TRUE(WritePicture(other, test::SolidImage(QSize(200, 200), Qt::black)));
  ASSERT_EQ(QFileInfo(path).size(), QFileInfo(other).size());
  ASSERT_TRUE(AgeFile(path));
  auto store = OpenStore();
  ASSERT_NE(Load(store.get(), path, 2), nullptr);
  store->Flush();
  // Another picture moved over it, carrying the old file's time.
  const FileEntry before = *ReadFileEntry(path);
  namespace fs = std::filesystem;
  fs::last_write_time(other.toStdString(), fs::last_write_time(path.toStdString()));
  fs::rename(other.toStdString(), path.toStdString());
  const FileEntry after = *ReadFileEntry(path);
  ASSERT_EQ(after.size, before.size);
  ASSERT_EQ(after.mtime_ns, before.mtime_ns);
  RecordOrigin origin{};
  const SharedRecord record = Load(store.get(), path, 2, &origin);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(origin, RecordOrigin::kDecoded);
  EXPECT_EQ(record->brightness, 0);
}

TEST_F(RecordStoreTest, FileChangedMomentsAgoOrUnstorablePathIsNotRemembered) {
  const QString fresh = PathOf(QStringLiteral("just_saved.png"));
  const QString lone = PathOf(QStringLiteral("odd") + QChar(0xD800) + QStringLiteral(".png"));
  ASSERT_TRUE(WritePicture(fresh, test::GradientImage(QSize(200, 200))));
  {
    auto store = OpenStore();
    ASSERT_NE(Load(store.get(), fresh, 2), nullptr);
    const SyntheticRecord synthetic = MakeSyntheticRecord(lone, 1);
    store->Put(lone, synthetic.entry, 2, *synthetic.record, 0);
    store->Flush();
    EXPECT_EQ(store->Find(lone, synthetic.entry, 2), nullptr);
  }
  RecordOrigin origin{};
  auto store = OpenStore();
  EXPECT_NE(Load(store.get(), fresh, 2, &origin), nullptr);
  EXPECT_EQ(origin, RecordOrigin::kDecoded);
}

TEST_F(RecordStoreTest, TwoWritersAtOnceLoseNothing) {
  constexpr int kEach = 300;
  const auto write = [this](int first) {
    auto store = OpenStore();
    for (int k = first; k < first + kEach; ++k) {
      const SyntheticRecord r = MakeSyntheticRecord(QStringLiteral("/pics/%1.jpg").arg(k), k);
      store->Put(r.path, r.entry, 2, *r.record, 0);
    }
  };  // the store writes the rest as it closes
  std::thread one(write, 0);
  std::thread two(write, kEach / 2);  // half of the paths written by both
  one.join();
  two.join();
  auto store = OpenStore();
  int found = 0;
  for (int k = 0; k < kEach * 3 / 2; ++k) {
    const SyntheticRecord r = MakeSyntheticRecord(QStringLiteral("/pics/%1.jpg").arg(k), k);
    const SharedRecord stored = store->Find(r.path, r.entry, 2);
    found += stored && SameBytes(*stored, *r.record);
  }
  EXPECT_EQ(found, kEach * 3 / 2);
  EXPECT_EQ(store->Fault(), DbFault::kNone);
}

TEST_F(RecordStoreTest, PruningDropsEntriesNotSeenFor90DaysAndFilesGoneFromTheirFolder) {
  std::int64_t today = 20000;
  RecordStoreOptions options;
  options.today = [&today] { return today; };
  options.prune_when_opened = false;
  const QString kept = PathOf(QStringLiteral("kept.png"));
  const QString deleted = PathOf(QStringLiteral("deleted.png"));
  const QString unplugged = PathOf(QStringLiteral("drive/on_a_drive.png"));
  ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("drive"))));
  for (const QString& path : {kept, deleted, unplugged}) {
    ASSERT_TRUE(WritePicture(path, test::NoisyImage(QSize(200, 200), 1)));
    ASSERT_TRUE(AgeFile(path));
  }
  const SyntheticRecord old_one = MakeSyntheticRecord(QStringLiteral("/nowhere/old.jpg"), 5);
  const SyntheticRecord seen = MakeSyntheticRecord(QStringLiteral("/nowhere/seen.jpg"), 6);
  auto store = OpenStore(options);
  for (const QString& path : {kept, deleted, unplugged})
    ASSERT_NE(Load(store.get(), path, 2), nullptr);
  for (const SyntheticRecord* r : {&old_one, &seen})
    store->Put(r->path, r->entry, 2, *r->record, 0);
  const FileEntry deleted_entry = *ReadFileEntry(deleted);
  const FileEntry unplugged_entry = *ReadFileEntry(unplugged);
  store->Flush();
  today += 10;
  ASSERT_NE(store->Find(seen.path, seen.entry, 2), nullptr);  // marks it seen today
  ASSERT_NE(Load(store.get(), kept, 2), nullptr);
  ASSERT_NE(Load(store.get(), unplugged, 2), nullptr);
  today += 85;  // old_one: 95 days unseen, seen: 85
  ASSERT_TRUE(QFile::remove(deleted));
  ASSERT_TRUE(QDir(PathOf(QStringLiteral("drive"))).removeRecursively());
  store->Prune();
  EXPECT_EQ(store->Find(old_one.path, old_one.entry, 2), nullptr);
  EXPECT_NE(store->Find(seen.path, seen.entry, 2), nullptr);
  EXPECT_NE(Load(store.get(), kept, 2), nullptr);
  EXPECT_EQ(store->Find(deleted, deleted_entry, 2), nullptr);
  EXPECT_NE(store->Find(unplugged, unplugged_entry, 2), nullptr);  // its folder may come back
}

TEST_F(RecordStoreTest, ClearEmptiesTheStoreAndGivesTheSpaceBack) {
  auto store = OpenStore();
  std::vector<SyntheticRecord> records;
  for (int k = 0; k < 200; ++k) {
    records.push_back(MakeSyntheticRecord(QStringLiteral("/p/%1.jpg").arg(k), k));
    store->Put(records.back().path, records.back().entry, 2, *records.back().record, 0);
  }
  store->Flush();
  const std::uint64_t full = RecordStore::SizeOnDisk(StoreFile());
  EXPECT_GT(full, 200u * kEncodedRecordSize);
  store->Clear();
  EXPECT_EQ(store->Find(records[7].path, records[7].entry, 2), nullptr);
  EXPECT_LT(RecordStore::SizeOnDisk(StoreFile()), full / 3);
  EXPECT_EQ(store->Fault(), DbFault::kNone);
}

}  // namespace
}  // namespace dupliora
