// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextLayout.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Fonts are measured and drawn at this pixel size and scaled by the
// painter: large enough that the font engine's 1/64-pixel units are far
// below anything a device shows, so advances and heights are the font's
// design values.
constexpr int kReferencePixels = 2048;
// The slant of a face that has no italic: the usual 12 degrees of an
// emulated oblique.
constexpr double kSlant = 0.2126;
// Caches are emptied when they grow past this (a cover names a handful of
// faces; a damaged or hostile one may name thousands).
constexpr int kCacheLimit = 256;

// ---------------------------------------------------------------------------
// Faces

bool HasItalic(const QString& family) {
  for (const QString& style : QFontDatabase::styles(family))
    if (QFontDatabase::italic(family, style)) return true;
  return false;
}

// A face and style at the reference size, and how it is drawn.
struct TFaceEntry {
  QFont font;        // kerning off, no hinting, italic only when the face has one
  QFont underlined;  // the same, underlined (accelerators)
  std::unique_ptr<QFontMetricsF> metrics;
  bool slanted = false;  // italic asked for, drawn by shearing
};

// Shared, so that an entry in use outlives a cache that is emptied.
std::shared_ptr<const TFaceEntry> Entry(const TTextFont& f) {
  thread_local QHash<QString, std::shared_ptr<const TFaceEntry>> cache;
  const QString key = f.Face + QLatin1Char('\x1f') + QString::number(f.Style);
  if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;
  if (cache.size() >= kCacheLimit) cache.clear();
  auto e = std::make_shared<TFaceEntry>();
  QFont q(DrawableFace(f.Face));
  q.setPixelSize(kReferencePixels);
  q.setBold(f.Style & fsBold);
  q.setUnderline(f.Style & fsUnderline);
  q.setStrikeOut(f.Style & fsStrikeOut);
  q.setKerning(false);
  q.setHintingPreference(QFont::PreferNoHinting);
  if (f.Style & fsItalic) {
    q.setItalic(true);
    if (!HasItalic(QFontInfo(q).family())) {
      q.setItalic(false);
      e->slanted = true;
    }
  }
  e->font = q;
  e->underlined = q;
  e->underlined.setUnderline(true);
  e->metrics = std::make_unique<QFontMetricsF>(q);
  cache.insert(key, e);
  return e;
}

// Points per reference pixel.
double Unit(const TTextFont& f) { return std::max(0.0, f.Points) / kReferencePixels; }

// ---------------------------------------------------------------------------
// Text with its accelerator marks

struct TMarked {
  QString text;
  std::vector<bool> underline;

  int size() const { return int(text.size()); }
  TMarked mid(int from, int n) const {
    TMarked m;
    m.text = text.mid(from, n);
    m.underline.assign(underline.begin() + from, underline.begin() + from + m.size());
    return m;
  }
};

TMarked Plain(const QString& s) {
  TMarked m;
  m.text = s;
  m.underline.assign(size_t(s.size()), false);
  return m;
}

TMarked StripPrefixes(const QString& s) {
  TMarked m;
  m.text.reserve(s.size());
  bool pending = false;
  for (int i = 0; i < s.size(); ++i) {
    const QChar c = s.at(i);
    if (c == QLatin1Char('&')) {
      if (i + 1 < s.size() && s.at(i + 1) == QLatin1Char('&')) {
        m.text += c;  // "&&" is a literal ampersand
        m.underline.push_back(false);
        ++i;
        continue;
      }
      pending = true;  // a lone final "&" marks nothing and draws nothing
      continue;
    }
    m.text += c;
    m.underline.push_back(pending);
    pending = false;
  }
  return m;
}

