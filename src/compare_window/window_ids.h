// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

// Control, command, timer and text numbers of the comparison window. The
// numbers are kept from the original dialog so that settings, translations
// and the other parts of the window agree on them.
namespace dupliora::ids {

// Child controls.
inline constexpr int kPreviewHostLeft = 1000;
inline constexpr int kPreviewHostRight = 1001;
inline constexpr int kLabelLoad = 1002;    // left of Start: load progress and summary
inline constexpr int kLabelResult = 1003;  // right of Start: result summary
inline constexpr int kStatusLine = 1004;
inline constexpr int kRatioBox = 1005;
inline constexpr int kStartHidden = 1011;  // hidden second Start
inline constexpr int kResultList = 1012;
inline constexpr int kUnusedList = 1013;
inline constexpr int kBrowse2 = 1014;  // "..." for field 1054
inline constexpr int kProgressBar = 1015;
inline constexpr int kStartStop = 1016;
inline constexpr int kBrowse1 = 1017;        // "..." for field 1053
inline constexpr int kBrowseAppend1 = 1018;  // "...+" for field 1053
inline constexpr int kBrowseAppend2 = 1019;  // "...+" for field 1054
inline constexpr int kBackHidden = 1031;
inline constexpr int kPathField1 = 1053;
inline constexpr int kPathField2 = 1054;
inline constexpr int kBitmapHidden1 = 1252;
inline constexpr int kBitmapHidden2 = 1253;
inline constexpr int kCaptionLeft = 6001;
inline constexpr int kCaptionRight = 6002;

// Toolbar buttons; the same numbers repeat on every toolbar.
inline constexpr int kButton1 = 32906;
inline constexpr int kButton2 = 32907;
inline constexpr int kButton3 = 32908;
inline constexpr int kButton4 = 32909;
inline constexpr int kButton5 = 32910;

// Commands.
inline constexpr int kCommandOk = 1;
inline constexpr int kCommandCancel = 2;
inline constexpr int kCommandSelectAll = 34134;
inline constexpr int kCommandListA = 45997;
inline constexpr int kCommandListB = 57641;
inline constexpr int kCommandRemoveSelected = 45998;
inline constexpr int kCommandRemoveA = 45999;
inline constexpr int kCommandRemoveB = 46000;
inline constexpr int kCommandRowToolbar = 46002;
inline constexpr int kCommandLeftRightSel = 46075;

// Timers.
inline constexpr int kTimerLanguage = 10001;         // 30 ms, always running
inline constexpr int kTimerPreviewRefresh = 100022;  // 100 ms, one-shot
inline constexpr int kTimerActivity = 1111;          // 50 ms
inline constexpr int kTimerAlertFlash = 1112;        // 300 ms, one-shot, restarted

inline constexpr int kLanguageTimerMs = 30;
inline constexpr int kPreviewRefreshMs = 100;
inline constexpr int kActivityTimerMs = 50;
inline constexpr int kAlertFlashMs = 300;

}  // namespace dupliora::ids
