// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The option toolbars: the stored options, their drop-down menus and the
// button texts that show the current values.
#include <QMenu>
#include <QStyle>
#include <QToolButton>

#include "compare_window/previews/preview_panes.h"
#include "compare_window/window/button_bar.h"
#include "compare_window/window/compare_window.h"
#include "core/command_ids.h"
#include "core/settings_store.h"

namespace dupliora {
namespace {

constexpr int kSearchIconSize = 18;

}  // namespace

void CImgCmp2017::LoadOptions() {
  for (OptionRecord* option : options_.Stored()) {
    if (services_.store == nullptr) break;
    option->value = services_.store->ReadInt(services_.options_section, option->key, option->value);
  }
  result_view_ = 0;
}

void CImgCmp2017::StoreOption(const OptionRecord& option) {
  if (services_.store != nullptr) {
    services_.store->WriteInt(services_.options_section, option.key, option.value);
  }
}

void CImgCmp2017::CreateToolbars() {
  rules_bar_ = new ButtonBar(this);
  rules_bar_->setObjectName(QStringLiteral("rules"));
  for (int id : {command::kButton1, command::kButton2, command::kButton3, command::kButton4,
                 command::kButton5}) {
    rules_bar_->AddButton(id, QString());
  }
  search_bar_ = new ButtonBar(this);
  search_bar_->setObjectName(QStringLiteral("search"));
  search_bar_->AddButton(command::kButton1, QString(),
                         style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  search_bar_->Button(command::kButton1)->setIconSize(QSize(kSearchIconSize, kSearchIconSize));
  search_bar_->AddButton(command::kButton2, QString());
  search_bar_->AddButton(command::kButton3, QString());
  search_bar_->AddButton(command::kButton4, QString())->setEnabled(false);
  for (int id : {command::kButton1, command::kButton2, command::kButton3, command::kButton4,
                 command::kButton5}) {
    AttachOptionMenu(OptionBar::kRules, id, rules_bar_->Button(id));
  }
  for (int id : {command::kButton1, command::kButton2, command::kButton3}) {
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
  const int rule_ids[] = {command::kButton1, command::kButton2, command::kButton3,
                          command::kButton4, command::kButton5};
  for (int i = 0; i < t.rules.size(); ++i) rules_bar_->SetButtonText(rule_ids[i], t.rules[i]);
  for (int i = 0; i < t.search.size(); ++i) search_bar_->SetButtonText(rule_ids[i], t.search[i]);
  previews_->RefreshTexts();
}

}  // namespace dupliora
