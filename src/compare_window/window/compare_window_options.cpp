// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

#include "compare_window/path_field/path_field.h"
#include "compare_window/previews/preview_panes.h"
#include "compare_window/result_list/result_columns.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/button_bar.h"
#include "compare_window/window/compare_window.h"
#include "compare_window/window/ploder.h"
#include "compare_window/window_ids.h"
#include "core/text_numbers.h"
#include "engine/path_list.h"

namespace dupliora {
namespace {

constexpr int kSearchIconSize = 18;

}  // namespace

void CImgCmp2017::CreateToolbars() {
  rules_bar_ = new ButtonBar(this);
  rules_bar_->setObjectName(QStringLiteral("rules"));
  for (int id : {ids::kButton1, ids::kButton2, ids::kButton3, ids::kButton4, ids::kButton5}) {
    rules_bar_->AddButton(id, QString());
  }
  search_bar_ = new ButtonBar(this);
  search_bar_->setObjectName(QStringLiteral("search"));
  search_bar_->AddButton(ids::kButton1, QString(),
                         style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  search_bar_->Button(ids::kButton1)->setIconSize(QSize(kSearchIconSize, kSearchIconSize));
  search_bar_->AddButton(ids::kButton2, QString());
  search_bar_->AddButton(ids::kButton3, QString());
  search_bar_->AddButton(ids::kButton4, QString())->setEnabled(false);
  for (int id : {ids::kButton1, ids::kButton2, ids::kButton3, ids::kButton4, ids::kButton5}) {
    AttachOptionMenu(OptionBar::kRules, id, rules_bar_->Button(id));
  }
  for (int id : {ids::kButton1, ids::kButton2, ids::kButton3}) {
    AttachOptionMenu(OptionBar::kSearch, id, search_bar_->Button(id));
  }
}

// The whole button opens its menu below its bottom-left corner; the menu is
// filled anew each time, so it always speaks the current language.
void CImgCmp2017::AttachOptionMenu(OptionBar bar, int id, QToolButton* button) {
  auto* menu = new QMenu(button);
  button->setMenu(menu);
  button->setPopupMode(QToolButton::InstantPopup);
  connect(menu, &QMenu::aboutToShow, this, [this, bar, id, menu] {
    menu->clear();
    for (const MenuItem& item : OptionMenu(bar, id, services_.text)) {
      if (item.IsSeparator()) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(item.text);
      action->setData(item.id);
      action->setEnabled(item.enabled);
    }
  });
  connect(menu, &QMenu::triggered, this,
          [this, bar, id](QAction* action) { ChooseOption(bar, id, action->data().toInt()); });
}

void CImgCmp2017::ChooseOption(OptionBar bar, int button, int id) {
  const OptionChoice choice = ApplyMenuChoice(bar, button, id, options_, result_view_);
  if (choice.to_store != nullptr) StoreOption(*choice.to_store);
  if (choice.result_view_changed) ApplyResultView();
  if (choice.relayout) LayoutWindow();
  RefreshOptionTexts();
}

void CImgCmp2017::RefreshOptionTexts() {
  const OptionTexts t = ComputeOptionTexts(options_, result_view_, services_.text);
  const int rule_ids[] = {ids::kButton1, ids::kButton2, ids::kButton3, ids::kButton4,
                          ids::kButton5};
  for (int i = 0; i < t.rules.size(); ++i) rules_bar_->SetButtonText(rule_ids[i], t.rules[i]);
  for (int i = 0; i < t.search.size(); ++i) search_bar_->SetButtonText(rule_ids[i], t.search[i]);
  previews_->RefreshTexts();
}

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
