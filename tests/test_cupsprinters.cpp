// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's printers through CUPS.  Without a reachable scheduler the
// backend answers an empty list and the engine behaves as with no printer.
// With the tests' own scheduler (tests/support/start-cupsd.sh, found
// through CUPS_SERVER) its queues are listed and documents are printed,
// each test on a queue of its own that prints into a file of its own.
//
// Where no such scheduler runs, the tests that need one are skipped with a
// message; when CI has started one and says so (LURNS_REQUIRE_CUPS=1),
// a test that finds none fails instead.
#include "document/Registo.h"
#include "platform/CupsPrinterBackend.h"
#include "platform/Dialogs.h"
#include "printing/ImpressaoCapa.h"
#include "report/ppPrintr.h"
#include "report/ppPrnDev.h"
#include "report/ppUtils.h"
#include "support/ModalDialogs.h"
#include "support/PdfTools.h"
#include "support/ReportFixtures.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMargins>
#include <QPrintDialog>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <functional>

#include <cups/cups.h>

namespace {

// The location the tests' own scheduler gives its queues.
constexpr const char* kTestSchedulerLocation = "Lurns test scheduler";

bool CupsRequired() { return qgetenv("LURNS_REQUIRE_CUPS") == "1"; }

QString ServerName() { return QString::fromUtf8(cupsServer()); }

// Why the tests' own scheduler cannot be used, or nothing when it can.
QString WhyNoTestScheduler() {
  if (!TCupsPrinterBackend::ServerReachable())
    return QStringLiteral("no CUPS scheduler is reachable at %1").arg(ServerName());
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, "FilePDF", nullptr);
  if (!dest)
    return QStringLiteral("the CUPS scheduler at %1 has no FilePDF queue").arg(ServerName());
  const char* where = cupsGetOption("printer-location", dest->num_options, dest->options);
  const bool ours = where && QByteArray(where) == kTestSchedulerLocation;
  cupsFreeDests(1, dest);
  if (!ours)
    return QStringLiteral("the CUPS scheduler at %1 is not the tests' own, and the tests add "
                          "queues only there")
        .arg(ServerName());
  return QString();
}

}  // namespace

// Skips the test with the reason, or fails it when CI has started the
// tests' scheduler (LURNS_REQUIRE_CUPS=1): there, not running is a fault.
#define LURNS_CUPS_UNAVAILABLE(why)                                                               \
  do {                                                                                            \
    const std::string lurnsWhy = (why).toStdString();                                             \
    if (CupsRequired()) {                                                                         \
      FAIL() << lurnsWhy << "; CI started a scheduler for these tests (LURNS_REQUIRE_CUPS=1), "    \
             << "so they must run";                                                               \
    } else {                                                                                      \
      GTEST_SKIP() << lurnsWhy << " (sh tests/support/start-cupsd.sh starts the tests' own "      \
                   << "scheduler; see the README)";                                               \
    }                                                                                             \
  } while (0)

#define LURNS_REQUIRE_TEST_SCHEDULER()                        \
  do {                                                        \
    const QString lurnsWhyNot = WhyNoTestScheduler();         \
    if (!lurnsWhyNot.isEmpty()) LURNS_CUPS_UNAVAILABLE(lurnsWhyNot); \
  } while (0)

class CupsPrinters : public ::testing::Test {
 protected:
  void SetUp() override { UseBackend(); }
  void TearDown() override {
    ResetPrinterList();
    SetPrinterBackend(std::make_unique<TNoPrinterBackend>());
    cupsSetServer(nullptr);  // back to CUPS_SERVER or the machine's default
  }
  static void UseBackend() {
    ResetPrinterList();
    SetPrinterBackend(std::make_unique<TCupsPrinterBackend>());
  }
};

// With no scheduler to reach, the list is empty, nothing is the shared
// printer and printer units fall back to the screen.
TEST_F(CupsPrinters, WithoutASchedulerTheListIsEmpty) {
  QTemporaryDir dir;
  cupsSetServer(QFile::encodeName(dir.filePath(QStringLiteral("no-scheduler.sock"))).constData());
  UseBackend();
  EXPECT_FALSE(TCupsPrinterBackend::ServerReachable());
  TppPrinterList* list = PrinterList();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_TRUE(list->DefaultPrinterName().isEmpty());
  EXPECT_EQ(SharedPrinter(), nullptr);
  TppPrinterSetup s;
  EXPECT_EQ(s.PaperSize(), 0);
  EXPECT_EQ(MMThousandthsToUnits(25400, utPrinterPixels, dirHorizontal, SharedPrinter()),
            float(ScreenPixelsPerInch()));
}

// The scheduler's queues, led by "Default", with its default printer.
TEST_F(CupsPrinters, TheSchedulersQueuesAreListedLedByDefault) {
  LURNS_REQUIRE_TEST_SCHEDULER();
  TppPrinterList* list = PrinterList();
  ASSERT_GE(list->Count(), 3);
  EXPECT_EQ(list->Names(0), "Default");
  EXPECT_EQ(list->DefaultPrinterName(), "FilePDF");
  EXPECT_EQ(list->ResolveName(QStringLiteral("Default")), "FilePDF");
  EXPECT_TRUE(list->PrinterNames().contains(QStringLiteral("FilePDF"))) << list->PrinterNames().join(' ').toStdString();
  EXPECT_TRUE(list->PrinterNames().contains(QStringLiteral("OtherPDF"))) << list->PrinterNames().join(' ').toStdString();
  ASSERT_NE(SharedPrinter(), nullptr);
  ASSERT_NE(SharedPrinter()->PrinterInfo(), nullptr);
  EXPECT_EQ(SharedPrinter()->PrinterInfo()->PrinterName, "FilePDF");
}

TEST_F(CupsPrinters, QueuesReportPapersAndPrintToAFile) {
  LURNS_REQUIRE_TEST_SCHEDULER();
  TppPrinterList* list = PrinterList();
  const QString name = QStringLiteral("OtherPDF");
  ASSERT_TRUE(list->PrinterNames().contains(name));
  TppPrinterInfo* info = list->FindPrinterInfo(name);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->PrinterName, name);
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

