#include "document/Registo.h"

std::unique_ptr<QSettings> AbrirRegisto() {
  auto s = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lurns"),
                                       QStringLiteral("Lurns"));
  s->beginGroup(QStringLiteral("Parametros"));
  return s;
}

qint64 LerInteiroRegisto(QSettings& s, const char* nome, qint64 omissao) {
  bool ok = false;
  const qint64 v = s.value(QLatin1String(nome)).toString().trimmed().toLongLong(&ok);
  return ok ? v : omissao;
}
