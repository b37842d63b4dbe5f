// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppCtrls.h"

#include "platform/Canvas.h"
#include "report/ppBands.h"
#include "report/ppDrwCmd.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"

#include <QImage>
#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------
// Measuring text

TppTextMeasure::TppTextMeasure(TppPrinter* printer, const TFont& font) : printer_(printer) {
  if (printer_) {
    canvas_ = printer_->Canvas();
    canvas_->SetFont(font);  // the printer canvas keeps it at its resolution
    return;
  }
  // A canvas that only measures, at the screen's resolution.
  const int ppi = ScreenPixelsPerInch();
  scratch_ = std::make_unique<TCanvas>();
  scratch_->SetResolution(ppi);
  TFont f = font;
  if (f.PixelsPerInch != ppi) {
    const int points = f.Size();
    f.PixelsPerInch = ppi;
    f.SetSize(points);
  }
  scratch_->SetFont(f);
  canvas_ = scratch_.get();
}

TppTextMeasure::~TppTextMeasure() = default;

int TppTextMeasure::ToPixels(int mm, TppDirection direction) const {
  return ppTrunc(MMThousandthsToUnits(mm, printer_ ? utPrinterPixels : utScreenPixels, direction,
                                      printer_));
}

int TppTextMeasure::ToScreenPixels(int pixels, TppDirection direction) const {
  if (!printer_) return pixels;
  return UnitsToScreenPixels(utPrinterPixels, direction, printer_, float(pixels));
}

// ---------------------------------------------------------------------------
// Text

TppCustomText::TppCustomText(TComponent* owner) : TppCustomComponent(owner) {
  SetDrawCommandClass(TppDrawText::StaticClassName());
  InitAutoSize(true);
}

void TppCustomText::SetCharWrap(bool value) {
  if (value == charWrap_) return;
  charWrap_ = value;
  Changed();
}

QString TppCustomText::GetText() {
  QString text = Caption();
  if (IsLoading()) return text;
  if (OnGetText) OnGetText(this, text);
  TppEventParams params{text};
  PublishEvent(this, ppevGetText, params);
  if (!params.empty())
    if (const QString* changed = std::any_cast<QString>(&params.front())) text = *changed;
  return text;
}

void TppCustomText::SetTextAlignment(TppTextAlignment value) {
  if (value == taFullJustified) return;
  TppCustomComponent::SetTextAlignment(value);
}

void TppCustomText::AutoSizeBounds() {
  if (IsReading() || IsPrinting() || (!AutoSize() && WordWrap())) return;
  TppPrinter* printer = GetPrinter();
  TppTextMeasure measure(printer, Font());
  TCanvas* canvas = measure.Canvas();
  unsigned flags = DT_EXPANDTABS | DT_CALCRECT | DT_EXTERNALLEADING | DT_NOPREFIX;
  if (Alignment() == taRightJustify) flags |= DT_RIGHT;
  if (Alignment() == taCenter) flags |= DT_CENTER;
  if (WordWrap()) flags |= DT_WORDBREAK;
  const QRect box(0, 0, measure.ToPixels(mmWidth(), dirHorizontal),
                  measure.ToPixels(mmHeight(), dirVertical));
  // An empty caption is one line high, as a blank is.
  const QString caption = Caption().isEmpty() ? QStringLiteral(" ") : Caption();
  const QRect measured = canvas->MeasureText(box, caption, flags, charWrap_);
  const int width = measure.ToScreenPixels(measured.width(), dirHorizontal);
  const int height = measure.ToScreenPixels(measured.height(), dirVertical);
  const int mmHeightNew = UnitsToMMThousandths(utScreenPixels, dirVertical, nullptr, float(height));
  if (!AutoSize()) {
    SetMMBounds(mmLeft(), mmTop(), mmHeightNew, mmWidth());
    return;
  }
  // The text keeps its anchor: a right-aligned text its right edge, a
  // centred one its centre.
  const int oldWidth = ppTrunc(MMThousandthsToUnits(mmWidth(), utScreenPixels, dirHorizontal));
  int shift = 0;
  if (Alignment() == taRightJustify) shift = oldWidth - width;
  if (Alignment() == taCenter) shift = (oldWidth - width) / 2;
  int left = mmLeft();
  if (shift != 0) {
    const int oldLeft = ppTrunc(MMThousandthsToUnits(mmLeft(), utScreenPixels, dirHorizontal));
    left = UnitsToMMThousandths(utScreenPixels, dirHorizontal, nullptr, float(oldLeft + shift));
  }
  SetMMBounds(left, mmTop(), mmHeightNew,
              UnitsToMMThousandths(utScreenPixels, dirHorizontal, nullptr, float(width)));
}

void TppCustomText::FillDrawCommand(TppDrawCommand* command) {
  TppCustomComponent::FillDrawCommand(command);
  auto* text = dynamic_cast<TppDrawText*>(command);
  if (!text) return;
  text->SetAlignment(Alignment());
  text->AutoSize = AutoSize();
  text->Color = Color();
  text->ForceJustifyLastLine = false;
  text->Left = printRect_.Left;
  text->Top = printRect_.Top;
  text->Height = printRect_.Bottom - printRect_.Top;
  text->Width = printRect_.Right - printRect_.Left;
  text->Text = GetText();
  text->TextAlignment = TextAlignment();
  text->Transparent = Transparent();
  text->WordWrap = WordWrap();
  text->Font = Font();
  if (WordWrap()) {
    TppTextMeasure measure(GetPrinter(), Font());
    text->WrappedText = measure.Canvas()->WrapText(
        text->Text, measure.ToPixels(text->Width, dirHorizontal), charWrap_);
  }
  if (TppBand* band = Band()) {
    text->BandSave = band->Save();
    text->BandSaveNo = band->Report() ? band->Report()->IndexOfChild(band) : 0;
  }
  text->SetTextComponent(this);
  text->ComponentSave = save_;
  text->ComponentSaveNo = saveOrder_;
  text->SaveLength = saveLength_;
}

