// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's cancel dialog with its real widgets: texts and layout, the
// status text, Cancel, the close timer, modal and modeless showing, and the
// start of the engine's work once per showing and never while it runs.
#include "reportforms/ppCDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QPushButton* CancelButton(TppCancelDialog& d) {
  return d.findChild<QPushButton*>(QStringLiteral("btnCancel"));
}
QTextEdit* Memo(TppCancelDialog& d) {
  return d.findChild<QTextEdit*>(QStringLiteral("memMessage"));
}

// Lets queued events and zero timers run.
void Settle(int ms = 30) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A window in front, as the preview is when a print starts.
struct FrontWindow {
  QWidget window;
  FrontWindow() {
    window.resize(200, 100);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
};

TEST(CancelDialog, TextsLayoutAndStatus) {
  TppCancelDialog d;
  d.SetLanguage(lgDefault);
  EXPECT_EQ(d.windowTitle(), "A Imprimir");
  EXPECT_EQ(d.size(), QSize(270, 133));
  QPushButton* cancel = CancelButton(d);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), "Cancelar");
  // Centred, as wide as its text and 30 pixels.
  EXPECT_EQ(cancel->x(), (270 - cancel->width()) / 2);
  EXPECT_EQ(cancel->y(), 98);
  EXPECT_GT(cancel->width(), 30);
  QTextEdit* memo = Memo(d);
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->geometry(), QRect(42, 14, 187, 75));
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->toPlainText(), "");
  EXPECT_TRUE(d.font().bold());
  EXPECT_FALSE(memo->font().bold());

  const QString status = QStringLiteral("A Imprimir a Página 2 de 3 para o Relatório Capa em Laser");
  d.SetStatusText(status);
  EXPECT_EQ(memo->toPlainText(), status);
  // Centred.
  EXPECT_EQ(memo->document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
            Qt::AlignHCenter);
  EXPECT_EQ(d.StatusText(), status);
}

TEST(CancelDialog, ShownModallyItStartsTheWorkAndClosesItselfAfterwards) {
  FrontWindow front;
  TppCancelDialog d;
  d.AllowCancel = true;
  int started = 0;
  bool buttonEnabled = false;
  d.ActivateHook = [&] {
    ++started;
    buttonEnabled = CancelButton(d)->isEnabled();
    // No other window is disabled by a modal showing of its own accord.
    EXPECT_TRUE(front.window.isEnabled());
    d.SetStatusText(QStringLiteral("A Imprimir a Página 1 de 1"));
    d.StartCloseTimer();
  };
  QElapsedTimer t;
  t.start();
  EXPECT_EQ(d.ShowModalCancel(), TModalResult::OK);
  EXPECT_LT(t.elapsed(), 5000);
  EXPECT_EQ(started, 1);
  EXPECT_TRUE(buttonEnabled);
  EXPECT_TRUE(d.ShownModally());
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(Memo(d)->toPlainText(), "A Imprimir a Página 1 de 1");
}

TEST(CancelDialog, ShownModelesslyItDisablesTheWindowInFrontUntilItGoes) {
  FrontWindow front;
  auto* d = new TppCancelDialog;
  d->AllowCancel = true;
  d->Show();
  Settle();
  EXPECT_FALSE(front.window.isEnabled());
  d->Close();
  EXPECT_FALSE(d->isVisible());
  EXPECT_TRUE(front.window.isEnabled());
  delete d;
  EXPECT_TRUE(front.window.isEnabled());
}

TEST(CancelDialog, CancelTellsTheEngineAndClosesButTheEnginesCloseCancelsNothing) {
  FrontWindow front;
  TppCancelDialog d;
  int cancels = 0;
  d.CancelHook = [&] { ++cancels; };
  // Without leave to cancel the button is off and Escape does nothing.
  d.AllowCancel = false;
  d.Show();
  Settle();
  EXPECT_FALSE(CancelButton(d)->isEnabled());
  QTest::keyClick(&d, Qt::Key_Escape);
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(cancels, 0);
  // Closed by the engine when the print is done: no cancel.
  d.Close();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(cancels, 0);

  d.AllowCancel = true;
  d.Show();
  Settle();
  EXPECT_TRUE(CancelButton(d)->isEnabled());
  QTest::mouseClick(CancelButton(d), Qt::LeftButton);
  EXPECT_EQ(cancels, 1);
  EXPECT_FALSE(d.isVisible());
  // Escape is Cancel too.
  d.Show();
  Settle();
  QTest::keyClick(&d, Qt::Key_Escape);
  EXPECT_EQ(cancels, 2);
  EXPECT_FALSE(d.isVisible());
  EXPECT_TRUE(front.window.isEnabled());
}

TEST(CancelDialog, TheWorkStartsOncePerShowingAndNeverWhileItRuns) {
  TppCancelDialog d;
  d.AllowCancel = true;
  QWidget other;
  other.resize(100, 100);
  int started = 0;
  bool nested = false;
  d.ActivateHook = [&] {
    ++started;
    if (nested) return;
    nested = true;
    // While the work runs, events are processed: the dialog loses and
    // regains the focus, and is even hidden and shown again.
    other.show();
    QApplication::setActiveWindow(&other);
    Settle();
    d.activateWindow();
    QApplication::setActiveWindow(&d);
    Settle();
    d.hide();
    d.show();
    Settle();
    nested = false;
  };
  d.Show();
  Settle(60);
  EXPECT_EQ(started, 1);
  // Activated again after the work ended (a message box, another window):
  // no new start.
  QApplication::setActiveWindow(&other);
  Settle();
  QApplication::setActiveWindow(&d);
  Settle();
  EXPECT_EQ(started, 1);
  // A new showing starts it once more.
  d.hide();
  d.show();
  Settle();
  EXPECT_EQ(started, 2);
  d.Close();
}

}  // namespace
