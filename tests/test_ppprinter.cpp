// SPDX-License-Identifier: GPL-3.0-or-later
// The printer object on scripted printers and into PDF files: metrics with
// and without a device context, driver settings, the document lifecycle and
// where drawings land.
#include "support/ScriptedPrinters.h"

#include "report/ppUtils.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>

namespace {

// A printer of 100 x 50 pixels per inch whose unprintable border is a
// quarter inch on the left and 10 pixels at the top (portrait sense).
TScriptedPrinter OffsetPrinter(const QString& name) {
  TScriptedPrinter p = TScriptedPrinter::Standard(name);
  p.PixelsPerInchX = 100;
  p.PixelsPerInchY = 50;
  p.Unprintable = QMargins(25, 10, 5, 8);
  return p;
}

// A setup for A4 in the given orientation with quarter-inch margins.
void A4(TppPrinterSetup& s, TPrinterOrientation o, const QString& printer = "Default") {
  s.SetPrinterName(printer);
  s.SetUnits(utMMThousandths);
  s.SetPaperName("A4");
  s.SetOrientation(o);
}

struct PdfPage {
  double width, height;  // points
};

// The pages of a PDF file from their media boxes, in page order as long as
// the writer emits page objects in order (Qt's does).
QList<PdfPage> PdfPages(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QString text = QString::fromLatin1(f.readAll());
  QList<PdfPage> pages;
  static const QRegularExpression pageObj(
      R"(/Type\s*/Page\b(?!s)[^>]*?/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])",
      QRegularExpression::DotMatchesEverythingOption);
  auto it = pageObj.globalMatch(text);
  while (it.hasNext()) {
    const auto m = it.next();
    pages.append({m.captured(3).toDouble() - m.captured(1).toDouble(),
                  m.captured(4).toDouble() - m.captured(2).toDouble()});
  }
  return pages;
}

}  // namespace

class PrinterTest : public ScriptedPrintersTest {};

TEST_F(PrinterTest, WithoutAContextThePrinterAnswersTheScreen) {
  TScriptedPrinter broken = OffsetPrinter("Broken");
  broken.CanCreateContext = false;
  Install({broken});
  TppPrinter printer;
  int x = 0, y = 0;
  printer.PixelsPerInch(x, y);
  EXPECT_EQ(x, ScreenPixelsPerInch());
  EXPECT_EQ(y, ScreenPixelsPerInch());
  int l = -1, t = -1, r = -1, b = -1;
  printer.PageOffsets(l, t, r, b);
  EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(printer.DC(), nullptr);
  EXPECT_FALSE(printer.PrinterInfo()->Usable);
  EXPECT_FALSE(printer.BeginDoc());
  EXPECT_FALSE(printer.Printing());
  // Printer pixels of an unusable printer are screen pixels.
  EXPECT_EQ(MMThousandthsToUnits(25400, utPrinterPixels, dirHorizontal, &printer),
            float(ScreenPixelsPerInch()));
}

TEST_F(PrinterTest, MetricsComeFromTheContextAndTurnWithThePaper) {
  Install({OffsetPrinter("P")});
  TppPrinter printer;
  int x = 0, y = 0;
  printer.PixelsPerInch(x, y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 50);
  EXPECT_EQ(MMThousandthsToUnits(25400, utPrinterPixels, dirHorizontal, &printer), 100.0f);
  EXPECT_EQ(MMThousandthsToUnits(25400, utPrinterPixels, dirVertical, &printer), 50.0f);
  EXPECT_EQ(UnitsToMMThousandths(utPrinterPixels, dirVertical, &printer, 50.0f), 25400);

  TppPrinterSetup s;
  A4(s, poPortrait);
  printer.ApplySetup(s);
  int l, t, r, b;
  printer.PageOffsets(l, t, r, b);
  EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{25, 10, 5, 8}));
  A4(s, poLandscape);
  printer.ApplySetup(s);
  printer.PageOffsets(l, t, r, b);
  EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{8, 25, 10, 5}));
  EXPECT_EQ(printer.Metrics().PhysicalWidth, 1169);  // 297 mm at 100 ppi
}

