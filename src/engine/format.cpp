// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/format.h"

#include <QLocale>
#include <cstdio>
#include <cstdlib>

namespace dupliora {

namespace {

// Round-trip through "%.8f" first, so values are rounded exactly as the
// printed text reads before the locale's own rounding to `decimals`.
double ThroughFixedText(double value) {
  char text[512];
  std::snprintf(text, sizeof text, "%.8f", value);
  return std::strtod(text, nullptr);
}

double ThroughFourDecimals(double value) {
  char text[512];
  std::snprintf(text, sizeof text, "%.4f", value);
  return std::strtod(text, nullptr);
}

}  // namespace

QString FormatNumber(double value, int decimals) {
  return QLocale().toString(ThroughFixedText(value), 'f', decimals);
}

QString FormatFileSize(std::uint64_t bytes) {
  if (bytes < 1000ULL) {
    return QLocale().toString(static_cast<qulonglong>(bytes)) + QStringLiteral(" Byte");
  }
  double scaled = 0.0;
  const char* unit = nullptr;
  if (bytes < 1000000ULL) {
    scaled = static_cast<double>(bytes / 10ULL) / 102.4;
    unit = " KB";
  } else if (bytes < 1000000000ULL) {
    scaled = static_cast<double>(bytes / 10000ULL) / 104.8576;
    unit = " MB";
  } else {
    scaled = static_cast<double>(bytes / 10000000ULL) / 107.3741824;
    unit = " GB";
  }
  return FormatNumber(ThroughFourDecimals(scaled), 1) + QLatin1String(unit);
}

}  // namespace dupliora
