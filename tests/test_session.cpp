// SPDX-License-Identifier: GPL-3.0-or-later
// The editing session without any window: every command as one step of the
// history, undone and redone whole; what leaves no step; runs of nudges;
// cut; the saved state following the history; and two hundred random
// commands on the example cover undone and redone byte for byte.
#include "document/FicheiroCapa.h"
#include "document/ObjectStream.h"
#include "document/Registo.h"
#include "editor/PerguntasDialogos.h"
#include "session/Sessao.h"
#include "support/ScriptedDialogs.h"
#include "tracks/ColocacaoFaixas.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <random>

namespace {

// Same content, identities and order: what undo must give back.
::testing::AssertionResult Iguais(const TDocumento& a, const TDocumento& b) {
  if (!(a.Fundos() == b.Fundos())) return ::testing::AssertionFailure() << "the backgrounds differ";
  for (int folha = folhaFrente; folha <= folhaCD; ++folha) {
    const auto& x = a.Objectos(folha);
    const auto& y = b.Objectos(folha);
    if (x.size() != y.size())
      return ::testing::AssertionFailure() << "sheet " << folha << ": " << x.size() << " objects, not " << y.size();
    for (std::size_t i = 0; i < x.size(); ++i)
      if (x[i].Id != y[i].Id || !MesmoConteudo(x[i], y[i]))
        return ::testing::AssertionFailure() << "sheet " << folha << ", object " << i << " (" << x[i].Nome.toStdString()
                                             << ") differs";
  }
  return ::testing::AssertionSuccess();
}

class Session : public ::testing::Test {
 protected:
  void SetUp() override {
    AbrirRegisto()->remove(QString());
    QGuiApplication::clipboard()->clear();
    QImage azul(40, 20, QImage::Format_RGB32);
    azul.fill(Qt::blue);
    ASSERT_TRUE(azul.save(Path("azul.png")));
    QImage vermelho(5, 5, QImage::Format_RGB32);
    vermelho.fill(Qt::red);
    ASSERT_TRUE(vermelho.save(Path("vermelho.bmp")));
    QFile mau(Path("mau.jpg"));
    ASSERT_TRUE(mau.open(QIODevice::WriteOnly));
    mau.write("not a jpeg");
  }
  QString Path(const QString& name) const { return dir.filePath(name); }
  QByteArray Read(const QString& name) const {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // A text made through its command (the font dialog cancelled), on the
  // session's sheet.
  std::uint64_t Texto() {
    dialogs->Fonts.push_back(std::nullopt);
    s.InserirTexto();
    return s.Documento().Objectos(s.Folha()).back().Id;
  }
  std::uint64_t Imagem() {
    dialogs->Files.push_back(Path("azul.png"));
    s.InserirImagem();
    return s.Documento().Objectos(s.Folha()).back().Id;
  }
  int Passos() const { return s.Historia().count(); }

  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
  TPerguntasDialogos perguntas;
  TSessao s{perguntas};
};

TEST_F(Session, EveryCommandIsOneStepUndoneAndRedoneWhole) {
  TFont arial;
  arial.Name = "Arial";
  arial.SetSize(14);
  // What the command works on is made first (steps of their own), then
  // the command is the one step taken back and made again.
  struct Caso {
    const char* passo;
    std::function<void()> preparar, comando;
  } casos[] = {
      {"Inserir texto", [&] { Texto(); }, [&] { dialogs->Fonts = {arial}; s.InserirTexto(); }},
      {"Inserir imagem", [&] { Texto(); }, [&] { dialogs->Files = {Path("azul.png")}; s.InserirImagem(); }},
      {"Editar texto", [&] { s.Seleccionar(Texto()); },
       [&] { dialogs->Inputs = {QString("Lado B")}; s.EditarTexto(); }},
      {"Editar texto", [&] { s.Seleccionar(Texto()); },
       [&] { dialogs->Inputs = {QString("Lado C")}; s.EditarObjecto(); }},
      {"Alterar imagem", [&] { s.Seleccionar(Imagem()); },
       [&] { dialogs->Files = {Path("vermelho.bmp")}; s.AlterarImagem(); }},
      {"Alterar imagem", [&] { s.Seleccionar(Imagem()); },
       [&] { dialogs->Files = {Path("vermelho.bmp")}; s.EditarObjecto(); }},
      {"Alterar fonte", [&] { s.Seleccionar(Texto()); }, [&] { dialogs->Fonts = {arial}; s.AlterarFonte(); }},
      {"Alinhar à esquerda", [&] { s.Seleccionar(Imagem()); s.MoverPara(s.Seleccionado(), {30, 40, 100, 100}); },
       [&] { s.Alinhar(TAlinhamento::Esquerda); }},
      {"Centrar", [&] { s.Seleccionar(Imagem()); }, [&] { s.Alinhar(TAlinhamento::Centro); }},
      {"Alinhar à direita", [&] { s.Seleccionar(Texto()); }, [&] { s.Alinhar(TAlinhamento::Direita); }},
      {"Rodar à esquerda", [&] { s.Seleccionar(Texto()); }, [&] { s.Rodar(true); }},
      {"Rodar à direita", [&] { s.Seleccionar(Texto()); }, [&] { s.Rodar(false); }},
      // From the middle of the sheet: undone, it goes back to its place.
      {"Apagar", [&] { Texto(); s.Seleccionar(Imagem()); Texto(); }, [&] { s.Apagar(); }},
      {"Cortar", [&] { s.Seleccionar(Texto()); Imagem(); }, [&] { s.Cortar(); }},
      {"Colar", [&] { s.Seleccionar(Imagem()); s.Copiar(); }, [&] { s.Colar(); }},
      {"Imagem de fundo", [&] { s.MudarFolha(folhaTras); },
       [&] { dialogs->Files = {Path("azul.png")}; s.ImagemDeFundo(); }},
      {"Imagem de fundo", [&] { s.MudarFolha(folhaCD); },
       [&] { dialogs->Files = {Path("azul.png")}; s.ImagemDeFundo(); }},
      {"Cor de fundo", [&] { s.MudarFolha(folhaInterior); },
       [&] { dialogs->Colours = {TColor(0x00FFFF)}; s.CorDeFundo(); }},
      // The disc's colour drops its picture; undone, the picture is back.
      {"Cor de fundo", [&] { s.MudarFolha(folhaCD); dialogs->Files = {Path("azul.png")}; s.ImagemDeFundo(); },
       [&] { dialogs->Colours = {TColor(0x0000FF)}; s.CorDeFundo(); }},
      {"Limpar imagem de fundo", [&] { s.MudarFolha(folhaTras); dialogs->Files = {Path("azul.png")}; s.ImagemDeFundo(); },
       [&] { s.LimparImagemDeFundo(); }},
      {"Mover", [&] { s.Seleccionar(Imagem()); }, [&] { s.MoverPara(s.Seleccionado(), {7, 8, 100, 100}); }},
      {"Redimensionar", [&] { s.Seleccionar(Imagem()); }, [&] { s.MoverPara(s.Seleccionado(), {1, 1, 60, 30}); }},
      {"Mover", [&] { s.Seleccionar(Texto()); }, [&] { s.Deslocar(2, -1); }},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.passo);
    dialogs->Confirms = {TModalResult::No};
    s.Novo();
    s.MudarFolha(folhaFrente);
    c.preparar();
    const TDocumento antes = s.Documento();
    const int passos = Passos();
    c.comando();
    EXPECT_EQ(Passos(), passos + 1);
    EXPECT_EQ(s.Historia().undoText(), QString::fromUtf8(c.passo));
    const TDocumento depois = s.Documento();
    EXPECT_FALSE(Iguais(antes, depois));
    s.Desfazer();
    EXPECT_TRUE(Iguais(s.Documento(), antes));
    EXPECT_EQ(s.Historia().redoText(), QString::fromUtf8(c.passo));
    s.Refazer();
    EXPECT_TRUE(Iguais(s.Documento(), depois));
    // All the way back to the empty cover, which is the one saved, and forth.
    while (s.Historia().canUndo()) s.Desfazer();
    EXPECT_TRUE(s.Documento().Vazio());
    EXPECT_TRUE(s.Gravado());
    while (s.Historia().canRedo()) s.Refazer();
    EXPECT_TRUE(Iguais(s.Documento(), depois));
  }
  // Every step the session makes is named in NomesPassos.
  QSet<QString> nomes;
  for (const char* n : TSessao::NomesPassos()) nomes.insert(QString::fromUtf8(n));
  for (const Caso& c : casos) EXPECT_TRUE(nomes.contains(QString::fromUtf8(c.passo))) << c.passo;
}

TEST_F(Session, ACommandThatIsCancelledFailsOrChangesNothingLeavesNoStep) {
  const std::uint64_t t = Texto();
  const std::uint64_t i = Imagem();
  s.MoverPara(i, {1, 100, 100, 100});
  ASSERT_TRUE(s.GravarFicheiro(Path("c.lrn")));
  const int passos = Passos();
  struct Caso {
    const char* nome;
    std::function<void()> comando;
  } casos[] = {
      {"inserir imagem cancelado", [&] { dialogs->Files = {std::nullopt}; s.InserirImagem(); }},
      {"inserir imagem ilegível", [&] { dialogs->Files = {Path("mau.jpg")}; s.InserirImagem(); }},
      {"texto cancelado", [&] { s.Seleccionar(t); dialogs->Inputs = {std::nullopt}; s.EditarTexto(); }},
      {"mesmo texto", [&] {
         s.Seleccionar(t);
         dialogs->Inputs = {s.Documento().Objecto(t)->Texto};
         s.EditarTexto();
       }},
      {"texto vazio e cancelado", [&] { s.Seleccionar(t); dialogs->Inputs = {QString(" "), std::nullopt}; s.EditarTexto(); }},
      {"fonte cancelada", [&] { s.Seleccionar(t); dialogs->Fonts = {std::nullopt}; s.AlterarFonte(); }},
      {"mesma fonte", [&] {
         s.Seleccionar(t);
         dialogs->Fonts = {s.Documento().Objecto(t)->Fonte.ParaTFont()};
         s.AlterarFonte();
       }},
      {"imagem cancelada", [&] { s.Seleccionar(i); dialogs->Files = {std::nullopt}; s.AlterarImagem(); }},
      {"imagem ilegível", [&] { s.Seleccionar(i); dialogs->Files = {Path("mau.jpg")}; s.AlterarImagem(); }},
      {"já alinhado", [&] { s.Seleccionar(i); s.Alinhar(TAlinhamento::Esquerda); }},
      {"uma imagem não roda", [&] { s.Seleccionar(i); s.Rodar(true); }},
      {"cor cancelada", [&] { dialogs->Colours = {std::nullopt}; s.CorDeFundo(); }},
      {"a mesma cor", [&] { dialogs->Colours = {clWhite}; s.CorDeFundo(); }},
      {"fundo cancelado", [&] { dialogs->Files = {std::nullopt}; s.ImagemDeFundo(); }},
      {"fundo ilegível", [&] { dialogs->Files = {Path("mau.jpg")}; s.ImagemDeFundo(); }},
      {"limpar fundo vazio", [&] { s.LimparImagemDeFundo(); }},
      {"copiar", [&] { s.Seleccionar(i); s.Copiar(); }},
      {"deslocar nada", [&] { s.Seleccionar(i); s.Deslocar(0, 0); }},
      {"arrastar para o mesmo sítio", [&] { s.MoverPara(i, {1, 100, 100, 100}); }},
      {"esticar um texto que se mede", [&] {
         const QRect r = s.Documento().Objecto(t)->Limites();
         s.MoverPara(t, QRect(r.topLeft(), r.size() * 2));
       }},
      {"seleccionar", [&] { s.Seleccionar(t); s.Seleccionar(0); }},
      {"mudar de folha", [&] { s.MudarFolha(folhaCD); s.MudarFolha(folhaFrente); }},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nome);
    c.comando();
    EXPECT_EQ(Passos(), passos);
    EXPECT_TRUE(s.Gravado());
  }
}

