// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PageExporter.h"

#include "platform/PdfPrinterBackend.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <climits>
#include <functional>
#include <cmath>
#include <memory>
#include <vector>

TPageExporter::~TPageExporter() = default;

QString TPageExporter::CancelledText() { return QStringLiteral("A exportação foi cancelada."); }

// The exporter's context as the printer sees it: every call goes to the
// format's own context; each completed page is counted and told to the
// exporter's Progress, which may cancel.
class TProgressContext : public TPrinterContext {
 public:
  TProgressContext(TPageExporter* exporter, std::unique_ptr<TPrinterContext> inner)
      : exporter_(exporter), inner_(std::move(inner)) {}
  TDeviceMetrics Metrics() const override { return inner_->Metrics(); }
  QPainter* Painter() override { return inner_->Painter(); }
  bool Reset(const TDriverSettings& settings) override { return inner_->Reset(settings); }
  bool StartDoc(const QString& name) override {
    pages_ = 0;
    error_.clear();
    return inner_->StartDoc(name);
  }
  bool StartPage() override { return !exporter_->cancelled_ && inner_->StartPage(); }
  bool EndPage() override {
    if (!inner_->EndPage()) return false;
    ++pages_;
    if (exporter_->Progress && !exporter_->Progress(pages_)) {
      exporter_->cancelled_ = true;
      error_ = TPageExporter::CancelledText();
      return false;
    }
    return true;
  }
  bool EndDoc() override { return !exporter_->cancelled_ && inner_->EndDoc(); }
  void AbortDoc() override { inner_->AbortDoc(); }
  QString ErrorText() const override { return error_.isEmpty() ? inner_->ErrorText() : error_; }

 private:
  TPageExporter* exporter_;
  std::unique_ptr<TPrinterContext> inner_;
  int pages_ = 0;
  QString error_;
};

std::unique_ptr<TPrinterContext> TPageExporter::CreateContext(const TDriverSettings& settings,
                                                              QSize paperTenths,
                                                              TPrinterBackend* backend) {
  cancelled_ = false;
  std::unique_ptr<TPrinterContext> inner = DoCreateContext(settings, paperTenths, backend);
  if (!inner) return nullptr;
  return std::make_unique<TProgressContext>(this, std::move(inner));
}

// --- PDF

namespace {
// A print into a file that tells the exporter the file once it is in place.
class TPdfExportDestination : public TPdfFileDestination {
 public:
  TPdfExportDestination(const QString& fileName, QStringList* written)
      : TPdfFileDestination(fileName), fileName_(fileName), written_(written) {}
  bool Commit(const QString& title) override {
    if (!TPdfFileDestination::Commit(title)) return false;
    *written_ = QStringList{fileName_};
    return true;
  }

 private:
  QString fileName_;
  QStringList* written_;
};
}  // namespace

TPdfExporter::TPdfExporter(const QString& fileName) : fileName_(fileName) {}

int TPdfExporter::Resolution() const { return TPdfPrinterContext::Resolution; }

std::unique_ptr<TPrinterContext> TPdfExporter::DoCreateContext(const TDriverSettings& settings,
                                                               QSize paperTenths,
                                                               TPrinterBackend* backend) {
  return std::make_unique<TPdfPrinterContext>(
      std::make_unique<TPdfExportDestination>(fileName_, &Written), settings, paperTenths, backend);
}

// --- One file per page

TPageFilesExporter::TPageFilesExporter(const QStringList& fileNames, int pixelsPerInch)
    : fileNames_(fileNames), ppi_(std::max(1, pixelsPerInch)) {}

QString TPageFilesExporter::FileName(int page) const {
  if (page >= 1 && page <= fileNames_.size()) return fileNames_[page - 1];
  const QString folder =
      fileNames_.isEmpty() ? QDir::currentPath() : QFileInfo(fileNames_.last()).path();
  return QDir(folder).filePath(QStringLiteral("pagina-%1.%2").arg(page).arg(Extension()));
}

namespace {

// Pages drawn one at a time, each written into its file (kept from sight
// until the document ends well): what the picture formats share.  A
// format makes the page's paint device and turns the drawn page into the
// file's bytes.
class TPageFilesContext : public TPrinterContext {
 public:
  TPageFilesContext(TPageFilesExporter* exporter, const TDriverSettings& settings,
                    QSize paperTenths, TPrinterBackend* backend)
      : exporter_(exporter), backend_(backend), settings_(settings), paper_(paperTenths) {}
  ~TPageFilesContext() override { AbortDoc(); }

