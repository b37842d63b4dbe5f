// The object editing commands of the main window, driven as the menu and
// tool bar drive them, with the dialogs answered by the scripted layer.
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "document/MedidaTexto.h"
#include "editor/uLurn.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
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
  // Cancelled: nothing created, the document still counts as changed.
  w->ficheiroGravado = true;
  dialogs->Files.push_back(std::nullopt);
  w->menuObjectosInseririmagemClick();
  EXPECT_EQ(w->painelCD->Owned.ComponentCount(), 1);
  EXPECT_FALSE(w->ficheiroGravado);
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
  Place(t, QRect(30, 40, 120, 20));
  Select(t);
  w->menuObjectosRodar90EsquerdaClick();
  EXPECT_EQ(t->Angle(), 90);
  EXPECT_EQ(t->geometry(), QRect(30, 40, 20, 120));
  EXPECT_EQ(Doc(t)->Angulo, 90);
  EXPECT_EQ(Doc(t)->Limites(), QRect(30, 40, 20, 120));
  EXPECT_FALSE(t->AutoSize());
  EXPECT_EQ(w->Seleccionado(), t);
  for (int expected : {180, 270, 0}) {
    w->menuObjectosRodar90EsquerdaClick();
    EXPECT_EQ(t->Angle(), expected);
  }
  EXPECT_EQ(t->geometry(), QRect(30, 40, 120, 20));
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

TEST_F(Editing, AlignmentUsesTheSheetsReferenceWidth) {
  struct {
    int folha;
    int width;
    int esquerda, centro, direita;
  } cases[] = {{folhaFrente, 100, 1, 179, 357},  {folhaInterior, 100, 1, 179, 357},
               {folhaCD, 100, 1, 179, 357},      {folhaTras, 100, 1, 236, 471},
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

TEST_F(Editing, BackSpineBoxSetsTheFlagOnly) {
  w->checkLombada->setChecked(false);
  EXPECT_FALSE(w->ficheiroGravado);
  EXPECT_TRUE(w->lampadaVerde->isVisibleTo(w.get()));  // lamps follow at the next tick
  EXPECT_TRUE(w->Shape1->isVisibleTo(w->painelTras));
  EXPECT_TRUE(w->Shape2->isVisibleTo(w->painelTras));
  EXPECT_TRUE(w->imgTrasLombada->isVisibleTo(w->painelTras));
  EXPECT_FALSE(w->imgTras->isVisibleTo(w->painelTras));
}

}  // namespace
