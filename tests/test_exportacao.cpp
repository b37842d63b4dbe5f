// SPDX-License-Identifier: GPL-3.0-or-later
// Exporting a cover's pages through the exporters (platform/PageExporter)
// with the window-free command the "Exportar…" menu and lurns-batch call
// (printing/ExportacaoCapa): the PNG and SVG pages are the PDF's pages,
// progress is told page by page and cancels, and an export that fails or
// is cancelled writes nothing.
#include "document/Documento.h"
#include "platform/PageExporter.h"
#include "printing/ExportacaoCapa.h"
#include "printing/ImpressaoCapa.h"
#include "support/CoverFixtures.h"
#include "support/PageCompare.h"
#include "support/PdfTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A cover with something on every page: coloured sheets, texts level and
// turned, a picture, and the disc's picture, which its circle clips.
TDocumento Capa() {
  TDocumento d;
  d.DefinirCor(folhaFrente, clNavy);
  d.DefinirCor(folhaTras, clMaroon);
  d.Adicionar(folhaFrente, cover::Texto(QStringLiteral("Frente da capa"), 40, 40, 0, 20));
  d.Adicionar(folhaInterior, cover::Texto(QStringLiteral("Interior"), 30, 200, 90, 14));
  d.Adicionar(folhaTras, cover::Texto(QStringLiteral("Faixa 1 \u2014 3:45"), 60, 80));
  d.Adicionar(folhaCD, cover::Texto(QStringLiteral("O disco"), 150, 120, 0, 16));
  TObjecto img = TObjecto::NovaImagem();
  img.Left = 100;
  img.Top = 160;
  img.Width = 64;
  img.Height = 64;
  img.Imagem.Imagem = cover::Picture(Qt::black);
  d.Adicionar(folhaInterior, img);
  d.DefinirFundo(fundoCD, {QString(), cover::Picture(Qt::darkBlue, 32)});
  return d;
}

using pages::Grey;
using pages::RenderSvg;
using pages::Unmatched;

class Exportacao : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    capa.Preparar(Capa(), {});
  }
  QString Path(const QString& name) const { return dir.filePath(name); }
  TResultadoExportacao Export(TFormatoExportacao formato, const QString& destino, int dpi = 100,
                              const std::function<bool(int, int)>& progresso = {}) {
    TPedidoExportacao pedido;
    pedido.Formato = formato;
    pedido.Destino = destino;
    pedido.Dpi = dpi;
    return ExportarCapa(capa, pedido, progresso);
  }

  QTemporaryDir dir;
  TImpressaoCapa capa;
};

TEST_F(Exportacao, PngAndSvgPagesAreThePdfsWithinOnePixel) {
  const int dpi = 100;
  ASSERT_EQ(Export(TFormatoExportacao::Pdf, Path("capa.pdf")).Fim, TResultadoExportacao::Exportado);
  const TResultadoExportacao png = Export(TFormatoExportacao::Png, Path("png"), dpi);
  ASSERT_EQ(png.Fim, TResultadoExportacao::Exportado) << png.Erro.toStdString();
  const TResultadoExportacao svg = Export(TFormatoExportacao::Svg, Path("svg"), dpi);
  ASSERT_EQ(svg.Fim, TResultadoExportacao::Exportado) << svg.Erro.toStdString();
  ASSERT_EQ(png.Ficheiros.size(), 3);
  ASSERT_EQ(svg.Ficheiros.size(), 3);
  EXPECT_TRUE(png.Ficheiros[2].endsWith("pagina-3.png"));
  EXPECT_TRUE(svg.Ficheiros[2].endsWith("pagina-3.svg"));
  for (int page = 1; page <= 3; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    QString why;
    const QImage pdf = pages::RasterisePdf(Path("capa.pdf"), page, dpi, &why);
    ASSERT_FALSE(pdf.isNull()) << why.toStdString();
    const QImage pictures[] = {Grey(QImage(png.Ficheiros[page - 1])),
                               RenderSvg(svg.Ficheiros[page - 1], pdf.size())};
    for (const QImage& picture : pictures) {
      ASSERT_FALSE(picture.isNull());
      EXPECT_NEAR(picture.width(), pdf.width(), 1);
      EXPECT_NEAR(picture.height(), pdf.height(), 1);
      int darkPdf = 0, darkPicture = 0;
      EXPECT_EQ(Unmatched(pdf, picture, &darkPdf), 0);
      EXPECT_EQ(Unmatched(picture, pdf, &darkPicture), 0);
      EXPECT_GT(darkPdf, 100) << "nothing drawn";
    }
  }
  // The SVG drawing has the paper's true size.
  QFile f(svg.Ficheiros[0]);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  EXPECT_TRUE(text.contains("width=\"297") || text.contains("width=\"296.9")) << text.left(400).toStdString();
}

