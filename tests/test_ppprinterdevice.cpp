// SPDX-License-Identifier: GPL-3.0-or-later
// The printer device on scripted printers and into PDF files: several
// reports in one document, copies with and without collation, where
// commands land on the paper, status texts, documents that fail or are
// cancelled (thrown away, an old PDF left as it was), PDF files without a
// printer, and the print path with the engine's dialogs.
#include "platform/PdfPrinterBackend.h"
#include "report/ppFormIntf.h"
#include "report/ppPrnDev.h"
#include "support/PdfTools.h"
#include "support/QtPrint.h"
#include "support/ReportFixtures.h"
#include "support/ScriptedPrinters.h"
#include "support/TestPictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kCannotGenerate = QStringLiteral("Impossível Gerar Relatório\n\n");

// A printer of 100 pixels per inch that keeps pictures of its pages.
TScriptedPrinter Printer100(const QString& name, QMargins unprintable = QMargins()) {
  TScriptedPrinter p = TScriptedPrinter::Standard(name);
  p.PixelsPerInchX = p.PixelsPerInchY = 100;
  p.Unprintable = unprintable;
  return p;
}

// Which marker of a PagedReport a printed page shows: "A1" for page 1 of
// the report in row 0, "B2" for page 2 of row 1; "?" when none.
QString Marker(const QImage& image, int ppi = 100) {
  int x0 = image.width(), y0 = image.height();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
      }
  if (x0 == image.width()) return QStringLiteral("?");
  const double mmX = x0 * 25.4 / ppi - 6.35, mmY = y0 * 25.4 / ppi - 6.35;
  return QString(QChar('A' + int(std::lround(mmY / 30)))) + QString::number(std::lround(mmX / 10));
}

QStringList Markers(const TScriptedDocument& doc) {
  QStringList out;
  for (const TScriptedPage& p : doc.Pages) out.append(Marker(p.Image));
  return out;
}

QString Attempt(const std::function<void()>& f) {
  try {
    f();
  } catch (const EPrintError& e) {
    return e.Message;
  }
  return {};
}

