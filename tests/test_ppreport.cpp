// SPDX-License-Identifier: GPL-3.0-or-later
// The report object model: links and events between engine objects, user
// names, bands and the components on them, geometry in the report's
// units, the report's properties with their defaults and the lock while
// printing, device types, the language fall-back, and reports built the
// way a stored design is read.
#include "support/ScriptedPrinters.h"

#include "report/ppBands.h"
#include "report/ppClass.h"
#include "report/ppDevice.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>

namespace {

// A communicator that records what it is told.
class Probe : public TppCommunicator {
 public:
  using TppCommunicator::TppCommunicator;
  std::vector<std::pair<TppCommunicator*, int>> told;
  std::function<void(int)> onEvent;
  QString key;
  void OnLinkedNotify(TppCommunicator* sender, int operation) override {
    told.emplace_back(sender, operation);
  }
  void OnEvent(TppCommunicator*, int eventNo, TppEventParams&) override {
    if (onEvent) onEvent(eventNo);
  }
  QString ListenerSortKey() const override { return key; }
};

class TestPrinterDevice : public TppDevice {
 public:
  LURNS_COMPONENT(TestPrinterDevice)
  using TppDevice::TppDevice;
  static QString DeviceName() { return QStringLiteral("Printer"); }
};

class TestScreenDevice : public TppDevice {
 public:
  LURNS_COMPONENT(TestScreenDevice)
  using TppDevice::TppDevice;
  static QString DeviceName() { return QStringLiteral("Screen"); }
};

// A container like the program's report forms, with a report and its
// detail band.
struct ReportFixture {
  TComponent container;
  TppReport* report = new TppReport(&container);
  TppDetailBand* detail = new TppDetailBand(&container);
  ReportFixture() { detail->SetReport(report); }
  TppComponent* Add(const QString& name, TppBand* band = nullptr) {
    auto* c = new TppComponent(&container);
    c->SetName(name);
    c->SetBand(band ? band : detail);
    return c;
  }
};

}  // namespace

TEST(Communicator, LinksAreSymmetricAndDestructionIsAnnounced) {
  Probe a, b, c;
  a.Link(&b);
  a.Link(&b);
  a.Link(&c);
  EXPECT_EQ(a.LinkCount(), 2);
  EXPECT_TRUE(b.IsLinkedTo(&a));

  // Last linked first.
  a.NotifyLinked(ppopUserNameChange);
  ASSERT_EQ(c.told.size(), 1u);
  EXPECT_EQ(c.told[0], std::make_pair(static_cast<TppCommunicator*>(&a), 3));

  a.Unlink(&c);
  EXPECT_EQ(a.LinkCount(), 1);
  EXPECT_EQ(c.LinkCount(), 0);

  {
    Probe gone;
    gone.Link(&a);
    gone.Link(&b);
    EXPECT_EQ(b.LinkCount(), 2);
  }
  // Both heard operation 0 and forgot the destroyed object.
  EXPECT_EQ(b.told.back().second, ppopDestroying);
  EXPECT_EQ(a.told.back().second, ppopDestroying);
  EXPECT_EQ(b.LinkCount(), 1);
  EXPECT_EQ(a.LinkCount(), 1);
}

TEST(Communicator, EventsReachListenersThatAskedEvenWhenOthersLeave) {
  Probe publisher;
  Probe first, leaver, late;
  auto* destroyed = new Probe;
  std::vector<QString> heard;
  first.onEvent = [&](int) { heard.push_back("first"); };
  leaver.onEvent = [&](int) {
    heard.push_back("leaver");
    publisher.Unsubscribe(&leaver);  // removes itself
    delete destroyed;                // and a later listener goes altogether
  };
  destroyed->onEvent = [&](int) { heard.push_back("destroyed"); };
  late.onEvent = [&](int) { heard.push_back("late"); };
  for (Probe* p : {&first, &leaver, destroyed, &late}) {
    p->AddEventNotify(ppevCancel);
    publisher.Subscribe(p);
  }
  late.RemoveEventNotify(ppevCancel);
  late.AddEventNotify(ppevPrint);

  publisher.PublishEvent(&publisher, ppevCancel);
  EXPECT_EQ(heard, (std::vector<QString>{"first", "leaver"}));
  EXPECT_EQ(publisher.ListenerCount(), 2);

  heard.clear();
  publisher.PublishEvent(&publisher, ppevPrint);
  publisher.PublishEvent(&publisher, 256 + ppevPrint);  // beyond the event set
  EXPECT_EQ(heard, (std::vector<QString>{"late"}));
}

