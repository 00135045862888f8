// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>

namespace dupliora {

// What a child client may implement to receive the main window's commands
// that act on it: 57642 (select all rows), 34134 (invert the selection), 57643
// (undo the last file operation). Returns false when it does not handle the command.
class ComparisonCommands {
 public:
  virtual ~ComparisonCommands() = default;
  virtual bool OnCommand(int id) = 0;
  // Asked before the window is closed on its own (Escape, its tab's close
  // button); false keeps it open. Not asked when the whole program closes.
  virtual bool ConfirmDiscard() { return true; }
  // Whether a command has something to act on now (the Edit menu asks for 57643).
  virtual bool CanDo(int /*id*/) const { return true; }
};

// Shows a picture by path in the first or second thumbnail view of a child.
class CShowImage2017 {
 public:
  virtual ~CShowImage2017() = default;
  virtual void ShowFirst(const QString& path) = 0;
  virtual void ShowSecond(const QString& path) = 0;
};

// Takes the pictures and folders the program was started with (a file
// manager's "Open with", the desktop entry's %F) as one path list.
class StartPathReceiver {
 public:
  virtual ~StartPathReceiver() = default;
  virtual void TakeStartPaths(const QString& path_list) = 0;
};

}  // namespace dupliora
