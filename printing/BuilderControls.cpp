// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/BuilderControls.h"

#include "document/MedidaTexto.h"
#include "platform/Canvas.h"
#include "report/ppClass.h"
#include "report/ppDevice.h"
#include "report/ppUtils.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

// ---------------------------------------------------------------------------
// The rotated extent

TRotatedExtent RotatedExtent(const TppRect& block, int angle) {
  // The angle is a double; its sine and cosine are taken in extended
  // precision and every product and sum is rounded to a double, as the
  // classic routine computes them: that is what makes the truncations
  // below land where they always did (at 30 degrees the box's top is at
  // -50, not -49).
  const double a = angle * std::numbers::pi / 180.0;
  const long double s = std::sin((long double)a), c = std::cos((long double)a);
  const double h = block.Bottom - block.Top, w = block.Right - block.Left;
  const double downX = double(h * s), downY = double(h * c);
  const double alongX = double(w * c), alongY = double(-w * s);
  double px = block.Left, py = block.Top;
  TppRect box{block.Left, block.Top, block.Left, block.Top};
  auto extend = [&box](double x, double y) {
    if (box.Right < x)
      box.Right = int(std::trunc(x)) + 1;
    else if (box.Left > x)
      box.Left = int(std::trunc(x));
    if (box.Bottom < y)
      box.Bottom = int(std::trunc(y)) + 1;
    else if (box.Top > y)
      box.Top = int(std::trunc(y));
  };
  const double steps[4][2] = {{downX, downY}, {alongX, alongY}, {-downX, -downY}, {-alongX, -alongY}};
  for (const auto& step : steps) {
    px = px + step[0];
    py = py + step[1];
    extend(px, py);
  }
  const int dx = block.Left - box.Left, dy = block.Top - box.Top;
  TRotatedExtent e;
  e.Reference = QPoint(block.Left + dx, block.Top + dy);
  e.Box = {box.Left + dx, box.Top + dy, box.Right + dx, box.Bottom + dy};
  return e;
}

// ---------------------------------------------------------------------------
// Drawing

namespace {

// A text object's caption as the editor lays it out: the same routine,
// the same options, at the font's point size.
// Its lines aligned among themselves as the component says.
TTextBlock CaptionBlock(const TFont& font, const QString& caption, int angle,
                        TppTextAlignment alignment = taLeftJustified) {
  TTextOptions o = OpcoesDeTexto(angle);
  if (alignment == taCentered) o.Flags |= DT_CENTER;
  if (alignment == taRightJustified) o.Flags |= DT_RIGHT;
  return LayoutText(TextFontOf(font), caption, o);
}

}  // namespace

void DrawRotatedText(TCanvas& canvas, const QRectF& exact, const TDrawRotatedText& command) {
  QPainter* painter = canvas.Painter();
  const int w = MMThousandthsToDesignPixels(command.Width);
  const int h = MMThousandthsToDesignPixels(command.Height);
  if (!painter || w <= 0 || h <= 0 || exact.width() <= 0 || exact.height() <= 0) return;
  // The canvas's font, for its colour as the device prints it (a printer
  // without colours prints coloured text black).
  canvas.SetFont(command.Font);
  const QColor color = FixedPaletteColor(canvas.Font().Color);
  const int angle = ((command.Angle % 360) + 360) % 360;
  const TTextBlock block = CaptionBlock(command.Font, command.Text, angle, command.TextAlignment);
  const QSize extent = block.PixelSize(PixelsPorPonto);
  const QPoint reference =
      angle == 0 ? QPoint(0, 0)
                 : TurnedTextBox(angle, extent.width(), extent.height(), w, h, taLeftJustify, vaTop)
                       .ReferencePoint();

  // Clipped to every pixel the box touches: a text placed to the fraction
  // of a pixel loses nothing to the rounding of its box's edges.
  canvas.SetClipRect(exact.toAlignedRect());
  painter->save();
  // The object's box in design pixels, mapped onto where it lies on the
  // device before rounding (so the text is placed and scaled as on paper
  // at that scale).
  painter->translate(exact.topLeft());
  painter->scale(exact.width() / double(w), exact.height() / double(h));
  if (!command.Transparent) {
    const TRotatedExtent e = RotatedExtent({0, 0, extent.width(), extent.height()}, angle);
    painter->fillRect(RectOf(e.Box), FixedPaletteColor(command.Color));
  }
  DrawTextBlock(*painter, block, reference, PixelsPorPonto, angle * 10, color);
  painter->restore();
  canvas.RemoveClip();
}

// ---------------------------------------------------------------------------
// The draw command

TDrawRotatedText::TDrawRotatedText(TComponent* owner) : TppDrawText(owner) {}

void TDrawRotatedText::Assign(const TppDrawCommand& source) {
  TppDrawText::Assign(source);
  if (const auto* r = dynamic_cast<const TDrawRotatedText*>(&source)) {
    Angle = r->Angle;
    OffsetX = r->OffsetX;
    OffsetY = r->OffsetY;
  }
}

bool TDrawRotatedText::DrawOn(TppDevice* device) {
  // Whatever the device: a document thrown away, or a device that draws
  // no pages, answers nothing to draw with.
  if (const auto d = device ? device->DrawingFor(this) : std::nullopt)
    DrawRotatedText(*d->Canvas, d->ExactRect, *this);
  return true;
}

// ---------------------------------------------------------------------------
// The component

TRotatedLabel::TRotatedLabel(TComponent* owner) : TppCustomText(owner) {
  SetDrawCommandClass(TDrawRotatedText::StaticClassName());
  // Arial as the face, without measuring anything yet.
  constructing_ = true;
  TFont f = Font();
  f.Name = QStringLiteral("Arial");
  SetFont(f);
  constructing_ = false;
}

