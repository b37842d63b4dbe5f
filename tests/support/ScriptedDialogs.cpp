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

QString ScriptedDialogs::InputBox(const QString& caption, const QString& prompt, const QString& value) {
  Asked << "input: " + caption + "/" + prompt;
  auto v = Take<std::optional<QString>>(Inputs, "input", std::nullopt);
  return v ? *v : value;
}

bool ScriptedDialogs::Print(TPrintDialogSpec&) {
  Asked << "print";
  return Take(Prints, "print", false);
}

bool ScriptedDialogs::PrinterSetup() {
  Asked << "printer setup";
  return Take(Prints, "printer setup", false);
}

ScriptedDialogsGuard::ScriptedDialogsGuard() {
  auto d = std::make_unique<ScriptedDialogs>();
  dialogs_ = d.get();
  previous_ = SetDialogs(std::move(d));
}

ScriptedDialogsGuard::~ScriptedDialogsGuard() { SetDialogs(std::move(previous_)); }
