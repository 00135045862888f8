// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The option toolbars: the stored options, their drop-down menus and the
// button texts that show the current values.
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include "compare_window/path_field/path_field.h"
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
    option->value = services_.store->ReadBounded(services_.options_section, option->key,
                                                 option->value, option->minimum, option->maximum);
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
    const PictureCacheFacts cache{options_.m_remember_pictures.value != 0,
                                  RecordStore::SizeOnDisk(services_.record_store_file)};
    const int current = CurrentMenuId(bar, id, options_, result_view_);
    for (const MenuItem& item : OptionMenu(bar, id, services_.text, cache)) {
      if (item.IsSeparator()) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(item.text);
      action->setData(item.id);
      action->setEnabled(item.enabled);
      // The picture cache's items tick themselves (only the on/off switch
      // does); every other enabled item is one value of the button's option.
      const bool cache_item = IsPictureCacheItem(item.id);
      action->setCheckable(cache_item ? item.checkable : item.enabled);
      action->setChecked(cache_item ? item.checked : item.enabled && item.id == current);
    }
  });
  connect(menu, &QMenu::triggered, this,
          [this, bar, id](QAction* action) { ChooseOption(bar, id, action->data().toInt()); });
}

void CImgCmp2017::ChooseOption(OptionBar bar, int button, int id) {
  const OptionChoice choice = ApplyMenuChoice(bar, button, id, options_, result_view_);
  if (choice.to_store != nullptr) StoreOption(*choice.to_store);
  if (choice.clear_picture_cache) ClearPictureCache();
  if (choice.result_view_changed) ApplyResultView();
  if (choice.relayout) LayoutWindow();
  RefreshOptionTexts();
}

std::shared_ptr<RecordStore> CImgCmp2017::PictureStore() {
  if (!record_store_ && services_.record_store) record_store_ = services_.record_store();
  return record_store_;
}

// The store's own thread does it; the next menu shows the smaller size.
void CImgCmp2017::ClearPictureCache() {
  if (const std::shared_ptr<RecordStore> store = PictureStore()) store->ClearInBackground();
}

void CImgCmp2017::RefreshOptionTexts() {
  const OptionTexts t = ComputeOptionTexts(options_, result_view_, services_.text);
  const int rule_ids[] = {command::kButton1, command::kButton2, command::kButton3,
                          command::kButton4, command::kButton5};
  for (int i = 0; i < t.rules.size(); ++i) rules_bar_->SetButtonText(rule_ids[i], t.rules[i]);
  for (int i = 0; i < t.search.size(); ++i) search_bar_->SetButtonText(rule_ids[i], t.search[i]);
  previews_->RefreshTexts();
  RefreshPathFieldTexts();
}

// In two-list mode each field names the list it holds, inside the field
// before its text; with one list there is nothing to tell.
void CImgCmp2017::RefreshPathFieldTexts() {
  const bool two_lists = options_.m_compare_mode.value == 1;
  for (int i = 0; i < 2; ++i) {
    const QString list = two_lists ? Text(text::kFolderListFirst + i) : QString();
    fields_[i]->setToolTip(list);
    fields_[i]->SetListLabel(list);
    browse_[i]->setToolTip(Text(text::kBrowseTip));
    browse_append_[i]->setToolTip(Text(text::kBrowseAppendTip));
  }
}

}  // namespace dupliora
