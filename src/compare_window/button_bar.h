// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QIcon>
#include <QWidget>
#include <vector>

class QToolButton;

namespace dupliora {

// A flat row of tool buttons known by command id. With equal widths every
// button gets the bar's width divided by the button count (the option bars);
// otherwise each button keeps the width its text asks for (the preview bars).
class ButtonBar : public QWidget {
  Q_OBJECT

 public:
  ButtonBar(QWidget* parent, bool equal_widths);

  QToolButton* AddButton(int id, const QString& text, const QIcon& icon = {});
  QToolButton* Button(int id) const;
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  int ButtonHeight() const;  // the height the buttons ask for
  void SetButtonText(int id, const QString& text);

 signals:
  // The button with this id was clicked; `anchor` is where its menu belongs.
  void ButtonClicked(int id, QToolButton* anchor);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceButtons();

  bool equal_widths_;
  std::vector<std::pair<int, QToolButton*>> buttons_;
};

}  // namespace dupliora
