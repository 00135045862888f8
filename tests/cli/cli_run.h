// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The command-line tool run as a child process, as a user or script runs it.
#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace dupliora::test {

struct CliRun {
  int exit_code = -1;  // -1: it hung or died by a signal
  QByteArray out;
  QByteArray err;
};

inline QString CliPath() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/../src/dupliora-cli");
}

// `extra` is added to this process's environment.
inline CliRun RunCli(const QStringList& arguments, const QProcessEnvironment& extra = {}) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(extra);
  process.setProcessEnvironment(environment);
  process.start(CliPath(), arguments);
  CliRun run;
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) return run;
  run.exit_code = process.exitCode();
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

}  // namespace dupliora::test
