// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdint>

namespace dupliora {

// A number in the user's locale: decimal separator, digit grouping, sign.
QString FormatNumber(double value, int decimals);

// A byte count with its unit: "999 Byte", "976.6 KB", "1.0 MB", "1.0 GB".
// The thresholds are powers of ten while the divisors are powers of two.
QString FormatFileSize(std::uint64_t bytes);

}  // namespace dupliora