TEST_F(Session, ARunOfNudgesOfOneObjectIsOneStepAndEachDragIsOne) {
  const std::uint64_t a = Imagem();
  const std::uint64_t b = Imagem();
  s.Seleccionar(a);
  const QRect inicio = s.Documento().Objecto(a)->Limites();
  const int passos = Passos();
  for (int i = 0; i < 5; ++i) s.Deslocar(1, 0);
  s.Deslocar(0, 2);
  EXPECT_EQ(Passos(), passos + 1);
  EXPECT_EQ(s.Documento().Objecto(a)->Limites(), inicio.translated(5, 2));
  EXPECT_EQ(s.Historia().undoText(), "Mover");
  // Nudged back to where the run began: no step is left.
  s.Deslocar(-5, -2);
  EXPECT_EQ(Passos(), passos);
  EXPECT_EQ(s.Documento().Objecto(a)->Limites(), inicio);
  // Another object begins another run, and so does coming back to the first.
  s.Deslocar(1, 1);
  s.Seleccionar(b);
  s.Deslocar(1, 1);
  s.Seleccionar(a);
  s.Deslocar(1, 1);
  EXPECT_EQ(Passos(), passos + 3);
  // Any other command ends a run too.
  s.Alinhar(TAlinhamento::Centro);
  s.Deslocar(1, 1);
  EXPECT_EQ(Passos(), passos + 5);
  // A saved state is never joined: the nudge after a save is a step of its own.
  ASSERT_TRUE(s.GravarFicheiro(Path("c.lrn")));
  s.Deslocar(1, 1);
  EXPECT_EQ(Passos(), passos + 6);
  s.Desfazer();
  EXPECT_TRUE(s.Gravado());
  // Drags are a step each, even one after the other on one object.
  s.Refazer();
  const int antes = Passos();
  s.MoverPara(a, {10, 10, 100, 100});
  s.MoverPara(a, {20, 10, 100, 100});
  EXPECT_EQ(Passos(), antes + 2);
  s.Desfazer();
  EXPECT_EQ(s.Documento().Objecto(a)->Limites(), QRect(10, 10, 100, 100));
}

