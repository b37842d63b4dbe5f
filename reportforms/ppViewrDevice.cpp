// SPDX-License-Identifier: GPL-3.0-or-later
// TppScreenDevice: the pages of a report drawn into the preview's picture.
#include "reportforms/ppViewr.h"

#include "report/ppDrwCmd.h"
#include "report/ppProd.h"
#include "report/ppUtils.h"

#include <QPainter>
#include <QScrollArea>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Whole screen pixels of a length in thousandths (truncated).
int ScreenPixels(int mm, TppDirection direction) {
  return ppTrunc(MMThousandthsToUnits(mm, utScreenPixels, direction));
}

// The surround of the page and the page itself: the classic button shadow
// and window colours, whatever the desktop's theme, so the page looks as
// the paper does.
QColor Surround() { return FixedPaletteColor(clBtnShadow); }

}  // namespace

TppZoomGeometry ComputeZoomGeometry(TppZoomSettingType setting, int percentage, int PW, int PH,
                                    int BW, int BH, int ppi) {
  const int q8 = ppRound(ppi * 0.125L), q4 = ppRound(ppi * 0.25L), h2 = ppRound(ppi * 0.5L),
            k = ppRound(ppi * 0.1458L);
  TppZoomGeometry g;
  int dw = 0, dh = 0;
  switch (setting) {
    case zs100Percent:
      dw = PW;
      dh = PH;
      g.Picture = QSize(PW + 2 * q4, PH + 2 * q4);
      break;
    case zsWholePage:
      g.Picture = QSize(BW, BH);
      dh = BH - q4;
      dw = ppRound((long double)dh * PW / PH);
      // A page as wide as the box or wider steps down until it fits; not
      // in a box too small to hold anything.
      if (h2 < BW && h2 < BH)
        while (BW <= dw) {
          dh -= q4;
          dw = ppRound((long double)dh * PW / PH);
        }
      break;
    case zsPageWidth:
      dw = BW - 2 * q8 - k;
      dh = ppRound(dw / ((long double)PW / PH));
      g.Picture = QSize(dw + 2 * q8, std::max(dh + 2 * q8, BH));
      break;
    case zsPercentage: {
      const long double f = percentage / 100.0L;
      dh = ppRound(PH * f);
      dw = ppRound(PW * f);
      g.Picture = QSize(std::max(BW, dw + 2 * q4), std::max(BH, dh + 2 * q4));
      break;
    }
  }
  g.DrawnWidth = dw;
  g.DrawnHeight = dh;
  g.ZoomPercent = ppRound((long double)dh / PH * 100.0L);
  return g;
}

// ---------------------------------------------------------------------------
// Device

// The canvas drawing on the picture for as long as it lives (also when
// drawing fails).
class TppScreenDevice::TBound {
 public:
  TBound(TppScreenDevice& device, QPainter& painter) : device_(device) {
    device_.canvas_.Bind(&painter);
    // Text is laid out at its point size and scaled to the zoom.
    device_.canvas_.SetResolution(ScreenPixelsPerInch() * device_.scaleY_);
    device_.drawing_ = true;
  }
  ~TBound() {
    device_.drawing_ = false;
    device_.canvas_.Bind(nullptr);
  }
  TBound(const TBound&) = delete;
  TBound& operator=(const TBound&) = delete;

 private:
  TppScreenDevice& device_;
};

TppScreenDevice::TppScreenDevice(TComponent* owner)
    : TppRasterDevice(owner), currentPage_(std::make_unique<TppPage>()) {
  PageRequest().PageSetting = psFirstPage;
  PageRequest().PageRequested = 1;
  // No page yet: nothing to draw.
  currentPage_->PrinterSetup()->SetmmPaperWidth(0);
  currentPage_->PrinterSetup()->SetmmPaperHeight(0);
  NewPageImage(QSize(320, 120));
}

TppScreenDevice::~TppScreenDevice() = default;

