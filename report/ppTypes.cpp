// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppTypes.h"

#include <iterator>

const char* UnitTypeName(TppUnitType u) {
  switch (u) {
    case utScreenPixels: return "utScreenPixels";
    case utInches: return "utInches";
    case utMillimeters: return "utMillimeters";
    case utPrinterPixels: return "utPrinterPixels";
    case utMMThousandths: return "utMMThousandths";
  }
  return "";
}

QString LanguageExtension(int language) {
  static const char* const extensions[] = {"dft", "dan", "nld", "eng", "fra", "deu", "ita",
                                           "ptb", "ptg", "esp", "esm", "sve", "nor", "cst"};
  const int i = language & 0x7F;
  if (i >= int(std::size(extensions))) return {};
  return QString::fromLatin1(extensions[i]);
}
