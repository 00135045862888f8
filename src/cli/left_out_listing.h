// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>

#include "engine/left_out.h"

namespace dupliora {

// A path as one line of text: backslash, control characters and bytes that
// are not UTF-8 become \\ and \xNN, so every name, however odd, stays on its
// line and can be told apart.
QByteArray EscapedPath(const QByteArray& path);

// One line per file left out: its reason key, a tab, its escaped path.
QByteArray LeftOutListing(const LeftOutFiles& files);

}  // namespace dupliora
