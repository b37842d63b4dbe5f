// SPDX-License-Identifier: GPL-3.0-or-later
// Disc labels on self-adhesive sheets: the makers' table built into the
// program, the settings that keep the paper, and the disc page printed on
// every stock at each position, measured on the PDF at 600 dpi: the disc's
// circle on the stock's centre with its diameter, no ink in its hole or
// outside it.  And what every printed PDF asks of viewers: no scaling, and
// where each page's sheet is cut.
#include "document/EtiquetasDisco.h"
#include "document/Registo.h"
#include "printing/DialogoCalibracao.h"
#include "printing/ImpressaoCapa.h"
#include "support/CoverFixtures.h"
#include "support/PdfTools.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// ---------------------------------------------------------------------------
// The table

TEST(DiscLabelStock, TheBuiltInTableIsTheStockFileWithMakerAndPart) {
  QFile f(QStringLiteral(LURNS_SOURCE_DIR "/resources/stock/disc-label-stock.tsv"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  QString erro;
  const QList<TEtiquetaDisco> file = LerTabelaEtiquetas(QString::fromUtf8(f.readAll()), &erro);
  EXPECT_TRUE(erro.isEmpty()) << erro.toStdString();
  const QList<TEtiquetaDisco>& table = EtiquetasDisco();
  ASSERT_EQ(table.size(), 7);
  ASSERT_EQ(table.size(), file.size());
  for (int i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].Nome(), file[i].Nome());
    EXPECT_EQ(table[i].Exterior, file[i].Exterior);
    EXPECT_EQ(table[i].Centros[1], file[i].Centros[1]);
  }
  EXPECT_EQ(table[0].Nome(), "Avery L7676");
  EXPECT_EQ(table[0].Furo, 17.6);
  EXPECT_EQ(table[2].Centros[0], QPointF(105.0, 74.5));
  ASSERT_TRUE(EtiquetaDisco(QStringLiteral("ea-cd-rom2q")));
  EXPECT_EQ(EtiquetaDisco(QStringLiteral("ea-cd-rom2q"))->Fabricante, "Igepa");
  EXPECT_FALSE(EtiquetaDisco(QStringLiteral("L9999")));
  EXPECT_FALSE(EtiquetaDisco(QString()));
}

