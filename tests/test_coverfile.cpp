// SPDX-License-Identifier: GPL-3.0-or-later
// Cover files: the exact bytes written, what reading accepts and makes of
// each record, the failure messages, the recent-file list and the file
// commands of the editing session with their question about unsaved
// changes; and what the window shows of a cover it opens.
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "document/CoverRecord.h"
#include "document/FicheiroCapa.h"
#include "document/Limites.h"
#include "document/Registo.h"
#include "editor/PerguntasDialogos.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "support/JanelaLurn.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QMenu>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <csignal>
#include <deque>
#include <functional>
#include <limits>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// A record laid out by hand from the file format's table, independent of
// the program's own encoder.
struct Raw {
  QByteArray b = QByteArray(572, '\0');
  Raw& str(int off, const QByteArray& s) {
    b[off] = char(s.size());
    for (int i = 0; i < s.size(); ++i) b[off + 1 + i] = s[i];
    return *this;
  }
  Raw& i32(int off, quint32 v) {
    qToLittleEndian(v, b.data() + off);
    return *this;
  }
  Raw& kind(const char* k) { return str(0, k); }
  Raw& sheet(const char* s) { return str(11, s); }
  Raw& text(const QByteArray& t) { return str(22, t); }
  Raw& bounds(int l, int t, int h, int w) { return i32(284, l).i32(288, t).i32(292, h).i32(296, w); }
};

QByteArray Header() { return Raw().kind("Lurns CD").text("Quelto Sanir").b; }

