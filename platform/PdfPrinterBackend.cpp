// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PdfPrinterBackend.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>

TPdfDestination::~TPdfDestination() = default;

// ---------------------------------------------------------------------------
// File destination

TPdfFileDestination::TPdfFileDestination(const QString& fileName) : fileName_(fileName) {}

TPdfFileDestination::~TPdfFileDestination() {
  // Without Commit the temporary file goes and the target stays as it was.
  if (file_) file_->cancelWriting();
}

QIODevice* TPdfFileDestination::Open(const TDriverSettings&) {
  if (file_) {
    ErrorText = QStringLiteral("a PDF file is written in one part");
    return nullptr;
  }
  file_ = std::make_unique<QSaveFile>(fileName_);
  if (!file_->open(QIODevice::WriteOnly)) {
    ErrorText = file_->errorString();
    file_.reset();
    return nullptr;
  }
  return file_.get();
}

bool TPdfFileDestination::Commit(const QString&) {
  if (!file_) return false;
  const bool ok = file_->commit();
  if (!ok) ErrorText = file_->errorString();
  file_.reset();
  return ok;
}

void TPdfFileDestination::Discard() {
  if (file_) file_->cancelWriting();
  file_.reset();
}

// ---------------------------------------------------------------------------
// Context

namespace {
int TenthsToPixels(int tenths, int ppi) { return int(std::lround(tenths / 254.0 * ppi)); }
}  // namespace

TPdfPrinterContext::TPdfPrinterContext(std::unique_ptr<TPdfDestination> destination,
                                       const TDriverSettings& settings, QSize paperTenths,
                                       TPrinterBackend* backend, const TPdfGeometry& geometry)
    : destination_(std::move(destination)),
      settings_(settings),
      device_(settings.DeviceName),
      backend_(backend),
      geometry_(geometry) {
  SetPaper(paperTenths, settings.Orientation == TDriverSettings::OrientLandscape);
}

TPdfPrinterContext::~TPdfPrinterContext() {
  if (writer_) AbortDoc();
}

void TPdfPrinterContext::SetPaper(QSize paperTenths, bool landscape) {
  if (paperTenths.isEmpty()) paperTenths = QSize(2100, 2970);
  paper_ = paperTenths;
  landscape_ = landscape;
  unprintable_ =
      geometry_.UnprintablePortrait ? geometry_.UnprintablePortrait(settings_) : QMargins();
}

