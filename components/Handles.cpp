// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Handles.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The dotted frame that follows the mouse during a drag.  It lives on the
// handle's parent (the frame may leave the handle's own area) and inverts
// what lies below it, so it shows on any sheet colour.
class TDragFrame : public QWidget {
 public:
  explicit TDragFrame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const int w = width(), h = height();
    if (w <= 0 || h <= 0) return;
    // Every other pixel of the outline, starting at the top-left corner;
    // each pixel once, since inverting twice would undo it.
    QPolygon dots;
    auto dot = [&dots](int x, int y) {
      if ((x + y) % 2 == 0) dots << QPoint(x, y);
    };
    for (int x = 0; x < w; ++x) {
      dot(x, 0);
      if (h > 1) dot(x, h - 1);
    }
    for (int y = 1; y < h - 1; ++y) {
      dot(0, y);
      if (w > 1) dot(w - 1, y);
    }
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Difference);
    p.setPen(QPen(Qt::white, 0));
    p.drawPoints(dots);
  }
};

bool IsArrow(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

}  // namespace

TStretchHandle::TStretchHandle(QWidget* parent) : QWidget(parent), owner_(parent) {
  // Hover over the frame picks the grab area, so moves without a button
  // must arrive too.
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  // Only the squares are painted; the object below shows through.
  setAttribute(Qt::WA_NoSystemBackground);
  resize(24, 24);
  setEnabled(false);
  hide();
}

TStretchHandle::~TStretchHandle() {
  ReleaseCapture();
  LetPassedGo();
  for (auto& c : childWatch_) disconnect(c);
  delete dragFrame_.data();
}

// --- holding controls ------------------------------------------------------

void TStretchHandle::Attach(QWidget* c) {
  if (c && c->isWindow()) throw EBadChild();
  if (!c || c == this) return;
  for (const auto& held : children_)
    if (held == c) return;

  if (!children_.empty() && c->parentWidget() != parentWidget()) Detach();

  if (children_.empty()) {
    if (parentWidget() != c->parentWidget()) setParent(c->parentWidget());
    dragLeft_ = dragTop_ = dragWidth_ = dragHeight_ = 0;
    delete dragFrame_.data();
    setEnabled(true);
    show();
    SetOwnBounds(QRect(c->x() - 2, c->y() - 2, c->width() + 5, c->height() + 5));
  } else {
    const int l = std::min(x(), c->x() - 2);
    const int t = std::min(y(), c->y() - 2);
    const int w = std::max(x() + width() - 3, c->x() + c->width()) - l + 3;
    const int h = std::max(y() + height() - 3, c->y() + c->height()) - t + 3;
    SetOwnBounds(QRect(l, t, w, h));
  }

  children_.emplace_back(c);
  ++attachCount_;
  childWatch_.push_back(
      connect(c, &QObject::destroyed, this, [this](QObject* o) { ChildDestroyed(o); }));
  grabArea_ = gaBody;

  // Take the mouse, so that a drag that began with the press on the object
  // (which is what led the editor here) goes on inside the handle.
  raise();
  if (isVisible()) grabMouse();
  if (isVisible() && isEnabled()) setFocus();
}

void TStretchHandle::Detach() { LetGo(true); }

void TStretchHandle::CancelDrag() {
  if (dragging_) {
    EraseDragFrame();
    dragging_ = false;
    unsetCursor();
  }
  clickPending_ = false;
  LetPassedGo();
  ReleaseCapture();
}

void TStretchHandle::Fit() {
  QRect r;
  for (const auto& c : children_) {
    if (!c) continue;
    const QRect b(c->x() - 2, c->y() - 2, c->width() + 5, c->height() + 5);
    r = r.isNull() ? b : r.united(b);
  }
  if (!r.isNull() && r != geometry()) {
    SetOwnBounds(r);
    update();
  }
}

void TStretchHandle::LetGo(bool toOwner) {
  for (auto& c : childWatch_) disconnect(c);
  childWatch_.clear();
  children_.clear();
  locked_ = false;
  dragging_ = false;
  clickPending_ = false;
  ReleaseCapture();
  resize(24, 24);
  setEnabled(false);
  hide();
  // Off the sheet: back to the widget that owns the handle.  Not while a
  // held control is being destroyed, which may be its sheet going away.
  if (toOwner && parentWidget() != owner_) setParent(owner_);
  dragLeft_ = dragTop_ = dragWidth_ = dragHeight_ = 0;
  delete dragFrame_.data();
}

QWidget* TStretchHandle::Children(int i) const {
  if (i < 0 || i >= int(children_.size())) return nullptr;
  return children_[size_t(i)];
}

