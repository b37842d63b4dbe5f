// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Canvas.h"

#include "platform/TextLayout.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

QColor FixedPaletteColor(TColor c) {
  if (!(c & clSystemColor)) return ColorToQColor(c);
  // The classic desktop colours, by system colour index.
  static const QRgb classic[] = {
      qRgb(192, 192, 192),  // 0 scroll bar
      qRgb(0, 128, 128),    // 1 background
      qRgb(0, 0, 128),      // 2 active caption
      qRgb(128, 128, 128),  // 3 inactive caption
      qRgb(192, 192, 192),  // 4 menu
      qRgb(255, 255, 255),  // 5 window
      qRgb(0, 0, 0),        // 6 window frame
      qRgb(0, 0, 0),        // 7 menu text
      qRgb(0, 0, 0),        // 8 window text
      qRgb(255, 255, 255),  // 9 caption text
      qRgb(192, 192, 192),  // 10 active border
      qRgb(192, 192, 192),  // 11 inactive border
      qRgb(128, 128, 128),  // 12 application workspace
      qRgb(0, 0, 128),      // 13 highlight
      qRgb(255, 255, 255),  // 14 highlight text
      qRgb(192, 192, 192),  // 15 button face
      qRgb(128, 128, 128),  // 16 button shadow
      qRgb(128, 128, 128),  // 17 grey text
      qRgb(0, 0, 0),        // 18 button text
      qRgb(192, 192, 192),  // 19 inactive caption text
      qRgb(255, 255, 255),  // 20 button highlight
      qRgb(0, 0, 0),        // 21 3D dark shadow
      qRgb(223, 223, 223),  // 22 3D light
      qRgb(0, 0, 0),        // 23 tool tip text
      qRgb(255, 255, 225),  // 24 tool tip background
  };
  const unsigned i = c & 0xFF;
  return QColor(i < std::size(classic) ? classic[i] : classic[15]);
}

// ---------------------------------------------------------------------------
// Canvas

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

void TCanvas::SetFontPixelHeight(int pixels) {
  // Kept in hundredths of a point, so that the height asked for is the
  // height measured back, whatever the resolution.
  constexpr int kHundredthsPerInch = 7200;
  TFont f = Font();
  f.PixelsPerInch = kHundredthsPerInch;
  f.Height = -std::max(1, int(std::lround(std::max(1, pixels) * kHundredthsPerInch /
                                          std::max(1e-6, Resolution()))));
  SetFont(f);
}

int TCanvas::FontPixelHeight() {
  return std::max(1, int(std::lround(Font().PointSize() * PixelsPerPoint())));
}

void TCanvas::ApplyOuterClip(QPainter& p) const {
  if (!hasOuterClip_) {
    p.setClipping(false);
  } else if (outerEllipse_ || !outerHole_.isEmpty()) {
    QPainterPath path;
    if (outerEllipse_)
      path.addEllipse(QRectF(outerClip_));
    else
      path.addRect(QRectF(outerClip_));
    if (!outerHole_.isEmpty()) {
      QPainterPath hole;
      hole.addEllipse(QRectF(outerHole_));
      path = path.subtracted(hole);
    }
    p.setClipPath(path);
  } else {
    p.setClipRect(outerClip_);
  }
}

void TCanvas::SetOuterClip(const QRect& r, bool ellipse, const QRect& hole) {
  hasOuterClip_ = true;
  outerClip_ = r;
  outerEllipse_ = ellipse;
  outerHole_ = hole;
  if (QPainter* p = Painter()) ApplyOuterClip(*p);
}

void TCanvas::RemoveOuterClip() {
  hasOuterClip_ = false;
  if (QPainter* p = Painter()) p->setClipping(false);
}

