// Conversions between the engine's internal unit, thousandths of a
// millimetre, and the units that designers, components and devices see, and
// the standard Windows paper table that printers' paper lists fall back on.
//
// Every conversion multiplies or divides by InchesPerMM (ppTypes.h) in
// extended precision and rounds halves to the even neighbour, so that the
// results match the thousandths stored in existing report files.
#pragma once

#include "report/ppTypes.h"

#include <QString>

class TppPrinter;

// Round half to even, as the engine's Round does.
int ppRound(long double x);
// Cut toward zero, as the engine's Trunc does.
int ppTrunc(long double x);

// A nil printer, or utPrinterPixels without one, uses the screen's logical
// pixels per inch.
float MMThousandthsToUnits(int value, TppUnitType units, TppDirection direction,
                           TppPrinter* printer = nullptr);
int UnitsToMMThousandths(TppUnitType units, TppDirection direction, TppPrinter* printer,
                         float value);

// Pixels go to thousandths as screen pixels, then to the target unit.
float ScreenPixelsToUnits(int pixels, TppUnitType units, TppDirection direction,
                          TppPrinter* printer = nullptr);
// The value goes to thousandths, then to whole screen pixels (truncated).
int UnitsToScreenPixels(TppUnitType units, TppDirection direction, TppPrinter* printer,
                        float value);

// Tenths of a millimetre, the unit of printer drivers' paper sizes.
float TenthsMMToUnits(int tenths, TppUnitType units, TppDirection direction,
                      TppPrinter* printer = nullptr);
int UnitsToTenthsMM(TppUnitType units, TppDirection direction, TppPrinter* printer,
                    float value);

// The Windows paper codes 1-68 (48 and 49 have no paper), 118 and 256:
// the name ("Unknown" for other codes) and the portrait width and height in
// tenths of a millimetre (zero for codes without a size).
QString StandardPaperName(int code);
void StandardPaperSize(int code, int& width, int& height);
