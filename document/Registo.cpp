// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/Registo.h"

#include <QUrl>

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

namespace {
const char* const kPapelCD = "PapelCD";
const char* const kMedidas[] = {"EtiquetaExterior", "EtiquetaFuro", "EtiquetaX1",
                                "EtiquetaY1",       "EtiquetaX2",   "EtiquetaY2"};
}  // namespace

TPapelDisco LerPapelDisco(QSettings& s) {
  TPapelDisco p;
  const QString papel = s.value(QLatin1String(kPapelCD)).toString().trimmed();
  double v[6];
  for (int i = 0; i < 6; ++i) v[i] = LerInteiroRegisto(s, kMedidas[i], 0) / 100.0;
  p.Medidas.Referencia = QStringLiteral("Própria");
  p.Medidas.Exterior = v[0];
  p.Medidas.Furo = v[1];
  p.Medidas.Centros[0] = QPointF(v[2], v[3]);
  p.Medidas.Centros[1] = QPointF(v[4], v[5]);
  if (papel == QLatin1String("Propria")) {
    p.Tipo = TPapelDisco::Propria;
  } else if (const auto e = EtiquetaDisco(papel); e && !papel.isEmpty()) {
    p.Tipo = TPapelDisco::Etiqueta;
    p.Referencia = e->Referencia;
  }
  return p;
}

void GravarPapelDisco(QSettings& s, const TPapelDisco& p) {
  QString papel = QStringLiteral("A4");
  if (p.Tipo == TPapelDisco::Etiqueta) papel = p.Referencia;
  if (p.Tipo == TPapelDisco::Propria) papel = QStringLiteral("Propria");
  s.setValue(QLatin1String(kPapelCD), papel);
  const double v[6] = {p.Medidas.Exterior,      p.Medidas.Furo,          p.Medidas.Centros[0].x(),
                       p.Medidas.Centros[0].y(), p.Medidas.Centros[1].x(), p.Medidas.Centros[1].y()};
  for (int i = 0; i < 6; ++i) s.setValue(QLatin1String(kMedidas[i]), QString::number(qRound64(v[i] * 100)));
}

namespace {
// A queue's group: its name as it is, but for what a key cannot hold.
QString GrupoCalibracao(const QString& fila) {
  return QStringLiteral("Calibracao/") + QString::fromLatin1(QUrl::toPercentEncoding(fila));
}
}  // namespace

std::optional<TPrinterCalibration> LerCalibracao(QSettings& s, const QString& fila) {
  if (fila.isEmpty()) return std::nullopt;
  s.beginGroup(GrupoCalibracao(fila));
  const bool existe = s.contains(QStringLiteral("DX"));
  TPrinterCalibration c;
  c.OffsetX = LerInteiroRegisto(s, "DX", 0) / 100.0;
  c.OffsetY = LerInteiroRegisto(s, "DY", 0) / 100.0;
  c.ScaleX = LerInteiroRegisto(s, "SX", 10000) / 10000.0;
  c.ScaleY = LerInteiroRegisto(s, "SY", 10000) / 10000.0;
  s.endGroup();
  if (!existe || !CalibrationIsSound(c)) return std::nullopt;
  return c;
}

void GravarCalibracao(QSettings& s, const QString& fila, const std::optional<TPrinterCalibration>& c) {
  if (fila.isEmpty()) return;
  s.remove(GrupoCalibracao(fila));
  if (!c || c->IsIdentity()) return;
  s.beginGroup(GrupoCalibracao(fila));
  s.setValue(QStringLiteral("DX"), QString::number(qRound64(c->OffsetX * 100)));
  s.setValue(QStringLiteral("DY"), QString::number(qRound64(c->OffsetY * 100)));
  s.setValue(QStringLiteral("SX"), QString::number(qRound64(c->ScaleX * 10000)));
  s.setValue(QStringLiteral("SY"), QString::number(qRound64(c->ScaleY * 10000)));
  s.endGroup();
}
