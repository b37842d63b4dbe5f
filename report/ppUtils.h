// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between the engine's internal unit, thousandths of a
// millimetre, and the units that designers, components and devices see; the
// standard Windows paper table that printers' paper lists fall back on; and
// the engine's messages with the language modules that translate them.
//
// Every conversion multiplies or divides by InchesPerMM (ppTypes.h) in
// extended precision and rounds halves to the even neighbour, so that the
// results match the thousandths stored in existing report files.
#pragma once

#include "platform/Types.h"
#include "report/ppTypes.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class TppPrinter;

// Round half to even, as the engine's Round does.
int ppRound(long double x);
// Cut toward zero, as the engine's Trunc does.
int ppTrunc(long double x);

// A nil printer, or utPrinterPixels without one, uses the screen's logical
// pixels per inch.
float MMThousandthsToUnits(int value, TppUnitType units, TppDirection direction,
                           TppPrinter* printer = nullptr);
int UnitsToMMThousandths(TppUnitType units, TppDirection direction, TppPrinter* printer,
                         float value);

// Pixels go to thousandths as screen pixels, then to the target unit.
float ScreenPixelsToUnits(int pixels, TppUnitType units, TppDirection direction,
                          TppPrinter* printer = nullptr);
// The value goes to thousandths, then to whole screen pixels (truncated).
int UnitsToScreenPixels(TppUnitType units, TppDirection direction, TppPrinter* printer,
                        float value);

// Designs in pixels: the cover and the shapes of report designs are laid
// out in whole pixels at DesignPixelsPerInch, whatever the resolution of
// the screen they are shown on.  Every conversion of such pixels goes
// through these two (never through the screen's own pixels per inch, so a
// cover prints the same from any screen): Round(pixels / 96 / InchesPerMM
// x 1000) thousandths, and back Round(thousandths / 1000 x InchesPerMM x
// 96) pixels, halves to even.  At 96 they agree with the screen-pixel
// conversions of a 96 ppi screen (72 -> 19050, 529 -> 139965, 1 -> 265).
inline constexpr int DesignPixelsPerInch = 96;
int DesignPixelsToMMThousandths(int pixels);
int MMThousandthsToDesignPixels(int mmThousandths);
// A length in thousandths as pixels at `pixelsPerInch`, unrounded: for a
// device that scales the page as a whole (the preview's zoom), so that an
// edge lands where it lands on paper rasterised at that scale.
long double MMThousandthsToPixels(int mmThousandths, long double pixelsPerInch);

// Tenths of a millimetre, the unit of printer drivers' paper sizes.
float TenthsMMToUnits(int tenths, TppUnitType units, TppDirection direction,
                      TppPrinter* printer = nullptr);
int UnitsToTenthsMM(TppUnitType units, TppDirection direction, TppPrinter* printer,
                    float value);

// The Windows paper codes 1-68 (48 and 49 have no paper), 118 and 256:
// the name ("Unknown" for other codes) and the portrait width and height in
// tenths of a millimetre (zero for codes without a size).
QString StandardPaperName(int code);
void StandardPaperSize(int code, int& width, int& height);

// ---------------------------------------------------------------------------
// Engine messages
//
// Every text the engine shows (window captions, hints, button texts, status
// texts, errors) is a message fetched by number: message n is the string
// with identifier 43000 + n, taken from the loaded language modules and
// otherwise from the engine's own table, European Portuguese, built in from
// resources/engine/ppMessages.txt.

enum TppMessage : int {
  // Status texts
  msgAccessingData = 2,     // "A Aceder aos Dados..."
  msgCalculatingPage = 3,   // "A Calcular a Página <page> para o Relatório <documentname>"
  msgDrawingPageOf = 4,     // "A Desenhar a Página <page> de <pagecount> para o Relatório ..."
  msgOf = 16,               // "de"
  msgPage = 18,             // "Página"
  msgPrintingPage = 27,     // "A Imprimir a Página <page> para o Relatório ... em <printername>"
  msgPrintingPageOf = 28,   // "A Imprimir a Página <page> de <pagecount> para o Relatório ..."
  // Preview window
  msgSearch = 30,
  msgPrint = 31,
  msgWholePage = 32,
  msgPageWidth = 33,
  msg100Percent = 34,
  msgFirstPage = 35,
  msgPriorPage = 36,
  msgNextPage = 37,
  msgLastPage = 38,
  msgClose = 39,
  msgPrintPreview = 40,
  msgCancel = 41,
  // Print dialog
  msgPrinter = 50,
  msgName = 51,
  msgNoPrintersInstalled = 52,
  msgProperties = 53,
  msgType = 54,
  msgWhere = 55,
  msgPageRange = 56,
  msgAll = 57,
  msgCurrentPage = 58,
  msgPages = 59,
  msgPageRangeHint = 60,
  msgCopies = 61,
  msgNumberOfCopies = 62,
  msgCollate = 63,
  msgPrintWhat = 64,
  msgAllPagesInRange = 65,
  msgOddPages = 66,
  msgEvenPages = 67,
  msgPrintToFile = 68,
  msgOK = 69,
  msgNoPagesChosen = 70,
  msgSpecifyFileName = 71,
  msgPrinterProblem = 72,
  // Cancel dialog
  msgPrinting = 80,
  // Report components as a designer describes them
  msgLabelDescription = 119,
  // Errors
  msgPrintPositionExceedsSpace = 415,
  msgPrinterSetupProblem = 1020,
  msgCannotGenerateReport = 1023,
  msgBandNeverFits = 1030,      // "A banda <name> não cabe numa página vazia..."
  msgReportNeverEnds = 1031,    // "O relatório não tem dados ... nunca terminaria."
  msgPrinterRefused = 1032,     // "A impressora <printername> recusou o documento."
  msgFileNotWritten = 1033,     // "Não foi possível escrever o ficheiro <filename>."
  msgNoPagesToPrint = 1034,     // "Nenhuma página para imprimir."
  msgNotPrinted = 1035,         // "Este programa não imprime <name>: ..."
  msgObjectsNotPrinted = 1036,  // "Alguns objectos não foram impressos:"
};

