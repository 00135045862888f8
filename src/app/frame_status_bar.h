// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QIcon>
#include <QStatusBar>
#include <array>

#include "app/frame_layout.h"

class QLabel;

namespace dupliora {

// The main window's status bar: five parts whose right edges follow
// StatusPartRightEdges; each part holds a text and an optional icon.
class FrameStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  explicit FrameStatusBar(QWidget* parent = nullptr);

  void SetPartText(int part, const QString& text);
  QString PartText(int part) const;
  void SetPartIcon(int part, const QIcon& icon);  // a null icon hides it
  // Places the parts for the frame's client width.
  void LayoutParts(int clientWidth);
  int PartWidth(int part) const;

 private:
  struct Part {
    QWidget* box = nullptr;
    QLabel* icon = nullptr;
    QLabel* text = nullptr;
  };
  bool PartIsEmpty(int part) const;

  std::array<Part, kStatusPartCount> parts_;
  int client_width_ = 0;
};

}  // namespace dupliora
