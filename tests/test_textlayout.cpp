// SPDX-License-Identifier: GPL-3.0-or-later
// The one text routine: layout in points at the font's true size, and the
// drawing that scales it to any device.
#include "platform/TextLayout.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

TTextFont Font(const char* face, double points, TFontStyles style = 0) {
  TTextFont f;
  f.Face = QString::fromLatin1(face);
  f.Points = points;
  f.Style = style;
  return f;
}

TTextOptions Options(unsigned flags, double width = 0) {
  TTextOptions o;
  o.Flags = flags;
  o.Width = width;
  o.CharWrap = true;
  return o;
}

// The box of the pixels darker than mid-grey.
QRect Ink(const QImage& img) {
  int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qGray(img.pixel(x, y)) < 128) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

QImage Draw(const TTextBlock& b, QSize size, QPointF at, double pixelsPerPoint, int escapement = 0) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  DrawTextBlock(p, b, at, pixelsPerPoint, escapement, Qt::black);
  return img;
}

}  // namespace

TEST(TextLayout, AcceleratorsTabsBreaksAndWordWrap) {
  const TTextFont f = Font("Arial", 12);
  const double line = FontMetrics(f).Height();
  const auto width = [&](const QString& s) { return TextAdvance(f, s); };
  struct Case {
    QString text;
    unsigned flags;
    double boxWidth;
    double expectWidth;
    int expectLines;
  };
  const Case cases[] = {
      {"A&&B", 0, 1000, width("A&B"), 1},
      {"A&&B", DT_NOPREFIX, 1000, width("A&&B"), 1},
      {"&Ficheiro", 0, 1000, width("Ficheiro"), 1},
      {"um\r\ndois", 0, 1000, width("dois"), 2},
      {"um\rdois\ntres", DT_NOPREFIX, 1000, width("dois"), 3},
      {"um\ndois", DT_SINGLELINE, 1000, width("um\ndois"), 1},
      {"um dois tres", DT_WORDBREAK, width("um dois") + 0.1, width("um dois"), 2},
      {"abcdefgh", DT_WORDBREAK, width("abcd") + 0.1, width("abcd"), 2},
      {"", 0, 1000, 0, 0},
  };
  for (const Case& c : cases) {
    const TTextBlock b = LayoutText(f, c.text, Options(c.flags, c.boxWidth));
    EXPECT_NEAR(b.Width, c.expectWidth, 1e-9) << c.text.toStdString();
    EXPECT_EQ(int(b.Lines.size()), c.expectLines) << c.text.toStdString();
    EXPECT_NEAR(b.Height, c.expectLines * line, 1e-9) << c.text.toStdString();
  }
  // A tab moves to the next stop of eight average character widths; given
  // stops are taken in order, then their last interval again.
  const double stop = 8 * FontMetrics(f).AverageCharWidth;
  EXPECT_NEAR(LayoutText(f, "a\tb", Options(DT_EXPANDTABS)).Width, stop + width("b"), 1e-6);
  TTextOptions stops = Options(DT_EXPANDTABS);
  stops.TabStops = {30, 50};
  EXPECT_NEAR(LayoutText(f, "a\tb\tc\td", stops).Width, 70 + width("d"), 1e-6);
  // Without a width to break at, a long word stays whole unless CharWrap.
  TTextOptions whole = Options(DT_WORDBREAK, width("abcd"));
  whole.CharWrap = false;
  EXPECT_EQ(LayoutText(f, "abcdefgh ab", whole).Lines.size(), 2u);
}

TEST(TextLayout, LinesAreAlignedInTheWidthAndJustifiedButTheLast) {
  const TTextFont f = Font("Arial", 10);
  const double w = TextAdvance(f, "ab");
  EXPECT_NEAR(LayoutText(f, "ab", Options(DT_CENTER, 100)).Lines[0].Left, (100 - w) / 2, 1e-9);
  EXPECT_NEAR(LayoutText(f, "ab", Options(DT_RIGHT, 100)).Lines[0].Left, 100 - w, 1e-9);
  TTextOptions j;
  j.AlignFromFlags = false;
  j.Align = TTextAlign::Justify;
  j.Width = 200;
  const TTextBlock b = LayoutLines(f, {"um dois tres", "quatro cinco"}, {false, true}, j);
  ASSERT_EQ(b.Lines[0].Runs.size(), 3u);
  // The last word of a justified line ends at the width; the paragraph's
  // last line stays as it is.
  const TTextRun& last = b.Lines[0].Runs.back();
  EXPECT_NEAR(last.X + TextAdvance(f, last.Text), 200, 1e-6);
  EXPECT_EQ(b.Lines[1].Runs.size(), 1u);
}

