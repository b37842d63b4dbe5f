// SPDX-License-Identifier: GPL-3.0-or-later
// The cover document on its own, without any window: naming, clearing,
// the quarter turn, automatic sizing, backgrounds and the disc, the change
// notice, the limits of document/Limites.h and the turned-text box of a
// text object.
#include "document/Documento.h"
#include "document/Limites.h"
#include "document/MedidaTexto.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

TObjecto Texto(const QString& nome, const QString& caption = QStringLiteral("x")) {
  TObjecto o = TObjecto::NovoTexto();
  o.Nome = nome;
  o.Texto = caption;
  return o;
}

TEST(Documento, StartsEmptyWithFourSheetsInOrder) {
  const TDocumento d;
  EXPECT_TRUE(d.Vazio());
  const char* codigos[] = {"Frente", "Interior", "Tras", "CD"};
  const QSize tamanhos[] = {{458, 455}, {458, 455}, {572, 447}, {446, 446}};
  for (int folha = folhaFrente; folha <= folhaCD; ++folha) {
    EXPECT_EQ(CodigoFolha(folha), codigos[folha - 1]);
    EXPECT_EQ(TamanhoFolha(folha), tamanhos[folha - 1]);
    EXPECT_EQ(d.Cor(folha), clWhite);
    EXPECT_TRUE(d.Objectos(folha).empty());
  }
  EXPECT_EQ(d.PreenchimentoDisco(), tfsSolid);
  EXPECT_EQ(LarguraReferencia(folhaTras), 572);
  EXPECT_EQ(LarguraReferencia(folhaCD), 458);
  EXPECT_EQ(CodigoFundo(fundoTrasLombada), "TrasL");
  EXPECT_EQ(LimitesFundo(fundoTrasLombada), QRect(24, 0, 524, 447));
}

// A cover's lengths are pixels at 96 per inch whatever the screen: a text's
// font in points becomes pixels at that resolution (12 points are 16
// pixels; 8 points 10.67, rounded to 11), and back.
TEST(Documento, FontsInPointsArePixelsAt96PerInch) {
  const std::pair<int, int> cases[] = {{12, 16}, {8, 11}, {72, 96}, {36, 48}};
  for (const auto& [points, pixels] : cases) {
    TFonteDoc f;
    f.Tamanho = points;
    const TFont t = f.ParaTFont();
    EXPECT_EQ(t.PixelsPerInch, 96) << points;
    EXPECT_EQ(t.Height, -pixels) << points;
    EXPECT_EQ(TFonteDoc::DeTFont(t).Tamanho, points);
  }
}

// Same content is every field but the identity: a change of any one field
// tells two objects apart, including fields added later (the comparison
// is the object's own).
TEST(Documento, SameContentIsEveryFieldButTheIdentity) {
  QImage red(2, 2, QImage::Format_RGB32);
  red.fill(Qt::red);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  red.save(&buffer, "PNG");
  TObjecto base = TObjecto::NovoTexto();
  base.Nome = "Texto1";
  base.Texto = "Lado A";
  base.Id = 7;
  const std::pair<const char*, std::function<void(TObjecto&)>> changes[] = {
      {"Tipo", [](TObjecto& o) { o.Tipo = TTipoObjecto::Imagem; }},
      {"Nome", [](TObjecto& o) { o.Nome = "Texto2"; }},
      {"Left", [](TObjecto& o) { o.Left = 1; }},
      {"Top", [](TObjecto& o) { o.Top = 1; }},
      {"Width", [](TObjecto& o) { o.Width = 1; }},
      {"Height", [](TObjecto& o) { o.Height = 1; }},
      {"Texto", [](TObjecto& o) { o.Texto = "Lado B"; }},
      {"Angulo", [](TObjecto& o) { o.Angulo = 90; }},
      {"Fonte.Nome", [](TObjecto& o) { o.Fonte.Nome = "Arial"; }},
      {"Fonte.Tamanho", [](TObjecto& o) { o.Fonte.Tamanho = 9; }},
      {"Fonte.Charset", [](TObjecto& o) { o.Fonte.Charset = SYMBOL_CHARSET; }},
      {"Fonte.Cor", [](TObjecto& o) { o.Fonte.Cor = clRed; }},
      {"Fonte.Estilo", [](TObjecto& o) { o.Fonte.Estilo = fsBold; }},
      {"TamanhoAutomatico", [](TObjecto& o) { o.TamanhoAutomatico = false; }},
      {"Imagem.Ficheiro", [](TObjecto& o) { o.Imagem.Ficheiro = "r.png"; }},
      {"Imagem.Imagem", [&](TObjecto& o) { o.Imagem.Imagem.LoadFromData(png, "png"); }},
  };
  for (const auto& [field, change] : changes) {
    TObjecto other = base;
    change(other);
    EXPECT_FALSE(MesmoConteudo(base, other)) << field;
  }
  TObjecto renumbered = base;
  renumbered.Id = 8;
  EXPECT_TRUE(MesmoConteudo(base, renumbered));
}

