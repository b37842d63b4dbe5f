// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppProd.h"

#include "platform/ScopedFlag.h"

#include "report/ppBands.h"
#include "report/ppDevice.h"
#include "report/ppFormIntf.h"
#include "report/ppPrnDev.h"
#include "report/ppUtils.h"

#include <exception>

TppProducer::TppProducer(TComponent* owner)
    : TppRelative(owner),
      publisher_(std::make_unique<TppPublisher>()),
      printerSetup_(std::make_unique<TppPrinterSetup>(this)) {
  // Conversions in printer pixels use the printer this report prints on.
  printerSetup_->OnGetPrinter = [this](TppPrinterSetup*) { return Printer(); };
  publisher_->PageRequestHook = [this](const TppPageRequest& request) {
    if (OnPageRequest) OnPageRequest(this);
    TScopedFlag printing(printing_, true);
    GeneratePages(request);
  };
}

TppProducer::~TppProducer() {
  FreeForms(true);
  BeginDestroy();
}

void TppProducer::FreeForms(bool preview) {
  // The windows go without calling back into a report that is going.
  auto free = [](auto*& form) {
    if (!form) return;
    TppFormIntf* f = form;
    form = nullptr;
    f->DestroyHook = nullptr;
    f->ReleaseHook = nullptr;
    f->CancelHook = nullptr;
    f->ActivateHook = nullptr;
    delete f;
  };
  if (preview) free(previewForm_);
  free(cancelDialog_);
  free(printDialog_);
}

// ---------------------------------------------------------------------------
// Printing

void TppProducer::Print() {
  if (deviceType_ == QLatin1String("Screen"))
    PreviewPath();
  else
    PrintPath();
}

void TppProducer::PreviewPath() {
  if (previewForm_) return;
  const TppFormClass* cls = EngineFormClass(ppCustomPreviewer);
  // A program without windows has no preview.
  if (!cls) return;
  TppFormIntf* made = cls->Create();
  auto* form = dynamic_cast<TppPreviewerIntf*>(made);
  if (!form) {
    delete made;
    return;
  }
  producing_ = true;
  previewForm_ = form;
  form->DestroyHook = [this] {
    previewForm_ = nullptr;
    producing_ = false;
    if (AfterPrint) AfterPrint(this);
    DoOnPreviewFormClose();
  };
  form->CancelHook = [this] {
    Cancel();
    DoOnCancel();
  };
  form->SetReport(this);
  form->ReportAssigned();
  form->SetLanguage(language_);
  form->SetIcon(icon_);
  DoOnPreviewFormCreate();
  if (!modalPreview_) {
    form->Show();
    GenerateToDevices();
    return;
  }
  // The pages are produced once the window is on screen; a failure closes
  // it and is raised once it has gone.
  std::exception_ptr failure;
  form->ActivateHook = [this, form, &failure] {
    try {
      GenerateToDevices();
    } catch (...) {
      failure = std::current_exception();
      form->Close();
    }
  };
  form->ShowModal();
  if (previewForm_ == form) {
    form->ActivateHook = nullptr;
    delete form;  // its DestroyHook ends the preview
  }
  if (failure) std::rethrow_exception(failure);
}

