// SPDX-License-Identifier: GPL-3.0-or-later
// Paper, margins and printers of the report engine: the page definition, the
// printer setup every report owns, the list of the system's printers with
// their capabilities, and the printer object that turns a setup into driver
// settings, a device context and a drawing surface.
//
// All geometry is in thousandths of a millimetre; the floating-point
// properties convert through ppUtils in the setup's units.  The system's
// printing services are reached through the backend of platform/.
#pragma once

#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/PrinterBackend.h"
#include "report/ppTypes.h"

#include <QFont>
#include <QRect>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QPainter;
class TPageExporter;
class TppPrinter;
class TppCustomPrinter;
class TppPrinterSetup;

struct TppRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const TppRect&) const = default;
};
// The rectangle as Qt has it (right and bottom edges outside).
inline QRect RectOf(const TppRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

// Paper size and margins in thousandths of a millimetre.
class TppPageDef {
 public:
  int mmHeight = 0;
  int mmWidth = 0;
  int mmMarginLeft = 0;
  int mmMarginRight = 0;
  int mmMarginTop = 0;
  int mmMarginBottom = 0;

  int mmPrintableHeight() const { return mmHeight - mmMarginTop - mmMarginBottom; }
  int mmPrintableWidth() const { return mmWidth - mmMarginLeft - mmMarginRight; }
  TppRect PrintableRect() const {
    return {mmMarginLeft, mmMarginTop, mmWidth - mmMarginRight, mmHeight - mmMarginBottom};
  }
  // In whole screen pixels (truncated).
  int spHeight() const;
  int spWidth() const;
  int spPrintableWidth() const;

  void Assign(const TppPageDef& source) { *this = source; }
  bool operator==(const TppPageDef&) const = default;
};

// A printer's papers and bins, index-aligned lists as the driver reports
// them after reconciliation.  Paper sizes are portrait, in tenths of a mm.
class TppPrinterCapabilities {
 public:
  QString PrinterName;
  QStringList BinNumbers;
  QStringList BinNames;
  QStringList PaperNumbers;
  QStringList PaperNames;
  QStringList PaperWidths;
  QStringList PaperHeights;
  bool Copies = false;  // the driver makes more than two copies itself

  // Fills the lists from the driver's raw answers and reconciles them: the
  // names and numbers agree, one "Custom" paper (code 256) comes last,
  // papers without a size are dropped, and a "Default" bin exists.
  void Build(const TDeviceCapabilities& raw);
};

class TppPrinterInfo {
 public:
  QString PrinterName;
  QString Driver;
  QString Device;
  QString Port;
  // The printer is not purely a network printer.
  bool Local = true;
  // Cleared for good when no device context can be made for the printer.
  bool Usable = true;
  // The placeholder for "no printer": its capability lists stay empty.
  bool Placeholder = false;

  // Built from the driver on first request.
  TppPrinterCapabilities* Capabilities();

 private:
  std::unique_ptr<TppPrinterCapabilities> caps_;
};

// The system's printers in the spooler's order, led by "Default".
class TppPrinterList {
 public:
  void Build(TPrinterBackend& backend);

  int Count() const { return int(items_.size()); }
  QString Names(int i) const { return items_[size_t(i)].first; }
  TppPrinterInfo* Info(int i) const { return items_[size_t(i)].second.get(); }
  QStringList PrinterNames() const;

  QString DefaultPrinterName() const { return default_; }
  // Asks the spooler again which printer is the default.
  void RefreshDefault();
  // "Default" stands for the default printer's name.
  QString ResolveName(const QString& name) const;
  // The info of a printer by name or alias ("device on port"); the default
  // printer when nothing matches; nil when there is none either.
  TppPrinterInfo* FindPrinterInfo(const QString& name) const;

 private:
  int IndexOfName(const QString& name) const;
  std::vector<std::pair<QString, std::unique_ptr<TppPrinterInfo>>> items_;
  QString default_;
  TPrinterBackend* backend_ = nullptr;
};

// The process's printer list, built on first use.
TppPrinterList* PrinterList();
// The placeholder info for "no printer installed".
TppPrinterInfo* NoPrinterInfo();
// Drops the printer list and the shared printer so that both are built
// again from the backend in use (after SetPrinterBackend, or to see the
// printers added since).  Setups and printers that exist keep their printer
// names and look their infos up again in the new list.
void ResetPrinterList();
// Counts the lists built so far; an info is valid while the count it was
// looked up under stands.
int PrinterListGeneration();

// The object a printer setup belongs to, as far as the setup needs it: while
// it is loaded or read from a stream the setup only stores values.
class TppSetupOwner {
 public:
  virtual ~TppSetupOwner() = default;
  virtual bool SetupOwnerLoading() const = 0;
  virtual bool SetupOwnerReading() const = 0;
};

class TppPrinterSetup {
 public:
  using TGetPrinterEvent = std::function<TppPrinter*(TppPrinterSetup* Sender)>;
  using TValidatePageDefEvent =
      std::function<void(TppPrinterSetup* Sender, const TppPageDef& PageDef, bool& Accept)>;
  using TSetupNotifyEvent = std::function<void(TppPrinterSetup* Sender)>;

  explicit TppPrinterSetup(TppSetupOwner* owner = nullptr);
  TppPrinterSetup(const TppPrinterSetup&) = delete;
  TppPrinterSetup& operator=(const TppPrinterSetup&) = delete;

  TGetPrinterEvent OnGetPrinter;
  TValidatePageDefEvent OnValidatePageDef;
  TSetupNotifyEvent OnPageDefChange;
  TSetupNotifyEvent OnSetupChange;

  bool NotificationsEnabled() const { return notify_; }
  void SetNotificationsEnabled(bool on) { notify_ = on; }

  TppSetupOwner* Owner() const { return owner_; }
  TppUnitType Units() const { return units_; }
  void SetUnits(TppUnitType u) { units_ = u; }

  QString BinName() const { return binName_; }
  void SetBinName(const QString& value);
  bool Collation() const { return collation_; }
  void SetCollation(bool value);
  int Copies() const { return copies_; }
  void SetCopies(int value);
  QString DocumentName() const { return documentName_; }
  void SetDocumentName(const QString& value);
  TppDuplexType Duplex() const { return duplex_; }
  void SetDuplex(TppDuplexType value);
  QString OutputFileName() const { return outputFileName_; }
  void SetOutputFileName(const QString& value) { outputFileName_ = value; }
  TPrinterOrientation Orientation() const { return orientation_; }
  void SetOrientation(TPrinterOrientation value);
  // "Custom" is first replaced by the printer's paper of the current size.
  QString PaperName();
  void SetPaperName(const QString& value);
  QString PrinterName() const { return printerName_; }
  void SetPrinterName(const QString& value);
  // The printer list's info of PrinterName (null when no printer
  // matches), looked up again after the list was rebuilt.
  TppPrinterInfo* PrinterInfo() const { return Info(); }

  // In the setup's units.
  float MarginBottom();
  float MarginLeft();
  float MarginRight();
  float MarginTop();
  float PaperHeight();
  float PaperWidth();
  void SetMarginBottom(float value);
  void SetMarginLeft(float value);
  void SetMarginRight(float value);
  void SetMarginTop(float value);
  void SetPaperHeight(float value);
  void SetPaperWidth(float value);

  const TppPageDef& PageDef() const { return pageDef_; }

  // Stream properties: the page definition in thousandths, written and
  // read directly, and the paper code.
  int mmMarginBottom() const { return pageDef_.mmMarginBottom; }
  int mmMarginLeft() const { return pageDef_.mmMarginLeft; }
  int mmMarginRight() const { return pageDef_.mmMarginRight; }
  int mmMarginTop() const { return pageDef_.mmMarginTop; }
  int mmPaperHeight() const { return pageDef_.mmHeight; }
  int mmPaperWidth() const { return pageDef_.mmWidth; }
  void SetmmMarginBottom(int v) { pageDef_.mmMarginBottom = v; }
  void SetmmMarginLeft(int v) { pageDef_.mmMarginLeft = v; }
  void SetmmMarginRight(int v) { pageDef_.mmMarginRight = v; }
  void SetmmMarginTop(int v) { pageDef_.mmMarginTop = v; }
  void SetmmPaperHeight(int v) { pageDef_.mmHeight = v; }
  void SetmmPaperWidth(int v) { pageDef_.mmWidth = v; }
  // Reads one of the seven stream properties; floating values are
  // truncated.  Answers false for other names.
  bool ReadStreamProperty(const QString& name, double value);
  // The seven stream properties to write, in order; with an ancestor only
  // those that differ from it.
  std::vector<std::pair<QString, int>> StreamProperties(TppPrinterSetup* ancestor);
  // The paper code read from a stream (0 when none was read).
  int StoredPaperSize() const { return storedPaperSize_; }
  // PaperWidth/PaperHeight assigned while the owner was read.
  float ReadPaperWidth() const { return readPaperWidth_; }
  float ReadPaperHeight() const { return readPaperHeight_; }

  // The Windows code of the current paper on the selected printer: 0
  // without a printer, 256 for a size the printer does not list.
  int PaperSize();
  // The printer's paper within a millimetre of the size (setup units,
  // page sense); "Custom" when none is; the current name without printer.
  QString PaperNameForSize(float height, float width);
  // After the owner was read: a stored paper code restores the current
  // printer's own name for that paper.
  void Loaded();

  QStringList PaperNames() const;
  QStringList BinNames() const;
  QStringList PrinterNames() const;

  // Copies every setting and the units; fires nothing.
  void Assign(const TppPrinterSetup& source);
  bool EqualTo(const TppPrinterSetup& other) const;
  bool IsEqualPrinterAndOrientation(const TppPrinterSetup& other) const;

 private:
  bool OwnerBusy() const;  // loaded or read
  bool CanNotify() const { return notify_ && !OwnerBusy(); }
  void Fire(const TSetupNotifyEvent& hook);
  bool Accept();
  TppPrinter* ConversionPrinter();
  void SetPageField(int TppPageDef::*field, TppDirection dir, float value, bool paperSize);
  TppPrinterInfo* Info() const;
  void SetInfo(TppPrinterInfo* info);

  bool notify_ = true;
  QString binName_ = QStringLiteral("Default");
  bool collation_ = true;
  int copies_ = 1;
  QString documentName_;
  TppDuplexType duplex_ = dpNone;
  QString outputFileName_;
  TppPageDef scratch_;
  TPrinterOrientation orientation_ = poPortrait;
  TppPageDef pageDef_;
  QString paperName_ = QStringLiteral("Custom");
  QString printerName_ = QStringLiteral("Default");
  mutable TppPrinterInfo* info_ = nullptr;
  mutable int generation_ = -1;  // of the printer list info_ comes from
  TppSetupOwner* owner_ = nullptr;
  TppUnitType units_ = utInches;
  int storedPaperSize_ = 0;
  float readPaperHeight_ = 0;
  float readPaperWidth_ = 0;
};

// The canvas of a printer: draws on the open page (device pixels from the
// printable area's corner) and measures with the printer's own font
// metrics, also between pages.  Its font keeps its point size at the
// printer's vertical resolution, and coloured text is black on a printer
// without colours.
class TppPrinterCanvas : public TCanvas {
 public:
  explicit TppPrinterCanvas(TppCustomPrinter* printer) : printer_(printer) {}

  // The font as last set, kept in step with the printer (see SyncFont).
  const TFont& Font() override;
  void SetFont(const TFont& font) override;
  // Keeps the font's point size at the printer's vertical resolution, and
  // makes coloured text black on a printer without colours.
  void SyncFont();

  // The open page's painter; nil outside a page.
  QPainter* Painter() override;
  // The printer's vertical resolution (the screen's without a context):
  // text is laid out at its point size and scaled to it.
  double Resolution() override;

 private:
  TppCustomPrinter* printer_;
};

// A printer: device context, driver settings, documents and pages.
class TppCustomPrinter {
 public:
  TppCustomPrinter();
  virtual ~TppCustomPrinter();
  TppCustomPrinter(const TppCustomPrinter&) = delete;
  TppCustomPrinter& operator=(const TppCustomPrinter&) = delete;

  std::function<void(TppCustomPrinter* Sender)> OnChange;

  // The document lifecycle.  Each answers false when the system refused
  // (ErrorText tells why): no usable context, an output file that cannot
  // be written, a spooler that refuses the job.  EndDoc hands the document
  // over (to the spooler, or into its file); AbortDoc throws it away, so
  // that nothing of it is printed or written.
  bool BeginDoc();
  bool EndDoc();
  void AbortDoc();
  bool StartPage();
  bool EndPage();
  QString ErrorText() const { return error_; }
  TppPrinterCanvas* Canvas();

  void PixelsPerInch(int& x, int& y);
  void PageOffsets(int& left, int& top, int& right, int& bottom);
  bool IsColor();

  QString PrinterName() const { return printerName_; }
  void SetPrinterName(const QString& name);
  // Looked up again by name after the printer list was rebuilt.
  TppPrinterInfo* PrinterInfo() const { return Info(); }
  TppPrinterCapabilities* Capabilities();

  QString DocumentName() const { return documentName_; }
  void SetDocumentName(const QString& s) { documentName_ = s; }
  // With an output file name the documents are PDF files of true-size
  // pages; no printer is needed for them.
  QString OutputFileName() const { return outputFileName_; }
  void SetOutputFileName(const QString& s);
  // The pages of the next documents go to this exporter (not owned; it
  // must outlive them) rather than to the printer or the output file;
  // null: printed again.
  TPageExporter* Exporter() const { return exporter_; }
  void SetExporter(TPageExporter* exporter);

  bool Printing() const { return printing_; }
  bool PageOpen() const { return pageOpen_; }
  int PagesStarted() const { return pagesStarted_; }

  // The device context, made on demand; nil when none can be made.
  TPrinterContext* DC();
  // The driver settings, fetched on demand; nil when the driver refuses.
  const TDriverSettings* DriverSettings();
  // The driver's own default paper source.
  int DefaultSource() const { return defaultSource_; }
  // For the documents that follow, besides what a setup holds: colour or
  // shades of grey, and options of the printer's queue by keyword (added
  // to those chosen in its properties dialog; an empty value takes one
  // away).  Kept while the printer stays the same.
  void SetQueueOptions(bool color, const QMap<QString, QString>& options);
  const TDeviceMetrics& Metrics() const { return metrics_; }

  // Shows the driver's properties dialog over the active window; true when
  // the user confirmed (the new settings are then in force).
  bool PrinterPropertiesDialog();

 protected:
  void InstallSettings(const TDriverSettings& s);
  void ReleaseAll();
  // The printer list was rebuilt: contexts and settings of the old list's
  // printer are gone; a printer with a setup of its own writes it again.
  virtual void SettingsLost() {}

 private:
  void ReadMetrics();
  void DeleteDC();
  TppPrinterInfo* Info() const;

  QString printerName_ = QStringLiteral("Default");
  QString documentName_;
  QString outputFileName_;
  TPageExporter* exporter_ = nullptr;
  std::unique_ptr<TPrinterContext> dc_;
  mutable TppPrinterInfo* info_ = nullptr;
  mutable int generation_ = -1;
  QString error_;
  std::unique_ptr<TDriverSettings> settings_;
  int defaultSource_ = 0;
  bool printing_ = false;
  bool pageOpen_ = false;
  int pagesStarted_ = 0;
  bool settingsChanged_ = false;
  bool color_ = true;
  TDeviceMetrics metrics_;
  int unprintableRight_ = 0;
  int unprintableBottom_ = 0;
  std::unique_ptr<TppPrinterCanvas> canvas_;
};

// A printer with its own setup, kept in step with the driver settings.
class TppPrinter : public TppCustomPrinter {
 public:
  TppPrinter();
  ~TppPrinter() override;

  // Takes the setup over into the printer and its driver settings; always
  // for one copy, since the engine makes copies itself.
  void ApplySetup(const TppPrinterSetup& setup);
  // The printer's own setup, updated from the driver settings.
  TppPrinterSetup* ReadBackSetup();
  TppPrinterSetup* PrinterSetup() { return &setup_; }

 protected:
  void SettingsLost() override { WriteSettings(); }

 private:
  void WriteSettings();
  TppPrinterSetup setup_;
};

// The process's printer for conversions and text measuring; nil unless at
// least one real printer is installed.
TppPrinter* SharedPrinter();
