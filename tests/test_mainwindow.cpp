// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it: start-up state, the commands the
// timer enables for each kind of selection, the sheets and their
// background controls, naming of new objects, clearing the document, and
// the mouse handlers of the objects.
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "support/JanelaLurn.h"
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
#include <QClipboard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    QApplication::clipboard()->clear();
    w = std::make_unique<TfrmLurn>();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  }
  void TearDown() override { w.reset(); }
  // An object added to the session's document, the document then written
  // (so that it counts as saved, as a cover just opened would).
  std::uint64_t Adicionar(int folha, const TObjecto& o) {
    std::uint64_t id = 0;
    w->Sessao().Alterar("Preparar", [&](TDocumento& d) { id = d.Adicionar(folha, o); });
    EXPECT_TRUE(w->Sessao().GravarFicheiro(dir.filePath("aberta.lrn")));
    return id;
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
    auto* t = qobject_cast<TProLabel*>(w->Controlo(Adicionar(folha, o)));
    EXPECT_TRUE(t);
    return t;
  }
  TProImage* Imagem(int folha, const QString& nome) {
    TObjecto o = TObjecto::NovaImagem();
    o.Nome = nome;
    o.Left = o.Top = 50;
    o.Width = o.Height = 100;
    auto* i = qobject_cast<TProImage*>(w->Controlo(Adicionar(folha, o)));
    EXPECT_TRUE(i);
    return i;
  }
  bool On(QAction* a) { return a->isEnabled(); }
  bool On(QToolButton* b) { return b->isEnabled(); }

  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
  std::unique_ptr<TfrmLurn> w;
};

TEST_F(MainWindow, StartsEmptySavedOnTheFrontSheet) {
  EXPECT_EQ(w->windowTitle(), "Lurns para CD");
  EXPECT_EQ(Peca<QWidget>(*w, "client")->size(), QSize(587, 529));
  EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(Peca<QTabWidget>(*w, "pageFolhas")->currentIndex(), 0);
  EXPECT_EQ(w->Sessao().Folha(), folhaFrente);
  EXPECT_TRUE(w->Sessao().Gravado());
  EXPECT_FALSE(w->Sessao().ErroGravacao());
  EXPECT_TRUE(w->Sessao().NomeFicheiro().isEmpty());
  EXPECT_FALSE(w->Sessao().PodeColar());
  EXPECT_FALSE(Accao(*w, "menuEditarDesfazer")->isEnabled());
  EXPECT_FALSE(Accao(*w, "menuEditarRefazer")->isEnabled());
  EXPECT_TRUE(Peca<TShape>(*w, "lampadaVerde")->isVisible());
  EXPECT_FALSE(Peca<TShape>(*w, "lampadaVermelha")->isVisible());
  EXPECT_TRUE(Peca<QLabel>(*w, "painelFicheiro")->text().isEmpty());
  EXPECT_FALSE(Peca<QCheckBox>(*w, "checkLombada")->isVisible());
  EXPECT_TRUE(Peca<QCheckBox>(*w, "checkLombada")->isChecked());
  EXPECT_FALSE(Pega(*w)->IsAttached());
  EXPECT_FALSE(On(Accao(*w, "menuEditarColar")));
  EXPECT_FALSE(On(Peca<QToolButton>(*w, "botaoColar")));
  for (TPanel* p : {PainelFolha(*w, folhaFrente), PainelFolha(*w, folhaInterior), PainelFolha(*w, folhaTras), PainelFolha(*w, folhaCD)})
    EXPECT_EQ(p->Owned.ComponentCount(), 0) << p->objectName().toStdString();
}