TEST_F(Session, CutCopiesThenDeletesAsOneStepAndUndoLeavesTheClipboard) {
  const std::uint64_t t = Texto();
  s.Seleccionar(t);
  const TObjecto cortado = *s.Documento().Objecto(t);
  const int passos = Passos();
  s.Cortar();
  EXPECT_EQ(Passos(), passos + 1);
  EXPECT_EQ(s.Historia().undoText(), "Cortar");
  EXPECT_EQ(s.Documento().Objecto(t), nullptr);
  EXPECT_EQ(s.Seleccionado(), 0u);
  EXPECT_TRUE(s.PodeColar());
  const QByteArray copiado = QGuiApplication::clipboard()->mimeData()->data(ObjectMimeType);
  // Undone: the object is back as it was; the clipboard keeps the copy.
  s.Desfazer();
  ASSERT_NE(s.Documento().Objecto(t), nullptr);
  EXPECT_TRUE(MesmoConteudo(*s.Documento().Objecto(t), cortado));
  EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data(ObjectMimeType), copiado);
  // Pasted, it is a new object of its own name.
  s.Colar();
  ASSERT_EQ(s.Documento().Objectos(folhaFrente).size(), 2u);
  EXPECT_EQ(s.Documento().Objectos(folhaFrente)[1].Texto, cortado.Texto);
  EXPECT_EQ(s.Documento().Objectos(folhaFrente)[1].Nome, "Texto2");

  // An object the clipboard cannot hold is not deleted either.
  std::uint64_t longo = 0;
  s.Alterar("Preparar", [&](TDocumento& d) {
    TObjecto o = TObjecto::NovoTexto();
    o.Texto = QString(70000, QChar('x'));
    o.TamanhoAutomatico = false;
    o.Width = o.Height = 10;
    longo = d.Adicionar(folhaFrente, o);
  });
  s.Seleccionar(longo);
  dialogs->Asked.clear();
  const int agora = Passos();
  s.Cortar();
  EXPECT_EQ(dialogs->Messages().size(), 1);
  EXPECT_NE(s.Documento().Objecto(longo), nullptr);
  EXPECT_EQ(Passos(), agora);
  EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data(ObjectMimeType), copiado);
}

