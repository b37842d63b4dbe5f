// SPDX-License-Identifier: GPL-3.0-or-later
// The selection frame: attaching, the geometry rules of dragging, snapping
// and nudging, and the mouse routing (capture after attach, presses handed
// on to what lies under them).  Mouse input goes through the window, as a
// real mouse's would, so capture and implicit grabs take part.
#include "components/Handles.h"
#include "platform/Controls.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A cover object stand-in: records what reaches it and can act on a press
// the way the editor's object handlers do.
class Probe : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void()> onPress;
  std::vector<std::pair<QEvent::Type, QPoint>> got;

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    got.emplace_back(e->type(), e->position().toPoint());
    if (onPress) onPress();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    got.emplace_back(e->type(), e->position().toPoint());
  }
};

class HandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<QWidget>();
    form->resize(600, 500);
    panel = new TPanel(form.get());
    panel->setGeometry(0, 0, 458, 455);
    panel->BevelOuter = bvNone;
    obj = new Probe(panel);
    obj->setGeometry(40, 30, 100, 20);
    handle = new TStretchHandle(form.get());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    // Start from a point no test uses: a move to where the mouse already
    // is would not be delivered at all.
    QTest::mouseMove(win(), QPoint(599, 499));
  }
  void TearDown() override {
    // Whatever a test did, nothing may keep the mouse afterwards.
    form.reset();
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  }

  QWindow* win() const { return form->windowHandle(); }
  QPoint at(QWidget* w, QPoint p) const { return w->mapTo(form.get(), p); }
  void press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mousePress(win(), b, {}, at(w, p));
  }
  void move(QWidget* w, QPoint p) { QTest::mouseMove(win(), at(w, p)); }
  void release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseRelease(win(), b, {}, at(w, p));
  }
  // A drag of the handle from handle point `from` by (dx, dy).
  void drag(QPoint from, int dx, int dy) {
    press(handle, from);
    move(handle, from + QPoint(dx / 2, dy / 2));
    move(handle, from + QPoint(dx, dy));
    release(handle, from + QPoint(dx, dy));
  }
  QImage shot() const { return panel->grab().toImage(); }

  std::unique_ptr<QWidget> form;
  TPanel* panel = nullptr;
  Probe* obj = nullptr;
  TStretchHandle* handle = nullptr;
};

TEST_F(HandleTest, StartsIdleWithItsDefaults) {
  EXPECT_FALSE(handle->isVisible());
  EXPECT_FALSE(handle->isEnabled());
  EXPECT_EQ(handle->size(), QSize(24, 24));
  EXPECT_FALSE(handle->IsAttached());
  EXPECT_EQ(handle->Children(0), nullptr);
  EXPECT_EQ(handle->Color(), 0u);
  EXPECT_EQ(handle->SecondaryColor(), 0x808080u);
  EXPECT_EQ(handle->GridX(), 1);
  EXPECT_EQ(handle->GridY(), 1);
  EXPECT_FALSE(handle->SnapToGrid());
  EXPECT_FALSE(handle->Locked());
}

TEST_F(HandleTest, GridStepsStayInRangeAndSnapToGridSetsBoth) {
  struct Case { int in, out; } cases[] = {{0, 1}, {1, 1}, {4, 4}, {32, 32}, {33, 32}, {-7, 1}};
  for (auto c : cases) {
    handle->SetGridX(c.in);
    handle->SetGridY(c.in);
    EXPECT_EQ(handle->GridX(), c.out) << c.in;
    EXPECT_EQ(handle->GridY(), c.out) << c.in;
  }
  handle->SetGridX(1);
  handle->SetGridY(2);
  EXPECT_TRUE(handle->SnapToGrid());
  handle->SetGridY(1);
  EXPECT_FALSE(handle->SnapToGrid());

  handle->SetGridX(4);
  handle->SetSnapToGrid(true);
  EXPECT_EQ(handle->GridX(), 8);
  EXPECT_EQ(handle->GridY(), 8);
  handle->SetSnapToGrid(false);
  EXPECT_EQ(handle->GridX(), 1);
  EXPECT_EQ(handle->GridY(), 1);
}

