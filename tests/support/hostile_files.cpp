// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "support/hostile_files.h"

#include <sys/stat.h>
#include <zlib.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>

#include "support/pictures.h"

namespace dupliora::test {

namespace {

constexpr int kGifCodeBits = 7;               // 128 colours
constexpr int kGifClear = 1 << kGifCodeBits;  // then the end code
constexpr int kLiteralsPerClear = 125;        // the table never reaches 256 codes

QByteArray Little(std::uint32_t value, int bytes) {
  QByteArray out;
  for (int k = 0; k < bytes; ++k) out.append(static_cast<char>((value >> (8 * k)) & 0xFF));
  return out;
}

// 2 bits of red, 3 of green, 2 of blue.
int PaletteIndex(QRgb pixel) {
  return (qRed(pixel) >> 6) << 5 | (qGreen(pixel) >> 5) << 2 | (qBlue(pixel) >> 6);
}

QByteArray GifPalette() {
  QByteArray palette;
  for (int k = 0; k < (1 << kGifCodeBits); ++k) {
    palette.append(static_cast<char>(((k >> 5) & 3) * 85));
    palette.append(static_cast<char>(((k >> 2) & 7) * 36));
    palette.append(static_cast<char>((k & 3) * 85));
  }
  return palette;
}

QByteArray Deflated(const QByteArray& bytes, int window_bits, int level = Z_BEST_SPEED) {
  z_stream stream{};
  deflateInit2(&stream, level, Z_DEFLATED, window_bits, 8, Z_DEFAULT_STRATEGY);
  QByteArray out(static_cast<qsizetype>(deflateBound(&stream, bytes.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(static_cast<qsizetype>(stream.total_out));
  deflateEnd(&stream);
  return out;
}

QByteArray PngChunk(const char* type, const QByteArray& data) {
  const QByteArray body = QByteArray(type) + data;
  QByteArray length(4, '\0');
  qToBigEndian(static_cast<std::uint32_t>(data.size()), length.data());
  QByteArray crc(4, '\0');
  qToBigEndian(static_cast<std::uint32_t>(
                   crc32(0, reinterpret_cast<const Bytef*>(body.constData()), body.size())),
               crc.data());
  return length + body + crc;
}

// A PNG of the signature, an IHDR of width x height and `depth_and_colour`
// (two bytes, then no compression, filter or interlace), the IDAT and IEND.
QByteArray Png(std::uint32_t width, std::uint32_t height, const char* depth_and_colour,
               const QByteArray& idat) {
  QByteArray header(8, '\0');
  qToBigEndian(width, header.data());
  qToBigEndian(height, header.data() + 4);
  header += QByteArray(depth_and_colour, 2) + QByteArray(3, '\0');
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", idat) +
         PngChunk("IEND", {});
}

}  // namespace

QByteArray EncodedPicture(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setQuality(quality);
  return writer.write(image) ? bytes : QByteArray();
}

QByteArray GifBytes(const QImage& image) {
  QByteArray gif("GIF89a");
  gif += Little(image.width(), 2) + Little(image.height(), 2);
  gif += QByteArray("\xF6\x00\x00", 3);  // global table of 2^7 colours
  gif += GifPalette();
  gif += ',' + Little(0, 4) + Little(image.width(), 2) + Little(image.height(), 2) + '\0';
  QByteArray codes;
  int since_clear = kLiteralsPerClear;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (since_clear == kLiteralsPerClear) {
        codes.append(static_cast<char>(kGifClear));
        since_clear = 0;
      }
      codes.append(static_cast<char>(PaletteIndex(image.pixel(x, y))));
      ++since_clear;
    }
  }
  codes.append(static_cast<char>(kGifClear + 1));
  gif.append(static_cast<char>(kGifCodeBits));
  for (qsizetype at = 0; at < codes.size(); at += 255) {
    const QByteArray block = codes.mid(at, 255);
    gif.append(static_cast<char>(block.size())).append(block);
  }
  return gif + QByteArray("\0;", 2);
}

QByteArray BmpClaimingSize(std::uint32_t width, std::uint32_t height, int bits) {
  const int colours = bits == 8 ? 256 : 0;
  const std::uint32_t pixels_at = 14 + 40 + 4 * colours;
  QByteArray bmp = "BM" + Little(pixels_at, 4) + Little(0, 4) + Little(pixels_at, 4);
  bmp += Little(40, 4) + Little(width, 4) + Little(height, 4) + Little(1, 2) + Little(bits, 2);
  bmp += Little(0, 4) + Little(0, 4) + Little(2835, 4) + Little(2835, 4) + Little(colours, 4) +
         Little(0, 4);
  for (int k = 0; k < colours; ++k) bmp += QByteArray(3, static_cast<char>(k)) + '\0';
  return bmp;
}

QByteArray MonoPng(std::uint32_t width, std::uint32_t height) {
  const QByteArray rows(static_cast<qsizetype>((width / 8 + 1) * height), '\0');
  return Png(width, height, "\x01\x00",
             Deflated(rows, MAX_WBITS, Z_BEST_COMPRESSION));  // 1-bit grey
}

QByteArray PngClaimingSize(std::uint32_t width, std::uint32_t height) {
  // 8-bit RGBA; an empty zlib stream (stored, final, empty block) plus its Adler-32.
  return Png(width, height, "\x08\x06", QByteArray::fromHex("7801010000ffff00000001"));
}

QByteArray Gzip(const QByteArray& bytes) { return Deflated(bytes, 16 + MAX_WBITS); }

QByteArray SvgzWithHugeComment(int comment_mb) {
  QByteArray document(R"(<svg xmlns="http://www.w3.org/2000/svg" width="200" height="200"><!--)");
  document += QByteArray(qsizetype{comment_mb} << 20, ' ');
  document += R"(--><rect width="200" height="200" fill="red"/></svg>)";
  return Gzip(document);
}

QByteArray SvgWithImage(const QString& href) {
  return QStringLiteral(
             R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )"
             R"(width="200" height="200"><rect width="200" height="200" fill="#3080c0"/>)"
             R"(<image xlink:href="%1" width="200" height="200"/></svg>)")
      .arg(href)
      .toUtf8();
}

bool MakeFifo(const QString& path) {
  return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

}  // namespace dupliora::test
