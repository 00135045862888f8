// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "engine/image_record.h"

namespace dupliora {

// Heavy check mark and a blank: the mark of a picture in its caption.
inline const QString kCheckSign = QStringLiteral(u"\u2714 ");
// Captions and ratio box before the first pair is shown.
inline const QString kCaptionPlaceholder = QStringLiteral("....");
inline const QString kStartRatioText = QStringLiteral(u"100 %\n180 \u00b0\n");

// Everything a row of the result list gives the previews.
struct PreviewRow {
  QString first_path;       // cell (row, 0)
  QString second_path;      // cell (row, 1)
  QString similarity_text;  // cell (row, 2)
  const MatchResult* match = nullptr;
  bool first_marked = false;
  bool second_marked = false;
};

// The texts the previews show for a row; captions stay as they are when the
// row has no match.
struct PreviewTexts {
  QString ratio;
  std::optional<QString> first_caption;
  std::optional<QString> second_caption;
};

// "<mark> <width> x <height> <size> <mark>", the mark empty when unmarked.
QString PreviewCaption(bool marked, std::uint32_t width, std::uint32_t height,
                       std::uint64_t file_size);

// Three lines: similarity, rotation, and the flip ("HF", "VF" or "=="); a
// negative pair adds a fourth, "NEG", as its result row says so too.
QString RatioBoxText(int similarity, int rotation, int flip, bool negative = false);

PreviewTexts BuildPreviewTexts(const PreviewRow& row);

}  // namespace dupliora