TEST_F(HandleTest, AttachFitsTheFrameTakesMouseAndFocusAndPaintsEightSquares) {
  handle->Attach(obj);
  EXPECT_TRUE(handle->IsAttached());
  EXPECT_EQ(handle->Children(0), obj);
  EXPECT_EQ(handle->Children(1), nullptr);
  EXPECT_EQ(handle->Children(-1), nullptr);
  EXPECT_EQ(handle->parentWidget(), panel);
  EXPECT_EQ(handle->geometry(), QRect(38, 28, 105, 25));
  EXPECT_TRUE(handle->isVisible());
  EXPECT_TRUE(handle->isEnabled());
  EXPECT_EQ(QWidget::mouseGrabber(), handle);
  EXPECT_TRUE(handle->hasFocus());

  const auto squares = TStretchHandle::GrabSquares(handle->geometry(), {obj->geometry()});
  ASSERT_EQ(squares.size(), 8u);
  EXPECT_EQ(squares[0], QRect(0, 0, 5, 5));
  EXPECT_EQ(squares[2], QRect(99, 19, 5, 5));
  EXPECT_EQ(squares[4], QRect(50, 0, 5, 5));  // top middle: mx = 104 / 2
  EXPECT_EQ(squares[6], QRect(0, 10, 5, 5));  // left middle: my = 24 / 2

  const QImage img = shot();
  for (const QRect& s : squares) {
    const QPoint c = s.center() + handle->pos();
    EXPECT_EQ(img.pixelColor(c), QColor(Qt::black)) << c.x() << "," << c.y();
  }
  // Between the squares the object and the panel show through.
  EXPECT_NE(img.pixelColor(handle->pos() + QPoint(25, 12)), QColor(Qt::black));
  EXPECT_NE(img.pixelColor(handle->pos() + QPoint(25, 2)), QColor(Qt::black));
}

TEST_F(HandleTest, AttachRejectsWindowsAndIgnoresNothingAndRepeats) {
  QWidget window;
  try {
    handle->Attach(&window);
    FAIL() << "no EBadChild";
  } catch (const EBadChild& e) {
    EXPECT_EQ(e.Message, QStringLiteral("Handles can not be attached to a Form!"));
  }
  EXPECT_FALSE(handle->IsAttached());
  EXPECT_FALSE(handle->isVisible());

  handle->Attach(nullptr);
  EXPECT_FALSE(handle->IsAttached());
  handle->Attach(obj);
  handle->Attach(obj);
  EXPECT_EQ(handle->ChildCount(), 1);
  EXPECT_THROW(handle->Attach(form.get()), Exception);
  EXPECT_EQ(handle->ChildCount(), 1);
}

TEST_F(HandleTest, DetachReturnsToIdleAndFreesTheMouse) {
  handle->Attach(obj);
  handle->SetLocked(true);
  handle->Detach();
  EXPECT_FALSE(handle->IsAttached());
  EXPECT_FALSE(handle->Locked());
  EXPECT_FALSE(handle->isVisible());
  EXPECT_FALSE(handle->isEnabled());
  EXPECT_EQ(handle->size(), QSize(24, 24));
  EXPECT_NE(handle->parentWidget(), panel);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(obj->geometry(), QRect(40, 30, 100, 20));  // the control stays
}

TEST_F(HandleTest, SecondControlWidensTheFrameAndGreysItsCornerSquaresOnly) {
  auto* other = new Probe(panel);
  other->setGeometry(200, 100, 30, 40);
  handle->Attach(obj);
  handle->Attach(other);
  ASSERT_EQ(handle->ChildCount(), 2);
  EXPECT_EQ(handle->geometry(), QRect(38, 28, 230 - 38 + 3, 140 - 28 + 3));

  const auto squares = TStretchHandle::GrabSquares(handle->geometry(), {obj->geometry(), other->geometry()});
  EXPECT_EQ(squares.size(), 8u);  // four corners each, no edge middles
  const QImage img = shot();
  for (const QRect& s : squares)
    EXPECT_EQ(img.pixelColor(s.center() + handle->pos()), QColor(0x80, 0x80, 0x80));
  EXPECT_NE(img.pixelColor(obj->geometry().topLeft() + QPoint(52, -2)), QColor(0x80, 0x80, 0x80));

  // With several controls only the body exists, and a drag moves them all
  // by as much as the mouse moved (grid 1).
  drag(QPoint(10, 10), 4, 6);
  EXPECT_EQ(obj->pos(), QPoint(44, 36));
  EXPECT_EQ(other->pos(), QPoint(204, 106));
  EXPECT_EQ(other->size(), QSize(30, 40));

  // A control of another parent replaces the held ones.
  auto* elsewhere = new TPanel(form.get());
  elsewhere->setGeometry(460, 0, 140, 140);
  auto* far = new Probe(elsewhere);
  far->setGeometry(10, 10, 20, 20);
  elsewhere->show();
  handle->Attach(far);
  EXPECT_EQ(handle->ChildCount(), 1);
  EXPECT_EQ(handle->Children(0), far);
  EXPECT_EQ(handle->parentWidget(), elsewhere);
  EXPECT_EQ(handle->geometry(), QRect(8, 8, 25, 25));
}

