// SPDX-License-Identifier: GPL-3.0-or-later
// TppViewer: the scroll box, the paint box that shows the device's page
// picture, zoom, navigation, clicks and printing of the report shown.
#include "reportforms/ppViewr.h"

#include "platform/Dialogs.h"
#include "report/ppDrwCmd.h"
#include "report/ppPrnDev.h"
#include "report/ppProd.h"
#include "report/ppUtils.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

// The surface the page picture is shown on: painting copies the part asked
// for from the picture, nothing is drawn here.
class TppPaintBox : public QWidget {
 public:
  TppPaintBox(TppViewer* viewer, QWidget* parent) : QWidget(parent), viewer_(viewer) {
    setObjectName(QStringLiteral("PaintBox"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    const QRect clip = event->rect();
    p.fillRect(clip, FixedPaletteColor(clBtnShadow));
    p.drawImage(clip.topLeft(), viewer_->ScreenDevice()->PageImage(), clip);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    viewer_->PaintBoxMouseMove(event->position().toPoint());
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) viewer_->PaintBoxMouseDown(event->position().toPoint());
  }

 private:
  TppViewer* viewer_;
};

class TppViewer::TWork {
 public:
  explicit TWork(TppViewer* viewer) : viewer_(viewer) { ++viewer_->working_; }
  ~TWork() {
    if (--viewer_->working_ == 0) viewer_->Fire(viewer_->OnWorkEnd);
  }
  TWork(const TWork&) = delete;
  TWork& operator=(const TWork&) = delete;

 private:
  TppViewer* viewer_;
};

TppViewer::TppViewer(QWidget* parent)
    : QFrame(parent), device_(std::make_unique<TppScreenDevice>()) {
  setObjectName(QStringLiteral("ppViewer"));
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setFocusPolicy(Qt::NoFocus);
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPointSize(8);
  setFont(f);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, FixedPaletteColor(clBtnShadow));
  pal.setColor(QPalette::WindowText, FixedPaletteColor(clBtnShadow));
  setPalette(pal);
  setAutoFillBackground(true);
  resize(320, 120);

  device_->SetViewer(this);
  device_->OnJobStarted = [this](TComponent*) { Fire(OnPrintStateChange); };
  device_->OnJobEnded = [this](TComponent*) { Fire(OnPrintStateChange); };
  device_->OnCancelJob = [this](TComponent*) { Fire(OnPrintStateChange); };
  device_->StatusReceiver = [this](const QString&) { Fire(OnStatusChange); };
  device_->OnPublisherChange = [this](TComponent*) {
    // The report's publisher went with the report.
    if (!device_->Publisher() && !detaching_) report_ = nullptr;
  };

  scrollBox_ = new QScrollArea(this);
  scrollBox_->setObjectName(QStringLiteral("ScrollBox"));
  scrollBox_->setFrameShape(QFrame::NoFrame);
  scrollBox_->setFocusPolicy(Qt::NoFocus);
  scrollBox_->setWidgetResizable(false);
  scrollBox_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  scrollBox_->viewport()->setAutoFillBackground(true);
  scrollBox_->viewport()->setPalette(pal);
  scrollBox_->horizontalScrollBar()->setTracking(true);
  scrollBox_->verticalScrollBar()->setTracking(true);
  paintBox_ = new TppPaintBox(this, nullptr);
  scrollBox_->setWidget(paintBox_);
  ready_ = true;
  LayOut();
}

TppViewer::~TppViewer() {
  destroying_ = true;
  device_->OnJobStarted = nullptr;
  device_->OnJobEnded = nullptr;
  device_->OnCancelJob = nullptr;
  device_->StatusReceiver = nullptr;
  device_->OnPublisherChange = nullptr;
  device_->SetViewer(nullptr);
  device_.reset();
}

QWidget* TppViewer::PaintBox() const { return paintBox_; }

TppProducer* TppViewer::Report() const { return report_.Get(); }

