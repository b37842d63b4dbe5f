// A drawing surface the way the report engine's devices draw: the stand-in
// for a device context with its selected font, pen and brush, background
// mode, copy mode and clip rectangle.  It draws through a QPainter in the
// device's own pixels and measures text with the device's own font metrics,
// so that the printer, the PDF file and the preview lay text out alike.  The
// printer device binds it to the open page; the screen device binds it to
// its page picture.
//
// Shapes follow the classic device-context rules: a rectangle (l, t, r, b)
// covers the pixels l to r - 1 and t to b - 1, its outline is centred on
// them and its inside is filled with the brush.
//
// Text is drawn with kerning off and without hinting, so that the width of
// a line is the sum of its pieces and scales linearly with the resolution:
// a line measured on the preview takes the same share of its box on paper.
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

// The DrawText flag that counts the font's external leading into the line
// height (the other flags are in platform/TextLayout.h).
constexpr unsigned DT_EXTERNALLEADING = 0x200;

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

// --- Faces
// The classic faces that have no outline version, replaced by the faces
// drawn instead ("MS Sans Serif" -> "Arial", "Courier" -> "Courier New",
// ...); any other face unchanged.  Names are compared exactly.
QString FaceSubstitute(const QString& face);
// Whether the face, as the system's font configuration resolves it, is a
// scalable outline face (TrueType, OpenType, Type 1, CFF).
bool IsOutlineFace(const QString& face);
// The face text in `face` is drawn with: the substitute, when that resolves
// to an outline face; otherwise (only bitmaps found) the substitute of
// "Arial".  A text is never left undrawn for its face.
QString DrawableFace(const QString& face);

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
  // measures.  The device whose font metrics text is measured with; null
  // measures as the screen does.
  virtual QPainter* Painter() { return painter_; }
  virtual QPaintDevice* MeasuringDevice() { return measuring_; }
  void Bind(QPainter* painter, QPaintDevice* measuringDevice);

  // --- Selected objects
  // The font; its Height is in the canvas's pixels (Height < 0: the
  // character height, as a negative logical font height).
  virtual const TFont& Font() { return font_; }
  virtual void SetFont(const TFont& font) { font_ = font; }
  // The character height of the selected font in pixels, at least 1.
  void SetFontPixelHeight(int pixels);
  const TPen& Pen() const { return pen_; }
  void SetPen(const TPen& pen) { pen_ = pen; }
  const TBrush& Brush() const { return brush_; }
  void SetBrush(const TBrush& brush) { brush_ = brush; }
  TBkMode BkMode() const { return bkMode_; }
  void SetBkMode(TBkMode mode) { bkMode_ = mode; }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

  // The selected font as it is drawn: the drawable face (DrawableFace),
  // its pixel size, kerning and hinting off.
  QFont QtFont();

  // --- Clipping.  The outer clip, a rectangle or the ellipse inside it,
  // holds for everything drawn until RemoveOuterClip (a device sets it
  // around a draw command that must stay inside its sheet or its disc).
  // SetClipRect narrows it for what follows; RemoveClip goes back to it.
  void SetOuterClip(const QRect& r, bool ellipse = false);
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
  // device pixels beforehand), combined by the copy mode.
  void StretchDraw(const QRect& dest, const TPicture& picture);
  void StretchDraw(const QRect& dest, const QImage& image);

  // --- Text, in the font's colour
  TTextMetric TextMetrics();
  int TextWidth(const QString& text);
  int TextHeight(const QString& text);
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
  int LineWidth(const QString& line, bool expandTabs);
  // Where the tab that starts at `pos` (pixels from the tab origin) ends.
  int NextTabStop(int pos, const QList<int>& stops);

  // Applies the outer clip alone (or none) to the painter.
  void ApplyOuterClip(QPainter& p) const;

  QPainter* painter_ = nullptr;
  QPaintDevice* measuring_ = nullptr;
  bool hasOuterClip_ = false;
  QRect outerClip_;
  bool outerEllipse_ = false;
  // The Qt font of the font last asked for: resolving a face is not free,
  // and text is measured word by word.
  TFont resolvedFor_;
  QFont resolved_;
  bool hasResolved_ = false;
  TPen pen_;
  TBrush brush_;
  TBkMode bkMode_ = bkOpaque;
  TCopyMode copyMode_ = cmSrcCopy;
};
