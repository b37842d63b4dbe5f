// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BarPopupMenu.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <cmath>

namespace {

// Entries captioned "#" take no part in the bar: not counted, not drawn.
bool IsPlaceholder(const QAction* a) { return a && a->text() == QLatin1String("#"); }

// A copy of img of the given size keeping its pixels at the top left, as a
// bitmap keeps its picture when it is resized.
QImage Resized(const QImage& img, int w, int h) {
  if (w <= 0 || h <= 0) return QImage();
  QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::black);
  if (!img.isNull()) {
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, img);
  }
  return out;
}

// The picture with its background colour (the bottom-left pixel) cleared.
QImage WithoutBackground(const QImage& img) {
  QImage out = img.convertToFormat(QImage::Format_ARGB32);
  if (out.isNull()) return out;
  const QRgb key = out.pixel(0, out.height() - 1);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if (line[x] == key) line[x] = 0;
  }
  return out;
}

}  // namespace

TBarPopupMenu::TBarPopupMenu(QWidget* parent) : QMenu(parent) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()))
    verticalText_ = ApplicationTitle();
  verticalFont_.Name = QStringLiteral("Tahoma");
  verticalFont_.SetSize(14);
  verticalFont_.Color = clWhite;
  verticalFont_.Style = fsBold | fsItalic;
  barBitmap_ = std::make_unique<QImage>();
  ApplyMargins();
  // Every way of showing the menu (popup or exec) starts a fresh bar.
  connect(this, &QMenu::aboutToShow, this, [this] { BeginPopup(); });
}

TBarPopupMenu::~TBarPopupMenu() = default;

QImage& TBarPopupMenu::Bitmap() {
  if (!bitmap_) {
    bitmap_ = std::make_unique<QImage>();
    bitmapTransparent_ = true;
  }
  return *bitmap_;
}

void TBarPopupMenu::SetBitmap(const QImage& b) { Bitmap() = b; }

void TBarPopupMenu::SetTransparent(bool v) {
  if (bitmap_ && bitmapTransparent_ != v) bitmapTransparent_ = v;
}

void TBarPopupMenu::SetBarWidth(int v) {
  barWidth_ = v;
  ApplyMargins();
}

void TBarPopupMenu::SetBarVisible(bool v) {
  if (v == barVisible_) return;
  if (!v) barBitmap_.reset();
  else if (!barBitmap_) barBitmap_ = std::make_unique<QImage>();
  barVisible_ = v;
  ApplyMargins();
}

// The entries are widened by the bar: the style lays them out to the right
// of a left margin as wide as the bar.
void TBarPopupMenu::ApplyMargins() {
  setContentsMargins(barVisible_ ? std::max(barWidth_, 0) : 0, 0, 0, 0);
}

void TBarPopupMenu::Popup(int x, int y) {
  BeginPopup();
  popup(QPoint(x, y));
}

void TBarPopupMenu::BeginPopup() {
  totalHeight_ = 0;
  barDrawn_ = false;
  measured_ = false;
  ApplyMargins();
}

void TBarPopupMenu::MeasureItem(const QAction* item, int& width, int& height) {
  if (barVisible_) width += barWidth_;
  if (item && item->isVisible() && !IsPlaceholder(item)) totalHeight_ += height;
}

void TBarPopupMenu::Measure() {
  measured_ = true;
  const int margin = barVisible_ ? barWidth_ : 0;
  for (QAction* a : actions()) {
    const QRect g = actionGeometry(a);
    if (g.isNull()) continue;  // not laid out: hidden
    int w = g.width() - margin, h = g.height();
    MeasureItem(a, w, h);
  }
}

QPoint TBarPopupMenu::CanvasOrigin() const {
  const int margin = barVisible_ ? barWidth_ : 0;
  bool any = false;
  QPoint o;
  for (QAction* a : actions()) {
    const QRect g = actionGeometry(a);
    if (g.isNull() || !a->isVisible()) continue;
    if (!any || g.top() < o.y()) o.setY(g.top());
    if (!any) o.setX(g.left() - margin);
    any = true;
  }
  return any ? o : QPoint(contentsRect().left() - margin, contentsRect().top());
}

QColor TBarPopupMenu::GradientColor(const QColor& s, const QColor& e, int y, int total) {
  if (total == 0) return s;
  auto mix = [y, total](int a, int b) { return (a + (b - a) * y / total) & 0xFF; };
  return QColor(mix(s.red(), e.red()), mix(s.green(), e.green()), mix(s.blue(), e.blue()));
}

