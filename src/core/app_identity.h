// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdint>

namespace dupliora {

// Who this process is: filled once at start-up, before anything reads it.
struct AppIdentity {
  QString productName = QStringLiteral("Dupliora");   // titles, per-user folder, "#AP#"
  QString settingsName = QStringLiteral("Dupliora");  // settings file base name, options section
  QString instanceName = QStringLiteral("Dupliora");  // instance marker, "_Id" key, export name
  QString versionText = QStringLiteral("5.58");
  std::uint32_t instanceNumber = 0;
};

// The process-wide identity.
AppIdentity& Identity();

// Puts the identity back to its start values (the version from kVersionRecord).
void FillAppIdentity();

// The version record the version text is derived from.
inline constexpr const char* kVersionRecord = "5,58,0,0";

// "5,58,0,0" -> "5.58", "5,58,2,0" -> "5.58.2". Missing fields read as 0.
QString VersionTextFromRecord(const QString& record);

}  // namespace dupliora
