#include "report/ppPrnDev.h"

#include "platform/Canvas.h"
#include "report/ppDrwCmd.h"
#include "report/ppProd.h"
#include "report/ppUtils.h"

#include <QFileInfo>
#include <algorithm>

TppPrinterDevice::TppPrinterDevice(TComponent* owner)
    : TppDevice(owner), printer_(std::make_unique<TppPrinter>()) {}

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
    pagesPrinted_ = 0;
    // A document left open by the jobs before is ended first: its pages
    // were asked for.
    if (printer_->Printing() && !printer_->EndDoc()) FailDocument();
    if (!printer_->BeginDoc()) FailDocument();
  } else if (!aborted_ && !printer_->Printing()) {
    // Nothing open to continue: this job opens the document.
    pagesPrinted_ = 0;
    if (!printer_->BeginDoc()) FailDocument();
  }
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
  // Every page carries its own paper and orientation; where the document
  // goes (the printer, the file) stays as it was opened, and the paper is
  // looked up on that printer.
  TppPrinterSetup pageSetup;
  pageSetup.Assign(*setup);
  pageSetup.SetNotificationsEnabled(false);
  pageSetup.SetPrinterName(printer_->PrinterName());
  pageSetup.SetNotificationsEnabled(true);
  pageSetup.SetOutputFileName(printer_->OutputFileName());
  printer_->ApplySetup(pageSetup);
  if (!printer_->StartPage()) FailDocument();
  int left = 0, top = 0, right = 0, bottom = 0;
  printer_->PageOffsets(left, top, right, bottom);
  offsetX_ = -left;
  offsetY_ = -top;
  if (OnStartPage) OnStartPage(this);
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
  if (ClosesDocument && !aborted_ && printer_->Printing()) {
    if (!printer_->EndDoc()) FailDocument();
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
  canvas_ = nullptr;
  TppDevice::JobCancelled();
}

// ---------------------------------------------------------------------------
// Drawing

namespace {
QRect RectOf(const TppRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }
}  // namespace

TppRect TppPrinterDevice::DeviceRectOf(const TppRect& r) {
  TppPrinter* p = printer_.get();
  auto px = [p](int mm, TppDirection d) {
    return ppTrunc(MMThousandthsToUnits(mm, utPrinterPixels, d, p));
  };
  return {px(r.Left, dirHorizontal) + offsetX_, px(r.Top, dirVertical) + offsetY_,
          px(r.Right, dirHorizontal) + offsetX_, px(r.Bottom, dirVertical) + offsetY_};
}

void TppPrinterDevice::ComputeDeviceRect(TppDrawCommand* c) {
  c->DeviceRect = DeviceRectOf({c->Left, c->Top, c->Left + c->Width, c->Top + c->Height});
}

void TppPrinterDevice::BeginClip(TppDrawCommand* c) {
  if (!canvas_) return;
  const TppRect r = DeviceRectOf(c->ClipRect);
  canvas_->SetOuterClip(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), c->ClipEllipse);
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

void TppPrinterDevice::DrawShape(TppDrawShape* c) {
  TppPrinter* p = printer_.get();
  TPen pen = c->Pen;
  // The outline covers on paper what it covers on the sheet the shape
  // was designed on: the pen scaled from design pixels, its centre half a
  // design pixel in for odd widths.
  auto designToPrinter = [p](int pixels) {
    return MMThousandthsToUnits(DesignPixelsToMMThousandths(pixels), utPrinterPixels,
                                dirHorizontal, p);
  };
  double inset = TCanvas::kClassicInset;
  if (pen.Width != 0) {
    inset = TCanvas::DesignPenInset(pen.Width, designToPrinter(1));
    pen.Width = ppTrunc(designToPrinter(pen.Width));
  } else {
    pen.Width = 1;
  }
  canvas_->SetPen(pen);
  canvas_->SetBrush(c->Brush);
  const QRect r = RectOf(c->DeviceRect);
  switch (c->ShapeType) {
    case stRectangle: canvas_->Rectangle(r, inset); break;
    case stRoundRect:
      canvas_->RoundRect(
          r, ppTrunc(MMThousandthsToUnits(c->XCornerRound, utPrinterPixels, dirHorizontal, p)),
          ppTrunc(MMThousandthsToUnits(c->YCornerRound, utPrinterPixels, dirVertical, p)), inset);
      break;
    case stEllipse: canvas_->Ellipse(r, inset); break;
    default: break;  // squares and circles come as rectangles and ellipses
  }
}

