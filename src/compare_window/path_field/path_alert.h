// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QFrame>
#include <QPointer>
#include <QTimer>
#include <functional>

class QLabel;

namespace dupliora {

// A balloon with a title, the information icon, a message and a close
// button, standing just above a widget.
class AlertBalloon : public QFrame {
  Q_OBJECT

 public:
  explicit AlertBalloon(QWidget* parent);

  void ShowAbove(QWidget* anchor, const QString& title, const QString& message);
  QString Title() const;
  QString Message() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* title_;
  QLabel* message_;
};

// Shows the balloon above a path field and flashes the field: ten ticks of
// 300 ms, red on the odd counts, so five flashes in three seconds; the
// balloon goes away with the last tick. A new alert restarts the count.
class PathAlert : public QObject {
  Q_OBJECT

 public:
  using SetAlertColour = std::function<void(QWidget* field, bool red)>;
  PathAlert(QWidget* window, SetAlertColour colour);

  void Show(QWidget* field, const QString& title, const QString& message);
  int Counter() const { return counter_; }
  bool IsFlashing() const { return counter_ > 0; }
  AlertBalloon* Balloon() const { return balloon_; }
  // One tick of the flash timer; public so tests can step it.
  void Tick();

 private:
  AlertBalloon* balloon_;
  QTimer timer_;
  QPointer<QWidget> field_;
  SetAlertColour colour_;
  int counter_ = 0;
};

}  // namespace dupliora
