// SPDX-License-Identifier: GPL-3.0-or-later
// A test program whose tests get stuck on modal dialogs the way a faulty
// test would: one opens a dialog that nobody answers, one waits for a
// dialog that never comes while another one is open.  Each must end as a
// failed test with a message, not hang; test_modaldialogs runs this
// program and checks exactly that.
#include "support/ModalDialogs.h"

#include <QMessageBox>
#include <gtest/gtest.h>

TEST(HungDialog, NobodyAnswers) {
  SetUnansweredDialogLimitMs(1000);
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Aviso"), QStringLiteral("Ninguém responde."));
  box.exec();
  SUCCEED() << "the dialog was closed";
}

TEST(HungDialog, ExpectedDialogNeverComes) {
  ExpectDialog expected(QStringLiteral("the settings dialog"), TitleIs(QStringLiteral("Parametros")),
                        ClickButton(QStringLiteral("OK")), 1000);
  QMessageBox other(QMessageBox::Question, QStringLiteral("Confirmação"), QStringLiteral("Outra pergunta"));
  other.exec();
}