// The file commands run against an editing session without any window;
// the tests of what the window shows of a cover open one (Janela()), whose
// session they then use.
class CoverFile : public ::testing::Test {
 protected:
  void SetUp() override {
    AbrirRegisto()->remove(QString());  // an empty settings section
    propria = std::make_unique<TSessao>(perguntas);
  }
  void TearDown() override {
    janela.reset();
    propria.reset();
  }
  TSessao& S() { return janela ? janela->Sessao() : *propria; }
  TfrmLurn& Janela() {
    if (!janela) janela = std::make_unique<TfrmLurn>(nullptr, false);
    return *janela;
  }
  QString Path(const QString& name) { return dir.filePath(name); }
  QByteArray Read(const QString& name) {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void Write(const QString& name, const QByteArray& bytes) {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  // A change of the session's document, as one step.
  void Doc(const std::function<void(TDocumento&)>& f) { S().Alterar(QStringLiteral("Preparar"), f); }
  // Objects put into the session's document: a text that keeps the bounds
  // given, a picture object that names a file (its picture is not needed
  // for writing).
  std::uint64_t Texto(int folha, const QString& caption, QRect r, int angle = 0) {
    TObjecto o = TObjecto::NovoTexto();
    o.Nome = S().Documento().NovoNome("Texto", folha);
    o.Texto = caption;
    o.Angulo = angle;
    o.TamanhoAutomatico = false;
    o.Left = r.x();
    o.Top = r.y();
    o.Width = r.width();
    o.Height = r.height();
    std::uint64_t id = 0;
    Doc([&](TDocumento& d) { id = d.Adicionar(folha, o); });
    return id;
  }
  std::uint64_t Imagem(int folha, const QString& file, QRect r) {
    TObjecto o = TObjecto::NovaImagem();
    o.Nome = S().Documento().NovoNome("Imagem", folha);
    o.Imagem.Ficheiro = file;
    o.Left = r.x();
    o.Top = r.y();
    o.Width = r.width();
    o.Height = r.height();
    std::uint64_t id = 0;
    Doc([&](TDocumento& d) { id = d.Adicionar(folha, o); });
    return id;
  }
  // A new empty cover, unsaved changes thrown away.
  void Limpar() {
    if (!S().Gravado()) dialogs->Confirms.push_back(TModalResult::No);
    S().Novo();
  }
  // A change that leaves the cover as it was written: a colour set and
  // set back as two steps.
  void Alterar() {
    const TColor c = S().Documento().Cor(folhaCD);
    Doc([&](TDocumento& d) { d.DefinirCor(folhaCD, c ^ 1); });
    Doc([&](TDocumento& d) { d.DefinirCor(folhaCD, c); });
  }
  QString PainelFicheiro() { return Peca<QLabel>(Janela(), "painelFicheiro")->text(); }
  // The "Ficheiros" menu about to open: its recent entries are those of
  // the list as the store holds it then.
  void AbrirMenuFicheiros() { emit Peca<QMenu>(Janela(), "menuFicheiros")->aboutToShow(); }
  QString Picture(const QString& name) {
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    EXPECT_TRUE(img.save(Path(name)));
    return Path(name);
  }
  QStringList Recent() {
    auto s = AbrirRegisto();
    QStringList out;
    for (int i = 1; i <= 5; ++i) out << s->value(QStringLiteral("Ficheiro%1").arg(i)).toString();
    return out;
  }
  void SetRecent(const QStringList& names) {
    auto s = AbrirRegisto();
    for (int i = 0; i < 5; ++i) s->setValue(QStringLiteral("Ficheiro%1").arg(i + 1), names.value(i));
  }

  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
  TPerguntasDialogos perguntas;
  std::unique_ptr<TSessao> propria;
  std::unique_ptr<TfrmLurn> janela;
};

QByteArray EmptyCover() {
  return Header() + Raw().kind("TShape").sheet("Frente").i32(564, 0xFFFFFF).b +
         Raw().kind("TProImage").sheet("FrenteP").bounds(0, 0, 455, 458).b +
         Raw().kind("TShape").sheet("Interior").i32(564, 0xFFFFFF).b +
         Raw().kind("TProImage").sheet("InteriorP").bounds(0, 0, 455, 458).b +
         Raw().kind("TShape").sheet("Tras").i32(564, 0xFFFFFF).b +
         Raw().kind("TProImage").sheet("TrasP").bounds(0, 0, 447, 572).b +
         Raw().kind("TProImage").sheet("TrasL").bounds(24, 0, 447, 524).b +
         Raw().kind("TShape").sheet("CD").i32(564, 0xFFFFFF).b;
}

TEST_F(CoverFile, EmptyCoverIsNineRecords) {
  ASSERT_TRUE(S().GravarFicheiro(Path("a.lrn")));
  const QByteArray bytes = Read("a.lrn");
  EXPECT_EQ(bytes.size(), 5148);
  EXPECT_EQ(bytes, EmptyCover());
  EXPECT_TRUE(S().Gravado());
  EXPECT_FALSE(S().ErroGravacao());
  EXPECT_EQ(Recent().first(), Path("a.lrn"));
}

TEST_F(CoverFile, WorkedExampleIsWrittenByteForByte) {
  Doc([&](TDocumento& d) { d.DefinirCor(folhaFrente, 0x00FFFF); });
  const std::uint64_t t = Texto(folhaFrente, "Lado A", QRect(40, 30, 62, 29));
  TFonteDoc f;
  f.Nome = "Arial";
  f.Charset = 0;
  f.Tamanho = 18;
  f.Cor = 0;
  f.Estilo = fsBold;
  Doc([&](TDocumento& d) { d.DefinirFonte(t, f); });
  Imagem(folhaCD, "C:\\Imagens\\disco.jpg", QRect(100, 100, 200, 200));

  ASSERT_TRUE(S().GravarFicheiro(Path("exemplo.lrn")));
  QByteArray expected = EmptyCover();
  expected.replace(572 + 564, 4, QByteArray("\xFF\xFF\x00\x00", 4));
  const QByteArray label = Raw()
                               .kind("TProLabel")
                               .sheet("Frente")
                               .text("Lado A")
                               .bounds(40, 30, 29, 62)
                               .str(300, "Arial")
                               .i32(560, 18)
                               .i32(564, 0)
                               .b;
  QByteArray withStyle = label;
  withStyle[568] = 0x01;
  expected.insert(3 * 572, withStyle);
  expected += Raw().kind("TProImage").sheet("CD").text("C:\\Imagens\\disco.jpg").bounds(100, 100, 200, 200).b;
  const QByteArray bytes = Read("exemplo.lrn");
  ASSERT_EQ(bytes.size(), 6292);
  for (int rec = 0; rec < 11; ++rec)
    EXPECT_EQ(bytes.mid(rec * 572, 572).toHex(' ').toStdString(), expected.mid(rec * 572, 572).toHex(' ').toStdString())
        << "record " << rec;
  EXPECT_EQ(bytes.mid(1716, 11).toHex(' '), "09 54 50 72 6f 4c 61 62 65 6c 00");
  EXPECT_EQ(bytes.mid(1716 + 284, 4).toHex(' '), "28 00 00 00");
}

TEST_F(CoverFile, ReadingBackNamesObjectsInFileOrderAndRestoresThem) {
  Janela();
  const QString pic = Picture("p.png");
  Doc([&](TDocumento& d) { d.DefinirCor(folhaInterior, 0x123456); });
  Texto(folhaTras, "um", QRect(1, 2, 30, 40), 90);
  Imagem(folhaTras, pic, QRect(5, 6, 70, 80));
  Texto(folhaTras, "três", QRect(9, 9, 50, 20));
  Doc([&](TDocumento& d) { d.DefinirFundo(fundoFrente, {pic, TPicture()}); });
  ASSERT_TRUE(S().GravarFicheiro(Path("b.lrn")));
  Limpar();

  S().AbrirFicheiro(Path("b.lrn"));
  EXPECT_TRUE(dialogs->Messages().isEmpty()) << dialogs->Messages().join('|').toStdString();
  const TOwnedComponents& o = PainelFolha(Janela(), folhaTras)->Owned;
  ASSERT_EQ(o.ComponentCount(), 3);
  EXPECT_EQ(o.Components(0)->objectName(), "Texto1");
  EXPECT_EQ(o.Components(1)->objectName(), "Imagem2");
  EXPECT_EQ(o.Components(2)->objectName(), "Texto3");
  auto* um = qobject_cast<TProLabel*>(o.Components(0));
  ASSERT_TRUE(um);
  EXPECT_EQ(um->Angle(), 90);
  EXPECT_EQ(um->geometry(), QRect(1, 2, 30, 40));
  auto* img = qobject_cast<TProImage*>(o.Components(1));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->geometry(), QRect(5, 6, 70, 80));
  EXPECT_EQ(img->Hint(), pic);
  EXPECT_FALSE(img->Picture().Empty());
  EXPECT_EQ(qobject_cast<TProLabel*>(o.Components(2))->Caption(), "três");
  EXPECT_EQ(Peca<TShape>(Janela(), "corInterior")->BrushColor(), 0x123456u);
  EXPECT_EQ(Peca<TProImage>(Janela(), "imgFrente")->Hint(), pic);
  EXPECT_FALSE(Peca<TProImage>(Janela(), "imgFrente")->Picture().Empty());
}

TEST_F(CoverFile, SaveFailures) {
  // A name without the ".lrn" extension writes nothing.
  Alterar();
  EXPECT_FALSE(S().GravarFicheiro(Path("a.txt")));
  EXPECT_FALSE(QFile::exists(Path("a.txt")));
  EXPECT_EQ(dialogs->Asked.last(), "message: Função ainda não implementada.");
  EXPECT_TRUE(S().ErroGravacao());
  EXPECT_FALSE(S().Gravado());
  // A file that cannot be created.
  EXPECT_FALSE(S().GravarFicheiro(Path("nao/existe/c.lrn")));
  EXPECT_EQ(dialogs->Asked.last(), "warning: Erro ao criar o ficheiro.");
  EXPECT_TRUE(Recent().first().isEmpty());
}

TEST_F(CoverFile, ReadFailuresAndAcceptance) {
  Write("zero.lrn", {});
  Write("lixo.lrn", QByteArray(572, 'x'));
  Write("tipo.lrn", Raw().kind("Lurns CD").text("outra coisa").b);
  Write("texto.lrn", Raw().kind("Outro").text("Quelto Sanir").b);
  struct {
    QString file;
    QString message;  // empty: accepted
  } cases[] = {{"zero.lrn", "Ficheiro inválido!"},
               {"lixo.lrn", "Ficheiro inválido!"},
               {"falta.lrn", "Erro ao abrir o ficheiro."},
               {"tipo.lrn", ""},
               {"texto.lrn", ""}};
  for (const auto& c : cases) {
    dialogs->Asked.clear();
    S().AbrirFicheiro(Path(c.file));
    EXPECT_EQ(dialogs->Messages().join('|'), c.message) << c.file.toStdString();
    EXPECT_EQ(Recent().contains(Path(c.file)), c.message.isEmpty()) << c.file.toStdString();
  }
}

TEST_F(CoverFile, RecordsAreAppliedByTheirCodes) {
  Janela();
  const QString pic = Picture("p.png");
  QByteArray longCaption(300, 'a');
  Write("c.lrn", Header() + Raw().kind("TProLabel").sheet("Fxyz").text("na frente").bounds(3, 4, 20, 50).b +
                     Raw().kind("TProLabel").sheet("Zzz").text("ignorado").b +
                     Raw().kind("TProImage").sheet("Fxyz").text(pic.toLocal8Bit()).b +
                     Raw().kind("TProImage").sheet("CD").text("").b +
                     Raw().kind("TProImage").sheet("CD").text("/nao/existe.png").b +
                     Raw().kind("TProImage").sheet("CDP").text(pic.toLocal8Bit()).b +
                     Raw().kind("Lurns CD").text("Quelto Sanir").b +
                     Raw().kind("TProImage").sheet("TrasL").text(pic.toLocal8Bit()).b.left(300));
  S().AbrirFicheiro(Path("c.lrn"));
  // The missing picture is named; a short last record is a read error, and
  // is not read.
  EXPECT_EQ(dialogs->Messages().size(), 2);
  EXPECT_TRUE(dialogs->Messages().value(0).startsWith(QString::fromUtf8("Imagem não encontrada.\n\n/nao/existe.png\n")))
      << dialogs->Messages().join('|').toStdString();
  EXPECT_EQ(dialogs->Messages().value(1), "Erro de leitura do ficheiro.");
  ASSERT_EQ(PainelFolha(Janela(), folhaFrente)->Owned.ComponentCount(), 1);
  EXPECT_EQ(qobject_cast<TProLabel*>(PainelFolha(Janela(), folhaFrente)->Owned.Components(0))->Caption(), "na frente");
  // The picture object whose file is missing stays, with its name.
  ASSERT_EQ(PainelFolha(Janela(), folhaCD)->Owned.ComponentCount(), 1);
  EXPECT_EQ(qobject_cast<TProImage*>(PainelFolha(Janela(), folhaCD)->Owned.Components(0))->Hint(), "/nao/existe.png");
  EXPECT_EQ(Peca<TDSShape>(Janela(), "centroCD")->FillStyle(), tfsImageStretch);
  EXPECT_EQ(Peca<TDSShape>(Janela(), "centroCD")->Hint(), pic);
  EXPECT_TRUE(Peca<TProImage>(Janela(), "imgTrasLombada")->Hint().isEmpty());
  EXPECT_TRUE(Peca<TShape>(Janela(), "Shape1")->isVisibleTo(PainelFolha(Janela(), folhaTras)));
}

// A caption longer than the field (only the clipboard lets one in) is cut
// to it, and the save says so, naming the text: never cut silently.
TEST_F(CoverFile, TextIsWindows1252AndCutToTheField) {
  Texto(folhaFrente, QString(300, QChar('b')), QRect(0, 0, 10, 10));
  Texto(folhaFrente, QString::fromUtf8("ção €"), QRect(0, 0, 10, 10));
  Texto(folhaTras, QString(255, QChar('c')), QRect(0, 0, 10, 10));
  ASSERT_TRUE(S().GravarFicheiro(Path("t.lrn")));
  const QByteArray bytes = Read("t.lrn");
  EXPECT_EQ(quint8(bytes[3 * 572 + 22]), 255);
  EXPECT_EQ(bytes.mid(4 * 572 + 22, 6), QByteArray("\x05\xE7\xE3o \x80", 6));
  ASSERT_EQ(dialogs->Messages().size(), 1);
  EXPECT_TRUE(dialogs->Messages()[0].contains("255"));
  EXPECT_TRUE(dialogs->Messages()[0].endsWith("\nTexto0 (Frente)")) << dialogs->Messages()[0].toStdString();
  S().Alterar("Encurtar", [&](TDocumento& d) { d.DefinirTexto(d.Objectos(folhaFrente)[0].Id, "b"); });
  dialogs->Asked.clear();
  ASSERT_TRUE(S().GravarFicheiro(Path("t.lrn")));
  EXPECT_TRUE(dialogs->Messages().isEmpty());
  // A character without a code is written as '?' and the user is told.
  Texto(folhaInterior, QString::fromUtf8("日"), QRect(0, 0, 10, 10));
  ASSERT_TRUE(S().GravarFicheiro(Path("t.lrn")));
  EXPECT_EQ(dialogs->Messages().size(), 1);
  EXPECT_EQ(DeWindows1252(ParaWindows1252(QString::fromUtf8("ÿ€Ž"))), QString::fromUtf8("ÿ€Ž"));
}

TEST_F(CoverFile, RecentListIsNewestFirstWithoutGapsOrRepeats) {
  struct {
    QStringList before;
    QString name;
    QStringList after;
  } cases[] = {
      {{"A", "B", "C", "D", "E"}, "C", {"C", "A", "B", "D", "E"}},
      {{"A", "B", "C", "D", "E"}, "B", {"B", "A", "C", "D", "E"}},
      {{"A", "B", "C", "D", "E"}, "E", {"E", "A", "B", "C", "D"}},
      {{"A", "B", "C", "D", "E"}, "X", {"X", "A", "B", "C", "D"}},
      {{"A", "B", "C", "D", "E"}, "A", {"A", "B", "C", "D", "E"}},
      {{"A", "B", "", "", ""}, "B", {"B", "A", "", "", ""}},
      // Nothing is pushed out before the list is full, and gaps or repeats
      // a store may hold go.
      {{"A", "", "", "", ""}, "X", {"X", "A", "", "", ""}},
      {{"", "A", "", "B", ""}, "X", {"X", "A", "B", "", ""}},
      {{"A", "B", "A", "", "B"}, "C", {"C", "A", "B", "", ""}},
      {{"A", "B", "C", "", "D"}, "X", {"X", "A", "B", "C", "D"}},
      {{"a.lrn", "", "", "", ""}, "A.lrn", {"A.lrn", "a.lrn", "", "", ""}},
  };
  for (const auto& c : cases) {
    SetRecent(c.before);
    // What a file read or written does to the list.
    auto st = AbrirRegisto();
    GravarRecentes(*st, ComRecente(LerRecentes(*st), c.name));
    st.reset();
    EXPECT_EQ(Recent(), c.after) << c.before.join(',').toStdString() << " + " << c.name.toStdString();
  }
  // The session lists what the store holds, in order, without gaps; so does
  // the window's menu.
  SetRecent({"", "A", "", "B", "A"});
  EXPECT_EQ(S().Recentes(), (QStringList{"A", "B"}));
  Janela().show();
  QAction* entries[] = {Accao(Janela(), "menuFicheirosFicheiro1"), Accao(Janela(), "menuFicheirosFicheiro2"), Accao(Janela(), "menuFicheirosFicheiro3"),
                        Accao(Janela(), "menuFicheirosFicheiro4"), Accao(Janela(), "menuFicheirosFicheiro5")};
  const bool shown[] = {true, true, false, false, false};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(entries[i]->isVisible(), shown[i]) << i;
  EXPECT_TRUE(Accao(Janela(), "separadorFicheiros")->isVisible());
  EXPECT_EQ(Accao(Janela(), "menuFicheirosFicheiro1")->text(), "A");
  EXPECT_EQ(Accao(Janela(), "menuFicheirosFicheiro2")->text(), "B");
}

TEST_F(CoverFile, NewAsksAboutUnsavedChanges) {
  dialogs->Files = {Path("old.lrn")};
  ASSERT_TRUE(S().GravarComo());
  Texto(folhaFrente, "x", QRect(0, 0, 5, 5));

  dialogs->Confirms = {TModalResult::Cancel};
  S().Novo();
  EXPECT_EQ(S().Documento().Objectos(folhaFrente).size(), 1u);
  EXPECT_EQ(S().NomeFicheiro(), Path("old.lrn"));
  EXPECT_FALSE(S().Gravado());

  dialogs->Confirms = {TModalResult::No};
  S().Novo();
  EXPECT_EQ(dialogs->Asked.last(), "confirm: Ficheiro alterado. Gravar?");
  EXPECT_TRUE(S().Documento().Objectos(folhaFrente).empty());
  EXPECT_TRUE(S().NomeFicheiro().isEmpty());
  EXPECT_TRUE(S().Gravado());
  EXPECT_FALSE(S().Historia().canUndo());  // a new cover has no history
  EXPECT_TRUE(S().PodeFechar());  // nothing more to ask
}

TEST_F(CoverFile, ClosingAsksAndCanSaveThroughTheDialog) {
  Alterar();
  // Yes, then the save dialog is cancelled: the window stays open.
  dialogs->Confirms = {TModalResult::Yes};
  dialogs->Files = {std::nullopt};
  EXPECT_FALSE(S().PodeFechar());
  // Yes, and a name typed without its extension: saved as .lrn, closes.
  dialogs->Confirms = {TModalResult::Yes};
  dialogs->Files = {Path("novo")};
  EXPECT_TRUE(S().PodeFechar());
  EXPECT_TRUE(QFile::exists(Path("novo.lrn")));
  EXPECT_EQ(dialogs->FileSpecs.back().Title, "Gravar Lurn");
  // Cancel keeps the window.
  Alterar();
  dialogs->Confirms = {TModalResult::Cancel};
  EXPECT_FALSE(S().PodeFechar());
}

TEST_F(CoverFile, SavingOverAnExistingCoverAsksAboutTheNameWithItsExtension) {
  // "capa" typed in the save dialog while capa.lrn exists: the question
  // is about capa.lrn, on every path that shows the dialog.
  ASSERT_TRUE(S().GravarFicheiro(Path("outra.lrn")));
  const QByteArray antigo = Read("outra.lrn");
  struct Caminho {
    const char* nome;
    bool pergunta;  // after "Ficheiro alterado. Gravar?" answered Yes
    std::function<void()> comando;
    std::deque<std::optional<QString>> depois;  // what the command asks for after a save
  } caminhos[] = {
      {"Gravar", false, [&] { S().Gravar(); }, {}},
      {"Gravar Como", false, [&] { S().GravarComo(); }, {}},
      {"Novo", true, [&] { S().Novo(); }, {}},
      {"Abrir", true, [&] { S().Abrir(); }, {std::nullopt}},
      {"Recente", true, [&] { S().AbrirRecente(S().Recentes().value(0)); }, {}},
      {"Fechar", true, [&] { S().PodeFechar(); }, {}},
  };
  const QString pergunta = QString::fromUtf8("overwrite: capa.lrn já existe.\nQuer substituí-lo?");
  for (const Caminho& c : caminhos) {
    SCOPED_TRACE(c.nome);
    auto preparar = [&] {
      Write("capa.lrn", antigo);
      Limpar();
      Texto(folhaFrente, QString::fromLatin1(c.nome), QRect(1, 2, 30, 10));
      SetRecent({Path("outra.lrn")});
      dialogs->Asked.clear();
    };
    // Answered No: nothing is written, and the dialog comes back (cancelled here).
    preparar();
    dialogs->Confirms.clear();
    if (c.pergunta) dialogs->Confirms.push_back(TModalResult::Yes);
    dialogs->Confirms.push_back(TModalResult::No);
    dialogs->Files = {Path("capa"), std::nullopt};
    c.comando();
    EXPECT_EQ(dialogs->Asked.count(pergunta), 1) << dialogs->Asked.join('|').toStdString();
    EXPECT_EQ(dialogs->Asked.count("save: Gravar Lurn"), 1);
    EXPECT_EQ(Read("capa.lrn"), antigo);
    EXPECT_TRUE(dialogs->Files.empty());
    EXPECT_TRUE(dialogs->Confirms.empty());
    EXPECT_FALSE(S().Gravado());
    // Answered Yes: the cover replaces capa.lrn.
    preparar();
    dialogs->Confirms.clear();
    if (c.pergunta) dialogs->Confirms.push_back(TModalResult::Yes);
    dialogs->Confirms.push_back(TModalResult::Yes);
    dialogs->Files = {Path("capa")};
    for (const auto& f : c.depois) dialogs->Files.push_back(f);
    c.comando();
    EXPECT_EQ(dialogs->Asked.count(pergunta), 1);
    const TLeituraCapa l = LerCapa(Path("capa.lrn"));
    ASSERT_EQ(l.Documento.Objectos(folhaFrente).size(), 1u);
    EXPECT_EQ(l.Documento.Objectos(folhaFrente)[0].Texto, c.nome);
    EXPECT_TRUE(dialogs->Files.empty());
    EXPECT_TRUE(dialogs->Confirms.empty());
  }
  // A name that exists nowhere is not asked about.
  dialogs->Asked.clear();
  dialogs->Files = {Path("nova")};
  S().GravarComo();
  EXPECT_EQ(dialogs->Asked, QStringList{"save: Gravar Lurn"});
  EXPECT_TRUE(QFile::exists(Path("nova.lrn")));
  const TFileDialogSpec& asked = dialogs->FileSpecs.back();
  EXPECT_TRUE(asked.OverwritePrompt);
  EXPECT_EQ(asked.DefaultExt, "*.lrn");
}

TEST_F(CoverFile, SaveOpenAndSaveAsKeepTheFileName) {
  dialogs->Files = {Path("um.lrn")};
  S().Gravar();
  EXPECT_EQ(S().NomeFicheiro(), Path("um.lrn"));
  S().Gravar();  // saves again without asking
  EXPECT_EQ(dialogs->FileSpecs.size(), 1u);

  dialogs->Files = {Path("dois.lrn")};
  S().GravarComo();
  EXPECT_EQ(S().NomeFicheiro(), Path("dois.lrn"));
  EXPECT_EQ(Recent().mid(0, 2), (QStringList{Path("dois.lrn"), Path("um.lrn")}));

  dialogs->Files = {Path("um.lrn")};
  S().Abrir();
  EXPECT_EQ(S().NomeFicheiro(), Path("um.lrn"));
  EXPECT_EQ(dialogs->FileSpecs.back().Title, "Abrir Lurn");
  EXPECT_EQ(Recent().first(), Path("um.lrn"));
}

TEST_F(CoverFile, OpenAnsweredNoThenCancelledKeepsTheChanges) {
  Texto(folhaFrente, "por gravar", QRect(0, 0, 5, 5));
  dialogs->Confirms = {TModalResult::No};
  dialogs->Files = {std::nullopt};
  S().Abrir();
  EXPECT_EQ(S().Documento().Objectos(folhaFrente).size(), 1u);
  EXPECT_TRUE(S().Historia().canUndo());
  EXPECT_FALSE(S().Gravado());
  dialogs->Confirms = {TModalResult::Cancel};
  EXPECT_FALSE(S().PodeFechar());  // still asks before closing
}

TEST_F(CoverFile, AFileThatCannotBeReadDoesNotBecomeTheCurrentFile) {
  Write("mau.lrn", QByteArray(572, 'z'));
  dialogs->Files = {Path("mau.lrn")};
  S().Abrir();
  EXPECT_EQ(dialogs->Messages(), QStringList{"Ficheiro inválido!"});
  EXPECT_TRUE(S().NomeFicheiro().isEmpty());
  EXPECT_TRUE(S().Gravado());
  // The next save asks for a name rather than overwriting the file.
  dialogs->Files = {std::nullopt};
  S().Gravar();
  EXPECT_EQ(dialogs->Asked.last(), "save: Gravar Lurn");
  EXPECT_EQ(Read("mau.lrn"), QByteArray(572, 'z'));

  // A recent file that no longer exists: empty document, still listed, no name.
  SetRecent({Path("sumiu.lrn")});
  dialogs->Asked.clear();
  S().AbrirRecente(S().Recentes().value(0));
  EXPECT_EQ(dialogs->Messages(), QStringList{"Erro ao abrir o ficheiro."});
  EXPECT_TRUE(S().NomeFicheiro().isEmpty());
  EXPECT_EQ(Recent().first(), Path("sumiu.lrn"));

  // A recent file that opens becomes the current one.
  ASSERT_TRUE(S().GravarFicheiro(Path("bom.lrn")));
  SetRecent({Path("x.lrn"), Path("bom.lrn")});
  S().AbrirRecente(S().Recentes().value(1));
  EXPECT_EQ(S().NomeFicheiro(), Path("bom.lrn"));
  EXPECT_EQ(Recent(), (QStringList{Path("bom.lrn"), Path("x.lrn"), "", "", ""}));
}

TEST_F(CoverFile, ARecentFileWhosePathHoldsAnAmpersandShowsAndOpensThatPath) {
  Janela();
  // A menu takes "&" for the mark of an access key.
  ASSERT_TRUE(QDir(dir.path()).mkpath("Tom & Jerry && Co"));
  const QString capa = Path("Tom & Jerry && Co/capa&1.lrn");
  Texto(folhaFrente, "com e comercial", QRect(0, 0, 5, 5));
  ASSERT_TRUE(S().GravarFicheiro(capa));
  S().Novo();
  SetRecent({Path("outra.lrn"), capa});
  AbrirMenuFicheiros();
  // Shown as it is (the text the menu draws), with no access key made of it.
  EXPECT_EQ(Accao(Janela(), "menuFicheirosFicheiro2")->iconText(), capa);
  EXPECT_TRUE(QKeySequence::mnemonic(Accao(Janela(), "menuFicheirosFicheiro2")->text()).isEmpty());
  dialogs->Asked.clear();
  Accao(Janela(), "menuFicheirosFicheiro2")->trigger();
  EXPECT_TRUE(dialogs->Messages().isEmpty()) << dialogs->Messages().join('|').toStdString();
  EXPECT_EQ(S().NomeFicheiro(), capa);
  EXPECT_EQ(PainelFicheiro(), capa);
  ASSERT_EQ(S().Documento().Objectos(folhaFrente).size(), 1u);
  EXPECT_EQ(S().Documento().Objectos(folhaFrente)[0].Texto, "com e comercial");
  EXPECT_EQ(Recent().first(), capa);
  EXPECT_EQ(Accao(Janela(), "menuFicheirosFicheiro1")->iconText(), capa);
}

TEST_F(CoverFile, CommandLineOpensWithoutNamingTheDocument) {
  Texto(folhaFrente, "capa", QRect(0, 0, 5, 5));
  ASSERT_TRUE(S().GravarFicheiro(Path("cmd.lrn")));
  for (const QStringList& args : {QStringList{Path("cmd.lrn")}, QStringList{Path("cmd.lrn"), "x"}}) {
    janela = std::make_unique<TfrmLurn>(nullptr, false, args);
    dialogs->Asked.clear();
    janela->show();
    // Exactly one argument opens that cover; more open nothing.
    EXPECT_EQ(Controlos(Janela(), folhaFrente), args.size() == 1 ? 1 : 0);
    EXPECT_TRUE(S().NomeFicheiro().isEmpty());
    EXPECT_TRUE(PainelFicheiro().isEmpty());
    EXPECT_TRUE(dialogs->Asked.isEmpty());
    janela.reset();
  }
}

TEST_F(CoverFile, AFailedWriteKeepsTheOldFile) {
  ASSERT_TRUE(S().GravarFicheiro(Path("keep.lrn")));
  const QByteArray before = Read("keep.lrn");
  Alterar();
  Texto(folhaFrente, "novo", QRect(0, 0, 5, 5));
  // A file size limit makes the disk "full" after 3000 bytes, for any user.
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 3000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = S().GravarFicheiro(Path("keep.lrn"));
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved);
  EXPECT_EQ(dialogs->Messages().last(), "Erro de escrita no ficheiro.");
  EXPECT_EQ(Read("keep.lrn"), before);
  EXPECT_FALSE(S().Gravado());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.lrn"});  // no temporary left
}

