// The object editing commands of the main window, driven as the menu and
// tool bar drive them, with the dialogs answered by the scripted layer.
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "document/MedidaTexto.h"
#include "editor/GuiaCD.h"
#include "editor/uDefParametros.h"
#include "editor/uLurn.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QMenu>
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
  void TearDown() override {
    w->ficheiroGravado = true;
    w.reset();
  }
  void Sheet(int folha) { w->pageFolhas->setCurrentIndex(folha - 1); }
  TProLabel* InsertText(std::optional<TFont> font = std::nullopt) {
    dialogs->Fonts.push_back(font);
    w->menuObjectosInserirtextoClick();
    TPanel* p = w->Painel(w->FolhaActual());
    return qobject_cast<TProLabel*>(p->Owned.Components(p->Owned.ComponentCount() - 1));
  }
  TProImage* InsertPicture(const QString& file) {
    dialogs->Files.push_back(file);
    w->menuObjectosInseririmagemClick();
    TPanel* p = w->Painel(w->FolhaActual());
    return qobject_cast<TProImage*>(p->Owned.Components(p->Owned.ComponentCount() - 1));
  }
  // The document object a control shows.
  const TObjecto* Doc(QWidget* c) { return w->Documento().Objecto(w->IdObjecto(c)); }
  // Bounds given to an object through the document; its control follows.
  void Place(QWidget* o, QRect r) { w->Documento().DefinirLimites(w->IdObjecto(o), r); }
  void Select(QWidget* o) {
    w->StretchHandle1->Detach();
    w->StretchHandle1->Attach(o);
  }
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
  EXPECT_FALSE(w->ficheiroGravado);
  EXPECT_FALSE(w->StretchHandle1->IsAttached());  // not selected
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
  const std::uint64_t apagado = w->IdObjecto(t1);
  w->menuEditarApagarClick();
  EXPECT_EQ(w->Documento().Objecto(apagado), nullptr);
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
  w->ficheiroGravado = true;
  dialogs->Files.push_back(std::nullopt);
  w->menuObjectosInseririmagemClick();
  EXPECT_EQ(w->painelCD->Owned.ComponentCount(), 1);
  EXPECT_TRUE(w->ficheiroGravado);
  // A file that is not a picture: the loader's message, and no empty object left behind.
  QFile bad(dir.filePath("mau.jpg"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("not a jpeg");
  bad.close();
  dialogs->Asked.clear();
  dialogs->Files.push_back(bad.fileName());
  w->menuObjectosInseririmagemClick();
  EXPECT_EQ(dialogs->Messages().size(), 1);
  EXPECT_EQ(w->painelCD->Owned.ComponentCount(), 1);
}

TEST_F(Editing, RotationTurnsAboutTheTopLeftCorner) {
  TProLabel* t = InsertText();
  // A level text sizes itself: only its place is given.
  Place(t, QRect(30, 40, 120, 20));
  const QSize s = t->size();
  ASSERT_EQ(t->pos(), QPoint(30, 40));
  Select(t);
  w->menuObjectosRodar90EsquerdaClick();
  EXPECT_EQ(t->Angle(), 90);
  EXPECT_EQ(t->geometry(), QRect(30, 40, s.height(), s.width()));
  EXPECT_EQ(Doc(t)->Angulo, 90);
  EXPECT_EQ(Doc(t)->Limites(), QRect(30, 40, s.height(), s.width()));
  EXPECT_FALSE(t->AutoSize());
  EXPECT_EQ(w->Seleccionado(), t);
  for (int expected : {180, 270, 0}) {
    w->menuObjectosRodar90EsquerdaClick();
    EXPECT_EQ(t->Angle(), expected);
  }
  EXPECT_EQ(t->geometry(), QRect(QPoint(30, 40), s));
  const int right[] = {270, 180, 90, 0};
  for (int expected : right) {
    w->menuObjectosRodar90DireitaClick();
    EXPECT_EQ(t->Angle(), expected);
  }
  // A picture does not turn.
  TProImage* i = InsertPicture(picture);
  Select(i);
  w->ficheiroGravado = true;
  w->menuObjectosRodar90EsquerdaClick();
  EXPECT_EQ(i->geometry(), QRect(1, 1, 100, 100));
  EXPECT_TRUE(w->ficheiroGravado);
}

// The CD sheet shows the hole of the disc paper as a guide over its
// objects that takes no click: on plain paper the 15 mm spindle hole and
// the 41 mm hub, on a label sheet its hole and outer circle.
TEST_F(Editing, TheCdSheetShowsThePapersHoleAsAGuide) {
  Sheet(folhaCD);
  TProImage* i = InsertPicture(picture);
  Place(i, QRect(150, 150, 143, 143));
  ASSERT_NE(w->guiaCD, nullptr);
  EXPECT_EQ(w->guiaCD->Circulos(), (QList<double>{15.0, 41.0}));
  EXPECT_TRUE(w->guiaCD->testAttribute(Qt::WA_TransparentForMouseEvents));
  auto ring = [&](double mm) {
    // The guide's colour on its circle, right of the disc's centre, over
    // the blue picture.
    const QImage shot = w->painelCD->grab().toImage();
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
  w->guiaCD->update();
  EXPECT_EQ(w->guiaCD->Circulos(), (QList<double>{17.6, 117.0}));
  EXPECT_GT(ring(17.6), 0);
  EXPECT_EQ(ring(41), 0);
  Parametros().PapelCD = TPapelDisco();
  // A press on the hole selects the picture under the guide.
  Click(i, QPoint(71, 71));
  EXPECT_EQ(w->Seleccionado(), i);
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
    w->menuEditarCentrarClick();
    EXPECT_EQ(i->x(), c.centro) << c.folha;
    EXPECT_EQ(Doc(i)->Left, c.centro) << c.folha;
    w->menuEditarAlinharDireitaClick();
    EXPECT_EQ(i->x(), c.direita) << c.folha;
    w->menuEditarAlinharEsquerdaClick();
    EXPECT_EQ(i->x(), c.esquerda) << c.folha;
    EXPECT_EQ(i->y(), 20);
    EXPECT_EQ(w->Seleccionado(), i);
  }
}

TEST_F(Editing, EditTextFontAndPicture) {
  TProLabel* t = InsertText();
  Select(t);
  dialogs->Inputs = {QString("Lado B"), std::nullopt};
  w->menuObjectosEditartextoseleccionadoClick();
  EXPECT_EQ(t->Caption(), "Lado B");
  EXPECT_EQ(Doc(t)->Texto, "Lado B");
  EXPECT_EQ(Doc(t)->Limites(), t->geometry());
  EXPECT_EQ(dialogs->Asked.last(), "input: Introdução/Introduza o texto");
  w->opcaoEditarAlterarimagemClick();  // cancelled: unchanged
  EXPECT_EQ(t->Caption(), "Lado B");
  EXPECT_EQ(w->Seleccionado(), t);

  TFont f;
  f.Name = "Arial";
  f.Style = fsBold | fsItalic;
  f.Color = 0x00FFFF;
  f.Charset = 0;
  dialogs->Fonts = {f};
  w->Documento().DefinirFonte(w->IdObjecto(t), TFonteDoc());
  w->menuObjectosAlterarfonteecorClick();
  EXPECT_EQ(dialogs->FontsShown.back().Name, "MS Sans Serif");  // the object's font was offered
  EXPECT_EQ(t->Font(), f);

  TProImage* i = InsertPicture(picture);
  Select(i);
  QImage red(5, 5, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(dir.filePath("red.bmp")));
  dialogs->Files = {dir.filePath("red.bmp")};
  w->menuObjectosAlterarimagemClick();
  EXPECT_EQ(i->Hint(), dir.filePath("red.bmp"));
  EXPECT_EQ(i->Picture().Width(), 5);
  EXPECT_EQ(Doc(i)->Imagem.Ficheiro, dir.filePath("red.bmp"));
  EXPECT_EQ(w->Seleccionado(), i);
  // The font command on a picture asks nothing and keeps it selected.
  dialogs->Asked.clear();
  w->menuObjectosAlterarfonteecorClick();
  EXPECT_TRUE(dialogs->Asked.isEmpty());
  EXPECT_EQ(w->Seleccionado(), i);
}

TEST_F(Editing, CommandsNeedingASelectionDoNothingWithout) {
  for (auto cmd : {&TfrmLurn::menuObjectosEditartextoseleccionadoClick, &TfrmLurn::menuEditarCentrarClick,
                   &TfrmLurn::menuObjectosRodar90EsquerdaClick, &TfrmLurn::menuEditarApagarClick,
                   &TfrmLurn::menuObjectosAlterarfonteecorClick, &TfrmLurn::opcaoEditarAlterarimagemClick})
    (w.get()->*cmd)();
  EXPECT_TRUE(w->ficheiroGravado);
  EXPECT_TRUE(dialogs->Asked.isEmpty());
}

TEST_F(Editing, BackgroundPictureColourAndClearing) {
  // Front: stretched over the sheet.
  dialogs->Files = {picture};
  w->menuObjectosImagemdefundoClick();
  EXPECT_EQ(w->imgFrente->Hint(), picture);
  EXPECT_EQ(w->imgFrente->geometry(), QRect(0, 0, 458, 455));
  // Back without spines: both pictures hold it, the one between the spines shows.
  Sheet(folhaTras);
  w->checkLombada->setChecked(false);
  dialogs->Files = {picture};
  w->menuObjectosImagemdefundoClick();
  EXPECT_EQ(w->imgTras->Hint(), picture);
  EXPECT_EQ(w->imgTrasLombada->Hint(), picture);
  EXPECT_EQ(w->imgTrasLombada->geometry(), QRect(24, 0, 524, 447));
  EXPECT_FALSE(w->imgTras->isVisibleTo(w->painelTras));
  EXPECT_TRUE(w->imgTrasLombada->isVisibleTo(w->painelTras));
  EXPECT_TRUE(w->Shape1->isVisibleTo(w->painelTras));
  w->manuObjectosLimparImagemFundoClick();
  EXPECT_TRUE(w->imgTras->Hint().isEmpty());
  EXPECT_TRUE(w->imgTrasLombada->Picture().Empty());
  // Disc: a picture, then a colour drops it.
  Sheet(folhaCD);
  dialogs->Files = {picture};
  w->menuObjectosImagemdefundoClick();
  EXPECT_EQ(w->centroCD->FillStyle(), tfsImageStretch);
  EXPECT_EQ(w->centroCD->Hint(), picture);
  dialogs->Colours = {TColor(0x00FFFF)};
  w->menuObjectosCordefundoClick();
  EXPECT_EQ(w->centroCD->FillStyle(), tfsSolid);
  EXPECT_EQ(w->centroCD->FillColor(), 0x00FFFFu);
  EXPECT_TRUE(w->centroCD->Image().Empty());
  // Colour of the back sheet, and the backgrounds go behind the objects.
  Sheet(folhaTras);
  TProLabel* t = InsertText();
  dialogs->Colours = {TColor(0x0000FF)};
  w->menuObjectosCordefundoClick();
  EXPECT_EQ(w->corTras->BrushColor(), 0x0000FFu);
  EXPECT_EQ(w->Documento().Cor(folhaTras), 0x0000FFu);
  EXPECT_EQ(w->painelTras->children().indexOf(w->corTras), 0);
  EXPECT_GT(w->painelTras->children().indexOf(t), w->painelTras->children().indexOf(w->imgTras));
}

TEST_F(Editing, BackSpineBoxChoosesTheBackPictureShownAndChangesNoDocument) {
  w->checkLombada->setChecked(false);
  // No cover file keeps it: nothing to save.
  EXPECT_TRUE(w->ficheiroGravado);
  EXPECT_TRUE(w->lampadaVerde->isVisibleTo(w.get()));
  EXPECT_TRUE(w->Shape1->isVisibleTo(w->painelTras));
  EXPECT_TRUE(w->Shape2->isVisibleTo(w->painelTras));
  EXPECT_TRUE(w->imgTrasLombada->isVisibleTo(w->painelTras));
  EXPECT_FALSE(w->imgTras->isVisibleTo(w->painelTras));
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
         w->menuObjectosEditartextoseleccionadoClick();
       }, false},
      {"mesmo texto", [&] {
         Select(t);
         dialogs->Inputs = {t->Caption()};
         w->menuObjectosEditartextoseleccionadoClick();
       }, false},
      {"fonte cancelada", [&] {
         Select(t);
         dialogs->Fonts = {std::nullopt};
         w->menuObjectosAlterarfonteecorClick();
       }, false},
      {"imagem cancelada", [&] {
         Select(i);
         dialogs->Files = {std::nullopt};
         w->menuObjectosAlterarimagemClick();
       }, false},
      {"já alinhado", [&] {
         Select(i);
         w->menuEditarAlinharEsquerdaClick();
       }, false},
      {"cor cancelada", [&] {
         dialogs->Colours = {std::nullopt};
         w->menuObjectosCordefundoClick();
       }, false},
      {"fundo cancelado", [&] {
         dialogs->Files = {std::nullopt};
         w->menuObjectosImagemdefundoClick();
       }, false},
      {"limpar fundo vazio", [&] { w->manuObjectosLimparImagemFundoClick(); }, false},
      {"inserir imagem cancelado", [&] {
         dialogs->Files = {std::nullopt};
         w->menuObjectosInseririmagemClick();
       }, false},
      {"centrar", [&] {
         Select(i);
         w->menuEditarCentrarClick();
       }, true},
      {"novo texto", [&] {
         Select(t);
         dialogs->Inputs = {QString("outro")};
         w->menuObjectosEditartextoseleccionadoClick();
       }, true},
      {"rodar", [&] {
         Select(t);
         w->menuObjectosRodar90EsquerdaClick();
       }, true},
      {"cor", [&] {
         dialogs->Colours = {TColor(0x0000FF)};
         w->menuObjectosCordefundoClick();
       }, true},
      {"apagar", [&] {
         Select(i);
         w->menuEditarApagarClick();
       }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nome);
    w->ficheiroGravado = true;
    w->temporizadorTimer();
    dialogs->Asked.clear();
    c.comando();
    EXPECT_EQ(w->ficheiroGravado, !c.altera);
    EXPECT_EQ(w->lampadaVermelha->isVisibleTo(w.get()), c.altera);
    w->StretchHandle1->Detach();
  }
  // After a mere click, Novo asks nothing.
  TProLabel* outro = InsertText();
  w->ficheiroGravado = true;
  Click(outro);
  EXPECT_EQ(w->Seleccionado(), outro);
  dialogs->Asked.clear();
  w->menuFicheiroNovoClick();
  EXPECT_TRUE(dialogs->Asked.isEmpty()) << dialogs->Asked.join('|').toStdString();
}

