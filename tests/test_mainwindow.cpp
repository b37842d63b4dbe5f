// The main window as a user meets it: start-up state, the commands the
// timer enables for each kind of selection, the sheets and their
// background controls, naming of new objects, clearing the document, and
// the mouse handlers of the objects.
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "editor/uLurn.h"
#include "support/ModalDialogs.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QMenu>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <QTest>
#include <QWindow>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    w = std::make_unique<TfrmLurn>();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  }
  void TearDown() override {
    w->ficheiroGravado = true;  // nothing to ask on close
    w.reset();
  }

  // An object added to the document, and the control the window made for
  // it; the document then counts as saved, as a cover just opened would.
  TProLabel* Texto(int folha, const QString& nome, int x = 10, int y = 10) {
    TObjecto o = TObjecto::NovoTexto();
    o.Nome = nome;
    o.Texto = nome;
    o.Left = x;
    o.Top = y;
    o.Width = 100;
    o.Height = 20;
    auto* t = qobject_cast<TProLabel*>(w->Controlo(w->Documento().Adicionar(folha, o)));
    EXPECT_TRUE(t);
    w->ficheiroGravado = true;
    w->temporizadorTimer();
    return t;
  }
  TProImage* Imagem(int folha, const QString& nome) {
    TObjecto o = TObjecto::NovaImagem();
    o.Nome = nome;
    o.Left = o.Top = 50;
    o.Width = o.Height = 100;
    auto* i = qobject_cast<TProImage*>(w->Controlo(w->Documento().Adicionar(folha, o)));
    EXPECT_TRUE(i);
    w->ficheiroGravado = true;
    w->temporizadorTimer();
    return i;
  }
  bool On(QAction* a) { return a->isEnabled(); }
  bool On(QToolButton* b) { return b->isEnabled(); }

  ScriptedDialogsGuard dialogs;
  std::unique_ptr<TfrmLurn> w;
};

TEST_F(MainWindow, StartsEmptySavedOnTheFrontSheet) {
  EXPECT_EQ(w->windowTitle(), "Lurns para CD");
  EXPECT_EQ(w->client->size(), QSize(587, 529));
  EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(w->pageFolhas->currentIndex(), 0);
  EXPECT_EQ(w->FolhaActual(), folhaFrente);
  EXPECT_TRUE(w->ficheiroGravado);
  EXPECT_FALSE(w->erroGravacao);
  EXPECT_TRUE(w->nomeFicheiro.isEmpty());
  EXPECT_TRUE(w->nadaCopiado);
  EXPECT_TRUE(w->lampadaVerde->isVisible());
  EXPECT_FALSE(w->lampadaVermelha->isVisible());
  EXPECT_TRUE(w->painelFicheiro->text().isEmpty());
  EXPECT_FALSE(w->checkLombada->isVisible());
  EXPECT_TRUE(w->checkLombada->isChecked());
  EXPECT_FALSE(w->StretchHandle1->IsAttached());
  EXPECT_FALSE(On(w->menuEditarColar));
  EXPECT_FALSE(On(w->botaoColar));
  for (TPanel* p : {w->painelFrente, w->painelInterior, w->painelTras, w->painelCD})
    EXPECT_EQ(p->Owned.ComponentCount(), 0) << p->objectName().toStdString();
}

TEST_F(MainWindow, SheetsHaveTheirSizesAndBackgrounds) {
  struct {
    TPanel* painel;
    QSize tamanho;
    QString aba;
  } folhas[] = {{w->painelFrente, {458, 455}, "Frente"},
                {w->painelInterior, {458, 455}, "Interior"},
                {w->painelTras, {572, 447}, "Trás"},
                {w->painelCD, {446, 446}, "CD"}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(folhas[i].painel->size(), folhas[i].tamanho);
    EXPECT_EQ(w->pageFolhas->tabText(i), folhas[i].aba);
    EXPECT_EQ(w->Painel(i + 1), folhas[i].painel);
  }
  EXPECT_EQ(w->imgTrasLombada->geometry(), QRect(24, 0, 524, 447));
  EXPECT_EQ(w->Shape1->geometry(), QRect(24, 1, 1, 445));
  EXPECT_EQ(w->Shape2->geometry(), QRect(547, 1, 1, 445));
  EXPECT_EQ(w->centroCD->geometry(), QRect(0, 0, 443, 443));
  EXPECT_EQ(w->centroCD->FillStyle(), tfsSolid);
  EXPECT_EQ(w->centroCD->FillColor(), clWhite);
  EXPECT_EQ(w->corTras->BrushColor(), clWhite);
}