TEST(HandleRules, HitAreasFollowTheTestOrder) {
  struct Case { int x, y, r, b, area; } cases[] = {
      {0, 0, 105, 25, 1},     {4, 4, 105, 25, 1},     {5, 0, 105, 25, 0},
      {104, 24, 105, 25, 4},  {101, 0, 105, 25, 2},   {0, 22, 105, 25, 3},
      {52, 2, 105, 25, 5},    {50, 24, 105, 25, 7},   {2, 12, 105, 25, 6},
      {103, 14, 105, 25, 8},  {60, 12, 105, 25, 0},
      // An exact half: a width of 25 gives 12.5, so 10 and 15 pass, 9 does not.
      {10, 0, 25, 60, 5},     {15, 0, 25, 60, 5},     {9, 0, 25, 60, 0},
      // On a tiny frame the later tests win over the corners.
      {2, 2, 5, 5, 8},        {2, 0, 5, 20, 5},
  };
  for (auto c : cases)
    EXPECT_EQ(TStretchHandle::HitArea(c.x, c.y, c.r, c.b), c.area) << c.x << "," << c.y << " in " << c.r << "x" << c.b;

  EXPECT_EQ(TStretchHandle::AreaCursor(0), Qt::ArrowCursor);
  EXPECT_EQ(TStretchHandle::AreaCursor(1), Qt::SizeFDiagCursor);
  EXPECT_EQ(TStretchHandle::AreaCursor(4), Qt::SizeFDiagCursor);
  EXPECT_EQ(TStretchHandle::AreaCursor(2), Qt::SizeBDiagCursor);
  EXPECT_EQ(TStretchHandle::AreaCursor(3), Qt::SizeBDiagCursor);
  EXPECT_EQ(TStretchHandle::AreaCursor(5), Qt::SizeVerCursor);
  EXPECT_EQ(TStretchHandle::AreaCursor(7), Qt::SizeVerCursor);
  EXPECT_EQ(TStretchHandle::AreaCursor(6), Qt::SizeHorCursor);
  EXPECT_EQ(TStretchHandle::AreaCursor(8), Qt::SizeHorCursor);
}