void TppPrinterDevice::DrawLine(TppDrawLine* c) {
  int ppiX = 0, ppiY = 0;
  printer_->PixelsPerInch(ppiX, ppiY);
  const bool vertical = c->LinePosition == lpLeft || c->LinePosition == lpRight;
  const int ppi = vertical ? ppiX : ppiY;
  const int thickness = std::max(1, ppRound(c->Weight * ppi / 72.0L));
  const int gap = c->Pen.Width == 0
                      ? ppTrunc(ScreenPixelsToUnits(2, utPrinterPixels,
                                                    vertical ? dirHorizontal : dirVertical,
                                                    printer_.get()))
                      : 2 * thickness;
  const QRect r = RectOf(c->DeviceRect);
  const int passes = c->LineStyle == lsDouble ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int in = pass * gap;
    QRect band;
    switch (c->LinePosition) {
      case lpTop: band = QRect(r.left(), r.top() + in, r.width(), thickness); break;
      case lpBottom: band = QRect(r.left(), r.top() + r.height() - in - thickness, r.width(), thickness); break;
      case lpLeft: band = QRect(r.left() + in, r.top(), thickness, r.height()); break;
      case lpRight: band = QRect(r.left() + r.width() - in - thickness, r.top(), thickness, r.height()); break;
    }
    canvas_->FillRect(band, c->Pen.Color);
  }
}

void TppPrinterDevice::DrawText(TppDrawText* c) {
  TCanvas* canvas = canvas_;
  // The printer canvas keeps the font's point size at its resolution.
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
  QStringList lines;
  if (c->WordWrap)
    lines = c->WrappedText;
  else if (!c->Text.isEmpty())
    lines.append(c->Text);
  if (c->AutoSize && !lines.isEmpty()) {
    int widest = 0;
    for (const QString& l : lines) widest = std::max(widest, canvas->TextWidth(l));
    if (widest != r.width()) {
      switch (c->Alignment()) {
        case taLeftJustify: r.setWidth(widest); break;
        case taRightJustify: r.setLeft(r.left() + r.width() - widest); break;
        case taCenter:
          r.moveLeft(r.left() + ppRound((r.width() - widest) / 2.0L));
          r.setWidth(widest);
          break;
      }
    }
  }
  if (!c->Transparent) canvas->FillRect(r, c->Color);
  TBrush clear;
  clear.Style = bsClear;
  canvas->SetBrush(clear);
  canvas->SetBkMode(bkTransparent);
  for (int i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    const int y = r.top() + i * lineHeight;
    const QRect clip(r.left(), y, r.width(), std::max(0, r.top() + r.height() - y));
    const int width = canvas->TextWidth(line);
    int x = r.left();
    switch (c->TextAlignment) {
      case taLeftJustified: break;
      case taRightJustified: x = r.left() + r.width() - width; break;
      case taCentered: x = r.left() + ppRound((r.width() - width) / 2.0L - 0.5L); break;
      case taFullJustified: {
        // Memos: the spare width spread over the gaps between words, but
        // for the last line of a paragraph.
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const bool paragraphEnd = i == lines.size() - 1;
        if (words.size() > 1 && (!paragraphEnd || c->ForceJustifyLastLine)) {
          int wordsWidth = 0;
          for (const QString& w : words) wordsWidth += canvas->TextWidth(w);
          const int gaps = int(words.size()) - 1;
          const int spare = r.width() - wordsWidth;
          int wx = r.left();
          for (int k = 0; k < words.size(); ++k) {
            canvas->TextRect(clip, wx, y, words[k]);
            wx += canvas->TextWidth(words[k]) + (k < gaps ? spare / gaps + (k < spare % gaps) : 0);
          }
          continue;
        }
        break;
      }
    }
    canvas->TextRect(clip, x, y, line);
  }
  if (c->AutoSize) {
    c->DeviceRect.Left = r.left();
    c->DeviceRect.Right = r.left() + r.width();
    c->DeviceRect.Bottom = r.top() + int(lines.size()) * lineHeight;
  }
}

