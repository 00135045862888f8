// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/path_elide.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace dupliora {
namespace {

TEST(ElidePathTest, KeepsTheFileNameWholeWhileItFits) {
  const QFontMetrics metrics(QApplication::font());
  const QString folder = QStringLiteral("/home/user/Pictures/Holidays 2025/Lisbon/edited");
  const QString name = QStringLiteral("IMG_20250612_184455_HDR.jpg");
  const QString path = folder + u'/' + name;
  const int name_width = metrics.horizontalAdvance(u'/' + name);
  const QChar ellipsis(0x2026);
  const struct {
    const char* label;
    QString text;
    int width;
    QString starts, ends;  // empty: anything
  } cases[] = {
      {"fits", path, metrics.horizontalAdvance(path), path, path},
      {"folder cut in its middle", path, name_width + metrics.horizontalAdvance("/home/u…ited"),
       "/home", u'/' + name},
      {"name alone too long", path, name_width / 2, QString(ellipsis), ".jpg"},
      {"no separator", name, name_width / 2, "IMG", "jpg"},
      {"no room", path, 0, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const QString shown = ElidePath(metrics, c.text, c.width);
    EXPECT_LE(metrics.horizontalAdvance(shown), std::max(0, c.width)) << shown.toStdString();
    if (!c.starts.isEmpty()) EXPECT_TRUE(shown.startsWith(c.starts)) << shown.toStdString();
    if (!c.ends.isEmpty()) EXPECT_TRUE(shown.endsWith(c.ends)) << shown.toStdString();
    if (shown != c.text && !shown.isEmpty()) EXPECT_TRUE(shown.contains(ellipsis));
  }
}

}  // namespace
}  // namespace dupliora
