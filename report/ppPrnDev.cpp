// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppPrnDev.h"

#include "platform/Canvas.h"
#include "report/ppDrwCmd.h"
#include "report/ppProd.h"
#include "report/ppUtils.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>

namespace {
TppCalibrationSource& CalibrationSource() {
  static TppCalibrationSource source;
  return source;
}
}  // namespace

void SetPrinterCalibrationSource(TppCalibrationSource source) { CalibrationSource() = std::move(source); }
bool HasPrinterCalibrationSource() { return bool(CalibrationSource()); }

TPrinterCalibration TppPrinterDevice::CalibrationForJob() const {
  // A file or an export is the document itself, never the paper of one
  // printer.
  if (!printer_->OutputFileName().isEmpty() || printer_->Exporter()) return {};
  std::optional<TPrinterCalibration> c = CalibrationOverride;
  if (!c && CalibrationSource()) c = CalibrationSource()(PrinterList()->ResolveName(printer_->PrinterName()));
  return c && CalibrationIsSound(*c) ? *c : TPrinterCalibration();
}

void TppPrinterDevice::ApplyCalibration(const TppPage& page) {
  TPrinterContext* dc = printer_->DC();
  QPainter* p = dc ? dc->Painter() : nullptr;
  if (!p || calibration_.IsIdentity()) return;
  int ppiX = 0, ppiY = 0;
  printer_->PixelsPerInch(ppiX, ppiY);
  TPrinterCalibration c = calibration_;
  if (page.PrinterSetup() && page.PrinterSetup()->Orientation() == poLandscape) {
    // The calibration was measured on the upright sheet, which a landscape
    // page lies on turned a quarter counter-clockwise: page point (x, y)
    // is sheet point (y, L - x), L the page's width.  In the page's own
    // terms the offsets and scales trade places.
    const double length = dc->Metrics().PhysicalWidth * 25.4 / std::max(1, ppiX);
    c.OffsetX = (1 - calibration_.ScaleY) * length - calibration_.OffsetY;
    c.OffsetY = calibration_.OffsetX;
    c.ScaleX = calibration_.ScaleY;
    c.ScaleY = calibration_.ScaleX;
  }
  // The painter's origin is the printable area's corner, (-offsetX_,
  // -offsetY_) paper pixels from the paper's: a paper point P goes to
  // D + S * P, that is painter point q to S * q + D + (S - 1) * O.
  const double ox = -offsetX_, oy = -offsetY_;
  const double dx = c.OffsetX / 25.4 * ppiX, dy = c.OffsetY / 25.4 * ppiY;
  p->translate(dx + (c.ScaleX - 1) * ox, dy + (c.ScaleY - 1) * oy);
  p->scale(c.ScaleX, c.ScaleY);
}

TppPrinterDevice::TppPrinterDevice(TComponent* owner)
    : TppRasterDevice(owner), printer_(std::make_unique<TppPrinter>()) {}

TppPrinterDevice::~TppPrinterDevice() {
  // A device that goes mid-document prints nothing of it.
  if (printer_->Printing()) printer_->AbortDoc();
}

QString TppPrinterDevice::TargetName() const {
  if (!printer_->OutputFileName().isEmpty()) return QFileInfo(printer_->OutputFileName()).fileName();
  return PrinterList()->ResolveName(printer_->PrinterName());
}

void TppPrinterDevice::Fail(const QString& reason) {
  printer_->AbortDoc();
  aborted_ = true;
  inDocument_ = false;
  canvas_ = nullptr;
  TppDevice::JobCancelled();
  throw EPrintError(reason);
}

void TppPrinterDevice::FailDocument() {
  QString reason;
  if (!printer_->OutputFileName().isEmpty())
    reason = EngineMessage(msgFileNotWritten, {printer_->OutputFileName()});
  else if (!printer_->DC() && !printer_->Printing())
    reason = EngineMessage(msgPrinterSetupProblem);
  else
    reason = EngineMessage(msgPrinterRefused, {TargetName()});
  const QString why = printer_->ErrorText();
  if (!why.isEmpty()) reason += QLatin1Char(' ') + why;
  Fail(reason);
}

