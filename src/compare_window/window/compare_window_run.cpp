// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "compare_window/path_field/path_field.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/button_bar.h"
#include "compare_window/window/compare_window.h"
#include "compare_window/window_ids.h"
#include "core/text_numbers.h"
#include "engine/run_progress.h"

namespace dupliora {
namespace {

constexpr int kActivityRange = 256;

}  // namespace

void CImgCmp2017::WireControls() {
  connect(start_, &QPushButton::clicked, this, &CImgCmp2017::StartOrStop);
  connect(start_hidden_, &QPushButton::clicked, this, &CImgCmp2017::StartOrStop);
  connect(&language_timer_, &QTimer::timeout, this, &CImgCmp2017::OnLanguageTimer);
  activity_timer_.setInterval(ids::kActivityTimerMs);
  connect(&activity_timer_, &QTimer::timeout, this, &CImgCmp2017::OnActivityTimer);
  WirePreviews();
  WireActions();
}

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

void CImgCmp2017::ClearResults() {
  OnUiThread([this] { list_->Clear(); });
}

void CImgCmp2017::SetText(RunText target, const QString& text) {
  OnUiThread([&] { Label(static_cast<int>(target))->setText(text); });
}

void CImgCmp2017::ShowPathAlert(dupliora::PathField field, const QString& message) {
  OnUiThread([&] { ShowPathAlert(static_cast<int>(field), message); });
}

void CImgCmp2017::AcceptPaths(const QString& path1_text, const QString& path2_text) {
  OnUiThread([&] {
    fields_[0]->AddEntry(path1_text);
    fields_[1]->AddEntry(path2_text);
  });
}

void CImgCmp2017::StartProgressActivity() {
  OnUiThread([this] {
    activity_timer_.start();
    progress_->setRange(0, kActivityRange);
    progress_->setValue(0);
  });
}

void CImgCmp2017::StopProgressActivity() {
  OnUiThread([this] {
    activity_timer_.stop();
    progress_->setRange(0, kActivityRange);
    progress_->setValue(kActivityRange);
  });
}

void CImgCmp2017::SetProgressRange(int maximum) {
  OnUiThread([this, maximum] {
    progress_->setRange(0, maximum);
    progress_->setValue(0);
  });
}

void CImgCmp2017::SetProgressPosition(int position) {
  OnUiThread([this, position] { progress_->setValue(position); });
}

void CImgCmp2017::SetResultRedraw(bool on) {
  OnUiThread([this, on] { list_->SetRedraw(on); });
}

void CImgCmp2017::AppendMatches(std::vector<MatchResult> batch) {
  OnUiThread([this, &batch] { list_->AppendMatches(std::move(batch)); });
}

void CImgCmp2017::SortResultsBySimilarity() {
  OnUiThread([this] { list_->SortBySimilarity(); });
}

void CImgCmp2017::ShowCacheStatus(const QString& line) {
  OnUiThread([&] {
    if (services_.show_cache_status) services_.show_cache_status(line);
  });
}

}  // namespace dupliora
