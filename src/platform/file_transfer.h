// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Copy, move, copy-over and trash of many files, one file per Step() so that
// a window can show progress and cancel between files. Nothing is ever
// replaced without a question, and a replaced file goes to the trash first,
// so every operation can be undone from its journal.
#pragma once

#include <QString>
#include <vector>

#include "platform/file_journal.h"

namespace dupliora {

enum class TransferVerb {
  kCopy,      // to a new name; asks when the name is taken
  kMove,      // the same, and the source goes
  kCopyOver,  // onto the target: the target goes to the trash first
  kTrash,     // the source goes to the trash; no target
};

enum class ConflictChoice { kReplace, kSkip, kKeepBoth, kCancel };

struct ConflictAnswer {
  ConflictChoice choice = ConflictChoice::kSkip;
  bool apply_to_all = false;
};

// Asked when a copy or move finds its target name taken. The window shows a
// dialog; tests answer from a table.
class ConflictQuestion {
 public:
  virtual ~ConflictQuestion() = default;
  virtual ConflictAnswer AskConflict(const QString& source, const QString& target) = 0;
};

struct TransferItem {
  QString source;
  QString target;  // full path; unused for kTrash
};

enum class ItemStatus { kPending, kDone, kSkipped, kFailed };

struct ItemOutcome {
  ItemStatus status = ItemStatus::kPending;
  int error = 0;
  QString final_target;  // after Keep both: the numbered name
};

// "Keep both" numbers up to this many names before it gives up.
inline constexpr int kMaxKeepBothNumber = 9999;

class FileTransfer {
 public:
  FileTransfer(TransferVerb verb, std::vector<TransferItem> items, ConflictQuestion* ask);

  bool Finished() const { return next_ >= items_.size() || cancelled_; }
  // Carries out the next item.
  void Step();
  // Runs every remaining step (tests, benchmarks and small jobs).
  void RunAll();
  // The items not yet begun stay pending; the one in hand is finished.
  void Cancel() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }

  int Total() const { return static_cast<int>(items_.size()); }
  int Position() const { return static_cast<int>(next_); }
  const std::vector<TransferItem>& Items() const { return items_; }
  const std::vector<ItemOutcome>& Outcomes() const { return outcomes_; }
  int Count(ItemStatus status) const;
  const JournalStep& Journal() const { return journal_; }

 private:
  ItemOutcome Transfer(const TransferItem& item);
  ItemOutcome CopyOver(const TransferItem& item);
  // Resolves a taken target name; false when the item ends here.
  bool ResolveConflict(const TransferItem& item, QString& target, ItemOutcome& outcome,
                       JournalStep& step);

  TransferVerb verb_;
  std::vector<TransferItem> items_;
  std::vector<ItemOutcome> outcomes_;
  ConflictQuestion* ask_;
  std::size_t next_ = 0;
  bool cancelled_ = false;
  bool answer_for_all_ = false;
  ConflictChoice choice_for_all_ = ConflictChoice::kSkip;
  JournalStep journal_;
};

}  // namespace dupliora
