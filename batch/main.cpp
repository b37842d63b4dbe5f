// lurns-batch: reads, dumps and writes cover files through the cover
// document, with the program's own reader, writer and text measuring, and
// prints or exports them through the program's own printing commands
// (printing/ImpressaoCapa), without any window: it runs on a
// QGuiApplication (measuring and drawing text needs the fonts) and links
// none of the windowed code, so no widget can be made.
#include "document/FicheiroCapa.h"
#include "document/Registo.h"
#include "document/TiposDeLetra.h"
#include "platform/PngPrinterBackend.h"
#include "printing/BuilderControls.h"
#include "printing/ImpressaoCapa.h"
#include "printing/PaginaCalibracao.h"
#include "report/ppPrnDev.h"
#include "report/ppUtils.h"
#include "tracks/ColocacaoFaixas.h"
#include "tracks/Faixas.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

const char* const kUso =
    "Usage: lurns-batch --dump FILE.lrn\n"
    "       lurns-batch --save OUT.lrn FILE.lrn\n"
    "       lurns-batch --faixas SOURCE [--folha Tras|Interior] --save OUT.lrn FILE.lrn\n"
    "       lurns-batch -o OUT.pdf [PRINT OPTIONS] FILE.lrn\n"
    "       lurns-batch --printer NAME [PRINT OPTIONS] FILE.lrn\n"
    "       lurns-batch --png DIR [--dpi N] [PRINT OPTIONS] FILE.lrn\n"
    "       lurns-batch --calibracao [--printer NAME | -o OUT.pdf] [--ajuste DX,DY,SX,SY]\n"
    "       lurns-batch --help\n"
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
    "\n"
    "Print options:\n"
    "  --pages all             all three pages (the default);\n"
    "  --pages current:SHEET   the page that SHEET prints on: Frente or Interior page 1,\n"
    "                          Tras (or Trás) page 2, CD page 3;\n"
    "  --pages N-M             pages N to M: 1-3, 1-2, 1-1, 2-3, 2-2 or 3-3.\n"
    "  --copies N              N copies of each page, one after the other (1 to 999;\n"
    "                          not with --png).\n"
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

void Imprimir(const QList<TMensagem>& mensagens) {
  QTextStream err(stderr);
  for (const TMensagem& m : mensagens) err << m.Texto << '\n';
}

QString NomeEstilo(TDSShapeFill f) {
  static const char* const nomes[] = {"tfsNone",        "tfsHGradient",    "tfsVGradient", "tfsImageTile",
                                      "tfsImageCenter", "tfsImageStretch", "tfsSolid"};
  const int i = int(f);
  return i >= 0 && i < 7 ? QString::fromLatin1(nomes[i]) : QString::number(i);
}

QJsonObject Objecto(const TObjecto& o) {
  QJsonObject j;
  j["name"] = o.Nome;
  if (o.EhTexto()) {
    j["kind"] = "text";
    j["caption"] = o.Texto;
    j["angle"] = o.Angulo;
    const TFonteDoc& f = o.Fonte;
    j["font"] = QJsonObject{{"name", f.Nome},
                            {"size", f.Tamanho},
                            {"charset", int(f.Charset)},
                            {"colour", qint64(f.Cor)},
                            {"style", int(f.Estilo)}};
  } else {
    j["kind"] = "picture";
    j["file"] = o.Imagem.Ficheiro;
  }
  j["left"] = o.Left;
  j["top"] = o.Top;
  j["width"] = o.Width;
  j["height"] = o.Height;
  return j;
}

