// SPDX-License-Identifier: GPL-3.0-or-later
// The shape with fill styles: the drawing-rectangle and gradient
// arithmetic, what it paints for each figure and fill (checked on its
// rendered pixels), and that setters repaint at once only on a change.
#include "components/dsshape.h"

#include <QBuffer>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(DSShapeArithmetic, DrawingRectangleLeavesRoomForTheOutline) {
  struct Case { int w, h, line; TDSRect want; } cases[] = {
      {443, 443, 1, {0, 0, 443, 443}},
      {100, 60, 3, {1, 1, 99, 59}},
      {100, 60, 4, {2, 2, 99, 59}},
      {100, 60, 2, {1, 1, 100, 60}},
      {100, 60, 5, {2, 2, 98, 58}},
      {100, 60, 0, {0, 0, 101, 61}},
  };
  for (auto c : cases) EXPECT_EQ(DSShapeDrawRect(c.w, c.h, c.line), c.want) << "line " << c.line;
}

TEST(DSShapeArithmetic, CentredSquareSitsInTheMiddleOfTheLongerSide) {
  struct Case { TDSRect d, want; } cases[] = {
      {{0, 0, 100, 60}, {20, 0, 80, 60}},
      {{0, 0, 60, 100}, {0, 20, 60, 80}},
      {{1, 1, 99, 59}, {21, 1, 79, 59}},
      {{0, 0, 443, 443}, {0, 0, 443, 443}},
      {{0, 0, 61, 100}, {0, 19, 61, 80}},
  };
  for (auto c : cases) EXPECT_EQ(DSShapeCentredSquare(c.d), c.want);
}

TEST(DSShapeArithmetic, GradientStripesOverlapAndStopOneStepShort) {
  // Black to white over 100 pixels: one stripe per pixel, three wide.
  auto s = DSShapeGradient(0x000000, 0xFFFFFF, 100, 40, true);
  ASSERT_EQ(s.size(), 100u);
  for (int k = 0; k < 100; ++k) EXPECT_EQ(s[size_t(k)].Rect, (TDSRect{k, 0, k + 3, 40})) << k;
  const int greys[] = {0, 3, 5, 8, 10};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(s[size_t(k)].Color, QColor(greys[k], greys[k], greys[k])) << k;
  EXPECT_EQ(s.back().Color, QColor(252, 252, 252));

  // Over 510 pixels: 255 stripes two pixels apart, four wide.
  s = DSShapeGradient(0x000000, 0xFFFFFF, 510, 10, true);
  ASSERT_EQ(s.size(), 255u);
  EXPECT_EQ(s[0].Rect, (TDSRect{0, 0, 4, 10}));
  EXPECT_EQ(s[1].Rect, (TDSRect{2, 0, 6, 10}));
  EXPECT_EQ(s[254].Rect, (TDSRect{508, 0, 512, 10}));

  // Downwards the overlap is one pixel; channels run separately (red to blue).
  s = DSShapeGradient(0x0000FF, 0xFF0000, 30, 100, false);
  ASSERT_EQ(s.size(), 100u);
  EXPECT_EQ(s[7].Rect, (TDSRect{0, 7, 30, 9}));
  EXPECT_EQ(s[0].Color, QColor(255, 0, 0));
  EXPECT_EQ(s[40].Color, QColor(153, 0, 102));

  EXPECT_TRUE(DSShapeGradient(0, 0xFFFFFF, 0, 50, true).empty());
  EXPECT_TRUE(DSShapeGradient(0, 0xFFFFFF, 50, 0, false).empty());
}

class DSShapeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sheet = std::make_unique<QWidget>();
    sheet->resize(500, 500);
    shape = new TDSShape(sheet.get());
    shape->setGeometry(0, 0, 443, 443);
  }
  // A picture with a red left half and a blue right half.
  static TPicture TwoColourPicture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::red);
    for (int y = 0; y < h; ++y)
      for (int x = w / 2; x < w; ++x) img.setPixelColor(x, y, Qt::blue);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    TPicture p;
    p.LoadFromData(bytes, QStringLiteral("bmp"));
    return p;
  }
  static bool Clear(const QImage& img, int x, int y) { return qAlpha(img.pixel(x, y)) == 0; }
  static QColor At(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

  std::unique_ptr<QWidget> sheet;
  TDSShape* shape = nullptr;
};

TEST_F(DSShapeTest, StartsWithItsDefaults) {
  EXPECT_EQ(shape->LineWidth(), 1);
  EXPECT_EQ(shape->LineColor(), 0u);
  EXPECT_EQ(shape->ShapeType(), tstRectangle);
  EXPECT_EQ(shape->FillStyle(), tfsSolid);
  EXPECT_EQ(shape->FillColor(), 0xFFFFFFu);
  EXPECT_EQ(shape->FillColor2(), 0xFFFFFFu);
  EXPECT_TRUE(shape->Image().Empty());
  EXPECT_TRUE(shape->Hint().isEmpty());
  shape->SetHint(QStringLiteral("/tmp/disco.jpg"));
  EXPECT_EQ(shape->Hint(), QStringLiteral("/tmp/disco.jpg"));
  EXPECT_TRUE(shape->toolTip().isEmpty());
}

