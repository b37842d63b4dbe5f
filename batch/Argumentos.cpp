// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/Argumentos.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>

namespace {

const char* const kUso =
    "Usage: lurns-batch --dump FILE.lrn\n"
    "       lurns-batch --save OUT.lrn FILE.lrn\n"
    "       lurns-batch --faixas SOURCE [--folha Tras|Interior] --save OUT.lrn FILE.lrn\n"
    "       lurns-batch -o OUT.pdf [PRINT OPTIONS] FILE.lrn\n"
    "       lurns-batch --printer NAME [PRINT OPTIONS] FILE.lrn\n"
    "       lurns-batch --png DIR [--dpi N] [PRINT OPTIONS] FILE.lrn\n"
    "       lurns-batch --svg DIR [--dpi N] [PRINT OPTIONS] FILE.lrn\n"
    "       lurns-batch --calibracao [--printer NAME | -o OUT.pdf] [--ajuste DX,DY,SX,SY]\n"
    "       lurns-batch --help | --version\n"
    "\n"
    "Reads a Lurns para CD cover file, and exports or prints it, without opening a window.\n"
    "\n"
    "  --dump FILE.lrn         write the cover as JSON on standard output: the four sheets\n"
    "                          in order (number, code, background colour as the stored\n"
    "                          32-bit integer, background picture file names; for \"CD\"\n"
    "                          the disc's fill style) and their objects in file order, each\n"
    "                          with name, kind (\"text\" or \"picture\"), left, top, width,\n"
    "                          height, and caption, angle and font {name, size, charset,\n"
    "                          colour, style} for text, file for pictures.\n"
    "  --save OUT.lrn FILE.lrn read FILE.lrn and write it again as OUT.lrn.\n"
    "  --faixas SOURCE         add the track list SOURCE to the cover before writing it:\n"
    "                          a folder of audio files (FLAC, Ogg Vorbis, Opus, MP3, M4A,\n"
    "                          WAV; titles, numbers and lengths from their tags), a CUE\n"
    "                          sheet (.cue) or a text file of one track a line, placed as\n"
    "                          the program's \"Importar faixas\" places it: lines such as\n"
    "                          \"1. Title \u2014 3:45\" in 10-point Arial, as texts of several\n"
    "                          lines in columns on the grid of the program's settings;\n"
    "                          --folha Tras (the default: the back inlay, between its\n"
    "                          spines) or Interior.  Files that cannot be read are listed\n"
    "                          on standard error and left out.\n"
    "  -o OUT.pdf              print the cover into a PDF file of true-size A4 pages, as\n"
    "                          the program's \"Imprimir\" prints it: page 1 Interior and\n"
    "                          Frente (landscape), page 2 Tras (landscape), page 3 the disc\n"
    "                          (portrait).\n"
    "  --printer NAME          print on the printer (CUPS queue) NAME instead, as one job.\n"
    "  --calibracao            print the printer's calibration page instead of a cover:\n"
    "                          rulers in mm along both edges, crosshairs at known places,\n"
    "                          the printer's name and the date, printed with the queue's\n"
    "                          calibration (or --ajuste's; --ajuste 0,0,100,100 prints\n"
    "                          it raw, for measuring).\n"
    "  --png DIR               write each page into DIR as a picture at true size,\n"
    "                          DIR/pagina-N.png for page N; --dpi N sets its pixels per\n"
    "                          inch (10 to 1200, default 150).\n"
    "  --svg DIR               write each page into DIR as an SVG drawing of its true size,\n"
    "                          DIR/pagina-N.svg for page N; --dpi N sets its user units\n"
    "                          per inch (10 to 1200, default 150).\n"
    "\n"
    "Print options:\n"
    "  --pages all             all three pages (the default);\n"
    "  --pages current:SHEET   the page that SHEET prints on: Frente or Interior page 1,\n"
    "                          Tras (or Trás) page 2, CD page 3;\n"
    "  --pages N-M             pages N to M: 1-3, 1-2, 1-1, 2-3, 2-2 or 3-3.\n"
    "  --copies N              N copies of each page, one after the other (1 to 999;\n"
    "                          not with --png or --svg).\n"
    "  --margins TOP,LEFT      the disc's top and left margins in whole millimetres (0 to\n"
    "                          100) for this run; otherwise the program's settings'.\n"
    "  --sem-lombada           the back picture between the spines only (as with \"Trás\n"
    "                          com lombada\" unchecked); otherwise over the spines too.\n"
    "  --etiqueta PART         the disc page on a sheet of self-adhesive disc labels (two\n"
    "                          discs to an A4 sheet): PART is the maker's part of one of\n"
    "                          the program's sheets (an unknown PART lists them); the\n"
    "                          disc is centred on the label, clipped to it, nothing in\n"
    "                          its hole.  Not with --margins.\n"
    "                          Otherwise the paper chosen in the program's settings.\n"
    "  --posicao 1|2|ambas     which disc of the label sheet to print: 1 (top), 2\n"
    "                          (bottom) or ambas (both, the default).\n"
    "  --ajuste DX,DY,SX,SY    with --printer: the printer's calibration for this run\n"
    "                          instead of the one kept for its queue: a point that\n"
    "                          belongs at (x, y) mm from the paper's top-left corner is\n"
    "                          printed at (DX + SX x, DY + SY y); DX, DY in mm (-20 to\n"
    "                          20), SX, SY in percent (90 to 110).\n"
    "  --marcas                crop marks at the corners of each sheet's frame and fold\n"
    "                          marks at its folds, outside the frame (otherwise as the\n"
    "                          program's settings say).\n"
    "  --sangria               the marks, and background colours and pictures reaching\n"
    "                          3 mm beyond the cut (the marks beyond that).\n"
    "\n"
    "Picture file names in a cover that are relative are taken from the cover file's folder;\n"
    "written into another folder, they are rewritten to name the same files.\n"
    "The messages the program shows in message boxes are written to standard error.\n"
    "Exit status: 0 the cover was read (also when some pictures were not found) and\n"
    "written, exported or printed as asked; 1 the file could not be read or written, or\n"
    "the print failed (nothing is written then); 2 bad usage.\n"
    "Settings and the recent-file list of the program are not changed.\n";

// An integer within [min, max], or nothing.
std::optional<int> Inteiro(const QString& s, int min, int max) {
  bool ok = false;
  const int v = s.toInt(&ok);
  if (!ok || v < min || v > max) return std::nullopt;
  return v;
}

std::optional<TEscolhaPaginas> Paginas(const QString& s) {
  TEscolhaPaginas e;
  if (s == QLatin1String("all")) return e;
  if (s.startsWith(QLatin1String("current:"))) {
    const QString sheet = s.mid(8);
    static const std::pair<const char*, int> sheets[] = {
        {"Frente", folhaFrente}, {"Interior", folhaInterior}, {"Tras", folhaTras}, {"Trás", folhaTras}, {"CD", folhaCD}};
    for (const auto& [name, folha] : sheets)
      if (sheet.compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0) {
        e.Tipo = TEscolhaPaginas::Seleccao;
        e.Folha = folha;
        return e;
      }
    return std::nullopt;
  }
  const QStringList range = s.split(QLatin1Char('-'));
  if (range.size() != 2) return std::nullopt;
  const auto from = Inteiro(range[0], 1, NumeroPaginas), to = Inteiro(range[1], 1, NumeroPaginas);
  if (!from || !to) return std::nullopt;
  e.Tipo = TEscolhaPaginas::Intervalo;
  e.De = *from;
  e.Ate = *to;
  // A pair the print dialog could not give chooses no page: bad input.
  if (PaginasEscolhidas(e).empty()) return std::nullopt;
  return e;
}


// The options of every mode, in one table: a new option is a line here
// and its reading in the mode that takes it.
struct TOpcao {
  QStringList Nomes;
  QString Valor;  // empty: a switch
};
const TOpcao kOpcoes[] = {
    {{"h", "help"}, {}},
    {{"v", "version"}, {}},
    {{"dump"}, "FILE.lrn"},
    {{"save"}, "OUT.lrn"},
    {{"faixas"}, "SOURCE"},
    {{"folha"}, "SHEET"},
    {{"o", "output"}, "OUT.pdf"},
    {{"printer"}, "NAME"},
    {{"png"}, "DIR"},
    {{"svg"}, "DIR"},
    {{"dpi"}, "N"},
    {{"pages"}, "PAGES"},
    {{"copies"}, "N"},
    {{"margins"}, "TOP,LEFT"},
    {{"sem-lombada"}, {}},
    {{"calibracao"}, {}},
    {{"etiqueta"}, "PART"},
    {{"posicao"}, "1|2|ambas"},
    {{"ajuste"}, "DX,DY,SX,SY"},
    {{"marcas"}, {}},
    {{"sangria"}, {}},
};

// The options of a print run; the outputs first.
const char* const kSaidas[] = {"o", "printer", "png", "svg"};
const char* const kOpcoesImpressao[] = {"o",       "printer",     "png",      "svg",     "dpi",
                                        "pages",   "copies",      "margins",  "sem-lombada",
                                        "etiqueta", "posicao",    "ajuste",   "marcas",  "sangria"};

const QString kAjusteErrado =
    QStringLiteral("--ajuste takes DX,DY,SX,SY: offsets in mm (-20 to 20), scales in % (90 to 110)");

TArgumentos Errado(const QString& motivo) {
  TArgumentos a;
  a.Modo = TArgumentos::Erro;
  a.Motivo = motivo;
  return a;
}

}  // namespace

