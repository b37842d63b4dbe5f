// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/EtiquetasDisco.h"

#include <QStringList>
#include <cmath>

QString TEtiquetaDisco::Nome() const {
  return Fabricante.isEmpty() ? Referencia : Fabricante + QLatin1Char(' ') + Referencia;
}

QString ProblemaEtiqueta(const TEtiquetaDisco& e) {
  if (!(e.Exterior >= 20 && e.Exterior <= 150))
    return QStringLiteral("o diâmetro exterior deve ser de 20 a 150 mm");
  if (!(e.Furo >= 0 && e.Furo < e.Exterior))
    return QStringLiteral("o furo deve ser menor que o diâmetro exterior");
  const double r = e.Exterior / 2;
  for (int i = 0; i < 2; ++i) {
    const QPointF c = e.Centros[i];
    if (!(c.x() - r >= 0 && c.x() + r <= LarguraFolhaEtiquetas && c.y() - r >= 0 &&
          c.y() + r <= AlturaFolhaEtiquetas))
      return QStringLiteral("o disco %1 sai da folha A4").arg(i + 1);
  }
  const QPointF d = e.Centros[1] - e.Centros[0];
  if (std::hypot(d.x(), d.y()) < e.Exterior) return QStringLiteral("os dois discos sobrepõem-se");
  return {};
}

QList<TEtiquetaDisco> LerTabelaEtiquetas(const QString& texto, QString* erro) {
  static const QStringList colunas = {QStringLiteral("maker"),        QStringLiteral("part"),
                                      QStringLiteral("outer_diameter_mm"), QStringLiteral("hole_diameter_mm"),
                                      QStringLiteral("centre1_x_mm"), QStringLiteral("centre1_y_mm"),
                                      QStringLiteral("centre2_x_mm"), QStringLiteral("centre2_y_mm")};
  QList<TEtiquetaDisco> out;
  auto falha = [&](int linha, const QString& why) {
    if (erro) *erro = QStringLiteral("linha %1: %2").arg(linha).arg(why);
    return QList<TEtiquetaDisco>();
  };
  bool cabecalho = false;
  const QStringList linhas = texto.split(QLatin1Char('\n'));
  for (int n = 0; n < linhas.size(); ++n) {
    const QString linha = linhas[n].trimmed();
    if (linha.isEmpty() || linha.startsWith(QLatin1Char('#'))) continue;
    const QStringList campos = linha.split(QLatin1Char('\t'));
    if (!cabecalho) {
      QStringList nomes;
      for (const QString& c : campos) nomes << c.trimmed();
      if (nomes != colunas) return falha(n + 1, QStringLiteral("o cabeçalho não tem as colunas esperadas"));
      cabecalho = true;
      continue;
    }
    if (campos.size() != colunas.size()) return falha(n + 1, QStringLiteral("não tem 8 campos"));
    TEtiquetaDisco e;
    e.Fabricante = campos[0].trimmed();
    e.Referencia = campos[1].trimmed();
    if (e.Referencia.isEmpty()) return falha(n + 1, QStringLiteral("falta a referência"));
    double v[6];
    for (int i = 0; i < 6; ++i) {
      bool ok = false;
      v[i] = campos[2 + i].trimmed().toDouble(&ok);
      if (!ok || !std::isfinite(v[i])) return falha(n + 1, QStringLiteral("«%1» não é um número").arg(campos[2 + i]));
    }
    e.Exterior = v[0];
    e.Furo = v[1];
    e.Centros[0] = QPointF(v[2], v[3]);
    e.Centros[1] = QPointF(v[4], v[5]);
    if (const QString p = ProblemaEtiqueta(e); !p.isEmpty()) return falha(n + 1, p);
    for (const TEtiquetaDisco& o : out)
      if (o.Referencia.compare(e.Referencia, Qt::CaseInsensitive) == 0)
        return falha(n + 1, QStringLiteral("a referência %1 repete-se").arg(e.Referencia));
    out << e;
  }
  if (!cabecalho) return falha(linhas.size(), QStringLiteral("a tabela está vazia"));
  if (erro) erro->clear();
  return out;
}

const QList<TEtiquetaDisco>& EtiquetasDisco() {
  static const QList<TEtiquetaDisco> tabela = [] {
    static const char texto[] =
#include "EtiquetasDisco.inc"
        ;
    QString erro;
    QList<TEtiquetaDisco> t = LerTabelaEtiquetas(QString::fromUtf8(texto), &erro);
    // The table is the program's own: a fault in it is the build's fault.
    Q_ASSERT_X(erro.isEmpty(), "EtiquetasDisco", qPrintable(erro));
    return t;
  }();
  return tabela;
}

std::optional<TEtiquetaDisco> EtiquetaDisco(const QString& referencia) {
  for (const TEtiquetaDisco& e : EtiquetasDisco())
    if (e.Referencia.compare(referencia.trimmed(), Qt::CaseInsensitive) == 0) return e;
  return std::nullopt;
}

std::optional<TPosicaoDisco> PosicaoDisco(const QString& nome) {
  if (nome == QLatin1String("1")) return TPosicaoDisco::Primeira;
  if (nome == QLatin1String("2")) return TPosicaoDisco::Segunda;
  if (nome.compare(QLatin1String("ambas"), Qt::CaseInsensitive) == 0) return TPosicaoDisco::Ambas;
  return std::nullopt;
}

std::optional<TEtiquetaDisco> TPapelDisco::Stock() const {
  switch (Tipo) {
    case A4Simples: return std::nullopt;
    case Etiqueta: return EtiquetaDisco(Referencia);
    case Propria:
      if (!ProblemaEtiqueta(Medidas).isEmpty()) return std::nullopt;
      return Medidas;
  }
  return std::nullopt;
}
