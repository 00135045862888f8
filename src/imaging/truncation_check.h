// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>

class QFile;

namespace dupliora {

// Whether a picture file of the given Qt format ("bmp", "gif") ends before the
// pixels of its first picture do. Qt's BMP and GIF readers say nothing of a
// cut file: they return the picture with the missing part left blank, and
// cut copies of different photos then look alike. False for other formats
// (their readers fail, or report the damage, on their own) and for layouts
// whose length cannot be known in advance (run-length encoded BMP).
// Reads by pread, so the file position is left alone.
bool EndsBeforeItsPixels(QFile& file, const QByteArray& format);

}  // namespace dupliora