// The layout is made once, in points: the same text takes the same share
// of its box at every resolution, and twice the size is twice as wide.
TEST(TextLayout, TheLayoutScalesExactlyWithSizeAndResolution) {
  for (const char* face : {"Arial", "Times New Roman", "MS Sans Serif", "Tahoma"}) {
    SCOPED_TRACE(face);
    const QString text = QString::fromUtf8("Lurns — pôr do sol, nevoeiro azul");
    const double w10 = TextAdvance(Font(face, 10), text);
    EXPECT_NEAR(TextAdvance(Font(face, 20), text), 2 * w10, 1e-9);
    EXPECT_NEAR(FontMetrics(Font(face, 20)).Height(), 2 * FontMetrics(Font(face, 10)).Height(), 1e-9);
    // Drawn at 96 and at 600 pixels per inch: the ink in proportion.
    const TTextBlock b = LayoutText(Font(face, 10), text, Options(DT_NOPREFIX));
    const QRect low = Ink(Draw(b, QSize(400, 40), QPointF(10, 10), 96 / 72.0));
    const QRect high = Ink(Draw(b, QSize(2400, 200), QPointF(62.5, 62.5), 600 / 72.0));
    ASSERT_TRUE(low.isValid() && high.isValid());
    const double k = 600.0 / 96;
    EXPECT_NEAR(high.left() / k, low.left(), 1.0);
    EXPECT_NEAR((high.right() + 1) / k, low.right() + 1, 1.0);
    EXPECT_NEAR(high.top() / k, low.top(), 1.0);
    EXPECT_NEAR((high.bottom() + 1) / k, low.bottom() + 1, 1.0);
  }
}

// Every glyph is inside the block's bounds, also the overhang of an italic
// (a face's own or one slanted by the routine) and a letter that reaches
// left of its origin; with InkInside the bounds start at the corner.
TEST(TextLayout, InkStaysInsideTheBoundsItIsMeasuredBy) {
  for (const char* face : {"Arial", "Times New Roman", "Tahoma"})
    for (TFontStyles style : {TFontStyles(0), TFontStyles(fsItalic), TFontStyles(fsBold | fsItalic)}) {
      SCOPED_TRACE(std::string(face) + " style " + std::to_string(style));
      TTextOptions o = Options(DT_NOPREFIX);
      o.InkInside = true;
      const TTextBlock b = LayoutText(Font(face, 30), QStringLiteral("jfJ Wf/"), o);
      EXPECT_GE(b.Bounds().left(), 0);
      EXPECT_GE(b.Bounds().top(), 0);
      const double k = 96 / 72.0;
      const QSize box = b.PixelSize(k);
      const QRect ink = Ink(Draw(b, QSize(500, 120), QPointF(20, 20), k));
      ASSERT_TRUE(ink.isValid());
      EXPECT_TRUE(QRect(20, 20, box.width(), box.height()).contains(ink))
          << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height() << " in "
          << box.width() << "x" << box.height();
    }
}

TEST(TextLayout, AcceleratorsAreUnderlinedAndTurnedTextRunsCounterClockwise) {
  const TTextFont f = Font("Arial", 12);
  const QRect plain = Ink(Draw(LayoutText(f, "a", Options(0)), QSize(60, 40), QPointF(5, 5), 4 / 3.0));
  const QRect underlined =
      Ink(Draw(LayoutText(f, "&a", Options(0)), QSize(60, 40), QPointF(5, 5), 4 / 3.0));
  EXPECT_GT(underlined.bottom(), plain.bottom());

  const TTextBlock b = LayoutText(f, "WWW", Options(DT_SINGLELINE | DT_NOPREFIX));
  const QSize ext = b.PixelSize(4 / 3.0);
  const QRect ink = Ink(Draw(b, QSize(100, 100), QPointF(50, 50), 4 / 3.0, 900));  // upwards
  ASSERT_TRUE(ink.isValid());
  EXPECT_GE(ink.left(), 50 - 1);
  EXPECT_LE(ink.right(), 50 + ext.height());
  EXPECT_LE(ink.bottom(), 50);
  EXPECT_GE(ink.top(), 50 - ext.width() - 1);
  EXPECT_GT(ink.height(), ext.width() * 3 / 4);  // upwards, not across
}

TEST(TextLayout, FontsStandForTheirPointSize) {
  // A size set in points stays those points at any resolution; a height
  // set in pixels is its exact share of an inch.
  TFont f;
  for (int ppi : {96, 120, 300, 600}) {
    f.PixelsPerInch = ppi;
    for (int points : {6, 8, 10, 11, 14, 72}) {
      f.SetSize(points);
      EXPECT_EQ(f.PointSize(), points) << ppi << " " << points;
    }
  }
  f.PixelsPerInch = 7200;
  f.Height = -1234;
  EXPECT_NEAR(f.PointSize(), 12.34, 1e-9);
}