// In CI (LURNS_REQUIRE_CUPS=1) the printer tests cannot pass by skipping:
// with the scheduler gone they fail; on a machine without one they skip.
TEST(CupsRequired, ASchedulerThatIsGoneFailsTheTestsInsteadOfSkippingThem) {
  QTemporaryDir dir;
  for (bool required : {true, false}) {
    SCOPED_TRACE(required ? "LURNS_REQUIRE_CUPS=1" : "LURNS_REQUIRE_CUPS unset");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), dir.filePath(QStringLiteral("gone.sock")));
    if (required)
      env.insert(QStringLiteral("LURNS_REQUIRE_CUPS"), QStringLiteral("1"));
    else
      env.remove(QStringLiteral("LURNS_REQUIRE_CUPS"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_filter=CupsFilePdf.*:CupsPrinters.*-CupsPrinters.WithoutASchedulerTheListIsEmpty")});
    ASSERT_TRUE(p.waitForStarted(10000));
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString out = QString::fromLocal8Bit(p.readAll());
    // One result line per test: "[  FAILED  ] Suite.Name (12 ms)", "[  SKIPPED ] ...".
    auto results = [&out](const char* kind) {
      static const QString name = QStringLiteral(R"( \w+\.\w+ \(\d+ ms\)$)");
      return out.count(QRegularExpression(QStringLiteral("^\\[  %1 \\]").arg(QLatin1String(kind)) + name,
                                          QRegularExpression::MultilineOption));
    };
    // Every test that started, whatever their number.
    const int started = out.count(QRegularExpression(QStringLiteral(R"(^\[ RUN      \] \w+\.\w+$)"),
                                                     QRegularExpression::MultilineOption));
    ASSERT_GE(started, 5) << out.toStdString();
    if (required) {
      EXPECT_EQ(p.exitCode(), 1) << out.toStdString();
      EXPECT_EQ(results("FAILED "), started) << out.toStdString();
      EXPECT_EQ(results("SKIPPED"), 0) << out.toStdString();
      EXPECT_TRUE(out.contains(QStringLiteral("so they must run"))) << out.toStdString();
    } else {
      EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
      EXPECT_EQ(results("SKIPPED"), started) << out.toStdString();
    }
  }
}

// ---------------------------------------------------------------------------
// A landscape page and a portrait page, each with a black square at a known
// place on the paper, printed as one document and measured on the output.

namespace {

constexpr int kRasterDpi = 600;
constexpr double kToleranceMM = 0.1;
constexpr int kJobWaitMs = 60000;

// The square of each page: its corner from the paper's top left corner and
// its side, in thousandths of a millimetre.  The pages have different
// squares so that a lost or swapped page shows.
struct Mark {
  int Left;
  int Top;
  int Side;
};
constexpr Mark kLandscapeMark{20000, 30000, 5000};
constexpr Mark kPortraitMark{40000, 60000, 8000};

// Waits until the job with `title` on `queue` has finished; answers its
// final state, or 0 when no such job finished in time.
int WaitForJob(const char* queue, const QString& title, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  const QByteArray wanted = title.toUtf8();
  for (;;) {
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
    int state = 0;
    for (int i = 0; i < n; ++i)
      if (jobs[i].title && wanted == jobs[i].title) state = jobs[i].state;
    cupsFreeJobs(n, jobs);
    if (state >= IPP_JSTATE_CANCELED) return state;
    if (deadline.hasExpired()) return 0;
    QThread::msleep(200);
  }
}

// Waits until `file` was written after `since` and its size has stopped
// changing.
bool WaitForFile(const QString& file, const QDateTime& since, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  qint64 lastSize = -1;
  for (;;) {
    const QFileInfo fi(file);
    if (fi.exists() && fi.lastModified() >= since && fi.size() > 0) {
      if (fi.size() == lastSize) return true;
      lastSize = fi.size();
    }
    if (deadline.hasExpired()) return false;
    QThread::msleep(200);
  }
}

// The poppler tools' readings, with this file's resolution for pictures.
using pdf::DarkBoxMM;
using pdf::Describe;
using pdf::GreyImage;
using pdf::RunTool;
using PdfPage = pdf::Page;
QList<PdfPage> PdfPages(const QString& file, QString* why) { return pdf::Pages(file, why); }
// The page rendered as a viewer shows it, grey, at kRasterDpi.
GreyImage Rasterise(const QString& file, int page, QString* why) {
  return pdf::Rasterise(file, page, kRasterDpi, why);
}

// Draws the square at its place on the paper: the canvas counts from the
// printable area's corner, so the printer's unprintable offsets come off.
void DrawMark(TppPrinter& printer, const Mark& mark) {
  int left = 0, top = 0, right = 0, bottom = 0;
  printer.PageOffsets(left, top, right, bottom);
  auto px = [&](int thousandths, TppDirection dir) {
    return int(std::lround(MMThousandthsToUnits(thousandths, utPrinterPixels, dir, &printer)));
  };
  const int x = px(mark.Left, dirHorizontal) - left;
  const int y = px(mark.Top, dirVertical) - top;
  const int x2 = px(mark.Left + mark.Side, dirHorizontal) - left;
  const int y2 = px(mark.Top + mark.Side, dirVertical) - top;
  printer.Canvas()->FillRect(QRect(QPoint(x, y), QPoint(x2 - 1, y2 - 1)), clBlack);
}

// The unprintable offsets the printer reported for each page, in printer
// pixels (left, top, right, bottom), and its resolution.
struct PrintedOffsets {
  QMargins Landscape;
  QMargins Portrait;
  int PixelsPerInch = 0;
};

QMargins CurrentOffsets(TppPrinter& printer) {
  int left = 0, top = 0, right = 0, bottom = 0;
  printer.PageOffsets(left, top, right, bottom);
  return QMargins(left, top, right, bottom);
}

// Prints the two pages on A4 through the printer object as one document,
// the landscape page (kLandscapeMark) and the portrait page (kPortraitMark)
// in the order asked for.  Orientation changes mid-document, as the engine
// changes it between pages: the setup is applied again before the page.
void PrintTwoPages(TppPrinter& printer, const QString& printerName, const QString& title,
                   const QString& outputFile, bool landscapeFirst, PrintedOffsets& offsets) {
  TppPrinterSetup s;
  s.SetPrinterName(printerName);
  s.SetUnits(utMMThousandths);
  TppPrinterCapabilities* caps = PrinterList()->FindPrinterInfo(printerName)->Capabilities();
  const int a4 = caps->PaperNumbers.indexOf(QStringLiteral("9"));
  ASSERT_GE(a4, 0) << "no A4 on " << printerName.toStdString();
  s.SetPaperName(caps->PaperNames[a4]);
  s.SetDocumentName(title);
  s.SetOutputFileName(outputFile);
  const TPrinterOrientation order[2] = {landscapeFirst ? poLandscape : poPortrait,
                                        landscapeFirst ? poPortrait : poLandscape};
  for (int page = 0; page < 2; ++page) {
    s.SetOrientation(order[page]);
    printer.ApplySetup(s);
    if (page == 0) {
      ASSERT_TRUE(printer.BeginDoc()) << "the document could not be started";
    }
    printer.StartPage();
    ASSERT_TRUE(printer.PageOpen());
    const bool landscape = order[page] == poLandscape;
    (landscape ? offsets.Landscape : offsets.Portrait) = CurrentOffsets(printer);
    DrawMark(printer, landscape ? kLandscapeMark : kPortraitMark);
    printer.EndPage();
  }
  int x = 0, y = 0;
  printer.PixelsPerInch(x, y);
  EXPECT_EQ(x, y);
  offsets.PixelsPerInch = y;
  printer.EndDoc();
  EXPECT_FALSE(printer.Printing());
}

QRectF MarkMM(const Mark& m) {
  return QRectF(m.Left / 1000.0, m.Top / 1000.0, m.Side / 1000.0, m.Side / 1000.0);
}

// Where a square drawn on a landscape page of `paperLengthMM` lands when
// the page is turned a quarter counter-clockwise onto a portrait sheet:
// the page's top edge along the sheet's left edge, its left edge along the
// sheet's bottom edge.
QRectF TurnedOntoPortraitSheet(const QRectF& onPage, double paperLengthMM) {
  return QRectF(QPointF(onPage.top(), paperLengthMM - onPage.right()),
                QPointF(onPage.bottom(), paperLengthMM - onPage.left()));
}

void ExpectBoxNear(const QRectF& found, const QRectF& expected, const char* what) {
  SCOPED_TRACE(what);
  ASSERT_FALSE(found.isEmpty()) << "no mark found";
  EXPECT_NEAR(found.left(), expected.left(), kToleranceMM) << Describe(found);
  EXPECT_NEAR(found.top(), expected.top(), kToleranceMM) << Describe(found);
  EXPECT_NEAR(found.right(), expected.right(), kToleranceMM) << Describe(found);
  EXPECT_NEAR(found.bottom(), expected.bottom(), kToleranceMM) << Describe(found);
}

double PixelsToMM(int pixels, int ppi) { return pixels * 25.4 / ppi; }

constexpr double kA4WidthPt = 595.276, kA4HeightPt = 841.89, kA4HeightMM = 297.0;

}  // namespace

