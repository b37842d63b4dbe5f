#include "printing/BuilderControls.h"

#include "document/MedidaTexto.h"
#include "platform/Canvas.h"
#include "report/ppClass.h"
#include "report/ppPrnDev.h"
#include "report/ppUtils.h"

#include <QImage>
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

// The font at a resolution: its design pixel height scaled, at least one
// pixel (never through whole points, which a small zoom would round away).
TFont FontAt(const TFont& font, double pixelsPerInch) {
  TFont f = font;
  const double scale = pixelsPerInch / std::max(1, font.PixelsPerInch);
  const int pixels = std::max(1, int(std::lround(std::abs(font.Height) * scale)));
  f.Height = font.Height < 0 ? -pixels : pixels;
  f.PixelsPerInch = std::max(1, int(std::lround(pixelsPerInch)));
  return f;
}

// Splits at CR LF, CR or LF, as level text breaks its lines.
QStringList Lines(const QString& text) {
  QStringList out;
  int start = 0;
  for (int i = 0; i < text.size(); ++i) {
    const QChar ch = text.at(i);
    if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n')) continue;
    out.append(text.mid(start, i - start));
    if (ch == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  out.append(text.mid(start));
  return out;
}

// A line with its tabs at every `tab` pixels from its start: drawn at
// (x, y) when `draw`, and its width answered.
int ExpandedLine(TCanvas& canvas, int x, int y, const QString& line, int tab, bool draw) {
  int at = 0, start = 0;
  for (int i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line.at(i) != QLatin1Char('\t')) continue;
    const QString piece = line.mid(start, i - start);
    if (draw && !piece.isEmpty()) canvas.TextOut(x + at, y, piece);
    at += canvas.TextWidth(piece);
    if (i < line.size()) at = (at / tab + 1) * tab;
    start = i + 1;
  }
  return at;
}

QRect RectOf(const TppRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

}  // namespace

void DrawRotatedText(TCanvas& canvas, const QRect& box, double pixelsPerInch, double scale,
                     const TDrawRotatedText& command) {
  if (box.width() <= 0 || box.height() <= 0 || pixelsPerInch <= 0 || scale <= 0) return;
  canvas.SetFont(FontAt(command.Font, pixelsPerInch * scale));
  const int angle = ((command.Angle % 360) + 360) % 360;
  const TTextMetric metric = canvas.TextMetrics();
  const int tab = std::max(1, 8 * metric.AveCharWidth);

  // The block as it is drawn, and where it starts.
  QStringList lines;
  int width = 0, height = 0;
  QPoint reference = box.topLeft();
  if (angle == 0) {
    lines = Lines(command.Text);
    for (const QString& l : lines) width = std::max(width, ExpandedLine(canvas, 0, 0, l, tab, false));
    height = metric.Height * int(lines.size());
  } else {
    width = canvas.TextWidth(command.Text);
    height = metric.Height;
    const TTurnedTextBox b =
        TurnedTextBox(angle, width, height, box.width(), box.height(), taLeftJustify, vaTop);
    reference += b.ReferencePoint();
  }

  const TBrush oldBrush = canvas.Brush();
  const TBkMode oldMode = canvas.BkMode();
  canvas.SetClipRect(box);
  if (!command.Transparent) {
    const TRotatedExtent e = RotatedExtent({0, 0, width, height}, angle);
    canvas.FillRect(RectOf(e.Box).translated(box.topLeft()), command.Color);
  }
  TBrush clear;
  clear.Style = bsClear;
  canvas.SetBrush(clear);
  canvas.SetBkMode(bkTransparent);
  if (angle == 0) {
    for (int i = 0; i < lines.size(); ++i)
      ExpandedLine(canvas, reference.x(), reference.y() + i * metric.Height, lines[i], tab, true);
  } else {
    canvas.TurnedTextOut(reference.x(), reference.y(), command.Text, angle * 10);
  }
  canvas.RemoveClip();
  canvas.SetBrush(oldBrush);
  canvas.SetBkMode(oldMode);
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
  if (auto* printer = dynamic_cast<TppPrinterDevice*>(device)) {
    TCanvas* canvas = printer->Canvas();
    if (!canvas) return true;  // a document thrown away draws nothing
    printer->ComputeDeviceRect(this);
    int ppiX = 0, ppiY = 0;
    printer->Printer()->PixelsPerInch(ppiX, ppiY);
    DrawRotatedText(*canvas, RectOf(DeviceRect), ppiY, 1.0, *this);
  } else if (auto* raster = dynamic_cast<TppRasterDevice*>(device)) {
    // The preview: the same routine at the screen's resolution and zoom.
    if (const auto d = raster->DrawingFor(this))
      DrawRotatedText(*d->Canvas, d->DeviceRect, d->PixelsPerInch, d->Scale, *this);
  }
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
  // Measured in design pixels, whatever the screen.
  QImage device(1, 1, QImage::Format_RGB32);
  const int dotsPerMetre = int(std::lround(DesignPixelsPerInch / 0.0254));
  device.setDotsPerMeterX(dotsPerMetre);
  device.setDotsPerMeterY(dotsPerMetre);
  TCanvas canvas;
  canvas.Bind(nullptr, &device);
  canvas.SetFont(FontAt(Font(), DesignPixelsPerInch));
  const QString text = Caption().isEmpty() ? QStringLiteral(" ") : Caption();
  const int w = canvas.TextWidth(text), h = canvas.TextMetrics().Height;
  const int angle = int(angle_ % 360);
  int boxWidth = MMThousandthsToDesignPixels(mmWidth());
  int boxHeight = MMThousandthsToDesignPixels(mmHeight());
  if (AutoSize()) {
    const TRotatedExtent e = RotatedExtent({0, 0, w, h}, angle);
    boxWidth = e.Box.Right;
    boxHeight = e.Box.Bottom;
    SetMMBounds(mmLeft(), mmTop(), DesignPixelsToMMThousandths(boxHeight),
                DesignPixelsToMMThousandths(boxWidth));
  }
  originOffset_ = angle == 0 ? QPoint(0, 0)
                             : TurnedTextBox(angle, w, h, boxWidth, boxHeight, taLeftJustify, vaTop)
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
  TCanvas* canvas = nullptr;
  QRect r;
  int line = 1;
  const int penWidth = std::max(1, Pen.Width);
  if (auto* printer = dynamic_cast<TppPrinterDevice*>(device)) {
    if (!printer->Canvas()) return true;
    printer->ComputeDeviceRect(this);
    canvas = printer->Canvas();
    r = RectOf(DeviceRect);
    line = ppTrunc(MMThousandthsToUnits(DesignPixelsToMMThousandths(penWidth), utPrinterPixels,
                                        dirHorizontal, printer->Printer()));
  } else if (auto* raster = dynamic_cast<TppRasterDevice*>(device)) {
    // The preview: lines as wide in design pixels, at the zoom shown.
    const auto d = raster->DrawingFor(this);
    if (!d) return true;
    canvas = d->Canvas;
    r = d->DeviceRect;
    line = int(penWidth * d->PixelsPerInch * d->Scale / DesignPixelsPerInch);
  } else {
    return true;
  }
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