TEST_F(Editing, TheFoldLinesShowWhateverHappenedBefore) {
  // From the start, in every new window, after a back picture or none.
  EXPECT_TRUE(w->Shape1->isVisibleTo(w->painelTras));
  EXPECT_TRUE(w->Shape2->isVisibleTo(w->painelTras));
  Sheet(folhaTras);
  dialogs->Files = {picture};
  w->menuObjectosImagemdefundoClick();
  w->manuObjectosLimparImagemFundoClick();
  w->ficheiroGravado = true;
  w.reset();
  w = std::make_unique<TfrmLurn>();
  w->show();
  EXPECT_TRUE(w->Shape1->isVisibleTo(w->painelTras));
  EXPECT_TRUE(w->Shape2->isVisibleTo(w->painelTras));
}

TEST_F(Editing, TheFrameAfterAResizeIsTheObjectsRealBox) {
  TFont arial;
  arial.Name = "Arial";
  arial.SetSize(20);
  TProLabel* nivelado = InsertText(arial);
  TProLabel* rodado = InsertText(arial);
  Place(nivelado, QRect(40, 40, nivelado->width(), nivelado->height()));
  Select(rodado);
  w->menuObjectosRodar90EsquerdaClick();
  Place(rodado, QRect(300, 40, rodado->width(), rodado->height()));
  w->opcaoAlinharAgrelhaClick();  // no grid
  QWindow* janela = w->windowHandle();
  TStretchHandle* h = w->StretchHandle1.data();
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
      ASSERT_TRUE(w->GravarFicheiro(dir.filePath("esticado.lrn")));
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
  w->menuObjectosEditartextoseleccionadoClick();
  EXPECT_EQ(dialogs->Asked.count("input: Introdução/Introduza o texto"), 3);
  EXPECT_EQ(dialogs->Messages().count(QString::fromUtf8("O texto não pode ficar vazio.")), 2);
  EXPECT_EQ(Doc(t)->Texto, antes);
  // Empty, then a real text: that one is taken.
  dialogs->Asked.clear();
  dialogs->Inputs = {QString(), QString("Lado A")};
  w->opcaoEditarAlterarimagemClick();
  EXPECT_EQ(Doc(t)->Texto, "Lado A");
  EXPECT_EQ(t->Caption(), "Lado A");
  EXPECT_GT(t->width(), 5);
}