QJsonDocument Despejar(const TDocumento& d) {
  QJsonArray folhas;
  for (int n = folhaFrente; n <= folhaCD; ++n) {
    QJsonObject s;
    s["number"] = n;
    s["code"] = CodigoFolha(n);
    s["colour"] = qint64(d.Cor(n));
    switch (n) {
      case folhaFrente: s["picture"] = d.Fundo(fundoFrente).Ficheiro; break;
      case folhaInterior: s["picture"] = d.Fundo(fundoInterior).Ficheiro; break;
      case folhaTras:
        s["picture"] = d.Fundo(fundoTras).Ficheiro;
        s["pictureBetweenSpines"] = d.Fundo(fundoTrasLombada).Ficheiro;
        break;
      case folhaCD:
        s["fillStyle"] = NomeEstilo(d.PreenchimentoDisco());
        s["picture"] = d.Fundo(fundoCD).Ficheiro;
        break;
    }
    QJsonArray objectos;
    for (const TObjecto& o : d.Objectos(n)) objectos.append(Objecto(o));
    s["objects"] = objectos;
    folhas.append(s);
  }
  return QJsonDocument(QJsonObject{{"sheets", folhas}});
}

// Qt's own diagnostics would mix with the program's messages on standard
// error; they are shown only when asked for.
void Diagnostico(QtMsgType type, const QMessageLogContext&, const QString& msg) {
  if (type == QtFatalMsg || qEnvironmentVariableIsSet("LURNS_DEBUG")) QTextStream(stderr) << msg << '\n';
}

