// SPDX-License-Identifier: GPL-3.0-or-later
// Renders each page of a three-page cover-like report in the preview's
// viewer — the front with the inside of the cover, the back with its two
// spines, the disc — at "Página Inteira" and at 100 %, and prints how long
// drawing a page into the off-screen picture takes (the aim: under 20 ms a
// page at 100 %, so that zooming and paging never lag).  Painting only
// copies from that picture and is not measured.  With LURNS_PREVIEW_SHOTS
// naming a folder, the pictures are saved there.
// Runs without a display.
#include "document/TiposDeLetra.h"
#include "printing/PrintingClasses.h"
#include "reportforms/ppViewr.h"
#include "report/ppBands.h"
#include "report/ppCtrls.h"
#include "report/ppReport.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// A shape without fill.
constexpr TColor kNoFill = clSystemColor | 0x1FFFFFFF;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// A photograph-like picture: smooth colours with some detail, as JPEG, as
// a cover's background or disc picture is.
TPicture Photo(int w, int h, int seed) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const double v = std::sin((x + seed * 37) / 41.0) * std::cos((y - seed * 11) / 53.0);
      line[x] = qRgb(int(127 + 100 * v), (x * 255) / w, (y * 255) / h);
    }
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  img.save(&buffer, "JPEG", 85);
  TPicture p;
  p.LoadFromData(bytes, QStringLiteral("jpg"));
  return p;
}

// One landscape A4 report with one detail band across the page.
struct CoverPage {
  TppReport* report;
  TppDetailBand* band;
  TComponent* owner;
  QString name;

  CoverPage(TComponent* o, const QString& n) : owner(o), name(n) {
    report = new TppReport(owner);
    report->SetUnits(utMMThousandths);
    TppPrinterSetup* s = report->PrinterSetup();
    s->SetmmPaperWidth(210000);
    s->SetmmPaperHeight(297000);
    s->SetOrientation(poLandscape);
    band = new TppDetailBand(owner);
    band->SetReport(report);
    band->SetmmHeight(190000);
  }

