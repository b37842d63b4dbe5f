// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportforms/EngineDialogs.h"

#include "reportforms/ppCDlg.h"
#include "reportforms/ppPDlg.h"
#include "reportforms/ppPrnOpt.h"

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