TEST_F(Editing, TheDeleteKeyDeletesTheSelectedObject) {
  TProLabel* t = InsertText();
  TProImage* i = InsertPicture(picture);
  Place(i, QRect(200, 200, 100, 100));
  for (QWidget* c : {static_cast<QWidget*>(t), static_cast<QWidget*>(i)}) {
    const std::uint64_t id = w->IdObjecto(c);
    Click(c);
    ASSERT_EQ(w->Seleccionado(), c);
    w->temporizadorTimer();
    QTest::keyClick(w->StretchHandle1.data(), Qt::Key_Delete);
    EXPECT_EQ(w->Documento().Objecto(id), nullptr);
    EXPECT_FALSE(w->StretchHandle1->IsAttached());
  }
  // Ctrl+Del stays, and the menu shows it.
  TProLabel* outro = InsertText();
  const std::uint64_t id = w->IdObjecto(outro);
  Click(outro);
  w->temporizadorTimer();
  QTest::keyClick(w->StretchHandle1.data(), Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(w->Documento().Objecto(id), nullptr);
  EXPECT_EQ(w->menuEditarApagar->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
}

TEST_F(Editing, AModalDialogGetsTheMouseAfterAClickOrDuringADrag) {
  TProLabel* t = InsertText();
  // A click on an object that was not selected, then a dialog (as Ctrl+P
  // or Ctrl+X would open one): nothing of the window keeps the mouse.
  Click(t);
  ASSERT_EQ(w->Seleccionado(), t);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  // A press that begins a drag takes the mouse; a modal dialog opening
  // takes it back.
  w->StretchHandle1->Detach();
  const QPoint at = t->mapTo(w.get(), QPoint(3, 3));
  QTest::mousePress(w->windowHandle(), Qt::LeftButton, {}, at);
  QTest::mouseMove(w->windowHandle(), at + QPoint(9, 9));
  ASSERT_NE(QWidget::mouseGrabber(), nullptr);
  ASSERT_TRUE(w->StretchHandle1->Dragging());
  QWidget* durante = reinterpret_cast<QWidget*>(1);
  QDialog dlg(w.get());
  QTimer::singleShot(0, &dlg, [&] {
    durante = QWidget::mouseGrabber();
    dlg.reject();
  });
  dlg.exec();
  EXPECT_EQ(durante, nullptr);
  // The drag was given up, the object left where it was.
  EXPECT_FALSE(w->StretchHandle1->Dragging());
  EXPECT_EQ(Doc(t)->Limites(), t->geometry());
  QTest::mouseRelease(w->windowHandle(), Qt::LeftButton, {}, at);
}

}  // namespace
