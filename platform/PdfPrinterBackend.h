// SPDX-License-Identifier: GPL-3.0-or-later
// Documents rendered as PDF: what a printer does when its output file name
// is set, and how documents reach a spooler queue.  Every page takes the
// paper and orientation of the settings in force when it starts; the
// settings the destination cannot change within a job (a queue's paper,
// tray, sides) start a new part of the document, a job of its own.
//
// The document is written to a destination and handed over only when it
// ends well: a PDF file is written under a temporary name and moved into
// place at the end (a failed or cancelled print leaves the old file as it
// was); a spooler job is sent once the whole document exists.  Abandoning
// the document keeps nothing and sends nothing.
#pragma once

#include "platform/PdfUpdate.h"
#include "platform/PrinterBackend.h"

#include <QImage>
#include <QMargins>
#include <QPageLayout>
#include <QPainter>
#include <functional>
#include <memory>

class QBuffer;
class QIODevice;
class QPdfWriter;

// Where a finished PDF document goes.  A document is written in one part,
// or, for a destination that cannot change the settings of its job from
// page to page (a spooler queue's job has one paper, one tray, one
// setting of sides), in one part per run of pages with the same settings.
class TPdfDestination {
 public:
  virtual ~TPdfDestination();
  // The device the next part is written into, its pages going out with
  // `settings`; null (and ErrorText) when there is none.
  virtual QIODevice* Open(const TDriverSettings& settings) = 0;
  // Whether a page with settings `b` can go on in the part whose pages go
  // out with `a`; when not, it starts a new part.
  virtual bool SameJob(const TDriverSettings& a, const TDriverSettings& b) {
    (void)a;
    (void)b;
    return true;
  }
  // Every part is complete and closed: put them where they belong, all or
  // none.  False (and ErrorText) when that failed; the document is then
  // lost.
  virtual bool Commit(const QString& title) = 0;
  // The document is abandoned: nothing of it is kept or sent.
  virtual void Discard() = 0;
  QString ErrorText;
};

// A PDF file: written beside the target under a temporary name, renamed
// over the target on Commit.  One part: a file takes every page as it is.
class TPdfFileDestination : public TPdfDestination {
 public:
  explicit TPdfFileDestination(const QString& fileName);
  ~TPdfFileDestination() override;
  QIODevice* Open(const TDriverSettings& settings) override;
  bool Commit(const QString& title) override;
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
  void SetPageBoxes(const QRectF& trim, const QRectF& bleed) override;

  // The page layout of a paper in tenths of a millimetre, without margins.
  static QPageLayout LayoutFor(QSize paperTenths, bool landscape);

 private:
  void SetPaper(QSize paperTenths, bool landscape);
  void CloseWriter();
  // A new part of the document written into `out`.
  void OpenWriter(QIODevice* out);
  // Ends the part being written and hands its bytes to the destination's
  // device, with what every PDF of ours asks of viewers and its pages'
  // boxes; false when it could not be completed.
  bool EndPart();

  std::unique_ptr<TPdfDestination> destination_;
  TDriverSettings settings_;
  // The settings the pages of the part being written go out with.
  TDriverSettings partSettings_;
  QString device_;
  TPrinterBackend* backend_;
  TPdfGeometry geometry_;
  QSize paper_;  // portrait, tenths of a mm
  bool landscape_ = false;
  QMargins unprintable_;  // portrait sense
  QString title_;
  std::unique_ptr<QPdfWriter> writer_;
  // The part is written here first: the finished file gets an update
  // (viewer preferences, page boxes) before it reaches its destination.
  std::unique_ptr<QBuffer> buffer_;
  QIODevice* out_ = nullptr;
  QList<TPdfPageBoxes> boxes_;  // of the part's pages, in points
  QPainter painter_;
  int pages_ = 0;      // of the document
  int partPages_ = 0;  // of the part being written
  bool pageOpen_ = false;
  QString error_;
};
