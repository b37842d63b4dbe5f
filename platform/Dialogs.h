// SPDX-License-Identifier: GPL-3.0-or-later
// The platform's common dialogs, behind one replaceable layer.  The program
// shows Qt's real dialogs; tests install a scripted layer that answers from
// a queue and records what was asked, so every command runs headless.
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

struct TFileDialogSpec {
  QString Title;
  // Filter in the platform's "Description|*.ext|Other|*.x" form.
  QString Filter;
  QString DefaultExt;  // without the dot; added to a name typed without one
  bool OverwritePrompt = false;
  QString InitialDir;
  QString FileName;
};

// The platform print dialog: what it offers (in) and what the user chose
// (out).  Every choice the dialog offers is answered here: the printer or
// the output file, the range and which pages of it, their order, copies
// and collation, sides, colour, the paper and the queue's own options.
// What the program cannot honour (the orientation of pages that have their
// own, margins of true-size pages, a list of single pages) the dialog does
// not offer.
struct TPrintDialogSpec {
  enum Range { prAllPages, prSelection, prPageNums };
  // Which pages of the range print: all, or only the odd or the even
  // numbers.
  enum PageSet { setAll, setOdd, setEven };
  int MinPage = 1, MaxPage = 1;
  int FromPage = 1, ToPage = 1;
  bool AllowPageNums = true;
  bool AllowSelection = false;
  Range PrintRange = prAllPages;
  PageSet Set = setAll;       // out
  bool Reverse = false;       // out: the last page first
  int Copies = 1;
  bool Collate = false;
  QString PrinterName;  // in: current printer; out: the chosen one (empty for a file)
  // Out: the PDF file chosen instead of a printer ("print to file"), empty
  // for a printer; a name without an extension gets ".pdf", and replacing
  // an existing file was confirmed.
  QString OutputFileName;
  // Out: the sides of the sheet, as the driver settings' duplex (1 one
  // side, 2 both turned on the short edge, 3 both turned on the long edge).
  int Duplex = 1;
  // Out: in colour, or in shades of grey.
  bool Color = true;
  // In: the paper the print is on, by its name among the printer's papers
  // (empty: A4); out: the one chosen in the printer's properties, else the
  // same.
  QString PaperName;
  // Out: the queue's options chosen besides, by keyword, as the spooler
  // takes them (pages per sheet "number-up", the job's options, the
  // driver's own such as its trays); empty for a file.
  QMap<QString, QString> QueueOptions;
  // The discs of a sheet of disc labels to print: in, 0 when the disc
  // page is not on such a sheet (nothing offered), else the current
  // choice; out, 1 (the top disc), 2 (the bottom one) or 3 (both).
  int DiscPosition = 0;
  // Crop and fold marks: in, -1 when not offered, else whether they are
  // on; out, the choice.
  int Marks = -1;
};

// The printer setup dialog: the printer, its paper and its paper source.
struct TPrinterSetupSpec {
  QStringList Printers;  // in: the printers to choose from
  QString PrinterName;   // in: the current printer; out: the chosen one
  // The papers and the paper sources of a printer, by name.
  std::function<QStringList(const QString& printer)> Papers;
  std::function<QStringList(const QString& printer)> Bins;
  QString PaperName;  // in and out
  QString BinName;    // in and out
  // When set, "Calibrar…" offers the calibration of the printer shown.
  std::function<void(const QString& printer)> Calibrate;
};

// The export dialog: which format, at what resolution (pictures and
// drawings), and which pages, chosen as in the print dialog (all, the page
// of the sheet shown, or pages from-to).  In: what is offered and the last
// choices; out: the choices.
struct TExportDialogSpec {
  enum Format { fmtPdf, fmtPng, fmtSvg };
  Format Formato = fmtPdf;
  int Dpi = 150;
  int MinDpi = 10, MaxDpi = 1200;
  TPrintDialogSpec::Range PrintRange = TPrintDialogSpec::prAllPages;
  int MinPage = 1, MaxPage = 1;
  int FromPage = 1, ToPage = 1;
};

// Why a typed text is refused, or an empty string when it is accepted.
using TInputCheck = std::function<QString(const QString& text)>;

