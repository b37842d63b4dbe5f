// libFuzzer target for the clipboard object reader.  Any bytes may sit on
// the clipboard, so the reader must refuse them cleanly or build an object
// from them; an object it builds must write back to a stream that reads
// again to the same bytes (the written form is canonical).
#include "components/ObjectStream.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
QWidget* sheet = nullptr;
// LURNS_FUZZ_VERBOSE=1 prints what became of each input, for replaying a
// few inputs by hand.
bool verbose = false;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(*argc, *argv);
  sheet = new QWidget;
  sheet->resize(458, 455);
  verbose = qEnvironmentVariableIsSet("LURNS_FUZZ_VERBOSE");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  QString error;
  std::unique_ptr<QWidget> object(ReadObject(bytes, sheet, &error));
  if (verbose)
    std::fprintf(stderr, "%s\n",
                 object ? qPrintable(QStringLiteral("accepted: ") + object->metaObject()->className())
                        : qPrintable(error));
  if (!object) {
    if (error.isEmpty() || !sheet->children().isEmpty()) {
      std::fprintf(stderr, "refused without a message, or left an object behind\n");
      std::abort();
    }
    return 0;
  }
  const QByteArray written = WriteObject(object.get());
  if (written.isEmpty()) {
    std::fprintf(stderr, "an accepted object could not be written\n");
    std::abort();
  }
  std::unique_ptr<QWidget> again(ReadObject(written, sheet, &error));
  if (!again) {
    std::fprintf(stderr, "a written object was refused: %s\n", qPrintable(error));
    std::abort();
  }
  if (WriteObject(again.get()) != written) {
    std::fprintf(stderr, "writing is not stable\n");
    std::abort();
  }
  return 0;
}