void TppScreenDevice::SetViewer(TppViewer* viewer) {
  viewer_ = viewer;
  if (viewer_) NewPageImage(viewer_->size());
}

QSize TppScreenDevice::BoxSize() const {
  if (viewer_ && viewer_->ScrollBox()) return viewer_->ScrollBox()->size();
  return pageImage_.size();
}

void TppScreenDevice::NewPageImage(const QSize& size) {
  pageImage_ = QImage(std::max(1, size.width()), std::max(1, size.height()), QImage::Format_RGB32);
  // Measured at the screen's resolution, like the page's lengths.
  const int dpm = int(std::lround(ScreenPixelsPerInch() / 0.0254));
  pageImage_.setDotsPerMeterX(dpm);
  pageImage_.setDotsPerMeterY(dpm);
  pageImage_.fill(Surround());
}

void TppScreenDevice::ComputeZoom() {
  const TppPageDef& def = currentPage_->PageDef();
  const int PW = ScreenPixels(def.mmWidth, dirHorizontal);
  const int PH = ScreenPixels(def.mmHeight, dirVertical);
  const QSize box = BoxSize();
  const TppZoomSettingType setting = viewer_ ? viewer_->ZoomSetting() : zs100Percent;
  const int percentage = viewer_ ? viewer_->ZoomPercentage() : 100;
  const TppZoomGeometry g =
      ComputeZoomGeometry(setting, percentage, PW, PH, box.width(), box.height(),
                          ScreenPixelsPerInch());
  NewPageImage(g.Picture);
  drawnWidth_ = g.DrawnWidth;
  drawnHeight_ = g.DrawnHeight;
  zoomPercent_ = g.ZoomPercent;
}

void TppScreenDevice::RenderPage() {
  const TppPageDef& def = currentPage_->PageDef();
  if (def.mmWidth == 0 || def.mmHeight == 0) return;
  const int PW = ScreenPixels(def.mmWidth, dirHorizontal);
  const int PH = ScreenPixels(def.mmHeight, dirVertical);
  if (PW <= 0 || PH <= 0) return;
  ComputeZoom();
  originX_ = (pageImage_.width() - drawnWidth_) / 2;
  originY_ = (pageImage_.height() - drawnHeight_) / 2;
  scaleX_ = double(drawnWidth_) / PW;
  scaleY_ = double(drawnHeight_) / PH;
  QPainter painter(&pageImage_);
  TBound bound(*this, painter);
  // A page of no size (a zoom of 0 %) is an empty rectangle.
  if (drawnWidth_ > 0 && drawnHeight_ > 0) {
    TPen pen;
    TBrush paper;
    paper.Color = clWindow;
    canvas_.SetPen(pen);
    canvas_.SetBrush(paper);
    canvas_.Rectangle(QRect(originX_, originY_, drawnWidth_, drawnHeight_));
    DrawPage(*currentPage_);
  }
}

std::optional<TppDrawingContext> TppScreenDevice::DrawingFor(TppDrawCommand* command) {
  if (!drawing_ || !command) return std::nullopt;
  ComputeDeviceRect(command);
  TppDrawingContext d;
  d.Canvas = &canvas_;
  d.DeviceRect = RectOf(command->DeviceRect);
  d.ExactRect = ExactRectOf(BoxOf(*command));
  d.PixelsPerInch = ScreenPixelsPerInch();
  d.Scale = scaleY_;
  d.PageToDevice = [this](const TppRect& mm) { return PictureRectOf(mm); };
  return d;
}

QRectF TppScreenDevice::ExactRectOf(const TppRect& mm) const {
  const long double ppi = ScreenPixelsPerInch();
  auto x = [&](int v) { return double(MMThousandthsToPixels(v, ppi) * scaleX_) + originX_; };
  auto y = [&](int v) { return double(MMThousandthsToPixels(v, ppi) * scaleY_) + originY_; };
  return QRectF(QPointF(x(mm.Left), y(mm.Top)), QPointF(x(mm.Right), y(mm.Bottom)));
}

