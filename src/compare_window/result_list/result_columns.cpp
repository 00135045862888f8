// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/result_columns.h"

#include "core/text_numbers.h"
#include "engine/format.h"
#include "engine/record_path.h"

namespace dupliora {
namespace {

constexpr int kMaxCellText = 63;
const QString kFirstSuffix = QStringLiteral(" (1)");
const QString kSecondSuffix = QStringLiteral(" (2)");

QString Percent(std::int64_t value) { return QStringLiteral("%1 %").arg(value); }

QString Dimensions(const ImageRecord& record) {
  return QStringLiteral("%1 x %2").arg(record.width).arg(record.height);
}

QString FlipText(std::int32_t flip, const ResultTextLookup& text) {
  if (flip == 1) return text(text::kFlipUpsideDown);
  if (flip == 2) return text(text::kFlipLeftRight);
  return text(text::kNo);
}

QString NumericCell(const MatchResult& m, int column, const ResultTextLookup& text) {
  const ImageRecord& a = *m.first;
  const ImageRecord& b = *m.second;
  switch (column) {
    case 2:
      return Percent(m.similarity);
    case 3:
      return FormatNumber(m.ratio, 2) + QStringLiteral(" %");
    case 4:
      return Dimensions(a);
    case 5:
      return Dimensions(b);
    case 6:
      return Percent(a.brightness);
    case 7:
      return Percent(b.brightness);
    case 8:
      return QStringLiteral("%1 \u00B0").arg(m.rotation);
    case 9:
      return FlipText(m.flip, text);
    case 10:
      return text(m.negative != 0 ? text::kYes : text::kNo);
    case 11:
      return FormatFileSize(a.file_size);
    case 12:
      return FormatFileSize(b.file_size);
    case 13:
      return QString::number(a.method);
    case 14:
      return QString::number(b.method);
    case 15:
      return QStringLiteral("%1 / %2").arg(a.thumb_bytes).arg(b.thumb_bytes);
    default:
      return {};
  }
}

}  // namespace

ResultColumnLayout ResultColumnLayoutOf(int column) {
  constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
  constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
  if (IsPathColumn(column)) return {kLeft, 270};
  if (column == 2) return {kRight, 60};
  if (column >= 3 && column <= 12) return {kRight, 80};
  if (column == 13 || column == 14) return {kLeft, 40};
  if (column == 15) return {kLeft, 80};
  return {kLeft, 0};
}

QString ResultColumnTitle(int column, const ResultTextLookup& text) {
  switch (column) {
    case 0:
      return text(text::kPathColumn) + kFirstSuffix;
    case 1:
      return text(text::kPathColumn) + kSecondSuffix;
    case 2:
      return text(text::kSimilarity);
    case 3:
      return QStringLiteral("Ratio %");
    case 4:
    case 11:
      return text(text::kSizeColumn) + kFirstSuffix;
    case 5:
    case 12:
      return text(text::kSizeColumn) + kSecondSuffix;
    case 6:
      return text(text::kBrightnessColumn) + kFirstSuffix;
    case 7:
      return text(text::kBrightnessColumn) + kSecondSuffix;
    case 8:
      return text(text::kRotated);
    case 9:
      return text(text::kFlipped);
    case 10:
      return text(text::kNegative);
    case 13:
      return QStringLiteral("T1 ");
    case 14:
      return QStringLiteral("T2 ");
    case 15:
      return QStringLiteral("Signatur");
    default:
      return {};
  }
}

QString FormatResultCell(const MatchResult* match, int column, const ResultTextLookup& text) {
  if (match == nullptr || match->first == nullptr || match->second == nullptr) return {};
  // Paths are never cut: a shortened path would name another file.
  if (column == kFirstPathColumn) return RecordPath(*match->first);
  if (column == kSecondPathColumn) return RecordPath(*match->second);
  return NumericCell(*match, column, text).left(kMaxCellText);
}

QString DefaultResultText(int number) {
  switch (number) {
    case text::kShowInFileManager:
      return QStringLiteral("Show in the file manager");
    case text::kDelete:
      return QStringLiteral("Delete");
    case text::kSizeColumn:
      return QStringLiteral("Size");
    case text::kPathColumn:
      return QStringLiteral("Picture");
    case text::kSimilarity:
      return QStringLiteral("Similarity");
    case text::kBrightnessColumn:
      return QStringLiteral("Brightness");
    case text::kRotated:
      return QStringLiteral("Rotated");
    case text::kFlipped:
      return QStringLiteral("Flipped");
    case text::kNegative:
      return QStringLiteral("Negative");
    case text::kYes:
      return QStringLiteral("Yes");
    case text::kNo:
      return QStringLiteral("No");
    case text::kFlipLeftRight:
      return QStringLiteral("Mirrored");
    case text::kFlipUpsideDown:
      return QStringLiteral("Upside down");
    default:
      return {};
  }
}

bool HasDeveloperMarker(const QDir& folder) {
  return !folder.entryList({QStringLiteral("*.dsw")}, QDir::Files | QDir::Hidden).isEmpty();
}

}  // namespace dupliora