TEST_F(MainWindow, SheetsHaveTheirSizesAndBackgrounds) {
  struct {
    TPanel* painel;
    QSize tamanho;
    QString aba;
  } folhas[] = {{PainelFolha(*w, folhaFrente), {458, 455}, "Frente"},
                {PainelFolha(*w, folhaInterior), {458, 455}, "Interior"},
                {PainelFolha(*w, folhaTras), {572, 447}, "Trás"},
                {PainelFolha(*w, folhaCD), {446, 446}, "CD"}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(folhas[i].painel->size(), folhas[i].tamanho);
    EXPECT_EQ(Peca<QTabWidget>(*w, "pageFolhas")->tabText(i), folhas[i].aba);
    EXPECT_EQ(PainelFolha(*w, i + 1), folhas[i].painel);
  }
  EXPECT_EQ(Peca<TProImage>(*w, "imgTrasLombada")->geometry(), QRect(24, 0, 524, 447));
  EXPECT_EQ(Peca<TShape>(*w, "Shape1")->geometry(), QRect(24, 1, 1, 445));
  EXPECT_EQ(Peca<TShape>(*w, "Shape2")->geometry(), QRect(547, 1, 1, 445));
  EXPECT_EQ(Peca<TDSShape>(*w, "centroCD")->geometry(), QRect(0, 0, 443, 443));
  EXPECT_EQ(Peca<TDSShape>(*w, "centroCD")->FillStyle(), tfsSolid);
  EXPECT_EQ(Peca<TDSShape>(*w, "centroCD")->FillColor(), clWhite);
  EXPECT_EQ(Peca<TShape>(*w, "corTras")->BrushColor(), clWhite);
}

TEST_F(MainWindow, CommandsAreEnabledByTheKindOfSelection) {
  TProLabel* texto = Texto(folhaFrente, "Texto1");
  TProImage* imagem = Imagem(folhaFrente, "Imagem2");
  struct Caso {
    QWidget* seleccao;
    bool algum, texto, imagem;
  } casos[] = {{nullptr, false, false, false}, {texto, true, true, false}, {imagem, true, false, true}};
  for (const Caso& c : casos) {
    w->Sessao().Seleccionar(IdDe(c.seleccao));
    EXPECT_EQ(Seleccionado(*w), c.seleccao);
    SCOPED_TRACE(c.seleccao ? c.seleccao->objectName().toStdString() : "nothing");
    for (QAction* a : {Accao(*w, "menuEditarCortar"), Accao(*w, "menuEditarApagar"), Accao(*w, "menuEditarCopiar"), Accao(*w, "menuEditarAlinharEsquerda"),
                       Accao(*w, "menuEditarAlinharDireita"), Accao(*w, "menuEditarCentrar")})
      EXPECT_EQ(On(a), c.algum) << a->objectName().toStdString();
    for (QToolButton* b : {Peca<QToolButton>(*w, "botaoApagar"), Peca<QToolButton>(*w, "botaoCopiar"), Peca<QToolButton>(*w, "botaoEsquerda"), Peca<QToolButton>(*w, "botaoCentrar"), Peca<QToolButton>(*w, "botaoDireita")})
      EXPECT_EQ(On(b), c.algum) << b->objectName().toStdString();
    for (QAction* a : {Accao(*w, "menuObjectosRodar90Esquerda"), Accao(*w, "menuObjectosRodar90Direita"),
                       Accao(*w, "menuObjectosEditartextoseleccionado"), Accao(*w, "menuObjectosAlterarfonteecor")})
      EXPECT_EQ(On(a), c.texto) << a->objectName().toStdString();
    for (QToolButton* b : {Peca<QToolButton>(*w, "botaoEditar"), Peca<QToolButton>(*w, "botao90GEsquerda"), Peca<QToolButton>(*w, "botao90GDireita")})
      EXPECT_EQ(On(b), c.texto) << b->objectName().toStdString();
    EXPECT_EQ(On(Accao(*w, "menuObjectosAlterarimagem")), c.imagem);
    // Never disabled.
    EXPECT_TRUE(On(Accao(*w, "menuObjectosInserirtexto")));
    EXPECT_TRUE(On(Peca<QToolButton>(*w, "botaoTexto")));
    EXPECT_FALSE(On(Peca<QToolButton>(*w, "botaoColar")));
  }
}

