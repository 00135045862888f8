// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/record_store.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <algorithm>
#include <chrono>

#include "engine/record_codec.h"
#include "engine/record_maker.h"
#include "engine/record_store_impl.h"
#include "platform/thumbnail_cache.h"

namespace dupliora {

namespace {

// About 17 MB of encoded records: a writer that falls behind (a database
// locked by another program) slows the loader instead of filling memory.
constexpr std::size_t kMaxQueued = 4096;

// The path as the key stores it; nothing when UTF-8 cannot carry it exactly
// (a lone surrogate would come back as another path).
std::optional<QByteArray> PathKey(const QString& path) {
  QByteArray utf8 = path.toUtf8();
  if (QString::fromUtf8(utf8) != path) return std::nullopt;
  return utf8;
}

std::int64_t Bits(std::uint64_t value) { return static_cast<std::int64_t>(value); }

}  // namespace

RecordStore::Impl::Impl(QString file, RecordStoreOptions options)
    : file_(std::move(file)), options_(std::move(options)) {
  if (options_.maker_version == 0) options_.maker_version = CurrentRecordMakerVersion();
  thread_ = std::thread(&Impl::WriterMain, this);
}

RecordStore::Impl::~Impl() {
  {
    std::lock_guard lock(queue_mutex_);
    stopping_ = true;
  }
  queue_cv_.notify_all();
  thread_.join();
}

std::int64_t RecordStore::Impl::Today() const {
  if (options_.today) return options_.today();
  using namespace std::chrono;
  return duration_cast<days>(system_clock::now().time_since_epoch()).count();
}

bool RecordStore::Impl::WaitOpened() {
  if (!open_done_.load()) {
    std::unique_lock lock(queue_mutex_);
    done_cv_.wait(lock, [this] { return opened_; });
  }
  return reads_on_.load();
}

SharedRecord RecordStore::Impl::Find(const QString& path, const FileEntry& entry, int rule) {
  const std::optional<QByteArray> key = PathKey(path);
  if (!key || !WaitOpened()) return nullptr;
  StoredRow row;
  const int result = ReadRow(*key, rule, row);
  const DbFault fault = FaultOfResult(result);
  if (fault == DbFault::kDamaged) {
    RequestReopen(true);
  } else if (fault != DbFault::kNone) {
    reads_on_ = false;  // one long wait is enough: the run goes on without the store
    NoteFault(fault);
  }
  if (result != SQLITE_ROW || row.size != Bits(entry.size) || row.mtime_ns != entry.mtime_ns ||
      row.inode != Bits(entry.identity.inode) || row.device != Bits(entry.identity.device) ||
      row.version != options_.maker_version) {
    return nullptr;
  }
  // Rule 1 asks the thumbnail cache first: what it holds now decides the method.
  if ((rule == 1 || row.thumbnails != 0) && ThumbnailCacheState(path) != row.thumbnails) {
    return nullptr;
  }
  auto record = std::make_shared<ImageRecord>();  // zero-filled like a fresh one
  if (!DecodeRecord(row.data, path, entry, *record)) return nullptr;
  if (row.seen_day < Today() && writes_on_.load()) {
    StoreOp touch;
    touch.kind = StoreOp::kTouch;
    touch.id = row.id;
    Enqueue(std::move(touch));
  }
  return record;
}

int RecordStore::Impl::ReadRow(const QByteArray& key, int rule, StoredRow& row) {
  std::lock_guard lock(read_mutex_);
  if (!reader_) return SQLITE_DONE;
  find_.BindText(1, key);
  find_.Bind(2, std::int64_t{rule});
  const int result = find_.Step();
  if (result == SQLITE_ROW) {
    row = {find_.Int(0), find_.Int(1), find_.Int(2),
           find_.Int(3), find_.Int(4), find_.Int(5),
           find_.Int(6), find_.Int(7), find_.Blob(8).toByteArray()};
  }
  find_.Reset();
  return result;
}

void RecordStore::Impl::Put(const QString& path, const FileEntry& entry, int rule,
                            const ImageRecord& record, std::int64_t thumbnails) {
  if (open_done_.load() && !writes_on_.load()) return;
  std::optional<QByteArray> key = PathKey(path);
  if (!key) return;
  StoreOp op;
  op.path = std::move(*key);
  op.rule = rule;
  op.size = Bits(entry.size);
  op.mtime_ns = entry.mtime_ns;
  op.inode = Bits(entry.identity.inode);
  op.device = Bits(entry.identity.device);
  op.thumbnails = thumbnails;
  op.data = EncodeRecord(record);
  Enqueue(std::move(op));
}

void RecordStore::Impl::Enqueue(StoreOp op) {
  {
    std::unique_lock lock(queue_mutex_);
    done_cv_.wait(lock, [this] {
      return queue_.size() < kMaxQueued || stopping_ || (open_done_ && !writes_on_);
    });
    queue_.push_back(std::move(op));
    ++queued_;
  }
  queue_cv_.notify_all();
}

void RecordStore::Impl::Flush() {
  std::unique_lock lock(queue_mutex_);
  const std::uint64_t target = queued_;
  ++hurry_;
  queue_cv_.notify_all();
  done_cv_.wait(lock, [&] { return done_ >= target; });
  --hurry_;
}

void RecordStore::Impl::RunJob(StoreOp::Kind kind, bool wait) {
  StoreOp job;
  job.kind = kind;
  Enqueue(std::move(job));
  if (wait) Flush();
}

void RecordStore::Impl::NewRun() {
  const DbFault fault = fault_.load();
  const int run = ++runs_;
  // The run that met the damage said so; the new file serves the next one.
  if (fault == DbFault::kDamaged && readable_.load() && damage_run_.load() < run) {
    fault_ = DbFault::kNone;
    return;
  }
  if (fault != DbFault::kLocked && fault != DbFault::kFull) return;
  fault_ = DbFault::kNone;
  if (readable_.load()) {
    reads_on_ = true;
    writes_on_ = writable_.load();
    return;
  }
  RequestReopen(false);  // locked while opening: open it again
}

void RecordStore::Impl::RequestReopen(bool recover) {
  {
    std::lock_guard lock(queue_mutex_);
    // Finds and puts wait for the writer to open it, instead of passing it by.
    opened_ = false;
    open_done_ = false;
    (recover ? recover_requested_ : reopen_requested_) = true;
  }
  queue_cv_.notify_all();
}

void RecordStore::Impl::NoteFault(DbFault fault) {
  // A damaged file that was set aside stays the news until something worse.
  if (fault != DbFault::kNone) fault_ = fault;
  // Found before the first run began (on opening), it is that run's news.
  if (fault == DbFault::kDamaged) damage_run_ = std::max(runs_.load(), 1);
}

RecordStore::RecordStore(QString file, RecordStoreOptions options)
    : impl_(std::make_unique<Impl>(std::move(file), std::move(options))) {}

RecordStore::~RecordStore() = default;

const QString& RecordStore::File() const { return impl_->file_; }

SharedRecord RecordStore::Find(const QString& path, const FileEntry& entry, int rule) {
  return impl_->Find(path, entry, rule);
}

void RecordStore::Put(const QString& path, const FileEntry& entry, int rule,
                      const ImageRecord& record, std::int64_t thumbnails) {
  impl_->Put(path, entry, rule, record, thumbnails);
}

void RecordStore::Flush() { impl_->Flush(); }
void RecordStore::Clear() { impl_->RunJob(StoreOp::kClear, true); }
void RecordStore::ClearInBackground() { impl_->RunJob(StoreOp::kClear, false); }
void RecordStore::Prune() { impl_->RunJob(StoreOp::kPrune, true); }
DbFault RecordStore::Fault() const { return impl_->Fault(); }
void RecordStore::NewRun() { impl_->NewRun(); }

std::uint64_t RecordStore::SizeOnDisk(const QString& file) {
  std::uint64_t bytes = 0;
  for (const QString& part : {file, file + QStringLiteral("-wal")}) {
    const QFileInfo info(part);
    if (info.isFile()) bytes += static_cast<std::uint64_t>(info.size());
  }
  return bytes;
}

}  // namespace dupliora
