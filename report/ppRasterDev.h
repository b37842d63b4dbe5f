// What the printer device and the preview's screen device have in common:
// drawing a page's commands with the canvas.  Each device works out where
// a command lands in its own pixels — the printer at its resolution,
// relative to the printable area; the screen at the zoom shown — and then
// both draw it with the same canvas operations (pens, brushes, clipping,
// stretched pictures, text measured with the device's own metrics), so that
// what the preview shows is what the paper and the PDF get.
#pragma once

#include "report/ppDevice.h"
#include "report/ppPrintr.h"

#include <QList>
#include <QRect>
#include <QStringList>
#include <functional>
#include <optional>

class TCanvas;
class TppDrawCommand;
class TppDrawImage;
class TppDrawLine;
class TppDrawShape;
class TppDrawText;

// What a draw command that draws itself (a DrawOn of its own) draws with
// on a device: the device's canvas, the command's rectangle in the
// device's pixels, the device's resolution and the zoom, and the mapping
// of any rectangle of the page into the device's pixels.  Window-free, so
// that a command class in a library without windows can use it.
struct TppDrawingContext {
  TCanvas* Canvas = nullptr;
  // The command's rectangle (its DeviceRect, already computed).
  QRect DeviceRect;
  // The device's pixels per inch at 100 % (the screen's on the preview),
  // and the zoom drawn at (0.5 at 50 %; 1 on paper): lengths in inches,
  // points or design pixels are PixelsPerInch x Scale device pixels an
  // inch.  On the preview Scale is the vertical scale, which font heights
  // follow.
  int PixelsPerInch = 96;
  double Scale = 1;
  // A rectangle of the page (thousandths from the paper's corner) in the
  // device's pixels, mapped as the command's own rectangle is.
  std::function<QRect(const TppRect&)> PageToDevice;
};

class TppRasterDevice : public TppDevice {
 public:
  LURNS_COMPONENT(TppRasterDevice)
  using TppDevice::TppDevice;

  // For a command that draws itself: computes its device rectangle and
  // answers what to draw it with, or nothing when the device is not
  // drawing a page now (or gives no such access: the base).  The preview's
  // screen device answers it.
  virtual std::optional<TppDrawingContext> DrawingFor(TppDrawCommand* command);

  // The mark a memo's wrapped text carries at the end of each paragraph's
  // last line, "$" and "¶": never shown, it tells where paragraphs end.
  static QString ParagraphMark();
  static QString WithoutParagraphMark(const QString& line);

  // Where a picture comes from when it is drawn: the bitmap (a bitmap
  // picture itself, or the bitmap the command keeps of a JPEG or PNG), or
  // the picture as it is (drawings, icons, direct drawing).
  enum TppPictureSource { psBitmap, psGraphic };
  static TppPictureSource PictureSourceOf(const TppDrawImage& command);

 protected:
  static QRect RectOf(const TppRect& r) {
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  }

  // --- The canvas operations both devices draw with, once each has worked
  // out the command's geometry in its own pixels.

  // The shape over r with the command's brush and the given pen (its
  // width already in device pixels), the pen's centre `inset` pixels
  // inside r (see TCanvas::Rectangle), corners cx x cy.
  static void PaintShape(TCanvas& canvas, const TppDrawShape& command, const QRect& r,
                         const TPen& pen, double inset, int cx, int cy);
  // `thickness` one-pixel strokes along the command's edge of r, inward;
  // a double line draws a second group `gap` pixels further in.
  static void PaintEdgeLines(TCanvas& canvas, const TppDrawLine& command, const QRect& r,
                             int thickness, int gap);
  // The picture stretched into target, ANDed when the command is
  // transparent, clipped to *clip when given.
  static void PaintPicture(TCanvas& canvas, const TppDrawImage& command, TppPictureSource source,
                           const QRect& target, const QRect* clip);

  struct TppTextOutput {
    // Each line clipped to the text rectangle from the line's top down.
    bool ClipLines = true;
    // The rectangle filled even when the text is transparent.
    bool Opaque = false;
    // Tabs advance to TabStops (pixels from the line's start).
    bool Tabbed = false;
    QList<int> TabStops;
  };
  // The lines a text command shows: its wrapped lines when it wraps, else
  // its text (none when empty).
  static QStringList TextLines(const TppDrawText& command);
  // Draws the lines in r with the font selected on the canvas, one every
  // lineHeight pixels: an auto-sized text takes the width of its widest
  // line (kept at its left, right or centre), the rectangle is filled
  // unless transparent, each line placed by the text alignment (full
  // justification spreads the spare width over the gaps between words,
  // but on the last line of a paragraph).  The rectangle an auto-sized
  // text took is stored back into the command's device rectangle.
  static void PaintText(TCanvas& canvas, TppDrawText& command, QRect r, int lineHeight,
                        QStringList lines, const TppTextOutput& output);
};