void TppPrinterDevice::JobStarted() {
  if (Busy()) return;
  TppDevice::JobStarted();
  firstPage_ = true;
  collatedCopies_ = 1;
  lastPageKnown_ = false;
  SetStatus(EngineMessage(msgAccessingData));
  if (OpensDocument) {
    aborted_ = false;
    // A document left open by the jobs before is ended first: its pages
    // were asked for.
    if (printer_->Printing() && !printer_->EndDoc()) FailDocument();
    pagesPrinted_ = 0;
    inDocument_ = true;
  } else if (!aborted_ && !inDocument_) {
    // Nothing under way to continue: this job starts the document.
    pagesPrinted_ = 0;
    inDocument_ = true;
  }
  // The printer's document itself is begun with the first page printed
  // (StartPrinterPage), so that the job is made with that page's paper,
  // tray, sides and queue options: those of the pages actually printed,
  // whatever setup the device was given.
  canvas_ = aborted_ ? nullptr : printer_->Canvas();
}

void TppPrinterDevice::UpdateStatus(const TppPage& page) {
  if (page.LastPage) lastPageKnown_ = true;
  // A page that is passed over while the count is unknown leaves the text.
  if (SkipPage() && !lastPageKnown_) return;
  const QString page_ = QString::number(page.AbsolutePageNo);
  if (lastPageKnown_)
    SetStatus(EngineMessage(msgPrintingPageOf, {page_, QString::number(page.AbsolutePageCount),
                                                page.DocumentName, TargetName()}));
  else
    SetStatus(EngineMessage(msgPrintingPage, {page_, page.DocumentName, TargetName()}));
}

void TppPrinterDevice::AcceptPage(TppPage& page) {
  TppDevice::AcceptPage(page);
  if (!Busy() || !PageIsRequested() || aborted_) return;
  UpdateStatus(page);
  if (SkipPage()) return;
  // The copies come from the page's own setup, that of the report printed.
  const TppPrinterSetup* setup = page.PrinterSetup();
  const int n = setup->Collation() ? 1 : std::max(1, setup->Copies());
  for (int i = 0; i < n; ++i) {
    StartPrinterPage(page);
    DrawPage(page);
    EndPrinterPage();
  }
}

void TppPrinterDevice::StartPrinterPage(TppPage& page) {
  const TppPrinterSetup* setup = page.PrinterSetup();
  if (firstPage_) {
    firstPage_ = false;
    if (setup->Collation()) collatedCopies_ = std::max(1, setup->Copies());
  }
  // Every page carries its own paper, orientation, tray and sides; where
  // the document goes (the printer, the file) and its name stay as the
  // device was given them, and the paper is looked up on that printer.
  TppPrinterSetup pageSetup;
  pageSetup.Assign(*setup);
  pageSetup.SetNotificationsEnabled(false);
  pageSetup.SetPrinterName(printer_->PrinterName());
  pageSetup.SetNotificationsEnabled(true);
  pageSetup.SetOutputFileName(printer_->OutputFileName());
  pageSetup.SetDocumentName(printer_->DocumentName());
  printer_->ApplySetup(pageSetup);
  if (!printer_->Printing() && !printer_->BeginDoc()) FailDocument();
  if (!printer_->StartPage()) FailDocument();
  int left = 0, top = 0, right = 0, bottom = 0;
  printer_->PageOffsets(left, top, right, bottom);
  offsetX_ = -left;
  offsetY_ = -top;
  calibration_ = CalibrationForJob();
  SetPageBoxes(page);
  ApplyCalibration(page);
  if (OnStartPage) OnStartPage(this);
}