// What a print run asks for.
struct TOrdemImpressao {
  enum TSaida { Nenhuma, Pdf, Impressora, Png } Saida = Nenhuma;
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

// --ajuste DX,DY,SX,SY: offsets in millimetres, scales in percent.
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

// --- The options of the paper in the user's hands (disc labels).  Kept
// together, apart from the other options' parsing.

// When `a` is one of these options: takes its value, sets it in `o`, and
// answers true (with `erro` set when the value is bad).  False for any
// other argument.
bool OpcaoDoPapel(const QString& a, const std::function<std::optional<QString>()>& value, TOrdemImpressao& o,
                  QString& erro) {
  if (a == QLatin1String("--etiqueta")) {
    const auto v = value();
    const auto e = v ? EtiquetaDisco(*v) : std::nullopt;
    if (!e) {
      QStringList partes;
      for (const TEtiquetaDisco& s : EtiquetasDisco()) partes << s.Referencia;
      erro = QStringLiteral("--etiqueta takes the part of a disc-label sheet: ") + partes.join(QStringLiteral(", "));
    } else {
      o.Etiqueta = e;
    }
    return true;
  }
  if (a == QLatin1String("--marcas")) {
    o.Marcas = true;
    return true;
  }
  if (a == QLatin1String("--sangria")) {
    o.Sangria = true;
    return true;
  }
  if (a == QLatin1String("--ajuste")) {
    const auto v = value();
    o.Ajuste = v ? LerAjuste(*v) : std::nullopt;
    if (!o.Ajuste)
      erro = QStringLiteral("--ajuste takes DX,DY,SX,SY: offsets in mm (-20 to 20), scales in % (90 to 110)");
    return true;
  }
  if (a == QLatin1String("--posicao")) {
    const auto v = value();
    o.Posicao = v ? PosicaoDisco(*v) : std::nullopt;
    if (!o.Posicao) erro = QStringLiteral("--posicao takes 1, 2 or ambas");
    return true;
  }
  return false;
}

// The paper options that cannot go together; false and why.
bool PapelCoerente(const TOrdemImpressao& o, QString& erro) {
  if (o.Ajuste && o.Saida != TOrdemImpressao::Impressora) {
    erro = QStringLiteral("--ajuste goes with --printer: files and pictures are never calibrated");
    return false;
  }
  if (o.Etiqueta && o.ComMargens) {
    erro = QStringLiteral("--margins place the disc on plain A4 and do not go with --etiqueta");
    return false;
  }
  return true;
}

// The disc page's paper of a run: the stock asked for, else the settings'
// paper (read, never written); a position asked for on plain A4 is an
// error.
bool PapelDaOrdem(const TOrdemImpressao& o, TOpcoesCapa& opcoes, QString& erro) {
  if (o.Etiqueta) {
    opcoes.Etiqueta = o.Etiqueta;
  } else if (!o.ComMargens) {
    auto registo = AbrirRegisto();
    opcoes.Etiqueta = LerPapelDisco(*registo).Stock();
  }
  if (o.Posicao && !opcoes.Etiqueta) {
    erro = QStringLiteral("--posicao needs a sheet of disc labels (--etiqueta PART, or one chosen in the settings)");
    return false;
  }
  if (o.Posicao) opcoes.Posicao = *o.Posicao;
  // Marks and bleed: asked for, else as the settings have them.
  auto registo = AbrirRegisto();
  opcoes.Marcas = o.Marcas || o.Sangria || LerInteiroRegisto(*registo, "Marcas", 0) != 0;
  opcoes.Sangria = opcoes.Marcas && (o.Sangria || (!o.Marcas && LerInteiroRegisto(*registo, "Sangria", 0) != 0));
  return true;
}

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

// The print run the arguments ask for; nothing (and why) when they are
// not a print run, or not a good one.
std::optional<TOrdemImpressao> LerOrdem(const QStringList& args, QString& erro) {
  TOrdemImpressao o;
  bool dpi = false, copias = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    auto value = [&]() -> std::optional<QString> {
      if (i + 1 >= args.size()) {
        erro = a + QStringLiteral(" needs a value");
        return std::nullopt;
      }
      return args[++i];
    };
    auto output = [&](TOrdemImpressao::TSaida saida) {
      if (o.Saida != TOrdemImpressao::Nenhuma) {
        erro = QStringLiteral("choose one of -o, --printer and --png");
        return false;
      }
      const auto v = value();
      if (!v || v->isEmpty()) {
        if (erro.isEmpty()) erro = a + QStringLiteral(" needs a value");
        return false;
      }
      o.Saida = saida;
      o.Destino = *v;
      return true;
    };
    if (a == QLatin1String("-o") || a == QLatin1String("--output")) {
      if (!output(TOrdemImpressao::Pdf)) return std::nullopt;
    } else if (a == QLatin1String("--printer")) {
      if (!output(TOrdemImpressao::Impressora)) return std::nullopt;
    } else if (a == QLatin1String("--png")) {
      if (!output(TOrdemImpressao::Png)) return std::nullopt;
    } else if (a == QLatin1String("--pages")) {
      const auto v = value();
      const auto p = v ? Paginas(*v) : std::nullopt;
      if (!p) {
        if (erro.isEmpty()) erro = QStringLiteral("--pages takes all, current:SHEET or N-M (1-3, 1-2, 1-1, 2-3, 2-2, 3-3)");
        return std::nullopt;
      }
      o.Paginas = *p;
    } else if (a == QLatin1String("--copies")) {
      const auto v = value();
      const auto n = v ? Inteiro(*v, 1, 999) : std::nullopt;
      if (!n) {
        if (erro.isEmpty()) erro = QStringLiteral("--copies takes a number from 1 to 999");
        return std::nullopt;
      }
      o.Copias = *n;
      copias = true;
    } else if (a == QLatin1String("--margins")) {
      const auto v = value();
      const QStringList m = v ? v->split(QLatin1Char(',')) : QStringList();
      const auto top = m.size() == 2 ? Inteiro(m[0].trimmed(), 0, 100) : std::nullopt;
      const auto left = m.size() == 2 ? Inteiro(m[1].trimmed(), 0, 100) : std::nullopt;
      if (!top || !left) {
        if (erro.isEmpty()) erro = QStringLiteral("--margins takes TOP,LEFT, whole millimetres from 0 to 100");
        return std::nullopt;
      }
      o.ComMargens = true;
      o.Superior = *top;
      o.Esquerda = *left;
    } else if (OpcaoDoPapel(a, value, o, erro)) {
      if (!erro.isEmpty()) return std::nullopt;
    } else if (a == QLatin1String("--sem-lombada")) {
      o.ComLombada = false;
    } else if (a == QLatin1String("--dpi")) {
      const auto v = value();
      const auto n = v ? Inteiro(*v, 10, 1200) : std::nullopt;
      if (!n) {
        if (erro.isEmpty()) erro = QStringLiteral("--dpi takes a number from 10 to 1200");
        return std::nullopt;
      }
      o.Dpi = *n;
      dpi = true;
    } else if (a.startsWith(QLatin1Char('-')) || !o.Capa.isEmpty()) {
      erro = QStringLiteral("unexpected argument ") + a;
      return std::nullopt;
    } else {
      o.Capa = a;
    }
  }
  if (o.Saida == TOrdemImpressao::Nenhuma) {
    erro = QStringLiteral("choose -o, --printer or --png");
    return std::nullopt;
  }
  if (o.Capa.isEmpty()) {
    erro = QStringLiteral("name the cover file");
    return std::nullopt;
  }
  if (dpi && o.Saida != TOrdemImpressao::Png) {
    erro = QStringLiteral("--dpi goes with --png");
    return std::nullopt;
  }
  if (copias && o.Saida == TOrdemImpressao::Png) {
    erro = QStringLiteral("--copies does not go with --png");
    return std::nullopt;
  }
  if (!PapelCoerente(o, erro)) return std::nullopt;
  return o;
}

