// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QFontMetrics>
#include <QString>

namespace dupliora {

// A path cut to fit a width so that its file name shows whole: the folder
// part loses its middle first; when the name alone is too long, the path
// keeps its end, where names of one series differ.
QString ElidePath(const QFontMetrics& metrics, const QString& path, int width);

}  // namespace dupliora
