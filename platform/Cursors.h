// SPDX-License-Identifier: GPL-3.0-or-later
// Screen cursors by number, as the program's controls name them: the
// platform's standard cursors have fixed negative numbers, and components
// register their own pictures under positive numbers at start-up.
#pragma once

#include <QCursor>

using TCursor = int;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// Installs (or replaces) the cursor shown for a number.
void RegisterCursor(TCursor id, const QCursor& cursor);
// True when a cursor was registered under id.
bool IsCursorRegistered(TCursor id);
// The cursor for a number: a registered one, else the standard cursor for
// the negative numbers above, else the default arrow.
QCursor CursorFor(TCursor id);
