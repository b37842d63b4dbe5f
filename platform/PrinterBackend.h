// SPDX-License-Identifier: GPL-3.0-or-later
// The printing services the report engine needs from the system, in the
// shape the engine was designed around: a spooler that lists printers and
// answers their capabilities and driver settings, and device contexts that
// report their metrics and carry documents and pages.  The engine talks to
// whichever backend is installed: CUPS for the machine's printers, a
// scripted one for tests; a printer whose output file name is set writes a
// PDF file instead of going to the spooler, whatever the backend.
#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <functional>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

class QPainter;
class QPageLayout;

// What a user measured on a printer's calibration page: a point that
// belongs at (x, y) millimetres from the paper's top-left corner is
// printed at (OffsetX + ScaleX * x, OffsetY + ScaleY * y).  Offsets in
// millimetres, scales as fractions (1.005 for 100.5 %).
struct TPrinterCalibration {
  double OffsetX = 0;
  double OffsetY = 0;
  double ScaleX = 1;
  double ScaleY = 1;
  bool IsIdentity() const { return OffsetX == 0 && OffsetY == 0 && ScaleX == 1 && ScaleY == 1; }
  bool operator==(const TPrinterCalibration&) const = default;
};
// Offsets within +-20 mm and scales within 90 % to 110 %: what a
// printer that is merely off can need; others are typing errors.
bool CalibrationIsSound(const TPrinterCalibration& c);

// One printer as the spooler enumerates it.
struct TPrinterEntry {
  QString Name;
  QString Port;
  // The printer is reached over the network (and is not also local).
  bool Network = false;
};

// The answers of a printer's capability queries, each as the driver gives
// it: lists may be empty (the query failed) or of different lengths; the
// engine reconciles them.
struct TDeviceCapabilities {
  QStringList PaperNames;
  QList<int> PaperNumbers;       // Windows paper codes
  QList<QSize> PaperSizes;       // portrait width x height, tenths of a mm
  QStringList BinNames;
  QList<int> BinNumbers;
  int Copies = 0;                // most copies the driver makes itself
};

// Driver settings of a printer: the fields the engine reads and writes,
// flagged by a field mask with the Windows bit values.
struct TDriverSettings {
  enum Field : unsigned {
    dmOrientation = 0x00000001,
    dmPaperSize = 0x00000002,
    dmPaperLength = 0x00000004,
    dmPaperWidth = 0x00000008,
    dmCopies = 0x00000100,
    dmDefaultSource = 0x00000200,
    dmColor = 0x00000800,
    dmDuplex = 0x00001000,
    dmFormName = 0x00010000,
  };
  enum { OrientPortrait = 1, OrientLandscape = 2 };
  enum { DuplexSimplex = 1, DuplexHorizontal = 2, DuplexVertical = 3 };

  QString DeviceName;
  unsigned Fields = 0;
  int Orientation = OrientPortrait;
  int PaperSize = 0;     // Windows paper code; 256 = PaperWidth x PaperLength
  int PaperLength = 0;   // tenths of a millimetre
  int PaperWidth = 0;    // tenths of a millimetre
  int Copies = 1;
  int DefaultSource = 0; // bin number
  int Duplex = DuplexSimplex;
  bool Color = true;
  QString FormName;
  // The queue's own options that the user chose in its properties dialog
  // and that the fields above do not hold (a print quality, say), by
  // keyword; the job carries each as it is.
  QMap<QString, QString> DriverOptions;

  bool operator==(const TDriverSettings&) const = default;
};

// One option of a printer's queue that its properties dialog offers: the
// keyword the queue knows it by ("media", "media-source", "sides",
// "print-quality"), its name for the user, the values offered (keywords and
// names for the user, index-aligned) and the one chosen now.
struct TPrinterOption {
  QString Keyword;
  QString Text;
  QStringList Values;
  QStringList ValueTexts;
  QString Current;
};
using TPrinterOptions = QList<TPrinterOption>;

// The keywords of the sides option for the settings' duplex values, and back
// (unknown keywords are one-sided).
QString SidesKeyword(int duplex);
int DuplexForSides(const QString& keyword);

// The window that lets the user set a printer's queue options: given the
// device and the options with their current values, it answers true when
// the user confirmed, the chosen value of each option in `chosen`.  The
// program's windows install it; without one no such dialog is shown.
using TPrinterOptionsDialog = std::function<bool(
    const QString& device, const TPrinterOptions& offered, QMap<QString, QString>& chosen)>;
void SetPrinterOptionsDialog(TPrinterOptionsDialog dialog);
const TPrinterOptionsDialog& PrinterOptionsDialog();

// A user-defined paper size kept by the spooler under a name.
struct TPrinterForm {
  QString Name;
  QSize Size;           // thousandths of a millimetre
  QRect ImageableArea;  // thousandths of a millimetre
};

// What GetDeviceCaps answers for a context, in the context's pixels.
struct TDeviceMetrics {
  int LogPixelsX = 0;
  int LogPixelsY = 0;
  int PhysicalWidth = 0;
  int PhysicalHeight = 0;
  int HorzRes = 0;  // printable width
  int VertRes = 0;  // printable height
  int PhysicalOffsetX = 0;
  int PhysicalOffsetY = 0;
  int SizePalette = 0;
  int NumColors = -1;
};

// A device context: an information context measures, a printing context
// also carries one document.  Coordinates of the painter are pixels of the
// context with (0, 0) at the top left of the printable area, as on the
// spooler's printers; a drawing at minus the physical offsets lands at the
// corner of the paper.
class TPrinterContext {
 public:
  virtual ~TPrinterContext();
  virtual TDeviceMetrics Metrics() const = 0;
  // The painter for the open page; null between pages and on an
  // information context.
  virtual QPainter* Painter() = 0;