inline constexpr int MessageIdentifierBase = 43000;

// Message n: the first language module that holds a text for it, else the
// built-in table; empty when neither has one.
QString EngineMessage(int n);
// Message n with its placeholders filled (FillMessagePlaceholders).
QString EngineMessage(int n, const QStringList& values);
// Replaces the placeholders "<page>", "<pagecount>", "<documentname>",
// "<printername>", "<columnno>", "<filename>", "<minbarwidth>",
// "<maxbarwidth>", "<character>", "<identifier>", "<name>", "<count>",
// "<message>", "<length>" and "<no>" by the values in the order the
// placeholders appear in the text (whatever their names); a placeholder
// without a value becomes empty.  Values are inserted as they are: a value
// that looks like a placeholder is not filled again.
QString FillMessagePlaceholders(const QString& text, const QStringList& values);
// The built-in text of message n, empty when the table has none.
QString BuiltInMessage(int n);

// Language modules: text files beside the program named after a base name
// and the language's extension, for example ppPrint.eng for lgEnglish.  A
// module has the form of the built-in table (identifier=text lines in
// UTF-8, see resources/engine/ppMessages.txt); a file that cannot be read
// or is not UTF-8 text is not loaded.  None is shipped: without them every
// text comes from the built-in table.
//
// One manager per process (ResourceManager()); the engine's own base name,
// "ppPrint", is listed from the start.
class TppResourceManager {
 public:
  TppResourceManager();

  TppLanguageType Language() const { return language_; }
  // Switches to the modules of a language.  Succeeds for lgDefault or when
  // at least one module of the language was loaded; otherwise the manager
  // stays with its previous language and that language's modules.
  bool SetLanguage(TppLanguageType language);

  // Lists a base name and loads its module; nothing when already listed.
  void AddModule(const QString& baseName);
  // Unloads and forgets a base name.
  void RemoveModule(const QString& baseName);
  QStringList ModuleNames() const;
  int LoadedModuleCount() const { return loadedCount_; }
  // Loads the modules of every base name for the current language, unless
  // they are loaded already.
  void LoadModules();

  // The text of a string identifier from the loaded modules, in the order
  // of their base names (the first non-empty one); empty when none has it.
  QString ModuleString(int identifier) const;

  // Where modules are looked for: the program's folder, unless set (tests
  // point it elsewhere).  Setting it unloads the modules until the next
  // LoadModules or SetLanguage.
  QString ModuleDirectory() const;
  void SetModuleDirectory(const QString& directory);

 private:
  struct Module {
    QString baseName;
    std::optional<QHash<int, QString>> strings;  // none when loading failed
  };
  void LoadModule(Module& m);
  void UnloadAll();

  TppLanguageType language_ = lgDefault;
  std::vector<Module> modules_;
  int loadedCount_ = 0;
  bool loaded_ = false;
  QString directory_;
};

TppResourceManager& ResourceManager();

// Reads the identifier=text form of message tables; answers nothing when
// the bytes are not UTF-8 text.
std::optional<QHash<int, QString>> ParseMessageTable(const QByteArray& bytes);

// ---------------------------------------------------------------------------
// Print errors

// The one error kind in which every failure of producing a report reaches
// the caller, whatever failed (generation, the printer, the spooler, the
// output file): its message is message 1023 ("Impossível Gerar
// Relatório"), two line breaks and the reason.
class EPrintError : public Exception {
 public:
  explicit EPrintError(const QString& reason);
  QString Reason;
};

// ---------------------------------------------------------------------------
// Pending events during generation

// Generation lets the program process its pending events after every band,
// component and page, so that a preview's or cancel dialog's Cancel button
// and status texts work while pages are produced.  It goes through this
// hook, which by default processes the pending events of the Qt
// application when there is one.  A program installs its own to keep some
// input away while a print runs (a second print, closing a window); an
// empty hook processes nothing.
using TppProcessMessagesHook = std::function<void()>;
void SetProcessMessagesHook(TppProcessMessagesHook hook);
void ProcessMessages();
