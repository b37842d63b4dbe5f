// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Lurns.h"

#include "components/OneInstance.h"
#include "document/TiposDeLetra.h"
#include "editor/uLurn.h"
#include "editor/uParametros.h"
#include "editor/uSobre.h"
#include "editor/uSplash.h"
#include "platform/Dialogs.h"
#include "platform/Types.h"
#include "reportforms/EngineDialogs.h"
#include "printing/PrintingClasses.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>

void PrepararAplicacao() {
  QApplication::setApplicationName(QStringLiteral("Lurns"));
  // The title is ours to keep: as Qt's display name it would be appended
  // to every window caption on a desktop ("Sobre — Lurns para CD").
  SetApplicationTitle(QStringLiteral("Lurns para CD"));
  QGuiApplication::setDesktopFileName(QStringLiteral("pt.lurns.Lurns"));
  QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lurns.svg")));
  PrepararTiposDeLetra();
}

int RunLurns(int argc, char** argv) {
  const bool semEcra = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                       qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  if (semEcra) {
    QTextStream(stderr) << "Lurns para CD precisa de um ambiente gráfico: não há nenhum ecrã disponível "
                           "(DISPLAY e WAYLAND_DISPLAY não estão definidos).\n"
                           "Lurns para CD needs a graphical desktop: no display is available.\n";
    return 1;
  }
  QApplication app(argc, argv);
  // Printers' own dialogs belong to the program's active window.
  InstallPrinterDialogHost();
  // The report engine's devices and its preview window: before any report
  // is read, printed or previewed; gone again when the program ends.
  const TPrintingClasses printingClasses;
  // The engine's print and cancel dialogs and the printers' options
  // dialog, likewise.
  RegisterEngineDialogs();
  struct TEngineDialogsScope {
    ~TEngineDialogsScope() { UnregisterEngineDialogs(); }
  } engineDialogs;
  // 1. The splash window first, painted at once.
  auto* splash = new TfrmSplash;
  frmSplash = splash;
  splash->show();
  splash->repaint();
  QApplication::processEvents();
  // 2. The application and its title.
  PrepararAplicacao();
  // 3. The forms, in their order: the main window (the main form), the
  // settings dialog, the about box, the report forms and the preview.
  TfrmLurn frmLurn(nullptr, true, QCoreApplication::arguments().mid(1));
  // A copy that found another one running has asked it to come to the
  // front (and to open the cover this copy was started with); it ends here.
  if (frmLurn.OutraCopiaAberta()) {
    delete frmSplash.data();
    return 0;
  }
  frmParametros = new TfrmParametros(&frmLurn);
  AboutBox = new TAboutBox(&frmLurn);
  // 4. The splash stays in front until the main window's first tick.
  frmLurn.show();
  if (frmSplash) frmSplash->raise();
  // 5. The event loop, until the main window closes.
  QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
  return app.exec();
}