TEST(Communicator, ListenersWithASortKeyAreKeptInOrder) {
  Probe publisher, b, a, plain;
  b.key = "b";
  a.key = "a";
  publisher.Subscribe(&plain);
  publisher.Subscribe(&b);
  publisher.Subscribe(&a);
  EXPECT_EQ(publisher.Listeners(0), &plain);
  EXPECT_EQ(publisher.Listeners(1), &a);
  EXPECT_EQ(publisher.Listeners(2), &b);
  EXPECT_TRUE(a.IsLinkedTo(&publisher));
}

TEST(UserNames, TakenNamesGetTheSmallestFreeSuffixUnlessNumbered) {
  struct Case {
    const char* wanted;
    const char* result;
  };
  // Taken in the report: "Label", "Label2", "Shape1", "Frame0".
  const Case cases[] = {
      {"Label", "Label1"},     // smallest free suffix
      {"LABEL", "LABEL1"},     // compared without case
      {"Label2", "Mine"},      // numbered 1-9 and taken: refused
      {"Shape1", "Mine"},
      {"Frame0", "Frame01"},   // ends in 0: renumbered
      {"Free", "Free"},
      {"1Label", "Mine"},      // not an identifier
      {"Com espaço", "Mine"},
      {"", "Mine"},
  };
  for (const Case& c : cases) {
    ReportFixture f;
    for (const char* taken : {"Label", "Label2", "Shape1", "Frame0"}) f.Add("")->SetUserName(taken);
    TppComponent* mine = f.Add("");
    mine->SetUserName("Mine");
    mine->SetUserName(c.wanted);
    EXPECT_EQ(mine->UserName(), c.result) << c.wanted;
  }
}

TEST(UserNames, ComeFromTheNameAndFollowRenaming) {
  ReportFixture f;
  TppComponent* label = f.Add("ppLabel1");
  EXPECT_EQ(label->UserName(), "Label1");  // "pp" of TppComponent dropped
  TppComponent* frame = f.Add("rptQuadradoLurn");
  EXPECT_EQ(frame->UserName(), "rptQuadradoLurn");

  Probe watcher;
  label->Link(&watcher);
  label->SetName("ppLabel7");
  EXPECT_EQ(label->UserName(), "Label7");
  EXPECT_EQ(watcher.told.back().second, ppopUserNameChange);

  // A user name of one's own survives renaming.
  label->SetUserName("Credits");
  label->SetName("ppLabel8");
  EXPECT_EQ(label->UserName(), "Credits");

  // Fixed user names of reports and detail bands.
  EXPECT_EQ(f.report->UserName(), "Report");
  EXPECT_EQ(f.detail->UserName(), "Detail");
  // Names are unique within their report only.
  ReportFixture other;
  EXPECT_EQ(other.Add("ppLabel7")->UserName(), "Label7");
}

TEST(UserNames, ReadAsWrittenThenUniqueAtRunTime) {
  TComponent container;
  TComponentReader reader(&container);
  auto* report = reader.Add<TppReport>("report");
  auto* band = reader.Add<TppDetailBand>("ppDetailBand1", report);
  auto* a = reader.Add<TppComponent>("ppShape1", band);
  a->SetUserName("Frame");
  auto* b = reader.Add<TppComponent>("ppShape2", band);
  b->SetUserName("Frame");  // a stored design is taken as it is
  auto* c = reader.Add<TppComponent>("ppLabel1", band);
  EXPECT_EQ(c->UserName(), "");  // derived only once loaded
  reader.Finish();
  EXPECT_EQ(a->UserName(), "Frame");
  EXPECT_EQ(b->UserName(), "Frame");
  EXPECT_EQ(c->UserName(), "Label1");

  auto* d = new TppComponent(&container);
  d->SetBand(band);
  d->SetUserName("Frame");
  EXPECT_EQ(d->UserName(), "Frame1");
}

