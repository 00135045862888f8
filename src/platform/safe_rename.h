// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Renames, copies and moves of single files that never replace an existing
// file. Every function returns 0 on success or an errno value; the source
// is left untouched whenever the result is not 0.
#pragma once

#include <QString>
#include <atomic>

namespace dupliora {

// Errors of our own, beyond errno (all negative).
inline constexpr int kErrorSameFile = -1;      // source and target are one file
inline constexpr int kErrorSizeMismatch = -2;  // the copy came out shorter or longer
inline constexpr int kErrorCancelled = -3;
inline constexpr int kErrorNoTrash = -4;  // no trash folder can take the file
inline constexpr int kErrorChanged = -5;  // the file is no longer the one the journal knew
inline constexpr int kErrorBadName = -6;  // a new name that would leave its folder

// POSIX rename() silently replaces its target; this gives EEXIST instead.
int RenameNoReplace(const QString& from, const QString& to);

// "base_(n).ext": the number goes before the last dot of the file name (not
// of the folder); a name without a dot, or with only a leading one, gets it
// at the end.
QString NumberedName(const QString& path, int number);

// The first of path, path_(1), path_(2), ... up to `max_number` that does
// not exist (lstat); empty when all are taken.
QString FreeName(const QString& path, int max_number);

// Copies the bytes to a hidden temporary beside the target, flushes them to
// the disk, checks the size and only then gives the copy its name, so that a
// full disk or a cancel never leaves a partial file under the target's name.
// Keeps the modification time and the permission bits. `cancel` is polled
// between blocks.
int CopyFileNoReplace(const QString& source, const QString& target,
                      const std::atomic<bool>* cancel = nullptr);

// A rename within one file system; across file systems a copy as above,
// after which the source is removed. When the source cannot be removed the
// copy is removed again, so the file is in exactly one place.
int MoveFileNoReplace(const QString& source, const QString& target);

// Whether anything (a file, a folder, a dangling link) has this name.
bool NameTaken(const QString& path);

// A readable text for a result of the functions above.
QString FileErrorText(int error);

}  // namespace dupliora
