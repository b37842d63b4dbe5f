// SPDX-License-Identifier: GPL-3.0-or-later
// Basic value types shared by every subsystem: colours in the 0x00BBGGRR
// form that cover files store, mouse/keyboard state as the editor's handlers
// receive it, the handler types, and Windows-style integer arithmetic.
#pragma once

#include <QColor>
#include <QString>
#include <Qt>
#include <cstdint>
#include <functional>
#include <stdexcept>

class QObject;

// A colour is 0x00BBGGRR, or 0x80000000 + a system colour index.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor clInfoBk = clSystemColor | 24;

// Translates a colour (system colours through the application palette).
QColor ColorToQColor(TColor c);
// The 0x00BBGGRR form of a Qt colour (alpha dropped).
TColor QColorToColor(const QColor& c);

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// How a modal window or a message box was closed.
enum class TModalResult { OK, Yes, No, Cancel };

// How a window is shown: at its own size, as an icon or filling the screen.
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// Horizontal placement of text in its box, with the platform's ordinals
// (cover files and report streams store them).
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// Keys and buttons held during a mouse or key event.
enum TShiftFlag : unsigned {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
  ssDouble = 1u << 6,
};
using TShiftState = unsigned;

TShiftState ShiftStateFrom(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);
// The button of a press or release, when it is one the program knows.
bool MouseButtonFrom(Qt::MouseButton b, TMouseButton& out);

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TMouseEvent =
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(QObject* Sender, int& Key, TShiftState Shift)>;

// a * b / c computed in 64 bits and rounded half away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

// Logical pixels per inch of the screen (96 when there is no screen).
int ScreenPixelsPerInch();

// The application's title, "Lurns para CD" unless start-up sets another:
// the caption of the program's own message boxes and the name the
// single-instance guard builds its shared names from.  It is kept here, not
// as Qt's application display name, because Qt appends that to the caption
// of every window on a desktop ("Sobre — Lurns para CD").
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// The one error type that user-visible failures travel in; its message is
// shown to the user as it stands.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const QString& message)
      : std::runtime_error(message.toStdString()), Message(message) {}
  QString Message;
};