// Prints or exports the cover through the same commands as the program's
// window; the exit status.
int ImprimirCapa(const TOrdemImpressao& o) {
  QTextStream err(stderr);
  PrepararTiposDeLetra();
  const TLeituraCapa lida = LerCapa(o.Capa);
  Imprimir(lida.Mensagens);
  if (!lida.Lido) return 1;  // nothing is written

  TOpcoesCapa opcoes;
  opcoes.ComLombada = o.ComLombada;
  if (o.ComMargens) {
    opcoes.Superior = o.Superior;
    opcoes.Esquerda = o.Esquerda;
  } else {
    // The program's own margins, read and never written.
    auto registo = AbrirRegisto();
    opcoes.Superior = int(std::uint16_t(LerInteiroRegisto(*registo, "Superior", 0)));
    opcoes.Esquerda = int(std::uint16_t(LerInteiroRegisto(*registo, "Esquerda", 0)));
  }
  if (QString erro; !PapelDaOrdem(o, opcoes, erro)) {
    err << "lurns-batch: " << erro << '\n';
    return 2;
  }
  TPedidoImpressao pedido;
  pedido.Paginas = PaginasEscolhidas(o.Paginas);
  pedido.Copias = o.Copias;
  pedido.Ajuste = o.Ajuste;
  pedido.NomeDocumento = QStringLiteral("Lurns para CD - ") + QFileInfo(o.Capa).fileName();
  switch (o.Saida) {
    case TOrdemImpressao::Pdf: pedido.Ficheiro = QFileInfo(o.Destino).absoluteFilePath(); break;
    case TOrdemImpressao::Impressora: {
      pedido.Impressora = ResolverImpressora(o.Destino);
      if (pedido.Impressora.isEmpty()) {
        err << QStringLiteral("A impressora «%1» não está instalada.").arg(o.Destino) << '\n';
        return 1;
      }
      break;
    }
    case TOrdemImpressao::Png: {
      const QDir dir(o.Destino);
      if (!dir.exists() && !QDir().mkpath(dir.absolutePath())) {
        err << QStringLiteral("Não foi possível criar a pasta %1.").arg(o.Destino) << '\n';
        return 1;
      }
      QStringList names;
      for (int p : pedido.Paginas) names << dir.absoluteFilePath(QStringLiteral("pagina-%1.png").arg(p));
      const QString printer = QStringLiteral("Lurns PNG");
      SetPrinterBackend(std::make_unique<TPngPrinterBackend>(printer, names, o.Dpi));
      ResetPrinterList();
      pedido.Impressora = printer;
      break;
    }
    case TOrdemImpressao::Nenhuma: return 2;
  }

  TImpressaoCapa capa;
  capa.Preparar(lida.Documento, opcoes);
  for (const QString& aviso : capa.ForaDaAreaImprimivel()) err << aviso << '\n';
  try {
    if (!capa.Imprimir(pedido)) {
      err << QStringLiteral("A impressão foi cancelada.") << '\n';
      return 1;
    }
  } catch (const EPrintError& e) {
    err << e.Message << '\n';
    return 1;
  }
  // Printed without some of its objects: not what was asked.
  if (!capa.NaoImpressos().isEmpty()) {
    err << PrintProblemsMessage(capa.NaoImpressos()) << '\n';
    return 1;
  }
  return 0;
}

