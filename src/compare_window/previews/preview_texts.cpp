// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/previews/preview_texts.h"

#include "engine/format.h"

namespace dupliora {

QString PreviewCaption(bool marked, std::uint32_t width, std::uint32_t height,
                       std::uint64_t file_size) {
  const QString mark = marked ? kCheckSign : QString();
  return mark + u' ' + QStringLiteral("%1 x %2").arg(width).arg(height) + u' ' +
         FormatFileSize(file_size) + u' ' + mark;
}

QString RatioBoxText(int similarity, int rotation, int flip, bool negative) {
  const QString flip_text = flip == 1   ? QStringLiteral("HF")
                            : flip == 2 ? QStringLiteral("VF")
                                        : QStringLiteral("==");
  return QStringLiteral(u"%1 %\n %2 \u00b0\n").arg(similarity).arg(rotation) + flip_text +
         (negative ? QStringLiteral("\nNEG") : QString());
}

PreviewTexts BuildPreviewTexts(const PreviewRow& row) {
  PreviewTexts texts;
  texts.ratio = row.similarity_text;
  const MatchResult* match = row.match;
  if (match == nullptr || match->first == nullptr || match->second == nullptr) return texts;
  const ImageRecord& first = *match->first;
  const ImageRecord& second = *match->second;
  texts.first_caption =
      PreviewCaption(row.first_marked, first.width, first.height, first.file_size);
  texts.second_caption =
      PreviewCaption(row.second_marked, second.width, second.height, second.file_size);
  texts.ratio = RatioBoxText(match->similarity, match->rotation, match->flip, match->negative != 0);
  return texts;
}

}  // namespace dupliora
