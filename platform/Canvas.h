// SPDX-License-Identifier: GPL-3.0-or-later
// A drawing surface the way the report engine's devices draw: the stand-in
// for a device context with its selected font, pen and brush, background
// mode, copy mode and clip rectangle.  It draws through a QPainter in the
// device's own pixels.  The printer device binds it to the open page; the
// screen device binds it to its page picture.
//
// Shapes follow the classic device-context rules: a rectangle (l, t, r, b)
// covers the pixels l to r - 1 and t to b - 1, its outline is centred on
// them and its inside is filled with the brush.
//
// Text is laid out, measured and drawn by the one text routine
// (platform/TextLayout) at the font's true point size, scaled to the
// canvas's resolution: a line measured on the preview takes the same share
// of its box on paper.  Measurements in whole pixels are rounded up, so a
// box measured here always holds its text.
#pragma once

#include "platform/Graphics.h"
#include "platform/TextLayout.h"
#include "platform/Types.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;
class QPaintDevice;

// What text metrics answer for the selected font, in device pixels.
struct TTextMetric {
  int Height = 0;  // ascent + descent
  int Ascent = 0;
  int Descent = 0;
  int ExternalLeading = 0;
  int AveCharWidth = 0;
};

enum TBkMode { bkOpaque, bkTransparent };
// How pictures are combined with what is already drawn: copied, or ANDed
// (white lets the background through).
enum TCopyMode { cmSrcCopy, cmSrcAnd };

// System colours resolved from one fixed palette (the classic desktop
// colours), whatever the desktop's theme: printed output must not depend
// on it.  Other colours are converted as they are.
QColor FixedPaletteColor(TColor color);

class TCanvas {
 public:
  TCanvas();
  virtual ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The painter that draws, in device pixels; null on a canvas that only
  // measures.
  virtual QPainter* Painter() { return painter_; }
  void Bind(QPainter* painter) { painter_ = painter; }
  // The canvas's pixels per inch, which text is scaled to (96 unless set;
  // a printer's canvas answers its printer's).
  virtual double Resolution() { return resolution_; }
  void SetResolution(double pixelsPerInch) { resolution_ = pixelsPerInch; }
  double PixelsPerPoint() { return Resolution() / 72.0; }

  // --- Selected objects
  // The font, drawn at its point size (TFont::PointSize).
  virtual const TFont& Font() { return font_; }
  virtual void SetFont(const TFont& font) { font_ = font; }
  // The character height of the selected font in the canvas's pixels, at
  // least 1.
  void SetFontPixelHeight(int pixels);
  int FontPixelHeight();
  // The selected font as text is laid out in it.
  TTextFont TextFont() { return TextFontOf(Font()); }
  const TPen& Pen() const { return pen_; }
  void SetPen(const TPen& pen) { pen_ = pen; }
  const TBrush& Brush() const { return brush_; }
  void SetBrush(const TBrush& brush) { brush_ = brush; }
  TBkMode BkMode() const { return bkMode_; }
  void SetBkMode(TBkMode mode) { bkMode_ = mode; }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

  // --- Clipping.  The outer clip, a rectangle or the ellipse inside it,
  // holds for everything drawn until RemoveOuterClip (a device sets it
  // around a draw command that must stay inside its sheet or its disc).
  // SetClipRect narrows it for what follows; RemoveClip goes back to it.
  // A hole (an ellipse in `hole`, when not empty) is cut out of it.
  void SetOuterClip(const QRect& r, bool ellipse = false, const QRect& hole = QRect());
  void RemoveOuterClip();
  bool HasOuterClip() const { return hasOuterClip_; }
  void SetClipRect(const QRect& r);
  void RemoveClip();

