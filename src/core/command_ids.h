// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Every command number of the program in one place: the numbers are kept
// from the menus, toolbars and dialogs of the original, so that the parts of
// the program and the settings agree on them.
#pragma once

namespace dupliora::command {

// Main window menus and toolbar.
inline constexpr int kExportList = 32816;
inline constexpr int kSelectAll = 57642;
inline constexpr int kUndo = 57643;
inline constexpr int kInvertSelection = 34134;
inline constexpr int kNewComparison = 57600;
inline constexpr int kExit = 57665;
inline constexpr int kRestorePlacement = 44444;
inline constexpr int kStartModeFirst = 32945;  // start mode n is command kStartModeFirst + n
inline constexpr int kStartModeLast = 32948;
inline constexpr int kAskBeforeClosing = 45853;
inline constexpr int kLanguageFirst = 43900;  // language id n is command kLanguageFirst + n
inline constexpr int kLanguageLast = 43936;
inline constexpr int kLanguageButton = 32907;
inline constexpr int kHelp = 57670;
inline constexpr int kAbout = 57664;

// Buttons of the comparison window's option toolbars; the same numbers
// repeat on every toolbar.
inline constexpr int kButton1 = 32906;
inline constexpr int kButton2 = 32907;
inline constexpr int kButton3 = 32908;
inline constexpr int kButton4 = 32909;
inline constexpr int kButton5 = 32910;

// Picture commands of the preview toolbars (all three) and the row toolbars
// (the first two).
inline constexpr int kShowInFileManager = 32907;
inline constexpr int kDeletePicture = 32908;
inline constexpr int kOpenPicture = 32909;

// Result list commands that act on the marks.
inline constexpr int kSwapMarks = 45997;
inline constexpr int kInvertMarks = 34134;
inline constexpr int kCopyOverPartner = 57641;

// The rest of the result list's context menu.
inline constexpr int kCopyMarked = 1;
inline constexpr int kMoveMarked = 2;
inline constexpr int kTrashMarked = 3;
inline constexpr int kMarkLarger = 5;
inline constexpr int kRemoveSelectedRows = 45998;
inline constexpr int kRemoveMarkedRows = 45999;
inline constexpr int kRemoveUnmarkedRows = 46000;
inline constexpr int kRowToolbarOption = 46002;
inline constexpr int kLeftRightOption = 46075;

}  // namespace dupliora::command