void TStretchHandle::ChildDestroyed(QObject* o) {
  for (size_t i = 0; i < children_.size(); ++i) {
    if (children_[i].isNull() || children_[i].data() == o) {
      disconnect(childWatch_[i]);
      children_.erase(children_.begin() + long(i));
      childWatch_.erase(childWatch_.begin() + long(i));
      --i;
    }
  }
  if (children_.empty()) LetGo(false);
  else update();
}

std::vector<QRect> TStretchHandle::ChildBounds() const {
  std::vector<QRect> r;
  for (const auto& c : children_)
    if (c) r.push_back(c->geometry());
  return r;
}

void TStretchHandle::SetBounds(int left, int top, int width, int height) {
  if (locked_) return;
  const QRect old = geometry();
  for (const auto& c : children_) {
    if (!c) continue;
    c->setGeometry(c->x() + left - old.x(), c->y() + top - old.y(), c->width() + width - old.width(),
                   c->height() + height - old.height());
  }
  SetOwnBounds(QRect(left, top, width, height));
}

// --- properties --------------------------------------------------------------

void TStretchHandle::SetGridX(int v) { gridX_ = std::clamp(v, 1, 32); }
void TStretchHandle::SetGridY(int v) { gridY_ = std::clamp(v, 1, 32); }

void TStretchHandle::SetSnapToGrid(bool v) {
  const int step = v ? 8 : 1;
  gridX_ = step;
  gridY_ = step;
}

void TStretchHandle::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  update();
}

void TStretchHandle::SetSecondaryColor(TColor c) {
  if (c == secondaryColor_) return;
  secondaryColor_ = c;
  update();
}

QRect TStretchHandle::DragRect() const {
  if (!dragLeft_ && !dragTop_ && !dragWidth_ && !dragHeight_) return QRect();
  return QRect(dragLeft_, dragTop_, dragWidth_, dragHeight_);
}

// --- geometry rules ------------------------------------------------------------

int TStretchHandle::HitArea(int x, int y, int r, int b) {
  const double hr = r / 2.0, hb = b / 2.0;
  int area = gaBody;
  // Later matches win, so on a tiny frame the edge middles take precedence.
  if (std::abs(x) < 5 && std::abs(y) < 5) area = gaTopLeft;
  if (std::abs(x - r) < 5 && std::abs(y - b) < 5) area = gaBottomRight;
  if (std::abs(x - r) < 5 && std::abs(y) < 5) area = gaTopRight;
  if (std::abs(x) < 5 && std::abs(y - b) < 5) area = gaBottomLeft;
  if (std::fabs(x - hr) < 3 && std::abs(y) < 5) area = gaTopMiddle;
  if (std::fabs(x - hr) < 3 && std::abs(y - b) < 5) area = gaBottomMiddle;
  if (std::fabs(y - hb) < 3 && std::abs(x) < 5) area = gaLeftMiddle;
  if (std::fabs(y - hb) < 3 && std::abs(x - r) < 5) area = gaRightMiddle;
  return area;
}

Qt::CursorShape TStretchHandle::AreaCursor(int area) {
  switch (area) {
    case gaTopLeft:
    case gaBottomRight: return Qt::SizeFDiagCursor;
    case gaTopRight:
    case gaBottomLeft: return Qt::SizeBDiagCursor;
    case gaTopMiddle:
    case gaBottomMiddle: return Qt::SizeVerCursor;
    case gaLeftMiddle:
    case gaRightMiddle: return Qt::SizeHorCursor;
    default: return Qt::ArrowCursor;
  }
}

int TStretchHandle::Snap(int v, int grid) {
  if (grid <= 1) return v;
  // Floor division, so that lines below zero are as near as those above.
  const int n = v + grid / 2;
  const int q = n >= 0 ? n / grid : -((-n + grid - 1) / grid);
  return q * grid;
}

