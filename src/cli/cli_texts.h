// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include "engine/run_sink.h"

namespace dupliora {

// The English texts a run shows, for the command-line tool.
RunTexts CliRunTexts();

}  // namespace dupliora