TEST_F(MainWindow, TimerEnablesCommandsByTheKindOfSelection) {
  TProLabel* texto = Texto(folhaFrente, "Texto1");
  TProImage* imagem = Imagem(folhaFrente, "Imagem2");
  struct Caso {
    QWidget* seleccao;
    bool algum, texto, imagem;
  } casos[] = {{nullptr, false, false, false}, {texto, true, true, false}, {imagem, true, false, true}};
  for (const Caso& c : casos) {
    w->StretchHandle1->Detach();
    if (c.seleccao) w->StretchHandle1->Attach(c.seleccao);
    w->temporizadorTimer();
    SCOPED_TRACE(c.seleccao ? c.seleccao->objectName().toStdString() : "nothing");
    for (QAction* a : {w->menuEditarApagar, w->menuEditarCopiar, w->menuEditarAlinharEsquerda,
                       w->menuEditarAlinharDireita, w->menuEditarCentrar})
      EXPECT_EQ(On(a), c.algum) << a->objectName().toStdString();
    for (QToolButton* b : {w->botaoApagar, w->botaoCopiar, w->botaoEsquerda, w->botaoCentrar, w->botaoDireita})
      EXPECT_EQ(On(b), c.algum) << b->objectName().toStdString();
    for (QAction* a : {w->menuObjectosRodar90Esquerda, w->menuObjectosRodar90Direita,
                       w->menuObjectosEditartextoseleccionado, w->menuObjectosAlterarfonteecor})
      EXPECT_EQ(On(a), c.texto) << a->objectName().toStdString();
    for (QToolButton* b : {w->botaoEditar, w->botao90GEsquerda, w->botao90GDireita})
      EXPECT_EQ(On(b), c.texto) << b->objectName().toStdString();
    EXPECT_EQ(On(w->menuObjectosAlterarimagem), c.imagem);
    // Never disabled.
    EXPECT_TRUE(On(w->menuObjectosInserirtexto));
    EXPECT_TRUE(On(w->botaoTexto));
    EXPECT_FALSE(On(w->botaoColar));
  }
}

TEST_F(MainWindow, PasteStaysEnabledAfterTheFirstCopy) {
  w->nadaCopiado = false;
  w->temporizadorTimer();
  EXPECT_TRUE(On(w->menuEditarColar));
  EXPECT_TRUE(On(w->botaoColar));
}

TEST(MainWindowStart, SplashGoesAtTheFirstTick) {
  ScriptedDialogsGuard dialogs;
  QPointer<QWidget> splash = new QWidget;
  frmSplash = splash;
  TfrmLurn w;
  w.show();
  EXPECT_TRUE(splash);  // still there once the window is built and shown
  EXPECT_FALSE(w.menuEditarColar->isEnabled());  // commands already in their state
  w.temporizadorTimer();
  EXPECT_FALSE(splash);
  EXPECT_FALSE(frmSplash);
}

TEST_F(MainWindow, TimerTickShowsTheLampOfTheFlag) {
  w->ficheiroGravado = false;  // set without the lamps
  EXPECT_TRUE(w->lampadaVerde->isVisible());
  w->temporizadorTimer();
  EXPECT_FALSE(w->lampadaVerde->isVisible());
  EXPECT_TRUE(w->lampadaVermelha->isVisible());
}

TEST_F(MainWindow, BackSpineBoxShowsOnlyOnTheBackSheet) {
  for (int page : {2, 3, 2, 0}) {
    w->pageFolhas->setCurrentIndex(page);
    EXPECT_EQ(w->checkLombada->isVisible(), page == 2) << page;
  }
}

TEST_F(MainWindow, ChangingTheSheetKeepsTheSelection) {
  TProLabel* t = Texto(folhaFrente, "Texto1");
  w->StretchHandle1->Attach(t);
  w->pageFolhas->setCurrentIndex(3);
  EXPECT_EQ(w->Seleccionado(), t);
}

