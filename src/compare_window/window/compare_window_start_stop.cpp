// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Start and Stop: the one worker thread of a run, and how the window waits
// for it.
#include <QPushButton>

#include "compare_window/path_field/path_field.h"
#include "compare_window/window/button_bar.h"
#include "compare_window/window/compare_window.h"
#include "core/text_numbers.h"
#include "engine/run_progress.h"

namespace dupliora {
void CImgCmp2017::StartOrStop() {
  RefreshOptionTexts();
  result_view_ = 0;
  ApplyResultView();
  if (running_) {
    // A stop request only: the caption turns back when the worker has returned.
    running_ = false;
    engine_.RequestStop();
    return;
  }
  // Stopped but not yet returned: a new run would share the engine's state.
  if (WorkerActive()) return;
  SetControlsEnabled(false);
  StartWorker();
}

void CImgCmp2017::SetControlsEnabled(bool enable) {
  start_->setText(Text(enable ? text::kStartCaption : text::kStopCaption));
  running_ = !enable;
  for (QWidget* w :
       {static_cast<QWidget*>(search_bar_), static_cast<QWidget*>(rules_bar_),
        static_cast<QWidget*>(browse_[0]), static_cast<QWidget*>(browse_[1]),
        static_cast<QWidget*>(browse_append_[0]), static_cast<QWidget*>(browse_append_[1]),
        static_cast<QWidget*>(fields_[0]), static_cast<QWidget*>(fields_[1])}) {
    w->setEnabled(enable);
  }
}

void CImgCmp2017::StartWorker() {
  if (worker_.joinable()) worker_.join();  // returned already: WorkerActive() was false
  ui_call_.Reset();
  RunOptions run;
  run.similarity = options_.m_similarity.value;
  run.compare_mode = options_.m_compare_mode.value;
  run.search_rotated = options_.m_search_rotated.value != 0;
  run.search_flipped = options_.m_search_flipped.value != 0;
  run.search_negative = options_.m_search_negative.value != 0;
  run.subfolder = options_.m_subfolder.value != 0;
  run.signature_rule = options_.m_signature_rule.value;
  RunTexts texts;
  for (int number : RunTextNumbers()) texts.by_number.insert(number, Text(number));
  worker_done_.store(false);
  worker_ = std::thread(&CImgCmp2017::WorkerMain, this, run, fields_[0]->Text(), fields_[1]->Text(),
                        std::move(texts));
}

void CImgCmp2017::WorkerMain(RunOptions options, QString path1, QString path2, RunTexts texts) {
  engine_.Run(options, path1, path2, texts, *this);
  OnUiThread([this] { SetControlsEnabled(true); });
  worker_done_.store(true);
}

void CImgCmp2017::StopAndWait() {
  if (!worker_.joinable()) return;
  engine_.RequestStop();
  // The worker's remaining calls return at once, so joining cannot deadlock.
  ui_call_.Abandon();
  worker_.join();
  if (running_) SetControlsEnabled(true);
}

void CImgCmp2017::OnUiThread(const std::function<void()>& fn) {
  ui_call_.Call([this, &fn] {
    // The engine clears its stop flag as a run begins; a stop clicked in
    // that moment is repeated here so that it is never lost.
    if (!running_ && WorkerActive()) engine_.RequestStop();
    fn();
  });
}

}  // namespace dupliora
