// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The shipped language texts: every number the program asks for has an English
// and a German text, the files are well formed, and the two languages agree on
// format placeholders and on the words the run swaps into its fixed texts.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <map>
#include <set>
#include <vector>

#include "app/core/text_numbers.h"

// Q_INIT_RESOURCE declares a global function, so it must be used outside any namespace.
static void InitLanguageResources() { Q_INIT_RESOURCE(languages); }

namespace dupliora {
namespace {

constexpr int kMaxCaptionLength = 48;

struct ParsedTexts {
  std::map<int, QString> texts;
  QStringList errors;  // one entry per malformed line, with its line number
};

// Stricter than the program's reader: it reports what the reader would skip
// silently, because a skipped line in a shipped file is a lost text.
ParsedTexts ParseStrict(const QString& content) {
  ParsedTexts parsed;
  const QStringList lines = content.split(QLatin1Char('\n'));
  for (int i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const QString where = QStringLiteral("line %1: %2").arg(i + 1).arg(line);
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) {
      parsed.errors << QStringLiteral("no '=' in ") + where;
      continue;
    }
    bool is_number = false;
    const int number = line.left(equals).trimmed().toInt(&is_number);
    if (!is_number || number < 1 || number > 1999999) {
      parsed.errors << QStringLiteral("bad number in ") + where;
      continue;
    }
    if (parsed.texts.count(number) != 0) {
      parsed.errors << QStringLiteral("duplicate number in ") + where;
      continue;
    }
    QString text = line.mid(equals + 1).trimmed();
    text.replace(QStringLiteral("\\t"), QStringLiteral("\t"))
        .replace(QStringLiteral("\\r"), QStringLiteral("\r"))
        .replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    parsed.texts[number] = text;
  }
  return parsed;
}

QString ReadLanguageResource(const QString& code) {
  InitLanguageResources();
  QFile file(QStringLiteral(":/lang/%1.txt").arg(code));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

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
    const QString content = ReadLanguageResource(QString::fromLatin1(GetParam()));
    ASSERT_FALSE(content.isEmpty()) << "resource " << GetParam() << " missing or empty";
    parsed_ = ParseStrict(content);
  }
  ParsedTexts parsed_;
};

TEST_P(LanguageTextsTest, EveryLineIsWellFormed) {
  EXPECT_TRUE(parsed_.errors.isEmpty()) << parsed_.errors.join(QLatin1Char('\n')).toStdString();
}

TEST_P(LanguageTextsTest, HasATextForEveryNumberTheProgramAsksFor) {
  for (const int number : text::kAllTextNumbers) {
    SCOPED_TRACE(number);
    const auto it = parsed_.texts.find(number);
    ASSERT_NE(it, parsed_.texts.end()) << "no text";
    EXPECT_FALSE(it->second.isEmpty()) << "empty text";
  }
}

TEST_P(LanguageTextsTest, HoldsNoTextThatNothingAsksFor) {
  const std::set<int> known(text::kAllTextNumbers.begin(), text::kAllTextNumbers.end());
  for (const auto& [number, text] : parsed_.texts) {
    EXPECT_TRUE(known.count(number))
        << number << " = " << text.toStdString() << " is not listed in text_numbers.h";
  }
}

