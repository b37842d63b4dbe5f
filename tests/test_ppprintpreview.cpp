// SPDX-License-Identifier: GPL-3.0-or-later
// The print preview window, driven through the engine's preview path as
// the program opens it: its texts and buttons, zoom and page boxes, keys,
// the busy state with Cancel while pages are produced, closing while the
// engine is at work, the job started once per showing, and printing from
// the preview.
#include "printing/PrintingClasses.h"
#include "reportforms/ppPrvDlg.h"
#include "report/ppFormIntf.h"
#include "report/ppPrnDev.h"
#include "support/PdfTools.h"
#include "support/QtPrint.h"
#include "support/ReportFixtures.h"
#include "support/ModalDialogs.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>
#include <QShowEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <optional>

namespace {

void DefaultProcessMessages() {
  SetProcessMessagesHook([] {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
  });
}

// The cursor a widget has set for itself, or none.
std::optional<Qt::CursorShape> OwnCursor(const QWidget* w) {
  if (!w->testAttribute(Qt::WA_SetCursor)) return std::nullopt;
  return w->cursor().shape();
}

// Processes events until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, int ms = 5000) {
  QElapsedTimer t;
  t.start();
  while (!condition()) {
    if (t.elapsed() > ms) return false;
    QTest::qWait(5);
  }
  return true;
}

}  // namespace

class PreviewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ScreenPixelsPerInch(), 96);
    DefaultProcessMessages();
    // As the program does when it starts.
    RegisterPrintingClasses();
  }
  void TearDown() override {
    UnregisterPrintingClasses();
    DefaultProcessMessages();
  }

  // Opens the report's preview as the program does (Print with DeviceType
  // "Screen", modally) and, once its first page is shown, runs the script
  // in it; closes the window afterwards if the script left it open.
  // Answers whether the script ran.
  bool Preview(TppProducer* report, const std::function<void(TppPrintPreview&)>& script) {
    QPointer<TppPrintPreview> form;
    report->OnPreviewFormCreate = [&](TComponent*) {
      form = dynamic_cast<TppPrintPreview*>(report->PreviewForm());
      // As the cover reports' handler does.
      if (form) form->SetWindowState(wsMaximized);
    };
    bool ran = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (ran || !form || !form->isVisible()) return;
      TppViewer* v = form->ppViewer1;
      if (v->CurrentPageNo() == 0 || v->IsBusy() || v->Working()) return;
      ran = true;
      poll.stop();
      script(*form);
      if (form && form->isVisible()) form->close();
    });
    poll.start();
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
      ADD_FAILURE() << "the preview did not show its page in time";
      if (form) form->close();
    });
    deadline.start(20000);
    report->Print();
    report->OnPreviewFormCreate = nullptr;
    return ran;
  }
};

TEST_F(PreviewWindow, IsTheRegisteredPreviewerAndTheScreenDevice) {
  const TppFormClass* cls = EngineFormClass<TppCustomPreviewer>();
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(cls->ClassName, "TppPrintPreview");
  std::unique_ptr<TppFormIntf> made(cls->Create());
  auto* preview = dynamic_cast<TppPrintPreview*>(made.get());
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->Viewer(), preview->ppViewer1);
  const TppDeviceClass* screen = DeviceClassForName("Screen");
  ASSERT_NE(screen, nullptr);
  std::unique_ptr<TppDevice> device(screen->Create(nullptr));
  EXPECT_NE(dynamic_cast<TppScreenDevice*>(device.get()), nullptr);
  ASSERT_NE(DeviceClassForName("Printer"), nullptr);
  EXPECT_EQ(DeviceClassForName("Printer")->ClassName, "TppPrinterDevice");
  // Gone again at shut-down.
  UnregisterPrintingClasses();
  EXPECT_EQ(EngineFormClass<TppCustomPreviewer>(), nullptr);
  EXPECT_EQ(DeviceClassForName("Screen"), nullptr);
  EXPECT_EQ(DeviceClassForName("Printer"), nullptr);
  RegisterPrintingClasses();
}