// Splits at CR LF, CR or LF.
std::vector<TMarked> Paragraphs(const TMarked& m) {
  std::vector<TMarked> out;
  int start = 0;
  for (int i = 0; i < m.size(); ++i) {
    const QChar c = m.text.at(i);
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
    out.push_back(m.mid(start, i - start));
    if (c == QLatin1Char('\r') && i + 1 < m.size() && m.text.at(i + 1) == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  out.push_back(m.mid(start, m.size() - start));
  return out;
}

// ---------------------------------------------------------------------------
// Measuring lines

class TLineMeasure {
 public:
  TLineMeasure(const TTextFont& font, const TTextOptions& o)
      : entry_(Entry(font)),
        unit_(Unit(font)),
        tabs_(o.Flags & DT_EXPANDTABS),
        stops_(o.TabStops),
        offset_(o.TabOffset) {
    tab_ = std::max(1e-6, 8 * entry_->metrics->averageCharWidth() * unit_);
  }

  double Advance(const QString& s) const { return entry_->metrics->horizontalAdvance(s) * unit_; }

  // Where a tab that starts at x (points from the line's start) ends.
  double NextStop(double x) const { return Stop(x + offset_) - offset_; }
  // The same from the tab origin.
  double Stop(double x) const {
    if (stops_.isEmpty()) return (std::floor(x / tab_ + 1e-9) + 1) * tab_;
    for (double stop : stops_)
      if (stop > x + 1e-9) return stop;
    const double last = stops_.last();
    const double step =
        std::max(1e-6, stops_.size() > 1 ? last - stops_[stops_.size() - 2] : last);
    return last + (std::floor((x - last) / step + 1e-9) + 1) * step;
  }

  // The runs of a line (tabs and accelerator changes split it) and its width.
  double Runs(const TMarked& line, std::vector<TTextRun>* runs) const {
    double x = 0;
    int start = 0;
    auto flush = [&](int end) {
      if (end <= start) return;
      const QString piece = line.text.mid(start, end - start);
      if (runs) runs->push_back({x, piece, line.underline[size_t(start)]});
      x += Advance(piece);
    };
    for (int i = 0; i < line.size(); ++i) {
      if (tabs_ && line.text.at(i) == QLatin1Char('\t')) {
        flush(i);
        x = NextStop(x);
        start = i + 1;
      } else if (runs && i > start && line.underline[size_t(i)] != line.underline[size_t(i - 1)]) {
        flush(i);
        start = i;
      }
    }
    flush(line.size());
    return x;
  }

  double Width(const QString& s) const {
    if (!tabs_ || !s.contains(QLatin1Char('\t'))) return Advance(s);
    return Runs(Plain(s), nullptr);
  }

  // The ink of a run drawn with its origin at (x, baseline): the bounds of
  // its outlines as drawn (slanted where the routine slants them), curves
  // and all, not of their control points.
  QRectF Ink(const TTextRun& run, double x, double baseline) const {
    QPainterPath path;
    path.addText(QPointF(0, 0), run.Underline ? entry_->underlined : entry_->font, run.Text);
    if (path.isEmpty()) return QRectF();
    QTransform t;
    t.translate(x, baseline);
    t.scale(unit_, unit_);
    if (entry_->slanted) t.shear(-kSlant, 0);
    return t.map(path).boundingRect();
  }

 private:
  std::shared_ptr<const TFaceEntry> entry_;
  double unit_;
  bool tabs_;
  QList<double> stops_;
  double offset_ = 0;
  double tab_ = 1;
};

// Greedy breaking between words; spaces at a break belong to neither line.
void Wrap(const TMarked& para, const TLineMeasure& m, double width, bool charWrap,
          std::vector<TMarked>& out) {
  const QString& s = para.text;
  if (s.isEmpty()) {
    out.push_back(para);
    return;
  }
  const double limit = width + 1e-9;
  int pos = 0;
  while (pos < s.size()) {
    int end = pos;
    while (end < s.size()) {
      int next = end;
      while (next < s.size() && s.at(next) == QLatin1Char(' ')) ++next;
      while (next < s.size() && s.at(next) != QLatin1Char(' ')) ++next;
      const double w = m.Width(s.mid(pos, next - pos));
      if (end > pos && w > limit) break;
      if (end == pos && w > limit && charWrap) {
        // A word too long for the line, broken between characters: at
        // least one character a line, so the text always advances.
        int n = pos + 1;
        while (n < next && m.Width(s.mid(pos, n + 1 - pos)) <= limit) ++n;
        end = n;
        break;
      }
      end = next;
    }
    int trimmed = end;
    while (trimmed > pos && s.at(trimmed - 1) == QLatin1Char(' ')) --trimmed;
    out.push_back(para.mid(pos, trimmed - pos));
    pos = end;
    while (pos < s.size() && s.at(pos) == QLatin1Char(' ')) ++pos;
  }
}

TTextAlign AlignOf(const TTextOptions& o) {
  if (!o.AlignFromFlags) return o.Align;
  if (o.Flags & DT_RIGHT) return TTextAlign::Right;
  if (o.Flags & DT_CENTER) return TTextAlign::Center;
  return TTextAlign::Left;
}

TTextBlock Build(const TTextFont& font, const std::vector<TMarked>& lines,
                 const std::vector<bool>& paragraphEnds, const TTextOptions& o) {
  TTextBlock b;
  b.Font = font;
  b.Metrics = FontMetrics(font);
  b.LineHeight = o.LineHeight > 0 ? o.LineHeight
                                  : b.Metrics.Height() + ((o.Flags & DT_EXTERNALLEADING)
                                                              ? b.Metrics.ExternalLeading
                                                              : 0.0);
  const TLineMeasure m(font, o);
  const TTextAlign align = AlignOf(o);
  b.Lines.reserve(lines.size());
  for (const TMarked& l : lines) {
    TTextLine line;
    line.Text = l.text;
    line.Width = m.Runs(l, &line.Runs);
    b.Width = std::max(b.Width, line.Width);
    b.Lines.push_back(std::move(line));
  }
  const double alignWidth = o.Width > 0 ? o.Width : b.Width;
  for (size_t i = 0; i < b.Lines.size(); ++i) {
    TTextLine& line = b.Lines[i];
    line.Top = double(i) * b.LineHeight;
    switch (align) {
      case TTextAlign::Left: break;
      case TTextAlign::Center: line.Left = (alignWidth - line.Width) / 2; break;
      case TTextAlign::Right: line.Left = alignWidth - line.Width; break;
      case TTextAlign::Justify: {
        const bool last = i + 1 == b.Lines.size() || (i < paragraphEnds.size() && paragraphEnds[i]);
        if (last && !o.JustifyLastLine) break;
        const QStringList words = line.Text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2 || line.Text.contains(QLatin1Char('\t'))) break;
        double wordsWidth = 0;
        for (const QString& w : words) wordsWidth += m.Advance(w);
        const double gap = (alignWidth - wordsWidth) / double(words.size() - 1);
        line.Runs.clear();
        double x = 0;
        for (const QString& w : words) {
          line.Runs.push_back({x, w, false});
          x += m.Advance(w) + gap;
        }
        line.Width = std::max(line.Width, alignWidth);
        break;
      }
    }
  }
  b.Height = double(b.Lines.size()) * b.LineHeight;
  for (const TTextLine& line : b.Lines)
    for (const TTextRun& run : line.Runs) {
      const QRectF ink = m.Ink(run, line.Left + run.X, line.Top + b.Metrics.Ascent);
      if (!ink.isNull()) b.Ink = b.Ink.isNull() ? ink : b.Ink.united(ink);
    }
  if (o.InkInside && !b.Ink.isNull()) {
    const double dx = std::max(0.0, -b.Ink.left()), dy = std::max(0.0, -b.Ink.top());
    if (dx > 0 || dy > 0) {
      for (TTextLine& line : b.Lines) {
        line.Left += dx;
        line.Top += dy;
      }
      b.Ink.translate(dx, dy);
      b.Height += dy;
    }
  }
  return b;
}

}  // namespace

