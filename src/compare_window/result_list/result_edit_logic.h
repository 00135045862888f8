// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Rules of the result list's in-place cell editor, free of widgets.
#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace dupliora {

inline const QString kNoEditText = QStringLiteral("No-Edit");
inline constexpr int kNarrowColumnWidth = 10;  // narrower columns are skipped by the editor

enum class EditMove {
  kNextRow,       // Enter, Down
  kPreviousRow,   // Shift+Enter, Up
  kNextCell,      // Tab, Ctrl+Right
  kPreviousCell,  // Shift+Tab, Ctrl+Left
  kFirstRow,      // Ctrl+Home
  kLastRow,       // Ctrl+End
  kPageDown,
  kPageUp,
};

struct GridCell {
  int row = 0;
  int column = 0;
  bool operator==(const GridCell&) const = default;
};

// Where a move goes; nothing when it would leave the rows or stay in place.
std::optional<GridCell> EditMoveTarget(EditMove move, GridCell from, int row_count,
                                       int column_count, int page_rows);

// Steps over columns narrower than kNarrowColumnWidth (hidden ones too) in the
// direction of travel, wrapping rows; column 0 is never skipped.
std::optional<GridCell> SkipNarrowColumns(GridCell target, int step,
                                          const std::vector<int>& column_widths, int row_count);

// What the editor shows when it opens on a cell, and what it selects.
struct EditBegin {
  QString text;
  int select_start = 0;
  int select_length = 0;
  bool picture_cell = false;  // the window's m_editing_cell
};

EditBegin BeginEditText(int column, const QString& cell_text);

struct TextSelection {
  int start = 0;
  int length = 0;
  bool operator==(const TextSelection&) const = default;
};

// F2 cycles through: 0 all text, 1 the name without its extension, 2 the extension.
inline constexpr int kF2States = 3;
TextSelection F2Selection(const QString& text, int state);

}  // namespace dupliora
