// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/file_names.h"

namespace dupliora {

namespace {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseSensitive;
#endif
}  // namespace

bool SameFileName(const QString& a, const QString& b) { return a.compare(b, kFileNameCase) == 0; }

QString FileNameKey(const QString& path) {
  return kFileNameCase == Qt::CaseSensitive ? path : path.toLower();
}

}  // namespace dupliora
