// SPDX-License-Identifier: GPL-3.0-or-later
// The menu with a side bar: its defaults, the measuring and band-by-band
// painting of the bar (driven directly with entry rectangles), the
// positions of caption and picture, and a real popup painted by Qt.
#include "components/BarPopupMenu.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QColor kCanvas(0x33, 0x66, 0x99);

class BarMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    menu = std::make_unique<TBarPopupMenu>();
    for (int i = 0; i < 8; ++i) items.push_back(menu->addAction(QStringLiteral("Entrada %1").arg(i)));
  }
  // Lays out and paints eight 19-pixel entries the way the menu does.
  void MeasureEight() {
    menu->BeginPopup();
    for (QAction* a : items) {
      int w = 100, h = 19;
      menu->MeasureItem(a, w, h);
    }
  }
  void DrawBand(QImage& canvas, int i) {
    QPainter p(&canvas);
    menu->DrawItemBar(p, items[size_t(i)], 0, 19 * i, 150, 19 * i + 19);
  }
  static QImage Canvas() {
    QImage c(150, 152, QImage::Format_ARGB32_Premultiplied);
    c.fill(kCanvas);
    return c;
  }
  // Lowest row of the bar with a light (caption) pixel, or -1.
  static int LowestCaptionRow(const QImage& bar) {
    for (int y = bar.height() - 1; y >= 0; --y)
      for (int x = 0; x < bar.width(); ++x)
        if (bar.pixelColor(x, y).lightness() > 128) return y;
    return -1;
  }

  std::unique_ptr<TBarPopupMenu> menu;
  std::vector<QAction*> items;
};

TEST_F(BarMenuTest, StartsWithItsDefaults) {
  EXPECT_FALSE(menu->HasBitmap());
  EXPECT_FALSE(menu->Transparent());
  EXPECT_EQ(menu->BitmapOffsetX(), 0);
  EXPECT_EQ(menu->BitmapOffsetY(), 0);
  EXPECT_EQ(menu->BitmapVertAlignment(), bvaBottom);
  EXPECT_EQ(menu->BitmapHorzAlignment(), bhaLeft);
  EXPECT_EQ(menu->GradientStart(), 0xFF0000u);
  EXPECT_EQ(menu->GradientEnd(), 0u);
  EXPECT_EQ(menu->VerticalText(), ApplicationTitle());
  EXPECT_EQ(menu->VerticalFont().Name, QStringLiteral("Tahoma"));
  EXPECT_EQ(menu->VerticalFont().Size(), 14);
  EXPECT_EQ(menu->VerticalFont().Color, 0xFFFFFFu);
  EXPECT_EQ(menu->VerticalFont().Style, fsBold | fsItalic);
  EXPECT_EQ(menu->VerticalTextOffsetY(), -6);
  EXPECT_EQ(menu->BarWidth(), 31);
  EXPECT_TRUE(menu->BarVisible());
  ASSERT_NE(menu->BarBitmap(), nullptr);
  EXPECT_EQ(menu->TotalHeight(), 0);
  EXPECT_FALSE(menu->BarDrawn());
}

TEST_F(BarMenuTest, PictureIsMadeOnFirstUseWithTransparencyOn) {
  menu->SetTransparent(true);  // no picture yet: nothing to set
  EXPECT_FALSE(menu->Transparent());
  EXPECT_TRUE(menu->Bitmap().isNull());
  EXPECT_TRUE(menu->HasBitmap());
  EXPECT_TRUE(menu->Transparent());
  menu->SetTransparent(false);
  EXPECT_FALSE(menu->Transparent());

  TFont f;
  f.Name = QStringLiteral("Arial");
  f.Height = -19;
  menu->SetVerticalFont(f);
  EXPECT_EQ(menu->VerticalFont(), f);
}

TEST_F(BarMenuTest, SwitchingTheBarOffReleasesItsBitmap) {
  menu->SetBarVisible(false);
  EXPECT_EQ(menu->BarBitmap(), nullptr);
  int w = 100, h = 19;
  menu->MeasureItem(items[0], w, h);
  EXPECT_EQ(w, 100);  // not widened
  QImage canvas = Canvas();
  DrawBand(canvas, 0);
  EXPECT_EQ(canvas.pixelColor(0, 0), kCanvas);
  menu->SetBarVisible(true);
  EXPECT_NE(menu->BarBitmap(), nullptr);
}

TEST_F(BarMenuTest, MeasuringWidensEveryEntryAndCountsVisibleOnes) {
  QAction* hidden = menu->addAction(QStringLiteral("Oculta"));
  hidden->setVisible(false);
  QAction* placeholder = menu->addAction(QStringLiteral("#"));
  MeasureEight();
  for (QAction* a : {hidden, placeholder}) {
    int w = 100, h = 19;
    menu->MeasureItem(a, w, h);
    EXPECT_EQ(w, 131);
  }
  EXPECT_EQ(menu->TotalHeight(), 152);
  menu->BeginPopup();
  EXPECT_EQ(menu->TotalHeight(), 0);
}

