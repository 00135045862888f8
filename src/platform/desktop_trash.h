// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The desktop trash as the freedesktop.org trash specification describes it:
// the home trash for files on the home file system, the trash of the file's
// own mount ($topdir/.Trash/$uid or $topdir/.Trash-$uid) for the others.
//
// Our own rather than QFile::moveToTrash: Qt 6.4 "succeeds" into ./files of
// the current folder when the data folder is missing, and loops for ever on
// a read-only mount (both measured). Here every failure is a failure, and
// the info file is known, so a trashed file can be put back.
#pragma once

#include <QString>

namespace dupliora {

struct TrashedFile {
  QString original;   // where the file was
  QString in_trash;   // .../files/NAME
  QString info_file;  // .../info/NAME.trashinfo
};

// $XDG_DATA_HOME/Trash (default ~/.local/share/Trash), read from the
// environment on every call.
QString HomeTrashFolder();

// Moves one file (or link) into the trash that belongs to it. 0 or an errno
// value; kErrorNoTrash when no trash folder on the file's file system can be
// used (a read-only or foreign mount): the file is then where it was.
int MoveToTrash(const QString& path, TrashedFile* trashed);

// Puts a trashed file back under its original name, never over a file that
// took that name meanwhile (EEXIST), and removes its info file.
int RestoreFromTrash(const TrashedFile& trashed);

}  // namespace dupliora
