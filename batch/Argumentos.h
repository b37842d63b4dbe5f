// lurns-batch's command line: what each run asks for, read with
// QCommandLineParser from one table of options, apart from the program so
// that it can be tested without running it.  Bad usage (exit status 2) is
// a TArgumentos with Modo Erro and the reason.
#pragma once

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
};

// --faixas SOURCE [--folha Tras|Interior] --save OUT.lrn FILE.lrn
struct TOrdemFaixas {
  QString Origem;
  QString Saida;
  QString Capa;
  int Folha = 3;  // folhaTras
};

struct TArgumentos {
  enum TModo { Erro, Ajuda, Versao, Despejar, Gravar, Faixas, Imprimir };
  TModo Modo = Erro;
  QString Motivo;  // Erro: why, for standard error (empty: the usage alone)
  QString Capa;    // Despejar, Gravar: the cover file
  QString Saida;   // Gravar: the file written
  TOrdemImpressao Impressao;
  TOrdemFaixas OrdemFaixas;
};

// Reads the arguments (without the program's name).
TArgumentos LerArgumentos(const QStringList& args);

// The usage text --help prints (and bad usage after its reason).
QString TextoDeUso();

// The exit statuses.
inline constexpr int SaidaBem = 0;
inline constexpr int SaidaFalhou = 1;
inline constexpr int SaidaUsoErrado = 2;
