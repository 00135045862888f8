// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/yes_no_box.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace dupliora {

void SetYesNoTexts(QMessageBox& box, const QString& yes, const QString& no) {
  if (QAbstractButton* button = box.button(QMessageBox::Yes)) button->setText(yes);
  if (QAbstractButton* button = box.button(QMessageBox::No)) button->setText(no);
}

}  // namespace dupliora
