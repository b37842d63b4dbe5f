// A cover previewed is the cover printed: the cover reports filled from a
// document, shown in the preview's viewer at 100 % and printed into a PDF
// read back at the screen's 96 dpi, cover the same pixels — turned spine
// titles drawn by the rotated-text routine at the screen's zoom, an object
// clipped to its sheet, the disc picture clipped to its circle.
#include "document/MedidaTexto.h"
#include "printing/ImpressaoCapa.h"
#include "printing/PrintingClasses.h"
#include "printing/ppViewr.h"
#include "report/ppReport.h"
#include "support/PdfTools.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QBuffer>
#include <QTemporaryDir>
#include <climits>
#include <cstring>
#include <memory>
#include <gtest/gtest.h>

namespace {

TPicture Picture(QColor colour, int side = 64) {
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  TPicture p;
  p.LoadFromData(bytes, QStringLiteral("png"));
  return p;
}

TObjecto Texto(const QString& caption, int left, int top, int angle, int size) {
  TObjecto t = TObjecto::NovoTexto();
  t.Texto = caption;
  t.Fonte.Nome = QStringLiteral("Arial");
  t.Fonte.Tamanho = size;
  t.Fonte.Cor = clBlack;
  t.Left = left;
  t.Top = top;
  const QSize s = TamanhoAutomatico(caption, t.Fonte);
  t.Width = s.width();
  t.Height = s.height();
  if (angle == 90 || angle == 270) std::swap(t.Width, t.Height);
  t.Angulo = angle;
  t.TamanhoAutomatico = angle == 0;
  return t;
}

QRect DarkBox(const QImage& image, const QRect& within, int threshold = 128) {
  int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
  const QRect r = within.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (qGray(image.pixel(x, y)) < threshold) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  if (x1 < 0) return {};
  return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

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
    const QRect s = DarkBox(screen, box), p = DarkBox(paper, box);
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
    const QRect s = DarkBox(screen, area), p = DarkBox(paper, area);
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
    const QRect s = DarkBox(screen, disc.adjusted(-5, -5, 5, 5));
    const QRect p = DarkBox(paper, disc.adjusted(-5, -5, 5, 5));
    EXPECT_LE(std::abs(s.left() - p.left()), 1);
    EXPECT_LE(std::abs(s.top() - p.top()), 1);
    EXPECT_LE(std::abs(s.right() - p.right()), 1);
    EXPECT_LE(std::abs(s.bottom() - p.bottom()), 1);
  }
}

}  // namespace
