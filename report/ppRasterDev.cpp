// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppRasterDev.h"

#include "platform/Canvas.h"
#include "report/ppDrwCmd.h"
#include "report/ppUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

TppRect TppRasterDevice::BoxOf(const TppDrawCommand& c) {
  return {c.Left, c.Top, c.Left + c.Width, c.Top + c.Height};
}

QString TppRasterDevice::ParagraphMark() { return QStringLiteral("$\u00B6"); }

QString TppRasterDevice::WithoutParagraphMark(const QString& line) {
  QString out = line;
  out.remove(ParagraphMark());
  return out;
}

TppRasterDevice::TppPictureSource TppRasterDevice::PictureSourceOf(const TppDrawImage& c) {
  const TPicture& picture = c.Picture();
  if (picture.Format() == QLatin1String("bmp")) {
    const bool monochrome = picture.ToImage().depth() == 1;
    return monochrome && c.DirectDraw ? psGraphic : psBitmap;
  }
  if (c.DirectDraw) return psGraphic;
  // Metafiles, drawings and icons have no bitmap: they are drawn as they
  // are (a drawing stays a drawing in a PDF).
  return c.CachedBitmap().isNull() ? psGraphic : psBitmap;
}

TppRasterDevice::TppDevicePen TppRasterDevice::DevicePen(const TPen& designPen,
                                                         double perDesignPixel) {
  TppDevicePen d;
  d.Pen = designPen;
  if (designPen.Width <= 0) {
    d.Pen.Width = 1;
    d.Inset = TCanvas::kClassicInset;
  } else {
    d.Pen.Width = std::max(1, int(std::lround(designPen.Width * perDesignPixel)));
    d.Inset = TCanvas::DesignPenInset(designPen.Width, perDesignPixel);
  }
  return d;
}

void TppRasterDevice::PaintShape(TCanvas& canvas, const TppDrawShape& c, const QRect& r,
                                 double perDesignPixel, int cx, int cy) {
  const TppDevicePen pen = DevicePen(c.Pen, perDesignPixel);
  canvas.SetPen(pen.Pen);
  canvas.SetBrush(c.Brush);
  switch (c.ShapeType) {
    case stRectangle: canvas.Rectangle(r, pen.Inset); break;
    case stRoundRect: canvas.RoundRect(r, cx, cy, pen.Inset); break;
    case stEllipse: canvas.Ellipse(r, pen.Inset); break;
    default: break;  // squares and circles come as rectangles and ellipses
  }
}

void TppRasterDevice::PaintEdgeLines(TCanvas& canvas, const TppDrawLine& c, const QRect& r,
                                     int thickness, int gap) {
  const int passes = c.LineStyle == lsDouble ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int in = pass * gap;
    QRect band;
    switch (c.LinePosition) {
      case lpTop: band = QRect(r.left(), r.top() + in, r.width(), thickness); break;
      case lpBottom:
        band = QRect(r.left(), r.top() + r.height() - in - thickness, r.width(), thickness);
        break;
      case lpLeft: band = QRect(r.left() + in, r.top(), thickness, r.height()); break;
      case lpRight:
        band = QRect(r.left() + r.width() - in - thickness, r.top(), thickness, r.height());
        break;
    }
    canvas.FillRect(band, c.Pen.Color);
  }
}

QRectF TppRasterDevice::PicturePlace(const TppDrawImage& c, const QRectF& r) {
  const TPicture& picture = c.Picture();
  const int pw = picture.Width(), ph = picture.Height();
  const int w = MMThousandthsToDesignPixels(c.Width), h = MMThousandthsToDesignPixels(c.Height);
  if (w <= 0 || h <= 0) return r;
  QRect place;
  if (c.Stretch && c.MaintainAspectRatio) {
    const long double s =
        pw > 0 && ph > 0 ? std::min(w / (long double)pw, h / (long double)ph) : 0.0L;
    place = QRect(0, 0, ppTrunc(pw * s), ppTrunc(ph * s));
    if (c.Center) place.translate((w - place.width()) / 2, (h - place.height()) / 2);
  } else if (c.Stretch) {
    place = QRect(0, 0, w, h);
  } else if (c.Center) {
    place = QRect((w - pw) / 2, (h - ph) / 2, pw, ph);
  } else {
    place = QRect(0, 0, pw, ph);
  }
  const double sx = r.width() / w, sy = r.height() / h;
  return QRectF(r.left() + place.left() * sx, r.top() + place.top() * sy, place.width() * sx,
                place.height() * sy);
}

