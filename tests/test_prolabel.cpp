// SPDX-License-Identifier: GPL-3.0-or-later
// The rotatable text label of the cover sheets: property rules,
// turned-text placement, effects, automatic sizing and the mouse handlers,
// checked on real widgets rendered offscreen.
#include "components/ProCtrls.h"
#include "platform/TextLayout.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TFont Arial(int points, TColor color = clBlack) {
  TFont f;
  f.Name = QStringLiteral("Arial");
  f.PixelsPerInch = 96;
  f.SetSize(points);
  f.Color = color;
  return f;
}

// A text as the label measures it (the one text routine), in the label's
// pixels: its bounds, rounded up.
QSize Extent(const TFont& f, const QString& s, unsigned flags = DT_SINGLELINE | DT_NOPREFIX,
             int wrapWidth = 0) {
  TTextOptions o;
  o.Flags = flags;
  o.InkInside = true;
  o.CharWrap = true;
  o.Width = wrapWidth * 72.0 / f.PixelsPerInch;
  return LayoutText(TextFontOf(f), s, o).PixelSize(f.PixelsPerInch / 72.0);
}
int LineHeight(const TFont& f) {
  return int(std::ceil(FontMetrics(TextFontOf(f)).Height() * f.PixelsPerInch / 72.0 - 1e-6));
}

QImage Render(const TProCustomLabel& l, QColor background = Qt::white) {
  QImage img(l.size(), QImage::Format_RGB32);
  img.fill(background);
  QPainter p(&img);
  l.PaintTo(p);
  return img;
}

// Bounding box of the pixels that differ from the background.
QRect Ink(const QImage& img, QColor background = Qt::white) {
  QRect box;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixelColor(x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}

// Counts paint events of a widget.
struct PaintCounter : QObject {
  int count = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++count;
    return false;
  }
};

void SendMouse(QWidget* w, QEvent::Type t, QPoint pos, Qt::MouseButton b, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QMouseEvent e(t, QPointF(pos), w->mapToGlobal(QPointF(pos)), b, held, mods);
  QCoreApplication::sendEvent(w, &e);
}

class ProLabel : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // System colours with unmistakable values, so rendered passes can be told apart.
    QPalette pal = QApplication::palette();
    pal.setColor(QPalette::Light, QColor(0, 255, 0));   // clBtnHighlight
    pal.setColor(QPalette::Dark, QColor(0, 0, 255));    // clBtnShadow
    pal.setColor(QPalette::Button, QColor(200, 200, 200));  // clBtnFace
    QApplication::setPalette(pal);
  }
};

}  // namespace

TEST_F(ProLabel, ConstructionDefaults) {
  TProLabel l;
  EXPECT_STREQ(l.metaObject()->className(), "TProLabel");
  EXPECT_EQ(l.size(), QSize(65, 17));
  EXPECT_TRUE(l.AutoSize());
  EXPECT_TRUE(l.ShowAccelChar());
  EXPECT_FALSE(l.Transparent());
  EXPECT_FALSE(l.WordWrap());
  EXPECT_EQ(l.Angle(), 0);
  EXPECT_EQ(l.HighlightColor(), clBtnHighlight);
  EXPECT_EQ(l.ShadowColor(), clBtnShadow);
  EXPECT_EQ(l.ShadowStyle(), ssNone);
  EXPECT_EQ(l.VerticalAlignment(), vaTop);
  EXPECT_EQ(l.Alignment(), taLeftJustify);
}

TEST_F(ProLabel, AngleIsKeptInZeroTo359) {
  const struct { int set, stored; } cases[] = {
      {-90, 270}, {450, 90}, {360, 0}, {720, 0}, {-1, 359}, {180, 180}, {-450, 270}};
  for (const auto& c : cases) {
    TProLabel l;
    l.SetAngle(c.set);
    EXPECT_EQ(l.Angle(), c.stored) << c.set;
  }
}

