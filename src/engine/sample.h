// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QImage>
#include <cstdint>

#include "engine/image_record.h"

namespace dupliora {

// Grey value of one pixel in single precision, products added red, green,
// blue; samples of different machines must agree bit for bit.
std::uint8_t GreyValue(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Folds transparency into a grey value: opaque keeps it, fully transparent
// gives grey - 1 modulo 256 (transparent black becomes 255).
std::uint8_t FoldAlpha(std::uint8_t grey, std::uint8_t alpha);

// True when width x height reaches kMinPictureArea. The product is taken in
// unsigned 64 bits: a 50000 x 50000 picture would wrap to a negative 32-bit area.
bool HasMinimumArea(std::uint32_t width, std::uint32_t height);

// Fills gray_rot and gray_flip from gray (also when a stored record is rebuilt).
void FillTurnedCopies(ImageRecord& record);

// Fills gray, gray_rot, gray_flip, brightness and aspect from a 64 x 64
// 32-bit device bitmap; record.width, height and alpha must be set. False,
// with the record untouched, when the bitmap is not exactly 64 x 64 x 32 bits.
bool MakeSample(const QImage& bitmap64, ImageRecord& record);

}  // namespace dupliora
