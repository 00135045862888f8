// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The run's calls into the window: each runs on the window's thread while
// the worker waits (OnUiThread).
#include <QLabel>
#include <QProgressBar>

#include "compare_window/path_field/path_field.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/compare_window.h"

namespace dupliora {
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
