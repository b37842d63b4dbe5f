#include "report/ppUtils.h"

#include "platform/Types.h"
#include "report/ppPrintr.h"

#include <cfenv>
#include <cmath>

int ppRound(long double x) {
  // nearbyint rounds in the current mode, which is to-nearest-even unless a
  // library changed it; make sure of it locally rather than trust that.
  const int old = std::fegetround();
  if (old != FE_TONEAREST) std::fesetround(FE_TONEAREST);
  const long double r = std::nearbyintl(x);
  if (old != FE_TONEAREST) std::fesetround(old);
  return int((long long)r);
}

int ppTrunc(long double x) { return int((long long)std::truncl(x)); }

namespace {

// The unit byte as stored may carry a flag in its high bit.
TppUnitType Masked(TppUnitType u) { return TppUnitType(std::uint8_t(u) & 0x7F); }

long double PrinterPixelsPerInch(TppDirection direction, TppPrinter* printer) {
  if (!printer) return ScreenPixelsPerInch();
  int x = 0, y = 0;
  printer->PixelsPerInch(x, y);
  return direction == dirVertical ? y : x;
}

constexpr long double kInchesPerMM = InchesPerMM;  // the Single widened exactly

}  // namespace

float MMThousandthsToUnits(int value, TppUnitType units, TppDirection direction,
                           TppPrinter* printer) {
  const long double x = (long double)value / 1000.0L;
  long double r = 0;
  switch (units) {
    case utScreenPixels: r = ppRound(x * kInchesPerMM * ScreenPixelsPerInch()); break;
    case utInches: r = (long double)ppRound(x * kInchesPerMM * 10000.0L) / 10000.0L; break;
    case utMillimeters: r = x; break;
    case utPrinterPixels:
      r = ppRound(x * kInchesPerMM * PrinterPixelsPerInch(direction, printer));
      break;
    case utMMThousandths: r = value; break;
    default: r = 0; break;
  }
  return float(r);
}

int UnitsToMMThousandths(TppUnitType units, TppDirection direction, TppPrinter* printer,
                         float value) {
  const long double v = value;
  switch (Masked(units)) {
    case utScreenPixels:
      return ppRound(v / ScreenPixelsPerInch() / kInchesPerMM * 1000.0L);
    case utInches: return ppRound(v / kInchesPerMM * 1000.0L);
    case utMillimeters: return ppRound(v * 1000.0L);
    case utPrinterPixels:
      return ppRound(v / PrinterPixelsPerInch(direction, printer) / kInchesPerMM * 1000.0L);
    case utMMThousandths: return ppTrunc(v);
    default: return 0;
  }
}

float ScreenPixelsToUnits(int pixels, TppUnitType units, TppDirection direction,
                          TppPrinter* printer) {
  const int mm = UnitsToMMThousandths(utScreenPixels, direction, printer, float(pixels));
  return MMThousandthsToUnits(mm, units, direction, printer);
}

int UnitsToScreenPixels(TppUnitType units, TppDirection direction, TppPrinter* printer,
                        float value) {
  const int mm = UnitsToMMThousandths(units, direction, printer, value);
  return ppTrunc(MMThousandthsToUnits(mm, utScreenPixels, direction, printer));
}

float TenthsMMToUnits(int tenths, TppUnitType units, TppDirection direction,
                      TppPrinter* printer) {
  const int m = tenths * 100;
  switch (units) {
    case utInches: {
      // Through whole screen pixels, so that a paper's size in inches is
      // what the screen can show of it.
      const int px = UnitsToScreenPixels(utMMThousandths, direction, printer, float(m));
      return ScreenPixelsToUnits(px, utInches, direction, printer);
    }
    case utMillimeters: return float(ppRound((long double)tenths / 10.0L));
    case utMMThousandths: return float(m);
    case utScreenPixels:
    case utPrinterPixels: return MMThousandthsToUnits(m, units, direction, printer);
    default: return 0;
  }
}

