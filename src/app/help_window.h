// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>

class QWidget;

namespace dupliora {

// The program's help text as HTML; its sections carry anchors ("start",
// "options", "results", "settings") that a topic "#name" scrolls to.
QString HelpHtml();

// Shows the help at `topic` ("#" alone: the beginning). Modal waits until the
// user closes it.
void ShowHelpWindow(QWidget* parent, const QString& topic, bool modal);

}  // namespace dupliora
