// SPDX-License-Identifier: GPL-3.0-or-later
// A dialog layer for tests: every dialog takes its answer from a queue and
// records what it was asked, so commands run without a person.  A dialog
// with no queued answer fails the test and answers as a cancel would.
#pragma once

#include "platform/Dialogs.h"
#include "support/QtPrint.h"

#include <QStringList>
#include <deque>
#include <memory>

// An answer of the print dialog: OK with these choices, or cancelled.
struct TPrintDialogChoice {
  bool Ok = true;
  TPrintDialogSpec::Range Range = TPrintDialogSpec::prAllPages;
  int From = 1, To = 1;  // for prPageNums
  int Copies = 1;
  bool Collate = false;
  QString Printer;  // empty: the printer offered
  QString File;     // "print to file": the PDF file, and no printer
  TPrintDialogSpec::PageSet Set = TPrintDialogSpec::setAll;
  bool Reverse = false;
  int Duplex = 1;
  bool Color = true;
  QString Paper;  // empty: the paper offered
  QMap<QString, QString> QueueOptions;
  int DiscPosition = 0;  // 0: as offered
  int Marks = -1;        // -1: as offered
};

// An answer of the printer setup dialog (OK).
// An answer of the export dialog: nullopt in ExportChoices cancels it.
struct TExportChoice {
  TExportDialogSpec::Format Formato = TExportDialogSpec::fmtPdf;
  int Dpi = 150;
  TPrintDialogSpec::Range Range = TPrintDialogSpec::prAllPages;
  int From = 1, To = 1;
};

struct TPrinterSetupChoice {
  QString Printer, Paper, Bin;
};

class ScriptedDialogs : public TDialogLayer {
 public:
  // What the dialogs were asked, in order: "message: text", "warning: text",
  // "confirm: text", "open: title", "save: title", "overwrite: question"
  // (the save dialog's, answered from Confirms), "picture: title",
  // "font", "colour", "input: caption/prompt", "print", "printer setup", "export".
  QStringList Asked;
  std::deque<TModalResult> Confirms;
  std::deque<std::optional<QString>> Files;    // open, save and picture dialogs
  std::deque<std::optional<TFont>> Fonts;
  std::deque<std::optional<TColor>> Colours;
  std::deque<std::optional<QString>> Inputs;   // nullopt = cancelled
  // The print dialog answers from PrintChoices when there are any, else
  // from Prints (true: OK as offered).
  std::deque<bool> Prints;
  std::deque<TPrintDialogChoice> PrintChoices;
  std::vector<TPrintDialogSpec> PrintSpecs;  // as the print dialogs were offered
  std::deque<std::optional<TPrinterSetupChoice>> SetupChoices;  // nullopt = cancelled
  std::vector<TPrinterSetupSpec> SetupSpecs;
  std::deque<std::optional<TExportChoice>> ExportChoices;  // nullopt = cancelled
  std::vector<TExportDialogSpec> ExportSpecs;              // as offered
  std::vector<TFileDialogSpec> FileSpecs;      // specs of the file dialogs shown
  std::vector<TFont> FontsShown;               // initial fonts of the font dialogs
  // The caption of each warning, in order: the one the caller gave, or
  // empty for the layer's own ("Aviso").
  QStringList WarningCaptions;

  // The messages and warnings shown, without their prefixes.
  QStringList Messages() const;

  void ShowMessage(const QString& text) override;
  void Warning(const QString& text) override;
  void TitledWarning(const QString& caption, const QString& text) override;
  TModalResult ConfirmYesNoCancel(const QString& text) override;
  std::optional<QString> OpenFile(const TFileDialogSpec& pedido) override;
  std::optional<QString> SaveFile(const TFileDialogSpec& pedido) override;
  std::optional<QString> OpenPicture(const QString& title) override;
  std::optional<TFont> ChooseFont(const TFont& initial) override;
  std::optional<TColor> ChooseColor(TColor initial) override;
  // Each answer of Inputs is a text typed and OK pressed: one the check
  // refuses is told as a warning and the next answer is taken, as the
  // real box stays open.
  QString InputBox(const QString& caption, const QString& prompt, const QString& value,
                   const TInputCheck& check) override;
  bool Print(TPrintDialogSpec& pedido) override;
  bool PrinterSetup(TPrinterSetupSpec& pedido) override;
  bool Export(TExportDialogSpec& pedido) override;
};

// Installs a ScriptedDialogs for the lifetime of the guard and puts the
// previous layer back afterwards.
class ScriptedDialogsGuard {
 public:
  ScriptedDialogsGuard();
  ~ScriptedDialogsGuard();
  ScriptedDialogs& operator*() { return *dialogs_; }
  ScriptedDialogs* operator->() { return dialogs_; }

 private:
  ScriptedDialogs* dialogs_;
  std::unique_ptr<TDialogLayer> previous_;
};
