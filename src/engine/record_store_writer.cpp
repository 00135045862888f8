// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The store's writer thread: batched transactions, clearing and pruning.
#include <sqlite3.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <chrono>

#include "engine/record_store_impl.h"

namespace dupliora {

namespace {

using namespace std::chrono_literals;

// One transaction per 256 records (about 1 MB) or per 100 ms: measured,
// larger batches write no faster, and a short delay keeps a second program
// waiting for the write lock for milliseconds only.
constexpr std::size_t kBatchSize = 256;
constexpr auto kBatchDelay = 100ms;
// The daily pruning waits for a quiet moment.
constexpr auto kIdleBeforePrune = 2s;
constexpr int kLockedRetries = 3;
constexpr auto kLockedPause = 500ms;
constexpr int kPruneChunk = 256;

// Gone means: the file is missing from a folder that is still there. A
// missing folder may be an unplugged drive or an unmounted share.
bool FileIsGone(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) == 0) return false;
  if (errno != ENOENT) return false;
  return QFileInfo(QFileInfo(path).absolutePath()).isDir();
}

int DoneOrError(int step_result) { return step_result == SQLITE_DONE ? SQLITE_OK : step_result; }

}  // namespace

void RecordStore::Impl::WriterMain() {
  Reopen(false);
  bool prune_due = options_.prune_when_opened && writes_on_.load() && PruneDue();
  std::vector<StoreOp> batch;
  while (NextBatch(batch, prune_due)) {
    Process(batch);
    {
      std::lock_guard lock(queue_mutex_);
      done_ += batch.size();
    }
    done_cv_.notify_all();
    batch.clear();
  }
  Close();
}

void RecordStore::Impl::Reopen(bool recover) {
  {
    std::lock_guard lock(queue_mutex_);
    opened_ = false;
    open_done_ = false;
  }
  if (recover) {
    Recover();
  } else {
    Open();
  }
  {
    std::lock_guard lock(queue_mutex_);
    opened_ = true;
    open_done_ = true;
  }
  done_cv_.notify_all();
}

// Waits for work and takes either one job or a batch of puts and touches.
// False when the store is closing and nothing is left.
bool RecordStore::Impl::NextBatch(std::vector<StoreOp>& batch, bool& prune_due) {
  std::unique_lock lock(queue_mutex_);
  const auto ready = [this] {
    return stopping_ || !queue_.empty() || recover_requested_ || reopen_requested_;
  };
  while (!ready()) {
    if (!prune_due) {
      queue_cv_.wait(lock, ready);
    } else if (!queue_cv_.wait_for(lock, kIdleBeforePrune, ready)) {
      prune_due = false;
      lock.unlock();
      PruneAll();
      lock.lock();
    }
  }
  if (recover_requested_ || reopen_requested_) {
    const bool recover = recover_requested_;
    recover_requested_ = reopen_requested_ = false;
    lock.unlock();
    Reopen(recover);
    lock.lock();
  }
  if (queue_.empty()) return !stopping_;
  if (!stopping_ && hurry_ == 0 && queue_.size() < kBatchSize) {
    queue_cv_.wait_for(lock, kBatchDelay,
                       [this] { return stopping_ || hurry_ > 0 || queue_.size() >= kBatchSize; });
  }
  if (queue_.front().IsJob()) {
    batch.push_back(std::move(queue_.front()));
    queue_.pop_front();
    return true;
  }
  while (!queue_.empty() && batch.size() < kBatchSize && !queue_.front().IsJob()) {
    batch.push_back(std::move(queue_.front()));
    queue_.pop_front();
  }
  return true;
}

void RecordStore::Impl::Process(std::vector<StoreOp>& batch) {
  if (batch.empty() || !writes_on_.load()) return;  // dropped: the store is off
  if (batch.front().kind == StoreOp::kClear) {
    for (int attempt = 0; OnWriteFailure(ClearAll(), attempt); ++attempt) {
    }
  } else if (batch.front().kind == StoreOp::kPrune) {
    PruneAll();
  } else {
    WriteBatch(batch);
  }
}

void RecordStore::Impl::WriteBatch(const std::vector<StoreOp>& batch) {
  for (int attempt = 0; OnWriteFailure(ApplyBatch(batch), attempt); ++attempt) {
  }
}

bool RecordStore::Impl::OnWriteFailure(int result, int attempt) {
  const DbFault fault = FaultOfResult(result);
  if (fault == DbFault::kNone) return false;
  if (fault == DbFault::kLocked && attempt < kLockedRetries) {
    std::unique_lock lock(queue_mutex_);
    if (!stopping_) {
      queue_cv_.wait_for(lock, kLockedPause, [this] { return stopping_; });
      return true;
    }
  }
  if (fault == DbFault::kDamaged && attempt == 0) {
    Reopen(true);
    return writes_on_.load();  // the work goes into the new file
  }
  writes_on_ = false;
  NoteFault(fault);
  done_cv_.notify_all();  // a loader waiting for room in the queue goes on
  return false;
}