TEST_F(Session, UndoNeverReachesTheRecentFilesTheSettingsOrTheClipboard) {
  s.UsarRecentes(true);
  Texto();
  ASSERT_TRUE(s.GravarFicheiro(Path("a.lrn")));
  const std::uint64_t i = Imagem();
  s.Seleccionar(i);
  s.Copiar();
  const QByteArray copiado = QGuiApplication::clipboard()->mimeData()->data(ObjectMimeType);
  ASSERT_TRUE(s.GravarFicheiro(Path("b.lrn")));
  auto registo = AbrirRegisto();
  registo->setValue("GrelhaX", 7);
  registo->sync();
  while (s.Historia().canUndo()) s.Desfazer();
  EXPECT_TRUE(s.Documento().Vazio());
  EXPECT_EQ(s.Recentes(), (QStringList{Path("b.lrn"), Path("a.lrn")}));
  EXPECT_EQ(AbrirRegisto()->value("GrelhaX").toInt(), 7);
  EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data(ObjectMimeType), copiado);
  EXPECT_EQ(s.NomeFicheiro(), QString());  // never named by GravarFicheiro, nor by undo
  EXPECT_EQ(Read("b.lrn").size(), 5148 + 2 * 572);  // and the files stay as written
}

TEST_F(Session, TheSavedStateFollowsTheHistoryAndEachSaveWritesWhatIsShown) {
  dialogs->Files = {Path("capa.lrn")};
  ASSERT_TRUE(s.GravarComo());
  const QByteArray vazia = Read("capa.lrn");
  const std::uint64_t t = Texto();
  EXPECT_FALSE(s.Gravado());
  ASSERT_TRUE(s.Gravar());
  const QByteArray comTexto = Read("capa.lrn");
  EXPECT_TRUE(s.Gravado());
  // Undone after the save: the document is away from the file.
  s.Desfazer();
  EXPECT_FALSE(s.Gravado());
  ASSERT_TRUE(s.Gravar());  // the file now holds the empty cover
  EXPECT_EQ(Read("capa.lrn"), vazia);
  EXPECT_TRUE(s.Gravado());
  s.Refazer();  // away again, back to the text
  EXPECT_FALSE(s.Gravado());
  EXPECT_NE(s.Documento().Objecto(t), nullptr);
  ASSERT_TRUE(s.Gravar());
  EXPECT_EQ(Read("capa.lrn"), comTexto);
  s.Desfazer();
  s.Refazer();  // back where it was saved
  EXPECT_TRUE(s.Gravado());

  // Closing asks only away from the saved state.
  EXPECT_TRUE(s.PodeFechar());
  s.Seleccionar(t);
  s.Rodar(true);
  dialogs->Confirms = {TModalResult::Cancel};
  EXPECT_FALSE(s.PodeFechar());
  s.Desfazer();
  EXPECT_TRUE(s.PodeFechar());

  // Abrir and Novo begin an empty history; a cover read only in part counts
  // as not saved, with nothing to undo.
  s.Refazer();
  dialogs->Confirms = {TModalResult::No};
  dialogs->Files = {Path("capa.lrn")};
  s.Abrir();
  EXPECT_FALSE(s.Historia().canUndo());
  EXPECT_FALSE(s.Historia().canRedo());
  EXPECT_TRUE(s.Gravado());
  QFile cortada(Path("cortada.lrn"));
  ASSERT_TRUE(cortada.open(QIODevice::WriteOnly));
  cortada.write(comTexto.left(comTexto.size() - 100));
  cortada.close();
  ASSERT_FALSE(s.AbrirFicheiro(Path("cortada.lrn")));
  EXPECT_FALSE(s.Historia().canUndo());
  EXPECT_FALSE(s.Gravado());
  Texto();
  s.Desfazer();
  EXPECT_FALSE(s.Gravado());  // still what no file holds
  dialogs->Confirms = {TModalResult::No};
  s.Novo();
  EXPECT_FALSE(s.Historia().canUndo());
  EXPECT_TRUE(s.Gravado());

  // A save that fails leaves the document counted as not saved.
  Texto();
  ASSERT_TRUE(s.GravarFicheiro(Path("capa.lrn")));
  EXPECT_FALSE(s.GravarFicheiro(Path("nao.txt")));
  EXPECT_FALSE(s.Gravado());
}

