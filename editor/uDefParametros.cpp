// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/uDefParametros.h"

TParametros& Parametros() {
  static TParametros p;
  return p;
}

void LerParametros() {
  // Each integer is cut to the width of its field, as the record keeps it.
  auto s = AbrirRegisto();
  TParametros& p = Parametros();
  p.Superior = std::uint16_t(LerInteiroRegisto(*s, "Superior", 0));
  p.Esquerda = std::uint16_t(LerInteiroRegisto(*s, "Esquerda", 0));
  p.Lingua = std::uint8_t(LerInteiroRegisto(*s, "Lingua", 0));
  p.GrelhaX = std::uint8_t(LerInteiroRegisto(*s, "GrelhaX", 8));
  p.GrelhaY = std::uint8_t(LerInteiroRegisto(*s, "GrelhaY", 8));
  p.Dobra = TColor(LerInteiroRegisto(*s, "Dobra", 65280));
  p.Grava = std::uint8_t(LerInteiroRegisto(*s, "Grava", 0));
  p.PapelCD = LerPapelDisco(*s);
  p.Marcas = LerInteiroRegisto(*s, "Marcas", 0) != 0;
  p.Sangria = LerInteiroRegisto(*s, "Sangria", 0) != 0;
}

void GravarParametros() {
  auto s = AbrirRegisto();
  const TParametros& p = Parametros();
  s->setValue(QStringLiteral("Superior"), QString::number(p.Superior));
  s->setValue(QStringLiteral("Esquerda"), QString::number(p.Esquerda));
  s->setValue(QStringLiteral("Lingua"), QString::number(p.Lingua));
  s->setValue(QStringLiteral("GrelhaX"), QString::number(p.GrelhaX));
  s->setValue(QStringLiteral("GrelhaY"), QString::number(p.GrelhaY));
  s->setValue(QStringLiteral("Dobra"), QString::number(qint32(p.Dobra)));
  s->setValue(QStringLiteral("Grava"), QString::number(p.Grava));
  GravarPapelDisco(*s, p.PapelCD);
  s->setValue(QStringLiteral("Marcas"), QString::number(p.Marcas ? 1 : 0));
  s->setValue(QStringLiteral("Sangria"), QString::number(p.Sangria ? 1 : 0));
  s->sync();
}
