// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/sqlite_db.h"

#include <sqlite3.h>
#include <sys/statvfs.h>

#include <QFile>
#include <QUrl>

namespace dupliora {

DbFault FaultOfResult(int result) {
  switch (result & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
      return DbFault::kNone;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return DbFault::kDamaged;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return DbFault::kReadOnly;
    case SQLITE_FULL:
      return DbFault::kFull;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return DbFault::kLocked;
    default:
      return DbFault::kUnavailable;
  }
}

void DbStatement::Finalizer::operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }

DbStatement::DbStatement(sqlite3* db, const char* sql) {
  sqlite3_stmt* stmt = nullptr;
  prepare_result_ = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
  stmt_.reset(stmt);
}

// A statement that failed to prepare binds nothing and steps to its
// preparation error, so callers see one failure path.
void DbStatement::Bind(int index, std::int64_t value) {
  if (stmt_) sqlite3_bind_int64(stmt_.get(), index, value);
}

void DbStatement::Bind(int index, QByteArrayView bytes) {
  if (!stmt_) return;
  sqlite3_bind_blob64(stmt_.get(), index, bytes.data(), static_cast<sqlite3_uint64>(bytes.size()),
                      SQLITE_TRANSIENT);
}

void DbStatement::BindText(int index, const QByteArray& utf8) {
  if (!stmt_) return;
  sqlite3_bind_text64(stmt_.get(), index, utf8.constData(),
                      static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
}

int DbStatement::Step() {
  if (!stmt_) return prepare_result_ != SQLITE_OK ? prepare_result_ : SQLITE_MISUSE;
  return sqlite3_step(stmt_.get());
}

void DbStatement::Reset() {
  if (!stmt_) return;
  sqlite3_reset(stmt_.get());
  sqlite3_clear_bindings(stmt_.get());
}

std::int64_t DbStatement::Int(int column) const {
  return sqlite3_column_int64(stmt_.get(), column);
}

QByteArrayView DbStatement::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_.get(), column);
  const int size = sqlite3_column_bytes(stmt_.get(), column);
  return {static_cast<const char*>(data), data == nullptr ? 0 : size};
}

QString DbStatement::String(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
  return QString::fromUtf8(text, sqlite3_column_bytes(stmt_.get(), column));
}

bool OnReadOnlyFileSystem(const QString& path) {
  struct statvfs info {};
  return ::statvfs(QFile::encodeName(path).constData(), &info) == 0 && (info.f_flag & ST_RDONLY);
}

Db::Db(const QString& path, Mode mode, int busy_timeout_ms) {
  int flags = SQLITE_OPEN_NOMUTEX;
  QByteArray name = QFile::encodeName(path);
  if (mode == Mode::kImmutable) {
    flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    name = QUrl::fromLocalFile(path).toEncoded() + "?immutable=1";
  } else {
    flags |= SQLITE_OPEN_READWRITE | (mode == Mode::kCreate ? SQLITE_OPEN_CREATE : 0);
  }
  result_ = sqlite3_open_v2(name.constData(), &db_, flags, nullptr);
  if (result_ != SQLITE_OK) {
    sqlite3_close(db_);
    db_ = nullptr;
    return;
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, busy_timeout_ms);
}

Db::~Db() { sqlite3_close_v2(db_); }

bool Db::read_only() const { return db_ != nullptr && sqlite3_db_readonly(db_, "main") == 1; }

int Db::Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

std::int64_t Db::QueryInt(const char* sql, std::int64_t fallback) {
  DbStatement statement(db_, sql);
  if (!statement || statement.Step() != SQLITE_ROW) return fallback;
  return statement.Int(0);
}

DbTransaction::DbTransaction(Db& db, const char* begin)
    : db_(db), begin_result_(db.Exec(begin)), open_(begin_result_ == SQLITE_OK) {}

DbTransaction::~DbTransaction() {
  if (open_) db_.Exec("ROLLBACK");
}

int DbTransaction::Commit() {
  const int result = db_.Exec("COMMIT");
  // A failed COMMIT leaves the transaction open; the destructor rolls it back.
  if (result == SQLITE_OK) open_ = false;
  return result;
}

}  // namespace dupliora