// For its lifetime the calling thread checks file permissions as any user
// is checked: the capabilities by which root passes over them are dropped
// from its effective set, and taken back afterwards.  (File operations of
// Qt run in the thread that calls them.)  For a user other than root it
// changes nothing.
class AsAnyUser {
 public:
  AsAnyUser() {
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct less[2] = {saved_[0], saved_[1]};
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
      less[cap / 32].effective &= ~(1u << (cap % 32));
    dropped_ = syscall(SYS_capset, &header_, less) == 0;
  }
  ~AsAnyUser() {
    if (dropped_) syscall(SYS_capset, &header_, saved_);
  }
  AsAnyUser(const AsAnyUser&) = delete;
  AsAnyUser& operator=(const AsAnyUser&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2] = {};
  bool dropped_ = false;
};

TEST_F(CoverFile, ACoverInAFolderTheUserMayNotWriteIsWrittenInPlace) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("fechada"));
  const QString capa = Path("fechada/capa.lrn");
  ASSERT_TRUE(S().GravarFicheiro(capa));
  ASSERT_EQ(Read("fechada/capa.lrn"), EmptyCover());
  const auto aberta = QFile::permissions(Path("fechada"));
  ASSERT_TRUE(QFile::setPermissions(Path("fechada"), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
  {
    AsAnyUser utilizador;
    // No file can be made in the folder (root included, for this thread),
    // while the cover itself may be written.
    QFile sonda(Path("fechada/sonda"));
    ASSERT_FALSE(sonda.open(QIODevice::WriteOnly)) << "the folder still takes new files";
    ASSERT_TRUE(QFileInfo(capa).isWritable());

    for (int i = 0; i < 3; ++i) Texto(folhaFrente, QStringLiteral("no lugar %1").arg(i), QRect(0, 0, 5, 5));
    Alterar();
    EXPECT_TRUE(S().GravarFicheiro(capa));
    EXPECT_TRUE(dialogs->Messages().isEmpty()) << dialogs->Messages().join('|').toStdString();
    EXPECT_TRUE(S().Gravado());
    EXPECT_EQ(Read("fechada/capa.lrn").size(), 5148 + 3 * 572);
    EXPECT_EQ(LerCapa(capa).Documento.Objectos(folhaFrente).size(), 3u);

    // A failed write puts the old cover back (a file size limit makes the
    // disk "full" after 5720 bytes; the old cover has 6864).
    Texto(folhaFrente, "mais um", QRect(0, 0, 5, 5));
    const QByteArray antes = Read("fechada/capa.lrn");
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 5148 + 4 * 572 - 1;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool gravou = S().GravarFicheiro(capa);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(gravou);
    EXPECT_EQ(dialogs->Messages().last(), "Erro de escrita no ficheiro.");
    EXPECT_EQ(Read("fechada/capa.lrn"), antes);

    // A shorter cover leaves nothing of the longer one behind.
    Limpar();
    EXPECT_TRUE(S().GravarFicheiro(capa));
    EXPECT_EQ(Read("fechada/capa.lrn"), EmptyCover());

    // A new cover still cannot be made there.
    dialogs->Asked.clear();
    EXPECT_FALSE(S().GravarFicheiro(Path("fechada/nova.lrn")));
    EXPECT_EQ(dialogs->Messages(), QStringList{"Erro ao criar o ficheiro."});
  }
  EXPECT_EQ(QDir(Path("fechada")).entryList(QDir::Files | QDir::Hidden), QStringList{"capa.lrn"});
  QFile::setPermissions(Path("fechada"), aberta);
}

TEST_F(CoverFile, PictureNamesARecordCannotHoldWholeAreReportedAfterTheSave) {
  // Folders deep enough for full picture names of 255 and 256 characters.
  const QString base = dir.path() + "/";
  const int falta = 255 - int(base.size()) - int(QString("/p.png").size());
  ASSERT_GT(falta, 20);
  const QString pasta255 = base + QString(falta / 2, 'a') + "/" + QString(falta - falta / 2 - 1, 'b');
  const QString pasta256 = base + QString(falta / 2, 'a') + "/" + QString(falta - falta / 2, 'c');
  ASSERT_TRUE(QDir().mkpath(pasta255));
  ASSERT_TRUE(QDir().mkpath(pasta256));
  auto picture = [&](const QString& path) {
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    EXPECT_TRUE(img.save(path, "PNG"));
    return path;
  };
  const QString cabe = picture(pasta255 + "/p.png");
  const QString longo = picture(pasta256 + "/p.png");
  const QString grego = picture(Path(QString::fromUtf8("λ.png")));
  ASSERT_EQ(cabe.size(), 255);
  ASSERT_EQ(longo.size(), 256);
  Imagem(folhaFrente, cabe, QRect(0, 0, 10, 10));
  Imagem(folhaFrente, longo, QRect(0, 0, 10, 10));
  Imagem(folhaCD, grego, QRect(0, 0, 10, 10));
  Doc([&](TDocumento& d) { d.DefinirFundo(fundoTras, {longo, TPicture()}); });
  Doc([&](TDocumento& d) { d.DefinirFundo(fundoTrasLombada, {longo, TPicture()}); });

  // The cover is written, and the user is told which pictures it loses.
  ASSERT_TRUE(S().GravarFicheiro(Path("nomes.lrn")));
  EXPECT_TRUE(S().Gravado());
  EXPECT_EQ(dialogs->Messages(),
            QStringList{QString::fromUtf8("Os nomes destes ficheiros de imagem não cabem inteiros num ficheiro Lurns "
                                          "(até 255 caracteres do conjunto Windows-1252) e foram gravados "
                                          "incompletos; estas imagens não serão encontradas ao abrir a capa:\n") +
                        longo + "\n" + grego});
  // The file layout is kept: the names are cut to their field.
  const QByteArray b = Read("nomes.lrn");
  ASSERT_EQ(b.size(), 5148 + 3 * 572);
  for (int registo : {4, 8, 9}) {  // the picture object, "TrasP" and "TrasL"
    EXPECT_EQ(quint8(b[registo * 572 + 22]), 255) << registo;
    EXPECT_EQ(b.mid(registo * 572 + 23, 255), longo.left(255).toLatin1()) << registo;
  }
  EXPECT_EQ(quint8(b[3 * 572 + 22]), 255);
  // And opening it again says so too.
  dialogs->Asked.clear();
  ASSERT_TRUE(S().AbrirFicheiro(Path("nomes.lrn")));
  // One message, naming each file once (the two back slots name the same).
  ASSERT_EQ(dialogs->Messages().size(), 1);
  EXPECT_TRUE(dialogs->Messages()[0].startsWith(QString::fromUtf8("Imagens não encontradas.\n\n")));
  EXPECT_EQ(dialogs->Messages()[0].count('\n'), 2 + 1 + 2) << dialogs->Messages()[0].toStdString();
  EXPECT_TRUE(dialogs->Messages()[0].contains(longo.left(255) + "\n"));
  // The pictures not found stay in the cover, under the names it holds.
  ASSERT_EQ(S().Documento().Objectos(folhaFrente).size(), 2u);
  EXPECT_EQ(S().Documento().Objectos(folhaFrente)[0].Imagem.Ficheiro, cabe);
  EXPECT_EQ(S().Documento().Objectos(folhaFrente)[1].Imagem.Ficheiro, longo.left(255));
}

// ---------------------------------------------------------------------------
// The document's reader and writer against what the program wrote before it
// had a document of its own (tests/data/capas/README.md).

QString Dados(const QString& name) { return QStringLiteral(LURNS_SOURCE_DIR "/tests/data/capas/") + name; }

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList Textos(const QList<TMensagem>& mensagens) {
  QStringList out;
  for (const TMensagem& m : mensagens) out << m.Texto;
  return out;
}

TEST_F(CoverFile, CoversAreReadAndWrittenBackAsBefore) {
  // Copied with their pictures, and written beside them: the picture names
  // are relative to the covers' folder and stay as they are there.
  const QDir dados(Dados(""));
  ASSERT_TRUE(QDir(dir.path()).mkdir("capas"));
  for (const QString& f : dados.entryList(QDir::Files))
    ASSERT_TRUE(QFile::copy(dados.filePath(f), Path("capas/" + f)));
  auto Dados = [&](const QString& name) { return Path("capas/" + name); };
  for (const char* nome : {"vazia", "exemplo-trabalhado", "textos", "imagens", "ferramenta", "ordem"}) {
    SCOPED_TRACE(nome);
    const QString entrada = Dados(QString::fromLatin1(nome) + ".lrn");
    const QByteArray gravado = Bytes(Dados(QString::fromLatin1(nome) + ".gravado.lrn"));
    // The messages one after the other (a message may take several lines);
    // "{pasta}" stands for the folder the cover is read from.
    const QString mensagens = QString::fromUtf8(Bytes(Dados(QString::fromLatin1(nome) + ".mensagens")))
                                  .trimmed()
                                  .replace(QStringLiteral("{pasta}"), Path("capas"));
    ASSERT_FALSE(gravado.isEmpty());

    // Through the document alone, as lurns-batch does.
    TLeituraCapa l = LerCapa(entrada);
    // "ordem" ends in a record cut short: all before it is read.
    EXPECT_EQ(l.Lido, QLatin1String(nome) != QLatin1String("ordem"));
    EXPECT_EQ(Textos(l.Mensagens).join('\n'), mensagens);
    ASSERT_EQ(GravarCapa(l.Documento, Dados("a.lrn")).Fim, TFimGravacao::Gravado);
    EXPECT_EQ(Read("capas/a.lrn"), gravado);

    // Through the window, as the program does.
    dialogs->Asked.clear();
    EXPECT_EQ(S().AbrirFicheiro(entrada), l.Lido);
    EXPECT_EQ(dialogs->Messages().join('\n'), mensagens);
    ASSERT_TRUE(S().GravarFicheiro(Dados("b.lrn")));
    EXPECT_EQ(Read("capas/b.lrn"), gravado);

    // What was written reads and writes back byte for byte.
    TLeituraCapa outra = LerCapa(Dados(QString::fromLatin1(nome) + ".gravado.lrn"));
    ASSERT_EQ(GravarCapa(outra.Documento, Dados("c.lrn")).Fim, TFimGravacao::Gravado);
    EXPECT_EQ(Read("capas/c.lrn"), gravado);
  }
}

TEST_F(CoverFile, TheExampleOpensFromAnyFolderAndWritesBackUnchangedBesideItsPictures) {
  Janela();
  // Its pictures are named relative to its own folder.  A copy of the
  // folder, opened from another working folder.
  const QDir exemplos(QStringLiteral(LURNS_SOURCE_DIR "/examples"));
  ASSERT_TRUE(QDir(dir.path()).mkdir("exemplo"));
  for (const QString& f : exemplos.entryList(QDir::Files))
    ASSERT_TRUE(QFile::copy(exemplos.filePath(f), Path("exemplo/" + f)));
  const QString exemplo = Path("exemplo/exemplo.lrn");
  const QString antes = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QDir::rootPath()));
  const bool lido = S().AbrirFicheiro(exemplo);
  QDir::setCurrent(antes);
  ASSERT_TRUE(lido);
  EXPECT_TRUE(dialogs->Messages().isEmpty()) << dialogs->Messages().join('|').toStdString();
  EXPECT_EQ(Peca<TProImage>(Janela(), "imgFrente")->Hint(), "frente.svg");
  EXPECT_FALSE(Peca<TProImage>(Janela(), "imgFrente")->Picture().Empty());
  EXPECT_FALSE(Peca<TProImage>(Janela(), "imgTras")->Picture().Empty());
  EXPECT_FALSE(Peca<TProImage>(Janela(), "imgTrasLombada")->Picture().Empty());
  EXPECT_FALSE(Peca<TDSShape>(Janela(), "centroCD")->Image().Empty());
  EXPECT_EQ(Peca<TDSShape>(Janela(), "centroCD")->FillStyle(), tfsImageStretch);
  const TOwnedComponents& o = PainelFolha(Janela(), folhaInterior)->Owned;
  auto* nota = qobject_cast<TProImage*>(o.Components(o.ComponentCount() - 1));
  ASSERT_TRUE(nota);
  EXPECT_EQ(nota->Hint(), "nota.svg");
  EXPECT_FALSE(nota->Picture().Empty());
  // Written beside its pictures, it is the same file.
  ASSERT_TRUE(S().GravarFicheiro(Path("exemplo/copia.lrn")));
  EXPECT_EQ(Read("exemplo/copia.lrn"), Bytes(exemplos.filePath("exemplo.lrn")));
}

