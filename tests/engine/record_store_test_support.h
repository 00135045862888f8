// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <memory>

#include "engine/record_loader.h"
#include "engine/record_store.h"
#include "record_test_support.h"

namespace dupliora {

// A tmpfs mounted over a folder for the life of the object: a disk that can be
// made read-only or full. Needs the right to mount; `skip_reason` says why not.
class ScopedTmpfs {
 public:
  ScopedTmpfs(const QString& folder, int kilobytes);
  ~ScopedTmpfs();
  ScopedTmpfs(const ScopedTmpfs&) = delete;
  ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;

  bool mounted() const { return mounted_; }
  const QString& skip_reason() const { return skip_reason_; }
  bool MakeReadOnly();

 private:
  QString folder_;
  bool mounted_ = false;
  QString skip_reason_;
};

// Record tests with a store file in the temporary folder.
class RecordStoreTest : public RecordTest {
 protected:
  QString StoreFile() const { return PathOf(QStringLiteral("cache/records.sqlite")); }
  std::unique_ptr<RecordStore> OpenStore(RecordStoreOptions options = {}) const {
    return std::make_unique<RecordStore>(StoreFile(), std::move(options));
  }

  // The record of a file through a fresh session cache, as a new program
  // would get it.
  SharedRecord Load(RecordStore* store, const QString& path, int rule,
                    RecordOrigin* origin = nullptr) {
    ImageCache cache;
    RecordMaker maker(rule);
    const std::optional<FileEntry> entry = ReadFileEntry(path);
    return entry ? GetRecord(path, *entry, cache, store, maker, origin) : nullptr;
  }
};

// Sets the file's modification time an hour back: records of files changed
// moments ago are not stored.
bool AgeFile(const QString& path);

// A synthetic record and the entry of a file that need not exist.
struct SyntheticRecord {
  QString path;
  FileEntry entry;
  std::unique_ptr<ImageRecord> record;
};
SyntheticRecord MakeSyntheticRecord(const QString& path, int seed);

}  // namespace dupliora