void TppRasterDevice::PaintPicture(TCanvas& canvas, const TppDrawImage& c,
                                   TppPictureSource source, const QRectF& r) {
  const TPicture& picture = c.Picture();
  if (picture.Empty() || r.width() <= 0 || r.height() <= 0) return;
  const QRectF target = PicturePlace(c, r);
  // Every pixel the box touches: its edge pixels get their share.
  canvas.SetClipRect(r.toAlignedRect());
  canvas.SetCopyMode(c.Transparent ? cmSrcAnd : cmSrcCopy);
  // The painter scales the picture as it is: it is never enlarged to
  // device pixels beforehand.
  if (source == psGraphic)
    canvas.StretchDraw(target, picture);
  else if (picture.Format() == QLatin1String("bmp"))
    canvas.StretchDraw(target, picture.ToImage());
  else
    canvas.StretchDraw(target, c.CachedBitmap());
  canvas.SetCopyMode(cmSrcCopy);
  canvas.RemoveClip();
}

QStringList TppRasterDevice::TextLines(const TppDrawText& c) {
  if (c.WordWrap) return c.WrappedText;
  if (!c.Text.isEmpty()) return {c.Text};
  return {};
}

void TppRasterDevice::PaintText(TCanvas& canvas, TppDrawText& c, QRect r, int lineHeight,
                                QStringList lines, const TppTextOutput& o) {
  // The paragraph marks come off before anything is measured; the line
  // that carried one ends its paragraph, as the last line does.
  std::vector<bool> paragraphEnd(size_t(lines.size()), false);
  for (int i = 0; i < lines.size(); ++i) {
    paragraphEnd[size_t(i)] = lines[i].contains(ParagraphMark()) || i == lines.size() - 1;
    lines[i].remove(ParagraphMark());
  }
  const double k = canvas.PixelsPerPoint();
  TTextOptions options;
  options.Flags = o.Tabbed ? DT_EXPANDTABS : 0;
  for (int stop : o.TabStops) options.TabStops.append(stop / k);
  options.LineHeight = std::max(1, lineHeight) / k;
  options.AlignFromFlags = false;
  switch (c.TextAlignment) {
    case taLeftJustified: options.Align = TTextAlign::Left; break;
    case taRightJustified: options.Align = TTextAlign::Right; break;
    case taCentered: options.Align = TTextAlign::Center; break;
    case taFullJustified: options.Align = TTextAlign::Justify; break;
  }
  options.JustifyLastLine = c.ForceJustifyLastLine;
  if (c.AutoSize && !lines.isEmpty()) {
    // The widest line's width, kept at the text's anchor.
    const int widest = std::max(0, int(std::ceil(
        LayoutLines(canvas.TextFont(), lines, paragraphEnd, options).Width * k - 1e-6)));
    if (widest != r.width()) {
      switch (c.Alignment()) {
        case taLeftJustify: r.setWidth(widest); break;
        case taRightJustify: r.setLeft(r.left() + r.width() - widest); break;
        case taCenter:
          r.moveLeft(r.left() + ppRound((r.width() - widest) / 2.0L));
          r.setWidth(widest);
          break;
      }
    }
  }
  options.Width = std::max(0, r.width()) / k;
  const TTextBlock block = LayoutLines(canvas.TextFont(), lines, paragraphEnd, options);
  if (!c.Transparent || o.Opaque) canvas.FillRect(r, c.Color);
  TBrush clear;
  clear.Style = bsClear;
  canvas.SetBrush(clear);
  canvas.SetBkMode(bkTransparent);
  if (o.ClipLines && !o.Tabbed) canvas.SetClipRect(r);
  canvas.DrawBlock(r.left(), r.top(), block);
  if (o.ClipLines && !o.Tabbed) canvas.RemoveClip();
  if (c.AutoSize) {
    c.DeviceRect.Left = r.left();
    c.DeviceRect.Right = r.left() + r.width();
    c.DeviceRect.Bottom = r.top() + int(lines.size()) * lineHeight;
  }
}
