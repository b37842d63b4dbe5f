// SPDX-License-Identifier: GPL-3.0-or-later
// A cover previewed is the cover printed: the cover reports filled from a
// document, shown in the preview's viewer at 100 % and printed into a PDF
// read back at the screen's 96 dpi, cover the same pixels — turned spine
// titles drawn by the rotated-text routine at the screen's zoom, an object
// clipped to its sheet, the disc picture clipped to its circle.
#include "printing/ImpressaoCapa.h"
#include "printing/PrintingClasses.h"
#include "reportforms/ppViewr.h"
#include "report/ppReport.h"
#include "support/CoverFixtures.h"
#include "support/PdfTools.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstring>
#include <memory>
#include <gtest/gtest.h>

namespace {

using cover::Picture;
using cover::Texto;

// A rectangle of cover pixels on a report's band, in pixels of the page at
// 96 per inch (the band starts inside the 6.35 mm margins: 24 pixels).
QRect OnPage(int x, int y, int w, int h) { return QRect(24 + x, 24 + y, w, h); }

class CoverPreview : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ScreenPixelsPerInch(), 96) << "the page is compared at 96 dpi";
    RegisterPrintingClasses();
    viewer = std::make_unique<TppViewer>();
    viewer->resize(1300, 900);
    viewer->show();
    QApplication::processEvents();
  }
  void TearDown() override { viewer.reset(); }

  // The page of the cover as the preview shows it at 100 %, and as the
  // printed PDF shows it at 96 dpi.
  void Compare(const TDocumento& d, int pagina, QImage& screen, QImage& paper) {
    capa.Preparar(d, {});
    const QString file = dir.filePath(QStringLiteral("capa%1.pdf").arg(pagina));
    TPedidoImpressao p;
    p.Paginas = {pagina};
    p.Ficheiro = file;
    ASSERT_TRUE(capa.Imprimir(p));

    TppReport* report = capa.Relatorio(pagina);
    report->SetDeviceType(QStringLiteral("Screen"));
    viewer->SetZoomSetting(zs100Percent);
    viewer->SetReport(report);
    report->GenerateToDevices();
    TppScreenDevice& device = *viewer->ScreenDevice();
    screen = device.PageImage()
                 .copy(device.OriginX(), device.OriginY(), device.DrawnWidth(), device.DrawnHeight())
                 .convertToFormat(QImage::Format_Grayscale8);
    viewer->SetReport(nullptr);

    QString why;
    const pdf::GreyImage grey = pdf::Rasterise(file, 1, 96, &why);
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();
    paper = QImage(grey.Width, grey.Height, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.Height; ++y)
      std::memcpy(paper.scanLine(y), grey.Pixels.constData() + qsizetype(y) * grey.Width,
                  size_t(grey.Width));
    ASSERT_EQ(screen.size(), paper.size());
  }

  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
  TImpressaoCapa capa;
  std::unique_ptr<TppViewer> viewer;
};

TEST_F(CoverPreview, TurnedSpineTitlesShowWhereTheyPrint) {
  TDocumento d;
  const TObjecto left = Texto(QStringLiteral("Lurns — Lado B"), 3, 12, 90, 11);
  const TObjecto right = Texto(QStringLiteral("Lurns — Lado B"), 550, 12, 270, 11);
  d.Adicionar(folhaTras, left);
  d.Adicionar(folhaTras, right);
  QImage screen, paper;
  Compare(d, paginaTras, screen, paper);
  if (HasFatalFailure()) return;
  for (const TObjecto* o : {&left, &right}) {
    SCOPED_TRACE(o->Angulo);
    // The spine frames' lines lie just outside the box.
    const QRect box = OnPage(72 + o->Left, 72 + o->Top, o->Width, o->Height);
    const QRect s = DarkBox(screen, box, 128), p = DarkBox(paper, box, 128);
    ASSERT_FALSE(s.isEmpty()) << "the preview shows nothing of the title";
    ASSERT_FALSE(p.isEmpty());
    EXPECT_LE(std::abs(s.left() - p.left()), 2);
    EXPECT_LE(std::abs(s.right() - p.right()), 2);
    EXPECT_LE(std::abs(s.top() - p.top()), 2);
    EXPECT_LE(std::abs(s.bottom() - p.bottom()), 2);
    // Turned: taller than wide, as on the sheet.
    EXPECT_GT(s.height(), 2 * s.width());
  }
}

TEST_F(CoverPreview, ObjectsAreClippedToTheirSheetAndTheDiscPictureToItsCircle) {
  {
    // A black picture on Interior reaching 80 pixels into the front cover.
    TDocumento d;
    TObjecto img = TObjecto::NovaImagem();
    img.Left = 400;
    img.Top = 100;
    img.Width = 138;
    img.Height = 100;
    img.Imagem.Imagem = Picture(Qt::black);
    d.Adicionar(folhaInterior, img);
    QImage screen, paper;
    Compare(d, paginaFrente, screen, paper);
    if (HasFatalFailure()) return;
    const QRect area = OnPage(72 + 380, 72 + 120, 200, 60);
    const QRect s = DarkBox(screen, area, 128), p = DarkBox(paper, area, 128);
    ASSERT_FALSE(s.isEmpty());
    EXPECT_LE(std::abs(s.right() - p.right()), 1) << "the picture ends at Interior's right edge";
    EXPECT_LE(s.right(), OnPage(530, 0, 0, 0).x());
  }
  {
    TDocumento d;
    d.DefinirFundo(fundoCD, {QString(), Picture(Qt::black)});
    QImage screen, paper;
    Compare(d, paginaCD, screen, paper);
    if (HasFatalFailure()) return;
    const QRect disc = OnPage(48, 104, 443, 443);
    // Inside the square, outside the circle: white on both.
    const QPoint corner = disc.topLeft() + QPoint(15, 15);
    EXPECT_GT(qGray(screen.pixel(corner)), 200);
    EXPECT_GT(qGray(paper.pixel(corner)), 200);
    EXPECT_LT(qGray(screen.pixel(disc.center())), 60);
    const QRect s = DarkBox(screen, disc.adjusted(-5, -5, 5, 5), 128);
    const QRect p = DarkBox(paper, disc.adjusted(-5, -5, 5, 5), 128);
    EXPECT_LE(std::abs(s.left() - p.left()), 1);
    EXPECT_LE(std::abs(s.top() - p.top()), 1);
    EXPECT_LE(std::abs(s.right() - p.right()), 1);
    EXPECT_LE(std::abs(s.bottom() - p.bottom()), 1);
  }
}

}  // namespace
