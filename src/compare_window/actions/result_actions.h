// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "compare_window/actions/action_list.h"
#include "compare_window/actions/action_prompts.h"
#include "platform/file_manager.h"
#include "platform/file_transfer.h"

class QProgressDialog;
class QWidget;

namespace dupliora {

class CMyProfStr;

// The result list's file commands: copy, move and trash the marked files,
// copy over partners, rename, the picture commands and undo. Long operations
// run a slice of files per turn of the event loop, with a progress dialog
// whose Cancel stops between files; the window stays usable meanwhile.
class ResultActions : public QObject {
  Q_OBJECT

 public:
  struct Services {
    CMyProfStr* store = nullptr;  // the stored target folder
    std::function<QString(int)> text;
    QWidget* window = nullptr;             // owner of the progress dialog
    UrlOpener open_url = OpenWithDesktop;  // the desktop's default application
  };

  ResultActions(ActionList& list, ActionPrompts& prompts, Services services,
                QObject* parent = nullptr);
  ~ResultActions() override;

  // Commands 1, 2, 3, 5 and 45998 to 46000; false for any other.
  bool Execute(int command);
  // Command 57641: sources[i] goes over targets[i].
  void CopyOverPartner(const QStringList& sources, const QStringList& targets);
  // 32907, 32908 or 32909 of the left (0) or right (1) toolbars; show and
  // open act on the pane's path, delete on the selected row's picture.
  void PictureCommand(int command, int side, const QString& pane_path);
  // The end of an in-place edit: column -1 or a null text change nothing.
  void Rename(int row, int column, const QString& text);

  bool CanUndo() const { return !undo_.empty(); }
  void Undo();
  // A new run emptied the list: undo keeps the files, not the rows.
  void ForgetRows();
  bool Busy() const { return job_ != nullptr; }
  QProgressDialog* Progress() const;

 signals:
  void JobFinished();

 private:
  struct UndoEntry {
    JournalStep files;
    RemovedRows rows;
    std::vector<std::pair<QString, QString>> renames;      // old path, new path
    std::vector<std::pair<QString, ImageRecord>> figures;  // a partner's figures before
  };
  // A partner about to be copied over: the figures its cells show before and after.
  struct FiguresChange {
    QString path;
    ImageRecord before;
    ImageRecord after;
  };
  struct Job;

  QString Text(int number) const { return services_.text(number); }
  void CopyOrMoveMarked(bool move);
  void TrashMarked();
  void TrashFiles(QStringList files);
  QStringList WithoutSelfPaired(const QStringList& files);
  void StartJob(TransferVerb verb, std::vector<TransferItem> items, int title_text);
  void StepJob();
  void FinishJob();
  QStringList OfferPermanentDelete(const QStringList& files);
  RemovedRows RemoveRowsOfMissingFiles();
  void ReportFailures(int title_text, const std::vector<std::pair<QString, int>>& failures);
  void PushUndo(UndoEntry entry);
  const ImageRecord* RecordOf(const QString& path) const;

  ActionList& list_;
  ActionPrompts& prompts_;
  Services services_;
  std::vector<UndoEntry> undo_;
  std::unique_ptr<Job> job_;
  std::vector<FiguresChange> copy_over_figures_;  // of the running copy over partners
};

}  // namespace dupliora
