// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the picture loader, built once per format: the
// format's extension comes from LURNS_FUZZ_FORMAT ("jpg", "png", "bmp",
// "ico", "gif", "wmf", "svg").  Picture files come from anywhere, so the
// loader must refuse any bytes with a message, or give a picture of a
// sensible size that can be drawn.  Anything else (a crash, an address or
// undefined-behaviour finding, a refusal without a message, a picture of
// no size or beyond the limits, one that cannot be drawn) aborts.
#include "platform/Graphics.h"
#include "platform/PictureLoader.h"
#include "platform/Types.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#ifndef LURNS_FUZZ_FORMAT
#error "LURNS_FUZZ_FORMAT names the picture format"
#endif

namespace {
bool verbose = false;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  // LURNS_FUZZ_VERBOSE=1 says what became of each input.
  verbose = qEnvironmentVariableIsSet("LURNS_FUZZ_VERBOSE");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  LoadedPicture p;
  try {
    p = DecodePicture(bytes, QStringLiteral(LURNS_FUZZ_FORMAT));
  } catch (const Exception& e) {
    if (verbose) std::fprintf(stderr, "refused: %s\n", qPrintable(e.Message));
    if (e.Message.isEmpty()) Fail("refused without a message");
    return 0;
  }
  if (verbose) std::fprintf(stderr, "accepted: %d x %d\n", p.size.width(), p.size.height());
  if (p.size.isEmpty()) Fail("accepted a picture of no size");
  if (p.size.width() > MaxPictureSide || p.size.height() > MaxPictureSide ||
      qint64(p.size.width()) * p.size.height() > MaxPicturePixels)
    Fail("accepted a picture beyond the limits");
  if (!p.vector && p.raster.size() != p.size) Fail("the picture's size is not its image's");
  // Drawn the way the controls draw it, into a small surface.
  QImage out(48, 32, QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  QPainter painter(&out);
  if (p.vector)
    p.vector->render(&painter, QRectF(0, 0, 48, 32));
  else
    painter.drawImage(QRectF(0, 0, 48, 32), p.raster);
  painter.end();
  return 0;
}
