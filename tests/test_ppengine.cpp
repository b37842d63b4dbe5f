// SPDX-License-Identifier: GPL-3.0-or-later
// Page generation and publishing: the pages a report of bands yields, the
// requests devices make, the print errors of runs that cannot go on or
// would never end, cancelling, printing twice, and generation that lets
// events in while it works.
#include "report/ppEngine.h"
#include "support/QtPrint.h"
#include "support/ReportFixtures.h"
#include "support/ScriptedPrinters.h"

#include <QCoreApplication>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kCannotGenerate = QStringLiteral("Impossível Gerar Relatório\n\n");

// Generates through a capture device; answers the print error's message,
// empty when there was none.
QString Generate(TppReport* report, TCaptureDevice& device) {
  device.AttachPublisher(report->Publisher());
  QString error;
  try {
    report->GenerateToDevices();
  } catch (const EPrintError& e) {
    error = e.Message;
  }
  device.AttachPublisher(nullptr);
  return error;
}

// Processes no events meanwhile unless a test says so.
class NoEvents {
 public:
  explicit NoEvents(TppProcessMessagesHook hook = {}) { SetProcessMessagesHook(std::move(hook)); }
  ~NoEvents() {
    SetProcessMessagesHook([] {
      if (QCoreApplication::instance()) QCoreApplication::processEvents();
    });
  }
};

}  // namespace

class Engine : public ScriptedPrintersTest {
 protected:
  void SetUp() override { Install({}); }
  NoEvents noEvents_;
};

TEST_F(Engine, AReportWithoutDataPrintsItsDetailBandOnceAtTheTopMargin) {
  TComponent owner;
  TestReport r(&owner, poLandscape, 169863);
  TppShape* shape = r.Square(139965, 19050, 13229, &owner);
  TppShape* second = r.Square(1000, 2000, 13229, &owner);
  TCaptureDevice device;
  ASSERT_EQ(Generate(r.report, device), "");
  ASSERT_EQ(device.Pages.size(), 1u);
  const TppPage& page = *device.Pages[0];
  EXPECT_TRUE(page.FirstPage);
  EXPECT_TRUE(page.LastPage);
  EXPECT_TRUE(page.Final);
  EXPECT_FALSE(page.Blank);
  EXPECT_EQ(page.AbsolutePageNo, 1);
  EXPECT_EQ(page.AbsolutePageCount, 1);
  EXPECT_EQ(page.DocumentName, "Report");
  EXPECT_EQ(page.PageDef().mmWidth, 297000);
  ASSERT_EQ(page.DrawCommandCount(), 2);
  // Commands in the band's print order, shifted by the margins.
  EXPECT_EQ(page.DrawCommands(0)->Component(), shape);
  EXPECT_EQ(page.DrawCommands(0)->Left, 146315);
  EXPECT_EQ(page.DrawCommands(0)->Top, 25400);
  EXPECT_EQ(page.DrawCommands(1)->Component(), second);
  EXPECT_EQ(device.JobsStarted, 1);
  EXPECT_EQ(device.JobsEnded, 1);
  EXPECT_FALSE(r.report->Printing());
}

TEST_F(Engine, APrintPositionPlacesTheBandOrRaisesMessage415) {
  // Space on the page: 297000 - 6350 = 290650.
  const struct {
    int position;
    int bandHeight;
    bool error;
    int pages;
    int top;  // of the band's command on its page
  } cases[] = {
      {290650, 1000, true, 0, 0},
      {300000, 1000, true, 0, 0},
      {50000, 1000, false, 1, 50000},
      {289650, 1000, false, 1, 289650},
      // Not room for the band at its position: once to the next page,
      // where it prints at the top.
      {250000, 50000, false, 1, 6350},
  };
  for (const auto& c : cases) {
    TComponent owner;
    TestReport r(&owner, poPortrait, c.bandHeight);
    r.Square(0, 0, 1000, &owner);
    r.band->SetmmPrintPosition(c.position);
    TCaptureDevice device;
    const QString error = Generate(r.report, device);
    SCOPED_TRACE(c.position);
    if (c.error) {
      EXPECT_EQ(error, kCannotGenerate + "Posição de impressão excede espaço disponivel na página.");
      EXPECT_EQ(device.JobsCancelled, 1);
      continue;
    }
    EXPECT_EQ(error, "");
    ASSERT_EQ(int(device.Pages.size()), c.pages);
    const TppPage& last = *device.Pages.back();
    EXPECT_EQ(last.DrawCommands(0)->Top, c.top);
  }
}

