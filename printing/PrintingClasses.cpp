#include "printing/PrintingClasses.h"

#include "printing/ppPrvDlg.h"
#include "printing/ppViewr.h"
#include "report/ppPrnDev.h"

void RegisterPrintingClasses() {
  RegisterDeviceClass<TppPrinterDevice>();
  RegisterDeviceClass<TppScreenDevice>();
  RegisterEngineForm<TppCustomPreviewer, TppPrintPreview>();
}

void UnregisterPrintingClasses() {
  UnregisterEngineForm<TppCustomPreviewer>();
  UnregisterDeviceClass<TppScreenDevice>();
  UnregisterDeviceClass<TppPrinterDevice>();
}