int UnitsToTenthsMM(TppUnitType units, TppDirection direction, TppPrinter* printer,
                    float value) {
  switch (units) {
    case utInches: {
      const int px = UnitsToScreenPixels(utInches, direction, printer, value);
      const float mm = ScreenPixelsToUnits(px, utMMThousandths, direction, printer);
      return ppTrunc((long double)mm / 100.0L);
    }
    case utMillimeters: return ppRound((long double)value * 10.0L);
    case utMMThousandths: return ppRound((long double)value / 100.0L);
    case utScreenPixels:
    case utPrinterPixels: return UnitsToMMThousandths(units, direction, printer, value) / 100;
    default: return 0;
  }
}

namespace {

struct StandardPaper {
  int code;
  const char16_t* name;
  bool inches;  // sizes below in inches, else in millimetres
  float width;
  float height;
};

const StandardPaper kPapers[] = {
    {1, u"Letter 8 1/2 x 11 in", true, 8.5f, 11.0f},
    {2, u"Letter 8 1/2 x 11 in", true, 8.5f, 11.0f},
    {3, u"Tabloid 11 x 17 in", true, 11.0f, 17.0f},
    {4, u"Ledger 17 x 11 in", true, 17.0f, 11.0f},
    {5, u"Legal 8 12 x 14 in", true, 8.5f, 14.0f},
    {6, u"Statement 5 1/2 x 8 12 in", true, 5.5f, 8.5f},
    {7, u"Executive 7 14 x 10 1/2 in", true, 7.25f, 10.5f},
    {8, u"A3 297 x 420 mm", false, 297.0f, 420.0f},
    {9, u"A4 210 x 297 mm", false, 210.0f, 297.0f},
    {10, u"A4 Small 210 x 297 mm", false, 210.0f, 297.0f},
    {11, u"A5 148 x 210 mm", false, 148.0f, 210.0f},
    {12, u"B4 (JIS) 250 x 354", false, 250.0f, 354.0f},
    {13, u"B5 (JIS) 182 x 257 mm", false, 182.0f, 257.0f},
    {14, u"Folio 8 1/2 x 13 in", true, 8.5f, 13.0f},
    {15, u"Quarto 215 x 275 mm", false, 215.0f, 275.0f},
    {16, u"10 x 14 in", true, 10.0f, 14.0f},
    {17, u"11 x 17 in", true, 11.0f, 17.0f},
    {18, u"Note 8 1/2 x 11 in", true, 8.5f, 11.0f},
    {19, u"Envelope #9 3 7/8 x 8 7/8", true, 3.875f, 8.875f},
    {20, u"Envelope #10 4 18 x 9 1/2", true, 4.125f, 9.5f},
    {21, u"Envelope #11 4 12 x 10 3/8", true, 4.5f, 10.375f},
    {22, u"Envelope #12 4 276 x 11", true, 4.75f, 11.0f},
    {23, u"Envelope #14 5 x 11 1/2", true, 5.0f, 11.5f},
    {24, u"C size sheet", true, 17.0f, 22.0f},
    {25, u"D size sheet", true, 22.0f, 34.0f},
    {26, u"E size sheet", true, 34.0f, 44.0f},
    {27, u"Envelope DL 110 x 220mm", false, 110.0f, 220.0f},
    {28, u"Envelope C5 162 x 229 mm", false, 162.0f, 229.0f},
    {29, u" Envelope C3  324 x 458 mm", false, 324.0f, 458.0f},
    {30, u"Envelope C4  229 x 324 mm", false, 229.0f, 324.0f},
    {31, u"Envelope C6  114 x 162 mm", false, 114.0f, 162.0f},
    {32, u"Envelope C65 114 x 229 mm", false, 114.0f, 229.0f},
    {33, u"Envelope B4  250 x 353 mm", false, 250.0f, 353.0f},
    {34, u"Envelope B5  176 x 250 mm", false, 176.0f, 250.0f},
    {35, u"Envelope B6  176 x 125 mm", false, 176.0f, 125.0f},
    {36, u"Envelope 110 x 230 mm", false, 110.0f, 230.0f},
    {37, u"Envelope Monarch 3.875 x 7.5 in", true, 3.875f, 7.5f},
    {38, u"6 34 Envelope 3 5/8 x 6 1/2 in", true, 3.625f, 6.5f},
    {39, u"US Std Fanfold 14 7/8 x 11 in", true, 14.875f, 11.0f},
    {40, u"German Std Fanfold 8 1/2 x 12 in", true, 8.5f, 12.0f},
    {41, u"German Legal Fanfold 8 1/2 x 13 in", true, 8.5f, 13.0f},
    {42, u"B4 (ISO) 250 x 353 mm", false, 250.0f, 353.0f},
    {43, u"Japanese Postcard 100 x 148 mm", false, 100.0f, 148.0f},
    {44, u"9 x 11 in", true, 9.0f, 11.0f},
    {45, u"10 x 11 in", true, 10.0f, 11.0f},
    {46, u"15 x 11 in", true, 15.0f, 11.0f},
    {47, u"Envelope Invite 220 x 220 mm", false, 220.0f, 220.0f},
    {50, u"Letter Extra 9 \u00BD x 12 in", true, 9.5f, 12.0f},
    {51, u"Legal Extra 9 \u00BD x 15 in", true, 9.5f, 15.0f},
    {52, u"Tabloid Extra 11.69 x 18 in", true, 11.69f, 18.0f},
    {53, u"A4 Extra 9.27 x 12.69 in", true, 9.27f, 12.69f},
    {54, u"Letter Transverse 8 \u00BD x 11 in", true, 8.5f, 11.0f},
    {55, u"A4 Transverse 210 x 297 mm", false, 210.0f, 297.0f},
    {56, u"Letter Extra Transverse 9\u00BD x 12 in", true, 9.5f, 12.0f},
    {57, u"SuperASuperAA4 227 x 356 mm", false, 227.0f, 356.0f},
    {58, u"SuperBSuperBA3 305 x 487 mm", false, 305.0f, 487.0f},
    {59, u"Letter Plus 8.5 x 12.69 in", true, 8.5f, 12.69f},
    {60, u"A4 Plus 210 x 330 mm", false, 210.0f, 330.0f},
    {61, u"A5 Transverse 148 x 210 mm", false, 148.0f, 210.0f},
    {62, u"B5 (JIS) Transverse 182 x 257 mm", false, 182.0f, 257.0f},
    {63, u"A3 Extra 322 x 445 mm", false, 322.0f, 445.0f},
    {64, u"A5 Extra 174 x 235 mm", false, 174.0f, 235.0f},
    {65, u"B5 (ISO) Extra 201 x 276 mm", false, 201.0f, 276.0f},
    {66, u"A2 420 x 594 mm", false, 420.0f, 594.0f},
    {67, u"A3 Transverse 297 x 420 mm", false, 297.0f, 420.0f},
    {68, u"A3 Extra Transverse 322 x 445 mm", false, 322.0f, 445.0f},
};

const StandardPaper* FindPaper(int code) {
  for (const auto& p : kPapers)
    if (p.code == code) return &p;
  return nullptr;
}

}  // namespace

QString StandardPaperName(int code) {
  if (const StandardPaper* p = FindPaper(code)) return QString::fromUtf16(p->name);
  if (code == 118) return QStringLiteral("DMPAPER_A3_EXTRA_TRANSVERSE");
  if (code == DMPAPER_USER) return QStringLiteral("Custom");
  return QStringLiteral("Unknown");
}

void StandardPaperSize(int code, int& width, int& height) {
  width = height = 0;
  const StandardPaper* p = FindPaper(code);
  if (!p) return;
  if (p->inches) {
    width = UnitsToTenthsMM(utInches, dirHorizontal, nullptr, p->width);
    height = UnitsToTenthsMM(utInches, dirVertical, nullptr, p->height);
  } else {
    width = ppRound((long double)p->width * 10.0L);
    height = ppRound((long double)p->height * 10.0L);
  }
}
