// libFuzzer target for the cover-file reader.  A ".lrn" file may come from
// anywhere (an old disk, a mail, a damaged copy), so whatever its bytes the
// reader must end with a document and its messages, never crash; every
// value it lets into the document must lie within the document's limits;
// and what it read must write to a cover that reads back to the same bytes
// (writing is canonical).
//
// Each input is written as "capa.lrn" into a scratch folder that also holds
// a small picture "a.png", so that records naming a relative picture reach
// the picture loader as well as the "not found" path.
#include "document/FicheiroCapa.h"
#include "document/TiposDeLetra.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {
bool verbose = false;
QTemporaryDir* pasta = nullptr;

[[noreturn]] void Falha(const char* o_que, const QString& detalhe = QString()) {
  std::fprintf(stderr, "%s %s\n", o_que, qPrintable(detalhe));
  std::abort();
}

QByteArray Bytes(const QString& ficheiro) {
  QFile f(ficheiro);
  if (!f.open(QIODevice::ReadOnly)) Falha("a written cover cannot be read:", ficheiro);
  return f.readAll();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Texts are measured with the program's fonts.  The application lives
  // until the process ends: destroyed among the static objects, after Qt's
  // own thread storage, it would fail removing the fonts added here.
  static QGuiApplication* app = new QGuiApplication(*argc, *argv);
  (void)app;
  PrepararTiposDeLetra();
  verbose = qEnvironmentVariableIsSet("LURNS_FUZZ_VERBOSE");
  pasta = new QTemporaryDir;
  QImage imagem(4, 3, QImage::Format_RGB32);
  imagem.fill(Qt::red);
  if (!pasta->isValid() || !imagem.save(pasta->filePath(QStringLiteral("a.png"))))
    Falha("no scratch folder for the covers");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString entrada = pasta->filePath(QStringLiteral("capa.lrn"));
  {
    QFile f(entrada);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
      Falha("the input cannot be written to the scratch folder");
  }
  const TLeituraCapa lido = LerCapa(entrada);
  if (verbose) {
    std::fprintf(stderr, "%s, %lld message(s)\n", lido.Lido ? "read" : "not read",
                 static_cast<long long>(lido.Mensagens.size()));
    for (const TMensagem& m : lido.Mensagens) std::fprintf(stderr, "  %s\n", qPrintable(m.Texto));
  }
  for (int folha = folhaFrente; folha <= folhaCD; ++folha)
    for (const TObjecto& o : lido.Documento.Objectos(folha))
      if (const QString erro = VerificarObjecto(o); !erro.isEmpty())
        Falha("an object read from a cover is outside the limits:", erro);

  // What was read writes to a cover that reads back to the same bytes.
  const QString primeira = pasta->filePath(QStringLiteral("primeira.lrn"));
  const QString segunda = pasta->filePath(QStringLiteral("segunda.lrn"));
  if (GravarCapa(lido.Documento, primeira).Fim != TFimGravacao::Gravado) Falha("what was read cannot be written");
  const TLeituraCapa outra = LerCapa(primeira);
  if (!outra.Lido) Falha("a written cover cannot be read back");
  if (GravarCapa(outra.Documento, segunda).Fim != TFimGravacao::Gravado) Falha("a cover read back cannot be written");
  if (Bytes(primeira) != Bytes(segunda)) Falha("writing a cover is not stable");
  return 0;
}
