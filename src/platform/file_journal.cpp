// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/file_journal.h"

#include <sys/stat.h>

#include <QFile>

#include "platform/safe_rename.h"

namespace dupliora {
FileFingerprint FingerprintOf(const QString& path) {
  FileFingerprint print;
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return print;
  print.identity = {static_cast<std::uint64_t>(info.st_dev),
                    static_cast<std::uint64_t>(info.st_ino), true};
  print.size = info.st_size;
  print.modified_ns = static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return print;
}

namespace {

int UndoEntry(const JournalEntry& entry) {
  switch (entry.kind) {
    case JournalKind::kTrashed:
      return RestoreFromTrash(entry.trashed);
    case JournalKind::kMoved:
      if (!(FingerprintOf(entry.to) == entry.made)) return kErrorChanged;
      return MoveFileNoReplace(entry.to, entry.from);
    case JournalKind::kCopied:
      // The copy goes to the trash, not away: it may have been edited since
      // in a way that keeps the inode.
      if (!(FingerprintOf(entry.to) == entry.made)) return kErrorChanged;
      return MoveToTrash(entry.to, nullptr);
  }
  return 0;
}

}  // namespace

void JournalStep::Trashed(const TrashedFile& trashed) {
  JournalEntry entry;
  entry.kind = JournalKind::kTrashed;
  entry.from = trashed.original;
  entry.to = trashed.in_trash;
  entry.trashed = trashed;
  entries_.push_back(entry);
}

void JournalStep::Moved(const QString& from, const QString& to) {
  entries_.push_back({JournalKind::kMoved, from, to, FingerprintOf(to), {}});
}

void JournalStep::Copied(const QString& from, const QString& to) {
  entries_.push_back({JournalKind::kCopied, from, to, FingerprintOf(to), {}});
}

void JournalStep::Append(const JournalStep& other) {
  entries_.insert(entries_.end(), other.entries_.begin(), other.entries_.end());
}

std::vector<UndoFailure> JournalStep::Undo() const {
  std::vector<UndoFailure> failures;
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (const int error = UndoEntry(*it)) {
      failures.push_back({it->kind == JournalKind::kTrashed ? it->from : it->to, error});
    }
  }
  return failures;
}

}  // namespace dupliora
