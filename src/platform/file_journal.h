// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// What one file operation did, file by file, so that it can be undone in the
// same session: trashed files come back from the trash, moved and renamed
// files go back, copies go to the trash.
#pragma once

#include <QString>
#include <vector>

#include "platform/desktop_trash.h"
#include "platform/file_identity.h"

namespace dupliora {

enum class JournalKind {
  kTrashed,  // `trashed` says where it went
  kMoved,    // from -> to (a rename is a move within one folder)
  kCopied,   // a new file `to`, made from `from`
};

// Which file sits at a path: device and inode, and since inode numbers are
// reused at once, its size and modification time too.
struct FileFingerprint {
  FileIdentity identity;
  qint64 size = -1;
  qint64 modified_ns = 0;
  friend bool operator==(const FileFingerprint&, const FileFingerprint&) = default;
};

FileFingerprint FingerprintOf(const QString& path);

struct JournalEntry {
  JournalKind kind = JournalKind::kMoved;
  QString from;
  QString to;
  FileFingerprint made;  // the file at `to` right after the operation
  TrashedFile trashed;
};

struct UndoFailure {
  QString path;
  int error = 0;
};

// One operation of the user, undone as a whole in reverse order.
class JournalStep {
 public:
  void Trashed(const TrashedFile& trashed);
  void Moved(const QString& from, const QString& to);
  void Copied(const QString& from, const QString& to);
  void Append(const JournalStep& other);
  bool Empty() const { return entries_.empty(); }
  const std::vector<JournalEntry>& Entries() const { return entries_; }

  // Undoes what can be undone; a file that was changed or replaced since
  // (another inode at its place) is left alone and reported.
  std::vector<UndoFailure> Undo() const;

 private:
  std::vector<JournalEntry> entries_;
};

}  // namespace dupliora
