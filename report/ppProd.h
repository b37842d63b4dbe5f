// SPDX-License-Identifier: GPL-3.0-or-later
// TppProducer: what every report has in order to be produced on a device —
// its printer setup, the device it goes to (DeviceType), the language of
// the engine's texts, the windows it may open (preview, print dialog,
// cancel dialog) and the events of a print run.
//
// While the report is printing (the engine is generating pages for a
// device) the setters of the print options are locked: they do nothing.
//
// Printing: Print opens the preview or prints through the print path (with
// the print and cancel dialogs registered in the form registry, when there
// are any); GenerateToDevices runs one publishing cycle to the devices
// attached to the report's publisher.  Every failure reaches the caller as
// EPrintError (report/ppUtils).
#pragma once

#include "platform/Graphics.h"
#include "report/ppDevice.h"
#include "report/ppPrintr.h"
#include "report/ppRelatv.h"
#include "report/ppTypes.h"

#include <memory>

class TppCancelDialogIntf;
class TppPreviewerIntf;
class TppPrintDialogIntf;
class TppPrinterDevice;

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
  // The report's publisher: the devices attached to it receive its pages.
  TppPublisher* Publisher() const { return publisher_.get(); }
  // The windows and the printer device of a run under way (null otherwise).
  TppPreviewerIntf* PreviewForm() const { return previewForm_; }
  TppPrintDialogIntf* PrintDialog() const { return printDialog_; }
  TppCancelDialogIntf* CancelDialog() const { return cancelDialog_; }
  TppPrinterDevice* PrinterDevice() const { return printerDevice_; }
  // Where the paper of the report's pages is cut and how far their
  // artwork reaches beyond the cut, in thousandths from the paper's
  // corner (empty: not said); every page carries them to the devices.
  TppRect TrimBox;
  TppRect BleedBox;

  // --- Printing
  // DeviceType "Screen": opens the preview window registered for
  // TppCustomPreviewer (nothing without one), which shows the pages;
  // modally when ModalPreview.  Any other registered device: the print
  // path — a TppPrinterDevice of the report's printer setup, the print
  // dialog when ShowPrintDialog and one is registered (Cancel there prints
  // nothing), the cancel dialog when ShowCancelDialog and one is
  // registered, then GenerateToDevices; the report's printer setup is put
  // back afterwards unless SavePrinterSetup.  A printer that cannot print
  // (and no output file) raises EPrintError with message 1020.  A call
  // while the report is printed already does nothing.
  void Print();
  // One publishing cycle: the publisher and the engine start afresh, the
  // devices attached to the publisher receive the pages they ask for.
  // Ignored while a cycle runs (a call that comes through the events
  // processed during generation).  Throws EPrintError; the devices' jobs
  // are thrown away then.
  void GenerateToDevices();
  // Stops the generation under way after the current band, component or
  // page; the devices' jobs are cancelled (a printer document is thrown
  // away).
  void Cancel();
  bool CancelRequested() const { return cancelRequested_; }
  // What the last generation could not put on its pages (a component that
  // could not print), one line per component with the reason.
  virtual QStringList GenerationProblems() const { return {}; }
  // What the last print path could not print: the generation's problems
  // and the printer device's (commands that could not be drawn).  The
  // print path shows no message of its own; its caller tells the user.
  const QStringList& PrintProblems() const { return printProblems_; }
  // The page a preview shows, offered by the print dialog as the current
  // page (0: none).
  int CurrentPageNo() const { return currentPageNo_; }
  void SetCurrentPageNo(int page) { currentPageNo_ = page; }
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

 protected:
  // What the report's engine does: start afresh, generate the pages of a
  // request (handing each to the publisher), stop; whether a generation is
  // under way or was stopped; whether pages are cached.
  virtual void ResetEngines() {}
  virtual void GeneratePages(const TppPageRequest& /*request*/) {}
  virtual void StopEngines() {}
  virtual bool EngineRunning() const { return false; }
  virtual bool CachePagesWanted() const { return false; }

 private:
  void Fire(const TppNotifyEvent& handler, int eventNo);
  void PreviewPath();
  void PrintPath();
  void FreeForms(bool preview);

  std::unique_ptr<TppPublisher> publisher_;
  TppPreviewerIntf* previewForm_ = nullptr;
  TppPrintDialogIntf* printDialog_ = nullptr;
  TppCancelDialogIntf* cancelDialog_ = nullptr;
  TppPrinterDevice* printerDevice_ = nullptr;
  bool cancelRequested_ = false;
  QStringList printProblems_;
  bool generating_ = false;
  bool printPath_ = false;
  int currentPageNo_ = 0;
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