  TDeviceMetrics Metrics() const override {
    TDeviceMetrics m;
    m.LogPixelsX = m.LogPixelsY = exporter_->Resolution();
    QSize paper = paper_.isEmpty() ? QSize(2100, 2970) : paper_;
    if (settings_.Orientation == TDriverSettings::OrientLandscape) paper.transpose();
    m.PhysicalWidth = m.HorzRes = int(std::lround(paper.width() / 254.0 * m.LogPixelsX));
    m.PhysicalHeight = m.VertRes = int(std::lround(paper.height() / 254.0 * m.LogPixelsY));
    return m;
  }
  QPainter* Painter() override { return painter_.isActive() ? &painter_ : nullptr; }
  bool Reset(const TDriverSettings& settings) override {
    if (painter_.isActive()) return false;
    settings_ = settings;
    if (backend_) paper_ = backend_->PaperSizeTenths(settings.DeviceName, settings);
    return true;
  }
  bool StartDoc(const QString&) override {
    if (open_) return false;
    open_ = true;
    files_.clear();
    error_.clear();
    return true;
  }
  bool StartPage() override {
    if (!open_ || painter_.isActive()) return false;
    const TDeviceMetrics m = Metrics();
    QPaintDevice* device = BeginPage(QSize(m.PhysicalWidth, m.PhysicalHeight));
    if (!device) {
      error_ = QStringLiteral("a page of %1 x %2 pixels is too large")
                   .arg(m.PhysicalWidth)
                   .arg(m.PhysicalHeight);
      return false;
    }
    if (!painter_.begin(device)) return false;
    // Paper is white.
    painter_.fillRect(QRect(0, 0, m.PhysicalWidth, m.PhysicalHeight), Qt::white);
    return true;
  }
  bool EndPage() override {
    if (!painter_.isActive()) return false;
    painter_.end();
    // Written now, kept from sight until the document ends.
    auto file = std::make_unique<QSaveFile>(exporter_->FileName(int(files_.size()) + 1));
    QString why;
    if (!file->open(QIODevice::WriteOnly) || !FinishPage(*file, why)) {
      error_ = !why.isEmpty() ? why : file->errorString();
      return false;
    }
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
    exporter_->Written = written;
    return true;
  }
  void AbortDoc() override {
    if (painter_.isActive()) painter_.end();
    for (auto& f : files_) f->cancelWriting();
    files_.clear();
    open_ = false;
  }
  QString ErrorText() const override { return error_; }

 protected:
  // The page's paint device, `size` pixels; null when it cannot be made.
  virtual QPaintDevice* BeginPage(QSize size) = 0;
  // Writes the drawn page into `out`; false (and why) when that failed.
  virtual bool FinishPage(QIODevice& out, QString& why) = 0;
  int Resolution() const { return exporter_->Resolution(); }

 private:
  TPageFilesExporter* exporter_;
  TPrinterBackend* backend_;
  TDriverSettings settings_;
  QSize paper_;
  bool open_ = false;
  QPainter painter_;
  std::vector<std::unique_ptr<QSaveFile>> files_;
  QString error_;
};

class TPngPageContext : public TPageFilesContext {
 public:
  using TPageFilesContext::TPageFilesContext;

 protected:
  QPaintDevice* BeginPage(QSize size) override {
    page_ = QImage(size, QImage::Format_RGB32);
    if (page_.isNull()) return nullptr;
    const int dpm = int(std::lround(Resolution() / 0.0254));
    page_.setDotsPerMeterX(dpm);
    page_.setDotsPerMeterY(dpm);
    return &page_;
  }
  bool FinishPage(QIODevice& out, QString& why) override {
    QImageWriter writer(&out, "png");
    const bool ok = writer.write(page_);
    if (!ok) why = writer.errorString();
    page_ = QImage();
    return ok;
  }

 private:
  QImage page_;
};

// An SVG page.  Qt's own SVG generator (of the Qt that Debian 12 has)
// ignores clipping, which pages depend on (a disc picture clipped to its
// circle, texts and pictures clipped to their boxes), and SVG viewers
// differ in how they honour clip paths; so this engine writes every shape
// already clipped, in page pixels: filled outlines intersected with the
// clip, strokes as filled outlines, and pictures (and fills that are not
// one colour) as pictures of the part that shows.
class TSvgEngine : public QPaintEngine {
 public:
  TSvgEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  Type type() const override { return QPaintEngine::User; }
  void updateState(const QPaintEngineState&) override {}

