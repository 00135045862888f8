// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace dupliora {

// What went wrong with a database, as far as its user must react.
enum class DbFault {
  kNone,
  kDamaged,      // not a database, or corrupt: set it aside and start anew
  kReadOnly,     // can be read, not written
  kFull,         // the disk or quota is full
  kLocked,       // another program holds it longer than we wait
  kUnavailable,  // cannot be opened or used at all
};

// The fault a SQLite result code stands for; kNone for success codes.
DbFault FaultOfResult(int result);

// Whether the file lies on a file system mounted read-only.
bool OnReadOnlyFileSystem(const QString& path);

// One prepared statement; reset after every use so it can be stepped again.
class DbStatement {
 public:
  DbStatement() = default;
  DbStatement(sqlite3* db, const char* sql);
  explicit operator bool() const { return stmt_ != nullptr; }
  int prepare_result() const { return prepare_result_; }

  void Bind(int index, std::int64_t value);
  void Bind(int index, QByteArrayView bytes);  // as a blob
  void BindText(int index, const QByteArray& utf8);
  int Step();  // SQLITE_ROW, SQLITE_DONE or an error
  void Reset();

  std::int64_t Int(int column) const;
  QByteArrayView Blob(int column) const;
  QString String(int column) const;

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* stmt) const;
  };
  std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
  int prepare_result_ = 0;
};

// One connection, closed with the object.
class Db {
 public:
  enum class Mode {
    kCreate,     // read-write where possible, creating the file
    kExisting,   // read-write where possible, the file must exist
    kImmutable,  // read-only, on a medium nobody can write (no lock, no log index)
  };
  // Opens with a busy timeout; check result().
  Db(const QString& path, Mode mode, int busy_timeout_ms);
  ~Db();
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  int result() const { return result_; }
  bool ok() const { return db_ != nullptr && result_ == 0; }
  bool read_only() const;
  sqlite3* handle() const { return db_; }

  int Exec(const char* sql);
  // The first column of the first row of a one-value query; `fallback` on errors.
  std::int64_t QueryInt(const char* sql, std::int64_t fallback = -1);

 private:
  sqlite3* db_ = nullptr;
  int result_ = 0;
};

// Runs `Exec("COMMIT")` unless Commit() was called: an early return rolls back.
class DbTransaction {
 public:
  DbTransaction(Db& db, const char* begin = "BEGIN IMMEDIATE");
  ~DbTransaction();
  int begin_result() const { return begin_result_; }
  int Commit();

 private:
  Db& db_;
  int begin_result_;
  bool open_;
};

}  // namespace dupliora