TEST_F(PrinterTest, ApplySetupWritesOneCopyAndSkipsAnEqualSetup) {
  TScriptedPrinterBackend& backend = Install({OffsetPrinter("P"), OffsetPrinter("Q")});
  TppPrinter printer;
  TppPrinterSetup s;
  A4(s, poLandscape, "Q");
  s.SetCopies(5);
  s.SetDuplex(dpVertical);
  s.SetBinName("Tray 1");
  printer.ApplySetup(s);
  const TDriverSettings* d = printer.DriverSettings();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(printer.PrinterName(), "Q");
  EXPECT_EQ(d->DeviceName, "Q");
  EXPECT_EQ(d->Copies, 1);
  EXPECT_EQ(d->Orientation, TDriverSettings::OrientLandscape);
  EXPECT_EQ(d->PaperSize, 9);
  EXPECT_EQ(d->Duplex, TDriverSettings::DuplexVertical);
  EXPECT_EQ(d->DefaultSource, 257);
  EXPECT_TRUE(d->Fields & TDriverSettings::dmCopies);
  EXPECT_EQ(printer.PrinterSetup()->Copies(), 5);  // the setup keeps them

  printer.DC();
  const int contexts = backend.ContextsCreated;
  const int queries = backend.SettingsQueries;
  TppPrinterSetup same;
  same.Assign(s);
  printer.ApplySetup(same);
  EXPECT_EQ(printer.DriverSettings(), d);  // not even replaced
  printer.DC();
  EXPECT_EQ(backend.ContextsCreated, contexts);
  EXPECT_EQ(backend.SettingsQueries, queries);

  // A user size goes to the driver upright, in tenths, with a form.
  s.SetPaperWidth(150000);
  s.SetPaperHeight(100000);
  printer.ApplySetup(s);
  d = printer.DriverSettings();
  EXPECT_EQ(d->PaperSize, 256);
  EXPECT_EQ(d->PaperWidth, 1000);
  EXPECT_EQ(d->PaperLength, 1500);
  EXPECT_EQ(d->FormName, "Custom");
  TPrinterForm form;
  EXPECT_TRUE(backend.GetForm("Q", "Custom", form));
  EXPECT_EQ(form.Size, QSize(100000, 150000));
}

TEST_F(PrinterTest, ReadBackSetupTakesTheDriversChoice) {
  TScriptedPrinterBackend& backend = Install({OffsetPrinter("P")});
  TppPrinter printer;
  backend.PropertiesAnswer = [](const TDriverSettings& in, TDriverSettings& out) {
    out = in;
    out.Orientation = TDriverSettings::OrientLandscape;
    out.PaperSize = 1;
    return true;
  };
  // The driver's dialog needs a window to belong to.
  EXPECT_FALSE(printer.PrinterPropertiesDialog());
  QWidget window;
  window.show();
  QApplication::setActiveWindow(&window);
  int changes = 0;
  printer.OnChange = [&](TppCustomPrinter*) { ++changes; };
  ASSERT_TRUE(printer.PrinterPropertiesDialog());
  EXPECT_EQ(changes, 1);
  TppPrinterSetup* s = printer.ReadBackSetup();
  EXPECT_EQ(s->PrinterName(), "Default");
  EXPECT_EQ(s->PrinterInfo()->PrinterName, "P");
  EXPECT_EQ(s->Orientation(), poLandscape);
  EXPECT_EQ(s->PaperName(), "Letter");
  EXPECT_EQ(s->Units(), utInches);
  EXPECT_EQ(s->PaperWidth(), 11.0f);
  EXPECT_EQ(s->PaperHeight(), 8.5f);
}

TEST_F(PrinterTest, CanvasFontFollowsThePrinter) {
  TScriptedPrinter mono = OffsetPrinter("Mono");
  mono.Color = false;
  mono.PixelsPerInchY = 300;
  Install({OffsetPrinter("Colour"), mono});
  struct Case {
    const char* printer;
    TColor expected;
    int height;
  };
  for (const Case& c : {Case{"Colour", clRed, -MulDiv(10, 50, 72)},
                        Case{"Mono", clBlack, -MulDiv(10, 300, 72)}}) {
    TppPrinter printer;
    printer.SetPrinterName(c.printer);
    TFont f;
    f.SetSize(10);
    f.Color = clRed;
    printer.Canvas()->SetFont(f);
    printer.DC();
    const TFont& now = printer.Canvas()->Font();
    EXPECT_EQ(now.Color, c.expected) << c.printer;
    EXPECT_EQ(now.Size(), 10) << c.printer;
    EXPECT_EQ(now.Height, c.height) << c.printer;
    EXPECT_GT(printer.Canvas()->TextWidth("Lurns"), 0);
  }
}

