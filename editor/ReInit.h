// SPDX-License-Identifier: GPL-3.0-or-later
// Switching the language of the user interface while the program runs.
//
// A language module is a compiled translation file beside the program,
// named after the program with the language's abbreviation as extension
// ("lurns.ENU", or "lurns.EN" failing that).  Each window records the texts
// of its design (captions, hints, menu texts) in a TFormDesign; loading a
// module and reloading the forms sets those texts again from the module.
// Texts made at run time (file names, captions of cover objects) and the
// program's messages are not design texts and never change language.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QAction;
class QObject;
class QWidget;

class TFormDesign {
 public:
  // className is the translation context of the form's texts.
  TFormDesign(QWidget* form, const char* className);
  ~TFormDesign();
  TFormDesign(const TFormDesign&) = delete;
  TFormDesign& operator=(const TFormDesign&) = delete;

  // Records a design text and applies it now through the module in use.
  void Set(const char* source, std::function<void(const QString&)> apply);
  // Shorthands for the usual stored texts.
  void Caption(QObject* o, const char* source);  // text of a control, action or window title
  void Hint(QObject* o, const char* source);     // tool tip (and status tip of actions)

  // Sets every recorded text again from the module in use.
  void Reload();

  const char* ClassName() const { return className_; }
  QWidget* Form() const { return form_; }
  QStringList Sources() const;

 private:
  struct Entry {
    const char* source;
    std::function<void(const QString&)> apply;
  };
  QPointer<QWidget> form_;
  const char* className_;
  std::vector<Entry> entries_;
};

// A label of a form's design: "Arial" bold of the given pixel height at
// (x, y); it keeps the given width, or fits its text when width is -1.
class QLabel;
QLabel* RotuloDesenho(TFormDesign& d, QWidget* parent, const char* text, int x, int y, int pixelSize,
                      int width = -1, bool wordWrap = false);

// The design text in the language of the module in use.
QString DesignText(const char* className, const char* source);

// The platform's three-letter abbreviation of a language id ("ENU" for
// 1033, "PTG" for 2070), or an empty string for one it does not know.
QString LocaleAbbreviation(int localeId);

// Loads the language module for a locale, found by the program's file name
// (programFile; the running program when empty).  On success it replaces
// the module in use and true is returned; otherwise nothing changes.
bool LoadLanguageModule(int localeId, const QString& programFile = QString());
// The file of the module in use, or empty when the program's own texts are.
QString LanguageModuleInUse();

// The platform's own texts (the buttons and labels of Qt's font, colour,
// file, print and message dialogs) in the language of a locale: for
// Portuguese (2070) Qt's European Portuguese translation, with Qt's
// Brazilian one for what that lacks; for any other locale Qt's own English.
// `folder` is where the translation files are (Qt's translations folder
// when empty).  True when the texts of that language are in use.
bool LoadPlatformTranslations(int localeId, const QString& folder = QString());

// Sets the design texts of every open form again, in creation order.
void ReloadForms();
void ReloadFormResource(TFormDesign& design);
// The forms that record their designs, in creation order.
std::vector<TFormDesign*> OpenForms();
