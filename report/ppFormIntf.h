// SPDX-License-Identifier: GPL-3.0-or-later
// What the report engine knows of the windows it opens while it produces a
// report — a preview window, a print dialog and a cancel dialog — and the
// form registry through which it finds them.
//
// The engine has no windows of its own.  It knows three kinds by the names
// of their abstract window classes ("TppCustomPreviewer",
// "TppCustomPrintDialog", "TppCustomCancelDialog"); the units of the
// concrete windows register a factory under each kind at start-up, and the
// engine creates what is registered and talks to it through the interfaces
// below.  A program that registers no windows (a command-line tool) prints
// without any window code linked in.  The base window classes live in
// reportforms/ (a library of their own, on Qt Widgets).
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"
#include "report/ppTypes.h"

#include <QString>
#include <functional>

class TppPageRequest;
class TppPrinter;
class TppProducer;

// The abstract kinds.
inline constexpr char ppCustomPreviewer[] = "TppCustomPreviewer";
inline constexpr char ppCustomPrintDialog[] = "TppCustomPrintDialog";
inline constexpr char ppCustomCancelDialog[] = "TppCustomCancelDialog";

// Every engine window: the hooks through which it tells the engine what
// happens to it, the report it serves and the language of its texts.
class TppFormIntf {
 public:
  virtual ~TppFormIntf();

  // Fired once each time the window is shown, as soon as it is on screen
  // (the engine starts producing the report here for modal windows).
  std::function<void()> ActivateHook;
  // Fired by DoCancel.
  std::function<void()> CancelHook;
  // Both fired, in this order, when the window is destroyed (after the
  // concrete window's own destructor has run).
  std::function<void()> DestroyHook;
  std::function<void()> ReleaseHook;

  // Setting the language stores it and calls LanguageChanged; setting the
  // report stores it and calls ReportChanged.
  TppLanguageType Language() const { return language_; }
  void SetLanguage(TppLanguageType language);
  TppProducer* Report() const { return report_; }
  void SetReport(TppProducer* report);
  void DoCancel();

  // --- The window
  virtual TModalResult ShowModal() = 0;
  virtual void Show() = 0;
  virtual void Close() = 0;
  virtual void SetWindowState(TWindowState state) = 0;
  virtual void SetIcon(const TPicture& icon) = 0;

 protected:
  // The concrete windows set their texts and follow their report here.
  virtual void LanguageChanged() {}
  virtual void ReportChanged() {}

 private:
  TppLanguageType language_ = lgDefault;
  TppProducer* report_ = nullptr;
};

// The preview window.
class TppPreviewerIntf : public virtual TppFormIntf {
 public:
  // Called by the engine right after it set the report.
  virtual void ReportAssigned() {}
};

// The print dialog: the engine fills these fields before showing it and
// reads them back after OK.
class TppPrintDialogIntf : public virtual TppFormIntf {
 public:
  bool AllowPrintToArchive = false;
  bool AllowPrintToFile = false;
  QString ArchiveFileName;  // in and out
  QString TextFileName;     // in and out
  // In: the report's device type; out: the device of the file kind chosen.
  QString DeviceType;
  // The printer that will print; the dialog edits its setup directly.
  TppPrinter* Printer = nullptr;
  // The pages to print, filled by the dialog (the current page given in).
  TppPageRequest* PageRequest = nullptr;
  // The report's number of pages when known (from the run before), else 0:
  // a page list never names more pages than there are.
  int PageCount = 0;
  // The printer's own properties dialog was confirmed.
  bool SetupChanged = false;
  bool PrintToArchive = false;
  bool PrintToFile = false;
};

// The dialog shown while a report prints, with its status and a Cancel
// button.
class TppCancelDialogIntf : public virtual TppFormIntf {
 public:
  // Whether Cancel may be pressed (the engine allows it).
  bool AllowCancel = false;
  bool ShownModally() const { return shownModally_; }
  QString StatusText() const { return statusText_; }
  // Stores the text and calls StatusTextChanged.
  void SetStatusText(const QString& text);
  // Closes the dialog (as with OK) 10 ms later.
  virtual void StartCloseTimer() = 0;
  // Shows the dialog modally; while shown so it disables no window of its
  // own accord.  Shown with Show instead, it disables the window that was
  // active and enables it again when it goes away.
  TModalResult ShowModalCancel();

 protected:
  virtual void StatusTextChanged() {}

 private:
  bool shownModally_ = false;
  QString statusText_;
};

// --- The form registry

// Makes a new window of a concrete class.
using TppFormFactory = std::function<TppFormIntf*()>;

struct TppFormClass {
  QString ClassName;  // the concrete window class
  TppFormFactory Create;
};

// Registers a concrete window class for an abstract kind; a kind registered
// again keeps only the new class.
void RegisterEngineForm(const QString& kind, const QString& className, TppFormFactory create);
void UnregisterEngineForm(const QString& kind);
// The class registered for the kind, or null.
const TppFormClass* EngineFormClass(const QString& kind);
// The number of registered kinds.
int EngineFormCount();
