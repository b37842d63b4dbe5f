#include "platform/PdfPrinterBackend.h"

#include <QFile>
#include <QPdfWriter>
#include <cmath>

namespace {
int TenthsToPixels(int tenths) {
  return int(std::lround(tenths / 254.0 * TPdfPrinterContext::Resolution));
}
}  // namespace

TPdfPrinterContext::TPdfPrinterContext(const QString& fileName, const TDriverSettings& settings,
                                       QSize paperTenths, TPrinterBackend* backend)
    : fileName_(fileName), device_(settings.DeviceName), backend_(backend) {
  SetPaper(paperTenths, settings.Orientation == TDriverSettings::OrientLandscape);
  // Text is measured at the page resolution before and between pages.
  measure_ = QImage(1, 1, QImage::Format_RGB32);
  const int dpm = int(std::lround(Resolution / 0.0254));
  measure_.setDotsPerMeterX(dpm);
  measure_.setDotsPerMeterY(dpm);
}

TPdfPrinterContext::~TPdfPrinterContext() {
  if (painter_.isActive()) painter_.end();
}

void TPdfPrinterContext::SetPaper(QSize paperTenths, bool landscape) {
  if (paperTenths.isEmpty()) paperTenths = QSize(2100, 2970);
  paper_ = paperTenths;
  landscape_ = landscape;
}

QPageLayout TPdfPrinterContext::LayoutFor(QSize paperTenths, bool landscape) {
  const QPageSize size(QSizeF(paperTenths.width() / 10.0, paperTenths.height() / 10.0),
                       QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
  return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
}

TDeviceMetrics TPdfPrinterContext::Metrics() const {
  TDeviceMetrics m;
  m.LogPixelsX = m.LogPixelsY = Resolution;
  int w = TenthsToPixels(paper_.width()), h = TenthsToPixels(paper_.height());
  if (landscape_) std::swap(w, h);
  m.PhysicalWidth = m.HorzRes = w;
  m.PhysicalHeight = m.VertRes = h;
  m.PhysicalOffsetX = m.PhysicalOffsetY = 0;
  m.SizePalette = 0;
  m.NumColors = -1;
  return m;
}

QPainter* TPdfPrinterContext::Painter() { return pageOpen_ ? &painter_ : nullptr; }

QPaintDevice* TPdfPrinterContext::MeasuringDevice() {
  if (writer_) return writer_.get();
  return &measure_;
}

bool TPdfPrinterContext::Reset(const TDriverSettings& settings) {
  if (pageOpen_) return false;
  QSize paper = backend_ ? backend_->PaperSizeTenths(device_, settings) : QSize();
  SetPaper(paper, settings.Orientation == TDriverSettings::OrientLandscape);
  return true;
}

bool TPdfPrinterContext::StartDoc(const QString& documentName) {
  if (writer_) return false;
  // Fail now, not at the end, when the file cannot be written.
  {
    QFile probe(fileName_);
    if (!probe.open(QIODevice::WriteOnly)) return false;
  }
  writer_ = std::make_unique<QPdfWriter>(fileName_);
  writer_->setResolution(Resolution);
  writer_->setTitle(documentName);
  writer_->setCreator(QStringLiteral("Lurns"));
  writer_->setPageLayout(LayoutFor(paper_, landscape_));
  pages_ = 0;
  return true;
}

bool TPdfPrinterContext::StartPage() {
  if (!writer_ || pageOpen_) return false;
  writer_->setPageLayout(LayoutFor(paper_, landscape_));
  if (pages_ == 0) {
    if (!painter_.begin(writer_.get())) return false;
  } else {
    if (!writer_->newPage()) return false;
  }
  painter_.resetTransform();
  painter_.setClipping(false);
  ++pages_;
  pageOpen_ = true;
  return true;
}

bool TPdfPrinterContext::EndPage() {
  if (!pageOpen_) return false;
  pageOpen_ = false;
  return true;
}

bool TPdfPrinterContext::EndDoc() {
  if (!writer_) return false;
  pageOpen_ = false;
  bool ok = true;
  if (painter_.isActive()) ok = painter_.end();
  writer_.reset();
  return ok;
}
