// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/dsshape.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

// --- arithmetic --------------------------------------------------------------------

TDSRect DSShapeDrawRect(int width, int height, int w) {
  if (w == 1) return {0, 0, width, height};
  const int a = w / 2;
  // An odd pen is centred on a pixel row; an even one (or none) reaches one
  // pixel further right and down, so the figure keeps its full size.
  if (w % 2 > 0) return {a, a, width - a, height - a};
  return {a, a, width - a + 1, height - a + 1};
}

TDSRect DSShapeCentredSquare(const TDSRect& d) {
  const int dw = d.Right - d.Left, dh = d.Bottom - d.Top;
  if (dw < dh) {
    const int top = d.Top + (dh - dw) / 2;
    return {d.Left, top, d.Right, top + dw};
  }
  const int left = d.Left + (dw - dh) / 2;
  return {left, d.Top, left + dh, d.Bottom};
}

std::vector<TDSStripe> DSShapeGradient(TColor from, TColor to, int width, int height,
                                       bool horizontal) {
  // Single precision throughout, so the stripes land where they always did:
  // the last one is one step short of the end colour.
  const int length = horizontal ? width : height;
  float step = float(length) / 255.0f;
  int n = 255;
  if (!(step >= 1.0f)) {
    step = 1.0f;
    n = length;
  }
  std::vector<TDSStripe> out;
  if (n <= 0) return out;

  auto channel = [](TColor c, int shift) { return int((c >> shift) & 0xFF); };
  float r = float(channel(from, 0)), g = float(channel(from, 8)), b = float(channel(from, 16));
  const float dr = float(double(channel(to, 0) - channel(from, 0)) / n);
  const float dg = float(double(channel(to, 8) - channel(from, 8)) / n);
  const float db = float(double(channel(to, 16) - channel(from, 16)) / n);
  auto level = [](float v) { return int(std::clamp<long>(std::lrint(v), 0, 255)); };

  out.reserve(size_t(n));
  float pos = 0.0f;
  for (int i = 0; i < n; ++i) {
    TDSStripe s;
    s.Color = QColor(level(r), level(g), level(b));
    const int a = int(std::lrint(double(pos)));
    if (horizontal)
      s.Rect = {a, 0, int(std::lrint(double(pos) + double(step) + 2.0)), height};
    else
      s.Rect = {0, a, width, int(std::lrint(double(pos) + double(step) + 1.0))};
    out.push_back(s);
    r = r + dr;
    g = g + dg;
    b = b + db;
    pos = pos + step;
  }
  return out;
}

// --- the control -----------------------------------------------------------------------

TDSShape::TDSShape(QWidget* parent) : QWidget(parent) {
  SetLineWidth(1);
  SetLineColor(clBlack);
  constructed_ = true;
}

TDSShape::~TDSShape() = default;

void TDSShape::SetLineWidth(int v) {
  if (v == lineWidth_) return;
  lineWidth_ = v;
  repaint();
}

void TDSShape::SetLineColor(TColor v) {
  if (v == lineColor_) return;
  lineColor_ = v;
  repaint();
}

void TDSShape::SetShapeType(TDSShapeType v) {
  if (v == shapeType_) return;
  shapeType_ = v;
  repaint();
}

void TDSShape::SetFillStyle(TDSShapeFill v) {
  if (v == fillStyle_) return;
  fillStyle_ = v;
  repaint();
}

void TDSShape::SetFillColor(TColor v) {
  if (v == fillColor_) return;
  fillColor_ = v;
  repaint();
}

void TDSShape::SetFillColor2(TColor v) {
  if (v == fillColor2_) return;
  fillColor2_ = v;
  repaint();
}

void TDSShape::SetImage(const TPicture* p) {
  if (p) image_ = *p;
  else image_.Clear();
  repaint();
}

// --- painting -------------------------------------------------------------------------------

