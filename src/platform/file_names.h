// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>

namespace dupliora {

// Whether two paths name the same file by the platform's rule: exact on
// Linux, where /Pics and /pics are two folders; case-insensitive on Windows
// and macOS.
bool SameFileName(const QString& a, const QString& b);

// The form of a path under which SameFileName-equal paths collide (for sets).
QString FileNameKey(const QString& path);

}  // namespace dupliora