  void drawPath(const QPainterPath& path) override { Draw(path, true); }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    QPainterPath path;
    if (count <= 0) return;
    path.moveTo(points[0]);
    for (int i = 1; i < count; ++i) path.lineTo(points[i]);
    if (mode != PolylineMode) path.closeSubpath();
    path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    Draw(path, mode != PolylineMode);
  }
  void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
    drawImage(r, pm.toImage(), sr, Qt::AutoColor);
  }
  void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                 Qt::ImageConversionFlags) override {
    QPainter* p = painter();
    const QTransform t = p->combinedTransform();
    if (!p->hasClipping() && p->opacity() >= 1.0) {
      // The picture as it is, placed by the transformation.
      const QImage part = sr == QRectF(image.rect()) ? image : image.copy(sr.toAlignedRect());
      body_ += QStringLiteral("<image x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" "
                              "preserveAspectRatio=\"none\" transform=\"%5\" xlink:href=\"%6\"/>\n")
                   .arg(Num(r.x()), Num(r.y()), Num(r.width()), Num(r.height()), Matrix(t),
                        Png(part));
      return;
    }
    QPainterPath box;
    box.addRect(r);
    Raster(t.map(box), [&](QPainter& q) {
      q.setTransform(t, true);
      q.setRenderHint(QPainter::SmoothPixmapTransform, p->testRenderHint(QPainter::SmoothPixmapTransform));
      q.drawImage(r, image, sr);
    });
  }

  QSize Size;
  QString body_;

 private:
  static QString Num(qreal v) { return QString::number(v, 'g', 10); }
  static QString Matrix(const QTransform& t) {
    return QStringLiteral("matrix(%1,%2,%3,%4,%5,%6)")
        .arg(Num(t.m11()), Num(t.m12()), Num(t.m21()), Num(t.m22()), Num(t.dx()), Num(t.dy()));
  }
  static QString Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(bytes.toBase64());
  }
  static QString PathData(const QPainterPath& path) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
      const QPainterPath::Element e = path.elementAt(i);
      switch (e.type) {
        case QPainterPath::MoveToElement: d += QStringLiteral("M%1 %2").arg(Num(e.x), Num(e.y)); break;
        case QPainterPath::LineToElement: d += QStringLiteral("L%1 %2").arg(Num(e.x), Num(e.y)); break;
        case QPainterPath::CurveToElement: {
          const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
          d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                   .arg(Num(e.x), Num(e.y), Num(c2.x), Num(c2.y), Num(end.x), Num(end.y));
          i += 2;
          break;
        }
        case QPainterPath::CurveToDataElement: break;
      }
    }
    return d;
  }
  // The clip in page pixels; empty when nothing is clipped (`clipped`
  // false).
  QPainterPath Clip(bool& clipped) const {
    QPainter* p = painter();
    clipped = p->hasClipping();
    if (!clipped) return {};
    return p->combinedTransform().map(p->clipPath());
  }
  // The outline filled and the pen's outline, in page pixels.
  void Draw(const QPainterPath& path, bool fill) {
    QPainter* p = painter();
    const QTransform t = p->combinedTransform();
    if (fill && p->brush().style() != Qt::NoBrush) {
      QBrush brush = p->brush();
      if (brush.style() != Qt::SolidPattern) {
        const QPointF origin = p->brushOrigin();
        brush.setTransform(brush.transform() * QTransform::fromTranslate(origin.x(), origin.y()) * t);
      }
      Fill(t.map(path), brush);
    }
    const QPen pen = p->pen();
    if (pen.style() == Qt::NoPen || pen.brush().style() == Qt::NoBrush) return;
    QPainterPathStroker stroker(pen);
    QPainterPath outline;
    if (pen.isCosmetic()) {
      stroker.setWidth(std::max<qreal>(1.0, pen.widthF()));
      outline = stroker.createStroke(t.map(path));
    } else {
      if (pen.widthF() <= 0) stroker.setWidth(1.0 / std::max<qreal>(1e-9, std::sqrt(std::abs(t.determinant()))));
      outline = t.map(stroker.createStroke(path));
    }
    outline.setFillRule(Qt::WindingFill);
    QBrush brush = pen.brush();
    if (brush.style() != Qt::SolidPattern) brush.setTransform(brush.transform() * t);
    Fill(outline, brush);
  }
  void Fill(QPainterPath page, const QBrush& brush) {
    bool clipped = false;
    const QPainterPath clip = Clip(clipped);
    const qreal opacity = painter()->opacity();
    if (brush.style() != Qt::SolidPattern) {
      Raster(page, [&](QPainter& q) { q.fillPath(page, brush); });
      return;
    }
    if (clipped) page = page.intersected(clip);
    if (page.isEmpty()) return;
    const QColor c = brush.color();
    body_ += QStringLiteral("<path d=\"%1\" fill=\"%2\" fill-opacity=\"%3\" fill-rule=\"%4\"/>\n")
                 .arg(PathData(page), c.name(QColor::HexRgb), Num(c.alphaF() * opacity),
                      page.fillRule() == Qt::OddEvenFill ? QStringLiteral("evenodd")
                                                         : QStringLiteral("nonzero"));
  }
  // What `paint` draws in page pixels (within `area`), clipped, as a
  // picture of the page's resolution.
  void Raster(const QPainterPath& area, const std::function<void(QPainter&)>& paint) {
    bool clipped = false;
    const QPainterPath clip = Clip(clipped);
    QRectF bounds = area.boundingRect().intersected(QRectF(QPointF(0, 0), Size));
    if (clipped) bounds = bounds.intersected(clip.boundingRect());
    const QRect pixels = bounds.toAlignedRect();
    if (pixels.isEmpty()) return;
    QImage image(pixels.size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return;
    image.fill(Qt::transparent);
    {
      QPainter q(&image);
      q.setRenderHint(QPainter::Antialiasing, painter()->testRenderHint(QPainter::Antialiasing));
      q.translate(-pixels.topLeft());
      if (clipped) q.setClipPath(clip);
      q.setOpacity(painter()->opacity());
      paint(q);
    }
    body_ += QStringLiteral("<image x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" "
                            "preserveAspectRatio=\"none\" xlink:href=\"%5\"/>\n")
                 .arg(pixels.x())
                 .arg(pixels.y())
                 .arg(pixels.width())
                 .arg(pixels.height())
                 .arg(Png(image));
  }
};