namespace {

bool IsRound(TDSShapeType t) { return t == tstEllipse || t == tstCircle; }

QPen OutlinePen(const QColor& c, int w) {
  if (w <= 0) return QPen(Qt::NoPen);
  QPen pen(c);
  pen.setWidth(w);
  // Wide pens have round ends and corners, thin ones are plain pixels.
  pen.setCapStyle(w > 1 ? Qt::RoundCap : Qt::SquareCap);
  pen.setJoinStyle(w > 1 ? Qt::RoundJoin : Qt::MiterJoin);
  return pen;
}

}  // namespace

void TDSShape::SetDirectPenAndBrush(QPainter& p) const {
  p.setPen(OutlinePen(ColorToQColor(lineColor_), lineWidth_));
  p.setBrush(fillStyle_ == tfsSolid ? QBrush(ColorToQColor(fillColor_)) : QBrush(Qt::NoBrush));
}

// Draws the closed figure (square, ellipse, circle or rectangle) with the
// painter's pen and brush.  Right and bottom are exclusive: with a pen the
// outline runs through the outermost pixel rows; without one the fill
// leaves them out, like the platform's own figures.
void TDSShape::DrawFigure(QPainter& p, const TDSRect& d) const {
  const TDSRect r = (shapeType_ == tstSquare || shapeType_ == tstCircle) ? DSShapeCentredSquare(d) : d;
  const bool pen = p.pen().style() != Qt::NoPen;
  const qreal off = pen ? 0.5 : 0.0;
  const QRectF f(r.Left + off, r.Top + off, r.Width() - 1, r.Height() - 1);
  p.setRenderHint(QPainter::Antialiasing, IsRound(shapeType_));
  if (IsRound(shapeType_)) p.drawEllipse(f);
  else p.drawRect(f);
}

void TDSShape::FillContent(QImage& img, const TDSRect& d) const {
  const int W = img.width(), H = img.height();
  switch (fillStyle_) {
    case tfsImageTile:
    case tfsImageCenter:
    case tfsImageStretch: {
      img.fill(ColorToQColor(fillColor_));
      if (image_.Empty()) break;
      QPainter p(&img);
      const int pw = image_.Width(), ph = image_.Height();
      if (fillStyle_ == tfsImageCenter) {
        image_.Draw(p, QRectF((W - pw) / 2, (H - ph) / 2, pw, ph));
      } else if (fillStyle_ == tfsImageStretch) {
        image_.Draw(p, QRectF(d.Left, d.Top, d.Width(), d.Height()));
      } else if (pw > 0 && ph > 0) {
        const QImage tile = image_.ToImage();
        for (int y = d.Top; y < d.Bottom; y += ph)
          for (int x = d.Left; x < d.Right; x += pw) p.drawImage(x, y, tile);
      }
      break;
    }
    case tfsHGradient:
    case tfsVGradient: {
      img.fill(Qt::white);
      QPainter p(&img);
      for (const TDSStripe& s :
           DSShapeGradient(fillColor_, fillColor2_, W, H, fillStyle_ == tfsHGradient))
        p.fillRect(QRect(s.Rect.Left, s.Rect.Top, s.Rect.Width(), s.Rect.Height()), s.Color);
      break;
    }
    default: img.fill(Qt::white); break;
  }
}

