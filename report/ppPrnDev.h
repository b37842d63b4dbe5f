// SPDX-License-Identifier: GPL-3.0-or-later
// The printer device: prints the pages a report publishes on its own
// printer (TppPrinter), a CUPS queue or a PDF file.  Every page carries its
// own paper and orientation (the page's printer setup is applied before it
// starts), and every draw command is converted to printer pixels relative
// to the printable area and drawn with the printer's canvas — the canvas
// operations the preview's screen device draws with too.
//
// A job is one GenerateToDevices of the report the device is attached to.
// OpensDocument and ClosesDocument let several jobs share one printer
// document: PrintReports puts a list of reports into one document (one
// PDF file; one spooler job, or one per run of pages that need another
// paper, tray, sides or queue options where the spooler cannot change
// them within a job) that way.  The printer's document is begun with its
// first printed page, so that the job goes out with the settings of the
// pages it holds.  A job that is cancelled or fails throws the whole
// document away: nothing of it reaches the printer or the file, and a
// failure is raised as EPrintError; so is a document that ends without a
// page (none of its reports' pages was asked for).
#pragma once

#include "report/ppPrintr.h"
#include "report/ppRasterDev.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TppDrawImage;
class TppDrawLine;
class TppDrawShape;
class TppDrawText;
class TppProducer;

// Where the printer device finds the calibration of a spooler queue (by
// its name in the printer list); the program installs one that reads its
// settings store.  None installed: no queue is calibrated.
using TppCalibrationSource = std::function<std::optional<TPrinterCalibration>(const QString& queue)>;
void SetPrinterCalibrationSource(TppCalibrationSource source);
bool HasPrinterCalibrationSource();

class TppPrinterDevice : public TppRasterDevice {
 public:
  LURNS_COMPONENT(TppPrinterDevice)
  static QString DeviceName() { return QStringLiteral("Printer"); }
  explicit TppPrinterDevice(TComponent* owner = nullptr);
  ~TppPrinterDevice() override;

  // The device's own printer: a setup applied to it chooses the printer,
  // the paper and the output file.
  TppPrinter* Printer() const { return printer_.get(); }

  // A job opens a new printer document (else it continues the one open),
  // and closes it when it ends (else it leaves it open for the next job).
  bool OpensDocument = true;
  bool ClosesDocument = true;

  // The calibration for this device's jobs instead of the one its queue
  // has in the settings (lurn-batch --ajuste).  Never applied to an output
  // file.
  std::optional<TPrinterCalibration> CalibrationOverride;
  // The calibration the open job's pages are printed with (identity for
  // an output file or a queue without one).
  TPrinterCalibration Calibration() const { return calibration_; }
  // The calibration a job on the device's printer is printed with: the
  // override or the installed source's for its queue; identity for an
  // output file, a queue without one, or values that are not sound.
  TPrinterCalibration CalibrationForJob() const;

  TppNotifyEvent OnStartPage;
  TppNotifyEvent OnEndPage;

  // The canvas drawn on during a job (null outside one), and the offsets
  // from paper pixels to device pixels: minus the unprintable left and top
  // borders.
  TCanvas* Canvas() const { return canvas_; }
  int OffsetX() const { return offsetX_; }
  int OffsetY() const { return offsetY_; }
  // The document of the last job was thrown away (cancelled or failed):
  // jobs that continue it print nothing.
  bool Aborted() const { return aborted_; }
  // Sheets printed since the document was opened.
  int PagesPrinted() const { return pagesPrinted_; }

  void JobStarted() override;
  void AcceptPage(TppPage& page) override;
  void JobEnded() override;
  void JobCancelled() override;

  // The command's rectangle in device pixels, relative to the printable
  // area, stored in the command.
  void ComputeDeviceRect(TppDrawCommand* command);
  // A rectangle of the paper (thousandths) in device pixels, the way
  // command rectangles are converted.
  TppRect DeviceRectOf(const TppRect& paperRect);
  // The same before its edges are rounded to whole pixels.
  QRectF ExactRectOf(const TppRect& paperRect);
  // The command's clip, in device pixels, on the canvas while it draws.
  void BeginClip(TppDrawCommand* command) override;
  void EndClip(TppDrawCommand* command) override;
  // Computes the device rectangle and draws the engine's four kinds of
  // command; false for any other kind.
  bool RenderCommand(TppDrawCommand* command) override;
  // While a page is open: the canvas, the command's rectangle, the
  // printer's resolution at a scale of 1.
  std::optional<TppDrawingContext> DrawingFor(TppDrawCommand* command) override;

  // True when the document is complete; otherwise the next collated copy
  // has been published.
  virtual bool NextCopy();
  virtual void DrawShape(TppDrawShape* command);
  virtual void DrawLine(TppDrawLine* command);
  virtual void DrawImage(TppDrawImage* command);
  virtual void DrawText(TppDrawText* command);
  virtual void DrawBitmapImage(TppDrawImage* command);
  virtual void DrawOffscreenImage(TppDrawImage* command);
  virtual void DrawDirectImage(TppDrawImage* command);

 private:
  void StartPrinterPage(TppPage& page);
  void EndPrinterPage();
  // Tells the printer's document where the open page is cut.
  void SetPageBoxes(const TppPage& page);
  void UpdateStatus(const TppPage& page);
  QString TargetName() const;
  // Throws the document away and raises the failure.
  [[noreturn]] void Fail(const QString& reason);
  [[noreturn]] void FailDocument();
  // Printer pixels per design pixel (96 per inch), horizontally.
  double PerDesignPixel();

  std::unique_ptr<TppPrinter> printer_;
  TCanvas* canvas_ = nullptr;
  int collatedCopies_ = 1;
  bool firstPage_ = true;
  bool lastPageKnown_ = false;
  bool aborted_ = false;
  int offsetX_ = 0;
  int offsetY_ = 0;
  int pagesPrinted_ = 0;
  TPrinterCalibration calibration_;
  // Puts the calibration onto the open page's painter.
  void ApplyCalibration(const TppPage& page);
  // A document is under way (begun by a job, not yet ended), whether or
  // not its first page has opened the printer's document.
  bool inDocument_ = false;
};

// Prints the reports one after another through the device as one printer
// document (a spooler's job, or one PDF file when the device's printer has
// an output file name): `copies` times the whole list, set after set when
// `collate`, else each page `copies` times in a row.  The reports' own
// Copies and Collation are not used, and their pages go to the device's
// printer and output file whatever their setups name.  Answers false when
// the run was cancelled (nothing is printed then); a failure is raised as
// EPrintError (nothing is printed either), an empty list or a document
// without pages too.  `problems`, when given, gets what could not be
// printed (generated or drawn) and was left off the pages, one line per
// component, each told once.
bool PrintReports(TppPrinterDevice& device, const std::vector<TppProducer*>& reports,
                  int copies = 1, bool collate = true, QStringList* problems = nullptr);
// The message that tells the user which components did not print.
QString PrintProblemsMessage(const QStringList& problems);