TEST_F(Session, ChangesMadeInOneStepAreUndoneTogether) {
  // "Place these texts": several changes, one step; steps opened inside
  // another join it.
  const int passos = Passos();
  {
    TSessao::TPasso passo(s, "Inserir textos");
    for (const char* t : {"Faixa 1", "Faixa 2", "Faixa 3"}) {
      TObjecto o = TObjecto::NovoTexto();
      o.Texto = QString::fromLatin1(t);
      AjustarTamanho(o);
      passo->DefinirNome(passo->Adicionar(folhaTras, o), passo->NovoNome("Texto", folhaTras));
    }
    EXPECT_TRUE(s.Alterar("Cor de fundo", [](TDocumento& d) { d.DefinirCor(folhaTras, clYellow); }));
  }
  EXPECT_EQ(Passos(), passos + 1);
  EXPECT_EQ(s.Historia().undoText(), "Inserir textos");
  EXPECT_EQ(s.Documento().Objectos(folhaTras).size(), 3u);
  s.Desfazer();
  EXPECT_TRUE(s.Documento().Vazio());
  s.Refazer();
  EXPECT_EQ(s.Documento().Objectos(folhaTras)[2].Nome, "Texto2");
  EXPECT_EQ(s.Documento().Cor(folhaTras), clYellow);
  // Nothing changed, nothing kept.
  EXPECT_FALSE(s.Alterar("Nada", [](TDocumento&) {}));
  EXPECT_EQ(Passos(), passos + 1);
}

TEST_F(Session, TheSelectionOfAnObjectThatGoesIsReleased) {
  const std::uint64_t t = Texto();
  s.Seleccionar(t);
  int avisos = 0;
  QObject::connect(&s, &TSessao::SeleccaoAlterada, &s, [&] { ++avisos; });
  s.Desfazer();  // the text's insertion taken back
  EXPECT_EQ(s.Seleccionado(), 0u);
  EXPECT_EQ(avisos, 1);
  s.Refazer();
  s.Seleccionar(t);
  EXPECT_EQ(s.Seleccionado(), t);
  s.Seleccionar(12345678);  // no such object
  EXPECT_EQ(s.Seleccionado(), 0u);
}

// ---------------------------------------------------------------------------
// Two hundred random commands on the example cover

