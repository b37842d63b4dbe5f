// SPDX-License-Identifier: GPL-3.0-or-later
// Unit conversions of the report engine, with the numbers existing reports
// depend on.  The offscreen screen has 96 logical pixels per inch.
#include "platform/Types.h"
#include "report/ppUtils.h"

#include <gtest/gtest.h>

// (That InchesPerMM is the single-precision 0.03937 is checked where it is
// defined, when it is compiled.)
TEST(PpUtils, TheScreenHas96PixelsPerInch) {
  ASSERT_EQ(ScreenPixelsPerInch(), 96) << "the tables below assume a 96 ppi screen";
}

TEST(PpUtils, RoundsHalvesToEvenAndTruncatesTowardZero) {
  EXPECT_EQ(ppRound(2.5L), 2);
  EXPECT_EQ(ppRound(3.5L), 4);
  EXPECT_EQ(ppRound(-2.5L), -2);
  EXPECT_EQ(ppRound(2.5000001L), 3);
  EXPECT_EQ(ppTrunc(1.9L), 1);
  EXPECT_EQ(ppTrunc(-1.9L), -1);
}

struct ToUnitsCase {
  int value;
  TppUnitType units;
  TppDirection dir;
  float expected;
};

class MMToUnits : public ::testing::TestWithParam<ToUnitsCase> {};

TEST_P(MMToUnits, Converts) {
  const auto& c = GetParam();
  EXPECT_EQ(MMThousandthsToUnits(c.value, c.units, c.dir, nullptr), c.expected)
      << c.value << " in unit " << int(c.units);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MMToUnits,
    ::testing::Values(ToUnitsCase{6350, utScreenPixels, dirHorizontal, 24.0f},
                      ToUnitsCase{25400, utScreenPixels, dirVertical, 96.0f},
                      ToUnitsCase{210000, utInches, dirHorizontal, 8.2677f},
                      ToUnitsCase{25400, utInches, dirHorizontal, 1.0f},
                      ToUnitsCase{25400, utMillimeters, dirHorizontal, 25.4f},
                      ToUnitsCase{-1234, utMMThousandths, dirHorizontal, -1234.0f},
                      // no printer: printer pixels are screen pixels
                      ToUnitsCase{25400, utPrinterPixels, dirVertical, 96.0f},
                      ToUnitsCase{25400, TppUnitType(9), dirHorizontal, 0.0f}));

struct FromUnitsCase {
  TppUnitType units;
  float value;
  int expected;
};

class UnitsToMM : public ::testing::TestWithParam<FromUnitsCase> {};

TEST_P(UnitsToMM, Converts) {
  const auto& c = GetParam();
  EXPECT_EQ(UnitsToMMThousandths(c.units, dirHorizontal, nullptr, c.value), c.expected)
      << c.value << " in unit " << int(c.units);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnitsToMM,
    ::testing::Values(FromUnitsCase{utScreenPixels, 24.0f, 6350},
                      FromUnitsCase{utScreenPixels, 96.0f, 25400},
                      FromUnitsCase{utInches, 8.2677f, 210000},
                      FromUnitsCase{utInches, 1.0f, 25400},
                      FromUnitsCase{utMillimeters, 25.4f, 25400},
                      FromUnitsCase{utMMThousandths, 1234.9f, 1234},
                      FromUnitsCase{utMMThousandths, -1234.9f, -1234},
                      FromUnitsCase{utPrinterPixels, 96.0f, 25400},
                      // the high bit of the stored unit byte is not part of the unit
                      FromUnitsCase{TppUnitType(0x80 | utMMThousandths), 10.5f, 10},
                      FromUnitsCase{TppUnitType(9), 10.0f, 0}));

