#include "platform/CupsPrinterBackend.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <cstdlib>

#include <cups/cups.h>

namespace {

// Windows bin numbers of the IPP media sources that have one.
int BinNumberFor(const QString& keyword, int index) {
  static const QHash<QString, int> known = {
      {QStringLiteral("top"), 1},           {QStringLiteral("upper"), 1},
      {QStringLiteral("bottom"), 2},        {QStringLiteral("lower"), 2},
      {QStringLiteral("middle"), 3},        {QStringLiteral("manual"), 4},
      {QStringLiteral("envelope"), 5},      {QStringLiteral("auto"), 7},
      {QStringLiteral("large-capacity"), 11}, {QStringLiteral("main"), 15},
  };
  const auto it = known.find(keyword);
  if (it != known.end()) return it.value();
  return 257 + index;  // the driver's own bins start above 256
}

// The dest of a printer, with its information; both freed on destruction.
class DestInfo {
 public:
  explicit DestInfo(const QString& name) {
    dest_ = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.toUtf8().constData(), nullptr);
    if (dest_) info_ = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest_);
  }
  ~DestInfo() {
    if (info_) cupsFreeDestInfo(info_);
    if (dest_) cupsFreeDests(1, dest_);
  }
  DestInfo(const DestInfo&) = delete;
  DestInfo& operator=(const DestInfo&) = delete;

  ipp_attribute_t* Supported(const char* option) const {
    return info_ ? cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest_, info_, option) : nullptr;
  }
  QString Localize(const char* option, const char* value) const {
    const char* s = info_ ? cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest_, info_, option, value)
                          : nullptr;
    return s ? QString::fromUtf8(s) : QString::fromUtf8(value);
  }

 private:
  cups_dest_t* dest_ = nullptr;
  cups_dinfo_t* info_ = nullptr;
};

int TenthsToPixels(double tenths, int ppi) { return int(std::lround(tenths / 254.0 * ppi)); }

}  // namespace

TCupsPrinterBackend::TCupsPrinterBackend() = default;
TCupsPrinterBackend::~TCupsPrinterBackend() = default;

bool TCupsPrinterBackend::ServerReachable() {
  http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              3000, nullptr);
  if (!http) return false;
  httpClose(http);
  return true;
}

QList<TPrinterEntry> TCupsPrinterBackend::EnumPrinters() {
  QList<TPrinterEntry> list;
  cups_dest_t* dests = nullptr;
  const int n = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  for (int i = 0; i < n; ++i) {
    const cups_dest_t& d = dests[i];
    if (d.instance) continue;  // instances are option sets of a printer, not printers
    TPrinterEntry e;
    e.Name = QString::fromUtf8(d.name);
    const char* uri = cupsGetOption("device-uri", d.num_options, d.options);
    e.Port = uri ? QString::fromUtf8(uri) : QString();
    const char* type = cupsGetOption("printer-type", d.num_options, d.options);
    e.Network = type && (std::atoi(type) & CUPS_PRINTER_REMOTE);
    list.append(e);
  }
  cupsFreeDests(n, dests);
  return list;
}

QString TCupsPrinterBackend::DefaultPrinter() {
  QString name;
  QString first;
  cups_dest_t* dests = nullptr;
  const int n = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  for (int i = 0; i < n; ++i) {
    if (dests[i].instance) continue;
    if (first.isEmpty()) first = QString::fromUtf8(dests[i].name);
    if (dests[i].is_default) name = QString::fromUtf8(dests[i].name);
  }
  cupsFreeDests(n, dests);
  // A spooler with printers always has a default printer; CUPS may have
  // none chosen, and then the first printer serves.
  return name.isEmpty() ? first : name;
}

