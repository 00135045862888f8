// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/actions/action_prompts.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "core/text_numbers.h"

namespace dupliora {

DialogPrompts::DialogPrompts(QWidget* parent, std::function<QString(int)> text, FolderPicker picker)
    : parent_(parent), text_(std::move(text)), picker_(std::move(picker)) {}

QString DialogPrompts::PickFolder(const QString& start) {
  if (picker_) return picker_(parent_, start);
  return QFileDialog::getExistingDirectory(parent_, QString(), start);
}

bool DialogPrompts::Confirm(const QString& text, bool dangerous) {
  QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::Yes | QMessageBox::No,
                  parent_);
  box.button(QMessageBox::Yes)->setText(text_(text::kYes));
  box.button(QMessageBox::No)->setText(text_(text::kNo));
  box.setDefaultButton(dangerous ? QMessageBox::No : QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void DialogPrompts::Inform(const QString& text) {
  QMessageBox box(QMessageBox::Information, QString(), text, QMessageBox::Ok, parent_);
  box.exec();
}

ConflictAnswer DialogPrompts::AskConflict(const QString& source, const QString& target) {
  QMessageBox box(QMessageBox::Question, QString(), text_(text::kNameTaken).arg(target, source),
                  QMessageBox::NoButton, parent_);
  QPushButton* replace = box.addButton(text_(text::kReplace), QMessageBox::AcceptRole);
  QPushButton* skip = box.addButton(text_(text::kSkip), QMessageBox::RejectRole);
  QPushButton* keep = box.addButton(text_(text::kKeepBoth), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(text_(text::kCancel), QMessageBox::RejectRole);
  box.setDefaultButton(keep);  // the answer that loses nothing
  box.setEscapeButton(cancel);
  auto* all = new QCheckBox(text_(text::kApplyToAll), &box);
  box.setCheckBox(all);
  box.exec();
  ConflictAnswer answer;
  answer.apply_to_all = all->isChecked();
  const QAbstractButton* clicked = box.clickedButton();
  answer.choice = clicked == replace ? ConflictChoice::kReplace
                  : clicked == skip  ? ConflictChoice::kSkip
                  : clicked == keep  ? ConflictChoice::kKeepBoth
                                     : ConflictChoice::kCancel;
  return answer;
}

}  // namespace dupliora