// The queue that the geometry is checked on: one of the test's own, made
// like FilePDF (a generic PDF printer whose PPD has hardware margins, 18 pt
// left and right, 36 pt top and bottom on A4), that writes each job into
// a file of this test.  It is removed again at the end.
class CupsFilePdf : public CupsPrinters {
 protected:
  void SetUp() override {
    LURNS_REQUIRE_TEST_SCHEDULER();
    ASSERT_TRUE(dir_.isValid());
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    queue_ = QStringLiteral("Lurns_%1_%2")
                 .arg(QString::fromLatin1(test->name()))
                 .arg(QCoreApplication::applicationPid());
    outputFile_ = dir_.filePath(QStringLiteral("job.pdf"));
    AddQueue();
    if (HasFatalFailure()) return;
    CupsPrinters::SetUp();  // the list, with the new queue in it
  }
  void TearDown() override {
    if (added_) {
      ipp_t* request = ippNewRequest(IPP_OP_CUPS_DELETE_PRINTER);
      ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, PrinterUri().constData());
      ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/admin/"));
      EXPECT_LE(cupsLastError(), IPP_STATUS_OK_CONFLICTING)
          << "the queue " << queue_.toStdString() << " was not removed: " << cupsLastErrorString();
    }
    CupsPrinters::TearDown();
  }

  QByteArray PrinterUri() const { return "ipp://localhost/printers/" + queue_.toUtf8(); }

  // Adds the test's queue with the printer description of source_.
  void AddQueue() {
    QTemporaryFile ppd;
    ASSERT_TRUE(ppd.open());
    const QByteArray resource = "/printers/" + source_ + ".ppd";
    const http_status_t got = cupsGetFd(CUPS_HTTP_DEFAULT, resource.constData(), ppd.handle());
    ASSERT_EQ(got, HTTP_STATUS_OK) << source_.constData() << "'s printer description could not be read";
    ppd.close();
    const QByteArray device = QUrl::fromLocalFile(outputFile_).toEncoded();
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, PrinterUri().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, device.constData());
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_TEXT, "printer-location", nullptr, kTestSchedulerLocation);
    ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    ippDelete(cupsDoFileRequest(CUPS_HTTP_DEFAULT, request, "/admin/",
                                QFile::encodeName(ppd.fileName()).constData()));
    ASSERT_LE(cupsLastError(), IPP_STATUS_OK_CONFLICTING)
        << "the queue " << queue_.toStdString() << " could not be added: " << cupsLastErrorString();
    added_ = true;
  }

  // Prints the two pages as a spooler job, waits for it and checks what
  // the queue wrote.
  void CheckSpoolerJob(bool landscapeFirst) {
    const QString title = QStringLiteral("Lurns two pages %1-%2")
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDateTime::currentMSecsSinceEpoch());
    // File times have whole seconds on some file systems.
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    TppPrinter printer;
    PrintedOffsets offsets;
    PrintTwoPages(printer, queue_, title, QString(), landscapeFirst, offsets);
    if (HasFatalFailure()) return;

    // The hardware margins of the queue's A4, and the same margins turned
    // with the landscape page (see TurnedOntoPortraitSheet).
    const int ppi = offsets.PixelsPerInch;
    ASSERT_GT(ppi, 0);
    const QMargins& p = offsets.Portrait;
    EXPECT_NEAR(PixelsToMM(p.left(), ppi), 6.35, kToleranceMM);
    EXPECT_NEAR(PixelsToMM(p.top(), ppi), 12.7, kToleranceMM);
    EXPECT_NEAR(PixelsToMM(p.right(), ppi), 6.35, kToleranceMM);
    EXPECT_NEAR(PixelsToMM(p.bottom(), ppi), 12.7, kToleranceMM);
    EXPECT_EQ(offsets.Landscape, QMargins(p.bottom(), p.left(), p.top(), p.right()));

    const int state = WaitForJob(queue_.toUtf8().constData(), title, kJobWaitMs);
    ASSERT_NE(state, 0) << "the job did not finish within " << kJobWaitMs / 1000 << " s";
    ASSERT_EQ(state, IPP_JSTATE_COMPLETED) << "the job ended in state " << state;
    ASSERT_TRUE(WaitForFile(outputFile_, started, 10000))
        << outputFile_.toStdString() << " was not written";
    ASSERT_TRUE(QFileInfo(outputFile_).isReadable())
        << outputFile_.toStdString() << " cannot be read: run the tests as the user "
        << "that the scheduler writes the file for (root in CI)";

    QString why;
    // The file is this job's: its title is in it.
    const QString info = QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {outputFile_}, &why));
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();
    EXPECT_TRUE(info.contains(title)) << "the file is another job's: " << info.toStdString();

    // CUPS delivers both pages on portrait A4 sheets: the landscape page is
    // turned onto its sheet, unscaled.
    const QList<PdfPage> pages = PdfPages(outputFile_, &why);
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();
    ASSERT_EQ(pages.size(), 2);
    for (const PdfPage& page : pages) {
      EXPECT_NEAR(page.SizePt.width(), kA4WidthPt, 0.5);
      EXPECT_NEAR(page.SizePt.height(), kA4HeightPt, 0.5);
      EXPECT_EQ(page.Rotation, 0);
    }
    const int landscapePage = landscapeFirst ? 1 : 2;
    ExpectBoxNear(DarkBoxMM(Rasterise(outputFile_, landscapePage, &why)),
                  TurnedOntoPortraitSheet(MarkMM(kLandscapeMark), kA4HeightMM),
                  "landscape page");
    ExpectBoxNear(DarkBoxMM(Rasterise(outputFile_, 3 - landscapePage, &why)),
                  MarkMM(kPortraitMark), "portrait page");
    EXPECT_TRUE(why.isEmpty()) << why.toStdString();
  }

  QTemporaryDir dir_;
  // The queue whose printer description the test's queue takes.
  QByteArray source_ = "FilePDF";
  QString queue_;
  QString outputFile_;
  bool added_ = false;
};

