// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/file_list.h"
#include "engine/record_table.h"
#include "engine/sqlite_db.h"

namespace dupliora {

struct RecordStoreOptions {
  std::int64_t maker_version = 0;       // 0: CurrentRecordMakerVersion()
  int busy_timeout_ms = 2000;           // how long a write waits for another program
  int keep_days = 90;                   // entries not seen for longer are pruned
  bool prune_when_opened = true;        // once a day, in the background
  std::function<std::int64_t()> today;  // days since 1970 (UTC); tests move the clock
};

// Records that outlive the program, in one SQLite database shared by every
// window and dupliora-cli of the user. A record is served only when the file
// still has the path, size, modification time (ns), inode and device it was
// made from, and was made under the same signature rule by the same record
// maker version; a record that the thumbnail cache had a hand in (rule 1, or
// the fallback) also needs the cached thumbnails unchanged. Anything else is
// a miss and the file is decoded again.
//
// Reads run on the caller's thread; writes are queued and written in batched
// transactions by the store's own thread. A damaged database is set aside and
// a new one started; a read-only, full or locked one turns reads or writes off
// and the run goes on without them. Thread-safe.
class RecordStore {
 public:
  explicit RecordStore(QString file, RecordStoreOptions options = {});
  ~RecordStore();  // writes what is queued (waiting at most the busy timeout)
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  const QString& File() const;

  // The stored record of this file, or null.
  SharedRecord Find(const QString& path, const FileEntry& entry, int rule);
  // Queues a record just made from the file for writing. `thumbnails` is the
  // file's ThumbnailCacheState when the record was made.
  void Put(const QString& path, const FileEntry& entry, int rule, const ImageRecord& record,
           std::int64_t thumbnails);
  // Waits until everything queued so far is written (or given up).
  void Flush();
  // Removes every entry and gives the space back; waits for it.
  void Clear();
  // The same without waiting (for the window's thread).
  void ClearInBackground();
  // Removes entries not seen for keep_days and entries of files that are gone
  // from a folder that is still there (an unplugged drive keeps its entries).
  // Waits for it; the store also does this by itself once a day.
  void Prune();

  // Why reads or writes are off (or that the file was damaged and started
  // anew); kNone while all is well.
  DbFault Fault() const;
  // A run begins: a database that was locked or full is tried again, and a
  // damaged one that was set aside and started anew is old news.
  void NewRun();

  // Bytes the database takes on disk, with its write-ahead log.
  static std::uint64_t SizeOnDisk(const QString& file);

  class Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace dupliora
