#include "report/ppRasterDev.h"

#include "platform/Canvas.h"
#include "report/ppDrwCmd.h"
#include "report/ppUtils.h"

#include <algorithm>
#include <vector>

std::optional<TppDrawingContext> TppRasterDevice::DrawingFor(TppDrawCommand*) {
  return std::nullopt;
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

void TppRasterDevice::PaintShape(TCanvas& canvas, const TppDrawShape& c, const QRect& r,
                                 const TPen& pen, double inset, int cx, int cy) {
  canvas.SetPen(pen);
  canvas.SetBrush(c.Brush);
  switch (c.ShapeType) {
    case stRectangle: canvas.Rectangle(r, inset); break;
    case stRoundRect: canvas.RoundRect(r, cx, cy, inset); break;
    case stEllipse: canvas.Ellipse(r, inset); break;
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

void TppRasterDevice::PaintPicture(TCanvas& canvas, const TppDrawImage& c,
                                   TppPictureSource source, const QRect& target,
                                   const QRect* clip) {
  const TPicture& picture = c.Picture();
  if (picture.Empty()) return;
  if (clip) canvas.SetClipRect(*clip);
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
  if (clip) canvas.RemoveClip();
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
  auto widthOf = [&](const QString& line) {
    return o.Tabbed ? canvas.TabbedTextWidth(line, o.TabStops) : canvas.TextWidth(line);
  };
  if (c.AutoSize && !lines.isEmpty()) {
    int widest = 0;
    for (const QString& l : lines) widest = std::max(widest, widthOf(l));
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
  if (!c.Transparent || o.Opaque) canvas.FillRect(r, c.Color);
  TBrush clear;
  clear.Style = bsClear;
  canvas.SetBrush(clear);
  canvas.SetBkMode(bkTransparent);
  for (int i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    const int y = r.top() + i * lineHeight;
    const QRect clip(r.left(), y, r.width(), std::max(0, r.top() + r.height() - y));
    auto out = [&](int x, const QString& text) {
      if (o.Tabbed)
        canvas.TabbedTextOut(x, y, text, o.TabStops, x);
      else if (o.ClipLines)
        canvas.TextRect(clip, x, y, text);
      else
        canvas.TextOut(x, y, text);
    };
    const int width = widthOf(line);
    int x = r.left();
    switch (c.TextAlignment) {
      case taLeftJustified: break;
      case taRightJustified: x = r.left() + r.width() - width; break;
      case taCentered: x = r.left() + ppRound((r.width() - width) / 2.0L - 0.5L); break;
      case taFullJustified: {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() > 1 && (!paragraphEnd[size_t(i)] || c.ForceJustifyLastLine)) {
          int wordsWidth = 0;
          for (const QString& w : words) wordsWidth += widthOf(w);
          const int gaps = int(words.size()) - 1;
          const int spare = r.width() - wordsWidth;
          int wx = r.left();
          for (int k = 0; k < words.size(); ++k) {
            out(wx, words[k]);
            wx += widthOf(words[k]) + (k < gaps ? spare / gaps + (k < spare % gaps) : 0);
          }
          continue;
        }
        break;
      }
    }
    out(x, line);
  }
  if (c.AutoSize) {
    c.DeviceRect.Left = r.left();
    c.DeviceRect.Right = r.left() + r.width();
    c.DeviceRect.Bottom = r.top() + int(lines.size()) * lineHeight;
  }
}
