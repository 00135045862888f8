// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

namespace dupliora::command {

// Commands of the main window, numbered as in its menus and toolbar.
inline constexpr int kExportList = 32816;
inline constexpr int kSelectAll = 57642;
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

namespace dupliora::caption {

// Language text numbers of the frame's own captions and messages. Menu items
// carry the number of their command; menu titles have their own numbers.
inline constexpr int kStatusReady = 18;
inline constexpr int kPortableMark = 39;
inline constexpr int kChildFrameTitle = 128;
inline constexpr int kLanguageButton = 500006;
inline constexpr int kMenuFile = 500001;
inline constexpr int kMenuEdit = 500002;
inline constexpr int kMenuOptions = 500003;
inline constexpr int kMenuHelp = 500004;
inline constexpr int kMenuLanguage = 500005;
inline constexpr int kCloseQuestion = 500010;
inline constexpr int kAbout = 500012;
inline constexpr int kLanguageNameFirst = 500100;  // name of language id n: + n

}  // namespace dupliora::caption