TEST(HandleRules, NewBoundsPutTheDraggedEdgesOnTheNearestGridLines) {
  // The handle of a 100 x 20 control at (40, 30): the control's left edge
  // is on the 8-pixel grid, its other edges are not.
  const QRect b(38, 28, 105, 25);
  struct Case { int area, dx, dy, gx, gy; QRect want; } cases[] = {
      // Body: the top-left corner goes to the grid point nearest to where
      // the mouse put it (53, 35).
      {0, 13, 5, 8, 8, QRect(54, 30, 105, 25)},
      {0, 0, 0, 8, 8, QRect(38, 30, 105, 25)},  // why a release in place must not apply
      // Grab squares: only the edges they touch, each to its nearest line.
      {1, 13, 5, 8, 8, QRect(54, 30, 89, 23)},
      {2, 13, 5, 8, 8, QRect(38, 30, 117, 23)},
      {3, 13, 5, 8, 8, QRect(54, 28, 89, 31)},
      {4, 13, 5, 8, 8, QRect(38, 28, 117, 31)},
      {5, 13, 5, 8, 8, QRect(38, 30, 105, 23)},
      {6, 13, 5, 8, 8, QRect(54, 28, 89, 25)},
      {7, 13, 5, 8, 8, QRect(38, 28, 105, 31)},
      {8, 13, 5, 8, 8, QRect(38, 28, 117, 25)},
      // The right edge (140, between two lines) goes to the nearest line.
      {8, -5, 0, 8, 8, QRect(38, 28, 101, 25)},
      {8, 3, 0, 8, 8, QRect(38, 28, 109, 25)},
      {8, 8, 0, 8, 8, QRect(38, 28, 117, 25)},
      // Grid 1: an edge goes exactly as far as the mouse.
      {8, 10, 0, 1, 1, QRect(38, 28, 115, 25)},
      {7, 0, 10, 1, 1, QRect(38, 28, 105, 35)},
      {4, 10, 7, 1, 1, QRect(38, 28, 115, 32)},
      {1, -6, 4, 1, 1, QRect(32, 32, 111, 21)},
      {0, -5, 9, 1, 1, QRect(33, 37, 105, 25)},
      // Lines below zero are as near as those above.
      {0, -43, -33, 8, 8, QRect(-2, -2, 105, 25)},
      {0, -47, -37, 8, 8, QRect(-10, -10, 105, 25)},
      // Shrinking stops at a 0 x 0 control, that is a 5 x 5 frame.
      {4, -300, -300, 1, 1, QRect(38, 28, 5, 5)},
      {1, 300, 300, 1, 1, QRect(338, 328, 5, 5)},
  };
  for (auto c : cases)
    EXPECT_EQ(TStretchHandle::NewBounds(b, c.area, c.dx, c.dy, c.gx, c.gy), c.want) << "area " << c.area << " by " << c.dx << "," << c.dy;

  struct SnapCase { int v, grid, want; } snaps[] = {{51, 8, 48}, {52, 8, 56}, {-4, 8, 0}, {-5, 8, -8},
                                                    {-9, 8, -8}, {-12, 8, -8}, {-13, 8, -16}, {7, 1, 7}};
  for (auto s : snaps) EXPECT_EQ(TStretchHandle::Snap(s.v, s.grid), s.want) << s.v;
}

TEST_F(HandleTest, BodyDragShowsAFrameAndMovesTheControlOnceAtRelease) {
  handle->SetSnapToGrid(true);
  handle->Attach(obj);
  int downs = 0, ups = 0, moves = 0;
  handle->OnMouseDown = [&](QObject* s, TMouseButton b, TShiftState, int x, int y) {
    EXPECT_EQ(s, handle);
    EXPECT_EQ(b, mbLeft);
    EXPECT_EQ(QPoint(x, y), QPoint(30, 10));
    ++downs;
  };
  handle->OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int, int) { ++ups; };
  handle->OnMouseMove = [&](QObject*, TShiftState, int, int) { ++moves; };

  press(handle, QPoint(30, 10));
  EXPECT_TRUE(handle->Dragging());
  move(handle, QPoint(43, 15));
  // Only the frame follows the mouse; the frame outlines the future
  // control, whose corner goes to the grid point nearest (53, 35).
  EXPECT_EQ(obj->pos(), QPoint(40, 30));
  EXPECT_EQ(handle->DragRect(), QRect(54, 30, 105, 25));
  EXPECT_EQ(handle->cursor().shape(), handle->DragCursor());
  QPointer<QWidget> frame;
  for (auto* w : panel->findChildren<QWidget*>())
    if (w->testAttribute(Qt::WA_TransparentForMouseEvents) && w->isVisible()) frame = w;
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->geometry(), QRect(56, 32, 100, 20));
  const QColor under = shot().pixelColor(200, 200);
  const QColor onFrame = shot().pixelColor(56, 32);
  EXPECT_EQ(onFrame, QColor(255 - under.red(), 255 - under.green(), 255 - under.blue()));
  EXPECT_EQ(shot().pixelColor(57, 32), under);  // dotted
  EXPECT_EQ(shot().pixelColor(70, 40), under);  // hollow

  release(handle, QPoint(43, 15));
  EXPECT_EQ(obj->geometry(), QRect(56, 32, 100, 20));
  EXPECT_EQ(handle->geometry(), QRect(54, 30, 105, 25));
  EXPECT_TRUE(handle->DragRect().isNull());
  EXPECT_TRUE(frame.isNull());
  EXPECT_FALSE(handle->Dragging());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
  EXPECT_GE(moves, 1);
}

