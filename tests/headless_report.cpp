// SPDX-License-Identifier: GPL-3.0-or-later
// The report engine's core on its own: this program links the engine's
// core library and nothing of the windowed libraries, and runs on a
// QGuiApplication.  It builds a report, fills a page and copies it, as a
// program without windows (the command-line tool) does before printing.
#include "report/ppBands.h"
#include "report/ppClass.h"
#include "report/ppCtrls.h"
#include "report/ppPrnDev.h"
#include "report/ppDrwCmd.h"
#include "report/ppFormIntf.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Headless, AReportAndItsPagesNeedNoWindows) {
  TComponent container;
  TComponentReader reader(&container);
  auto* report = reader.Add<TppReport>("reportCentroCD");
  report->SetUnits(utScreenPixels);
  auto* band = reader.Add<TppDetailBand>("ppDetailBand1", report);
  band->SetmmHeight(139965);
  auto* disc = reader.Add<TppComponent>("centroCDShape", band);
  disc->SetmmLeft(12700);
  reader.Finish();
  EXPECT_EQ(disc->Left(), 48.0f);

  TppPage page;
  page.SetPrinterSetup(report->PrinterSetup());
  auto* shape = new TppDrawShape;
  shape->Left = 19050;
  shape->SetPage(&page);
  TppPage copy;
  copy.Assign(page);
  EXPECT_EQ(copy.DrawCommandCount(), 1);

  // No window is registered in a program without windows.
  EXPECT_EQ(EngineFormClass(ppCustomPreviewer), nullptr);
  EXPECT_EQ(EngineMessage(msgCannotGenerateReport), "Impossível Gerar Relatório");
}

TEST(Headless, AReportPrintsIntoAPdfWithoutWindowsOrPrinters) {
  SetPrinterBackend(std::make_unique<TNoPrinterBackend>());
  ResetPrinterList();
  RegisterDeviceClass<TppPrinterDevice>();
  QTemporaryDir dir;
  const QString file = dir.filePath("capa.pdf");
  TComponent container;
  auto* report = new TppReport(&container);
  report->SetUnits(utMMThousandths);
  auto* band = new TppDetailBand(&container);
  band->SetReport(report);
  auto* label = new TppLabel(&container);
  label->SetBand(band);
  label->SetCaption("Lurns para CD");
  auto* shape = new TppShape(&container);
  shape->SetBand(band);
  report->SetDeviceType("Printer");
  report->PrinterSetup()->SetOutputFileName(file);
  report->Print();  // no print dialog, no cancel dialog: straight to the file
  QFile pdf(file);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
  UnregisterDeviceClass<TppPrinterDevice>();
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
