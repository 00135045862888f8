// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/app_run.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <memory>

#include "app/frame_layout.h"
#include "app/help_window.h"
#include "app/instance_marker.h"
#include "app/main_window.h"
#include "app/window_loss_filter.h"
#include "core/app_identity.h"
#include "core/settings_store.h"

namespace dupliora {

QString JoinCommandLine(const QStringList& argumentsWithoutProgram) {
  QStringList folders;
  for (const QString& argument : argumentsWithoutProgram) {
    const QFileInfo info(argument);
    if (argument.isEmpty() || !info.exists()) return argumentsWithoutProgram.join(QLatin1Char(' '));
    // A run needs folders: a picture stands for the folder that holds it.
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (!folders.contains(QDir::toNativeSeparators(folder))) {
      folders.append(QDir::toNativeSeparators(folder));
    }
  }
  return folders.join(QLatin1Char(';'));
}

bool NoDisplayAvailable() {
  return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int Run(const QString& commandLine, const RunHooks& hooks) {
  FillAppIdentity();
  Settings().InitSettingsLocation();
  if (const std::optional<QString> topic = HelpTopicFromCommandLine(commandLine)) {
    if (hooks.showHelp) {
      hooks.showHelp(*topic);
    } else {
      ShowHelpWindow(nullptr, *topic, true);
    }
    return 1;
  }
  auto window = std::make_unique<CImgCompareMain>();
  const InstanceMarker marker(Identity().instanceName, hooks.markerFolder);
  Identity().instanceNumber =
      AssignInstanceNumber(marker.OtherInstanceRunning(), Settings(), Identity().instanceName,
                           Identity().instanceNumber);
  window->winId();  // creates the native window, still hidden
  if (window->windowHandle() == nullptr) {
    QMessageBox box(QMessageBox::NoIcon, QString(),
                    QStringLiteral("Main window creation failed!\n"));
    box.exec();
    return 0;
  }
  QApplication::setQuitOnLastWindowClosed(false);
  QObject::connect(window.get(), &CImgCompareMain::frameClosed, qApp,
                   [] { QCoreApplication::exit(1); });
  // Queued: the close runs after Qt has handled the destroy itself.
  WindowLossFilter loss(window->winId(), [main = window.get()] {
    QMetaObject::invokeMethod(main, &CImgCompareMain::CloseWithoutQuestion, Qt::QueuedConnection);
  });
  qApp->installNativeEventFilter(&loss);
  window->Start(commandLine);
  return QApplication::exec();
}

}  // namespace dupliora
