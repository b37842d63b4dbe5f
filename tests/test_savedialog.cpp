// SPDX-License-Identifier: GPL-3.0-or-later
// The real save dialog of the program (Qt's file dialog behind the dialog
// layer), driven offscreen by code as a user would: a name typed without
// its extension over an existing cover is asked about under its final
// name before anything is replaced.
#include "document/FicheiroCapa.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "platform/Dialogs.h"
#include "support/QtPrint.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QAction>
#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace {

// Answers the modal dialogs that the code under test opens, one step per
// dialog in the order they appear.  A dialog with no step left, or a step
// whose dialog never comes, fails the test; the dialog is then closed, so
// a test never hangs on one.
class ModalScript {
 public:
  using Step = std::function<void(QWidget*)>;

  explicit ModalScript(std::deque<Step> steps) : steps_(std::move(steps)) {
    clock_.start();
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
  }
  ~ModalScript() {
    timer_.stop();
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " dialog(s) never appeared";
  }

 private:
  void Tick() {
    QWidget* m = QApplication::activeModalWidget();
    // The dialog of the last step must be gone before the next one counts;
    // one that its step did not close is closed here.
    if (handled_ && handled_->isVisible() && m == handled_) {
      if (clock_.elapsed() > 10000) {
        ADD_FAILURE() << "the dialog stayed open after its step: " << m->windowTitle().toStdString();
        Close(m);
      }
      return;
    }
    if (!m || !m->isVisible()) {
      if (!steps_.empty() && clock_.elapsed() > 10000) {
        ADD_FAILURE() << "no dialog appeared for the next step";
        steps_.clear();
      }
      return;
    }
    handled_ = m;
    clock_.restart();
    if (steps_.empty()) {
      ADD_FAILURE() << "unexpected dialog: " << m->metaObject()->className() << " "
                    << m->windowTitle().toStdString();
      Close(m);
      return;
    }
    // Run from the event loop, not from this tick: a step that opens
    // another modal dialog (a question over the file dialog) must not keep
    // the timer from answering it.
    QTimer::singleShot(0, m, [s = std::move(steps_.front()), m] { s(m); });
    steps_.pop_front();
  }

  static void Close(QWidget* m) {
    if (auto* d = qobject_cast<QDialog*>(m)) d->reject();
    else m->close();
  }

  std::deque<Step> steps_;
  QTimer timer_;
  QElapsedTimer clock_;
  QPointer<QWidget> handled_;
};

// The dialog lists its folder in the background, and when the listing
// arrives it selects the file it was opened on, replacing whatever was
// typed by then: a person types once the folder is shown, and so does the
// script.
void WaitForTheListing(QFileDialog* d) {
  auto* model = d->findChild<QFileSystemModel*>();
  ASSERT_TRUE(model);
  const QModelIndex folder = model->index(d->directory().absolutePath());
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 5000 && (model->rowCount(folder) == 0 || model->canFetchMore(folder))) QTest::qWait(10);
  EXPECT_GT(model->rowCount(folder), 0) << "the folder was never listed";
  QTest::qWait(50);
}

// In the file dialog: type a name and press Save.
ModalScript::Step Type(const QString& name) {
  return [name](QWidget* m) {
    auto* d = qobject_cast<QFileDialog*>(m);
    ASSERT_TRUE(d) << m->metaObject()->className();
    EXPECT_EQ(d->windowTitle(), "Gravar Lurn");
    WaitForTheListing(d);
    auto* edit = d->findChild<QLineEdit*>("fileNameEdit");
    auto* buttons = d->findChild<QDialogButtonBox*>("buttonBox");
    if (!edit || !buttons || !buttons->button(QDialogButtonBox::Save)) {
      ADD_FAILURE() << "the file dialog has no name box or Save button";
      d->reject();
      return;
    }
    edit->setText(name);
    buttons->button(QDialogButtonBox::Save)->click();
  };
}

ModalScript::Step Cancel() {
  return [](QWidget* m) {
    auto* d = qobject_cast<QFileDialog*>(m);
    ASSERT_TRUE(d) << m->metaObject()->className();
    d->reject();
  };
}