TEST_F(MainWindow, PasteIsEnabledWhileTheClipboardHoldsAnObject) {
  TProLabel* t = Texto(folhaFrente, "Texto1");
  w->Sessao().Seleccionar(IdDe(t));
  Escolher(*w, "menuEditarCopiar");
  EXPECT_TRUE(On(Accao(*w, "menuEditarColar")));
  EXPECT_TRUE(On(Peca<QToolButton>(*w, "botaoColar")));
  // Another program took the clipboard: nothing of ours to paste.
  QApplication::clipboard()->setText("de outro programa");
  EXPECT_FALSE(On(Accao(*w, "menuEditarColar")));
  EXPECT_FALSE(On(Peca<QToolButton>(*w, "botaoColar")));
}

TEST(MainWindowStart, SplashGoesAtTheFirstTick) {
  ScriptedDialogsGuard dialogs;
  QPointer<QWidget> splash = new QWidget;
  frmSplash = splash;
  TfrmLurn w;
  w.show();
  EXPECT_TRUE(splash);  // still there once the window is built and shown
  EXPECT_FALSE(Accao(w, "menuEditarColar")->isEnabled());  // commands already in their state
  QMetaObject::invokeMethod(Peca<QTimer>(w, "temporizador"), "timeout");
  EXPECT_FALSE(splash);
  EXPECT_FALSE(frmSplash);
}

TEST_F(MainWindow, TheLampsFollowTheSavedStateAtOnce) {
  TShape* verde = Peca<TShape>(*w, "lampadaVerde");
  TShape* vermelha = Peca<TShape>(*w, "lampadaVermelha");
  auto lampadas = [&] { return std::make_pair(verde->isVisible(), vermelha->isVisible()); };
  const auto gravado = std::make_pair(true, false), alterado = std::make_pair(false, true);
  EXPECT_EQ(lampadas(), gravado);
  w->Sessao().Alterar("Preparar", [](TDocumento& d) { d.DefinirCor(folhaFrente, clRed); });
  EXPECT_EQ(lampadas(), alterado);
  Escolher(*w, "menuEditarDesfazer");  // back to what the file holds
  EXPECT_EQ(lampadas(), gravado);
  Escolher(*w, "menuEditarRefazer");
  EXPECT_EQ(lampadas(), alterado);
  ASSERT_TRUE(w->Sessao().GravarFicheiro(dir.filePath("c.lrn")));
  EXPECT_EQ(lampadas(), gravado);
  Escolher(*w, "menuEditarDesfazer");  // now away from it
  EXPECT_EQ(lampadas(), alterado);
}

TEST_F(MainWindow, BackSpineBoxShowsOnlyOnTheBackSheet) {
  for (int page : {2, 3, 2, 0}) {
    Peca<QTabWidget>(*w, "pageFolhas")->setCurrentIndex(page);
    EXPECT_EQ(Peca<QCheckBox>(*w, "checkLombada")->isVisible(), page == 2) << page;
  }
}

TEST_F(MainWindow, ChangingTheSheetKeepsTheSelection) {
  TProLabel* t = Texto(folhaFrente, "Texto1");
  w->Sessao().Seleccionar(IdDe(t));
  Peca<QTabWidget>(*w, "pageFolhas")->setCurrentIndex(3);
  EXPECT_EQ(Seleccionado(*w), t);
  EXPECT_EQ(w->Sessao().Seleccionado(), IdDe(t));
  EXPECT_EQ(w->Sessao().Folha(), folhaCD);
}

