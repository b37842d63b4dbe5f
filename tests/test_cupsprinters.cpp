// The machine's printers through CUPS.  Without a reachable scheduler the
// backend must answer an empty list and the engine behave as with no
// printer; with one (CI starts its own, see tests/support/start-cupsd.sh)
// its queues are listed and a two-page document is printed to a file.
#include "platform/CupsPrinterBackend.h"
#include "report/ppPrintr.h"
#include "report/ppUtils.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

class CupsPrinters : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPrinterList();
    SetPrinterBackend(std::make_unique<TCupsPrinterBackend>());
  }
  void TearDown() override {
    ResetPrinterList();
    SetPrinterBackend(std::make_unique<TNoPrinterBackend>());
  }
};

TEST_F(CupsPrinters, ListIsEmptyOrLedByDefault) {
  TppPrinterList* list = PrinterList();
  if (list->Count() == 0) {
    EXPECT_EQ(SharedPrinter(), nullptr);
    TppPrinterSetup s;
    EXPECT_EQ(s.PaperSize(), 0);
    EXPECT_EQ(MMThousandthsToUnits(25400, utPrinterPixels, dirHorizontal, SharedPrinter()),
              float(ScreenPixelsPerInch()));
    return;
  }
  EXPECT_EQ(list->Names(0), "Default");
  EXPECT_FALSE(list->DefaultPrinterName().isEmpty());
  EXPECT_NE(SharedPrinter(), nullptr);
}

TEST_F(CupsPrinters, QueuesReportPapersAndPrintToAFile) {
  if (!TCupsPrinterBackend::ServerReachable()) GTEST_SKIP() << "no CUPS scheduler is reachable";
  TppPrinterList* list = PrinterList();
  if (list->Count() < 2) GTEST_SKIP() << "the CUPS scheduler has no printers";
  const QString name = list->Names(1);
  TppPrinterInfo* info = list->FindPrinterInfo(name);
  ASSERT_NE(info, nullptr);
  TppPrinterCapabilities* caps = info->Capabilities();
  const int a4 = caps->PaperNumbers.indexOf("9");
  ASSERT_GE(a4, 0) << "no A4 on " << name.toStdString();
  EXPECT_EQ(caps->PaperWidths[a4], "2100");
  EXPECT_EQ(caps->PaperHeights[a4], "2970");
  EXPECT_EQ(caps->PaperNames.last(), "Custom");
  EXPECT_EQ(caps->BinNames.first(), "Default");

  TppPrinter printer;
  TppPrinterSetup s;
  s.SetPrinterName(name);
  s.SetUnits(utMMThousandths);
  s.SetPaperName(caps->PaperNames[a4]);
  s.SetOrientation(poLandscape);
  printer.ApplySetup(s);
  int x = 0, y = 0;
  printer.PixelsPerInch(x, y);
  EXPECT_GT(x, 0);
  ASSERT_NE(printer.DC(), nullptr);

  QTemporaryDir dir;
  const QString file = dir.filePath("out.pdf");
  s.SetOutputFileName(file);
  printer.ApplySetup(s);
  ASSERT_TRUE(printer.BeginDoc());
  printer.StartPage();
  printer.Canvas()->FillRect(QRect(0, 0, 100, 100), clBlack);
  printer.EndPage();
  s.SetOrientation(poPortrait);
  printer.ApplySetup(s);
  printer.StartPage();
  printer.EndPage();
  printer.EndDoc();
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray pdf = f.readAll();
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/") +
                pdf.count("/Type /Page "),
            2);
}