TEST_F(MainWindow, NewNamesSkipTakenNumbers) {
  EXPECT_EQ(w->NovoNome("Texto", folhaFrente), "Texto0");
  TProLabel* t1 = Texto(folhaFrente, "Texto1");
  Texto(folhaFrente, "Texto2");
  w->Documento().Apagar(w->IdObjecto(t1));
  EXPECT_EQ(w->painelFrente->Owned.ComponentCount(), 1);
  // The sheet holds one object, so Texto1 is free again...
  EXPECT_EQ(w->NovoNome("Texto", folhaFrente), "Texto1");
  // ...but once the new object is on the sheet too, Texto2 is taken: Texto3.
  w->Documento().Adicionar(folhaFrente, TObjecto::NovoTexto());
  EXPECT_EQ(w->NovoNome("Texto", folhaFrente), "Texto3");
  // Another kind and another sheet have numbers of their own.
  EXPECT_EQ(w->NovoNome("Imagem", folhaFrente), "Imagem2");
  EXPECT_EQ(w->NovoNome("Texto", folhaInterior), "Texto0");
  // Names compare without regard to case.
  Texto(folhaTras, "TEXTO1");
  EXPECT_EQ(w->NovoNome("Texto", folhaTras), "Texto2");
}

TEST_F(MainWindow, OwnedOrderIsCreationOrderWhateverIsRaised) {
  TProLabel* a = Texto(folhaFrente, "Texto1");
  TProImage* b = Imagem(folhaFrente, "Imagem2");
  TProLabel* c = Texto(folhaFrente, "Texto3");
  a->raise();
  w->StretchHandle1->Attach(b);  // the handle raises itself over the object
  const TOwnedComponents& o = w->painelFrente->Owned;
  ASSERT_EQ(o.ComponentCount(), 3);
  EXPECT_EQ(o.Components(0), a);
  EXPECT_EQ(o.Components(1), b);
  EXPECT_EQ(o.Components(2), c);
}

TEST_F(MainWindow, ClearingEmptiesTheDocumentAndNothingElse) {
  Texto(folhaFrente, "Texto1");
  Imagem(folhaTras, "Imagem1");
  TProLabel* t = Texto(folhaCD, "Texto2");
  w->StretchHandle1->Attach(t);
  TDocumento& d = w->Documento();
  d.DefinirCor(folhaFrente, clYellow);
  d.DefinirCor(folhaTras, clRed);
  d.DefinirFundo(fundoFrente, {"/tmp/a.jpg", TPicture()});
  d.DefinirCor(folhaCD, clBlue);
  d.DefinirFundo(fundoCD, {"/tmp/b.jpg", TPicture()});
  EXPECT_EQ(w->corFrente->BrushColor(), clYellow);  // the controls follow
  EXPECT_EQ(w->imgFrente->Hint(), "/tmp/a.jpg");
  EXPECT_EQ(w->centroCD->FillStyle(), tfsImageStretch);
  w->checkLombada->setChecked(false);
  w->pageFolhas->setCurrentIndex(2);
  w->ficheiroGravado = false;
  w->nomeFicheiro = "/tmp/x.lrn";

  w->LimparDocumento();

  EXPECT_FALSE(w->StretchHandle1->IsAttached());
  for (TPanel* p : {w->painelFrente, w->painelInterior, w->painelTras, w->painelCD})
    EXPECT_EQ(p->Owned.ComponentCount(), 0);
  EXPECT_EQ(w->corFrente->BrushColor(), clWhite);
  EXPECT_EQ(w->corTras->BrushColor(), clWhite);
  EXPECT_TRUE(w->imgFrente->Hint().isEmpty());
  EXPECT_TRUE(w->imgFrente->Picture().Empty());
  EXPECT_EQ(w->centroCD->FillColor(), clWhite);
  EXPECT_EQ(w->centroCD->FillStyle(), tfsSolid);
  EXPECT_TRUE(w->centroCD->Image().Empty());
  EXPECT_TRUE(d.Vazio());
  // Left alone: the spine box, the page, the flag and the file name.
  EXPECT_FALSE(w->checkLombada->isChecked());
  EXPECT_EQ(w->pageFolhas->currentIndex(), 2);
  EXPECT_FALSE(w->ficheiroGravado);
  EXPECT_EQ(w->nomeFicheiro, "/tmp/x.lrn");
}

TEST_F(MainWindow, BackgroundsGoBehindTheObjectsInOrder) {
  TProLabel* t = Texto(folhaTras, "Texto1");
  w->corTras->raise();
  w->imgTras->raise();
  w->FundosParaTras();
  // From the back: colour, spine picture, full picture, then the rest as before.
  const QObjectList filhos = w->painelTras->children();
  auto pos = [&](QObject* o) { return filhos.indexOf(o); };
  EXPECT_EQ(pos(w->corTras), 0);
  EXPECT_EQ(pos(w->imgTrasLombada), 1);
  EXPECT_EQ(pos(w->imgTras), 2);
  EXPECT_GT(pos(t), pos(w->imgTras));
  EXPECT_EQ(w->painelFrente->children().indexOf(w->corFrente), 0);
  EXPECT_EQ(w->painelFrente->children().indexOf(w->imgFrente), 1);
}

