// SPDX-License-Identifier: GPL-3.0-or-later
// Basic types of the report engine: measurement units, the resolution
// direction, paper orientation and duplex, the one constant every unit
// conversion goes through, and the enumerations that reports, bands,
// components and draw commands store.
#pragma once

#include <QString>
#include <bit>
#include <cstdint>

// Units of the engine's published floating-point lengths.  Stored as one
// byte in report streams, so the ordinals are fixed.
enum TppUnitType : std::uint8_t {
  utScreenPixels = 0,
  utInches = 1,
  utMillimeters = 2,
  utPrinterPixels = 3,
  utMMThousandths = 4,
};

// Which resolution of a printer a conversion uses; only printer pixels can
// differ between the axes.
enum TppDirection : std::uint8_t {
  dirHorizontal = 0,
  dirVertical = 1,
};

enum TPrinterOrientation : std::uint8_t { poPortrait, poLandscape };

enum TppDuplexType : std::uint8_t { dpNone, dpHorizontal, dpVertical };

// Inches per millimetre as the engine has always used it: the single
// precision value 0.03937, deliberately not 1/25.4, so that stored reports
// convert to the same thousandths they were designed with.
inline constexpr float InchesPerMM = 0.03937f;
static_assert(std::bit_cast<std::uint32_t>(InchesPerMM) == 0x3D214270u);

// Windows paper code of a user-defined paper size.
inline constexpr int DMPAPER_USER = 256;

// The name of a unit as the report designer shows it ("utInches", ...).
const char* UnitTypeName(TppUnitType u);

// Languages of the engine's texts, stored as one byte; ordinals fixed.
enum TppLanguageType : std::uint8_t {
  lgDefault,
  lgDanish,
  lgDutch,
  lgEnglish,
  lgFrench,
  lgGerman,
  lgItalian,
  lgPortugueseBrazil,
  lgPortuguese,
  lgSpanish,
  lgSpanishMexico,
  lgSwedish,
  lgNorwegian,
  lgCustom,
};

// The file extension of a language's modules ("eng" for lgEnglish, "dft"
// for lgDefault); the stored byte is masked with 0x7F first, and a value
// that names no language has none (empty).
QString LanguageExtension(int language);

// Where text sits in its box.  taFullJustified only for memos.
enum TppTextAlignment : std::uint8_t { taLeftJustified, taRightJustified, taCentered, taFullJustified };

// The kind of value a draw command shows.
enum TppDataType : std::uint8_t {
  dtBoolean,
  dtDate,
  dtTime,
  dtDateTime,
  dtInteger,
  dtSingle,
  dtDouble,
  dtExtended,
  dtCurrency,
  dtChar,
  dtString,
  dtVariant,
  dtLongint,
  dtBLOB,
  dtMemo,
  dtGraphic,
  dtNotKnown,
};

// A static band always takes its height; a dynamic one the height its
// printed components use.
enum TppPrintHeightType : std::uint8_t { phStatic, phDynamic };
enum TppColumnTraversalType : std::uint8_t { ctTopToBottom, ctLeftToRight };
enum TppPassSettingType : std::uint8_t { psOnePass, psTwoPass };
enum TppTextFileType : std::uint8_t { ftComma, ftTab, ftFixedLength, ftCustom };
enum TppLinePositionType : std::uint8_t { lpTop, lpBottom, lpLeft, lpRight };
enum TppLineStyleType : std::uint8_t { lsSingle, lsDouble };

// The kind of band a component sits in, as its stored BandType code.
enum TppBandType : int {
  btHeader = 0,
  btTitle = 1,
  btColumnHeader = 2,
  btGroupHeader = 3,
  btDetail = 4,
  btGroupFooter = 5,
  btColumnFooter = 6,
  btSummary = 7,
  btFooter = 8,
  btPageStyle = 9,
};