TEST(Documento, NewNamesCountTheSheetsObjectsAndSkipTakenNames) {
  TDocumento d;
  EXPECT_EQ(d.NovoNome("Texto", folhaFrente), "Texto0");
  const std::uint64_t t1 = d.Adicionar(folhaFrente, Texto("Texto1"));
  d.Adicionar(folhaFrente, Texto("Texto2"));
  d.Apagar(t1);
  EXPECT_EQ(d.NovoNome("Texto", folhaFrente), "Texto1");
  // With the new object on the sheet too, Texto2 is taken: Texto3.
  d.Adicionar(folhaFrente, TObjecto::NovoTexto());
  EXPECT_EQ(d.NovoNome("Texto", folhaFrente), "Texto3");
  EXPECT_EQ(d.NovoNome("Imagem", folhaFrente), "Imagem2");
  EXPECT_EQ(d.NovoNome("Texto", folhaInterior), "Texto0");
  d.Adicionar(folhaTras, Texto("TEXTO1"));  // without regard to case
  EXPECT_EQ(d.NovoNome("Texto", folhaTras), "Texto2");
}

TEST(Documento, ObjectsKeepTheirOrderAndIdentity) {
  TDocumento d;
  const std::uint64_t a = d.Adicionar(folhaCD, Texto("Texto1"));
  const std::uint64_t b = d.Adicionar(folhaCD, TObjecto::NovaImagem());
  const std::uint64_t c = d.Adicionar(folhaCD, Texto("Texto3"));
  ASSERT_EQ(d.Objectos(folhaCD).size(), 3u);
  EXPECT_EQ(d.Objectos(folhaCD)[1].Id, b);
  EXPECT_EQ(d.FolhaDe(c), folhaCD);
  EXPECT_EQ(d.FolhaDe(12345678), 0);
  d.Apagar(b);
  EXPECT_EQ(d.Objectos(folhaCD)[0].Id, a);
  EXPECT_EQ(d.Objectos(folhaCD)[1].Id, c);
  EXPECT_EQ(d.Objecto(b), nullptr);
  // A copy has the same objects, with the same identities.
  const TDocumento copia = d;
  EXPECT_EQ(copia.Objecto(c)->Nome, "Texto3");
  // Identities are unique in the whole run, across documents.
  TDocumento outro;
  EXPECT_EQ(d.Objecto(outro.Adicionar(folhaCD, Texto("Texto1"))), nullptr);
}

TEST(Documento, QuarterTurnsFollowTheTableAndSwapTheBox) {
  TDocumento d;
  TObjecto o = Texto("Texto1");
  o.Left = 30;
  o.Top = 40;
  o.Width = 120;
  o.Height = 20;
  const std::uint64_t id = d.Adicionar(folhaFrente, o);
  const int esquerda[] = {90, 180, 270, 0};
  for (int a : esquerda) {
    d.Rodar90(id, true);
    EXPECT_EQ(d.Objecto(id)->Angulo, a);
  }
  EXPECT_EQ(d.Objecto(id)->Limites(), QRect(30, 40, 120, 20));
  EXPECT_FALSE(d.Objecto(id)->TamanhoAutomatico);  // turned away once: for good
  const int direita[] = {270, 180, 90, 0};
  for (int a : direita) {
    d.Rodar90(id, false);
    EXPECT_EQ(d.Objecto(id)->Angulo, a);
  }
  d.Rodar90(id, true);
  EXPECT_EQ(d.Objecto(id)->Limites(), QRect(30, 40, 20, 120));
  // An angle off the quarters stays; the box still swaps.
  TObjecto torto = Texto("Texto2");
  torto.Angulo = 45;
  torto.Width = 10;
  torto.Height = 50;
  const std::uint64_t t = d.Adicionar(folhaFrente, torto);
  d.Rodar90(t, true);
  EXPECT_EQ(d.Objecto(t)->Angulo, 45);
  EXPECT_EQ(d.Objecto(t)->Limites().size(), QSize(50, 10));
  // A picture does not turn.
  TObjecto i = TObjecto::NovaImagem();
  i.Width = 10;
  i.Height = 50;
  const std::uint64_t p = d.Adicionar(folhaFrente, i);
  d.Rodar90(p, true);
  EXPECT_EQ(d.Objecto(p)->Limites().size(), QSize(10, 50));
}