TEST(Bands, ANewBandIsHalfAnInchHighAndStatic) {
  TppDetailBand band;
  EXPECT_EQ(band.mmHeight(), 13229);
  EXPECT_EQ(band.PrintHeight(), phStatic);
  EXPECT_TRUE(band.Visible());
  EXPECT_EQ(band.mmBottomOffset(), 0);
  EXPECT_EQ(band.mmPrintPosition(), 0);
  EXPECT_EQ(band.Units(), utInches);
  EXPECT_FLOAT_EQ(band.Height(), 0.5208f);
  EXPECT_EQ(band.BandsPerRecord(), 1);
  EXPECT_EQ(band.ColumnTraversal(), ctTopToBottom);
}

TEST(Bands, DetailBandRules) {
  TppDetailBand band;
  band.SetBandsPerRecord(0);
  EXPECT_EQ(band.BandsPerRecord(), 1);
  band.SetPrintHeight(phDynamic);
  band.SetColumnTraversal(ctLeftToRight);
  EXPECT_EQ(band.PrintHeight(), phStatic);  // left to right turns it static
  band.SetPrintHeight(phDynamic);
  EXPECT_EQ(band.PrintHeight(), phStatic);  // and keeps it so
  band.SetColumnTraversal(ctTopToBottom);
  band.SetPrintHeight(phDynamic);
  EXPECT_EQ(band.PrintHeight(), phDynamic);
}

TEST(Bands, ComponentsTakeTheBandTypeOfTheirBand) {
  struct Case {
    std::function<TppBand*(TComponent*)> make;
    int code;
    int groupNo;
  };
  const Case cases[] = {
      {[](TComponent* o) { return new TppHeaderBand(o); }, 0, -1},
      {[](TComponent* o) { return new TppTitleBand(o); }, 1, -1},
      {[](TComponent* o) { return new TppColumnHeaderBand(o); }, 2, -1},
      {[](TComponent* o) {
         auto* g = new TppGroupHeaderBand(o);
         g->SetGroupNo(2);
         return g;
       },
       3, 2},
      {[](TComponent* o) { return new TppDetailBand(o); }, 4, -1},
      {[](TComponent* o) { return new TppGroupFooterBand(o); }, 5, 0},
      {[](TComponent* o) { return new TppColumnFooterBand(o); }, 6, -1},
      {[](TComponent* o) { return new TppSummaryBand(o); }, 7, -1},
      {[](TComponent* o) { return new TppFooterBand(o); }, 8, -1},
      {[](TComponent* o) { return new TppPageStyle(o); }, 9, -1},
  };
  for (const Case& c : cases) {
    ReportFixture f;
    TppBand* band = c.make(&f.container);
    band->SetReport(f.report);
    TppComponent* comp = f.Add("x", band);
    EXPECT_EQ(comp->BandType(), c.code) << band->ClassName().toStdString();
    EXPECT_EQ(comp->GroupNo(), c.groupNo) << band->ClassName().toStdString();
  }
}

TEST(Bands, AStoredBandTypeIsKeptFromTheDetailBandAndRecomputedOnAMove) {
  TComponent container;
  TComponentReader reader(&container);
  auto* report = reader.Add<TppReport>("report");
  auto* detail = reader.Add<TppDetailBand>("ppDetailBand1", report);
  // Read before its band: the stored code stands.
  auto* loose = reader.Add<TppComponent>("loose");
  loose->SetBandType(btFooter);
  EXPECT_EQ(loose->BandType(), btFooter);
  auto* label = reader.Add<TppComponent>("ppLabel1", detail);
  label->SetBandType(btDetail);
  reader.Finish();
  EXPECT_EQ(label->BandType(), 4);
  EXPECT_EQ(label->Band(), detail);

  // Outside reading the stream property changes nothing.
  label->SetBandType(btTitle);
  EXPECT_EQ(label->BandType(), 4);

  auto* header = new TppHeaderBand(&container);
  header->SetReport(report);
  label->SetBand(header);
  EXPECT_EQ(label->BandType(), 0);
  EXPECT_EQ(detail->ObjectCount(), 0);
  EXPECT_EQ(header->Objects(0), label);
}

