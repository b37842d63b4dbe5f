// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/TiposDeLetra.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>

void PrepararTiposDeLetra() {
  static const bool feito = [] {
    const QDir dir(QStringLiteral("/usr/share/wine/fonts"));
    bool tahoma = false;
    for (const QString& f : {QStringLiteral("tahoma.ttf"), QStringLiteral("tahomabd.ttf")})
      if (dir.exists(f) && QFontDatabase::addApplicationFont(dir.filePath(f)) >= 0) tahoma = true;
    if (tahoma) QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Tahoma"));
    return true;
  }();
  (void)feito;
}
