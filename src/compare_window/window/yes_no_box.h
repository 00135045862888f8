// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>

class QMessageBox;

namespace dupliora {

// Gives a box's Yes and No buttons the program's own texts: Qt's standard
// buttons would stay English under every language of the program.
void SetYesNoTexts(QMessageBox& box, const QString& yes, const QString& no);

}  // namespace dupliora