TEST_F(MainWindow, HoveringOrPressingATextDoesNotMarkTheDocument) {
  TProLabel* t = Texto(folhaFrente, "Texto1");
  QTest::mouseMove(t, QPoint(5, 5));
  QTest::mouseMove(t, QPoint(20, 8));
  t->OnMouseMove(t, 0, 30, 9);  // a move with no button, as the label reports it
  EXPECT_TRUE(w->ficheiroGravado);
  EXPECT_TRUE(w->lampadaVerde->isVisible());

  // Selecting changes nothing in the document.
  QTest::mousePress(t, Qt::LeftButton, {}, QPoint(7, 4));
  EXPECT_TRUE(w->ficheiroGravado);
  EXPECT_FALSE(w->lampadaVermelha->isVisible());
  EXPECT_EQ(w->Seleccionado(), t);
  EXPECT_EQ(w->origemX, 7);
  EXPECT_EQ(w->origemY, 4);
  QTest::mouseRelease(w->StretchHandle1.data(), Qt::LeftButton, {}, w->StretchHandle1->mapFromGlobal(t->mapToGlobal(QPoint(7, 4))));
}

TEST_F(MainWindow, DraggingATextWithTheLeftButtonMovesItAndMarksChanged) {
  TProLabel* t = Texto(folhaFrente, "Texto1", 40, 30);
  w->origemX = 5;
  w->origemY = 5;
  t->OnMouseMove(t, ssLeft, 5, 5);  // no movement yet
  EXPECT_TRUE(w->ficheiroGravado);
  t->OnMouseMove(t, ssLeft | ssShift, 15, 9);  // not exactly the left button
  EXPECT_EQ(t->pos(), QPoint(40, 30));
  t->OnMouseMove(t, ssLeft, 15, 9);
  EXPECT_EQ(t->pos(), QPoint(50, 34));
  // The document has the new place once the drag ends, and is changed then.
  const TObjecto* o = w->Documento().Objecto(w->IdObjecto(t));
  ASSERT_TRUE(o);
  EXPECT_EQ(o->Limites().topLeft(), QPoint(40, 30));
  t->OnMouseUp(t, mbLeft, 0, 15, 9);
  EXPECT_EQ(o->Limites(), QRect(50, 34, 100, 20));
  EXPECT_FALSE(w->ficheiroGravado);
}

TEST_F(MainWindow, DraggingWithTheHandleWritesTheNewBoundsBackWhenItEnds) {
  TProImage* i = Imagem(folhaFrente, "Imagem1");
  const std::uint64_t id = w->IdObjecto(i);
  const TObjecto* o = w->Documento().Objecto(id);
  w->opcaoAlinharAgrelhaClick();  // no grid: the object lands where the mouse is let go
  ASSERT_FALSE(w->StretchHandle1->SnapToGrid());
  QWindow* janela = w->windowHandle();
  auto at = [&](QWidget* c, QPoint p) { return c->mapTo(w.get(), p); };
  QTest::mouseMove(janela, QPoint(580, 520));
  // A press on the picture selects it and the drag goes on in the handle,
  // which takes it from its first move.
  const QPoint p0 = at(i, QPoint(10, 10));
  QTest::mousePress(janela, Qt::LeftButton, {}, p0);
  ASSERT_EQ(w->Seleccionado(), i);
  QTest::mouseMove(janela, p0 + QPoint(3, 2));
  QTest::mouseMove(janela, p0 + QPoint(16, 9));
  EXPECT_EQ(o->Limites(), QRect(50, 50, 100, 100));  // not while dragging
  QTest::mouseRelease(janela, Qt::LeftButton, {}, p0 + QPoint(16, 9));
  const QRect movido = i->geometry();
  EXPECT_GT(movido.x(), 50);
  EXPECT_GT(movido.y(), 50);
  EXPECT_EQ(movido.size(), QSize(100, 100));
  EXPECT_EQ(o->Limites(), movido);
  // An arrow key nudges the object by a pixel, and the document with it.
  TStretchHandle* h = w->StretchHandle1.data();
  QTest::keyClick(h, Qt::Key_Left);
  EXPECT_EQ(o->Limites(), movido.translated(-1, 0));
  // Resizing from the bottom-right square.
  const QPoint canto = at(h, QPoint(h->width() - 2, h->height() - 2));
  QTest::mouseMove(janela, canto);
  QTest::mousePress(janela, Qt::LeftButton, {}, canto);
  QTest::mouseMove(janela, canto + QPoint(10, 5));
  QTest::mouseMove(janela, canto + QPoint(20, 10));
  QTest::mouseRelease(janela, Qt::LeftButton, {}, canto + QPoint(20, 10));
  EXPECT_EQ(i->pos(), movido.translated(-1, 0).topLeft());
  EXPECT_GT(i->width(), 100);
  EXPECT_GT(i->height(), 100);
  EXPECT_EQ(o->Limites(), i->geometry());
}