const TCupsPrinterBackend::Device& TCupsPrinterBackend::Info(const QString& device) {
  auto it = devices_.find(device);
  if (it != devices_.end()) return it.value();
  Device d;
  const QPrinterInfo pi = QPrinterInfo::printerInfo(device);
  if (!pi.isNull()) {
    QList<int> used;
    int nextOwn = 257;  // a driver's own papers have codes above 256
    for (const QPageSize& ps : pi.supportedPageSizes()) {
      int code = ps.id() == QPageSize::Custom ? 0 : ps.windowsId();
      if (code <= 0 || code >= 256 || used.contains(code)) code = nextOwn++;
      used.append(code);
      d.Papers.append({code, ps});
    }
  }
  const DestInfo dest(device);
  if (ipp_attribute_t* a = dest.Supported("media-source")) {
    for (int i = 0; i < ippGetCount(a); ++i) {
      const char* kw = ippGetString(a, i, nullptr);
      if (!kw) continue;
      Tray t;
      t.Keyword = QString::fromUtf8(kw);
      t.Number = BinNumberFor(t.Keyword, i);
      t.Name = dest.Localize("media-source", kw);
      d.Trays.append(t);
    }
  }
  if (ipp_attribute_t* a = dest.Supported("copies")) {
    if (ippGetValueTag(a) == IPP_TAG_RANGE) {
      int upper = 0;
      ippGetRange(a, 0, &upper);
      d.Copies = upper;
    } else if (ippGetValueTag(a) == IPP_TAG_INTEGER) {
      d.Copies = ippGetInteger(a, 0);
    }
  }
  return devices_.insert(device, d).value();
}

TDeviceCapabilities TCupsPrinterBackend::DeviceCapabilities(const QString& device) {
  TDeviceCapabilities caps;
  const Device& d = Info(device);
  for (const Paper& p : d.Papers) {
    const QSizeF mm = p.Size.size(QPageSize::Millimeter);
    caps.PaperNames.append(p.Size.name());
    caps.PaperNumbers.append(p.Code);
    caps.PaperSizes.append(
        QSize(int(std::lround(mm.width() * 10)), int(std::lround(mm.height() * 10))));
  }
  for (const Tray& t : d.Trays) {
    caps.BinNames.append(t.Name);
    caps.BinNumbers.append(t.Number);
  }
  caps.Copies = d.Copies;
  return caps;
}

int TCupsPrinterBackend::CodeFor(const QString& device, const QPageSize& size) {
  for (const Paper& p : Info(device).Papers)
    if (p.Size.isEquivalentTo(size) || (!p.Size.key().isEmpty() && p.Size.key() == size.key()))
      return p.Code;
  return 0;
}

QPageSize TCupsPrinterBackend::PageSizeFor(const QString& device, const TDriverSettings& s) {
  const bool userSize = (s.Fields & TDriverSettings::dmPaperWidth) &&
                        (s.Fields & TDriverSettings::dmPaperLength) && s.PaperWidth > 0 &&
                        s.PaperLength > 0;
  if (s.PaperSize > 0 && s.PaperSize != 256) {
    for (const Paper& p : Info(device).Papers)
      if (p.Code == s.PaperSize) return p.Size;
    const QPageSize::PageSizeId id = QPageSize::id(s.PaperSize);
    if (id != QPageSize::Custom) return QPageSize(id);
  }
  if (userSize)
    return QPageSize(QSizeF(s.PaperWidth / 10.0, s.PaperLength / 10.0), QPageSize::Millimeter,
                     s.FormName, QPageSize::ExactMatch);
  return QPageSize(QPageSize::A4);
}

QSize TCupsPrinterBackend::PaperSizeTenths(const QString& device, const TDriverSettings& s) {
  const QSizeF mm = PageSizeFor(device, s).size(QPageSize::Millimeter);
  return QSize(int(std::lround(mm.width() * 10)), int(std::lround(mm.height() * 10)));
}

bool TCupsPrinterBackend::DocumentProperties(const QString& device, TDriverSettings& out) {
  const QPrinterInfo pi = QPrinterInfo::printerInfo(device);
  if (pi.isNull()) return false;
  TDriverSettings s;
  s.DeviceName = device;
  s.Fields = TDriverSettings::dmOrientation | TDriverSettings::dmPaperSize |
             TDriverSettings::dmCopies | TDriverSettings::dmDuplex | TDriverSettings::dmColor;
  s.Orientation = TDriverSettings::OrientPortrait;
  const QPageSize def = pi.defaultPageSize();
  s.PaperSize = CodeFor(device, def);
  if (s.PaperSize == 0) {
    const QSizeF mm = def.size(QPageSize::Millimeter);
    s.PaperSize = 256;
    s.PaperWidth = int(std::lround(mm.width() * 10));
    s.PaperLength = int(std::lround(mm.height() * 10));
    s.Fields |= TDriverSettings::dmPaperWidth | TDriverSettings::dmPaperLength;
  }
  s.Copies = 1;
  switch (pi.defaultDuplexMode()) {
    case QPrinter::DuplexLongSide: s.Duplex = TDriverSettings::DuplexVertical; break;
    case QPrinter::DuplexShortSide: s.Duplex = TDriverSettings::DuplexHorizontal; break;
    default: s.Duplex = TDriverSettings::DuplexSimplex; break;
  }
  s.Color = pi.supportedColorModes().contains(QPrinter::Color);
  const Device& d = Info(device);
  if (!d.Trays.isEmpty()) {
    s.DefaultSource = d.Trays.first().Number;
    for (const Tray& t : d.Trays)
      if (t.Keyword == QLatin1String("auto")) s.DefaultSource = t.Number;
    s.Fields |= TDriverSettings::dmDefaultSource;
  }
  out = s;
  return true;
}

