// SPDX-License-Identifier: GPL-3.0-or-later
// Copy and paste of cover objects through the system clipboard.
#include "components/Handles.h"
#include "components/ProCtrls.h"
#include "document/FicheiroCapa.h"
#include "document/ObjectStream.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "support/JanelaLurn.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

namespace {

class Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    QApplication::clipboard()->clear();
    w = std::make_unique<TfrmLurn>();
    w->show();
  }
  void TearDown() override { w.reset(); }
  // An object put into the window's document, and the control that shows it;
  // the document then counts as saved, as a cover just opened would.
  template <typename T>
  T* Add(int folha, const QString& name, QRect r, const std::function<void(TObjecto&)>& more = {}) {
    TObjecto o = std::is_same_v<T, TProImage> ? TObjecto::NovaImagem() : TObjecto::NovoTexto();
    o.Nome = name;
    o.Left = r.x();
    o.Top = r.y();
    o.Width = r.width();
    o.Height = r.height();
    if (more) more(o);
    std::uint64_t id = 0;
    w->Sessao().Alterar("Preparar", [&](TDocumento& d) { id = d.Adicionar(folha, o); });
    auto* c = qobject_cast<T*>(w->Controlo(id));
    EXPECT_TRUE(c);
    EXPECT_TRUE(w->Sessao().GravarFicheiro(dir.filePath("aberta.lrn")));
    return c;
  }
  void Select(QWidget* c) { w->Sessao().Seleccionar(IdDe(c)); }
  // The kind of object the clipboard holds, as the paste would read it.
  QString Copiado() {
    const QMimeData* m = QApplication::clipboard()->mimeData();
    if (!m || !m->hasFormat(QString::fromLatin1(ObjectMimeType))) return QString();
    const auto o = ReadObject(m->data(QString::fromLatin1(ObjectMimeType)));
    return !o ? QStringLiteral("?") : o->EhTexto() ? QStringLiteral("texto") : QStringLiteral("imagem");
  }
  QWidget* Last(int folha) {
    const TOwnedComponents& o = PainelFolha(*w, folha)->Owned;
    return static_cast<QWidget*>(o.Components(o.ComponentCount() - 1));
  }
  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
  std::unique_ptr<TfrmLurn> w;
};

TEST_F(Clipboard, PasteBeforeAnyCopyDoesNothing) {
  Add<TProLabel>(folhaFrente, "Texto1", {5, 5, 50, 20});
  Escolher(*w, "menuEditarColar");
  EXPECT_TRUE(w->Sessao().Gravado());
  EXPECT_EQ(PainelFolha(*w, folhaFrente)->Owned.ComponentCount(), 1);
}

// A copy pasted over its original goes one grid step right and down (each
// further paste a step from the one before), named anew and selected.
TEST_F(Clipboard, CopiesPasteWithNewNamesAGridStepFromTheOriginal) {
  Add<TProLabel>(folhaFrente, "Texto1", {5, 5, 50, 20});
  auto* t2 = Add<TProLabel>(folhaFrente, "Texto2", {40, 30, 62, 29}, [](TObjecto& o) {
    o.Texto = "Lado A";
    o.Angulo = 90;
    o.TamanhoAutomatico = false;
  });
  Add<TProImage>(folhaFrente, "Imagem3", {1, 1, 10, 10});
  Select(t2);
  Escolher(*w, "menuEditarCopiar");
  EXPECT_TRUE(w->Sessao().PodeColar());
  EXPECT_EQ(Copiado(), "texto");
  EXPECT_EQ(t2->objectName(), "Texto2");
  EXPECT_EQ(Seleccionado(*w), t2);  // copying keeps the selection
  EXPECT_TRUE(w->Sessao().Gravado());   // and does not change the document

  Escolher(*w, "menuEditarColar");
  Escolher(*w, "menuEditarColar");
  const TOwnedComponents& o = PainelFolha(*w, folhaFrente)->Owned;
  ASSERT_EQ(o.ComponentCount(), 5);
  EXPECT_EQ(o.Components(3)->objectName(), "Texto4");
  EXPECT_EQ(o.Components(4)->objectName(), "Texto5");
  auto* copia = qobject_cast<TProLabel*>(o.Components(4));
  ASSERT_TRUE(copia);
  EXPECT_EQ(static_cast<QWidget*>(o.Components(3))->geometry(), t2->geometry().translated(8, 8));
  EXPECT_EQ(copia->geometry(), t2->geometry().translated(16, 16));
  EXPECT_EQ(copia->Caption(), "Lado A");
  EXPECT_EQ(copia->Angle(), 90);
  // In the document, the copy is the copied object under a new name.
  TObjecto pasted = *w->Sessao().Documento().Objecto(IdDe(copia));
  EXPECT_EQ(pasted.Nome, "Texto5");
  pasted.Nome = "Texto2";
  pasted.Left -= 16;
  pasted.Top -= 16;
  EXPECT_TRUE(MesmoConteudo(pasted, *w->Sessao().Documento().Objecto(IdDe(t2))));
  EXPECT_FALSE(w->Sessao().Gravado());
  EXPECT_EQ(Seleccionado(*w), copia);
  Select(t2);
  // The copy has the mouse handlers of a text object.
  ASSERT_TRUE(copia->OnMouseDown);
  copia->OnMouseDown(copia, mbLeft, ssLeft, 1, 1);
  EXPECT_EQ(Seleccionado(*w), copia);
}

