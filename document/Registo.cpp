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

namespace {
QString ChaveRecente(int i) { return QStringLiteral("Ficheiro%1").arg(i); }
}  // namespace

QStringList LerRecentes(QSettings& s) {
  QStringList lista;
  for (int i = 1; i <= MaxRecentes; ++i) {
    const QString nome = s.value(ChaveRecente(i)).toString();
    if (!nome.isEmpty() && !lista.contains(nome)) lista << nome;
  }
  return lista;
}

QStringList ComRecente(const QStringList& recentes, const QString& nome) {
  QStringList lista;
  if (!nome.isEmpty()) lista << nome;
  for (const QString& r : recentes)
    if (!r.isEmpty() && !lista.contains(r)) lista << r;
  return lista.mid(0, MaxRecentes);
}

void GravarRecentes(QSettings& s, const QStringList& recentes) {
  for (int i = 1; i <= MaxRecentes; ++i) s.setValue(ChaveRecente(i), recentes.value(i - 1));
}
