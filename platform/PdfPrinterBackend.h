// Documents rendered as PDF: what a printer does when its output file name
// is set, and how documents reach a spooler queue.  Every page takes the
// paper and orientation of the settings in force when it starts.
//
// The document is written to a destination and handed over only when it
// ends well: a PDF file is written under a temporary name and moved into
// place at the end (a failed or cancelled print leaves the old file as it
// was); a spooler job is sent once the whole document exists.  Abandoning
// the document keeps nothing and sends nothing.
#pragma once

#include "platform/PrinterBackend.h"

#include <QImage>
#include <QMargins>
#include <QPageLayout>
#include <QPainter>
#include <functional>
#include <memory>

class QIODevice;
class QPdfWriter;

// Where a finished PDF document goes.
class TPdfDestination {
 public:
  virtual ~TPdfDestination();
  // The device the document is written into; null (and ErrorText) when
  // there is none.
  virtual QIODevice* Open() = 0;
  // The document is complete and closed: put it where it belongs.  False
  // (and ErrorText) when that failed; the document is then lost.
  virtual bool Commit(const QString& title, const TDriverSettings& settings) = 0;
  // The document is abandoned: nothing of it is kept or sent.
  virtual void Discard() = 0;
  QString ErrorText;
};

// A PDF file: written beside the target under a temporary name, renamed
// over the target on Commit.
class TPdfFileDestination : public TPdfDestination {
 public:
  explicit TPdfFileDestination(const QString& fileName);
  ~TPdfFileDestination() override;
  QIODevice* Open() override;
  bool Commit(const QString& title, const TDriverSettings& settings) override;
  void Discard() override;

 private:
  QString fileName_;
  std::unique_ptr<class QSaveFile> file_;
};

// How the pages of a PDF context lie on the device.
struct TPdfGeometry {
  int Resolution = 600;  // pixels per inch of the painter's coordinates
  // The device's unprintable borders on a paper, in its pixels, portrait
  // sense (left, top, right, bottom); a landscape page turns them with the
  // paper.  None when not given.
  std::function<QMargins(const TDriverSettings& settings)> UnprintablePortrait;
  // Every page is written upright: landscape content is turned a quarter
  // counter-clockwise onto the upright sheet (its top along the sheet's
  // left edge), as a printer turns it.  Otherwise landscape pages are
  // written as landscape pages.
  bool UprightPages = false;
};

class TPdfPrinterContext : public TPrinterContext {
 public:
  static constexpr int Resolution = 600;

  // paperTenths: the portrait paper size of `settings` in tenths of a mm
  // (A4 when empty); `backend` answers the paper of later settings.  A
  // context without a destination only measures.
  TPdfPrinterContext(std::unique_ptr<TPdfDestination> destination,
                     const TDriverSettings& settings, QSize paperTenths,
                     TPrinterBackend* backend, const TPdfGeometry& geometry = {});
  // A document still open is abandoned.
  ~TPdfPrinterContext() override;

  TDeviceMetrics Metrics() const override;
  QPainter* Painter() override;
  bool Reset(const TDriverSettings& settings) override;
  bool StartDoc(const QString& documentName) override;
  bool StartPage() override;
  bool EndPage() override;
  bool EndDoc() override;
  void AbortDoc() override;
  QString ErrorText() const override { return error_; }

  // The page layout of a paper in tenths of a millimetre, without margins.
  static QPageLayout LayoutFor(QSize paperTenths, bool landscape);

 private:
  void SetPaper(QSize paperTenths, bool landscape);
  void CloseWriter();

  std::unique_ptr<TPdfDestination> destination_;
  TDriverSettings settings_;
  TDriverSettings jobSettings_;
  QString device_;
  TPrinterBackend* backend_;
  TPdfGeometry geometry_;
  QSize paper_;  // portrait, tenths of a mm
  bool landscape_ = false;
  QMargins unprintable_;  // portrait sense
  QString title_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  int pages_ = 0;
  bool pageOpen_ = false;
  QString error_;
};
