// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

namespace dupliora::command {

// Commands of the main window, numbered as in its menus and toolbar.
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

}  // namespace dupliora::command
