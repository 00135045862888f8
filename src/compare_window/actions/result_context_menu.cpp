// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/actions/result_context_menu.h"

#include <QMenu>

#include "compare_window/actions/marked_files.h"
#include "core/text_numbers.h"

namespace dupliora {
namespace {

constexpr int kInvertMarks = 34134;
constexpr int kSwapMarks = 45997;
constexpr int kCopyOverPartner = 57641;

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
  QAction* toolbar = Add(options, text(text::kRowToolbarOption), kRowToolbarOptionCommand);
  toolbar->setCheckable(true);
  toolbar->setChecked(state.row_toolbars);
  QAction* arrows = Add(
      options,
      QStringLiteral("<-- --> %1 (%2)").arg(text(text::kArrowKeys), text(text::kArrowKeysToggle)),
      kLeftRightOptionCommand);
  arrows->setCheckable(true);
  arrows->setChecked(state.left_right);
  menu->addSeparator();
  const QList<QAction*> file_commands = {
      Add(menu, text(text::kCopyToFolder), kCopyMarkedCommand),
      Add(menu, text(text::kMoveToFolder), kMoveMarkedCommand),
      Add(menu, text(text::kDelete) + QStringLiteral(" (") + text(text::kToTrash) + u')',
          kTrashMarkedCommand)};
  menu->addSeparator();
  QMenu* remove = menu->addMenu(text(text::kRemoveRowsMenu));
  Add(remove, text(text::kRemoveSelectedRows), kRemoveSelectedRows);
  Add(remove, text(text::kRemoveMarkedRows), kRemoveMarkedRows);
  Add(remove, text(text::kRemoveUnmarkedRows), kRemoveUnmarkedRows);
  menu->addSeparator();
  QAction* copy_over = Add(menu, text(text::kCopyOverPartner), kCopyOverPartner);
  Add(menu, text(text::kMarkLarger), kMarkLargerCommand);
  menu->addSeparator();
  Add(menu, text(text::kInvertMarks).section(u'\t', 0, 0), kInvertMarks);
  Add(menu, text(text::kSwapMarks) + QStringLiteral("\t<--->"), kSwapMarks);
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
