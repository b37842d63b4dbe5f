// SPDX-License-Identifier: GPL-3.0-or-later
// The limits every value of a cover object is held to, whichever way it
// comes in: from a cover file, whose fixed records cannot be refused one
// field at a time, a value outside is clamped to the nearest one inside;
// from the clipboard, a stream holding one is refused.  So whatever the
// document holds can always go out again through either of them, and no
// value read reaches arithmetic that would overflow on it (a font size is
// turned into pixels, bounds into right and bottom edges).
#pragma once

#include "platform/Types.h"

#include <QString>
#include <cstdint>

inline constexpr int MaxObjectCoordinate = 32767;              // |Left|, |Top|
inline constexpr int MaxObjectExtent = 32767;                  // Width, Height (0 upwards)
inline constexpr qsizetype MaxObjectStringBytes = 64 * 1024;   // caption, file name (UTF-8)
inline constexpr qsizetype MaxObjectFontNameBytes = 255;       // font name (UTF-8)
// Font sizes in points.  A size of 0 or below means nothing for a text
// object; 1638 is the largest size the platform's font dialog offers.
inline constexpr int MinFontSize = 1;
inline constexpr int MaxFontSize = 1638;

// Why a value is not acceptable (a phrase for the user), or an empty string.
QString CheckBounds(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height);
QString CheckColour(std::uint32_t colour);
QString CheckFontSize(std::int64_t points);
QString CheckFontName(const QString& name);
QString CheckFontStyle(unsigned style);
QString CheckString(const QString& s);
QString CheckAngle(std::int64_t degrees);

// The nearest acceptable value.
int ClampCoordinate(std::int64_t v);
int ClampExtent(std::int64_t v);
int ClampFontSize(std::int64_t points);
// A colour that is neither 0x00BBGGRR nor a system colour keeps its RGB part.
TColor ClampColour(std::uint32_t colour);
// Cut after the last whole character that fits.
QString ClampFontName(const QString& name);
QString ClampString(const QString& s);
// Only the four style bits (bold, italic, underline, strike-out).
std::uint8_t ClampFontStyle(unsigned style);
// An angle in 0..359, as a text object keeps it: the remainder of a turn,
// a negative one counted back from 360 (-90 is 270, 450 is 90).
int NormaliseAngle(std::int64_t degrees);
