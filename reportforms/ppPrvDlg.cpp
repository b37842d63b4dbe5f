// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportforms/ppPrvDlg.h"

#include "platform/Canvas.h"
#include "platform/Dialogs.h"
#include "report/ppProd.h"
#include "report/ppUtils.h"

#include <QCoreApplication>
#include <QCursor>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

// The window's pictures are linked in from a static library: registered by
// name before first use.
static void RegisterPreviewPictures() {
  static const bool done = [] {
    Q_INIT_RESOURCE(lurns_preview_resources);
    return true;
  }();
  (void)done;
}

namespace {

QIcon Picture(const char* name) {
  return QIcon(QStringLiteral(":/preview/%1.svg").arg(QLatin1String(name)));
}

QFont ControlFont(int pixels) {
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPixelSize(pixels);
  return f;
}

QToolButton* SpeedButton(QWidget* parent, const char* name, int left, int top, const char* picture) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setGeometry(left, top, 23, 22);
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setIconSize(QSize(16, 16));
  if (picture) b->setIcon(Picture(picture));
  return b;
}

QLineEdit* MaskedEdit(QWidget* parent, const char* name, int left, const QString& mask) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QLatin1String(name));
  e->setGeometry(left, 1, 37, 21);
  e->setInputMask(mask);
  e->setMaxLength(5);
  // Not a tab stop: only a click puts the cursor there.
  e->setFocusPolicy(Qt::ClickFocus);
  return e;
}

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

