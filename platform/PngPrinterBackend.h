// A printer backend with one printer that writes each printed page as a PNG
// picture at true size (its pixels per inch stored in the file): what the
// command-line tool's --png prints on, through the same printing commands
// as a real printer.  Like a PDF file, the pictures are written only when
// the document ends well: a cancelled or failed document leaves no file
// and the files that were there before as they were.
#pragma once

#include "platform/PrinterBackend.h"

#include <QStringList>

class TPngPrinterBackend : public TPrinterBackend {
 public:
  // Pages go to `fileNames` in the order they are printed (a page beyond
  // the list goes to "pagina-<n>.png" in the folder of the last name), at
  // `pixelsPerInch` (both directions), white where nothing is drawn.
  TPngPrinterBackend(const QString& printerName, const QStringList& fileNames, int pixelsPerInch);

  QString PrinterName() const { return name_; }
  // The files written by the last document that ended well.
  QStringList Written;

  QList<TPrinterEntry> EnumPrinters() override;
  QString DefaultPrinter() override;
  // A4, A3, A5, Letter and Legal, and user sizes.
  TDeviceCapabilities DeviceCapabilities(const QString& device) override;
  bool DocumentProperties(const QString& device, TDriverSettings& out) override;
  bool PropertiesDialog(const QString&, const TDriverSettings&, TDriverSettings&) override { return false; }

 protected:
  std::unique_ptr<TPrinterContext> DoCreateContext(const QString& device, const TDriverSettings* settings,
                                                   bool printing) override;

 private:
  friend class TPngPrinterContext;
  QString FileName(int page) const;

  QString name_;
  QStringList fileNames_;
  int ppi_;
};
