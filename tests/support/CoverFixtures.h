// SPDX-License-Identifier: GPL-3.0-or-later
// Small pieces of covers for the printing and preview tests: a picture of
// one colour, a text object sized to its caption as the editor sizes it,
// and the box of the dark pixels of a picture.
#pragma once

#include "document/Documento.h"
#include "document/MedidaTexto.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QRect>
#include <algorithm>
#include <climits>
#include <utility>

namespace cover {

inline TPicture Picture(QColor colour, int side = 64) {
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  TPicture p;
  p.LoadFromData(bytes, QStringLiteral("png"));
  return p;
}

// A black Arial text at (left, top), turned by angle, its box the turned
// size of its caption; level texts size themselves.
inline TObjecto Texto(const QString& caption, int left, int top, int angle = 0, int size = 12) {
  TObjecto t = TObjecto::NovoTexto();
  t.Texto = caption;
  t.Fonte.Nome = QStringLiteral("Arial");
  t.Fonte.Tamanho = size;
  t.Fonte.Cor = clBlack;
  t.Left = left;
  t.Top = top;
  const QSize s = TamanhoAutomatico(caption, t.Fonte);
  t.Width = s.width();
  t.Height = s.height();
  if (angle == 90 || angle == 270) std::swap(t.Width, t.Height);
  t.Angulo = angle;
  t.TamanhoAutomatico = angle == 0;
  return t;
}

}  // namespace cover

// The smallest rectangle holding every pixel of `within` darker than
// `threshold`; empty when there is none.
inline QRect DarkBox(const QImage& image, const QRect& within, int threshold = 100) {
  int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
  const QRect r = within.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (qGray(image.pixel(x, y)) < threshold) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  if (x1 < 0) return {};
  return QRect(QPoint(x0, y0), QPoint(x1, y1));
}
