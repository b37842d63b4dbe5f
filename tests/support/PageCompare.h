// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing pages drawn by different devices: a picture or an SVG drawing
// of a page against the PDF's page rasterised at the same resolution.
#pragma once

#include "support/PdfTools.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

namespace pages {

// Grey as Qt makes it, the same for every page compared (poppler's own
// grey weighs the colours otherwise: a green or a red would be dark in one
// and light in the other).
inline QImage Grey(const QImage& image) { return image.convertToFormat(QImage::Format_Grayscale8); }

// A page of a PDF file rasterised in colour by pdftoppm at `dpi`, grey.
inline QImage RasterisePdf(const QString& file, int page, int dpi, QString* why) {
  QTemporaryDir dir;
  const QString prefix = dir.filePath(QStringLiteral("page"));
  pdf::RunTool(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), QStringLiteral("-f"),
                QString::number(page), QStringLiteral("-l"), QString::number(page),
                QStringLiteral("-singlefile"), file, prefix},
               why);
  const QImage image(prefix + QStringLiteral(".png"));
  if (image.isNull() && why->isEmpty()) *why = QStringLiteral("pdftoppm wrote no page");
  return Grey(image);
}

// The SVG drawing rendered onto white paper of `size` pixels, grey; null
// when the file is no drawing.
inline QImage RenderSvg(const QString& file, QSize size) {
  QSvgRenderer renderer(file);
  if (!renderer.isValid()) return {};
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  renderer.render(&p, QRectF(QPointF(0, 0), size));
  p.end();
  return Grey(image);
}

// The dark pixels of `a` (grey below 128) that have no pixel of `b` within
// one pixel that is dark too, give or take the shading of an edge (grey
// below 160: an edge pixel that one rasteriser shades 127 may be 140 in
// the other); `dark` counts those of `a`.
inline int Unmatched(const QImage& a, const QImage& b, int* dark) {
  const auto greyBelow = [](const QImage& i, int x, int y, int limit) {
    return x >= 0 && y >= 0 && x < i.width() && y < i.height() && qGray(i.pixel(x, y)) < limit;
  };
  int missing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      if (!greyBelow(a, x, y, 128)) continue;
      ++*dark;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx) near = greyBelow(b, x + dx, y + dy, 160);
      if (!near) ++missing;
    }
  return missing;
}

}  // namespace pages