TEST_F(Session, TwoHundredRandomCommandsUndoneAndRedoneByteForByte) {
  // The example beside its pictures, so that it writes back unchanged.
  const QDir exemplos(QStringLiteral(LURNS_SOURCE_DIR "/examples"));
  ASSERT_TRUE(QDir(dir.path()).mkdir("ex"));
  for (const QString& f : exemplos.entryList(QDir::Files))
    ASSERT_TRUE(QFile::copy(exemplos.filePath(f), Path("ex/" + f)));
  const QByteArray original = Read("ex/exemplo.lrn");
  ASSERT_TRUE(s.AbrirFicheiro(Path("ex/exemplo.lrn")));
  ASSERT_TRUE(dialogs->Messages().isEmpty()) << dialogs->Messages().join('|').toStdString();
  auto escrito = [&](const QString& nome) {
    EXPECT_EQ(GravarCapa(s.Documento(), Path("ex/" + nome)).Fim, TFimGravacao::Gravado);
    return Read("ex/" + nome);
  };
  ASSERT_EQ(escrito("inicio.lrn"), original);

  std::mt19937 aleatorio(20240523);
  auto ate = [&](int n) { return int(aleatorio() % unsigned(n)); };
  const QStringList imagens = {Path("ex/frente.svg"), Path("ex/nota.svg"), Path("ex/disco.svg"), Path("azul.png"),
                               Path("vermelho.bmp"), Path("mau.jpg")};
  auto ficheiro = [&]() -> std::optional<QString> {
    if (ate(8) == 0) return std::nullopt;
    return imagens[ate(imagens.size())];
  };
  auto fonte = [&]() -> std::optional<TFont> {
    if (ate(6) == 0) return std::nullopt;
    TFont f;
    f.Name = QStringList{"Arial", "Tahoma", "MS Sans Serif", "DejaVu Sans"}[ate(4)];
    f.SetSize(6 + ate(30));
    f.Color = TColor(aleatorio() & 0xFFFFFF);
    f.Style = TFontStyles(ate(16));
    return f;
  };
  enum Tipo {
    tInserirTexto, tInserirImagem, tEditarTexto, tAlterarImagem, tEditarObjecto, tAlterarFonte, tAlinharEsquerda,
    tCentrar, tAlinharDireita, tRodarEsquerda, tRodarDireita, tApagar, tImagemDeFundo, tCorDeFundo,
    tLimparFundo, tCopiar, tColar, tCortar, tDeslocar, tMover, NumeroTipos
  };
  std::map<int, int> passosPorTipo;
  QSet<int> folhasAlteradas;
  for (int n = 0; n < 200; ++n) {
    const int tipo = n % NumeroTipos;
    const int folha = folhaFrente + ate(NumeroFolhas);
    s.MudarFolha(folha);
    // The object the command works on: mostly one of the kind it works on.
    std::vector<std::uint64_t> candidatos;
    const bool soImagens = tipo == tAlterarImagem;
    const bool soTextos = tipo == tEditarTexto || tipo == tAlterarFonte || tipo == tRodarEsquerda || tipo == tRodarDireita;
    for (const TObjecto& o : s.Documento().Objectos(folha))
      if ((!soImagens || o.EhImagem()) && (!soTextos || o.EhTexto())) candidatos.push_back(o.Id);
    s.Seleccionar(candidatos.empty() || ate(10) == 0 ? 0 : candidatos[std::size_t(ate(int(candidatos.size())))]);
    dialogs->Files.clear();
    dialogs->Fonts.clear();
    dialogs->Colours.clear();
    dialogs->Inputs.clear();
    const int antes = s.Historia().index();
    switch (tipo) {
      case tInserirTexto: dialogs->Fonts = {fonte()}; s.InserirTexto(); break;
      case tInserirImagem: dialogs->Files = {ficheiro()}; s.InserirImagem(); break;
      case tEditarTexto:
      case tEditarObjecto:
      case tAlterarImagem: {
        const std::optional<QString> texto =
            ate(6) == 0 ? std::optional<QString>() : QStringLiteral("Texto %1 ç€").arg(ate(1000));
        dialogs->Inputs = {ate(10) == 0 ? std::optional<QString>(QString()) : texto, texto};
        dialogs->Files = {ficheiro()};
        if (tipo == tEditarTexto) s.EditarTexto();
        else if (tipo == tAlterarImagem) s.AlterarImagem();
        else s.EditarObjecto();
        break;
      }
      case tAlterarFonte: dialogs->Fonts = {fonte()}; s.AlterarFonte(); break;
      case tAlinharEsquerda: s.Alinhar(TAlinhamento::Esquerda); break;
      case tCentrar: s.Alinhar(TAlinhamento::Centro); break;
      case tAlinharDireita: s.Alinhar(TAlinhamento::Direita); break;
      case tRodarEsquerda: s.Rodar(true); break;
      case tRodarDireita: s.Rodar(false); break;
      case tApagar: s.Apagar(); break;
      case tImagemDeFundo: dialogs->Files = {ficheiro()}; s.ImagemDeFundo(); break;
      case tCorDeFundo:
        dialogs->Colours = {ate(8) == 0 ? std::optional<TColor>() : TColor(aleatorio() & 0xFFFFFF)};
        s.CorDeFundo();
        break;
      case tLimparFundo: s.LimparImagemDeFundo(); break;
      case tCopiar: s.Copiar(); break;
      case tColar: s.Colar(); break;
      case tCortar: s.Cortar(); break;
      case tDeslocar:
        // A run of nudges, as the arrow keys make.
        for (int k = 1 + ate(4); k > 0; --k) s.Deslocar(ate(7) - 3, ate(7) - 3);
        break;
      case tMover:
        if (const TObjecto* o = s.ObjectoSeleccionado())
          s.MoverPara(o->Id, QRect(o->Left + ate(41) - 20, o->Top + ate(41) - 20,
                                   ate(3) == 0 ? o->Width + ate(21) - 10 : o->Width,
                                   ate(3) == 0 ? o->Height + ate(21) - 10 : o->Height));
        break;
    }
    if (s.Historia().index() != antes) {
      ++passosPorTipo[tipo];
      folhasAlteradas.insert(folha);
    }
  }
  // Every kind of command made steps, on every sheet.
  for (int tipo = 0; tipo < NumeroTipos; ++tipo) {
    if (tipo == tCopiar) continue;
    EXPECT_GT(passosPorTipo[tipo], 0) << "command kind " << tipo;
  }
  EXPECT_EQ(passosPorTipo[tCopiar], 0);  // copying changes no document
  EXPECT_EQ(folhasAlteradas.size(), NumeroFolhas);
  ASSERT_GT(s.Historia().count(), 100);

  const QByteArray depois = escrito("depois.lrn");
  ASSERT_NE(depois, original);
  while (s.Historia().canUndo()) s.Desfazer();
  EXPECT_EQ(escrito("desfeito.lrn"), original);
  EXPECT_TRUE(s.Gravado());
  while (s.Historia().canRedo()) s.Refazer();
  EXPECT_EQ(escrito("refeito.lrn"), depois);
  EXPECT_FALSE(s.Gravado());
}

}  // namespace

// ---------------------------------------------------------------------------
// Texts of several lines, the paste's place, and track lists.