TEST_F(BarMenuTest, BandsBuildTheBarWhichAppearsWithTheLastEntry) {
  menu->SetVerticalText(QString());
  MeasureEight();
  QImage canvas = Canvas();
  for (int i = 0; i < 7; ++i) DrawBand(canvas, i);
  EXPECT_FALSE(menu->BarDrawn());
  EXPECT_EQ(canvas.pixelColor(5, 10), kCanvas);  // still only in the bar bitmap
  DrawBand(canvas, 7);
  EXPECT_TRUE(menu->BarDrawn());

  const QImage& bar = *menu->BarBitmap();
  EXPECT_EQ(bar.size(), QSize(29, 152));
  EXPECT_EQ(bar.pixelColor(10, 0), QColor(0, 0, 255));
  EXPECT_EQ(bar.pixelColor(10, 76), QColor(0, 0, 128));  // 255 + (-255 * 76) div 152
  EXPECT_EQ(bar.pixelColor(10, 151), QColor(0, 0, 2));
  EXPECT_EQ(canvas.pixelColor(0, 76), QColor(0, 0, 128));
  EXPECT_EQ(canvas.pixelColor(28, 76), QColor(0, 0, 128));
  EXPECT_EQ(canvas.pixelColor(29, 76), kCanvas);  // the gap before the entries

  // A later redraw of one entry (the highlight moving) restores its band only.
  QImage again = Canvas();
  DrawBand(again, 3);
  EXPECT_EQ(again.pixelColor(10, 60), bar.pixelColor(10, 60));
  EXPECT_EQ(again.pixelColor(10, 56), kCanvas);
  EXPECT_EQ(again.pixelColor(10, 76), kCanvas);
}

TEST_F(BarMenuTest, EqualGradientColoursGiveAFlatBar) {
  menu->SetVerticalText(QString());
  menu->SetGradientStart(0x00FF00);
  menu->SetGradientEnd(0x00FF00);
  MeasureEight();
  QImage canvas = Canvas();
  for (int i = 0; i < 8; ++i) DrawBand(canvas, i);
  for (int y : {0, 50, 151}) EXPECT_EQ(menu->BarBitmap()->pixelColor(5, y), QColor(0, 255, 0)) << y;
}

TEST_F(BarMenuTest, PlaceholderEntriesDrawNothing) {
  QAction* placeholder = menu->addAction(QStringLiteral("#"));
  MeasureEight();
  QImage canvas = Canvas();
  QPainter p(&canvas);
  menu->DrawItemBar(p, placeholder, 0, 0, 150, 19);
  p.end();
  EXPECT_EQ(canvas.pixelColor(5, 5), kCanvas);
  EXPECT_FALSE(menu->BarDrawn());
}

TEST_F(BarMenuTest, CaptionStartsAbovePictureAtTheBottom) {
  menu->SetVerticalText(QStringLiteral("Lurns CD"));
  menu->SetGradientStart(0);
  menu->SetGradientEnd(0);
  auto lowest = [&] {
    MeasureEight();
    QImage canvas = Canvas();
    for (int i = 0; i < 8; ++i) DrawBand(canvas, i);
    return LowestCaptionRow(*menu->BarBitmap());
  };
  const int plain = lowest();
  ASSERT_GE(plain, 0);
  EXPECT_LT(plain, 152 - 6);  // the caption runs upwards from total + offset

  // A uniform picture is all background, so only its height shows.
  QImage pic(10, 40, QImage::Format_RGB32);
  pic.fill(Qt::darkGray);
  menu->SetBitmap(pic);
  EXPECT_EQ(lowest(), plain - 40);
  menu->SetBitmapVertAlignment(bvaTop);
  EXPECT_EQ(lowest(), plain);
}

TEST_F(BarMenuTest, PictureGoesWhereItsAlignmentSaysWithoutItsBackground) {
  menu->SetVerticalText(QString());
  QImage pic(10, 20, QImage::Format_RGB32);
  pic.fill(Qt::red);
  pic.setPixelColor(5, 5, Qt::green);
  menu->SetBitmap(pic);
  menu->SetBitmapHorzAlignment(bhaCenter);
  menu->SetBitmapVertAlignment(bvaMiddle);
  MeasureEight();
  QImage canvas = Canvas();
  for (int i = 0; i < 8; ++i) DrawBand(canvas, i);
  // At ((29 - 10) div 2, (152 - 20) div 2) = (9, 66); red is its background.
  EXPECT_EQ(menu->BarBitmap()->pixelColor(9 + 5, 66 + 5), QColor(Qt::green));
  EXPECT_NE(menu->BarBitmap()->pixelColor(9 + 1, 66 + 1), QColor(Qt::red));

  menu->SetTransparent(false);
  MeasureEight();
  canvas = Canvas();
  for (int i = 0; i < 8; ++i) DrawBand(canvas, i);
  EXPECT_EQ(menu->BarBitmap()->pixelColor(9 + 1, 66 + 1), QColor(Qt::red));
  EXPECT_EQ(canvas.pixelColor(9 + 1, 66 + 1), QColor(Qt::red));
}

