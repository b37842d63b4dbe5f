// SPDX-License-Identifier: GPL-3.0-or-later
// Looking at printed PDF files the way a viewer shows them, with the
// poppler tools (poppler-utils): the pages' sizes, the pictures a file
// holds, and a page rendered grey at a known resolution, to measure where
// things landed.
#pragma once

#include <QFile>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <string>

namespace pdf {

// Runs a poppler tool; its standard output, or empty with `why` set.
inline QByteArray RunTool(const QString& program, const QStringList& args, QString* why) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForStarted(10000)) {
    *why = program + QStringLiteral(" cannot be started (install poppler-utils)");
    return {};
  }
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    *why = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
    return {};
  }
  return p.readAllStandardOutput();
}

struct Page {
  QSizeF SizePt;
  int Rotation = 0;
};

// The pages of a PDF file: size in points and the rotation each asks for.
inline QList<Page> Pages(const QString& file, QString* why) {
  const QByteArray out = RunTool(
      QStringLiteral("pdfinfo"),
      {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("999"), file},
      why);
  QList<Page> pages;
  static const QRegularExpression size(
      QStringLiteral(R"(^Page\s+(\d+) size:\s+([\d.]+) x ([\d.]+) pts)"),
      QRegularExpression::MultilineOption);
  static const QRegularExpression rot(QStringLiteral(R"(^Page\s+(\d+) rot:\s+(\d+))"),
                                      QRegularExpression::MultilineOption);
  const QString text = QString::fromUtf8(out);
  for (auto it = size.globalMatch(text); it.hasNext();) {
    const auto m = it.next();
    pages.append({QSizeF(m.captured(2).toDouble(), m.captured(3).toDouble()), 0});
  }
  for (auto it = rot.globalMatch(text); it.hasNext();) {
    const auto m = it.next();
    const int i = m.captured(1).toInt() - 1;
    if (i >= 0 && i < pages.size()) pages[i].Rotation = m.captured(2).toInt();
  }
  return pages;
}

// The pictures a PDF file holds, each as its stored width and height in
// pixels (pdfimages -list), in the order the pages use them.
inline QList<QSize> Images(const QString& file, QString* why) {
  const QByteArray out = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file}, why);
  QList<QSize> images;
  const QList<QByteArray> lines = out.split('\n');
  for (int i = 2; i < lines.size(); ++i) {
    const QStringList f = QString::fromLatin1(lines[i]).simplified().split(QLatin1Char(' '));
    // page num type width height ...; soft masks are not pictures of their own
    if (f.size() > 4 && f[2] == QLatin1String("image")) images.append(QSize(f[3].toInt(), f[4].toInt()));
  }
  return images;
}

// A grey page: one byte a pixel, rows top down.
struct GreyImage {
  int Width = 0;
  int Height = 0;
  int Dpi = 0;
  QByteArray Pixels;
  int At(int x, int y) const {
    return uchar(Pixels.at(qsizetype(y) * Width + x));
  }
};

// Reads the binary PGM that pdftoppm writes.
inline GreyImage ReadPgm(const QString& file, int dpi) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = f.readAll();
  if (!data.startsWith("P5")) return {};
  QList<int> fields;
  qsizetype i = 2;
  while (fields.size() < 3 && i < data.size()) {
    while (i < data.size() && QChar::isSpace(uchar(data[i]))) ++i;
    if (i < data.size() && data[i] == '#') {
      while (i < data.size() && data[i] != '\n') ++i;
      continue;
    }
    const qsizetype start = i;
    while (i < data.size() && !QChar::isSpace(uchar(data[i]))) ++i;
    fields.append(data.mid(start, i - start).toInt());
  }
  ++i;
  if (fields.size() != 3 || fields[2] > 255) return {};
  GreyImage image{fields[0], fields[1], dpi, data.mid(i)};
  if (image.Pixels.size() != qsizetype(image.Width) * image.Height) return {};
  return image;
}

// Page `page` (from 1) rendered grey at `dpi`.
inline GreyImage Rasterise(const QString& file, int page, int dpi, QString* why) {
  QTemporaryDir dir;
  const QString prefix = dir.filePath(QStringLiteral("page"));
  RunTool(QStringLiteral("pdftoppm"),
          {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
           QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
           QString::number(page), QStringLiteral("-singlefile"), file, prefix},
          why);
  return ReadPgm(prefix + QStringLiteral(".pgm"), dpi);
}

// Page `page` rendered grey at any resolution (a zoom of the screen's),
// as a picture.  With `supersample` n, rendered n times as fine and each
// n x n block averaged: the rasteriser puts a turned glyph on whole pixels
// across its line, up to half a pixel from its place, and at n times the
// resolution that is n times less.
inline QImage RasteriseAt(const QString& file, int page, double dpi, QString* why,
                          int supersample = 1) {
  QTemporaryDir dir;
  const QString prefix = dir.filePath(QStringLiteral("page"));
  const int n = std::max(1, supersample);
  RunTool(QStringLiteral("pdftoppm"),
          {QStringLiteral("-r"), QString::number(dpi * n, 'f', 6), QStringLiteral("-gray"),
           QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
           QString::number(page), QStringLiteral("-singlefile"), file, prefix},
          why);
  QImage image(prefix + QStringLiteral(".pgm"));
  if (image.isNull() && why->isEmpty()) *why = QStringLiteral("pdftoppm wrote no page");
  image = image.convertToFormat(QImage::Format_Grayscale8);
  if (n == 1 || image.isNull()) return image;
  const QSize size(image.width() / n, image.height() / n);
  QImage out(size, QImage::Format_Grayscale8);
  for (int y = 0; y < size.height(); ++y) {
    uchar* o = out.scanLine(y);
    for (int x = 0; x < size.width(); ++x) {
      int sum = 0;
      for (int j = 0; j < n; ++j) {
        const uchar* in = image.constScanLine(y * n + j) + x * n;
        for (int i = 0; i < n; ++i) sum += in[i];
      }
      o[x] = uchar((sum + n * n / 2) / (n * n));
    }
  }
  return out;
}

// The box, in millimetres from the page's top left corner, of the pixels
// darker than `threshold` inside `within` (millimetres; the whole page
// when empty); empty when there are none.
inline QRectF DarkBoxMM(const GreyImage& image, QRectF within = QRectF(), int threshold = 128) {
  const double mm = 25.4 / image.Dpi;
  int fx0 = 0, fy0 = 0, fx1 = image.Width, fy1 = image.Height;
  if (!within.isEmpty()) {
    fx0 = std::max(0, int(within.left() / mm));
    fy0 = std::max(0, int(within.top() / mm));
    fx1 = std::min(image.Width, int(within.right() / mm) + 1);
    fy1 = std::min(image.Height, int(within.bottom() / mm) + 1);
  }
  int x0 = image.Width, y0 = image.Height, x1 = -1, y1 = -1;
  for (int y = fy0; y < fy1; ++y)
    for (int x = fx0; x < fx1; ++x)
      if (image.At(x, y) < threshold) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
  if (x1 < 0) return {};
  return QRectF(QPointF(x0 * mm, y0 * mm), QPointF((x1 + 1) * mm, (y1 + 1) * mm));
}

inline std::string Describe(const QRectF& r) {
  return QStringLiteral("(%1, %2) to (%3, %4) mm")
      .arg(r.left(), 0, 'f', 3)
      .arg(r.top(), 0, 'f', 3)
      .arg(r.right(), 0, 'f', 3)
      .arg(r.bottom(), 0, 'f', 3)
      .toStdString();
}

}  // namespace pdf