std::optional<TPrinterCalibration> LerAjuste(const QString& v) {
  const QStringList f = v.split(QLatin1Char(','));
  if (f.size() != 4) return std::nullopt;
  double n[4];
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    n[i] = f[i].trimmed().toDouble(&ok);
    if (!ok) return std::nullopt;
  }
  const TPrinterCalibration c{n[0], n[1], n[2] / 100, n[3] / 100};
  if (!CalibrationIsSound(c)) return std::nullopt;
  return c;
}

QString TextoDeUso() { return QString::fromUtf8(kUso); }

TArgumentos LerArgumentos(const QStringList& args) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
  for (const TOpcao& o : kOpcoes)
    parser.addOption(o.Valor.isEmpty() ? QCommandLineOption(o.Nomes)
                                       : QCommandLineOption(o.Nomes, QString(), o.Valor));
  if (!parser.parse(QStringList{QStringLiteral("lurns-batch")} + args)) return Errado(parser.errorText());
  const QStringList ficheiros = parser.positionalArguments();
  // The options given, by their first name, in the table's order.
  QStringList dadas;
  for (const TOpcao& o : kOpcoes)
    if (parser.isSet(o.Nomes.first())) dadas << o.Nomes.first();
  auto soUma = [&](const QString& nome) { return parser.values(nome).size() <= 1; };
  auto alemDe = [&](const QStringList& permitidas) -> QString {
    for (const QString& d : dadas)
      if (!permitidas.contains(d)) return d;
    return {};
  };
  auto traco = [](const QString& nome) {
    return (nome.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + nome;
  };

  TArgumentos a;
  if (dadas.contains(QStringLiteral("h"))) {
    a.Modo = TArgumentos::Ajuda;
    return a;
  }
  if (dadas.contains(QStringLiteral("v"))) {
    a.Modo = TArgumentos::Versao;
    return a;
  }
  if (dadas.contains(QStringLiteral("faixas"))) {
    const QString outra = alemDe({QStringLiteral("faixas"), QStringLiteral("folha"), QStringLiteral("save")});
    if (!outra.isEmpty()) return Errado(QStringLiteral("unexpected argument ") + traco(outra));
    if (!soUma(QStringLiteral("faixas")) || !soUma(QStringLiteral("save")) || ficheiros.size() > 1)
      return Errado(QStringLiteral("unexpected argument ") + args.last());
    TOrdemFaixas& f = a.OrdemFaixas;
    if (parser.isSet(QStringLiteral("folha"))) {
      const QString folha = parser.value(QStringLiteral("folha"));
      if (folha.compare(QLatin1String("Tras"), Qt::CaseInsensitive) == 0 ||
          folha.compare(QString::fromUtf8("Trás"), Qt::CaseInsensitive) == 0)
        f.Folha = folhaTras;
      else if (folha.compare(QLatin1String("Interior"), Qt::CaseInsensitive) == 0)
        f.Folha = folhaInterior;
      else
        return Errado(QStringLiteral("--folha takes Tras or Interior"));
    }
    f.Origem = parser.value(QStringLiteral("faixas"));
    f.Saida = parser.value(QStringLiteral("save"));
    f.Capa = ficheiros.value(0);
    if (f.Origem.isEmpty() || f.Saida.isEmpty() || f.Capa.isEmpty())
      return Errado(QStringLiteral("--faixas needs SOURCE, --save OUT.lrn and the cover file"));
    a.Modo = TArgumentos::Faixas;
    return a;
  }
  if (dadas.contains(QStringLiteral("calibracao"))) {
    // --calibracao [--printer NAME | -o OUT.pdf] [--ajuste DX,DY,SX,SY]
    const QString outra =
        alemDe({QStringLiteral("calibracao"), QStringLiteral("o"), QStringLiteral("printer"), QStringLiteral("ajuste")});
    if (!outra.isEmpty()) return Errado(QStringLiteral("unexpected argument ") + traco(outra));
    if (!ficheiros.isEmpty()) return Errado(QStringLiteral("unexpected argument ") + ficheiros.first());
    TOrdemImpressao& o = a.Impressao;
    const int saidas = int(parser.values(QStringLiteral("o")).size() + parser.values(QStringLiteral("printer")).size());
    if (saidas != 1) return Errado(QStringLiteral("--calibracao needs --printer NAME or -o OUT.pdf"));
    const bool impressora = parser.isSet(QStringLiteral("printer"));
    o.Saida = impressora ? TOrdemImpressao::Impressora : TOrdemImpressao::Pdf;
    o.Destino = parser.value(impressora ? QStringLiteral("printer") : QStringLiteral("o"));
    if (o.Destino.isEmpty()) return Errado(traco(impressora ? QStringLiteral("printer") : QStringLiteral("o")) +
                                           QStringLiteral(" needs a value"));
    if (parser.isSet(QStringLiteral("ajuste"))) {
      o.Ajuste = LerAjuste(parser.value(QStringLiteral("ajuste")));
      if (!o.Ajuste) return Errado(kAjusteErrado);
      if (!impressora) return Errado(QStringLiteral("--ajuste goes with --printer: files are never calibrated"));
    }
    a.Modo = TArgumentos::Calibracao;
    return a;
  }
  if (dadas.contains(QStringLiteral("dump")) || dadas.contains(QStringLiteral("save"))) {
    const bool dump = dadas.contains(QStringLiteral("dump"));
    // --dump FILE.lrn and --save OUT.lrn FILE.lrn take nothing else.
    if (dadas.size() != 1 || !soUma(dadas.first()) || ficheiros.size() != (dump ? 0 : 1))
      return Errado({});
    a.Modo = dump ? TArgumentos::Despejar : TArgumentos::Gravar;
    a.Capa = dump ? parser.value(QStringLiteral("dump")) : ficheiros.first();
    a.Saida = dump ? QString() : parser.value(QStringLiteral("save"));
    return a;
  }
  if (dadas.isEmpty() && ficheiros.isEmpty()) return Errado({});

  // A print run.
  QStringList impressao;
  for (const char* o : kOpcoesImpressao) impressao << QString::fromLatin1(o);
  const QString outra = alemDe(impressao);
  if (!outra.isEmpty()) return Errado(QStringLiteral("unexpected argument ") + traco(outra));
  TOrdemImpressao& o = a.Impressao;
  int saidas = 0;
  for (const char* s : kSaidas) saidas += int(parser.values(QString::fromLatin1(s)).size());
  if (saidas > 1) return Errado(QStringLiteral("choose one of -o, --printer, --png and --svg"));
  static const std::pair<const char*, TOrdemImpressao::TSaida> saida[] = {
      {"o", TOrdemImpressao::Pdf},
      {"printer", TOrdemImpressao::Impressora},
      {"png", TOrdemImpressao::Png},
      {"svg", TOrdemImpressao::Svg}};
  for (const auto& [nome, tipo] : saida)
    if (parser.isSet(QString::fromLatin1(nome))) {
      o.Saida = tipo;
      o.Destino = parser.value(QString::fromLatin1(nome));
      if (o.Destino.isEmpty()) return Errado(traco(QString::fromLatin1(nome)) + QStringLiteral(" needs a value"));
    }
  for (const char* nome : {"dpi", "pages", "copies", "margins", "etiqueta", "posicao", "ajuste"})
    if (!soUma(QString::fromLatin1(nome)))
      return Errado(QStringLiteral("--%1 is given more than once").arg(QString::fromLatin1(nome)));
  if (parser.isSet(QStringLiteral("pages"))) {
    const auto p = Paginas(parser.value(QStringLiteral("pages")));
    if (!p) return Errado(QStringLiteral("--pages takes all, current:SHEET or N-M (1-3, 1-2, 1-1, 2-3, 2-2, 3-3)"));
    o.Paginas = *p;
  }
  const bool copias = parser.isSet(QStringLiteral("copies"));
  if (copias) {
    const auto n = Inteiro(parser.value(QStringLiteral("copies")), 1, 999);
    if (!n) return Errado(QStringLiteral("--copies takes a number from 1 to 999"));
    o.Copias = *n;
  }
  if (parser.isSet(QStringLiteral("margins"))) {
    const QStringList m = parser.value(QStringLiteral("margins")).split(QLatin1Char(','));
    const auto top = m.size() == 2 ? Inteiro(m[0].trimmed(), 0, 100) : std::nullopt;
    const auto left = m.size() == 2 ? Inteiro(m[1].trimmed(), 0, 100) : std::nullopt;
    if (!top || !left) return Errado(QStringLiteral("--margins takes TOP,LEFT, whole millimetres from 0 to 100"));
    o.ComMargens = true;
    o.Superior = *top;
    o.Esquerda = *left;
  }
  o.ComLombada = !parser.isSet(QStringLiteral("sem-lombada"));
  // The paper in the user's hands.
  if (parser.isSet(QStringLiteral("etiqueta"))) {
    o.Etiqueta = EtiquetaDisco(parser.value(QStringLiteral("etiqueta")));
    if (!o.Etiqueta) {
      QStringList partes;
      for (const TEtiquetaDisco& e : EtiquetasDisco()) partes << e.Referencia;
      return Errado(QStringLiteral("--etiqueta takes the part of a disc-label sheet: ") + partes.join(QStringLiteral(", ")));
    }
  }
  if (parser.isSet(QStringLiteral("posicao"))) {
    o.Posicao = PosicaoDisco(parser.value(QStringLiteral("posicao")));
    if (!o.Posicao) return Errado(QStringLiteral("--posicao takes 1, 2 or ambas"));
  }
  if (parser.isSet(QStringLiteral("ajuste"))) {
    o.Ajuste = LerAjuste(parser.value(QStringLiteral("ajuste")));
    if (!o.Ajuste) return Errado(kAjusteErrado);
  }
  o.Marcas = parser.isSet(QStringLiteral("marcas"));
  o.Sangria = parser.isSet(QStringLiteral("sangria"));
  if (o.Etiqueta && o.ComMargens)
    return Errado(QStringLiteral("--margins place the disc on plain A4 and do not go with --etiqueta"));
  const bool dpi = parser.isSet(QStringLiteral("dpi"));
  if (dpi) {
    const auto n = Inteiro(parser.value(QStringLiteral("dpi")), 10, 1200);
    if (!n) return Errado(QStringLiteral("--dpi takes a number from 10 to 1200"));
    o.Dpi = *n;
  }
  if (ficheiros.size() > 1) return Errado(QStringLiteral("unexpected argument ") + ficheiros[1]);
  if (o.Saida == TOrdemImpressao::Nenhuma) return Errado(QStringLiteral("choose -o, --printer, --png or --svg"));
  o.Capa = ficheiros.value(0);
  if (o.Capa.isEmpty()) return Errado(QStringLiteral("name the cover file"));
  const bool imagens = o.Saida == TOrdemImpressao::Png || o.Saida == TOrdemImpressao::Svg;
  if (dpi && !imagens) return Errado(QStringLiteral("--dpi goes with --png or --svg"));
  if (copias && imagens) return Errado(QStringLiteral("--copies does not go with --png or --svg"));
  if (o.Ajuste && o.Saida != TOrdemImpressao::Impressora)
    return Errado(QStringLiteral("--ajuste goes with --printer: files and pictures are never calibrated"));
  a.Modo = TArgumentos::Imprimir;
  return a;
}
