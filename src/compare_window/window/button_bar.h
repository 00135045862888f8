// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QIcon>
#include <QWidget>
#include <vector>

class QToolButton;

namespace dupliora {

// A flat row of tool buttons known by command id; every button gets the
// bar's width divided by the button count.
class ButtonBar : public QWidget {
  Q_OBJECT

 public:
  explicit ButtonBar(QWidget* parent);

  QToolButton* AddButton(int id, const QString& text, const QIcon& icon = {});
  QToolButton* Button(int id) const;
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  int ButtonHeight() const;  // the height the buttons ask for
  void SetButtonText(int id, const QString& text);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceButtons();

  std::vector<std::pair<int, QToolButton*>> buttons_;
};

}  // namespace dupliora