// ---------------------------------------------------------------------------
// Faces

QString FaceSubstitute(const QString& face) {
  static const std::pair<const char*, const char*> table[] = {
      {"Courier", "Courier New"},   {"Fixedsys", "Arial"},       {"Modern", "Arial"},
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
  thread_local QHash<QString, QString> cache;
  if (auto it = cache.constFind(face); it != cache.constEnd()) return *it;
  if (cache.size() >= kCacheLimit) cache.clear();
  // A face that is here (or that the program stands in for) is drawn as
  // itself; one of the classic faces that is not, in its substitute.
  const bool present = QFontDatabase::hasFamily(face) || !QFont::substitutes(face).isEmpty();
  QString drawn = present ? face : FaceSubstitute(face);
  if (!IsOutlineFace(drawn)) drawn = FaceSubstitute(QStringLiteral("Arial"));
  cache.insert(face, drawn);
  return drawn;
}

// ---------------------------------------------------------------------------
// Fonts

TTextFont TextFontOf(const TFont& font) {
  TTextFont t;
  t.Face = font.Name;
  t.Points = font.PointSize();
  t.Style = font.Style;
  return t;
}

TTextMetrics FontMetrics(const TTextFont& font) {
  const auto e = Entry(font);
  const double u = Unit(font);
  TTextMetrics m;
  m.Ascent = e->metrics->ascent() * u;
  m.Descent = e->metrics->descent() * u;
  m.ExternalLeading = std::max(0.0, e->metrics->leading()) * u;
  m.AverageCharWidth = e->metrics->averageCharWidth() * u;
  return m;
}

double TextAdvance(const TTextFont& font, const QString& line) {
  return Entry(font)->metrics->horizontalAdvance(line) * Unit(font);
}

// ---------------------------------------------------------------------------
// Layout

QRectF TTextBlock::Bounds() const {
  QRectF r(0, 0, Width, Height);
  for (const TTextLine& l : Lines) r = r.united(QRectF(l.Left, l.Top, l.Width, LineHeight));
  if (!Ink.isNull()) r = r.united(Ink);
  return r;
}

QSize TTextBlock::PixelSize(double pixelsPerPoint) const {
  const QRectF r = Bounds();
  // A hair's tolerance, so that a width that is a whole number of pixels
  // in exact arithmetic is not rounded up by the last bit of a double.
  auto up = [](double v) { return int(std::ceil(v - 1e-6)); };
  return QSize(std::max(0, up(r.width() * pixelsPerPoint)),
               std::max(0, up(r.height() * pixelsPerPoint)));
}

TTextBlock LayoutText(const TTextFont& font, const QString& text, const TTextOptions& o) {
  const TMarked all = (o.Flags & DT_NOPREFIX) ? Plain(text) : StripPrefixes(text);
  std::vector<TMarked> lines;
  std::vector<bool> ends;
  if (!text.isEmpty()) {
    if (o.Flags & DT_SINGLELINE) {
      lines.push_back(all);
      ends.push_back(true);
    } else {
      const TLineMeasure m(font, o);
      for (const TMarked& para : Paragraphs(all)) {
        if (o.Flags & DT_WORDBREAK)
          Wrap(para, m, o.Width, o.CharWrap, lines);
        else
          lines.push_back(para);
        ends.resize(lines.size(), false);
        ends.back() = true;
      }
    }
  }
  return Build(font, lines, ends, o);
}

TTextBlock LayoutLines(const TTextFont& font, const QStringList& lines,
                       const std::vector<bool>& paragraphEnds, const TTextOptions& o) {
  std::vector<TMarked> marked;
  marked.reserve(size_t(lines.size()));
  for (const QString& l : lines) marked.push_back(Plain(l));
  return Build(font, marked, paragraphEnds, o);
}

// ---------------------------------------------------------------------------
// Drawing

void DrawTextBlock(QPainter& p, const TTextBlock& b, QPointF reference, double pixelsPerPoint,
                   int escapement, const QColor& color) {
  if (b.Lines.empty() || pixelsPerPoint <= 0 || b.Font.Points <= 0) return;
  const auto e = Entry(b.Font);
  const double unit = Unit(b.Font);
  p.save();
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setPen(color);
  p.setBrush(Qt::NoBrush);
  p.translate(reference);
  // Escapement turns counter-clockwise as seen; with y pointing down Qt's
  // positive rotation is clockwise.
  if (escapement != 0) p.rotate(-escapement / 10.0);
  p.scale(pixelsPerPoint * unit, pixelsPerPoint * unit);  // reference pixels from here on
  // Pixels (the screen, the preview, PNG pages) are drawn as the outlines
  // themselves, filled: a raster engine puts glyphs from its cache on
  // whole pixels across the line (and, turned, along it too), up to half a
  // pixel from where the page at that scale has them.  Text that stays
  // text (a PDF) is written as text.
  const bool outlines = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
  if (outlines) p.setRenderHint(QPainter::Antialiasing, true);
  for (const TTextLine& line : b.Lines) {
    const double baseline = (line.Top + b.Metrics.Ascent) / unit;
    for (const TTextRun& run : line.Runs) {
      if (run.Text.isEmpty()) continue;
      const QFont& font = run.Underline ? e->underlined : e->font;
      p.setFont(font);
      const QPointF at((line.Left + run.X) / unit, baseline);
      p.save();
      p.translate(at);
      if (e->slanted) p.shear(-kSlant, 0);
      if (outlines) {
        QPainterPath path;
        path.addText(QPointF(0, 0), font, run.Text);
        p.fillPath(path, color);
      } else {
        p.drawText(QPointF(0, 0), run.Text);
      }
      p.restore();
    }
  }
  p.restore();
}
