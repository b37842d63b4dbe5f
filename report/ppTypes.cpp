#include "report/ppTypes.h"

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
