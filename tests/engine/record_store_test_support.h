// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <memory>

#include "engine/record_loader.h"
#include "engine/record_store.h"
#include "record_test_support.h"

namespace dupliora {

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