TEST_F(DSShapeTest, SolidDiscIsFilledAndOutlinedAndLeavesTheCornersAlone) {
  shape->SetShapeType(tstCircle);
  shape->SetFillColor(0x0000FF);  // red
  EXPECT_EQ(shape->DrawRect(), (TDSRect{0, 0, 443, 443}));
  const QImage img = shape->Render();
  EXPECT_EQ(At(img, 221, 221), QColor(Qt::red));
  EXPECT_EQ(At(img, 221, 1), QColor(Qt::red));
  EXPECT_LT(At(img, 221, 0).lightness(), 80);  // the outline, top
  EXPECT_LT(At(img, 0, 221).lightness(), 80);  // and left
  EXPECT_TRUE(Clear(img, 3, 3));
  EXPECT_TRUE(Clear(img, 439, 439));
}

TEST_F(DSShapeTest, StretchedPictureFillsOnlyTheCircleUnderItsOutline) {
  shape->SetShapeType(tstCircle);
  const TPicture pic = TwoColourPicture(640, 480);
  shape->SetImage(&pic);
  shape->SetFillStyle(tfsImageStretch);
  const QImage img = shape->Render();
  EXPECT_EQ(At(img, 100, 221), QColor(Qt::red));
  EXPECT_EQ(At(img, 340, 221), QColor(Qt::blue));
  EXPECT_EQ(At(img, 190, 5), QColor(Qt::red));   // the picture is squeezed to 443 high
  EXPECT_LT(At(img, 0, 221).lightness(), 80);    // outline over the picture
  EXPECT_LT(At(img, 442, 221).lightness(), 80);
  EXPECT_TRUE(Clear(img, 5, 5));                 // the sheet shows in the corners
  EXPECT_TRUE(Clear(img, 437, 437));
}

TEST_F(DSShapeTest, NoFillDrawsOnlyTheOutline) {
  shape->SetShapeType(tstCircle);
  shape->SetFillStyle(tfsNone);
  const QImage img = shape->Render();
  EXPECT_TRUE(Clear(img, 221, 221));
  EXPECT_LT(At(img, 221, 0).lightness(), 80);
}

TEST_F(DSShapeTest, RectangleWithoutOutlineFillsTheWholeControl) {
  shape->setGeometry(0, 0, 100, 60);
  shape->SetLineWidth(0);
  shape->SetFillColor(0x00FF00);
  const QImage img = shape->Render();
  for (QPoint p : {QPoint(0, 0), QPoint(99, 59), QPoint(99, 0), QPoint(0, 59), QPoint(50, 30)})
    EXPECT_EQ(At(img, p.x(), p.y()), QColor(Qt::green)) << p.x() << "," << p.y();

  shape->SetLineWidth(1);
  const QImage outlined = shape->Render();
  EXPECT_EQ(At(outlined, 0, 0), QColor(Qt::black));
  EXPECT_EQ(At(outlined, 99, 59), QColor(Qt::black));
  EXPECT_EQ(At(outlined, 1, 1), QColor(Qt::green));
}

TEST_F(DSShapeTest, SquareIsCentredAndClipsItsFill) {
  shape->setGeometry(0, 0, 100, 60);
  shape->SetShapeType(tstSquare);
  shape->SetFillColor(0x000000);
  shape->SetFillColor2(0xFFFFFF);
  shape->SetFillStyle(tfsHGradient);
  const QImage img = shape->Render();
  EXPECT_TRUE(Clear(img, 10, 30));             // left of the square (20, 0, 80, 60)
  EXPECT_TRUE(Clear(img, 90, 30));
  EXPECT_EQ(At(img, 20, 30), QColor(Qt::black));  // its outline
  EXPECT_EQ(At(img, 79, 30), QColor(Qt::black));
  // Inside, the gradient of the whole control width: stripe 40 is grey 102.
  EXPECT_EQ(At(img, 40, 30), QColor(102, 102, 102));
}

TEST_F(DSShapeTest, RectanglePictureFillsCoverTheControl) {
  shape->setGeometry(0, 0, 100, 60);
  shape->SetLineWidth(0);
  shape->SetFillColor(0x00FF00);
  const TPicture pic = TwoColourPicture(20, 10);

  struct Case { TDSShapeFill fill; QPoint p; QColor want; } cases[] = {
      {tfsImageCenter, {40, 25}, Qt::red},    // at ((100-20)/2, (60-10)/2)
      {tfsImageCenter, {55, 25}, Qt::blue},
      {tfsImageCenter, {39, 25}, Qt::green},  // the fill colour around it
      {tfsImageCenter, {40, 35}, Qt::green},
      {tfsImageTile, {0, 0}, Qt::red},
      {tfsImageTile, {35, 15}, Qt::blue},     // the second tile of the second row
      {tfsImageTile, {85, 55}, Qt::red},
      {tfsImageStretch, {30, 59}, Qt::red},
      {tfsImageStretch, {70, 0}, Qt::blue},
  };
  shape->SetImage(&pic);
  for (auto c : cases) {
    shape->SetFillStyle(c.fill);
    EXPECT_EQ(At(shape->Render(), c.p.x(), c.p.y()), c.want) << int(c.fill) << " at " << c.p.x() << "," << c.p.y();
  }

  // Without a picture the picture fills show the fill colour.
  shape->SetImage(nullptr);
  EXPECT_TRUE(shape->Image().Empty());
  shape->SetFillStyle(tfsImageTile);
  EXPECT_EQ(At(shape->Render(), 50, 30), QColor(Qt::green));
}