TEST_F(ProLabel, UnchangedValuesDoNotRepaint) {
  QWidget top;
  top.resize(200, 100);
  auto* l = new TProLabel(&top);
  l->SetCaption(QStringLiteral("Texto"));
  top.show();
  PaintCounter counter;
  l->installEventFilter(&counter);
  QApplication::processEvents();

  counter.count = 0;
  l->SetAngle(360);                 // same as 0
  l->SetShadowStyle(ssCustom);      // applies nothing
  l->SetShadowStyle(ssCustom);
  l->SetVerticalAlignment(vaTop);
  l->SetOffsetX(0);
  QApplication::processEvents();
  EXPECT_EQ(counter.count, 0);
  EXPECT_EQ(l->ShadowStyle(), ssCustom);
  EXPECT_EQ(l->ShadowDepth(), 0);

  l->SetAngle(90);
  QApplication::processEvents();
  EXPECT_GE(counter.count, 1);
}

TEST_F(ProLabel, TurningOrAPositiveOffsetSwitchesAutoSizeOff) {
  TProLabel l;
  l.SetAngle(90);
  EXPECT_FALSE(l.AutoSize());
  l.SetAngle(0);
  EXPECT_FALSE(l.AutoSize());  // never on again by itself

  TProLabel m;
  m.SetOffsetX(-3);
  m.SetOffsetY(-3);
  EXPECT_TRUE(m.AutoSize());
  m.SetOffsetX(3);
  EXPECT_FALSE(m.AutoSize());

  TProLabel n;
  n.SetOffsetY(1);
  EXPECT_FALSE(n.AutoSize());
}

TEST_F(ProLabel, TurnedTextBoxFollowsTheQuadrantTable) {
  struct Case {
    int angle, W, H, width, height;
    TAlignment al;
    TVerticalAlignment va;
    int bw, bh;
    QPoint ref;
  };
  const Case cases[] = {
      // Right angles in a control large enough.
      {90, 50, 10, 300, 300, taLeftJustify, vaTop, 10, 50, {0, 50}},
      {180, 50, 10, 300, 300, taLeftJustify, vaTop, 50, 10, {50, 10}},
      {270, 50, 10, 300, 300, taLeftJustify, vaTop, 10, 50, {10, 0}},
      // 45 degrees: every product truncated on its own (70.71 -> 70, 14.14 -> 14).
      {45, 100, 20, 300, 300, taLeftJustify, vaTop, 84, 84, {0, 70}},
      {135, 100, 20, 300, 300, taLeftJustify, vaTop, 84, 84, {70, 84}},
      {225, 100, 20, 300, 300, taLeftJustify, vaTop, 84, 84, {84, 14}},
      {315, 100, 20, 300, 300, taLeftJustify, vaTop, 84, 84, {14, 0}},
      // Clamped to the control: the shift uses the clamped box.
      {90, 200, 20, 20, 100, taLeftJustify, vaTop, 20, 100, {0, 100}},
      {180, 200, 20, 100, 20, taLeftJustify, vaTop, 100, 20, {100, 20}},
      // Alignment moves the box inside the control.
      {90, 50, 10, 100, 80, taCenter, vaCenter, 10, 50, {45, 65}},
      {90, 50, 10, 100, 80, taRightJustify, vaBottom, 10, 50, {90, 80}},
  };
  for (const Case& c : cases) {
    const TTurnedTextBox b = TurnedTextBox(c.angle, c.W, c.H, c.width, c.height, c.al, c.va);
    EXPECT_EQ(b.bw, c.bw) << c.angle;
    EXPECT_EQ(b.bh, c.bh) << c.angle;
    EXPECT_EQ(b.ReferencePoint(), c.ref) << c.angle << " " << c.width << "x" << c.height;
  }
}

TEST_F(ProLabel, TurnedCaptionIsDrawnInsideItsBox) {
  const TFont font = Arial(14);
  const QString caption = QStringLiteral("WWWWW");
  TProLabel probe;
  probe.SetFont(font);
  const QSize ext = Extent(font, caption);

  for (int angle : {90, 180, 270}) {
    TProLabel l;
    l.SetFont(font);
    l.SetCaption(caption);
    l.SetTransparent(true);
    l.SetAngle(angle);
    const bool quarter = angle != 180;
    l.resize(quarter ? QSize(ext.height(), ext.width()) : ext);
    const QRect ink = Ink(Render(l));
    ASSERT_TRUE(ink.isValid()) << angle;
    // The letters fill most of the long side of the box, in its direction.
    if (quarter) {
      EXPECT_GT(ink.height(), ext.width() * 3 / 4) << angle;
      EXPECT_LE(ink.width(), ext.height()) << angle;
    } else {
      EXPECT_GT(ink.width(), ext.width() * 3 / 4);
      EXPECT_LE(ink.height(), ext.height());
    }
  }
}

