// SPDX-License-Identifier: GPL-3.0-or-later
// Settings: reading the store with its defaults and field widths, writing
// decimal text, the settings dialog and what the main window applies
// after it, however it was closed.
#include "components/Handles.h"
#include "editor/uDefParametros.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "support/JanelaLurn.h"
#include "editor/uParametros.h"
#include "support/ModalDialogs.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    AbrirRegisto()->remove(QString());
    Parametros() = TParametros();
  }
  void Store(const char* key, const QString& value) { AbrirRegisto()->setValue(QLatin1String(key), value); }
  QString Stored(const char* key) { return AbrirRegisto()->value(QLatin1String(key)).toString(); }

  // Runs the settings command with the dialog driven by `fill`, which
  // returns when it has closed the dialog.
  void RunSettings(TfrmLurn& w, const std::function<void(TfrmParametros&)>& fill) {
    ExpectDialog settings(
        QStringLiteral("the settings dialog"),
        [](QWidget* d) { return frmParametros && d == frmParametros.data(); },
        [&](QWidget*) { fill(*frmParametros); });
    Escolher(w, "menuAjudaParametros");
    EXPECT_TRUE(settings.Answered());
  }
  ScriptedDialogsGuard dialogs;
};

TEST_F(Settings, EmptyStoreGivesDefaults) {
  LerParametros();
  const TParametros& p = Parametros();
  EXPECT_EQ(p.Superior, 0);
  EXPECT_EQ(p.Esquerda, 0);
  EXPECT_EQ(p.Lingua, 0);
  EXPECT_EQ(p.GrelhaX, 8);
  EXPECT_EQ(p.GrelhaY, 8);
  EXPECT_EQ(p.Dobra, 0x00FF00u);
  EXPECT_EQ(p.Grava, 0);
}

TEST_F(Settings, ValuesAreDecimalTextCutToTheirFields) {
  struct {
    const char* key;
    QString value;
    int expected;
  } cases[] = {{"GrelhaX", "abc", 8},   {"GrelhaX", "300", 44},  {"GrelhaY", "", 8},
               {"Superior", "70000", 70000 & 0xFFFF}, {"Esquerda", "-1", 0xFFFF}, {"Lingua", "257", 1},
               {"Dobra", "255", 255},   {"Grava", " 1 ", 1}};
  for (const auto& c : cases) {
    SetUp();
    Store(c.key, c.value);
    LerParametros();
    const TParametros& p = Parametros();
    const std::map<std::string, int> got = {{"GrelhaX", p.GrelhaX},   {"GrelhaY", p.GrelhaY}, {"Superior", p.Superior},
                                            {"Esquerda", p.Esquerda}, {"Lingua", p.Lingua},   {"Dobra", int(p.Dobra)},
                                            {"Grava", p.Grava}};
    EXPECT_EQ(got.at(c.key), c.expected) << c.key << "=" << c.value.toStdString();
  }
  Parametros().Dobra = 0x123456;
  GravarParametros();
  EXPECT_EQ(Stored("Dobra"), QString::number(0x123456));
  EXPECT_EQ(Stored("GrelhaX"), "8");
}

TEST_F(Settings, ConfirmingStoresAndAppliesTheGrid) {
  TfrmLurn w;
  w.show();
  RunSettings(w, [](TfrmParametros& d) {
    d.spinGrelhaX->setValue(4);
    d.spinGrelhaY->setValue(2);
    d.spinVertical->setValue(12);
    d.spinHorizontal->setValue(150);  // kept within 0..100
    d.btnConfirmar->click();
  });
  EXPECT_EQ(Pega(w)->GridX(), 4);
  EXPECT_EQ(Pega(w)->GridY(), 2);
  EXPECT_EQ(Stored("GrelhaX"), "4");
  EXPECT_EQ(Stored("GrelhaY"), "2");
  EXPECT_EQ(Stored("Superior"), "12");
  EXPECT_EQ(Stored("Esquerda"), "100");
  // Snapping off and on gives the 8 x 8 grid again.
  Escolher(w, "opcaoAlinharAgrelha");
  EXPECT_EQ(Pega(w)->GridX(), 1);
  EXPECT_FALSE(Accao(w, "opcaoAlinharAgrelha")->isChecked());
  Escolher(w, "opcaoAlinharAgrelha");
  EXPECT_EQ(Pega(w)->GridX(), 8);
  EXPECT_EQ(Pega(w)->GridY(), 8);
  EXPECT_TRUE(Accao(w, "opcaoAlinharAgrelha")->isChecked());
}

