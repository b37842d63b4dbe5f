// SPDX-License-Identifier: GPL-3.0-or-later
// What the screen shows is what prints.  Texts and pictures of a cover as
// the editor's control draws them, as the preview shows them at its zooms
// and as PNG pages hold them at their resolutions land where the cover's
// PDF puts them, rasterised at the same scale; no glyph is cut, no picture
// puts ink outside its box, and a text prints at its point size.
#include "components/ProCtrls.h"
#include "document/FicheiroCapa.h"
#include "document/MedidaTexto.h"
#include "platform/PageExporter.h"
#include "platform/PrinterBackend.h"
#include "printing/BuilderControls.h"
#include "printing/ImpressaoCapa.h"
#include "printing/PrintingClasses.h"
#include "reportforms/ppViewr.h"
#include "report/ppDrwCmd.h"
#include "report/ppPrintr.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"
#include "support/CoverFixtures.h"
#include "support/PdfTools.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>

namespace {

// Pixels lighter than this are paper: antialiased edges count as ink.
constexpr int kInk = 200;

// ---------------------------------------------------------------------------
// A cover's objects on their pages

struct TPlaced {
  TObjecto o;
  int folha = 0;
  int pagina = 0;
  QRect page96;  // the object's box on its page, in pixels at 96 per inch
};

QRect OnPage(int folha, const QRect& r) {
  // The band starts inside the 6.35 mm margins: 24 pixels.
  return r.translated(QPoint(24, 24) + OrigemFolha(folha));
}

int PaginaDe(int folha) { return folha == folhaTras ? paginaTras : folha == folhaCD ? paginaCD : paginaFrente; }

// A box of 96-dpi page pixels at `dpiX` x `dpiY` (edges rounded out).
QRect Scaled(const QRect& r, double dpiX, double dpiY) {
  const double sx = dpiX / 96, sy = dpiY / 96;
  const int l = int(std::floor(r.left() * sx)), t = int(std::floor(r.top() * sy));
  const int ri = int(std::ceil((r.left() + r.width()) * sx)),
            b = int(std::ceil((r.top() + r.height()) * sy));
  return QRect(l, t, ri - l, b - t);
}

std::string Describe(const QRect& r) {
  return QStringLiteral("(%1, %2) %3 x %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// ---------------------------------------------------------------------------
// Devices

// The cover printed into a PDF file (pages 1 and 2, or all three).
void PrintPdf(TImpressaoCapa& capa, const QString& file, std::vector<int> paginas) {
  TPedidoImpressao p;
  p.Paginas = std::move(paginas);
  p.Ficheiro = file;
  ASSERT_TRUE(capa.Imprimir(p));
}

// The cover's pages as PNG pictures at `dpi`, through the printing commands
// and the PNG exporter.
std::vector<QImage> PrintPng(TImpressaoCapa& capa, const QString& folder, int dpi,
                             std::vector<int> paginas) {
  QStringList names;
  for (int p : paginas) names << QStringLiteral("%1/pagina-%2-%3.png").arg(folder).arg(p).arg(dpi);
  TPngExporter exporter(names, dpi);
  TPedidoImpressao pedido;
  pedido.Paginas = paginas;
  pedido.Exportador = &exporter;
  const bool printed = capa.Imprimir(pedido);
  EXPECT_EQ(exporter.Written, names);
  std::vector<QImage> pages;
  EXPECT_TRUE(printed);
  for (const QString& n : names) pages.push_back(QImage(n).convertToFormat(QImage::Format_Grayscale8));
  return pages;
}

// The preview's viewer showing one page at a zoom.
struct TPreview {
  std::unique_ptr<TppViewer> viewer;
  TPreview() {
    viewer = std::make_unique<TppViewer>();
    viewer->resize(1300, 900);
    viewer->show();
    QApplication::processEvents();
  }
  void Show(TppReport* report) {
    report->SetDeviceType(QStringLiteral("Screen"));
    viewer->SetZoomSetting(zs100Percent);
    viewer->SetReport(report);
    report->GenerateToDevices();
  }
  TppScreenDevice& Device() { return *viewer->ScreenDevice(); }
  // The page as shown, grey.
  QImage Page() {
    TppScreenDevice& d = Device();
    return d.PageImage()
        .copy(d.OriginX(), d.OriginY(), d.DrawnWidth(), d.DrawnHeight())
        .convertToFormat(QImage::Format_Grayscale8);
  }
  // The page's resolution at this zoom, each way.
  double DpiX() { return 96 * Device().ScaleX(); }
  double DpiY() { return 96 * Device().ScaleY(); }
  // Where a text command of the page was drawn (its device rectangle,
  // from the page's corner).
  QRect TextBox(const TObjecto& o) {
    TppScreenDevice& d = Device();
    TppPage& page = d.CurrentPage();
    for (int i = 0; i < page.DrawCommandCount(); ++i) {
      auto* t = dynamic_cast<TppDrawText*>(page.DrawCommands(i));
      if (!t || t->Text != o.Texto || t->Font.Size() != o.Fonte.Tamanho) continue;
      if (auto* r = dynamic_cast<const TDrawRotatedText*>(t); r && r->Angle != o.Angulo) continue;
      const TppRect& dr = t->DeviceRect;
      return QRect(dr.Left - d.OriginX(), dr.Top - d.OriginY(), dr.Right - dr.Left, dr.Bottom - dr.Top);
    }
    return {};
  }
  ~TPreview() {
    if (viewer) viewer->SetReport(nullptr);
  }
};

// The editor's control for a text object, set up as the window sets it
// up, drawn onto a page at 96 per inch where its sheet lies on paper.
void DrawAsTheEditorDoes(QImage& page, const TPlaced& p) {
  TProLabel l;
  l.SetShowAccelChar(false);
  l.SetTransparent(true);
  l.SetAutoSize(false);
  l.SetCaption(p.o.Texto);
  l.SetFont(p.o.Fonte.ParaTFont());
  l.SetAngle(p.o.Angulo);
  l.setGeometry(p.o.Limites());
  QPainter painter(&page);
  painter.translate(p.page96.topLeft());
  painter.setClipRect(QRect(QPoint(0, 0), p.page96.size()));
  l.PaintTo(painter);
}

// ---------------------------------------------------------------------------
// Comparing a text on a device with the same text on paper

struct TTextCheck {
  QRect box;          // the object's box on the device
  double emPixels;    // the font's em on the device
  QSizeF inkPixels;   // the ink the text's layout puts down, on the device
};

// The ink box on the device matches the paper's at the same scale within
// a pixel (two below 8 pixels), lies inside the object's box, and is as
// large as the text's own ink (no glyph cut).
void CompareText(const QImage& device, const QImage& paper, const TTextCheck& c,
                 const std::string& what) {
  SCOPED_TRACE(what);
  const QRect region = c.box.adjusted(-2, -2, 2, 2);
  const QRect d = DarkBox(device, region, kInk), p = DarkBox(paper, region, kInk);
  const int tolerance = c.emPixels < 8 ? 2 : 1;
  if (c.emPixels < 3) {
    // Letters of a pixel or two are specks, there or not as each
    // rasteriser rounds: they only have to stay in their box.
    if (!d.isEmpty()) {
      EXPECT_TRUE(c.box.adjusted(-1, -1, 1, 1).contains(d)) << Describe(d);
    }
    return;
  }
  ASSERT_FALSE(d.isEmpty()) << "nothing drawn";
  ASSERT_FALSE(p.isEmpty()) << "nothing on paper";
  EXPECT_NEAR(d.left(), p.left(), tolerance) << Describe(d) << " paper " << Describe(p);
  EXPECT_NEAR(d.top(), p.top(), tolerance) << Describe(d) << " paper " << Describe(p);
  EXPECT_NEAR(d.right(), p.right(), tolerance) << Describe(d) << " paper " << Describe(p);
  EXPECT_NEAR(d.bottom(), p.bottom(), tolerance) << Describe(d) << " paper " << Describe(p);
  EXPECT_TRUE(c.box.adjusted(-1, -1, 1, 1).contains(d)) << Describe(d) << " in " << Describe(c.box);
  EXPECT_GE(d.width(), c.inkPixels.width() - tolerance - 1) << "cut? " << Describe(d);
  EXPECT_GE(d.height(), c.inkPixels.height() - tolerance - 1) << "cut? " << Describe(d);
}

// ---------------------------------------------------------------------------
// The table of texts

struct TFace {
  const char* face;
  TFontStyles style;
  const char* name;
};

const TFace kFaces[] = {
    {"Arial", 0, "Arial"},
    {"Arial", fsBold, "ArialBold"},
    {"Arial", fsItalic, "ArialItalic"},
    {"Times New Roman", 0, "Times"},
    {"Times New Roman", fsBold, "TimesBold"},
    {"Times New Roman", fsItalic, "TimesItalic"},
    {"MS Sans Serif", 0, "MsSansSerif"},
    {"MS Sans Serif", fsBold, "MsSansSerifBold"},
    {"MS Sans Serif", fsItalic, "MsSansSerifItalic"},
    {"Tahoma", 0, "Tahoma"},
    {"Tahoma", fsBold, "TahomaBold"},
    {"Tahoma", fsItalic, "TahomaItalic"},
};

const int kSizes[] = {72, 24, 14, 11, 8, 6};
const int kAngles[] = {0, 180, 90, 270};

// A letter reaching left of its origin, an accent above, descenders and an
// italic's overhang at the end.
QString Caption() { return QString::fromUtf8("jÁçgf"); }

// Every size at every angle, packed in rows on Trás, Interior and Frente
// with room between them.
std::vector<TPlaced> Table(TDocumento& d, const TFace& f) {
  std::vector<TPlaced> out;
  const int sheets[] = {folhaTras, folhaInterior, folhaFrente};
  // Far enough from the sheets' frames (and the back's spines) and from
  // each other to be told apart at a tenth of their size.
  constexpr int kMargin = 40, kGap = 32;
  auto left = [&](int s) { return sheets[s] == folhaTras ? 64 : kMargin; };
  int sheet = 0, x = left(0), y = kMargin, row = 0;
  for (int size : kSizes)
    for (int angle : kAngles) {
      TObjecto t = TObjecto::NovoTexto();
      t.Texto = Caption();
      t.Fonte.Nome = QString::fromLatin1(f.face);
      t.Fonte.Tamanho = size;
      t.Fonte.Estilo = f.style;
      t.Fonte.Cor = clBlack;
      const QSize s = TamanhoAutomatico(t.Texto, t.Fonte);
      t.Width = s.width();
      t.Height = s.height();
      if (angle == 90 || angle == 270) std::swap(t.Width, t.Height);
      t.Angulo = angle;
      t.TamanhoAutomatico = angle == 0;
      const QSize room = TamanhoFolha(sheets[sheet]);
      if (x + t.Width > room.width() - left(sheet)) {
        x = left(sheet);
        y += row + kGap;
        row = 0;
      }
      if (y + t.Height > room.height() - kMargin) {
        ++sheet;
        if (sheet == 3) {
          ADD_FAILURE() << "the table does not fit on three sheets";
          return out;
        }
        x = left(sheet);
        y = kMargin;
        row = 0;
      }
      t.Left = x;
      t.Top = y;
      x += t.Width + kGap;
      row = std::max(row, t.Height);
      d.Adicionar(sheets[sheet], t);
      out.push_back({t, sheets[sheet], PaginaDe(sheets[sheet]), OnPage(sheets[sheet], t.Limites())});
    }
  return out;
}

// The paper rasterised at a device's resolution, finely enough that the
// rasteriser's own rounding of glyph places stays within a quarter pixel
// (but never finer than 600 dpi).
QImage Paper(const QString& pdf, int pagina, double dpi, QString* why) {
  const int n = std::clamp(int(600 / dpi), 1, 4);
  return pdf::RasteriseAt(pdf, pagina, dpi, why, n);
}

// The ink the text's layout puts down, on a device of `dpi`.
QSizeF InkOf(const TObjecto& o, double dpiX, double dpiY) {
  const TTextBlock b = LayoutText(FonteDeTexto(o.Fonte), o.Texto, OpcoesDeTexto(o.Angulo));
  QSizeF ink = b.Ink.size() * PixelsPorPonto;
  if (o.Angulo == 90 || o.Angulo == 270) ink.transpose();
  return QSizeF(ink.width() * dpiX / 96, ink.height() * dpiY / 96);
}

class TextTable : public ::testing::TestWithParam<TFace> {
 protected:
  void SetUp() override {
    ASSERT_EQ(ScreenPixelsPerInch(), 96) << "the page is compared at 96 dpi";
    RegisterPrintingClasses();
    // Pages at 600 dpi are larger than Qt reads by default.
    QImageReader::setAllocationLimit(0);
  }
  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
  TImpressaoCapa capa;
};

TEST_P(TextTable, EveryDeviceDrawsTheTextsWhereThePdfHasThem) {
  TDocumento d;
  const std::vector<TPlaced> texts = Table(d, GetParam());
  capa.Preparar(d, {});
  const QString pdf = dir.filePath("capa.pdf");
  PrintPdf(capa, pdf, {paginaFrente, paginaTras});
  if (HasFatalFailure()) return;
  QString why;

  for (int pagina : {paginaFrente, paginaTras}) {
    SCOPED_TRACE(pagina);
    // The editor's controls, at 96 pixels per inch.
    {
      const QImage paper = Paper(pdf, pagina, 96, &why);
      ASSERT_TRUE(why.isEmpty()) << why.toStdString();
      QImage editor(paper.size(), QImage::Format_RGB32);
      editor.fill(Qt::white);
      for (const TPlaced& t : texts)
        if (t.pagina == pagina) DrawAsTheEditorDoes(editor, t);
      editor = editor.convertToFormat(QImage::Format_Grayscale8);
      for (const TPlaced& t : texts)
        if (t.pagina == pagina)
          CompareText(editor, paper, {t.page96, t.o.Fonte.Tamanho * 96 / 72.0, InkOf(t.o, 96, 96)},
                      QStringLiteral("editor %1 pt at %2").arg(t.o.Fonte.Tamanho).arg(t.o.Angulo).toStdString());
    }
    // The preview at its zooms.
    TPreview preview;
    preview.Show(capa.Relatorio(pagina));
    for (int zoom : {10, 25, 50, 71, 100, 150, 250}) {
      preview.viewer->SetZoomPercentage(zoom);
      const QImage shown = preview.Page();
      const QImage paper = Paper(pdf, pagina, preview.DpiY(), &why);
      ASSERT_TRUE(why.isEmpty()) << why.toStdString();
      for (const TPlaced& t : texts) {
        if (t.pagina != pagina) continue;
        const QRect box = preview.TextBox(t.o);
        ASSERT_FALSE(box.isNull()) << "the preview has no command for the text";
        CompareText(shown, paper,
                    {box, t.o.Fonte.Tamanho * preview.DpiY() / 72, InkOf(t.o, preview.DpiX(), preview.DpiY())},
                    QStringLiteral("preview %1 %% %2 pt at %3").arg(zoom).arg(t.o.Fonte.Tamanho).arg(t.o.Angulo).toStdString());
      }
    }
  }
  // PNG pages at their resolutions.
  for (int dpi : {48, 150, 600}) {
    const std::vector<QImage> pages = PrintPng(capa, dir.path(), dpi, {paginaFrente, paginaTras});
    for (int i = 0; i < 2; ++i) {
      const int pagina = i == 0 ? paginaFrente : paginaTras;
      const QImage paper = Paper(pdf, pagina, dpi, &why);
      ASSERT_TRUE(why.isEmpty()) << why.toStdString();
      // The same page; the rasteriser rounds its last pixel up.
      ASSERT_LE(std::abs(pages[size_t(i)].width() - paper.width()), 2);
      ASSERT_LE(std::abs(pages[size_t(i)].height() - paper.height()), 2);
      for (const TPlaced& t : texts)
        if (t.pagina == pagina)
          CompareText(pages[size_t(i)], paper,
                      {Scaled(t.page96, dpi, dpi), t.o.Fonte.Tamanho * dpi / 72.0, InkOf(t.o, dpi, dpi)},
                      QStringLiteral("PNG %1 dpi %2 pt at %3").arg(dpi).arg(t.o.Fonte.Tamanho).arg(t.o.Angulo).toStdString());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(FacesAndStyles, TextTable, ::testing::ValuesIn(kFaces),
                         [](const ::testing::TestParamInfo<TFace>& i) { return std::string(i.param.name); });

}  // namespace

namespace {

// ---------------------------------------------------------------------------
// A cover as a whole

// Pixels of `a` in `region` whose shade `b` has nowhere within a pixel
// (and the other way round): not between the darkest and the lightest of
// its 3 x 3 neighbourhood there, give or take `shade`.  Two rasterisers
// shade an edge's pixels differently, and a line of one design pixel is
// a whole pixel on the screen at any zoom but 0.7 of one on paper at
// 71 %; an edge a pixel away is still there; one further away, or
// missing, is not.
int Mismatches(const QImage& a, const QImage& b, const QRect& region, int shade = 80) {
  const QRect r = region.intersected(a.rect()).intersected(b.rect()).adjusted(1, 1, -1, -1);
  int count = 0;
  auto within = [&](const QImage& x, const QImage& y, int px, int py) {
    const int v = x.constScanLine(py)[px];
    int lo = 255, hi = 0;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int u = y.constScanLine(py + dy)[px + dx];
        lo = std::min(lo, u);
        hi = std::max(hi, u);
      }
    return v >= lo - shade && v <= hi + shade;
  };
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (!within(a, b, x, y) || !within(b, a, x, y)) ++count;
  return count;
}

class ScreenAndPaper : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ScreenPixelsPerInch(), 96) << "the page is compared at 96 dpi";
    RegisterPrintingClasses();
    QImageReader::setAllocationLimit(0);
  }
  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
  TImpressaoCapa capa;
};

}  // namespace

// The example cover in the preview at 50 %, at 71 % ("Página Inteira" in a
// small window), at 100 % and at 150 %: every object of every page where
// the PDF has it, rasterised at the same scale, to a pixel.
TEST_F(ScreenAndPaper, TheExampleCoversPreviewIsItsPdfAtEveryZoom) {
  TLeituraCapa lida = LerCapa(QStringLiteral(LURNS_SOURCE_DIR "/examples/exemplo.lrn"));
  ASSERT_TRUE(lida.Lido);
  const TDocumento& d = lida.Documento;
  capa.Preparar(d, {});
  const QString pdf = dir.filePath("exemplo.pdf");
  PrintPdf(capa, pdf, {paginaFrente, paginaTras, paginaCD});
  if (HasFatalFailure()) return;
  QString why;
  for (int pagina : {paginaFrente, paginaTras, paginaCD}) {
    SCOPED_TRACE(pagina);
    // Each object's box, and each sheet's inside its frame, on the page.
    std::vector<std::pair<QString, QRect>> boxes;
    std::vector<QRect> sheets;
    for (int folha : {folhaFrente, folhaInterior, folhaTras, folhaCD}) {
      if (PaginaDe(folha) != pagina) continue;
      sheets.push_back(OnPage(folha, QRect(QPoint(0, 0), TamanhoFolha(folha))));
      for (const TObjecto& o : d.Objectos(folha))
        boxes.emplace_back(o.EhTexto() ? o.Texto : o.Imagem.Ficheiro, OnPage(folha, o.Limites()));
    }
    TPreview preview;
    preview.Show(capa.Relatorio(pagina));
    for (int zoom : {50, 71, 100, 150}) {
      SCOPED_TRACE(zoom);
      if (zoom == 71) {
        // The whole page in a window small enough to show it at 71 %.
        preview.viewer->SetZoomSetting(zsWholePage);
        for (int h = 400; h < 1200 && preview.viewer->CalculatedZoom() != 71; ++h) {
          preview.viewer->resize(1300, h);
          QApplication::processEvents();
        }
        ASSERT_EQ(preview.viewer->CalculatedZoom(), 71);
      } else {
        preview.viewer->resize(1300, 900);
        preview.viewer->SetZoomPercentage(zoom);
      }
      const QImage shown = preview.Page();
      const QImage paper = Paper(pdf, pagina, preview.DpiY(), &why);
      ASSERT_TRUE(why.isEmpty()) << why.toStdString();
      for (const auto& [what, box] : boxes) {
        const QRect region = Scaled(box, preview.DpiX(), preview.DpiY()).adjusted(-2, -2, 2, 2);
        EXPECT_EQ(Mismatches(shown, paper, region), 0) << what.toStdString() << " " << Describe(region);
      }
      for (const QRect& sheet : sheets) {
        // What fills the sheet, inside its frame (a pen is never thinner
        // than a pixel on the screen: at 50 % its line is darker than half
        // a pixel of ink on paper, where it is).
        const QRect s = Scaled(sheet, preview.DpiX(), preview.DpiY());
        if (pagina != paginaCD) {
          EXPECT_EQ(Mismatches(shown, paper, s.adjusted(3, 3, -3, -3)), 0) << "sheet " << Describe(s);
        }
      }
    }
  }
}

// A text prints at its font's point size, whichever component carries it:
// turned texts of the cover and the report's own credit line alike.
TEST_F(ScreenAndPaper, TextsPrintAtTheirPointSize) {
  TDocumento d;
  const QString caption = QStringLiteral("Lurns para CD, lado A");
  std::vector<TPlaced> texts;
  for (const auto& [size, angle, left, top] : {std::tuple{10, 0, 40, 40}, std::tuple{14, 0, 40, 100},
                                               std::tuple{10, 90, 320, 40}, std::tuple{14, 90, 380, 40}}) {
    TObjecto t = cover::Texto(caption, left, top, angle, size);
    d.Adicionar(folhaTras, t);
    texts.push_back({t, folhaTras, paginaTras, OnPage(folhaTras, t.Limites())});
  }
  capa.Preparar(d, {});
  const QString pdf = dir.filePath("tamanho.pdf");
  PrintPdf(capa, pdf, {paginaTras});
  if (HasFatalFailure()) return;
  QString why;
  const double dpi = 600;
  const QImage paper = pdf::RasteriseAt(pdf, 1, dpi, &why);
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  for (const TPlaced& t : texts) {
    SCOPED_TRACE(QStringLiteral("%1 pt at %2").arg(t.o.Fonte.Tamanho).arg(t.o.Angulo).toStdString());
    const QRect ink = DarkBox(paper, Scaled(t.page96, dpi, dpi).adjusted(-4, -4, 4, 4), 128);
    const double along = t.o.Angulo ? ink.height() : ink.width();
    // The ink of the caption's outlines at its size, along its line.
    const TTextBlock b = LayoutText(FonteDeTexto(t.o.Fonte), caption, OpcoesDeTexto(t.o.Angulo));
    const double expected = b.Ink.width() * dpi / 72;
    EXPECT_NEAR(along / expected, 1.0, 0.005) << along << " pixels, " << expected << " expected " << Describe(ink);
  }
  // The credit line, "Impresso com Lurns para CD" in 10-point Arial, under
  // the back inlay (158.75 mm from the paper's top).
  TTextFont credit;
  credit.Face = QStringLiteral("Arial");
  credit.Points = 10;
  const QString line = QStringLiteral("Impresso com Lurns para CD");
  const TTextBlock b = LayoutText(credit, line, TTextOptions());
  const QRect area(0, int(157 * dpi / 25.4), paper.width(), int(8 * dpi / 25.4));
  const QRect ink = DarkBox(paper, area, 128);
  ASSERT_FALSE(ink.isEmpty()) << "no credit line";
  EXPECT_NEAR(ink.width() / (b.Ink.width() * dpi / 72), 1.0, 0.005);
}

// A picture never puts ink outside its box: a drawing reaching outside
// its own frame, a photograph and a metafile, as picture objects and as a
// sheet's background, on paper, in PNG pages and in the preview.
TEST_F(ScreenAndPaper, APictureNeverPutsInkOutsideItsBox) {
  auto load = [](const QByteArray& bytes, const char* format) {
    TPicture p;
    p.LoadFromData(bytes, QString::fromLatin1(format));
    EXPECT_FALSE(p.Empty()) << format;
    return p;
  };
  // Black everywhere, and far beyond its view box.
  const TPicture svg = load(
      "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100' viewBox='0 0 100 100'>"
      "<circle cx='50' cy='50' r='140' fill='black'/></svg>",
      "svg");
  JpegSpec jpegSpec;
  jpegSpec.width = 60;
  jpegSpec.height = 40;
  jpegSpec.pixel = [](int, int, unsigned char* px) { px[0] = px[1] = px[2] = 0; };
  const TPicture jpeg = load(EncodeJpeg(jpegSpec), "jpg");
  // A metafile whose black rectangle reaches past its frame on every side.
  QByteArray wmf;
  {
    auto u16 = [&](unsigned v) { wmf.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    auto u32 = [&](unsigned v) { u16(v & 0xFFFF); u16(v >> 16); };
    u32(0x9AC6CDD7u); u16(0); u16(0); u16(0); u16(1000); u16(500); u16(1000); u32(0);
    unsigned sum = 0;
    for (int i = 0; i < 20; i += 2) sum ^= unsigned(uchar(wmf[i])) | unsigned(uchar(wmf[i + 1])) << 8;
    u16(sum);
    const int header = int(wmf.size());
    u16(1); u16(9); u16(0x0300); u32(0); u16(1); u32(7); u16(0);
    u32(5); u16(0x020B); u16(0); u16(0);                                 // window origin
    u32(5); u16(0x020C); u16(500); u16(1000);                            // window extent
    u32(7); u16(0x02FC); u16(0); u32(0x000000); u16(0);                  // black brush
    u32(4); u16(0x012D); u16(0);                                         // selected
    u32(7); u16(0x041B); u16(700); u16(1300); u16(65336); u16(65336);    // -200..1300
    u32(3); u16(0);
    qToLittleEndian<quint32>(unsigned(wmf.size() - header) / 2, wmf.data() + header + 6);
  }
  const TPicture metafile = load(wmf, "wmf");

  TDocumento d;
  const struct {
    int folha;
    QRect box;
    TPicture picture;
  } objects[] = {
      {folhaFrente, QRect(60, 60, 100, 60), svg},
      {folhaFrente, QRect(220, 60, 100, 60), jpeg},
      {folhaFrente, QRect(60, 220, 100, 60), metafile},
  };
  for (const auto& o : objects) {
    TObjecto img = TObjecto::NovaImagem();
    img.Left = o.box.x();
    img.Top = o.box.y();
    img.Width = o.box.width();
    img.Height = o.box.height();
    img.Imagem.Imagem = o.picture;
    d.Adicionar(o.folha, img);
  }
  // The same drawing as Interior's background: it stays on Interior.
  d.DefinirFundo(fundoInterior, {QString(), svg});
  capa.Preparar(d, {});
  const QString pdf = dir.filePath("imagens.pdf");
  PrintPdf(capa, pdf, {paginaFrente});
  if (HasFatalFailure()) return;

  std::vector<QRect> boxes;  // on the page, 96 dpi
  for (const auto& o : objects) boxes.push_back(OnPage(o.folha, o.box));
  const QRect interior = OnPage(folhaInterior, QRect(QPoint(0, 0), TamanhoFolha(folhaInterior)));
  // Outside every box (and off the sheets' frame lines) the page is paper.
  auto check = [&](const QImage& page, double dpiX, double dpiY, const std::string& what) {
    SCOPED_TRACE(what);
    for (const QRect& b : boxes) {
      const QRect inside = Scaled(b, dpiX, dpiY);
      const QRect around = inside.adjusted(-12, -12, 12, 12);
      EXPECT_LT(qGray(page.pixel(inside.center())), 60) << "the picture is not drawn";
      int outside = 0;
      for (int y = around.top(); y <= around.bottom(); ++y)
        for (int x = around.left(); x <= around.right(); ++x)
          if (!inside.adjusted(-1, -1, 1, 1).contains(x, y) && qGray(page.pixel(x, y)) < 200) ++outside;
      EXPECT_EQ(outside, 0) << "ink around " << Describe(inside);
    }
    // Interior's background ends at its frame: above and left of the sheet
    // (beyond its frame line) only paper.
    const QRect sheet = Scaled(interior, dpiX, dpiY);
    for (int y = sheet.top() - 14; y < sheet.top() - 3; ++y)
      for (int x = sheet.left(); x < sheet.right(); x += 3) ASSERT_GE(qGray(page.pixel(x, y)), 200) << x << "," << y;
    for (int x = sheet.left() - 14; x < sheet.left() - 3; ++x)
      for (int y = sheet.top(); y < sheet.bottom(); y += 3) ASSERT_GE(qGray(page.pixel(x, y)), 200) << x << "," << y;
  };
  QString why;
  check(pdf::RasteriseAt(pdf, 1, 300, &why), 300, 300, "PDF at 300 dpi");
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  check(PrintPng(capa, dir.path(), 150, {paginaFrente})[0], 150, 150, "PNG page at 150 dpi");
  TPreview preview;
  preview.Show(capa.Relatorio(paginaFrente));
  for (int zoom : {100, 250}) {
    preview.viewer->SetZoomPercentage(zoom);
    check(preview.Page(), preview.DpiX(), preview.DpiY(), "preview at " + std::to_string(zoom) + " %");
  }
}
