// SPDX-License-Identifier: GPL-3.0-or-later
// Printing a cover: the three cover reports as designed, the turned text's
// extent, the transfer of the document into the reports, and the pages
// written into PDF files, measured with the poppler tools: a turned spine
// title where the editor shows it, the disc picture inside its circle with
// the cutting line, an object clipped to its sheet, "&" printed as it is
// written, a missing picture file that does not stop the print, copies,
// and printers that do not exist.
#include "document/MedidaTexto.h"
#include "platform/Canvas.h"
#include "printing/BuilderControls.h"
#include "printing/ImpressaoCapa.h"
#include "printing/uCentroCD.h"
#include "printing/uFrenteCD.h"
#include "printing/uTrasCD.h"
#include "report/ppBands.h"
#include "report/ppClass.h"
#include "report/ppCtrls.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"
#include "support/CoverFixtures.h"
#include "support/PdfTools.h"
#include "support/ScriptedDialogs.h"

#include <QBuffer>
#include <cmath>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QSet>
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <gtest/gtest.h>

namespace {

// ---------------------------------------------------------------------------
// The rotated extent

TEST(RotatedExtent, WalksTheTurnedBlocksCornersAsTabled) {
  struct {
    int angle;
    TppRect box;
    QPoint reference;
  } cases[] = {
      {0, {0, 0, 101, 21}, {0, 0}},   {30, {0, 0, 97, 68}, {0, 50}},   {90, {0, 0, 21, 101}, {0, 100}},
      {180, {0, 0, 101, 21}, {100, 20}}, {270, {0, 0, 21, 101}, {20, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.angle);
    const TRotatedExtent e = RotatedExtent({0, 0, 100, 20}, c.angle);
    EXPECT_EQ(e.Box.Left, c.box.Left);
    EXPECT_EQ(e.Box.Top, c.box.Top);
    EXPECT_EQ(e.Box.Right, c.box.Right);
    EXPECT_EQ(e.Box.Bottom, c.box.Bottom);
    EXPECT_EQ(e.Reference, c.reference);
  }
  // A block away from the origin keeps its corner.
  const TRotatedExtent moved = RotatedExtent({10, 5, 110, 25}, 90);
  EXPECT_EQ(moved.Box.Left, 10);
  EXPECT_EQ(moved.Box.Top, 5);
  EXPECT_EQ(moved.Reference, QPoint(10, 105));
}

TEST(RotatedLabel, ItsClassesAreMadeByNameAndACopiedCommandKeepsItsTurn) {
  RegisterBuilderControls();
  for (const char* name : {"TRotatedLabel", "TDrawRotatedText", "TSimpleGrid", "TDrawSimpleGrid"})
    EXPECT_TRUE(IsClassRegistered(QLatin1String(name))) << name;
  ASSERT_NE(ppComponentClass(QStringLiteral("TRotatedLabel")), nullptr);
  EXPECT_EQ(ppComponentClass(QStringLiteral("TRotatedLabel"))->Position, 11);
  EXPECT_EQ(ppComponentClass(QStringLiteral("TSimpleGrid"))->Hint, "SimpleGrid");
  std::unique_ptr<TComponent> made(CreateComponentOfClass(QStringLiteral("TDrawRotatedText"), nullptr));
  auto* command = dynamic_cast<TDrawRotatedText*>(made.get());
  ASSERT_NE(command, nullptr);
  TDrawRotatedText source;
  source.Angle = 270;
  source.OffsetX = 15;
  source.OffsetY = 0;
  source.Text = QStringLiteral("Lado B");
  command->Assign(source);
  EXPECT_EQ(command->Angle, 270);
  EXPECT_EQ(command->OffsetX, 15);
  EXPECT_EQ(command->Text, "Lado B");
  // The component: Arial, and the reference point of its turned text in
  // its box, as the editor puts it: at 90 the text starts at its box's
  // left edge, its length up from the top (the automatic box, the turned
  // block's, is one pixel longer than the text).
  TRotatedLabel label;
  EXPECT_EQ(label.Font().Name, "Arial");
  label.SetCaption(QStringLiteral("Lado B"));
  label.SetAngle(90);
  EXPECT_EQ(label.OriginOffset().x(), 0);
  EXPECT_EQ(label.OriginOffset().y(), MMThousandthsToDesignPixels(label.mmHeight()) - 1);
  // A registering twice keeps one entry.
  RegisterBuilderControls();
  EXPECT_TRUE(IsClassRegistered(QStringLiteral("TRotatedLabel")));
}

// On paper as on the sheet: a text of several lines keeps its lines one
// under another, aligned among themselves as the component says, turned
// as one block.
TEST(RotatedLabel, TheLinesOfATextAreAlignedAndTurnedAsOneBlock) {
  TFont font;
  font.Name = QStringLiteral("Arial");
  font.PixelsPerInch = 96;
  font.SetSize(14);
  font.Color = clBlack;
  const QString caption = QStringLiteral("WWWWWWWW\r\nI");
  TTextOptions o = OpcoesDeTexto(0);
  const TTextBlock block = LayoutText(TextFontOf(font), caption, o);
  const QSize ext = block.PixelSize(PixelsPorPonto);
  const int line = int(std::ceil(block.LineHeight * PixelsPorPonto - 1e-6));
  const struct {
    TppTextAlignment alignment;
    double along;
  } casos[] = {{taLeftJustified, 0.03}, {taCentered, 0.5}, {taRightJustified, 0.97}};
  for (const auto& c : casos) {
    for (int angle : {0, 90, 270}) {
      SCOPED_TRACE(testing::Message() << "alignment " << int(c.alignment) << " angle " << angle);
      const QSize box = angle == 0 ? ext : QSize(ext.height(), ext.width());
      TDrawRotatedText command;
      command.Text = caption;
      command.Angle = angle;
      command.Transparent = true;
      command.Font = font;
      command.TextAlignment = c.alignment;
      command.Width = DesignPixelsToMMThousandths(box.width());
      command.Height = DesignPixelsToMMThousandths(box.height());
      QImage image(box, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      TCanvas canvas;
      canvas.Bind(&painter);
      DrawRotatedText(canvas, QRectF(QPoint(0, 0), box), command);
      painter.end();
      auto ink = [&](const QRect& r) {
        QRect out;
        for (int y = r.top(); y <= r.bottom(); ++y)
          for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160) out |= QRect(x, y, 1, 1);
        return out;
      };
      // The second line: below the first level; a quarter to the left, the
      // column right of the first (running up); to the right, left of it
      // (running down).
      const QRect band = angle == 0    ? QRect(0, line, ext.width(), ext.height() - line)
                         : angle == 90 ? QRect(line, 0, ext.height() - line, ext.width())
                                       : QRect(0, 0, ext.height() - line, ext.width());
      const QRect second = ink(band);
      ASSERT_TRUE(second.isValid());
      const double c0 = angle == 0 ? (second.center().x() + 0.5) / ext.width()
                        : angle == 90 ? 1.0 - (second.center().y() + 0.5) / ext.width()
                                      : (second.center().y() + 0.5) / ext.width();
      EXPECT_NEAR(c0, c.along, 0.06);
    }
  }
}

// The one drawing routine on a device of its own: a picture standing in
// for the preview's screen, the object's box of 30 x 300 design pixels
// drawn at two zooms.  The text keeps to its box and scales with the zoom.
TEST(RotatedLabel, TheDrawingRoutineDrawsOnAnyCanvasAtAnyZoom) {
  TDrawRotatedText command;
  command.Text = QStringLiteral("Lado B do disco");
  command.Angle = 90;
  command.Transparent = true;
  command.Font.Name = QStringLiteral("Arial");
  command.Font.PixelsPerInch = 96;
  command.Font.SetSize(12);
  command.Font.Color = clBlack;
  command.Width = DesignPixelsToMMThousandths(30);
  command.Height = DesignPixelsToMMThousandths(300);
  auto inkAt = [&](const QRect& box) {
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    QPainter painter(&image);
    TCanvas canvas;
    canvas.Bind(&painter);
    DrawRotatedText(canvas, QRectF(box), command);
    painter.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    return ink;
  };
  const QRect full = inkAt(QRect(20, 20, 30, 300));
  const QRect half = inkAt(QRect(20, 20, 15, 150));
  ASSERT_FALSE(full.isEmpty());
  ASSERT_FALSE(half.isEmpty());
  EXPECT_TRUE(QRect(20, 20, 30, 300).contains(full));
  EXPECT_TRUE(QRect(20, 20, 15, 150).contains(half));
  EXPECT_NEAR(half.height(), full.height() / 2.0, 4);
  // As the editor places it in a box longer than the text: turned
  // upwards from its length below the box's top, so it ends at the top.
  EXPECT_NEAR(full.top(), 20, 3);
  EXPECT_LT(full.bottom(), 20 + 200);
  // A box too short for the text cuts it at the box's edge.
  command.Height = DesignPixelsToMMThousandths(40);
  const QRect cut = inkAt(QRect(20, 20, 30, 40));
  EXPECT_TRUE(QRect(20, 20, 30, 40).contains(cut));
}

// ---------------------------------------------------------------------------
// The report definitions

struct ComponentRow {
  int page;
  const char* name;
  const char* cls;
  const char* user;
  int left, top, width, height;
};

const ComponentRow kComponents[] = {
    {1, "rptQuadradoLurn", "TppShape", "QuadradoLurn", 139965, 19050, 121179, 120386},
    {1, "rptQuadradoInterior", "TppShape", "QuadradoInterior", 19050, 19050, 121179, 120386},
    {1, "rptImagemLurn", "TppImage", "rptImagemLurn", 140229, 19315, 120650, 119856},
    {1, "rptImagemInterior", "TppImage", "rptImagemInterior", 19315, 19315, 120650, 119856},
    {1, "ppLabel1", "TppLabel", "Label1", 19050, 167217, 115094, 3969},
    {2, "ppLabel1", "TppLabel", "Label1", 21167, 152400, 115094, 3969},
    {2, "rptQuadradoTras1", "TppShape", "rptQuadradoTras1", 19050, 19050, 6085, 118269},
    {2, "rptQuadradoTras2", "TppShape", "rptQuadradoTras2", 24871, 19050, 139171, 118269},
    {2, "rptQuadradoTras3", "TppShape", "rptQuadradoTras3", 163777, 19050, 6085, 118269},
    {2, "rptImagemTras", "TppImage", "rptImagemTras", 19315, 19315, 150284, 117740},
    {2, "rptImagemTrasLombada", "TppImage", "rptImagemTrasLombada", 25135, 19315, 138642, 117740},
    {3, "centroCDShape", "TppShape", "centroCDShape", 12700, 27517, 117211, 117211},
    {3, "centroCDImage", "TppImage", "centroCDImage", 12700, 27517, 117211, 117211},
};

TEST(CoverReports, AreBuiltAsDesigned) {
  TImpressaoCapa capa;
  struct {
    int page;
    TComponent* container;
    const char* report;
    int designCount;
    bool landscape;
    int paperWidth, paperHeight;
    int bandHeight;
    TppPrintHeightType printHeight;
    TppLanguageType language;
  } reports[] = {
      // The front report was designed with the engine's English texts; no
      // language module is shipped, so it reads with the built-in ones.
      {1, capa.frmReportFrenteCD(), "reportFrenteCD", 7, true, 297000, 210000, 185738, phDynamic, lgDefault},
      {2, capa.frmReportTrasCD(), "reportTrasCD", 8, true, 297000, 210000, 169863, phStatic, lgDefault},
      {3, capa.frmReportCentroCD(), "reportCentroCD", 4, false, 210000, 297000, 139965, phStatic, lgDefault},
  };
  for (const auto& r : reports) {
    SCOPED_TRACE(r.report);
    TppReport* report = capa.Relatorio(r.page);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->Name(), r.report);
    EXPECT_EQ(r.container->ComponentCount(), r.designCount);
    EXPECT_EQ(r.container->Components(0), report);
    TppPrinterSetup* s = report->PrinterSetup();
    EXPECT_EQ(s->Orientation(), r.landscape ? poLandscape : poPortrait);
    EXPECT_EQ(s->mmPaperWidth(), r.paperWidth);
    EXPECT_EQ(s->mmPaperHeight(), r.paperHeight);
    for (int m : {s->mmMarginLeft(), s->mmMarginTop(), s->mmMarginRight(), s->mmMarginBottom()}) EXPECT_EQ(m, 6350);
    EXPECT_EQ(s->BinName(), "Default");
    EXPECT_EQ(s->DocumentName(), "Report");
    EXPECT_EQ(s->PrinterName(), "Default");
    EXPECT_EQ(report->Units(), utScreenPixels);
    EXPECT_EQ(report->mmColumnWidth(), 0);
    EXPECT_EQ(report->Version(), "5.5");
    EXPECT_EQ(report->Language(), r.language);
    EXPECT_TRUE(bool(report->OnPreviewFormCreate));
    TppDetailBand* band = report->DetailBand();
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->Name(), "ppDetailBand1");
    EXPECT_EQ(band->mmHeight(), r.bandHeight);
    EXPECT_EQ(band->PrintHeight(), r.printHeight);
    EXPECT_EQ(band->mmBottomOffset(), 0);
    EXPECT_EQ(band->mmPrintPosition(), 0);
    // The fixed components, in creation order, in the band and in the
    // container after the report and the band.
    int i = 0;
    for (const ComponentRow& c : kComponents) {
      if (c.page != r.page) continue;
      SCOPED_TRACE(c.name);
      ASSERT_LT(i, band->ObjectCount());
      TppPrintable* p = band->Objects(i);
      EXPECT_EQ(r.container->Components(2 + i), p);
      EXPECT_EQ(p->Name(), c.name);
      EXPECT_EQ(p->ClassName(), c.cls);
      EXPECT_EQ(p->UserName(), c.user);
      EXPECT_EQ(p->mmLeft(), c.left);
      EXPECT_EQ(p->mmTop(), c.top);
      EXPECT_EQ(p->mmWidth(), c.width);
      EXPECT_EQ(p->mmHeight(), c.height);
      ++i;
    }
    EXPECT_EQ(i, band->ObjectCount());
  }
  // Pictures: stretched but for the two of the back, never keeping their
  // proportions; the disc is a circle; the credit line Arial 10 black.
  EXPECT_TRUE(capa.frmReportFrenteCD()->rptImagemLurn->Stretch());
  EXPECT_FALSE(capa.frmReportTrasCD()->rptImagemTras->Stretch());
  EXPECT_FALSE(capa.frmReportTrasCD()->rptImagemTrasLombada->MaintainAspectRatio());
  EXPECT_EQ(capa.frmReportCentroCD()->centroCDShape->Shape(), stCircle);
  const TFont credit = capa.frmReportFrenteCD()->ppLabel1->Font();
  EXPECT_EQ(credit.Name, "Arial");
  EXPECT_EQ(credit.Size(), 10);
  EXPECT_EQ(credit.Color, clBlack);
  EXPECT_TRUE(capa.frmReportTrasCD()->ppLabel1->Transparent());
}

