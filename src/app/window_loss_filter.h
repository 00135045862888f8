// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <functional>

namespace dupliora {

// Tells when another program destroyed our main window under X11 (a close
// that bypasses the window's own close request): without a window the user
// could never quit, and the instance marker would stay taken.
class WindowLossFilter : public QAbstractNativeEventFilter {
 public:
  WindowLossFilter(WId window, std::function<void()> on_lost);

  bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr* result) override;

 private:
  WId window_;
  std::function<void()> on_lost_;
};

}  // namespace dupliora
