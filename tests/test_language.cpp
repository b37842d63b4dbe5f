// SPDX-License-Identifier: GPL-3.0-or-later
// The language switch: finding a module by the program's name, reloading
// the texts of every open window from it, and leaving run-time texts and
// the program's messages alone.
#include "editor/DialogoFaixas.h"
#include "editor/ReInit.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "support/JanelaLurn.h"
#include "editor/uParametros.h"
#include "editor/uSobre.h"
#include "editor/uSplash.h"
#include "components/ProCtrls.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

const QString kEnglish = QStringLiteral(LURNS_BINARY_DIR "/lurns.ENU");
const QString kPortuguese = QStringLiteral(LURNS_BINARY_DIR "/lurns.PTG");

class Language : public ::testing::Test {
 protected:
  void TearDown() override {
    // Back to the program's own texts for the next test.
    LoadLanguageModule(2070, QStringLiteral(LURNS_BINARY_DIR "/lurns"));
    ReloadForms();
  }
  QString Copy(const QString& from, const QString& name) {
    const QString to = dir.filePath(name);
    EXPECT_TRUE(QFile::copy(from, to));
    return to;
  }
  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
};

TEST_F(Language, ModulesAreFoundByTheProgramsName) {
  ASSERT_TRUE(QFile::exists(kEnglish)) << "build the language modules first";
  struct {
    QString program;
    QStringList files;  // module files present beside it
    int locale;
    QString loaded;  // empty: nothing loaded
  } cases[] = {
      {"prog", {"prog.ENU"}, 1033, "prog.ENU"},
      {"prog", {"prog.EN"}, 1033, "prog.EN"},        // the two-letter name as a second try
      {"prog.bin", {"prog.ENU"}, 1033, "prog.ENU"},  // an extension is replaced
      {"prog", {"prog.PTG"}, 1033, ""},
      {"prog", {"prog.ENU"}, 9999, ""},              // a locale without an abbreviation
      // Installed: under <prefix>/share/lurns, beside <prefix>/bin; the
      // program's own folder first.
      {"bin/prog", {"share/lurns/prog.ENU"}, 1033, "share/lurns/prog.ENU"},
      {"bin/prog", {"share/lurns/prog.ENU", "bin/prog.ENU"}, 1033, "bin/prog.ENU"},
      {"bin/prog", {"share/prog.ENU", "prog.ENU"}, 1033, ""},
  };
  for (const auto& c : cases) {
    QTemporaryDir d;
    QDir().mkpath(d.filePath("bin"));
    for (const QString& f : c.files) {
      QDir().mkpath(QFileInfo(d.filePath(f)).path());
      ASSERT_TRUE(QFile::copy(kEnglish, d.filePath(f)));
    }
    const QString before = LanguageModuleInUse();
    const bool ok = LoadLanguageModule(c.locale, d.filePath(c.program));
    EXPECT_EQ(ok, !c.loaded.isEmpty()) << c.program.toStdString() << " " << c.locale;
    EXPECT_EQ(LanguageModuleInUse(), c.loaded.isEmpty() ? before : d.filePath(c.loaded));
  }
  // A file that is not a module is not loaded.
  QFile junk(dir.filePath("junk.ENU"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("not a module");
  junk.close();
  EXPECT_FALSE(LoadLanguageModule(1033, dir.filePath("junk")));
}

TEST_F(Language, EveryDesignTextHasAnEnglishTranslation) {
  TfrmLurn w;
  TfrmParametros p;
  TAboutBox a;
  TfrmSplash s;
  // The track list's dialog, with files left out, with the album known
  // and without it.
  TPedidoFaixas conhecido;
  conhecido.Titulos = QStringList{"Um"};
  conhecido.Ignorados = QStringList{"mau.flac: ilegível"};
  conhecido.Album = "Lado A";
  TDialogoFaixas faixas(conhecido);
  TDialogoFaixas semAlbum(TPedidoFaixas{});
  QTranslator english;
  ASSERT_TRUE(english.load(kEnglish));
  QTranslator portuguese;
  ASSERT_TRUE(portuguese.load(kPortuguese));
  int texts = 0;
  for (TFormDesign* d : OpenForms()) {
    for (const QString& src : d->Sources()) {
      const QByteArray utf8 = src.toUtf8();
      EXPECT_FALSE(english.translate(d->ClassName(), utf8.constData()).isEmpty())
          << d->ClassName() << ": " << utf8.constData();
      EXPECT_EQ(portuguese.translate(d->ClassName(), utf8.constData()), src);
      ++texts;
    }
  }
  EXPECT_GT(texts, 90);
}

TEST_F(Language, SwitchingReloadsWindowTextsButNotRunTimeOnes) {
  TfrmLurn w;
  TfrmParametros p;
  TAboutBox a;
  TObjecto lado = TObjecto::NovoTexto();
  lado.Texto = "Lado A";
  std::uint64_t id = 0;
  w.Sessao().Alterar("Preparar", [&](TDocumento& d) { id = d.Adicionar(folhaFrente, lado); });
  auto* texto = qobject_cast<TProLabel*>(w.Controlo(id));
  ASSERT_TRUE(texto);
  const QString capa = dir.filePath("capa.lrn");
  dialogs->Files = {capa};
  ASSERT_TRUE(w.Sessao().GravarComo());
  emit Peca<QMenu>(w, "menuFicheiros")->aboutToShow();
  ASSERT_EQ(Accao(w, "menuFicheirosFicheiro1")->text(), capa);
  // A step to undo, and one undone to redo.
  w.Sessao().Alterar("Mover", [&](TDocumento& d) { d.DefinirLimites(id, QRect(9, 9, 1, 1)); });
  w.Sessao().Alterar("Apagar", [&](TDocumento& d) { d.Apagar(id); });
  w.Sessao().Desfazer();
  texto = qobject_cast<TProLabel*>(w.Controlo(id));
  ASSERT_TRUE(texto);
  EXPECT_EQ(Accao(w, "menuEditarDesfazer")->text(), "Des&fazer Mover");
  EXPECT_EQ(Accao(w, "menuEditarRefazer")->text(), "Refa&zer Apagar");

  Copy(kEnglish, "lurns.ENU");
  Copy(kPortuguese, "lurns.PTG");
  ASSERT_TRUE(LoadLanguageModule(1033, dir.filePath("lurns")));
  ReloadForms();
  EXPECT_EQ(Peca<QMenu>(w, "menuFicheiros")->title(), "&File");
  // The undo entries name their steps in the language too.
  EXPECT_EQ(Accao(w, "menuEditarDesfazer")->text(), "U&ndo Move");
  EXPECT_EQ(Accao(w, "menuEditarRefazer")->text(), "Red&o Delete");
  EXPECT_EQ(Accao(w, "menuEditarCortar")->text(), "C&ut");
  EXPECT_EQ(Accao(w, "menuFicheiroSair")->text(), "E&xit");
  EXPECT_EQ(Peca<QTabWidget>(w, "pageFolhas")->tabText(2), "Back");
  EXPECT_EQ(Peca<QToolButton>(w, "botaoNovo")->toolTip(), "Create a new cover");
  // The buttons' captions follow the language, still without access keys.
  EXPECT_EQ(Peca<QToolButton>(w, "botaoNovo")->text(), "&New");
  for (QToolButton* b : w.findChildren<QToolButton*>(QRegularExpression("^botao")))
    EXPECT_TRUE(b->shortcut().isEmpty()) << b->objectName().toStdString();
  EXPECT_EQ(Peca<QCheckBox>(w, "checkLombada")->text(), "Back with spines");
  EXPECT_EQ(Accao(w, "opcaoAlinharAgrelha")->text(), "Snap to grid");
  EXPECT_EQ(p.windowTitle(), "Settings");
  EXPECT_EQ(p.groupGrelha->title(), "Grid");
  EXPECT_EQ(a.windowTitle(), "About");
  // Run-time texts stay as they are.
  EXPECT_EQ(texto->Caption(), "Lado A");
  EXPECT_EQ(Accao(w, "menuFicheirosFicheiro1")->text(), capa);
  EXPECT_EQ(Peca<QLabel>(w, "painelFicheiro")->text(), capa);
  EXPECT_EQ(Peca<TShape>(w, "lampadaVerde")->toolTip(), "Ficheiro gravado");
  // The program's messages stay Portuguese.
  w.Sessao().GravarFicheiro(dir.filePath("x.txt"));
  ASSERT_FALSE(dialogs->Messages().isEmpty());
  EXPECT_EQ(dialogs->Messages().last(), "Função ainda não implementada.");

  ASSERT_TRUE(LoadLanguageModule(2070, dir.filePath("lurns")));
  ReloadForms();
  EXPECT_EQ(Peca<QMenu>(w, "menuFicheiros")->title(), "&Ficheiros");
  EXPECT_EQ(Accao(w, "menuEditarDesfazer")->text(), "Des&fazer Mover");
  EXPECT_EQ(Peca<QTabWidget>(w, "pageFolhas")->tabText(2), "Trás");
  EXPECT_EQ(p.windowTitle(), "Parametros");
  EXPECT_EQ(texto->Caption(), "Lado A");
}

}  // namespace
