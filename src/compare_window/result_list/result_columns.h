// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QDir>
#include <QString>
#include <Qt>
#include <functional>

#include "core/text_numbers.h"
#include "engine/image_record.h"

namespace dupliora {

// Language text by number; the window hands in the language table's lookup.
using ResultTextLookup = std::function<QString(int)>;

inline constexpr int kResultColumnsPlain = 13;
inline constexpr int kResultColumnsDiagnostic = 16;
inline constexpr int kFirstPathColumn = 0;
inline constexpr int kSecondPathColumn = 1;
inline constexpr int kSimilarityColumn = 2;
inline constexpr int kFirstDimensionsColumn = 4;
inline constexpr int kSecondDimensionsColumn = 5;

struct ResultColumnLayout {
  Qt::Alignment alignment;
  int width;  // initial width in pixels
};

// Alignment and initial width of a column; columns past the last are left/0.
ResultColumnLayout ResultColumnLayoutOf(int column);

// The header title of a column.
QString ResultColumnTitle(int column, const ResultTextLookup& text);

// The display text of one cell; empty for a missing result or record and for
// columns past the last.
QString FormatResultCell(const MatchResult* match, int column, const ResultTextLookup& text);

// English wording of the list's texts, used until a language table is wired.
QString DefaultResultText(int number);

// Developers drop a *.dsw file into the working folder to get the three
// diagnostic columns.
bool HasDeveloperMarker(const QDir& folder);

inline bool IsPathColumn(int column) {
  return column == kFirstPathColumn || column == kSecondPathColumn;
}

}  // namespace dupliora