// The grid of the settings is the session's too: a copy pasted over its
// original goes one step of it away; with snapping off, 8 pixels.
TEST_F(Settings, APasteOverItsOriginalGoesOneStepOfTheSettingsGrid) {
  Store("GrelhaX", "4");
  Store("GrelhaY", "6");
  TfrmLurn w;
  w.show();
  EXPECT_EQ(w.Sessao().Grelha(), QSize(4, 6));
  RunSettings(w, [](TfrmParametros& d) {
    d.spinGrelhaX->setValue(5);
    d.spinGrelhaY->setValue(3);
    d.btnConfirmar->click();
  });
  EXPECT_EQ(w.Sessao().Grelha(), QSize(5, 3));
  dialogs->Fonts.push_back(std::nullopt);
  Escolher(w, "menuObjectosInserirtexto");
  const TObjecto original = w.Sessao().Documento().Objectos(folhaFrente).back();
  w.Sessao().Seleccionar(original.Id);
  Escolher(w, "menuEditarCopiar");
  Escolher(w, "menuEditarColar");
  EXPECT_EQ(w.Sessao().Documento().Objectos(folhaFrente).back().Limites(), original.Limites().translated(5, 3));
  Escolher(w, "opcaoAlinharAgrelha");
  EXPECT_EQ(w.Sessao().Grelha(), QSize(8, 8));
  Escolher(w, "opcaoAlinharAgrelha");
  EXPECT_EQ(w.Sessao().Grelha(), QSize(8, 8));  // on again: the 8 x 8 grid, as the handle has it
}

TEST_F(Settings, ClosingWithoutConfirmingReappliesTheUnchangedRecord) {
  TfrmLurn w;
  w.show();
  Parametros().GrelhaX = 5;
  Parametros().Dobra = 0x0000FF;
  EXPECT_EQ(Peca<TShape>(w, "Shape1")->PenColor(), 0x00FF00u);  // the guides keep their colour until then
  RunSettings(w, [](TfrmParametros& d) {
    d.spinGrelhaX->setValue(3);
    d.reject();
  });
  EXPECT_EQ(Pega(w)->GridX(), 5);
  EXPECT_EQ(Parametros().GrelhaX, 5);
  EXPECT_TRUE(Stored("GrelhaX").isEmpty());
  EXPECT_EQ(Peca<TShape>(w, "Shape1")->PenColor(), 0x0000FFu);
  EXPECT_EQ(Peca<TShape>(w, "Shape2")->PenColor(), 0x0000FFu);
}

TEST_F(Settings, FoldColourComesFromTheColourDialog) {
  TfrmLurn w;
  w.show();
  dialogs->Colours = {std::nullopt, TColor(0xFF0000)};
  RunSettings(w, [](TfrmParametros& d) {
    d.botaoCorMarca->click();  // cancelled
    EXPECT_EQ(d.shapeMarca->BrushColor(), 0x00FF00u);
    d.botaoCorMarca->click();
    d.radioEnglish->setChecked(true);
    d.radioPortugues->setChecked(true);
    d.btnConfirmar->click();
  });
  EXPECT_EQ(Stored("Dobra"), QString::number(0xFF0000));
  EXPECT_EQ(Peca<TShape>(w, "Shape1")->PenColor(), 0xFF0000u);
  EXPECT_EQ(Stored("Lingua"), "0");
}

TEST_F(Settings, AStoredGridOfZeroStillSnaps) {
  Store("GrelhaX", "0");
  Store("GrelhaY", "256");
  TfrmLurn w;
  w.show();  // reads the settings
  EXPECT_EQ(Pega(w)->GridX(), 1);
  EXPECT_EQ(Pega(w)->GridY(), 1);
}

}  // namespace
