// SPDX-License-Identifier: GPL-3.0-or-later
// lurns-batch's command line: what each run asks for, read with
// QCommandLineParser from one table of options, apart from the program so
// that it can be tested without running it.  Bad usage (exit status 2) is
// a TArgumentos with Modo Erro and the reason.
#pragma once

#include "document/EtiquetasDisco.h"
#include "platform/PrinterBackend.h"
#include "printing/ImpressaoCapa.h"

#include <QString>
#include <QStringList>

// What a print run asks for.
struct TOrdemImpressao {
  enum TSaida { Nenhuma, Pdf, Impressora, Png, Svg } Saida = Nenhuma;
  QString Destino;  // the PDF file, the printer, or the pictures' folder
  TEscolhaPaginas Paginas;
  int Copias = 1;
  bool ComMargens = false;
  int Superior = 0, Esquerda = 0;
  bool ComLombada = true;
  int Dpi = 150;
  QString Capa;
  // The paper in the user's hands: a sheet of disc labels and its discs.
  std::optional<TEtiquetaDisco> Etiqueta;
  std::optional<TPosicaoDisco> Posicao;
  // The printer's calibration for this run instead of the queue's own.
  std::optional<TPrinterCalibration> Ajuste;
  // Crop and fold marks, and the bleed; otherwise the settings'.
  bool Marcas = false, Sangria = false;
};

// --faixas SOURCE [--folha Tras|Interior] --save OUT.lrn FILE.lrn
struct TOrdemFaixas {
  QString Origem;
  QString Saida;
  QString Capa;
  int Folha = 3;  // folhaTras
};

struct TArgumentos {
  enum TModo { Erro, Ajuda, Versao, Despejar, Gravar, Faixas, Imprimir, Calibracao };
  TModo Modo = Erro;
  QString Motivo;  // Erro: why, for standard error (empty: the usage alone)
  QString Capa;    // Despejar, Gravar: the cover file
  QString Saida;   // Gravar: the file written
  TOrdemImpressao Impressao;  // Imprimir, and Calibracao (its output and --ajuste)
  TOrdemFaixas OrdemFaixas;
};

// --ajuste DX,DY,SX,SY: offsets in millimetres, scales in percent; nothing
// when malformed or beyond what a printer could be off by.
std::optional<TPrinterCalibration> LerAjuste(const QString& v);

// Reads the arguments (without the program's name).
TArgumentos LerArgumentos(const QStringList& args);

// The usage text --help prints (and bad usage after its reason).
QString TextoDeUso();

// The exit statuses.
inline constexpr int SaidaBem = 0;
inline constexpr int SaidaFalhou = 1;
inline constexpr int SaidaUsoErrado = 2;
