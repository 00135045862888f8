// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QToolBar>
#include <functional>

#include "core/text_numbers.h"

class QAction;
class QToolButton;

namespace dupliora {

using TextLookup = std::function<QString(int)>;

// The bar above one preview: the preview-mode menu and the picture commands.
class PreviewToolbar : public QToolBar {
  Q_OBJECT

 public:
  explicit PreviewToolbar(TextLookup texts, QWidget* parent = nullptr);

  // Rewrites the texts from the language table for the current mode.
  void RefreshTexts(int preview_mode);
  QAction* CommandAction(int command_id) const;
  QToolButton* ModeButton() const { return mode_button_; }

 signals:
  // 32907, 32908 or 32909 was clicked.
  void commandTriggered(int command_id);
  // The user picked a mode from the menu of 32906.
  void previewModeChosen(int preview_mode);

 private:
  void BuildModeMenu();

  TextLookup texts_;
  QToolButton* mode_button_ = nullptr;
  QAction* mode_picture_only_ = nullptr;
  QAction* mode_file_list_ = nullptr;
  QAction* mode_with_file_view_ = nullptr;
  QAction* show_in_file_manager_ = nullptr;
  QAction* delete_ = nullptr;
  QAction* open_ = nullptr;
};

}  // namespace dupliora
