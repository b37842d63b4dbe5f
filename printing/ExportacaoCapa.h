// SPDX-License-Identifier: GPL-3.0-or-later
// Exporting a cover: its pages, chosen as the print dialog chooses them,
// made by the same cover reports and printer device as a print and given
// to an exporter (platform/PageExporter): one PDF file, or one PNG picture
// or SVG drawing per page.  No window: the main window's "Exportar…" and
// lurns-batch call it alike, each with its own way of showing progress.
#pragma once

#include "printing/ImpressaoCapa.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TPageExporter;

enum class TFormatoExportacao { Pdf, Png, Svg };

struct TPedidoExportacao {
  TFormatoExportacao Formato = TFormatoExportacao::Pdf;
  // PDF: the file.  PNG and SVG: the folder (made when it is missing), page
  // N written as <Prefixo>-N.png or <Prefixo>-N.svg.
  QString Destino;
  QString Prefixo = QStringLiteral("pagina");
  // PNG and SVG: pixels per inch, from MinDpi to MaxDpi.
  int Dpi = 150;
  std::vector<int> Paginas = {paginaFrente, paginaTras, paginaCD};  // in order
  QString NomeDocumento = QStringLiteral("Lurns para CD");

  static constexpr int MinDpi = 10;
  static constexpr int MaxDpi = 1200;
};

struct TResultadoExportacao {
  enum TFim { Exportado, Cancelado, Falhou };
  TFim Fim = Falhou;
  QString Erro;              // Falhou: why, for the user
  QStringList Ficheiros;     // Exportado: the files written
  QStringList NaoImpressos;  // objects left off the pages (see TImpressaoCapa)
};

// The files an export writes, in page order (what a file dialog asks
// about before they are overwritten).
QStringList FicheirosDaExportacao(const TPedidoExportacao& pedido);

// The exporter of the request's format, writing to its files.
std::unique_ptr<TPageExporter> CriarExportador(const TPedidoExportacao& pedido);

// Exports the pages of the prepared cover (TImpressaoCapa::Preparar).
// `progresso` is told each page written (pages done, pages in all) and
// cancels the export by answering false.  Nothing is written unless every
// page was: a cancelled or failed export leaves the files that were there
// as they were.
TResultadoExportacao ExportarCapa(TImpressaoCapa& capa, const TPedidoExportacao& pedido,
                                  const std::function<bool(int feitas, int total)>& progresso = {});