void TRotatedLabel::SetAngle(unsigned value) {
  if (value == angle_) return;
  angle_ = value;
  AutoSizeBounds();
  Changed();
}

void TRotatedLabel::Loaded() {
  TppCustomText::Loaded();
  AutoSizeBounds();
}

void TRotatedLabel::AutoSizeBounds() {
  if (constructing_ || IsReading() || IsLoading() || IsPrinting()) return;
  // Measured in design pixels by the routine that draws it, whatever the
  // screen.
  const int angle = int(angle_ % 360);
  const QString text = Caption().isEmpty() ? QStringLiteral(" ") : Caption();
  const QSize extent = CaptionBlock(Font(), text, angle).PixelSize(PixelsPorPonto);
  int boxWidth = MMThousandthsToDesignPixels(mmWidth());
  int boxHeight = MMThousandthsToDesignPixels(mmHeight());
  if (AutoSize()) {
    const TRotatedExtent e = RotatedExtent({0, 0, extent.width(), extent.height()}, angle);
    boxWidth = e.Box.Right;
    boxHeight = e.Box.Bottom;
    SetMMBounds(mmLeft(), mmTop(), DesignPixelsToMMThousandths(boxHeight),
                DesignPixelsToMMThousandths(boxWidth));
  }
  originOffset_ = angle == 0 ? QPoint(0, 0)
                             : TurnedTextBox(angle, extent.width(), extent.height(), boxWidth,
                                             boxHeight, taLeftJustify, vaTop)
                                   .ReferencePoint();
}

void TRotatedLabel::SetUserName(const QString& value) {
  const QString old = UserName();
  TppCustomText::SetUserName(value);
  if (!IsReading() && !IsLoading() && UserName() != old && Caption() == old) SetCaption(UserName());
}

void TRotatedLabel::FillDrawCommand(TppDrawCommand* command) {
  TppCustomText::FillDrawCommand(command);
  if (auto* r = dynamic_cast<TDrawRotatedText*>(command)) {
    r->Angle = int(angle_);
    r->OffsetX = originOffset_.x();
    r->OffsetY = originOffset_.y();
  }
}

// ---------------------------------------------------------------------------
// The grid

TDrawSimpleGrid::TDrawSimpleGrid(TComponent* owner) : TppDrawCommand(owner) { DataType = dtGraphic; }

void TDrawSimpleGrid::Assign(const TppDrawCommand& source) {
  TppDrawCommand::Assign(source);
  if (const auto* g = dynamic_cast<const TDrawSimpleGrid*>(&source)) {
    Columns = g->Columns;
    Rows = g->Rows;
    Pen = g->Pen;
  }
}

bool TDrawSimpleGrid::DrawOn(TppDevice* device) {
  const auto d = device ? device->DrawingFor(this) : std::nullopt;
  if (!d) return true;
  TCanvas* canvas = d->Canvas;
  const QRect r = d->DeviceRect;
  // Lines as wide in design pixels, on paper and at the zoom shown.
  int line = int(std::max(1, Pen.Width) * d->PerDesignPixel());
  line = std::max(1, line);
  const int columns = std::max(1, Columns), rows = std::max(1, Rows);
  for (int c = 0; c <= columns; ++c) {
    const int x = r.left() + int((long long)r.width() * c / columns) - (c == columns ? line : 0);
    canvas->FillRect(QRect(x, r.top(), line, r.height()), Pen.Color);
  }
  for (int w = 0; w <= rows; ++w) {
    const int y = r.top() + int((long long)r.height() * w / rows) - (w == rows ? line : 0);
    canvas->FillRect(QRect(r.left(), y, r.width(), line), Pen.Color);
  }
  return true;
}

TSimpleGrid::TSimpleGrid(TComponent* owner) : TppCustomComponent(owner) {
  SetDrawCommandClass(TDrawSimpleGrid::StaticClassName());
}

void TSimpleGrid::SetColumns(int value) {
  value = std::max(1, value);
  if (value == columns_) return;
  columns_ = value;
  Changed();
}

void TSimpleGrid::SetRows(int value) {
  value = std::max(1, value);
  if (value == rows_) return;
  rows_ = value;
  Changed();
}

void TSimpleGrid::SetPen(const TPen& value) {
  if (value == pen_) return;
  pen_ = value;
  Changed();
}

void TSimpleGrid::FillDrawCommand(TppDrawCommand* command) {
  TppCustomComponent::FillDrawCommand(command);
  auto* grid = dynamic_cast<TDrawSimpleGrid*>(command);
  if (!grid) return;
  grid->Left = printRect_.Left;
  grid->Top = printRect_.Top;
  grid->Width = printRect_.Right - printRect_.Left;
  grid->Height = printRect_.Bottom - printRect_.Top;
  grid->Columns = columns_;
  grid->Rows = rows_;
  grid->Pen = pen_;
}

// ---------------------------------------------------------------------------
// Registration

void RegisterBuilderControls() {
  const QString page = QStringLiteral("Standard Components");
  ppRegisterComponent<TRotatedLabel>(page, 11, QStringLiteral("RotatedLabel"));
  ppRegisterComponent<TSimpleGrid>(page, 12, QStringLiteral("SimpleGrid"));
  RegisterClass<TDrawRotatedText>();
  RegisterClass<TDrawSimpleGrid>();
}

void UnregisterBuilderControls() {
  ppUnRegisterComponent(TRotatedLabel::StaticClassName());
  ppUnRegisterComponent(TSimpleGrid::StaticClassName());
  UnRegisterClass(TDrawRotatedText::StaticClassName());
  UnRegisterClass(TDrawSimpleGrid::StaticClassName());
}