void TppProducer::PrintPath() {
  // One print at a time: a second request while a print runs (through
  // events processed meanwhile) is not started.
  if (cancelDialog_ || printPath_ || printing_ || generating_) return;
  if (!DeviceClassForName(deviceType_)) return;
  TScopedFlag path(printPath_, true);
  TScopedFlag producing(producing_, true);
  printProblems_.clear();

  TppPrinterSetup saved;
  saved.Assign(*printerSetup_);
  auto device = std::make_unique<TppPrinterDevice>();
  device->SetExclusive(true);
  device->LanguageIndex = LanguageIndex();
  device->Printer()->ApplySetup(*printerSetup_);
  printerDevice_ = device.get();

  // However the path ends: the device leaves the publisher, the dialogs
  // go, and the report's setup comes back unless it is to be kept.
  struct TCleanup {
    TppProducer& r;
    const TppPrinterSetup& saved;
    ~TCleanup() {
      if (r.printerDevice_) r.printerDevice_->AttachPublisher(nullptr);
      r.printerDevice_ = nullptr;
      r.FreeForms(false);
      if (!r.savePrinterSetup_) r.printerSetup_->Assign(saved);
    }
  } cleanup{*this, saved};

  TppPageRequest request;
  request.PageRequested = currentPageNo_ > 0 ? currentPageNo_ : 1;
  bool dialogShown = false;
  const TppFormClass* dialogClass = showPrintDialog_ ? EngineFormClass(ppCustomPrintDialog) : nullptr;
  if (dialogClass) {
    TppFormIntf* made = dialogClass->Create();
    if (auto* dialog = dynamic_cast<TppPrintDialogIntf*>(made)) {
      printDialog_ = dialog;
      dialog->DeviceType = deviceType_;
      dialog->Printer = device->Printer();
      dialog->AllowPrintToArchive = allowPrintToArchive_;
      dialog->AllowPrintToFile = allowPrintToFile_;
      dialog->ArchiveFileName = archiveFileName_;
      dialog->TextFileName = textFileName_;
      dialog->PageRequest = &request;
      dialog->PageCount = publisher_->Done() ? publisher_->LastPageNo() : 0;
      dialog->SetLanguage(language_);
      dialog->SetIcon(icon_);
      DoOnPrintDialogCreate();
      const TModalResult result = dialog->ShowModal();
      DoOnPrintDialogClose();
      if (result != TModalResult::OK) return;
      // This program registers no file devices: the printer prints.
      dialogShown = true;
    } else {
      delete made;
    }
  }
  // Nothing prints without a printer that can print, unless into a file.
  if (!device->Printer()->DC()) throw EPrintError(EngineMessage(msgPrinterSetupProblem));
  if (dialogShown) device->SetPageRequest(request);
  device->AttachPublisher(publisher_.get());
  {
    // The choices made in the dialog apply to this run.
    const TppUnitType units = printerSetup_->Units();
    printerSetup_->Assign(*device->Printer()->ReadBackSetup());
    printerSetup_->SetUnits(units);
  }

  const TppFormClass* cancelClass =
      showCancelDialog_ ? EngineFormClass(ppCustomCancelDialog) : nullptr;
  if (cancelClass) {
    TppFormIntf* made = cancelClass->Create();
    if (auto* dialog = dynamic_cast<TppCancelDialogIntf*>(made)) {
      cancelDialog_ = dialog;
      dialog->SetLanguage(language_);
      dialog->SetIcon(icon_);
      dialog->AllowCancel = true;
      dialog->CancelHook = [this] {
        Cancel();
        DoOnCancel();
      };
      device->StatusReceiver = [dialog](const QString& text) { dialog->SetStatusText(text); };
      DoOnCancelDialogCreate();
    } else {
      delete made;
    }
  }

  // What did not print, once the pages are out.
  TppPrinterDevice* printer = device.get();
  auto generate = [this, printer] {
    GenerateToDevices();
    printProblems_ = GenerationProblems();
    for (const QString& p : printer->DrawProblems())
      if (!printProblems_.contains(p)) printProblems_.append(p);
  };

  if (!cancelDialog_) {
    generate();
    return;
  }
  TppCancelDialogIntf* dialog = cancelDialog_;
  if (modalCancelDialog_) {
    // The pages are produced once the dialog is on screen; it closes
    // itself when they are done (or failed: the failure is raised then).
    std::exception_ptr failure;
    dialog->ActivateHook = [dialog, &failure, &generate] {
      try {
        generate();
      } catch (...) {
        failure = std::current_exception();
      }
      dialog->StartCloseTimer();
    };
    dialog->ShowModalCancel();
    dialog->ActivateHook = nullptr;
    DoOnCancelDialogClose();
    if (failure) std::rethrow_exception(failure);
    return;
  }
  dialog->Show();
  try {
    generate();
  } catch (...) {
    dialog->Close();
    DoOnCancelDialogClose();
    throw;
  }
  dialog->Close();
  DoOnCancelDialogClose();
}

void TppProducer::GenerateToDevices() {
  // A cycle is under way: this call came through the events processed
  // during it.
  if (generating_ || printing_ || publisher_->Publishing()) return;
  TScopedFlag generating(generating_, true);
  if (!EngineRunning()) {
    publisher_->CachePages = CachePagesWanted();
    ResetEngines();
  }
  if (BeforePrint) BeforePrint(this);
  // Every run starts from nothing: a publisher left satisfied by the run
  // before would otherwise produce an empty print.
  publisher_->Reset();
  cancelRequested_ = false;
  publisher_->Publish();
  if (cancelRequested_)
    for (int i = 0; i < publisher_->DeviceCount(); ++i)
      if (TppDevice* d = publisher_->Devices(i); d->WantsPages()) d->JobCancelled();
  if (deviceType_ != QLatin1String("Screen")) {
    if (AfterPrint) AfterPrint(this);
    if (OnPrintingComplete) OnPrintingComplete(this);
  }
}

void TppProducer::Cancel() {
  cancelRequested_ = true;
  publisher_->Cancel();
  StopEngines();
}

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
