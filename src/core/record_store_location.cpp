// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "core/record_store_location.h"

#include <QDir>
#include <QFileInfo>

#include "core/app_identity.h"
#include "core/settings_store.h"

namespace dupliora {

namespace {

QString Beside(const QString& file) {
  return QFileInfo(file).absolutePath() + QLatin1Char('/') + QLatin1String(kRecordStoreFileName);
}

}  // namespace

QString UserRecordStorePath(const QString& product_name) {
  const QString xdg = qEnvironmentVariable("XDG_CACHE_HOME");
  const QString root =
      QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QStringLiteral("/.cache");
  return QDir::cleanPath(root + QLatin1Char('/') + product_name + QLatin1Char('/') +
                         QLatin1String(kRecordStoreFileName));
}

QString RecordStorePath(const CMyProfStr& settings, const AppIdentity& identity) {
  if (settings.PortableMode && !settings.SettingsFilePath.isEmpty()) {
    return Beside(settings.SettingsFilePath);
  }
  return UserRecordStorePath(identity.productName);
}

QString RecordStorePathBesideProgram(const QString& program_path, const AppIdentity& identity) {
  const QString folder = QFileInfo(program_path).absolutePath() + QLatin1Char('/');
  if (QFileInfo(folder + identity.settingsName + QStringLiteral(".ini")).isFile() &&
      !QFileInfo(folder + identity.settingsName + QStringLiteral("_Uninstall.ini")).isFile()) {
    return Beside(program_path);
  }
  return UserRecordStorePath(identity.productName);
}

}  // namespace dupliora