QByteArray ReadFile(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

namespace {
// A command that cannot be drawn.
class TBrokenCommand : public TppDrawShape {
 public:
  LURNS_COMPONENT(TBrokenCommand)
  using TppDrawShape::TppDrawShape;
  bool DrawOn(TppDevice*) override { throw Exception("cannot draw"); }
};
}  // namespace

class PrinterDevice : public ScriptedPrintersTest {
 protected:
  void SetUp() override { SetProcessMessagesHook({}); }
  void TearDown() override {
    SetProcessMessagesHook([] {
      if (QCoreApplication::instance()) QCoreApplication::processEvents();
    });
    ScriptedPrintersTest::TearDown();
  }
};

TEST_F(PrinterDevice, RegisteredUnderItsDeviceName) {
  RegisterDeviceClass<TppPrinterDevice>();
  const TppDeviceClass* cls = DeviceClassForName("Printer");
  ASSERT_NE(cls, nullptr);
  std::unique_ptr<TppDevice> made(cls->Create(nullptr));
  EXPECT_NE(dynamic_cast<TppPrinterDevice*>(made.get()), nullptr);
  UnregisterDeviceClass<TppPrinterDevice>();
  EXPECT_EQ(DeviceClassForName("Printer"), nullptr);
}

TEST_F(PrinterDevice, TwoReportsMakeOneDocumentWithTheDocumentFlags) {
  TScriptedPrinterBackend& backend = Install({Printer100("P")});
  PagedReport a(1, 0), b(1, 1, poLandscape);
  TppPrinterDevice device;
  device.OpensDocument = true;
  device.ClosesDocument = false;
  device.AttachPublisher(a.r.report->Publisher());
  a.r.report->GenerateToDevices();
  EXPECT_TRUE(device.Printer()->Printing());
  EXPECT_TRUE(backend.Documents.isEmpty());  // not before the document ends
  device.OpensDocument = false;
  device.ClosesDocument = true;
  device.AttachPublisher(b.r.report->Publisher());
  b.r.report->GenerateToDevices();
  EXPECT_FALSE(device.Printer()->Printing());
  ASSERT_EQ(backend.Documents.size(), 1);
  const TScriptedDocument& doc = backend.Documents[0];
  EXPECT_EQ(Markers(doc), (QStringList{"A1", "B1"}));
  // Each page on its own paper and orientation.
  EXPECT_EQ(doc.Pages[0].Settings.Orientation, TDriverSettings::OrientPortrait);
  EXPECT_EQ(doc.Pages[1].Settings.Orientation, TDriverSettings::OrientLandscape);
  EXPECT_EQ(doc.Pages[1].Image.size(), QSize(1169, 827));
  EXPECT_EQ(device.PagesPrinted(), 2);
}

TEST_F(PrinterDevice, CopiesAreSetAfterSetOrPageAfterPage) {
  const struct {
    int copies;
    bool collate;
    QStringList sheets;
  } cases[] = {
      {3, true, {"A1", "A2", "B1", "A1", "A2", "B1", "A1", "A2", "B1"}},
      {3, false, {"A1", "A1", "A1", "A2", "A2", "A2", "B1", "B1", "B1"}},
      {1, true, {"A1", "A2", "B1"}},
      {1, false, {"A1", "A2", "B1"}},
  };
  for (const auto& c : cases) {
    TScriptedPrinterBackend& backend = Install({Printer100("P")});
    PagedReport a(2, 0), b(1, 1);
    // The reports' own copies are not what counts.
    a.r.report->PrinterSetup()->SetCopies(7);
    TppPrinterDevice device;
    ASSERT_TRUE(PrintReports(device, {a.r.report, b.r.report}, c.copies, c.collate));
    ASSERT_EQ(backend.Documents.size(), 1) << c.copies << c.collate;
    EXPECT_EQ(Markers(backend.Documents[0]), c.sheets) << c.copies << c.collate;
    EXPECT_EQ(a.r.report->PrinterSetup()->Copies(), 7);
  }
}

TEST_F(PrinterDevice, AReportsOwnCopiesComeFromItsPagesNotFromThePrintBefore) {
  TScriptedPrinterBackend& backend = Install({Printer100("P")});
  PagedReport a(2);
  TppPrinterDevice device;
  device.AttachPublisher(a.r.report->Publisher());
  const struct {
    int copies;
    bool collation;
    QStringList sheets;
  } runs[] = {
      {3, true, {"A1", "A2", "A1", "A2", "A1", "A2"}},
      {3, false, {"A1", "A1", "A1", "A2", "A2", "A2"}},
      {1, true, {"A1", "A2"}},  // after three copies, one
  };
  for (int i = 0; i < 3; ++i) {
    a.r.report->PrinterSetup()->SetCopies(runs[i].copies);
    a.r.report->PrinterSetup()->SetCollation(runs[i].collation);
    a.r.report->GenerateToDevices();
    ASSERT_EQ(backend.Documents.size(), i + 1);
    EXPECT_EQ(Markers(backend.Documents[i]), runs[i].sheets) << i;
  }
}

TEST_F(PrinterDevice, CommandsLandRelativeToThePrintableArea) {
  // A quarter inch unprintable on the left, 10 pixels at the top.
  TScriptedPrinterBackend& backend = Install({Printer100("P", QMargins(25, 10, 5, 8))});
  TComponent owner;
  TestReport r(&owner);
  TppShape* atMargin = r.Square(0, 0, 5000, &owner);
  TppPrinterDevice device;
  std::vector<TppRect> drawn;
  device.OnEndPage = [&](TComponent*) {};
  device.AttachPublisher(r.report->Publisher());
  r.report->GenerateToDevices();
  ASSERT_EQ(backend.Documents.size(), 1);
  EXPECT_EQ(device.OffsetX(), -25);
  EXPECT_EQ(device.OffsetY(), -10);
  // The command at the left margin: device x = 0, which is a quarter inch
  // into the paper.
  (void)atMargin;
  const QImage& page = backend.Documents[0].Pages[0].Image;
  EXPECT_EQ(qGray(page.pixel(25, 30)), 0);
  EXPECT_EQ(qGray(page.pixel(24, 30)), 255);

  // Drawn directly: a command starting beyond the paper is not drawn, one
  // reaching beyond it is.
  TppPage direct;
  direct.SetPrinterSetup(r.report->PrinterSetup());
  direct.Final = true;
  direct.AbsolutePageNo = 1;
  auto shape = [&](int left, int width) {
    auto* s = new TppDrawShape;
    s->Left = left;
    s->Top = 6350;
    s->Width = width;
    s->Height = 5000;
    s->SetPage(&direct);
    return s;
  };
  TppDrawShape* atLeft = shape(6350, 5000);
  TppDrawShape* beyond = shape(210001, 5000);
  TppDrawShape* across = shape(200000, 20000);
  device.AttachPublisher(nullptr);
  device.JobStarted();
  device.AcceptPage(direct);
  device.JobEnded();
  EXPECT_EQ(atLeft->DeviceRect.Left, 0);
  EXPECT_EQ(atLeft->DeviceRect.Top, 15);  // 25 - 10
  EXPECT_EQ(beyond->DeviceRect, TppRect());
  EXPECT_NE(across->DeviceRect, TppRect());
}

TEST_F(PrinterDevice, StatusTellsThePageAndItsCountOnceKnown) {
  Install({Printer100("P")});
  PagedReport a(3);
  TppPrinterDevice device;
  QStringList statuses;
  device.StatusReceiver = [&](const QString& s) { statuses.append(s); };
  device.AttachPublisher(a.r.report->Publisher());
  a.r.report->GenerateToDevices();
  EXPECT_EQ(statuses, (QStringList{
                          "A Aceder aos Dados...",
                          "A Imprimir a Página 1 para o Relatório Report em P",
                          "A Imprimir a Página 2 para o Relatório Report em P",
                          "A Imprimir a Página 3 de 3 para o Relatório Report em P",
                      }));
}

TEST_F(PrinterDevice, ARefusedOrFailedDocumentIsReportedAndNothingPrints) {
  TScriptedPrinter refusing = Printer100("P");
  refusing.RefusesJobs = true;
  TScriptedPrinterBackend& backend = Install({refusing});
  PagedReport a(1);
  TppPrinterDevice device;
  device.AttachPublisher(a.r.report->Publisher());
  EXPECT_EQ(Attempt([&] { a.r.report->GenerateToDevices(); }),
            kCannotGenerate + "A impressora P recusou o documento. the queue refused the job");
  EXPECT_TRUE(backend.Documents.isEmpty());
  EXPECT_FALSE(device.Busy());
  EXPECT_FALSE(device.Printer()->Printing());

  // A generation that fails midway throws the document away.
  backend.Printers[0].RefusesJobs = false;
  PagedReport b(3);
  b.marker->OnPrint = [&](TComponent*) {
    if (b.r.report->Engine()->PageNo() == 2) b.r.band->SetmmPrintPosition(400000);
  };
  device.AttachPublisher(b.r.report->Publisher());
  EXPECT_TRUE(Attempt([&] { b.r.report->GenerateToDevices(); }).startsWith(kCannotGenerate));
  EXPECT_TRUE(backend.Documents.isEmpty());
  EXPECT_EQ(backend.AbortedDocuments, 1);
}

TEST_F(PrinterDevice, ACancelledDocumentIsThrownAwayWhole) {
  TScriptedPrinterBackend& backend = Install({Printer100("P")});
  PagedReport a(2, 0), b(2, 1);
  b.marker->OnPrint = [&](TComponent*) {
    if (b.r.report->Engine()->PageNo() == 2) b.r.report->Cancel();
  };
  TppPrinterDevice device;
  EXPECT_FALSE(PrintReports(device, {a.r.report, b.r.report}));
  // The first report's pages were in the document too: none prints.
  EXPECT_TRUE(backend.Documents.isEmpty());
  EXPECT_EQ(backend.AbortedDocuments, 1);
  EXPECT_TRUE(device.Aborted());
  // The device prints again afterwards.
  b.marker->OnPrint = nullptr;
  EXPECT_TRUE(PrintReports(device, {a.r.report}));
  ASSERT_EQ(backend.Documents.size(), 1);
  EXPECT_EQ(Markers(backend.Documents[0]), (QStringList{"A1", "A2"}));
}

// The job is made with the settings of the pages it holds: the document
// begins with its first printed page, whatever setup the device was given
// (here the first report's, which prints nothing), and each page carries
// its own paper, tray and sides.
TEST_F(PrinterDevice, TheJobIsMadeWithItsFirstPrintedPagesSettings) {
  TScriptedPrinterBackend& backend = Install({Printer100("P")});
  PagedReport front(1, 0, poLandscape), disc(1, 1);
  front.r.report->PrinterSetup()->SetPrinterName("P");
  disc.r.report->PrinterSetup()->SetPrinterName("P");
  disc.r.report->PrinterSetup()->SetBinName("Tray 1");
  disc.r.report->PrinterSetup()->SetDuplex(dpVertical);
  disc.r.report->PrinterSetup()->SetPaperName("A5");
  for (bool frontToo : {false, true}) {
    SCOPED_TRACE(frontToo ? "front and disc" : "disc alone");
    backend.Documents.clear();
    TppPrinterDevice device;
    device.Printer()->ApplySetup(*front.r.report->PrinterSetup());
    std::vector<TppProducer*> reports;
    if (frontToo) reports.push_back(front.r.report);
    reports.push_back(disc.r.report);
    ASSERT_TRUE(PrintReports(device, reports));
    ASSERT_EQ(backend.Documents.size(), 1);
    const TScriptedDocument& doc = backend.Documents[0];
    ASSERT_EQ(doc.Pages.size(), int(reports.size()));
    const TDriverSettings& discPage = doc.Pages.last().Settings;
    EXPECT_EQ(discPage.DefaultSource, 257);
    EXPECT_EQ(discPage.Duplex, int(TDriverSettings::DuplexVertical));
    EXPECT_EQ(discPage.PaperSize, 11);
    const TDriverSettings& job = doc.Settings;
    const TDriverSettings& first = doc.Pages.first().Settings;
    EXPECT_EQ(job.DefaultSource, first.DefaultSource);
    EXPECT_EQ(job.Duplex, first.Duplex);
    EXPECT_EQ(job.PaperSize, first.PaperSize);
    EXPECT_EQ(job.Orientation, first.Orientation);
    if (frontToo) {
      EXPECT_EQ(job.DefaultSource, 7);
      EXPECT_EQ(job.Orientation, int(TDriverSettings::OrientLandscape));
    }
  }
}

// A document none of whose pages was asked for is a print error, and
// nothing is begun; so is a list without reports.
TEST_F(PrinterDevice, ADocumentWithoutPagesIsAPrintError) {
  TScriptedPrinterBackend& backend = Install({Printer100("P")});
  PagedReport one(1);
  TppPrinterDevice device;
  TppPageRequest even;
  even.PageRange = prEvenPages;
  device.SetPageRequest(even);
  EXPECT_EQ(Attempt([&] { PrintReports(device, {one.r.report}); }),
            kCannotGenerate + "Nenhuma página para imprimir.");
  EXPECT_TRUE(backend.Documents.isEmpty());
  EXPECT_EQ(backend.AbortedDocuments, 0);
  EXPECT_FALSE(device.Busy());
  EXPECT_EQ(Attempt([&] { PrintReports(device, {}); }), kCannotGenerate + "Nenhuma página para imprimir.");
  // Pages asked for print again on the same device.
  device.SetPageRequest(TppPageRequest());
  EXPECT_TRUE(PrintReports(device, {one.r.report}));
  EXPECT_EQ(backend.Documents.size(), 1);
}

// What could not be generated or drawn is collected over the whole
// document, once for each component however many copies print.
TEST_F(PrinterDevice, WhatDidNotPrintIsCollectedOnceOverTheDocument) {
  TScriptedPrinterBackend& backend = Install({Printer100("P")});
  RegisterClass<TBrokenCommand>();
  PagedReport a(1, 0), b(1, 1);
  TppShape* unknown = a.r.Square(0, 0, 1000, &a.owner);
  unknown->SetDescription("Texto1 (Frente)");
  unknown->SetDrawCommandClass("TNoSuchCommand");
  TppShape* broken = b.r.Square(0, 0, 1000, &b.owner);
  broken->SetDescription("Imagem1 (CD)");
  broken->SetDrawCommandClass("TBrokenCommand");
  TppPrinterDevice device;
  QStringList problems{"left from before"};
  ASSERT_TRUE(PrintReports(device, {a.r.report, b.r.report}, 2, true, &problems));
  EXPECT_EQ(problems, (QStringList{"Texto1 (Frente): O comando de desenho TNoSuchCommand não está registado.",
                                   "Imagem1 (CD): cannot draw"}));
  ASSERT_EQ(backend.Documents.size(), 1);
  EXPECT_EQ(backend.Documents[0].Pages.size(), 4);
  EXPECT_EQ(PrintProblemsMessage(problems),
            "Alguns objectos não foram impressos:\n"
            "Texto1 (Frente): O comando de desenho TNoSuchCommand não está registado.\n"
            "Imagem1 (CD): cannot draw");
  UnRegisterClass("TBrokenCommand");
}

// PDF files are written on a machine without any printer.
class PdfOutput : public PrinterDevice {
 protected:
  void SetUp() override {
    PrinterDevice::SetUp();
    ResetPrinterList();
    SetPrinterBackend(std::make_unique<TNoPrinterBackend>());
    ASSERT_EQ(PrinterList()->Count(), 0);
    ASSERT_EQ(SharedPrinter(), nullptr);
  }
  QTemporaryDir dir_;
};

namespace {
// A destination that cannot change a job's tray: each run of pages from
// one tray is a part of its own, written to a file of its own.
struct TPartsRecord {
  QStringList Files;
  QList<int> Trays;
  int Commits = 0;
  int Discards = 0;
};
class TTrayPartsDestination : public TPdfDestination {
 public:
  TTrayPartsDestination(const QString& dir, TPartsRecord& record) : dir_(dir), record_(record) {}
  QIODevice* Open(const TDriverSettings& settings) override {
    record_.Files << QDir(dir_).filePath(QStringLiteral("part%1.pdf").arg(record_.Files.size() + 1));
    record_.Trays << settings.DefaultSource;
    files_.push_back(std::make_unique<QFile>(record_.Files.last()));
    return files_.back()->open(QIODevice::WriteOnly) ? files_.back().get() : nullptr;
  }
  bool SameJob(const TDriverSettings& a, const TDriverSettings& b) override {
    return a.DefaultSource == b.DefaultSource;
  }
  bool Commit(const QString&) override {
    ++record_.Commits;
    for (auto& f : files_) f->close();
    return true;
  }
  void Discard() override { ++record_.Discards; }

 private:
  QString dir_;
  TPartsRecord& record_;
  std::vector<std::unique_ptr<QFile>> files_;
};
}  // namespace

// Pages that go out from another tray than the pages before them start a
// part of their own; another orientation does not.
TEST_F(PdfOutput, ADestinationThatCannotChangeATrayGetsAPartForEachRunOfPages) {
  TPartsRecord record;
  TDriverSettings s;
  s.PaperSize = 9;
  s.DefaultSource = 7;
  s.Fields = TDriverSettings::dmPaperSize | TDriverSettings::dmDefaultSource;
  TPdfPrinterContext context(std::make_unique<TTrayPartsDestination>(dir_.path(), record), s,
                             QSize(2100, 2970), &PrinterBackend());
  ASSERT_TRUE(context.StartDoc("partes"));
  const struct {
    int tray;
    int orientation;
  } pages[] = {{7, 1}, {7, 2}, {257, 2}, {257, 1}, {7, 1}};
  for (const auto& page : pages) {
    s.DefaultSource = page.tray;
    s.Orientation = page.orientation;
    ASSERT_TRUE(context.Reset(s));
    ASSERT_TRUE(context.StartPage());
    ASSERT_TRUE(context.EndPage());
  }
  ASSERT_TRUE(context.EndDoc());
  EXPECT_EQ(record.Trays, (QList<int>{7, 257, 7}));
  EXPECT_EQ(record.Commits, 1);
  EXPECT_EQ(record.Discards, 0);
  const int expected[] = {2, 2, 1};
  ASSERT_EQ(record.Files.size(), 3);
  for (int i = 0; i < 3; ++i) {
    QString why;
    EXPECT_EQ(pdf::Pages(record.Files[i], &why).size(), expected[i]) << i << why.toStdString();
  }
}

TEST_F(PdfOutput, TwoReportsGoIntoOnePdfMeasuredToATenthOfAMillimetre) {
  const QString file = dir_.filePath("capa.pdf");
  PagedReport a(1, 0, poLandscape), b(1, 1);
  TppPrinterDevice device;
  TppPrinterSetup setup;
  setup.Assign(*a.r.report->PrinterSetup());
  setup.SetOutputFileName(file);
  device.Printer()->ApplySetup(setup);
  ASSERT_TRUE(PrintReports(device, {a.r.report, b.r.report}));

  QString why;
  const QList<pdf::Page> pages = pdf::Pages(file, &why);
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  ASSERT_EQ(pages.size(), 2);
  EXPECT_NEAR(pages[0].SizePt.width(), 841.89, 0.5);
  EXPECT_NEAR(pages[0].SizePt.height(), 595.28, 0.5);
  EXPECT_NEAR(pages[1].SizePt.width(), 595.28, 0.5);
  EXPECT_NEAR(pages[1].SizePt.height(), 841.89, 0.5);
  // The squares: 5 mm at (6.35 + 10, 6.35) and (6.35 + 10, 6.35 + 30).
  const QRectF expected[2] = {QRectF(16.35, 6.35, 5, 5), QRectF(16.35, 36.35, 5, 5)};
  for (int i = 0; i < 2; ++i) {
    const QRectF found = pdf::DarkBoxMM(pdf::Rasterise(file, i + 1, 600, &why));
    SCOPED_TRACE(pdf::Describe(found));
    ASSERT_FALSE(found.isEmpty());
    EXPECT_NEAR(found.left(), expected[i].left(), 0.1);
    EXPECT_NEAR(found.top(), expected[i].top(), 0.1);
    EXPECT_NEAR(found.right(), expected[i].right(), 0.1);
    EXPECT_NEAR(found.bottom(), expected[i].bottom(), 0.1);
  }
  EXPECT_TRUE(why.isEmpty()) << why.toStdString();
}

TEST_F(PdfOutput, TheOldFileStaysAfterAFailedOrCancelledPrint) {
  const QString file = dir_.filePath("capa.pdf");
  {
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the user's old PDF");
  }
  PagedReport a(3);
  a.r.report->PrinterSetup()->SetOutputFileName(file);
  TppPrinterDevice device;
  device.Printer()->ApplySetup(*a.r.report->PrinterSetup());
  device.AttachPublisher(a.r.report->Publisher());

  // Failed at page 2.
  a.marker->OnPrint = [&](TComponent*) {
    if (a.r.report->Engine()->PageNo() == 2) a.r.band->SetmmPrintPosition(400000);
  };
  EXPECT_TRUE(Attempt([&] { a.r.report->GenerateToDevices(); }).startsWith(kCannotGenerate));
  EXPECT_EQ(ReadFile(file), "the user's old PDF");
  // Cancelled at page 2.
  a.r.band->SetmmPrintPosition(0);
  a.marker->OnPrint = [&](TComponent*) {
    if (a.r.report->Engine()->PageNo() == 2) a.r.report->Cancel();
  };
  EXPECT_EQ(Attempt([&] { a.r.report->GenerateToDevices(); }), "");
  EXPECT_EQ(ReadFile(file), "the user's old PDF");
  // No temporary file is left behind.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"capa.pdf"});
  // A print that ends well replaces it.
  a.marker->OnPrint = nullptr;
  EXPECT_EQ(Attempt([&] { a.r.report->GenerateToDevices(); }), "");
  EXPECT_TRUE(ReadFile(file).startsWith("%PDF"));
  QString why;
  EXPECT_EQ(pdf::Pages(file, &why).size(), 3);

  // A file that cannot be written is a print error.
  const QString missing = dir_.filePath("missing/capa.pdf");
  a.r.report->PrinterSetup()->SetOutputFileName(missing);
  device.Printer()->ApplySetup(*a.r.report->PrinterSetup());
  EXPECT_TRUE(Attempt([&] { a.r.report->GenerateToDevices(); })
                  .startsWith(kCannotGenerate + "Não foi possível escrever o ficheiro " + missing));
}

TEST_F(PdfOutput, ATransparentPictureLetsWhatIsBelowShowThrough) {
  const QString file = dir_.filePath("transparent.pdf");
  TComponent owner;
  TestReport r(&owner);
  r.Square(0, 0, 40000, &owner);  // black, 40 mm
  auto* image = new TppImage(&owner);
  image->SetBand(r.band);
  image->SetmmWidth(40000);
  image->SetmmHeight(20000);
  image->SetStretch(true);
  image->SetTransparent(true);
  // Left half white, right half grey.
  JpegSpec jpeg;
  jpeg.width = 40;
  jpeg.height = 20;
  jpeg.pixel = [](int x, int, unsigned char* px) { px[0] = px[1] = px[2] = x < 20 ? 255 : 160; };
  TPicture picture;
  picture.LoadFromData(EncodeJpeg(jpeg), "jpg");
  image->SetPicture(picture);
  r.report->PrinterSetup()->SetOutputFileName(file);
  TppPrinterDevice device;
  device.Printer()->ApplySetup(*r.report->PrinterSetup());
  device.AttachPublisher(r.report->Publisher());
  r.report->GenerateToDevices();
  QString why;
  const pdf::GreyImage page = pdf::Rasterise(file, 1, 150, &why);
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  auto at = [&](double mmX, double mmY) {
    return page.At(int(mmX / 25.4 * 150), int(mmY / 25.4 * 150));
  };
  EXPECT_LT(at(6.35 + 10, 6.35 + 10), 64);   // white of the picture: the black below
  EXPECT_GT(at(6.35 + 30, 6.35 + 10), 128);  // grey of the picture
  EXPECT_LT(at(6.35 + 20, 6.35 + 30), 64);   // the square below the picture
  // The painter scales the picture: the file holds it at its own size.
  const QList<QSize> images = pdf::Images(file, &why);
  ASSERT_EQ(images.size(), 1);
  EXPECT_EQ(images[0], QSize(40, 20));
}


TEST_F(PrinterDevice, OneCommandThatCannotBeDrawnLeavesTheOthers) {
  TScriptedPrinterBackend& backend = Install({Printer100("P")});
  RegisterClass<TBrokenCommand>();
  TComponent owner;
  TestReport r(&owner);
  TppShape* broken = r.Square(0, 0, 5000, &owner);
  broken->SetDrawCommandClass("TBrokenCommand");
  broken->SetUserName("Partido");
  auto* empty = new TppImage(&owner);  // no picture: prints nothing
  empty->SetBand(r.band);
  r.Square(20000, 0, 5000, &owner);
  TppPrinterDevice device;
  device.AttachPublisher(r.report->Publisher());
  r.report->GenerateToDevices();
  ASSERT_EQ(backend.Documents.size(), 1);
  // Told with the component: its description when it has one.
  EXPECT_EQ(device.DrawProblems(), QStringList{"Partido: cannot draw"});
  broken->SetDescription("Texto1 (Frente)");
  r.report->GenerateToDevices();
  EXPECT_EQ(device.DrawProblems(), QStringList{"Texto1 (Frente): cannot draw"});
  const QImage& page = backend.Documents[0].Pages[0].Image;
  EXPECT_EQ(qGray(page.pixel(int((6.35 + 22) / 25.4 * 100), 30)), 0);
  UnRegisterClass("TBrokenCommand");
}

// ---------------------------------------------------------------------------
// The print path

namespace {

// Engine windows without widgets: the dialog answers as scripted.
class TScriptedPrintDialog : public TppPrintDialogIntf {
 public:
  static inline std::function<TModalResult(TScriptedPrintDialog&)> Answer;
  static inline int Shown = 0;
  TModalResult ShowModal() override {
    ++Shown;
    return Answer ? Answer(*this) : TModalResult::OK;
  }
  void Show() override {}
  void Close() override {}
  void SetWindowState(TWindowState) override {}
  void SetIcon(const TPicture&) override {}
};

class TScriptedCancelDialog : public TppCancelDialogIntf {
 public:
  static inline QStringList Statuses;
  static inline bool Closed = false;
  TModalResult ShowModal() override {
    // On screen: the engine starts its work.
    if (ActivateHook) ActivateHook();
    return TModalResult::OK;
  }
  void Show() override {}
  void Close() override {}
  void SetWindowState(TWindowState) override {}
  void SetIcon(const TPicture&) override {}
  void StartCloseTimer() override { Closed = true; }

 protected:
  void StatusTextChanged() override { Statuses.append(StatusText()); }
};

}  // namespace

class PrintPath : public PrinterDevice {
 protected:
  void SetUp() override {
    PrinterDevice::SetUp();
    RegisterDeviceClass<TppPrinterDevice>();
  }
  void TearDown() override {
    UnregisterEngineForm(ppCustomPrintDialog);
    UnregisterEngineForm(ppCustomCancelDialog);
    UnregisterDeviceClass<TppPrinterDevice>();
    TScriptedPrintDialog::Answer = nullptr;
    TScriptedPrintDialog::Shown = 0;
    TScriptedCancelDialog::Statuses.clear();
    TScriptedCancelDialog::Closed = false;
    PrinterDevice::TearDown();
  }
  static void RegisterDialogs() {
    RegisterEngineForm(ppCustomPrintDialog, "TScriptedPrintDialog",
                       [] { return new TScriptedPrintDialog; });
    RegisterEngineForm(ppCustomCancelDialog, "TScriptedCancelDialog",
                       [] { return new TScriptedCancelDialog; });
  }
};

TEST_F(PrintPath, WithoutRegisteredDialogsTheReportPrintsStraightAway) {
  TScriptedPrinterBackend& backend = Install({Printer100("P")});
  PagedReport a(2);
  a.r.report->SetDeviceType("Printer");
  ASSERT_EQ(a.r.report->DeviceType(), "Printer");
  a.r.report->Print();
  ASSERT_EQ(backend.Documents.size(), 1);
  EXPECT_EQ(Markers(backend.Documents[0]), (QStringList{"A1", "A2"}));
  EXPECT_FALSE(a.r.report->Producing());
  EXPECT_EQ(a.r.report->PrinterDevice(), nullptr);
}

TEST_F(PrintPath, TheDialogsChoicesApplyToTheRunOnly) {
  TScriptedPrinterBackend& backend = Install({Printer100("P"), Printer100("Q")});
  RegisterDialogs();
  PagedReport a(3);
  a.r.report->SetDeviceType("Printer");
  a.r.report->SetCurrentPageNo(2);
  int offeredPage = 0;
  TScriptedPrintDialog::Answer = [&](TScriptedPrintDialog& d) {
    offeredPage = d.PageRequest->PageRequested;
    d.Printer->PrinterSetup()->SetPrinterName("Q");
    d.Printer->PrinterSetup()->SetCopies(2);
    d.Printer->PrinterSetup()->SetCollation(false);
    d.PageRequest->PageSetting = psPageList;
    d.PageRequest->PageList = QStringList{"1", "3"};
    return TModalResult::OK;
  };
  a.r.report->Print();
  EXPECT_EQ(offeredPage, 2);
  ASSERT_EQ(backend.Documents.size(), 1);
  EXPECT_EQ(backend.Documents[0].Printer, "Q");
  EXPECT_EQ(Markers(backend.Documents[0]), (QStringList{"A1", "A1", "A3", "A3"}));
  // The cancel dialog followed the pages and closed itself.
  EXPECT_TRUE(TScriptedCancelDialog::Closed);
  EXPECT_EQ(TScriptedCancelDialog::Statuses.last(),
            "A Imprimir a Página 3 de 3 para o Relatório Report em Q");
  // The report's setup is its own again.
  EXPECT_EQ(a.r.report->PrinterSetup()->Copies(), 1);
  EXPECT_EQ(a.r.report->PrinterSetup()->PrinterName(), "Default");

  // Cancel in the dialog prints nothing.
  TScriptedPrintDialog::Answer = [](TScriptedPrintDialog&) { return TModalResult::Cancel; };
  a.r.report->Print();
  EXPECT_EQ(backend.Documents.size(), 1);
  EXPECT_EQ(TScriptedPrintDialog::Shown, 2);
}

namespace {
// A preview window without widgets: its viewer is a device that keeps the
// pages; showing it modally starts the engine.
class TScriptedPreviewer : public TppPreviewerIntf {
 public:
  static inline TCaptureDevice* Viewer = nullptr;
  static inline bool ProducingWhileShown = false;
  void ReportAssigned() override { Viewer->AttachPublisher(Report()->Publisher()); }
  TModalResult ShowModal() override {
    if (ActivateHook) ActivateHook();
    ProducingWhileShown = Report()->Producing();
    return TModalResult::OK;
  }
  void Show() override {}
  void Close() override {}
  void SetWindowState(TWindowState) override {}
  void SetIcon(const TPicture&) override {}
};
}  // namespace

TEST_F(PrintPath, APreviewShowsThePagesWhileItIsOpen) {
  Install({Printer100("P")});
  PagedReport a(2);
  // Without a registered preview window nothing happens.
  a.r.report->Print();
  EXPECT_FALSE(a.r.report->Producing());
  TCaptureDevice viewer;
  TScriptedPreviewer::Viewer = &viewer;
  RegisterEngineForm(ppCustomPreviewer, "TScriptedPreviewer", [] { return new TScriptedPreviewer; });
  int closed = 0;
  a.r.report->OnPreviewFormClose = [&](TComponent*) { ++closed; };
  a.r.report->Print();
  UnregisterEngineForm(ppCustomPreviewer);
  EXPECT_EQ(viewer.PageNumbers(), (std::vector<int>{1, 2}));
  EXPECT_TRUE(TScriptedPreviewer::ProducingWhileShown);
  EXPECT_FALSE(a.r.report->Producing());
  EXPECT_EQ(a.r.report->PreviewForm(), nullptr);
  EXPECT_EQ(closed, 1);
  viewer.AttachPublisher(nullptr);
}

TEST_F(PrintPath, NoPrinterAndNoFileIsMessage1020) {
  Install({});
  PagedReport a(1);
  a.r.report->SetDeviceType("Printer");
  EXPECT_EQ(Attempt([&] { a.r.report->Print(); }),
            kCannotGenerate +
                "O Windows não consegue imprimir devido a problemas com a configuração da impressora");
  // With an output file the same machine writes a PDF.
  QTemporaryDir dir;
  a.r.report->PrinterSetup()->SetOutputFileName(dir.filePath("a.pdf"));
  EXPECT_EQ(Attempt([&] { a.r.report->Print(); }), "");
  EXPECT_TRUE(ReadFile(dir.filePath("a.pdf")).startsWith("%PDF"));
}

// ---------------------------------------------------------------------------
// Printers and papers when the printer list changes

TEST_F(PrinterDevice, SetupsAndPrintersSurviveARebuiltPrinterList) {
  Install({Printer100("P"), Printer100("Q")});
  TppPrinterSetup setup;
  setup.SetPrinterName("Q");
  TppPrinter printer;
  printer.ApplySetup(setup);
  ASSERT_NE(printer.DC(), nullptr);
  // The list is built again (printers added meanwhile): what held infos of
  // the old list looks them up again by name.
  ResetPrinterList();
  TScriptedPrinterBackend& backend = Install({Printer100("R"), Printer100("Q")});
  ASSERT_NE(setup.PrinterInfo(), nullptr);
  EXPECT_EQ(setup.PrinterInfo(), PrinterList()->FindPrinterInfo("Q"));
  EXPECT_EQ(printer.PrinterInfo(), PrinterList()->FindPrinterInfo("Q"));
  EXPECT_EQ(printer.Capabilities()->PaperNames.first(), "A4");
  ASSERT_TRUE(printer.BeginDoc());
  ASSERT_TRUE(printer.StartPage());
  ASSERT_TRUE(printer.EndPage());
  ASSERT_TRUE(printer.EndDoc());
  ASSERT_EQ(backend.Documents.size(), 1);
  EXPECT_EQ(backend.Documents[0].Printer, "Q");
}

TEST_F(PrinterDevice, APrintersOwnPaperIsFoundByItsSizeOnAnotherPrinter) {
  // Codes above 256 are places in one printer's own list.
  TScriptedPrinter p = Printer100("P"), q = Printer100("Q");
  p.Caps.PaperNames = {"A4", "Capa CD"};
  p.Caps.PaperNumbers = {9, 260};
  p.Caps.PaperSizes = {QSize(2100, 2970), QSize(1200, 1200)};
  q.Caps.PaperNames = {"A4", "Envelope Q", "Capa"};
  q.Caps.PaperNumbers = {9, 260, 261};
  q.Caps.PaperSizes = {QSize(2100, 2970), QSize(1100, 2200), QSize(1200, 1200)};
  Install({p, q});
  TppPrinterSetup setup;
  setup.SetPrinterName("P");
  setup.SetUnits(utMMThousandths);
  setup.SetPaperName("Capa CD");
  EXPECT_EQ(setup.PaperSize(), 260);
  setup.SetPrinterName("Q");
  EXPECT_EQ(setup.PaperName(), "Capa");
  EXPECT_EQ(setup.PaperSize(), 261);
  // A standard code still travels by its number.
  setup.SetPaperName("A4");
  setup.SetPrinterName("P");
  EXPECT_EQ(setup.PaperName(), "A4");
  // A stored code above 256 names nothing on the printer a report is
  // loaded with: the stored size stands.
  TppPrinterSetup stored;
  stored.SetPrinterName("Q");
  stored.SetPaperName("A4");
  stored.ReadStreamProperty("PaperSize", 260);
  stored.Loaded();
  EXPECT_EQ(stored.PaperName(), "A4");
  stored.ReadStreamProperty("PaperSize", 9);  // A4
  stored.SetPaperName("Capa");
  stored.Loaded();
  EXPECT_EQ(stored.PaperName(), "A4");
}
