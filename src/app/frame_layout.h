// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QRect>
#include <QString>
#include <array>
#include <optional>

#include "core/app_identity.h"
#include "core/settings_store.h"

namespace dupliora {

inline constexpr int kStatusPartCount = 5;

// Right edges of the status bar parts for a client width and a bar height;
// parts 0 to 3 stand at fixed distances from the right scaled by height / 23,
// part 4 reaches the right edge.
std::array<int, kStatusPartCount> StatusPartRightEdges(int clientWidth, int barHeight);

// Icon size in the status bar: bar height minus 7 on tall bars, else 16.
int StatusIconSize(int barHeight);

// "Dupliora 5.58", with " [n]" for a further instance and " - Admin" for an administrator.
QString MainWindowTitle(const AppIdentity& identity, bool showInstanceNumber, bool administrator);

// "user (profile[portable mark/]x64)".
QString StatusUserText(const QString& userName, const QString& profileName, bool portable,
                       const QString& portableMark, const QString& architecture);

// "-help" at the very start of the command line: the topic ("#" + second
// "#"-separated field, "#" alone when there is none).
std::optional<QString> HelpTopicFromCommandLine(const QString& commandLine);

// The command line as a path list for the comparison window: when it is one
// (every ";"-separated entry exists), else nothing.
std::optional<QString> StartPathsFromCommandLine(const QString& commandLine);

// How the window is shown when its placement is restored.
struct PlacementPlan {
  bool keepRectangle = false;  // start mode 0: shown normally where the system puts it
  bool maximised = false;
  SettingsRect normal;   // left, top, right, bottom
  bool centred = false;  // nothing usable saved: CentredDefaultRect() on the primary screen
};
inline constexpr SettingsRect kDefaultWindowRect{0, 0, 800, 600};

// The smallest frame at which every control of a comparison window and
// eight list rows stay usable (measured with the desktop's default fonts).
inline constexpr QSize kMinimumFrameSize{880, 740};

// A first window: 70 % of the available area, centred so that the title bar
// the window manager adds stays on screen; never below `minimum`.
QRect CentredDefaultRect(const QRect& available, const QSize& minimum);

PlacementPlan PlanPlacementRestore(int startMode, int savedShowCommand,
                                   std::optional<SettingsRect> savedRect);

// Show commands stored as "showCmd".
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimised = 2;
inline constexpr int kShowMaximised = 3;

}  // namespace dupliora
