// SPDX-License-Identifier: GPL-3.0-or-later
// The selection frame of the cover editor: a transparent widget laid over
// the selected object on its sheet, with eight grab squares.  Dragging the
// body moves the object, dragging a square resizes it, the arrow keys nudge
// it by a pixel, and every drag snaps the object's edges to a grid.  While
// the mouse is dragged only a dotted frame follows it; the object moves
// once, at the release.
// Presses outside the object are handed to whatever lies under them, so a
// click elsewhere still reaches the sheet or another object.
#pragma once

#include "platform/Types.h"

#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>


// Raised when a top-level window is offered to the handle.
class EBadChild : public Exception {
 public:
  EBadChild() : Exception(QStringLiteral("Handles can not be attached to a Form!")) {}
};

using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;

class TStretchHandle : public QWidget {
  Q_OBJECT
 public:
  // The part of the frame under the mouse when a drag begins.
  enum TGrabArea : int {
    gaBody = 0,
    gaTopLeft = 1,
    gaTopRight = 2,
    gaBottomLeft = 3,
    gaBottomRight = 4,
    gaTopMiddle = 5,
    gaLeftMiddle = 6,
    gaBottomMiddle = 7,
    gaRightMiddle = 8,
  };

  explicit TStretchHandle(QWidget* parent = nullptr);
  ~TStretchHandle() override;

  // Adds c to the held controls.  Throws EBadChild for a top-level window;
  // nothing and an already held control are ignored.
  void Attach(QWidget* c);
  // Lets go of every held control and hides the handle.
  void Detach();
  // Fits the frame around the held controls again, after one of them took
  // another size or place than the frame was dragged to (a text that sizes
  // itself); unlike Attach it leaves the mouse alone.
  void Fit();
  // Gives up a drag in progress (the held controls stay where they are) and
  // lets go of the mouse: a modal dialog is opening and takes the mouse.
  void CancelDrag();
  bool IsAttached() const { return !children_.empty(); }
  // The held control at index i, or nullptr.
  QWidget* Children(int i) const;
  int ChildCount() const { return int(children_.size()); }

  // Moves and resizes the handle and every held control by the same deltas
  // (nothing at all while Locked).
  void SetBounds(int left, int top, int width, int height);

  int GridX() const { return gridX_; }
  void SetGridX(int v);
  int GridY() const { return gridY_; }
  void SetGridY(int v);
  // True while either step is above 1; writing it sets both steps to 8 or 1.
  bool SnapToGrid() const { return gridX_ > 1 || gridY_ > 1; }
  void SetSnapToGrid(bool v);

  bool Locked() const { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TColor SecondaryColor() const { return secondaryColor_; }
  void SetSecondaryColor(TColor c);
  Qt::CursorShape DragCursor() const { return dragCursor_; }
  void SetDragCursor(Qt::CursorShape c) { dragCursor_ = c; }

  QMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(QMenu* m) { popupMenu_ = m; }

  // The handle bounds for which the dotted drag frame is shown, in parent
  // coordinates; a null rectangle when none is shown.
  QRect DragRect() const;
  // The grab area recorded for the current or next drag.
  int GrabArea() const { return grabArea_; }
  bool Dragging() const { return dragging_; }

  // The grab area for a point (x, y) of a handle with client size r x b.
  static int HitArea(int x, int y, int r, int b);
  // The cursor that goes with a grab area.
  static Qt::CursorShape AreaCursor(int area);
  // The grid line nearest to v (a half step goes up); v itself with a
  // grid of 1.
  static int Snap(int v, int grid);
  // The handle bounds after dragging grab area `area` of `bounds` (handle
  // bounds) by (dx, dy) with the given grid: the body moves the held
  // object, whose top-left corner goes to the nearest grid point; a grab
  // square moves the object's edges it touches to the grid lines nearest
  // to them.  The object never gets narrower or lower than 0, the handle
  // than 5.
  static QRect NewBounds(const QRect& bounds, int area, int dx, int dy, int gridX, int gridY);
  // The filled grab squares, in handle coordinates, for the handle at
  // `handle` holding controls with the given bounds (parent coordinates).
  static std::vector<QRect> GrabSquares(const QRect& handle, const std::vector<QRect>& children);

  TNotifyEvent OnClick, OnDblClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void SetOwnBounds(const QRect& r) { setGeometry(r); }
  void ReleaseCapture();
  void LetGo(bool toOwner);
  void PressAt(QMouseEvent* e, bool dbl);
  void ClampToParent(int& x, int& y) const;
  QRect BoundsFor(int x, int y) const;
  void DrawDragFrame(int x, int y);
  void EraseDragFrame();
  void ShowDragFrame(const QRect& bounds);
  void PassOn(QEvent::Type type, Qt::MouseButton button, const QPoint& parentPoint);
  void LetPassedGo();
  void ChildDestroyed(QObject* c);
  std::vector<QRect> ChildBounds() const;

  // Current drag.
  int startX_ = 0, startY_ = 0;
  int grabArea_ = gaBody;
  bool dragging_ = false;
  bool clickPending_ = false;
  // Bounds the drag frame is shown for (all zero when none).
  int dragLeft_ = 0, dragTop_ = 0, dragWidth_ = 0, dragHeight_ = 0;

  bool locked_ = false;
  TColor color_ = clBlack;
  TColor secondaryColor_ = clGray;
  int gridX_ = 1, gridY_ = 1;
  Qt::CursorShape dragCursor_ = Qt::DragMoveCursor;
  QPointer<QMenu> popupMenu_;

  std::vector<QPointer<QWidget>> children_;
  std::vector<QMetaObject::Connection> childWatch_;
  // The widget the handle belongs to; it goes back there when it lets go.
  QPointer<QWidget> owner_;
  QPointer<QWidget> dragFrame_;
  // A widget that was handed a press and holds the mouse until its release.
  QPointer<QWidget> passedTo_;
  unsigned attachCount_ = 0;
};
