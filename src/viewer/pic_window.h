// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QBrush>
#include <QColor>
#include <QFrame>
#include <QImage>
#include <QString>
#include <QTimer>
#include <memory>

#include "viewer/picture_source.h"

namespace dupliora {

class PictureLoader;

inline constexpr QColor kPaneBackground{16, 32, 64};
inline constexpr QColor kCheckerLight{255, 255, 255};
inline constexpr QColor kCheckerDark{221, 221, 221};

// 16 x 16 pattern: white top-left and bottom-right squares, light grey others.
QBrush CreateCheckerBrush();

// One picture shrunk to fit the pane and centred on a dark background.
// Loading runs on the pane's own thread; the pane only records requests.
class CPicWindow : public QFrame {
  Q_OBJECT

 public:
  explicit CPicWindow(QWidget* parent = nullptr, PictureSource source = LoadPaneSourcePicture);
  ~CPicWindow() override;

  // Records the request and returns at once; only the last request counts.
  void SetPicture(const QString& path, bool resource = false);
  // Turn the next requested pictures by 180 degrees.
  void SetTurn(bool turn) { turn_ = turn; }
  bool Turn() const { return turn_; }
  // The path (or resource name) of the last request.
  const QString& RequestedPath() const { return requested_path_; }
  bool RequestedResource() const { return requested_resource_; }

  // The stored picture, already scaled; null while none is shown.
  const QImage& Picture() const { return picture_; }
  bool CheckerFlag() const { return checker_; }

 signals:
  // A load finished and the pane shows its result (possibly nothing).
  void pictureChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void RequestCurrent();
  void ApplyPicture(const PictureRequest& request, const QImage& picture);

  QString requested_path_;
  bool requested_resource_ = false;
  bool turn_ = false;
  QImage picture_;
  bool checker_ = false;
  QBrush checker_brush_;
  QTimer resize_timer_;
  std::unique_ptr<PictureLoader> loader_;  // declared last: joined first
};

}  // namespace dupliora
