// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Types.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <cmath>

QColor ColorToQColor(TColor c) {
  if (c & clSystemColor) {
    const QPalette pal = QGuiApplication::palette();
    switch (c & 0xFF) {
      case 5: return pal.color(QPalette::Base);
      case 8: return pal.color(QPalette::Text);
      case 15: return pal.color(QPalette::Button);
      case 16: return pal.color(QPalette::Dark);
      case 17: return pal.color(QPalette::Disabled, QPalette::Text);
      case 18: return pal.color(QPalette::ButtonText);
      case 20: return pal.color(QPalette::Light);
      case 24: return pal.color(QPalette::ToolTipBase);
      default: return pal.color(QPalette::Window);
    }
  }
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

TColor QColorToColor(const QColor& c) {
  const QColor rgb = c.toRgb();
  return TColor(rgb.red()) | (TColor(rgb.green()) << 8) | (TColor(rgb.blue()) << 16);
}

TShiftState ShiftStateFrom(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (mods & Qt::ShiftModifier) s |= ssShift;
  if (mods & Qt::AltModifier) s |= ssAlt;
  if (mods & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

bool MouseButtonFrom(Qt::MouseButton b, TMouseButton& out) {
  switch (b) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
  }
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long p = (long long)a * b;
  long long q = p / c;
  const long long r = p % c;
  // Round half away from zero, as the platform's MulDiv does.
  if (2 * std::llabs(r) >= std::llabs((long long)c)) q += ((p < 0) != (c < 0)) ? -1 : 1;
  return int(q);
}

int ScreenPixelsPerInch() {
  if (auto* screen = QGuiApplication::primaryScreen())
    return int(std::lround(screen->logicalDotsPerInch()));
  return 96;
}

namespace {
QString& TitleSlot() {
  static QString title = QStringLiteral("Lurns para CD");
  return title;
}
}  // namespace

QString ApplicationTitle() { return TitleSlot(); }
void SetApplicationTitle(const QString& title) { TitleSlot() = title; }
