// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QList>

class QAction;
class QMenu;
class QMenuBar;

namespace dupliora {

// Menus carry their captions as language text numbers. Translation replaces
// every caption that is such a number by its text, descending into submenus;
// the number is kept on the action so the menu can be translated again after
// a change of language. Other captions stay as they are.
void TranslateMenu(QMenu* menu);
void TranslateMenuBar(QMenuBar* bar);
void TranslateActions(const QList<QAction*>& actions);

// Qt's own texts (standard buttons, file dialogs, context menus of text
// fields) follow the program's language where Qt ships them; other
// languages get Qt's English. Returns whether a translation was installed.
bool InstallQtTranslations(int language_id);

}  // namespace dupliora