TEST_F(MainWindow, NewNamesSkipTakenNumbers) {
  EXPECT_EQ(w->Sessao().Documento().NovoNome("Texto", folhaFrente), "Texto0");
  TProLabel* t1 = Texto(folhaFrente, "Texto1");
  Texto(folhaFrente, "Texto2");
  w->Sessao().Alterar("Preparar", [&](TDocumento& d) { d.Apagar(IdDe(t1)); });
  EXPECT_EQ(PainelFolha(*w, folhaFrente)->Owned.ComponentCount(), 1);
  // The sheet holds one object, so Texto1 is free again...
  EXPECT_EQ(w->Sessao().Documento().NovoNome("Texto", folhaFrente), "Texto1");
  // ...but once the new object is on the sheet too, Texto2 is taken: Texto3.
  w->Sessao().Alterar("Preparar", [](TDocumento& d) { d.Adicionar(folhaFrente, TObjecto::NovoTexto()); });
  EXPECT_EQ(w->Sessao().Documento().NovoNome("Texto", folhaFrente), "Texto3");
  // Another kind and another sheet have numbers of their own.
  EXPECT_EQ(w->Sessao().Documento().NovoNome("Imagem", folhaFrente), "Imagem2");
  EXPECT_EQ(w->Sessao().Documento().NovoNome("Texto", folhaInterior), "Texto0");
  // Names compare without regard to case.
  Texto(folhaTras, "TEXTO1");
  EXPECT_EQ(w->Sessao().Documento().NovoNome("Texto", folhaTras), "Texto2");
}

TEST_F(MainWindow, OwnedOrderIsCreationOrderWhateverIsRaised) {
  TProLabel* a = Texto(folhaFrente, "Texto1");
  TProImage* b = Imagem(folhaFrente, "Imagem2");
  TProLabel* c = Texto(folhaFrente, "Texto3");
  a->raise();
  w->Sessao().Seleccionar(IdDe(b));  // the handle raises itself over the object
  const TOwnedComponents& o = PainelFolha(*w, folhaFrente)->Owned;
  ASSERT_EQ(o.ComponentCount(), 3);
  EXPECT_EQ(o.Components(0), a);
  EXPECT_EQ(o.Components(1), b);
  EXPECT_EQ(o.Components(2), c);
}

TEST_F(MainWindow, NovoEmptiesTheViewAndLeavesTheWindowsOwnChoices) {
  Texto(folhaFrente, "Texto1");
  Imagem(folhaTras, "Imagem1");
  TProLabel* t = Texto(folhaCD, "Texto2");
  w->Sessao().Seleccionar(IdDe(t));
  w->Sessao().Alterar("Preparar", [](TDocumento& d) {
    d.DefinirCor(folhaFrente, clYellow);
    d.DefinirCor(folhaTras, clRed);
    d.DefinirFundo(fundoFrente, {"/tmp/a.jpg", TPicture()});
    d.DefinirCor(folhaCD, clBlue);
    d.DefinirFundo(fundoCD, {"/tmp/b.jpg", TPicture()});
  });
  EXPECT_EQ(Peca<TShape>(*w, "corFrente")->BrushColor(), clYellow);  // the controls follow
  EXPECT_EQ(Peca<TProImage>(*w, "imgFrente")->Hint(), "/tmp/a.jpg");
  EXPECT_EQ(Peca<TDSShape>(*w, "centroCD")->FillStyle(), tfsImageStretch);
  Peca<QCheckBox>(*w, "checkLombada")->setChecked(false);
  Peca<QTabWidget>(*w, "pageFolhas")->setCurrentIndex(2);

  dialogs->Confirms = {TModalResult::No};
  Escolher(*w, "menuFicheiroNovo");

  EXPECT_FALSE(Pega(*w)->IsAttached());
  for (TPanel* p : {PainelFolha(*w, folhaFrente), PainelFolha(*w, folhaInterior), PainelFolha(*w, folhaTras), PainelFolha(*w, folhaCD)})
    EXPECT_EQ(p->Owned.ComponentCount(), 0);
  EXPECT_EQ(Peca<TShape>(*w, "corFrente")->BrushColor(), clWhite);
  EXPECT_EQ(Peca<TShape>(*w, "corTras")->BrushColor(), clWhite);
  EXPECT_TRUE(Peca<TProImage>(*w, "imgFrente")->Hint().isEmpty());
  EXPECT_TRUE(Peca<TProImage>(*w, "imgFrente")->Picture().Empty());
  EXPECT_EQ(Peca<TDSShape>(*w, "centroCD")->FillColor(), clWhite);
  EXPECT_EQ(Peca<TDSShape>(*w, "centroCD")->FillStyle(), tfsSolid);
  EXPECT_TRUE(Peca<TDSShape>(*w, "centroCD")->Image().Empty());
  EXPECT_TRUE(w->Sessao().Documento().Vazio());
  EXPECT_TRUE(Peca<TShape>(*w, "lampadaVerde")->isVisible());
  EXPECT_TRUE(Peca<QLabel>(*w, "painelFicheiro")->text().isEmpty());
  EXPECT_FALSE(Accao(*w, "menuEditarDesfazer")->isEnabled());
  // Left alone: the spine box and the page.
  EXPECT_FALSE(Peca<QCheckBox>(*w, "checkLombada")->isChecked());
  EXPECT_EQ(Peca<QTabWidget>(*w, "pageFolhas")->currentIndex(), 2);
}

