// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Every question and message of the result actions goes through here: the
// window shows dialogs, tests answer from a script.
#pragma once

#include <QString>
#include <functional>

#include "platform/file_transfer.h"

class QWidget;

namespace dupliora {

class ActionPrompts : public ConflictQuestion {
 public:
  // The folder picker, opened at `start`; empty when cancelled.
  virtual QString PickFolder(const QString& start) = 0;
  // A yes/no question; `dangerous` makes No the default.
  virtual bool Confirm(const QString& text, bool dangerous) = 0;
  virtual void Inform(const QString& text) = 0;
};

// The dialogs of the comparison window.
class DialogPrompts : public ActionPrompts {
 public:
  using FolderPicker = std::function<QString(QWidget* parent, const QString& start)>;
  DialogPrompts(QWidget* parent, std::function<QString(int)> text, FolderPicker picker);

  QString PickFolder(const QString& start) override;
  bool Confirm(const QString& text, bool dangerous) override;
  void Inform(const QString& text) override;
  ConflictAnswer AskConflict(const QString& source, const QString& target) override;

 private:
  QWidget* parent_;
  std::function<QString(int)> text_;
  FolderPicker picker_;
};

}  // namespace dupliora
