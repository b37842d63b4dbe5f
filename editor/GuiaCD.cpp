// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/GuiaCD.h"

#include "document/Documento.h"
#include "document/EtiquetasDisco.h"
#include "editor/uDefParametros.h"

#include <QPainter>

TGuiaCD::TGuiaCD(QWidget* parent, int diametro) : QWidget(parent), diametro_(diametro) {
  setObjectName(QStringLiteral("guiaCD"));
  setGeometry(parent->rect());
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
}

QList<double> TGuiaCD::Circulos() const {
  if (const auto e = Parametros().PapelCD.Stock()) return {e->Furo, e->Exterior};
  return {FuroPadrao, CuboPadrao};
}

void TGuiaCD::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QPen pen(QColor(0x00, 0x60, 0xC0));
  pen.setWidth(1);
  pen.setStyle(Qt::DashLine);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  const QPointF centro(diametro_ / 2.0, diametro_ / 2.0);
  for (double mm : Circulos()) {
    const double r = mm / 25.4 * PixelsPorPolegada / 2;
    p.drawEllipse(centro, r, r);
  }
}