QRect TppScreenDevice::PictureRectOf(const TppRect& mm) const {
  // Each edge straight from thousandths at the zoom, rounded once: whole
  // screen pixels at 100 % first would move edges by up to the zoom's
  // pixels, and the page would no longer be the paper at that scale.
  const QRectF r = ExactRectOf(mm);
  const int left = ppRound(r.left()), top = ppRound(r.top());
  return QRect(left, top, ppRound(r.right()) - left, ppRound(r.bottom()) - top);
}

void TppScreenDevice::ComputeDeviceRect(TppDrawCommand* c) {
  TppRect mm;
  mm.Left = c->Left;
  mm.Top = c->Top;
  mm.Right = c->Left + c->Width;
  mm.Bottom = c->Top + c->Height;
  const QRect r = PictureRectOf(mm);
  c->DeviceRect.Left = r.left();
  c->DeviceRect.Top = r.top();
  c->DeviceRect.Right = r.left() + r.width();
  c->DeviceRect.Bottom = r.top() + r.height();
}

bool TppScreenDevice::RenderCommand(TppDrawCommand* command) {
  ComputeDeviceRect(command);
  if (auto* text = dynamic_cast<TppDrawText*>(command))
    DrawText(text);
  else if (auto* shape = dynamic_cast<TppDrawShape*>(command))
    DrawShape(shape);
  else if (auto* line = dynamic_cast<TppDrawLine*>(command))
    DrawLine(line);
  else if (auto* image = dynamic_cast<TppDrawImage*>(command))
    DrawImage(image);
  else
    return false;
  return true;
}

void TppScreenDevice::BeginClip(TppDrawCommand* c) {
  const bool hole = c->ClipHole.Right > c->ClipHole.Left && c->ClipHole.Bottom > c->ClipHole.Top;
  canvas_.SetOuterClip(PictureRectOf(c->ClipRect), c->ClipEllipse, hole ? PictureRectOf(c->ClipHole) : QRect());
}

void TppScreenDevice::EndClip(TppDrawCommand*) { canvas_.RemoveOuterClip(); }

bool TppScreenDevice::RedrawCommand(TppDrawCommand* command) {
  bool drawn = false;
  {
    QPainter painter(&pageImage_);
    TBound bound(*this, painter);
    forceOpaque_ = true;
    struct TOpaque {
      bool& flag;
      ~TOpaque() { flag = false; }
    } opaque{forceOpaque_};
    if (command->Clip) BeginClip(command);
    drawn = command->DrawOn(this);
    if (command->Clip) EndClip(command);
  }
  if (drawn && viewer_) {
    viewer_->painting_ = true;
    viewer_->PaintBox()->repaint(RectOf(command->DeviceRect));
    viewer_->painting_ = false;
  }
  return drawn;
}