namespace {

// Puts driver settings on a QPrinter: paper, orientation, one copy,
// duplex, colour and tray.
void Configure(QPrinter& printer, TCupsPrinterBackend& backend, const QString& device,
               const TDriverSettings& s) {
  printer.setFullPage(true);
  printer.setPageSize(backend.PageSizeFor(device, s));
  printer.setPageOrientation(s.Orientation == TDriverSettings::OrientLandscape
                                 ? QPageLayout::Landscape
                                 : QPageLayout::Portrait);
  printer.setCopyCount(std::max(1, s.Copies));
  switch (s.Duplex) {
    case TDriverSettings::DuplexHorizontal: printer.setDuplex(QPrinter::DuplexShortSide); break;
    case TDriverSettings::DuplexVertical: printer.setDuplex(QPrinter::DuplexLongSide); break;
    default: printer.setDuplex(QPrinter::DuplexNone); break;
  }
  printer.setColorMode(s.Color ? QPrinter::Color : QPrinter::GrayScale);
}

// The hardware margins of the printer for the paper, turned with the
// orientation, in printer pixels (left, top, right, bottom).
QMargins UnprintablePixels(QPrinter& printer, int ppi, bool landscape) {
  QPageLayout layout = printer.pageLayout();
  layout.setUnits(QPageLayout::Point);
  const QMarginsF pt = layout.minimumMargins();
  auto px = [ppi](qreal points) { return int(std::lround(points / 72.0 * ppi)); };
  QMargins m(px(pt.left()), px(pt.top()), px(pt.right()), px(pt.bottom()));
  // Qt answers the portrait margins whatever the orientation; a landscape
  // page lies a quarter turn counter-clockwise on the sheet.
  if (landscape) m = QMargins(m.bottom(), m.left(), m.top(), m.right());
  return m;
}

class TCupsContext : public TPrinterContext {
 public:
  TCupsContext(TCupsPrinterBackend* backend, const QString& device, const TDriverSettings& s,
               bool printing)
      : backend_(backend),
        device_(device),
        settings_(s),
        printing_(printing),
        printer_(QPrinterInfo::printerInfo(device), QPrinter::HighResolution) {
    printer_.setOutputFormat(QPrinter::NativeFormat);
    Configure(printer_, *backend_, device_, settings_);
    measure_ = QImage(1, 1, QImage::Format_RGB32);
    const int dpm = int(std::lround(printer_.resolution() / 0.0254));
    measure_.setDotsPerMeterX(dpm);
    measure_.setDotsPerMeterY(dpm);
  }
  ~TCupsContext() override {
    // A context deleted mid-document ends its job with what was printed.
    if (painter_.isActive()) painter_.end();
  }

  bool Valid() const { return printer_.isValid(); }

  TDeviceMetrics Metrics() const override {
    TDeviceMetrics m;
    const int ppi = printer_.resolution();
    m.LogPixelsX = m.LogPixelsY = ppi;
    QSize paper = backend_->PaperSizeTenths(device_, settings_);
    const bool landscape = settings_.Orientation == TDriverSettings::OrientLandscape;
    if (landscape) paper.transpose();
    m.PhysicalWidth = TenthsToPixels(paper.width(), ppi);
    m.PhysicalHeight = TenthsToPixels(paper.height(), ppi);
    const QMargins u = UnprintablePixels(const_cast<QPrinter&>(printer_), ppi, landscape);
    m.PhysicalOffsetX = u.left();
    m.PhysicalOffsetY = u.top();
    m.HorzRes = m.PhysicalWidth - u.left() - u.right();
    m.VertRes = m.PhysicalHeight - u.top() - u.bottom();
    const bool color = settings_.Color &&
                       QPrinterInfo::printerInfo(device_).supportedColorModes().contains(
                           QPrinter::Color);
    m.SizePalette = color ? 0 : 2;
    m.NumColors = color ? -1 : 2;
    return m;
  }

