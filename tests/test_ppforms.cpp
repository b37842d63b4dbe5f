// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's windows: the form registry that maps the abstract kinds to
// concrete window classes, the hooks every engine window fires, and the
// cancel dialog shown modally and modelessly, with real widgets.
#include "reportforms/ppForms.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class TestPreview : public TppCustomPreviewer {
  Q_OBJECT
 public:
  int languageChanges = 0;
  int reportChanges = 0;

 protected:
  void LanguageChanged() override { ++languageChanges; }
  void ReportChanged() override { ++reportChanges; }
};

class OtherPreview : public TppCustomPreviewer {
  Q_OBJECT
};

class TestCancelDialog : public TppCustomCancelDialog {
  Q_OBJECT
 public:
  QStringList statuses;

 protected:
  void StatusTextChanged() override { statuses.append(StatusText()); }
};

// A window in front, as the main window is when a print starts.
struct ActiveWindow {
  QWidget window;
  ActiveWindow() {
    window.resize(200, 100);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
};

}  // namespace

TEST(FormRegistry, KindsAnswerTheirRegisteredClassOrNone) {
  EXPECT_EQ(EngineFormClass(ppCustomPreviewer), nullptr);
  EXPECT_EQ(EngineFormClass<TppCustomPreviewer>(), nullptr);

  RegisterEngineForm<TppCustomPreviewer, TestPreview>();
  RegisterEngineForm<TppCustomPreviewer, TestPreview>();
  EXPECT_EQ(EngineFormCount(), 1);
  // The core knows the kind by the abstract window class's name.
  const TppFormClass* cls = EngineFormClass(ppCustomPreviewer);
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(cls->ClassName, "TestPreview");
  EXPECT_EQ(EngineFormClass(ppCustomCancelDialog), nullptr);

  // Registering a kind again keeps only the new class.
  RegisterEngineForm<TppCustomPreviewer, OtherPreview>();
  EXPECT_EQ(EngineFormCount(), 1);
  EXPECT_EQ(EngineFormClass(ppCustomPreviewer)->ClassName, "OtherPreview");

  // The core creates and talks to the window through the interface.
  TppFormIntf* form = EngineFormClass(ppCustomPreviewer)->Create();
  EXPECT_NE(dynamic_cast<TppPreviewerIntf*>(form), nullptr);
  EXPECT_NE(dynamic_cast<OtherPreview*>(form), nullptr);
  delete form;

  UnregisterEngineForm<TppCustomPreviewer>();
  EXPECT_EQ(EngineFormClass(ppCustomPreviewer), nullptr);
  EXPECT_EQ(EngineFormCount(), 0);
}

TEST(EngineForms, HooksAndProperties) {
  auto* preview = new TestPreview;
  TppFormIntf* form = preview;
  form->SetLanguage(lgEnglish);
  form->SetReport(nullptr);
  EXPECT_EQ(preview->languageChanges, 1);
  EXPECT_EQ(preview->reportChanges, 1);
  EXPECT_EQ(form->Language(), lgEnglish);

  int cancels = 0;
  form->CancelHook = [&] { ++cancels; };
  form->DoCancel();
  EXPECT_EQ(cancels, 1);

  std::vector<QString> order;
  form->DestroyHook = [&] { order.push_back("destroy"); };
  form->ReleaseHook = [&] { order.push_back("release"); };
  form->SetWindowState(wsMaximized);
  EXPECT_TRUE(preview->windowState() & Qt::WindowMaximized);
  delete form;
  EXPECT_EQ(order, (std::vector<QString>{"destroy", "release"}));
}

TEST(EngineForms, ActivateHookFiresOncePerShowing) {
  ActiveWindow front;
  TestPreview preview;
  int starts = 0;
  preview.ActivateHook = [&] { ++starts; };
  preview.Show();
  QTRY_COMPARE(starts, 1);
  // Activating it again (after a message box, switching windows) does not
  // start the work again.
  QApplication::setActiveWindow(&front.window);
  QApplication::setActiveWindow(&preview);
  QTest::qWait(20);
  EXPECT_EQ(starts, 1);
  preview.hide();
  preview.Show();
  QTRY_COMPARE(starts, 2);

  // A modal showing starts it inside its own event loop.
  preview.hide();
  preview.ActivateHook = [&] {
    ++starts;
    EXPECT_TRUE(preview.isModal() || QApplication::activeModalWidget() == &preview);
    preview.accept();
  };
  EXPECT_EQ(preview.ShowModal(), TModalResult::OK);
  EXPECT_EQ(starts, 3);
}

TEST(CancelDialog, ModelessDisablesTheActiveWindowUntilItGoes) {
  ActiveWindow front;
  auto* dialog = new TestCancelDialog;
  EXPECT_FALSE(dialog->AllowCancel);
  EXPECT_FALSE(dialog->ShownModally());
  dialog->Show();
  EXPECT_FALSE(front.window.isEnabled());
  EXPECT_EQ(dialog->DisabledWindow(), &front.window);
  dialog->SetStatusText("A Imprimir a Página 1");
  EXPECT_EQ(dialog->statuses, QStringList{"A Imprimir a Página 1"});
  dialog->hide();
  EXPECT_TRUE(front.window.isEnabled());

  // Destroyed while shown: the window is enabled again as well.
  QApplication::setActiveWindow(&front.window);
  dialog->Show();
  EXPECT_FALSE(front.window.isEnabled());
  delete dialog;
  EXPECT_TRUE(front.window.isEnabled());
}

TEST(CancelDialog, ModalDisablesNothingOfItsOwnAndClosesByItsTimer) {
  ActiveWindow front;
  TestCancelDialog dialog;
  bool enabledWhileShown = false;
  dialog.ActivateHook = [&] {
    enabledWhileShown = front.window.isEnabled();
    dialog.StartCloseTimer();  // as the engine does after the last page
  };
  EXPECT_EQ(dialog.ShowModalCancel(), TModalResult::OK);
  EXPECT_TRUE(dialog.ShownModally());
  EXPECT_TRUE(enabledWhileShown);
  EXPECT_EQ(dialog.DisabledWindow(), nullptr);
  EXPECT_TRUE(front.window.isEnabled());
}

#include "test_ppforms.moc"
