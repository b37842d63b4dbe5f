// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/ProUrl.h"

#include <QDesktopServices>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QUrl>

namespace {

// The hands are drawn on a 32 x 32 grid: a white hand with a black outline.
// fingersUp: how many of index, middle, ring and little finger are raised;
// all four raised is an open hand, none a closed fist.
QPainterPath HandPath(int fingersUp, bool thumbOut) {
  QPainterPath hand;
  hand.setFillRule(Qt::WindingFill);
  // Palm.
  hand.addRoundedRect(QRectF(8, 14, 16, 13), 4, 4);
  // Fingers, left to right: index, middle, ring, little.
  const double fx[4] = {8.5, 12.5, 16.5, 20.5};
  for (int i = 0; i < 4; ++i) {
    const bool up = i < fingersUp;
    const double top = up ? (i == 0 ? 1 : 6 + i) : 11;
    hand.addRoundedRect(QRectF(fx[i], top, 3.5, 16 - top), 1.75, 1.75);
  }
  if (thumbOut)
    hand.addRoundedRect(QRectF(3, 15, 8, 4), 2, 2);
  else
    hand.addRoundedRect(QRectF(5.5, 16, 5, 4), 2, 2);
  return hand.simplified();
}

QPixmap DrawHand(int fingersUp, bool thumbOut, bool withArrow) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(Qt::black, 1.2));
  p.setBrush(Qt::white);
  p.drawPath(HandPath(fingersUp, thumbOut));
  if (withArrow) {
    // A small four-way arrow in the lower right corner: the hand can move.
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(QPointF(26, 22), QPointF(26, 31));
    p.drawLine(QPointF(22, 26.5), QPointF(31, 26.5));
  }
  return pm;
}

QCursor Scaled(const QPixmap& pm, int size, QPoint hot) {
  const QPixmap s = pm.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return QCursor(s, hot.x() * size / 32, hot.y() * size / 32);
}

}  // namespace

void RegisterProCursors() {
  const QPixmap pointing = DrawHand(1, true, false);
  const QPixmap open = DrawHand(4, true, false);
  const QPixmap closed = DrawHand(0, false, false);
  // The hot spot of the pointing hands is the tip of the index finger.
  RegisterCursor(crProHandPoint, QCursor(pointing, 10, 1));
  RegisterCursor(crProSmallHandPoint, Scaled(pointing, 20, QPoint(10, 1)));
  RegisterCursor(crProGrabHand, QCursor(open, 16, 16));
  RegisterCursor(crProGrabHandArrow, QCursor(DrawHand(4, true, true), 16, 16));
  RegisterCursor(crProDragHand, QCursor(closed, 16, 16));
}

TProUrlImage::TProUrlImage(QWidget* parent) : TProImage(parent) {
  if (!IsCursorRegistered(crProHandPoint)) RegisterProCursors();
  SetCursor(crProHandPoint);
}

void TProUrlImage::SetCursor(TCursor c) {
  cursor_ = c;
  setCursor(CursorFor(c));
}

void TProUrlImage::Click() {
  TProImage::Click();
  if (url_.isEmpty()) return;
  // Handed to the desktop's default handler; like the shell's "open", the
  // outcome is not reported.
  QDesktopServices::openUrl(QUrl::fromUserInput(url_));
}