void TppPrinterDevice::SetPageBoxes(const TppPage& page) {
  TPrinterContext* dc = printer_->DC();
  if (!dc) return;
  auto exact = [this](const TppRect& r) {
    return r.Right > r.Left && r.Bottom > r.Top ? ExactRectOf(r) : QRectF();
  };
  dc->SetPageBoxes(exact(page.TrimBox), exact(page.BleedBox));
}

void TppPrinterDevice::EndPrinterPage() {
  if (!printer_->EndPage()) FailDocument();
  ++pagesPrinted_;
  if (OnEndPage) OnEndPage(this);
}

bool TppPrinterDevice::NextCopy() {
  if (collatedCopies_ <= 1) return true;
  --collatedCopies_;
  // The whole report again, inside the same document.
  RewindRequest();
  AskForPages();
  return false;
}

void TppPrinterDevice::JobEnded() {
  if (!Busy()) return;
  if (!aborted_ && !NextCopy()) return;
  if (ClosesDocument && !aborted_) {
    inDocument_ = false;
    if (printer_->Printing()) {
      if (!printer_->EndDoc()) FailDocument();
    } else {
      // Not one page was asked for among those the document's reports
      // have: nothing was printed, and that is no success.
      Fail(EngineMessage(msgNoPagesToPrint));
    }
  }
  canvas_ = nullptr;
  TppDevice::JobEnded();
}

void TppPrinterDevice::JobCancelled() {
  // Thrown away, not ended: nothing of a cancelled document is printed.
  if (printer_->Printing()) {
    printer_->AbortDoc();
    aborted_ = true;
  }
  if (Busy()) aborted_ = true;
  inDocument_ = false;
  canvas_ = nullptr;
  TppDevice::JobCancelled();
}

// ---------------------------------------------------------------------------
// Drawing

TppRect TppPrinterDevice::DeviceRectOf(const TppRect& r) {
  TppPrinter* p = printer_.get();
  auto px = [p](int mm, TppDirection d) {
    return ppTrunc(MMThousandthsToUnits(mm, utPrinterPixels, d, p));
  };
  return {px(r.Left, dirHorizontal) + offsetX_, px(r.Top, dirVertical) + offsetY_,
          px(r.Right, dirHorizontal) + offsetX_, px(r.Bottom, dirVertical) + offsetY_};
}

QRectF TppPrinterDevice::ExactRectOf(const TppRect& r) {
  int ppiX = 0, ppiY = 0;
  printer_->PixelsPerInch(ppiX, ppiY);
  auto x = [&](int mm) { return double(MMThousandthsToPixels(mm, ppiX)) + offsetX_; };
  auto y = [&](int mm) { return double(MMThousandthsToPixels(mm, ppiY)) + offsetY_; };
  return QRectF(QPointF(x(r.Left), y(r.Top)), QPointF(x(r.Right), y(r.Bottom)));
}

void TppPrinterDevice::ComputeDeviceRect(TppDrawCommand* c) {
  c->DeviceRect = DeviceRectOf({c->Left, c->Top, c->Left + c->Width, c->Top + c->Height});
}

void TppPrinterDevice::BeginClip(TppDrawCommand* c) {
  if (!canvas_) return;
  const TppRect r = DeviceRectOf(c->ClipRect);
  const TppRect h = DeviceRectOf(c->ClipHole);
  const bool hole = c->ClipHole.Right > c->ClipHole.Left && c->ClipHole.Bottom > c->ClipHole.Top;
  canvas_->SetOuterClip(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), c->ClipEllipse,
                        hole ? QRect(h.Left, h.Top, h.Right - h.Left, h.Bottom - h.Top) : QRect());
}

void TppPrinterDevice::EndClip(TppDrawCommand*) {
  if (canvas_) canvas_->RemoveOuterClip();
}