// The input box's texts keep their lines (CR LF, whatever breaks the box
// gave); a caption the cover file's field cannot hold, counted as the file
// stores it (Windows-1252 bytes, two for each line break), is refused at
// the box with how many characters fit, and never cut.
TEST_F(Session, ATextOfSeveralLinesIsKeptAndOneTooLongForTheFileIsRefused) {
  const std::uint64_t t = Texto();
  s.Seleccionar(t);
  const int umaLinha = s.Documento().Objecto(t)->Height;
  dialogs->Inputs = {QString("Lado A\nLado B")};
  s.EditarTexto();
  EXPECT_EQ(s.Documento().Objecto(t)->Texto, "Lado A\r\nLado B");
  EXPECT_GT(s.Documento().Objecto(t)->Height, umaLinha * 3 / 2);
  EXPECT_EQ(s.Historia().undoText(), "Editar texto");

  struct Caso {
    const char* nome;
    QString texto;
    bool aceite;
  };
  const QString x253(253, QChar('x'));
  const Caso casos[] = {
      {"um carácter fora do Windows-1252 conta como um", QString(254, QChar('x')) + QChar(0x0416), true},
      {"255 caracteres", QString(255, QChar('x')), true},
      {"256 caracteres", QString(256, QChar('x')), false},
      {"253 e uma mudança de linha (255 no ficheiro)", x253.left(126) + "\n" + x253.mid(126), true},
      {"254 e uma mudança de linha (256 no ficheiro)", QString(254, QChar('x')).insert(100, "\r\n"), false},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nome);
    const QString antes = s.Documento().Objecto(t)->Texto;
    const int passos = Passos();
    dialogs->Asked.clear();
    dialogs->Inputs = {c.texto, std::nullopt};
    s.EditarTexto();
    if (c.aceite) {
      EXPECT_EQ(s.Documento().Objecto(t)->Texto, QString(c.texto).replace("\r\n", "\n").replace("\n", "\r\n"));
      EXPECT_EQ(Passos(), passos + 1);
      EXPECT_TRUE(dialogs->Messages().isEmpty()) << dialogs->Messages().join("; ").toStdString();
      dialogs->Inputs.clear();
    } else {
      EXPECT_EQ(s.Documento().Objecto(t)->Texto, antes);
      EXPECT_EQ(Passos(), passos);
      ASSERT_EQ(dialogs->Messages().size(), 1);
      EXPECT_TRUE(dialogs->Messages()[0].contains("256")) << dialogs->Messages()[0].toStdString();
      EXPECT_TRUE(dialogs->Messages()[0].contains("255")) << dialogs->Messages()[0].toStdString();
      // Refused at the box, which is asked again.
      EXPECT_EQ(dialogs->Asked.count(QString::fromUtf8("input: Introdução/Introduza o texto")), 2);
    }
  }
  // The texts of several lines are saved with CR LF in one caption and
  // read back as they were.
  ASSERT_TRUE(s.GravarFicheiro(Path("linhas.lrn")));
  const TLeituraCapa l = LerCapa(Path("linhas.lrn"));
  ASSERT_TRUE(l.Lido);
  EXPECT_EQ(l.Documento.Objectos(folhaFrente)[0].Texto, s.Documento().Objecto(t)->Texto);
}

// A copy pasted onto the sheet of its original lands a grid step right and
// down from it (each further paste a step from the last), selected; on
// another sheet it keeps its place; one step each.
TEST_F(Session, APasteOverItsOriginalGoesOneGridStepAndIsSelected) {
  for (const QSize grelha : {QSize(8, 8), QSize(4, 6)}) {
    SCOPED_TRACE(grelha.width());
    s.Novo();
    s.DefinirGrelha(grelha);
    s.MudarFolha(folhaFrente);
    const std::uint64_t t = Texto();
    s.Alterar("Mover", [&](TDocumento& d) { d.DefinirLimites(t, QRect(40, 30, 10, 10)); });
    const QRect original = s.Documento().Objecto(t)->Limites();
    s.Seleccionar(t);
    s.Copiar();
    for (int i = 1; i <= 2; ++i) {
      const int passos = Passos();
      s.Colar();
      EXPECT_EQ(Passos(), passos + 1);
      const TObjecto& colado = s.Documento().Objectos(folhaFrente).back();
      EXPECT_EQ(colado.Limites(), original.translated(i * grelha.width(), i * grelha.height()));
      EXPECT_EQ(s.Seleccionado(), colado.Id);
    }
    s.MudarFolha(folhaTras);
    s.Colar();
    EXPECT_EQ(s.Documento().Objectos(folhaTras).back().Limites(), original);
    EXPECT_EQ(s.Seleccionado(), s.Documento().Objectos(folhaTras).back().Id);
    // Undone, the paste is gone whole.
    s.Desfazer();
    EXPECT_TRUE(s.Documento().Objectos(folhaTras).empty());
    EXPECT_EQ(s.Seleccionado(), 0u);
    dialogs->Confirms.push_back(TModalResult::No);
  }
}

namespace {
// The session's questions through the scripted dialog layer, and the track
// list's dialog answered by the test.
class TPerguntasFaixas : public TPerguntasDialogos {
 public:
  // Each answer edits the request and says OK (true) or cancel.
  std::deque<std::function<bool(TPedidoFaixas&)>> Respostas;
  std::vector<TPedidoFaixas> Pedidos;
  bool Faixas(TPedidoFaixas& pedido) override {
    Pedidos.push_back(pedido);
    if (Respostas.empty()) {
      ADD_FAILURE() << "no answer for the track list's dialog";
      return false;
    }
    auto r = Respostas.front();
    Respostas.pop_front();
    return r(pedido);
  }
};

class SessionFaixas : public ::testing::Test {
 protected:
  void SetUp() override { AbrirRegisto()->remove(QString()); }
  QString Escrever(const QString& nome, const QByteArray& bytes) {
    QFile f(dir.filePath(nome));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
  }
  std::vector<const TObjecto*> Textos(int folha) const {
    std::vector<const TObjecto*> out;
    for (const TObjecto& o : s.Documento().Objectos(folha)) out.push_back(&o);
    return out;
  }
  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
  TPerguntasFaixas perguntas;
  TSessao s{perguntas};
};
}  // namespace

