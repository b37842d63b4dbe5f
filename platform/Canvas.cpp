#include "platform/Canvas.h"

#include "platform/TextLayout.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------
// Faces

QString FaceSubstitute(const QString& face) {
  static const std::pair<const char*, const char*> table[] = {
      {"Courier", "Courier New"},   {"Fixedsys", "Arial"},    {"Modern", "Arial"},
      {"MS Sans Serif", "Arial"},   {"MS Serif", "Courier New"}, {"Small Fonts", "Arial"},
      {"System", "Arial"},          {"Terminal", "Arial"},
  };
  for (const auto& [from, to] : table)
    if (face == QLatin1String(from)) return QString::fromLatin1(to);
  return face;
}

bool IsOutlineFace(const QString& face) {
  // The family the font configuration gives for the name: the face itself
  // when installed, else its configured substitute ("Arial" is usually an
  // alias of an outline face with the same metrics).
  QFont f(face);
  const QString resolved = QFontInfo(f).family();
  return QFontDatabase::isSmoothlyScalable(resolved);
}

QString DrawableFace(const QString& face) {
  const QString substitute = FaceSubstitute(face);
  if (IsOutlineFace(substitute)) return substitute;
  return FaceSubstitute(QStringLiteral("Arial"));
}

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

void TCanvas::Bind(QPainter* painter, QPaintDevice* measuringDevice) {
  painter_ = painter;
  measuring_ = measuringDevice;
}

void TCanvas::SetFontPixelHeight(int pixels) {
  TFont f = Font();
  f.Height = -std::max(1, pixels);
  SetFont(f);
}

QFont TCanvas::QtFont() {
  const TFont& font = Font();
  if (hasResolved_ && font.Name == resolvedFor_.Name && font.Height == resolvedFor_.Height &&
      font.PixelsPerInch == resolvedFor_.PixelsPerInch && font.Style == resolvedFor_.Style)
    return resolved_;
  QFont f = font.ToQFont(font.PixelsPerInch);
  f.setFamily(DrawableFace(font.Name));
  f.setKerning(false);
  f.setHintingPreference(QFont::PreferNoHinting);
  resolvedFor_ = font;
  resolved_ = f;
  hasResolved_ = true;
  return f;
}

void TCanvas::ApplyOuterClip(QPainter& p) const {
  if (!hasOuterClip_) {
    p.setClipping(false);
  } else if (outerEllipse_) {
    QPainterPath path;
    path.addEllipse(QRectF(outerClip_));
    p.setClipPath(path);
  } else {
    p.setClipRect(outerClip_);
  }
}