TEST(Bands, PrintOrderIsCreationOrderAndCanBeChanged) {
  ReportFixture f;
  TppComponent* a = f.Add("a");
  TppComponent* b = f.Add("b");
  TppComponent* c = f.Add("c");
  a->BringToFront();
  EXPECT_EQ(f.detail->Objects(0), b);
  EXPECT_EQ(f.detail->Objects(2), a);
  c->SendToBack();
  EXPECT_EQ(f.detail->Objects(0), c);

  // A destroyed component leaves its band and its container.
  delete b;
  EXPECT_EQ(f.detail->ObjectCount(), 2);
  EXPECT_EQ(f.container.ComponentCount(), 4);
  // A destroyed band frees its components.
  TComponentRef<TppComponent> ref(a);
  delete f.detail;
  EXPECT_FALSE(ref);
  EXPECT_EQ(f.container.ComponentCount(), 1);
  EXPECT_EQ(f.report->BandCount(), 0);
}

TEST(Geometry, NewComponentsAndClamping) {
  ReportFixture f;  // Letter or A4, margins 6350: printable width known
  TppComponent* c = f.Add("c");
  EXPECT_EQ(c->mmWidth(), 17198);  // 65 x 17 screen pixels
  EXPECT_EQ(c->mmHeight(), 4498);
  EXPECT_EQ(c->mmLeft(), 0);

  const int bandWidth = f.report->PrinterSetup()->PageDef().mmPrintableWidth();
  ASSERT_EQ(f.detail->mmWidth(), bandWidth);
  c->SetMMBounds(-5, -7, -1, -2);
  EXPECT_EQ(c->mmLeft(), 0);
  EXPECT_EQ(c->mmTop(), 0);
  EXPECT_EQ(c->mmHeight(), 0);
  EXPECT_EQ(c->mmWidth(), 0);
  c->SetmmLeft(bandWidth + 1000);
  EXPECT_EQ(c->mmLeft(), bandWidth);
  // Top is limited only in a designer.
  c->SetmmTop(f.detail->mmHeight() + 5);
  EXPECT_EQ(c->mmTop(), f.detail->mmHeight() + 5);
  c->SetDesigning(true);
  c->SetmmTop(f.detail->mmHeight() + 5);
  EXPECT_EQ(c->mmTop(), f.detail->mmHeight());

  TppComponent* strip = f.Add("strip");
  strip->SetParentWidth(true);
  strip->SetParentHeight(true);
  EXPECT_EQ(strip->mmLeft(), 0);
  EXPECT_EQ(strip->mmWidth(), bandWidth);
  EXPECT_EQ(strip->mmHeight(), f.detail->mmHeight());
  strip->SetmmWidth(10);
  strip->SetmmLeft(50);
  EXPECT_EQ(strip->mmWidth(), bandWidth);
  EXPECT_EQ(strip->mmLeft(), 0);
}

TEST(Geometry, FloatPropertiesUseTheReportUnits) {
  ReportFixture f;
  f.report->SetUnits(utScreenPixels);
  EXPECT_EQ(f.report->PrinterSetup()->Units(), utScreenPixels);
  EXPECT_EQ(f.detail->Units(), utScreenPixels);
  TppComponent* c = f.Add("c");
  EXPECT_EQ(c->Units(), utScreenPixels);  // taken from the band
  c->SetLeft(529);
  c->SetTop(72);
  c->SetWidth(458);
  c->SetHeight(1);
  EXPECT_EQ(c->mmLeft(), 139965);
  EXPECT_EQ(c->mmTop(), 19050);
  EXPECT_EQ(c->mmWidth(), 121179);
  EXPECT_EQ(c->mmHeight(), 265);
  EXPECT_FLOAT_EQ(c->Left(), 529);
  f.detail->SetHeight(642);
  EXPECT_EQ(f.detail->mmHeight(), 169863);

  f.report->SetUnits(utMillimeters);
  EXPECT_EQ(c->Units(), utMillimeters);
  EXPECT_FLOAT_EQ(c->Left(), 139.965f);

  // While a design is read the value is stored as thousandths; a stored
  // ParentWidth fits the band once loaded.
  TComponentReader reader(&f.container);
  auto* read = reader.Add<TppComponent>("read", f.detail);
  read->SetLeft(1234.9f);
  read->SetParentWidth(true);
  EXPECT_EQ(read->mmLeft(), 1234);
  reader.Finish();
  EXPECT_EQ(read->mmLeft(), 0);
  EXPECT_EQ(read->mmWidth(), f.detail->mmWidth());
}

