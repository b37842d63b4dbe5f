#include "report/ppProd.h"

#include "report/ppBands.h"
#include "report/ppDevice.h"
#include "report/ppUtils.h"

TppProducer::TppProducer(TComponent* owner)
    : TppRelative(owner), printerSetup_(std::make_unique<TppPrinterSetup>(this)) {
  // Conversions in printer pixels use the printer this report prints on.
  printerSetup_->OnGetPrinter = [this](TppPrinterSetup*) { return Printer(); };
}

TppProducer::~TppProducer() { BeginDestroy(); }

TppPrinter* TppProducer::Printer() const {
  TppPrinter* printer = SharedPrinter();
  if (printer) printer->ApplySetup(*printerSetup_);
  return printer;
}

void TppProducer::SetPrinterSetup(const TppPrinterSetup& setup) {
  printerSetup_->Assign(setup);
  // The setup's lengths stay in the report's units.
  printerSetup_->SetUnits(units_);
}

void TppProducer::SetUnits(TppUnitType units) {
  units_ = units;
  printerSetup_->SetUnits(units);
  for (int i = 0; i < ChildCount(); ++i)
    if (auto* band = dynamic_cast<TppBand*>(Child(i))) band->SetUnits(units);
}

void TppProducer::SetDeviceType(const QString& value) {
  if (printing_ || value == deviceType_) return;
  // A stored design may name a device this build lacks; it is kept, and
  // printing then finds no device for it.
  if (!IsReading() && !DeviceClassForName(value)) return;
  deviceType_ = value;
}

void TppProducer::SetLanguage(TppLanguageType value) {
  if (printing_) return;
  if (ResourceManager().SetLanguage(value)) {
    language_ = value;
    return;
  }
  // A design stored with a language whose modules are missing reads with
  // the built-in texts.
  if (IsReading() || IsLoading()) {
    ResourceManager().SetLanguage(lgDefault);
    language_ = lgDefault;
  }
}

namespace {
template <class T>
void StoreUnlessPrinting(bool printing, T& field, const T& value) {
  if (!printing) field = value;
}
}  // namespace

void TppProducer::SetAllowPrintToArchive(bool value) {
  StoreUnlessPrinting(printing_, allowPrintToArchive_, value);
}
void TppProducer::SetAllowPrintToFile(bool value) {
  StoreUnlessPrinting(printing_, allowPrintToFile_, value);
}
void TppProducer::SetArchiveFileName(const QString& value) {
  StoreUnlessPrinting(printing_, archiveFileName_, value);
}
void TppProducer::SetTextFileName(const QString& value) {
  StoreUnlessPrinting(printing_, textFileName_, value);
}
void TppProducer::SetTextFileType(TppTextFileType value) {
  StoreUnlessPrinting(printing_, textFileType_, value);
}
void TppProducer::SetIcon(const TPicture& value) { StoreUnlessPrinting(printing_, icon_, value); }
void TppProducer::SetModalCancelDialog(bool value) {
  StoreUnlessPrinting(printing_, modalCancelDialog_, value);
}
void TppProducer::SetModalPreview(bool value) {
  StoreUnlessPrinting(printing_, modalPreview_, value);
}
void TppProducer::SetShowCancelDialog(bool value) {
  StoreUnlessPrinting(printing_, showCancelDialog_, value);
}
void TppProducer::SetShowPrintDialog(bool value) {
  StoreUnlessPrinting(printing_, showPrintDialog_, value);
}

void TppProducer::SetVersion(const QString& value) {
  if (IsReading()) version_ = value;
}

void TppProducer::Loaded() {
  TppRelative::Loaded();
  // Designs of older versions would be converted here; this program's
  // reports are all of the current version.
  version_ = CurrentVersion();
}

void TppProducer::Fire(const TppNotifyEvent& handler, int eventNo) {
  if (handler) handler(this);
  PublishEvent(this, eventNo);
}