TEST_F(Clipboard, PastesOnTheSheetShownWhateverWasCopied) {
  QImage img(6, 6, QImage::Format_RGB32);
  img.fill(Qt::red);
  const QString file = dir.filePath("r.png");
  ASSERT_TRUE(img.save(file));
  auto* i = Add<TProImage>(folhaFrente, "Imagem1", {20, 25, 80, 60}, [&](TObjecto& o) {
    o.Imagem.Imagem.LoadFromFile(file);
    o.Imagem.Ficheiro = file;
  });
  Select(i);
  Peca<QTabWidget>(*w, "pageFolhas")->setCurrentIndex(1);  // the selection stays on Frente
  Escolher(*w, "menuEditarCopiar");
  EXPECT_EQ(Copiado(), "imagem");
  // The picture itself travels: deleting its file does not matter.
  QFile::remove(file);
  Peca<QTabWidget>(*w, "pageFolhas")->setCurrentIndex(2);
  Escolher(*w, "menuEditarColar");
  auto* copia = qobject_cast<TProImage*>(Last(folhaTras));
  ASSERT_TRUE(copia);
  EXPECT_EQ(copia->objectName(), "Imagem1");
  EXPECT_EQ(copia->geometry(), QRect(20, 25, 80, 60));
  EXPECT_EQ(copia->Hint(), file);
  EXPECT_EQ(copia->Picture().Width(), 6);
  EXPECT_TRUE(copia->OnMouseDown);
  EXPECT_TRUE(dialogs->Messages().isEmpty());
}

// What is pasted is of the kind of the object copied, whatever its name
// says (names come from files and other programs as they are).
TEST_F(Clipboard, APasteIsOfTheCopiedObjectsKindWhateverItsName) {
  QImage img(6, 6, QImage::Format_RGB32);
  img.fill(Qt::red);
  const QString file = dir.filePath("r.png");
  ASSERT_TRUE(img.save(file));
  auto* texto = Add<TProLabel>(folhaFrente, "Imagem7", {5, 5, 50, 20}, [](TObjecto& o) { o.Texto = "Lado B"; });
  auto* imagem = Add<TProImage>(folhaFrente, "Texto8", {20, 25, 80, 60}, [&](TObjecto& o) {
    o.Imagem.Imagem.LoadFromFile(file);
    o.Imagem.Ficheiro = file;
  });
  Select(texto);
  Escolher(*w, "menuEditarCopiar");
  Escolher(*w, "menuEditarColar");
  auto* textoColado = qobject_cast<TProLabel*>(Last(folhaFrente));
  ASSERT_TRUE(textoColado);
  EXPECT_EQ(textoColado->Caption(), "Lado B");
  EXPECT_TRUE(w->Sessao().Documento().Objecto(IdDe(textoColado))->EhTexto());
  Select(imagem);
  Escolher(*w, "menuEditarCopiar");
  Escolher(*w, "menuEditarColar");
  auto* imagemColada = qobject_cast<TProImage*>(Last(folhaFrente));
  ASSERT_TRUE(imagemColada);
  EXPECT_EQ(imagemColada->Picture().Width(), 6);
  EXPECT_TRUE(w->Sessao().Documento().Objecto(IdDe(imagemColada))->EhImagem());
}