TEST_F(MainWindow, BackgroundsGoBehindTheObjectsInOrder) {
  TProLabel* t = Texto(folhaTras, "Texto1");
  Peca<TShape>(*w, "corTras")->raise();
  Peca<TProImage>(*w, "imgTras")->raise();
  // Any change of the backgrounds puts them back behind the objects.
  w->Sessao().Alterar("Preparar", [](TDocumento& d) { d.DefinirCor(folhaInterior, clRed); });
  // From the back: colour, spine picture, full picture, then the rest as before.
  const QObjectList filhos = PainelFolha(*w, folhaTras)->children();
  auto pos = [&](QObject* o) { return filhos.indexOf(o); };
  EXPECT_EQ(pos(Peca<TShape>(*w, "corTras")), 0);
  EXPECT_EQ(pos(Peca<TProImage>(*w, "imgTrasLombada")), 1);
  EXPECT_EQ(pos(Peca<TProImage>(*w, "imgTras")), 2);
  EXPECT_GT(pos(t), pos(Peca<TProImage>(*w, "imgTras")));
  EXPECT_EQ(PainelFolha(*w, folhaFrente)->children().indexOf(Peca<TShape>(*w, "corFrente")), 0);
  EXPECT_EQ(PainelFolha(*w, folhaFrente)->children().indexOf(Peca<TProImage>(*w, "imgFrente")), 1);
}

TEST_F(MainWindow, HoveringOrPressingATextDoesNotMarkTheDocument) {
  TProLabel* t = Texto(folhaFrente, "Texto1");
  QTest::mouseMove(t, QPoint(5, 5));
  QTest::mouseMove(t, QPoint(20, 8));
  t->OnMouseMove(t, 0, 30, 9);  // a move with no button, as the label reports it
  EXPECT_TRUE(w->Sessao().Gravado());
  EXPECT_TRUE(Peca<TShape>(*w, "lampadaVerde")->isVisible());

  // Selecting changes nothing in the document.
  QTest::mousePress(t, Qt::LeftButton, {}, QPoint(7, 4));
  EXPECT_TRUE(w->Sessao().Gravado());
  EXPECT_FALSE(Peca<TShape>(*w, "lampadaVermelha")->isVisible());
  EXPECT_EQ(Seleccionado(*w), t);
  EXPECT_EQ(w->Sessao().Seleccionado(), IdDe(t));
  QTest::mouseRelease(Pega(*w), Qt::LeftButton, {}, Pega(*w)->mapFromGlobal(t->mapToGlobal(QPoint(7, 4))));
}

TEST_F(MainWindow, DraggingATextWithTheLeftButtonMovesItAndMarksChanged) {
  TProLabel* t = Texto(folhaFrente, "Texto1", 40, 30);
  t->OnMouseDown(t, mbLeft, ssLeft, 5, 5);  // where the drag begins
  t->OnMouseMove(t, ssLeft, 5, 5);  // no movement yet
  EXPECT_TRUE(w->Sessao().Gravado());
  t->OnMouseMove(t, ssLeft | ssShift, 15, 9);  // not exactly the left button
  EXPECT_EQ(t->pos(), QPoint(40, 30));
  t->OnMouseMove(t, ssLeft, 15, 9);
  EXPECT_EQ(t->pos(), QPoint(50, 34));
  // The document has the new place once the drag ends, and is changed then.
  const TObjecto* o = w->Sessao().Documento().Objecto(IdDe(t));
  ASSERT_TRUE(o);
  EXPECT_EQ(o->Limites().topLeft(), QPoint(40, 30));
  t->OnMouseUp(t, mbLeft, 0, 15, 9);
  EXPECT_EQ(o->Limites(), QRect(50, 34, 100, 20));
  EXPECT_FALSE(w->Sessao().Gravado());
}