TEST_F(CoverFile, SavedIntoAnotherFolderRelativePictureNamesStillNameTheirFiles) {
  // A cover in "capas" naming its pictures relative to its folder.
  ASSERT_TRUE(QDir(dir.path()).mkpath("capas/img"));
  Picture("capas/img/objecto.png");
  Picture("capas/fundo.png");
  Imagem(folhaCD, "img/objecto.png", QRect(1, 2, 30, 40));
  Doc([&](TDocumento& d) { d.DefinirFundo(fundoFrente, {"fundo.png", TPicture()}); });
  ASSERT_TRUE(S().GravarFicheiro(Path("capas/capa.lrn")));  // a new document's names are written as given
  const QByteArray original = Read("capas/capa.lrn");
  ASSERT_TRUE(S().AbrirFicheiro(Path("capas/capa.lrn")));
  ASSERT_TRUE(dialogs->Messages().isEmpty()) << dialogs->Messages().join('|').toStdString();

  struct {
    QString ficheiro;
    QString fundo, objecto;  // the names written
  } casos[] = {
      {"capas/copia.lrn", "fundo.png", "img/objecto.png"},
      {"outras/capa.lrn", "../capas/fundo.png", "../capas/img/objecto.png"},
      {"capas/img/mais/capa.lrn", "../../fundo.png", "../objecto.png"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.ficheiro.toStdString());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(Path(c.ficheiro)).path()));
    ASSERT_TRUE(S().GravarFicheiro(Path(c.ficheiro)));  // Gravar Como's save
    const TLeituraCapa l = LerCapa(Path(c.ficheiro));
    EXPECT_TRUE(l.Mensagens.isEmpty()) << l.Mensagens.value(0).Texto.toStdString();
    EXPECT_EQ(l.Documento.Fundo(fundoFrente).Ficheiro, c.fundo);
    EXPECT_FALSE(l.Documento.Fundo(fundoFrente).Imagem.Empty());
    ASSERT_EQ(l.Documento.Objectos(folhaCD).size(), 1u);
    EXPECT_EQ(l.Documento.Objectos(folhaCD)[0].Imagem.Ficheiro, c.objecto);
    EXPECT_FALSE(l.Documento.Objectos(folhaCD)[0].Imagem.Imagem.Empty());
  }
  // Saved into its own folder, the bytes are the same.
  EXPECT_EQ(Read("capas/copia.lrn"), original);
  // The session's document keeps the names it was read with.
  EXPECT_EQ(S().Documento().Fundo(fundoFrente).Ficheiro, "fundo.png");
  // Opened from where it was saved, it saves back unchanged there.
  const QByteArray outra = Read("outras/capa.lrn");
  ASSERT_TRUE(S().AbrirFicheiro(Path("outras/capa.lrn")));
  ASSERT_TRUE(S().GravarFicheiro(Path("outras/capa.lrn")));
  EXPECT_EQ(Read("outras/capa.lrn"), outra);
}

