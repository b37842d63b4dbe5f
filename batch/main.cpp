// lurns-batch: reads cover files without opening a window, with the same
// reader, writer and document controls as the program.
#include "components/ProCtrls.h"
#include "components/dsshape.h"
#include "editor/uLurn.h"
#include "platform/Dialogs.h"
#include "report/ppPrnDev.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QTimer>
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
    "The messages the program shows in message boxes are written to standard error.\n"
    "Exit status: 0 the cover was read (also when some pictures were not found) and\n"
    "written as asked; 1 the file could not be read or written; 2 bad usage.\n"
    "Settings and the recent-file list of the program are not touched.\n";

// Messages go to standard error; questions and file dialogs answer as a
// cancel would, since nobody is there to answer them.
class StderrDialogs : public TDialogLayer {
 public:
  void ShowMessage(const QString& text) override { Print(text); }
  void Warning(const QString& text) override { Print(text); }
  TModalResult ConfirmYesNoCancel(const QString& text) override {
    Print(text);
    return TModalResult::Cancel;
  }
  std::optional<QString> OpenFile(const TFileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> SaveFile(const TFileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> OpenPicture(const QString&) override { return std::nullopt; }
  std::optional<TFont> ChooseFont(const TFont&) override { return std::nullopt; }
  std::optional<TColor> ChooseColor(TColor) override { return std::nullopt; }
  QString InputBox(const QString&, const QString&, const QString& value) override { return value; }
  bool Print(TPrintDialogSpec&) override { return false; }
  bool PrinterSetup() override { return false; }

 private:
  static void Print(const QString& text) { QTextStream(stderr) << text << '\n'; }
};

QString NomeEstilo(TDSShapeFill f) {
  static const char* const nomes[] = {"tfsNone",        "tfsHGradient",    "tfsVGradient", "tfsImageTile",
                                      "tfsImageCenter", "tfsImageStretch", "tfsSolid"};
  const int i = int(f);
  return i >= 0 && i < 7 ? QString::fromLatin1(nomes[i]) : QString::number(i);
}

QJsonObject Objecto(QObject* c) {
  QJsonObject o;
  auto* w = static_cast<QWidget*>(c);
  o["name"] = c->objectName();
  if (auto* t = qobject_cast<TProLabel*>(c)) {
    o["kind"] = "text";
    o["caption"] = t->Caption();
    o["angle"] = t->Angle();
    const TFont& f = t->Font();
    o["font"] = QJsonObject{{"name", f.Name},
                            {"size", f.Size()},
                            {"charset", int(f.Charset)},
                            {"colour", qint64(f.Color)},
                            {"style", int(f.Style)}};
  } else if (auto* i = qobject_cast<TProImage*>(c)) {
    o["kind"] = "picture";
    o["file"] = i->Hint();
  }
  o["left"] = w->x();
  o["top"] = w->y();
  o["width"] = w->width();
  o["height"] = w->height();
  return o;
}

QJsonDocument Despejar(const TfrmLurn& f) {
  QJsonArray folhas;
  const char* const codigos[] = {"Frente", "Interior", "Tras", "CD"};
  for (int n = folhaFrente; n <= folhaCD; ++n) {
    QJsonObject s;
    s["number"] = n;
    s["code"] = codigos[n - 1];
    switch (n) {
      case folhaFrente:
        s["colour"] = qint64(f.corFrente->BrushColor());
        s["picture"] = f.imgFrente->Hint();
        break;
      case folhaInterior:
        s["colour"] = qint64(f.corInterior->BrushColor());
        s["picture"] = f.imgInterior->Hint();
        break;
      case folhaTras:
        s["colour"] = qint64(f.corTras->BrushColor());
        s["picture"] = f.imgTras->Hint();
        s["pictureBetweenSpines"] = f.imgTrasLombada->Hint();
        break;
      case folhaCD:
        s["colour"] = qint64(f.centroCD->FillColor());
        s["fillStyle"] = NomeEstilo(f.centroCD->FillStyle());
        s["picture"] = f.centroCD->Hint();
        break;
    }
    QJsonArray objectos;
    const TPanel* p = f.Painel(n);
    for (int i = 0; i < p->Owned.ComponentCount(); ++i) objectos.append(Objecto(p->Owned.Components(i)));
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
  QApplication app(argc, argv);
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
  SetDialogs(std::make_unique<StderrDialogs>());
  TfrmLurn frm(nullptr, false);
  frm.usarRecentes = false;
  frm.temporizador->stop();
  if (!frm.AbrirFicheiro(args.last())) return 1;
  if (dump) {
    out << Despejar(frm).toJson(QJsonDocument::Indented);
    return 0;
  }
  return frm.GravarFicheiro(args[1]) ? 0 : 1;
}