QPageLayout TPdfPrinterContext::LayoutFor(QSize paperTenths, bool landscape) {
  const QPageSize size(QSizeF(paperTenths.width() / 10.0, paperTenths.height() / 10.0),
                       QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
  return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
}

TDeviceMetrics TPdfPrinterContext::Metrics() const {
  TDeviceMetrics m;
  const int ppi = geometry_.Resolution;
  m.LogPixelsX = m.LogPixelsY = ppi;
  int w = TenthsToPixels(paper_.width(), ppi), h = TenthsToPixels(paper_.height(), ppi);
  QMargins u = unprintable_;
  if (landscape_) {
    std::swap(w, h);
    // The page lies a quarter turn counter-clockwise on the sheet: its top
    // along the sheet's left edge.
    u = QMargins(u.bottom(), u.left(), u.top(), u.right());
  }
  m.PhysicalWidth = w;
  m.PhysicalHeight = h;
  m.PhysicalOffsetX = u.left();
  m.PhysicalOffsetY = u.top();
  m.HorzRes = w - u.left() - u.right();
  m.VertRes = h - u.top() - u.bottom();
  m.SizePalette = 0;
  m.NumColors = -1;
  return m;
}

QPainter* TPdfPrinterContext::Painter() { return pageOpen_ ? &painter_ : nullptr; }

bool TPdfPrinterContext::Reset(const TDriverSettings& settings) {
  if (pageOpen_) return false;
  settings_ = settings;
  const QSize paper = backend_ ? backend_->PaperSizeTenths(device_, settings) : QSize();
  SetPaper(paper, settings.Orientation == TDriverSettings::OrientLandscape);
  return true;
}

void TPdfPrinterContext::OpenWriter(QIODevice* out) {
  out_ = out;
  buffer_ = std::make_unique<QBuffer>();
  buffer_->open(QIODevice::WriteOnly);
  boxes_.clear();
  writer_ = std::make_unique<QPdfWriter>(buffer_.get());
  writer_->setResolution(geometry_.Resolution);
  writer_->setTitle(title_);
  writer_->setCreator(QStringLiteral("Lurns"));
  writer_->setPageLayout(LayoutFor(paper_, landscape_ && !geometry_.UprightPages));
  partSettings_ = settings_;
  partPages_ = 0;
}

bool TPdfPrinterContext::EndPart() {
  pageOpen_ = false;
  bool ok = true;
  if (painter_.isActive()) ok = painter_.end();
  writer_.reset();
  if (!ok) {
    error_ = QStringLiteral("the PDF document could not be written");
    return false;
  }
  QByteArray pdf = buffer_ ? buffer_->data() : QByteArray();
  buffer_.reset();
  QString why;
  if (!AddPrintPreferences(pdf, boxes_, &why)) {
    // Our own writer's file: a viewer would be free to scale it, which is
    // not the document asked for.
    error_ = QStringLiteral("the PDF document could not be completed: ") + why;
    return false;
  }
  if (!out_ || out_->write(pdf) != pdf.size()) {
    error_ = out_ ? out_->errorString() : QStringLiteral("no destination for the PDF document");
    return false;
  }
  return true;
}

void TPdfPrinterContext::SetPageBoxes(const QRectF& trim, const QRectF& bleed) {
  if (!pageOpen_ || boxes_.isEmpty()) return;
  // Painter coordinates to the page's points from its top-left corner, as
  // the page lies in the file (turned, when it was turned).
  const QTransform toPage = painter_.transform();
  const double toPoints = 72.0 / geometry_.Resolution;
  auto points = [&](const QRectF& r) {
    if (r.isEmpty()) return QRectF();
    const QRectF p = toPage.mapRect(r);
    return QRectF(p.left() * toPoints, p.top() * toPoints, p.width() * toPoints, p.height() * toPoints);
  };
  boxes_.last().TrimBox = points(trim);
  boxes_.last().BleedBox = points(bleed);
}

bool TPdfPrinterContext::StartDoc(const QString& documentName) {
  error_.clear();
  if (!destination_ || writer_) return false;
  QIODevice* out = destination_->Open(settings_);
  if (!out) {
    error_ = destination_->ErrorText;
    return false;
  }
  title_ = documentName;
  OpenWriter(out);
  pages_ = 0;
  return true;
}

bool TPdfPrinterContext::StartPage() {
  if (!writer_ || pageOpen_) return false;
  if (partPages_ > 0 && !destination_->SameJob(partSettings_, settings_)) {
    // This page goes out with settings the pages before it could not
    // have: it starts the next part.
    if (!EndPart()) {
      destination_->Discard();
      return false;
    }
    QIODevice* out = destination_->Open(settings_);
    if (!out) {
      error_ = destination_->ErrorText;
      destination_->Discard();
      return false;
    }
    OpenWriter(out);
  }
  const bool turned = landscape_ && geometry_.UprightPages;
  if (!writer_->setPageLayout(LayoutFor(paper_, landscape_ && !turned))) {
    error_ = QStringLiteral("page size refused");
    return false;
  }
  if (partPages_ == 0) {
    if (!painter_.begin(writer_.get())) {
      error_ = QStringLiteral("the PDF document cannot be started");
      return false;
    }
  } else if (!writer_->newPage()) {
    error_ = QStringLiteral("no new page in the PDF document");
    return false;
  }
  painter_.resetTransform();
  painter_.setClipping(false);
  if (turned) {
    // Upright sheet of paper length L: content point (x, y) lands at
    // (y, L - x).
    const int length = TenthsToPixels(paper_.height(), geometry_.Resolution);
    painter_.translate(0, length);
    painter_.rotate(-90);
  }
  // The engine's origin is the printable area's corner.
  const TDeviceMetrics m = Metrics();
  painter_.translate(m.PhysicalOffsetX, m.PhysicalOffsetY);
  boxes_.append(TPdfPageBoxes());
  ++pages_;
  ++partPages_;
  pageOpen_ = true;
  return true;
}

bool TPdfPrinterContext::EndPage() {
  if (!pageOpen_) return false;
  pageOpen_ = false;
  return true;
}

void TPdfPrinterContext::CloseWriter() {
  pageOpen_ = false;
  if (painter_.isActive()) painter_.end();
  writer_.reset();
  buffer_.reset();
  out_ = nullptr;
}

bool TPdfPrinterContext::EndDoc() {
  if (!writer_) return false;
  if (pages_ == 0) {
    // A document without pages is no document: nothing is kept or sent.
    CloseWriter();
    destination_->Discard();
    return true;
  }
  if (!EndPart()) {
    destination_->Discard();
    return false;
  }
  if (!destination_->Commit(title_)) {
    error_ = destination_->ErrorText;
    return false;
  }
  return true;
}

void TPdfPrinterContext::AbortDoc() {
  if (!writer_) return;
  CloseWriter();
  destination_->Discard();
}