TEST(CoverFileNames, RelativePictureNamesAreWrittenForTheFolderOfTheFile) {
  TDocumento lido;
  lido.DefinirPastaImagens("/home/ana/capas");
  const TDocumento novo;  // no picture folder: its names are full ones
  // 100 folders down: the way back up alone takes 300 characters.
  const QString fundo = "/home/ana" + QString("/a").repeated(100);
  struct {
    const TDocumento* documento;
    QString nome, pasta, gravado;
  } casos[] = {
      {&lido, "img/p.png", "/home/ana/capas", "img/p.png"},
      {&lido, "img/p.png", "/home/ana/capas/", "img/p.png"},
      {&lido, "./img/../img/p.png", "/home/ana/capas", "./img/../img/p.png"},  // kept as it is
      {&lido, "img/p.png", "/home/ana/outras", "../capas/img/p.png"},
      {&lido, "img/p.png", "/home/ana/capas/sub", "../img/p.png"},
      {&lido, "../p.png", "/home/ana/outras", "../p.png"},
      {&lido, "img/p.png", "/media/pen", "/home/ana/capas/img/p.png"},  // nothing in common but the root
      {&lido, "img/p.png", fundo, "/home/ana/capas/img/p.png"},  // the relative name would not fit a record
      {&lido, "/srv/p.png", "/media/pen", "/srv/p.png"},
      {&lido, "", "/media/pen", ""},
      {&novo, "img/p.png", "/media/pen", "img/p.png"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE((c.nome + " -> " + c.pasta).toStdString());
    EXPECT_EQ(NomeImagemGravado(*c.documento, c.nome, c.pasta), c.gravado);
  }
  EXPECT_EQ(lido.CaminhoImagem("img/p.png"), "/home/ana/capas/img/p.png");
  EXPECT_EQ(novo.CaminhoImagem("img/p.png"), "img/p.png");
}

TEST_F(CoverFile, ExtremeValuesAreHeldToTheLimitsAndWrittenBackChecked) {
  Janela();
  const QString pic = Picture("p.png");
  const QByteArray nomeLongo = QByteArray(255, '\xE9');  // 255 "é": 510 bytes of UTF-8
  auto texto = [&](std::int32_t angle, std::int32_t l, std::int32_t t, std::int32_t h, std::int32_t w,
                   std::int32_t size, quint32 colour) {
    return Raw().kind("TProLabel").sheet("Tras").text("x").i32(280, quint32(angle)).bounds(l, t, h, w)
        .str(300, nomeLongo).i32(560, quint32(size)).i32(564, colour).b;
  };
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  QByteArray capa = Header() + Raw().kind("TShape").sheet("Frente").i32(564, 0x12345678).b;
  capa += texto(90, kMin, kMax, -5, 2000000000, kMin, 0x12345678);
  capa += texto(kMin, 40000, -40000, kMax, kMax, kMax, 0x80000008);
  capa += texto(-90, 1, 2, 3, 4, -1610612736, 0x00ABCDEF);  // -MulDiv(...) of this size overflowed
  capa += texto(450, 5, 6, 7, 8, 0, 0);
  QByteArray estilo = texto(270, 0, 0, 10, 10, 5000, 0);
  estilo[568] = char(0xFF);
  capa += estilo;
  capa += Raw().kind("TProImage").sheet("CD").text(pic.toLocal8Bit()).bounds(kMax, kMin, kMin, 2000000000).b;
  Write("extremos.lrn", capa);

  ASSERT_TRUE(S().AbrirFicheiro(Path("extremos.lrn")));
  EXPECT_TRUE(dialogs->Messages().isEmpty()) << dialogs->Messages().join('|').toStdString();
  const std::vector<TObjecto>& textos = S().Documento().Objectos(folhaTras);
  ASSERT_EQ(textos.size(), 5u);
  struct Esperado {
    int angle;
    QRect bounds;
    int size;
    TColor colour;
  } esperados[] = {
      {90, QRect(-MaxObjectCoordinate, MaxObjectCoordinate, MaxObjectExtent, 0), MinFontSize, 0x345678},
      {232, QRect(MaxObjectCoordinate, -MaxObjectCoordinate, MaxObjectExtent, MaxObjectExtent), MaxFontSize,
       0x80000008},
      {270, QRect(1, 2, 4, 3), MinFontSize, 0xABCDEF},
      {90, QRect(5, 6, 8, 7), MinFontSize, 0},
      {270, QRect(0, 0, 10, 10), MaxFontSize, 0},
  };
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const TObjecto& o = textos[size_t(i)];
    EXPECT_EQ(o.Angulo, esperados[i].angle);
    EXPECT_EQ(o.Limites(), esperados[i].bounds);
    EXPECT_EQ(o.Fonte.Tamanho, esperados[i].size);
    EXPECT_EQ(o.Fonte.Cor, esperados[i].colour);
    EXPECT_EQ(o.Fonte.Nome, QString(127, QChar(0xE9)));  // cut at a whole character within 255 bytes
    EXPECT_TRUE(VerificarObjecto(o).isEmpty()) << VerificarObjecto(o).toStdString();
    // The control shows what the document holds, not what Qt makes of it.
    EXPECT_EQ(Janela().Controlo(o.Id)->geometry(), o.Limites());
  }
  EXPECT_EQ(textos[4].Fonte.Estilo, 0x0F);
  ASSERT_EQ(S().Documento().Objectos(folhaCD).size(), 1u);
  EXPECT_EQ(S().Documento().Objectos(folhaCD)[0].Limites(),
            QRect(MaxObjectCoordinate, -MaxObjectCoordinate, MaxObjectExtent, 0));
  EXPECT_EQ(S().Documento().Cor(folhaFrente), 0x345678u);

  // Written back with the checked values.
  ASSERT_TRUE(S().GravarFicheiro(Path("limpo.lrn")));
  const QByteArray b = Read("limpo.lrn");
  auto campo = [&](int registo, int offset) { return qFromLittleEndian<std::int32_t>(b.constData() + registo * 572 + offset); };
  EXPECT_EQ(quint32(campo(1, 564)), 0x345678u);
  const int primeiro = 8;  // header, Frente 2, Interior 2, Tras colour and 2 pictures
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const int r = primeiro + i;
    EXPECT_EQ(b.mid(r * 572, 10), QByteArray("\x09TProLabel", 10));
    EXPECT_EQ(campo(r, 280), esperados[i].angle);
    EXPECT_EQ(campo(r, 284), esperados[i].bounds.x());
    EXPECT_EQ(campo(r, 288), esperados[i].bounds.y());
    EXPECT_EQ(campo(r, 292), esperados[i].bounds.height());
    EXPECT_EQ(campo(r, 296), esperados[i].bounds.width());
    EXPECT_EQ(campo(r, 560), esperados[i].size);
    EXPECT_EQ(quint32(campo(r, 564)), esperados[i].colour);
    EXPECT_EQ(quint8(b[r * 572 + 300]), 127);
  }
  const int disco = primeiro + 5 + 1;
  EXPECT_EQ(campo(disco, 284), MaxObjectCoordinate);
  EXPECT_EQ(campo(disco, 288), -MaxObjectCoordinate);
  EXPECT_EQ(campo(disco, 292), 0);
  EXPECT_EQ(campo(disco, 296), MaxObjectExtent);
  // And the checked cover is a fixed point.
  TLeituraCapa l = LerCapa(Path("limpo.lrn"));
  ASSERT_EQ(GravarCapa(l.Documento, Path("limpo2.lrn")).Fim, TFimGravacao::Gravado);
  EXPECT_EQ(Read("limpo2.lrn"), b);
}