TppPrintPreview::TppPrintPreview(QWidget* parent) : TppCustomPreviewer(parent) {
  RegisterPreviewPictures();
  setObjectName(QStringLiteral("ppPrintPreview"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setWindowIcon(Picture("janela"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  setFont(font);
  resize(547, 323);

  pnlPreviewBar = new QWidget(this);
  pnlPreviewBar->setObjectName(QStringLiteral("pnlPreviewBar"));
  pnlPreviewBar->setFixedHeight(26);
  const QFont buttons = ControlFont(12);
  QPalette black = palette();
  black.setColor(QPalette::ButtonText, Qt::black);
  black.setColor(QPalette::Text, Qt::black);
  spbPreviewPrint = SpeedButton(pnlPreviewBar, "spbPreviewPrint", 2, 2, "imprimir");
  spbAutoSearch = SpeedButton(pnlPreviewBar, "spbAutoSearch", 41, 2, "procurar");
  pnlStandardButtons = new QWidget(pnlPreviewBar);
  pnlStandardButtons->setObjectName(QStringLiteral("pnlStandardButtons"));
  pnlStandardButtons->setGeometry(80, 1, 417, 23);
  spbPreviewWhole = SpeedButton(pnlStandardButtons, "spbPreviewWhole", 0, 1, "pagina-inteira");
  spbPreviewWidth = SpeedButton(pnlStandardButtons, "spbPreviewWidth", 23, 1, "largura-pagina");
  spbPreview100Percent = SpeedButton(pnlStandardButtons, "spbPreview100Percent", 46, 1, "cem-por-cento");
  for (QToolButton* b : {spbPreviewWhole, spbPreviewWidth, spbPreview100Percent}) b->setCheckable(true);
  spbPreviewWhole->setChecked(true);
  mskPreviewPercentage = MaskedEdit(pnlStandardButtons, "mskPreviewPercentage", 87,
                                    QStringLiteral("000 %; "));
  spbPreviewFirst = SpeedButton(pnlStandardButtons, "spbPreviewFirst", 142, 1, "primeira");
  spbPreviewPrior = SpeedButton(pnlStandardButtons, "spbPreviewPrior", 165, 1, "anterior");
  mskPreviewPage = MaskedEdit(pnlStandardButtons, "mskPreviewPage", 191, QStringLiteral("00000; "));
  spbPreviewNext = SpeedButton(pnlStandardButtons, "spbPreviewNext", 232, 1, "proxima");
  spbPreviewLast = SpeedButton(pnlStandardButtons, "spbPreviewLast", 255, 1, "ultima");
  spbPreviewClose = new QToolButton(pnlStandardButtons);
  spbPreviewClose->setObjectName(QStringLiteral("spbPreviewClose"));
  spbPreviewClose->setGeometry(322, 1, 75, 22);
  spbPreviewClose->setToolButtonStyle(Qt::ToolButtonTextOnly);
  spbPreviewClose->setFocusPolicy(Qt::NoFocus);
  for (QWidget* w : pnlPreviewBar->findChildren<QWidget*>()) {
    if (w == pnlStandardButtons) continue;
    w->setFont(buttons);
    w->setPalette(black);
  }

  ppViewer1 = new TppViewer(this);
  ppViewer1->setObjectName(QStringLiteral("ppViewer1"));
  ppViewer1->SetZoomSetting(zsWholePage);
  ppViewer1->SetZoomPercentage(100);
  ppViewer1->SetZoomSetting(zsWholePage);
  ppViewer1->OnPageChange = [this](QObject*) { ppViewerPageChange(); };
  ppViewer1->OnPrintStateChange = [this](QObject*) { ppViewer1PrintStateChange(); };
  ppViewer1->OnStatusChange = [this](QObject*) { ppViewerStatusChange(); };
  ppViewer1->OnWorkEnd = [this](QObject*) { CloseIfPending(); };

  connect(spbPreviewPrint, &QToolButton::clicked, this, [this] { spbPreviewPrintClick(); });
  connect(spbAutoSearch, &QToolButton::clicked, this, [this] { spbAutoSearchClick(); });
  connect(spbPreviewWhole, &QToolButton::clicked, this, [this] { spbPreviewWholeClick(); });
  connect(spbPreviewWidth, &QToolButton::clicked, this, [this] { spbPreviewWidthClick(); });
  connect(spbPreview100Percent, &QToolButton::clicked, this,
          [this] { spbPreview100PercentClick(); });
  connect(spbPreviewFirst, &QToolButton::clicked, this, [this] { spbPreviewFirstClick(); });
  connect(spbPreviewPrior, &QToolButton::clicked, this, [this] { spbPreviewPriorClick(); });
  connect(spbPreviewNext, &QToolButton::clicked, this, [this] { spbPreviewNextClick(); });
  connect(spbPreviewLast, &QToolButton::clicked, this, [this] { spbPreviewLastClick(); });
  connect(spbPreviewClose, &QToolButton::clicked, this, [this] { spbPreviewCloseClick(); });
  mskPreviewPercentage->installEventFilter(this);
  mskPreviewPage->installEventFilter(this);

  FormCreate();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pnlPreviewBar);
  layout->addWidget(ppViewer1, 1);
  layout->addWidget(statusBar);
  LanguageChanged();
}

TppPrintPreview::~TppPrintPreview() {
  // The viewer's events would reach a window that is going.
  ppViewer1->OnPageChange = nullptr;
  ppViewer1->OnPrintStateChange = nullptr;
  ppViewer1->OnStatusChange = nullptr;
  ppViewer1->OnWorkEnd = nullptr;
}

void TppPrintPreview::FormCreate() {
  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("StatusBar"));
  statusBar->setSizeGripEnabled(false);
  statusText = new QLabel(statusBar);
  statusText->setObjectName(QStringLiteral("StatusText"));
  statusBar->addWidget(statusText, 1);
}

void TppPrintPreview::ReportAssigned() {
  if (TppProducer* report = Report()) ppViewer1->SetReport(report);
}

void TppPrintPreview::LanguageChanged() {
  spbAutoSearch->setToolTip(EngineMessage(msgSearch));
  spbPreviewPrint->setToolTip(EngineMessage(msgPrint));
  spbPreviewWhole->setToolTip(EngineMessage(msgWholePage));
  spbPreviewWidth->setToolTip(EngineMessage(msgPageWidth));
  spbPreview100Percent->setToolTip(EngineMessage(msg100Percent));
  spbPreviewFirst->setToolTip(EngineMessage(msgFirstPage));
  spbPreviewPrior->setToolTip(EngineMessage(msgPriorPage));
  spbPreviewNext->setToolTip(EngineMessage(msgNextPage));
  spbPreviewLast->setToolTip(EngineMessage(msgLastPage));
  spbPreviewClose->setText(EngineMessage(msgClose));
  setWindowTitle(EngineMessage(msgPrintPreview));
  // As wide as its caption in the default font of a new picture, and 30
  // more.
  TCanvas measure;
  spbPreviewClose->resize(measure.TextWidth(spbPreviewClose->text()) + 30,
                          spbPreviewClose->height());
}

void TppPrintPreview::FormShow() {
  if (TppProducer* report = Report()) {
    spbAutoSearch->setVisible(report->ShowAutoSearchDialog());
    if (spbAutoSearch->isHidden()) pnlStandardButtons->move(spbAutoSearch->x(), pnlStandardButtons->y());
  }
  spbPreviewWhole->setChecked(ppViewer1->ZoomSetting() == zsWholePage);
  spbPreviewWidth->setChecked(ppViewer1->ZoomSetting() == zsPageWidth);
  spbPreview100Percent->setChecked(ppViewer1->ZoomSetting() == zs100Percent);
}

void TppPrintPreview::showEvent(QShowEvent* event) {
  FormShow();
  TppCustomPreviewer::showEvent(event);
}

// ---------------------------------------------------------------------------
// The engine at work

bool TppPrintPreview::EngineAtWork() const {
  return activating_ > 0 || ppViewer1->IsBusy() || ppViewer1->Working();
}

void TppPrintPreview::RunActivateHook() {
  // Once per showing (the base sees to that), and never into work under
  // way or into a window that is closing.
  if (EngineAtWork() || closeWhenDone_) return;
  struct TActivating {
    int& depth;
    explicit TActivating(int& d) : depth(d) { ++depth; }
    ~TActivating() { --depth; }
  };
  {
    TActivating activating(activating_);
    TppCustomPreviewer::RunActivateHook();
  }
  CloseIfPending();
}

void TppPrintPreview::CloseWhenDone() {
  closeWhenDone_ = true;
  if (ppViewer1->IsBusy() || ppViewer1->Working()) {
    ppViewer1->CancelGeneration();
    DoCancel();
  }
}

void TppPrintPreview::CloseIfPending() {
  if (!closeWhenDone_ || EngineAtWork()) return;
  // From the event loop, once the calls that led here have returned.
  QTimer::singleShot(0, this, [this] {
    if (!closeWhenDone_ || EngineAtWork()) return;
    closeWhenDone_ = false;
    close();
  });
}

void TppPrintPreview::done(int result) {
  if (EngineAtWork()) {
    CloseWhenDone();
    return;
  }
  TppCustomPreviewer::done(result);
}

// ---------------------------------------------------------------------------
// Buttons

void TppPrintPreview::spbPreviewPrintClick() {
  if (!closeWhenDone_) ppViewer1->PrintShownReport();
}

void TppPrintPreview::spbAutoSearchClick() {
  if (!closeWhenDone_) ppViewer1->RunAutoSearch();
}

void TppPrintPreview::ShowCalculatedZoom() {
  mskPreviewPercentage->setText(QString::number(ppViewer1->CalculatedZoom()));
}

void TppPrintPreview::ZoomButtonClicked(QToolButton* button, TppZoomSettingType setting) {
  // One of the three is down at most; a button that was down comes up.
  if (button->isChecked())
    for (QToolButton* b : {spbPreviewWhole, spbPreviewWidth, spbPreview100Percent})
      if (b != button) b->setChecked(false);
  ppViewer1->SetZoomSetting(setting);
  ShowCalculatedZoom();
}

void TppPrintPreview::spbPreviewWholeClick() { ZoomButtonClicked(spbPreviewWhole, zsWholePage); }
void TppPrintPreview::spbPreviewWidthClick() { ZoomButtonClicked(spbPreviewWidth, zsPageWidth); }
void TppPrintPreview::spbPreview100PercentClick() {
  ZoomButtonClicked(spbPreview100Percent, zs100Percent);
}

void TppPrintPreview::spbPreviewFirstClick() { ppViewer1->GoFirstPage(); }
void TppPrintPreview::spbPreviewPriorClick() { ppViewer1->GoPriorPage(); }
void TppPrintPreview::spbPreviewNextClick() { ppViewer1->GoNextPage(); }
void TppPrintPreview::spbPreviewLastClick() { ppViewer1->GoLastPage(); }

void TppPrintPreview::spbPreviewCloseClick() {
  if (ppViewer1->IsBusy()) {
    ppViewer1->CancelGeneration();
    DoCancel();
    return;
  }
  close();
}

QString TppPrintPreview::MaskedDigits(const QLineEdit* edit) {
  QString digits;
  for (const QChar c : edit->text())
    if (c.isDigit()) digits += c;
  return digits;
}

void TppPrintPreview::mskPreviewPercentageKeyPress(QChar key) {
  if (key != QLatin1Char('\r')) return;
  bool ok = false;
  int percent = MaskedDigits(mskPreviewPercentage).toInt(&ok);
  if (!ok) percent = 100;
  ppViewer1->SetZoomPercentage(percent);
  for (QToolButton* b : {spbPreviewWhole, spbPreviewWidth, spbPreview100Percent})
    b->setChecked(false);
  ShowCalculatedZoom();
}

void TppPrintPreview::mskPreviewPageKeyPress(QChar key) {
  if (key != QLatin1Char('\r')) return;
  const QString text = MaskedDigits(mskPreviewPage);
  bool ok = false;
  const int page = text.toInt(&ok);
  if (!ok) {
    Dialogs().Warning(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return;
  }
  if (!closeWhenDone_) ppViewer1->GoToPage(page);
}

// ---------------------------------------------------------------------------
// The viewer's events

void TppPrintPreview::ppViewerPageChange() {
  mskPreviewPage->setText(QString::number(ppViewer1->CurrentPageNo()));
  ShowCalculatedZoom();
}

void TppPrintPreview::ppViewerStatusChange() { statusText->setText(ppViewer1->StatusText()); }

void TppPrintPreview::ppViewer1PrintStateChange() {
  const bool busy = ppViewer1->IsBusy();
  mskPreviewPercentage->setEnabled(!busy);
  mskPreviewPage->setEnabled(!busy);
  if (busy) {
    pnlPreviewBar->setCursor(Qt::WaitCursor);
    ppViewer1->setCursor(Qt::WaitCursor);  // the paint box takes the viewer's cursor
    statusBar->setCursor(Qt::WaitCursor);
    spbPreviewClose->setCursor(Qt::ArrowCursor);
    spbPreviewClose->setText(EngineMessage(msgCancel));
  } else {
    pnlPreviewBar->unsetCursor();
    ppViewer1->unsetCursor();
    statusBar->unsetCursor();
    spbPreviewClose->unsetCursor();
    spbPreviewClose->setText(EngineMessage(msgClose));
  }
  // The new cursor shows at once, without waiting for the mouse to move.
  QCursor::setPos(QCursor::pos());
  if (!busy) CloseIfPending();
}

// ---------------------------------------------------------------------------
// Keys

void TppPrintPreview::FormKeyDown(int& key, TShiftState shift) {
  if (shift & ssCtrl) {
    switch (key) {
      case Qt::Key_PageUp: ppViewer1->GoPriorPage(); break;
      case Qt::Key_PageDown: ppViewer1->GoNextPage(); break;
      case Qt::Key_End: ppViewer1->GoLastPage(); break;
      case Qt::Key_Home: ppViewer1->GoFirstPage(); break;
      default: break;
    }
    return;
  }
  QScrollArea* box = ppViewer1->ScrollBox();
  QScrollBar* v = box->verticalScrollBar();
  QScrollBar* h = box->horizontalScrollBar();
  switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_Up: v->setValue(v->value() - box->height()); break;
    case Qt::Key_PageDown:
    case Qt::Key_Down: v->setValue(v->value() + box->height()); break;
    case Qt::Key_Left: h->setValue(h->value() - box->width()); break;
    case Qt::Key_Right: h->setValue(h->value() + box->width()); break;
    default: break;
  }
}

void TppPrintPreview::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  // A key an edit box passed on was handled when the box got it.
  if (!forwardingKey_) FormKeyDown(key, ShiftStateFrom(event->modifiers(), Qt::NoButton));
  // Escape is no way out of this window: it closes by its button, its
  // close box or Alt+F4.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  TppCustomPreviewer::keyPressEvent(event);
}

bool TppPrintPreview::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (event->type() != QEvent::KeyPress || (edit != mskPreviewPercentage && edit != mskPreviewPage))
    return TppCustomPreviewer::eventFilter(watched, event);
  // The box's own copy of a key handled below.
  if (forwardingKey_) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  int code = key->key();
  FormKeyDown(code, ShiftStateFrom(key->modifiers(), Qt::NoButton));
  if (IsEnter(key->key())) {
    if (edit == mskPreviewPercentage)
      mskPreviewPercentageKeyPress(QLatin1Char('\r'));
    else
      mskPreviewPageKeyPress(QLatin1Char('\r'));
    return true;
  }
  // The box has the key too.  A key the box does not use travels on to
  // the window, which must not act on it again: turning a page disables
  // the box meanwhile and takes the focus from it, so the window cannot
  // tell by the focus where the key came from.
  const std::unique_ptr<QKeyEvent> copy(key->clone());
  forwardingKey_ = true;
  QCoreApplication::sendEvent(edit, copy.get());
  forwardingKey_ = false;
  // Its way through the box and on to the window is over.
  key->accept();
  return true;
}