// A cover printed on a queue by the program's print command: one job of
// its three pages, each copy of a page after the other (2 copies: six
// sheets), delivered on A4 sheets.
TEST_F(CupsFilePdf, ACoverPrintsAsOneJobWithItsCopies) {
  const QString title = QStringLiteral("Lurns cover %1-%2")
                            .arg(QCoreApplication::applicationPid())
                            .arg(QDateTime::currentMSecsSinceEpoch());
  const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
  TDocumento d;
  TObjecto t = TObjecto::NovoTexto();
  t.Texto = QStringLiteral("Lado A");
  t.Fonte.Nome = QStringLiteral("Arial");
  t.Left = t.Top = 20;
  t.Width = 100;
  t.Height = 20;
  d.Adicionar(folhaFrente, t);
  TImpressaoCapa capa;
  capa.Preparar(d, {});
  TPedidoImpressao pedido;
  pedido.Paginas = {paginaFrente, paginaTras, paginaCD};
  pedido.Copias = 2;
  pedido.Impressora = queue_;
  pedido.NomeDocumento = title;
  ASSERT_TRUE(capa.Imprimir(pedido));
  const int state = WaitForJob(queue_.toUtf8().constData(), title, kJobWaitMs);
  ASSERT_EQ(state, IPP_JSTATE_COMPLETED) << "the job ended in state " << state;
  ASSERT_TRUE(WaitForFile(outputFile_, started, 10000)) << outputFile_.toStdString() << " was not written";
  QString why;
  const QList<PdfPage> pages = PdfPages(outputFile_, &why);
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  ASSERT_EQ(pages.size(), 6);
  for (const PdfPage& page : pages) {
    EXPECT_NEAR(std::min(page.SizePt.width(), page.SizePt.height()), kA4WidthPt, 0.5);
    EXPECT_NEAR(std::max(page.SizePt.width(), page.SizePt.height()), kA4HeightPt, 0.5);
  }
}

// Through the output file name the document is a PDF of true-size pages,
// each in its own orientation, without unprintable borders, with the
// squares where they were drawn.
TEST_F(CupsFilePdf, TwoPagesIntoAFileKeepSizesAndMarks) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("two-pages.pdf"));
  TppPrinter printer;
  PrintedOffsets offsets;
  PrintTwoPages(printer, queue_, QStringLiteral("Lurns two pages"), file, true, offsets);
  if (HasFatalFailure()) return;
  EXPECT_EQ(offsets.Landscape, QMargins());
  EXPECT_EQ(offsets.Portrait, QMargins());

  QString why;
  const QList<PdfPage> pages = PdfPages(file, &why);
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  ASSERT_EQ(pages.size(), 2);
  EXPECT_NEAR(pages[0].SizePt.width(), kA4HeightPt, 0.5);
  EXPECT_NEAR(pages[0].SizePt.height(), kA4WidthPt, 0.5);
  EXPECT_NEAR(pages[1].SizePt.width(), kA4WidthPt, 0.5);
  EXPECT_NEAR(pages[1].SizePt.height(), kA4HeightPt, 0.5);
  EXPECT_EQ(pages[0].Rotation, 0);
  EXPECT_EQ(pages[1].Rotation, 0);
  ExpectBoxNear(DarkBoxMM(Rasterise(file, 1, &why)), MarkMM(kLandscapeMark), "landscape page");
  ExpectBoxNear(DarkBoxMM(Rasterise(file, 2, &why)), MarkMM(kPortraitMark), "portrait page");
  EXPECT_TRUE(why.isEmpty()) << why.toStdString();
}

// One job through the spooler: a landscape page, then a portrait page.
TEST_F(CupsFilePdf, LandscapeThenPortraitThroughTheSpooler) { CheckSpoolerJob(true); }

// The other order: the job's last page decides nothing for the first.
TEST_F(CupsFilePdf, PortraitThenLandscapeThroughTheSpooler) { CheckSpoolerJob(false); }

// ---------------------------------------------------------------------------
// Reports through the printer device to the FilePDF queue: one job of
// several reports (each page on its own paper orientation), a cancelled
// job, and a queue that refuses jobs.

