#include "document/CoverRecord.h"

#include <QtEndian>

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

void PorTexto(QByteArray& buf, int offset, int capacidade, const QString& s, bool* perdidos) {
  QByteArray b = ParaWindows1252(s, perdidos);
  if (b.size() > capacidade) b.truncate(capacidade);
  buf[offset] = char(std::uint8_t(b.size()));
  for (int i = 0; i < b.size(); ++i) buf[offset + 1 + i] = b[i];
}

QString LerTexto(const QByteArray& buf, int offset, int capacidade) {
  int n = std::uint8_t(buf[offset]);
  if (n > capacidade) n = capacidade;
  return DeWindows1252(buf.mid(offset + 1, n));
}

void PorInteiro(QByteArray& buf, int offset, std::uint32_t v) {
  qToLittleEndian<std::uint32_t>(v, buf.data() + offset);
}

std::int32_t LerInteiro(const QByteArray& buf, int offset) {
  return qFromLittleEndian<std::int32_t>(buf.constData() + offset);
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

QString DeWindows1252(const QByteArray& b) {
  QString out;
  out.reserve(b.size());
  for (char c : b) {
    const auto u = std::uint8_t(c);
    out.append(QChar(u >= 0x80 && u < 0xA0 ? k1252[u - 0x80] : char16_t(u)));
  }
  return out;
}

QByteArray TCoverRecord::Codificar(bool* perdidos) const {
  QByteArray buf(kTamanhoRegisto, '\0');
  PorTexto(buf, 0, 10, Tipo, perdidos);
  PorTexto(buf, 11, 10, Folha, perdidos);
  PorTexto(buf, 22, 255, Texto, perdidos);
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
  return buf;
}

TCoverRecord TCoverRecord::Descodificar(const QByteArray& bytes) {
  QByteArray buf = bytes.left(kTamanhoRegisto);
  buf.append(QByteArray(kTamanhoRegisto - buf.size(), '\0'));
  TCoverRecord r;
  r.Tipo = LerTexto(buf, 0, 10);
  r.Folha = LerTexto(buf, 11, 10);
  r.Texto = LerTexto(buf, 22, 255);
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