TEST(Documento, ATextSizingItselfTakesTheSizeOfItsCaptionAndFont) {
  TDocumento d;
  TObjecto o = Texto("Texto1", "Lado A");
  o.Left = 7;
  o.Top = 9;
  const std::uint64_t id = d.Adicionar(folhaFrente, o);
  EXPECT_EQ(d.Objecto(id)->Width, 0);  // added as it is
  d.DefinirTexto(id, QStringLiteral("Lado A"));
  const QSize pequeno = d.Objecto(id)->Limites().size();
  EXPECT_EQ(pequeno, TamanhoAutomatico("Lado A", TFonteDoc()));
  EXPECT_GT(pequeno.width(), 0);
  TFonteDoc grande;
  grande.Nome = "Arial";
  grande.Tamanho = 36;
  d.DefinirFonte(id, grande);
  EXPECT_GT(d.Objecto(id)->Width, pequeno.width());
  EXPECT_EQ(d.Objecto(id)->Limites().topLeft(), QPoint(7, 9));
  // An empty caption or a lone "&" keeps one line.
  for (const char* vazio : {"", "&"}) {
    d.DefinirTexto(id, QString::fromLatin1(vazio));
    EXPECT_EQ(d.Objecto(id)->Height, TamanhoAutomatico(" ", grande).height()) << vazio;
  }
  // Without automatic sizing (turned once, for good) the bounds stay.
  d.Rodar90(id, true);
  d.Rodar90(id, false);
  d.DefinirLimites(id, QRect(7, 9, 300, 40));
  d.DefinirTexto(id, QStringLiteral("outro texto mais comprido"));
  EXPECT_EQ(d.Objecto(id)->Limites(), QRect(7, 9, 300, 40));
}

TEST(Documento, BackgroundsAndTheDisc) {
  TDocumento d;
  TImagemDoc imagem{QStringLiteral("fundo.png"), TPicture()};
  d.DefinirFundo(fundoCD, imagem);
  EXPECT_EQ(d.PreenchimentoDisco(), tfsImageStretch);
  EXPECT_FALSE(d.Vazio());
  // A colour on the disc drops its picture.
  d.DefinirCor(folhaCD, 0x00FFFF);
  EXPECT_EQ(d.PreenchimentoDisco(), tfsSolid);
  EXPECT_TRUE(d.Fundo(fundoCD).Vazia());
  EXPECT_EQ(d.Cor(folhaCD), 0x00FFFFu);
  // Clearing the back empties both of its pictures.
  d.DefinirFundo(fundoTras, imagem);
  d.DefinirFundo(fundoTrasLombada, imagem);
  d.DefinirFundo(fundoFrente, imagem);
  d.LimparFundo(folhaTras);
  EXPECT_TRUE(d.Fundo(fundoTras).Vazia());
  EXPECT_TRUE(d.Fundo(fundoTrasLombada).Vazia());
  EXPECT_FALSE(d.Fundo(fundoFrente).Vazia());
  d.DefinirFundo(fundoCD, imagem);
  d.LimparFundo(folhaCD);
  EXPECT_EQ(d.PreenchimentoDisco(), tfsSolid);
  // Clearing the document empties everything.
  d.Adicionar(folhaInterior, Texto("Texto1"));
  d.DefinirCor(folhaTras, clRed);
  d.LimparDocumento();
  EXPECT_TRUE(d.Vazio());
}

