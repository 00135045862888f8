// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "cli/match_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "engine/record_path.h"

namespace dupliora {

QByteArray MatchesAsTsv(const std::vector<MatchResult>& matches) {
  QByteArray out;
  for (const MatchResult& m : matches) {
    out += RecordPath(*m.first).toUtf8() + '\t' + RecordPath(*m.second).toUtf8() + '\t' +
           QByteArray::number(m.similarity) + '\t' + QByteArray::number(m.ratio) + '\t' +
           QByteArray::number(m.rotation) + '\t' + QByteArray::number(m.flip) + '\t' +
           QByteArray::number(m.negative) + '\n';
  }
  return out;
}

QByteArray MatchesAsJson(const std::vector<MatchResult>& matches, const RunSummary& summary,
                         const LeftOutFiles& left_out) {
  QJsonArray list;
  for (const MatchResult& m : matches) {
    list.append(QJsonObject{{"first", RecordPath(*m.first)},
                            {"second", RecordPath(*m.second)},
                            {"similarity", m.similarity},
                            {"ratio", m.ratio},
                            {"rotation", m.rotation},
                            {"flip", m.flip},
                            {"negative", m.negative}});
  }
  QJsonObject left_out_counts;
  for (int k = 0; k < kLeftOutReasonCount; ++k) {
    const auto reason = static_cast<LeftOutReason>(k);
    if (left_out.Count(reason) > 0) left_out_counts[ReasonKey(reason)] = left_out.Count(reason);
  }
  const QJsonObject totals{{"loaded", summary.loaded},
                           {"left_out", left_out_counts},
                           {"first_list", summary.first_list},
                           {"total", static_cast<qint64>(summary.total)},
                           {"done", static_cast<qint64>(summary.done)},
                           {"skipped", static_cast<qint64>(summary.skipped)},
                           {"matches", summary.matches},
                           {"load_ms", static_cast<qint64>(summary.load_ms)},
                           {"compare_ms", static_cast<qint64>(summary.compare_ms)}};
  return QJsonDocument(QJsonObject{{"matches", list}, {"summary", totals}})
      .toJson(QJsonDocument::Indented);
}

}  // namespace dupliora