TEST_F(Exportacao, ProgressIsToldEachPageAndCancelsWritingNothing) {
  std::vector<std::pair<int, int>> told;
  const auto all = [&](int feitas, int total) {
    told.emplace_back(feitas, total);
    return true;
  };
  EXPECT_EQ(Export(TFormatoExportacao::Png, Path("a"), 30, all).Fim, TResultadoExportacao::Exportado);
  EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));

  struct {
    TFormatoExportacao formato;
    QString destino;
    QString ficheiro;
  } cases[] = {
      {TFormatoExportacao::Pdf, Path("b.pdf"), Path("b.pdf")},
      {TFormatoExportacao::Png, Path("b"), Path("b/pagina-1.png")},
      {TFormatoExportacao::Svg, Path("b"), Path("b/pagina-1.svg")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ficheiro.toStdString());
    QDir().mkpath(Path("b"));
    QFile old(c.ficheiro);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("old");
    old.close();
    const auto cancelAtTwo = [](int feitas, int) { return feitas < 2; };
    const TResultadoExportacao r = Export(c.formato, c.destino, 30, cancelAtTwo);
    EXPECT_EQ(r.Fim, TResultadoExportacao::Cancelado) << r.Erro.toStdString();
    EXPECT_TRUE(r.Ficheiros.isEmpty());
    QFile kept(c.ficheiro);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
    // Nothing else was left behind either (no temporary file).
    const QDir folder = QFileInfo(c.ficheiro).dir();
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList{QFileInfo(c.ficheiro).fileName()});
    QFile::remove(c.ficheiro);
  }
  // After a cancelled export the next one runs.
  EXPECT_EQ(Export(TFormatoExportacao::Svg, Path("c"), 30).Fim, TResultadoExportacao::Exportado);
}

TEST_F(Exportacao, WhatCannotBeWrittenFailsWithAMessage) {
  QFile blocker(Path("ficheiro"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  struct {
    TFormatoExportacao formato;
    QString destino;
    int dpi;
    const char* message;
  } cases[] = {
      {TFormatoExportacao::Png, Path("ficheiro/sub"), 100, "pasta"},
      {TFormatoExportacao::Svg, Path("ficheiro"), 100, "pasta"},
      {TFormatoExportacao::Pdf, Path("nao/ha/pasta.pdf"), 100, ""},
      {TFormatoExportacao::Png, Path("p"), 5, "resolução"},
      {TFormatoExportacao::Svg, Path("p"), 1201, "resolução"},
      {TFormatoExportacao::Pdf, QString(), 100, "exportar"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.destino.toStdString() + " " + std::to_string(c.dpi));
    const TResultadoExportacao r = Export(c.formato, c.destino, c.dpi);
    EXPECT_EQ(r.Fim, TResultadoExportacao::Falhou);
    EXPECT_FALSE(r.Erro.isEmpty());
    EXPECT_TRUE(r.Erro.contains(QString::fromUtf8(c.message))) << r.Erro.toStdString();
  }
  EXPECT_FALSE(QFile::exists(Path("p")));
}

TEST(FicheirosDaExportacao, NameEachPageInTheFolderOrTheOneFile) {
  TPedidoExportacao pedido;
  pedido.Destino = QStringLiteral("/tmp/x/capa.pdf");
  EXPECT_EQ(FicheirosDaExportacao(pedido), QStringList{"/tmp/x/capa.pdf"});
  pedido.Formato = TFormatoExportacao::Svg;
  pedido.Destino = QStringLiteral("/tmp/x");
  pedido.Paginas = {paginaTras, paginaCD};
  EXPECT_EQ(FicheirosDaExportacao(pedido),
            (QStringList{"/tmp/x/pagina-2.svg", "/tmp/x/pagina-3.svg"}));
}

}  // namespace