TEST(Documento, SettingWhatIsAlreadyThereIsNoChange) {
  TDocumento d;
  TImagemDoc imagem{"a.png", TPicture()};
  TObjecto t = Texto("Texto1");
  t.TamanhoAutomatico = false;
  t.Left = 1;
  t.Top = 2;
  t.Width = 30;
  t.Height = 10;
  const std::uint64_t id = d.Adicionar(folhaFrente, t);
  TObjecto i = TObjecto::NovaImagem();
  i.Imagem = imagem;
  const std::uint64_t img = d.Adicionar(folhaFrente, i);
  d.DefinirCor(folhaCD, clRed);
  d.DefinirFundo(fundoFrente, imagem);
  int avisos = 0;
  d.AoAlterar([&] { ++avisos; });
  d.DefinirNome(id, "Texto1");
  d.DefinirLimites(id, QRect(1, 2, 30, 10));
  d.DefinirTexto(id, t.Texto);
  d.DefinirFonte(id, t.Fonte);
  d.DefinirImagem(img, imagem);
  d.DefinirCor(folhaCD, clRed);
  d.DefinirCor(folhaFrente, clWhite);
  d.DefinirFundo(fundoFrente, imagem);
  d.LimparFundo(folhaInterior);
  EXPECT_EQ(avisos, 0);
  d.DefinirLimites(id, QRect(1, 2, 31, 10));
  EXPECT_EQ(avisos, 1);
  d.LimparDocumento();
  EXPECT_EQ(avisos, 2);
  d.LimparDocumento();  // already empty
  EXPECT_EQ(avisos, 2);
}

TEST(Documento, ATextSizingItselfTakesANewPlaceButKeepsItsSize) {
  TDocumento d;
  TObjecto t = Texto("Texto1");
  t.Texto = "Lado A";
  AjustarTamanho(t);
  const QSize tamanho(t.Width, t.Height);
  ASSERT_FALSE(tamanho.isEmpty());
  const std::uint64_t id = d.Adicionar(folhaFrente, t);
  d.DefinirLimites(id, QRect(40, 50, tamanho.width() + 21, tamanho.height() + 35));
  EXPECT_EQ(d.Objecto(id)->Limites(), QRect(QPoint(40, 50), tamanho));
  // Turned, it sizes itself no more and takes the size it is given.
  d.Rodar90(id, true);
  d.DefinirLimites(id, QRect(40, 50, 70, 90));
  EXPECT_EQ(d.Objecto(id)->Limites(), QRect(40, 50, 70, 90));
}

TEST(Documento, ListenersHearEveryChangeOnceABatchEnds) {
  TDocumento d;
  int avisos = 0;
  const int ligacao = d.AoAlterar([&] { ++avisos; });
  const std::uint64_t id = d.Adicionar(folhaFrente, Texto("Texto1"));
  d.DefinirNome(id, "Texto9");
  EXPECT_EQ(avisos, 2);
  {
    TDocumento::TLote lote(d);
    d.DefinirCor(folhaFrente, clRed);
    {
      TDocumento::TLote dentro(d);
      d.DefinirLimites(id, QRect(1, 2, 3, 4));
    }
    EXPECT_EQ(avisos, 2);  // not before the outer batch ends
  }
  EXPECT_EQ(avisos, 3);
  { TDocumento::TLote vazio(d); }
  EXPECT_EQ(avisos, 3);  // nothing changed, nothing told
  // A copy has no listeners; replacing the content keeps this one's.
  TDocumento copia = d;
  copia.DefinirCor(folhaInterior, clBlue);
  EXPECT_EQ(avisos, 3);
  d.Substituir(copia);
  EXPECT_EQ(avisos, 4);
  EXPECT_EQ(d.Cor(folhaInterior), clBlue);
  d.Desligar(ligacao);
  d.LimparDocumento();
  EXPECT_EQ(avisos, 4);
}

