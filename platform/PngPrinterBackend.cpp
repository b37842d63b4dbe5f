#include "platform/PngPrinterBackend.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

class TPngPrinterContext : public TPrinterContext {
 public:
  TPngPrinterContext(TPngPrinterBackend* backend, const TDriverSettings& settings, bool printing)
      : backend_(backend), settings_(settings), printing_(printing) {
  }
  ~TPngPrinterContext() override { AbortDoc(); }

  TDeviceMetrics Metrics() const override {
    TDeviceMetrics m;
    m.LogPixelsX = m.LogPixelsY = backend_->ppi_;
    QSize paper = backend_->PaperSizeTenths(backend_->name_, settings_);
    if (paper.isEmpty()) paper = QSize(2100, 2970);
    if (settings_.Orientation == TDriverSettings::OrientLandscape) paper.transpose();
    m.PhysicalWidth = m.HorzRes = int(std::lround(paper.width() / 254.0 * m.LogPixelsX));
    m.PhysicalHeight = m.VertRes = int(std::lround(paper.height() / 254.0 * m.LogPixelsY));
    return m;
  }
  QPainter* Painter() override { return painter_.isActive() ? &painter_ : nullptr; }
  bool Reset(const TDriverSettings& settings) override {
    if (painter_.isActive()) return false;
    settings_ = settings;
    return true;
  }
  bool StartDoc(const QString&) override {
    if (!printing_ || open_) return false;
    open_ = true;
    files_.clear();
    error_.clear();
    return true;
  }
  bool StartPage() override {
    if (!open_ || painter_.isActive()) return false;
    const TDeviceMetrics m = Metrics();
    page_ = QImage(m.PhysicalWidth, m.PhysicalHeight, QImage::Format_RGB32);
    if (page_.isNull()) {
      error_ = QStringLiteral("a page of %1 x %2 pixels is too large").arg(m.PhysicalWidth).arg(m.PhysicalHeight);
      return false;
    }
    const int dpm = int(std::lround(backend_->ppi_ / 0.0254));
    page_.setDotsPerMeterX(dpm);
    page_.setDotsPerMeterY(dpm);
    page_.fill(Qt::white);
    return painter_.begin(&page_);
  }
  bool EndPage() override {
    if (!painter_.isActive()) return false;
    painter_.end();
    // Written now, kept from sight until the document ends.
    auto file = std::make_unique<QSaveFile>(backend_->FileName(int(files_.size()) + 1));
    QImageWriter writer(file.get(), "png");
    if (!file->open(QIODevice::WriteOnly) || !writer.write(page_)) {
      error_ = file->errorString().isEmpty() ? writer.errorString() : file->errorString();
      page_ = QImage();
      return false;
    }
    page_ = QImage();
    files_.push_back(std::move(file));
    return true;
  }
  bool EndDoc() override {
    if (!open_) return false;
    if (painter_.isActive() && !EndPage()) {
      AbortDoc();
      return false;
    }
    open_ = false;
    QStringList written;
    for (auto& f : files_) {
      const QString name = f->fileName();
      if (!f->commit()) {
        error_ = f->errorString();
        files_.clear();
        return false;
      }
      written << name;
    }
    files_.clear();
    backend_->Written = written;
    return true;
  }
  void AbortDoc() override {
    if (painter_.isActive()) painter_.end();
    for (auto& f : files_) f->cancelWriting();
    files_.clear();
    open_ = false;
  }
  QString ErrorText() const override { return error_; }

 private:
  TPngPrinterBackend* backend_;
  TDriverSettings settings_;
  bool printing_;
  bool open_ = false;
  QImage page_;
  QPainter painter_;
  std::vector<std::unique_ptr<QSaveFile>> files_;
  QString error_;
};

TPngPrinterBackend::TPngPrinterBackend(const QString& printerName, const QStringList& fileNames,
                                       int pixelsPerInch)
    : name_(printerName), fileNames_(fileNames), ppi_(std::max(1, pixelsPerInch)) {}

QString TPngPrinterBackend::FileName(int page) const {
  if (page >= 1 && page <= fileNames_.size()) return fileNames_[page - 1];
  const QString folder = fileNames_.isEmpty() ? QDir::currentPath() : QFileInfo(fileNames_.last()).path();
  return QDir(folder).filePath(QStringLiteral("pagina-%1.png").arg(page));
}

QList<TPrinterEntry> TPngPrinterBackend::EnumPrinters() { return {{name_, QStringLiteral("file:"), false}}; }

QString TPngPrinterBackend::DefaultPrinter() { return name_; }

TDeviceCapabilities TPngPrinterBackend::DeviceCapabilities(const QString& device) {
  TDeviceCapabilities c;
  if (device != name_) return c;
  c.PaperNames = {QStringLiteral("A4"), QStringLiteral("A3"), QStringLiteral("A5"), QStringLiteral("Letter"),
                  QStringLiteral("Legal"), QStringLiteral("Custom")};
  c.PaperNumbers = {9, 8, 11, 1, 5, 256};
  c.PaperSizes = {QSize(2100, 2970), QSize(2970, 4200), QSize(1480, 2100), QSize(2159, 2794),
                  QSize(2159, 3556), QSize(0, 0)};
  c.BinNames = {QStringLiteral("Default")};
  c.BinNumbers = {7};
  c.Copies = 1;
  return c;
}

bool TPngPrinterBackend::DocumentProperties(const QString& device, TDriverSettings& out) {
  if (device != name_) return false;
  out = TDriverSettings();
  out.DeviceName = device;
  out.Fields = TDriverSettings::dmOrientation | TDriverSettings::dmPaperSize | TDriverSettings::dmCopies;
  out.PaperSize = 9;
  return true;
}

std::unique_ptr<TPrinterContext> TPngPrinterBackend::DoCreateContext(const QString& device,
                                                                     const TDriverSettings* settings,
                                                                     bool printing) {
  if (device != name_) return nullptr;
  TDriverSettings s;
  if (settings) s = *settings;
  else DocumentProperties(device, s);
  s.DeviceName = device;
  return std::make_unique<TPngPrinterContext>(this, s, printing);
}
