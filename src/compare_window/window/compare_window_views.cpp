// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// What fills the list area and the preview hosts, and which pair the
// previews show.
#include <QDir>
#include <QFileInfo>

#include "compare_window/path_field/path_field.h"
#include "compare_window/previews/preview_panes.h"
#include "compare_window/result_list/result_columns.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/compare_window.h"
#include "compare_window/window/ploder.h"
#include "engine/path_list.h"

namespace dupliora {

// The list area shows the result list, or a file view of the folder the
// second field names last.
void CImgCmp2017::ApplyResultView() {
  if (result_view_ == 1) {
    if (list_file_view_ == nullptr) {
      list_file_view_ = new CPloder(this);
      list_file_view_->setObjectName(QStringLiteral("list_file_view"));
      QString text = fields_[1]->Text();
      const QString last = SplitPathList(text);
      list_file_view_->ShowFolder(last.isEmpty() ? QDir::homePath() : last);
    }
    list_file_view_->show();
    list_->hide();
  } else {
    list_->show();
    if (list_file_view_ != nullptr) list_file_view_->hide();
  }
  LayoutWindow();
}

void CImgCmp2017::SetPreviewMode(int mode) {
  options_.preview_mode.value = mode;
  ApplyPreviewMode();
  LayoutWindow();
  RefreshOptionTexts();
}

// The file views are made on first use and kept: mode 0 only hides them.
void CImgCmp2017::ApplyPreviewMode() {
  const int mode = options_.preview_mode.value;
  if (mode != 0) {
    for (int side = 0; side < 2; ++side) {
      if (preview_file_views_[side] != nullptr) continue;
      preview_file_views_[side] = new CPloder(this);
      preview_file_views_[side]->setObjectName(QStringLiteral("preview_file_view"));
      const PreviewSide which = side == 0 ? PreviewSide::kLeft : PreviewSide::kRight;
      previews_->SetFileView(which, preview_file_views_[side]);
      const QString shown = previews_->PanePath(which);
      if (QFileInfo(shown).isAbsolute()) preview_file_views_[side]->ShowFile(shown);
    }
  }
  previews_->SetPreviewMode(mode);
}

void CImgCmp2017::ShowCurrentPair(const MatchResult* match, bool first_marked, bool second_marked,
                                  bool full) {
  const int row = list_->SelectionMarkRow();
  PreviewRow data;
  data.match = match;
  data.first_marked = first_marked;
  data.second_marked = second_marked;
  if (match != nullptr) {
    data.first_path = FormatResultCell(match, 0, services_.text);
    data.second_path = FormatResultCell(match, 1, services_.text);
    data.similarity_text = FormatResultCell(match, kSimilarityColumn, services_.text);
  }
  previews_->ShowPair(row, data, full ? ShowPairMode::kFull : ShowPairMode::kCaptionsOnly);
}

}  // namespace dupliora
