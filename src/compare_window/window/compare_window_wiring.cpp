// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The window's wiring in one place: buttons, timers, previews and keys.
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

#include "compare_window/previews/preview_panes.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/compare_window.h"
#include "compare_window/window/ploder.h"
#include "compare_window/window/yes_no_box.h"
#include "compare_window/window_ids.h"
#include "core/text_numbers.h"

namespace dupliora {

void CImgCmp2017::WireControls() {
  connect(start_, &QPushButton::clicked, this, &CImgCmp2017::StartOrStop);
  connect(start_hidden_, &QPushButton::clicked, this, &CImgCmp2017::StartOrStop);
  activity_timer_.setInterval(ids::kActivityTimerMs);
  connect(&activity_timer_, &QTimer::timeout, this, &CImgCmp2017::OnActivityTimer);
  WirePreviews();
  WireShortcuts();
  WireActions();
}

void CImgCmp2017::WirePreviews() {
  connect(previews_, &PreviewPanes::previewModeChanged, this, &CImgCmp2017::SetPreviewMode);
  connect(previews_, &PreviewPanes::firstPathShown, label_load_, &QLabel::setText);
  connect(previews_, &PreviewPanes::showFileInFolder, this,
          [this](PreviewSide side, const QString& path) {
            if (CPloder* view = preview_file_views_[side == PreviewSide::kLeft ? 0 : 1]) {
              view->ShowFile(path);
            }
          });
  connect(previews_, &PreviewPanes::commandTriggered, this, [this](PreviewSide side, int command) {
    emit PictureCommand(command, side == PreviewSide::kLeft ? 0 : 1, previews_->PanePath(side));
  });
  connect(
      list_, &ResultListView::CurrentPairChanged, this,
      [this](const MatchResult* match, bool m1, bool m2) { ShowCurrentPair(match, m1, m2, true); });
  connect(list_, &ResultListView::PreviewRefreshRequested, this,
          [this](const MatchResult* match, bool m1, bool m2) {
            ShowCurrentPair(match, m1, m2, false);
          });
}
// Ctrl+A is a shortcut of this window alone: a text field that selects its
// own text with it (path fields, the rename editor) claims the key first.
void CImgCmp2017::WireShortcuts() {
  auto* select_all = new QShortcut(QKeySequence::SelectAll, this);
  select_all->setContext(Qt::WidgetWithChildrenShortcut);
  connect(select_all, &QShortcut::activated, this, &CImgCmp2017::SelectAllRows);
}

void CImgCmp2017::StopFileViews() {
  for (CPloder* view : {preview_file_views_[0], preview_file_views_[1], list_file_view_}) {
    if (view != nullptr) view->Stop();
  }
}

// Enter and Escape arrive here only when the focused control did not use
// them, as a dialog's default and cancel keys do: the rename editor keeps its
// own Escape, a button its own Enter.
void CImgCmp2017::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool escape = event->key() == Qt::Key_Escape;
  if (!enter && !escape) return QWidget::keyPressEvent(event);
  StopFileViews();
  event->accept();
  if (enter) return;  // Enter only stops the file views
  // The child frame asks ConfirmDiscard() as it closes, as for its tab's button.
  for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
      if (sub->close()) emit CloseRequested();
      return;
    }
  }
  if (ConfirmDiscard()) emit CloseRequested();
}

bool CImgCmp2017::ConfirmDiscard() {
  if (!running_ && !WorkerActive() && list_->RowCount() == 0) return true;
  QMessageBox box(QMessageBox::Question, windowTitle(), Text(text::kDiscardQuestion),
                  QMessageBox::Yes | QMessageBox::No, this);
  SetYesNoTexts(box, Text(text::kYes), Text(text::kNo));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}
}  // namespace dupliora