TEST_F(MainWindow, PressingAPictureSelectsItAndBackgroundClicksRelease) {
  TProImage* i = Imagem(folhaFrente, "Imagem1");
  QTest::mousePress(i, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(w->Seleccionado(), i);
  EXPECT_TRUE(w->ficheiroGravado);  // selecting is no change
  QTest::mouseRelease(w->StretchHandle1.data(), Qt::LeftButton, {}, QPoint(12, 12));
  w->imgFrente->OnClick(w->imgFrente);
  EXPECT_FALSE(w->StretchHandle1->IsAttached());

  for (auto clique : {std::function<void()>([&] { w->centroCD->OnClick(w->centroCD); }),
                      std::function<void()>([&] { w->painelTras->OnClick(w->painelTras); }),
                      std::function<void()>([&] { w->imgTrasLombada->OnClick(w->imgTrasLombada); })}) {
    w->StretchHandle1->Attach(i);
    clique();
    EXPECT_FALSE(w->StretchHandle1->IsAttached());
  }
}

TEST_F(MainWindow, OnlyTheMenusCarryAccessKeys) {
  // The tool buttons keep their designed captions but give no access key.
  const QList<QToolButton*> botoes = w->findChildren<QToolButton*>(QRegularExpression("^botao"));
  ASSERT_EQ(botoes.size(), 17);
  EXPECT_EQ(w->botaoNovo->text(), "&Novo");
  for (QToolButton* b : botoes) EXPECT_TRUE(b->shortcut().isEmpty()) << b->objectName().toStdString();

  // Keys pressed on the window, as a person presses them.
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  QWindow* janela = w->windowHandle();
  dialogs->Files = {std::nullopt};  // a save dialog, should one open
  QTest::keyClick(janela, Qt::Key_G, Qt::AltModifier);  // "&Gravar" on a button
  QTest::keyClick(janela, Qt::Key_S, Qt::AltModifier);  // "&Sair" on a button
  QTest::qWait(400);  // a button's access key clicks it once its press has been shown
  EXPECT_TRUE(dialogs->Asked.isEmpty()) << dialogs->Asked.join('|').toStdString();
  EXPECT_TRUE(w->isVisible());
  dialogs->Files.clear();
  // Alt+A opens the "&Ajuda" menu, which no button's "&Abrir" or "&Apagar" takes.
  QMenu* ajuda = w->findChild<QMenu*>("menuAjuda");
  ASSERT_TRUE(ajuda);
  QTest::keyClick(janela, Qt::Key_A, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ajuda->isVisible(); }, 2000));
  ajuda->close();
}

TEST_F(MainWindow, AboutBoxAndHelpOpen) {
  w->menuAjudaAjudaClick();
  EXPECT_TRUE(dialogs->Messages().isEmpty()) << dialogs->Messages().join("|").toStdString();
  EXPECT_EQ(w->menuAjudaAjuda->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(TfrmLurn::HelpContext(w->menuObjectosImagemdefundo), 8);
  ExpectDialog about(QStringLiteral("the about box"), ObjectNameIs(QStringLiteral("AboutBox")),
                     [](QWidget* top) {
                       EXPECT_EQ(top->windowTitle(), "Sobre");
                       EXPECT_EQ(top->size(), QSize(438, 227));
                       ClickButton(QStringLiteral("OKButton"))(top);
                     });
  w->menuAjudaSobreClick();
  EXPECT_TRUE(about.Answered());
  EXPECT_FALSE(about.Dialog() && about.Dialog()->isVisible());
}

}  // namespace
