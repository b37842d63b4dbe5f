// SPDX-License-Identifier: GPL-3.0-or-later
// Build-time tool: renders an SVG icon to PNG files in the layout of an
// icon theme, for desktops and file managers that do not draw SVG icons.
//   lurns-render-icons ICON.svg THEME_DIR CONTEXT NAME SIZE...
// writes THEME_DIR/<SIZE>x<SIZE>/CONTEXT/NAME.png for every size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv) {
  // No display is needed (or wanted) at build time.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  QTextStream err(stderr);
  if (args.size() < 6) {
    err << "usage: lurns-render-icons ICON.svg THEME_DIR CONTEXT NAME SIZE...\n";
    return 2;
  }
  QSvgRenderer svg(args[1]);
  if (!svg.isValid()) {
    err << "cannot read " << args[1] << '\n';
    return 1;
  }
  for (int i = 5; i < args.size(); ++i) {
    bool ok = false;
    const int size = args[i].toInt(&ok);
    if (!ok || size <= 0 || size > 1024) {
      err << "bad size " << args[i] << '\n';
      return 2;
    }
    const QString dir = QStringLiteral("%1/%2x%2/%3").arg(args[2]).arg(size).arg(args[3]);
    if (!QDir().mkpath(dir)) {
      err << "cannot create " << dir << '\n';
      return 1;
    }
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
      QPainter p(&img);
      p.setRenderHint(QPainter::Antialiasing);
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      svg.render(&p, QRectF(0, 0, size, size));
    }
    const QString out = dir + QLatin1Char('/') + args[4] + QStringLiteral(".png");
    if (!img.save(out, "PNG")) {
      err << "cannot write " << out << '\n';
      return 1;
    }
  }
  return 0;
}