namespace {

// A page of a cover print: a bar 567 x 8 screen pixels (150.019 x 2.117
// mm: shapes are laid out in whole screen pixels) whose place tells the
// page (at 30, 60 and 90 mm from the top), on landscape or portrait A4.
constexpr int kBarLength = 567, kBarHeight = 8;
double BarMM(int pixels) {
  return UnitsToMMThousandths(utScreenPixels, dirHorizontal, nullptr, float(pixels)) / 1000.0;
}

struct BarReport {
  TComponent owner;
  TestReport r;
  BarReport(int pageNo, TPrinterOrientation o) : r(&owner, o, 120000) {
    TppShape* bar = r.Square(20000 - 6350, 30000 * pageNo - 6350, 1000, &owner);
    bar->SetmmWidth(int(BarMM(kBarLength) * 1000));
    bar->SetmmHeight(int(BarMM(kBarHeight) * 1000));
  }
};

// The bar of page `pageNo` where the sheet shows it, in millimetres: a
// landscape page lies turned on the upright sheet.
QRectF ExpectedBar(int pageNo, TPrinterOrientation o) {
  const QRectF onPage(20, 30.0 * pageNo, BarMM(kBarLength), BarMM(kBarHeight));
  return o == poLandscape ? TurnedOntoPortraitSheet(onPage, kA4HeightMM) : onPage;
}

// Sends the pages `from`..`to` of the three-page cover through one device
// as one job and answers the job's output file pages, measured.
class CupsCoverJobs : public CupsFilePdf {
 protected:
  void PrintPages(int from, int to, const QString& title) {
    static const TPrinterOrientation kOrient[3] = {poLandscape, poLandscape, poPortrait};
    std::vector<std::unique_ptr<BarReport>> reports;
    std::vector<TppProducer*> list;
    for (int p = from; p <= to; ++p) {
      reports.push_back(std::make_unique<BarReport>(p, kOrient[p - 1]));
      // The test's own queue, so that the file it reads is this job's.
      reports.back()->r.report->PrinterSetup()->SetPrinterName(queue_);
      list.push_back(reports.back()->r.report);
    }
    TppPrinterDevice device;
    TppPrinterSetup setup;
    setup.Assign(*list.front()->PrinterSetup());
    setup.SetDocumentName(title);
    device.Printer()->ApplySetup(setup);
    ASSERT_TRUE(PrintReports(device, list));
  }
};

}  // namespace

// Qt used to set a job's orientation from its last page; the program sends
// its own PDF with each page's size and no job orientation.  Measured: the
// landscape pages come out turned onto the upright sheet, the portrait one
// upright, none cut or scaled, whether the job holds pages 1-3, 1 or 3 —
// and the same when the program turns the landscape pages itself (for
// drivers that would not).
TEST_F(CupsCoverJobs, MixedOrientationsKeepEveryBarAtItsLength) {
  static const TPrinterOrientation kOrient[3] = {poLandscape, poLandscape, poPortrait};
  const struct {
    int from, to;
    bool upright;
  } ranges[] = {{1, 3, false}, {1, 1, false}, {3, 3, false}, {1, 3, true}};
  auto* backend = dynamic_cast<TCupsPrinterBackend*>(&PrinterBackend());
  ASSERT_NE(backend, nullptr);
  for (const auto& range : ranges) {
    SCOPED_TRACE(testing::Message() << "pages " << range.from << "-" << range.to
                                    << (range.upright ? " upright" : ""));
    backend->UprightPages = range.upright;
    const QString title = QStringLiteral("Lurns cover %1-%2 %3-%4")
                              .arg(range.from)
                              .arg(range.to)
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDateTime::currentMSecsSinceEpoch());
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    PrintPages(range.from, range.to, title);
    if (HasFatalFailure()) return;
    const int state = WaitForJob(queue_.toUtf8().constData(), title, kJobWaitMs);
    ASSERT_EQ(state, IPP_JSTATE_COMPLETED) << "the job ended in state " << state;
    ASSERT_TRUE(WaitForFile(outputFile_, started, 10000));
    QString why;
    const QString info = QString::fromUtf8(pdf::RunTool("pdfinfo", {outputFile_}, &why));
    ASSERT_TRUE(info.contains(title)) << "the file is another job's: " << info.toStdString();
    const QList<pdf::Page> pages = pdf::Pages(outputFile_, &why);
    ASSERT_EQ(pages.size(), range.to - range.from + 1);
    for (int p = range.from; p <= range.to; ++p) {
      const pdf::Page& page = pages[p - range.from];
      EXPECT_NEAR(page.SizePt.width(), kA4WidthPt, 0.5) << p;
      EXPECT_NEAR(page.SizePt.height(), kA4HeightPt, 0.5) << p;
      const QRectF bar = pdf::DarkBoxMM(pdf::Rasterise(outputFile_, p - range.from + 1, 300, &why));
      ExpectBoxNear(bar, ExpectedBar(p, kOrient[p - 1]), "bar");
      // At its length: not scaled, not cut.
      EXPECT_NEAR(std::max(bar.width(), bar.height()), BarMM(kBarLength), kToleranceMM) << p;
    }
  }
}

// A cancelled job never reaches the queue.
TEST_F(CupsCoverJobs, ACancelledJobIsNotSent) {
  const QString title =
      QStringLiteral("Lurns cancelled %1").arg(QDateTime::currentMSecsSinceEpoch());
  BarReport a(1, poLandscape), b(2, poLandscape);
  b.r.Square(0, 0, 1000, &b.owner)->OnPrint = [&](TComponent*) { b.r.report->Cancel(); };
  TppPrinterDevice device;
  TppPrinterSetup setup;
  setup.Assign(*a.r.report->PrinterSetup());
  setup.SetPrinterName("FilePDF");
  setup.SetDocumentName(title);
  device.Printer()->ApplySetup(setup);
  EXPECT_FALSE(PrintReports(device, {a.r.report, b.r.report}));
  // Had it been sent, it would be listed (in any state) by now.
  QThread::msleep(1000);
  cups_job_t* jobs = nullptr;
  const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, "FilePDF", 0, CUPS_WHICHJOBS_ALL);
  bool sent = false;
  for (int i = 0; i < n; ++i) sent = sent || (jobs[i].title && title.toUtf8() == jobs[i].title);
  cupsFreeJobs(n, jobs);
  EXPECT_FALSE(sent);
}

