// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The shipped language texts: every number the program asks for has an English
// and a German text, and the two languages agree on
// format placeholders and on the words the run swaps into its fixed texts.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <set>
#include <vector>

#include "core/app_identity.h"
#include "core/language_table.h"
#include "core/text_numbers.h"

namespace dupliora {
namespace {

constexpr int kMaxCaptionLength = 48;

// The printf conversions of a text in order, "%%" included.
QStringList Placeholders(const QString& text) {
  static const QRegularExpression conversion(
      QStringLiteral(R"(%(%|[-+#0]*\d*(\.\d+)?(hh|h|ll|l|I64|L|z|j|t)?[diouxXeEfgGcsSp]))"));
  QStringList found;
  for (auto it = conversion.globalMatch(text); it.hasNext();) found << it.next().captured(0);
  return found;
}

class LanguageTextsTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    content_ = LoadLanguageResource(QString::fromLatin1(GetParam()));
    ASSERT_FALSE(content_.isEmpty()) << "resource " << GetParam() << " missing or empty";
    texts_ = ParseLanguageText(content_, true);
  }
  QString content_;
  LanguageMap texts_;
};

// Every number the program asks for comes out of the program's own table in
// this language: not missing, not the English fallback, with the name filled in.
TEST_P(LanguageTextsTest, TableGivesThisLanguagesTextForEveryNumberAndNoOther) {
  int language_id = -1;
  for (int id = 0; id < kLanguageIdCount; ++id)
    if (LanguageCode(id) == QString::fromLatin1(GetParam())) language_id = id;
  ASSERT_GE(language_id, 0);
  LanguageTable table;
  table.SetCurrentLanguage(language_id);
  for (const int number : text::kAllTextNumbers) {
    SCOPED_TRACE(number);
    const QString shown = table.GetString(number);
    ASSERT_TRUE(texts_.count(number)) << "no text";
    QString expected = texts_[number];  // with the name filled in
    EXPECT_EQ(shown, expected.replace("#AP#", Identity().productName));
  }
  // And it holds no text that nothing asks for.
  const std::set<int> known(text::kAllTextNumbers.begin(), text::kAllTextNumbers.end());
  for (const auto& [number, text] : texts_) {
    EXPECT_TRUE(known.count(number))
        << number << " = " << text.toStdString() << " is not listed in text_numbers.h";
  }
}

TEST_P(LanguageTextsTest, TextsFitInMenusAndButtons) {
  for (const auto& [number, text] : texts_) {
    if (std::find(text::kMessageTexts.begin(), text::kMessageTexts.end(), number) !=
        text::kMessageTexts.end())
      continue;
    EXPECT_LE(text.size(), kMaxCaptionLength) << number << " = " << text.toStdString();
  }
}

// The run formats its fixed texts first and then replaces words in the given
// order; a replacement that brings in a word replaced later would be replaced
// a second time and garble the line.
TEST_P(LanguageTextsTest, ReplacementWordsDoNotFeedLaterReplacements) {
  struct Step {
    const char* word;
    int number;
  };
  const std::vector<std::vector<Step>> chains = {
      {{"/ sec", text::kPerSecond}, {"Time", text::kTimeWord}, {"IST", text::kLoadedWord}},
      {{"/ sec", text::kPerSecond},
       {"Unnecessary comparisons", text::kSkippedComparisons},
       {"Ähnliche:", text::kSimilarWord},
       {"time:", text::kTimeWord}},
      {{"", text::kSimilarity}, {"", text::kComparisons}, {"Time-Total", text::kTotalTime}},
  };
  for (const auto& chain : chains) {
    for (size_t i = 0; i < chain.size(); ++i) {
      const QString inserted = texts_[chain[i].number];
      for (size_t later = i + 1; later < chain.size(); ++later) {
        const QString word = QString::fromUtf8(chain[later].word);
        if (word.isEmpty()) continue;
        EXPECT_FALSE(inserted.contains(word)) << chain[i].number << " = " << inserted.toStdString()
                                              << " contains " << word.toStdString();
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageTextsTest, ::testing::Values("EN", "DE"));

// Both languages hold every number and nothing else (above): they agree on placeholders.
TEST(LanguageTextsAgreement, GermanAndEnglishHoldTheSamePlaceholders) {
  const LanguageMap english = ParseLanguageText(LoadLanguageResource("EN"), true);
  LanguageMap german = ParseLanguageText(LoadLanguageResource("DE"), true);
  for (const auto& [number, text] : english) {
    SCOPED_TRACE(number);
    EXPECT_EQ(Placeholders(text), Placeholders(german[number]));
  }
}

// The source file's own path leads to the source tree. With a compiler cache
// the path may be relative to the build folder, so it is tried against the
// working and program folders and their parents.
QDir FindSourceRoot() {
  const QString self = QStringLiteral(__FILE__);
  for (const QString& base : {QDir::currentPath(), QCoreApplication::applicationDirPath()}) {
    for (QDir dir(base);;) {
      const QFileInfo candidate(dir.filePath(self));  // an absolute `self` stays itself
      QDir root = candidate.absoluteDir();            // tests/core
      if (candidate.exists() && root.cdUp() && root.cdUp() && root.exists("src")) return root;
      if (!dir.cdUp()) break;
    }
  }
  return QDir("/nonexistent");
}

TEST(LanguageTextsAgreement, EveryNumberPassedInTheSourcesHasAnEnglishText) {
  const QDir root = FindSourceRoot();
  ASSERT_TRUE(root.exists("src/core/text_numbers.h")) << "source tree not found from " << __FILE__;
  const LanguageMap english = ParseLanguageText(LoadLanguageResource("EN"), false);
  static const QRegularExpression call(
      QStringLiteral(R"((\bGetString|(\.|->)Text)\s*\(\s*(\d+)\s*\))"));
  int files = 0;
  QDirIterator it(root.filePath("src"), {"*.cpp", "*.h"}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    ++files;
    const QString source = QString::fromUtf8(file.readAll());
    for (auto match = call.globalMatch(source); match.hasNext();) {
      const int number = match.next().captured(3).toInt();
      if (number == 0) continue;  // the product name, not a table text
      EXPECT_TRUE(english.count(number))
          << file.fileName().toStdString() << " asks for text " << number;
    }
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace dupliora
