// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <vector>

#include "engine/comparison_engine.h"
#include "engine/left_out.h"

namespace dupliora {

// One line per match: first, second, similarity, ratio, rotation, flip, negative.
QByteArray MatchesAsTsv(const std::vector<MatchResult>& matches);

// {"matches": [...], "summary": {...}}; the summary counts the files left
// out by reason ("left_out": {"damaged": 2, ...}).
QByteArray MatchesAsJson(const std::vector<MatchResult>& matches, const RunSummary& summary,
                         const LeftOutFiles& left_out);

}  // namespace dupliora