// A calibration kept for the queue moves and scales every page of a job
// on it, measured on the upright sheet (a landscape page, turned onto it,
// included), by exactly what was entered; the same pages into a PDF file
// stay where they belong.
TEST_F(CupsCoverJobs, AQueuesCalibrationMovesAndScalesItsJobsButNeverAFile) {
  const TPrinterCalibration c{2.0, -1.5, 1.005, 0.995};
  GravarCalibracao(*AbrirRegisto(), queue_, c);
  SetPrinterCalibrationSource([](const QString& fila) {
    auto registo = AbrirRegisto();
    return LerCalibracao(*registo, fila);
  });
  struct Restore {
    QString queue;
    ~Restore() {
      SetPrinterCalibrationSource({});
      GravarCalibracao(*AbrirRegisto(), queue, std::nullopt);
    }
  } restore{queue_};
  static const TPrinterOrientation kOrient[3] = {poLandscape, poLandscape, poPortrait};
  auto calibrated = [&](const QRectF& r) {
    return QRectF(QPointF(c.OffsetX + c.ScaleX * r.left(), c.OffsetY + c.ScaleY * r.top()),
                  QPointF(c.OffsetX + c.ScaleX * r.right(), c.OffsetY + c.ScaleY * r.bottom()));
  };
  const QString title = QStringLiteral("Lurns calibrated %1").arg(QDateTime::currentMSecsSinceEpoch());
  const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
  PrintPages(1, 3, title);
  if (HasFatalFailure()) return;
  const int state = WaitForJob(queue_.toUtf8().constData(), title, kJobWaitMs);
  ASSERT_EQ(state, IPP_JSTATE_COMPLETED) << "the job ended in state " << state;
  ASSERT_TRUE(WaitForFile(outputFile_, started, 10000));
  QString why;
  for (int p = 1; p <= 3; ++p) {
    SCOPED_TRACE(p);
    const QRectF bar = pdf::DarkBoxMM(pdf::Rasterise(outputFile_, p, 600, &why));
    ExpectBoxNear(bar, calibrated(ExpectedBar(p, kOrient[p - 1])), "calibrated bar");
  }

  // Into a file through the same queue's name: the document as it is.
  const QString file = dir_.filePath(QStringLiteral("direct.pdf"));
  std::vector<std::unique_ptr<BarReport>> reports;
  std::vector<TppProducer*> list;
  for (int p = 1; p <= 3; ++p) {
    reports.push_back(std::make_unique<BarReport>(p, kOrient[p - 1]));
    reports.back()->r.report->PrinterSetup()->SetPrinterName(queue_);
    list.push_back(reports.back()->r.report);
  }
  TppPrinterDevice device;
  TppPrinterSetup setup;
  setup.Assign(*list.front()->PrinterSetup());
  setup.SetOutputFileName(file);
  device.Printer()->ApplySetup(setup);
  ASSERT_TRUE(PrintReports(device, list));
  for (int p = 1; p <= 3; ++p) {
    SCOPED_TRACE(p);
    const QRectF bar = pdf::DarkBoxMM(pdf::Rasterise(file, p, 600, &why));
    const QRectF onPage(20, 30.0 * p, BarMM(kBarLength), BarMM(kBarHeight));
    ExpectBoxNear(bar, onPage, "bar in the file");
  }
}

// A queue that does not accept jobs: the print error says so.  The test's
// own queue is set to refuse jobs (no other test prints on it), through
// the scheduler itself; should that be impossible, the test fails where
// the printer tests are required, never skips.
TEST_F(CupsCoverJobs, ARefusedJobIsAPrintError) {
  auto acceptJobs = [this](bool accept) {
    ipp_t* request = ippNewRequest(accept ? IPP_OP_CUPS_ACCEPT_JOBS : IPP_OP_CUPS_REJECT_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, PrinterUri().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    if (!accept)
      ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_TEXT, "printer-state-message", nullptr, "Lurns test");
    ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/admin/"));
    return cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
  };
  if (!acceptJobs(false))
    LURNS_CUPS_UNAVAILABLE(QStringLiteral("the queue %1 cannot be set to refuse jobs: %2")
                               .arg(queue_, QString::fromUtf8(cupsLastErrorString())));
  struct Accept {
    std::function<bool(bool)> accept;
    ~Accept() { accept(true); }
  } accept{acceptJobs};
  BarReport a(1, poLandscape);
  a.r.report->PrinterSetup()->SetPrinterName(queue_);
  TppPrinterDevice device;
  device.Printer()->ApplySetup(*a.r.report->PrinterSetup());
  QString error;
  try {
    PrintReports(device, {a.r.report});
  } catch (const EPrintError& e) {
    error = e.Message;
  }
  EXPECT_TRUE(error.startsWith("Impossível Gerar Relatório\n\nA impressora " + queue_ + " recusou o documento."))
      << error.toStdString();
}

// ---------------------------------------------------------------------------
// A queue with trays (made like OtherPDF, whose printer description has
// input slots): the tray chosen goes with the job of the pages printed,
// and pages from another tray are a job of their own.

namespace {

// The attributes of the jobs titled `title` on `queue`, in the order the
// jobs were made: each as keyword -> value (the first value, as text).
QList<QMap<QByteArray, QByteArray>> JobsTitled(const QString& queue, const QString& title) {
  QList<QMap<QByteArray, QByteArray>> out;
  const QByteArray uri = "ipp://localhost/printers/" + queue.toUtf8();
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.constData());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
  static const char* const wanted[] = {"job-id", "job-name", "job-state", "media", "media-source",
                                       "job-impressions-completed", "sides", "print-color-mode"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)),
                nullptr, wanted);
  ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
  QMap<QByteArray, QByteArray> job;
  auto flush = [&] {
    if (job.value("job-name") == title.toUtf8()) out.append(job);
    job.clear();
  };
  for (ipp_attribute_t* a = response ? ippFirstAttribute(response) : nullptr; a; a = ippNextAttribute(response)) {
    if (!ippGetName(a)) {
      flush();
      continue;
    }
    char value[1024] = "";
    ippAttributeString(a, value, sizeof(value));
    job.insert(ippGetName(a), value);
  }
  flush();
  ippDelete(response);
  std::sort(out.begin(), out.end(), [](const auto& x, const auto& y) {
    return x.value("job-id").toInt() < y.value("job-id").toInt();
  });
  return out;
}

}  // namespace

class CupsTrayJobs : public CupsCoverJobs {
 protected:
  void SetUp() override {
    source_ = "OtherPDF";
    CupsCoverJobs::SetUp();
  }
  // A tray of the queue other than the automatic choice.
  TCupsPrinterBackend::Tray ATray() {
    auto* backend = dynamic_cast<TCupsPrinterBackend*>(&PrinterBackend());
    EXPECT_NE(backend, nullptr);
    if (!backend) return {};
    for (const TCupsPrinterBackend::Tray& t : backend->Info(queue_).Trays)
      if (t.Keyword != QLatin1String("auto")) return t;
    ADD_FAILURE() << queue_.toStdString() << " has no trays";
    return {};
  }
  // Waits for every job titled `title` to finish; answers them.
  QList<QMap<QByteArray, QByteArray>> Finished(const QString& title, int jobs) {
    QDeadlineTimer deadline(kJobWaitMs);
    for (;;) {
      const auto list = JobsTitled(queue_, title);
      const bool done = list.size() == jobs && std::all_of(list.begin(), list.end(), [](const auto& j) {
                          return j.value("job-state") == "completed" || j.value("job-state") == "canceled" ||
                                 j.value("job-state") == "aborted";
                        });
      if (done || deadline.hasExpired()) return list;
      QThread::msleep(200);
    }
  }
};

