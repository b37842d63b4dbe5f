// SPDX-License-Identifier: GPL-3.0-or-later
// lurns-batch's command line, read without running the program: each mode,
// the print options, and bad usage with its reason (exit status 2).
#include "batch/Argumentos.h"

#include <gtest/gtest.h>

namespace {

TEST(BatchArgs, ModesAndTheirFiles) {
  const TArgumentos dump = LerArgumentos({"--dump", "a.lrn"});
  EXPECT_EQ(dump.Modo, TArgumentos::Despejar);
  EXPECT_EQ(dump.Capa, "a.lrn");
  const TArgumentos save = LerArgumentos({"--save", "b.lrn", "a.lrn"});
  EXPECT_EQ(save.Modo, TArgumentos::Gravar);
  EXPECT_EQ(save.Capa, "a.lrn");
  EXPECT_EQ(save.Saida, "b.lrn");
  const TArgumentos faixas = LerArgumentos({"--faixas", "album", "--folha", "Interior", "--save", "b.lrn", "a.lrn"});
  EXPECT_EQ(faixas.Modo, TArgumentos::Faixas);
  EXPECT_EQ(faixas.OrdemFaixas.Origem, "album");
  EXPECT_EQ(faixas.OrdemFaixas.Folha, int(folhaInterior));
  EXPECT_EQ(faixas.OrdemFaixas.Saida, "b.lrn");
  EXPECT_EQ(faixas.OrdemFaixas.Capa, "a.lrn");
  for (const char* a : {"--help", "-h"}) EXPECT_EQ(LerArgumentos({a}).Modo, TArgumentos::Ajuda) << a;
  for (const char* a : {"--version", "-v"}) EXPECT_EQ(LerArgumentos({a}).Modo, TArgumentos::Versao) << a;
  EXPECT_TRUE(TextoDeUso().contains("--svg DIR"));
  EXPECT_TRUE(TextoDeUso().contains("Exit status"));
}

TEST(BatchArgs, PrintRuns) {
  struct {
    QStringList args;
    TOrdemImpressao::TSaida saida;
    QString destino;
  } cases[] = {
      {{"-o", "x.pdf", "a.lrn"}, TOrdemImpressao::Pdf, "x.pdf"},
      {{"a.lrn", "--output", "x.pdf"}, TOrdemImpressao::Pdf, "x.pdf"},
      {{"--printer", "Fila", "a.lrn"}, TOrdemImpressao::Impressora, "Fila"},
      {{"--png", "d", "a.lrn"}, TOrdemImpressao::Png, "d"},
      {{"--svg", "d", "a.lrn"}, TOrdemImpressao::Svg, "d"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const TArgumentos a = LerArgumentos(c.args);
    ASSERT_EQ(a.Modo, TArgumentos::Imprimir) << a.Motivo.toStdString();
    EXPECT_EQ(a.Impressao.Saida, c.saida);
    EXPECT_EQ(a.Impressao.Destino, c.destino);
    EXPECT_EQ(a.Impressao.Capa, "a.lrn");
  }
  const TArgumentos a = LerArgumentos({"--svg", "d", "--dpi", "300", "--pages", "current:CD", "--margins",
                                       "5, 7", "--sem-lombada", "a.lrn"});
  ASSERT_EQ(a.Modo, TArgumentos::Imprimir) << a.Motivo.toStdString();
  EXPECT_EQ(a.Impressao.Dpi, 300);
  EXPECT_EQ(a.Impressao.Paginas.Tipo, TEscolhaPaginas::Seleccao);
  EXPECT_EQ(a.Impressao.Paginas.Folha, int(folhaCD));
  EXPECT_TRUE(a.Impressao.ComMargens);
  EXPECT_EQ(a.Impressao.Superior, 5);
  EXPECT_EQ(a.Impressao.Esquerda, 7);
  EXPECT_FALSE(a.Impressao.ComLombada);
  const TArgumentos c = LerArgumentos({"-o", "x.pdf", "--copies", "3", "--pages", "2-3", "a.lrn"});
  EXPECT_EQ(c.Impressao.Copias, 3);
  EXPECT_EQ(c.Impressao.Paginas.Tipo, TEscolhaPaginas::Intervalo);
  EXPECT_EQ(c.Impressao.Paginas.De, 2);
}

TEST(BatchArgs, BadUsageSaysWhy) {
  struct {
    QStringList args;
    const char* motivo;  // what the reason holds ("" : the usage alone)
  } cases[] = {
      {{}, ""},
      {{"--dump"}, "Missing value"},
      {{"--dump", "a", "b"}, ""},
      {{"--save", "b.lrn"}, ""},
      {{"--print", "a"}, "Unknown option"},
      {{"-o", "x.pdf"}, "name the cover file"},
      {{"a.lrn"}, "choose -o, --printer, --png or --svg"},
      {{"-o", "x.pdf", "--svg", "d", "a.lrn"}, "choose one"},
      {{"-o", "x.pdf", "-o", "y.pdf", "a.lrn"}, "choose one"},
      {{"-o", "x.pdf", "--dpi", "100", "a.lrn"}, "--dpi"},
      {{"--png", "d", "--dpi", "5", "a.lrn"}, "--dpi"},
      {{"--svg", "d", "--copies", "2", "a.lrn"}, "--copies"},
      {{"-o", "x.pdf", "--copies", "0", "a.lrn"}, "--copies"},
      {{"-o", "x.pdf", "--pages", "4-5", "a.lrn"}, "--pages"},
      {{"-o", "x.pdf", "--pages", "current:Lado", "a.lrn"}, "--pages"},
      {{"-o", "x.pdf", "--margins", "10", "a.lrn"}, "--margins"},
      {{"-o", "x.pdf", "a.lrn", "b.lrn"}, "unexpected argument b.lrn"},
      {{"-o", "x.pdf", "--folha", "Tras", "a.lrn"}, "unexpected argument --folha"},
      {{"--faixas", "album", "--save", "b.lrn"}, "--faixas needs"},
      {{"--faixas", "album", "--folha", "Lado", "--save", "b.lrn", "a.lrn"}, "--folha"},
      {{"--faixas", "album", "--pages", "all", "--save", "b.lrn", "a.lrn"}, "unexpected argument --pages"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const TArgumentos a = LerArgumentos(c.args);
    EXPECT_EQ(a.Modo, TArgumentos::Erro);
    EXPECT_TRUE(a.Motivo.contains(QString::fromUtf8(c.motivo))) << a.Motivo.toStdString();
  }
}

}  // namespace