TEST(BarMenuArithmetic, GradientCaptionAndPicturePositions) {
  struct G { QColor s, e; int y, total; QColor want; } grads[] = {
      {QColor(0, 0, 255), QColor(0, 0, 0), 76, 152, QColor(0, 0, 128)},
      {QColor(0, 0, 255), QColor(0, 0, 0), 0, 152, QColor(0, 0, 255)},
      {QColor(0, 0, 0), QColor(255, 90, 9), 1, 3, QColor(85, 30, 3)},
      {QColor(200, 10, 0), QColor(0, 10, 0), 2, 3, QColor(67, 10, 0)},  // 200 - 133
  };
  for (auto g : grads) EXPECT_EQ(TBarPopupMenu::GradientColor(g.s, g.e, g.y, g.total), g.want) << g.y;

  // (31 - h) / 2 - 0.5, halves to even, minus 1.
  struct C { int bar, h, x; } caps[] = {{31, 23, 3}, {31, 22, 3}, {31, 24, 2}, {31, 21, 3}, {31, 19, 5}};
  for (auto c : caps) EXPECT_EQ(TBarPopupMenu::CaptionX(c.bar, c.h), c.x) << c.h;

  struct P { TBitmapHorzAlignment h; TBitmapVertAlignment v; QPoint want; } pos[] = {
      {bhaLeft, bvaTop, {3, 4}},
      {bhaRight, bvaBottom, {22, 136}},
      {bhaCenter, bvaMiddle, {12, 70}},
  };
  for (auto p : pos)
    EXPECT_EQ(TBarPopupMenu::BitmapPosition(p.h, p.v, 31, 152, 3, 4, QSize(10, 20)), p.want);
}

TEST_F(BarMenuTest, RealPopupLeavesRoomForTheBarAndPaintsIt) {
  QAction* hidden = menu->addAction(QStringLiteral("Oculta"));
  hidden->setVisible(false);
  menu->addAction(QStringLiteral("#"));
  menu->SetVerticalText(QStringLiteral("Lurns CD"));
  menu->Popup(200, 200);
  ASSERT_TRUE(menu->isVisible());
  QImage img = menu->grab().toImage();

  const QPoint o = menu->CanvasOrigin();
  EXPECT_EQ(menu->actionGeometry(items[0]).left(), o.x() + 31);
  int total = 0;
  for (QAction* a : items) total += menu->actionGeometry(a).height();
  EXPECT_EQ(menu->TotalHeight(), total);
  EXPECT_TRUE(menu->BarDrawn());
  ASSERT_NE(menu->BarBitmap(), nullptr);
  EXPECT_EQ(menu->BarBitmap()->size(), QSize(29, total));
  EXPECT_EQ(img.pixelColor(o + QPoint(0, 0)), QColor(0, 0, 255));
  EXPECT_EQ(img.pixelColor(o + QPoint(0, total / 2)), TBarPopupMenu::GradientColor(Qt::blue, Qt::black, total / 2, total));
  EXPECT_EQ(img.pixelColor(o + QPoint(28, 2)), img.pixelColor(o + QPoint(0, 2)));
  EXPECT_NE(img.pixelColor(o + QPoint(29, 2)), img.pixelColor(o + QPoint(28, 2)));  // the gap

  // Moving the highlight repaints entries; their bands come from the bar copy.
  menu->setActiveAction(items[3]);
  img = menu->grab().toImage();
  const int y = menu->actionGeometry(items[3]).center().y() - o.y();
  EXPECT_EQ(img.pixelColor(o + QPoint(0, y)), menu->BarBitmap()->pixelColor(0, y));
  menu->close();

  // Without the bar the entries take the whole width again.
  menu->SetBarVisible(false);
  menu->Popup(200, 200);
  img = menu->grab().toImage();
  const QRect first = menu->actionGeometry(items[0]);
  EXPECT_EQ(menu->CanvasOrigin().x(), first.left());
  EXPECT_LT(first.left(), 31);
  EXPECT_NE(img.pixelColor(first.left() + 1, first.top() + 1), QColor(0, 0, 255));
  menu->close();
}

}  // namespace