// The cover printed with only its page 3 on a queue whose tray was chosen
// in printer setup: the job is made with that tray (and A4).
TEST_F(CupsTrayJobs, ACoverPrintedWithOnlyPage3CarriesTheChosenTray) {
  const TCupsPrinterBackend::Tray tray = ATray();
  ASSERT_FALSE(tray.Keyword.isEmpty());
  const QString title = QStringLiteral("Lurns tray %1-%2")
                            .arg(QCoreApplication::applicationPid())
                            .arg(QDateTime::currentMSecsSinceEpoch());
  TDocumento d;
  TImpressaoCapa capa;
  capa.Preparar(d, {});
  TPedidoImpressao pedido;
  pedido.Paginas = {paginaCD};
  pedido.Impressora = queue_;
  pedido.Tabuleiro = tray.Name;
  pedido.NomeDocumento = title;
  ASSERT_TRUE(capa.Imprimir(pedido));
  const auto jobs = Finished(title, 1);
  ASSERT_EQ(jobs.size(), 1);
  EXPECT_EQ(jobs[0].value("job-state"), "completed");
  EXPECT_EQ(jobs[0].value("media-source"), tray.Keyword.toUtf8());
  EXPECT_EQ(jobs[0].value("media"), "iso_a4_210x297mm");
}

// Pages 1 and 2 from the automatic tray, page 3 from another: two jobs,
// each with its pages and its tray, both printed.
TEST_F(CupsTrayJobs, PagesFromAnotherTrayAreAJobOfTheirOwn) {
  const TCupsPrinterBackend::Tray tray = ATray();
  ASSERT_FALSE(tray.Keyword.isEmpty());
  const QString title = QStringLiteral("Lurns trays %1-%2")
                            .arg(QCoreApplication::applicationPid())
                            .arg(QDateTime::currentMSecsSinceEpoch());
  static const TPrinterOrientation kOrient[3] = {poLandscape, poLandscape, poPortrait};
  std::vector<std::unique_ptr<BarReport>> reports;
  std::vector<TppProducer*> list;
  for (int p = 1; p <= 3; ++p) {
    reports.push_back(std::make_unique<BarReport>(p, kOrient[p - 1]));
    reports.back()->r.report->PrinterSetup()->SetPrinterName(queue_);
    list.push_back(reports.back()->r.report);
  }
  list.back()->PrinterSetup()->SetBinName(tray.Name);
  TppPrinterDevice device;
  TppPrinterSetup setup;
  setup.Assign(*list.front()->PrinterSetup());
  setup.SetDocumentName(title);
  device.Printer()->ApplySetup(setup);
  ASSERT_TRUE(PrintReports(device, list));
  const auto jobs = Finished(title, 2);
  ASSERT_EQ(jobs.size(), 2);
  for (const auto& job : jobs) EXPECT_EQ(job.value("job-state"), "completed");
  EXPECT_FALSE(jobs[0].contains("media-source")) << jobs[0].value("media-source").constData();
  EXPECT_EQ(jobs[1].value("media-source"), tray.Keyword.toUtf8());
  if (jobs[0].contains("job-impressions-completed") && jobs[1].contains("job-impressions-completed")) {
    EXPECT_EQ(jobs[0].value("job-impressions-completed"), "2");
    EXPECT_EQ(jobs[1].value("job-impressions-completed"), "1");
  }
  // The last job's file is page 3's.
  QString why;
  EXPECT_EQ(pdf::Pages(outputFile_, &why).size(), 1) << why.toStdString();
}

// ---------------------------------------------------------------------------
// Qt's print dialog for a queue: every choice it offers is answered (sides,
// colour, page order, page set, the paper and pages per sheet of the
// printer's properties, the driver's own options such as its trays), and
// what the program cannot honour is not offered (the orientation and
// margins of the properties, a list of single pages).

TEST_F(CupsPrinters, ThePrintDialogAnswersEveryChoiceItOffersForAQueue) {
  LURNS_REQUIRE_TEST_SCHEDULER();
  QtDialogLayer layer;
  TPrintDialogSpec request;
  request.MinPage = 1;
  request.MaxPage = 3;
  request.FromPage = 1;
  request.ToPage = 3;
  request.AllowSelection = true;
  request.PrinterName = QStringLiteral("OtherPDF");
  request.PaperName = QStringLiteral("A4");
  bool pagesListOffered = true, orientationOffered = true, marginsOffered = true, greyOffered = false;
  QString paperShown;
  auto visible = [](QWidget* dialog, const char* name) {
    QWidget* w = dialog->findChild<QWidget*>(QLatin1String(name));
    return w && w->isVisibleTo(dialog);
  };
  ExpectDialog print(
      "the print dialog", [](QWidget* w) { return qobject_cast<QPrintDialog*>(w) != nullptr; },
      [&](QWidget* w) {
        pagesListOffered = visible(w, "pagesRadioButton");
        auto click = [w](const char* name) {
          auto* b = w->findChild<QAbstractButton*>(QLatin1String(name));
          ASSERT_NE(b, nullptr) << name;
          b->click();
        };
        click("duplexShort");
        click("grayscale");
        click("reverse");
        greyOffered = w->findChild<QRadioButton*>(QStringLiteral("grayscale"))->isEnabled();
        w->findChild<QComboBox*>(QStringLiteral("pageSetCombo"))->setCurrentIndex(1);  // odd
        ExpectDialog properties(
            "the printer's properties", [](QWidget* p) { return p->inherits("QPrintPropertiesDialog"); },
            [&](QWidget* p) {
              orientationOffered = visible(p, "portrait") || visible(p, "landscape");
              marginsOffered = visible(p, "topMargin");
              auto* paper = p->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
              ASSERT_NE(paper, nullptr);
              paperShown = paper->currentText();
              paper->setCurrentIndex(paper->findText(QStringLiteral("A5")));
              auto* perSheet = p->findChild<QComboBox*>(QStringLiteral("pagesPerSheetCombo"));
              ASSERT_NE(perSheet, nullptr);
              perSheet->setCurrentIndex(1);  // 2 (2x1)
              // The driver's own options: its input slots.
              for (QComboBox* c : p->findChildren<QComboBox*>())
                if (const int i = c->findText(QStringLiteral("Tray 1")); i >= 0) c->setCurrentIndex(i);
              static_cast<QDialog*>(p)->accept();
            });
        click("properties");
        EXPECT_TRUE(properties.Answered());
        static_cast<QDialog*>(w)->accept();
      });
  ASSERT_TRUE(layer.Print(request));
  ASSERT_TRUE(print.Answered());
  EXPECT_FALSE(pagesListOffered);
  EXPECT_FALSE(orientationOffered);
  EXPECT_FALSE(marginsOffered);
  EXPECT_TRUE(greyOffered);
  EXPECT_EQ(paperShown, "A4");
  EXPECT_EQ(request.PrinterName, "OtherPDF");
  EXPECT_TRUE(request.OutputFileName.isEmpty());
  EXPECT_EQ(request.Duplex, int(TDriverSettings::DuplexHorizontal));
  EXPECT_FALSE(request.Color);
  EXPECT_TRUE(request.Reverse);
  EXPECT_EQ(request.Set, TPrintDialogSpec::setOdd);
  EXPECT_EQ(request.PaperName, "A5");
  EXPECT_EQ(request.QueueOptions.value(QStringLiteral("number-up")), "2");
  EXPECT_EQ(request.QueueOptions.value(QStringLiteral("InputSlot")), "1Tray");
  // What the program honours itself does not go to the queue as well.
  EXPECT_FALSE(request.QueueOptions.contains(QStringLiteral("page-set")));
}

