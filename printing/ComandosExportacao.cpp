// SPDX-License-Identifier: GPL-3.0-or-later
// "Exportar…": the window's side of exporting a cover's pages (dialogs,
// progress, messages); the export itself is ExportacaoCapa's.
#include "platform/ScopedFlag.h"
#include "printing/ComandosImpressao.h"
#include "printing/ExportacaoCapa.h"
#include "report/ppPrnDev.h"
#include "report/ppUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace {

struct TFormato {
  TFormatoExportacao Formato;
  const char* Extensao;
  const char* Filtro;
};

TFormato FormatoDe(TExportDialogSpec::Format f) {
  switch (f) {
    case TExportDialogSpec::fmtPng:
      return {TFormatoExportacao::Png, "png", "Imagens PNG (*.png)|*.png"};
    case TExportDialogSpec::fmtSvg:
      return {TFormatoExportacao::Svg, "svg", "Desenhos SVG (*.svg)|*.svg"};
    case TExportDialogSpec::fmtPdf:
      break;
  }
  return {TFormatoExportacao::Pdf, "pdf", "Documentos PDF (*.pdf)|*.pdf"};
}

}  // namespace

void TComandosImpressao::Exportar(const TDocumento& documento, int folhaActual, const TOpcoesCapa& opcoes,
                                  const QString& ficheiroCapa, const QString& nomeDocumento) {
  if (Ocupado()) return;
  const TScopedFlag emCurso(emCurso_);
  capa_.Preparar(documento, opcoes);

  TExportDialogSpec dialogo = ultimaExportacao_;
  dialogo.MinDpi = TPedidoExportacao::MinDpi;
  dialogo.MaxDpi = TPedidoExportacao::MaxDpi;
  dialogo.MinPage = 1;
  dialogo.MaxPage = NumeroPaginas;
  if (ultimaExportacao_.MaxPage != NumeroPaginas) {  // the first export
    dialogo.FromPage = 1;
    dialogo.ToPage = NumeroPaginas;
  }
  if (!Dialogs().Export(dialogo)) return;
  ultimaExportacao_ = dialogo;

  TPedidoExportacao pedido;
  pedido.Paginas = PaginasDoDialogo(dialogo.PrintRange, dialogo.FromPage, dialogo.ToPage, folhaActual);
  if (pedido.Paginas.empty()) {
    Dialogs().Warning(EngineMessage(msgNoPagesChosen));
    return;
  }
  const TFormato formato = FormatoDe(dialogo.Formato);
  pedido.Formato = formato.Formato;
  pedido.Dpi = dialogo.Dpi;
  pedido.NomeDocumento = nomeDocumento;

  // The save dialog starts beside the cover, under its name.
  TFileDialogSpec ficheiro;
  ficheiro.Title = QStringLiteral("Exportar");
  ficheiro.Filter = QString::fromLatin1(formato.Filtro);
  ficheiro.DefaultExt = QString::fromLatin1(formato.Extensao);
  ficheiro.OverwritePrompt = pedido.Formato == TFormatoExportacao::Pdf;
  if (!ficheiroCapa.isEmpty()) {
    const QFileInfo capa(ficheiroCapa);
    ficheiro.InitialDir = capa.absolutePath();
    ficheiro.FileName = capa.completeBaseName() + QLatin1Char('.') + ficheiro.DefaultExt;
  }
  const std::optional<QString> nome = Dialogs().SaveFile(ficheiro);
  if (!nome || nome->isEmpty()) return;
  const QFileInfo escolhido(*nome);
  if (pedido.Formato == TFormatoExportacao::Pdf) {
    pedido.Destino = escolhido.absoluteFilePath();
  } else {
    // One file a page, named after the one chosen: the question the save
    // dialog asks of one file is asked here of all the pages' files.
    pedido.Destino = escolhido.absolutePath();
    pedido.Prefixo = escolhido.completeBaseName();
    QStringList existentes;
    for (const QString& f : FicheirosDaExportacao(pedido))
      if (QFileInfo::exists(f)) existentes << QFileInfo(f).fileName();
    if (!existentes.isEmpty() &&
        Dialogs().ConfirmYesNoCancel(QStringLiteral("Estes ficheiros já existem:\n%1\nQuer substituí-los?")
                                         .arg(existentes.join(QLatin1Char('\n')))) != TModalResult::Yes)
      return;
  }

  // Each page written moves the bar; Cancelar stops before the next one
  // and leaves the files as they were.
  QProgressDialog progresso(QStringLiteral("A exportar as páginas…"), QStringLiteral("Cancelar"), 0,
                            int(pedido.Paginas.size()), janela_);
  progresso.setObjectName(QStringLiteral("progressoExportar"));
  progresso.setWindowTitle(QStringLiteral("Exportar"));
  progresso.setWindowModality(Qt::ApplicationModal);
  progresso.setMinimumDuration(0);
  progresso.setValue(0);
  const TResultadoExportacao r = ExportarCapa(capa_, pedido, [&progresso](int feitas, int total) {
    progresso.setMaximum(total);
    progresso.setValue(feitas);
    QCoreApplication::processEvents();
    return !progresso.wasCanceled();
  });
  progresso.close();
  switch (r.Fim) {
    case TResultadoExportacao::Exportado:
      if (!r.NaoImpressos.isEmpty()) Dialogs().Warning(PrintProblemsMessage(r.NaoImpressos));
      break;
    case TResultadoExportacao::Cancelado:
      break;
    case TResultadoExportacao::Falhou:
      Dialogs().Warning(r.Erro);
      break;
  }
}