TEST(DiscLabelStock, TablesAndFiguresThatMakeNoLabelsAreRefused) {
  const QString header = QStringLiteral(
      "maker\tpart\touter_diameter_mm\thole_diameter_mm\tcentre1_x_mm\tcentre1_y_mm\tcentre2_x_mm\tcentre2_y_mm\n");
  struct {
    const char* why;
    QString text;
  } cases[] = {
      {"no header", QStringLiteral("A\tB\t117\t17\t105\t80\t105\t217\n")},
      {"a field missing", header + QStringLiteral("A\tB\t117\t17\t105\t80\t105\n")},
      {"not a number", header + QStringLiteral("A\tB\t117\tx\t105\t80\t105\t217\n")},
      {"hole as wide as the disc", header + QStringLiteral("A\tB\t117\t117\t105\t80\t105\t217\n")},
      {"disc off the sheet", header + QStringLiteral("A\tB\t117\t17\t30\t80\t105\t217\n")},
      {"discs over each other", header + QStringLiteral("A\tB\t117\t17\t105\t80\t105\t150\n")},
      {"no part", header + QStringLiteral("A\t\t117\t17\t105\t80\t105\t217\n")},
      {"part twice", header + QStringLiteral("A\tB\t117\t17\t105\t80\t105\t217\nC\tb\t117\t17\t105\t80\t105\t217\n")},
      {"empty", QStringLiteral("# nothing\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    QString erro;
    EXPECT_TRUE(LerTabelaEtiquetas(c.text, &erro).isEmpty());
    EXPECT_TRUE(erro.startsWith(QStringLiteral("linha "))) << erro.toStdString();
  }
  QString erro;
  EXPECT_EQ(LerTabelaEtiquetas(header + QStringLiteral("A\tB\t117\t17\t105\t80\t105\t217\n"), &erro).size(), 1);
}

TEST(DiscLabelStock, TheSettingsKeepThePaperOutsideTheCover) {
  auto registo = AbrirRegisto();
  registo->remove(QString());
  EXPECT_EQ(LerPapelDisco(*registo).Tipo, TPapelDisco::A4Simples);
  EXPECT_FALSE(LerPapelDisco(*registo).Stock());

  TPapelDisco avery;
  avery.Tipo = TPapelDisco::Etiqueta;
  avery.Referencia = QStringLiteral("L6043");
  GravarPapelDisco(*registo, avery);
  EXPECT_EQ(registo->value(QStringLiteral("PapelCD")).toString(), "L6043");
  ASSERT_TRUE(LerPapelDisco(*registo).Stock());
  EXPECT_EQ(LerPapelDisco(*registo).Stock()->Furo, 41.2);

  TPapelDisco own;
  own.Tipo = TPapelDisco::Propria;
  own.Medidas.Exterior = 116.5;
  own.Medidas.Furo = 22;
  own.Medidas.Centros[0] = QPointF(104.5, 79.25);
  own.Medidas.Centros[1] = QPointF(104.5, 218);
  GravarPapelDisco(*registo, own);
  const auto read = LerPapelDisco(*registo).Stock();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Exterior, 116.5);
  EXPECT_EQ(read->Centros[0], QPointF(104.5, 79.25));

  // A part the table does not have is plain A4, never another stock.
  registo->setValue(QStringLiteral("PapelCD"), QStringLiteral("L0000"));
  EXPECT_EQ(LerPapelDisco(*registo).Tipo, TPapelDisco::A4Simples);
  // Own figures that make no labels print on plain A4.
  registo->setValue(QStringLiteral("PapelCD"), QStringLiteral("Propria"));
  registo->setValue(QStringLiteral("EtiquetaFuro"), QStringLiteral("20000"));
  EXPECT_EQ(LerPapelDisco(*registo).Tipo, TPapelDisco::Propria);
  EXPECT_FALSE(LerPapelDisco(*registo).Stock());
  registo->remove(QString());
}

// ---------------------------------------------------------------------------
// Printer calibration: kept per queue, entered in its dialog

TEST(PrinterCalibration, KeptPerQueueAndOnlyWhenSound) {
  auto registo = AbrirRegisto();
  registo->remove(QString());
  EXPECT_FALSE(LerCalibracao(*registo, QStringLiteral("FilePDF")));
  const TPrinterCalibration c{2.0, -1.5, 1.005, 0.995};
  GravarCalibracao(*registo, QStringLiteral("FilePDF"), c);
  ASSERT_TRUE(LerCalibracao(*registo, QStringLiteral("FilePDF")));
  EXPECT_EQ(*LerCalibracao(*registo, QStringLiteral("FilePDF")), c);
  EXPECT_EQ(registo->value(QStringLiteral("Calibracao/FilePDF/SX")).toString(), "10050");
  EXPECT_FALSE(LerCalibracao(*registo, QStringLiteral("OtherPDF")));
  // A value no printer needs (a typing error) is not applied.
  registo->setValue(QStringLiteral("Calibracao/FilePDF/DX"), QStringLiteral("5000"));
  EXPECT_FALSE(LerCalibracao(*registo, QStringLiteral("FilePDF")));
  // None removes it.
  GravarCalibracao(*registo, QStringLiteral("FilePDF"), std::nullopt);
  EXPECT_FALSE(registo->contains(QStringLiteral("Calibracao/FilePDF/DX")));
  registo->remove(QString());
}

TEST(PrinterCalibration, TheDialogPrintsRawOrWithItsValuesAndAnswersThem) {
  TDialogoCalibracao d(QStringLiteral("FilePDF"), {1.5, -0.5, 1.002, 0.998});
  EXPECT_DOUBLE_EQ(d.spinDX->value(), 1.5);
  EXPECT_DOUBLE_EQ(d.spinSY->value(), 99.8);
  std::vector<TPrinterCalibration> printed;
  d.Imprimir = [&](const TPrinterCalibration& c) { printed.push_back(c); };
  d.botaoSemCalibracao->click();
  d.spinSX->setValue(100.5);
  d.botaoComValores->click();
  ASSERT_EQ(printed.size(), 2u);
  EXPECT_TRUE(printed[0].IsIdentity());
  EXPECT_NEAR(printed[1].ScaleX, 1.005, 1e-9);
  EXPECT_NEAR(printed[1].OffsetY, -0.5, 1e-9);
  EXPECT_NEAR(d.Valores().ScaleY, 0.998, 1e-9);
}

// ---------------------------------------------------------------------------
// The disc page on each stock

class DiscLabelPdf : public ::testing::Test {
 protected:
  QString Print(const TDocumento& d, const TOpcoesCapa& opcoes, std::vector<int> pages = {paginaCD}) {
    const QString file = dir.filePath(QStringLiteral("capa%1.pdf").arg(++n));
    capa.Preparar(d, opcoes);
    TPedidoImpressao p;
    p.Paginas = std::move(pages);
    p.Ficheiro = file;
    EXPECT_TRUE(capa.Imprimir(p));
    return file;
  }
  // A disc covered in black: a black picture over the whole CD sheet, and
  // a grey disc under it.
  static TDocumento BlackDisc() {
    TDocumento d;
    d.DefinirCor(folhaCD, 0x808080);
    TObjecto img = TObjecto::NovaImagem();
    img.Left = -20;
    img.Top = -20;
    img.Width = 486;
    img.Height = 486;
    img.Imagem.Imagem = cover::Picture(Qt::black);
    d.Adicionar(folhaCD, img);
    return d;
  }
  // Counts the pixels darker than `threshold` whose distance from `c`
  // (mm) lies in [from, to).
  static int InkBetween(const pdf::GreyImage& page, QPointF c, double from, double to, int threshold = 250) {
    const double px = page.Dpi / 25.4;
    int count = 0;
    const int x0 = std::max(0, int((c.x() - to) * px)), x1 = std::min(page.Width, int((c.x() + to) * px) + 1);
    const int y0 = std::max(0, int((c.y() - to) * px)), y1 = std::min(page.Height, int((c.y() + to) * px) + 1);
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const double r = std::hypot((x + 0.5) / px - c.x(), (y + 0.5) / px - c.y());
        if (r >= from && r < to && page.At(x, y) < threshold) ++count;
      }
    return count;
  }
  QTemporaryDir dir;
  TImpressaoCapa capa;
  int n = 0;
};

