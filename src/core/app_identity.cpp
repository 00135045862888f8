// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "core/app_identity.h"

#include <QStringList>

namespace dupliora {

AppIdentity& Identity() {
  static AppIdentity identity;
  return identity;
}

void FillAppIdentity() {
  AppIdentity fresh;
  fresh.versionText = VersionTextFromRecord(QString::fromLatin1(kVersionRecord));
  Identity() = fresh;
}

QString VersionTextFromRecord(const QString& record) {
  const QStringList fields = record.split(QLatin1Char(','));
  int parts[3] = {0, 0, 0};
  for (int i = 0; i < 3 && i < fields.size(); ++i) parts[i] = fields[i].trimmed().toInt();
  if (parts[2] == 0) return QStringLiteral("%1.%2").arg(parts[0]).arg(parts[1]);
  return QStringLiteral("%1.%2.%3").arg(parts[0]).arg(parts[1]).arg(parts[2]);
}

}  // namespace dupliora
