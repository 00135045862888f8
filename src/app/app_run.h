// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace dupliora {

// What Run does that tests replace.
struct RunHooks {
  std::function<void(const QString& topic)> showHelp;  // default: the modal help window
  QString markerFolder;                                // default: the user's runtime folder
};

// The program after the application object exists: identity, settings
// location, "-help", the instance marker and number, the main window and the
// event loop. Returns 1 after "-help", 0 when the main window cannot be
// created, else the loop's exit code (1 after a normal close).
int Run(const QString& commandLine, const RunHooks& hooks = {});

// The arguments as one command line. When every argument names an existing
// file or folder (a file manager's "Open with") they become one list of
// folders, absolute and separated by ";" (a file gives the folder holding
// it); anything else is joined by spaces.
QString JoinCommandLine(const QStringList& argumentsWithoutProgram);

// Nothing to show windows on: no platform chosen and no display.
bool NoDisplayAvailable();

}  // namespace dupliora
