// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>

namespace dupliora {

class CMyProfStr;
struct AppIdentity;

inline constexpr const char* kRecordStoreFileName = "records.sqlite";

// $XDG_CACHE_HOME/<product>/records.sqlite, with ~/.cache when the variable
// is unset or not an absolute path.
QString UserRecordStorePath(const QString& product_name);

// Where the program keeps its record store: beside the settings file in
// portable mode (the whole program travels in one folder), else in the
// user's cache folder.
QString RecordStorePath(const CMyProfStr& settings, const AppIdentity& identity);

// The same place for dupliora-cli, which reads no settings: a portable
// settings file beside the program (written there by the window program of
// the same folder) means portable mode.
QString RecordStorePathBesideProgram(const QString& program_path, const AppIdentity& identity);

}  // namespace dupliora
