// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "cli/cli_texts.h"

namespace dupliora {

RunTexts CliRunTexts() {
  RunTexts texts;
  texts.by_number = {
      {300000, QStringLiteral("Folder not found or not usable:")},
      {300001, QStringLiteral("Folder scan")},
      {300002, QStringLiteral("finished")},
      {300003, QStringLiteral("running")},
      {300102, QStringLiteral("Similarity")},
      {300330, QStringLiteral("Loaded")},
      {300331, QStringLiteral("/ sec")},
      {300332, QStringLiteral("Skipped comparisons")},
      {300333, QStringLiteral("Comparisons")},
      {300334, QStringLiteral("Time:")},
      {300335, QStringLiteral("Total time")},
      {300336, QStringLiteral("Remaining")},
      {300337, QStringLiteral("Similar:")},
      {300339, QStringLiteral("No pictures to compare were found")},
      {300340, QStringLiteral("Choose the folders, then press Start")},
  };
  return texts;
}

}  // namespace dupliora
