// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "cli/left_out_listing.h"

namespace dupliora {

namespace {

// Length of the valid UTF-8 sequence starting at `at`, 0 when there is none.
int Utf8SequenceLength(const QByteArray& text, qsizetype at) {
  const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(at);
  int length = 0;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  if (length == 0 || at + length > text.size()) return 0;
  for (int k = 1; k < length; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) return 0;
  }
  const unsigned char second = byte(at + 1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
    return 0;  // overlong forms, surrogates, beyond U+10FFFF
  }
  return length;
}

}  // namespace

QByteArray EscapedPath(const QByteArray& path) {
  QByteArray out;
  for (qsizetype at = 0; at < path.size();) {
    const unsigned char c = static_cast<unsigned char>(path[at]);
    if (c == '\\') {
      out += "\\\\";
      ++at;
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      ++at;
    } else if (const int length = c >= 0x80 ? Utf8SequenceLength(path, at) : 0; length > 0) {
      out += path.mid(at, length);
      at += length;
    } else {
      out += "\\x" + QByteArray::number(c, 16).rightJustified(2, '0');
      ++at;
    }
  }
  return out;
}

QByteArray LeftOutListing(const LeftOutFiles& files) {
  QByteArray out;
  for (const LeftOutFile& file : files.Files()) {
    out += QByteArray(ReasonKey(file.reason)) + '\t' + EscapedPath(file.path) + '\n';
  }
  return out;
}

}  // namespace dupliora