// ---------------------------------------------------------------------------
// Nothing lost without a word

TEST_F(CoverFile, MissingPicturesStayInTheCoverAndAreWrittenBackUnchanged) {
  Janela();
  // The example cover alone in an empty folder: none of its pictures is there.
  const QString original = QStringLiteral(LURNS_SOURCE_DIR "/examples/exemplo.lrn");
  ASSERT_TRUE(QDir(dir.path()).mkdir("so"));
  ASSERT_TRUE(QFile::copy(original, Path("so/exemplo.lrn")));
  const QString capa = Path("so/exemplo.lrn");

  // Through the document alone: every reference kept, one message naming
  // each file not found once.
  const TLeituraCapa l = LerCapa(capa);
  EXPECT_TRUE(l.Lido);
  const QStringList faltam = {Path("so/frente.svg"), Path("so/tras.svg"), Path("so/nota.svg"), Path("so/disco.svg")};
  EXPECT_EQ(QSet<QString>(l.ImagensEmFalta.begin(), l.ImagensEmFalta.end()),
            QSet<QString>(faltam.begin(), faltam.end()));
  ASSERT_EQ(l.Mensagens.size(), 1);
  for (const QString& f : faltam) EXPECT_EQ(l.Mensagens[0].Texto.count(f), 1) << f.toStdString();
  EXPECT_TRUE(l.Mensagens[0].Texto.startsWith(QString::fromUtf8("Imagens não encontradas.")));
  int referencias = 0;
  for (TFundo f : {fundoFrente, fundoInterior, fundoTras, fundoTrasLombada, fundoCD})
    referencias += !l.Documento.Fundo(f).Ficheiro.isEmpty();
  for (int folha = folhaFrente; folha <= folhaCD; ++folha)
    for (const TObjecto& o : l.Documento.Objectos(folha)) referencias += o.EhImagem() && !o.Imagem.Ficheiro.isEmpty();
  EXPECT_EQ(referencias, 5);  // and the Interior's empty slot: six picture records
  EXPECT_EQ(l.Documento.PreenchimentoDisco(), tfsImageStretch);

  // Through the window: one box, placeholders with the file names.
  dialogs->Asked.clear();
  EXPECT_TRUE(S().AbrirFicheiro(capa));
  EXPECT_EQ(dialogs->Messages(), QStringList{l.Mensagens[0].Texto});
  EXPECT_EQ(Peca<TProImage>(Janela(), "imgFrente")->Placeholder(), "frente.svg");
  EXPECT_TRUE(Peca<TProImage>(Janela(), "imgFrente")->Picture().Empty());
  EXPECT_EQ(Peca<TProImage>(Janela(), "imgTras")->Placeholder(), "tras.svg");
  EXPECT_EQ(Peca<TDSShape>(Janela(), "centroCD")->FillStyle(), tfsImageStretch);
  EXPECT_EQ(Peca<TDSShape>(Janela(), "centroCD")->Placeholder(), "disco.svg");
  const TOwnedComponents& o = PainelFolha(Janela(), folhaInterior)->Owned;
  auto* nota = qobject_cast<TProImage*>(o.Components(o.ComponentCount() - 1));
  ASSERT_TRUE(nota);
  EXPECT_EQ(nota->Placeholder(), "nota.svg");
  EXPECT_TRUE(S().Gravado());

  // Saved where it was read, the file is the same; saved into another
  // folder, the relative names are rewritten to name the same files.
  ASSERT_TRUE(S().GravarFicheiro(capa));
  EXPECT_EQ(Read("so/exemplo.lrn"), Bytes(original));
  EXPECT_EQ(Read("so/exemplo.lrn").count(QByteArray("\x09TProImage")), 6);
  ASSERT_TRUE(QDir(dir.path()).mkdir("outra"));
  ASSERT_TRUE(S().GravarFicheiro(Path("outra/exemplo.lrn")));
  const TLeituraCapa copia = LerCapa(Path("outra/exemplo.lrn"));
  EXPECT_EQ(copia.Documento.Fundo(fundoFrente).Ficheiro, "../so/frente.svg");
  EXPECT_EQ(QSet<QString>(copia.ImagensEmFalta.begin(), copia.ImagensEmFalta.end()),
            QSet<QString>(faltam.begin(), faltam.end()));

  // Once the pictures are there, they are found again.
  for (const char* f : {"frente.svg", "tras.svg", "nota.svg", "disco.svg"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(LURNS_SOURCE_DIR "/examples/") + f, Path("so/") + f));
  const TLeituraCapa achada = LerCapa(capa);
  EXPECT_TRUE(achada.Mensagens.isEmpty());
  EXPECT_FALSE(achada.Documento.Fundo(fundoFrente).Imagem.Empty());
}

