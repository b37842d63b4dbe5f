// Writes and reads a cover with 1,000 objects (500 texts, 500 pictures)
// and prints how long each takes.  Runs without a display.
#include "components/ProCtrls.h"
#include "editor/uLurn.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  QImage img(64, 64, QImage::Format_RGB32);
  img.fill(Qt::darkCyan);

  // Times writing and reading a cover of 500 texts and 500 pictures, the
  // pictures naming `distintas` different files.
  auto medir = [&](int distintas) {
    QStringList ficheiros;
    for (int i = 0; i < distintas; ++i) {
      ficheiros << dir.filePath(QStringLiteral("p%1.png").arg(i));
      img.save(ficheiros.last());
    }
    TfrmLurn w;
    w.usarRecentes = false;
    const int folhas[] = {folhaFrente, folhaInterior, folhaTras, folhaCD};
    for (int i = 0; i < 1000; ++i) {
      TPanel* p = w.Painel(folhas[i % 4]);
      if (i % 2 == 0) {
        auto* t = new TProLabel(p);
        p->Owned.InsertComponent(t);
        t->SetCaption(QStringLiteral("Faixa %1").arg(i));
        t->move(i % 400, i % 300);
      } else {
        auto* im = new TProImage(p);
        p->Owned.InsertComponent(im);
        im->SetHint(ficheiros[(i / 2) % distintas]);
        im->setGeometry(i % 400, i % 300, 50, 50);
      }
    }
    const QString file = dir.filePath("grande.lrn");
    std::vector<double> escrita, leitura;
    for (int run = 0; run < 5; ++run) {
      // The program's event loop runs between two commands.
      QCoreApplication::processEvents();
      QElapsedTimer t;
      t.start();
      w.GravarFicheiro(file);
      escrita.push_back(t.nsecsElapsed() / 1e6);
    }
    TfrmLurn leitor;
    leitor.usarRecentes = false;
    for (int run = 0; run < 5; ++run) {
      QCoreApplication::processEvents();
      QElapsedTimer t;
      t.start();
      leitor.AbrirFicheiro(file);
      leitura.push_back(t.nsecsElapsed() / 1e6);
    }
    QTextStream(stdout) << "cover with 1000 objects (500 texts, 500 pictures naming " << distintas
                        << " different 64x64 picture file(s))\n"
                        << "  write: median " << Median(escrita) << " ms over 5 runs\n"
                        << "  read:  median " << Median(leitura)
                        << " ms over 5 runs (clearing the previous document included)\n";
  };
  medir(1);
  medir(500);
  return 0;
}
