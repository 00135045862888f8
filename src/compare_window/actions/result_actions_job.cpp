// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The running file operation of the result actions: slices of files per turn
// of the event loop, progress, cancel, and what follows the last file.
#include <QFile>
#include <QProgressDialog>

#include "compare_window/actions/result_actions.h"
#include "core/text_numbers.h"
#include "platform/safe_rename.h"

namespace dupliora {
namespace {

// Files are handled for this long before the event loop gets its turn: the
// window repaints and Cancel is seen within a frame or two.
constexpr int kSliceMs = 15;
// Quick jobs finish before the dialog would appear.
constexpr int kProgressDelayMs = 400;

}  // namespace

struct ResultActions::Job {
  std::unique_ptr<FileTransfer> transfer;
  QPointer<QProgressDialog> progress;
  QTimer timer;
  TransferVerb verb = TransferVerb::kCopy;
};

ResultActions::ResultActions(ActionList& list, ActionPrompts& prompts, Services services,
                             QObject* parent)
    : QObject(parent), list_(list), prompts_(prompts), services_(std::move(services)) {}

ResultActions::~ResultActions() {
  // Every step finished before control came back here, so stopping between
  // files is enough; the journal of a cut job is lost with the window.
  if (job_ && job_->progress) delete job_->progress;
}

QProgressDialog* ResultActions::Progress() const { return job_ ? job_->progress.data() : nullptr; }

void ResultActions::StartJob(TransferVerb verb, std::vector<TransferItem> items, int title_text) {
  if (items.empty()) return;
  job_ = std::make_unique<Job>();
  job_->verb = verb;
  const int total = static_cast<int>(items.size());
  job_->transfer = std::make_unique<FileTransfer>(verb, std::move(items), &prompts_);
  auto* progress =
      new QProgressDialog(Text(title_text), Text(text::kCancel), 0, total, services_.window);
  progress->setWindowModality(Qt::NonModal);
  progress->setMinimumDuration(kProgressDelayMs);
  progress->setAutoClose(false);
  progress->setAutoReset(false);
  progress->setValue(0);
  connect(progress, &QProgressDialog::canceled, this, [this] {
    if (job_) job_->transfer->Cancel();
  });
  job_->progress = progress;
  job_->timer.setSingleShot(true);
  job_->timer.setInterval(0);
  connect(&job_->timer, &QTimer::timeout, this, &ResultActions::StepJob);
  job_->timer.start();
}

void ResultActions::StepJob() {
  if (!job_) return;
  FileTransfer& transfer = *job_->transfer;
  QElapsedTimer slice;
  slice.start();
  while (!transfer.Finished() && slice.elapsed() < kSliceMs) transfer.Step();
  if (job_->progress) job_->progress->setValue(transfer.Position());
  if (transfer.Finished()) {
    FinishJob();
  } else {
    job_->timer.start();
  }
}

void ResultActions::FinishJob() {
  std::unique_ptr<Job> job = std::move(job_);
  if (job->progress) job->progress->deleteLater();
  const FileTransfer& transfer = *job->transfer;
  std::vector<std::pair<QString, int>> failures;
  QStringList without_trash;
  for (int i = 0; i < transfer.Total(); ++i) {
    const ItemOutcome& outcome = transfer.Outcomes()[i];
    if (outcome.status != ItemStatus::kFailed) continue;
    if (job->verb == TransferVerb::kTrash && outcome.error == kErrorNoTrash) {
      without_trash.append(transfer.Items()[i].source);
    } else {
      failures.emplace_back(transfer.Items()[i].source, outcome.error);
    }
  }
  for (const QString& path : OfferPermanentDelete(without_trash)) {
    failures.emplace_back(path, kErrorNoTrash);
  }
  UndoEntry entry;
  entry.files = transfer.Journal();
  // Copies over partners keep their rows, which show the copied picture's
  // figures from now on; the previews load the new files.
  if (job->verb == TransferVerb::kCopyOver) {
    for (int i = 0; i < transfer.Total(); ++i) {
      if (transfer.Outcomes()[i].status != ItemStatus::kDone) continue;
      for (const FiguresChange& change : copy_over_figures_) {
        if (change.path != transfer.Items()[i].target) continue;
        list_.ReplaceFigures(change.path, change.after);
        entry.figures.emplace_back(change.path, change.before);
        break;
      }
    }
    copy_over_figures_.clear();
  } else {
    entry.rows = RemoveRowsOfMissingFiles();
  }
  PushUndo(std::move(entry));
  list_.RefreshPreviews();
  ReportFailures(text::kLeftInPlace, failures);
  emit JobFinished();
}

// Files that no trash can take: deleted for good only after two explicit
// answers. Returns the files that stay.
QStringList ResultActions::OfferPermanentDelete(const QStringList& files) {
  if (files.isEmpty()) return {};
  const QString listed = u'\n' + files.mid(0, 20).join(u'\n');
  if (!prompts_.Confirm(Text(text::kNoTrashQuestion).arg(files.size()) + listed, true) ||
      !prompts_.Confirm(Text(text::kPermanentQuestion).arg(files.size()), true)) {
    return files;
  }
  QStringList kept;
  for (const QString& file : files) {
    if (!QFile::remove(file)) kept.append(file);
  }
  return kept;
}

}  // namespace dupliora