TEST_F(DSShapeTest, VerticalGradientAndLinesIgnoringTheFill) {
  shape->setGeometry(0, 0, 30, 100);
  shape->SetLineWidth(0);
  shape->SetFillColor(0x000000);
  shape->SetFillColor2(0xFFFFFF);
  shape->SetFillStyle(tfsVGradient);
  const QImage grad = shape->Render();
  EXPECT_EQ(At(grad, 15, 0), QColor(0, 0, 0));
  EXPECT_EQ(At(grad, 15, 40), QColor(102, 102, 102));
  EXPECT_EQ(At(grad, 3, 99), QColor(252, 252, 252));

  shape->SetLineWidth(1);
  shape->SetShapeType(tstHLine);
  const QImage h = shape->Render();
  EXPECT_EQ(At(h, 15, 50), QColor(Qt::black));  // y = 100 div 2
  EXPECT_TRUE(Clear(h, 15, 20));
  shape->SetShapeType(tstVLine);
  const QImage v = shape->Render();
  EXPECT_EQ(At(v, 15, 10), QColor(Qt::black));  // x = 30 div 2
  EXPECT_TRUE(Clear(v, 5, 10));
  shape->SetShapeType(tstHorizontalLine1);
  const QImage d1 = shape->Render();
  EXPECT_FALSE(Clear(d1, 15, 50));
  EXPECT_TRUE(Clear(d1, 25, 10));
  shape->SetShapeType(tstHorizontalLine2);
  const QImage d2 = shape->Render();
  EXPECT_FALSE(Clear(d2, 15, 50));
  EXPECT_TRUE(Clear(d2, 5, 10));
}

class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST_F(DSShapeTest, SettersRepaintAtOnceAndOnlyOnAChange) {
  sheet->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
  QCoreApplication::processEvents();
  PaintCounter counter;
  shape->installEventFilter(&counter);

  struct Case { const char* name; std::function<void()> same, changed; } cases[] = {
      {"LineWidth", [&] { shape->SetLineWidth(shape->LineWidth()); }, [&] { shape->SetLineWidth(3); }},
      {"LineColor", [&] { shape->SetLineColor(shape->LineColor()); }, [&] { shape->SetLineColor(0xFF); }},
      {"ShapeType", [&] { shape->SetShapeType(shape->ShapeType()); }, [&] { shape->SetShapeType(tstCircle); }},
      {"FillStyle", [&] { shape->SetFillStyle(shape->FillStyle()); }, [&] { shape->SetFillStyle(tfsNone); }},
      {"FillColor", [&] { shape->SetFillColor(shape->FillColor()); }, [&] { shape->SetFillColor(0x123456); }},
      {"FillColor2", [&] { shape->SetFillColor2(shape->FillColor2()); }, [&] { shape->SetFillColor2(0x654321); }},
  };
  for (auto& c : cases) {
    counter.paints = 0;
    c.same();
    EXPECT_EQ(counter.paints, 0) << c.name;
    c.changed();  // no event loop in between: the paint happened inside the call
    EXPECT_EQ(counter.paints, 1) << c.name;
  }

  // Setting the picture always repaints, even with nothing to change.
  counter.paints = 0;
  shape->SetImage(nullptr);
  EXPECT_EQ(counter.paints, 1);

  // Loading straight into the picture does not; neither does re-setting
  // the fill style it already has.
  shape->SetFillStyle(tfsImageStretch);
  counter.paints = 0;
  shape->ImageRef() = TwoColourPicture(8, 8);
  shape->SetFillStyle(tfsImageStretch);
  EXPECT_EQ(counter.paints, 0);
  EXPECT_FALSE(shape->Image().Empty());
  shape->removeEventFilter(&counter);
}

TEST_F(DSShapeTest, MouseHandlersAreRaised) {
  sheet->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
  std::vector<std::string> log;
  shape->OnMouseDown = [&](QObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    EXPECT_EQ(s, shape);
    EXPECT_TRUE(sh & ssLeft);
    log.push_back("down " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  shape->OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int, int) { log.push_back("up"); };
  shape->OnClick = [&](QObject*) { log.push_back("click"); };
  shape->OnDblClick = [&](QObject*) { log.push_back("dbl"); };
  QTest::mouseClick(shape, Qt::LeftButton, {}, QPoint(10, 20));
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 10,20", "click", "up"}));
  log.clear();
  QTest::mouseDClick(shape, Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(std::count(log.begin(), log.end(), std::string("dbl")), 1);
}

}  // namespace
