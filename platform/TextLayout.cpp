#include "platform/TextLayout.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <vector>

namespace {

// A run of text after prefix processing: its characters and, for each, whether
// it is drawn underlined (the character after an accelerator "&").
struct Marked {
  QString text;
  std::vector<bool> underline;

  int size() const { return int(text.size()); }
  Marked mid(int from, int n = -1) const {
    Marked m;
    if (n < 0) n = size() - from;
    m.text = text.mid(from, n);
    m.underline.assign(underline.begin() + from, underline.begin() + from + n);
    return m;
  }
};

Marked StripPrefixes(const QString& s, bool prefixes) {
  Marked m;
  m.text.reserve(s.size());
  bool pendingUnderline = false;
  for (int i = 0; i < s.size(); ++i) {
    const QChar c = s.at(i);
    if (prefixes && c == QLatin1Char('&')) {
      if (i + 1 < s.size() && s.at(i + 1) == QLatin1Char('&')) {
        m.text += c;  // "&&" is a literal ampersand
        m.underline.push_back(false);
        ++i;
        continue;
      }
      pendingUnderline = true;  // a lone final "&" marks nothing and draws nothing
      continue;
    }
    m.text += c;
    m.underline.push_back(pendingUnderline);
    pendingUnderline = false;
  }
  return m;
}

struct Metrics {
  QFont font;
  QFontMetrics fm;
  int tabWidth;
  bool expandTabs;

  Metrics(const QFont& f, bool tabs)
      : font(TextFont(f)), fm(font), tabWidth(std::max(1, 8 * fm.averageCharWidth())), expandTabs(tabs) {}

  int lineHeight() const { return fm.ascent() + fm.descent(); }

