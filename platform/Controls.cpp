// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Controls.h"

#include <QMouseEvent>
#include <QPainter>

TPanel::TPanel(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void TPanel::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  update();
}

static void DrawBevel(QPainter& p, QRect& r, TBevelCut cut) {
  if (cut == bvNone) return;
  const QColor light = ColorToQColor(clBtnHighlight), dark = ColorToQColor(clBtnShadow);
  const QColor tl = cut == bvRaised ? light : dark, br = cut == bvRaised ? dark : light;
  p.setPen(tl);
  p.drawLine(r.left(), r.top(), r.right(), r.top());
  p.drawLine(r.left(), r.top(), r.left(), r.bottom());
  p.setPen(br);
  p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  p.drawLine(r.right(), r.top(), r.right(), r.bottom());
  r.adjust(1, 1, -1, -1);
}

void TPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ColorToQColor(color_));
  QRect r = rect();
  DrawBevel(p, r, BevelOuter);
  DrawBevel(p, r, BevelInner);
}

void TPanel::mousePressEvent(QMouseEvent* e) {
  pressed_ = e->button() == Qt::LeftButton;
  QWidget::mousePressEvent(e);
}

void TPanel::mouseReleaseEvent(QMouseEvent* e) {
  const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
  pressed_ = false;
  if (click && OnClick) OnClick(this);
  QWidget::mouseReleaseEvent(e);
}

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::SetShape(TShapeType s) {
  if (s == shape_) return;
  shape_ = s;
  update();
}
void TShape::SetBrushColor(TColor c) {
  if (c == brushColor_) return;
  brushColor_ = c;
  update();
}
void TShape::SetBrushStyle(TBrushStyle s) {
  if (s == brushStyle_) return;
  brushStyle_ = s;
  update();
}
void TShape::SetPenColor(TColor c) {
  if (c == penColor_) return;
  penColor_ = c;
  update();
}
void TShape::SetPenStyle(TPenStyle s) {
  if (s == penStyle_) return;
  penStyle_ = s;
  update();
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, shape_ == stCircle || shape_ == stEllipse);
  static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                        Qt::DashDotDotLine, Qt::NoPen};
  QPen pen(ColorToQColor(penColor_));
  pen.setStyle(styles[penStyle_]);
  pen.setWidth(1);
  p.setPen(pen);
  p.setBrush(brushStyle_ == bsSolid ? QBrush(ColorToQColor(brushColor_)) : QBrush(Qt::NoBrush));
  QRectF r(0.5, 0.5, width() - 1, height() - 1);
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    const qreal s = std::min(r.width(), r.height());
    r = QRectF(r.left() + (r.width() - s) / 2, r.top() + (r.height() - s) / 2, s, s);
  }
  switch (shape_) {
    case stRectangle:
    case stSquare: p.drawRect(r); break;
    case stRoundRect:
    case stRoundSquare: {
      const qreal rad = std::min(r.width(), r.height()) / 4;
      p.drawRoundedRect(r, rad, rad);
      break;
    }
    case stEllipse:
    case stCircle: p.drawEllipse(r); break;
  }
}