void TCanvas::SetClipRect(const QRect& r) {
  QPainter* p = Painter();
  if (!p) return;
  ApplyOuterClip(*p);
  p->setClipRect(r, hasOuterClip_ ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TCanvas::RemoveClip() {
  if (QPainter* p = Painter()) ApplyOuterClip(*p);
}

void TCanvas::SelectPenAndBrush(QPainter& p) {
  if (pen_.Style == psClear) {
    p.setPen(Qt::NoPen);
  } else {
    QPen pen(ColorOf(pen_.Color));
    pen.setWidth(std::max(1, pen_.Width));
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::SquareCap);
    switch (pen_.Style) {
      case psDash: pen.setStyle(Qt::DashLine); break;
      case psDot: pen.setStyle(Qt::DotLine); break;
      case psDashDot: pen.setStyle(Qt::DashDotLine); break;
      case psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
      default: pen.setStyle(Qt::SolidLine); break;
    }
    p.setPen(pen);
  }
  if (brush_.Style == bsClear)
    p.setBrush(Qt::NoBrush);
  else
    p.setBrush(ColorOf(brush_.Color));
  p.setRenderHint(QPainter::Antialiasing, false);
}

QRectF TCanvas::Outline(const QRect& r, double inset) const {
  if (pen_.Style == psClear) return QRectF(r);
  if (inset < 0) inset = (std::max(1, pen_.Width) % 2) * 0.5;
  return QRectF(r.left() + inset, r.top() + inset, r.width() - 2 * inset, r.height() - 2 * inset);
}

void TCanvas::Rectangle(const QRect& r, double inset) {
  QPainter* p = Painter();
  if (!p || r.width() <= 0 || r.height() <= 0) return;
  p->save();
  SelectPenAndBrush(*p);
  p->drawRect(Outline(r, inset));
  p->restore();
}

void TCanvas::RoundRect(const QRect& r, int cx, int cy, double inset) {
  QPainter* p = Painter();
  if (!p || r.width() <= 0 || r.height() <= 0) return;
  p->save();
  SelectPenAndBrush(*p);
  p->setRenderHint(QPainter::Antialiasing, true);
  p->drawRoundedRect(Outline(r, inset), std::max(0, cx) / 2.0, std::max(0, cy) / 2.0,
                     Qt::AbsoluteSize);
  p->restore();
}

void TCanvas::Ellipse(const QRect& r, double inset) {
  QPainter* p = Painter();
  if (!p || r.width() <= 0 || r.height() <= 0) return;
  p->save();
  SelectPenAndBrush(*p);
  p->setRenderHint(QPainter::Antialiasing, true);
  p->drawEllipse(Outline(r, inset));
  p->restore();
}

void TCanvas::FillRect(const QRect& r, TColor color) {
  if (QPainter* p = Painter()) p->fillRect(r, ColorOf(color));
}

QImage TCanvas::AndEmulation(const QImage& image) const {
  // Vector output (PDF) knows no raster operations: ANDing a picture onto
  // the page is drawn as the picture with its white made transparent,
  // which is what the AND gives on white paper and what the preview shows.
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((line[x] & 0x00FFFFFFu) == 0x00FFFFFFu) line[x] = 0;
  }
  return out;
}

void TCanvas::StretchDraw(const QRectF& dest, const QImage& image) {
  QPainter* p = Painter();
  if (!p || image.isNull() || dest.width() <= 0 || dest.height() <= 0) return;
  p->save();
  p->setRenderHint(QPainter::SmoothPixmapTransform, true);
  p->setRenderHint(QPainter::Antialiasing, true);
  p->drawImage(dest, copyMode_ == cmSrcAnd ? AndEmulation(image) : image);
  p->restore();
}

void TCanvas::StretchDraw(const QRectF& dest, const TPicture& picture) {
  QPainter* p = Painter();
  if (!p || picture.Empty() || dest.width() <= 0 || dest.height() <= 0) return;
  const QString format = picture.Format();
  const bool vector = format == QLatin1String("svg") || format == QLatin1String("wmf");
  if (vector && copyMode_ == cmSrcCopy) {
    // Drawings stay drawings on paper.
    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    picture.Draw(*p, dest);
    p->restore();
    return;
  }
  QImage image = picture.ToImage();
  if (image.hasAlphaChannel()) {
    // What shows through a picture is the paper, never undefined pixels.
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter q(&opaque);
    q.drawImage(0, 0, image);
    q.end();
    image = opaque;
  }
  StretchDraw(dest, image);
}

int TCanvas::Pixels(double points) {
  return std::max(0, int(std::ceil(points * PixelsPerPoint() - 1e-6)));
}

TTextMetric TCanvas::TextMetrics() {
  const TTextMetrics f = FontMetrics(TextFont());
  const double k = PixelsPerPoint();
  TTextMetric m;
  m.Ascent = int(std::lround(f.Ascent * k));
  m.Height = std::max(1, int(std::lround(f.Height() * k)));
  m.Descent = m.Height - m.Ascent;
  m.ExternalLeading = int(std::lround(f.ExternalLeading * k));
  m.AveCharWidth = int(std::lround(f.AverageCharWidth * k));
  return m;
}

