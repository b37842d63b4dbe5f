// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/CoverRecord.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace {
// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five codes it
// leaves undefined are read as the C1 control of the same number.
constexpr char16_t k1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char Codigo1252(char16_t c, bool& ok) {
  ok = true;
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return char(c);
  for (int i = 0; i < 32; ++i)
    if (k1252[i] == c) return char(0x80 + i);
  ok = false;
  return '?';
}

// Records are written and read in place, without a copy of each field:
// a cover holds thousands of them.
void PorTexto(char* buf, int offset, int capacidade, const QString& s, bool* perdidos) {
  const int n = std::min<int>(int(s.size()), capacidade);
  buf[offset] = char(std::uint8_t(n));
  for (qsizetype i = 0; i < s.size(); ++i) {
    bool ok = true;
    const char c = Codigo1252(s[i].unicode(), ok);
    if (i < n) buf[offset + 1 + i] = c;
    if (!ok && perdidos) *perdidos = true;
  }
}

QString DeWindows1252(const char* b, qsizetype n) {
  QString out(n, Qt::Uninitialized);
  QChar* d = out.data();
  for (qsizetype i = 0; i < n; ++i) {
    const auto u = std::uint8_t(b[i]);
    d[i] = QChar(u >= 0x80 && u < 0xA0 ? k1252[u - 0x80] : char16_t(u));
  }
  return out;
}

QString LerTexto(const char* buf, int offset, int capacidade) {
  int n = std::uint8_t(buf[offset]);
  if (n > capacidade) n = capacidade;
  return n ? DeWindows1252(buf + offset + 1, n) : QString();
}

void PorInteiro(char* buf, int offset, std::uint32_t v) { qToLittleEndian<std::uint32_t>(v, buf + offset); }

std::int32_t LerInteiro(const char* buf, int offset) {
  return qFromLittleEndian<std::int32_t>(buf + offset);
}
}  // namespace

QByteArray ParaWindows1252(const QString& s, bool* perdidos) {
  QByteArray out;
  out.reserve(s.size());
  for (QChar ch : s) {
    bool ok = true;
    out.append(Codigo1252(ch.unicode(), ok));
    if (!ok && perdidos) *perdidos = true;
  }
  return out;
}

QString DeWindows1252(const QByteArray& b) { return DeWindows1252(b.constData(), b.size()); }

QByteArray TCoverRecord::Codificar(bool* perdidos) const {
  QByteArray bytes(kTamanhoRegisto, Qt::Uninitialized);
  CodificarEm(bytes.data(), perdidos);
  return bytes;
}

void TCoverRecord::CodificarEm(char* buf, bool* perdidos) const {
  std::memset(buf, 0, kTamanhoRegisto);
  PorTexto(buf, 0, 10, Tipo, perdidos);
  PorTexto(buf, 11, 10, Folha, perdidos);
  PorTexto(buf, 22, kCapacidadeTexto, Texto, perdidos);
  PorInteiro(buf, 280, std::uint32_t(Angulo));
  PorInteiro(buf, 284, std::uint32_t(Left));
  PorInteiro(buf, 288, std::uint32_t(Top));
  PorInteiro(buf, 292, std::uint32_t(Height));
  PorInteiro(buf, 296, std::uint32_t(Width));
  PorTexto(buf, 300, 255, NomeFonte, perdidos);
  buf[556] = char(Charset);
  PorInteiro(buf, 560, std::uint32_t(TamanhoFonte));
  PorInteiro(buf, 564, Cor);
  buf[568] = char(Estilo);
}

TCoverRecord TCoverRecord::Descodificar(const QByteArray& bytes) {
  return Descodificar(bytes.constData(), bytes.size());
}

TCoverRecord TCoverRecord::Descodificar(const char* bytes, qsizetype size) {
  // Missing bytes count as zero.
  char buf[kTamanhoRegisto] = {};
  if (size > 0) std::memcpy(buf, bytes, size_t(std::min<qsizetype>(size, kTamanhoRegisto)));
  TCoverRecord r;
  r.Tipo = LerTexto(buf, 0, 10);
  r.Folha = LerTexto(buf, 11, 10);
  r.Texto = LerTexto(buf, 22, kCapacidadeTexto);
  r.Angulo = LerInteiro(buf, 280);
  r.Left = LerInteiro(buf, 284);
  r.Top = LerInteiro(buf, 288);
  r.Height = LerInteiro(buf, 292);
  r.Width = LerInteiro(buf, 296);
  r.NomeFonte = LerTexto(buf, 300, 255);
  r.Charset = std::uint8_t(buf[556]);
  r.TamanhoFonte = LerInteiro(buf, 560);
  r.Cor = TColor(LerInteiro(buf, 564));
  r.Estilo = std::uint8_t(buf[568]);
  return r;
}
