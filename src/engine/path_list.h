// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <set>

namespace dupliora {

// Distinct path-list entries, ordered by their UTF-16 code units.
using PathSet = std::set<QString>;

// Normalises a path-list text in place: entries separated by ";" or line
// breaks, the first %VARIABLE% of each expanded, empty and repeated entries
// (by the platform's same-file-name rule) dropped, joined by ";".
// Fills `entries` when given; returns the last new entry in text order.
QString SplitPathList(QString& text, PathSet* entries = nullptr);

struct PathListCheck {
  int count = 0;  // number of entries when all exist, else 0
  QString last;   // the missing entry after a failure, else the greatest entry
};

// Whether every entry of the list exists (file or folder).
PathListCheck CheckPathList(QString& text);

}  // namespace dupliora
