// Text output the way the program's controls and reports expect it from the
// platform's classic text calls: a rectangle-based call that aligns, wraps,
// expands tabs and handles "&" accelerator prefixes (and can measure
// instead of draw), plus one-line output with a turned font.
//
// Measuring and drawing share one set of metrics, so a box measured here
// always holds the text drawn into it.  Lines are ascent + descent high
// (no external leading) and kerning is off, so the width of a line is the
// sum of the widths of its pieces.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// Flags of DrawText, with the platform's values so that code ported from
// the platform's calls reads the same.
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_VCENTER = 0x4;      // only with DT_SINGLELINE
constexpr unsigned DT_BOTTOM = 0x8;       // only with DT_SINGLELINE
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;

// The font as this module measures and draws it (kerning off).
QFont TextFont(const QFont& f);
// Height of one line of text: ascent + descent.
int TextLineHeight(const QFont& f);
// Width and height of text as one line, unrotated: no prefix processing, no
// tab expansion, line breaks not honoured.  An empty text is 0 wide and
// one line high.
QSize TextExtent(const QFont& f, const QString& text);

// Draws text into r with the painter's pen colour and no background.
//   DT_LEFT / DT_CENTER / DT_RIGHT  horizontal placement of every line;
//   DT_WORDBREAK    lines are broken between words to fit r's width (a word
//                   wider than the line is broken between characters);
//   DT_SINGLELINE   CR and LF do not break lines; DT_VCENTER / DT_BOTTOM
//                   then place the line vertically;
//   DT_EXPANDTABS   tab stops every eight average character widths;
//   DT_NOPREFIX     "&" is an ordinary character; otherwise "&x" draws x
//                   underlined, "&&" draws one "&" and a final lone "&"
//                   draws nothing;
//   DT_NOCLIP       do not clip to r;
//   DT_CALCRECT     draw nothing: r keeps its left and top and takes the
//                   width of the widest line and the height of all lines
//                   (an empty text gives an empty rectangle).
// Returns the height of the text.  The painter may be null with DT_CALCRECT.
int DrawText(QPainter* p, const QFont& f, const QString& text, QRect& r, unsigned flags);

// Convenience: the rectangle DrawText(..., flags | DT_CALCRECT) computes.
QRect MeasureText(const QFont& f, const QString& text, const QRect& r, unsigned flags);

// Draws text as one line whose top-left reference point is (x, y), with
// the font turned by escapement tenths of a degree counter-clockwise on
// screen; no prefix processing, no tab expansion, no line breaks.  Uses the
// painter's pen colour and no background.
void TextOutTurned(QPainter& p, const QFont& f, int x, int y, const QString& text, int escapement);