bool TppPrinterDevice::RenderCommand(TppDrawCommand* command) {
  if (!canvas_) return false;
  ComputeDeviceRect(command);
  if (auto* text = dynamic_cast<TppDrawText*>(command)) {
    DrawText(text);
  } else if (auto* shape = dynamic_cast<TppDrawShape*>(command)) {
    DrawShape(shape);
  } else if (auto* line = dynamic_cast<TppDrawLine*>(command)) {
    DrawLine(line);
  } else if (auto* image = dynamic_cast<TppDrawImage*>(command)) {
    DrawImage(image);
  } else {
    return false;
  }
  return true;
}

double TppPrinterDevice::PerDesignPixel() {
  return MMThousandthsToUnits(DesignPixelsToMMThousandths(1000), utPrinterPixels, dirHorizontal,
                              printer_.get()) /
         1000.0;
}

std::optional<TppDrawingContext> TppPrinterDevice::DrawingFor(TppDrawCommand* command) {
  if (!canvas_ || !command || !canvas_->Painter()) return std::nullopt;
  ComputeDeviceRect(command);
  int ppiX = 0, ppiY = 0;
  printer_->PixelsPerInch(ppiX, ppiY);
  TppDrawingContext d;
  d.Canvas = canvas_;
  d.DeviceRect = RectOf(command->DeviceRect);
  d.ExactRect = ExactRectOf(
      {command->Left, command->Top, command->Left + command->Width, command->Top + command->Height});
  d.PixelsPerInch = ppiY;
  d.Scale = 1;
  d.PageToDevice = [this](const TppRect& mm) { return RectOf(DeviceRectOf(mm)); };
  return d;
}

void TppPrinterDevice::DrawShape(TppDrawShape* c) {
  TppPrinter* p = printer_.get();
  PaintShape(*canvas_, *c, RectOf(c->DeviceRect), PerDesignPixel(),
             ppTrunc(MMThousandthsToUnits(c->XCornerRound, utPrinterPixels, dirHorizontal, p)),
             ppTrunc(MMThousandthsToUnits(c->YCornerRound, utPrinterPixels, dirVertical, p)));
}

void TppPrinterDevice::DrawLine(TppDrawLine* c) {
  int ppiX = 0, ppiY = 0;
  printer_->PixelsPerInch(ppiX, ppiY);
  const bool vertical = c->LinePosition == lpLeft || c->LinePosition == lpRight;
  const int ppi = vertical ? ppiX : ppiY;
  const int thickness = std::max(1, ppRound(c->Weight * ppi / 72.0L));
  PaintEdgeLines(*canvas_, *c, RectOf(c->DeviceRect), thickness, 2 * thickness);
}

void TppPrinterDevice::DrawText(TppDrawText* c) {
  TCanvas* canvas = canvas_;
  // The printer canvas lays text out at the font's point size, scaled to
  // its resolution.
  canvas->SetFont(c->Font);
  const TTextMetric m = canvas->TextMetrics();
  const int lineHeight =
      m.Height +
      (c->IsMemo ? ppTrunc(MMThousandthsToUnits(c->Leading, utPrinterPixels, dirVertical,
                                                printer_.get()))
                 : m.ExternalLeading);
  QRect r = RectOf(c->DeviceRect);
  if (c->AutoSize && !c->WordWrap && !c->Text.isEmpty() && r.height() < lineHeight)
    r.setHeight(lineHeight);
  PaintText(*canvas, *c, r, lineHeight, TextLines(*c), TppTextOutput());
}

void TppPrinterDevice::DrawImage(TppDrawImage* c) {
  const TPicture& picture = c->Picture();
  if (picture.Empty()) return;
  if (PictureSourceOf(*c) == psBitmap)
    DrawBitmapImage(c);
  else if (c->DirectDraw)
    DrawDirectImage(c);
  else
    DrawOffscreenImage(c);
}

