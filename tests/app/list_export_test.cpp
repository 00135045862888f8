// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/list_export.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>

#include "app/list_export_dialog.h"
#include "core/settings_store.h"
#include "support/file_fixture.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

using enum ExportFormat;

QByteArray Utf16(const QString& text) {
  return QByteArray("\xFF\xFE", 2) +
         QByteArray(reinterpret_cast<const char*>(text.utf16()), 2 * text.size());
}

const ListContent kSmall{{"Name", "Size"}, {{"a.jpg", "10"}}};

TEST(ListExport, TextAndCsvBytes) {
  struct Case {
    ExportFormat format;
    ListContent content;
    QString text;
  };
  const Case cases[] = {
      {kText, kSmall, "Name\tSize\t\r\na.jpg\t10\t\r\n"},
      {kCsv, kSmall, "\"Name\";\"Size\";\r\n\"a.jpg\";\"10\";\r\n"},
      {kCsv, {{"P"}, {{"say \"hi\"; <b>&"}}}, "\"P\";\r\n\"say \"\"hi\"\"; <b>&\";\r\n"},
      {kText, {{"P"}, {}}, "P\t\r\n"},
      {kText, {{"Pfad"}, {{"/b/Ü 日本.jpg"}}}, "Pfad\t\r\n/b/Ü 日本.jpg\t\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(ExportBytes(c.format, c.content), Utf16(c.text));
  }
}

TEST(ListExport, HtmlEscapesCellsAndStripesRows) {
  const ListContent content{{"Name", ""}, {{"<script>&x", "1"}, {"b>c", ""}}};
  const QByteArray html = ExportBytes(kHtml, content);
  EXPECT_EQ(ExportBytes(kXls, content), html);
  EXPECT_EQ(ExportBytes(kDoc, content), html);
  ASSERT_TRUE(html.startsWith(QByteArray("\xFF\xFE<\0h\0", 6))) << "one mark, then the document";
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(html.constData() + 2),
                                          (html.size() - 2) / 2);
  EXPECT_TRUE(text.contains(
      QStringLiteral("<TABLE Border=0><TR "
                     "class=\"b_gelb\"><td><b><nobr>Name</b></td><td>&nbsp;</td></TR>\r\n\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral(
      "  <TR class=\"b_grau\"><td ><nobr>&lt;script&gt;&amp;x</td><td ><nobr>1</td>   </TR>\r\n"
      "  <TR><td ><nobr>b&gt;c</td><td>&nbsp;</td>   </TR>\r\n</TABLE></body></html>\r\n")));
  EXPECT_FALSE(text.contains("<script>"));
}

TEST(ListExport, ForcedExtension) {
  struct Case {
    const char* path;
    ExportFormat format;
    const char* expected;
  };
  const Case cases[] = {
      {"/t/a.TXT", kText, "/t/a.TXT"},
      {"/t/a.htm", kHtml, "/t/a.htm.html"},
      {"/t/report.txt", kCsv, "/t/report.txt.csv"},
      {"/t/report", kXls, "/t/report.xls"},
      {"/t/report.", kDoc, "/t/report..doc"},
      {"/t/x.Doc", kDoc, "/t/x.Doc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(WithForcedExtension(QString::fromUtf8(c.path), c.format),
              QString::fromUtf8(c.expected));
  }
}

class ListExportFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    store_.SettingsFilePath = dir_.filePath("s.ini");
    model_.setHorizontalHeaderLabels({"Path", "Size", "Note"});
    model_.appendRow(
        {new QStandardItem("/a;\"<b>&.jpg"), new QStandardItem("1"), new QStandardItem("")});
    view_.setModel(&model_);
    ui_.ask_path = [this](const QString& default_path, int& filter) {
      offered_ = default_path;
      offered_filter_ = filter;
      filter = filter_;
      return answer_;
    };
    ui_.confirm = [this](const QString& q) {
      questions_ << q;
      return replace_;
    };
    ui_.inform = [this](const QString& m) { messages_ << m; };
    ui_.open = [this](const QString& p) {
      opened_ << p;
      return true;
    };
  }
  QString Export() { return ListExport(view_, "Dupliora", store_, ui_); }

  QTemporaryDir dir_;
  CMyProfStr store_;
  QStandardItemModel model_;
  QTableView view_;
  ExportUi ui_;
  QString answer_, offered_;
  int filter_ = 2, offered_filter_ = 0;
  bool replace_ = false;
  QStringList questions_, messages_, opened_;
};

TEST_F(ListExportFlow, WritesForcedNameStoresIndexAndOpens) {
  answer_ = dir_.filePath("report.txt");
  EXPECT_EQ(Export(), answer_ + ".csv");
  EXPECT_TRUE(offered_.endsWith("/Export_Dupliora"));
  EXPECT_EQ(offered_filter_, 1);
  EXPECT_EQ(store_.ReadInt("List", "ExportIndex", 1), 2);
  EXPECT_EQ(opened_, QStringList({answer_ + ".csv"}));
  EXPECT_EQ(test::ReadBytes(answer_ + ".csv"),
            ExportBytes(kCsv, {{"Path", "Size", "Note"}, {{"/a;\"<b>&.jpg", "1", ""}}}));
}

TEST_F(ListExportFlow, ColumnMovedBeforeTheFirstIsLeftOut) {
  view_.horizontalHeader()->moveSection(2, 0);
  const ListContent content = ReadListContent(view_);
  EXPECT_EQ(content.headers, QStringList({"Path", "Size"}));
  EXPECT_EQ(content.rows, std::vector<QStringList>({{"/a;\"<b>&.jpg", "1"}}));
}

TEST_F(ListExportFlow, GrownNameOverAnotherFileAsksAndFailuresOpenNothing) {
  answer_ = dir_.filePath("old");
  ASSERT_TRUE(test::WriteBytes(answer_ + ".csv", "keep me"));
  EXPECT_TRUE(Export().isEmpty());
  EXPECT_EQ(questions_.size(), 1);
  EXPECT_EQ(test::ReadBytes(answer_ + ".csv"), "keep me");

  answer_ = dir_.filePath("missing/folder/x.csv");
  EXPECT_TRUE(Export().isEmpty());
  EXPECT_EQ(messages_.size(), 1);
  EXPECT_TRUE(opened_.isEmpty());

  answer_.clear();  // cancelled: the index stays
  filter_ = 4;
  EXPECT_TRUE(Export().isEmpty());
  EXPECT_EQ(store_.ReadInt("List", "ExportIndex", 1), 2);
}

}  // namespace
}  // namespace dupliora