TppDrawCommand* TppScreenDevice::HitTest(const QPoint& p) const {
  for (TppDrawCommand* c : currentPage_->ClickableCommands()) {
    const TppRect& r = c->DeviceRect;
    if (c->Clickable && p.x() >= r.Left && p.x() <= r.Right && p.y() >= r.Top &&
        p.y() <= r.Bottom)
      return c;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Drawing each kind of command

void TppScreenDevice::DrawShape(TppDrawShape* c) {
  const int cx = ppRound(ScreenPixels(c->XCornerRound, dirHorizontal) * (long double)scaleX_);
  const int cy = ppRound(ScreenPixels(c->YCornerRound, dirVertical) * (long double)scaleY_);
  PaintShape(canvas_, *c, RectOf(c->DeviceRect),
             ScreenPixelsPerInch() * scaleX_ / DesignPixelsPerInch, cx, cy);
}

void TppScreenDevice::DrawLine(TppDrawLine* c) {
  const int n = std::max(1, ppRound(ScreenPixelsPerInch() * (long double)c->Weight / 72.0L *
                                    scaleX_));
  PaintEdgeLines(canvas_, *c, RectOf(c->DeviceRect), n, 2 * n);
}

void TppScreenDevice::DrawImage(TppDrawImage* c) {
  if (c->Picture().Empty()) return;
  PaintPicture(canvas_, *c, PictureSourceOf(*c), ExactRectOf(BoxOf(*c)));
}

void TppScreenDevice::DrawText(TppDrawText* c) {
  // 1. Tab stops of a memo, at the zoom.
  QList<int> stops;
  if (c->IsMemo)
    for (const QString& s : c->TabStopPositions)
      stops.append(ppRound(ScreenPixels(s.toInt(), dirHorizontal) * (long double)scaleX_));
  // 2. The font, at its point size scaled to the zoom (the canvas's
  // resolution); one too small to show a pixel is drawn clipped.
  canvas_.SetFont(c->Font);
  const bool tiny = c->Font.PointSize() * canvas_.PixelsPerPoint() < 0.5;
  // 3. Line height: a memo's leading, at the zoom like everything else on
  // the page; the font's external leading otherwise.
  int leading = c->IsMemo ? ppRound(ScreenPixels(c->Leading, dirVertical) * (long double)scaleY_)
                          : canvas_.TextMetrics().ExternalLeading;
  int lineHeight = canvas_.TextMetrics().Height + leading;
  // 4. The rectangle; an auto-sized line is at least one line high.
  QRect r = RectOf(c->DeviceRect);
  if (c->AutoSize && !c->WordWrap && !c->Text.isEmpty() && r.height() < lineHeight)
    r.setHeight(lineHeight);
  QStringList lines = TextLines(*c);
  // 5. A memo's lines are fitted into its rectangle at the zoom.
  if (c->IsMemo && c->WrappedText.size() >= 2) {
    const int n = int(c->WrappedText.size());
    bool shrinking = true;
    for (int i = 0; i < n - 1 && shrinking; ++i) {
      const QString line = WithoutParagraphMark(c->WrappedText[i]);
      while (canvas_.TextWidth(line) > r.width() && canvas_.FontPixelHeight() > 1)
        canvas_.SetFontPixelHeight(canvas_.FontPixelHeight() - 1);
      if (canvas_.FontPixelHeight() < 2) shrinking = false;
    }
    TTextMetric m = canvas_.TextMetrics();
    lineHeight = m.Height + leading;
    const int avail = ppRound(r.height() / (long double)n);
    bool fit = false;
    if (lineHeight > 0 && std::abs(avail - lineHeight) / (long double)lineHeight <= 0.1L) {
      lineHeight = avail;
      fit = true;
    } else {
      const int room = ppTrunc(r.height() / (long double)n);
      fit = lineHeight <= room;
      while (!fit && canvas_.FontPixelHeight() > 1) {
        if (leading > 0) {
          --leading;
        } else {
          canvas_.SetFontPixelHeight(canvas_.FontPixelHeight() - 1);
          m = canvas_.TextMetrics();
        }
        lineHeight = m.Height + leading;
        fit = lineHeight <= room;
      }
    }
    if (!fit && lineHeight > 0) {
      const int shown = ppTrunc(r.height() / (long double)lineHeight) + 1;
      if (shown < lines.size()) lines = lines.mid(0, shown);
    }
  }
  lineHeight = std::max(1, lineHeight);
  TppTextOutput o;
  o.Opaque = forceOpaque_;
  if (c->IsMemo && !tiny) {
    o.Tabbed = true;
    o.TabStops = stops;
  } else {
    // A label that sizes itself is drawn whole; any other text stays in
    // its rectangle.
    o.ClipLines = c->IsMemo || !c->AutoSize;
  }
  PaintText(canvas_, *c, r, lineHeight, lines, o);
}

// ---------------------------------------------------------------------------
// Receiving pages

void TppScreenDevice::SetStatus(const QString& text) {
  if (StatusEnabled) TppRasterDevice::SetStatus(text);
}

bool TppScreenDevice::PageCountKnown(const TppPage& page) const {
  return page.LastPage || (lastPageNo_ > 0 && page.AbsolutePageNo <= lastPageNo_);
}

QString TppScreenDevice::PageText() const {
  const int no = currentPage_->AbsolutePageNo;
  QString text = EngineMessage(msgPage) + QLatin1Char(' ') + QString::number(no);
  if (PageCountKnown(*currentPage_))
    text += QLatin1Char(' ') + EngineMessage(msgOf) + QLatin1Char(' ') +
            QString::number(lastPageNo_ > 0 ? lastPageNo_ : currentPage_->AbsolutePageCount);
  return text;
}

void TppScreenDevice::JobStarted() {
  TppRasterDevice::JobStarted();
  SetStatus(EngineMessage(msgAccessingData));
  // The page shown stays until the page asked for comes: a job that is
  // cancelled before leaves it as it was, with its number.
}

void TppScreenDevice::AcceptPage(TppPage& page) {
  TppRasterDevice::AcceptPage(page);
  if (page.Final && !page.Blank && page.LastPage) lastPageNo_ = page.AbsolutePageNo;
  const QString number = QString::number(page.AbsolutePageNo);
  const QString calculating = EngineMessage(msgCalculatingPage, {number, page.DocumentName});
  if (PageIsRequested()) {
    if (PageCountKnown(page) && !page.Blank)
      SetStatus(EngineMessage(msgDrawingPageOf,
                              {number, QString::number(lastPageNo_), page.DocumentName}));
    else
      SetStatus(calculating);
    if (SkipPage()) return;
    currentPage_->Assign(page);
    RenderPage();
    if (viewer_) {
      viewer_->UpdateScrollBars();
      viewer_->PaintBox()->update();
    }
    SetStatus(PageText());
    if (viewer_) viewer_->Fire(viewer_->OnPageChange);
    return;
  }
  if (!page.Blank) return;
  SetStatus(calculating);
  if (page.AbsolutePageCount == currentPage_->AbsolutePageCount) return;
  currentPage_->AbsolutePageCount = page.AbsolutePageCount;
  if (page.ControlGroupBreakNo == currentPage_->ControlGroupBreakNo)
    currentPage_->PageCount = page.PageCount;
  // Commands that show the page count learn it now.
  const std::vector<TppDrawCommand*> deferred = currentPage_->DeferredCommands();
  for (TppDrawCommand* c : deferred)
    if (c->NeedsRedraw()) RedrawCommand(c);
  if (!deferred.empty()) ProcessMessages();
}

void TppScreenDevice::JobEnded() {
  if (!Busy()) return;
  // The status is told while still busy: a button pressed meanwhile finds
  // the device at work and is refused.
  SetStatus(PageText());
  TppRasterDevice::JobEnded();
}

void TppScreenDevice::JobCancelled() {
  if (!Busy()) {
    TppRasterDevice::JobCancelled();
    return;
  }
  SetStatus(EngineMessage(msgPage) + QLatin1Char(' ') +
            QString::number(currentPage_->AbsolutePageNo));
  TppRasterDevice::JobCancelled();
}

void TppScreenDevice::ResetRequest() {
  TppRasterDevice::ResetRequest();
  currentPage_->Clear();
  lastPageNo_ = 0;
  NewPageImage(viewer_ ? viewer_->size() : pageImage_.size());
  if (viewer_ && viewer_->Report())
    currentPage_->SetPrinterSetup(viewer_->Report()->PrinterSetup());
  RenderPage();
  if (viewer_) viewer_->PaintBox()->update();
  PageRequest().PageSetting = psFirstPage;
  PageRequest().PageRequested = 1;
}
