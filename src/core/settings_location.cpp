// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <chrono>

#include "core/app_identity.h"
#include "core/settings_store.h"

namespace dupliora {

namespace {

int MillisecondTick() {
  using namespace std::chrono;
  return int(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() &
             0x3fffffff);
}

QString ProgramFolder(const QString& programPath) {
  const qsizetype slash = programPath.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? QString() : programPath.left(slash);
}

// A program file carries an extension on some systems and none here, so a
// path without any "." in its file name qualifies as well.
bool ProgramPathQualifies(const QString& programPath) {
  const QString fileName = QFileInfo(programPath).fileName();
  if (!fileName.contains(QLatin1Char('.'))) return programPath.size() > 2;
  return programPath.lastIndexOf(QLatin1Char('.')) > 2;
}

// The text after "ini=", without its extension; empty when the rule does not apply.
// A text that reaches into a folder name is no profile name.
QString ProfileFromProgramPath(const QString& programPath) {
  const qsizetype at = programPath.indexOf(QStringLiteral("ini="));
  if (at < 3) return {};
  QString profile = programPath.mid(at + 4);
  const qsizetype dot = profile.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) profile.truncate(dot);
  if (profile.size() <= 3 || profile.contains(QLatin1Char('/'))) return {};
  return profile;
}

}  // namespace

SettingsEnvironment DefaultSettingsEnvironment() {
  SettingsEnvironment environment;
  environment.programPath = QDir::fromNativeSeparators(QCoreApplication::applicationFilePath());
  const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
  environment.userConfigRoot =
      QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QStringLiteral("/.config");
  return environment;
}

bool CMyProfStr::ProbeSettingsFile(const QString& candidate) {
  if (candidate.isEmpty()) return false;
  const QString remembered = SettingsFilePath;
  SettingsFilePath = candidate;
  int written = MillisecondTick();
  // An old probe value that happens to match would hide a file we cannot write.
  if (ReadInt(QStringLiteral("Start"), QStringLiteral("chk_ini"), 0) == written) ++written;
  WriteInt(QStringLiteral("Start"), QStringLiteral("chk_ini"), written);
  cache_ = {};  // the value must come back from the file, not from memory
  const int read = ReadInt(QStringLiteral("Start"), QStringLiteral("chk_ini"), 0);
  SettingsFilePath = remembered;
  return read == written;
}

void CMyProfStr::InitSettingsLocation(const SettingsEnvironment& environment,
                                      AppIdentity& identity) {
  SettingsFilePath.clear();
  PortableMode = false;
  ProfileName.clear();
  const QString folder = ProgramFolder(environment.programPath);
  const QString besideProgram = folder + QLatin1Char('/') + identity.settingsName + ".ini";
  const QFileInfo beside(besideProgram);
  if (beside.exists() && beside.isFile() && ProbeSettingsFile(besideProgram)) {
    SettingsFilePath = besideProgram;
  }
  if (ProgramPathQualifies(environment.programPath) &&
      !QFileInfo(folder + QLatin1Char('/') + identity.settingsName + "_Uninstall.ini").isFile()) {
    PortableMode = true;
  }
  const QString profile = ProfileFromProgramPath(environment.programPath);
  if (!profile.isEmpty()) {
    ProfileName = profile;
    identity.settingsName += QLatin1Char('_') + profile;
    SettingsFilePath = folder + QLatin1Char('/') + identity.settingsName + ".ini";
  }
  const QString root = environment.userConfigRoot.isEmpty() ? folder : environment.userConfigRoot;
  const QString userFolder = QDir::cleanPath(root + QLatin1Char('/') + identity.productName);
  const QString userPath = userFolder + QLatin1Char('/') + identity.settingsName + ".ini";
  if (!PortableMode) {
    // The whole chain: a fresh account may not even have its configuration folder yet.
    QDir().mkpath(userFolder);
    SettingsFilePath = userPath;
  }
  if (!ProbeSettingsFile(SettingsFilePath)) {
    SettingsFilePath = userPath;
    PortableMode = false;
    QDir().mkpath(userFolder);
  }
}

void CMyProfStr::InitSettingsLocation() {
  InitSettingsLocation(DefaultSettingsEnvironment(), Identity());
}

}  // namespace dupliora