class PrinterUnits : public ScriptedPrintersTest {};

TEST_F(PrinterUnits, LeftAndWidthUseTheHorizontalResolution) {
  TScriptedPrinter p = TScriptedPrinter::Standard("P");
  p.PixelsPerInchX = 600;
  p.PixelsPerInchY = 300;
  Install({p});
  ReportFixture f;
  f.report->SetUnits(utPrinterPixels);
  TppComponent* c = f.Add("c");
  c->SetLeft(600);
  c->SetWidth(600);
  c->SetTop(300);
  c->SetHeight(300);
  // One inch each way.
  EXPECT_EQ(c->mmLeft(), 25400);
  EXPECT_EQ(c->mmWidth(), 25400);
  EXPECT_EQ(c->mmTop(), 25400);
  EXPECT_EQ(c->mmHeight(), 25400);
  EXPECT_EQ(c->GetPrinter(), SharedPrinter());
}

TEST(ReportProperties, Defaults) {
  TppReport r;
  EXPECT_FALSE(r.AllowPrintToArchive());
  EXPECT_FALSE(r.AllowPrintToFile());
  EXPECT_EQ(r.ArchiveFileName(), "");
  EXPECT_EQ(r.TextFileName(), "");
  EXPECT_TRUE(r.AutoStop());
  EXPECT_FALSE(r.CachePages());
  EXPECT_EQ(r.Columns(), 1);
  EXPECT_EQ(r.mmColumnWidth(), 0);
  EXPECT_EQ(r.DataPipeline(), "");
  EXPECT_EQ(r.DeviceType(), "Screen");
  EXPECT_TRUE(r.Icon().Empty());
  EXPECT_EQ(r.Language(), lgDefault);
  EXPECT_TRUE(r.ModalCancelDialog());
  EXPECT_TRUE(r.ModalPreview());
  EXPECT_EQ(r.PageLimit(), 0);
  EXPECT_EQ(r.PassSetting(), psOnePass);
  EXPECT_FALSE(r.SavePrinterSetup());
  EXPECT_FALSE(r.ShowAutoSearchDialog());
  EXPECT_FALSE(r.SaveAsTemplate());
  EXPECT_TRUE(r.ShowCancelDialog());
  EXPECT_TRUE(r.ShowPrintDialog());
  EXPECT_EQ(r.TextFileType(), ftComma);
  EXPECT_EQ(r.Units(), utInches);
  EXPECT_EQ(r.Version(), "5.5");
  EXPECT_EQ(r.PrinterSetup()->DocumentName(), "Report");
  EXPECT_FALSE(r.Printing());
}