// A text file's tracks, with a title edited in the dialog, go onto the
// back inlay as texts of several lines on the grid, with the album on the
// front and the spines when chosen: one step, undone whole.
TEST_F(SessionFaixas, ImportedTracksArePlacedAsOneStep) {
  QByteArray lista = "TITLE\n";
  lista.clear();
  for (int i = 1; i <= 15; ++i) lista += QByteArray::number(i) + ". Faixa " + QByteArray::number(i) + " 3:0" + QByteArray::number(i % 10) + "\n";
  const QString ficheiro = Escrever("lista.txt", lista);
  dialogs->Files.push_back(ficheiro);
  perguntas.Respostas.push_back([](TPedidoFaixas& p) {
    EXPECT_EQ(p.Titulos.size(), 15);
    EXPECT_EQ(p.Folha, folhaTras);
    EXPECT_EQ(p.Fonte.Name, "Arial");
    EXPECT_EQ(p.Linhas(p.Titulos, p.Formato).value(0), QString::fromUtf8("1. Faixa 1 — 3:01"));
    p.Titulos[1] = QString::fromUtf8("Canção nova");
    p.Album = "Lado A";  // as if known, for the front and the spines
    p.Artista = "Lurns";
    p.AlbumNaFrente = p.AlbumNasLombadas = true;
    return true;
  });
  s.MudarFolha(folhaFrente);
  s.ImportarFaixas();
  ASSERT_EQ(perguntas.Pedidos.size(), 1u);
  EXPECT_EQ(s.Historia().count(), 1);
  EXPECT_EQ(s.Historia().undoText(), "Importar faixas");
  QStringList linhas;
  const QRect area = AreaDasFaixas(TColocacaoFaixas{});
  for (const TObjecto* o : Textos(folhaTras)) {
    if (o->Angulo != 0) continue;  // the spines
    linhas << o->Texto.split("\r\n");
    EXPECT_TRUE(area.contains(o->Limites())) << o->Nome.toStdString();
    EXPECT_EQ(o->Left % 8, 0);
  }
  ASSERT_EQ(linhas.size(), 15);
  EXPECT_EQ(linhas[1], QString::fromUtf8("2. Canção nova — 3:02"));
  EXPECT_EQ(linhas[14], QString::fromUtf8("15. Faixa 15 — 3:05"));
  int lombadas = 0;
  for (const TObjecto* o : Textos(folhaTras)) lombadas += o->Angulo != 0;
  EXPECT_EQ(lombadas, 2);
  EXPECT_EQ(Textos(folhaFrente).size(), 2u);
  s.Desfazer();
  EXPECT_TRUE(s.Documento().Vazio());
}

// Bad sources are told and change nothing: an empty folder, a CUE sheet
// with an error (its line), a folder of damaged files (listed), the dialog
// cancelled.  A list that does not fit is told and the dialog comes again.
TEST_F(SessionFaixas, BadSourcesAreToldAndChangeNothing) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("vazia"));
  ASSERT_TRUE(QDir(dir.path()).mkdir("estragada"));
  Escrever("estragada/01.flac", "isto não é FLAC");
  Escrever("estragada/02.mp3", QByteArray(100, '\0'));
  const QString cue = Escrever("mau.cue", "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK xx AUDIO\n");
  struct Caso {
    const char* nome;
    QString origem;
    QStringList diz;
  };
  const Caso casos[] = {
      {"pasta vazia", dir.filePath("vazia"), {QString::fromUtf8("não tem ficheiros de música")}},
      {"ficheiros estragados", dir.filePath("estragada"), {"01.flac", "02.mp3"}},
      {"CUE com erro", cue, {"linha 4"}},
      {"não existe", dir.filePath("nada.txt"), {QString::fromUtf8("não existe")}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nome);
    dialogs->Asked.clear();
    dialogs->Files.push_back(c.origem);
    s.ImportarFaixas();
    ASSERT_EQ(dialogs->Messages().size(), 1);
    for (const QString& d : c.diz) EXPECT_TRUE(dialogs->Messages()[0].contains(d)) << dialogs->Messages()[0].toStdString();
    EXPECT_TRUE(s.Documento().Vazio());
    EXPECT_EQ(s.Historia().count(), 0);
  }
  EXPECT_TRUE(perguntas.Pedidos.empty());
  // Cancelled: the source, or the dialog.
  dialogs->Files.push_back(std::nullopt);
  s.ImportarFaixas();
  const QString lista = Escrever("lista.txt", "Um\nDois\n");
  dialogs->Files.push_back(lista);
  perguntas.Respostas.push_back([](TPedidoFaixas&) { return false; });
  s.ImportarFaixas();
  EXPECT_TRUE(s.Documento().Vazio());
  // Too large a font: told, asked again with the choices kept.
  dialogs->Asked.clear();
  dialogs->Files.push_back(lista);
  perguntas.Respostas.push_back([](TPedidoFaixas& p) {
    p.Fonte.SetSize(400);
    p.Folha = folhaInterior;
    return true;
  });
  perguntas.Respostas.push_back([](TPedidoFaixas& p) {
    EXPECT_EQ(p.Folha, folhaInterior);
    p.Fonte.SetSize(12);
    return true;
  });
  s.ImportarFaixas();
  EXPECT_EQ(dialogs->Messages().size(), 1);
  EXPECT_EQ(s.Historia().count(), 1);
  ASSERT_EQ(s.Documento().Objectos(folhaInterior).size(), 1u);
  EXPECT_EQ(s.Documento().Objectos(folhaInterior)[0].Texto, "1. Um\r\n2. Dois");
  EXPECT_EQ(s.Documento().Objectos(folhaInterior)[0].Fonte.Tamanho, 12);
}