class TDialogLayer {
 public:
  virtual ~TDialogLayer() = default;
  // Plain message box with an OK button.
  virtual void ShowMessage(const QString& text) = 0;
  // Warning icon and an OK button: how failures the user caused are told.
  virtual void Warning(const QString& text) = 0;
  // The same under a caption of the caller's (the single-instance guard's
  // warning carries the application's title).  A layer that shows no
  // captions tells it as any warning.
  virtual void TitledWarning(const QString& caption, const QString& text) {
    (void)caption;
    Warning(text);
  }
  // Confirmation icon with Yes, No and Cancel.
  virtual TModalResult ConfirmYesNoCancel(const QString& text) = 0;
  // A file name, or nothing when the user cancels.
  virtual std::optional<QString> OpenFile(const TFileDialogSpec& pedido) = 0;
  virtual std::optional<QString> SaveFile(const TFileDialogSpec& pedido) = 0;
  // Picture-open dialog (the picture formats the program reads, with a preview).
  virtual std::optional<QString> OpenPicture(const QString& title) = 0;
  virtual std::optional<TFont> ChooseFont(const TFont& initial) = 0;
  virtual std::optional<TColor> ChooseColor(TColor initial) = 0;
  // The input box for a text of several lines, separated by CR LF in the
  // value given and the text answered (as cover files keep them): Enter
  // starts a new line, Ctrl+Enter or OK accepts.  `check`, when given,
  // judges the text on OK: a non-empty answer is why it is refused, told in
  // a warning while the box stays open with the text as typed.  The typed
  // text, or the initial value when cancelled.
  virtual QString InputBox(const QString& caption, const QString& prompt, const QString& value,
                           const TInputCheck& check) = 0;
  // The print dialog; false when cancelled.
  virtual bool Print(TPrintDialogSpec& pedido) = 0;
  // The printer setup dialog; false when cancelled.
  virtual bool PrinterSetup(TPrinterSetupSpec& pedido) = 0;
  // The export dialog; false when cancelled.
  virtual bool Export(TExportDialogSpec& pedido) = 0;
};

// The layer in use.  A QtDialogLayer until SetDialogs replaces it.
TDialogLayer& Dialogs();
// Installs a layer and returns the one it replaces.
std::unique_ptr<TDialogLayer> SetDialogs(std::unique_ptr<TDialogLayer> layer);

// The filter "Lurns CD (*.lrn)|*.lrn" in Qt's "Lurns CD (*.lrn)" form.
QString QtFilterFromPlatform(const QString& filter);
// Adds ".ext" to a name typed without an extension.
QString WithDefaultExtension(const QString& fileName, const QString& defaultExt);
// A save dialog's answer for the name the user accepted: the dialog's
// default extension is added first, and only then is it decided whether
// the user must confirm replacing an existing file (OverwritePrompt), so
// that "capa" typed over an existing "capa.lrn" is asked about.
QString SaveDialogFileName(const TFileDialogSpec& pedido, const QString& accepted);
bool SaveDialogMustConfirm(const TFileDialogSpec& pedido, const QString& fileName);
// The question asked before an existing file is replaced.
QString OverwriteQuestion(const QString& fileName);
// The picture files the loader reads, as a Qt filter.
QString PictureFilter();

class QtDialogLayer : public TDialogLayer {
 public:
  void ShowMessage(const QString& text) override;
  void Warning(const QString& text) override;
  void TitledWarning(const QString& caption, const QString& text) override;
  TModalResult ConfirmYesNoCancel(const QString& text) override;
  std::optional<QString> OpenFile(const TFileDialogSpec& pedido) override;
  std::optional<QString> SaveFile(const TFileDialogSpec& pedido) override;
  std::optional<QString> OpenPicture(const QString& title) override;
  // The font dialog with a colour list.  OK without a change gives back
  // exactly the font it was given (name, size, style, colour, character
  // set), also when the name is one the font system only resolves to
  // another face; a change takes only what was changed.  Scalable faces
  // only.
  std::optional<TFont> ChooseFont(const TFont& initial) override;
  std::optional<TColor> ChooseColor(TColor initial) override;
  // A dialog of our own with a box of several lines ("inputText").
  QString InputBox(const QString& caption, const QString& prompt, const QString& value,
                   const TInputCheck& check) override;
  // Qt's print dialog over the application's printer object, which is
  // only asked for the answers above (never printed through): "Print to
  // File" answers the file name and no printer, and asks before replacing
  // an existing file (answered No, the dialog opens again).
  bool Print(TPrintDialogSpec& pedido) override;
  // A dialog "Configurar Impressora" with the printer, paper and paper
  // source lists.
  bool PrinterSetup(TPrinterSetupSpec& pedido) override;
  // A dialog "Exportar" with the format, the resolution (for PNG and SVG)
  // and the pages (platform/ExportDialog.cpp).
  bool Export(TExportDialogSpec& pedido) override;
};

// Installs the printer dialog host of the program's windows (PrinterBackend):
// printers' own dialogs then belong to the active window.  Programs with
// windows call it once after creating the application.
void InstallPrinterDialogHost();

// The printer object Qt's print dialog is shown for; it keeps the dialog's
// last choices between prints.
class QPrinter;
QPrinter& ApplicationPrinter();