void TppLabel::SetUserName(const QString& value) {
  const QString old = UserName();
  TppCustomText::SetUserName(value);
  if (!IsReading() && !IsLoading() && UserName() != old && Caption() == old)
    SetCaption(UserName());
}

QString TppLabel::Description() const { return EngineMessage(msgLabelDescription); }

// ---------------------------------------------------------------------------
// Shapes

TppCustomGraphic::TppCustomGraphic(TComponent* owner) : TppCustomComponent(owner) {
  // A new shape or picture is 50 x 50 screen pixels.
  const int side = UnitsToMMThousandths(utScreenPixels, dirHorizontal, nullptr, 50);
  SetMMBounds(0, 0, side, side);
}

TppShape::TppShape(TComponent* owner) : TppCustomGraphic(owner) {
  SetDrawCommandClass(TppDrawShape::StaticClassName());
}

void TppShape::BrushOrPenChanged() {
  Changed();
  SetTransparent(brush_.Style == bsClear);
}

void TppShape::SetBrush(const TBrush& value) {
  if (value == brush_) return;
  brush_ = value;
  BrushOrPenChanged();
}

void TppShape::SetPen(const TPen& value) {
  if (value == pen_) return;
  pen_ = value;
  BrushOrPenChanged();
}

void TppShape::SetShape(TShapeType value) {
  if (value == shape_) return;
  shape_ = value;
  Changed();
}

void TppShape::FillDrawCommand(TppDrawCommand* command) {
  TppCustomGraphic::FillDrawCommand(command);
  auto* shape = dynamic_cast<TppDrawShape*>(command);
  if (!shape) return;
  // In the pixels the shape is designed in (never the screen's own, so
  // that the outline lands in the same place from any screen).
  const int w = MMThousandthsToDesignPixels(printRect_.Right - printRect_.Left);
  const int h = MMThousandthsToDesignPixels(printRect_.Bottom - printRect_.Top);
  // The outline lies inside the component.
  const int p = pen_.Width / 2;
  int left = p, top = p, right = w - p, bottom = h - p;
  const int m = std::min(w, h);
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    left += (w - m) / 2;
    right -= (w - m) / 2;
    top += (h - m) / 2;
    bottom -= (h - m) / 2;
  }
  const int corner = m / 4;
  auto mm = [](int pixels) { return DesignPixelsToMMThousandths(pixels); };
  shape->Left = printRect_.Left + mm(left);
  shape->Top = printRect_.Top + mm(top);
  shape->Width = printRect_.Left + mm(right) - shape->Left;
  shape->Height = printRect_.Top + mm(bottom) - shape->Top;
  shape->XCornerRound = mm(corner);
  shape->YCornerRound = mm(corner);
  switch (shape_) {
    case stSquare: shape->ShapeType = stRectangle; break;
    case stCircle: shape->ShapeType = stEllipse; break;
    case stRoundSquare: shape->ShapeType = stRoundRect; break;
    default: shape->ShapeType = shape_; break;
  }
  shape->Brush = brush_;
  shape->Pen = pen_;
}

// ---------------------------------------------------------------------------
// Pictures

TppCustomImage::TppCustomImage(TComponent* owner) : TppCustomComponent(owner) {
  SetDrawCommandClass(TppDrawImage::StaticClassName());
  const int side = UnitsToMMThousandths(utScreenPixels, dirHorizontal, nullptr, 50);
  SetMMBounds(0, 0, side, side);
}

void TppCustomImage::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  Changed();
}

void TppCustomImage::SetDirectDraw(bool value) {
  if (value == directDraw_) return;
  directDraw_ = value;
  Changed();
}

void TppCustomImage::SetMaintainAspectRatio(bool value) {
  if (value == maintainAspectRatio_) return;
  maintainAspectRatio_ = value;
  Changed();
}

void TppCustomImage::SetStretch(bool value) {
  if (value == stretch_) return;
  stretch_ = value;
  PictureChanged();
}

void TppCustomImage::SetPicture(const TPicture& value) {
  picture_ = value;
  PictureChanged();
}

void TppCustomImage::SetAutoSize(bool value) {
  if (value == AutoSize()) return;
  TppCustomComponent::SetAutoSize(value);
  PictureChanged();
}

void TppCustomImage::PictureChanged() {
  // The picture's own size, taken as screen pixels; a picture without a
  // size leaves the component as it is.
  if (!IsLoading() && AutoSize() && picture_.Width() > 0 && picture_.Height() > 0)
    SetMMBounds(mmLeft(), mmTop(),
                UnitsToMMThousandths(utScreenPixels, dirVertical, nullptr, float(picture_.Height())),
                UnitsToMMThousandths(utScreenPixels, dirHorizontal, nullptr, float(picture_.Width())));
  Changed();
}

void TppCustomImage::FillDrawCommand(TppDrawCommand* command) {
  TppCustomComponent::FillDrawCommand(command);
  auto* image = dynamic_cast<TppDrawImage*>(command);
  if (!image) return;
  image->Left = printRect_.Left;
  image->Top = printRect_.Top;
  image->Height = printRect_.Bottom - printRect_.Top;
  image->Width = printRect_.Right - printRect_.Left;
  image->Stretch = stretch_;
  image->Center = center_;
  image->MaintainAspectRatio = maintainAspectRatio_;
  image->DirectDraw = directDraw_;
  image->Transparent = Transparent();
  image->SetPicture(picture_);
}
