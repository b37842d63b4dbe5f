// lurns-batch: reads, dumps and writes cover files through the cover
// document, with the program's own reader, writer and text measuring, and
// without any window: it runs on a QGuiApplication (measuring text needs
// the fonts) and links none of the editor's code, so no widget can be made.
#include "document/FicheiroCapa.h"
#include "document/TiposDeLetra.h"
#include "report/ppPrnDev.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <cstdio>

namespace {

const char* const kUso =
    "Usage: lurns-batch --dump FILE.lrn\n"
    "       lurns-batch --save OUT.lrn FILE.lrn\n"
    "       lurns-batch --help\n"
    "\n"
    "Reads a Lurns para CD cover file without opening a window.\n"
    "\n"
    "  --dump FILE.lrn         write the cover as JSON on standard output: the four sheets\n"
    "                          in order (number, code, background colour as the stored\n"
    "                          32-bit integer, background picture file names; for \"CD\"\n"
    "                          the disc's fill style) and their objects in file order, each\n"
    "                          with name, kind (\"text\" or \"picture\"), left, top, width,\n"
    "                          height, and caption, angle and font {name, size, charset,\n"
    "                          colour, style} for text, file for pictures.\n"
    "  --save OUT.lrn FILE.lrn read FILE.lrn and write it again as OUT.lrn.\n"
    "\n"
    "Picture file names in a cover that are relative are taken from the cover file's folder;\n"
    "written into another folder, they are rewritten to name the same files.\n"
    "The messages the program shows in message boxes are written to standard error.\n"
    "Exit status: 0 the cover was read (also when some pictures were not found) and\n"
    "written as asked; 1 the file could not be read or written; 2 bad usage.\n"
    "Settings and the recent-file list of the program are not touched.\n";

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

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(Diagnostico);
  // No window is ever shown: run on the offscreen platform when there is
  // no display to talk to.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  // The report engine's devices this program prints on.
  RegisterDeviceClass<TppPrinterDevice>();
  const QStringList args = QCoreApplication::arguments().mid(1);
  QTextStream out(stdout), err(stderr);
  if (args.value(0) == "--help" || args.value(0) == "-h") {
    out << kUso;
    return 0;
  }
  const bool dump = args.size() == 2 && args[0] == "--dump";
  const bool save = args.size() == 3 && args[0] == "--save";
  if (!dump && !save) {
    err << kUso;
    return 2;
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
