// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/actions/result_actions.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#include "compare_window/actions/marked_files.h"
#include "core/command_ids.h"
#include "core/settings_store.h"
#include "core/text_numbers.h"
#include "engine/record_path.h"
#include "platform/file_identity.h"
#include "platform/safe_rename.h"

namespace dupliora {
namespace {

const QString kFolderSection = QStringLiteral("Move_to_Folder");
const QString kFolderKey = QStringLiteral("folder");
// A rename tries the name, then _(1) and _(2).
constexpr int kRenameNumbers = 2;

QString Lines(const QStringList& paths) { return paths.join(u'\n'); }

// One entry per file: two spellings of one file would otherwise be trashed
// twice, the second time reported as vanished.
QStringList DistinctFiles(const QStringList& files) {
  QStringList distinct;
  std::vector<FileIdentity> seen;
  for (const QString& file : files) {
    const FileIdentity id = IdentityOf(file);
    if (id.valid && std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
    if (id.valid) seen.push_back(id);
    distinct.append(file);
  }
  return distinct;
}

}  // namespace

bool ResultActions::Execute(int command) {
  switch (command) {
    case command::kCopyMarked:
    case command::kMoveMarked:
      CopyOrMoveMarked(command == command::kMoveMarked);
      return true;
    case command::kTrashMarked:
      TrashMarked();
      return true;
    case command::kMarkLarger:
      list_.SetAllMarks(LargerPictureMarks(list_));
      return true;
    case command::kRemoveSelectedRows:
    case command::kRemoveMarkedRows:
    case command::kRemoveUnmarkedRows:
      list_.TakeRows(RowsToRemove(list_, command));
      return true;
  }
  return false;
}

void ResultActions::CopyOrMoveMarked(bool move) {
  if (Busy()) return prompts_.Inform(Text(text::kBusy));
  QStringList files = CollectMarkedFiles(list_);
  if (files.isEmpty()) return;
  const QString start =
      services_.store ? services_.store->ReadString(kFolderSection, kFolderKey) : QString();
  const QString folder = prompts_.PickFolder(start);
  if (folder.isEmpty()) return;
  if (!QFileInfo(folder).isDir()) {
    prompts_.Inform(Text(text::kFolderMissing) + QStringLiteral(":\n") + folder + u'\n');
    return;
  }
  if (move) files = WithoutSelfPaired(files);
  std::vector<TransferItem> items;
  for (const QString& file : DistinctFiles(files)) {
    items.push_back(
        {file, QFileInfo(folder).absoluteFilePath() + u'/' + QFileInfo(file).fileName()});
  }
  if (services_.store) services_.store->WriteString(kFolderSection, kFolderKey, folder);
  StartJob(move ? TransferVerb::kMove : TransferVerb::kCopy, std::move(items),
           move ? text::kMoving : text::kCopying);
}

void ResultActions::TrashMarked() {
  if (Busy()) return prompts_.Inform(Text(text::kBusy));
  const QStringList files = CollectMarkedFiles(list_);
  if (files.isEmpty()) return;
  TrashFiles(files);
}

void ResultActions::TrashFiles(QStringList files) {
  files = DistinctFiles(WithoutSelfPaired(files));
  if (files.isEmpty()) return;
  QString question = Text(text::kTrashQuestion).arg(files.size());
  // One picture from a toolbar: the user should see which one goes.
  if (files.size() == 1) question += u'\n' + files.first();
  if (!prompts_.Confirm(question, false)) return;
  std::vector<TransferItem> items;
  for (const QString& file : files) items.push_back({file, QString()});
  StartJob(TransferVerb::kTrash, std::move(items), text::kTrashing);
}

QStringList ResultActions::WithoutSelfPaired(const QStringList& files) {
  const QStringList paired = SelfPairedFiles(list_, files);
  if (paired.isEmpty()) return files;
  prompts_.Inform(Text(text::kPairedWithItself) + u'\n' + Lines(paired));
  QStringList kept;
  for (const QString& file : files) {
    if (!paired.contains(file)) kept.append(file);
  }
  return kept;
}

void ResultActions::CopyOverPartner(const QStringList& sources, const QStringList& targets) {
  if (Busy()) return prompts_.Inform(Text(text::kBusy));
  if (sources.isEmpty() || sources.size() != targets.size()) return;
  if (!prompts_.Confirm(Text(text::kCopyOverQuestion).arg(sources.size()), true)) return;
  std::vector<TransferItem> items;
  copy_over_figures_.clear();
  for (int i = 0; i < sources.size(); ++i) {
    items.push_back({sources[i], targets[i]});
    const ImageRecord* source = RecordOf(sources[i]);
    const ImageRecord* target = RecordOf(targets[i]);
    if (source != nullptr && target != nullptr)
      copy_over_figures_.push_back({targets[i], *target, *source});
  }
  StartJob(TransferVerb::kCopyOver, std::move(items), text::kCopyingOver);
}

void ResultActions::PictureCommand(int command, int side, const QString& pane_path) {
  if (command == command::kOpenPicture) {
    if (!services_.open_url || !services_.open_url(pane_path))
      prompts_.Inform(Text(text::kNoOpener) + u'\n' + pane_path);
  } else if (command == command::kShowInFileManager) {
    QPointer<ResultActions> self(this);
    ShowInFileManager(pane_path, this, services_.open_url, [self, pane_path](bool shown) {
      if (self && !shown)
        self->prompts_.Inform(self->Text(text::kNoFileManager) + u'\n' + pane_path);
    });
  } else if (command == command::kDeletePicture) {
    if (Busy()) return prompts_.Inform(Text(text::kBusy));
    const int row = list_.SelectionMarkRow();
    if (row < 0 || row >= list_.RowCount()) return;
    TrashFiles({list_.PathAt(row, side != 0 ? 1 : 0)});
  }
}

void ResultActions::Rename(int row, int column, const QString& text) {
  if ((column != 0 && column != 1) || text.isEmpty() || row < 0 || row >= list_.RowCount()) return;
  const QString old_path = list_.PathAt(row, column);
  const QFileInfo old_file(old_path);
  if (text == old_file.fileName()) return;
  int error = kErrorBadName;
  QString used;
  // A slash would move the file into another folder, ".." above its own.
  if (!text.contains(u'/') && text != QStringLiteral(".") && text != QStringLiteral("..")) {
    const QString wanted = old_file.path() + u'/' + text;
    for (int number = 0; number <= kRenameNumbers; ++number) {
      const QString candidate = number == 0 ? wanted : NumberedName(wanted, number);
      error = RenameNoReplace(old_path, candidate);
      if (error == 0) used = candidate;
      if (error != EEXIST) break;
    }
  }
  if (used.isEmpty()) {
    prompts_.Inform(Text(text::kRenameFailed) + u'\n' + old_path + QStringLiteral("\n(") +
                    FileErrorText(error) + u')');
    return;
  }
  list_.ReplacePath(old_path, used);
  UndoEntry entry;
  entry.files.Moved(old_path, used);
  entry.renames.emplace_back(old_path, used);
  PushUndo(std::move(entry));
  list_.RefreshPreviews();
}

const ImageRecord* ResultActions::RecordOf(const QString& path) const {
  for (int row = 0; row < list_.RowCount(); ++row) {
    const MatchResult* match = list_.MatchAt(row);
    if (match == nullptr) continue;
    for (const ImageRecord* record : {match->first, match->second}) {
      if (record != nullptr && RecordPath(*record) == path) return record;
    }
  }
  return nullptr;
}

RemovedRows ResultActions::RemoveRowsOfMissingFiles() {
  const std::vector<int> rows = RowsOfMissingFiles(list_);
  return rows.empty() ? RemovedRows() : list_.TakeRows(rows);
}

void ResultActions::PushUndo(UndoEntry entry) {
  if (entry.files.Empty() && entry.rows.empty()) return;
  undo_.push_back(std::move(entry));
}

void ResultActions::ForgetRows() {
  for (UndoEntry& entry : undo_) {
    entry.rows.clear();
    entry.renames.clear();
    entry.figures.clear();
  }
}

void ResultActions::Undo() {
  if (Busy()) return prompts_.Inform(Text(text::kBusy));
  if (undo_.empty()) return prompts_.Inform(Text(text::kNothingToUndo));
  const UndoEntry entry = std::move(undo_.back());
  undo_.pop_back();
  const std::vector<UndoFailure> failures = entry.files.Undo();
  for (const auto& [old_path, new_path] : entry.renames) {
    if (QFileInfo::exists(old_path)) list_.ReplacePath(new_path, old_path);
  }
  for (const auto& [path, figures] : entry.figures) {
    const bool back = std::none_of(failures.begin(), failures.end(),
                                   [&path](const UndoFailure& f) { return f.path == path; });
    if (back) list_.ReplaceFigures(path, figures);
  }
  list_.PutBackRows(entry.rows);
  RemoveRowsOfMissingFiles();  // rows whose files could not come back
  list_.RefreshPreviews();
  std::vector<std::pair<QString, int>> listed;
  for (const UndoFailure& f : failures) listed.emplace_back(f.path, f.error);
  ReportFailures(text::kNotPutBack, listed);
}

void ResultActions::ReportFailures(int title_text,
                                   const std::vector<std::pair<QString, int>>& failures) {
  if (failures.empty()) return;
  constexpr int kMaxListed = 20;
  QString message = Text(title_text);
  for (int i = 0; i < static_cast<int>(failures.size()) && i < kMaxListed; ++i) {
    message +=
        u'\n' + failures[i].first + QStringLiteral(" (") + FileErrorText(failures[i].second) + u')';
  }
  if (static_cast<int>(failures.size()) > kMaxListed)
    message += QStringLiteral("\n... (%1)").arg(failures.size());
  prompts_.Inform(message);
}

}  // namespace dupliora
