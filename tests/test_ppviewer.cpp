// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's viewer and screen device: the zoom arithmetic, the picture
// and its scroll bars, navigation, status texts, how each kind of command
// is drawn at the zoom (fonts, faces, transparent pictures, commands that
// draw themselves), clicks, printing the report shown, and the page on the
// screen against the same page printed to a PDF.
#include "printing/PrintingClasses.h"
#include "reportforms/ppViewr.h"
#include "report/ppFormIntf.h"
#include "report/ppPrnDev.h"
#include "support/CoverFixtures.h"
#include "support/PdfTools.h"
#include "support/QtPrint.h"
#include "support/ReportFixtures.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinters.h"
#include "support/TestPictures.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <cmath>

namespace {

// Where a test's pictures go when LURNS_PREVIEW_SHOTS names a folder, to
// be looked at.
void SaveShot(const QImage& image, const QString& name) {
  const QString dir = qEnvironmentVariable("LURNS_PREVIEW_SHOTS");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

const QRgb kSurround = qRgb(128, 128, 128);

// The box of the pixels darker than `threshold` inside `within`.
std::string Describe(const QRect& r) {
  return QStringLiteral("(%1, %2) %3 x %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

TppLabel* Label(const TestReport& r, TComponent* owner, const QString& caption, int left, int top,
                const QString& face = QStringLiteral("Arial"), int height = -11) {
  auto* label = new TppLabel(owner);
  label->SetBand(r.band);
  TFont f;
  f.Name = face;
  f.Height = height;
  f.Color = clBlack;
  label->SetFont(f);
  label->SetTransparent(true);
  label->SetCaption(caption);
  label->SetmmLeft(left);
  label->SetmmTop(top);
  return label;
}

TPicture Jpeg(int w, int h, const std::function<void(int, int, unsigned char*)>& pixel) {
  JpegSpec jpeg;
  jpeg.width = w;
  jpeg.height = h;
  jpeg.pixel = pixel;
  TPicture p;
  p.LoadFromData(EncodeJpeg(jpeg), "jpg");
  return p;
}

TppImage* Image(const TestReport& r, TComponent* owner, const TPicture& picture, int left, int top,
                int width, int height) {
  auto* image = new TppImage(owner);
  image->SetBand(r.band);
  image->SetMMBounds(left, top, height, width);
  image->SetStretch(true);
  image->SetPicture(picture);
  return image;
}

}  // namespace

// ---------------------------------------------------------------------------
// The zoom arithmetic

TEST(ZoomGeometry, TheTableOfSettingsAtNinetySixPixelsPerInch) {
  // A4 at 96 ppi: 794 x 1123 portrait.
  const struct {
    const char* what;
    TppZoomSettingType setting;
    int percentage;
    int pw, ph, bw, bh;
    TppZoomGeometry expected;
  } cases[] = {
      {"whole page, portrait, 547 x 297", zsWholePage, 100, 794, 1123, 547, 297,
       {QSize(547, 297), 193, 273, 24}},
      {"100 %, landscape", zs100Percent, 100, 1123, 794, 547, 297,
       {QSize(1171, 842), 1123, 794, 100}},
      {"33 %, portrait", zsPercentage, 33, 794, 1123, 547, 297, {QSize(547, 419), 262, 371, 33}},
      {"250 %, portrait", zsPercentage, 250, 794, 1123, 547, 297,
       {QSize(2033, 2856), 1985, 2808, 250}},
      // The box less an eighth of an inch at either side and 14 pixels of
      // room for the vertical bar: 38 pixels.
      {"page width, portrait", zsPageWidth, 100, 794, 1123, 547, 297,
       {QSize(533, 744), 509, 720, 64}},
      {"page width, landscape in a tall box", zsPageWidth, 100, 1123, 794, 547, 900,
       {QSize(533, 900), 509, 360, 45}},
      // Too wide for the box: the height steps down a quarter inch at a
      // time until the page is narrower than the picture.
      {"whole page, landscape, narrow box", zsWholePage, 100, 1123, 794, 300, 400,
       {QSize(300, 400), 294, 208, 26}},
      // A box of at most half an inch either way: no stepping.
      {"whole page, box 40 wide", zsWholePage, 100, 794, 1123, 40, 300,
       {QSize(40, 300), 195, 276, 25}},
      {"0 %", zsPercentage, 0, 794, 1123, 547, 297, {QSize(547, 297), 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TppZoomGeometry g = ComputeZoomGeometry(c.setting, c.percentage, c.pw, c.ph, c.bw, c.bh, 96);
    EXPECT_EQ(g.Picture, c.expected.Picture);
    EXPECT_EQ(g.DrawnWidth, c.expected.DrawnWidth);
    EXPECT_EQ(g.DrawnHeight, c.expected.DrawnHeight);
    EXPECT_EQ(g.ZoomPercent, c.expected.ZoomPercent);
  }
}

TEST(ZoomGeometry, TheMarginsFollowTheScreensResolution) {
  // At 120 ppi: q8 15, q4 30, h2 60, k 17.
  const TppZoomGeometry g100 = ComputeZoomGeometry(zs100Percent, 100, 992, 1404, 600, 400, 120);
  EXPECT_EQ(g100.Picture, QSize(992 + 60, 1404 + 60));
  const TppZoomGeometry width = ComputeZoomGeometry(zsPageWidth, 100, 992, 1404, 600, 400, 120);
  EXPECT_EQ(width.DrawnWidth, 600 - 30 - 17);
}

TEST(ScreenFaces, TheClassicFacesAreShownInTheirOutlineStandIns) {
  // The same face on the screen as on paper and on the sheet: the
  // program's stand-in for "MS Sans Serif", the substitutes of the classic
  // faces that are not here.
  EXPECT_EQ(DrawableFace("MS Sans Serif"), "MS Sans Serif");
  EXPECT_EQ(DrawableFace("Courier"), "Courier New");
  EXPECT_EQ(DrawableFace("MS Serif"), "Courier New");
  for (const char* f : {"Fixedsys", "Modern", "Small Fonts", "System", "Terminal"})
    EXPECT_EQ(DrawableFace(f), "Arial") << f;
  EXPECT_EQ(DrawableFace("Tahoma"), "Tahoma");
}

// ---------------------------------------------------------------------------
// The viewer

class ScreenViewer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ScreenPixelsPerInch(), 96) << "the figures below are those of a 96 ppi screen";
    viewer = std::make_unique<TppViewer>();
    viewer->OnStatusChange = [this](QObject*) { statuses.append(viewer->StatusText()); };
    viewer->OnPageChange = [this](QObject*) { ++pageChanges; };
    viewer->OnPrintStateChange = [this](QObject*) { busyStates.append(viewer->IsBusy()); };
    SetBox(547, 297);
    viewer->show();
    QApplication::processEvents();
  }
  void TearDown() override {
    viewer.reset();
    SetProcessMessagesHook([] {
      if (QCoreApplication::instance()) QCoreApplication::processEvents();
    });
  }
  // The scroll box inside the viewer's one-pixel bevel.
  void SetBox(int w, int h) { viewer->resize(w + 2, h + 2); }
  // The report shown, produced to the viewer as the preview produces it
  // (its device type "Screen" once that device is registered).
  void Show(TppReport* report) {
    report->SetDeviceType(QStringLiteral("Screen"));
    viewer->SetReport(report);
    report->GenerateToDevices();
  }
  const QImage& Picture() const { return viewer->ScreenDevice()->PageImage(); }
  TppScreenDevice& Device() const { return *viewer->ScreenDevice(); }
  // The page as the printer would see it, cut from the picture.
  QImage PageArea() const {
    return Picture().copy(Device().OriginX(), Device().OriginY(), Device().DrawnWidth(),
                          Device().DrawnHeight());
  }

  std::unique_ptr<TppViewer> viewer;
  QStringList statuses;
  QList<bool> busyStates;
  int pageChanges = 0;
};

TEST_F(ScreenViewer, WholePageInA547By297BoxIs193By273At24Percent) {
  TComponent owner;
  TestReport r(&owner);
  Show(r.report);
  EXPECT_EQ(viewer->ScrollBox()->size(), QSize(547, 297));
  EXPECT_EQ(Picture().size(), QSize(547, 297));
  EXPECT_EQ(Device().DrawnWidth(), 193);
  EXPECT_EQ(Device().DrawnHeight(), 273);
  EXPECT_EQ(viewer->CalculatedZoom(), 24);
  // The page, outlined in black, centred in the grey surround.
  EXPECT_EQ(Device().OriginX(), 177);
  EXPECT_EQ(Device().OriginY(), 12);
  EXPECT_EQ(Picture().pixel(176, 100), kSurround);
  EXPECT_EQ(qGray(Picture().pixel(177, 100)), 0);
  EXPECT_EQ(Picture().pixel(178, 100), qRgb(255, 255, 255));
  EXPECT_EQ(qGray(Picture().pixel(177 + 192, 100)), 0);
  EXPECT_EQ(Picture().pixel(177 + 193, 100), kSurround);
  EXPECT_EQ(viewer->CurrentPageNo(), 1);
  SaveShot(Picture(), "whole-page");
}

TEST_F(ScreenViewer, LandscapeAt100PercentIs1171By842WithThePageAt24) {
  TComponent owner;
  TestReport r(&owner, poLandscape);
  r.Square(0, 0, 10000, &owner);
  viewer->SetZoomSetting(zs100Percent);
  Show(r.report);
  EXPECT_EQ(Picture().size(), QSize(1171, 842));
  EXPECT_EQ(Device().OriginX(), 24);
  EXPECT_EQ(Device().OriginY(), 24);
  EXPECT_EQ(viewer->CalculatedZoom(), 100);
  EXPECT_EQ(Picture().pixel(23, 23), kSurround);
  EXPECT_EQ(qGray(Picture().pixel(24, 24)), 0);
  // The square 10 mm wide at the margin, a quarter inch in: 24 px + 24 px.
  EXPECT_EQ(DarkBox(Picture(), QRect(30, 30, 200, 200)), QRect(48, 48, 38, 38));
  // Both bars show: the picture is larger than the box both ways.
  EXPECT_EQ(viewer->ScrollBox()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(viewer->ScrollBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(viewer->PaintBox()->size(), QSize(1171, 842));
}

TEST_F(ScreenViewer, ScrollBarsShowWhereThePictureIsLargerAndAZoomStartsAtTheTop) {
  TComponent owner;
  TestReport r(&owner);
  Show(r.report);
  QScrollArea* box = viewer->ScrollBox();
  // Whole page: the picture is the box.
  EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

  // Page width: only the vertical bar, and the page leaves 38 pixels of
  // the box's width free, room for that bar.
  viewer->SetZoomSetting(zsPageWidth);
  EXPECT_EQ(Device().DrawnWidth(), 547 - 38);
  EXPECT_EQ(Picture().width(), 547 - 14);
  EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(box->verticalScrollBar()->maximum(), Picture().height() - box->viewport()->height());

  // A resize keeps the positions, a zoom change puts them back to 0.
  box->verticalScrollBar()->setValue(200);
  SetBox(547, 300);
  QApplication::processEvents();
  EXPECT_EQ(box->verticalScrollBar()->value(), 200);
  viewer->SetZoomSetting(zs100Percent);
  EXPECT_EQ(box->verticalScrollBar()->value(), 0);
  EXPECT_EQ(box->horizontalScrollBar()->value(), 0);
  EXPECT_GT(box->horizontalScrollBar()->maximum(), 0);
  // Every resize tells the page change (the window shows the zoom).
  EXPECT_GE(pageChanges, 2);
}

TEST_F(ScreenViewer, PercentagesAreCappedAt250AndZeroDrawsAnEmptyPage) {
  TComponent owner;
  TestReport r(&owner);
  r.Square(0, 0, 10000, &owner);
  Show(r.report);
  for (const auto& [typed, shown] : {std::pair{400, 250}, {300, 250}, {250, 250}, {33, 33}}) {
    viewer->SetZoomPercentage(typed);
    EXPECT_EQ(viewer->ZoomSetting(), zsPercentage);
    EXPECT_EQ(viewer->ZoomPercentage(), shown) << typed;
    EXPECT_EQ(viewer->CalculatedZoom(), shown) << typed;
  }
  EXPECT_EQ(Device().DrawnWidth(), 262);
  EXPECT_EQ(Device().DrawnHeight(), 371);
  viewer->SetZoomPercentage(0);
  EXPECT_EQ(viewer->CalculatedZoom(), 0);
  EXPECT_EQ(Device().DrawnWidth(), 0);
  // Nothing of the page: no outline, no paper, no square.
  for (int y = 0; y < Picture().height(); y += 3)
    for (int x = 0; x < Picture().width(); x += 3)
      ASSERT_EQ(Picture().pixel(x, y), kSurround) << x << "," << y;
}

TEST_F(ScreenViewer, StatusTextsTellThePagesAsTheyAreMade) {
  TComponent owner;
  TestReport r(&owner);
  Show(r.report);
  EXPECT_EQ(statuses, (QStringList{"A Aceder aos Dados...",
                                   "A Calcular a Página 1 para o Relatório Report",
                                   "A Desenhar a Página 1 de 1 para o Relatório Report",
                                   "Página 1 de 1"}));
  EXPECT_EQ(busyStates, (QList<bool>{true, false}));

  // Pages that come before the one asked for are calculated; the count is
  // told once the last page was seen.
  PagedReport paged(3);
  statuses.clear();
  Show(paged.r.report);
  EXPECT_EQ(statuses.last(), "Página 1");
  viewer->GoLastPage();
  EXPECT_TRUE(statuses.contains("A Calcular a Página 2 para o Relatório Report"));
  EXPECT_TRUE(statuses.contains("A Desenhar a Página 3 de 3 para o Relatório Report"));
  EXPECT_EQ(statuses.last(), "Página 3 de 3");
  viewer->GoToPage(2);
  EXPECT_EQ(viewer->StatusText(), "Página 2 de 3");
}

// Which page a PagedReport shows: its marker is 10 mm further right on each
// page (the page at 100 %: 10 mm is 38 screen pixels).
int ShownPage(const QImage& page) {
  const QRect mark = DarkBox(page, QRect(30, 30, page.width() - 60, page.height() - 60));
  if (mark.isEmpty()) return 0;
  return int(std::lround((mark.left() - 24) / (10 * 96 / 25.4)));
}

TEST_F(ScreenViewer, NavigationAsksForTheRightPages) {
  PagedReport paged(5);
  viewer->SetZoomSetting(zs100Percent);
  int jobs = 0;
  paged.r.report->BeforePrint = [&](TComponent*) { ++jobs; };
  Show(paged.r.report);
  ASSERT_EQ(jobs, 1);
  auto expectPage = [&](int page, TppPageSettingType asked, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(viewer->CurrentPageNo(), page);
    EXPECT_EQ(ShownPage(PageArea()), page);
    EXPECT_EQ(Device().PageRequest().PageSetting, asked);
  };
  expectPage(1, psFirstPage, "first shown");
  viewer->GoNextPage();
  expectPage(2, psSinglePage, "next");
  EXPECT_EQ(Device().PageRequest().PageRequested, 2);
  viewer->GoLastPage();
  expectPage(5, psLastPage, "last");
  EXPECT_TRUE(Device().CurrentPage().LastPage);
  viewer->GoNextPage();  // past the last: nothing
  expectPage(5, psLastPage, "next on the last");
  viewer->GoPriorPage();
  expectPage(4, psSinglePage, "prior");
  viewer->GoToPage(9);  // beyond the end: the last page
  expectPage(5, psSinglePage, "page 9");
  viewer->GoFirstPage();
  expectPage(1, psFirstPage, "first");
  viewer->GoPriorPage();
  viewer->GoToPage(1);
  expectPage(1, psFirstPage, "prior and 1 on the first");
  SaveShot(PageArea(), "navigation-page1");
}

TEST_F(ScreenViewer, OnAOnePageReportNavigationChangesNothing) {
  TComponent owner;
  TestReport r(&owner);
  int jobs = 0;
  r.report->BeforePrint = [&](TComponent*) { ++jobs; };
  Show(r.report);
  const int started = int(busyStates.size());
  viewer->GoNextPage();
  viewer->GoPriorPage();
  viewer->GoFirstPage();
  viewer->GoLastPage();
  viewer->GoToPage(1);
  EXPECT_EQ(int(busyStates.size()), started);
  EXPECT_EQ(Device().PageRequest().PageSetting, psFirstPage);
  EXPECT_EQ(viewer->CurrentPageNo(), 1);
}

TEST_F(ScreenViewer, NothingIsAskedForWhileThePagesAreMade) {
  PagedReport paged(4);
  int jobs = 0;
  QStringList refused;
  paged.r.report->BeforePrint = [&](TComponent*) { ++jobs; };
  // A page button pressed while the first page is being made.
  SetProcessMessagesHook([&] {
    QCoreApplication::processEvents();
    if (viewer->IsBusy()) {
      viewer->GoLastPage();
      viewer->GoToPage(3);
      viewer->PrintShownReport();
    }
  });
  Show(paged.r.report);
  EXPECT_EQ(jobs, 1);
  EXPECT_EQ(viewer->CurrentPageNo(), 1);
}

// ---------------------------------------------------------------------------
// Drawing at the zoom

TEST_F(ScreenViewer, TextKeepsItsPointSizeAndScalesWithTheZoom) {
  TComponent owner;
  TestReport r(&owner);
  TppLabel* label = Label(r, &owner, "Capa", 20000, 20000);  // 8 points
  Show(r.report);
  for (int percent : {100, 50, 25, 2, 1}) {
    viewer->SetZoomPercentage(percent);
    // The font stays at its size in points; the canvas scales it.
    EXPECT_EQ(Device().Canvas()->Font().PointSize(), 8) << percent << " %";
    EXPECT_NEAR(Device().Canvas()->Resolution(), 96.0 * Device().ScaleY(), 1e-9)
        << percent << " %";
    EXPECT_NEAR(Device().ScaleY(), percent / 100.0, 0.01) << percent << " %";
  }
  // Not through whole pixels or points: at 50 % an 8-point text's
  // characters are at most 8 x 96 / 72 / 2 (5 1/3) pixels high.
  viewer->SetZoomPercentage(50);
  const QRect ink = DarkBox(Picture(),
                            QRect(Device().OriginX() + 2, Device().OriginY() + 2,
                                  Device().DrawnWidth() - 4, Device().DrawnHeight() - 4),
                            220);
  EXPECT_LE(ink.height(), 6) << Describe(ink);
  EXPECT_GE(ink.height(), 3) << Describe(ink);
  (void)label;
}

TEST_F(ScreenViewer, MsSansSerifIsShownInItsStandInAsOnTheSheet) {
  TComponent owner;
  TestReport classic(&owner), tahoma(&owner);
  Label(classic, &owner, "Lurns para CD 123", 20000, 20000, "MS Sans Serif", -16);
  Label(tahoma, &owner, "Lurns para CD 123", 20000, 20000, "Tahoma", -16);
  viewer->SetZoomSetting(zs100Percent);
  Show(classic.report);
  const QImage shownClassic = PageArea();
  Show(tahoma.report);
  const QImage shownTahoma = PageArea();
  ASSERT_FALSE(DarkBox(shownTahoma, shownTahoma.rect()).isEmpty());
  EXPECT_EQ(shownClassic, shownTahoma);
  SaveShot(shownClassic, "ms-sans-serif");
}

TEST_F(ScreenViewer, TransparentPicturesLetWhatIsBelowShowAsOnPaper) {
  TComponent owner;
  TestReport r(&owner);
  r.Square(0, 0, 40000, &owner);  // black, 40 mm
  // Left half white, right half grey.
  TppImage* and_ = Image(r, &owner, Jpeg(40, 20, [](int x, int, unsigned char* px) {
                           px[0] = px[1] = px[2] = x < 20 ? 255 : 160;
                         }),
                         0, 0, 40000, 20000);
  and_->SetTransparent(true);
  // A picture with transparent parts that is not drawn transparent: its
  // transparent parts are the paper's white, never undefined pixels.
  QImage alpha(20, 20, QImage::Format_ARGB32);
  alpha.fill(Qt::transparent);
  QPainter(&alpha).fillRect(0, 0, 10, 20, Qt::red);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  alpha.save(&buffer, "PNG");
  TPicture withAlpha;
  withAlpha.LoadFromData(png, "png");
  Image(r, &owner, withAlpha, 0, 22000, 20000, 10000);
  viewer->SetZoomSetting(zs100Percent);
  Show(r.report);
  const QImage page = PageArea();
  SaveShot(page, "transparent");
  auto at = [&](double mmX, double mmY) {
    return page.pixel(int((6.35 + mmX) / 25.4 * 96), int((6.35 + mmY) / 25.4 * 96));
  };
  EXPECT_LT(qGray(at(10, 10)), 64);            // white of the picture: the black below
  EXPECT_NEAR(qGray(at(30, 10)), 160, 24);     // grey of the picture
  EXPECT_LT(qGray(at(30, 30)), 64);            // the square beside the pictures
  EXPECT_EQ(qRed(at(5, 27)), 255);             // the red half of the PNG
  EXPECT_EQ(at(15, 27), qRgb(255, 255, 255));  // its transparent half: white
}

namespace {
// A command that draws itself on the screen device: a frame inset by two
// screen pixels at the zoom, with what the device offers such a command.
class TSelfDrawnFrame : public TppDrawText {
 public:
  LURNS_COMPONENT(TSelfDrawnFrame)
  using TppDrawText::TppDrawText;
  static inline int Drawn = 0;
  static inline double PixelsPerInch = 0;
  static inline QRect Mapped;
  bool DrawOn(TppDevice* device) override {
    // Through the raster base alone, as a command class without windows
    // would.
    auto* raster = dynamic_cast<TppRasterDevice*>(device);
    if (!raster) return true;
    const auto drawing = raster->DrawingFor(this);
    if (!drawing) return true;
    PixelsPerInch = drawing->PixelsPerInch * drawing->Scale;
    // The page's top-left 10 mm.
    Mapped = drawing->PageToDevice(TppRect{0, 0, 10000, 10000});
    const int in = int(std::lround(2 * drawing->Scale));
    const QRect r = drawing->DeviceRect.adjusted(in, in, -in, -in);
    drawing->Canvas->FillRect(r, clBlue);
    ++Drawn;
    return true;
  }
};
}  // namespace

TEST_F(ScreenViewer, ACommandThatDrawsItselfUsesTheDevicesCanvasScaleAndRectangle) {
  RegisterClass<TSelfDrawnFrame>();
  TComponent owner;
  TestReport r(&owner);
  TppLabel* label = Label(r, &owner, "x", 0, 0);
  label->SetDrawCommandClass("TSelfDrawnFrame");
  label->SetAutoSize(false);
  label->SetMMBounds(20000, 10000, 10000, 40000);  // 40 x 10 mm
  Show(r.report);
  for (int percent : {100, 50}) {
    TSelfDrawnFrame::Drawn = 0;
    viewer->SetZoomPercentage(percent);
    EXPECT_EQ(TSelfDrawnFrame::Drawn, 1);
    const double s = percent / 100.0;
    EXPECT_NEAR(TSelfDrawnFrame::PixelsPerInch, 96 * s, 0.2) << percent;
    // 10 mm: 38 screen pixels at 100 %, from the page's corner.
    EXPECT_EQ(TSelfDrawnFrame::Mapped,
              QRect(Device().OriginX(), Device().OriginY(), ppRound(38 * (long double)Device().ScaleX()),
                    ppRound(38 * (long double)Device().ScaleY())))
        << percent;
    EXPECT_DOUBLE_EQ(Device().ScaleX(), double(Device().DrawnWidth()) / 794);
    // 26.35 mm from the paper's left edge: 100 px at 100 %, 2 px in.
    const int left = Device().OriginX() + int(std::lround(100 * s)) + int(std::lround(2 * s));
    const QRgb blue = qRgb(0, 0, 255);
    EXPECT_EQ(Picture().pixel(left, Device().OriginY() + int(std::lround(70 * s))), blue)
        << percent;
    EXPECT_NE(Picture().pixel(left - 2, Device().OriginY() + int(std::lround(70 * s))), blue)
        << percent;
  }
  // Painting and scrolling only copy from the picture: nothing is drawn
  // again.
  TSelfDrawnFrame::Drawn = 0;
  viewer->SetZoomPercentage(200);
  ASSERT_EQ(TSelfDrawnFrame::Drawn, 1);
  viewer->PaintBox()->repaint();
  viewer->ScrollBox()->verticalScrollBar()->setValue(300);
  viewer->ScrollBox()->horizontalScrollBar()->setValue(200);
  viewer->PaintBox()->repaint();
  QApplication::processEvents();
  EXPECT_EQ(TSelfDrawnFrame::Drawn, 1);
  // Outside the drawing of a page there is no canvas to draw on.
  TSelfDrawnFrame outside;
  EXPECT_FALSE(Device().DrawingFor(&outside).has_value());
  // The device draws the engine's own kinds only.
  TppDrawCommand plain;
  EXPECT_FALSE(Device().RenderCommand(&plain));
  UnRegisterClass("TSelfDrawnFrame");
}

TEST_F(ScreenViewer, ClickableCommandsAreFoundEdgesIncludedAndAskForTheirPageAgain) {
  TComponent owner;
  TestReport r(&owner);
  TppShape* shape = r.Square(20000, 20000, 20000, &owner);
  int clicks = 0;
  shape->OnDrawCommandClick = [&](TComponent*, TppDrawCommand* c) {
    ++clicks;
    c->RedrawPage = clicks == 2;
  };
  viewer->SetZoomSetting(zs100Percent);
  Show(r.report);
  // The square from 26.35 mm to 46.35 mm of the paper: pixels 100 to 175.
  TppDrawCommand* c = Device().HitTest(QPoint(Device().OriginX() + 130, Device().OriginY() + 130));
  ASSERT_NE(c, nullptr);
  const TppRect& rect = c->DeviceRect;
  EXPECT_EQ(Device().HitTest(QPoint(rect.Left, rect.Top)), c);
  EXPECT_EQ(Device().HitTest(QPoint(rect.Right, rect.Bottom)), c);
  EXPECT_EQ(Device().HitTest(QPoint(rect.Right + 1, rect.Bottom)), nullptr);
  EXPECT_EQ(Device().HitTest(QPoint(rect.Left - 1, rect.Top)), nullptr);

  // The hand over it, the viewer's own cursor elsewhere.
  QWidget* box = viewer->PaintBox();
  const QPoint inside(rect.Left + 5, rect.Top + 5);
  QMouseEvent move(QEvent::MouseMove, QPointF(inside), box->mapToGlobal(QPointF(inside)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(box, &move);
  EXPECT_EQ(box->cursor().shape(), Qt::PointingHandCursor);
  QMouseEvent away(QEvent::MouseMove, QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(box, &away);
  EXPECT_EQ(box->cursor().shape(), Qt::ArrowCursor);

  const int jobs = int(busyStates.size());
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, inside);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(int(busyStates.size()), jobs);  // nothing asked
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, inside);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(int(busyStates.size()), jobs + 2);  // the page made again
  EXPECT_EQ(Device().PageRequest().PageSetting, psSinglePage);
  EXPECT_EQ(Device().PageRequest().PageRequested, 1);
  ASSERT_EQ(Device().CurrentPage().ClickableCommands().size(), 1u);
  EXPECT_FALSE(Device().CurrentPage().ClickableCommands()[0]->RedrawPage);
}

// ---------------------------------------------------------------------------
// Printing the report shown

namespace {
class TScriptedPrintDialog : public TppPrintDialogIntf {
 public:
  static inline std::function<TModalResult(TScriptedPrintDialog&)> Answer;
  TModalResult ShowModal() override { return Answer ? Answer(*this) : TModalResult::OK; }
  void Show() override {}
  void Close() override {}
  void SetWindowState(TWindowState) override {}
  void SetIcon(const TPicture&) override {}
};
}  // namespace

class ViewerPrinting : public ScreenViewer {
 protected:
  void SetUp() override {
    ScreenViewer::SetUp();
    RegisterPrintingClasses();
  }
  void TearDown() override {
    UnregisterPrintingClasses();
    UnregisterEngineForm(ppCustomPrintDialog);
    TScriptedPrintDialog::Answer = nullptr;
    ScreenViewer::TearDown();
    ResetPrinterList();
    SetPrinterBackend(std::make_unique<TNoPrinterBackend>());
  }
  // One printer, "P", of 100 pixels per inch.
  TScriptedPrinterBackend& Install() {
    TScriptedPrinter p = TScriptedPrinter::Standard("P");
    p.PixelsPerInchX = p.PixelsPerInchY = 100;
    auto b = std::make_unique<TScriptedPrinterBackend>();
    b->Printers = {p};
    b->Default = "P";
    TScriptedPrinterBackend& backend = *b;
    ResetPrinterList();
    SetPrinterBackend(std::move(b));
    return backend;
  }
};

TEST_F(ViewerPrinting, ThePrintedPageIsTheOneShownAndTheSetupComesBack) {
  TScriptedPrinterBackend& backend = Install();
  PagedReport paged(3);
  Show(paged.r.report);
  viewer->GoToPage(2);
  RegisterEngineForm(ppCustomPrintDialog, "TScriptedPrintDialog",
                     [] { return new TScriptedPrintDialog; });
  int offered = 0;
  TScriptedPrintDialog::Answer = [&](TScriptedPrintDialog& d) {
    offered = d.PageRequest->PageRequested;
    d.PageRequest->PageSetting = psSinglePage;
    d.PageRequest->PageRequested = offered;
    return TModalResult::OK;
  };
  const int states = int(busyStates.size());
  viewer->PrintShownReport();
  EXPECT_EQ(offered, 2);
  ASSERT_EQ(backend.Documents.size(), 1);
  ASSERT_EQ(backend.Documents[0].Pages.size(), 1);
  EXPECT_EQ(paged.r.report->DeviceType(), "Screen");
  EXPECT_EQ(Device().Publisher(), paged.r.report->Publisher());
  // The setup did not change: the preview is not made again.
  EXPECT_EQ(int(busyStates.size()), states);
  EXPECT_EQ(viewer->CurrentPageNo(), 2);
}

TEST_F(ViewerPrinting, AChangedSetupMakesThePreviewAgain) {
  Install();
  TComponent owner;
  TestReport r(&owner);
  r.report->SetSavePrinterSetup(true);
  Show(r.report);
  ASSERT_EQ(Device().CurrentPage().PageDef().mmWidth, 210000);
  RegisterEngineForm(ppCustomPrintDialog, "TScriptedPrintDialog",
                     [] { return new TScriptedPrintDialog; });
  TScriptedPrintDialog::Answer = [](TScriptedPrintDialog& d) {
    d.Printer->PrinterSetup()->SetOrientation(poLandscape);
    return TModalResult::OK;
  };
  viewer->PrintShownReport();
  EXPECT_EQ(r.report->PrinterSetup()->Orientation(), poLandscape);
  // The paper as the printer has it: A4 to a fraction of a millimetre.
  EXPECT_NEAR(Device().CurrentPage().PageDef().mmWidth, 297000, 500);
  EXPECT_EQ(viewer->CurrentPageNo(), 1);
  EXPECT_GT(Device().DrawnWidth(), Device().DrawnHeight());
  EXPECT_EQ(busyStates.last(), false);
}

TEST_F(ViewerPrinting, AFailedPrintIsToldAndThePreviewStays) {
  ScriptedDialogsGuard dialogs;
  Install();
  TComponent owner;
  TestReport r(&owner);
  Show(r.report);
  r.report->PrinterSetup()->SetOutputFileName(QDir::temp().filePath("missing-folder/x/capa.pdf"));
  r.report->PrinterSetup()->SetPrinterName("P");
  viewer->PrintShownReport();
  ASSERT_EQ(dialogs->Messages().size(), 1);
  EXPECT_TRUE(dialogs->Messages()[0].startsWith("Impossível Gerar Relatório\n\n"))
      << dialogs->Messages()[0].toStdString();
  EXPECT_EQ(Device().Publisher(), r.report->Publisher());
  EXPECT_EQ(r.report->DeviceType(), "Screen");
}

// A choice that leaves no page to print is a print error, told once, and
// nothing goes to the printer.
TEST_F(ViewerPrinting, EvenPagesOfAOnePageReportAreAPrintErrorToldOnce) {
  ScriptedDialogsGuard dialogs;
  TScriptedPrinterBackend& backend = Install();
  TComponent owner;
  TestReport r(&owner);
  r.Square(0, 0, 5000, &owner);
  Show(r.report);
  RegisterEngineForm(ppCustomPrintDialog, "TScriptedPrintDialog",
                     [] { return new TScriptedPrintDialog; });
  TScriptedPrintDialog::Answer = [](TScriptedPrintDialog& d) {
    d.PageRequest->PageRange = prEvenPages;
    return TModalResult::OK;
  };
  viewer->PrintShownReport();
  EXPECT_EQ(dialogs->Messages(), QStringList{"Impossível Gerar Relatório\n\nNenhuma página para imprimir."});
  EXPECT_TRUE(backend.Documents.isEmpty());
  EXPECT_EQ(backend.AbortedDocuments, 0);
  EXPECT_EQ(Device().Publisher(), r.report->Publisher());
}

// What could not be generated or drawn is told after the job, once, by
// the component's name; the rest printed.
TEST_F(ViewerPrinting, ObjectsThatDidNotPrintAreToldAfterTheJob) {
  ScriptedDialogsGuard dialogs;
  TScriptedPrinterBackend& backend = Install();
  TComponent owner;
  TestReport r(&owner);
  TppShape* bad = r.Square(0, 0, 5000, &owner);
  bad->SetUserName("Mau");
  bad->SetDrawCommandClass("TNoSuchCommand");
  r.Square(10000, 0, 5000, &owner);
  Show(r.report);
  ASSERT_TRUE(dialogs->Messages().isEmpty());
  RegisterEngineForm(ppCustomPrintDialog, "TScriptedPrintDialog",
                     [] { return new TScriptedPrintDialog; });
  viewer->PrintShownReport();
  EXPECT_EQ(dialogs->Messages(),
            QStringList{"Alguns objectos não foram impressos:\n"
                        "Mau: O comando de desenho TNoSuchCommand não está registado."});
  ASSERT_EQ(backend.Documents.size(), 1);
  EXPECT_EQ(backend.Documents[0].Pages.size(), 1);
}

// ---------------------------------------------------------------------------
// What the user sees is what the PDF gets

class ScreenAndPaper : public ScreenViewer {
 protected:
  void SetUp() override {
    ScreenViewer::SetUp();
    ResetPrinterList();
    SetPrinterBackend(std::make_unique<TNoPrinterBackend>());
    RegisterDeviceClass<TppPrinterDevice>();
  }
  void TearDown() override {
    ScreenViewer::TearDown();
    ResetPrinterList();
  }
  QTemporaryDir dir_;
};

TEST_F(ScreenAndPaper, APageMatchesItsPdfAt100And50Percent) {
  TComponent owner;
  TestReport r(&owner, poPortrait, 250000);
  // A framed rectangle, a circle, a stretched picture and text, in the
  // cover's way.
  auto* frame = new TppShape(&owner);
  frame->SetBand(r.band);
  frame->SetMMBounds(10000, 10000, 60000, 90000);
  TBrush clear;
  clear.Style = bsClear;
  frame->SetBrush(clear);
  auto* circle = new TppShape(&owner);
  circle->SetBand(r.band);
  circle->SetShape(stCircle);
  circle->SetMMBounds(20000, 90000, 117000, 117000);
  circle->SetBrush(clear);
  TPen thick;
  thick.Width = 3;
  circle->SetPen(thick);
  Image(r, &owner, Jpeg(120, 120, [](int x, int y, unsigned char* px) {
          // Four flat quarters, dark and light.
          const bool dark = (x < 60) != (y < 60);
          px[0] = px[1] = px[2] = dark ? 40 : 220;
        }),
        110000, 10000, 60000, 60000);
  Label(r, &owner, "Lurns para CD", 110000, 75000, "Arial", -24);

  const QString file = dir_.filePath("page.pdf");
  r.report->PrinterSetup()->SetOutputFileName(file);
  Show(r.report);
  viewer->PrintShownReport();

  // At 100 % against the PDF at the screen's 96 dpi, at 50 % against it at
  // 48 dpi.
  for (const int percent : {100, 50}) {
    SCOPED_TRACE(percent);
    viewer->SetZoomPercentage(percent);
    const QImage screen = PageArea().convertToFormat(QImage::Format_Grayscale8);
    const QSize size(ppRound(794 * percent / 100.0L), ppRound(1123 * percent / 100.0L));
    ASSERT_EQ(screen.size(), size);
    QString why;
    const pdf::GreyImage paper = pdf::Rasterise(file, 1, 96 * percent / 100, &why);
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();
    ASSERT_EQ(QSize(paper.Width, paper.Height), size);
    QImage paperImage(paper.Width, paper.Height, QImage::Format_Grayscale8);
    for (int y = 0; y < paper.Height; ++y)
      memcpy(paperImage.scanLine(y), paper.Pixels.constData() + qsizetype(y) * paper.Width,
             size_t(paper.Width));
    SaveShot(screen, QStringLiteral("compare-screen-%1").arg(percent));
    SaveShot(paperImage, QStringLiteral("compare-pdf-%1").arg(percent));

    // Each figure covers the same pixels, to a pixel.
    const struct {
      const char* what;
      QRect area;  // at 100 %
    } figures[] = {
        {"frame", QRect(40, 40, 380, 260)},
        {"circle", QRect(80, 350, 480, 470)},
        {"picture", QRect(420, 40, 270, 255)},
        {"text", QRect(420, 295, 300, 50)},
    };
    const double f = percent / 100.0;
    for (const auto& fig : figures) {
      SCOPED_TRACE(fig.what);
      const QRect area(int(fig.area.x() * f), int(fig.area.y() * f), int(fig.area.width() * f),
                       int(fig.area.height() * f));
      const QRect sb = DarkBox(screen, area), pb = DarkBox(paperImage, area);
      ASSERT_FALSE(sb.isEmpty());
      ASSERT_FALSE(pb.isEmpty());
      const int tolerance = QLatin1String(fig.what) == QLatin1String("text") ? 2 : 1;
      EXPECT_NEAR(sb.left(), pb.left(), tolerance) << Describe(sb) << " " << Describe(pb);
      EXPECT_NEAR(sb.top(), pb.top(), tolerance) << Describe(sb) << " " << Describe(pb);
      EXPECT_NEAR(sb.right(), pb.right(), tolerance) << Describe(sb) << " " << Describe(pb);
      EXPECT_NEAR(sb.bottom(), pb.bottom(), tolerance) << Describe(sb) << " " << Describe(pb);
    }
    // The pixels alike, the page's outline on the screen aside.
    long long difference = 0, count = 0;
    for (int y = 1; y < screen.height() - 1; ++y)
      for (int x = 1; x < screen.width() - 1; ++x) {
        const int a = screen.pixel(x, y) & 0xFF, b = qGray(paperImage.pixel(x, y));
        difference += std::abs(a - b);
        ++count;
      }
    EXPECT_LT(double(difference) / double(count), 2.0 * 100 / percent)
        << "mean difference per pixel";
  }
}
