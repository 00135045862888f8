// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/actions/result_actions.h"
#include "compare_window/previews/preview_panes.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/compare_window.h"
#include "core/command_ids.h"
#include "viewer/pic_window.h"

namespace dupliora {

bool CImgCmp2017::OnCommand(int id) {
  if (id == command::kSelectAll) {
    SelectAllRows();
    return true;
  }
  if (id == command::kUndo) {
    Actions()->Undo();
    return true;
  }
  if (id == command::kInvertSelection) {
    list_->InvertSelection();
    return true;
  }
  return false;
}

bool CImgCmp2017::CanDo(int id) const { return id != command::kUndo || Actions()->CanUndo(); }

void CImgCmp2017::ShowFirst(const QString& path) {
  previews_->Pane(PreviewSide::kLeft)->SetPicture(path);
}

void CImgCmp2017::ShowSecond(const QString& path) {
  previews_->Pane(PreviewSide::kRight)->SetTurn(false);
  previews_->Pane(PreviewSide::kRight)->SetPicture(path);
}

}  // namespace dupliora