// ---------------------------------------------------------------------------
// The queue's options chosen in the printer's properties dialog, and the
// options a job is created with.

TEST(CupsJobOptions, TheChosenQueueOptionsGoWithTheJob) {
  TDriverSettings s;
  s.Duplex = TDriverSettings::DuplexVertical;
  s.Color = false;
  s.Fields |= TDriverSettings::dmDefaultSource;
  s.DefaultSource = 2;
  s.DriverOptions.insert(QStringLiteral("print-quality"), QStringLiteral("5"));
  s.DriverOptions.insert(QStringLiteral("output-bin"), QStringLiteral("face-down"));
  // The engine makes the copies and prints at true size, whatever is chosen.
  s.DriverOptions.insert(QStringLiteral("copies"), QStringLiteral("7"));
  s.DriverOptions.insert(QStringLiteral("print-scaling"), QStringLiteral("fit"));
  QList<TCupsPrinterBackend::Tray> trays;
  trays.append(TCupsPrinterBackend::Tray{7, QStringLiteral("auto"), QStringLiteral("Automatic")});
  trays.append(TCupsPrinterBackend::Tray{2, QStringLiteral("bottom"), QStringLiteral("Lower tray")});
  const auto options = TCupsPrinterBackend::JobOptions(s, QSize(2100, 2970), trays);
  QMap<QByteArray, QByteArray> byName;
  for (const auto& [name, value] : options) {
    EXPECT_FALSE(byName.contains(name)) << name.constData() << " twice";
    byName.insert(name, value);
  }
  EXPECT_EQ(byName.value("copies"), "1");
  EXPECT_EQ(byName.value("print-scaling"), "none");
  EXPECT_EQ(byName.value("media"), "iso_a4_210x297mm");
  EXPECT_EQ(byName.value("sides"), "two-sided-long-edge");
  EXPECT_EQ(byName.value("print-color-mode"), "monochrome");
  EXPECT_EQ(byName.value("media-source"), "bottom");
  EXPECT_EQ(byName.value("print-quality"), "5");
  EXPECT_EQ(byName.value("output-bin"), "face-down");
}

TEST(CupsJobOptions, ChoicesGoIntoTheirFieldsAndTheRestIntoDriverOptions) {
  // No scheduler is asked: the queue is unknown, so its papers are too.
  QTemporaryDir dir;
  cupsSetServer(QFile::encodeName(dir.filePath(QStringLiteral("no-scheduler.sock"))).constData());
  TCupsPrinterBackend backend;
  TDriverSettings in;
  in.PaperSize = 9;
  QMap<QString, QString> chosen;
  chosen.insert(QStringLiteral("media"), QStringLiteral("iso_a5_148x210mm"));
  chosen.insert(QStringLiteral("sides"), QStringLiteral("two-sided-short-edge"));
  chosen.insert(QStringLiteral("print-quality"), QStringLiteral("3"));
  chosen.insert(QStringLiteral("media-source"), QStringLiteral("no-such-tray"));
  const TDriverSettings s = backend.WithOptions(QStringLiteral("Nowhere"), in, chosen);
  cupsSetServer(nullptr);
  // A paper the queue does not list is a user size.
  EXPECT_EQ(s.PaperSize, 256);
  EXPECT_EQ(s.PaperWidth, 1480);
  EXPECT_EQ(s.PaperLength, 2100);
  EXPECT_EQ(s.Duplex, int(TDriverSettings::DuplexHorizontal));
  EXPECT_FALSE(s.Fields & TDriverSettings::dmDefaultSource);
  EXPECT_EQ(s.DriverOptions, (QMap<QString, QString>{{QStringLiteral("print-quality"), QStringLiteral("3")}}));
  const auto options = TCupsPrinterBackend::JobOptions(s, QSize(1480, 2100), {});
  EXPECT_TRUE(options.contains(qMakePair(QByteArray("media"), QByteArray("iso_a5_148x210mm"))));
  EXPECT_TRUE(options.contains(qMakePair(QByteArray("sides"), QByteArray("two-sided-short-edge"))));
  EXPECT_TRUE(options.contains(qMakePair(QByteArray("print-quality"), QByteArray("3"))));
}

class CupsQueueOptions : public CupsPrinters {};

TEST_F(CupsQueueOptions, TheQueueOffersItsPapersAndAChoiceGoesIntoTheSettings) {
  LURNS_REQUIRE_TEST_SCHEDULER();
  TCupsPrinterBackend backend;
  TDriverSettings s;
  ASSERT_TRUE(backend.DocumentProperties(QStringLiteral("OtherPDF"), s));
  const TPrinterOptions offered = backend.PrinterOptions(QStringLiteral("OtherPDF"), s);
  const auto media = std::find_if(offered.begin(), offered.end(),
                                  [](const TPrinterOption& o) { return o.Keyword == "media"; });
  ASSERT_NE(media, offered.end());
  EXPECT_EQ(media->Values.size(), media->ValueTexts.size());
  EXPECT_FALSE(media->Current.isEmpty());
  EXPECT_TRUE(media->Values.contains(QStringLiteral("iso_a4_210x297mm")))
      << media->Values.join(' ').toStdString();
  QMap<QString, QString> chosen;
  chosen.insert(QStringLiteral("media"), QStringLiteral("iso_a5_148x210mm"));
  chosen.insert(QStringLiteral("print-quality"), QStringLiteral("5"));
  const TDriverSettings after = backend.WithOptions(QStringLiteral("OtherPDF"), s, chosen);
  EXPECT_EQ(backend.PaperSizeTenths(QStringLiteral("OtherPDF"), after), QSize(1480, 2100));
  EXPECT_EQ(after.DriverOptions.value(QStringLiteral("print-quality")), "5");
  EXPECT_FALSE(after.DriverOptions.contains(QStringLiteral("media")));
}
