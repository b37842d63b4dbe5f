// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/MedidaTexto.h"

#include "platform/TextLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double AngleCos(int angle) { return std::cos(angle * std::numbers::pi / 180.0); }
double AngleSin(int angle) { return std::sin(angle * std::numbers::pi / 180.0); }

TTurnedTextBox TurnedTextBoxCS(int angle, double c, double s, int W, int H, int width, int height,
                               TAlignment alignment, TVerticalAlignment verticalAlignment) {
  TTurnedTextBox b;
  // Each product truncated on its own: at the right angles the tiny cosine
  // of 90 and 270 and sine of 180 then contribute nothing.
  b.wc = int(std::trunc(W * c));
  b.ws = int(std::trunc(W * s));
  b.hc = int(std::trunc(H * c));
  b.hs = int(std::trunc(H * s));
  if (angle < 90) {
    b.bw = b.wc + b.hs;
    b.bh = b.ws + b.hc;
  } else if (angle < 180) {
    b.bw = b.hs - b.wc;
    b.bh = b.ws - b.hc;
  } else if (angle < 270) {
    b.bw = -b.wc - b.hs;
    b.bh = -b.ws - b.hc;
  } else {
    b.bw = b.wc - b.hs;
    b.bh = b.hc - b.ws;
  }
  b.bw = std::min(b.bw, width);
  b.bh = std::min(b.bh, height);

  QRect r(0, 0, b.bw, b.bh);
  if (alignment == taCenter)
    r.translate((width - b.bw) / 2, 0);
  else if (alignment == taRightJustify)
    r.translate(width - b.bw, 0);
  if (verticalAlignment == vaCenter)
    r.translate(0, (height - b.bh) / 2);
  else if (verticalAlignment == vaBottom)
    r.translate(0, height - b.bh);

  // Shift to the reference point, from the clamped box.
  if (angle < 90)
    r.translate(0, b.ws);
  else if (angle < 180)
    r.translate(-b.wc, b.bh);
  else if (angle < 270)
    r.translate(b.bw, -b.hc);
  else
    r.translate(-b.hs, 0);
  b.rect = r;
  return b;
}

TTurnedTextBox TurnedTextBox(int angle, int textWidth, int textHeight, int width, int height,
                             TAlignment alignment, TVerticalAlignment verticalAlignment) {
  return TurnedTextBoxCS(angle, AngleCos(angle), AngleSin(angle), textWidth, textHeight, width,
                         height, alignment, verticalAlignment);
}

TTextFont FonteDeTexto(const TFonteDoc& fonte) {
  TTextFont f;
  f.Face = fonte.Nome;
  f.Points = fonte.Tamanho;
  f.Style = fonte.Estilo;
  return f;
}

TTextOptions OpcoesDeTexto(int angulo) {
  TTextOptions o;
  // Turned, a text of several lines is turned as a whole: its lines break
  // as a level text's do.  (Tabs stay as they always were turned.)
  o.Flags = angulo == 0 ? DT_EXPANDTABS | DT_NOPREFIX : DT_NOPREFIX;
  o.InkInside = true;
  return o;
}

QSize TamanhoAutomatico(const QString& texto, const TFonteDoc& fonte) {
  const QString t = texto.isEmpty() ? QStringLiteral(" ") : texto;
  return LayoutText(FonteDeTexto(fonte), t, OpcoesDeTexto(0)).PixelSize(PixelsPorPonto);
}

QSize ExtensaoTexto(const TObjecto& texto) {
  // An empty caption is no width and one line high.
  if (texto.Texto.isEmpty())
    return QSize(0, LayoutText(FonteDeTexto(texto.Fonte), QStringLiteral(" "), OpcoesDeTexto(90))
                        .PixelSize(PixelsPorPonto)
                        .height());
  return LayoutText(FonteDeTexto(texto.Fonte), texto.Texto, OpcoesDeTexto(90))
      .PixelSize(PixelsPorPonto);
}

TTurnedTextBox CaixaTextoRodado(const TObjecto& texto) {
  if (texto.Angulo == 0) {
    TTurnedTextBox b;
    b.bw = texto.Width;
    b.bh = texto.Height;
    b.rect = QRect(0, 0, texto.Width, texto.Height);
    return b;
  }
  const QSize ext = ExtensaoTexto(texto);
  return TurnedTextBox(texto.Angulo, ext.width(), ext.height(), texto.Width, texto.Height, taLeftJustify, vaTop);
}
