// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/previews/preview_toolbar.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

#include "compare_window/previews/preview_layout.h"
#include "core/command_ids.h"
#include "core/text_numbers.h"

namespace dupliora {

PreviewToolbar::PreviewToolbar(TextLookup texts, QWidget* parent)
    : QToolBar(parent), texts_(std::move(texts)) {
  if (!texts_) texts_ = [](int) { return QString(); };
  setMovable(false);
  setFloatable(false);
  setIconSize(QSize(16, 16));
  setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  BuildModeMenu();
  const auto add_command = [this](QStyle::StandardPixmap icon, int command_id) {
    QAction* action = addAction(style()->standardIcon(icon), QString());
    action->setData(command_id);
    connect(action, &QAction::triggered, this,
            [this, command_id] { emit commandTriggered(command_id); });
    return action;
  };
  show_in_file_manager_ = add_command(QStyle::SP_DirOpenIcon, command::kShowInFileManager);
  delete_ = add_command(QStyle::SP_TrashIcon, command::kDeletePicture);
  open_ = add_command(QStyle::SP_FileIcon, command::kOpenPicture);
  // Only the first two carry a caption; delete and open say what they do in tooltips.
  for (QAction* action : {delete_, open_})
    qobject_cast<QToolButton*>(widgetForAction(action))->setToolButtonStyle(Qt::ToolButtonIconOnly);
  RefreshTexts(kPreviewModePictureOnly);
}

void PreviewToolbar::BuildModeMenu() {
  auto* menu = new QMenu(this);
  mode_picture_only_ = menu->addAction(QString());
  mode_file_list_ = menu->addAction(QString());
  mode_file_list_->setEnabled(false);
  mode_with_file_view_ = menu->addAction(QString());
  // The menu ticks the mode shown; a group keeps one ticked when it is chosen again.
  auto* ticked = new QActionGroup(menu);
  for (QAction* mode : {mode_picture_only_, mode_with_file_view_}) {
    mode->setCheckable(true);
    ticked->addAction(mode);
  }
  connect(mode_picture_only_, &QAction::triggered, this,
          [this] { emit previewModeChosen(kPreviewModePictureOnly); });
  connect(mode_with_file_view_, &QAction::triggered, this,
          [this] { emit previewModeChosen(kPreviewModeWithFileView); });
  mode_button_ = new QToolButton(this);
  mode_button_->setMenu(menu);
  mode_button_->setPopupMode(QToolButton::InstantPopup);
  mode_button_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  addWidget(mode_button_);
}

void PreviewToolbar::RefreshTexts(int preview_mode) {
  mode_button_->setText(texts_(text::kPreviewModeFirst + preview_mode));
  mode_picture_only_->setChecked(preview_mode == kPreviewModePictureOnly);
  mode_with_file_view_->setChecked(preview_mode == kPreviewModeWithFileView);
  mode_picture_only_->setText(texts_(text::kPreviewModeFirst));
  mode_file_list_->setText(texts_(text::kFileList));
  mode_with_file_view_->setText(texts_(text::PreviewModeText(2)));
  show_in_file_manager_->setText(texts_(text::kShowInFileManager));
  delete_->setText(texts_(text::kDelete));
  open_->setText(texts_(text::kOpen));
}

QAction* PreviewToolbar::CommandAction(int command_id) const {
  for (QAction* action : {show_in_file_manager_, delete_, open_})
    if (action->data().toInt() == command_id) return action;
  return nullptr;
}

}  // namespace dupliora
