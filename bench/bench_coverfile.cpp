// SPDX-License-Identifier: GPL-3.0-or-later
// Writes and reads a cover with 1,000 objects (500 texts, 500 pictures)
// and prints how long each takes: the document alone (what lurns-batch
// does) and the main window opening it (reading plus making its controls).
// Runs without a display.
#include "document/FicheiroCapa.h"
#include "document/TiposDeLetra.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <vector>

namespace {
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Median time of five runs of f, in milliseconds; the program's event loop
// runs between two runs, as between two commands.
double Time(const std::function<void()>& f) {
  std::vector<double> ms;
  for (int run = 0; run < 5; ++run) {
    QCoreApplication::processEvents();
    QElapsedTimer t;
    t.start();
    f();
    ms.push_back(t.nsecsElapsed() / 1e6);
  }
  return Median(ms);
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  PrepararTiposDeLetra();
  QTemporaryDir dir;
  QImage img(64, 64, QImage::Format_RGB32);
  img.fill(Qt::darkCyan);

  // A cover of 500 texts and 500 pictures, the pictures naming
  // `distintas` different files.
  auto medir = [&](int distintas) {
    QStringList ficheiros;
    for (int i = 0; i < distintas; ++i) {
      ficheiros << dir.filePath(QStringLiteral("p%1.png").arg(i));
      img.save(ficheiros.last());
    }
    TDocumento doc;
    const int folhas[] = {folhaFrente, folhaInterior, folhaTras, folhaCD};
    for (int i = 0; i < 1000; ++i) {
      const int folha = folhas[i % 4];
      TObjecto o = i % 2 == 0 ? TObjecto::NovoTexto() : TObjecto::NovaImagem();
      o.Left = i % 400;
      o.Top = i % 300;
      if (o.EhTexto()) {
        o.Texto = QStringLiteral("Faixa %1").arg(i);
        AjustarTamanho(o);
      } else {
        o.Imagem.Ficheiro = ficheiros[(i / 2) % distintas];
        o.Imagem.Imagem.LoadFromFile(o.Imagem.Ficheiro);
        o.Width = o.Height = 50;
      }
      doc.DefinirNome(doc.Adicionar(folha, o), doc.NovoNome(o.EhTexto() ? "Texto" : "Imagem", folha));
    }
    const QString file = dir.filePath("grande.lrn");
    const double escrita = Time([&] { GravarCapa(doc, file); });
    const double leitura = Time([&] { LerCapa(file); });
    TfrmLurn janela(nullptr, false);
    janela.Sessao().UsarRecentes(false);
    const double abertura = Time([&] { janela.Sessao().AbrirFicheiro(file); });
    QTextStream(stdout) << "cover with 1000 objects (500 texts, 500 pictures naming " << distintas
                        << " different 64x64 picture file(s)), median over 5 runs\n"
                        << "  write:                  " << escrita << " ms\n"
                        << "  read into a document:   " << leitura << " ms\n"
                        << "  open in the window:     " << abertura
                        << " ms (clearing the previous cover and making the controls included)\n";
  };
  medir(1);
  medir(500);
  return 0;
}