TEST_F(CoverFile, APictureThatCannotBeDecodedStaysTooAndIsReportedOnce) {
  Write("estragada.png", "isto não é uma imagem");
  Write("c.lrn", Header() + Raw().kind("TProImage").sheet("Frente").text("estragada.png").bounds(1, 2, 30, 40).b +
                     Raw().kind("TProImage").sheet("Tras").text("estragada.png").bounds(5, 6, 70, 80).b);
  const TLeituraCapa l = LerCapa(Path("c.lrn"));
  EXPECT_TRUE(l.Lido);
  EXPECT_EQ(l.Mensagens.size(), 1);
  ASSERT_EQ(l.Documento.Objectos(folhaFrente).size(), 1u);
  EXPECT_EQ(l.Documento.Objectos(folhaFrente)[0].Imagem.Ficheiro, "estragada.png");
  EXPECT_EQ(l.Documento.Objectos(folhaFrente)[0].Limites(), QRect(1, 2, 40, 30));
  ASSERT_EQ(l.Documento.Objectos(folhaTras).size(), 1u);
  ASSERT_EQ(GravarCapa(l.Documento, Path("d.lrn")).Fim, TFimGravacao::Gravado);
  EXPECT_EQ(Read("d.lrn").mid(572 * 3, 572), Read("c.lrn").mid(572, 572));
}

