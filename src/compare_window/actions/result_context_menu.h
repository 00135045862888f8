// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace dupliora {

struct ContextMenuState {
  bool list_empty = true;
  bool row_toolbars = true;  // m_ShowListToolbar
  bool left_right = true;    // m_LeftRightSel
  bool busy = false;         // a file operation runs: the file commands wait
};

// The context menu of the result list; each action carries its command id
// as data. On an empty list every item is disabled, the sub-menus too.
QMenu* BuildResultContextMenu(QWidget* parent, const std::function<QString(int)>& text,
                              const ContextMenuState& state);

}  // namespace dupliora