int TBarPopupMenu::CaptionX(int barWidth, int textHeight) {
  return int(std::lrint((barWidth - textHeight) / 2.0 - 0.5)) - 1;
}

QPoint TBarPopupMenu::BitmapPosition(TBitmapHorzAlignment h, TBitmapVertAlignment v, int barWidth,
                                     int total, int offsetX, int offsetY, const QSize& pic) {
  int py = offsetY;
  if (v == bvaBottom) py = total + offsetY - pic.height();
  else if (v == bvaMiddle) py = (total - pic.height()) / 2 + offsetY;
  int px = offsetX;
  if (h == bhaRight) px = barWidth - 2 + offsetX - pic.width();
  else if (h == bhaCenter) px = (barWidth - 2 - pic.width()) / 2 + offsetX;
  return QPoint(px, py);
}

void TBarPopupMenu::DrawItemBar(QPainter& canvas, const QAction* item, int left, int top, int right,
                                int bottom) {
  if (IsPlaceholder(item) || !barVisible_ || !barBitmap_) return;

  const int bw = barWidth_ - 2;
  if (barBitmap_->height() != totalHeight_ || barBitmap_->width() != bw)
    *barBitmap_ = Resized(*barBitmap_, bw, totalHeight_);
  QImage& bar = *barBitmap_;

  if (barDrawn_) {
    // The bar is complete: give this entry its band back.
    const QRect band(0, top, bar.width(), bottom - top);
    canvas.drawImage(band, bar, band);
    return;
  }
  if (bar.isNull()) return;

  QPainter bp(&bar);
  if (gradientStart_ == gradientEnd_) {
    bp.fillRect(QRect(0, top, bw, bottom - top), ColorToQColor(gradientStart_));
  } else if (totalHeight_ != 0) {
    const QColor s = ColorToQColor(gradientStart_), e = ColorToQColor(gradientEnd_);
    for (int y = top; y <= bottom; ++y) bp.fillRect(QRect(0, y, bw, 1), GradientColor(s, e, y, totalHeight_));
  }

  // The caption runs upwards from near the bottom of the bar; each entry
  // writes the slice of it that crosses its own band.
  const QFont font = verticalFont_.ToQFont();
  const QFontMetrics fm(font);
  const int x = CaptionX(barWidth_, fm.height());
  int y = totalHeight_ + verticalTextOffsetY_;
  if (bitmap_ && vertAlignment_ == bvaBottom) y -= bitmap_->height();
  bp.save();
  bp.setClipRect(QRect(left, top, right - left, bottom + 1 - top));
  bp.setFont(font);
  bp.setPen(ColorToQColor(verticalFont_.Color));
  bp.setBrush(Qt::NoBrush);
  bp.translate(x, y);
  bp.rotate(-90);
  bp.drawText(QPointF(0, fm.ascent()), verticalText_);
  bp.restore();

  if (bottom != totalHeight_) return;

  // The last counted entry: the bar is complete.
  barDrawn_ = true;
  if (bitmap_ && !bitmap_->isNull()) {
    const QPoint at = BitmapPosition(horzAlignment_, vertAlignment_, barWidth_, totalHeight_,
                                     bitmapOffsetX_, bitmapOffsetY_, bitmap_->size());
    bp.drawImage(at, bitmapTransparent_ ? WithoutBackground(*bitmap_) : *bitmap_);
  }
  bp.end();
  canvas.drawImage(QPoint(0, 0), bar);
}

void TBarPopupMenu::paintEvent(QPaintEvent* e) {
  QMenu::paintEvent(e);
  if (!measured_) Measure();

  QPainter p(this);
  p.setClipRegion(e->region());
  const QPoint origin = CanvasOrigin();
  p.translate(origin);
  for (QAction* a : actions()) {
    const QRect g = actionGeometry(a);
    if (g.isNull() || !a->isVisible()) continue;
    const QRect item = g.translated(-origin);
    const int left = 0, top = item.top(), right = item.left() + item.width(),
              bottom = item.top() + item.height();
    if (!e->region().intersects(QRect(origin.x(), g.top(), g.right() + 1 - origin.x(), g.height() + 1)))
      continue;
    if (IsPlaceholder(a)) {
      // Nothing is drawn for it: the menu's plain background stays.
      QStyleOptionMenuItem opt;
      opt.initFrom(this);
      opt.rect = rect().translated(-origin);
      p.save();
      p.setClipRect(QRect(left, top, right - left, bottom - top), Qt::IntersectClip);
      style()->drawPrimitive(QStyle::PE_PanelMenu, &opt, &p, this);
      p.restore();
      continue;
    }
    DrawItemBar(p, a, left, top, right, bottom);
  }
}