TEST_F(Clipboard, ACopiedPictureCarriesItsFullFileName) {
  // A cover naming its picture relative to its own folder.
  QImage img(6, 6, QImage::Format_RGB32);
  img.fill(Qt::red);
  ASSERT_TRUE(img.save(dir.filePath("r.png")));
  TDocumento d;
  TObjecto o = TObjecto::NovaImagem();
  o.Imagem.Ficheiro = "r.png";
  o.Width = o.Height = 10;
  d.Adicionar(folhaFrente, o);
  ASSERT_EQ(GravarCapa(d, dir.filePath("capa.lrn")).Fim, TFimGravacao::Gravado);
  ASSERT_TRUE(w->Sessao().AbrirFicheiro(dir.filePath("capa.lrn")));
  auto* i = qobject_cast<TProImage*>(Last(folhaFrente));
  ASSERT_TRUE(i);
  EXPECT_EQ(i->Hint(), "r.png");
  // Pasted into another cover (another window), it still names that file.
  Select(i);
  Escolher(*w, "menuEditarCopiar");
  TfrmLurn outra(nullptr, false);
  EXPECT_TRUE(Accao(outra, "menuEditarColar")->isEnabled());
  Escolher(outra, "menuEditarColar");
  auto* copia = qobject_cast<TProImage*>(PainelFolha(outra, folhaFrente)->Owned.Components(0));
  ASSERT_TRUE(copia);
  EXPECT_EQ(copia->Hint(), dir.filePath("r.png"));
}

TEST_F(Clipboard, ACopyTheClipboardCannotHoldSaysWhyAndLeavesPasteAsItWas) {
  // A caption longer than the clipboard stream takes (64 KB of UTF-8).
  auto* longo = Add<TProLabel>(folhaFrente, "Texto1", {5, 5, 50, 20}, [](TObjecto& o) {
    o.Texto = QString(70000, QChar('x'));
    o.TamanhoAutomatico = false;
  });
  auto* curto = Add<TProLabel>(folhaFrente, "Texto2", {40, 30, 62, 29}, [](TObjecto& o) { o.Texto = "Lado A"; });
  const QString porque =
      QString::fromUtf8("Não foi possível copiar o objecto para a transferência: texto demasiado longo.");
  QApplication::clipboard()->setText("de outro programa");
  // (Saving such a cover to begin with warns that its caption was cut.)
  dialogs->Asked.clear();

  Select(longo);
  Escolher(*w, "menuEditarCopiar");
  EXPECT_EQ(dialogs->Messages(), QStringList{porque});
  EXPECT_FALSE(w->Sessao().PodeColar());
  EXPECT_TRUE(Copiado().isEmpty());
  EXPECT_FALSE(Accao(*w, "menuEditarColar")->isEnabled());
  EXPECT_FALSE(Peca<QToolButton>(*w, "botaoColar")->isEnabled());
  EXPECT_EQ(QApplication::clipboard()->text(), "de outro programa");

  // After a copy that worked, a refused one leaves that copy to paste.
  Select(curto);
  Escolher(*w, "menuEditarCopiar");
  Select(longo);
  dialogs->Asked.clear();
  Escolher(*w, "menuEditarCopiar");
  EXPECT_EQ(dialogs->Messages(), QStringList{porque});
  EXPECT_TRUE(w->Sessao().PodeColar());
  Escolher(*w, "menuEditarColar");
  auto* colado = qobject_cast<TProLabel*>(Last(folhaFrente));
  ASSERT_TRUE(colado);
  EXPECT_EQ(colado->Caption(), "Lado A");
}

TEST_F(Clipboard, ForeignOrDamagedContentIsRefused) {
  auto* t = Add<TProLabel>(folhaFrente, "Texto1", {5, 5, 50, 20});
  Select(t);
  Escolher(*w, "menuEditarCopiar");
  // Another program put text there: "Colar" is off, and the paste,
  // reached anyway, does nothing (nothing changed, nothing to save).
  QApplication::clipboard()->setText("olá");
  EXPECT_FALSE(Accao(*w, "menuEditarColar")->isEnabled());
  EXPECT_FALSE(Peca<QToolButton>(*w, "botaoColar")->isEnabled());
  Select(t);
  w->Sessao().Colar();
  EXPECT_EQ(PainelFolha(*w, folhaFrente)->Owned.ComponentCount(), 1);
  EXPECT_TRUE(w->Sessao().Gravado());
  EXPECT_EQ(w->Sessao().Historia().undoText(), "Preparar");  // no step of its own
  EXPECT_TRUE(dialogs->Messages().isEmpty());
  // Our format with damaged bytes: the reader's message, nothing created.
  QByteArray good = WriteObject(*w->Sessao().Documento().Objecto(IdDe(t)));
  for (const QByteArray& bad : {QByteArray("garbage"), good.left(good.size() / 2), good + "x"}) {
    auto* dados = new QMimeData;
    dados->setData(ObjectMimeType, bad);
    QApplication::clipboard()->setMimeData(dados);
    dialogs->Asked.clear();
    Escolher(*w, "menuEditarColar");
    EXPECT_EQ(dialogs->Messages().size(), 1);
    EXPECT_EQ(PainelFolha(*w, folhaFrente)->Owned.ComponentCount(), 1);
    EXPECT_EQ(PainelFolha(*w, folhaFrente)->findChildren<TProLabel*>().size(), 1);
  }
}

}  // namespace
