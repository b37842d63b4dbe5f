// SPDX-License-Identifier: GPL-3.0-or-later
// Printing a cover: the cover document copied into the three cover reports
// and printed (on a printer, into a PDF file) or previewed.  These are the
// commands behind the main window's "Imprimir" and "Prever Impressão" and
// behind lurns-batch's export; they show no window of their own (the
// window's side, with its dialogs, is printing/ComandosImpressao).
//
// The page numbers of a print stand for the three reports: 1 Interior and
// Frente side by side, 2 Trás, 3 the disc (CD).  Every sheet's objects are
// placed at their position on the sheet plus the sheet's origin on paper,
// in cover pixels (96 per inch, whatever the screen) converted to
// thousandths of a millimetre in one place (report/ppUtils), and each is
// clipped to its sheet as the editor clips it.
#pragma once

#include "document/Documento.h"
#include "document/EtiquetasDisco.h"
#include "platform/Classes.h"
#include "report/ppPrintr.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class TfrmReportCentroCD;
class TfrmReportFrenteCD;
class TfrmReportTrasCD;
class TPageExporter;
class TppPrintable;
class TppReport;

// ---------------------------------------------------------------------------
// Pages

inline constexpr int paginaFrente = 1;  // Interior and Frente
inline constexpr int paginaTras = 2;
inline constexpr int paginaCD = 3;
inline constexpr int NumeroPaginas = 3;

// The page a sheet prints on (Frente and Interior share page 1); 0 for a
// number that is no sheet.
int PaginaDaFolha(int folha);
// How the pages are named to the user: "Interior e Frente", "Trás", "CD".
QString NomePagina(int pagina);

// What the print dialog answers: every page, the page of the current
// sheet, or the pages from-to.
struct TEscolhaPaginas {
  enum TTipo { Todas, Seleccao, Intervalo };
  TTipo Tipo = Todas;
  int De = 1, Ate = NumeroPaginas;  // Intervalo
  int Folha = 0;                    // Seleccao: the sheet of the active tab
};
// The pages to print, in order: all three; the current sheet's page; for a
// range, 1-3, 1-2, 1-1, 2-3, 2-2 or 3-3 the pages from-to, and for any
// other pair none.
std::vector<int> PaginasEscolhidas(const TEscolhaPaginas& escolha);

// ---------------------------------------------------------------------------
// Geometry

// The disc's margins on paper: whole millimetres x 3.77 as pixels, halves
// to the even neighbour (1 -> 4, 10 -> 38, 13 -> 49, 50 -> 188, 100 -> 377).
int MargemEmPixels(int milimetros);
// The top-left corner of a sheet on its report's band, in cover pixels:
// Frente (529, 72), Interior (72, 72), Trás (72, 72), CD (48, 104) moved
// by the disc's margins in pixels.
QPoint OrigemFolha(int folha, int margemSuperiorPx = 0, int margemEsquerdaPx = 0);

// ---------------------------------------------------------------------------
// Printers

// The printer the program prints on: the one last chosen in printer setup
// or in the print dialog ("Default": the system's default printer), and
// the paper and paper source chosen in printer setup (empty: the cover's
// own A4 and the printer's default source).  The next print uses it.
struct TImpressora {
  QString Nome = QStringLiteral("Default");
  QString Papel;
  QString Tabuleiro;
};
TImpressora& ImpressoraActual();

// The name a printer goes by in the system's printer list, read afresh
// (printers added or removed since start-up count): the list's own
// spelling of the name, the printer of a CUPS instance ("queue/instance"
// prints on "queue"), "Default" as it is when there is a default printer;
// empty for a printer the system does not have.
QString ResolverImpressora(const QString& nome);

// ---------------------------------------------------------------------------
// The commands

struct TOpcoesCapa {
  // What callers have always given, in order; the rest set by name.
  TOpcoesCapa(bool comLombada = true, int superior = 0, int esquerda = 0)
      : ComLombada(comLombada), Superior(superior), Esquerda(esquerda) {}
  bool ComLombada = true;  // "Trás com lombada": the back picture over the spines too
  int Superior = 0;        // the disc's top margin, whole mm (0..100)
  int Esquerda = 0;        // the disc's left margin, whole mm (0..100)
  // The disc page on a sheet of disc labels instead of plain A4 (the
  // margins then do not apply), and which of its discs to fill.
  std::optional<TEtiquetaDisco> Etiqueta;
  TPosicaoDisco Posicao = TPosicaoDisco::Ambas;
  // Crop marks at the corners of each sheet's frame and fold marks at its
  // folds, outside the frame; with Sangria, background colours and
  // pictures reaching 3 mm beyond the cut (and the marks beyond that).
  // Off: the pages are exactly as without them.
  bool Marcas = false;
  bool Sangria = false;
};

struct TPedidoImpressao {
  std::vector<int> Paginas;  // in print order
  int Copias = 1;
  // Collated: the whole list `Copias` times; otherwise each page `Copias`
  // times in a row (1, 1, 1, 2, 2, 2, ...).
  bool Agrupar = false;
  // A PDF file of true-size pages, or (when empty) the printer named.
  QString Ficheiro;
  QString Impressora = QStringLiteral("Default");
  QString Papel;      // a paper of that printer; empty: the cover's own A4
  QString Tabuleiro;  // a paper source of that printer; empty: its default
  // Both sides of the sheet, as the driver settings' duplex (1 one side,
  // 2 turned on the short edge, 3 on the long edge); 0: as the reports
  // say (one side).
  int FrenteVerso = 0;
  // In colour, or in shades of grey (a printer's; a PDF file is in colour).
  bool Cores = true;
  // Options of the printer's queue by keyword, as its spooler takes them
  // (pages per sheet, the job's options, the driver's own).
  QMap<QString, QString> OpcoesFila;
  // A calibration for this print instead of the queue's own (a printer's
  // only; never a file's).
  std::optional<TPrinterCalibration> Ajuste;
  QString NomeDocumento = QStringLiteral("Lurns para CD");
  // The pages go to this exporter (PDF, PNG or SVG files) instead of the
  // file or the printer above; not owned.
  TPageExporter* Exportador = nullptr;
};

