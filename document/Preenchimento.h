// SPDX-License-Identifier: GPL-3.0-or-later
// How the disc of the CD sheet is filled.  The document keeps the disc's
// fill style and the shape that draws the disc (components/dsshape) reads
// it, so the values live here, below both.
#pragma once

#include <cstdint>

enum TDSShapeFill : std::uint8_t {
  tfsNone = 0,
  tfsHGradient = 1,
  tfsVGradient = 2,
  tfsImageTile = 3,
  tfsImageCenter = 4,
  tfsImageStretch = 5,
  tfsSolid = 6,
};
