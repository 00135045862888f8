// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/file_manager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace dupliora {
namespace {

// A file manager that has to start first answers within a few seconds;
// past that the folder is opened instead.
constexpr int kShowItemsTimeoutMs = 8000;

}  // namespace

bool OpenWithDesktop(const QString& local_path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(local_path));
}

void ShowInFileManager(const QString& path, QObject* context, UrlOpener open_folder,
                       std::function<void(bool shown)> done) {
  const QString folder = QFileInfo(path).absolutePath();
  auto fall_back = [folder, open_folder, done] {
    const bool opened = open_folder && open_folder(folder);
    if (done) done(opened);
  };
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    fall_back();
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"),
      QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString()}
       << QString();
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kShowItemsTimeoutMs), context);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                   [watcher, fall_back, done](QDBusPendingCallWatcher*) {
                     watcher->deleteLater();
                     if (watcher->isError()) {
                       fall_back();
                     } else if (done) {
                       done(true);
                     }
                   });
}

}  // namespace dupliora