  void Picture(const TPicture& picture, int left, int top, int width, int height) const {
    auto* image = new TppImage(owner);
    image->SetBand(band);
    image->SetMMBounds(left, top, height, width);
    image->SetStretch(true);
    image->SetPicture(picture);
  }
  void Shape(TShapeType type, int left, int top, int width, int height, TColor fill, int pen) const {
    auto* s = new TppShape(owner);
    s->SetBand(band);
    s->SetShape(type);
    s->SetMMBounds(left, top, height, width);
    TBrush b;
    if (fill == kNoFill)
      b.Style = bsClear;
    else
      b.Color = fill;
    s->SetBrush(b);
    TPen p;
    p.Width = pen;
    s->SetPen(p);
  }
  void Text(const QString& caption, int left, int top, const QString& face, int height,
            TColor colour = clBlack) const {
    auto* label = new TppLabel(owner);
    label->SetBand(band);
    TFont f;
    f.Name = face;
    f.Height = height;
    f.Color = colour;
    label->SetFont(f);
    label->SetTransparent(true);
    label->SetCaption(caption);
    label->SetmmLeft(left);
    label->SetmmTop(top);
  }
  // Track titles, as on a back cover.
  void Tracks(int left, int top, int count) const {
    for (int i = 0; i < count; ++i)
      Text(QStringLiteral("%1. Faixa número %1 — Lurns para CD").arg(i + 1), left,
           top + i * 5000, QStringLiteral("Tahoma"), -13);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  PrepararTiposDeLetra();
  const TPrintingClasses classes;
  TComponent owner;
  // Pictures at about 300 dpi of their printed size.
  const TPicture front = Photo(1420, 1420, 1), inside = Photo(1420, 1420, 2),
                 back = Photo(1780, 1390, 3), disc = Photo(1380, 1380, 4);

  // Front and inside of the cover, side by side, 120 mm each.
  CoverPage frente(&owner, QStringLiteral("Frente"));
  frente.Picture(front, 20000, 40000, 120000, 120000);
  frente.Picture(inside, 140000, 40000, 120000, 120000);
  frente.Shape(stRectangle, 20000, 40000, 240000, 120000, kNoFill, 1);
  frente.Shape(stRectangle, 140000, 40000, 1, 120000, kNoFill, 1);  // the fold
  frente.Text(QStringLiteral("Lurns para CD"), 30000, 50000, QStringLiteral("Arial"), -48, clWhite);
  frente.Text(QStringLiteral("Volume 1"), 30000, 70000, QStringLiteral("MS Sans Serif"), -24);
  frente.Tracks(150000, 50000, 12);

  // The back with its two spines.
  CoverPage tras(&owner, QStringLiteral("Trás"));
  tras.Picture(back, 30000, 40000, 151000, 118000);
  tras.Shape(stRectangle, 30000, 40000, 151000, 118000, kNoFill, 1);
  tras.Shape(stRectangle, 30000, 40000, 6500, 118000, clYellow, 1);
  tras.Shape(stRectangle, 174500, 40000, 6500, 118000, clYellow, 1);
  tras.Shape(stRoundRect, 45000, 130000, 60000, 20000, clWhite, 2);
  tras.Tracks(45000, 50000, 15);
  tras.Text(QStringLiteral("Lurns para CD"), 31000, 150000, QStringLiteral("Arial"), -12);

  // The disc.
  CoverPage cd(&owner, QStringLiteral("CD"));
  cd.Picture(disc, 90000, 40000, 117000, 117000);
  cd.Shape(stEllipse, 90000, 40000, 117000, 117000, kNoFill, 1);
  cd.Shape(stEllipse, 128000, 78000, 41000, 41000, clWhite, 1);
  cd.Shape(stEllipse, 141000, 91000, 15000, 15000, kNoFill, 1);
  cd.Text(QStringLiteral("Lurns para CD"), 110000, 60000, QStringLiteral("Arial"), -32);
  cd.Text(QStringLiteral("Disco 1 de 1"), 130000, 130000, QStringLiteral("Tahoma"), -16);

  TppViewer viewer;
  // The box of a maximised preview on a 1366 x 768 screen.
  viewer.resize(1366, 768 - 26 - 22 - 30);
  viewer.show();
  QCoreApplication::processEvents();

  QTextStream out(stdout);
  out << "Preview: drawing a page into the off-screen picture, median (worst) of 25, in ms\n";
  out << QStringLiteral("%1 %2 %3 %4\n")
             .arg(QStringLiteral("page"), -8)
             .arg(QStringLiteral("zoom"), -16)
             .arg(QStringLiteral("picture"), -12)
             .arg(QStringLiteral("ms"));
  double worst100 = 0;
  for (CoverPage* page : {&frente, &tras, &cd}) {
    viewer.SetReport(page->report);
    page->report->GenerateToDevices();
    TppScreenDevice& device = *viewer.ScreenDevice();
    for (const auto& [zoom, name] : {std::pair{zsWholePage, "Página Inteira"},
                                     std::pair{zs100Percent, "100 %"}}) {
      viewer.SetZoomSetting(zoom);
      std::vector<double> ms;
      for (int run = 0; run < 25; ++run) {
        QElapsedTimer t;
        t.start();
        device.RenderPage();
        ms.push_back(t.nsecsElapsed() / 1e6);
      }
      // The pictures drawn, to be looked at, when LURNS_PREVIEW_SHOTS names
      // a folder.
      const QString shots = qEnvironmentVariable("LURNS_PREVIEW_SHOTS");
      if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        device.PageImage().save(QDir(shots).filePath(
            QStringLiteral("%1-%2.png").arg(page->name, zoom == zs100Percent ? "100" : "inteira")));
      }
      const double worst = *std::max_element(ms.begin(), ms.end());
      if (zoom == zs100Percent) worst100 = std::max(worst100, Median(ms));
      out << QStringLiteral("%1 %2 %3 %4 (%5)\n")
                 .arg(page->name, -8)
                 .arg(QString::fromUtf8(name), -16)
                 .arg(QStringLiteral("%1x%2").arg(device.PageImage().width()).arg(device.PageImage().height()), -12)
                 .arg(Median(ms), 0, 'f', 2)
                 .arg(worst, 0, 'f', 2);
    }
  }
  out << QStringLiteral("Slowest page at 100 %: %1 ms (aim: under 20 ms)\n").arg(worst100, 0, 'f', 2);
  return 0;
}