TEST_F(PreviewWindow, ACoverPageIsShownMaximisedWithTheEnginesTexts) {
  TComponent owner;
  TestReport r(&owner);
  int jobs = 0, closed = 0;
  r.report->BeforePrint = [&](TComponent*) { ++jobs; };
  r.report->OnPreviewFormClose = [&](TComponent*) { ++closed; };
  const bool ran = Preview(r.report, [&](TppPrintPreview& w) {
    EXPECT_TRUE(w.isMaximized());
    EXPECT_EQ(w.windowTitle(), "Visualizar Impressao");
    const std::pair<QToolButton*, const char*> hints[] = {
        {w.spbAutoSearch, "Procurar"},          {w.spbPreviewPrint, "Imprimir"},
        {w.spbPreviewWhole, "Página Inteira"},  {w.spbPreviewWidth, "Largura da Página"},
        {w.spbPreview100Percent, "100 %"},      {w.spbPreviewFirst, "Primeira Página"},
        {w.spbPreviewPrior, "Página Anterior"}, {w.spbPreviewNext, "Próxima Página"},
        {w.spbPreviewLast, "Ultima Página"},
    };
    for (const auto& [button, hint] : hints) EXPECT_EQ(button->toolTip(), hint);
    EXPECT_EQ(w.spbPreviewClose->text(), "Fechar");
    TCanvas measure;
    EXPECT_EQ(w.spbPreviewClose->width(), measure.TextWidth("Fechar") + 30);
    // The cover reports show no search: the buttons start where it was.
    EXPECT_TRUE(w.spbAutoSearch->isHidden());
    EXPECT_EQ(w.pnlStandardButtons->x(), 41);
    EXPECT_TRUE(w.spbPreviewWhole->isChecked());
    EXPECT_FALSE(w.spbPreviewWidth->isChecked());
    // The page, drawn for the maximised window's box.
    EXPECT_EQ(w.ppViewer1->ScreenDevice()->PageImage().size(), w.ppViewer1->ScrollBox()->size());
    EXPECT_EQ(TppPrintPreview::MaskedDigits(w.mskPreviewPage), "1");
    EXPECT_EQ(TppPrintPreview::MaskedDigits(w.mskPreviewPercentage),
              QString::number(w.ppViewer1->CalculatedZoom()));
    EXPECT_EQ(w.statusText->text(), "Página 1 de 1");
    EXPECT_EQ(w.spbPreviewClose->text(), "Fechar");
    // Ctrl+Home on the only page changes nothing.
    QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(jobs, 1);
    w.spbPreviewClose->click();
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(r.report->PreviewForm(), nullptr);
  EXPECT_FALSE(r.report->Producing());
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(jobs, 1);
}

TEST_F(PreviewWindow, ZoomButtonsAndTheTypedPercentage) {
  ScriptedDialogsGuard dialogs;
  TComponent owner;
  TestReport r(&owner);
  Preview(r.report, [&](TppPrintPreview& w) {
    auto enter = [](QLineEdit* box, const QString& text) {
      box->setFocus();
      box->selectAll();
      box->del();
      box->setCursorPosition(0);
      QTest::keyClicks(box, text);
      QTest::keyClick(box, Qt::Key_Return);
    };
    w.spbPreview100Percent->click();
    EXPECT_EQ(w.ppViewer1->ZoomSetting(), zs100Percent);
    EXPECT_TRUE(w.spbPreview100Percent->isChecked());
    EXPECT_FALSE(w.spbPreviewWhole->isChecked());
    EXPECT_EQ(TppPrintPreview::MaskedDigits(w.mskPreviewPercentage), "100");
    w.spbPreviewWidth->click();
    EXPECT_TRUE(w.spbPreviewWidth->isChecked());
    EXPECT_FALSE(w.spbPreview100Percent->isChecked());
    EXPECT_EQ(TppPrintPreview::MaskedDigits(w.mskPreviewPercentage),
              QString::number(w.ppViewer1->CalculatedZoom()));
    // A button that is down comes up when pressed again.
    w.spbPreviewWidth->click();
    EXPECT_FALSE(w.spbPreviewWidth->isChecked());

    enter(w.mskPreviewPercentage, "400");
    EXPECT_EQ(TppPrintPreview::MaskedDigits(w.mskPreviewPercentage), "250");
    EXPECT_EQ(w.ppViewer1->ZoomSetting(), zsPercentage);
    for (QToolButton* b : {w.spbPreviewWhole, w.spbPreviewWidth, w.spbPreview100Percent})
      EXPECT_FALSE(b->isChecked());
    enter(w.mskPreviewPercentage, "33");
    EXPECT_EQ(TppPrintPreview::MaskedDigits(w.mskPreviewPercentage), "33");
    EXPECT_EQ(w.ppViewer1->ScreenDevice()->DrawnHeight(), 371);
    enter(w.mskPreviewPercentage, "");
    EXPECT_EQ(TppPrintPreview::MaskedDigits(w.mskPreviewPercentage), "100");

    // A page box without a number: the conversion error, the page stays.
    enter(w.mskPreviewPage, "");
    EXPECT_EQ(dialogs->Messages(), QStringList{"'' is not a valid integer value"});
    EXPECT_EQ(w.ppViewer1->CurrentPageNo(), 1);
  });
}

TEST_F(PreviewWindow, KeysTurnPagesWithCtrlAndScrollByTheBox) {
  PagedReport paged(3);
  Preview(paged.r.report, [&](TppPrintPreview& w) {
    TppViewer* v = w.ppViewer1;
    // A page several boxes high, wider than the box.
    w.mskPreviewPercentage->setFocus();
    w.mskPreviewPercentage->clear();
    QTest::keyClicks(w.mskPreviewPercentage, "250");
    QTest::keyClick(w.mskPreviewPercentage, Qt::Key_Return);
    ASSERT_EQ(v->CalculatedZoom(), 250);
    w.setFocus();
    QScrollArea* box = v->ScrollBox();
    QScrollBar* vbar = box->verticalScrollBar();
    QScrollBar* hbar = box->horizontalScrollBar();
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers mods;
      int page;
      int vertical;
      int horizontal;
    } steps[] = {
        {Qt::Key_PageDown, Qt::ControlModifier, 2, 0, 0},
        {Qt::Key_End, Qt::ControlModifier, 3, 0, 0},
        {Qt::Key_PageUp, Qt::ControlModifier, 2, 0, 0},
        {Qt::Key_Home, Qt::ControlModifier, 1, 0, 0},
        {Qt::Key_PageUp, Qt::ControlModifier, 1, 0, 0},
        {Qt::Key_Down, Qt::ControlModifier, 1, 0, 0},
        {Qt::Key_PageDown, Qt::NoModifier, 1, box->height(), 0},
        {Qt::Key_Down, Qt::NoModifier, 1, 2 * box->height(), 0},
        {Qt::Key_Up, Qt::NoModifier, 1, box->height(), 0},
        {Qt::Key_PageUp, Qt::NoModifier, 1, 0, 0},
        {Qt::Key_Up, Qt::NoModifier, 1, 0, 0},
        {Qt::Key_Right, Qt::NoModifier, 1, 0, std::min(hbar->maximum(), box->width())},
        {Qt::Key_Left, Qt::NoModifier, 1, 0, 0},
        {Qt::Key_Home, Qt::NoModifier, 1, 0, 0},
        {Qt::Key_End, Qt::NoModifier, 1, 0, 0},
    };
    ASSERT_GT(vbar->maximum(), 2 * box->height());
    for (const auto& s : steps) {
      SCOPED_TRACE(QKeySequence(s.key | s.mods).toString().toStdString());
      QTest::keyClick(&w, s.key, s.mods);
      EXPECT_EQ(v->CurrentPageNo(), s.page);
      EXPECT_EQ(vbar->value(), s.vertical);
      EXPECT_EQ(hbar->value(), s.horizontal);
    }
    // A key in an edit box acts once, and the box has it too.
    w.mskPreviewPage->setFocus();
    QTest::keyClick(w.mskPreviewPage, Qt::Key_Down);
    EXPECT_EQ(vbar->value(), box->height());
    QTest::keyClick(w.mskPreviewPage, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(v->CurrentPageNo(), 2);
    EXPECT_EQ(TppPrintPreview::MaskedDigits(w.mskPreviewPage), "2");
    // Enter in the page box goes to the page typed.
    w.mskPreviewPage->clear();
    QTest::keyClicks(w.mskPreviewPage, "3");
    QTest::keyClick(w.mskPreviewPage, Qt::Key_Return);
    EXPECT_EQ(v->CurrentPageNo(), 3);
  });
}

TEST_F(PreviewWindow, CancelWhilePagesAreProducedStopsThemAndKeepsTheWindow) {
  PagedReport paged(40);
  Preview(paged.r.report, [&](TppPrintPreview& w) {
    struct {
      QString caption;
      std::optional<Qt::CursorShape> bar, paintBox, statusBar, close;
      bool percentEnabled = true, pageEnabled = true;
      bool seen = false;
    } busy;
    bool clicked = false;
    SetProcessMessagesHook([&] {
      QCoreApplication::processEvents();
      if (clicked || !w.ppViewer1->StatusText().startsWith("A Calcular a Página 3")) return;
      clicked = true;
      busy.seen = true;
      busy.caption = w.spbPreviewClose->text();
      busy.bar = OwnCursor(w.pnlPreviewBar);
      busy.paintBox = w.ppViewer1->PaintBox()->cursor().shape();
      busy.statusBar = OwnCursor(w.statusBar);
      busy.close = OwnCursor(w.spbPreviewClose);
      busy.percentEnabled = w.mskPreviewPercentage->isEnabled();
      busy.pageEnabled = w.mskPreviewPage->isEnabled();
      // The user presses "Cancelar": the click comes with the next events.
      QTimer::singleShot(0, w.spbPreviewClose, &QToolButton::click);
    });
    w.spbPreviewLast->click();
    DefaultProcessMessages();
    ASSERT_TRUE(busy.seen);
    EXPECT_EQ(busy.caption, "Cancelar");
    EXPECT_EQ(busy.bar, Qt::WaitCursor);
    EXPECT_EQ(busy.paintBox, Qt::WaitCursor);
    EXPECT_EQ(busy.statusBar, Qt::WaitCursor);
    EXPECT_EQ(busy.close, Qt::ArrowCursor);
    EXPECT_FALSE(busy.percentEnabled);
    EXPECT_FALSE(busy.pageEnabled);
    // Stopped soon after, well before the last page; the window stays with
    // the page it showed.
    EXPECT_LE(paged.r.report->Engine()->PageNo(), 5);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.ppViewer1->IsBusy());
    EXPECT_EQ(w.spbPreviewClose->text(), "Fechar");
    EXPECT_EQ(OwnCursor(w.pnlPreviewBar), std::nullopt);
    EXPECT_EQ(OwnCursor(w.ppViewer1), std::nullopt);
    EXPECT_EQ(OwnCursor(w.statusBar), std::nullopt);
    EXPECT_EQ(OwnCursor(w.spbPreviewClose), std::nullopt);
    EXPECT_TRUE(w.mskPreviewPercentage->isEnabled());
    EXPECT_TRUE(w.mskPreviewPage->isEnabled());
    EXPECT_EQ(w.ppViewer1->CurrentPageNo(), 1);
    EXPECT_EQ(w.statusText->text(), "Página 1");
    // It can go on: the next page comes.
    w.spbPreviewNext->click();
    EXPECT_EQ(w.ppViewer1->CurrentPageNo(), 2);
  });
}

TEST_F(PreviewWindow, ClosingWhileTheEngineWorksCancelsAndClosesWhenItHasReturned) {
  // While a page is asked for with the page buttons.
  {
    PagedReport paged(40);
    QPointer<TppPrintPreview> window;
    Preview(paged.r.report, [&](TppPrintPreview& w) {
      window = &w;
      bool asked = false;
      SetProcessMessagesHook([&] {
        QCoreApplication::processEvents();
        if (asked || !w.ppViewer1->StatusText().startsWith("A Calcular a Página 3")) return;
        asked = true;
        // The close box.
        QTimer::singleShot(0, &w, &QWidget::close);
      });
      w.spbPreviewLast->click();
      DefaultProcessMessages();
      // Still there under the returning click; it goes from the event loop.
      EXPECT_TRUE(asked);
      EXPECT_TRUE(WaitUntil([&] { return !window || !window->isVisible(); }));
    });
    EXPECT_LE(paged.r.report->Engine()->PageNo(), 5);
    EXPECT_EQ(paged.r.report->PreviewForm(), nullptr);
    EXPECT_FALSE(paged.r.report->Producing());
  }
  // While the first page is being made when the window opens.
  {
    PagedReport paged(2);
    int jobsCancelled = 0;
    paged.r.report->OnCancel = [&](TComponent*) { ++jobsCancelled; };
    bool asked = false;
    SetProcessMessagesHook([&] {
      QCoreApplication::processEvents();
      auto* w = dynamic_cast<TppPrintPreview*>(paged.r.report->PreviewForm());
      if (asked || !w || w->ppViewer1->StatusText() != "A Aceder aos Dados...") return;
      asked = true;
      QTimer::singleShot(0, w, &QWidget::close);
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
      ADD_FAILURE() << "the preview did not close";
      CloseModalDialogs();
    });
    deadline.start(20000);
    paged.r.report->Print();
    DefaultProcessMessages();
    EXPECT_TRUE(asked);
    EXPECT_EQ(jobsCancelled, 1);
    EXPECT_EQ(paged.r.report->PreviewForm(), nullptr);
    EXPECT_FALSE(paged.r.report->Producing());
  }
}

TEST_F(PreviewWindow, TheJobStartsOncePerShowingNotAtEveryActivation) {
  TComponent owner;
  TestReport r(&owner);
  int jobs = 0;
  r.report->BeforePrint = [&](TComponent*) { ++jobs; };
  Preview(r.report, [&](TppPrintPreview& w) {
    ASSERT_EQ(jobs, 1);
    // Back from a message box, or from another window.
    for (int i = 0; i < 3; ++i) {
      QEvent deactivate(QEvent::WindowDeactivate);
      QApplication::sendEvent(&w, &deactivate);
      QEvent activate(QEvent::WindowActivate);
      QApplication::sendEvent(&w, &activate);
      w.activateWindow();
      QTest::qWait(20);
    }
    EXPECT_EQ(jobs, 1);
  });
  EXPECT_EQ(jobs, 1);
}

TEST_F(PreviewWindow, AShowingWhilePagesAreMadeStartsNoSecondJob) {
  PagedReport paged(6);
  int jobs = 0;
  paged.r.report->BeforePrint = [&](TComponent*) { ++jobs; };
  Preview(paged.r.report, [&](TppPrintPreview& w) {
    ASSERT_EQ(jobs, 1);
    // The engine's start of the job, as the window runs it.
    int starts = 0;
    const std::function<void()> start = w.ActivateHook;
    ASSERT_TRUE(bool(start));
    w.ActivateHook = [&] {
      ++starts;
      start();
    };
    bool shown = false;
    int busyWhenShown = 0;
    SetProcessMessagesHook([&] {
      QCoreApplication::processEvents();
      if (shown || !w.ppViewer1->IsBusy()) return;
      shown = true;
      // The window shown again (restored from the task bar, say) while
      // the last page is being made: its start-of-showing work comes
      // with the next events, inside the job.
      QShowEvent show;
      QApplication::sendEvent(&w, &show);
      busyWhenShown = w.ppViewer1->IsBusy();
    });
    w.spbPreviewLast->click();
    DefaultProcessMessages();
    QTest::qWait(20);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(busyWhenShown);
    // The window did not start the job into the one under way, nor
    // later: that showing came while it was busy.
    EXPECT_EQ(starts, 0);
    EXPECT_EQ(jobs, 1);
    EXPECT_EQ(w.ppViewer1->CurrentPageNo(), 6);
    EXPECT_FALSE(w.ppViewer1->IsBusy());
  });
}

class PreviewPrinting : public PreviewWindow {
 protected:
  void SetUp() override {
    PreviewWindow::SetUp();
    ResetPrinterList();
    SetPrinterBackend(std::make_unique<TNoPrinterBackend>());
  }
  void TearDown() override {
    PreviewWindow::TearDown();
    ResetPrinterList();
  }
  QTemporaryDir dir_;
};

TEST_F(PreviewPrinting, ThePrintButtonPrintsTheReportShownOnceIntoItsPdf) {
  TComponent owner;
  TestReport r(&owner);
  r.Square(10000, 10000, 10000, &owner);
  const QString file = dir_.filePath("preview.pdf");
  r.report->PrinterSetup()->SetOutputFileName(file);
  int printed = 0;
  Preview(r.report, [&](TppPrintPreview& w) {
    r.report->AfterPrint = [&](TComponent*) {
      if (r.report->DeviceType() == QLatin1String("Printer")) ++printed;
    };
    // A second press while it prints is not a second print.
    bool pressed = false;
    SetProcessMessagesHook([&] {
      QCoreApplication::processEvents();
      if (pressed) return;
      pressed = true;
      w.spbPreviewPrint->click();
    });
    w.spbPreviewPrint->click();
    DefaultProcessMessages();
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(r.report->DeviceType(), "Screen");
    EXPECT_EQ(w.statusText->text(), "Página 1 de 1");
  });
  EXPECT_EQ(printed, 1);
  QString why;
  const QList<pdf::Page> pages = pdf::Pages(file, &why);
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  ASSERT_EQ(pages.size(), 1);
  const QRectF square = pdf::DarkBoxMM(pdf::Rasterise(file, 1, 300, &why));
  EXPECT_NEAR(square.left(), 16.35, 0.15);
  EXPECT_NEAR(square.top(), 16.35, 0.15);
  EXPECT_NEAR(square.width(), 10, 0.15);
}
