// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/frame_layout.h"

#include <QFileInfo>
#include <QStringList>

namespace dupliora {

namespace {

// Distances of the right edges of parts 0 to 3 from the right, at a 23 pixel bar.
constexpr std::array<int, 4> kPartDistances = {560, 490, 340, 200};
constexpr double kReferenceBarHeight = 23.0;

}  // namespace

std::array<int, kStatusPartCount> StatusPartRightEdges(int clientWidth, int barHeight) {
  const double scale = barHeight / kReferenceBarHeight;
  std::array<int, kStatusPartCount> edges{};
  for (size_t i = 0; i < kPartDistances.size(); ++i) {
    edges[i] = static_cast<int>(clientWidth - kPartDistances[i] * scale);  // toward zero
  }
  edges[4] = clientWidth;
  return edges;
}

int StatusIconSize(int barHeight) { return barHeight > 23 ? barHeight - 7 : 16; }

QString MainWindowTitle(const AppIdentity& identity, bool showInstanceNumber, bool administrator) {
  QString title = identity.productName + QLatin1Char(' ') + identity.versionText;
  if (identity.instanceNumber != 0 && showInstanceNumber) {
    title += QStringLiteral(" [%1]").arg(identity.instanceNumber);
  }
  if (administrator) title += QStringLiteral(" - Admin");
  return title;
}

QString StatusUserText(const QString& userName, const QString& profileName, bool portable,
                       const QString& portableMark, const QString& architecture) {
  QString inner = profileName;
  if (portable) {
    inner += portableMark;
    if (portableMark.size() > 3) inner += QLatin1Char('/');
  }
  return userName + QStringLiteral(" (") + inner + architecture + QLatin1Char(')');
}

std::optional<QString> HelpTopicFromCommandLine(const QString& commandLine) {
  if (!commandLine.startsWith(QStringLiteral("-help"))) return std::nullopt;
  const QStringList fields = commandLine.split(QLatin1Char('#'));
  return QLatin1Char('#') + (fields.size() > 1 ? fields[1] : QString());
}

std::optional<QString> StartPathsFromCommandLine(const QString& commandLine) {
  if (commandLine.isEmpty()) return std::nullopt;
  const QStringList entries = commandLine.split(QLatin1Char(';'));
  for (const QString& entry : entries) {
    if (entry.isEmpty() || !QFileInfo::exists(entry)) return std::nullopt;
  }
  return commandLine;
}

PlacementPlan PlanPlacementRestore(int startMode, int savedShowCommand,
                                   std::optional<SettingsRect> savedRect) {
  PlacementPlan plan;
  plan.maximised = startMode == 3 ? savedShowCommand == kShowMaximised : startMode == 1;
  if (startMode == 0) {
    plan.keepRectangle = true;
    plan.maximised = false;
    return plan;
  }
  plan.normal = savedRect.value_or(SettingsRect{});
  if (plan.normal.right <= plan.normal.left || plan.normal.bottom <= plan.normal.top) {
    plan.normal = kDefaultWindowRect;
    plan.centred = true;
  }
  return plan;
}

QRect CentredDefaultRect(const QRect& available, const QSize& minimum) {
  const QSize size = (available.size() * 0.7).expandedTo(minimum).boundedTo(available.size());
  QRect rect(QPoint(), size);
  rect.moveCenter(available.center());
  return rect;
}

}  // namespace dupliora