  QPainter* Painter() override { return pageOpen_ ? &painter_ : nullptr; }
  QPaintDevice* MeasuringDevice() override { return &measure_; }

  bool Reset(const TDriverSettings& s) override {
    if (pageOpen_) return false;
    settings_ = s;
    // Before the first page the job's own settings follow too; later pages
    // take paper and orientation when they start.
    if (!painter_.isActive()) Configure(printer_, *backend_, device_, settings_);
    return true;
  }

  bool StartDoc(const QString& name) override {
    if (!printing_ || docOpen_) return false;
    printer_.setDocName(name.isEmpty() ? QStringLiteral("Lurns") : name);
    docOpen_ = true;
    pages_ = 0;
    return true;
  }

  bool StartPage() override {
    if (!docOpen_ || pageOpen_) return false;
    const QPageSize size = backend_->PageSizeFor(device_, settings_);
    const auto orient = settings_.Orientation == TDriverSettings::OrientLandscape
                            ? QPageLayout::Landscape
                            : QPageLayout::Portrait;
    printer_.setPageSize(size);
    printer_.setPageOrientation(orient);
    printer_.setFullPage(true);
    if (pages_ == 0) {
      if (!painter_.begin(&printer_)) return false;
    } else if (!printer_.newPage()) {
      return false;
    }
    painter_.resetTransform();
    painter_.setClipping(false);
    // Full-page mode puts the origin at the paper's corner; the engine's
    // origin is the printable area's.
    const TDeviceMetrics m = Metrics();
    painter_.translate(m.PhysicalOffsetX, m.PhysicalOffsetY);
    ++pages_;
    pageOpen_ = true;
    return true;
  }

  bool EndPage() override {
    if (!pageOpen_) return false;
    pageOpen_ = false;
    return true;
  }

  bool EndDoc() override {
    if (!docOpen_) return false;
    pageOpen_ = false;
    docOpen_ = false;
    if (painter_.isActive()) return painter_.end();
    return true;
  }

 private:
  TCupsPrinterBackend* backend_;
  QString device_;
  TDriverSettings settings_;
  bool printing_;
  QPrinter printer_;
  QPainter painter_;
  QImage measure_;
  bool docOpen_ = false;
  bool pageOpen_ = false;
  int pages_ = 0;
};

}  // namespace

bool TCupsPrinterBackend::PropertiesDialog(const QString& device, const TDriverSettings& in,
                                           TDriverSettings& out) {
  TPrinterDialogHost* host = PrinterDialogHost();
  const QPrinterInfo pi = QPrinterInfo::printerInfo(device);
  if (!host || pi.isNull()) return false;
  QPrinter printer(pi, QPrinter::HighResolution);
  Configure(printer, *this, device, in);
  if (!host->PageSetupDialog(printer)) return false;
  TDriverSettings s = in;
  const QPageLayout layout = printer.pageLayout();
  s.Orientation = layout.orientation() == QPageLayout::Landscape
                      ? TDriverSettings::OrientLandscape
                      : TDriverSettings::OrientPortrait;
  const int code = CodeFor(device, layout.pageSize());
  const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
  if (code > 0) {
    s.PaperSize = code;
  } else {
    s.PaperSize = 256;
    s.PaperWidth = int(std::lround(mm.width() * 10));
    s.PaperLength = int(std::lround(mm.height() * 10));
    s.Fields |= TDriverSettings::dmPaperWidth | TDriverSettings::dmPaperLength;
  }
  s.Fields |= TDriverSettings::dmOrientation | TDriverSettings::dmPaperSize;
  out = s;
  return true;
}

std::unique_ptr<TPrinterContext> TCupsPrinterBackend::DoCreateContext(
    const QString& device, const TDriverSettings* settings, bool printing) {
  if (QPrinterInfo::printerInfo(device).isNull()) return nullptr;
  TDriverSettings s;
  if (!settings || settings->PaperSize == 0) {
    if (!DocumentProperties(device, s)) return nullptr;
  }
  if (settings) {
    const int code = s.PaperSize;
    s = *settings;
    if (s.PaperSize == 0) s.PaperSize = code;
  }
  s.DeviceName = device;
  auto ctx = std::make_unique<TCupsContext>(this, device, s, printing);
  if (!ctx->Valid()) return nullptr;
  return ctx;
}
