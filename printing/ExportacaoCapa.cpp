// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ExportacaoCapa.h"

#include "platform/PageExporter.h"
#include "report/ppUtils.h"

#include <QDir>
#include <QFileInfo>

QStringList FicheirosDaExportacao(const TPedidoExportacao& pedido) {
  if (pedido.Formato == TFormatoExportacao::Pdf)
    return {QFileInfo(pedido.Destino).absoluteFilePath()};
  const QDir dir(pedido.Destino);
  const QString ext =
      pedido.Formato == TFormatoExportacao::Png ? QStringLiteral("png") : QStringLiteral("svg");
  QStringList nomes;
  for (int p : pedido.Paginas)
    nomes << dir.absoluteFilePath(QStringLiteral("%1-%2.%3").arg(pedido.Prefixo).arg(p).arg(ext));
  return nomes;
}

std::unique_ptr<TPageExporter> CriarExportador(const TPedidoExportacao& pedido) {
  switch (pedido.Formato) {
    case TFormatoExportacao::Pdf:
      return std::make_unique<TPdfExporter>(FicheirosDaExportacao(pedido).value(0));
    case TFormatoExportacao::Png:
      return std::make_unique<TPngExporter>(FicheirosDaExportacao(pedido), pedido.Dpi);
    case TFormatoExportacao::Svg:
      return std::make_unique<TSvgExporter>(FicheirosDaExportacao(pedido), pedido.Dpi);
  }
  return nullptr;
}

TResultadoExportacao ExportarCapa(TImpressaoCapa& capa, const TPedidoExportacao& pedido,
                                  const std::function<bool(int, int)>& progresso) {
  TResultadoExportacao r;
  if (pedido.Destino.isEmpty()) {
    r.Erro = QStringLiteral("Não foi indicado para onde exportar.");
    return r;
  }
  if (pedido.Formato != TFormatoExportacao::Pdf &&
      (pedido.Dpi < TPedidoExportacao::MinDpi || pedido.Dpi > TPedidoExportacao::MaxDpi)) {
    r.Erro = QStringLiteral("A resolução tem de estar entre %1 e %2 pontos por polegada.")
                 .arg(TPedidoExportacao::MinDpi)
                 .arg(TPedidoExportacao::MaxDpi);
    return r;
  }
  if (pedido.Formato != TFormatoExportacao::Pdf) {
    const QDir dir(pedido.Destino);
    if (!dir.exists() && !QDir().mkpath(dir.absolutePath())) {
      r.Erro = QStringLiteral("Não foi possível criar a pasta %1.").arg(pedido.Destino);
      return r;
    }
  }
  std::unique_ptr<TPageExporter> exportador = CriarExportador(pedido);
  const int total = int(pedido.Paginas.size());
  if (progresso)
    exportador->Progress = [&progresso, total](int feitas) { return progresso(feitas, total); };
  TPedidoImpressao impressao;
  impressao.Paginas = pedido.Paginas;
  impressao.NomeDocumento = pedido.NomeDocumento;
  impressao.Exportador = exportador.get();
  if (capa.Ocupado()) {
    r.Erro = QStringLiteral("Já está a decorrer uma impressão.");
    return r;
  }
  try {
    if (!capa.Imprimir(impressao)) {
      // Cancelled while the pages were made.
      r.Fim = TResultadoExportacao::Cancelado;
      return r;
    }
  } catch (const EPrintError& e) {
    if (exportador->Cancelled()) {
      r.Fim = TResultadoExportacao::Cancelado;
      return r;
    }
    r.Erro = e.Message;
    return r;
  }
  r.Fim = TResultadoExportacao::Exportado;
  r.Ficheiros = exportador->Written;
  r.NaoImpressos = capa.NaoImpressos();
  return r;
}
