#include "printing/EngineDialogs.h"

#include "printing/ppCDlg.h"
#include "printing/ppPDlg.h"
#include "printing/ppPrnOpt.h"

void RegisterEngineDialogs() {
  RegisterEngineForm<TppCustomPrintDialog, TppPrintDialog>();
  RegisterEngineForm<TppCustomCancelDialog, TppCancelDialog>();
  SetPrinterOptionsDialog(&ShowPrinterOptionsDialog);
}

void UnregisterEngineDialogs() {
  UnregisterEngineForm<TppCustomPrintDialog>();
  UnregisterEngineForm<TppCustomCancelDialog>();
  SetPrinterOptionsDialog(nullptr);
}