TEST_P(LanguageTextsTest, TextsFitInMenusAndButtons) {
  for (const auto& [number, text] : parsed_.texts) {
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
      const QString inserted = parsed_.texts[chain[i].number];
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

TEST(LanguageTextsAgreement, GermanAndEnglishHoldTheSameNumbersAndPlaceholders) {
  const ParsedTexts english = ParseStrict(ReadLanguageResource(QStringLiteral("EN")));
  const ParsedTexts german = ParseStrict(ReadLanguageResource(QStringLiteral("DE")));
  for (const auto& [number, text] : english.texts) {
    SCOPED_TRACE(number);
    const auto it = german.texts.find(number);
    ASSERT_NE(it, german.texts.end()) << "German lacks " << text.toStdString();
    EXPECT_EQ(Placeholders(text), Placeholders(it->second));
  }
  for (const auto& [number, text] : german.texts) {
    EXPECT_TRUE(english.texts.count(number)) << "English lacks " << number;
  }
}

// The source file's own path leads to the source tree. With a compiler cache
// the path may be relative to the build folder, so it is tried against the
// working and program folders and their parents.
QDir FindSourceRoot() {
  const QString self = QStringLiteral(__FILE__);
  QStringList candidates;
  if (QFileInfo(self).isAbsolute()) candidates << self;
  for (QString base : {QDir::currentPath(), QCoreApplication::applicationDirPath()}) {
    for (QDir dir(base);;) {
      candidates << dir.filePath(self);
      if (!dir.cdUp()) break;
    }
  }
  for (const QString& candidate : candidates) {
    const QFileInfo info(candidate);
    if (!info.exists()) continue;
    QDir root = info.absoluteDir();  // tests/app
    if (root.cdUp() && root.cdUp() && root.exists(QStringLiteral("src"))) return root;
  }
  return QDir(QStringLiteral("/nonexistent"));
}

TEST(LanguageTextsAgreement, EveryNumberPassedInTheSourcesHasAnEnglishText) {
  const QDir root = FindSourceRoot();
  ASSERT_TRUE(root.exists(QStringLiteral("src/app/core/text_numbers.h")))
      << "source tree not found from " << __FILE__;
  const ParsedTexts english = ParseStrict(ReadLanguageResource(QStringLiteral("EN")));
  static const QRegularExpression call(
      QStringLiteral(R"((\bGetString|(\.|->)Text)\s*\(\s*(\d+)\s*\))"));
  int files = 0;
  QDirIterator it(root.filePath(QStringLiteral("src")), {"*.cpp", "*.h"}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    ++files;
    const QString source = QString::fromUtf8(file.readAll());
    for (auto match = call.globalMatch(source); match.hasNext();) {
      const int number = match.next().captured(3).toInt();
      if (number == 0) continue;  // the product name, not a table text
      EXPECT_TRUE(english.texts.count(number))
          << file.fileName().toStdString() << " asks for text " << number;
    }
  }
  EXPECT_GT(files, 0);
}

// The strict reader must itself tell good lines from bad ones, or the checks
// above would pass on anything.
TEST(LanguageTextsReader, TellsGoodLinesFromBadOnes) {
  struct Case {
    const char* label;
    const char* content;
    int errors;
    int number;
    const char* text;
  };
  const Case cases[] = {
      {"spaces and escapes", "  42 = a\\tb  ", 0, 42, "a\tb"},
      {"line breaks", "7=x\\r\\ny", 0, 7, "x\r\ny"},
      {"equals in text", "5 = a = b", 0, 5, "a = b"},
      {"comment and blank", "# note\n\n3 = c", 0, 3, "c"},
      {"highest number", "1999999 = top", 0, 1999999, "top"},
      {"no equals", "12 text", 1, 0, ""},
      {"number zero", "0 = x", 1, 0, ""},
      {"two million", "2000000 = x", 1, 0, ""},
      {"not a number", "x = y", 1, 0, ""},
      {"duplicate", "9 = a\n9 = b", 1, 9, "a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const ParsedTexts parsed = ParseStrict(QString::fromUtf8(c.content));
    EXPECT_EQ(parsed.errors.size(), c.errors);
    if (c.number != 0) {
      EXPECT_EQ(parsed.texts.at(c.number), QString::fromUtf8(c.text));
    }
  }
}

TEST(LanguageTextsReader, FindsPlaceholdersInOrder) {
  EXPECT_EQ(Placeholders(QStringLiteral("%s: %d / %.1f %% %08d")),
            QStringList({"%s", "%d", "%.1f", "%%", "%08d"}));
  EXPECT_TRUE(Placeholders(QStringLiteral("100 percent")).isEmpty());
  EXPECT_NE(Placeholders(QStringLiteral("%d %s")), Placeholders(QStringLiteral("%s %d")));
}

}  // namespace
}  // namespace dupliora