// The question about replacing a file: check its text, then answer.
ModalScript::Step Answer(const QString& question, QMessageBox::StandardButton answer) {
  return [question, answer](QWidget* m) {
    auto* box = qobject_cast<QMessageBox*>(m);
    ASSERT_TRUE(box) << m->metaObject()->className();
    EXPECT_EQ(box->text(), question);
    EXPECT_EQ(box->windowTitle(), "Gravar Lurn");
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    box->button(answer)->click();
  };
}

class SaveDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile f(dir.filePath("capa.lrn"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old cover");
  }
  TFileDialogSpec Request(bool overwritePrompt = true) {
    TFileDialogSpec s{"Gravar Lurn", "Lurns CD (*.lrn)|*.lrn", "*.lrn", overwritePrompt, dir.path(), {}};
    return s;
  }
  QByteArray Read(const QString& name) {
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QTemporaryDir dir;
  QtDialogLayer layer;
  const QString question = QString::fromUtf8("capa.lrn já existe.\nQuer substituí-lo?");
};

TEST_F(SaveDialog, ANameTypedWithoutItsExtensionIsAskedAboutUnderItsFinalName) {
  struct Case {
    const char* what;
    bool overwritePrompt;
    std::deque<ModalScript::Step> steps;
    std::optional<QString> result;
  } cases[] = {
      {"typed without extension, answered Yes", true,
       {Type("capa"), Answer(question, QMessageBox::Yes)}, dir.filePath("capa.lrn")},
      {"typed with extension, answered Yes", true,
       {Type("capa.lrn"), Answer(question, QMessageBox::Yes)}, dir.filePath("capa.lrn")},
      {"answered No: the dialog comes back for another name", true,
       {Type("capa"), Answer(question, QMessageBox::No), Type("outra")}, dir.filePath("outra.lrn")},
      {"answered No, then cancelled", true, {Type("capa"), Answer(question, QMessageBox::No), Cancel()},
       std::nullopt},
      {"a new name is not asked about", true, {Type("nova")}, dir.filePath("nova.lrn")},
      {"no question when the dialog is not to ask", false, {Type("capa")}, dir.filePath("capa.lrn")},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::optional<QString> result;
    {
      ModalScript script(std::move(c.steps));
      result = layer.SaveFile(Request(c.overwritePrompt));
    }
    EXPECT_EQ(result, c.result);
  }
  EXPECT_EQ(Read("capa.lrn"), "old cover");
}

TEST_F(SaveDialog, SaveAsInTheEditorReplacesAnExistingCoverOnlyOnceAnswered) {
  TfrmLurn w(nullptr, false);
  w.Sessao().UsarRecentes(false);
  w.show();
  TObjecto o = TObjecto::NovoTexto();
  o.Nome = "Texto1";
  o.Texto = "nova capa";
  w.Sessao().Alterar("Preparar", [&](TDocumento& d) { d.Adicionar(folhaFrente, o); });
  {
    ModalScript script({Type(dir.filePath("capa")), Answer(question, QMessageBox::No), Cancel()});
    w.findChild<QAction*>("menuFicheiroGravarComo")->trigger();
  }
  EXPECT_EQ(Read("capa.lrn"), "old cover");
  EXPECT_TRUE(w.Sessao().NomeFicheiro().isEmpty());
  {
    ModalScript script({Type(dir.filePath("capa")), Answer(question, QMessageBox::Yes)});
    w.findChild<QAction*>("menuFicheiroGravarComo")->trigger();
  }
  EXPECT_EQ(w.Sessao().NomeFicheiro(), dir.filePath("capa.lrn"));
  const TLeituraCapa l = LerCapa(dir.filePath("capa.lrn"));
  ASSERT_EQ(l.Documento.Objectos(folhaFrente).size(), 1u);
  EXPECT_EQ(l.Documento.Objectos(folhaFrente)[0].Texto, "nova capa");
}

}  // namespace