class TSvgPageDevice : public QPaintDevice {
 public:
  TSvgPageDevice(QSize size, int dpi) : dpi_(dpi) { engine_.Size = size; }
  QPaintEngine* paintEngine() const override { return &engine_; }
  // The whole drawing: its size the paper's in millimetres, its user units
  // the page's pixels.
  QByteArray Document() const {
    const QSize& s = engine_.Size;
    auto mm = [this](int px) { return QString::number(px * 25.4 / dpi_, 'f', 3); };
    QString svg = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                      "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" "
                      "width=\"%1mm\" height=\"%2mm\" viewBox=\"0 0 %3 %4\">\n"
                      "<title>Lurns para CD</title>\n")
                      .arg(mm(s.width()), mm(s.height()))
                      .arg(s.width())
                      .arg(s.height());
    svg += engine_.body_;
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
  }

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return engine_.Size.width();
      case PdmHeight: return engine_.Size.height();
      case PdmWidthMM: return int(std::lround(engine_.Size.width() * 25.4 / dpi_));
      case PdmHeightMM: return int(std::lround(engine_.Size.height() * 25.4 / dpi_));
      case PdmNumColors: return INT_MAX;
      case PdmDepth: return 32;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return dpi_;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
  }

 private:
  int dpi_;
  mutable TSvgEngine engine_;
};

class TSvgPageContext : public TPageFilesContext {
 public:
  using TPageFilesContext::TPageFilesContext;

 protected:
  QPaintDevice* BeginPage(QSize size) override {
    if (size.isEmpty()) return nullptr;
    page_ = std::make_unique<TSvgPageDevice>(size, Resolution());
    return page_.get();
  }
  bool FinishPage(QIODevice& out, QString& why) override {
    const QByteArray bytes = page_->Document();
    page_.reset();
    if (out.write(bytes) != bytes.size()) {
      why = out.errorString();
      return false;
    }
    return true;
  }

 private:
  std::unique_ptr<TSvgPageDevice> page_;
};

}  // namespace

std::unique_ptr<TPrinterContext> TPngExporter::DoCreateContext(const TDriverSettings& settings,
                                                               QSize paperTenths,
                                                               TPrinterBackend* backend) {
  return std::make_unique<TPngPageContext>(this, settings, paperTenths, backend);
}

std::unique_ptr<TPrinterContext> TSvgExporter::DoCreateContext(const TDriverSettings& settings,
                                                               QSize paperTenths,
                                                               TPrinterBackend* backend) {
  return std::make_unique<TSvgPageContext>(this, settings, paperTenths, backend);
}
