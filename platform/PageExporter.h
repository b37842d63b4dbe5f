// SPDX-License-Identifier: GPL-3.0-or-later
// Exporters: where the pages the report engine made go when they are
// exported instead of printed.  The printer device draws each page as it
// draws for a printer, onto the painter of a printing context that the
// exporter makes; an exporter is given to the engine's printer for one
// document (TppCustomPrinter::SetExporter), never installed as a printer.
//
//   TPdfExporter  one PDF file of true-size pages (as a print into a file)
//   TPngExporter  one PNG picture per page at a resolution, true size
//   TSvgExporter  one SVG drawing per page, true size
//
// Like a printed PDF file, the files are written only when the document
// ends well: a cancelled or failed export leaves no file and the files
// that were there before as they were.
#pragma once

#include "platform/PrinterBackend.h"

#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>

class TPageExporter {
 public:
  virtual ~TPageExporter();

  // A printing context for one document, its first pages going out with
  // `settings` on paper `paperTenths` (portrait, tenths of a millimetre;
  // `backend` answers the paper of later settings).  Each page that is
  // complete is told to Progress; when Progress answers false the export
  // is cancelled: the page fails, the document is thrown away and
  // Cancelled() is true.
  std::unique_ptr<TPrinterContext> CreateContext(const TDriverSettings& settings,
                                                 QSize paperTenths, TPrinterBackend* backend);

  // Called with the number of pages written so far; false cancels.
  std::function<bool(int pagesDone)> Progress;
  bool Cancelled() const { return cancelled_; }
  // The files the last document that ended well wrote, in page order.
  QStringList Written;
  // Pixels per inch the pages are drawn at.
  virtual int Resolution() const = 0;

  // The message a cancelled export fails its page with.
  static QString CancelledText();

 protected:
  virtual std::unique_ptr<TPrinterContext> DoCreateContext(const TDriverSettings& settings,
                                                           QSize paperTenths,
                                                           TPrinterBackend* backend) = 0;

 private:
  friend class TProgressContext;
  bool cancelled_ = false;
};

// A PDF file, drawn and written exactly as a print into a file.
class TPdfExporter : public TPageExporter {
 public:
  explicit TPdfExporter(const QString& fileName);
  int Resolution() const override;

 protected:
  std::unique_ptr<TPrinterContext> DoCreateContext(const TDriverSettings& settings,
                                                   QSize paperTenths,
                                                   TPrinterBackend* backend) override;

 private:
  QString fileName_;
};

// Pictures, one file per page: page n (in the order the pages are made)
// goes to `fileNames`[n-1] (a page beyond the list to "pagina-<n>.<ext>"
// in the folder of the last name).
class TPageFilesExporter : public TPageExporter {
 public:
  TPageFilesExporter(const QStringList& fileNames, int pixelsPerInch);
  int Resolution() const override { return ppi_; }
  QString FileName(int page) const;

 protected:
  virtual QString Extension() const = 0;

 private:
  QStringList fileNames_;
  int ppi_;
};

// PNG pictures at `pixelsPerInch` (both directions, stored in the file),
// white where nothing is drawn.
class TPngExporter : public TPageFilesExporter {
 public:
  using TPageFilesExporter::TPageFilesExporter;

 protected:
  QString Extension() const override { return QStringLiteral("png"); }
  std::unique_ptr<TPrinterContext> DoCreateContext(const TDriverSettings& settings,
                                                   QSize paperTenths,
                                                   TPrinterBackend* backend) override;
};

// SVG drawings of the page's true size (width and height in millimetres),
// in user units of `pixelsPerInch`, on white paper.  Shapes, lines and text
// are filled outlines, already clipped as the page clips them (so every
// viewer shows the same); pictures are embedded (a clipped one as the part
// that shows, at the page's resolution).
class TSvgExporter : public TPageFilesExporter {
 public:
  using TPageFilesExporter::TPageFilesExporter;

 protected:
  QString Extension() const override { return QStringLiteral("svg"); }
  std::unique_ptr<TPrinterContext> DoCreateContext(const TDriverSettings& settings,
                                                   QSize paperTenths,
                                                   TPrinterBackend* backend) override;
};
