// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QDir>
#include <QFrame>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

#include "app/core/text_numbers.h"
#include "compare_window/button_bar.h"
#include "compare_window/compare_window.h"
#include "compare_window/path_field.h"
#include "compare_window/ploder.h"
#include "compare_window/result_list_view.h"
#include "compare_window/window_ids.h"
#include "engine/path_list.h"

namespace dupliora {
namespace {

constexpr int kSearchIconSize = 18;

}  // namespace

void CImgCmp2017::CreateToolbars() {
  rules_bar_ = new ButtonBar(this, true);
  rules_bar_->setObjectName(QStringLiteral("rules"));
  for (int id : {ids::kButton1, ids::kButton2, ids::kButton3, ids::kButton4, ids::kButton5}) {
    rules_bar_->AddButton(id, QString());
  }
  search_bar_ = new ButtonBar(this, true);
  search_bar_->setObjectName(QStringLiteral("search"));
  search_bar_->AddButton(ids::kButton1, QString(),
                         style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  search_bar_->Button(ids::kButton1)->setIconSize(QSize(kSearchIconSize, kSearchIconSize));
  search_bar_->AddButton(ids::kButton2, QString());
  search_bar_->AddButton(ids::kButton3, QString());
  search_bar_->AddButton(ids::kButton4, QString())->setEnabled(false);
  for (int side = 0; side < 2; ++side) {
    ButtonBar* bar = preview_bars_[side] = new ButtonBar(this, false);
    bar->setObjectName(side == 0 ? QStringLiteral("preview_left") : QStringLiteral("preview_right"));
    bar->AddButton(ids::kButton1, QString());
    bar->AddButton(ids::kButton2, Text(text::kShowInFileManager),
                   style()->standardIcon(QStyle::SP_DirOpenIcon));
    bar->AddButton(ids::kButton3, Text(text::kDelete), style()->standardIcon(QStyle::SP_TrashIcon));
    bar->AddButton(ids::kButton4, Text(text::kOpen),
                   style()->standardIcon(QStyle::SP_FileDialogContentsView));
  }
  connect(rules_bar_, &ButtonBar::ButtonClicked, this,
          [this](int id, QToolButton* anchor) { OnBarButton(OptionBar::kRules, id, anchor); });
  connect(search_bar_, &ButtonBar::ButtonClicked, this,
          [this](int id, QToolButton* anchor) { OnBarButton(OptionBar::kSearch, id, anchor); });
  for (int side = 0; side < 2; ++side) {
    const OptionBar bar = side == 0 ? OptionBar::kPreviewLeft : OptionBar::kPreviewRight;
    connect(preview_bars_[side], &ButtonBar::ButtonClicked, this,
            [this, bar, side](int id, QToolButton* anchor) {
              if (id == ids::kButton1) return OnBarButton(bar, id, anchor);
              emit PictureCommand(id, side);
            });
  }
}

// The menu opens at the button's bottom-left corner and returns its choice.
void CImgCmp2017::OnBarButton(OptionBar bar, int id, QToolButton* anchor) {
  const std::vector<MenuItem> items = OptionMenu(bar, id, services_.text);
  if (items.empty()) return;
  QMenu menu(this);
  for (const MenuItem& item : items) {
    if (item.IsSeparator()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(item.text);
    action->setData(item.id);
    action->setEnabled(item.enabled);
  }
  const QAction* chosen = menu.exec(anchor->mapToGlobal(anchor->rect().bottomLeft()));
  if (chosen != nullptr) ChooseOption(bar, id, chosen->data().toInt());
}

void CImgCmp2017::ChooseOption(OptionBar bar, int button, int id) {
  const OptionChoice choice = ApplyMenuChoice(bar, button, id, options_, result_view_);
  if (choice.to_store != nullptr) StoreOption(*choice.to_store);
  if (choice.result_view_changed) ApplyResultView();
  if (choice.preview_mode_changed) ApplyPreviewMode();
  if (choice.relayout) LayoutWindow();
  RefreshOptionTexts();
}

void CImgCmp2017::RefreshOptionTexts() {
  const OptionTexts t = ComputeOptionTexts(options_, result_view_, services_.text);
  const int rule_ids[] = {ids::kButton1, ids::kButton2, ids::kButton3, ids::kButton4,
                          ids::kButton5};
  for (int i = 0; i < t.rules.size(); ++i) rules_bar_->SetButtonText(rule_ids[i], t.rules[i]);
  for (int i = 0; i < t.search.size(); ++i) search_bar_->SetButtonText(rule_ids[i], t.search[i]);
  for (ButtonBar* bar : preview_bars_) {
    bar->SetButtonText(ids::kButton1, t.preview_mode);
    bar->SetButtonText(ids::kButton2, t.preview_show);
  }
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

void CImgCmp2017::ApplyPreviewMode() {
  const bool with_files = options_.preview_mode.value != 0;
  for (int side = 0; side < 2; ++side) {
    if (with_files && preview_file_views_[side] == nullptr) {
      preview_file_views_[side] = new CPloder(hosts_[side]);
      preview_file_views_[side]->setObjectName(QStringLiteral("preview_file_view"));
    }
    if (preview_file_views_[side] != nullptr) preview_file_views_[side]->setVisible(with_files);
    PlacePreviewHostChildren(side);
  }
}

}  // namespace dupliora