void TppPrinterDevice::DrawBitmapImage(TppDrawImage* c) {
  PaintPicture(*canvas_, *c, psBitmap, ExactRectOf(BoxOf(*c)));
}

void TppPrinterDevice::DrawDirectImage(TppDrawImage* c) {
  PaintPicture(*canvas_, *c, psGraphic, ExactRectOf(BoxOf(*c)));
}

void TppPrinterDevice::DrawOffscreenImage(TppDrawImage* c) {
  // Drawings and icons go straight to the page (a drawing stays a drawing
  // in the document); a transparent one is drawn with its white let
  // through.
  PaintPicture(*canvas_, *c, psGraphic, ExactRectOf(BoxOf(*c)));
}

// ---------------------------------------------------------------------------
// Several reports in one document

namespace {

// Puts the reports' copies and collation back however the run ends.
class TSetupsRestorer {
 public:
  explicit TSetupsRestorer(const std::vector<TppProducer*>& reports) {
    for (TppProducer* r : reports) {
      auto copy = std::make_unique<TppPrinterSetup>();
      copy->Assign(*r->PrinterSetup());
      saved_.emplace_back(r, std::move(copy));
    }
  }
  ~TSetupsRestorer() {
    for (auto& [report, setup] : saved_) {
      report->PrinterSetup()->SetCopies(setup->Copies());
      report->PrinterSetup()->SetCollation(setup->Collation());
    }
  }
  TSetupsRestorer(const TSetupsRestorer&) = delete;
  TSetupsRestorer& operator=(const TSetupsRestorer&) = delete;

 private:
  std::vector<std::pair<TppProducer*, std::unique_ptr<TppPrinterSetup>>> saved_;
};

class TDeviceRestorer {
 public:
  explicit TDeviceRestorer(TppPrinterDevice& d)
      : d_(d), opens_(d.OpensDocument), closes_(d.ClosesDocument), publisher_(d.Publisher()) {}
  ~TDeviceRestorer() {
    d_.OpensDocument = opens_;
    d_.ClosesDocument = closes_;
    d_.AttachPublisher(publisher_);
  }
  TDeviceRestorer(const TDeviceRestorer&) = delete;
  TDeviceRestorer& operator=(const TDeviceRestorer&) = delete;

 private:
  TppPrinterDevice& d_;
  bool opens_, closes_;
  TppPublisher* publisher_;
};

}  // namespace

QString PrintProblemsMessage(const QStringList& problems) {
  return EngineMessage(msgObjectsNotPrinted) + QLatin1Char('\n') + problems.join(QLatin1Char('\n'));
}

bool PrintReports(TppPrinterDevice& device, const std::vector<TppProducer*>& reports, int copies,
                  bool collate, QStringList* problems) {
  if (problems) problems->clear();
  if (reports.empty()) throw EPrintError(EngineMessage(msgNoPagesToPrint));
  copies = std::max(1, copies);
  TSetupsRestorer setups(reports);
  TDeviceRestorer restore(device);
  // Collated: the whole list `copies` times.  Not collated: once, each
  // page `copies` times in a row.
  for (TppProducer* r : reports) {
    r->PrinterSetup()->SetCollation(false);
    r->PrinterSetup()->SetCopies(collate ? 1 : copies);
  }
  const int rounds = collate ? copies : 1;
  const int jobs = rounds * int(reports.size());
  int job = 0;
  for (int round = 0; round < rounds; ++round) {
    for (TppProducer* r : reports) {
      device.OpensDocument = job == 0;
      device.ClosesDocument = job == jobs - 1;
      device.AttachPublisher(r->Publisher());
      r->GenerateToDevices();
      device.AttachPublisher(nullptr);
      if (device.Aborted()) return false;
      if (problems) {
        // The same object fails in every copy: told once.
        for (const QString& p : r->GenerationProblems() + device.DrawProblems())
          if (!problems->contains(p)) problems->append(p);
      }
      ++job;
    }
  }
  return true;
}
