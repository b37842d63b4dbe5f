// SPDX-License-Identifier: GPL-3.0-or-later
// The object editing commands of the main window, driven as the menu and
// tool bar drive them, with the dialogs answered by the scripted layer.
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "document/MedidaTexto.h"
#include "editor/GuiaCD.h"
#include "editor/uDefParametros.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "support/JanelaLurn.h"
#include "support/ModalDialogs.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableWidget>
#include <QImage>
#include <QMenu>
#include <QToolButton>
#include <QTabWidget>
#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include "document/FicheiroCapa.h"
#include <gtest/gtest.h>

namespace {

class Editing : public ::testing::Test {
 protected:
  void SetUp() override {
    w = std::make_unique<TfrmLurn>();
    w->show();
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(dir.filePath("azul.png")));
    picture = dir.filePath("azul.png");
  }
  void TearDown() override { w.reset(); }
  // The cover written to a file: the session counts it as saved.
  void Gravar() { ASSERT_TRUE(w->Sessao().GravarFicheiro(dir.filePath("gravada.lrn"))); }
  void Sheet(int folha) { Peca<QTabWidget>(*w, "pageFolhas")->setCurrentIndex(folha - 1); }
  TProLabel* InsertText(std::optional<TFont> font = std::nullopt) {
    dialogs->Fonts.push_back(font);
    Escolher(*w, "menuObjectosInserirtexto");
    TPanel* p = PainelFolha(*w, w->Sessao().Folha());
    return qobject_cast<TProLabel*>(p->Owned.Components(p->Owned.ComponentCount() - 1));
  }
  TProImage* InsertPicture(const QString& file) {
    dialogs->Files.push_back(file);
    Escolher(*w, "menuObjectosInseririmagem");
    TPanel* p = PainelFolha(*w, w->Sessao().Folha());
    return qobject_cast<TProImage*>(p->Owned.Components(p->Owned.ComponentCount() - 1));
  }
  // The document object a control shows.
  const TObjecto* Doc(QWidget* c) { return w->Sessao().Documento().Objecto(IdDe(c)); }
  // Bounds given to an object through the document; its control follows.
  void Place(QWidget* o, QRect r) {
    w->Sessao().Alterar("Preparar", [&](TDocumento& d) { d.DefinirLimites(IdDe(o), r); });
  }
  // The object selected in the session: the handle takes its control.
  void Select(QWidget* o) { w->Sessao().Seleccionar(IdDe(o)); }
  // A click as the window gets it from the system (the mouse goes to
  // whoever holds it).
  void Click(QWidget* c, QPoint p = QPoint(3, 3)) {
    const QPoint at = c->mapTo(w.get(), p);
    QTest::mouseMove(w->windowHandle(), at);
    QTest::mousePress(w->windowHandle(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(w->windowHandle(), Qt::LeftButton, {}, at);
  }

  QTemporaryDir dir;
  QString picture;
  ScriptedDialogsGuard dialogs;
  std::unique_ptr<TfrmLurn> w;
};

TEST_F(Editing, InsertTextNamesAndCaptionsByTheOwnedCount) {
  TFont arial;
  arial.Name = "Arial";
  arial.SetSize(18);
  arial.Color = clRed;
  TProLabel* t1 = InsertText(arial);
  ASSERT_TRUE(t1);
  EXPECT_EQ(t1->objectName(), "Texto1");
  EXPECT_EQ(t1->Caption(), "Texto 1");
  EXPECT_EQ(t1->Font().Name, "Arial");
  // The command made the object in the document; the label shows it.
  ASSERT_TRUE(Doc(t1));
  EXPECT_EQ(Doc(t1)->Nome, "Texto1");
  EXPECT_EQ(Doc(t1)->Texto, "Texto 1");
  EXPECT_EQ(Doc(t1)->Fonte.Tamanho, 18);
  EXPECT_EQ(Doc(t1)->Limites(), t1->geometry());
  EXPECT_EQ(t1->size(), TamanhoAutomatico("Texto 1", Doc(t1)->Fonte));
  EXPECT_EQ(t1->pos(), QPoint(0, 0));
  EXPECT_TRUE(t1->AutoSize());
  EXPECT_TRUE(t1->Transparent());
  EXPECT_FALSE(w->Sessao().Gravado());
  EXPECT_FALSE(Pega(*w)->IsAttached());  // not selected
  // The dialog offers the last font chosen in it.
  TProLabel* t2 = InsertText();  // cancelled: the panel's font
  EXPECT_EQ(dialogs->FontsShown.back().Name, "Arial");
  EXPECT_EQ(t2->Font().Name, "MS Sans Serif");
  EXPECT_EQ(t2->Font().Color, clWindowText);
  InsertPicture(picture);
  TProLabel* t4 = InsertText();
  EXPECT_EQ(t4->Caption(), "Texto 4");
  EXPECT_EQ(t4->objectName(), "Texto4");
  // With Texto1 deleted, the next one tries Texto4, then takes Texto5.
  Select(t1);
  const std::uint64_t apagado = IdDe(t1);
  Escolher(*w, "menuEditarApagar");
  EXPECT_EQ(w->Sessao().Documento().Objecto(apagado), nullptr);
  EXPECT_EQ(InsertText()->objectName(), "Texto5");
}

TEST_F(Editing, InsertPicture) {
  Sheet(folhaCD);
  TProImage* i = InsertPicture(picture);
  ASSERT_TRUE(i);
  EXPECT_EQ(i->objectName(), "Imagem1");
  EXPECT_EQ(i->geometry(), QRect(1, 1, 100, 100));
  EXPECT_EQ(i->Hint(), picture);
  EXPECT_TRUE(i->Stretch());
  EXPECT_FALSE(i->Picture().Empty());
  EXPECT_EQ(dialogs->Asked.last(), "picture: Adicionar Imagem");
  // Cancelled: nothing created, and nothing changed.
  Gravar();
  dialogs->Files.push_back(std::nullopt);
  Escolher(*w, "menuObjectosInseririmagem");
  EXPECT_EQ(PainelFolha(*w, folhaCD)->Owned.ComponentCount(), 1);
  EXPECT_TRUE(w->Sessao().Gravado());
  // A file that is not a picture: the loader's message, and no empty object left behind.
  QFile bad(dir.filePath("mau.jpg"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("not a jpeg");
  bad.close();
  dialogs->Asked.clear();
  dialogs->Files.push_back(bad.fileName());
  Escolher(*w, "menuObjectosInseririmagem");
  EXPECT_EQ(dialogs->Messages().size(), 1);
  EXPECT_EQ(PainelFolha(*w, folhaCD)->Owned.ComponentCount(), 1);
}

TEST_F(Editing, RotationTurnsAboutTheTopLeftCorner) {
  TProLabel* t = InsertText();
  // A level text sizes itself: only its place is given.
  Place(t, QRect(30, 40, 120, 20));
  const QSize s = t->size();
  ASSERT_EQ(t->pos(), QPoint(30, 40));
  Select(t);
  Escolher(*w, "menuObjectosRodar90Esquerda");
  EXPECT_EQ(t->Angle(), 90);
  EXPECT_EQ(t->geometry(), QRect(30, 40, s.height(), s.width()));
  EXPECT_EQ(Doc(t)->Angulo, 90);
  EXPECT_EQ(Doc(t)->Limites(), QRect(30, 40, s.height(), s.width()));
  EXPECT_FALSE(t->AutoSize());
  EXPECT_EQ(Seleccionado(*w), t);
  for (int expected : {180, 270, 0}) {
    Escolher(*w, "menuObjectosRodar90Esquerda");
    EXPECT_EQ(t->Angle(), expected);
  }
  EXPECT_EQ(t->geometry(), QRect(QPoint(30, 40), s));
  const int right[] = {270, 180, 90, 0};
  for (int expected : right) {
    Escolher(*w, "menuObjectosRodar90Direita");
    EXPECT_EQ(t->Angle(), expected);
  }
  // A picture does not turn.
  TProImage* i = InsertPicture(picture);
  Select(i);
  Gravar();
  Escolher(*w, "menuObjectosRodar90Esquerda");
  EXPECT_EQ(i->geometry(), QRect(1, 1, 100, 100));
  EXPECT_TRUE(w->Sessao().Gravado());
}

// The CD sheet shows the hole of the disc paper as a guide over its
// objects that takes no click: on plain paper the 15 mm spindle hole and
// the 41 mm hub, on a label sheet its hole and outer circle.
TEST_F(Editing, TheCdSheetShowsThePapersHoleAsAGuide) {
  Sheet(folhaCD);
  TProImage* i = InsertPicture(picture);
  Place(i, QRect(150, 150, 143, 143));
  TGuiaCD* guia = Peca<TGuiaCD>(*w, "guiaCD");
  ASSERT_NE(guia, nullptr);
  EXPECT_EQ(guia->Circulos(), (QList<double>{15.0, 41.0}));
  EXPECT_TRUE(guia->testAttribute(Qt::WA_TransparentForMouseEvents));
  auto ring = [&](double mm) {
    // The guide's colour on its circle, right of the disc's centre, over
    // the blue picture.
    const QImage shot = PainelFolha(*w, folhaCD)->grab().toImage();
    const int x = int(221.5 + mm / 25.4 * 96 / 2);
    int found = 0;
    for (int dx = -1; dx <= 1; ++dx)
      for (int y = 200; y < 243; ++y) {
        const QColor c = shot.pixelColor(x + dx, y);
        if (c.red() < 60 && c.green() > 60 && c.blue() > 150) ++found;
      }
    return found;
  };
  EXPECT_GT(ring(15), 0);
  EXPECT_GT(ring(41), 0);
  TPapelDisco avery;
  avery.Tipo = TPapelDisco::Etiqueta;
  avery.Referencia = QStringLiteral("L7676");
  Parametros().PapelCD = avery;
  guia->update();
  EXPECT_EQ(guia->Circulos(), (QList<double>{17.6, 117.0}));
  EXPECT_GT(ring(17.6), 0);
  EXPECT_EQ(ring(41), 0);
  Parametros().PapelCD = TPapelDisco();
  // A press on the hole selects the picture under the guide.
  Click(i, QPoint(71, 71));
  EXPECT_EQ(Seleccionado(*w), i);
}

// "Centrar" on the CD sheet centres on the disc's centre (its 443-pixel
// circle starts at the sheet's corner), not on the middle of a 458-pixel
// sheet.
TEST_F(Editing, AlignmentUsesTheSheetsReferenceWidth) {
  struct {
    int folha;
    int width;
    int esquerda, centro, direita;
  } cases[] = {{folhaFrente, 100, 1, 179, 357},  {folhaInterior, 100, 1, 179, 357},
               {folhaCD, 100, 1, 171, 357},      {folhaTras, 100, 1, 236, 471},
               {folhaFrente, 559, 1, -50, -102}};
  for (const auto& c : cases) {
    Sheet(c.folha);
    TProImage* i = InsertPicture(picture);
    Place(i, QRect(10, 20, c.width, 30));
    Select(i);
    Escolher(*w, "menuEditarCentrar");
    EXPECT_EQ(i->x(), c.centro) << c.folha;
    EXPECT_EQ(Doc(i)->Left, c.centro) << c.folha;
    Escolher(*w, "menuEditarAlinharDireita");
    EXPECT_EQ(i->x(), c.direita) << c.folha;
    Escolher(*w, "menuEditarAlinharEsquerda");
    EXPECT_EQ(i->x(), c.esquerda) << c.folha;
    EXPECT_EQ(i->y(), 20);
    EXPECT_EQ(Seleccionado(*w), i);
  }
}

TEST_F(Editing, EditTextFontAndPicture) {
  TProLabel* t = InsertText();
  Select(t);
  dialogs->Inputs = {QString("Lado B"), std::nullopt};
  Escolher(*w, "menuObjectosEditartextoseleccionado");
  EXPECT_EQ(t->Caption(), "Lado B");
  EXPECT_EQ(Doc(t)->Texto, "Lado B");
  EXPECT_EQ(Doc(t)->Limites(), t->geometry());
  EXPECT_EQ(dialogs->Asked.last(), "input: Introdução/Introduza o texto");
  Escolher(*w, "opcaoEditarAlterarimagem");  // cancelled: unchanged
  EXPECT_EQ(t->Caption(), "Lado B");
  EXPECT_EQ(Seleccionado(*w), t);

  TFont f;
  f.Name = "Arial";
  f.Style = fsBold | fsItalic;
  f.Color = 0x00FFFF;
  f.Charset = 0;
  dialogs->Fonts = {f};
  w->Sessao().Alterar("Preparar", [&](TDocumento& d) { d.DefinirFonte(IdDe(t), TFonteDoc()); });
  Escolher(*w, "menuObjectosAlterarfonteecor");
  EXPECT_EQ(dialogs->FontsShown.back().Name, "MS Sans Serif");  // the object's font was offered
  EXPECT_EQ(t->Font(), f);

  TProImage* i = InsertPicture(picture);
  Select(i);
  QImage red(5, 5, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(dir.filePath("red.bmp")));
  dialogs->Files = {dir.filePath("red.bmp")};
  Escolher(*w, "menuObjectosAlterarimagem");
  EXPECT_EQ(i->Hint(), dir.filePath("red.bmp"));
  EXPECT_EQ(i->Picture().Width(), 5);
  EXPECT_EQ(Doc(i)->Imagem.Ficheiro, dir.filePath("red.bmp"));
  EXPECT_EQ(Seleccionado(*w), i);
  // The font command on a picture asks nothing and keeps it selected.
  dialogs->Asked.clear();
  Escolher(*w, "menuObjectosAlterarfonteecor");
  EXPECT_TRUE(dialogs->Asked.isEmpty());
  EXPECT_EQ(Seleccionado(*w), i);
}

TEST_F(Editing, CommandsNeedingASelectionDoNothingWithout) {
  // Their entries are off; the session's commands, reached anyway, do nothing.
  for (const char* a : {"menuObjectosEditartextoseleccionado", "menuEditarCentrar", "menuObjectosRodar90Esquerda",
                        "menuEditarApagar", "menuEditarCortar", "menuEditarCopiar", "menuObjectosAlterarfonteecor"})
    EXPECT_FALSE(Accao(*w, a)->isEnabled()) << a;
  TSessao& s = w->Sessao();
  for (auto cmd : {&TSessao::EditarTexto, &TSessao::Apagar, &TSessao::Cortar, &TSessao::Copiar, &TSessao::AlterarFonte,
                   &TSessao::EditarObjecto, &TSessao::AlterarImagem})
    (s.*cmd)();
  s.Alinhar(TAlinhamento::Centro);
  s.Rodar(true);
  s.Deslocar(1, 1);
  EXPECT_TRUE(s.Gravado());
  EXPECT_FALSE(s.Historia().canUndo());
  EXPECT_FALSE(s.PodeColar());
  EXPECT_TRUE(dialogs->Asked.isEmpty());
}

TEST_F(Editing, BackgroundPictureColourAndClearing) {
  // Front: stretched over the sheet.
  dialogs->Files = {picture};
  Escolher(*w, "menuObjectosImagemdefundo");
  EXPECT_EQ(Peca<TProImage>(*w, "imgFrente")->Hint(), picture);
  EXPECT_EQ(Peca<TProImage>(*w, "imgFrente")->geometry(), QRect(0, 0, 458, 455));
  // Back without spines: both pictures hold it, the one between the spines shows.
  Sheet(folhaTras);
  Peca<QCheckBox>(*w, "checkLombada")->setChecked(false);
  dialogs->Files = {picture};
  Escolher(*w, "menuObjectosImagemdefundo");
  EXPECT_EQ(Peca<TProImage>(*w, "imgTras")->Hint(), picture);
  EXPECT_EQ(Peca<TProImage>(*w, "imgTrasLombada")->Hint(), picture);
  EXPECT_EQ(Peca<TProImage>(*w, "imgTrasLombada")->geometry(), QRect(24, 0, 524, 447));
  EXPECT_FALSE(Peca<TProImage>(*w, "imgTras")->isVisibleTo(PainelFolha(*w, folhaTras)));
  EXPECT_TRUE(Peca<TProImage>(*w, "imgTrasLombada")->isVisibleTo(PainelFolha(*w, folhaTras)));
  EXPECT_TRUE(Peca<TShape>(*w, "Shape1")->isVisibleTo(PainelFolha(*w, folhaTras)));
  Escolher(*w, "manuObjectosLimparImagemFundo");
  EXPECT_TRUE(Peca<TProImage>(*w, "imgTras")->Hint().isEmpty());
  EXPECT_TRUE(Peca<TProImage>(*w, "imgTrasLombada")->Picture().Empty());
  // Disc: a picture, then a colour drops it.
  Sheet(folhaCD);
  dialogs->Files = {picture};
  Escolher(*w, "menuObjectosImagemdefundo");
  EXPECT_EQ(Peca<TDSShape>(*w, "centroCD")->FillStyle(), tfsImageStretch);
  EXPECT_EQ(Peca<TDSShape>(*w, "centroCD")->Hint(), picture);
  dialogs->Colours = {TColor(0x00FFFF)};
  Escolher(*w, "menuObjectosCordefundo");
  EXPECT_EQ(Peca<TDSShape>(*w, "centroCD")->FillStyle(), tfsSolid);
  EXPECT_EQ(Peca<TDSShape>(*w, "centroCD")->FillColor(), 0x00FFFFu);
  EXPECT_TRUE(Peca<TDSShape>(*w, "centroCD")->Image().Empty());
  // Colour of the back sheet, and the backgrounds go behind the objects.
  Sheet(folhaTras);
  TProLabel* t = InsertText();
  dialogs->Colours = {TColor(0x0000FF)};
  Escolher(*w, "menuObjectosCordefundo");
  EXPECT_EQ(Peca<TShape>(*w, "corTras")->BrushColor(), 0x0000FFu);
  EXPECT_EQ(w->Sessao().Documento().Cor(folhaTras), 0x0000FFu);
  EXPECT_EQ(PainelFolha(*w, folhaTras)->children().indexOf(Peca<TShape>(*w, "corTras")), 0);
  EXPECT_GT(PainelFolha(*w, folhaTras)->children().indexOf(t), PainelFolha(*w, folhaTras)->children().indexOf(Peca<TProImage>(*w, "imgTras")));
}

TEST_F(Editing, BackSpineBoxChoosesTheBackPictureShownAndChangesNoDocument) {
  Peca<QCheckBox>(*w, "checkLombada")->setChecked(false);
  // No cover file keeps it: nothing to save.
  EXPECT_TRUE(w->Sessao().Gravado());
  EXPECT_TRUE(Peca<TShape>(*w, "lampadaVerde")->isVisibleTo(w.get()));
  EXPECT_TRUE(Peca<TShape>(*w, "Shape1")->isVisibleTo(PainelFolha(*w, folhaTras)));
  EXPECT_TRUE(Peca<TShape>(*w, "Shape2")->isVisibleTo(PainelFolha(*w, folhaTras)));
  EXPECT_TRUE(Peca<TProImage>(*w, "imgTrasLombada")->isVisibleTo(PainelFolha(*w, folhaTras)));
  EXPECT_FALSE(Peca<TProImage>(*w, "imgTras")->isVisibleTo(PainelFolha(*w, folhaTras)));
}

// ---------------------------------------------------------------------------
// The document counts as changed when, and only when, something in it changed

TEST_F(Editing, OnlyARealChangeMarksTheDocumentChanged) {
  TProLabel* t = InsertText();
  TProImage* i = InsertPicture(picture);
  Place(t, QRect(1, 50, t->width(), t->height()));
  Place(i, QRect(1, 100, 100, 100));
  struct {
    const char* nome;
    std::function<void()> comando;
    bool altera;
  } cases[] = {
      {"clique num texto", [&] { Click(t); }, false},
      {"clique numa imagem", [&] { Click(i); }, false},
      {"texto cancelado", [&] {
         Select(t);
         dialogs->Inputs = {std::nullopt};
         Escolher(*w, "menuObjectosEditartextoseleccionado");
       }, false},
      {"mesmo texto", [&] {
         Select(t);
         dialogs->Inputs = {t->Caption()};
         Escolher(*w, "menuObjectosEditartextoseleccionado");
       }, false},
      {"fonte cancelada", [&] {
         Select(t);
         dialogs->Fonts = {std::nullopt};
         Escolher(*w, "menuObjectosAlterarfonteecor");
       }, false},
      {"imagem cancelada", [&] {
         Select(i);
         dialogs->Files = {std::nullopt};
         Escolher(*w, "menuObjectosAlterarimagem");
       }, false},
      {"já alinhado", [&] {
         Select(i);
         Escolher(*w, "menuEditarAlinharEsquerda");
       }, false},
      {"cor cancelada", [&] {
         dialogs->Colours = {std::nullopt};
         Escolher(*w, "menuObjectosCordefundo");
       }, false},
      {"fundo cancelado", [&] {
         dialogs->Files = {std::nullopt};
         Escolher(*w, "menuObjectosImagemdefundo");
       }, false},
      {"limpar fundo vazio", [&] { Escolher(*w, "manuObjectosLimparImagemFundo"); }, false},
      {"inserir imagem cancelado", [&] {
         dialogs->Files = {std::nullopt};
         Escolher(*w, "menuObjectosInseririmagem");
       }, false},
      {"centrar", [&] {
         Select(i);
         Escolher(*w, "menuEditarCentrar");
       }, true},
      {"novo texto", [&] {
         Select(t);
         dialogs->Inputs = {QString("outro")};
         Escolher(*w, "menuObjectosEditartextoseleccionado");
       }, true},
      {"rodar", [&] {
         Select(t);
         Escolher(*w, "menuObjectosRodar90Esquerda");
       }, true},
      {"cor", [&] {
         dialogs->Colours = {TColor(0x0000FF)};
         Escolher(*w, "menuObjectosCordefundo");
       }, true},
      {"apagar", [&] {
         Select(i);
         Escolher(*w, "menuEditarApagar");
       }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nome);
    Gravar();
    dialogs->Asked.clear();
    c.comando();
    EXPECT_EQ(w->Sessao().Gravado(), !c.altera);
    EXPECT_EQ(Peca<TShape>(*w, "lampadaVermelha")->isVisibleTo(w.get()), c.altera);
    Pega(*w)->Detach();
  }
  // After a mere click, Novo asks nothing.
  TProLabel* outro = InsertText();
  Gravar();
  Click(outro);
  EXPECT_EQ(Seleccionado(*w), outro);
  dialogs->Asked.clear();
  Escolher(*w, "menuFicheiroNovo");
  EXPECT_TRUE(dialogs->Asked.isEmpty()) << dialogs->Asked.join('|').toStdString();
}

TEST_F(Editing, TheFoldLinesShowWhateverHappenedBefore) {
  // From the start, in every new window, after a back picture or none.
  EXPECT_TRUE(Peca<TShape>(*w, "Shape1")->isVisibleTo(PainelFolha(*w, folhaTras)));
  EXPECT_TRUE(Peca<TShape>(*w, "Shape2")->isVisibleTo(PainelFolha(*w, folhaTras)));
  Sheet(folhaTras);
  dialogs->Files = {picture};
  Escolher(*w, "menuObjectosImagemdefundo");
  Escolher(*w, "manuObjectosLimparImagemFundo");
  Gravar();
  w.reset();
  w = std::make_unique<TfrmLurn>();
  w->show();
  EXPECT_TRUE(Peca<TShape>(*w, "Shape1")->isVisibleTo(PainelFolha(*w, folhaTras)));
  EXPECT_TRUE(Peca<TShape>(*w, "Shape2")->isVisibleTo(PainelFolha(*w, folhaTras)));
}

TEST_F(Editing, TheFrameAfterAResizeIsTheObjectsRealBox) {
  TFont arial;
  arial.Name = "Arial";
  arial.SetSize(20);
  TProLabel* nivelado = InsertText(arial);
  TProLabel* rodado = InsertText(arial);
  Place(nivelado, QRect(40, 40, nivelado->width(), nivelado->height()));
  Select(rodado);
  Escolher(*w, "menuObjectosRodar90Esquerda");
  Place(rodado, QRect(300, 40, rodado->width(), rodado->height()));
  Escolher(*w, "opcaoAlinharAgrelha");  // no grid
  QWindow* janela = w->windowHandle();
  TStretchHandle* h = Pega(*w);
  auto esticar = [&](TProLabel* t) {
    Select(t);
    const QPoint canto = h->mapTo(w.get(), QPoint(h->width() - 2, h->height() - 2));
    QTest::mouseMove(janela, canto);
    QTest::mousePress(janela, Qt::LeftButton, {}, canto);
    QTest::mouseMove(janela, canto + QPoint(10, 15));
    QTest::mouseMove(janela, canto + QPoint(21, 35));
    QTest::mouseRelease(janela, Qt::LeftButton, {}, canto + QPoint(21, 35));
  };
  for (TProLabel* t : {nivelado, rodado}) {
    SCOPED_TRACE(t == nivelado ? "nivelado" : "rodado");
    const QRect antes = t->geometry();
    esticar(t);
    const QRect caixa = Doc(t)->Limites();
    // The control, the document and the frame agree.
    EXPECT_EQ(t->geometry(), caixa);
    EXPECT_EQ(h->geometry(), caixa.adjusted(-2, -2, 3, 3));
    if (t == nivelado) {
      // A level text has the size of its text, as every reading gives it.
      EXPECT_EQ(caixa, antes);
      EXPECT_EQ(caixa.size(), TamanhoAutomatico(Doc(t)->Texto, Doc(t)->Fonte));
    } else {
      // A turned text takes the size it was given, and keeps it in its file.
      EXPECT_GT(caixa.width(), antes.width());
      EXPECT_GT(caixa.height(), antes.height());
      ASSERT_TRUE(w->Sessao().GravarFicheiro(dir.filePath("esticado.lrn")));
      const TLeituraCapa l = LerCapa(dir.filePath("esticado.lrn"));
      ASSERT_EQ(l.Documento.Objectos(folhaFrente).size(), 2u);
      EXPECT_EQ(l.Documento.Objectos(folhaFrente)[1].Limites(), caixa);
    }
  }
}

TEST_F(Editing, AnEmptyTextIsRefusedAndAskedForAgain) {
  TProLabel* t = InsertText();
  Select(t);
  const QString antes = t->Caption();
  // Empty, then blanks, then cancelled: the caption stays.
  dialogs->Inputs = {QString(), QString("   "), std::nullopt};
  Escolher(*w, "menuObjectosEditartextoseleccionado");
  EXPECT_EQ(dialogs->Asked.count("input: Introdução/Introduza o texto"), 3);
  EXPECT_EQ(dialogs->Messages().count(QString::fromUtf8("O texto não pode ficar vazio.")), 2);
  EXPECT_EQ(Doc(t)->Texto, antes);
  // Empty, then a real text: that one is taken.
  dialogs->Asked.clear();
  dialogs->Inputs = {QString(), QString("Lado A")};
  Escolher(*w, "opcaoEditarAlterarimagem");
  EXPECT_EQ(Doc(t)->Texto, "Lado A");
  EXPECT_EQ(t->Caption(), "Lado A");
  EXPECT_GT(t->width(), 5);
}

TEST_F(Editing, TheDeleteKeyDeletesTheSelectedObject) {
  TProLabel* t = InsertText();
  TProImage* i = InsertPicture(picture);
  Place(i, QRect(200, 200, 100, 100));
  for (QWidget* c : {static_cast<QWidget*>(t), static_cast<QWidget*>(i)}) {
    const std::uint64_t id = IdDe(c);
    Click(c);
    ASSERT_EQ(Seleccionado(*w), c);
    QTest::keyClick(Pega(*w), Qt::Key_Delete);
    EXPECT_EQ(w->Sessao().Documento().Objecto(id), nullptr);
    EXPECT_FALSE(Pega(*w)->IsAttached());
  }
  // Ctrl+Del stays, and the menu shows it.
  TProLabel* outro = InsertText();
  const std::uint64_t id = IdDe(outro);
  Click(outro);
  QTest::keyClick(Pega(*w), Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(w->Sessao().Documento().Objecto(id), nullptr);
  EXPECT_EQ(Accao(*w, "menuEditarApagar")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
}

TEST_F(Editing, AModalDialogGetsTheMouseAfterAClickOrDuringADrag) {
  TProLabel* t = InsertText();
  // A click on an object that was not selected, then a dialog (as Ctrl+P
  // or Ctrl+X would open one): nothing of the window keeps the mouse.
  Click(t);
  ASSERT_EQ(Seleccionado(*w), t);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  // A press that begins a drag takes the mouse; a modal dialog opening
  // takes it back.
  Pega(*w)->Detach();
  const QPoint at = t->mapTo(w.get(), QPoint(3, 3));
  QTest::mousePress(w->windowHandle(), Qt::LeftButton, {}, at);
  QTest::mouseMove(w->windowHandle(), at + QPoint(9, 9));
  ASSERT_NE(QWidget::mouseGrabber(), nullptr);
  ASSERT_TRUE(Pega(*w)->Dragging());
  QWidget* durante = reinterpret_cast<QWidget*>(1);
  QDialog dlg(w.get());
  QTimer::singleShot(0, &dlg, [&] {
    durante = QWidget::mouseGrabber();
    dlg.reject();
  });
  dlg.exec();
  EXPECT_EQ(durante, nullptr);
  // The drag was given up, the object left where it was.
  EXPECT_FALSE(Pega(*w)->Dragging());
  EXPECT_EQ(Doc(t)->Limites(), t->geometry());
  QTest::mouseRelease(w->windowHandle(), Qt::LeftButton, {}, at);
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------
// Undo, redo and cut in the window

TEST_F(Editing, TheUndoAndRedoEntriesNameTheirStepAndFollowTheHistory) {
  QAction* desfazer = Accao(*w, "menuEditarDesfazer");
  QAction* refazer = Accao(*w, "menuEditarRefazer");
  QToolButton* botaoDesfazer = Peca<QToolButton>(*w, "botaoDesfazer");
  QToolButton* botaoRefazer = Peca<QToolButton>(*w, "botaoRefazer");
  auto estado = [&] {
    return QStringList{desfazer->text(), desfazer->isEnabled() ? "on" : "off", refazer->text(),
                       refazer->isEnabled() ? "on" : "off", botaoDesfazer->isEnabled() ? "on" : "off",
                       botaoRefazer->isEnabled() ? "on" : "off"};
  };
  EXPECT_EQ(estado(), (QStringList{"Des&fazer", "off", "Refa&zer", "off", "off", "off"}));
  EXPECT_EQ(desfazer->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(refazer->shortcuts(),
            (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
  EXPECT_FALSE(botaoDesfazer->icon().isNull());
  EXPECT_FALSE(botaoRefazer->icon().isNull());

  TProLabel* t = InsertText();
  EXPECT_EQ(estado(), (QStringList{"Des&fazer Inserir texto", "on", "Refa&zer", "off", "on", "off"}));
  EXPECT_EQ(botaoDesfazer->toolTip(), "Desfazer Inserir texto");
  Select(t);
  Escolher(*w, "menuEditarCentrar");
  EXPECT_EQ(desfazer->text(), "Des&fazer Centrar");
  Escolher(*w, "menuEditarApagar");
  EXPECT_EQ(estado(), (QStringList{"Des&fazer Apagar", "on", "Refa&zer", "off", "on", "off"}));
  Escolher(*w, "menuEditarDesfazer");
  EXPECT_EQ(estado(), (QStringList{"Des&fazer Centrar", "on", "Refa&zer Apagar", "on", "on", "on"}));
  // The text is back, shown by a control of its own.
  ASSERT_EQ(Controlos(*w, folhaFrente), 1);
  botaoDesfazer->click();
  botaoDesfazer->click();
  EXPECT_EQ(estado(), (QStringList{"Des&fazer", "off", "Refa&zer Inserir texto", "on", "off", "on"}));
  EXPECT_EQ(Controlos(*w, folhaFrente), 0);
  EXPECT_TRUE(Peca<TShape>(*w, "lampadaVerde")->isVisible());  // back to the saved state
  botaoRefazer->click();
  EXPECT_EQ(Controlos(*w, folhaFrente), 1);
  EXPECT_TRUE(Peca<TShape>(*w, "lampadaVermelha")->isVisible());

  // The keys, pressed on the window as a person presses them.
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  QWindow* janela = w->windowHandle();
  QTest::keyClick(janela, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Controlos(*w, folhaFrente), 0);
  QTest::keyClick(janela, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Controlos(*w, folhaFrente), 1);
  QTest::keyClick(janela, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(janela, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Controlos(*w, folhaFrente), 1);
  EXPECT_EQ(desfazer->text(), "Des&fazer Inserir texto");
  // Novo begins an empty history.
  dialogs->Confirms = {TModalResult::No};
  Escolher(*w, "menuFicheiroNovo");
  EXPECT_EQ(estado(), (QStringList{"Des&fazer", "off", "Refa&zer", "off", "off", "off"}));
}

TEST_F(Editing, CutIsInTheEditMenuOnShiftDelAndInTheObjectsPopupMenu) {
  QAction* cortar = Accao(*w, "menuEditarCortar");
  EXPECT_EQ(cortar->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
  EXPECT_EQ(Accao(*w, "menuFicheiroSair")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));  // stays "Sair"
  EXPECT_TRUE(Peca<QMenu>(*w, "menuEditar")->actions().contains(cortar));
  QAction* popup = Accao(*w, "opcaoCortar");
  EXPECT_TRUE(Peca<QMenu>(*w, "popUpMenuHandles")->actions().contains(popup));

  TProLabel* t = InsertText();
  TProImage* i = InsertPicture(picture);
  Place(i, QRect(200, 200, 100, 100));
  // Shift+Del on the selected object.
  const std::uint64_t id = IdDe(t);
  Click(t);
  ASSERT_EQ(Seleccionado(*w), t);
  QTest::keyClick(Pega(*w), Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(w->Sessao().Documento().Objecto(id), nullptr);
  EXPECT_FALSE(Pega(*w)->IsAttached());
  EXPECT_EQ(Accao(*w, "menuEditarDesfazer")->text(), "Des&fazer Cortar");
  EXPECT_TRUE(Accao(*w, "menuEditarColar")->isEnabled());
  // The pop-up menu's entry.
  Click(i);
  popup->trigger();
  EXPECT_EQ(Controlos(*w, folhaFrente), 0);
  // Undone, each comes back; pasted, the picture last cut.
  Escolher(*w, "menuEditarDesfazer");
  Escolher(*w, "menuEditarDesfazer");
  EXPECT_EQ(Controlos(*w, folhaFrente), 2);
  Escolher(*w, "menuEditarColar");
  ASSERT_EQ(Controlos(*w, folhaFrente), 3);
  EXPECT_TRUE(qobject_cast<TProImage*>(PainelFolha(*w, folhaFrente)->Owned.Components(2)));
}

TEST_F(Editing, ArrowNudgesOfOneObjectAndADragAreOneStepEach) {
  TProImage* i = InsertPicture(picture);
  Place(i, QRect(100, 100, 100, 100));
  const int passos = w->Sessao().Historia().count();
  Click(i);
  TStretchHandle* h = Pega(*w);
  for (int k = 0; k < 4; ++k) QTest::keyClick(h, Qt::Key_Right);
  QTest::keyClick(h, Qt::Key_Down);
  EXPECT_EQ(w->Sessao().Documento().Objecto(IdDe(i))->Limites(), QRect(104, 101, 100, 100));
  EXPECT_EQ(i->geometry(), QRect(104, 101, 100, 100));
  EXPECT_EQ(w->Sessao().Historia().count(), passos + 1);
  EXPECT_EQ(Accao(*w, "menuEditarDesfazer")->text(), "Des&fazer Mover");
  Escolher(*w, "menuEditarDesfazer");
  EXPECT_EQ(i->geometry(), QRect(100, 100, 100, 100));
  // The handle holds the object where it now is.
  EXPECT_EQ(Seleccionado(*w), i);
  EXPECT_EQ(h->geometry(), i->geometry().adjusted(-2, -2, 3, 3));

  // A drag with the mouse, however many moves, is one step.
  Escolher(*w, "opcaoAlinharAgrelha");  // no grid
  QWindow* janela = w->windowHandle();
  const QPoint p0 = i->mapTo(w.get(), QPoint(50, 50));
  QTest::mouseMove(janela, p0);
  QTest::mousePress(janela, Qt::LeftButton, {}, p0);
  for (int k = 1; k <= 6; ++k) QTest::mouseMove(janela, p0 + QPoint(3 * k, 2 * k));
  QTest::mouseRelease(janela, Qt::LeftButton, {}, p0 + QPoint(18, 12));
  EXPECT_EQ(w->Sessao().Historia().count(), passos + 1);  // the nudges' step was undone and is gone
  EXPECT_EQ(Accao(*w, "menuEditarDesfazer")->text(), "Des&fazer Mover");
  const QRect movido = w->Sessao().Documento().Objecto(IdDe(i))->Limites();
  EXPECT_NE(movido, QRect(100, 100, 100, 100));
  EXPECT_EQ(i->geometry(), movido);
  Escolher(*w, "menuEditarDesfazer");
  EXPECT_EQ(i->geometry(), QRect(100, 100, 100, 100));
}

}  // namespace

// ---------------------------------------------------------------------------
// Texts of several lines, pastes over the original, track lists.

TEST_F(Editing, ATextOfSeveralLinesShowsItsLinesAndATooLongOneIsRefused) {
  TProLabel* t = InsertText();
  Select(t);
  const int umaLinha = t->height();
  dialogs->Inputs = {QString("Lado A\r\nLado B\r\nLado C")};
  Escolher(*w, "menuObjectosEditartextoseleccionado");
  EXPECT_EQ(t->Caption(), "Lado A\r\nLado B\r\nLado C");
  EXPECT_GE(t->height(), umaLinha * 5 / 2);
  dialogs->Inputs = {QString(300, QChar('x')), std::nullopt};
  Escolher(*w, "menuObjectosEditartextoseleccionado");
  EXPECT_EQ(t->Caption(), "Lado A\r\nLado B\r\nLado C");
  ASSERT_EQ(dialogs->Messages().size(), 1);
  EXPECT_TRUE(dialogs->Messages()[0].contains("255"));
}

TEST_F(Editing, APasteOverItsOriginalGoesAGridStepEvenWithTheGridOff) {
  TProLabel* t = InsertText();
  Place(t, QRect(40, 40, t->width(), t->height()));
  Select(t);
  Escolher(*w, "menuEditarCopiar");
  Escolher(*w, "menuEditarColar");
  auto* copia = qobject_cast<TProLabel*>(Seleccionado(*w));
  ASSERT_TRUE(copia);
  EXPECT_NE(copia, t);
  EXPECT_EQ(copia->pos(), QPoint(48, 48));
  // Snapping off: the handle moves by single pixels, a paste still by 8.
  w->Sessao().Seleccionar(0);
  Accao(*w, "opcaoAlinharAgrelha")->trigger();
  ASSERT_FALSE(Accao(*w, "opcaoAlinharAgrelha")->isChecked());
  Escolher(*w, "menuEditarColar");
  EXPECT_EQ(Seleccionado(*w)->pos(), QPoint(56, 56));
  Accao(*w, "opcaoAlinharAgrelha")->trigger();
}

// "Importar faixas…" in "Objectos": the source chosen, the list shown in
// its dialog (a title edited, the sheet chosen), and placed as texts of
// several lines: one step, undone whole.
TEST_F(Editing, ImportTracksShowsTheListAndPlacesItAsOneStep) {
  QFile lista(dir.filePath("faixas.txt"));
  ASSERT_TRUE(lista.open(QIODevice::WriteOnly));
  lista.write("1. Primeira 3:45\n2. Segunda 4:02\n3. Terceira\n");
  lista.close();
  QAction* importar = Accao(*w, "menuObjectosImportarfaixas");
  ASSERT_TRUE(importar->isEnabled());
  EXPECT_EQ(importar->text(), QString::fromUtf8("Importar &faixas…"));
  dialogs->Files.push_back(lista.fileName());
  ExpectDialog dlg("the track list", ObjectNameIs("dlgImportarFaixas"), [](QWidget* d) {
    auto* tabela = d->findChild<QTableWidget*>("tabelaFaixas");
    ASSERT_NE(tabela, nullptr);
    ASSERT_EQ(tabela->rowCount(), 3);
    EXPECT_EQ(tabela->item(0, 1)->text(), QString::fromUtf8("1. Primeira — 3:45"));
    tabela->item(2, 0)->setText(QString::fromUtf8("Última"));
    EXPECT_EQ(tabela->item(2, 1)->text(), QString::fromUtf8("3. Última"));
    auto* folha = d->findChild<QComboBox*>("folhaFaixas");
    ASSERT_NE(folha, nullptr);
    EXPECT_EQ(folha->currentText(), QString::fromUtf8("Trás"));
    folha->setCurrentIndex(folha->findText("Interior"));
    EXPECT_FALSE(d->findChild<QCheckBox*>("albumFrente")->isEnabled());  // no album known
    d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  importar->trigger();
  EXPECT_TRUE(dlg.Answered());
  ASSERT_EQ(Controlos(*w, folhaInterior), 1);
  auto* texto = qobject_cast<TProLabel*>(PainelFolha(*w, folhaInterior)->Owned.Components(0));
  ASSERT_TRUE(texto);
  EXPECT_EQ(texto->Caption(), QString::fromUtf8("1. Primeira — 3:45\r\n2. Segunda — 4:02\r\n3. Última"));
  EXPECT_EQ(Accao(*w, "menuEditarDesfazer")->text(), "Des&fazer Importar faixas");
  Escolher(*w, "menuEditarDesfazer");
  EXPECT_EQ(Controlos(*w, folhaInterior), 0);
}
