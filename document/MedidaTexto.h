// SPDX-License-Identifier: GPL-3.0-or-later
// What a text object measures: the size a level text takes with automatic
// sizing, and where turned text goes in its box.  The editor's labels,
// lurns-batch and printing all measure through here, with the fonts that
// PrepararTiposDeLetra set up, so a cover gives the same sizes wherever it
// is opened.
#pragma once

#include "document/Documento.h"
#include "platform/TextLayout.h"
#include "platform/Types.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>

enum TVerticalAlignment : std::uint8_t { vaTop, vaCenter, vaBottom };

// The cosine and sine of an angle in degrees, as turned text uses them.
double AngleCos(int degrees);
double AngleSin(int degrees);

// Where turned text goes in a control.  For a caption W x H pixels (its
// unrotated extents) turned by angle degrees (1..359) in a control width x
// height: the box bw x bh the turned text covers (clamped to the control),
// and rect, that box after horizontal and vertical alignment and the shift
// to the text's top-left reference point, which is rect.topLeft().  Each
// cosine and sine product is truncated toward zero on its own.
struct TTurnedTextBox {
  int wc = 0, ws = 0, hc = 0, hs = 0;
  int bw = 0, bh = 0;
  QRect rect;
  QPoint ReferencePoint() const { return rect.topLeft(); }
};
TTurnedTextBox TurnedTextBox(int angle, int textWidth, int textHeight, int width, int height,
                             TAlignment alignment, TVerticalAlignment verticalAlignment);
// The same with the cosine and sine of the angle already at hand.
TTurnedTextBox TurnedTextBoxCS(int angle, double cosine, double sine, int textWidth,
                               int textHeight, int width, int height, TAlignment alignment,
                               TVerticalAlignment verticalAlignment);

// The font a text object is laid out in: its face, its size in points
// (its true size, on the sheet as on paper) and its style.
TTextFont FonteDeTexto(const TFonteDoc& fonte);
// Design pixels (PixelsPorPolegada) per point.
inline constexpr double PixelsPorPonto = PixelsPorPolegada / 72.0;
// How a text object's caption is laid out on its sheet and on paper: its
// lines at their breaks (CR LF), "&" an ordinary character; level, with
// tabs expanded.  A turned text is that block turned as a whole.
TTextOptions OpcoesDeTexto(int angulo);
// The size a level text takes with automatic sizing: its caption's bounds
// (advances and ink) in whole design pixels; an empty caption measures as
// a space, so the text stays one line high.
QSize TamanhoAutomatico(const QString& texto, const TFonteDoc& fonte);
// The caption of a text unrotated (the block that is turned), in whole
// design pixels; an empty one is no width and one line high.
QSize ExtensaoTexto(const TObjecto& texto);
// Where a text object's turned caption goes in its own bounds (left and
// top aligned, as the editor's texts are); for angle 0 the bounds.
TTurnedTextBox CaixaTextoRodado(const TObjecto& texto);