TEST(ReportProperties, PrintOptionsAreLockedWhilePrinting) {
  RegisterDeviceClass<TestPrinterDevice>();
  struct Case {
    const char* name;
    std::function<void(TppReport&)> change;
    std::function<bool(const TppReport&)> changed;
  };
  TPicture icon;
  {
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    icon.LoadFromData(png, "png");
  }
  const Case cases[] = {
      {"AllowPrintToArchive", [](TppReport& r) { r.SetAllowPrintToArchive(true); },
       [](const TppReport& r) { return r.AllowPrintToArchive(); }},
      {"AllowPrintToFile", [](TppReport& r) { r.SetAllowPrintToFile(true); },
       [](const TppReport& r) { return r.AllowPrintToFile(); }},
      {"ArchiveFileName", [](TppReport& r) { r.SetArchiveFileName("a.raf"); },
       [](const TppReport& r) { return r.ArchiveFileName() == "a.raf"; }},
      {"DeviceType", [](TppReport& r) { r.SetDeviceType("Printer"); },
       [](const TppReport& r) { return r.DeviceType() == "Printer"; }},
      {"Icon", [&](TppReport& r) { r.SetIcon(icon); }, [](const TppReport& r) { return !r.Icon().Empty(); }},
      {"Language", [](TppReport& r) { r.SetLanguage(lgPortuguese); },
       [](const TppReport& r) { return r.Language() == lgPortuguese; }},
      {"ModalCancelDialog", [](TppReport& r) { r.SetModalCancelDialog(false); },
       [](const TppReport& r) { return !r.ModalCancelDialog(); }},
      {"ModalPreview", [](TppReport& r) { r.SetModalPreview(false); },
       [](const TppReport& r) { return !r.ModalPreview(); }},
      {"ShowCancelDialog", [](TppReport& r) { r.SetShowCancelDialog(false); },
       [](const TppReport& r) { return !r.ShowCancelDialog(); }},
      {"ShowPrintDialog", [](TppReport& r) { r.SetShowPrintDialog(false); },
       [](const TppReport& r) { return !r.ShowPrintDialog(); }},
      {"TextFileName", [](TppReport& r) { r.SetTextFileName("a.txt"); },
       [](const TppReport& r) { return r.TextFileName() == "a.txt"; }},
      {"TextFileType", [](TppReport& r) { r.SetTextFileType(ftTab); },
       [](const TppReport& r) { return r.TextFileType() == ftTab; }},
  };
  // A language module so that the language change can succeed at all.
  QTemporaryDir dir;
  QFile module(dir.filePath("ppPrint.ptg"));
  ASSERT_TRUE(module.open(QIODevice::WriteOnly));
  module.write("43018=Página\n");
  module.close();
  ResourceManager().SetModuleDirectory(dir.path());
  for (const Case& c : cases) {
    TppReport r;
    r.SetPrinting(true);
    c.change(r);
    EXPECT_FALSE(c.changed(r)) << c.name << " changed while printing";
    r.SetPrinting(false);
    c.change(r);
    EXPECT_TRUE(c.changed(r)) << c.name << " did not change after printing";
  }
  ResourceManager().SetLanguage(lgDefault);
  ResourceManager().SetModuleDirectory(QString());
  UnregisterDeviceClass<TestPrinterDevice>();
}

TEST(ReportProperties, DeviceTypeTakesRegisteredDeviceNamesOnly) {
  RegisterDeviceClass<TestPrinterDevice>();
  RegisterDeviceClass<TestScreenDevice>();
  RegisterDeviceClass<TestScreenDevice>();  // once
  EXPECT_EQ(DeviceNames(), (QStringList{"Printer", "Screen"}));
  EXPECT_TRUE(IsClassRegistered("TestPrinterDevice"));

  TppReport r;
  r.SetDeviceType("Printer");
  EXPECT_EQ(r.DeviceType(), "Printer");
  r.SetDeviceType("Screen");
  EXPECT_EQ(r.DeviceType(), "Screen");
  r.SetDeviceType("Plotter");
  EXPECT_EQ(r.DeviceType(), "Screen");
  r.SetDeviceType("printer");  // names are exact
  EXPECT_EQ(r.DeviceType(), "Screen");

  UnregisterDeviceClass<TestPrinterDevice>();
  r.SetDeviceType("Printer");
  EXPECT_EQ(r.DeviceType(), "Screen");
  EXPECT_EQ(DeviceClassForName("Printer"), nullptr);

  // A stored design keeps the name it was stored with.
  TComponent container;
  TComponentReader reader(&container);
  auto* stored = reader.Add<TppReport>("stored");
  stored->SetDeviceType("ArchiveFile");
  reader.Finish();
  EXPECT_EQ(stored->DeviceType(), "ArchiveFile");
  UnregisterDeviceClass<TestScreenDevice>();
}

TEST(ReportProperties, AStoredLanguageWithoutModulesFallsBackWhileLoading) {
  QTemporaryDir empty;
  ResourceManager().SetModuleDirectory(empty.path());
  TComponent container;
  TComponentReader reader(&container);
  auto* front = reader.Add<TppReport>("reportFrenteCD");
  front->SetLanguage(lgEnglish);
  reader.Finish();
  EXPECT_EQ(front->Language(), lgDefault);
  EXPECT_EQ(ResourceManager().Language(), lgDefault);
  EXPECT_EQ(EngineMessage(msgPage), "Página");

  // Outside loading the change is refused and the old language stays.
  front->SetLanguage(lgEnglish);
  EXPECT_EQ(front->Language(), lgDefault);

  // With the English module beside the program the language is taken.
  QFile module(empty.filePath("ppPrint.eng"));
  ASSERT_TRUE(module.open(QIODevice::WriteOnly));
  module.write("43018=Page\n");
  module.close();
  front->SetLanguage(lgEnglish);
  EXPECT_EQ(front->Language(), lgEnglish);
  EXPECT_EQ(EngineMessage(msgPage), "Page");
  ResourceManager().SetLanguage(lgDefault);
  ResourceManager().SetModuleDirectory(QString());
}