TEST(PpUtils, ScreenPixelsRoundTrip) {
  EXPECT_EQ(ScreenPixelsToUnits(24, utMMThousandths, dirHorizontal), 6350.0f);
  EXPECT_EQ(ScreenPixelsToUnits(96, utInches, dirVertical), 1.0f);
  EXPECT_EQ(UnitsToScreenPixels(utMMThousandths, dirHorizontal, nullptr, 6350.0f), 24);
  // 6349 thousandths are 23.998 pixels: rounded to 24 on the way
  EXPECT_EQ(UnitsToScreenPixels(utMMThousandths, dirHorizontal, nullptr, 6349.0f), 24);
  EXPECT_EQ(UnitsToScreenPixels(utInches, dirHorizontal, nullptr, 8.5f), 816);
}

struct TenthsCase {
  int tenths;
  TppUnitType units;
  float expected;
};

class TenthsToUnits : public ::testing::TestWithParam<TenthsCase> {};

TEST_P(TenthsToUnits, Converts) {
  const auto& c = GetParam();
  EXPECT_EQ(TenthsMMToUnits(c.tenths, c.units, dirHorizontal), c.expected) << c.tenths;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TenthsToUnits,
    ::testing::Values(TenthsCase{2100, utMMThousandths, 210000.0f},
                      TenthsCase{2100, utMillimeters, 210.0f},
                      TenthsCase{25, utMillimeters, 2.0f},  // whole mm, half to even
                      TenthsCase{35, utMillimeters, 4.0f},
                      TenthsCase{254, utScreenPixels, 96.0f},
                      // inches go through whole screen pixels
                      TenthsCase{2159, utInches, 8.5f},
                      TenthsCase{2100, utInches, 8.2708f},
                      TenthsCase{2100, TppUnitType(7), 0.0f}));

TEST(PpUtils, UnitsToTenths) {
  EXPECT_EQ(UnitsToTenthsMM(utInches, dirHorizontal, nullptr, 8.5f), 2159);
  EXPECT_EQ(UnitsToTenthsMM(utInches, dirVertical, nullptr, 11.0f), 2794);
  EXPECT_EQ(UnitsToTenthsMM(utInches, dirHorizontal, nullptr, 8.2677f), 2100);
  EXPECT_EQ(UnitsToTenthsMM(utMillimeters, dirHorizontal, nullptr, 210.04f), 2100);
  EXPECT_EQ(UnitsToTenthsMM(utMMThousandths, dirHorizontal, nullptr, 210050.0f), 2100);
  EXPECT_EQ(UnitsToTenthsMM(utMMThousandths, dirHorizontal, nullptr, 210150.0f), 2102);
  EXPECT_EQ(UnitsToTenthsMM(utScreenPixels, dirHorizontal, nullptr, 95.0f), 251);
  EXPECT_EQ(UnitsToTenthsMM(TppUnitType(7), dirHorizontal, nullptr, 95.0f), 0);
}

TEST(PpUtils, StandardPapers) {
  struct Case {
    int code;
    const char16_t* name;
    int width, height;
  };
  const Case cases[] = {
      {1, u"Letter 8 1/2 x 11 in", 2159, 2794},
      {5, u"Legal 8 12 x 14 in", 2159, 3556},
      {7, u"Executive 7 14 x 10 1/2 in", 1841, 2667},
      {9, u"A4 210 x 297 mm", 2100, 2970},
      {12, u"B4 (JIS) 250 x 354", 2500, 3540},
      {27, u"Envelope DL 110 x 220mm", 1100, 2200},
      {29, u" Envelope C3  324 x 458 mm", 3240, 4580},
      {50, u"Letter Extra 9 \u00BD x 12 in", 2413, 3048},
      {66, u"A2 420 x 594 mm", 4200, 5940},
      {48, u"Unknown", 0, 0},
      {118, u"DMPAPER_A3_EXTRA_TRANSVERSE", 0, 0},
      {256, u"Custom", 0, 0},
      {0, u"Unknown", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StandardPaperName(c.code), QString::fromUtf16(c.name)) << c.code;
    int w = -1, h = -1;
    StandardPaperSize(c.code, w, h);
    EXPECT_EQ(w, c.width) << c.code;
    EXPECT_EQ(h, c.height) << c.code;
  }
}