TEST_F(CoverFile, ACoverCutAnywhereButAtARecordsEndIsAReadError) {
  // A cover of a few texts (no pictures, so that every cut reads quickly).
  for (int i = 0; i < 4; ++i) Texto(folhaFrente, QStringLiteral("texto %1").arg(i), QRect(i, i, 30, 10), 90);
  ASSERT_TRUE(S().GravarFicheiro(Path("inteira.lrn")));
  const QByteArray inteira = Read("inteira.lrn");
  ASSERT_EQ(inteira.size() % 572, 0);
  for (int n = 1; n < inteira.size(); ++n) {
    Write("cortada.lrn", inteira.left(n));
    const TLeituraCapa l = LerCapa(Path("cortada.lrn"));
    if (n % 572 == 0) {
      EXPECT_TRUE(l.Lido) << n;
      continue;
    }
    ASSERT_FALSE(l.Lido) << n;
    ASSERT_FALSE(l.Mensagens.isEmpty()) << n;
    EXPECT_EQ(l.Mensagens.last().Texto, "Erro de leitura do ficheiro.") << n;
    // What was read is every whole record before the cut, and no more.
    const int inteiros = n / 572;
    const int textos = std::max(0, inteiros - 3);  // header, colour and picture of the front
    EXPECT_EQ(int(l.Documento.Objectos(folhaFrente).size()), std::min(4, textos)) << n;
  }
}

TEST_F(CoverFile, ADamagedCoverOpensWhatItCanAndIsNotWrittenOverWithoutAQuestion) {
  Texto(folhaFrente, "um", QRect(1, 1, 30, 10), 90);
  Texto(folhaFrente, "dois", QRect(2, 2, 30, 10), 90);
  ASSERT_TRUE(S().GravarFicheiro(Path("capa.lrn")));
  const QByteArray cortada = Read("capa.lrn").left(4 * 572 + 100);  // the second text cut
  Write("capa.lrn", cortada);
  SetRecent({Path("outra.lrn")});
  S().Novo();
  dialogs->Asked.clear();

  dialogs->Files = {Path("capa.lrn")};
  S().Abrir();
  EXPECT_EQ(dialogs->Messages(), QStringList{"Erro de leitura do ficheiro."});
  ASSERT_EQ(S().Documento().Objectos(folhaFrente).size(), 1u);  // what was read stays
  EXPECT_EQ(Recent().first(), Path("outra.lrn"));             // the list is unchanged
  EXPECT_TRUE(S().NomeFicheiro().isEmpty());
  EXPECT_FALSE(S().Gravado());  // what is shown is on no disc
  EXPECT_FALSE(S().Historia().canUndo());  // nor is reading it a step to take back

  // A plain Gravar offers the damaged file's name and asks before writing
  // over it: No keeps it as it is.
  dialogs->Asked.clear();
  dialogs->Files = {Path("capa.lrn"), std::nullopt};
  dialogs->Confirms = {TModalResult::No};
  S().Gravar();
  ASSERT_FALSE(dialogs->FileSpecs.empty());
  EXPECT_EQ(dialogs->FileSpecs.back().FileName, Path("capa.lrn"));
  EXPECT_EQ(dialogs->FileSpecs.back().InitialDir, dir.path());
  EXPECT_EQ(dialogs->Asked.count(QString::fromUtf8("overwrite: capa.lrn já existe.\nQuer substituí-lo?")), 1);
  EXPECT_EQ(Read("capa.lrn"), cortada);
  // Yes writes it.
  dialogs->Files = {Path("capa.lrn")};
  dialogs->Confirms = {TModalResult::Yes};
  S().Gravar();
  EXPECT_EQ(S().NomeFicheiro(), Path("capa.lrn"));
  EXPECT_TRUE(LerCapa(Path("capa.lrn")).Lido);
}

TEST_F(CoverFile, ANameBecomesTheCurrentFileOnlyWhenTheCoverWasWrittenUnderIt) {
  struct {
    const char* nome;
    bool gravado;
  } cases[] = {{"maiusculas.LRN", true}, {"misto.Lrn", true}, {"texto.txt", false}, {"sem", true}};
  QString actual;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nome);
    dialogs->Asked.clear();
    dialogs->Files = {Path(c.nome)};
    S().GravarComo();
    const QString escrito = WithDefaultExtension(Path(c.nome), "*.lrn");
    EXPECT_EQ(QFile::exists(escrito), c.gravado);
    if (c.gravado) actual = escrito;
    EXPECT_EQ(S().NomeFicheiro(), actual);
    EXPECT_EQ(dialogs->Messages().contains(QString::fromUtf8("Função ainda não implementada.")), !c.gravado);
  }
  // Ctrl+S writes the current file without a word.
  dialogs->Asked.clear();
  S().Gravar();
  EXPECT_TRUE(dialogs->Asked.isEmpty());
  // A plain Gravar of an unnamed cover under a name that cannot be written
  // leaves it unnamed.
  S().Novo();
  dialogs->Files = {Path("outro.doc")};
  S().Gravar();
  EXPECT_TRUE(S().NomeFicheiro().isEmpty());
  EXPECT_TRUE(NomeCapaValido("a/b.LRN"));
  EXPECT_FALSE(NomeCapaValido("a.lrn/b"));
}

TEST_F(CoverFile, ACoverFromTheCommandLineIsOfferedBackUnderItsNameBySave) {
  Texto(folhaFrente, "capa", QRect(0, 0, 5, 5), 90);
  ASSERT_TRUE(S().GravarFicheiro(Path("cmd.lrn")));
  const QByteArray antes = Read("cmd.lrn");
  Limpar();
  // As the window opens the cover named on the command line.
  ASSERT_TRUE(S().AbrirSemNome(Path("cmd.lrn")));
  ASSERT_EQ(S().Documento().Objectos(folhaFrente).size(), 1u);
  EXPECT_TRUE(S().NomeFicheiro().isEmpty());
  EXPECT_TRUE(S().Gravado());
  dialogs->Asked.clear();
  dialogs->Files = {Path("cmd.lrn")};
  dialogs->Confirms = {TModalResult::Yes};
  S().Gravar();
  ASSERT_EQ(dialogs->FileSpecs.size(), 1u);
  EXPECT_EQ(dialogs->FileSpecs[0].InitialDir, dir.path());
  EXPECT_EQ(dialogs->FileSpecs[0].FileName, Path("cmd.lrn"));
  EXPECT_EQ(dialogs->Asked.count(QString::fromUtf8("overwrite: cmd.lrn já existe.\nQuer substituí-lo?")), 1);
  EXPECT_EQ(S().NomeFicheiro(), Path("cmd.lrn"));
  EXPECT_EQ(Read("cmd.lrn"), antes);
}

TEST_F(CoverFile, ACoverHandedOverByAnotherCopyOpensAfterTheQuestion) {
  Texto(folhaFrente, "entregue", QRect(0, 0, 5, 5));
  ASSERT_TRUE(S().GravarFicheiro(Path("entregue.lrn")));
  S().Novo();
  dialogs->Files = {Path("actual.lrn")};
  ASSERT_TRUE(S().GravarComo());
  Texto(folhaInterior, "por gravar", QRect(0, 0, 5, 5));
  ASSERT_FALSE(S().Gravado());
  dialogs->Asked.clear();

  // Cancel: nothing opens.
  dialogs->Confirms = {TModalResult::Cancel};
  S().AbrirEntregue(Path("entregue.lrn"));
  EXPECT_EQ(dialogs->Asked, QStringList{"confirm: Ficheiro alterado. Gravar?"});
  EXPECT_EQ(S().Documento().Objectos(folhaInterior).size(), 1u);
  EXPECT_EQ(S().NomeFicheiro(), Path("actual.lrn"));
  // No: the cover opens as one named on the command line.
  dialogs->Confirms = {TModalResult::No};
  S().AbrirEntregue(Path("entregue.lrn"));
  ASSERT_EQ(S().Documento().Objectos(folhaFrente).size(), 1u);
  EXPECT_EQ(S().Documento().Objectos(folhaFrente)[0].Texto, "entregue");
  EXPECT_TRUE(S().Documento().Objectos(folhaInterior).empty());
  EXPECT_TRUE(S().NomeFicheiro().isEmpty());
  EXPECT_TRUE(S().Gravado());
  EXPECT_EQ(S().FicheiroOrigem(), Path("entregue.lrn"));
  // With nothing unsaved, no question.
  dialogs->Asked.clear();
  S().AbrirEntregue(Path("entregue.lrn"));
  EXPECT_TRUE(dialogs->Asked.isEmpty());
}

}  // namespace
