// SPDX-License-Identifier: GPL-3.0-or-later
// The test support that answers modal dialogs: it answers the dialog it
// waits for, and a dialog that never comes or one that nobody answers
// fails the test within its time and lets it go on.
#include "support/ModalDialogs.h"

#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

namespace {

TEST(ModalDialogs, AnswersTheDialogItWaitsFor) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmação"), QStringLiteral("Gravar?"),
                  QMessageBox::Yes | QMessageBox::No);
  ExpectDialog d(QStringLiteral("the question"), TitleIs(QStringLiteral("Confirmação")),
                 [](QWidget* w) { static_cast<QMessageBox*>(w)->button(QMessageBox::No)->click(); });
  EXPECT_EQ(box.exec(), QMessageBox::No);
  EXPECT_TRUE(d.Answered());
  EXPECT_EQ(d.Dialog(), &box);
}

TEST(ModalDialogs, ADialogThatNeverComesFailsTheTest) {
  // The command showed no dialog at all: the test fails when the
  // expectation goes out of scope.
  EXPECT_NONFATAL_FAILURE(
      {
        ExpectDialog d(QStringLiteral("the about box"), TitleIs(QStringLiteral("Sobre")),
                       ClickButton(QStringLiteral("OK")), 100);
      },
      "the expected dialog (the about box) never appeared");

  // Waiting for it ends at its time.
  QElapsedTimer t;
  t.start();
  EXPECT_NONFATAL_FAILURE(
      {
        ExpectDialog d(QStringLiteral("the about box"), TitleIs(QStringLiteral("Sobre")),
                       ClickButton(QStringLiteral("OK")), 200);
        EXPECT_FALSE(d.Wait());
        EXPECT_TRUE(d.TimedOut());
      },
      "no dialog (the about box) appeared within 200 ms");
  EXPECT_LT(t.elapsed(), 5000);
}

TEST(ModalDialogs, AnotherDialogIsClosedWhenTheExpectedOneDoesNotCome) {
  QMessageBox other(QMessageBox::Warning, QStringLiteral("Aviso"), QStringLiteral("Outra coisa"));
  EXPECT_NONFATAL_FAILURE(
      {
        ExpectDialog d(QStringLiteral("the settings dialog"), TitleIs(QStringLiteral("Parametros")),
                       ClickButton(QStringLiteral("OK")), 200);
        other.exec();  // returns because the expectation closes it
      },
      "QMessageBox \"Aviso\" (modal)");
  EXPECT_FALSE(other.isVisible());
}

TEST(ModalDialogs, AModalDialogNobodyAnswersFailsTheTestAndIsClosed) {
  const int limit = UnansweredDialogLimitMs();
  SetUnansweredDialogLimitMs(300);
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Aviso"), QStringLiteral("Ninguém responde."));
  EXPECT_NONFATAL_FAILURE(box.exec(), "with nobody answering it: QMessageBox \"Aviso\"");
  SetUnansweredDialogLimitMs(limit);
  EXPECT_FALSE(box.isVisible());
}

TEST(ModalDialogs, ClickButtonFindsButtonsByNameOrText) {
  QDialog dlg;
  dlg.setWindowTitle(QStringLiteral("Parametros"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  {
    ExpectDialog d(QStringLiteral("settings"), TitleIs(QStringLiteral("Parametros")),
                   ClickButton(QStringLiteral("Cancelar")));
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
  }
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
  ExpectDialog d(QStringLiteral("settings"), TitleIs(QStringLiteral("Parametros")),
                 ClickButton(QStringLiteral("OKButton")));
  EXPECT_EQ(dlg.exec(), QDialog::Accepted);
}

// The whole way: a test program whose tests hang on dialogs ends, with
// those tests failed and saying why.
TEST(ModalDialogs, AProgramWhoseTestsHangOnDialogsEndsWithThemFailed) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(QStringLiteral(LURNS_HUNGDIALOG_HELPER), QStringList());
  ASSERT_TRUE(p.waitForStarted(10000));
  ASSERT_TRUE(p.waitForFinished(90000)) << "the program hung";
  const QString out = QString::fromLocal8Bit(p.readAll());
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << out.toStdString();
  EXPECT_EQ(p.exitCode(), 1) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("[  FAILED  ] HungDialog.NobodyAnswers"))) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("with nobody answering it: QMessageBox \"Aviso\"")))
      << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("[  FAILED  ] HungDialog.ExpectedDialogNeverComes")))
      << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("no dialog (the settings dialog) appeared within 1000 ms")))
      << out.toStdString();
}

}  // namespace
