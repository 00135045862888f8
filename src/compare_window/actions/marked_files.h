// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The list's answers to "which files" and "which rows": plain functions over
// an ActionList.
#pragma once

#include <QStringList>
#include <vector>

#include "compare_window/actions/action_list.h"

namespace dupliora {

// The distinct marked files in row order, first picture before second.
// "Distinct" by the platform's file-name rule: on Linux a.jpg and A.jpg are
// two files.
QStringList CollectMarkedFiles(const ActionList& list);

// Rows, last to first, of which either picture no longer exists.
std::vector<int> RowsOfMissingFiles(const ActionList& list);

// Rows for 45998 (selected), 45999 (a mark in either cell) and 46000 (no mark).
std::vector<int> RowsToRemove(const ActionList& list, int command);

// Command 5: the picture with the larger area gets the mark, on equal areas
// the larger file; on equal sizes too, neither. Areas and sizes in 64 bits:
// a 70,000 x 70,000 panorama and a 5 GB file compare right.
RowMarks LargerPictureMarks(const MatchResult& match);
std::vector<RowMarks> LargerPictureMarks(const ActionList& list);

// Of `files`, those that some row pairs with itself: both cells reach one
// file (two spellings, a symlinked folder, a bind mount). Such a file is
// never deleted, moved or overwritten, whatever the list says.
QStringList SelfPairedFiles(const ActionList& list, const QStringList& files);

}  // namespace dupliora