TEST(CoverReports, DiscMarginsInPixelsRoundHalvesToEven) {
  const std::pair<int, int> cases[] = {{0, 0}, {1, 4}, {10, 38}, {13, 49}, {50, 188}, {100, 377}};
  for (const auto& [mm, px] : cases) EXPECT_EQ(MargemEmPixels(mm), px) << mm;
}

TEST(CoverReports, PageChoicesAsTheDialogGivesThem) {
  using E = TEscolhaPaginas;
  struct {
    E escolha;
    std::vector<int> pages;
  } cases[] = {
      {{E::Todas, 1, 3, 0}, {1, 2, 3}},        {{E::Seleccao, 1, 3, folhaInterior}, {1}},
      {{E::Seleccao, 1, 3, folhaFrente}, {1}}, {{E::Seleccao, 1, 3, folhaTras}, {2}},
      {{E::Seleccao, 1, 3, folhaCD}, {3}},     {{E::Intervalo, 1, 3, 0}, {1, 2, 3}},
      {{E::Intervalo, 2, 3, 0}, {2, 3}},       {{E::Intervalo, 3, 3, 0}, {3}},
      {{E::Intervalo, 1, 2, 0}, {1, 2}},       {{E::Intervalo, 3, 1, 0}, {}},
      {{E::Intervalo, 0, 2, 0}, {}},           {{E::Intervalo, 2, 2000000000, 0}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(PaginasEscolhidas(c.escolha), c.pages) << c.escolha.De << "-" << c.escolha.Ate;
}

// ---------------------------------------------------------------------------
// The transfer into the reports

using cover::Picture;
using cover::Texto;

TEST(CoverTransfer, ClearingRemovesExactlyWhatTheLastCommandAdded) {
  TImpressaoCapa capa;
  TDocumento d;
  d.Adicionar(folhaFrente, Texto(QStringLiteral("Um"), 10, 10));
  d.Adicionar(folhaInterior, Texto(QStringLiteral("Dois"), 10, 10));
  TObjecto img = TObjecto::NovaImagem();
  img.Left = img.Top = 5;
  img.Width = img.Height = 40;
  img.Imagem.Imagem = Picture(Qt::red);
  d.Adicionar(folhaCD, img);
  // Something else the container owns (not made by the commands).
  auto* extra = new TppLabel(capa.frmReportFrenteCD());
  const int frenteCount = capa.frmReportFrenteCD()->ComponentCount();
  for (int run = 0; run < 3; ++run) {
    capa.Preparar(d, {});
    EXPECT_EQ(capa.Transitorios(paginaFrente).size(), 2u);
    EXPECT_EQ(capa.Transitorios(paginaTras).size(), 0u);
    EXPECT_EQ(capa.Transitorios(paginaCD).size(), 1u);
    EXPECT_EQ(capa.frmReportFrenteCD()->ComponentCount(), frenteCount + 2);
    EXPECT_EQ(capa.frmReportCentroCD()->ComponentCount(), 4 + 1);
    EXPECT_EQ(capa.Relatorio(paginaFrente)->DetailBand()->ObjectCount(), 5 + 2);
  }
  capa.LimparRelatorios();
  EXPECT_EQ(capa.frmReportFrenteCD()->ComponentCount(), frenteCount);
  EXPECT_EQ(capa.frmReportCentroCD()->ComponentCount(), 4);
  EXPECT_EQ(capa.frmReportTrasCD()->ComponentCount(), 8);
  // The fixed frames and the extra component are all still there.
  EXPECT_EQ(capa.frmReportFrenteCD()->Components(frenteCount - 1), extra);
  EXPECT_EQ(capa.Relatorio(paginaFrente)->DetailBand()->ObjectCount(), 5);
}

TEST(CoverTransfer, ObjectsGoToTheirSheetsOriginAndTheDiscMovesByTheMargins) {
  TImpressaoCapa capa;
  TDocumento d;
  d.Adicionar(folhaFrente, Texto(QStringLiteral("F"), 0, 0));
  d.Adicionar(folhaInterior, Texto(QStringLiteral("I"), 0, 0));
  d.Adicionar(folhaTras, Texto(QStringLiteral("T"), 3, 4));
  d.Adicionar(folhaCD, Texto(QStringLiteral("C"), 10, 20));
  capa.Preparar(d, {true, 50, 13});
  const auto frente = capa.Transitorios(paginaFrente);
  ASSERT_EQ(frente.size(), 2u);
  EXPECT_EQ(frente[0]->mmLeft(), 139965);  // on the front frame's corner
  EXPECT_EQ(frente[0]->mmTop(), 19050);
  EXPECT_EQ(frente[1]->mmLeft(), 19050);  // on the Interior frame's corner
  const auto tras = capa.Transitorios(paginaTras);
  ASSERT_EQ(tras.size(), 1u);
  EXPECT_EQ(tras[0]->mmLeft(), DesignPixelsToMMThousandths(75));
  EXPECT_EQ(tras[0]->mmTop(), DesignPixelsToMMThousandths(76));
  // 50 mm down is 188 pixels, 13 mm right 49.
  TfrmReportCentroCD& cd = *capa.frmReportCentroCD();
  EXPECT_EQ(cd.centroCDShape->mmTop(), DesignPixelsToMMThousandths(104 + 188));
  EXPECT_EQ(cd.centroCDShape->mmLeft(), DesignPixelsToMMThousandths(48 + 49));
  const auto disco = capa.Transitorios(paginaCD);
  ASSERT_EQ(disco.size(), 1u);
  EXPECT_EQ(disco[0]->mmLeft(), DesignPixelsToMMThousandths(48 + 49 + 10));
  EXPECT_EQ(disco[0]->mmTop(), DesignPixelsToMMThousandths(104 + 188 + 20));
  // A second command puts everything in the same place.
  capa.Preparar(d, {true, 50, 13});
  EXPECT_EQ(cd.centroCDShape->mmTop(), DesignPixelsToMMThousandths(104 + 188));
  EXPECT_EQ(capa.Transitorios(paginaCD)[0]->mmTop(), DesignPixelsToMMThousandths(104 + 188 + 20));
  // No margins: nothing leaves the paper; the largest left margin pushes
  // the disc past the printable area, and a warning says so.
  EXPECT_TRUE(capa.ForaDaAreaImprimivel().isEmpty());
  capa.Preparar(d, {true, 0, 100});
  const QStringList fora = capa.ForaDaAreaImprimivel();
  ASSERT_EQ(fora.size(), 1);
  EXPECT_TRUE(fora[0].contains(QStringLiteral("página 3"))) << fora[0].toStdString();
}

TEST(CoverTransfer, TheBackPictureCoversTheSpinesOnlyWhenAsked) {
  TImpressaoCapa capa;
  TDocumento d;
  d.DefinirFundo(fundoTras, {QString(), Picture(Qt::blue)});
  TfrmReportTrasCD& t = *capa.frmReportTrasCD();
  capa.Preparar(d, {true, 0, 0});
  EXPECT_FALSE(t.rptImagemTras->Picture().Empty());
  EXPECT_TRUE(t.rptImagemTrasLombada->Picture().Empty());
  capa.Preparar(d, {false, 0, 0});
  EXPECT_TRUE(t.rptImagemTras->Picture().Empty());
  EXPECT_FALSE(t.rptImagemTrasLombada->Picture().Empty());
  EXPECT_EQ(t.rptImagemTrasLombada->mmWidth(), 138642);
}

// ---------------------------------------------------------------------------
// Pages written into PDF files

class CoverPdf : public ::testing::Test {
 protected:
  QString Print(const TDocumento& d, std::vector<int> pages = {1, 2, 3}, int copies = 1,
                const TOpcoesCapa& opcoes = {}) {
    const QString file = dir.filePath(QStringLiteral("capa%1.pdf").arg(++n));
    capa.Preparar(d, opcoes);
    TPedidoImpressao p;
    p.Paginas = std::move(pages);
    p.Copias = copies;
    p.Ficheiro = file;
    EXPECT_TRUE(capa.Imprimir(p));
    return file;
  }
  pdf::GreyImage Page(const QString& file, int page, int dpi = 300) {
    QString why;
    pdf::GreyImage image = pdf::Rasterise(file, page, dpi, &why);
    EXPECT_GT(image.Width, 0) << why.toStdString();
    return image;
  }
  QString Text(const QString& file, int page) {
    QString why;
    return QString::fromUtf8(pdf::RunTool(QStringLiteral("pdftotext"),
                                          {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                           QString::number(page), file, QStringLiteral("-")},
                                          &why));
  }
  // A rectangle of cover pixels on a report's band, in millimetres from
  // the paper's corner (the band starts inside the 6.35 mm margins).
  static QRectF OnPaper(int x, int y, int w, int h) {
    const double mm = 25.4 / 96;
    return QRectF(6.35 + x * mm, 6.35 + y * mm, w * mm, h * mm);
  }
  static int Grey(const pdf::GreyImage& image, QPointF mm) {
    return image.At(int(mm.x() / 25.4 * image.Dpi), int(mm.y() / 25.4 * image.Dpi));
  }

  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
  TImpressaoCapa capa;
  int n = 0;
};

TEST_F(CoverPdf, FramesAndTheDiscPrintAtTheirPlacesWithinAFifthOfAMillimetre) {
  // An empty cover: only the frames' outlines (and the credit lines, below
  // the region looked at) are dark.  Millimetres from the paper's corner:
  // the designs' values plus the 6.35 mm margin.
  struct {
    std::vector<int> page;
    TOpcoesCapa opcoes;
    QRectF expected;
  } cases[] = {
      // Interior and Frente side by side.
      {{paginaFrente}, {}, QRectF(QPointF(25.4, 25.4), QPointF(6.35 + 139.965 + 121.179, 6.35 + 19.05 + 120.386))},
      // The back inlay, spines included.
      {{paginaTras}, {}, QRectF(QPointF(25.4, 25.4), QPointF(6.35 + 163.777 + 6.085, 6.35 + 19.05 + 118.269))},
      // The disc, then moved by 50 mm down (188 pixels) and 13 right (49).
      {{paginaCD}, {}, QRectF(6.35 + 12.7, 6.35 + 27.517, 117.211, 117.211)},
      {{paginaCD},
       {true, 50, 13},
       QRectF(6.35 + 12.7 + 49 * 25.4 / 96, 6.35 + 27.517 + 188 * 25.4 / 96, 117.211, 117.211)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected.top());
    const pdf::GreyImage page = Page(Print(TDocumento(), c.page, 1, c.opcoes), 1, 300);
    const QRectF ink = pdf::DarkBoxMM(page, c.expected.adjusted(-3, -3, 3, 3));
    EXPECT_NEAR(ink.left(), c.expected.left(), 0.2);
    EXPECT_NEAR(ink.top(), c.expected.top(), 0.2);
    EXPECT_NEAR(ink.right(), c.expected.right(), 0.2);
    EXPECT_NEAR(ink.bottom(), c.expected.bottom(), 0.2);
  }
}

TEST_F(CoverPdf, ALevelTextPrintsAtItsSheetPositionPlusTheSheetsOrigin) {
  struct {
    int folha;
    QPoint origin;
  } cases[] = {{folhaFrente, {529, 72}}, {folhaInterior, {72, 72}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folha);
    TDocumento d;
    const TObjecto t = Texto(QStringLiteral("HHHH"), 40, 30, 0, 20);
    d.Adicionar(c.folha, t);
    const pdf::GreyImage page = Page(Print(d, {paginaFrente}), 1, 300);
    const QRectF box = OnPaper(c.origin.x() + t.Left, c.origin.y() + t.Top, t.Width, t.Height);
    const QRectF ink = pdf::DarkBoxMM(page, box.adjusted(-2, -2, 2, 2));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(box.adjusted(-0.2, -0.2, 0.2, 0.2).contains(ink));
    // An H starts at its left side bearing and ends on the baseline.
    EXPECT_NEAR(ink.left(), box.left(), 0.6);
    EXPECT_GT(ink.width(), 0.8 * box.width());
  }
}

TEST_F(CoverPdf, ATurnedSpineTitlePrintsInsideItsBoxFromItsReferencePoint) {
  // The back inlay's spines: a title reading upwards on the left one and
  // downwards on the right one, each in a box of its turned size.
  TDocumento d;
  const TObjecto left = Texto(QStringLiteral("Lurns — Lado B"), 3, 12, 90, 11);
  const TObjecto right = Texto(QStringLiteral("Lurns — Lado B"), 550, 12, 270, 11);
  d.Adicionar(folhaTras, left);
  d.Adicionar(folhaTras, right);
  const QString file = Print(d, {paginaTras});
  const pdf::GreyImage page = Page(file, 1);
  for (const TObjecto* o : {&left, &right}) {
    SCOPED_TRACE(o->Angulo);
    const QRectF box = OnPaper(72 + o->Left, 72 + o->Top, o->Width, o->Height);
    // (The spine frames' lines lie a few tenths of a millimetre outside.)
    const QRectF ink = pdf::DarkBoxMM(page, box.adjusted(-0.2, -0.2, 0.2, 0.2));
    ASSERT_FALSE(ink.isEmpty()) << "nothing printed in " << box.x() << ", " << box.y();
    // The line runs along the box, filling it as the editor shows it: from
    // its bottom upwards at 90, from its top downwards at 270; across, the
    // letters fill most of the line's height.
    EXPECT_GT(ink.height(), 0.85 * box.height());
    EXPECT_GT(ink.width(), 0.5 * box.width());
    if (o->Angulo == 90)
      EXPECT_NEAR(ink.bottom(), box.bottom(), 1.0);
    else
      EXPECT_NEAR(ink.top(), box.top(), 1.0);
  }
}

TEST_F(CoverPdf, TheDiscPictureStaysInsideTheCircleUnderItsOutline) {
  const QRectF disc = OnPaper(48, 104, 443, 443);
  const QPointF centre = disc.center();
  const QPointF corner = disc.topLeft() + QPointF(4, 4);  // in the box, outside the circle
  {
    TDocumento d;
    d.DefinirFundo(fundoCD, {QString(), Picture(Qt::black)});
    const pdf::GreyImage page = Page(Print(d, {paginaCD}), 1, 100);
    EXPECT_LT(Grey(page, centre), 60);
    EXPECT_GT(Grey(page, corner), 200);
  }
  {
    // A white picture: only the cutting line is dark, around the whole disc.
    TDocumento d;
    d.DefinirFundo(fundoCD, {QString(), Picture(Qt::white)});
    const pdf::GreyImage page = Page(Print(d, {paginaCD}), 1, 100);
    const QRectF ink = pdf::DarkBoxMM(page);
    EXPECT_NEAR(ink.left(), disc.left(), 0.5);
    EXPECT_NEAR(ink.top(), disc.top(), 0.5);
    EXPECT_NEAR(ink.right(), disc.right(), 0.5);
    EXPECT_NEAR(ink.bottom(), disc.bottom(), 0.5);
    EXPECT_GT(Grey(page, centre), 200);
  }
}

TEST_F(CoverPdf, AnObjectReachingPastItsSheetIsClippedToIt) {
  // A black picture on Interior that reaches 80 pixels into the front cover.
  TDocumento d;
  TObjecto img = TObjecto::NovaImagem();
  img.Left = 400;
  img.Top = 100;
  img.Width = 138;
  img.Height = 100;
  img.Imagem.Imagem = Picture(Qt::black);
  d.Adicionar(folhaInterior, img);
  const pdf::GreyImage page = Page(Print(d, {paginaFrente}), 1, 150);
  const QRectF onInterior = OnPaper(72 + 440, 72 + 150, 1, 1);
  const QRectF onFrente = OnPaper(72 + 470, 72 + 150, 1, 1);
  EXPECT_LT(Grey(page, onInterior.center()), 60);
  EXPECT_GT(Grey(page, onFrente.center()), 200);
  // The part that is drawn ends at the Interior frame's right edge.
  const QRectF ink = pdf::DarkBoxMM(page, OnPaper(72 + 380, 72 + 120, 200, 60));
  EXPECT_NEAR(ink.right(), OnPaper(530, 0, 0, 0).x(), 0.4);

  // An object reaching far below the front cover, past the band's end:
  // clipped to its sheet, it sends nothing to a second page.
  TDocumento low;
  TObjecto tall = TObjecto::NovaImagem();
  tall.Left = 100;
  tall.Top = 400;
  tall.Width = 100;
  tall.Height = 600;
  tall.Imagem.Imagem = Picture(Qt::black);
  low.Adicionar(folhaFrente, tall);
  const QString file = Print(low, {paginaFrente});
  QString why;
  EXPECT_EQ(pdf::Pages(file, &why).size(), 1);
  const pdf::GreyImage one = Page(file, 1, 150);
  EXPECT_LT(Grey(one, OnPaper(529 + 150, 72 + 430, 1, 1).center()), 60);
  EXPECT_GT(Grey(one, OnPaper(529 + 150, 72 + 470, 1, 1).center()), 200);
}

TEST_F(CoverPdf, AmpersandsPrintAsWrittenAndAMissingPictureFileDoesNotStopThePrint) {
  TDocumento d;
  d.Adicionar(folhaFrente, Texto(QStringLiteral("Rock & Roll"), 20, 20));
  // A picture object whose file was not found when the cover was read: it
  // holds no picture and prints nothing.
  TObjecto missing = TObjecto::NovaImagem();
  missing.Imagem.Ficheiro = dir.filePath(QStringLiteral("nao-existe.png"));
  missing.Left = missing.Top = 50;
  missing.Width = missing.Height = 80;
  d.Adicionar(folhaFrente, missing);
  d.Adicionar(folhaCD, Texto(QStringLiteral("Disco & Capa"), 150, 100));
  // A picture whose file changed on disk since it was read prints what
  // the cover shows (black), not the file (now white).
  TObjecto changed = TObjecto::NovaImagem();
  changed.Imagem.Ficheiro = dir.filePath(QStringLiteral("mudou.png"));
  QImage white(8, 8, QImage::Format_RGB32);
  white.fill(Qt::white);
  ASSERT_TRUE(white.save(changed.Imagem.Ficheiro));
  changed.Imagem.Imagem = Picture(Qt::black);
  changed.Left = 200;
  changed.Top = 200;
  changed.Width = changed.Height = 60;
  d.Adicionar(folhaFrente, changed);
  // A text left in a face without outlines prints in a substitute.
  TObjecto old = Texto(QStringLiteral("Face antiga"), 20, 300);
  old.Fonte.Nome = QStringLiteral("MS Sans Serif");
  d.Adicionar(folhaFrente, old);
  const QString file = Print(d);
  QString why;
  EXPECT_EQ(pdf::Pages(file, &why).size(), 3);
  EXPECT_LT(Grey(Page(file, 1, 100), OnPaper(529 + 230, 72 + 230, 1, 1).center()), 60);
  EXPECT_TRUE(Text(file, 1).contains(QStringLiteral("Face antiga")));
  EXPECT_TRUE(Text(file, 1).contains(QStringLiteral("Rock & Roll"))) << Text(file, 1).toStdString();
  EXPECT_TRUE(Text(file, 3).contains(QStringLiteral("Disco & Capa")));
  EXPECT_TRUE(dialogs->Asked.isEmpty()) << dialogs->Asked.join('\n').toStdString();
}

TEST_F(CoverPdf, SystemColoursPrintFromTheFixedPaletteWhateverTheDesktopTheme) {
  // A dark desktop theme: window text white on black.
  const QPalette before = QGuiApplication::palette();
  QPalette dark = before;
  dark.setColor(QPalette::WindowText, Qt::white);
  dark.setColor(QPalette::Window, Qt::black);
  dark.setColor(QPalette::Base, Qt::black);
  dark.setColor(QPalette::Text, Qt::white);
  dark.setColor(QPalette::Button, Qt::black);
  QGuiApplication::setPalette(dark);
  TDocumento d;
  TObjecto t = Texto(QStringLiteral("MMMMMMMM"), 40, 40, 0, 28);
  t.Fonte.Cor = clWindowText;  // a new text's colour
  d.Adicionar(folhaFrente, t);
  const pdf::GreyImage page = Page(Print(d, {paginaFrente}), 1, 100);
  QGuiApplication::setPalette(before);
  const QRectF box = OnPaper(529 + t.Left, 72 + t.Top, t.Width, t.Height);
  const QRectF ink = pdf::DarkBoxMM(page, box, 100);
  EXPECT_FALSE(ink.isEmpty()) << "the text did not print dark";
}

TEST_F(CoverPdf, CopiesComeOutPageByPageAndAreNotCarriedOver) {
  TDocumento d;
  d.Adicionar(folhaFrente, Texto(QStringLiteral("PaginaUm"), 20, 20));
  d.Adicionar(folhaTras, Texto(QStringLiteral("PaginaDois"), 100, 20));
  d.Adicionar(folhaCD, Texto(QStringLiteral("PaginaTres"), 150, 100));
  const QString three = Print(d, {1, 2, 3}, 3);
  const QString one = Print(d, {1, 2, 3}, 1);
  const char* names[] = {"PaginaUm", "PaginaDois", "PaginaTres"};
  QString why;
  const auto pages3 = pdf::Pages(three, &why);
  ASSERT_EQ(pages3.size(), 9) << why.toStdString();
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_TRUE(Text(three, i + 1).contains(QLatin1String(names[i / 3])));
    EXPECT_EQ(pages3[i].SizePt.width() > pages3[i].SizePt.height(), i < 6);  // two landscape, then the disc
  }
  const auto pages1 = pdf::Pages(one, &why);
  ASSERT_EQ(pages1.size(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Text(one, i + 1).contains(QLatin1String(names[i])));
  // Collated copies come set after set.
  capa.Preparar(d, {});
  TPedidoImpressao collated;
  collated.Paginas = {1, 2, 3};
  collated.Copias = 2;
  collated.Agrupar = true;
  collated.Ficheiro = dir.filePath(QStringLiteral("agrupadas.pdf"));
  ASSERT_TRUE(capa.Imprimir(collated));
  ASSERT_EQ(pdf::Pages(collated.Ficheiro, &why).size(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(Text(collated.Ficheiro, i + 1).contains(QLatin1String(names[i % 3])));
  // A range of two pages, and the disc alone.
  EXPECT_EQ(pdf::Pages(Print(d, {2, 3}), &why).size(), 2);
  const auto disc = pdf::Pages(Print(d, {3}), &why);
  ASSERT_EQ(disc.size(), 1);
  EXPECT_LT(disc[0].SizePt.width(), disc[0].SizePt.height());
}

TEST_F(CoverPdf, APictureIsStoredOnceHoweverOftenItPrintsAndTextStaysText) {
  // The same picture on the front, the back and a picture object, and
  // three copies of every page.
  TDocumento d;
  const TPicture picture = Picture(Qt::darkGreen, 300);
  d.DefinirFundo(fundoFrente, {QString(), picture});
  d.DefinirFundo(fundoTras, {QString(), picture});
  TObjecto img = TObjecto::NovaImagem();
  img.Imagem.Imagem = picture;
  img.Left = img.Top = 10;
  img.Width = img.Height = 50;
  d.Adicionar(folhaInterior, img);
  d.Adicionar(folhaFrente, Texto(QStringLiteral("Texto que se procura"), 20, 20));
  const QString file = Print(d, {1, 2, 3}, 3);
  QString why;
  const QByteArray list = pdf::RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file}, &why);
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  // page num type width height color comp bpc enc interp object ID ...
  QSet<QString> objects;
  int uses = 0;
  const QList<QByteArray> lines = list.split('\n');
  for (int i = 2; i < lines.size(); ++i) {
    const QStringList f = QString::fromLatin1(lines[i]).simplified().split(QLatin1Char(' '));
    if (f.size() > 11 && f[2] == QLatin1String("image")) {
      ++uses;
      objects.insert(f[10] + QLatin1Char(' ') + f[11]);
    }
  }
  EXPECT_EQ(uses, 9);  // twice on each copy of page 1, once on each of page 2
  EXPECT_EQ(objects.size(), 1) << list.toStdString();
  // Every copy of the first page holds the text as text.
  for (int page : {1, 2, 3}) EXPECT_TRUE(Text(file, page).contains(QStringLiteral("Texto que se procura")));
}

// An object that cannot be printed is named as the user knows it, the
// page printing without it; no page at all to print is an error.
TEST_F(CoverPdf, WhatDidNotPrintIsNamedByObjectAndSheetAndNoPagesIsAnError) {
  TDocumento d;
  TObjecto t = TObjecto::NovoTexto();
  t.Nome = QStringLiteral("Texto1");
  t.Texto = QStringLiteral("Lado A");
  t.Left = t.Top = 20;
  t.Width = 100;
  t.Height = 20;
  d.Adicionar(folhaFrente, t);
  capa.Preparar(d, {});
  ASSERT_EQ(capa.Transitorios(paginaFrente).size(), 1u);
  capa.Transitorios(paginaFrente)[0]->SetDrawCommandClass(QStringLiteral("TNoSuchCommand"));
  TPedidoImpressao p;
  p.Paginas = {paginaFrente, paginaCD};
  p.Ficheiro = dir.filePath(QStringLiteral("sem-texto.pdf"));
  ASSERT_TRUE(capa.Imprimir(p));
  EXPECT_EQ(capa.NaoImpressos(),
            QStringList{"Texto1 (Frente): O comando de desenho TNoSuchCommand não está registado."});
  QString why;
  EXPECT_EQ(pdf::Pages(p.Ficheiro, &why).size(), 2);
  // The next print starts afresh.
  capa.Preparar(d, {});
  p.Ficheiro = dir.filePath(QStringLiteral("com-texto.pdf"));
  ASSERT_TRUE(capa.Imprimir(p));
  EXPECT_TRUE(capa.NaoImpressos().isEmpty());

  p.Paginas = {};
  p.Ficheiro = dir.filePath(QStringLiteral("nada.pdf"));
  try {
    capa.Imprimir(p);
    ADD_FAILURE() << "no error";
  } catch (const EPrintError& e) {
    EXPECT_EQ(e.Message, "Impossível Gerar Relatório\n\nNenhuma página para imprimir.");
  }
  EXPECT_FALSE(QFile::exists(p.Ficheiro));
}

TEST_F(CoverPdf, APrinterTheSystemDoesNotHaveIsAnErrorAndPrintsNothingInstead) {
  TDocumento d;
  capa.Preparar(d, {});
  TPedidoImpressao p;
  p.Paginas = {1};
  p.Impressora = QStringLiteral("nao-existe");
  try {
    capa.Imprimir(p);
    ADD_FAILURE() << "no error";
  } catch (const EPrintError& e) {
    EXPECT_TRUE(e.Message.contains(QStringLiteral("nao-existe"))) << e.Message.toStdString();
  }
  EXPECT_FALSE(capa.Ocupado());
}

}  // namespace