void TDSShape::Paint(QPainter& p) const {
  if (!constructed_) return;
  drawRect_ = DrawRect();
  const TDSRect d = drawRect_;
  const int W = width(), H = height();
  const bool clipped = ClippedFill() && W > 0 && H > 0;

  switch (shapeType_) {
    case tstHLine:
    case tstVLine:
    case tstHorizontalLine1:
    case tstHorizontalLine2: {
      // Lines ignore the fill.
      SetDirectPenAndBrush(p);
      p.setRenderHint(QPainter::Antialiasing,
                      shapeType_ == tstHorizontalLine1 || shapeType_ == tstHorizontalLine2);
      if (shapeType_ == tstHLine) {
        const qreal y = (d.Bottom - d.Top) / 2 + 0.5;
        p.drawLine(QLineF(0, y, W, y));
      } else if (shapeType_ == tstVLine) {
        const qreal x = (d.Right - d.Left) / 2 + 0.5;
        p.drawLine(QLineF(x, 0, x, H));
      } else if (shapeType_ == tstHorizontalLine1) {
        p.drawLine(QLineF(0, 0, W, H));
      } else {
        p.drawLine(QLineF(W, 0, 0, H));
      }
      return;
    }
    default: break;
  }

  if (!clipped) {
    SetDirectPenAndBrush(p);
    DrawFigure(p, d);
    return;
  }

  // The fill goes through an off-screen picture of the whole control; for
  // the closed round and square figures a mask of the figure (outline
  // included) keeps everything outside it untouched on the control.
  QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
  if (!mask_) mask_ = std::make_unique<QImage>();
  *mask_ = QImage(W, H, QImage::Format_ARGB32_Premultiplied);
  mask_->fill(Qt::transparent);
  FillContent(img, d);

  if (shapeType_ == tstRectangle) {
    // The rectangle covers the control: the picture goes on whole.
    QPainter ip(&img);
    SetDirectPenAndBrush(ip);
    DrawFigure(ip, d);
    ip.end();
    p.drawImage(0, 0, img);
    return;
  }

  {
    QPainter mp(mask_.get());
    mp.setPen(OutlinePen(Qt::black, lineWidth_));
    mp.setBrush(Qt::black);
    DrawFigure(mp, d);
  }
  {
    QPainter ip(&img);
    SetDirectPenAndBrush(ip);
    DrawFigure(ip, d);
    ip.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    ip.setRenderHint(QPainter::Antialiasing, false);
    ip.drawImage(0, 0, *mask_);
  }
  p.drawImage(0, 0, img);
}

void TDSShape::SetPlaceholder(const QString& v) {
  if (v == placeholder_) return;
  placeholder_ = v;
  update();
}

void TDSShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  Paint(p);
  if (!placeholder_.isEmpty() && image_.Empty() &&
      (fillStyle_ == tfsImageStretch || fillStyle_ == tfsImageCenter || fillStyle_ == tfsImageTile)) {
    // The name of the picture that is missing, inside the figure.
    const QRect inner = rect().adjusted(width() / 6, height() / 6, -width() / 6, -height() / 6);
    p.setPen(Qt::darkGray);
    p.drawText(inner, Qt::AlignCenter | Qt::TextWrapAnywhere, placeholder_);
  }
}

QImage TDSShape::Render() const {
  QImage img(size(), QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  if (img.isNull()) return img;
  QPainter p(&img);
  Paint(p);
  return img;
}

// --- mouse ----------------------------------------------------------------------------------

void TDSShape::mousePressEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!MouseButtonFrom(e->button(), b)) return QWidget::mousePressEvent(e);
  pressed_ = b == mbLeft;
  const QPoint pt = e->position().toPoint();
  if (OnMouseDown) OnMouseDown(this, b, ShiftStateFrom(e->modifiers(), e->buttons()), pt.x(), pt.y());
}

void TDSShape::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
  TMouseButton b;
  if (!MouseButtonFrom(e->button(), b)) return;
  const QPoint pt = e->position().toPoint();
  if (OnMouseDown)
    OnMouseDown(this, b, ShiftStateFrom(e->modifiers(), e->buttons()) | ssDouble, pt.x(), pt.y());
}

void TDSShape::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  if (OnMouseMove) OnMouseMove(this, ShiftStateFrom(e->modifiers(), e->buttons()), pt.x(), pt.y());
}

void TDSShape::mouseReleaseEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!MouseButtonFrom(e->button(), b)) return QWidget::mouseReleaseEvent(e);
  const QPoint pt = e->position().toPoint();
  if (b == mbLeft && pressed_) {
    pressed_ = false;
    if (rect().contains(pt) && OnClick) OnClick(this);
  }
  if (OnMouseUp) OnMouseUp(this, b, ShiftStateFrom(e->modifiers(), e->buttons()), pt.x(), pt.y());
}
