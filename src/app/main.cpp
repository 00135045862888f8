// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QApplication>
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
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  dupliora::RegisterComparisonWindow();
  return dupliora::Run(dupliora::JoinCommandLine(arguments));
}