void TppViewer::Fire(const TNotifyEvent& event) {
  if (event && !destroying_) event(this);
}

void TppViewer::SetReport(TppProducer* report) {
  report_ = report;
  device_->lastPageNo_ = 0;
  detaching_ = true;
  device_->AttachPublisher(report ? report->Publisher() : nullptr);
  detaching_ = false;
}

// ---------------------------------------------------------------------------
// Zoom, size and scrolling

void TppViewer::SetZoomSetting(TppZoomSettingType value) {
  zoomSetting_ = value;
  if (!ready_) return;
  if (!isVisible()) {
    stale_ = true;
    update();
    return;
  }
  lastZoomApplied_ = value;
  paintBox_->hide();
  device_->RenderPage();
  resetScroll_ = true;
  UpdateScrollBars();
  paintBox_->show();
  paintBox_->update();
  stale_ = false;
}

void TppViewer::SetZoomPercentage(int value) {
  zoomPercentage_ = std::min(value, 250);
  SetZoomSetting(zsPercentage);
}

void TppViewer::LayOut() { scrollBox_->setGeometry(contentsRect()); }

void TppViewer::UpdateScrollBars() {
  if (!ready_) return;
  const QSize picture = device_->PageImage().size();
  const QSize box = scrollBox_->size();
  // A bar shows where the picture is larger than the box; elsewhere the
  // paint box just fills the box.
  const bool horizontal = box.width() < picture.width();
  const bool vertical = box.height() < picture.height();
  scrollBox_->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
  scrollBox_->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  // The viewport's size once the bars are in place.
  int viewportWidth = box.width(), viewportHeight = box.height();
  if (vertical) viewportWidth -= scrollBox_->verticalScrollBar()->sizeHint().width();
  if (horizontal) viewportHeight -= scrollBox_->horizontalScrollBar()->sizeHint().height();
  paintBox_->resize(horizontal ? picture.width() : std::max(1, viewportWidth),
                    vertical ? picture.height() : std::max(1, viewportHeight));
  if (resetScroll_) {
    scrollBox_->horizontalScrollBar()->setValue(0);
    scrollBox_->verticalScrollBar()->setValue(0);
    resetScroll_ = false;
  }
}

void TppViewer::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  if (destroying_ || !ready_) return;
  LayOut();
  device_->RenderPage();
  UpdateScrollBars();
  Fire(OnPageChange);
  paintBox_->update();
  if (lastZoomApplied_ == zsPageWidth) paintBox_->repaint();
}

void TppViewer::showEvent(QShowEvent* event) {
  QFrame::showEvent(event);
  if (!stale_) return;
  stale_ = false;
  lastZoomApplied_ = zoomSetting_;
  device_->RenderPage();
  resetScroll_ = true;
  UpdateScrollBars();
  paintBox_->update();
}

// ---------------------------------------------------------------------------
// State

int TppViewer::CurrentPageNo() const { return device_->CurrentPage().AbsolutePageNo; }
int TppViewer::CalculatedZoom() const { return device_->ZoomPercent(); }
QString TppViewer::StatusText() const { return device_->StatusText(); }
bool TppViewer::IsBusy() const { return device_->Busy(); }

// ---------------------------------------------------------------------------
// Navigation

void TppViewer::AskForPages() {
  TWork work(this);
  try {
    device_->AskForPages();
  } catch (const Exception& e) {
    Dialogs().Warning(e.Message);
  }
}

void TppViewer::Request(const TppPageRequest& request) {
  device_->SetPageRequest(request);
  AskForPages();
}

void TppViewer::GoToPage(int pageNo) {
  if (!Idle() || pageNo == CurrentPageNo()) return;
  TppPageRequest r;
  r.PageSetting = psSinglePage;
  r.PageRequested = pageNo;
  Request(r);
}

void TppViewer::GoNextPage() {
  if (device_->CurrentPage().LastPage) return;
  GoToPage(CurrentPageNo() + 1);
}

