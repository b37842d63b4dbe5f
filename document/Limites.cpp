// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/Limites.h"

#include <algorithm>

namespace {
QString Tr(const char* text) { return QString::fromUtf8(text); }

bool Fits(const QString& s, qsizetype maxBytes) {
  // Most strings are far below the limit: only count UTF-8 bytes when
  // three bytes a character could pass it.
  return s.size() * 3 <= maxBytes || s.toUtf8().size() <= maxBytes;
}

QString CutToBytes(const QString& s, qsizetype maxBytes) {
  if (Fits(s, maxBytes)) return s;
  QString out;
  qsizetype bytes = 0;
  for (qsizetype i = 0; i < s.size();) {
    // A whole character: a surrogate pair stays together.
    const qsizetype n = s.at(i).isHighSurrogate() && i + 1 < s.size() ? 2 : 1;
    const qsizetype b = s.mid(i, n).toUtf8().size();
    if (bytes + b > maxBytes) break;
    out += s.mid(i, n);
    bytes += b;
    i += n;
  }
  return out;
}
}  // namespace

QString CheckBounds(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) {
  if (left < -MaxObjectCoordinate || left > MaxObjectCoordinate || top < -MaxObjectCoordinate ||
      top > MaxObjectCoordinate)
    return Tr("posição fora dos limites");
  if (width < 0 || width > MaxObjectExtent || height < 0 || height > MaxObjectExtent)
    return Tr("tamanho fora dos limites");
  return {};
}

QString CheckColour(std::uint32_t c) {
  // 0x00BBGGRR, or a system colour: 0x80000000 plus an index.
  if ((c & 0xFF000000u) != 0 && (c & 0xFFFFFF00u) != clSystemColor) return Tr("cor inválida");
  return {};
}

QString CheckFontSize(std::int64_t points) {
  if (points < MinFontSize || points > MaxFontSize) return Tr("tamanho de letra inválido");
  return {};
}

QString CheckFontName(const QString& name) {
  if (!Fits(name, MaxObjectFontNameBytes)) return Tr("nome de letra demasiado longo");
  return {};
}

QString CheckFontStyle(unsigned style) {
  if (style & ~0x0Fu) return Tr("estilo de letra inválido");
  return {};
}

QString CheckString(const QString& s) {
  if (!Fits(s, MaxObjectStringBytes)) return Tr("texto demasiado longo");
  return {};
}

QString CheckAngle(std::int64_t degrees) {
  if (degrees < 0 || degrees > 359)
    return Tr("valor %1 fora do intervalo %2..%3").arg(degrees).arg(0).arg(359);
  return {};
}

int ClampCoordinate(std::int64_t v) {
  return int(std::clamp<std::int64_t>(v, -MaxObjectCoordinate, MaxObjectCoordinate));
}

int ClampExtent(std::int64_t v) { return int(std::clamp<std::int64_t>(v, 0, MaxObjectExtent)); }

int ClampFontSize(std::int64_t points) {
  return int(std::clamp<std::int64_t>(points, MinFontSize, MaxFontSize));
}

TColor ClampColour(std::uint32_t c) { return CheckColour(c).isEmpty() ? c : (c & 0x00FFFFFFu); }

QString ClampFontName(const QString& name) { return CutToBytes(name, MaxObjectFontNameBytes); }

QString ClampString(const QString& s) { return CutToBytes(s, MaxObjectStringBytes); }

std::uint8_t ClampFontStyle(unsigned style) { return std::uint8_t(style & 0x0Fu); }

int NormaliseAngle(std::int64_t degrees) {
  std::int64_t a = degrees % 360;
  if (a < 0) a += 360;
  return int(a);
}