class TImpressaoCapa {
 public:
  // Makes the three report containers, and registers the classes printing
  // needs (the printer device, the rotated label) if nobody has yet.
  TImpressaoCapa();
  ~TImpressaoCapa();
  TImpressaoCapa(const TImpressaoCapa&) = delete;
  TImpressaoCapa& operator=(const TImpressaoCapa&) = delete;

  TfrmReportFrenteCD* frmReportFrenteCD() const { return frente_.get(); }
  TfrmReportTrasCD* frmReportTrasCD() const { return tras_.get(); }
  TfrmReportCentroCD* frmReportCentroCD() const { return centro_.get(); }
  // The report of a page (1..3), or null.
  TppReport* Relatorio(int pagina) const;

  // Removes what the previous command added to the reports: exactly the
  // components it listed, nothing of the designs.
  void LimparRelatorios();
  // Copy the sheets into the reports: backgrounds onto the fixed
  // components, one rotated label per text and one picture per picture
  // object (the picture the document holds; none for an object without
  // one), in the sheet's order, above the frames, clipped to the sheet.
  void PrepararFrente(const TDocumento& documento);
  void PrepararTras(const TDocumento& documento, bool comLombada);
  // The disc, its picture clipped to the circle with its outline over it,
  // and the CD sheet's objects, all moved by the margins (whole mm, held
  // to 0..100).
  void PrepararCD(const TDocumento& documento, int superior, int esquerda);
  // The disc on a sheet of labels: at the position(s) asked for, its
  // centre on the stock's centre, its circle the stock's outer circle, the
  // CD sheet's objects at true size about that centre, everything clipped
  // to the outer circle with nothing inside the hole.
  void PrepararEtiqueta(const TDocumento& documento, const TEtiquetaDisco& etiqueta,
                        TPosicaoDisco posicao);
  // The marks and the bleed of every page (after the three Preparar).
  void PrepararAcabamento(const TDocumento& documento, const TOpcoesCapa& opcoes);
  // LimparRelatorios and the three Preparar.
  void Preparar(const TDocumento& documento, const TOpcoesCapa& opcoes);

  // What the last Preparar added to the report of a page, in order.
  std::vector<TppPrintable*> Transitorios(int pagina) const;

  // One line for each page whose content reaches beyond the printable area
  // of its paper (inside the reports' margins), saying which; empty when
  // everything prints.
  QStringList ForaDaAreaImprimivel() const;

  // Prints the pages as one printer document (one PDF file; a spooler
  // job, or one per run of pages that need another paper or tray), through
  // one printer device.  False when the print was cancelled or refused
  // because one runs already; nothing is printed then.  Failures are
  // raised as EPrintError (nothing is printed either): no page to print, a
  // printer the system does not have, a printer that cannot print, a file
  // that cannot be written, a spooler that refuses the job.
  bool Imprimir(const TPedidoImpressao& pedido);
  // What the last Imprimir printed without: one line per object that could
  // not be printed ("Texto2 (Frente): why"); empty when all printed.
  const QStringList& NaoImpressos() const { return naoImpressos_; }

  // Whether this program has a preview window to show pages in.
  static bool PrevisaoDisponivel();
  // Shows the page of the sheet in the preview window (modal: returns when
  // it closes); a print from there is a job named `nomeDocumento`.  False
  // when there is no preview window, the sheet is none or a command runs
  // already.  Failures are raised as EPrintError.
  bool Prever(int folha, const QString& nomeDocumento = QStringLiteral("Lurns para CD"));

  // A print or preview is under way (a second one is refused).
  bool Ocupado() const { return ocupado_; }

 private:
  // Where a sheet's objects are clipped to (band thousandths): its frame,
  // or a label's circle without its hole.
  struct TRecorte {
    TppRect Rect;
    bool Elipse = false;
    TppRect Furo;
  };
  // The objects of a sheet at `origem` (cover pixels on the band) moved by
  // `deslocamento` (thousandths), clipped to the sheet or to `recorte`.
  // A black or coloured bar (band thousandths) added to a page, without
  // an outline.
  void Barra(int pagina, const TppRect& r, TColor cor, bool circulo = false);
  // Crop marks round `frame` and fold marks at `dobras` (x), `afastamento`
  // away from it.
  void Marcas(int pagina, const TppRect& frame, const std::vector<int>& dobras, int afastamento);
  // A background reaching over `area` behind everything of the page: its
  // colour, and its picture when it has one.
  void Sangria(int pagina, const TppRect& area, TColor cor, const TPicture& imagem, bool circulo = false);
  void Objectos(const TDocumento& d, int folha, int pagina, QPoint origem,
                const TRecorte* recorte = nullptr, QPoint deslocamento = {});
  // The one copy of a picture's bytes that every use of them prints, so
  // that a PDF holds each picture once.
  TPicture Unica(const TPicture& imagem);

  std::unique_ptr<TfrmReportFrenteCD> frente_;
  std::unique_ptr<TfrmReportTrasCD> tras_;
  std::unique_ptr<TfrmReportCentroCD> centro_;
  std::vector<TComponentRef<TppPrintable>> transitorios_[NumeroPaginas];
  QHash<QByteArray, TPicture> imagens_;
  QStringList naoImpressos_;
  bool ocupado_ = false;
};