void TppPrinterDevice::PlaceImage(TppDrawImage* c, bool vertical, QRect& target, bool& clip) {
  const TPicture& picture = c->Picture();
  const QRect r = RectOf(c->DeviceRect);
  const int w = r.width(), h = r.height();
  TppPrinter* p = printer_.get();
  const int pw = ppTrunc(ScreenPixelsToUnits(picture.Width(), utPrinterPixels, dirHorizontal, p));
  const int ph = ppTrunc(ScreenPixelsToUnits(picture.Height(), utPrinterPixels,
                                             vertical ? dirVertical : dirHorizontal, p));
  clip = false;
  if (c->Stretch) {
    if (!c->MaintainAspectRatio) {
      target = r;
      return;
    }
    const long double scale =
        pw > 0 && ph > 0 ? std::min(w / (long double)pw, h / (long double)ph) : 0.0L;
    const int iw = ppTrunc(pw * scale), ih = ppTrunc(ph * scale);
    target = QRect(r.left(), r.top(), iw, ih);
    if (c->Center) target.translate((w - iw) / 2, (h - ih) / 2);
    return;
  }
  clip = true;
  target = QRect(r.left(), r.top(), pw, ph);
  if (c->Center) target.translate((w - pw) / 2, (h - ph) / 2);
}

void TppPrinterDevice::DrawImage(TppDrawImage* c) {
  const TPicture& picture = c->Picture();
  if (picture.Empty()) return;
  if (picture.Format() == QLatin1String("bmp")) {
    const bool monochrome = picture.ToImage().depth() == 1;
    if (monochrome && c->DirectDraw)
      DrawDirectImage(c);
    else
      DrawBitmapImage(c);
  } else if (c->DirectDraw) {
    DrawDirectImage(c);
  } else if (!c->CachedBitmap().isNull()) {
    DrawBitmapImage(c);
  } else {
    DrawOffscreenImage(c);
  }
}

void TppPrinterDevice::DrawBitmapImage(TppDrawImage* c) {
  QRect target;
  bool clip = false;
  PlaceImage(c, false, target, clip);
  const QImage bitmap =
      c->Picture().Format() == QLatin1String("bmp") ? c->Picture().ToImage() : c->CachedBitmap();
  if (clip) canvas_->SetClipRect(RectOf(c->DeviceRect));
  canvas_->SetCopyMode(c->Transparent ? cmSrcAnd : cmSrcCopy);
  // The painter scales the picture as it is: it is never enlarged to
  // printer pixels here.
  canvas_->StretchDraw(target, bitmap);
  canvas_->SetCopyMode(cmSrcCopy);
  if (clip) canvas_->RemoveClip();
}

void TppPrinterDevice::DrawDirectImage(TppDrawImage* c) {
  QRect target;
  bool clip = false;
  PlaceImage(c, false, target, clip);
  if (clip) canvas_->SetClipRect(RectOf(c->DeviceRect));
  canvas_->SetCopyMode(c->Transparent ? cmSrcAnd : cmSrcCopy);
  canvas_->StretchDraw(target, c->Picture());
  canvas_->SetCopyMode(cmSrcCopy);
  if (clip) canvas_->RemoveClip();
}

void TppPrinterDevice::DrawOffscreenImage(TppDrawImage* c) {
  // Drawings and icons go straight to the page (a drawing stays a drawing
  // in the document); a transparent one is drawn at its own size with its
  // white let through.
  QRect target;
  bool clip = false;
  PlaceImage(c, true, target, clip);
  if (clip) canvas_->SetClipRect(RectOf(c->DeviceRect));
  canvas_->SetCopyMode(c->Transparent ? cmSrcAnd : cmSrcCopy);
  canvas_->StretchDraw(target, c->Picture());
  canvas_->SetCopyMode(cmSrcCopy);
  if (clip) canvas_->RemoveClip();
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

bool PrintReports(TppPrinterDevice& device, const std::vector<TppProducer*>& reports, int copies,
                  bool collate) {
  if (reports.empty()) return true;
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
      ++job;
    }
  }
  return true;
}