TEST_F(ProLabel, UpsideDownTextClampedToTheControlRunsOutOnTheLeft) {
  TProLabel l;
  l.SetFont(Arial(12));
  QString caption;
  while (Extent(Arial(12), caption).width() < 200) caption += QLatin1Char('H');
  l.SetCaption(caption);
  l.SetAngle(180);
  l.SetTransparent(true);
  l.resize(100, 20);
  const QImage img = Render(l);
  const QRect ink = Ink(img);
  ASSERT_TRUE(ink.isValid());
  EXPECT_LE(ink.left(), 3);    // text continues past the left edge
  EXPECT_GE(ink.right(), 94);  // and starts at the right edge
}

TEST_F(ProLabel, TurnedTextIgnoresAcceleratorsButKeepsItsLines) {
  TProLabel flat;
  flat.SetFont(Arial(16));
  flat.SetAutoSize(false);
  flat.resize(60, 60);
  flat.SetTransparent(true);
  flat.SetCaption(QStringLiteral("&"));
  EXPECT_FALSE(Ink(Render(flat)).isValid());  // an accelerator mark alone draws nothing

  flat.SetAngle(180);
  EXPECT_TRUE(Ink(Render(flat)).isValid());  // turned, "&" is a character

  // A text of several lines is turned as a whole: upside down, its two
  // lines stand one over the other.
  flat.SetCaption(QStringLiteral("A\r\nB"));
  const int line = LineHeight(Arial(16));
  const QRect ink = Ink(Render(flat));
  ASSERT_TRUE(ink.isValid());
  EXPECT_GT(ink.height(), line);
}

// A text of several lines draws them one under another, aligned among
// themselves as its alignment says, level or turned as one block.
TEST_F(ProLabel, TheLinesOfATextAreAlignedAndTurnedAsOneBlock) {
  const TFont font = Arial(14);
  const QString caption = QStringLiteral("WWWWWWWW\r\nI");
  const QSize ext = Extent(font, caption, DT_NOPREFIX);
  const int line = LineHeight(font);
  ASSERT_GE(ext.height(), 2 * line - 1);
  const struct {
    TAlignment alignment;
    double along;  // where the short line's ink lies along the long one
  } casos[] = {{taLeftJustify, 0.03}, {taCenter, 0.5}, {taRightJustify, 0.97}};
  for (const auto& c : casos) {
    for (int angle : {0, 90}) {
      SCOPED_TRACE(testing::Message() << "alignment " << int(c.alignment) << " angle " << angle);
      TProLabel l;
      l.SetFont(font);
      l.SetAutoSize(false);
      l.SetAlignment(c.alignment);
      l.SetTransparent(true);
      l.SetCaption(caption);
      l.SetAngle(angle);
      l.resize(angle == 0 ? ext : QSize(ext.height(), ext.width()));
      const QImage img = Render(l);
      // The second line: below the first level; turned a quarter to the
      // left, the column right of it, running upwards.
      const QRect band = angle == 0 ? QRect(0, line, ext.width(), ext.height() - line)
                                    : QRect(line, 0, ext.height() - line, ext.width());
      const QRect ink = Ink(img.copy(band));
      ASSERT_TRUE(ink.isValid());
      const double along = angle == 0 ? (ink.center().x() + 0.5) / ext.width()
                                      : 1.0 - (ink.center().y() + 0.5) / ext.width();
      EXPECT_NEAR(along, c.along, 0.06);
      // The first line fills the long side.
      const QRect first = Ink(img.copy(angle == 0 ? QRect(0, 0, ext.width(), line) : QRect(0, 0, line, ext.width())));
      EXPECT_GT(angle == 0 ? first.width() : first.height(), ext.width() * 9 / 10);
    }
  }
}

