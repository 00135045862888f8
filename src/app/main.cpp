// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "app/app_run.h"
#include "app/compare_window_services.h"
#include "core/app_identity.h"

int main(int argc, char** argv) {
  // Without a display the platform plugin would abort the process with a
  // cryptic message; say plainly what is missing instead.
  if (dupliora::NoDisplayAvailable()) {
    std::fputs("Dupliora: no display available (neither DISPLAY nor WAYLAND_DISPLAY is set).\n",
               stderr);
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(dupliora::Identity().productName);
  // Title bars and the about box show it; the desktop file name lets a
  // Wayland compositor find the installed menu entry and its icon.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/dupliora.svg")));
  QApplication::setDesktopFileName(QStringLiteral("com.vantorel.Dupliora"));
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  dupliora::RegisterComparisonWindow();
  return dupliora::Run(dupliora::JoinCommandLine(arguments));
}