// One test per stock of the table (each prints and measures its three
// pages at 600 dpi).
class EveryStock : public DiscLabelPdf, public ::testing::WithParamInterface<int> {};

TEST_P(EveryStock, AtEachPositionTheDiscIsCentredClippedAndLeavesItsHoleClear) {
  const TDocumento d = BlackDisc();
  ASSERT_LT(GetParam(), EtiquetasDisco().size());
  {
    const TEtiquetaDisco& e = EtiquetasDisco()[GetParam()];
    for (TPosicaoDisco posicao : {TPosicaoDisco::Primeira, TPosicaoDisco::Segunda, TPosicaoDisco::Ambas}) {
      SCOPED_TRACE(e.Nome().toStdString() + " position " + std::to_string(int(posicao)));
      TOpcoesCapa opcoes;
      opcoes.Etiqueta = e;
      opcoes.Posicao = posicao;
      QString why;
      const pdf::GreyImage page = pdf::Rasterise(Print(d, opcoes), 1, 600, &why);
      ASSERT_GT(page.Width, 0) << why.toStdString();
      const double r = e.Exterior / 2, hole = e.Furo / 2;
      for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i + 1);
        const QPointF c = e.Centros[i];
        const QRectF around(c.x() - r - 3, c.y() - r - 3, 2 * r + 6, 2 * r + 6);
        const bool printed = posicao == TPosicaoDisco::Ambas || int(posicao) == i + 1;
        if (!printed) {
          EXPECT_EQ(InkBetween(page, c, 0, r + 3), 0);
          continue;
        }
        const QRectF ink = pdf::DarkBoxMM(page, around);
        EXPECT_NEAR(ink.center().x(), c.x(), 0.2) << pdf::Describe(ink);
        EXPECT_NEAR(ink.center().y(), c.y(), 0.2) << pdf::Describe(ink);
        EXPECT_NEAR(ink.width(), e.Exterior, 0.2) << pdf::Describe(ink);
        EXPECT_NEAR(ink.height(), e.Exterior, 0.2) << pdf::Describe(ink);
        // Nothing in the hole, nothing outside the circle (the rasteriser's
        // smoothing of the edge itself aside: a tenth of a millimetre).
        EXPECT_EQ(InkBetween(page, c, 0, hole - 0.1), 0);
        EXPECT_EQ(InkBetween(page, c, r + 0.1, r + 3), 0);
        // And the label itself is covered right up to both edges.
        EXPECT_GT(InkBetween(page, c, hole + 0.2, hole + 0.3, 128), 0);
        EXPECT_EQ(InkBetween(page, c, hole + 0.2, r - 0.2, 128),
                  InkBetween(page, c, hole + 0.2, r - 0.2, 256));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(DiscLabelPdf, EveryStock, ::testing::Range(0, 7));

TEST_F(DiscLabelPdf, TheDiscPictureIsClippedToTheLabelToo) {
  TDocumento d;
  d.DefinirFundo(fundoCD, {QString(), cover::Picture(Qt::black)});
  ASSERT_EQ(d.PreenchimentoDisco(), tfsImageStretch);
  const TEtiquetaDisco e = *EtiquetaDisco(QStringLiteral("L6043"));
  TOpcoesCapa opcoes;
  opcoes.Etiqueta = e;
  opcoes.Posicao = TPosicaoDisco::Primeira;
  QString why;
  const pdf::GreyImage page = pdf::Rasterise(Print(d, opcoes), 1, 600, &why);
  ASSERT_GT(page.Width, 0) << why.toStdString();
  const QPointF c = e.Centros[0];
  EXPECT_EQ(InkBetween(page, c, 0, e.Furo / 2 - 0.1), 0);
  EXPECT_EQ(InkBetween(page, c, e.Exterior / 2 + 0.1, e.Exterior / 2 + 3), 0);
  EXPECT_EQ(InkBetween(page, c, e.Furo / 2 + 0.2, e.Exterior / 2 - 0.2, 128),
            InkBetween(page, c, e.Furo / 2 + 0.2, e.Exterior / 2 - 0.2, 256));
}

// ---------------------------------------------------------------------------
// What every printed PDF says

// pdfinfo's boxes of each page, in points (x0, y0, x1, y1 from the bottom).
QList<QRectF> Boxes(const QString& file, const char* box, QString* why) {
  const QString text = QString::fromUtf8(pdf::RunTool(
      QStringLiteral("pdfinfo"), {QStringLiteral("-box"), QStringLiteral("-f"), QStringLiteral("1"),
                                  QStringLiteral("-l"), QStringLiteral("99"), file},
      why));
  const QRegularExpression re(QStringLiteral(R"(^Page\s+\d+ %1:\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+))")
                                  .arg(QLatin1String(box)),
                              QRegularExpression::MultilineOption);
  QList<QRectF> out;
  for (auto it = re.globalMatch(text); it.hasNext();) {
    const auto m = it.next();
    out << QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
  }
  return out;
}

// A rectangle of cover pixels on a report's band (inside its 6.35 mm
// margins) as a PDF box on a page `height` points high.
QRectF BoxOf(int x, int y, int w, int h, double height) {
  const double pt = 72.0 / 96;
  const double m = 6.35 / 25.4 * 72;
  return QRectF(QPointF(m + x * pt, height - (m + (y + h) * pt)), QPointF(m + (x + w) * pt, height - (m + y * pt)));
}

void ExpectBox(const QRectF& got, const QRectF& expected) {
  EXPECT_NEAR(got.left(), expected.left(), 0.05);
  EXPECT_NEAR(got.top(), expected.top(), 0.05);
  EXPECT_NEAR(got.right(), expected.right(), 0.05);
  EXPECT_NEAR(got.bottom(), expected.bottom(), 0.05);
}

TEST_F(DiscLabelPdf, EveryPdfAsksViewersNotToScaleItAndSaysWhereEachSheetIsCut) {
  const QString file = Print(TDocumento(), {}, {1, 2, 3});
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().contains("/ViewerPreferences << /PrintScaling /None >>"));
  QString why;
  const QList<QRectF> trim = Boxes(file, "TrimBox", &why);
  ASSERT_EQ(trim.size(), 3) << why.toStdString();
  // Interior and Frente, one piece folded between them; the back inlay
  // with its spines; the disc's square.
  ExpectBox(trim[0], BoxOf(72, 72, 987 - 72, 455, 595));
  ExpectBox(trim[1], BoxOf(72, 72, 572, 447, 595));
  ExpectBox(trim[2], BoxOf(48, 104, 443, 443, 842));

  // On a label sheet, one disc: its circle's square; both: no one box (the
  // paper's own).
  const TEtiquetaDisco e = *EtiquetaDisco(QStringLiteral("4093"));
  TOpcoesCapa opcoes;
  opcoes.Etiqueta = e;
  opcoes.Posicao = TPosicaoDisco::Segunda;
  const double pt = 72 / 25.4;
  const QList<QRectF> one = Boxes(Print(TDocumento(), opcoes), "TrimBox", &why);
  ASSERT_EQ(one.size(), 1);
  ExpectBox(one[0], QRectF(QPointF((105 - 58) * pt, 842 - (222.5 + 58) * pt),
                           QPointF((105 + 58) * pt, 842 - (222.5 - 58) * pt)));
  opcoes.Posicao = TPosicaoDisco::Ambas;
  const QList<QRectF> both = Boxes(Print(TDocumento(), opcoes), "TrimBox", &why);
  ASSERT_EQ(both.size(), 1);
  ExpectBox(both[0], QRectF(0, 0, 595, 842));
}

// ---------------------------------------------------------------------------
// Crop and fold marks, and the bleed

// A rectangle of cover pixels on a report's band, in millimetres on paper.
QRectF OnPaper(int x, int y, int w, int h) {
  const double mm = 25.4 / 96;
  return QRectF(6.35 + x * mm, 6.35 + y * mm, w * mm, h * mm);
}

// Each page's frames, in millimetres on paper.
QList<QRectF> Frames(int page) {
  switch (page) {
    case 1: return {OnPaper(72, 72, 458, 455), OnPaper(529, 72, 458, 455)};
    case 2: return {OnPaper(72, 72, 572, 447)};
    default: return {OnPaper(48, 104, 443, 443)};
  }
}

TEST_F(DiscLabelPdf, MarksLieOutsideEveryFrameAndTheFramesStayWhereTheyWere) {
  TDocumento d;
  d.DefinirCor(folhaFrente, 0x0000FF);
  d.DefinirCor(folhaTras, 0x808080);
  d.DefinirCor(folhaCD, 0x00FF00);
  d.Adicionar(folhaFrente, cover::Texto(QStringLiteral("Frente"), 10, 10));
  const QString plain = Print(d, {}, {1, 2, 3});
  TOpcoesCapa marks;
  marks.Marcas = true;
  const QString marked = Print(d, marks, {1, 2, 3});
  for (int page = 1; page <= 3; ++page) {
    SCOPED_TRACE(page);
    QString why;
    const pdf::GreyImage a = pdf::Rasterise(plain, page, 150, &why), b = pdf::Rasterise(marked, page, 150, &why);
    ASSERT_GT(a.Width, 0) << why.toStdString();
    ASSERT_EQ(a.Width, b.Width);
    const double mm = 25.4 / a.Dpi;
    int differing = 0, inside = 0;
    for (int y = 0; y < a.Height; ++y)
      for (int x = 0; x < a.Width; ++x) {
        if (a.At(x, y) == b.At(x, y)) continue;
        ++differing;
        const QPointF at((x + 0.5) * mm, (y + 0.5) * mm);
        // Marks keep at least 1.5 mm from every frame.
        for (const QRectF& f : Frames(page))
          if (f.adjusted(-1.5, -1.5, 1.5, 1.5).contains(at)) ++inside;
      }
    EXPECT_GT(differing, 0) << "no marks";
    EXPECT_EQ(inside, 0);
  }
  // Fold marks: above Interior and Frente's fold, and above both spines.
  QString why;
  const pdf::GreyImage back = pdf::Rasterise(marked, 2, 300, &why);
  const QRectF frame = Frames(2)[0];
  const QRectF above(frame.left() + 2, frame.top() - 8, frame.width() - 4, 6);
  const QRectF folds = pdf::DarkBoxMM(back, above);
  EXPECT_NEAR(folds.left(), OnPaper(95, 0, 0, 0).x(), 0.3) << pdf::Describe(folds);
  EXPECT_NEAR(folds.right(), OnPaper(619, 0, 0, 0).x(), 0.3) << pdf::Describe(folds);
}

TEST_F(DiscLabelPdf, TheBleedReachesThreeMillimetresBeyondTheCutAndNoFurther) {
  TDocumento d;
  d.DefinirCor(folhaInterior, 0x000000);
  d.DefinirCor(folhaFrente, 0x000000);
  d.DefinirCor(folhaTras, 0x000000);
  d.DefinirCor(folhaCD, 0x000000);
  TOpcoesCapa bleed;
  bleed.Marcas = true;
  bleed.Sangria = true;
  const QString file = Print(d, bleed, {1, 2, 3});
  QString why;
  for (int page = 1; page <= 3; ++page) {
    SCOPED_TRACE(page);
    const pdf::GreyImage image = pdf::Rasterise(file, page, 300, &why);
    ASSERT_GT(image.Width, 0) << why.toStdString();
    auto grey = [&](double x, double y) { return image.At(int(x / 25.4 * 300), int(y / 25.4 * 300)); };
    QRectF f = Frames(page)[0];
    if (page == 1) f = f.united(Frames(1)[1]);
    const double midY = f.center().y(), midX = f.center().x();
    if (page == 3) {
      // The disc: its colour 3 mm beyond its circle, round.
      const double r = f.width() / 2;
      EXPECT_LT(grey(midX + r + 2.5, midY), 60);
      EXPECT_GT(grey(midX + r + 3.5, midY), 200);
      continue;
    }
    EXPECT_LT(grey(f.left() - 2.5, midY), 60);
    EXPECT_GT(grey(f.left() - 3.5, midY), 200);
    EXPECT_LT(grey(f.right() + 2.5, midY), 60);
    EXPECT_GT(grey(f.right() + 3.5, midY), 200);
    EXPECT_LT(grey(midX, f.top() - 2.5), 60);
    EXPECT_GT(grey(midX + 20, f.top() - 3.5), 200);
  }
  // The pages say so: the bleed box 3 mm (8.5 points) round the trim box.
  const QList<QRectF> trim = Boxes(file, "TrimBox", &why), bleedBoxes = Boxes(file, "BleedBox", &why);
  ASSERT_EQ(trim.size(), 3);
  ASSERT_EQ(bleedBoxes.size(), 3);
  for (int i = 0; i < 2; ++i)
    ExpectBox(bleedBoxes[i], trim[i].adjusted(-3 / 25.4 * 72, -3 / 25.4 * 72, 3 / 25.4 * 72, 3 / 25.4 * 72));
}

}  // namespace