TEST_F(ProLabel, CenteredTextTallerThanTheControlMovesUpByHalfTheExcess) {
  const TFont font = Arial(12);
  const QString text = QStringLiteral("uma linha e outra linha");
  auto make = [&](TProLabel& l) {
    l.SetFont(font);
    l.SetAutoSize(false);
    l.SetWordWrap(true);
    l.SetTransparent(true);
    l.SetCaption(text);
  };
  TProLabel probe;
  make(probe);
  // Width that fits "uma linha e outra" but not the whole caption: two lines.
  const int width = Extent(font, QStringLiteral("uma linha e outra")).width() + 4;
  const int h = Extent(font, text, DT_WORDBREAK, width).height();
  ASSERT_NEAR(h, 2 * LineHeight(font), 1);
  const int height = h - 10;

  TProLabel centred, shifted;
  make(centred);
  make(shifted);
  centred.resize(width, height);
  shifted.resize(width, height);
  centred.SetVerticalAlignment(vaCenter);
  // Bottom alignment moves the text up by the whole excess (10); centring
  // moves it by half of it, 5 pixels, so bottom + 5 must look the same.
  shifted.SetVerticalAlignment(vaBottom);
  shifted.SetOffsetY(5);
  EXPECT_EQ(Render(centred), Render(shifted));
  EXPECT_TRUE(Ink(Render(centred)).isValid());
  TProLabel top;
  make(top);
  top.resize(width, height);
  EXPECT_NE(Render(centred), Render(top));
}

TEST_F(ProLabel, ShadowPresetsSetTheSevenEffectValues) {
  struct Row {
    TShadowStyle style;
    TDirection hdir;
    int hdepth;
    TDirection sdir;
    int sdepth, ssize;
  };
  const Row rows[] = {
      {ssRaised, drUpLeft, 1, drNone, 0, 0},
      {ssRaisedColor, drUpLeft, 1, drDownRight, 1, 1},
      {ssRaisedShadow, drUpLeft, 1, drDownRight, 1, 1},
      {ssRaisedThickShadow, drUpLeft, 1, drDownRight, 1, 4},
      {ssRecessed, drDownRight, 1, drNone, 0, 0},
      {ssRecessedColor, drDownRight, 1, drUpLeft, 1, 1},
      {ssRecessedShadow, drDownRight, 1, drUpLeft, 1, 1},
      {ssShadow, drNone, 0, drDownRight, 2, 1},
      {ssThickShadow, drNone, 0, drDownRight, 1, 4},
      {ssNone, drNone, 0, drNone, 0, 0},
  };
  for (const Row& r : rows) {
    TProLabel l;
    // Start from custom values so that every preset value has to be written.
    l.SetHighlightDirection(drLeft);
    l.SetHighlightDepth(7);
    l.SetHighlightColor(clRed);
    l.SetShadowDirection(drRight);
    l.SetShadowDepth(9);
    l.SetShadowSize(9);
    l.SetShadowColor(clLime);
    ASSERT_EQ(l.ShadowStyle(), ssCustom);
    l.SetShadowStyle(r.style);
    EXPECT_EQ(l.ShadowStyle(), r.style) << int(r.style);
    EXPECT_EQ(l.HighlightDirection(), r.hdir) << int(r.style);
    EXPECT_EQ(l.HighlightDepth(), r.hdepth) << int(r.style);
    EXPECT_EQ(l.HighlightColor(), clBtnHighlight);
    EXPECT_EQ(l.ShadowDirection(), r.sdir) << int(r.style);
    EXPECT_EQ(l.ShadowDepth(), r.sdepth) << int(r.style);
    EXPECT_EQ(l.ShadowSize(), r.ssize) << int(r.style);
    EXPECT_EQ(l.ShadowColor(), clBtnShadow);
    const bool face = r.style == ssRaisedColor || r.style == ssRecessedColor;
    EXPECT_EQ(l.Font().Color == clBtnFace, face) << int(r.style);
  }
}

TEST_F(ProLabel, ChangingOneEffectValueMakesTheStyleCustom) {
  TProLabel l;
  l.SetShadowStyle(ssRaised);
  l.SetShadowDepth(3);
  EXPECT_EQ(l.ShadowStyle(), ssCustom);
  EXPECT_EQ(l.HighlightDirection(), drUpLeft);
  EXPECT_EQ(l.HighlightDepth(), 1);
  EXPECT_EQ(l.ShadowDirection(), drNone);
  EXPECT_EQ(l.ShadowDepth(), 3);

  // The colour preset changes the font colour; choosing None leaves it.
  TProLabel c;
  c.SetFont(Arial(10, clRed));
  c.SetShadowStyle(ssRaisedColor);
  EXPECT_EQ(c.Font().Color, clBtnFace);
  c.SetShadowStyle(ssNone);
  EXPECT_EQ(c.Font().Color, clBtnFace);
}