TEST_F(Engine, ReportsThatWouldNeverEndRaiseAPrintError) {
  {
    // A static band taller than the printable height.
    TComponent owner;
    TestReport r(&owner, poPortrait, 290000);
    r.band->SetUserName("Detail");
    TCaptureDevice device;
    EXPECT_EQ(Generate(r.report, device),
              kCannotGenerate + "A banda Detail não cabe numa página vazia: o relatório nunca terminaria.");
    EXPECT_TRUE(device.Pages.empty());
  }
  {
    // No data and no AutoStop: the detail band would print for ever.
    TComponent owner;
    TestReport r(&owner);
    r.report->SetAutoStop(false);
    TCaptureDevice device;
    EXPECT_TRUE(Generate(r.report, device).startsWith(kCannotGenerate + "O relatório não tem dados"));
    // A page limit makes it end.
    r.report->SetPageLimit(2);
    TCaptureDevice limited;
    EXPECT_EQ(Generate(r.report, limited), "");
    EXPECT_EQ(limited.PageNumbers(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(limited.Pages.back()->LastPage);
  }
  {
    // A dynamic band whose component is taller than the page.
    TComponent owner;
    TestReport r(&owner);
    r.band->SetPrintHeight(phDynamic);
    r.Square(0, 0, 1000, &owner)->SetmmHeight(300000);
    TCaptureDevice device;
    EXPECT_TRUE(Generate(r.report, device).startsWith(kCannotGenerate + "A banda"));
  }
}

// Runs that never stopped by themselves: the pipeline's name of a report
// that walks no data, and a detail band that takes no room on its page
// (with a page limit, which is only reached at a page's end).  Should the
// engine go on, the run is cancelled after a while, which ends it without
// the error.
TEST_F(Engine, RunsThatWouldNeverEndRaiseAPrintErrorWhateverThePipelineOrPageLimit) {
  const struct {
    const char* what;
    QString pipeline;
    int bandHeight;
    int pageLimit;
  } cases[] = {
      {"a report pipeline's name", QStringLiteral("Clientes"), 100000, 0},
      {"a detail band pipeline's name", QString(), 100000, 0},
      {"a band of height 0 with a page limit", QString(), 0, 3},
      {"a band of height 0 without a page limit", QString(), 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TComponent owner;
    TestReport r(&owner, poPortrait, c.bandHeight);
    r.Square(0, 0, 1000, &owner);
    r.report->SetAutoStop(false);
    r.report->SetPageLimit(c.pageLimit);
    if (c.pipeline.isEmpty() && c.bandHeight > 0)
      r.band->SetDataPipeline(QStringLiteral("Encomendas"));
    else
      r.report->SetDataPipeline(c.pipeline);
    int pumps = 0;
    NoEvents guard([&] {
      if (++pumps == 20000) r.report->Cancel();
    });
    TCaptureDevice device;
    EXPECT_EQ(Generate(r.report, device),
              kCannotGenerate + "O relatório não tem dados e não pára sozinho: nunca terminaria.");
    EXPECT_LT(pumps, 20000) << "the run went on until it was cancelled";
    EXPECT_TRUE(device.Pages.empty());
  }
  // A band of height 0 that prints a number of times ends.
  TComponent owner;
  TestReport r(&owner, poPortrait, 0);
  r.Square(0, 0, 1000, &owner);
  r.report->SetAutoStop(false);
  r.band->SetPrintCount(3);
  TCaptureDevice device;
  EXPECT_EQ(Generate(r.report, device), "");
  ASSERT_EQ(device.PageNumbers(), std::vector<int>{1});
  EXPECT_EQ(device.Pages[0]->DrawCommandCount(), 3);
}

// A detail band that does not fit below the title on the first page
// prints on the second, which has no title.
TEST_F(Engine, ABandWithoutRoomBelowTheTitlePrintsOnTheNextPage) {
  {
    TComponent owner;
    TestReport r(&owner, poPortrait, 200000);  // the page has 284300
    r.Square(0, 0, 1000, &owner);
    auto* title = new TppTitleBand(&owner);
    title->SetReport(r.report);
    title->SetmmHeight(100000);
    (new TppShape(&owner))->SetBand(title);
    TCaptureDevice device;
    ASSERT_EQ(Generate(r.report, device), "");
    ASSERT_EQ(device.PageNumbers(), (std::vector<int>{1, 2}));
    ASSERT_EQ(device.Pages[0]->DrawCommandCount(), 1);
    EXPECT_EQ(device.Pages[0]->DrawCommands(0)->Band()->BandType(), btTitle);
    ASSERT_EQ(device.Pages[1]->DrawCommandCount(), 1);
    EXPECT_EQ(device.Pages[1]->DrawCommands(0)->Band()->BandType(), btDetail);
    EXPECT_EQ(device.Pages[1]->DrawCommands(0)->Top, 6350);
    EXPECT_TRUE(device.Pages[1]->LastPage);
    // Taller than a page without the title, it still never fits.
    r.band->SetmmHeight(290000);
    r.band->SetUserName("Detail");
    TCaptureDevice never;
    EXPECT_EQ(Generate(r.report, never),
              kCannotGenerate + "A banda Detail não cabe numa página vazia: o relatório nunca terminaria.");
  }
}

// A footer with a bottom offset prints that far above the foot of the
// printable area, and the bands above it keep clear of its height and
// offset.
TEST_F(Engine, AFootersBottomOffsetKeepsItAboveTheFoot) {
  {
    TComponent owner;
    TestReport r(&owner, poPortrait, 100000);
    r.band->SetPrintCount(3);
    r.report->SetAutoStop(false);
    r.Square(0, 0, 1000, &owner);
    auto* footer = new TppFooterBand(&owner);
    footer->SetReport(r.report);
    footer->SetmmHeight(8000);
    footer->SetmmBottomOffset(5000);
    (new TppShape(&owner))->SetBand(footer);
    TCaptureDevice device;
    ASSERT_EQ(Generate(r.report, device), "");
    // 284300 less the footer's 13000 leaves room for two details a page.
    ASSERT_EQ(device.PageNumbers(), (std::vector<int>{1, 2}));
    for (const auto& page : device.Pages) {
      SCOPED_TRACE(page->AbsolutePageNo);
      ASSERT_GE(page->DrawCommandCount(), 1);
      const TppDrawCommand* last = page->DrawCommands(page->DrawCommandCount() - 1);
      EXPECT_EQ(last->Band()->BandType(), btFooter);
      EXPECT_EQ(last->Top, 297000 - 6350 - 5000 - 8000);
    }
    EXPECT_EQ(device.Pages[0]->DrawCommandCount(), 3);
    EXPECT_EQ(device.Pages[1]->DrawCommandCount(), 2);
  }
}

// Band kinds and settings that a design may hold but that are not printed
// stop the run with a message naming them, rather than print pages
// without them.
TEST_F(Engine, WhatIsNotPrintedIsRefusedByName) {
  const struct {
    const char* what;
    std::function<void(TComponent*, TestReport&)> use;
  } cases[] = {
      {"rodapés de coluna",
       [](TComponent* o, TestReport& r) { (new TppColumnFooterBand(o))->SetReport(r.report); }},
      {"bandas de grupo",
       [](TComponent* o, TestReport& r) { (new TppGroupHeaderBand(o))->SetReport(r.report); }},
      {"bandas de grupo",
       [](TComponent* o, TestReport& r) { (new TppGroupFooterBand(o))->SetReport(r.report); }},
      {"estilos de página", [](TComponent* o, TestReport& r) { (new TppPageStyle(o))->SetReport(r.report); }},
      {"várias colunas (Columns)", [](TComponent*, TestReport& r) { r.report->SetColumns(2); }},
      {"duas passagens (PassSetting)", [](TComponent*, TestReport& r) { r.report->SetPassSetting(psTwoPass); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TComponent owner;
    TestReport r(&owner);
    r.Square(0, 0, 1000, &owner);
    c.use(&owner, r);
    TCaptureDevice device;
    EXPECT_EQ(Generate(r.report, device),
              kCannotGenerate + "Este programa não imprime " + QString::fromUtf8(c.what) +
                  ": o relatório não pode ser gerado.");
    EXPECT_TRUE(device.Pages.empty());
  }
}

TEST_F(Engine, PagesFollowTheRequest) {
  const struct {
    TppPageSettingType setting;
    int requested;
    QStringList list;
    TppPageRangeType range;
    std::vector<int> pages;
  } cases[] = {
      {psAll, 1, {}, prAll, {1, 2, 3}},
      {psSinglePage, 2, {}, prAll, {2}},
      {psSinglePage, 5, {}, prAll, {3}},  // beyond the end: the last page
      {psSinglePage, 0, {}, prAll, {1}},
      {psFirstPage, 1, {}, prAll, {1}},
      {psLastPage, 1, {}, prAll, {3}},
      {psPageList, 1, {"3", "1"}, prAll, {1, 3}},
      {psPageList, 1, {"1", "2"}, prOddPages, {1}},  // odd pages among the chosen ones
      {psAll, 1, {}, prEvenPages, {2}},
  };
  for (const auto& c : cases) {
    PagedReport p(3);
    TCaptureDevice device;
    TppPageRequest request;
    request.PageSetting = c.setting;
    request.PageRequested = c.requested;
    request.PageList = c.list;
    request.PageRange = c.range;
    device.SetPageRequest(request);
    SCOPED_TRACE(testing::Message() << c.setting << " " << c.requested);
    ASSERT_EQ(Generate(p.r.report, device), "");
    EXPECT_EQ(device.PageNumbers(), c.pages);
    for (const auto& page : device.Pages)
      EXPECT_EQ(page->DrawCommands(0)->Left, 6350 + 10000 * page->AbsolutePageNo);
  }
}

TEST_F(Engine, PrintingTwiceGivesTheSamePages) {
  PagedReport p(2);
  TCaptureDevice first, second;
  ASSERT_EQ(Generate(p.r.report, first), "");
  ASSERT_EQ(Generate(p.r.report, second), "");
  EXPECT_EQ(first.PageNumbers(), (std::vector<int>{1, 2}));
  EXPECT_EQ(second.PageNumbers(), (std::vector<int>{1, 2}));
  // A device asking again (a preview's page buttons) gets its page too,
  // with and without the page cache.
  for (bool cache : {false, true}) {
    p.r.report->SetCachePages(cache);
    TCaptureDevice device;
    device.AttachPublisher(p.r.report->Publisher());
    p.r.report->GenerateToDevices();
    TppPageRequest request;
    request.PageSetting = psSinglePage;
    request.PageRequested = 2;
    device.SetPageRequest(request);
    device.AskForPages();
    device.AskForPages();
    EXPECT_EQ(device.PageNumbers(), (std::vector<int>{1, 2, 2, 2})) << cache;
    EXPECT_EQ(p.r.report->Publisher()->CachedPageCount(), cache ? 2 : 0);
    EXPECT_EQ(device.Pages.back()->DrawCommands(0)->Left, 6350 + 20000);
  }
}

TEST_F(Engine, CancellingPublishesNoCompletedPageAndCancelsTheJobs) {
  PagedReport p(3);
  p.marker->OnPrint = [&](TComponent*) {
    if (p.r.report->Engine()->PageNo() == 2) p.r.report->Cancel();
  };
  TCaptureDevice device;
  ASSERT_EQ(Generate(p.r.report, device), "");
  EXPECT_EQ(device.PageNumbers(), (std::vector<int>{1}));
  EXPECT_EQ(device.JobsCancelled, 1);
  EXPECT_EQ(device.JobsEnded, 0);
  EXPECT_FALSE(device.Busy());
  // The next run is a whole one.
  p.marker->OnPrint = nullptr;
  TCaptureDevice again;
  ASSERT_EQ(Generate(p.r.report, again), "");
  EXPECT_EQ(again.PageNumbers(), (std::vector<int>{1, 2, 3}));
}

TEST_F(Engine, EventsProcessedDuringGenerationCannotStartAnotherRun) {
  PagedReport p(2);
  TppShape* doomed = p.r.Square(50000, 0, 1000, &p.owner);
  int pumps = 0;
  NoEvents events([&] {
    ++pumps;
    // A second print command, and the user deleting an object, while the
    // report is generated.
    p.r.report->GenerateToDevices();
    p.r.report->Print();
    if (doomed) {
      delete doomed;
      doomed = nullptr;
    }
  });
  TCaptureDevice device;
  ASSERT_EQ(Generate(p.r.report, device), "");
  EXPECT_GT(pumps, 0);
  EXPECT_EQ(device.PageNumbers(), (std::vector<int>{1, 2}));
  EXPECT_EQ(device.JobsStarted, 1);
  // The deleted square printed on no page after it went.
  EXPECT_EQ(device.Pages.back()->DrawCommandCount(), 1);
}

TEST_F(Engine, OneComponentThatCannotPrintDoesNotStopThePage) {
  TComponent owner;
  TestReport r(&owner);
  TppShape* bad = r.Square(0, 0, 1000, &owner);
  bad->SetUserName("Mau");
  bad->SetDrawCommandClass("TNoSuchCommand");
  r.Square(2000, 0, 1000, &owner);
  TCaptureDevice device;
  ASSERT_EQ(Generate(r.report, device), "");
  ASSERT_EQ(device.Pages.size(), 1u);
  EXPECT_EQ(device.Pages[0]->DrawCommandCount(), 1);
  ASSERT_EQ(r.report->Engine()->Problems().size(), 1);
  EXPECT_TRUE(r.report->Engine()->Problems()[0].startsWith("Mau: "));
}

TEST_F(Engine, BandsOfEveryPageAndTheSummaryHaveTheirPlaces) {
  TComponent owner;
  TestReport r(&owner, poPortrait, 150000);
  r.band->SetPrintCount(2);
  r.Square(0, 0, 1000, &owner);
  auto addBand = [&](TppBand* band, int height) {
    band->SetReport(r.report);
    band->SetmmHeight(height);
    auto* s = new TppShape(&owner);
    s->SetBand(band);
    return band;
  };
  addBand(new TppHeaderBand(&owner), 10000);
  addBand(new TppTitleBand(&owner), 5000);
  addBand(new TppFooterBand(&owner), 8000);
  addBand(new TppSummaryBand(&owner), 20000);
  TCaptureDevice device;
  ASSERT_EQ(Generate(r.report, device), "");
  ASSERT_EQ(device.PageNumbers(), (std::vector<int>{1, 2}));
  auto tops = [](const TppPage& page) {
    std::vector<std::pair<int, int>> out;  // band type, top
    for (int i = 0; i < page.DrawCommandCount(); ++i)
      out.emplace_back(page.DrawCommands(i)->Band()->BandType(), page.DrawCommands(i)->Top);
    return out;
  };
  // Page 1: header, title, detail, footer at the foot (297000 - 6350 - 8000).
  EXPECT_EQ(tops(*device.Pages[0]),
            (std::vector<std::pair<int, int>>{
                {btHeader, 6350}, {btTitle, 16350}, {btDetail, 21350}, {btFooter, 282650}}));
  // Page 2: header, the second detail, the summary below it, footer.
  EXPECT_EQ(tops(*device.Pages[1]),
            (std::vector<std::pair<int, int>>{{btHeader, 6350},
                                              {btDetail, 16350},
                                              {btSummary, 166350},
                                              {btFooter, 282650}}));
}

TEST_F(Engine, AnExclusiveDeviceStandsInForTheOneBeforeItInItsGroup) {
  TComponent owner;
  TestReport r(&owner);
  r.Square(0, 0, 1000, &owner);
  TppPublisher* publisher = r.report->Publisher();
  TCaptureDevice shared, first, second;
  for (TCaptureDevice* d : {&first, &second}) {
    d->SetGroupName("Print");
    d->SetExclusive(true);
  }
  shared.AttachPublisher(publisher);
  first.AttachPublisher(publisher);
  second.AttachPublisher(publisher);
  EXPECT_EQ(publisher->DeviceCount(), 2);
  r.report->GenerateToDevices();
  EXPECT_EQ(shared.Pages.size(), 1u);
  EXPECT_TRUE(first.Pages.empty());
  EXPECT_EQ(second.Pages.size(), 1u);
  // Once the second goes, the first is back.
  second.AttachPublisher(nullptr);
  r.report->GenerateToDevices();
  EXPECT_EQ(first.Pages.size(), 1u);
  // A device that is destroyed leaves its publisher, and a publisher that
  // is destroyed leaves its devices.
  {
    TCaptureDevice gone;
    gone.AttachPublisher(publisher);
    EXPECT_EQ(publisher->DeviceCount(), 3);
  }
  EXPECT_EQ(publisher->DeviceCount(), 2);
  {
    auto* report = new TppReport;
    TCaptureDevice orphan;
    orphan.AttachPublisher(report->Publisher());
    delete report;
    EXPECT_EQ(orphan.Publisher(), nullptr);
  }
  shared.AttachPublisher(nullptr);
  first.AttachPublisher(nullptr);
}
