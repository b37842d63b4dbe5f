// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrintingClasses.h"

#include "printing/BuilderControls.h"
#include "reportforms/ppPrvDlg.h"
#include "reportforms/ppViewr.h"
#include "report/ppPrnDev.h"

void RegisterPrintingClasses() {
  RegisterDeviceClass<TppPrinterDevice>();
  RegisterDeviceClass<TppScreenDevice>();
  RegisterEngineForm<TppCustomPreviewer, TppPrintPreview>();
  if (!IsClassRegistered(TDrawRotatedText::StaticClassName())) RegisterBuilderControls();
}

void UnregisterPrintingClasses() {
  if (IsClassRegistered(TDrawRotatedText::StaticClassName())) UnregisterBuilderControls();
  UnregisterEngineForm<TppCustomPreviewer>();
  UnregisterDeviceClass<TppScreenDevice>();
  UnregisterDeviceClass<TppPrinterDevice>();
}