QRect TStretchHandle::NewBounds(const QRect& b, int area, int dx, int dy, int gridX, int gridY) {
  // The grid is for the held object's edges, not for the frame around it:
  // the frame sits 2 pixels left of and above the object and ends 3 pixels
  // past it.  Only the edges the drag takes along move, each to the grid
  // line nearest to where the mouse put it; the others stay where they are,
  // so an object on the grid stays put when the mouse barely moves.
  int left = b.x() + 2, top = b.y() + 2;
  int right = b.x() + b.width() - 3, bottom = b.y() + b.height() - 3;
  const bool movesLeft = area == gaTopLeft || area == gaBottomLeft || area == gaLeftMiddle;
  const bool movesRight = area == gaTopRight || area == gaBottomRight || area == gaRightMiddle;
  const bool movesTop = area == gaTopLeft || area == gaTopRight || area == gaTopMiddle;
  const bool movesBottom = area == gaBottomLeft || area == gaBottomRight || area == gaBottomMiddle;
  if (area == gaBody) {
    const int width = right - left, height = bottom - top;
    left = Snap(left + dx, gridX);
    top = Snap(top + dy, gridY);
    right = left + width;
    bottom = top + height;
  }
  if (movesLeft) left = Snap(left + dx, gridX);
  if (movesRight) right = Snap(right + dx, gridX);
  if (movesTop) top = Snap(top + dy, gridY);
  if (movesBottom) bottom = Snap(bottom + dy, gridY);
  // An edge dragged past the opposite one leaves an empty object there.
  const int width = std::max(right - left, 0), height = std::max(bottom - top, 0);
  return QRect(left - 2, top - 2, width + 5, height + 5);
}

std::vector<QRect> TStretchHandle::GrabSquares(const QRect& handle,
                                               const std::vector<QRect>& children) {
  std::vector<QRect> sq;
  auto add = [&sq](int l, int t, int r, int b) { sq.emplace_back(l, t, r - l, b - t); };
  for (const QRect& c : children) {
    const int ql = c.x() - handle.x() - 2, qt = c.y() - handle.y() - 2;
    const int qr = c.x() - handle.x() + c.width() + 2, qb = c.y() - handle.y() + c.height() + 2;
    add(ql, qt, ql + 5, qt + 5);
    add(qr - 5, qt, qr, qt + 5);
    add(qr - 5, qb - 5, qr, qb);
    add(ql, qb - 5, ql + 5, qb);
    if (children.size() == 1) {
      const int mx = (qr - ql) / 2, my = (qb - qt) / 2;
      add(ql + mx - 2, qt, ql + mx + 3, qt + 5);
      add(ql + mx - 2, qb - 5, ql + mx + 3, qb);
      add(ql, qt + my - 2, ql + 5, qt + my + 3);
      add(qr - 5, qt + my - 2, qr, qt + my + 3);
    }
  }
  return sq;
}

QRect TStretchHandle::BoundsFor(int x, int y) const {
  return NewBounds(geometry(), grabArea_, x - startX_, y - startY_, gridX_, gridY_);
}

void TStretchHandle::ClampToParent(int& x, int& y) const {
  const QWidget* p = parentWidget();
  if (!p) return;
  if (this->x() + x < 0) x = -this->x();
  if (this->y() + y < 0) y = -this->y();
  if (this->x() + x > p->width()) x = p->width() - this->x();
  if (this->y() + y > p->height()) y = p->height() - this->y();
}

// --- the drag frame ------------------------------------------------------------

void TStretchHandle::ShowDragFrame(const QRect& b) {
  QWidget* p = parentWidget();
  if (!p) return;
  if (dragFrame_ && dragFrame_->parentWidget() != p) delete dragFrame_.data();
  if (!dragFrame_) dragFrame_ = new TDragFrame(p);
  // The frame outlines where the control itself will be.
  const QRect frame(QPoint(b.x() + 2, b.y() + 2), QPoint(b.x() + b.width() - 4, b.y() + b.height() - 4));
  if (frame.isEmpty()) {
    dragFrame_->hide();
    return;
  }
  dragFrame_->setGeometry(frame);
  dragFrame_->raise();
  dragFrame_->show();
}

void TStretchHandle::DrawDragFrame(int x, int y) {
  if (!DragRect().isNull()) {
    if (dragFrame_) dragFrame_->hide();
    dragLeft_ = dragTop_ = dragWidth_ = dragHeight_ = 0;
  }
  const QRect b = BoundsFor(x, y);
  ShowDragFrame(b);
  dragLeft_ = b.x();
  dragTop_ = b.y();
  dragWidth_ = b.width();
  dragHeight_ = b.height();
}

void TStretchHandle::EraseDragFrame() {
  if (!DragRect().isNull()) dragLeft_ = dragTop_ = dragWidth_ = dragHeight_ = 0;
  // The frame widget lives only during a drag, so the sheet's own children
  // are just its objects at any other time.
  delete dragFrame_.data();
  if (QWidget* p = parentWidget()) p->update();
  update();
}

// --- mouse -----------------------------------------------------------------------

void TStretchHandle::ReleaseCapture() {
  if (QWidget::mouseGrabber() == this) releaseMouse();
}

