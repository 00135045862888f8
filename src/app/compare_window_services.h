// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include "compare_window/window/compare_window.h"

namespace dupliora {

// Services over the process-wide settings store, language table and the
// main window around `window` (for the cache line of its status bar).
CompareWindowServices DefaultCompareWindowServices(QWidget* window_in_frame);

// Makes every comparison child of the main window a CImgCmp2017.
void RegisterComparisonWindow();

}  // namespace dupliora
