// TppProducer: what every report has in order to be produced on a device —
// its printer setup, the device it goes to (DeviceType), the language of
// the engine's texts, the windows it may open (preview, print dialog,
// cancel dialog) and the events of a print run.
//
// While the report is printing (the engine is generating pages for a
// device) the setters of the print options are locked: they do nothing.
#pragma once

#include "platform/Graphics.h"
#include "report/ppPrintr.h"
#include "report/ppRelatv.h"
#include "report/ppTypes.h"

class TppProducer : public TppRelative, public TppSetupOwner {
 public:
  LURNS_COMPONENT(TppProducer)
  explicit TppProducer(TComponent* owner = nullptr);
  ~TppProducer() override;

  // --- Run-time state
  // A print run is generating pages for a device.
  bool Printing() const { return printing_; }
  // Set by the publishing cycle around generation.
  void SetPrinting(bool value) { printing_ = value; }
  // Between Print and the end of the preview or the print path.
  bool Producing() const { return producing_; }
  void SetProducing(bool value) { producing_ = value; }
  // The shared printer with this report's setup applied; null without any
  // printer installed.
  TppPrinter* Printer() const;
  int LanguageIndex() const { return int(language_); }

  // --- The printer setup (owned; setting it copies the given one)
  TppPrinterSetup* PrinterSetup() const { return printerSetup_.get(); }
  void SetPrinterSetup(const TppPrinterSetup& setup);

  // --- Units of the floating-point lengths of the report, its printer
  // setup, its bands and their components.
  TppUnitType Units() const { return units_; }
  void SetUnits(TppUnitType units);

  // --- Print options (locked while printing)
  // The name of a registered device class ("Screen", "Printer"); a name no
  // class is registered under is refused, except while a design is read.
  QString DeviceType() const { return deviceType_; }
  void SetDeviceType(const QString& value);
  // The engine's texts switch to the language's modules when there are
  // any; otherwise the change is refused, and while a design is read the
  // report falls back to lgDefault (the built-in texts).
  TppLanguageType Language() const { return language_; }
  void SetLanguage(TppLanguageType value);
  bool AllowPrintToArchive() const { return allowPrintToArchive_; }
  void SetAllowPrintToArchive(bool value);
  bool AllowPrintToFile() const { return allowPrintToFile_; }
  void SetAllowPrintToFile(bool value);
  QString ArchiveFileName() const { return archiveFileName_; }
  void SetArchiveFileName(const QString& value);
  QString TextFileName() const { return textFileName_; }
  void SetTextFileName(const QString& value);
  TppTextFileType TextFileType() const { return textFileType_; }
  void SetTextFileType(TppTextFileType value);
  const TPicture& Icon() const { return icon_; }
  void SetIcon(const TPicture& value);
  bool ModalCancelDialog() const { return modalCancelDialog_; }
  void SetModalCancelDialog(bool value);
  bool ModalPreview() const { return modalPreview_; }
  void SetModalPreview(bool value);
  bool ShowCancelDialog() const { return showCancelDialog_; }
  void SetShowCancelDialog(bool value);
  bool ShowPrintDialog() const { return showPrintDialog_; }
  void SetShowPrintDialog(bool value);
  bool SavePrinterSetup() const { return savePrinterSetup_; }
  void SetSavePrinterSetup(bool value) { savePrinterSetup_ = value; }
  bool ShowAutoSearchDialog() const { return showAutoSearchDialog_; }
  void SetShowAutoSearchDialog(bool value) { showAutoSearchDialog_ = value; }

  // --- The format version a design was stored in.  Designs store "5.5",
  // the current one; reading any version leaves "5.5" after loading.
  static QString CurrentVersion() { return QStringLiteral("5.5"); }
  QString Version() const { return version_; }
  // Stream property: only while a design is read.
  void SetVersion(const QString& value);

  void Loaded() override;

  // --- Events.  The Do... operations call the handler, then publish the
  // event's number to the report's listeners.
  TppNotifyEvent AfterPrint;
  TppNotifyEvent BeforePrint;
  TppNotifyEvent OnCancel;
  TppNotifyEvent OnCancelDialogCreate;
  TppNotifyEvent OnCancelDialogClose;
  TppNotifyEvent OnPreviewFormCreate;
  TppNotifyEvent OnPreviewFormClose;
  TppNotifyEvent OnPrintDialogCreate;
  TppNotifyEvent OnPrintDialogClose;
  TppNotifyEvent OnPrintingComplete;
  TppNotifyEvent OnPageRequest;
  TppNotifyEvent OnSaveText;
  TppNotifyEvent OnStartPage;
  TppNotifyEvent OnEndPage;
  TppNotifyEvent OnStartColumn;
  TppNotifyEvent OnEndColumn;
  TppNotifyEvent OnStartFirstPass;
  TppNotifyEvent OnEndFirstPass;
  TppNotifyEvent OnStartSecondPass;
  TppNotifyEvent OnEndSecondPass;
  void DoOnCancel() { Fire(OnCancel, ppevCancel); }
  void DoOnCancelDialogCreate() { Fire(OnCancelDialogCreate, ppevCancelDialogCreate); }
  void DoOnCancelDialogClose() { Fire(OnCancelDialogClose, ppevCancelDialogClose); }
  void DoOnPreviewFormCreate() { Fire(OnPreviewFormCreate, ppevPreviewFormCreate); }
  void DoOnPreviewFormClose() { Fire(OnPreviewFormClose, ppevPreviewFormClose); }
  void DoOnPrintDialogCreate() { Fire(OnPrintDialogCreate, ppevPrintDialogCreate); }
  void DoOnPrintDialogClose() { Fire(OnPrintDialogClose, ppevPrintDialogClose); }
  void DoOnSaveText() { Fire(OnSaveText, ppevSaveText); }

  // TppSetupOwner: the setup only stores values while the report is loaded
  // or read.
  bool SetupOwnerLoading() const override { return IsLoading(); }
  bool SetupOwnerReading() const override { return IsReading(); }

 private:
  void Fire(const TppNotifyEvent& handler, int eventNo);

  std::unique_ptr<TppPrinterSetup> printerSetup_;
  TppUnitType units_ = utInches;
  QString deviceType_ = QStringLiteral("Screen");
  TppLanguageType language_ = lgDefault;
  bool allowPrintToArchive_ = false;
  bool allowPrintToFile_ = false;
  QString archiveFileName_;
  QString textFileName_;
  TppTextFileType textFileType_ = ftComma;
  TPicture icon_;
  bool modalCancelDialog_ = true;
  bool modalPreview_ = true;
  bool showCancelDialog_ = true;
  bool showPrintDialog_ = true;
  bool savePrinterSetup_ = false;
  bool showAutoSearchDialog_ = false;
  QString version_ = CurrentVersion();
  bool printing_ = false;
  bool producing_ = false;
};