TEST_F(HandleTest, ReleasingWhereThePressWasMovesNothing) {
  handle->SetSnapToGrid(true);
  handle->Attach(obj);
  drag(QPoint(30, 10), 0, 0);
  EXPECT_EQ(obj->geometry(), QRect(40, 30, 100, 20));
  // Out and back again: the frame goes, the control stays.
  press(handle, QPoint(30, 10));
  move(handle, QPoint(80, 60));
  EXPECT_FALSE(handle->DragRect().isNull());
  release(handle, QPoint(30, 10));
  EXPECT_EQ(obj->geometry(), QRect(40, 30, 100, 20));
  EXPECT_TRUE(handle->DragRect().isNull());
}

TEST_F(HandleTest, DragIsClampedToTheParent) {
  handle->Attach(obj);
  press(handle, QPoint(50, 10));
  move(handle, QPoint(60, 10));
  QTest::mouseMove(win(), QPoint(590, 490));  // off the panel, inside the window
  // X is clamped to 458 - 38 = 420 and Y to 455 - 28 = 427: a move by
  // (370, 417) from the press.
  EXPECT_EQ(handle->DragRect(), QRect(38 + 370, 28 + 417, 105, 25));
  QTest::mouseRelease(win(), Qt::LeftButton, {}, QPoint(590, 490));
  EXPECT_EQ(obj->pos(), QPoint(410, 447));
}

TEST_F(HandleTest, ResizingByTheCornerStopsAtAnEmptyControl) {
  handle->Attach(obj);
  // Hovering picks the grab area and its cursor.
  move(handle, QPoint(102, 22));
  EXPECT_EQ(handle->GrabArea(), TStretchHandle::gaBottomRight);
  EXPECT_EQ(handle->cursor().shape(), Qt::SizeFDiagCursor);
  drag(QPoint(102, 22), -130, -40);
  EXPECT_EQ(handle->geometry(), QRect(38, 28, 5, 5));
  EXPECT_EQ(obj->geometry(), QRect(40, 30, 0, 0));

  // The right edge by d pixels on grid 1 widens the control by d.
  obj->setGeometry(40, 30, 100, 20);
  handle->Detach();
  handle->Attach(obj);
  move(handle, QPoint(102, 12));
  EXPECT_EQ(handle->GrabArea(), TStretchHandle::gaRightMiddle);
  EXPECT_EQ(handle->cursor().shape(), Qt::SizeHorCursor);
  drag(QPoint(102, 12), 20, 0);
  EXPECT_EQ(obj->geometry(), QRect(40, 30, 120, 20));
}

TEST_F(HandleTest, LockedHandleNeitherMovesNorResizes) {
  handle->Attach(obj);
  handle->SetLocked(true);
  move(handle, QPoint(30, 10));
  EXPECT_EQ(handle->cursor().shape(), Qt::ForbiddenCursor);
  drag(QPoint(30, 10), 40, 40);
  EXPECT_FALSE(handle->Dragging());
  for (int key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down}) QTest::keyClick(handle, Qt::Key(key));
  handle->SetBounds(0, 0, 50, 50);
  EXPECT_EQ(obj->geometry(), QRect(40, 30, 100, 20));
  EXPECT_EQ(handle->geometry(), QRect(38, 28, 105, 25));
}

TEST_F(HandleTest, ArrowKeysNudgeByOnePixelWithoutSnapping) {
  handle->SetSnapToGrid(true);
  handle->Attach(obj);
  std::vector<int> keys;
  handle->OnKeyDown = [&](QObject*, int& key, TShiftState) { keys.push_back(key); };
  struct Case { Qt::Key key; QPoint pos; } cases[] = {
      {Qt::Key_Left, {39, 30}}, {Qt::Key_Up, {39, 29}}, {Qt::Key_Right, {40, 29}}, {Qt::Key_Down, {40, 30}}};
  for (auto c : cases) {
    QTest::keyClick(handle, c.key);
    EXPECT_EQ(obj->pos(), c.pos) << c.key;
    EXPECT_EQ(handle->pos(), c.pos - QPoint(2, 2));
  }
  QTest::keyClick(handle, Qt::Key_A);
  EXPECT_EQ(keys, (std::vector<int>{Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_A}));
  EXPECT_EQ(obj->size(), QSize(100, 20));
}

TEST_F(HandleTest, SetBoundsMovesEveryChildByTheSameDeltas) {
  auto* other = new Probe(panel);
  other->setGeometry(200, 100, 30, 40);
  handle->Attach(obj);
  handle->Attach(other);
  const QRect h = handle->geometry();
  handle->SetBounds(h.x() + 5, h.y() - 3, h.width() + 10, h.height() + 1);
  EXPECT_EQ(obj->geometry(), QRect(45, 27, 110, 21));
  EXPECT_EQ(other->geometry(), QRect(205, 97, 40, 41));
  EXPECT_EQ(handle->geometry(), QRect(h.x() + 5, h.y() - 3, h.width() + 10, h.height() + 1));
}