// --calibracao [--printer NAME | -o OUT.pdf] [--ajuste DX,DY,SX,SY]: the
// printer's calibration page; the exit status.
int Calibracao(const QStringList& args) {
  QTextStream err(stderr);
  TOrdemImpressao o;
  QString erro;
  for (int i = 0; i < args.size() && erro.isEmpty(); ++i) {
    const QString& a = args[i];
    auto value = [&]() -> std::optional<QString> {
      if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
        erro = a + QStringLiteral(" needs a value");
        return std::nullopt;
      }
      return args[++i];
    };
    if (a == QLatin1String("--calibracao")) continue;
    if ((a == QLatin1String("-o") || a == QLatin1String("--output") || a == QLatin1String("--printer")) &&
        o.Saida == TOrdemImpressao::Nenhuma) {
      const auto v = value();
      if (!v) break;
      o.Saida = a == QLatin1String("--printer") ? TOrdemImpressao::Impressora : TOrdemImpressao::Pdf;
      o.Destino = *v;
    } else if (a != QLatin1String("--ajuste") || !OpcaoDoPapel(a, value, o, erro)) {
      erro = QStringLiteral("unexpected argument ") + a;
    }
  }
  if (erro.isEmpty() && o.Saida == TOrdemImpressao::Nenhuma)
    erro = QStringLiteral("--calibracao needs --printer NAME or -o OUT.pdf");
  if (erro.isEmpty() && o.Ajuste && o.Saida != TOrdemImpressao::Impressora)
    erro = QStringLiteral("--ajuste goes with --printer: files are never calibrated");
  if (!erro.isEmpty()) {
    err << "lurns-batch: " << erro << '\n' << kUso;
    return 2;
  }
  PrepararTiposDeLetra();
  try {
    const QString ficheiro = o.Saida == TOrdemImpressao::Pdf ? QFileInfo(o.Destino).absoluteFilePath() : QString();
    if (!ImprimirCalibracao(o.Saida == TOrdemImpressao::Impressora ? o.Destino : QString(), ficheiro, o.Ajuste)) {
      err << QStringLiteral("A impressão foi cancelada.") << '\n';
      return 1;
    }
  } catch (const EPrintError& e) {
    err << e.Message << '\n';
    return 1;
  }
  return 0;
}