  // --- Shapes over the pixels of r, outlined with the pen and filled with
  // the brush.  The pen's centre line lies `inset` pixels inside r's edges.
  // By default the classic rule of a device context applies: half a pixel
  // for a pen of odd width, none for an even one, which keeps a one-pixel
  // outline on the figure's own pixels.  A device that draws a design made
  // in screen pixels at another scale passes DesignPenInset, so that the
  // outline covers on paper what it covers on the screen.
  static constexpr double kClassicInset = -1;
  void Rectangle(const QRect& r, double inset = kClassicInset);
  // Corners are quarter ellipses cx wide and cy high.
  void RoundRect(const QRect& r, int cx, int cy, double inset = kClassicInset);
  void Ellipse(const QRect& r, double inset = kClassicInset);
  // The inset of a pen `screenWidth` screen pixels wide drawn at `scale`
  // device pixels per screen pixel: half a screen pixel for odd widths.
  static double DesignPenInset(int screenWidth, double scale) {
    return (screenWidth % 2) * 0.5 * scale;
  }
  // Fills r with a colour, whatever the brush.
  void FillRect(const QRect& r, TColor color);

  // --- Pictures, stretched into dest by the painter (never scaled to
  // device pixels beforehand), combined by the copy mode.  A destination
  // that does not fall on whole pixels shades its edges' pixels by how
  // much of them it covers.
  void StretchDraw(const QRectF& dest, const TPicture& picture);
  void StretchDraw(const QRectF& dest, const QImage& image);

  // --- Text, in the font's colour
  TTextMetric TextMetrics();
  // The width of one line in pixels, rounded up.
  int TextWidth(const QString& text);
  int TextHeight(const QString& text);
  // A text laid out in the selected font, lengths in points (options too).
  TTextBlock Layout(const QString& text, const TTextOptions& options);
  // Draws a laid-out text with its advance box's top-left corner at (x, y),
  // in the font's colour (the block's own font and size).
  void DrawBlock(double x, double y, const TTextBlock& block);
  // One line whose character cell's top left corner is at (x, y); in the
  // opaque background mode the cell is filled with the brush colour first.
  void TextOut(int x, int y, const QString& text);
  // The same, drawn only inside clip.
  void TextRect(const QRect& clip, int x, int y, const QString& text);
  // One line turned by escapement tenths of a degree counter-clockwise
  // about its top-left reference point (x, y).
  void TurnedTextOut(int x, int y, const QString& text, int escapement);
  // One line whose tabs advance to the stops, in pixels from tabOrigin, in
  // order; past the last stop every further tab advances by the distance
  // between the last two stops (or by the only one).  Without stops, tabs
  // are eight average characters apart.
  void TabbedTextOut(int x, int y, const QString& text, const QList<int>& stops, int tabOrigin);
  // The width that line takes, its tabs counted from its start.
  int TabbedTextWidth(const QString& text, const QList<int>& stops);

  // The lines text breaks into at width pixels: at line breaks, and
  // between words; a word longer than the width stays whole on its own
  // line unless charWrap, when it is broken between characters.
  QStringList WrapText(const QString& text, int width, bool charWrap = false);
  // The box a DrawText call with DT_CALCRECT gives: r keeps its left and
  // top and takes the width of the widest line and the height of all
  // lines.  Flags: DT_WORDBREAK (at r's width, see WrapText), DT_SINGLELINE,
  // DT_EXPANDTABS, DT_EXTERNALLEADING, DT_NOPREFIX (otherwise "&x" counts
  // as x and "&&" as "&").  An empty text gives an empty box.
  QRect MeasureText(const QRect& r, const QString& text, unsigned flags, bool charWrap = false);

 protected:
  TFont font_;

 private:
  QColor ColorOf(TColor c) const { return FixedPaletteColor(c); }
  // Applies the pen and brush to the painter.
  void SelectPenAndBrush(QPainter& p);
  // The path of the pen's centre for a figure over r.
  QRectF Outline(const QRect& r, double inset) const;
  QImage AndEmulation(const QImage& image) const;
  // Pixels rounded up from points.
  int Pixels(double points);
  // Tab stops in pixels as points.
  QList<double> StopsInPoints(const QList<int>& stops);

  // Applies the outer clip alone (or none) to the painter.
  void ApplyOuterClip(QPainter& p) const;

  QPainter* painter_ = nullptr;
  double resolution_ = 96;
  bool hasOuterClip_ = false;
  QRect outerClip_;
  bool outerEllipse_ = false;
  QRect outerHole_;
  TPen pen_;
  TBrush brush_;
  TBkMode bkMode_ = bkOpaque;
  TCopyMode copyMode_ = cmSrcCopy;
};