// The editor selects an object in its press handler; the drag that began
// with that press continues in the handle from the first move on.
TEST_F(HandleTest, DragStartedOnTheObjectContinuesInTheHandle) {
  handle->SetSnapToGrid(true);
  obj->onPress = [&] {
    handle->Detach();
    handle->Attach(obj);
  };
  press(obj, QPoint(20, 5));
  ASSERT_TRUE(handle->IsAttached());
  EXPECT_EQ(QWidget::mouseGrabber(), handle);
  move(obj, QPoint(25, 5));  // the drag starts here: the first 5 pixels do not count
  EXPECT_TRUE(handle->Dragging());
  move(obj, QPoint(41, 13));
  release(obj, QPoint(41, 13));
  // Moved by (16, 8) from the first move point: the grid point nearest to
  // (40 + 16, 30 + 8) is (56, 40).
  EXPECT_EQ(obj->pos(), QPoint(56, 40));
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(HandleTest, PressOutsideTheObjectGoesToWhatLiesUnderIt) {
  auto* other = new Probe(panel);
  other->setGeometry(200, 100, 50, 50);
  other->show();
  other->onPress = [&] {
    handle->Detach();
    handle->Attach(other);
  };
  int handleDowns = 0;
  handle->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { ++handleDowns; };
  handle->Attach(obj);
  ASSERT_EQ(QWidget::mouseGrabber(), handle);

  // The handle holds the mouse, so it gets the press and hands it on to the
  // other object, in that object's coordinates and without key flags.
  press(panel, QPoint(225, 120));
  ASSERT_EQ(other->got.size(), 1u);
  EXPECT_EQ(other->got[0], std::make_pair(QEvent::MouseButtonPress, QPoint(25, 20)));
  EXPECT_EQ(handleDowns, 0);
  EXPECT_EQ(handle->Children(0), other);
  // The other object is now selected, and the same drag moves it.
  move(panel, QPoint(230, 120));
  move(panel, QPoint(240, 130));
  release(panel, QPoint(240, 130));
  EXPECT_EQ(other->pos(), QPoint(210, 110));
  EXPECT_TRUE(obj->got.empty());

  // A click on the bare sheet reaches the sheet, press and release alike.
  int sheetClicks = 0;
  panel->OnClick = [&](QObject*) {
    ++sheetClicks;
    handle->Detach();
  };
  handle->Detach();
  handle->Attach(obj);
  press(panel, QPoint(400, 400));
  release(panel, QPoint(400, 400));
  EXPECT_EQ(sheetClicks, 1);
  EXPECT_FALSE(handle->IsAttached());
  EXPECT_EQ(handleDowns, 0);
}

TEST_F(HandleTest, FirstMoveWithoutButtonFreesTheMouse) {
  handle->Attach(obj);
  ASSERT_EQ(QWidget::mouseGrabber(), handle);
  move(panel, QPoint(300, 300));
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_TRUE(handle->IsAttached());
}

TEST_F(HandleTest, RightClickOpensThePopupAndDoubleClickIsReported) {
  QMenu menu;
  menu.addAction(QStringLiteral("Apagar"));
  handle->SetPopupMenu(&menu);
  handle->Attach(obj);
  std::vector<TMouseButton> downs;
  int dbl = 0;
  handle->OnMouseDown = [&](QObject*, TMouseButton b, TShiftState, int, int) { downs.push_back(b); };
  handle->OnDblClick = [&](QObject*) { ++dbl; };

  press(handle, QPoint(30, 10), Qt::RightButton);
  release(handle, QPoint(30, 10), Qt::RightButton);
  EXPECT_TRUE(menu.isVisible());
  EXPECT_EQ(downs, std::vector<TMouseButton>{mbRight});
  EXPECT_EQ(obj->pos(), QPoint(40, 30));
  menu.close();

  QTest::mouseDClick(win(), Qt::LeftButton, {}, at(handle, QPoint(30, 10)));
  EXPECT_EQ(dbl, 1);
  EXPECT_FALSE(handle->Dragging());
  EXPECT_EQ(obj->pos(), QPoint(40, 30));
}

// The editor's 8-pixel grid and an object on it: a press that jitters by
// one pixel in any direction, on the body or on any grab square, leaves
// the object where it was, and so does a one-pixel drag of an edge.
TEST_F(HandleTest, OnTheGridAOnePixelDragMovesAndResizesNothing) {
  const QRect onGrid(40, 32, 96, 24);
  handle->SetSnapToGrid(true);
  // A point in each grab area (handle coordinates of the 101 x 29 frame).
  const std::pair<int, QPoint> areas[] = {
      {TStretchHandle::gaBody, {30, 12}},        {TStretchHandle::gaTopLeft, {2, 2}},
      {TStretchHandle::gaTopRight, {98, 2}},     {TStretchHandle::gaBottomLeft, {2, 26}},
      {TStretchHandle::gaBottomRight, {98, 26}}, {TStretchHandle::gaTopMiddle, {50, 2}},
      {TStretchHandle::gaLeftMiddle, {2, 14}},   {TStretchHandle::gaBottomMiddle, {50, 26}},
      {TStretchHandle::gaRightMiddle, {98, 14}},
  };
  for (const auto& [area, at] : areas) {
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) {
        if (!dx && !dy) continue;
        SCOPED_TRACE(testing::Message() << "area " << area << ", drag by " << dx << "," << dy);
        obj->setGeometry(onGrid);
        handle->Detach();
        handle->Attach(obj);
        move(handle, at);
        ASSERT_EQ(handle->GrabArea(), area);
        press(handle, at);
        move(handle, at + QPoint(dx, dy));
        release(handle, at + QPoint(dx, dy));
        EXPECT_EQ(obj->geometry(), onGrid);
        EXPECT_EQ(handle->geometry(), QRect(38, 30, 101, 29));
      }
  }
}