TEST_F(PrinterTest, PagesCarryTheirOwnPaperAndMarksLandWherePlaced) {
  TScriptedPrinterBackend& backend = Install({OffsetPrinter("P"), OffsetPrinter("Q")});
  TppPrinter printer;
  TppPrinterSetup portrait, landscape;
  A4(portrait, poPortrait);
  A4(landscape, poLandscape);
  portrait.SetDocumentName("Capa");

  // Lifecycle guards: nothing happens outside a document.
  printer.StartPage();
  printer.EndPage();
  printer.EndDoc();
  EXPECT_EQ(printer.PagesStarted(), 0);

  printer.ApplySetup(portrait);
  ASSERT_TRUE(printer.BeginDoc());
  printer.SetPrinterName("Q");  // ignored while printing
  EXPECT_EQ(printer.PrinterInfo()->PrinterName, "P");
  printer.StartPage();
  ASSERT_NE(printer.Canvas()->Painter(), nullptr);
  // A mark at the left and top margin (a quarter inch): the device's
  // origin is the printable area, so it is drawn at the offsets' negation.
  int l, t, r, b;
  printer.PageOffsets(l, t, r, b);
  const int x = ppTrunc(MMThousandthsToUnits(6350, utPrinterPixels, dirHorizontal, &printer)) - l;
  const int y = ppTrunc(MMThousandthsToUnits(6350, utPrinterPixels, dirVertical, &printer)) - t;
  EXPECT_EQ(x, 0);
  printer.Canvas()->FillRect(QRect(x, y, 3, 3), clBlack);
  printer.EndPage();
  printer.ApplySetup(landscape);
  printer.StartPage();
  printer.EndPage();
  printer.EndDoc();
  EXPECT_FALSE(printer.Printing());

  ASSERT_EQ(backend.Documents.size(), 1);
  const TScriptedDocument& doc = backend.Documents[0];
  EXPECT_EQ(doc.Name, "Capa");
  EXPECT_TRUE(doc.Ended);
  ASSERT_EQ(doc.Pages.size(), 2);
  EXPECT_EQ(doc.Pages[0].Settings.Orientation, TDriverSettings::OrientPortrait);
  EXPECT_EQ(doc.Pages[1].Settings.Orientation, TDriverSettings::OrientLandscape);
  EXPECT_EQ(doc.Pages[0].Image.size(), QSize(827, 585));   // 210 x 297 mm at 100 x 50 ppi
  EXPECT_EQ(doc.Pages[1].Image.size(), QSize(1169, 413));
  const QImage& page = doc.Pages[0].Image;
  EXPECT_EQ(page.pixel(25, 12), qRgb(0, 0, 0));  // a quarter inch in, on the paper
  EXPECT_EQ(page.pixel(24, 12), qRgb(255, 255, 255));
  EXPECT_EQ(page.pixel(25, 11), qRgb(255, 255, 255));
}

TEST_F(PrinterTest, OutputFileMakesATrueSizePdf) {
  Install({OffsetPrinter("P")});
  QTemporaryDir dir;
  const QString file = dir.filePath("capa.pdf");
  TppPrinter printer;
  TppPrinterSetup s;
  A4(s, poLandscape);
  s.SetOutputFileName(file);
  printer.ApplySetup(s);
  ASSERT_TRUE(printer.BeginDoc());
  int x, y, l, t, r, b;
  printer.PixelsPerInch(x, y);
  printer.PageOffsets(l, t, r, b);
  EXPECT_EQ(x, 600);
  EXPECT_EQ(y, 600);
  EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{0, 0, 0, 0}));
  printer.StartPage();
  printer.Canvas()->FillRect(QRect(0, 0, 600, 600), clBlack);
  TFont f;
  f.SetSize(12);
  printer.Canvas()->SetFont(f);
  printer.Canvas()->TextOut(600, 600, "Lurns");
  printer.EndPage();
  s.SetOrientation(poPortrait);
  s.SetPaperName("A5");
  printer.ApplySetup(s);
  printer.StartPage();
  printer.EndPage();
  printer.EndDoc();

  const QList<PdfPage> pages = PdfPages(file);
  ASSERT_EQ(pages.size(), 2);
  // Points, to the writer's whole-point media box.
  EXPECT_NEAR(pages[0].width, 297 / 25.4 * 72, 0.5);
  EXPECT_NEAR(pages[0].height, 210 / 25.4 * 72, 0.5);
  EXPECT_NEAR(pages[1].width, 148 / 25.4 * 72, 0.5);
  EXPECT_NEAR(pages[1].height, 210 / 25.4 * 72, 0.5);

  // An output file that cannot be written refuses the document.
  s.SetOutputFileName(dir.filePath("missing/capa.pdf"));
  printer.ApplySetup(s);
  EXPECT_FALSE(printer.BeginDoc());
}
