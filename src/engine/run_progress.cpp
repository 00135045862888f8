// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/run_progress.h"

#include <chrono>
#include <cmath>

#include "engine/format.h"
#include "engine/left_out.h"

namespace dupliora {

namespace {

// A rate or share whose divisor is 0 reads 0, never inf or nan.
// A phase shorter than this (a cached rerun) has no meaningful rate: it
// would read as "142.7 GB / sec"; its rates show as "--".
constexpr double kShortestTimedMs = 10.0;

double Ratio(double numerator, double denominator) {
  if (denominator == 0.0) return 0.0;
  const double value = numerator / denominator;
  return std::isfinite(value) ? value : 0.0;
}

QString Replaced(QString text, std::initializer_list<std::pair<const char*, QString>> words) {
  for (const auto& [word, replacement] : words) text.replace(QString::fromUtf8(word), replacement);
  return text;
}

}  // namespace

std::int64_t TickMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

const std::vector<int>& RunTextNumbers() {
  static const std::vector<int> numbers = [] {
    std::vector<int> list = {300000, 300001, 300002, 300003, 300102, 300330, 300331,
                             300332, 300333, 300334, 300335, 300336, 300337, 300339,
                             300340, 300380, 300381, 300382, 300383, 300384, 300385,
                             300386, 300341};
    list.push_back(kLeftOutTitleText);
    for (int k = 0; k < kLeftOutReasonCount; ++k) list.push_back(kFirstLeftOutReasonText + k);
    return list;
  }();
  return numbers;
}

QString StoreNoteText(const RunTexts& texts, bool has_store, DbFault fault, int from_store) {
  constexpr int kFromStore = 300380;
  constexpr int kStoreName = 300381;
  constexpr int kFirstFaultText = 300382;  // + DbFault - 1, in the enum's order
  if (!has_store) return {};
  if (fault == DbFault::kNone)
    return QStringLiteral("%1 %2").arg(from_store).arg(texts.Text(kFromStore));
  const int reason =
      kFirstFaultText + static_cast<int>(fault) - static_cast<int>(DbFault::kDamaged);
  return QStringLiteral("%1: %2").arg(texts.Text(kStoreName), texts.Text(reason));
}

QString RemainingTime(double f, std::int64_t start_ms, std::int64_t now_ms) {
  if (!(f > 0.0)) return QStringLiteral("--:--");
  const double seconds = (static_cast<double>(now_ms - start_ms) / 1000.0 / f) * (1.0 - f);
  return QString::asprintf("%02d:%02d", static_cast<int>(seconds / 60.0),
                           static_cast<int>(std::fmod(seconds, 60.0)));
}

QString FormatElapsed(double seconds) {
  int millis = static_cast<int>(std::fmod(seconds * 1000.0, 1000.0));
  if (millis == 1000) millis = 0;
  return QString::asprintf("%02d:%02d.%03d", static_cast<int>(seconds / 60.0),
                           static_cast<int>(std::fmod(seconds, 60.0)), millis);
}

QString LoadProgressText(const RunTexts& texts, const QString& remaining, int k, int count,
                         const QString& path) {
  const QString text =
      QString::asprintf("Remain: %s / %08d/%08d ", qUtf8Printable(remaining), k, count);
  return Replaced(text, {{"Remain", texts.Text(300336)}}) + path;
}

QString LoadSummaryText(const RunTexts& texts, int loaded, std::uint64_t loaded_bytes,
                        std::int64_t elapsed_ms) {
  const double e = static_cast<double>(elapsed_ms);
  const bool timed = e >= kShortestTimedMs;
  const double bytes_per_second = Ratio(static_cast<double>(loaded_bytes), e) * 1000.0;
  const QString text = QString::asprintf(
      "IST:%d  %s // %s / sec // %s  / sec // Time %.1f sec", loaded,
      qUtf8Printable(FormatFileSize(loaded_bytes)),
      timed ? qUtf8Printable(FormatFileSize(static_cast<std::uint64_t>(bytes_per_second))) : "--",
      timed ? qUtf8Printable(QString::asprintf("%.1f", Ratio(loaded * 1000.0, e))) : "--",
      e * 0.001);
  return Replaced(
      text,
      {{"/ sec", texts.Text(300331)}, {"Time", texts.Text(300334)}, {"IST", texts.Text(300330)}});
}

QString CompareProgressText(const RunTexts& texts, std::int64_t done, std::int64_t total,
                            const QString& remaining, double f) {
  const QString text = QString::asprintf(
      "%s / %s Remain: %s // %d %%", qUtf8Printable(FormatNumber(static_cast<double>(done), 0)),
      qUtf8Printable(FormatNumber(static_cast<double>(total), 0)), qUtf8Printable(remaining),
      static_cast<int>(f * 100.0));
  return Replaced(text, {{"Remain", texts.Text(300336)}});
}

QString CompareCountText(std::int64_t done, std::int64_t total) {
  return FormatNumber(static_cast<double>(done), 0) + QStringLiteral(" / ") +
         FormatNumber(static_cast<double>(total), 0) + u' ';
}

QString CompareSummaryLabel(const RunTexts& texts, int matches, double seconds, std::int64_t done,
                            std::int64_t skipped) {
  const bool timed = seconds * 1000.0 >= kShortestTimedMs;
  const QString rate =
      timed ? FormatNumber(Ratio(static_cast<double>(done), seconds), 1) : QStringLiteral("--");
  const QString text = QString::asprintf(
      "Ähnliche: %d, time: %f sec. // %s / sec // Unnecessary comparisons: %s / %.2f %%", matches,
      seconds, qUtf8Printable(rate), qUtf8Printable(FormatNumber(static_cast<double>(skipped), 0)),
      Ratio(static_cast<double>(skipped) * 100.0, static_cast<double>(done)));
  return Replaced(text, {{"/ sec", texts.Text(300331)},
                         {"Unnecessary comparisons", texts.Text(300332)},
                         {"Ähnliche:", texts.Text(300337)},
                         {"time:", texts.Text(300334)}});
}

QString CompareSummaryStatus(const RunTexts& texts, int matches, std::int64_t done,
                             double total_seconds) {
  const QString text =
      QString::asprintf("%s: %d / %s: %s / Time-Total: %s", qUtf8Printable(texts.Text(300102)),
                        matches, qUtf8Printable(texts.Text(300333)),
                        qUtf8Printable(FormatNumber(static_cast<double>(done), 0)),
                        qUtf8Printable(FormatElapsed(total_seconds)));
  return Replaced(text, {{"Time-Total", texts.Text(300335)}});
}

}  // namespace dupliora
