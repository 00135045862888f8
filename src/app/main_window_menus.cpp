// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The main window's menus and toolbar: captions are language text numbers,
// translated by TranslateMenuBar whenever the language changes.
#include <QActionGroup>
#include <QMdiArea>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "app/frame_status_bar.h"
#include "app/main_window.h"
#include "app/menu_translation.h"
#include "core/command_ids.h"
#include "core/language_table.h"
#include "core/settings_store.h"
#include "core/text_numbers.h"

namespace dupliora {

namespace {

QString Number(int captionNumber) { return QString::number(captionNumber); }

}  // namespace

QAction* CImgCompareMain::AddCommand(QMenu* menu, int id, int captionNumber) {
  QAction* action = menu->addAction(Number(captionNumber));
  action->setData(id);
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  return action;
}

void CImgCompareMain::BuildMenus() {
  QMenu* file = menuBar()->addMenu(Number(text::kMenuFile));
  AddCommand(file, command::kNewComparison, command::kNewComparison)
      ->setShortcut(QKeySequence::New);
  AddCommand(file, command::kExportList, command::kExportList)->setShortcut(QKeySequence::Save);
  file->addSeparator();
  AddCommand(file, command::kExit, command::kExit)->setShortcut(QKeySequence::Quit);

  QMenu* edit = menuBar()->addMenu(Number(text::kMenuEdit));
  QAction* undo = AddCommand(edit, command::kUndo, text::kUndo);
  undo->setShortcut(QKeySequence::Undo);
  connect(edit, &QMenu::aboutToShow, this, [this, undo] {
    ComparisonCommands* commands = last_child_ ? last_child_->Commands() : nullptr;
    undo->setEnabled(commands != nullptr && commands->CanDo(command::kUndo));
  });
  connect(edit, &QMenu::aboutToHide, this, [undo] { undo->setEnabled(true); });
  edit->addSeparator();
  AddCommand(edit, command::kSelectAll, command::kSelectAll);
  AddCommand(edit, command::kInvertSelection, command::kInvertSelection);

  QMenu* options = menuBar()->addMenu(Number(text::kMenuView));
  start_modes_ = new QActionGroup(this);
  for (int id = command::kStartModeFirst; id <= command::kStartModeLast; ++id) {
    QAction* mode = AddCommand(options, id, id);
    mode->setCheckable(true);
    start_modes_->addAction(mode);
  }
  options->addSeparator();
  ask_before_closing_ = AddCommand(options, command::kAskBeforeClosing, command::kAskBeforeClosing);
  ask_before_closing_->setCheckable(true);
  options->addSeparator();
  language_menu_ = options->addMenu(Number(text::kMenuLanguage));
  languages_ = new QActionGroup(this);
  for (int id = 0; id < kLanguageIdCount; ++id) {
    QAction* language =
        AddCommand(language_menu_, command::kLanguageFirst + id, text::kLanguageNameFirst + id);
    language->setCheckable(true);
    languages_->addAction(language);
  }

  QMenu* help = menuBar()->addMenu(Number(text::kMenuHelp));
  AddCommand(help, command::kHelp, text::kMenuHelp)->setShortcut(QKeySequence::HelpContents);
  AddCommand(help, command::kAbout, text::kAbout);
  UpdateChecks();
}

void CImgCompareMain::BuildToolBar() {
  toolbar_ = addToolBar(QString());
  toolbar_->setObjectName(QStringLiteral("toolbar_354"));
  toolbar_->setMovable(false);
  toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  const auto findAction = [this](int id) -> QAction* {
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
      if (action->data().toInt() == id) return action;
    }
    return nullptr;
  };
  const std::pair<int, QStyle::StandardPixmap> buttons[] = {
      {command::kExportList, QStyle::SP_DialogSaveButton},
      {command::kSelectAll, QStyle::SP_DialogApplyButton},
      {command::kInvertSelection, QStyle::SP_BrowserReload},
  };
  for (const auto& [id, icon] : buttons) {
    if (QAction* action = findAction(id)) {
      action->setIcon(style()->standardIcon(icon));
      toolbar_->addAction(action);
    }
  }
  toolbar_->addSeparator();
  language_button_ =
      new QAction(style()->standardIcon(QStyle::SP_FileDialogInfoView), QString(), this);
  language_button_->setData(command::kLanguageButton);
  language_button_->setMenu(language_menu_);
  toolbar_->addAction(language_button_);
  if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(language_button_))) {
    button->setPopupMode(QToolButton::InstantPopup);
  }
}

void CImgCompareMain::UpdateChecks() {
  const int mode = Settings().ReadInt(QStringLiteral("Start"), QStringLiteral("Max"), 3, 0, 3);
  const int language = Languages().CurrentLanguage();
  for (QAction* action : start_modes_->actions()) {
    action->setChecked(action->data().toInt() == command::kStartModeFirst + mode);
  }
  for (QAction* action : languages_->actions()) {
    action->setChecked(action->data().toInt() == command::kLanguageFirst + language);
  }
}

void CImgCompareMain::Retranslate() {
  TranslateMenuBar(menuBar());
  // The language names were just set from their numbers; mark those without texts.
  for (QAction* language : languages_->actions()) {
    const int id = language->data().toInt() - command::kLanguageFirst;
    if (!HasLanguageTexts(id)) {
      language->setText(language->text() + QLatin1Char(' ') + GetString(text::kEnglishTextsMark));
    }
  }
  language_button_->setText(GetString(text::kLanguageButton));
  status_->SetPartText(0, GetString(text::kStatusReady));  // part 0 only ever says ready
  for (QMdiSubWindow* child : mdi_->subWindowList()) {
    if (qobject_cast<CImgChildFrame*>(child)) child->setWindowTitle(ChildTitle(child));
  }
  UpdateChecks();
  UpdateTitle();
  UpdateTabBar();  // the note shown without comparison windows
}

}  // namespace dupliora
