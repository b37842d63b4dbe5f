// SPDX-License-Identifier: GPL-3.0-or-later
// What the printer device and the preview's screen device have in common:
// drawing a page's commands with the canvas.  Each device works out where
// a command lands in its own pixels — the printer at its resolution,
// relative to the printable area; the screen at the zoom shown — and then
// both draw it with the same routines: one pen rule, one placement of a
// picture in its box (always clipped to it), and text laid out once at
// its font's point size and scaled to the device (platform/TextLayout), so
// that what the preview shows is what the paper and the PDF get.
#pragma once

#include "report/ppDevice.h"
#include "report/ppPrintr.h"

#include <QList>
#include <QRect>
#include <QStringList>

class TCanvas;
class TppDrawCommand;
class TppDrawImage;
class TppDrawLine;
class TppDrawShape;
class TppDrawText;

class TppRasterDevice : public TppDevice {
 public:
  LURNS_COMPONENT(TppRasterDevice)
  using TppDevice::TppDevice;

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
  // A command's box on the page, in thousandths.
  static TppRect BoxOf(const TppDrawCommand& c);

  // --- The canvas operations both devices draw with, once each has worked
  // out the command's geometry in its own pixels.

  // The one pen rule: a pen `width` design pixels wide (96 per inch) on a
  // device of `perDesignPixel` device pixels each.  Width 0 is the
  // thinnest line the device draws, one device pixel, with the classic
  // inset; any other width is scaled and rounded (at least one pixel), its
  // centre line half a design pixel inside for odd widths, so the outline
  // covers on every device what it covers on the sheet.
  struct TppDevicePen {
    TPen Pen;
    double Inset = -1;
  };
  static TppDevicePen DevicePen(const TPen& designPen, double perDesignPixel);
  // The shape over r with the command's brush and its pen by the pen
  // rule, corners cx x cy device pixels.
  static void PaintShape(TCanvas& canvas, const TppDrawShape& command, const QRect& r,
                         double perDesignPixel, int cx, int cy);
  // `thickness` one-pixel strokes along the command's edge of r, inward;
  // a double line draws a second group `gap` pixels further in.
  static void PaintEdgeLines(TCanvas& canvas, const TppDrawLine& command, const QRect& r,
                             int thickness, int gap);
  // The one placement of a picture in its box: worked out in design
  // pixels (the box in design pixels, the picture at its own size; stretched,
  // kept in proportion, centred or at its corner as the command says) and
  // mapped onto where the box lies on the device, before rounding.
  static QRectF PicturePlace(const TppDrawImage& command, const QRectF& box);
  // The command's picture placed in its box and clipped to it (whatever
  // the picture draws outside its own frame stays out; the box's edge
  // pixels are shaded by how much of them it covers, as on paper at that
  // scale), ANDed when the command is transparent.
  static void PaintPicture(TCanvas& canvas, const TppDrawImage& command, TppPictureSource source,
                           const QRectF& box);

  struct TppTextOutput {
    // The text clipped to its rectangle.
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
  // lineHeight pixels, laid out by the one text routine: an auto-sized
  // text takes the width of its widest line (kept at its left, right or
  // centre), the rectangle is filled unless transparent, each line placed
  // by the text alignment (full justification spreads the spare width over
  // the gaps between words, but on the last line of a paragraph).  The
  // rectangle an auto-sized text took is stored back into the command's
  // device rectangle.
  static void PaintText(TCanvas& canvas, TppDrawText& command, QRect r, int lineHeight,
                        QStringList lines, const TppTextOutput& output);
};
