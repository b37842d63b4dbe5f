// The report engine's core on its own: this program links the engine's
// core library and nothing of the windowed libraries, and runs on a
// QGuiApplication.  It builds a report, fills a page and copies it, as a
// program without windows (the command-line tool) does before printing.
#include "report/ppBands.h"
#include "report/ppClass.h"
#include "report/ppDrwCmd.h"
#include "report/ppFormIntf.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"

#include <QGuiApplication>
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

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