class ReportLoading : public ScriptedPrintersTest {};

TEST_F(ReportLoading, ADesignBuiltInCodeLoadsLikeAStoredOne) {
  // The driver's own name for paper code 9.
  TScriptedPrinter p = TScriptedPrinter::Standard("P");
  p.Caps.PaperNames[0] = "A4 (210 x 297 mm)";
  Install({p});

  TComponent container;
  TppReport* report = nullptr;
  TppDetailBand* band = nullptr;
  TppComponent* label = nullptr;
  int pageDefChanges = 0;
  {
    TComponentReader reader(&container);
    report = reader.Add<TppReport>("reportTrasCD");
    report->PrinterSetup()->OnPageDefChange = [&](TppPrinterSetup*) { ++pageDefChanges; };
    EXPECT_TRUE(report->IsLoading());
    EXPECT_TRUE(report->IsReading());
    TppPrinterSetup* s = report->PrinterSetup();
    s->SetPaperName("A4");
    s->SetOrientation(poLandscape);
    s->SetPaperWidth(11.69f);  // only kept aside while read
    s->ReadStreamProperty("mmPaperWidth", 297000);
    s->ReadStreamProperty("mmPaperHeight", 210000);
    s->ReadStreamProperty("PaperSize", 9);
    report->SetUnits(utScreenPixels);
    report->SetVersion("5.5");
    band = reader.Add<TppDetailBand>("ppDetailBand1", report);
    band->SetmmHeight(169863);
    label = reader.Add<TppComponent>("ppLabel1", band);
    label->SetmmLeft(21167);
    label->SetBandType(btDetail);
    EXPECT_EQ(label->UserName(), "");
    reader.Finish();
  }
  EXPECT_FALSE(report->IsLoading());
  EXPECT_FALSE(label->IsReading());
  EXPECT_EQ(pageDefChanges, 0);  // hooks stay silent while a design is read
  const TppPrinterSetup* s = report->PrinterSetup();
  EXPECT_EQ(s->Orientation(), poLandscape);
  EXPECT_EQ(s->PageDef().mmWidth, 297000);
  EXPECT_EQ(s->PageDef().mmHeight, 210000);
  EXPECT_EQ(s->ReadPaperWidth(), 11.69f);
  // The loaded fix-up gives the stored paper code the printer's own name.
  EXPECT_EQ(report->PrinterSetup()->PaperName(), "A4 (210 x 297 mm)");
  EXPECT_EQ(report->Version(), "5.5");
  EXPECT_EQ(band->Report(), report);
  EXPECT_EQ(band->Units(), utScreenPixels);
  EXPECT_EQ(label->Units(), utScreenPixels);
  EXPECT_EQ(label->UserName(), "Label1");
  EXPECT_EQ(label->mmLeft(), 21167);
  EXPECT_EQ(container.ComponentCount(), 3);

  // An older version number is brought to the current one.
  TComponentReader again(&container);
  auto* old = again.Add<TppReport>("old");
  old->SetVersion("4.0");
  EXPECT_EQ(old->Version(), "4.0");
  again.Finish();
  EXPECT_EQ(old->Version(), "5.5");
  old->SetVersion("3.0");  // a stream property: ignored at run time
  EXPECT_EQ(old->Version(), "5.5");
}

TEST(ReportLoadingFailure, AnAbandonedReaderLeavesNothingHalfLoaded) {
  TComponent container;
  TppReport* report = nullptr;
  try {
    TComponentReader reader(&container);
    report = reader.Add<TppReport>("report");
    reader.Add<TppComponent>("report");  // a name already taken
    FAIL() << "a taken name must throw";
  } catch (const Exception&) {
  }
  ASSERT_NE(report, nullptr);
  EXPECT_FALSE(report->IsLoading());
  EXPECT_FALSE(report->IsReading());
  EXPECT_FALSE(container.IsLoading());
}