void TppViewer::GoPriorPage() {
  if (CurrentPageNo() == 1) return;
  GoToPage(CurrentPageNo() - 1);
}

void TppViewer::GoFirstPage() {
  if (!Idle() || CurrentPageNo() == 1) return;
  TppPageRequest r;
  r.PageSetting = psFirstPage;
  Request(r);
}

void TppViewer::GoLastPage() {
  if (!Idle() || device_->CurrentPage().LastPage) return;
  TppPageRequest r;
  r.PageSetting = psLastPage;
  Request(r);
}

void TppViewer::CancelGeneration() {
  if (TppProducer* r = Report()) r->Cancel();
}

void TppViewer::RunAutoSearch() {
  // A search dialog belongs to reports that read data; this program's
  // reports have none to search, so there is nothing to ask and nothing to
  // make again.
  if (!Idle() || !Report() || !Report()->ShowAutoSearchDialog()) return;
}

// ---------------------------------------------------------------------------
// Printing the report shown

void TppViewer::PrintShownReport() {
  TppProducer* report = Report();
  if (!report || !Idle()) return;
  TWork work(this);
  // The print path uses a printer device of its own: the screen leaves the
  // publisher meanwhile.
  detaching_ = true;
  device_->AttachPublisher(nullptr);
  detaching_ = false;
  report->SetCurrentPageNo(CurrentPageNo() > 0 ? CurrentPageNo() : 1);
  const QString deviceType = report->DeviceType();
  TppPrinterSetup saved;
  saved.Assign(*report->PrinterSetup());
  const bool search = report->ShowAutoSearchDialog();
  report->SetShowAutoSearchDialog(false);
  report->SetDeviceType(QStringLiteral("Printer"));
  QString failure;
  if (report->DeviceType() == QLatin1String("Printer")) {
    try {
      report->Print();
      // Told once the job is out: what did not print.
      if (!report->PrintProblems().isEmpty()) failure = PrintProblemsMessage(report->PrintProblems());
    } catch (const Exception& e) {
      failure = e.Message;
    } catch (const std::exception& e) {
      failure = QString::fromLocal8Bit(e.what());
    }
  } else {
    // The program registers the printer device when it starts; without it
    // there is nothing to print with.
    failure = EngineMessage(msgPrinterSetupProblem);
  }
  report->SetDeviceType(deviceType);
  report->SetShowAutoSearchDialog(search);
  device_->AttachPublisher(report->Publisher());
  if (!failure.isEmpty()) Dialogs().Warning(failure);
  // Another printer, paper or orientation chosen for the print: the
  // preview shows the pages as they now come out.
  if (!report->PrinterSetup()->EqualTo(saved)) {
    device_->ResetRequest();
    AskForPages();
  }
}

// ---------------------------------------------------------------------------
// Clicks and hovering

void TppViewer::PaintBoxMouseMove(const QPoint& p) {
  // The hand over what can be clicked; elsewhere the viewer's own cursor,
  // which the paint box takes from it.
  if (device_->HitTest(p))
    paintBox_->setCursor(Qt::PointingHandCursor);
  else
    paintBox_->unsetCursor();
}

void TppViewer::PaintBoxMouseDown(const QPoint& p) {
  if (!Idle()) return;
  TppDrawCommand* command = device_->HitTest(p);
  if (!command) return;
  const TComponentRef<TppDrawCommand> ref(command);
  {
    TWork work(this);
    command->Click();
  }
  TppDrawCommand* clicked = ref.Get();
  if (!clicked || !clicked->RedrawPage) return;
  clicked->RedrawPage = false;
  TppPageRequest r;
  r.PageSetting = psSinglePage;
  r.PageRequested = CurrentPageNo();
  Request(r);
  // What lies under the pointer is looked at again.
  const QPoint at = QCursor::pos();
  QCursor::setPos(at - QPoint(1, 1));
  ProcessMessages();
  QCursor::setPos(at);
  ProcessMessages();
}
