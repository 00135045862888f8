// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The inside of RecordStore, shared by its reading, writing and opening parts.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/record_store.h"
#include "platform/file_identity.h"

namespace dupliora {

// One queued piece of work for the writer thread.
struct StoreOp {
  enum Kind { kPut, kTouch, kClear, kPrune } kind = kPut;
  QByteArray path;  // UTF-8, the key with `rule`
  std::int64_t rule = 0;
  std::int64_t size = 0;  // unsigned values are stored as their bit patterns
  std::int64_t mtime_ns = 0;
  std::int64_t inode = 0;
  std::int64_t device = 0;
  std::int64_t thumbnails = 0;  // 0: the record owes nothing to the thumbnail cache
  std::int64_t id = 0;          // kTouch: the entry seen today
  QByteArray data;              // kPut: the encoded record
  bool IsJob() const { return kind == kClear || kind == kPrune; }
};

// The columns of one stored entry as read.
struct StoredRow {
  std::int64_t id = 0;
  std::int64_t size = 0;
  std::int64_t mtime_ns = 0;
  std::int64_t inode = 0;
  std::int64_t device = 0;
  std::int64_t version = 0;
  std::int64_t thumbnails = 0;
  std::int64_t seen_day = 0;
  QByteArray data;
};

class RecordStore::Impl {
 public:
  Impl(QString file, RecordStoreOptions options);
  ~Impl();

  SharedRecord Find(const QString& path, const FileEntry& entry, int rule);
  void Put(const QString& path, const FileEntry& entry, int rule, const ImageRecord& record,
           std::int64_t thumbnails);
  void Flush();
  void RunJob(StoreOp::Kind kind, bool wait);
  DbFault Fault() const { return fault_.load(); }
  void NewRun();

  const QString file_;

 private:
  // Writer thread.
  void WriterMain();
  // Opens the database (again), or recovers a damaged one, while finds and
  // puts wait; then lets them go on.
  void Reopen(bool recover);
  bool NextBatch(std::vector<StoreOp>& batch, bool& prune_due);
  void Process(std::vector<StoreOp>& batch);
  void WriteBatch(const std::vector<StoreOp>& batch);
  int ApplyBatch(const std::vector<StoreOp>& batch);
  int ClearAll();
  int PruneAll();
  int PruneGoneFiles();
  int DeleteEntries(const std::vector<std::int64_t>& ids);
  bool PruneDue();
  int Compact();
  // A failed write: retries a locked database, recovers a damaged one, else
  // turns writes off. True when the work should be tried again.
  bool OnWriteFailure(int result, int attempt);

  // Opening and recovery (record_store_open.cpp).
  void Open();
  int OpenAndPrepare();
  int EnsureSchema();
  int ReadSchemaVersion(bool writable);
  int PrepareStatements();
  void Close();
  void Recover();
  bool MoveAside();
  void NoteFault(DbFault fault);

  bool WaitOpened();
  void RequestReopen(bool recover);
  int ReadRow(const QByteArray& key, int rule, StoredRow& row);
  void Enqueue(StoreOp op);
  std::int64_t Today() const;

  RecordStoreOptions options_;

  std::mutex read_mutex_;  // the reading connection and its statement
  std::unique_ptr<Db> reader_;
  DbStatement find_;
  std::atomic<bool> readable_{false};  // opened and readable
  std::atomic<bool> reads_on_{false};

  std::unique_ptr<Db> writer_;  // the writer thread's alone
  DbStatement put_entry_;
  DbStatement put_sample_;
  DbStatement touch_;
  Db::Mode reader_mode_ = Db::Mode::kExisting;
  FileIdentity identity_;  // of the file opened, so we never set aside another's new file
  std::atomic<bool> writable_{false};
  std::atomic<bool> writes_on_{false};

  std::mutex queue_mutex_;
  std::condition_variable queue_cv_;  // the writer waits for work
  std::condition_variable done_cv_;   // Flush, jobs and a full queue wait for the writer
  std::deque<StoreOp> queue_;
  std::uint64_t queued_ = 0;
  std::uint64_t done_ = 0;
  int hurry_ = 0;  // callers waiting: write without the batching delay
  bool opened_ = false;
  bool stopping_ = false;
  bool recover_requested_ = false;
  bool reopen_requested_ = false;
  std::atomic<bool> open_done_{false};

  std::atomic<DbFault> fault_{DbFault::kNone};
  std::atomic<int> runs_{0};        // NewRun calls so far
  std::atomic<int> damage_run_{0};  // the run whose cache line tells of the damage
  std::thread thread_;
};

}  // namespace dupliora