// The effects are compared with the same caption drawn plainly in the
// expected colours at the expected places, one pass over the other.
TEST_F(ProLabel, EffectsAndDisabledDrawingLayerThePasses) {
  const QString caption = QStringLiteral("Lx");
  auto make = [&](TProLabel& l, TColor color) {
    l.SetFont(Arial(20, color));
    l.SetCaption(caption);
    l.SetAutoSize(false);
    l.resize(80, 40);
    l.SetTransparent(true);
  };
  auto plainPasses = [&](const std::vector<std::pair<QPoint, TColor>>& passes) {
    QImage img(80, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (const auto& [offset, color] : passes) {
      TProLabel pass;
      make(pass, color);
      pass.SetOffsetX(offset.x());
      pass.SetOffsetY(offset.y());
      QPainter p(&img);
      pass.PaintTo(p);
    }
    return img;
  };
  const TColor blue = 0xFF0000, green = 0x00FF00;  // the palette set above

  TProLabel shadow;
  make(shadow, clBlack);
  shadow.SetShadowStyle(ssShadow);
  const QImage expectedShadow = plainPasses({{{2, 2}, blue}, {{0, 0}, green}, {{0, 0}, clBlack}});
  EXPECT_EQ(Render(shadow), expectedShadow);
  EXPECT_NE(Render(shadow), plainPasses({{{0, 0}, clBlack}}));

  TProLabel thick;
  make(thick, clBlack);
  thick.SetShadowStyle(ssThickShadow);  // four copies from one pixel on
  EXPECT_EQ(Render(thick), plainPasses({{{1, 1}, blue},
                                        {{2, 2}, blue},
                                        {{3, 3}, blue},
                                        {{4, 4}, blue},
                                        {{0, 0}, green},
                                        {{0, 0}, clBlack}}));

  TProLabel disabled;
  make(disabled, clBlack);
  disabled.SetShadowStyle(ssThickShadow);  // ignored while disabled
  disabled.setEnabled(false);
  EXPECT_EQ(Render(disabled), plainPasses({{{1, 1}, green}, {{0, 0}, blue}}));
}

TEST_F(ProLabel, OpaqueLabelFillsWithItsColour) {
  TProLabel l;
  l.SetCaption(QString());
  l.SetAutoSize(false);
  l.SetColor(clRed);
  EXPECT_FALSE(l.ParentColor());
  const QImage img = Render(l);
  EXPECT_EQ(img.pixelColor(3, 3), QColor(255, 0, 0));
  l.SetTransparent(true);
  EXPECT_EQ(Render(l).pixelColor(3, 3), QColor(Qt::white));
}

TEST_F(ProLabel, AutoSizeFitsTheUnturnedText) {
  TProLabel l;
  l.SetFont(Arial(12));
  const TFont f = Arial(12);
  const int line = LineHeight(f);

  l.move(50, 10);
  l.SetCaption(QStringLiteral("Hello"));
  EXPECT_EQ(l.geometry(), QRect(50, 10, Extent(f, "Hello").width(), line));

  // An empty caption and a lone "&" measure as a space.
  const int space = Extent(f, " ").width();
  l.SetCaption(QString());
  EXPECT_EQ(l.size(), QSize(space, line));
  l.SetCaption(QStringLiteral("&"));
  EXPECT_EQ(l.size(), QSize(space, line));
  l.SetShowAccelChar(false);
  l.SetCaption(QStringLiteral("&&"));
  EXPECT_EQ(l.width(), Extent(f, "&&").width());
  l.SetShowAccelChar(true);
  l.SetCaption(QStringLiteral("A&&B"));
  EXPECT_EQ(l.width(), Extent(f, "A&B").width());

  // Right-justified labels keep their right edge.
  TProLabel r;
  r.SetFont(Arial(12));
  r.SetAlignment(taRightJustify);
  r.setGeometry(100, 0, 200, 20);
  r.SetCaption(QStringLiteral("Hi"));
  EXPECT_EQ(r.x() + r.width(), 300);
  EXPECT_EQ(r.width(), Extent(f, "Hi").width());

  // While loading nothing is sized; the end of loading sizes once.
  TProLabel s;
  s.BeginLoad();
  s.SetFont(Arial(12));
  s.SetCaption(QStringLiteral("Hello"));
  EXPECT_EQ(s.size(), QSize(65, 17));
  s.EndLoad();
  EXPECT_EQ(s.size(), QSize(Extent(f, "Hello").width(), line));
}

TEST_F(ProLabel, LayoutIsASecondNameForVerticalAlignment) {
  TProLabel l;
  l.SetLayout(tlCenter);
  EXPECT_EQ(l.VerticalAlignment(), vaCenter);
  l.SetVerticalAlignment(vaBottom);
  EXPECT_EQ(l.Layout(), tlBottom);

  const QMetaObject* mo = l.metaObject();
  const QMetaProperty layout = mo->property(mo->indexOfProperty("Layout"));
  const QMetaProperty va = mo->property(mo->indexOfProperty("VerticalAlignment"));
  ASSERT_TRUE(layout.isValid());
  ASSERT_TRUE(va.isValid());
  EXPECT_FALSE(layout.isStored());
  EXPECT_TRUE(va.isStored());
  ASSERT_TRUE(l.setProperty("Layout", int(tlTop)));
  EXPECT_EQ(l.VerticalAlignment(), vaTop);
}

TEST_F(ProLabel, MouseHandlersGetThePlatformArguments) {
  TProLabel l;
  std::vector<QString> log;
  l.OnMouseDown = [&](QObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    EXPECT_EQ(s, &l);
    log.push_back(QStringLiteral("down %1 %2 %3,%4").arg(b).arg(sh).arg(x).arg(y));
  };
  l.OnMouseUp = [&](QObject*, TMouseButton b, TShiftState sh, int x, int y) {
    log.push_back(QStringLiteral("up %1 %2 %3,%4").arg(b).arg(sh).arg(x).arg(y));
  };
  l.OnMouseMove = [&](QObject*, TShiftState sh, int x, int y) {
    log.push_back(QStringLiteral("move %1 %2,%3").arg(sh).arg(x).arg(y));
  };
  l.OnClick = [&](QObject*) { log.push_back(QStringLiteral("click")); };
  l.OnDblClick = [&](QObject*) { log.push_back(QStringLiteral("dblclick")); };
  l.OnMouseEnter = [&](QObject*) { log.push_back(QStringLiteral("enter")); };
  l.OnMouseLeave = [&](QObject*) { log.push_back(QStringLiteral("leave")); };

  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QCoreApplication::sendEvent(&l, &enter);
  SendMouse(&l, QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton, Qt::LeftButton,
            Qt::ShiftModifier);
  SendMouse(&l, QEvent::MouseMove, {7, 8}, Qt::NoButton, Qt::LeftButton);
  SendMouse(&l, QEvent::MouseButtonRelease, {7, 8}, Qt::LeftButton, Qt::NoButton);
  SendMouse(&l, QEvent::MouseButtonDblClick, {7, 8}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(&l, QEvent::MouseButtonRelease, {7, 8}, Qt::LeftButton, Qt::NoButton);
  SendMouse(&l, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(&l, QEvent::MouseButtonRelease, {500, 2}, Qt::LeftButton, Qt::NoButton);  // outside
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&l, &leave);

  const std::vector<QString> expected = {
      "enter",
      QStringLiteral("down %1 %2 5,6").arg(mbLeft).arg(ssShift | ssLeft),
      QStringLiteral("move %1 7,8").arg(ssLeft),
      "click",
      QStringLiteral("up %1 0 7,8").arg(mbLeft),
      "dblclick",
      QStringLiteral("down %1 %2 7,8").arg(mbLeft).arg(ssLeft | ssDouble),
      QStringLiteral("up %1 0 7,8").arg(mbLeft),  // no click after a double click
      QStringLiteral("down %1 %2 2,2").arg(mbLeft).arg(ssLeft),
      QStringLiteral("up %1 0 500,2").arg(mbLeft),  // released outside: no click
      "leave",
  };
  EXPECT_EQ(log, expected);
}