// --faixas SOURCE [--folha Tras|Interior] --save OUT.lrn FILE.lrn: the
// track list placed on the cover as the window's "Importar faixas" places
// it with its first choices; the exit status.
int Faixas(const QStringList& args) {
  QTextStream err(stderr);
  QString origem, saida, capa;
  TColocacaoFaixas c;
  c.Fonte.Nome = QStringLiteral("Arial");
  c.Fonte.Tamanho = 10;
  c.Fonte.Cor = clBlack;
  QString erro;
  for (int i = 0; i < args.size() && erro.isEmpty(); ++i) {
    const QString& a = args[i];
    const bool temValor = i + 1 < args.size();
    if (a == QLatin1String("--faixas") && temValor && origem.isEmpty()) {
      origem = args[++i];
    } else if (a == QLatin1String("--save") && temValor && saida.isEmpty()) {
      saida = args[++i];
    } else if (a == QLatin1String("--folha") && temValor) {
      const QString f = args[++i];
      if (f.compare(QLatin1String("Tras"), Qt::CaseInsensitive) == 0 ||
          f.compare(QString::fromUtf8("Trás"), Qt::CaseInsensitive) == 0)
        c.Folha = folhaTras;
      else if (f.compare(QLatin1String("Interior"), Qt::CaseInsensitive) == 0)
        c.Folha = folhaInterior;
      else
        erro = QStringLiteral("--folha takes Tras or Interior");
    } else if (!a.startsWith(QLatin1Char('-')) && capa.isEmpty()) {
      capa = a;
    } else {
      erro = QStringLiteral("unexpected argument ") + a;
    }
  }
  if (erro.isEmpty() && (origem.isEmpty() || saida.isEmpty() || capa.isEmpty()))
    erro = QStringLiteral("--faixas needs SOURCE, --save OUT.lrn and the cover file");
  if (!erro.isEmpty()) {
    err << "lurns-batch: " << erro << '\n' << kUso;
    return 2;
  }
  PrepararTiposDeLetra();
  TLeituraCapa lida = LerCapa(capa);
  Imprimir(lida.Mensagens);
  if (!lida.Lido) return 1;
  const TLeituraFaixas faixas = LerFaixas(origem);
  for (const QString& i : faixas.Ignorados) err << QStringLiteral("Ficheiro ignorado: ") << i << '\n';
  if (!faixas.Lida()) {
    err << faixas.Erro << '\n';
    return 1;
  }
  {
    auto registo = AbrirRegisto();
    c.GrelhaX = int(std::clamp<qint64>(LerInteiroRegisto(*registo, "GrelhaX", 8), 1, 100));
    c.GrelhaY = int(std::clamp<qint64>(LerInteiroRegisto(*registo, "GrelhaY", 8), 1, 100));
  }
  const TTextosColocados colocados =
      ColocarFaixas(LinhasDeFaixas(faixas.Lista, QString::fromUtf8(FormatoFaixaPadrao)), c);
  if (!colocados.Erro.isEmpty()) {
    err << colocados.Erro << '\n';
    return 1;
  }
  for (const TObjecto& t : colocados.Textos) {
    const std::uint64_t id = lida.Documento.Adicionar(c.Folha, t);
    lida.Documento.DefinirNome(id, lida.Documento.NovoNome(QStringLiteral("Texto"), c.Folha));
  }
  const TGravacaoCapa gravada = GravarCapa(lida.Documento, saida);
  Imprimir(gravada.Mensagens);
  return gravada.Fim == TFimGravacao::Gravado ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(Diagnostico);
  // No window is ever shown: run on the offscreen platform when there is
  // no display to talk to.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  // The report engine's devices and components this program prints with.
  RegisterDeviceClass<TppPrinterDevice>();
  RegisterBuilderControls();
  // Nothing to keep responsive while pages are made: no window.
  SetProcessMessagesHook({});
  const QStringList args = QCoreApplication::arguments().mid(1);
  QTextStream out(stdout), err(stderr);
  if (args.value(0) == "--help" || args.value(0) == "-h") {
    out << kUso;
    return 0;
  }
  if (args.value(0) == "--faixas") return Faixas(args);
  if (args.contains(QStringLiteral("--calibracao"))) return Calibracao(args);
  const bool dump = args.size() == 2 && args[0] == "--dump";
  const bool save = args.size() == 3 && args[0] == "--save";
  if (!dump && !save) {
    QString erro;
    const auto ordem = args.isEmpty() || args[0] == "--dump" || args[0] == "--save"
                           ? std::nullopt
                           : LerOrdem(args, erro);
    if (!ordem) {
      if (!erro.isEmpty()) err << "lurns-batch: " << erro << '\n';
      err << kUso;
      return 2;
    }
    return ImprimirCapa(*ordem);
  }
  PrepararTiposDeLetra();
  const TLeituraCapa lida = LerCapa(args.last());
  Imprimir(lida.Mensagens);
  if (!lida.Lido) return 1;
  if (dump) {
    out << Despejar(lida.Documento).toJson(QJsonDocument::Indented);
    return 0;
  }
  const TGravacaoCapa gravada = GravarCapa(lida.Documento, args[1]);
  Imprimir(gravada.Mensagens);
  return gravada.Fim == TFimGravacao::Gravado ? 0 : 1;
}
