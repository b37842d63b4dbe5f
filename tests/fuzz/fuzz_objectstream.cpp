// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the clipboard object reader.  Any bytes may sit on
// the clipboard, so the reader must refuse them cleanly with a message or
// make a document object from them; an object it makes must be within the
// document's limits and write back to a stream that reads again to the
// same bytes (the written form is canonical).
#include "document/ObjectStream.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace {
// LURNS_FUZZ_VERBOSE=1 prints what became of each input, for replaying a
// few inputs by hand.
bool verbose = false;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Pictures are decoded with Qt Gui.
  static QGuiApplication app(*argc, *argv);
  verbose = qEnvironmentVariableIsSet("LURNS_FUZZ_VERBOSE");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  QString error;
  const std::optional<TObjecto> object = ReadObject(bytes, &error);
  if (verbose)
    std::fprintf(stderr, "%s\n",
                 object ? qPrintable(QStringLiteral("accepted: ") + ObjectClassName(object->Tipo))
                        : qPrintable(error));
  if (!object) {
    if (error.isEmpty()) {
      std::fprintf(stderr, "refused without a message\n");
      std::abort();
    }
    return 0;
  }
  if (!VerificarObjecto(*object).isEmpty()) {
    std::fprintf(stderr, "an accepted object is outside the limits: %s\n",
                 qPrintable(VerificarObjecto(*object)));
    std::abort();
  }
  const QByteArray written = WriteObject(*object);
  if (written.isEmpty()) {
    std::fprintf(stderr, "an accepted object could not be written\n");
    std::abort();
  }
  const std::optional<TObjecto> again = ReadObject(written, &error);
  if (!again) {
    std::fprintf(stderr, "a written object was refused: %s\n", qPrintable(error));
    std::abort();
  }
  if (WriteObject(*again) != written) {
    std::fprintf(stderr, "writing is not stable\n");
    std::abort();
  }
  return 0;
}
