#include "editor/uDefParametros.h"

TParametros& Parametros() {
  static TParametros p;
  return p;
}

std::unique_ptr<QSettings> AbrirRegisto() {
  // An INI file in the user's configuration folder (~/.config/Lurns/Lurns.ini).
  auto s = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lurns"),
                                       QStringLiteral("Lurns"));
  s->beginGroup(QStringLiteral("Parametros"));
  return s;
}

namespace {
// A missing value, or one that is not an integer, gives the default; the
// integer is then cut to the width of its field, as the record keeps it.
qint64 LerInteiro(QSettings& s, const char* nome, qint64 omissao) {
  bool ok = false;
  const qint64 v = s.value(QLatin1String(nome)).toString().trimmed().toLongLong(&ok);
  return ok ? v : omissao;
}
}  // namespace

void LerParametros() {
  auto s = AbrirRegisto();
  TParametros& p = Parametros();
  p.Superior = std::uint16_t(LerInteiro(*s, "Superior", 0));
  p.Esquerda = std::uint16_t(LerInteiro(*s, "Esquerda", 0));
  p.Lingua = std::uint8_t(LerInteiro(*s, "Lingua", 0));
  p.GrelhaX = std::uint8_t(LerInteiro(*s, "GrelhaX", 8));
  p.GrelhaY = std::uint8_t(LerInteiro(*s, "GrelhaY", 8));
  p.Dobra = TColor(LerInteiro(*s, "Dobra", 65280));
  p.Grava = std::uint8_t(LerInteiro(*s, "Grava", 0));
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
  s->sync();
}
