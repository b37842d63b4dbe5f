// Printing into a PDF file: what a printer does when its output file name
// is set.  Pages are true size at a fixed 600 pixels per inch, each with the
// paper and orientation of the settings in force when it starts, and there
// is no unprintable border.
#pragma once

#include "platform/PrinterBackend.h"

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <memory>

class QPdfWriter;

class TPdfPrinterContext : public TPrinterContext {
 public:
  static constexpr int Resolution = 600;

  // paperTenths: the portrait paper size of `settings` in tenths of a mm
  // (A4 when empty); `backend` answers the paper of later settings.
  TPdfPrinterContext(const QString& fileName, const TDriverSettings& settings,
                     QSize paperTenths, TPrinterBackend* backend);
  ~TPdfPrinterContext() override;

  TDeviceMetrics Metrics() const override;
  QPainter* Painter() override;
  QPaintDevice* MeasuringDevice() override;
  bool Reset(const TDriverSettings& settings) override;
  bool StartDoc(const QString& documentName) override;
  bool StartPage() override;
  bool EndPage() override;
  bool EndDoc() override;

  // The page layout of a paper in tenths of a millimetre, without margins.
  static QPageLayout LayoutFor(QSize paperTenths, bool landscape);

 private:
  void SetPaper(QSize paperTenths, bool landscape);

  QString fileName_;
  QString device_;
  TPrinterBackend* backend_;
  QSize paper_;  // portrait, tenths of a mm
  bool landscape_ = false;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  QImage measure_;
  int pages_ = 0;
  bool pageOpen_ = false;
};
