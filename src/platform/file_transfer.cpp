// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/file_transfer.h"

#include <algorithm>
#include <cerrno>

#include "platform/safe_rename.h"

namespace dupliora {
namespace {

ItemOutcome Failed(int error) { return {ItemStatus::kFailed, error, QString()}; }

}  // namespace

FileTransfer::FileTransfer(TransferVerb verb, std::vector<TransferItem> items,
                           ConflictQuestion* ask)
    : verb_(verb), items_(std::move(items)), outcomes_(items_.size()), ask_(ask) {}

void FileTransfer::Step() {
  if (Finished()) return;
  const TransferItem& item = items_[next_];
  outcomes_[next_] = Transfer(item);
  ++next_;
}

void FileTransfer::RunAll() {
  while (!Finished()) Step();
}

int FileTransfer::Count(ItemStatus status) const {
  return static_cast<int>(
      std::count_if(outcomes_.begin(), outcomes_.end(),
                    [status](const ItemOutcome& o) { return o.status == status; }));
}

ItemOutcome FileTransfer::Transfer(const TransferItem& item) {
  if (!NameTaken(item.source)) return Failed(ENOENT);
  if (verb_ == TransferVerb::kTrash) {
    TrashedFile trashed;
    if (const int error = MoveToTrash(item.source, &trashed)) return Failed(error);
    journal_.Trashed(trashed);
    return {ItemStatus::kDone, 0, trashed.in_trash};
  }
  if (IsSameFile(item.source, item.target)) return Failed(kErrorSameFile);
  if (verb_ == TransferVerb::kCopyOver) return CopyOver(item);

  JournalStep step;
  QString target = item.target;
  ItemOutcome outcome;
  if (NameTaken(target) && !ResolveConflict(item, target, outcome, step)) return outcome;
  const int error = verb_ == TransferVerb::kMove ? MoveFileNoReplace(item.source, target)
                                                 : CopyFileNoReplace(item.source, target);
  if (error != 0) {
    step.Undo();  // a replaced target comes back from the trash
    return Failed(error);
  }
  if (verb_ == TransferVerb::kMove) {
    step.Moved(item.source, target);
  } else {
    step.Copied(item.source, target);
  }
  journal_.Append(step);
  return {ItemStatus::kDone, 0, target};
}

bool FileTransfer::ResolveConflict(const TransferItem& item, QString& target, ItemOutcome& outcome,
                                   JournalStep& step) {
  ConflictChoice choice = choice_for_all_;
  if (!answer_for_all_) {
    const ConflictAnswer answer =
        ask_ != nullptr ? ask_->AskConflict(item.source, target) : ConflictAnswer{};
    choice = answer.choice;
    if (answer.apply_to_all && choice != ConflictChoice::kCancel) {
      answer_for_all_ = true;
      choice_for_all_ = choice;
    }
  }
  switch (choice) {
    case ConflictChoice::kSkip:
      outcome = {ItemStatus::kSkipped, 0, QString()};
      return false;
    case ConflictChoice::kCancel:
      cancelled_ = true;
      outcome = {ItemStatus::kPending, 0, QString()};
      return false;
    case ConflictChoice::kKeepBoth:
      target = FreeName(target, kMaxKeepBothNumber);
      if (target.isEmpty()) {
        outcome = Failed(EEXIST);
        return false;
      }
      return true;
    case ConflictChoice::kReplace: {
      TrashedFile trashed;
      if (const int error = MoveToTrash(target, &trashed)) {
        outcome = Failed(error);
        return false;
      }
      step.Trashed(trashed);
      return true;
    }
  }
  return false;
}

ItemOutcome FileTransfer::CopyOver(const TransferItem& item) {
  JournalStep step;
  if (NameTaken(item.target)) {
    TrashedFile trashed;
    if (const int error = MoveToTrash(item.target, &trashed)) return Failed(error);
    step.Trashed(trashed);
  }
  if (const int error = CopyFileNoReplace(item.source, item.target)) {
    step.Undo();
    return Failed(error);
  }
  step.Copied(item.source, item.target);
  journal_.Append(step);
  return {ItemStatus::kDone, 0, item.target};
}

}  // namespace dupliora