TEST(Documento, ValuesAreHeldToTheLimitsOfFilesAndClipboard) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  struct {
    std::int64_t in;
    int coordinate, extent, fontSize, angle;
  } cases[] = {
      {0, 0, 0, MinFontSize, 0},
      {-1, -1, 0, MinFontSize, 359},
      {8, 8, 8, 8, 8},
      {450, 450, 450, 450, 90},
      {-90, -90, 0, MinFontSize, 270},
      {2000000000, MaxObjectCoordinate, MaxObjectExtent, MaxFontSize, 2000000000 % 360},
      {kMin, -MaxObjectCoordinate, 0, MinFontSize, 232},
      {kMax, MaxObjectCoordinate, MaxObjectExtent, MaxFontSize, int(kMax % 360)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(ClampCoordinate(c.in), c.coordinate);
    EXPECT_EQ(ClampExtent(c.in), c.extent);
    EXPECT_EQ(ClampFontSize(c.in), c.fontSize);
    EXPECT_EQ(NormaliseAngle(c.in), c.angle);
    EXPECT_TRUE(CheckBounds(c.coordinate, c.coordinate, c.extent, c.extent).isEmpty());
    EXPECT_TRUE(CheckFontSize(c.fontSize).isEmpty());
    EXPECT_TRUE(CheckAngle(c.angle).isEmpty());
  }
  EXPECT_EQ(ClampColour(0x12345678), 0x00345678u);
  EXPECT_EQ(ClampColour(0x80000008), 0x80000008u);  // a system colour stays
  EXPECT_EQ(ClampColour(0x00ABCDEF), 0x00ABCDEFu);
  EXPECT_EQ(ClampFontStyle(0xFF), 0x0F);
  EXPECT_EQ(ClampFontName(QString(300, QChar(0x20AC))).toUtf8().size(), 255);  // 85 euro signs
  EXPECT_EQ(ClampFontName("Arial"), "Arial");

  TObjecto o = Texto("Texto1");
  o.Left = -40000;
  o.Width = -3;
  o.Angulo = -90;
  o.Fonte.Tamanho = 0;
  o.Fonte.Cor = 0xFF000000;
  EXPECT_FALSE(VerificarObjecto(o).isEmpty());
  LimitarObjecto(o);
  EXPECT_TRUE(VerificarObjecto(o).isEmpty()) << VerificarObjecto(o).toStdString();
  EXPECT_EQ(o.Limites(), QRect(-MaxObjectCoordinate, 0, 0, 0));
  EXPECT_EQ(o.Angulo, 270);
  EXPECT_EQ(o.Fonte.Tamanho, MinFontSize);
  EXPECT_EQ(o.Fonte.Cor, 0u);
  // A font from the platform's dialog is held to them too.
  TFont enorme;
  enorme.Name = "Arial";
  enorme.SetSize(5000);
  EXPECT_EQ(TFonteDoc::DeTFont(enorme).Tamanho, MaxFontSize);
  TFont semResolucao;
  semResolucao.PixelsPerInch = 0;
  EXPECT_EQ(TFonteDoc::DeTFont(semResolucao).Tamanho, TFonteDoc().Tamanho);
}

TEST(Documento, TheTurnedTextBoxOfATextObjectIsTheLabelsBox) {
  TObjecto o = Texto("Texto1", "Lurns para CD");
  o.Fonte.Nome = "Arial";
  o.Fonte.Tamanho = 11;
  const QSize ext = ExtensaoTexto(o);
  ASSERT_GT(ext.width(), ext.height());
  struct {
    int angle;
    QPoint reference;  // from the top-left corner of a box big enough
  } cases[] = {{90, {0, ext.width()}}, {180, {ext.width(), ext.height()}}, {270, {ext.height(), 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.angle);
    o.Angulo = c.angle;
    o.Width = o.Height = 400;
    const TTurnedTextBox b = CaixaTextoRodado(o);
    EXPECT_EQ(b.ReferencePoint(), c.reference);
    const TTurnedTextBox same = TurnedTextBox(c.angle, ext.width(), ext.height(), 400, 400, taLeftJustify, vaTop);
    EXPECT_EQ(b.rect, same.rect);
  }
  o.Angulo = 0;
  o.Width = 80;
  o.Height = 20;
  EXPECT_EQ(CaixaTextoRodado(o).rect, QRect(0, 0, 80, 20));
  // The document measures at the font's true size in the document's
  // resolution, whatever the screen's: 11 points are 14 2/3 pixels high.
  EXPECT_EQ(FonteDeTexto(o.Fonte).Points, 11);
  EXPECT_EQ(ext, LayoutText(FonteDeTexto(o.Fonte), o.Texto, OpcoesDeTexto(90)).PixelSize(96 / 72.0));
}

}  // namespace
