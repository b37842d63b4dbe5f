// SPDX-License-Identifier: GPL-3.0-or-later
// Prints a cover into a PDF file and says how long it takes: a cover with
// three 1200 x 1200 JPEG backgrounds (Frente, Interior, Trás) and twenty
// text objects, its three pages generated and written (the print
// commands' Preparar and Imprimir, in this process), then the whole
// `lurns-batch -o` process with its wall time and peak memory.  Runs
// without a display.  With a folder as argument, the cover, its pictures
// and the PDF are left there (to look at, or to profile lurns-batch on).
#include "document/FicheiroCapa.h"
#include "document/TiposDeLetra.h"
#include "printing/ImpressaoCapa.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Time(const std::function<void()>& f, int runs = 7) {
  std::vector<double> ms;
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer t;
    t.start();
    f();
    ms.push_back(t.nsecsElapsed() / 1e6);
  }
  return Median(ms);
}

// Runs a program and waits for it: its wall time in ms and its peak
// resident memory in MiB, or a negative time when it failed.
std::pair<double, double> RunProcess(const QString& program, const QStringList& args) {
  std::vector<QByteArray> bytes{program.toLocal8Bit()};
  for (const QString& a : args) bytes.push_back(a.toLocal8Bit());
  std::vector<char*> argv;
  for (QByteArray& b : bytes) argv.push_back(b.data());
  argv.push_back(nullptr);
  QElapsedTimer t;
  t.start();
  const pid_t pid = fork();
  if (pid == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return {-1, 0};
  return {t.nsecsElapsed() / 1e6, usage.ru_maxrss / 1024.0};
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  PrepararTiposDeLetra();
  QTemporaryDir temporary;
  const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path());
  if (!dir.exists() && !QDir().mkpath(dir.path())) return 1;
  QTextStream out(stdout);

  // Three photographs' worth of JPEG: smooth gradients, different per sheet.
  TDocumento doc;
  const TFundo fundos[] = {fundoFrente, fundoInterior, fundoTras};
  for (int i = 0; i < 3; ++i) {
    JpegSpec jpeg;
    jpeg.width = jpeg.height = 1200;
    jpeg.pixel = [i](int x, int y, unsigned char* px) {
      px[0] = (unsigned char)((x + 80 * i) & 255);
      px[1] = (unsigned char)((y * 3 / 4) & 255);
      px[2] = (unsigned char)(((x ^ y) / 8 + 40 * i) & 255);
    };
    const QString file = dir.filePath(QStringLiteral("fundo%1.jpg").arg(i));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(EncodeJpeg(jpeg)) < 0) return 1;
    f.close();
    TImagemDoc imagem;
    imagem.Ficheiro = file;
    imagem.Imagem.LoadFromFile(file);
    doc.DefinirFundo(fundos[i], imagem);
    if (fundos[i] == fundoTras) doc.DefinirFundo(fundoTrasLombada, imagem);
  }
  const int folhas[] = {folhaFrente, folhaInterior, folhaTras, folhaCD};
  for (int i = 0; i < 20; ++i) {
    TObjecto o = TObjecto::NovoTexto();
    o.Texto = QStringLiteral("%1. Faixa número %1").arg(i + 1);
    o.Fonte.Nome = QStringLiteral("Arial");
    o.Fonte.Tamanho = 10 + i % 8;
    o.Left = 20 + (i % 3) * 40;
    o.Top = 20 + i * 18;
    AjustarTamanho(o);
    const int folha = folhas[i % 4];
    const auto id = doc.Adicionar(folha, o);
    if (i % 5 == 4) doc.Rodar90(id, true);
  }
  const QString cover = dir.filePath(QStringLiteral("bench.lrn"));
  GravarCapa(doc, cover);

  TImpressaoCapa capa;
  const QString pdf = dir.filePath(QStringLiteral("bench.pdf"));
  TPedidoImpressao pedido;
  pedido.Paginas = {paginaFrente, paginaTras, paginaCD};
  pedido.Ficheiro = pdf;
  const double prepare = Time([&] { capa.Preparar(doc, {}); });
  const double print = Time([&] { capa.Imprimir(pedido); });
  pedido.Copias = 3;
  const double copies = Time([&] { capa.Imprimir(pedido); }, 3);

  out << "cover with three 1200x1200 JPEG backgrounds and 20 texts, median of the runs\n"
      << "  fill the three reports (Preparar):           " << prepare << " ms\n"
      << "  generate and write the 3 pages to PDF:       " << print << " ms\n"
      << "  the same with 3 copies (9 pages):            " << copies << " ms (" << QFileInfo(pdf).size() / 1024
      << " KiB)\n";

  std::vector<double> walls, peaks;
  for (int run = 0; run < 5; ++run) {
    const auto [wall, peak] =
        RunProcess(QStringLiteral(LURNS_BATCH), {QStringLiteral("-o"), dir.filePath("batch.pdf"), cover});
    if (wall < 0) {
      out << "  lurns-batch -o failed\n";
      return 1;
    }
    walls.push_back(wall);
    peaks.push_back(peak);
  }
  out << "  whole `lurns-batch -o` process:              " << Median(walls) << " ms wall, "
      << *std::max_element(peaks.begin(), peaks.end()) << " MiB peak resident memory ("
      << QFileInfo(dir.filePath("batch.pdf")).size() / 1024 << " KiB PDF)\n";
  return 0;
}