TEST_F(MainWindow, DraggingWithTheHandleWritesTheNewBoundsBackWhenItEnds) {
  TProImage* i = Imagem(folhaFrente, "Imagem1");
  const std::uint64_t id = IdDe(i);
  const TObjecto* o = w->Sessao().Documento().Objecto(id);
  Escolher(*w, "opcaoAlinharAgrelha");  // no grid: the object lands where the mouse is let go
  ASSERT_FALSE(Pega(*w)->SnapToGrid());
  QWindow* janela = w->windowHandle();
  auto at = [&](QWidget* c, QPoint p) { return c->mapTo(w.get(), p); };
  QTest::mouseMove(janela, QPoint(580, 520));
  // A press on the picture selects it and the drag goes on in the handle,
  // which takes it from its first move.
  const QPoint p0 = at(i, QPoint(10, 10));
  QTest::mousePress(janela, Qt::LeftButton, {}, p0);
  ASSERT_EQ(Seleccionado(*w), i);
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
  TStretchHandle* h = Pega(*w);
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
  EXPECT_EQ(Seleccionado(*w), i);
  EXPECT_TRUE(w->Sessao().Gravado());  // selecting is no change
  QTest::mouseRelease(Pega(*w), Qt::LeftButton, {}, QPoint(12, 12));
  Peca<TProImage>(*w, "imgFrente")->OnClick(Peca<TProImage>(*w, "imgFrente"));
  EXPECT_FALSE(Pega(*w)->IsAttached());

  for (auto clique : {std::function<void()>([&] { Peca<TDSShape>(*w, "centroCD")->OnClick(Peca<TDSShape>(*w, "centroCD")); }),
                      std::function<void()>([&] { PainelFolha(*w, folhaTras)->OnClick(PainelFolha(*w, folhaTras)); }),
                      std::function<void()>([&] { Peca<TProImage>(*w, "imgTrasLombada")->OnClick(Peca<TProImage>(*w, "imgTrasLombada")); })}) {
    w->Sessao().Seleccionar(IdDe(i));
    ASSERT_TRUE(Pega(*w)->IsAttached());
    clique();
    EXPECT_FALSE(Pega(*w)->IsAttached());
    EXPECT_EQ(w->Sessao().Seleccionado(), 0u);
  }
}

TEST_F(MainWindow, OnlyTheMenusCarryAccessKeys) {
  // The tool buttons keep their designed captions but give no access key.
  const QList<QToolButton*> botoes = w->findChildren<QToolButton*>(QRegularExpression("^botao"));
  ASSERT_EQ(botoes.size(), 19);
  EXPECT_EQ(Peca<QToolButton>(*w, "botaoNovo")->text(), "&Novo");
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
  Escolher(*w, "menuAjudaAjuda");
  EXPECT_TRUE(dialogs->Messages().isEmpty()) << dialogs->Messages().join("|").toStdString();
  EXPECT_EQ(Accao(*w, "menuAjudaAjuda")->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(Accao(*w, "menuObjectosImagemdefundo")->property("HelpContext").toInt(), 8);
  ExpectDialog about(QStringLiteral("the about box"), ObjectNameIs(QStringLiteral("AboutBox")),
                     [](QWidget* top) {
                       EXPECT_EQ(top->windowTitle(), "Sobre");
                       EXPECT_EQ(top->size(), QSize(438, 227));
                       ClickButton(QStringLiteral("OKButton"))(top);
                     });
  Escolher(*w, "menuAjudaSobre");
  EXPECT_TRUE(about.Answered());
  EXPECT_FALSE(about.Dialog() && about.Dialog()->isVisible());
}

}  // namespace
