// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the cover-file reader.  A ".lrn" file may come from
// anywhere (an old disk, a mail, a damaged copy), so whatever its bytes the
// reader must end with a document and its messages, never crash; every
// value it lets into the document must lie within the document's limits;
// and what it read must write to a cover that reads back to the same bytes
// (writing is canonical).
//
// Each input is read as the file "capa.lrn" of a scratch folder that holds
// a small picture "a.png", so that records naming a relative picture reach
// the picture loader as well as the "not found" path.
#include "document/FicheiroCapa.h"
#include "document/TiposDeLetra.h"

#include <QBuffer>
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
  // The cover's bytes as the reader gets them from its file, read from
  // memory: what the reader does with them is the same, without a file
  // written and read for every input.
  const QString entrada = pasta->filePath(QStringLiteral("capa.lrn"));
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  QBuffer ficheiro(&bytes);
  ficheiro.open(QIODevice::ReadOnly);
  const TLeituraCapa lido = LerCapa(ficheiro, entrada);
  if (verbose) {
    std::fprintf(stderr, "%s, %lld message(s)\n", lido.Lido ? "read" : "not read",
                 static_cast<long long>(lido.Mensagens.size()));
    for (const TMensagem& m : lido.Mensagens) std::fprintf(stderr, "  %s\n", qPrintable(m.Texto));
  }
  for (int folha = folhaFrente; folha <= folhaCD; ++folha)
    for (const TObjecto& o : lido.Documento.Objectos(folha))
      if (const QString erro = VerificarObjecto(o); !erro.isEmpty())
        Falha("an object read from a cover is outside the limits:", erro);

  // What was read writes (the bytes GravarCapa writes into a file of the
  // same folder) to a cover that reads back to the same bytes.  The two
  // buffers keep their room from input to input.
  static QByteArray primeira, segunda;
  auto escrever = [](const TDocumento& documento, QByteArray& bytes) {
    QBuffer destino(&bytes);
    destino.open(QIODevice::WriteOnly | QIODevice::Truncate);  // emptied, its room kept
    TEscritaCapa escrita;
    escrita.Pasta = pasta->path();
    if (destino.write(CabecalhoCapa()) != kTamanhoRegisto || !GravarFolhas(destino, documento, escrita))
      Falha("what was read cannot be written");
  };
  escrever(lido.Documento, primeira);
  QBuffer lida(&primeira);
  lida.open(QIODevice::ReadOnly);
  const TLeituraCapa outra = LerCapa(lida, pasta->filePath(QStringLiteral("primeira.lrn")));
  if (!outra.Lido) Falha("a written cover cannot be read back");
  escrever(outra.Documento, segunda);
  if (segunda != primeira) Falha("writing a cover is not stable");
  return 0;
}
