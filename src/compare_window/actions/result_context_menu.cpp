// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/actions/result_context_menu.h"

#include <QMenu>

#include "core/command_ids.h"
#include "core/text_numbers.h"

namespace dupliora {
namespace {

QAction* Add(QMenu* menu, const QString& caption, int command) {
  QAction* action = menu->addAction(caption);
  action->setData(command);
  return action;
}

}  // namespace

QMenu* BuildResultContextMenu(QWidget* parent, const std::function<QString(int)>& text,
                              const ContextMenuState& state) {
  auto* menu = new QMenu(parent);
  QMenu* options = menu->addMenu(text(text::kOptionsMenu));
  QAction* toolbar = Add(options, text(text::kRowToolbarOption), command::kRowToolbarOption);
  toolbar->setCheckable(true);
  toolbar->setChecked(state.row_toolbars);
  QAction* arrows = Add(
      options,
      QStringLiteral("<-- --> %1 (%2)").arg(text(text::kArrowKeys), text(text::kArrowKeysToggle)),
      command::kLeftRightOption);
  arrows->setCheckable(true);
  arrows->setChecked(state.left_right);
  menu->addSeparator();
  const QList<QAction*> file_commands = {
      Add(menu, text(text::kCopyToFolder), command::kCopyMarked),
      Add(menu, text(text::kMoveToFolder), command::kMoveMarked),
      Add(menu, text(text::kDelete) + QStringLiteral(" (") + text(text::kToTrash) + u')',
          command::kTrashMarked)};
  menu->addSeparator();
  QMenu* remove = menu->addMenu(text(text::kRemoveRowsMenu));
  Add(remove, text(text::kRemoveSelectedRows), command::kRemoveSelectedRows);
  Add(remove, text(text::kRemoveMarkedRows), command::kRemoveMarkedRows);
  Add(remove, text(text::kRemoveUnmarkedRows), command::kRemoveUnmarkedRows);
  menu->addSeparator();
  QAction* copy_over = Add(menu, text(text::kCopyOverPartner), command::kCopyOverPartner);
  Add(menu, text(text::kMarkLarger), command::kMarkLarger);
  menu->addSeparator();
  Add(menu, text(text::kInvertMarks).section(u'\t', 0, 0), command::kInvertMarks);
  Add(menu, text(text::kSwapMarks) + QStringLiteral("\t<--->"), command::kSwapMarks);
  if (state.list_empty) {
    for (QAction* action : menu->actions()) action->setEnabled(false);
    options->setEnabled(false);
    remove->setEnabled(false);
  } else if (state.busy) {
    for (QAction* action : file_commands) action->setEnabled(false);
    copy_over->setEnabled(false);
  }
  return menu;
}

}  // namespace dupliora
