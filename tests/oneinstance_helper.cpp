// SPDX-License-Identifier: GPL-3.0-or-later
// A small program for the single-instance tests: one copy of the program
// as far as the guard is concerned.  It builds a window, runs the guard the
// way the main window does, and reports on its standard output:
//   "second"              the guard found another copy (the copy then quits)
//   "running"             this copy runs ("running abandoned" when it took
//                         over the lock of a copy that died)
//   "activated minimised=N"  a later copy asked it to come to the front;
//                         N is whether the window is still minimised
//   "open FILE"           a later copy handed over the file it was started
//                         to open
// It ends cleanly when its standard input says "quit" or closes.
// Arguments: [--minimised] [--title TITLE] [--open FILE]
#include "components/OneInstance.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <QWidget>

#include <unistd.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  const int t = args.indexOf(QStringLiteral("--title"));
  QApplication::setApplicationDisplayName(t > 0 && t + 1 < args.size() ? args[t + 1]
                                                                      : QStringLiteral("Lurns para CD"));
  QTextStream out(stdout);
  auto say = [&out](const QString& s) {
    out << s << '\n';
    out.flush();
  };

  QWidget window;
  window.resize(200, 100);
  TOneInstance guard(&window);
  if (const int o = args.indexOf(QStringLiteral("--open")); o > 0 && o + 1 < args.size())
    guard.SetFileToOpen(args[o + 1]);
  QObject::connect(&guard, &TOneInstance::ActivateRequested, &window, [&] {
    say(QStringLiteral("activated minimised=%1").arg(window.isMinimized() ? 1 : 0));
  });
  QObject::connect(&guard, &TOneInstance::OpenRequested, &window,
                   [&](const QString& file) { say(QStringLiteral("open ") + file); });
  if (!guard.Loaded()) {
    say(QStringLiteral("second"));
    return app.exec();  // leaves at the quit the guard queued
  }
  if (args.contains(QStringLiteral("--minimised")))
    window.showMinimized();
  else
    window.show();
  say(guard.TookOverAbandoned() ? QStringLiteral("running abandoned") : QStringLiteral("running"));

  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
    char buf[64];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0 || QByteArray(buf, int(n)).contains("quit")) app.quit();
  });
  return app.exec();
}