void TStretchHandle::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  int X = pt.x(), Y = pt.y();
  const TShiftState S = ShiftStateFrom(e->modifiers(), e->buttons());

  if ((S & ssLeft) && !dragging_ && !locked_) {
    // A drag that began with the press on the object, before the handle
    // was attached, starts here.
    startX_ = X;
    startY_ = Y;
    dragging_ = true;
    if (OnMouseMove) OnMouseMove(this, S, X, Y);
    return;
  }

  if (!(S & ssLeft)) ReleaseCapture();
  int area = gaBody;
  Qt::CursorShape cur = Qt::ArrowCursor;
  if (children_.size() == 1) {
    area = HitArea(X, Y, width(), height());
    cur = AreaCursor(area);
  }
  if (locked_) cur = Qt::ForbiddenCursor;

  if (dragging_) {
    ClampToParent(X, Y);
    if (grabArea_ == gaBody) cur = dragCursor_;
    setCursor(cur);
    DrawDragFrame(X, Y);
  } else {
    if (cur == Qt::ArrowCursor) unsetCursor();
    else setCursor(cur);
    grabArea_ = area;
  }
  if (OnMouseMove) OnMouseMove(this, S, X, Y);
}

void TStretchHandle::PressAt(QMouseEvent* e, bool dbl) {
  TMouseButton btn;
  if (!MouseButtonFrom(e->button(), btn)) return;
  const QPoint pt = e->position().toPoint();
  const int X = pt.x(), Y = pt.y();
  const QPoint at(x() + X, y() + Y);

  bool inside = false;
  for (const auto& c : children_) {
    if (!c) continue;
    if (c->x() - 2 <= at.x() && at.x() < c->x() + c->width() + 2 && c->y() - 2 <= at.y() &&
        at.y() < c->y() + c->height() + 2) {
      inside = true;
      break;
    }
  }

  if (inside) {
    // A double-click whose handler ran a dialog has had its release eaten
    // by that dialog; starting a drag then would leave it hanging.
    const bool stillDown = !dbl || (QGuiApplication::mouseButtons() & e->button());
    if (btn == mbLeft && !locked_ && stillDown) {
      startX_ = X;
      startY_ = Y;
      dragging_ = true;
    }
    clickPending_ = btn == mbLeft && stillDown;
    TShiftState S = ShiftStateFrom(e->modifiers(), e->buttons());
    if (dbl) S |= ssDouble;
    if (OnMouseDown) OnMouseDown(this, btn, S, X, Y);
  } else {
    unsetCursor();
    PassOn(QEvent::MouseButtonPress, e->button(), at);
  }
}

void TStretchHandle::mousePressEvent(QMouseEvent* e) {
  PressAt(e, false);
  e->accept();
}

void TStretchHandle::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
  PressAt(e, true);
  e->accept();
}

void TStretchHandle::mouseReleaseEvent(QMouseEvent* e) {
  TMouseButton btn;
  if (!MouseButtonFrom(e->button(), btn)) return;
  const QPoint pt = e->position().toPoint();
  int X = pt.x(), Y = pt.y();

  if (btn == mbLeft && clickPending_) {
    clickPending_ = false;
    if (rect().contains(X, Y) && OnClick) OnClick(this);
  }

  if (dragging_ && btn == mbLeft) {
    ClampToParent(X, Y);
    if (X != startX_ || Y != startY_) {
      update();
      const QRect b = BoundsFor(X, Y);
      SetBounds(b.x(), b.y(), b.width(), b.height());
    }
    EraseDragFrame();
    if (isVisible() && isEnabled()) setFocus();
    dragging_ = false;
    unsetCursor();
    ReleaseCapture();
    if (OnMouseUp) OnMouseUp(this, btn, ShiftStateFrom(e->modifiers(), e->buttons()), X, Y);
  } else {
    QPointer<TStretchHandle> self(this);
    PassOn(QEvent::MouseButtonRelease, e->button(), QPoint(x() + X, y() + Y));
    // The click that selected the object is over: the mouse is free again,
    // or a modal dialog opened next would get none of it.
    if (self && e->buttons() == Qt::NoButton && !dragging_) ReleaseCapture();
  }
  e->accept();
}