void TCanvas::SetOuterClip(const QRect& r, bool ellipse) {
  hasOuterClip_ = true;
  outerClip_ = r;
  outerEllipse_ = ellipse;
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

void TCanvas::StretchDraw(const QRect& dest, const QImage& image) {
  QPainter* p = Painter();
  if (!p || image.isNull() || dest.width() <= 0 || dest.height() <= 0) return;
  p->save();
  p->setRenderHint(QPainter::SmoothPixmapTransform, true);
  p->drawImage(QRectF(dest), copyMode_ == cmSrcAnd ? AndEmulation(image) : image);
  p->restore();
}

void TCanvas::StretchDraw(const QRect& dest, const TPicture& picture) {
  QPainter* p = Painter();
  if (!p || picture.Empty() || dest.width() <= 0 || dest.height() <= 0) return;
  const QString format = picture.Format();
  const bool vector = format == QLatin1String("svg") || format == QLatin1String("wmf");
  if (vector && copyMode_ == cmSrcCopy) {
    // Drawings stay drawings on paper.
    p->save();
    picture.Draw(*p, QRectF(dest));
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

TTextMetric TCanvas::TextMetrics() {
  const QFont f = QtFont();
  QPaintDevice* device = MeasuringDevice();
  const QFontMetrics fm = device ? QFontMetrics(f, device) : QFontMetrics(f);
  TTextMetric m;
  m.Ascent = fm.ascent();
  m.Descent = fm.descent();
  m.Height = m.Ascent + m.Descent;
  m.ExternalLeading = std::max(0, fm.leading());
  m.AveCharWidth = fm.averageCharWidth();
  return m;
}

int TCanvas::TextWidth(const QString& text) { return LineWidth(text, false); }

int TCanvas::TextHeight(const QString&) { return TextMetrics().Height; }

int TCanvas::LineWidth(const QString& line, bool expandTabs) {
  const QFont f = QtFont();
  QPaintDevice* device = MeasuringDevice();
  const QFontMetrics fm = device ? QFontMetrics(f, device) : QFontMetrics(f);
  if (!expandTabs || !line.contains(QLatin1Char('\t'))) return fm.horizontalAdvance(line);
  const int tab = std::max(1, 8 * fm.averageCharWidth());
  int x = 0, start = 0;
  for (int i = 0; i <= line.size(); ++i) {
    if (i == line.size() || line.at(i) == QLatin1Char('\t')) {
      x += fm.horizontalAdvance(line.mid(start, i - start));
      if (i < line.size()) x = (x / tab + 1) * tab;
      start = i + 1;
    }
  }
  return x;
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  QPainter* p = Painter();
  if (!p || text.isEmpty()) return;
  const TTextMetric m = TextMetrics();
  if (bkMode_ == bkOpaque && brush_.Style != bsClear)
    p->fillRect(QRect(x, y, TextWidth(text), m.Height), ColorOf(brush_.Color));
  p->save();
  p->setRenderHint(QPainter::TextAntialiasing, true);
  p->setFont(QtFont());
  p->setPen(ColorOf(Font().Color));
  p->drawText(QPointF(x, y + m.Ascent), text);
  p->restore();
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
  const TTextMetric m = TextMetrics();
  p->save();
  p->setRenderHint(QPainter::TextAntialiasing, true);
  p->setFont(QtFont());
  p->setPen(ColorOf(Font().Color));
  p->translate(x, y);
  // Escapement turns counter-clockwise as seen; with y pointing down Qt's
  // positive rotation is clockwise.
  if (escapement != 0) p->rotate(-escapement / 10.0);
  if (bkMode_ == bkOpaque && brush_.Style != bsClear)
    p->fillRect(QRect(0, 0, TextWidth(text), m.Height), ColorOf(brush_.Color));
  p->drawText(QPointF(0, m.Ascent), text);
  p->restore();
}

int TCanvas::NextTabStop(int pos, const QList<int>& stops) {
  if (stops.isEmpty()) {
    const int tab = std::max(1, 8 * TextMetrics().AveCharWidth);
    return (pos / tab + 1) * tab;
  }
  for (int stop : stops)
    if (stop > pos) return stop;
  // Past the last stop: the last interval again.
  const int last = stops.last();
  const int step = std::max(1, stops.size() > 1 ? last - stops[stops.size() - 2] : last);
  return last + ((pos - last) / step + 1) * step;
}

int TCanvas::TabbedTextWidth(const QString& text, const QList<int>& stops) {
  int x = 0;
  const QStringList pieces = text.split(QLatin1Char('\t'));
  for (int i = 0; i < pieces.size(); ++i) {
    if (i > 0) x = NextTabStop(x, stops);
    x += TextWidth(pieces[i]);
  }
  return x;
}

void TCanvas::TabbedTextOut(int x, int y, const QString& text, const QList<int>& stops,
                            int tabOrigin) {
  const QStringList pieces = text.split(QLatin1Char('\t'));
  int at = x;
  for (int i = 0; i < pieces.size(); ++i) {
    if (i > 0) at = tabOrigin + NextTabStop(at - tabOrigin, stops);
    TextOut(at, y, pieces[i]);
    at += TextWidth(pieces[i]);
  }
}

namespace {

// Splits at CR LF, CR or LF.
QStringList Paragraphs(const QString& text) {
  QStringList out;
  int start = 0;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
    out.append(text.mid(start, i - start));
    if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  out.append(text.mid(start));
  return out;
}

QString StripPrefixes(const QString& s) {
  QString out;
  out.reserve(s.size());
  for (int i = 0; i < s.size(); ++i) {
    if (s.at(i) == QLatin1Char('&')) {
      if (i + 1 < s.size() && s.at(i + 1) == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    out += s.at(i);
  }
  return out;
}

}  // namespace

QStringList TCanvas::WrapText(const QString& text, int width, bool charWrap) {
  QStringList lines;
  for (const QString& para : Paragraphs(text)) {
    if (para.isEmpty()) {
      lines.append(QString());
      continue;
    }
    int pos = 0;
    while (pos < para.size()) {
      // Take words while the line stays within the width; the first word
      // of a line is always taken.
      int end = pos;
      while (end < para.size()) {
        int next = end;
        while (next < para.size() && para.at(next) == QLatin1Char(' ')) ++next;
        while (next < para.size() && para.at(next) != QLatin1Char(' ')) ++next;
        const QString candidate = para.mid(pos, next - pos);
        if (end > pos && TextWidth(candidate) > width) break;
        if (end == pos && TextWidth(candidate) > width && charWrap) {
          // A word too long for the line, broken between characters:
          // at least one character a line, so the text always advances.
          int n = pos + 1;
          while (n < next && TextWidth(para.mid(pos, n + 1 - pos)) <= width) ++n;
          end = n;
          break;
        }
        end = next;
      }
      int trimmed = end;
      while (trimmed > pos && para.at(trimmed - 1) == QLatin1Char(' ')) --trimmed;
      lines.append(para.mid(pos, trimmed - pos));
      pos = end;
      while (pos < para.size() && para.at(pos) == QLatin1Char(' ')) ++pos;
    }
  }
  return lines;
}

QRect TCanvas::MeasureText(const QRect& r, const QString& text, unsigned flags, bool charWrap) {
  if (text.isEmpty()) return QRect(r.topLeft(), QSize(0, 0));
  const QString shown = (flags & DT_NOPREFIX) ? text : StripPrefixes(text);
  QStringList lines;
  if (flags & DT_SINGLELINE) {
    lines.append(shown);
  } else {
    for (const QString& para : Paragraphs(shown)) {
      if (flags & DT_WORDBREAK)
        lines.append(WrapText(para, r.width(), charWrap));
      else
        lines.append(para);
    }
  }
  const TTextMetric m = TextMetrics();
  const int lineHeight = m.Height + ((flags & DT_EXTERNALLEADING) ? m.ExternalLeading : 0);
  int widest = 0;
  for (const QString& l : lines) widest = std::max(widest, LineWidth(l, flags & DT_EXPANDTABS));
  return QRect(r.left(), r.top(), widest, lineHeight * int(lines.size()));
}
