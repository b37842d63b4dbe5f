// SPDX-License-Identifier: GPL-3.0-or-later
// The one way a text is laid out, measured and drawn, on every device: the
// editor's labels, the preview's screen device, the printer device (PDF and
// CUPS), the PNG pages and the measurements the document keeps all go
// through here, so that what the screen shows is what prints.
//
// A text is laid out once, from its font's outline (design) metrics at its
// true size in points, whatever the device: no hinting, no kerning, no
// whole-pixel font heights.  Every length of a layout is in points (1/72
// inch) as a double; a device draws it by scaling points to its own pixels
// (pixels per point), so the text takes the same share of its box at 96
// pixels per inch, at any zoom of the preview and on paper.
//
// Fonts are measured and drawn at one large reference pixel size and scaled
// by the painter, so the glyph positions are the same fractions of the em on
// every device; a face that has no italic is slanted here, by a shear the
// painter applies, rather than by each output engine's own emulation.
#pragma once

#include "platform/Graphics.h"

#include <QColor>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;

// Flags of the classic rectangle text call, with the platform's values so
// that code ported from it reads the same.
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_VCENTER = 0x4;  // only with DT_SINGLELINE
constexpr unsigned DT_BOTTOM = 0x8;   // only with DT_SINGLELINE
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
// Counts the font's external leading into the line height.
constexpr unsigned DT_EXTERNALLEADING = 0x200;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;

// ---------------------------------------------------------------------------
// Faces

// The classic faces that have no outline version, replaced by the faces
// drawn instead ("MS Sans Serif" -> "Arial", "Courier" -> "Courier New",
// ...); any other face unchanged.  Names are compared exactly.
QString FaceSubstitute(const QString& face);
// Whether the face, as the system's font configuration resolves it, is a
// scalable outline face (TrueType, OpenType, Type 1, CFF).
bool IsOutlineFace(const QString& face);
// The face a text named `face` is drawn in, on every device alike: the face
// itself when it is installed or has a stand-in of the program's own
// ("MS Sans Serif" is drawn in Tahoma where the program provides it);
// otherwise its classic substitute; and "Arial" where that would resolve
// to a face without outlines.  A text is never left undrawn for its face.
QString DrawableFace(const QString& face);

// ---------------------------------------------------------------------------
// Fonts and their metrics

// A font as text is laid out in it: the face as named, the em height in
// points, and the style bits.
struct TTextFont {
  QString Face = QStringLiteral("Arial");
  double Points = 8;
  TFontStyles Style = 0;
  bool operator==(const TTextFont&) const = default;
};
// The layout font of a platform font: its face, style and true point size
// (TFont::PointSize).
TTextFont TextFontOf(const TFont& font);

// A font's vertical metrics and average character width, in points.
struct TTextMetrics {
  double Ascent = 0;
  double Descent = 0;
  double ExternalLeading = 0;
  double AverageCharWidth = 0;
  double Height() const { return Ascent + Descent; }
};
TTextMetrics FontMetrics(const TTextFont& font);
// The advance width of one line in points: no prefixes, no tabs, line
// breaks not honoured.
double TextAdvance(const TTextFont& font, const QString& line);

// ---------------------------------------------------------------------------
// Layout

enum class TTextAlign { Left, Center, Right, Justify };

struct TTextOptions {
  // DT_WORDBREAK     lines break between words to fit Width (see CharWrap);
  // DT_SINGLELINE    CR and LF do not break lines;
  // DT_EXPANDTABS    tabs advance to the tab stops;
  // DT_NOPREFIX      "&" is an ordinary character; otherwise "&x" draws x
  //                  underlined, "&&" draws one "&", a final lone "&" nothing;
  // DT_EXTERNALLEADING  lines are the font's external leading further apart;
  // DT_CENTER, DT_RIGHT  the alignment, unless Align says otherwise.
  unsigned Flags = 0;
  // The width lines are aligned in and broken at, in points; 0 aligns in
  // the widest line.
  double Width = 0;
  // Alignment; Justify spreads the words of a line over Width but on the
  // last line of a paragraph (unless JustifyLastLine).
  TTextAlign Align = TTextAlign::Left;
  bool AlignFromFlags = true;
  bool JustifyLastLine = false;
  // A word longer than a line is broken between characters (at least one
  // a line); otherwise it stays whole on a line of its own.
  bool CharWrap = false;
  // The distance between lines in points; 0 takes the font's.
  double LineHeight = 0;
  // Tab stops in points from the tab origin, in order; past the last one,
  // tabs advance by the last interval.  None: every eight average
  // characters.  The lines start TabOffset points after the tab origin.
  QList<double> TabStops;
  double TabOffset = 0;
  // The lines move right and down, as one, by as much as ink would fall
  // left of or above the block's corner (an italic's first letter, an
  // accent above the ascent), so that a left-aligned text's Bounds() start
  // at (0, 0): a box measured from it holds every glyph whole.
  bool InkInside = false;
};

// A piece of a line drawn in one go: its characters, where it starts (in
// points from the line's left edge) and whether it is underlined as an
// accelerator.
struct TTextRun {
  double X = 0;
  QString Text;
  bool Underline = false;
};

struct TTextLine {
  QString Text;            // the line's characters, prefixes removed
  double Left = 0;         // from the block's left edge, after alignment
  double Top = 0;          // from the block's top edge
  double Width = 0;        // advance width
  std::vector<TTextRun> Runs;
};

// A laid-out text.  Its lines' advance boxes lie in (0, 0) to (the
// alignment width or Width, Height); the ink of its glyphs may reach
// outside them (an italic's last letter, a swash), and Bounds() holds both.
struct TTextBlock {
  TTextFont Font;
  TTextMetrics Metrics;
  double LineHeight = 0;
  std::vector<TTextLine> Lines;
  double Width = 0;   // the widest line's advance
  double Height = 0;  // all lines
  QRectF Ink;         // where glyphs put ink, from the block's top-left corner

  bool Empty() const { return Lines.empty(); }
  QRectF Bounds() const;
  // The size Bounds() takes in whole pixels at `pixelsPerPoint` (rounded
  // up: the text always fits).
  QSize PixelSize(double pixelsPerPoint) const;
};

// Lays text out: its lines at their breaks (and wrapped with
// DT_WORDBREAK), tabs, prefixes and alignment as the options say.  An
// empty text has no lines.
TTextBlock LayoutText(const TTextFont& font, const QString& text, const TTextOptions& options);
// Lays lines out that are already broken (a report's wrapped text);
// `paragraphEnds[i]` says whether line i ends its paragraph (the last line
// always does), which justification keeps level.  Prefixes and breaks are
// not looked for.
TTextBlock LayoutLines(const TTextFont& font, const QStringList& lines,
                       const std::vector<bool>& paragraphEnds, const TTextOptions& options);

// ---------------------------------------------------------------------------
// Drawing

// Draws a laid-out text in `color`, without a background, at
// `pixelsPerPoint` painter units per point, turned by `escapement` tenths
// of a degree counter-clockwise about `reference`, where the block's
// top-left corner (0, 0) goes.  The painter's transform and clip apply on
// top: a device that maps a design box onto its own pixels sets that
// mapping first.
void DrawTextBlock(QPainter& painter, const TTextBlock& block, QPointF reference,
                   double pixelsPerPoint, int escapement, const QColor& color);