void TStretchHandle::PassOn(QEvent::Type type, Qt::MouseButton button, const QPoint& at) {
  QWidget* par = parentWidget();
  if (!par) return;
  // The top-most sibling under the point gets it, as a plain click would;
  // other handles and the drag frame never do.
  QWidget* target = nullptr;
  const QObjectList& kids = par->children();
  for (auto it = kids.crbegin(); it != kids.crend(); ++it) {
    auto* w = qobject_cast<QWidget*>(*it);
    if (!w || w == this || w->isWindow() || qobject_cast<TStretchHandle*>(w)) continue;
    if (w->isHidden() || w->testAttribute(Qt::WA_TransparentForMouseEvents)) continue;
    if (w->geometry().contains(at)) {
      target = w;
      break;
    }
  }
  QWidget* recv = target ? target : par;
  const QPoint local = target ? at - target->pos() : at;
  QMouseEvent me(type, QPointF(local), QPointF(recv->mapTo(recv->window(), local)),
                 QPointF(recv->mapToGlobal(local)), button, Qt::NoButton, Qt::NoModifier);
  QPointer<QWidget> guard(recv);
  QPointer<TStretchHandle> self(this);
  const unsigned attachesBefore = attachCount_;
  QCoreApplication::sendEvent(recv, &me);
  if (!self || type != QEvent::MouseButtonPress) return;

  // The receiver keeps the mouse until the button goes up, as it would had
  // it been pressed directly, unless the press made the editor select an
  // object, in which case the handle has taken the mouse again.
  LetPassedGo();
  if (attachCount_ != attachesBefore && QWidget::mouseGrabber() == this) return;
  ReleaseCapture();
  if (guard && guard->isVisible() && (QGuiApplication::mouseButtons() & button)) {
    passedTo_ = guard;
    passedTo_->installEventFilter(this);
    passedTo_->grabMouse();
  }
}

void TStretchHandle::LetPassedGo() {
  if (!passedTo_) return;
  passedTo_->removeEventFilter(this);
  if (QWidget::mouseGrabber() == passedTo_) passedTo_->releaseMouse();
  passedTo_ = nullptr;
}

bool TStretchHandle::eventFilter(QObject* watched, QEvent* e) {
  if (watched == passedTo_) {
    if (e->type() == QEvent::Hide ||
        (e->type() == QEvent::MouseButtonRelease &&
         static_cast<QMouseEvent*>(e)->buttons() == Qt::NoButton))
      LetPassedGo();
  }
  return QWidget::eventFilter(watched, e);
}

void TStretchHandle::contextMenuEvent(QContextMenuEvent* e) {
  if (popupMenu_ && IsAttached() && isVisible()) {
    popupMenu_->popup(e->globalPos());
    e->accept();
    return;
  }
  e->ignore();
}

void TStretchHandle::hideEvent(QHideEvent* e) {
  // A hidden handle must never keep the application's mouse.
  ReleaseCapture();
  QWidget::hideEvent(e);
}

// --- keyboard ------------------------------------------------------------------

bool TStretchHandle::event(QEvent* e) {
  // The arrow keys belong to the handle, not to shortcuts of the window.
  if (e->type() == QEvent::ShortcutOverride && IsArrow(static_cast<QKeyEvent*>(e)->key()) &&
      !(static_cast<QKeyEvent*>(e)->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    e->accept();
    return true;
  }
  return QWidget::event(e);
}

void TStretchHandle::keyPressEvent(QKeyEvent* e) {
  int key = e->key();
  switch (key) {
    case Qt::Key_Left: update(); SetBounds(x() - 1, y(), width(), height()); break;
    case Qt::Key_Up: update(); SetBounds(x(), y() - 1, width(), height()); break;
    case Qt::Key_Right: update(); SetBounds(x() + 1, y(), width(), height()); break;
    case Qt::Key_Down: update(); SetBounds(x(), y() + 1, width(), height()); break;
    default: break;
  }
  const bool arrow = IsArrow(key);
  if (OnKeyDown) OnKeyDown(this, key, ShiftStateFrom(e->modifiers(), Qt::NoButton));
  if (OnKeyPress && !e->text().isEmpty() && key != 0) {
    QChar ch = e->text().at(0);
    OnKeyPress(this, ch);
  }
  if (arrow || key == 0) e->accept();
  else QWidget::keyPressEvent(e);
}

void TStretchHandle::keyReleaseEvent(QKeyEvent* e) {
  int key = e->key();
  if (OnKeyUp) OnKeyUp(this, key, ShiftStateFrom(e->modifiers(), Qt::NoButton));
  if (IsArrow(e->key()) || key == 0) e->accept();
  else QWidget::keyReleaseEvent(e);
}

void TStretchHandle::paintEvent(QPaintEvent*) {
  if (children_.empty()) return;
  QPainter p(this);
  const QColor brush = ColorToQColor(children_.size() == 1 ? color_ : secondaryColor_);
  for (const QRect& r : GrabSquares(geometry(), ChildBounds())) p.fillRect(r, brush);
}