  // Width of a line; tabs move to the next tab stop when expanded.
  int width(const QString& s) const {
    if (!expandTabs) return fm.horizontalAdvance(s);
    int x = 0, start = 0;
    for (int i = 0; i <= s.size(); ++i) {
      if (i == s.size() || s.at(i) == QLatin1Char('\t')) {
        x += fm.horizontalAdvance(s.mid(start, i - start));
        if (i < s.size()) x = (x / tabWidth + 1) * tabWidth;
        start = i + 1;
      }
    }
    return x;
  }
};

bool IsBreakChar(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// Splits at CR, LF or CR LF.
std::vector<Marked> SplitParagraphs(const Marked& m) {
  std::vector<Marked> out;
  int start = 0;
  for (int i = 0; i < m.size(); ++i) {
    const QChar c = m.text.at(i);
    if (!IsBreakChar(c)) continue;
    out.push_back(m.mid(start, i - start));
    if (c == QLatin1Char('\r') && i + 1 < m.size() && m.text.at(i + 1) == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  out.push_back(m.mid(start));
  return out;
}

int TrimmedEnd(const QString& s, int end) {
  while (end > 0 && s.at(end - 1) == QLatin1Char(' ')) --end;
  return end;
}

// Greedy breaking between words; spaces at a break belong to neither line.
void WrapParagraph(const Marked& para, const Metrics& m, int maxWidth, std::vector<Marked>& out) {
  const QString& s = para.text;
  int pos = 0;
  if (s.isEmpty()) {
    out.push_back(para);
    return;
  }
  while (pos < s.size()) {
    int lineEnd = pos;   // end of the text accepted on this line
    int scan = pos;
    while (scan < s.size()) {
      // The next word with the spaces before it.
      int wordEnd = scan;
      while (wordEnd < s.size() && s.at(wordEnd) == QLatin1Char(' ')) ++wordEnd;
      while (wordEnd < s.size() && s.at(wordEnd) != QLatin1Char(' ')) ++wordEnd;
      if (m.width(s.mid(pos, wordEnd - pos)) <= maxWidth || lineEnd == pos) {
        if (m.width(s.mid(pos, wordEnd - pos)) > maxWidth) {
          // A single word too long for the line: break it between characters,
          // keeping at least one character so that the text always advances.
          int n = pos + 1;
          while (n < wordEnd && m.width(s.mid(pos, n + 1 - pos)) <= maxWidth) ++n;
          lineEnd = n;
          break;
        }
        lineEnd = wordEnd;
        scan = wordEnd;
        continue;
      }
      break;
    }
    out.push_back(para.mid(pos, TrimmedEnd(s, lineEnd) - pos));
    pos = lineEnd;
    while (pos < s.size() && s.at(pos) == QLatin1Char(' ')) ++pos;
  }
}

void DrawLine(QPainter& p, const Metrics& m, const Marked& line, int x, int baseline) {
  QFont underlined = m.font;
  underlined.setUnderline(true);
  const QString& s = line.text;
  int start = 0, cx = x;
  auto flush = [&](int end) {
    if (end <= start) return;
    const QString piece = s.mid(start, end - start);
    p.setFont(line.underline[start] ? underlined : m.font);
    p.drawText(QPoint(cx, baseline), piece);
    cx += m.fm.horizontalAdvance(piece);
  };
  for (int i = 0; i < s.size(); ++i) {
    if (m.expandTabs && s.at(i) == QLatin1Char('\t')) {
      flush(i);
      cx = x + ((cx - x) / m.tabWidth + 1) * m.tabWidth;
      start = i + 1;
    } else if (i > start && line.underline[i] != line.underline[i - 1]) {
      flush(i);
      start = i;
    }
  }
  flush(s.size());
}

}  // namespace

QFont TextFont(const QFont& f) {
  QFont out = f;
  out.setKerning(false);
  return out;
}

int TextLineHeight(const QFont& f) {
  const QFontMetrics fm(TextFont(f));
  return fm.ascent() + fm.descent();
}

QSize TextExtent(const QFont& f, const QString& text) {
  const QFontMetrics fm(TextFont(f));
  return QSize(fm.horizontalAdvance(text), fm.ascent() + fm.descent());
}

int DrawText(QPainter* p, const QFont& f, const QString& text, QRect& r, unsigned flags) {
  const Metrics m(f, flags & DT_EXPANDTABS);
  const Marked all = StripPrefixes(text, !(flags & DT_NOPREFIX));

  std::vector<Marked> lines;
  if (!text.isEmpty()) {
    if (flags & DT_SINGLELINE) {
      lines.push_back(all);
    } else {
      for (const Marked& para : SplitParagraphs(all)) {
        if (flags & DT_WORDBREAK)
          WrapParagraph(para, m, r.width(), lines);
        else
          lines.push_back(para);
      }
    }
  }

  const int lh = m.lineHeight();
  const int total = lh * int(lines.size());

  if (flags & DT_CALCRECT) {
    int widest = 0;
    for (const Marked& l : lines) widest = std::max(widest, m.width(l.text));
    r = QRect(r.left(), r.top(), widest, total);
    return total;
  }
  if (!p || lines.empty()) return total;

  int y = r.top();
  if (flags & DT_SINGLELINE) {
    if (flags & DT_VCENTER)
      y = r.top() + (r.height() - lh) / 2;
    else if (flags & DT_BOTTOM)
      y = r.top() + r.height() - lh;
  }

  p->save();
  if (!(flags & DT_NOCLIP)) p->setClipRect(r, Qt::IntersectClip);
  for (const Marked& l : lines) {
    const int w = m.width(l.text);
    int x = r.left();
    if (flags & DT_CENTER)
      x = r.left() + (r.width() - w) / 2;
    else if (flags & DT_RIGHT)
      x = r.left() + r.width() - w;
    DrawLine(*p, m, l, x, y + m.fm.ascent());
    y += lh;
  }
  p->restore();
  return total;
}

QRect MeasureText(const QFont& f, const QString& text, const QRect& r, unsigned flags) {
  QRect out = r;
  DrawText(nullptr, f, text, out, flags | DT_CALCRECT);
  return out;
}

void TextOutTurned(QPainter& p, const QFont& f, int x, int y, const QString& text, int escapement) {
  const QFont font = TextFont(f);
  const QFontMetrics fm(font);
  p.save();
  p.setFont(font);
  p.translate(x, y);
  // Escapement turns counter-clockwise on screen; Qt's rotation with y
  // pointing down is clockwise, hence the sign.
  if (escapement != 0) p.rotate(-escapement / 10.0);
  // Drawing at a point keeps the text on one line: line breaks are not
  // honoured, "&" is an ordinary character.
  p.drawText(QPointF(0, fm.ascent()), text);
  p.restore();
}