// Dragging an edge moves it to the grid line nearest to where the mouse
// took it, and only that edge; on a grid of 1, exactly as far as the mouse.
TEST_F(HandleTest, DraggedEdgesGoToTheNearestGridLine) {
  struct Case {
    int grid;
    QPoint at;  // in the 101 x 29 frame of a 96 x 24 object at (40, 32)
    QPoint by;
    QRect want;
  } cases[] = {
      {8, {98, 14}, {5, 0}, QRect(40, 32, 104, 24)},    // right edge: 141 -> 144
      {8, {98, 14}, {-5, 0}, QRect(40, 32, 88, 24)},    // 131 -> 128
      {8, {2, 14}, {-13, 0}, QRect(24, 32, 112, 24)},   // left edge: 27 -> 24
      {8, {50, 26}, {0, 7}, QRect(40, 32, 96, 32)},     // bottom: 63 -> 64
      {8, {50, 2}, {0, 3}, QRect(40, 32, 96, 24)},      // top: 35 -> 32
      {8, {98, 26}, {12, 12}, QRect(40, 32, 112, 40)},  // corner: both edges
      {8, {30, 12}, {13, 5}, QRect(56, 40, 96, 24)},    // body: (53, 37) -> (56, 40)
      {1, {98, 26}, {3, 2}, QRect(40, 32, 99, 26)},     // grid 1: nothing lost
      {1, {2, 2}, {-3, -2}, QRect(37, 30, 99, 26)},
      {1, {98, 14}, {1, 0}, QRect(40, 32, 97, 24)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "grid " << c.grid << ", from " << c.at.x() << "," << c.at.y()
                                    << " by " << c.by.x() << "," << c.by.y());
    handle->SetGridX(c.grid);
    handle->SetGridY(c.grid);
    obj->setGeometry(40, 32, 96, 24);
    handle->Detach();
    handle->Attach(obj);
    move(handle, c.at);
    drag(c.at, c.by.x(), c.by.y());
    EXPECT_EQ(obj->geometry(), c.want);
  }
}

TEST_F(HandleTest, DestroyingTheHeldControlLetsGo) {
  handle->Attach(obj);
  delete obj;
  obj = nullptr;
  EXPECT_FALSE(handle->IsAttached());
  EXPECT_FALSE(handle->isVisible());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(HandleTest, DestroyingTheHandleFreesTheMouse) {
  handle->Attach(obj);
  ASSERT_EQ(QWidget::mouseGrabber(), handle);
  delete handle;
  handle = nullptr;
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

}  // namespace
