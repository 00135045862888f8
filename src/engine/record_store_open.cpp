// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Opening the store's database, its schema, and setting a damaged one aside.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "engine/record_codec.h"
#include "engine/record_store_impl.h"

namespace dupliora {

namespace {

// How pictures become records: raised when a change makes some pictures'
// records differ (2: an EXIF thumbnail written for another picture size is
// no longer sampled), so records made the old way are made again.
constexpr std::int64_t kRecordMakingRevision = 2;

// The schema, the codec and the making together: a database of another
// layout, or of records made the old way, is emptied.
constexpr std::int64_t kSchemaVersion = 1000 * kRecordMakingRevision + kRecordCodecVersion;

// 64 KB pages hold fifteen 4 KB records each; at the default 4 KB page every
// record would spill into an overflow page of its own, at about 4.6 KB per
// picture. The pruned and cleared space goes back to the file system.
constexpr const char* kNewDatabasePragmas =
    "PRAGMA page_size = 65536; PRAGMA auto_vacuum = INCREMENTAL;";
// Commits need not reach the disk before the next one: a crash loses at most
// the last records, which are made again. The log is checkpointed every 4 MB.
constexpr const char* kConnectionPragmas =
    "PRAGMA synchronous = NORMAL; PRAGMA wal_autocheckpoint = 64;"
    "PRAGMA journal_size_limit = 4194304;";

// The last seen day lives with the entry, not the 4 KB sample, so marking
// entries seen writes small pages only.
constexpr const char* kCreateTables =
    "DROP TABLE IF EXISTS entries; DROP TABLE IF EXISTS samples; DROP TABLE IF EXISTS meta;"
    "CREATE TABLE entries(id INTEGER PRIMARY KEY, path TEXT NOT NULL, rule INTEGER NOT NULL,"
    " size INTEGER NOT NULL, mtime_ns INTEGER NOT NULL, inode INTEGER NOT NULL,"
    " device INTEGER NOT NULL, version INTEGER NOT NULL, thumbnails INTEGER NOT NULL,"
    " seen_day INTEGER NOT NULL,"
    " UNIQUE(path, rule));"
    "CREATE TABLE samples(id INTEGER PRIMARY KEY, data BLOB NOT NULL);"
    "CREATE TABLE meta(key TEXT PRIMARY KEY, value INTEGER);";

constexpr const char* kFind =
    "SELECT e.id, e.size, e.mtime_ns, e.inode, e.device, e.version, e.thumbnails, e.seen_day,"
    " s.data"
    " FROM entries AS e JOIN samples AS s ON s.id = e.id WHERE e.path = ?1 AND e.rule = ?2";
constexpr const char* kPutEntry =
    "INSERT INTO entries(path, rule, size, mtime_ns, inode, device, version, thumbnails,"
    " seen_day) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) ON CONFLICT(path, rule) DO UPDATE"
    " SET size = excluded.size, mtime_ns = excluded.mtime_ns, inode = excluded.inode,"
    " device = excluded.device, version = excluded.version, thumbnails = excluded.thumbnails,"
    " seen_day = excluded.seen_day RETURNING id";
constexpr const char* kPutSample = "INSERT OR REPLACE INTO samples(id, data) VALUES(?1, ?2)";
constexpr const char* kTouch = "UPDATE entries SET seen_day = ?1 WHERE id = ?2";

// Held while a damaged file is set aside, so two programs that both found
// it damaged never set aside the new file the other one just made.
class AsideLock {
 public:
  explicit AsideLock(const QString& file)
      : fd_(::open(QFile::encodeName(file + QStringLiteral(".lock")).constData(),
                   O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~AsideLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  AsideLock(const AsideLock&) = delete;
  AsideLock& operator=(const AsideLock&) = delete;

 private:
  int fd_;
};

}  // namespace

void RecordStore::Impl::Open() {
  if (!QDir().mkpath(QFileInfo(file_).absolutePath())) {
    NoteFault(DbFault::kUnavailable);
    return;
  }
  int result = OpenAndPrepare();
  if (FaultOfResult(result) == DbFault::kDamaged) {
    Recover();
    return;
  }
  if (result != SQLITE_OK) {
    Close();
    NoteFault(FaultOfResult(result) == DbFault::kNone ? DbFault::kUnavailable
                                                      : FaultOfResult(result));
  }
}

int RecordStore::Impl::OpenAndPrepare() {
  reader_mode_ = Db::Mode::kExisting;
  writer_ = std::make_unique<Db>(file_, Db::Mode::kCreate, options_.busy_timeout_ms);
  if (!writer_->ok()) return writer_->result();
  identity_ = IdentityOf(file_);
  bool writable = !writer_->read_only();
  if (writable) {
    int result = writer_->Exec(kNewDatabasePragmas);
    if (result == SQLITE_OK) result = writer_->Exec("PRAGMA journal_mode = WAL");
    if (result == SQLITE_OK) result = writer_->Exec(kConnectionPragmas);
    if (result == SQLITE_OK) result = EnsureSchema();
    if (FaultOfResult(result) == DbFault::kReadOnly) {
      writable = false;  // a read-only mount opens read-write and refuses the first write
    } else if (result != SQLITE_OK) {
      return result;
    }
  }
  int result = ReadSchemaVersion(writable);
  if (result != SQLITE_OK) return result;
  writable_ = writable;
  result = PrepareStatements();
  if (result != SQLITE_OK) return result;
  if (!writable) NoteFault(DbFault::kReadOnly);
  readable_ = true;
  reads_on_ = true;
  writes_on_ = writable;
  return SQLITE_OK;
}

// SQLITE_OK when the file holds our layout. On a read-only medium a log
// needs its index file, which cannot be made there; such a file is read as
// unchangeable instead.
int RecordStore::Impl::ReadSchemaVersion(bool writable) {
  DbStatement version(writer_->handle(), "PRAGMA user_version");
  int result = version.Step();
  if (!writable && FaultOfResult(result) == DbFault::kUnavailable && OnReadOnlyFileSystem(file_)) {
    version = DbStatement();
    reader_mode_ = Db::Mode::kImmutable;
    writer_ = std::make_unique<Db>(file_, reader_mode_, options_.busy_timeout_ms);
    version = DbStatement(writer_->handle(), "PRAGMA user_version");
    result = version.Step();
  }
  if (result == SQLITE_ROW && version.Int(0) != kSchemaVersion) {
    result = writable ? SQLITE_CANTOPEN : SQLITE_READONLY;  // a layout we may not change
  }
  version.Reset();
  if (result == SQLITE_ROW) return SQLITE_OK;
  return writable || FaultOfResult(result) == DbFault::kDamaged ? result : SQLITE_READONLY;
}

// Creates the tables of a new file, or of one written by an older layout.
// A file of a newer layout is left alone.
int RecordStore::Impl::EnsureSchema() {
  DbTransaction transaction(*writer_);
  if (transaction.begin_result() != SQLITE_OK) return transaction.begin_result();
  DbStatement version(writer_->handle(), "PRAGMA user_version");
  const int step = version.Step();
  if (step != SQLITE_ROW) return step;
  const std::int64_t found = version.Int(0);
  version.Reset();
  if (found == kSchemaVersion) return transaction.Commit();
  if (found > kSchemaVersion) return SQLITE_CANTOPEN;
  int result = writer_->Exec(kCreateTables);
  const QByteArray set_version = "PRAGMA user_version = " + QByteArray::number(kSchemaVersion);
  if (result == SQLITE_OK) result = writer_->Exec(set_version.constData());
  return result == SQLITE_OK ? transaction.Commit() : result;
}

int RecordStore::Impl::PrepareStatements() {
  auto reader = std::make_unique<Db>(file_, reader_mode_, options_.busy_timeout_ms);
  if (!reader->ok()) return reader->result();
  DbStatement find(reader->handle(), kFind);
  if (!find) return find.prepare_result();
  if (writable_) {
    put_entry_ = DbStatement(writer_->handle(), kPutEntry);
    put_sample_ = DbStatement(writer_->handle(), kPutSample);
    touch_ = DbStatement(writer_->handle(), kTouch);
    for (const DbStatement* statement : {&put_entry_, &put_sample_, &touch_}) {
      if (!*statement) return statement->prepare_result();
    }
  }
  std::lock_guard lock(read_mutex_);
  reader_ = std::move(reader);
  find_ = std::move(find);
  return SQLITE_OK;
}

void RecordStore::Impl::Close() {
  readable_ = false;
  reads_on_ = false;
  writes_on_ = false;
  {
    std::lock_guard lock(read_mutex_);
    find_ = DbStatement();
    reader_.reset();
  }
  put_entry_ = DbStatement();
  put_sample_ = DbStatement();
  touch_ = DbStatement();
  writer_.reset();
}

// Sets the damaged file aside (replacing an earlier damaged one: two would
// only fill the disk) and starts a new one.
void RecordStore::Impl::Recover() {
  Close();
  if (!MoveAside()) {
    NoteFault(DbFault::kUnavailable);
    return;
  }
  const int result = OpenAndPrepare();
  if (result != SQLITE_OK) {
    Close();
    NoteFault(FaultOfResult(result) == DbFault::kNone ? DbFault::kUnavailable
                                                      : FaultOfResult(result));
    return;
  }
  NoteFault(DbFault::kDamaged);
}

bool RecordStore::Impl::MoveAside() {
  const AsideLock lock(file_);
  // Another program may have set it aside already and made a new one.
  if (!(IdentityOf(file_) == identity_)) return true;
  const QString aside = file_ + QStringLiteral(".damaged");
  QFile::remove(aside);
  QFile::remove(aside + QStringLiteral("-wal"));
  if (!QFile::rename(file_, aside)) return false;
  // The log belongs to the damaged file: replayed into a new one it would damage that too.
  const QString log = file_ + QStringLiteral("-wal");
  if (QFile::exists(log) && !QFile::rename(log, aside + QStringLiteral("-wal"))) {
    QFile::remove(log);
  }
  QFile::remove(file_ + QStringLiteral("-shm"));
  return true;
}

}  // namespace dupliora