int RecordStore::Impl::ApplyBatch(const std::vector<StoreOp>& batch) {
  if (!writer_) return SQLITE_MISUSE;
  DbTransaction transaction(*writer_);
  if (transaction.begin_result() != SQLITE_OK) return transaction.begin_result();
  const std::int64_t today = Today();
  for (const StoreOp& op : batch) {
    int result = SQLITE_DONE;
    if (op.kind == StoreOp::kPut) {
      put_entry_.BindText(1, op.path);
      put_entry_.Bind(2, op.rule);
      put_entry_.Bind(3, op.size);
      put_entry_.Bind(4, op.mtime_ns);
      put_entry_.Bind(5, op.inode);
      put_entry_.Bind(6, op.device);
      put_entry_.Bind(7, options_.maker_version);
      put_entry_.Bind(8, op.thumbnails);
      put_entry_.Bind(9, today);
      result = put_entry_.Step();
      const std::int64_t id = result == SQLITE_ROW ? put_entry_.Int(0) : 0;
      if (result == SQLITE_ROW) result = put_entry_.Step();  // the end of RETURNING
      put_entry_.Reset();
      if (result == SQLITE_DONE) {
        put_sample_.Bind(1, id);
        put_sample_.Bind(2, QByteArrayView(op.data));
        result = put_sample_.Step();
        put_sample_.Reset();
      }
    } else if (op.kind == StoreOp::kTouch) {
      touch_.Bind(1, today);
      touch_.Bind(2, op.id);
      result = touch_.Step();
      touch_.Reset();
    }
    if (result != SQLITE_DONE) return result;
  }
  return transaction.Commit();
}

int RecordStore::Impl::ClearAll() {
  if (!writer_) return SQLITE_MISUSE;
  DbTransaction transaction(*writer_);
  int result = transaction.begin_result();
  if (result == SQLITE_OK) result = writer_->Exec("DELETE FROM samples; DELETE FROM entries;");
  if (result == SQLITE_OK) result = transaction.Commit();
  return result == SQLITE_OK ? Compact() : result;
}

// Gives freed pages back to the file system and empties the log.
int RecordStore::Impl::Compact() {
  const int result = writer_->Exec("PRAGMA incremental_vacuum");
  writer_->Exec("PRAGMA wal_checkpoint(TRUNCATE)");  // busy readers only delay it
  return result;
}

bool RecordStore::Impl::PruneDue() {
  return writer_ && writer_->QueryInt("SELECT value FROM meta WHERE key = 'pruned'", 0) < Today();
}

int RecordStore::Impl::PruneAll() {
  if (!writer_ || !writes_on_.load()) return SQLITE_OK;
  const std::int64_t oldest = Today() - options_.keep_days;
  int result = SQLITE_OK;
  {
    DbTransaction transaction(*writer_);
    result = transaction.begin_result();
    DbStatement old_samples(writer_->handle(),
                            "DELETE FROM samples WHERE id IN "
                            "(SELECT id FROM entries WHERE seen_day < ?1)");
    DbStatement old_entries(writer_->handle(), "DELETE FROM entries WHERE seen_day < ?1");
    for (DbStatement* statement : {&old_samples, &old_entries}) {
      if (result != SQLITE_OK) break;
      statement->Bind(1, oldest);
      result = DoneOrError(statement->Step());
    }
    if (result == SQLITE_OK) result = transaction.Commit();
  }
  if (result == SQLITE_OK) result = PruneGoneFiles();
  if (result == SQLITE_OK) {
    DbStatement mark(writer_->handle(),
                     "INSERT OR REPLACE INTO meta(key, value) VALUES('pruned', ?1)");
    mark.Bind(1, Today());
    result = DoneOrError(mark.Step());
  }
  if (result == SQLITE_OK) result = Compact();
  OnWriteFailure(result, kLockedRetries);  // no retries: tomorrow is another day
  return result;
}

// Walks the entries in chunks, so the write lock is held only to delete.
int RecordStore::Impl::PruneGoneFiles() {
  DbStatement chunk(writer_->handle(),
                    "SELECT id, path FROM entries WHERE id > ?1 ORDER BY id LIMIT ?2");
  std::int64_t after = 0;
  while (true) {
    {
      std::lock_guard lock(queue_mutex_);
      if (stopping_) return SQLITE_OK;
    }
    std::vector<std::pair<std::int64_t, QString>> rows;
    chunk.Bind(1, after);
    chunk.Bind(2, std::int64_t{kPruneChunk});
    int result;
    while ((result = chunk.Step()) == SQLITE_ROW) rows.emplace_back(chunk.Int(0), chunk.String(1));
    chunk.Reset();
    if (result != SQLITE_DONE) return result;
    if (rows.empty()) return SQLITE_OK;
    after = rows.back().first;
    std::vector<std::int64_t> gone;
    for (const auto& [id, path] : rows) {
      if (FileIsGone(path)) gone.push_back(id);
    }
    if (!gone.empty()) {
      result = DeleteEntries(gone);
      if (result != SQLITE_OK) return result;
    }
  }
}

int RecordStore::Impl::DeleteEntries(const std::vector<std::int64_t>& ids) {
  DbTransaction transaction(*writer_);
  if (transaction.begin_result() != SQLITE_OK) return transaction.begin_result();
  DbStatement sample(writer_->handle(), "DELETE FROM samples WHERE id = ?1");
  DbStatement entry(writer_->handle(), "DELETE FROM entries WHERE id = ?1");
  for (std::int64_t id : ids) {
    for (DbStatement* statement : {&sample, &entry}) {
      statement->Bind(1, id);
      const int result = DoneOrError(statement->Step());
      statement->Reset();
      if (result != SQLITE_OK) return result;
    }
  }
  return transaction.Commit();
}

}  // namespace dupliora
