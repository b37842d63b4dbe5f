// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of printing a cover: "Imprimir" (the platform
// print dialog, then the chosen pages on a printer or into a PDF file),
// "Prever Impressão" and "Configurar Impressora".  The cover reports are
// filled and printed by TImpressaoCapa (printing/ImpressaoCapa); here are
// the dialogs and the messages, through the dialog layer.
//
// While a print runs the window takes no input (it is disabled: clicks and
// keys that come meanwhile are dropped, not queued) and the commands
// refuse to start again; the window must not close meanwhile (Ocupado).
#pragma once

#include "platform/Dialogs.h"
#include "printing/ImpressaoCapa.h"

#include <QPointer>
#include <QString>

class QWidget;

// The pages a dialog's range chooses (all, the page of `folhaActual`, or
// from-to), in order, as the print and export dialogs choose them.
std::vector<int> PaginasDoDialogo(TPrintDialogSpec::Range range, int de, int ate, int folhaActual);

class TComandosImpressao {
 public:
  // `janela`: the window that takes no input while a print runs.
  explicit TComandosImpressao(QWidget* janela);

  // Fills the reports from the document and prints what the print dialog
  // chooses: all pages, the page of `folhaActual` (selection), or pages
  // from-to, all of them or the odd or even ones, in order or the last
  // first; copies; a printer (that of printer setup is offered, with its
  // paper) with the sides, colour, paper and queue options chosen, or a
  // PDF file.  Before the dialog, a warning when part of a page leaves the
  // printable area; after it, a warning for a printer the system does not
  // have (nothing printed in its stead), for a range that chooses no page,
  // for every print error (no page left to print among them), and, after
  // the job, for the objects that could not be printed.  `nomeDocumento`
  // names the printer document (the spooler's job).
  void Imprimir(const TDocumento& documento, int folhaActual, const TOpcoesCapa& opcoes,
                const QString& nomeDocumento = QStringLiteral("Lurns para CD"));
  // Fills the reports and shows the page of `folhaActual` in the preview
  // window (a print from there is a job named `nomeDocumento`, as the main
  // print's); says so when this program has none.
  void Prever(const TDocumento& documento, int folhaActual, const TOpcoesCapa& opcoes,
              const QString& nomeDocumento = QStringLiteral("Lurns para CD"));
  // Chooses the printer, paper and paper source the next print uses (the
  // print dialog offers the same printer).
  void ConfigurarImpressora();
  // "Exportar…" (ComandosExportacao.cpp): the export dialog (format,
  // resolution, pages as in the print dialog), then the save dialog for the
  // file (PDF) or the first picture's name (PNG and SVG: one file a page,
  // <name>-<page>.<ext>, with a question before any is replaced), then the
  // pages through the exporters with a progress window that can cancel.
  // `ficheiroCapa` (the cover's file, or empty) suggests the name.
  void Exportar(const TDocumento& documento, int folhaActual, const TOpcoesCapa& opcoes,
                const QString& ficheiroCapa, const QString& nomeDocumento = QStringLiteral("Lurns para CD"));

  // A command runs (its dialog is open, or it prints).
  bool Ocupado() const { return emCurso_ || capa_.Ocupado(); }
  TImpressaoCapa& Capa() { return capa_; }

 private:
  QPointer<QWidget> janela_;
  TImpressaoCapa capa_;
  // The print dialog keeps its last choices (range, pages, copies), and
  // the export dialog its own.
  TPrintDialogSpec ultimo_;
  TExportDialogSpec ultimaExportacao_;
  // The discs of a label sheet chosen in the last print dialog; the
  // reports prepared again for them when they are not those of `opcoes`.
  TPosicaoDisco ultimaPosicao_ = TPosicaoDisco::Ambas;
  // The calibration of a printer's queue ("Calibrar…" in printer setup).
  void Calibrar(const QString& impressora);
  // What the print dialog chose of the paper (the discs of a label sheet,
  // the marks) put into the reports.
  void EscolherPapel(const TDocumento& documento, const TOpcoesCapa& opcoes, const TPrintDialogSpec& dialogo);
  bool emCurso_ = false;
};