  // New settings for the pages that follow (ResetDC); the metrics follow
  // the new paper and orientation.
  virtual bool Reset(const TDriverSettings& settings) = 0;
  virtual bool StartDoc(const QString& documentName) = 0;
  virtual bool StartPage() = 0;
  virtual bool EndPage() = 0;
  // Ends the document and hands it over (to the spooler, or into its
  // file); false when that failed (see ErrorText).
  virtual bool EndDoc() = 0;
  // Throws the open document away: nothing of it reaches the printer or
  // the file.
  virtual void AbortDoc() = 0;
  // Why the last operation failed, when the system said.
  virtual QString ErrorText() const { return {}; }
  // Where the open page's paper is cut (its sheet's frame) and how far its
  // artwork reaches beyond the cut, in the painter's coordinates; an empty
  // rectangle says nothing.  A context that writes documents which can say
  // so (a PDF's trim and bleed boxes) records them; others ignore them.
  virtual void SetPageBoxes(const QRectF& trim, const QRectF& bleed) {
    (void)trim;
    (void)bleed;
  }
};

class TPrinterBackend {
 public:
  virtual ~TPrinterBackend();

  // Printers in the spooler's order.
  virtual QList<TPrinterEntry> EnumPrinters() = 0;
  // The default printer's device name; empty when there is none.
  virtual QString DefaultPrinter() = 0;
  virtual TDeviceCapabilities DeviceCapabilities(const QString& device) = 0;
  // The printer's current driver settings; false when the driver refuses.
  virtual bool DocumentProperties(const QString& device, TDriverSettings& out) = 0;
  // The driver's own properties dialog, started from `in`, over the active
  // window (see TPrinterDialogHost); true and the chosen settings in `out`
  // when the user confirmed.
  virtual bool PropertiesDialog(const QString& device, const TDriverSettings& in,
                                TDriverSettings& out) = 0;
  // The options of the printer's queue the user may set (paper, tray,
  // sides, quality, as the queue offers them), with the values the
  // settings stand for as current; empty when the queue tells none.
  virtual TPrinterOptions PrinterOptions(const QString& device, const TDriverSettings& settings);

  // The paper of driver settings in tenths of a millimetre, portrait
  // sense: the user size when the code is 256 or a size is given, else the
  // size the printer lists for the code, else the standard size of the code.
  virtual QSize PaperSizeTenths(const QString& device, const TDriverSettings& settings);

  // Spooler forms: user-defined paper sizes by name.
  virtual bool GetForm(const QString& device, const QString& name, TPrinterForm& out);
  virtual bool SetForm(const QString& device, const TPrinterForm& form);
  virtual bool AddForm(const QString& device, const TPrinterForm& form);

  // An information context for measuring; null when it cannot be made.
  std::unique_ptr<TPrinterContext> CreateIC(const QString& device,
                                            const TDriverSettings* settings);
  // A printing context.  With an output file name the document becomes a
  // PDF file of true-size pages instead of a spooler job.
  std::unique_ptr<TPrinterContext> CreateDC(const QString& device,
                                            const TDriverSettings* settings,
                                            const QString& outputFile);
  // A context for a PDF file of true-size pages at 600 pixels per inch
  // without unprintable borders: the printing context when `printing`,
  // else one that only measures.  It needs no printer: `device` may be
  // empty, and then the paper comes from the settings alone.
  std::unique_ptr<TPrinterContext> CreateFileContext(const QString& device,
                                                     const TDriverSettings* settings,
                                                     const QString& outputFile, bool printing);

 protected:
  virtual std::unique_ptr<TPrinterContext> DoCreateContext(const QString& device,
                                                           const TDriverSettings* settings,
                                                           bool printing) = 0;
  // Forms kept for this process, by device and name.
  QList<QPair<QString, TPrinterForm>> forms_;
};

// The backend in use: CUPS where the program was built with it, otherwise
// one without printers.  Installing a backend (tests do) replaces it; the
// engine must rebuild its printer list afterwards.
TPrinterBackend& PrinterBackend();
void SetPrinterBackend(std::unique_ptr<TPrinterBackend> backend);

// A backend that has no printers at all.
class TNoPrinterBackend : public TPrinterBackend {
 public:
  QList<TPrinterEntry> EnumPrinters() override { return {}; }
  QString DefaultPrinter() override { return {}; }
  TDeviceCapabilities DeviceCapabilities(const QString&) override { return {}; }
  bool DocumentProperties(const QString&, TDriverSettings&) override { return false; }
  bool PropertiesDialog(const QString&, const TDriverSettings&, TDriverSettings&) override {
    return false;
  }

 protected:
  std::unique_ptr<TPrinterContext> DoCreateContext(const QString&, const TDriverSettings*,
                                                   bool) override {
    return nullptr;
  }
};

// What printing needs of the window system: a window for a printer's own
// dialog to belong to, and that dialog.  The printing code has no windows
// of its own; the program's window layer installs a host
// (InstallPrinterDialogHost, platform/Dialogs).  A program without windows
// installs none, and then no printer dialog is ever shown: the answer is
// "cancelled".
class TPrinterDialogHost {
 public:
  virtual ~TPrinterDialogHost();
  // True when one of the program's windows is active to own a dialog.
  virtual bool HasActiveWindow() = 0;
  // The page set-up of a printer (paper, orientation) over the active
  // window, starting from `layout`; true when the user confirmed, the
  // choice then in `layout`.
  virtual bool PageSetupDialog(const QString& printer, QPageLayout& layout) = 0;
};

// The installed host, or null.
TPrinterDialogHost* PrinterDialogHost();
void SetPrinterDialogHost(std::unique_ptr<TPrinterDialogHost> host);
