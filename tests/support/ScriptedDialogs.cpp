// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace {
template <typename T>
T Take(std::deque<T>& queue, const QString& what, const T& fallback) {
  if (queue.empty()) {
    ADD_FAILURE() << "no scripted answer for " << what.toStdString();
    queue.push_back(fallback);
  }
  T v = queue.front();
  queue.pop_front();
  return v;
}
}  // namespace

QStringList ScriptedDialogs::Messages() const {
  QStringList out;
  for (const QString& a : Asked)
    if (a.startsWith(QLatin1String("message: ")) || a.startsWith(QLatin1String("warning: ")))
      out << a.mid(a.indexOf(QLatin1String(": ")) + 2);
  return out;
}

void ScriptedDialogs::ShowMessage(const QString& text) { Asked << "message: " + text; }
void ScriptedDialogs::Warning(const QString& text) {
  Asked << "warning: " + text;
  WarningCaptions << QString();
}

void ScriptedDialogs::TitledWarning(const QString& caption, const QString& text) {
  Asked << "warning: " + text;
  WarningCaptions << caption;
}

TModalResult ScriptedDialogs::ConfirmYesNoCancel(const QString& text) {
  Asked << "confirm: " + text;
  return Take(Confirms, "confirm: " + text, TModalResult::Cancel);
}

std::optional<QString> ScriptedDialogs::OpenFile(const TFileDialogSpec& pedido) {
  Asked << "open: " + pedido.Title;
  FileSpecs.push_back(pedido);
  return Take<std::optional<QString>>(Files, "open: " + pedido.Title, std::nullopt);
}

std::optional<QString> ScriptedDialogs::SaveFile(const TFileDialogSpec& pedido) {
  Asked << "save: " + pedido.Title;
  FileSpecs.push_back(pedido);
  // As the real dialog: the default extension first, then the question
  // about replacing an existing file of that name; answered No, the dialog
  // stays and takes the next scripted name.
  for (;;) {
    auto name = Take<std::optional<QString>>(Files, "save: " + pedido.Title, std::nullopt);
    if (!name) return name;
    *name = SaveDialogFileName(pedido, *name);
    if (!SaveDialogMustConfirm(pedido, *name)) return name;
    const QString question = OverwriteQuestion(*name);
    Asked << "overwrite: " + question;
    if (Take(Confirms, "overwrite: " + question, TModalResult::No) == TModalResult::Yes) return name;
  }
}

std::optional<QString> ScriptedDialogs::OpenPicture(const QString& title) {
  Asked << "picture: " + title;
  return Take<std::optional<QString>>(Files, "picture: " + title, std::nullopt);
}

std::optional<TFont> ScriptedDialogs::ChooseFont(const TFont& initial) {
  Asked << "font";
  FontsShown.push_back(initial);
  return Take<std::optional<TFont>>(Fonts, "font", std::nullopt);
}

std::optional<TColor> ScriptedDialogs::ChooseColor(TColor) {
  Asked << "colour";
  return Take<std::optional<TColor>>(Colours, "colour", std::nullopt);
}

QString ScriptedDialogs::InputBox(const QString& caption, const QString& prompt, const QString& value,
                                  const TInputCheck& check) {
  for (;;) {
    Asked << "input: " + caption + "/" + prompt;
    auto v = Take<std::optional<QString>>(Inputs, "input", std::nullopt);
    if (!v) return value;
    const QString why = check ? check(*v) : QString();
    if (why.isEmpty()) return *v;
    Warning(why);
  }
}

bool ScriptedDialogs::Print(TPrintDialogSpec& pedido) {
  Asked << "print";
  PrintSpecs.push_back(pedido);
  // A queued choice answers OK with its fields; otherwise Prints says OK
  // (the request as offered) or cancel.
  if (!PrintChoices.empty()) {
    const TPrintDialogChoice c = PrintChoices.front();
    PrintChoices.pop_front();
    if (!c.Ok) return false;
    pedido.PrintRange = c.Range;
    if (c.Range == TPrintDialogSpec::prPageNums) {
      pedido.FromPage = c.From;
      pedido.ToPage = c.To;
    }
    pedido.Copies = c.Copies;
    pedido.Collate = c.Collate;
    pedido.PrinterName = c.File.isEmpty() ? (c.Printer.isEmpty() ? pedido.PrinterName : c.Printer) : QString();
    pedido.OutputFileName = c.File;
    pedido.Set = c.Set;
    pedido.Reverse = c.Reverse;
    pedido.Duplex = c.Duplex;
    pedido.Color = c.Color;
    if (!c.Paper.isEmpty()) pedido.PaperName = c.Paper;
    pedido.QueueOptions = c.QueueOptions;
    if (c.DiscPosition != 0) pedido.DiscPosition = c.DiscPosition;
    if (c.Marks >= 0) pedido.Marks = c.Marks;
    return true;
  }
  return Take(Prints, "print", false);
}

bool ScriptedDialogs::PrinterSetup(TPrinterSetupSpec& pedido) {
  Asked << "printer setup";
  SetupSpecs.push_back(pedido);
  auto answer = Take<std::optional<TPrinterSetupChoice>>(SetupChoices, "printer setup", std::nullopt);
  if (!answer) return false;
  pedido.PrinterName = answer->Printer;
  pedido.PaperName = answer->Paper;
  pedido.BinName = answer->Bin;
  return true;
}

bool ScriptedDialogs::Export(TExportDialogSpec& pedido) {
  Asked << "export";
  ExportSpecs.push_back(pedido);
  auto answer = Take<std::optional<TExportChoice>>(ExportChoices, "export", std::nullopt);
  if (!answer) return false;
  pedido.Formato = answer->Formato;
  pedido.Dpi = answer->Dpi;
  pedido.PrintRange = answer->Range;
  if (answer->Range == TPrintDialogSpec::prPageNums) {
    pedido.FromPage = answer->From;
    pedido.ToPage = answer->To;
  }
  return true;
}

ScriptedDialogsGuard::ScriptedDialogsGuard() {
  auto d = std::make_unique<ScriptedDialogs>();
  dialogs_ = d.get();
  previous_ = SetDialogs(std::move(d));
}

ScriptedDialogsGuard::~ScriptedDialogsGuard() { SetDialogs(std::move(previous_)); }
