// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

// Control numbers and timer periods of the comparison window. The controls
// are named by these numbers (object names), so tests and the parts of the
// window find them; command numbers live in core/command_ids.h.
namespace dupliora::ids {

// Child controls.
inline constexpr int kLabelLoad = 1002;    // left of Start: load progress and summary
inline constexpr int kLabelResult = 1003;  // right of Start: result summary
inline constexpr int kStatusLine = 1004;
inline constexpr int kStartHidden = 1011;  // hidden second Start
inline constexpr int kResultList = 1012;
inline constexpr int kBrowse2 = 1014;  // "..." for field 1054
inline constexpr int kProgressBar = 1015;
inline constexpr int kStartStop = 1016;
inline constexpr int kBrowse1 = 1017;        // "..." for field 1053
inline constexpr int kBrowseAppend1 = 1018;  // "...+" for field 1053
inline constexpr int kBrowseAppend2 = 1019;  // "...+" for field 1054
inline constexpr int kPathField1 = 1053;
inline constexpr int kPathField2 = 1054;

// Timer periods.
inline constexpr int kActivityTimerMs = 50;
inline constexpr int kAlertFlashMs = 300;

}  // namespace dupliora::ids