int TCanvas::TextWidth(const QString& text) { return Pixels(TextAdvance(TextFont(), text)); }

int TCanvas::TextHeight(const QString&) { return TextMetrics().Height; }

TTextBlock TCanvas::Layout(const QString& text, const TTextOptions& options) {
  return LayoutText(TextFont(), text, options);
}

void TCanvas::DrawBlock(double x, double y, const TTextBlock& block) {
  QPainter* p = Painter();
  if (!p || block.Empty()) return;
  DrawTextBlock(*p, block, QPointF(x, y), PixelsPerPoint(), 0, ColorOf(Font().Color));
}

namespace {
TTextOptions OneLine() {
  TTextOptions o;
  o.Flags = DT_SINGLELINE | DT_NOPREFIX;
  return o;
}
}  // namespace

void TCanvas::TextOut(int x, int y, const QString& text) {
  QPainter* p = Painter();
  if (!p || text.isEmpty()) return;
  if (bkMode_ == bkOpaque && brush_.Style != bsClear)
    p->fillRect(QRect(x, y, TextWidth(text), TextMetrics().Height), ColorOf(brush_.Color));
  DrawBlock(x, y, Layout(text, OneLine()));
}

void TCanvas::TextRect(const QRect& clip, int x, int y, const QString& text) {
  QPainter* p = Painter();
  if (!p) return;
  p->save();
  p->setClipRect(clip, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  TextOut(x, y, text);
  p->restore();
}

void TCanvas::TurnedTextOut(int x, int y, const QString& text, int escapement) {
  QPainter* p = Painter();
  if (!p || text.isEmpty()) return;
  if (bkMode_ == bkOpaque && brush_.Style != bsClear) {
    p->save();
    p->translate(x, y);
    if (escapement != 0) p->rotate(-escapement / 10.0);
    p->fillRect(QRect(0, 0, TextWidth(text), TextMetrics().Height), ColorOf(brush_.Color));
    p->restore();
  }
  DrawTextBlock(*p, Layout(text, OneLine()), QPointF(x, y), PixelsPerPoint(), escapement,
                ColorOf(Font().Color));
}

QList<double> TCanvas::StopsInPoints(const QList<int>& stops) {
  QList<double> out;
  const double k = PixelsPerPoint();
  for (int s : stops) out.append(s / k);
  return out;
}

int TCanvas::TabbedTextWidth(const QString& text, const QList<int>& stops) {
  TTextOptions o = OneLine();
  o.Flags |= DT_EXPANDTABS;
  o.TabStops = StopsInPoints(stops);
  return Pixels(Layout(text, o).Width);
}

void TCanvas::TabbedTextOut(int x, int y, const QString& text, const QList<int>& stops,
                            int tabOrigin) {
  if (text.isEmpty()) return;
  TTextOptions o = OneLine();
  o.Flags |= DT_EXPANDTABS;
  // The stops count from the tab origin; the line starts at x.
  o.TabStops = StopsInPoints(stops);
  o.TabOffset = (x - tabOrigin) / PixelsPerPoint();
  const TTextBlock block = Layout(text, o);
  QPainter* p = Painter();
  if (p && bkMode_ == bkOpaque && brush_.Style != bsClear)
    p->fillRect(QRect(x, y, Pixels(block.Width), TextMetrics().Height), ColorOf(brush_.Color));
  DrawBlock(x, y, block);
}

QStringList TCanvas::WrapText(const QString& text, int width, bool charWrap) {
  if (text.isEmpty()) return {QString()};
  TTextOptions o;
  o.Flags = DT_WORDBREAK | DT_NOPREFIX;
  o.Width = width / PixelsPerPoint();
  o.CharWrap = charWrap;
  QStringList lines;
  for (const TTextLine& l : Layout(text, o).Lines) lines.append(l.Text);
  return lines;
}

QRect TCanvas::MeasureText(const QRect& r, const QString& text, unsigned flags, bool charWrap) {
  if (text.isEmpty()) return QRect(r.topLeft(), QSize(0, 0));
  TTextOptions o;
  o.Flags = flags & (DT_WORDBREAK | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_NOPREFIX);
  o.Width = r.width() / PixelsPerPoint();
  o.CharWrap = charWrap;
  const TTextBlock b = Layout(text, o);
  return QRect(r.left(), r.top(), Pixels(b.Width), Pixels(b.Height));
}
