// Basic types of the report engine: measurement units, the resolution
// direction, paper orientation and duplex, and the one constant every unit
// conversion goes through.
#pragma once

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
