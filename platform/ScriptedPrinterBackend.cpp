// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ScriptedPrinterBackend.h"

#include <QPainter>
#include <cmath>

TScriptedPrinter TScriptedPrinter::Standard(const QString& name) {
  TScriptedPrinter p;
  p.Name = name;
  p.Port = QStringLiteral("scripted:");
  p.Caps.PaperNames = {QStringLiteral("A4"), QStringLiteral("Letter"), QStringLiteral("A5"),
                       QStringLiteral("Custom Size")};
  p.Caps.PaperNumbers = {9, 1, 11, 256};
  p.Caps.PaperSizes = {QSize(2100, 2970), QSize(2159, 2794), QSize(1480, 2100), QSize(0, 0)};
  p.Caps.BinNames = {QStringLiteral("Automatic"), QStringLiteral("Tray 1")};
  p.Caps.BinNumbers = {7, 257};
  p.Caps.Copies = 999;
  p.Defaults.Fields = TDriverSettings::dmOrientation | TDriverSettings::dmPaperSize |
                      TDriverSettings::dmCopies | TDriverSettings::dmDefaultSource |
                      TDriverSettings::dmDuplex;
  p.Defaults.PaperSize = 9;
  p.Defaults.DefaultSource = 7;
  return p;
}

namespace {

class TScriptedContext : public TPrinterContext {
 public:
  TScriptedContext(TScriptedPrinterBackend* backend, const TScriptedPrinter& printer,
                   const TDriverSettings& settings, bool printing)
      : backend_(backend), printer_(printer), settings_(settings), printing_(printing) {
  }
  ~TScriptedContext() override {
    if (painter_.isActive()) painter_.end();
  }

  TDeviceMetrics Metrics() const override {
    TDeviceMetrics m;
    m.LogPixelsX = printer_.PixelsPerInchX;
    m.LogPixelsY = printer_.PixelsPerInchY;
    QSize paper = backend_->PaperSizeTenths(printer_.Name, settings_);
    if (paper.isEmpty()) paper = QSize(2100, 2970);
    QMargins u = printer_.Unprintable;
    const bool landscape = settings_.Orientation == TDriverSettings::OrientLandscape;
    if (landscape) {
      // The content is turned a quarter counter-clockwise on the sheet: its
      // top lies along the sheet's left edge.
      paper.transpose();
      u = QMargins(u.bottom(), u.left(), u.top(), u.right());
    }
    m.PhysicalWidth = int(std::lround(paper.width() / 254.0 * m.LogPixelsX));
    m.PhysicalHeight = int(std::lround(paper.height() / 254.0 * m.LogPixelsY));
    m.PhysicalOffsetX = u.left();
    m.PhysicalOffsetY = u.top();
    m.HorzRes = m.PhysicalWidth - u.left() - u.right();
    m.VertRes = m.PhysicalHeight - u.top() - u.bottom();
    m.SizePalette = printer_.Color ? 0 : 2;
    m.NumColors = printer_.Color ? -1 : 2;
    return m;
  }

  QPainter* Painter() override { return painter_.isActive() ? &painter_ : nullptr; }

  bool Reset(const TDriverSettings& settings) override {
    if (painter_.isActive()) return false;
    settings_ = settings;
    return true;
  }
  bool StartDoc(const QString& name) override {
    if (!printing_ || docOpen_) return false;
    doc_ = TScriptedDocument();
    doc_.Printer = printer_.Name;
    doc_.Name = name;
    doc_.Settings = settings_;
    docOpen_ = true;
    return true;
  }
  bool StartPage() override {
    if (!docOpen_ || painter_.isActive()) return false;
    const TDeviceMetrics m = Metrics();
    page_ = QImage(printer_.KeepPages ? QSize(m.PhysicalWidth, m.PhysicalHeight) : QSize(1, 1),
                   QImage::Format_RGB32);
    page_.setDotsPerMeterX(int(std::lround(printer_.PixelsPerInchX / 0.0254)));
    page_.setDotsPerMeterY(int(std::lround(printer_.PixelsPerInchY / 0.0254)));
    page_.fill(Qt::white);
    if (!painter_.begin(&page_)) return false;
    // Device coordinates start at the printable area.
    painter_.translate(m.PhysicalOffsetX, m.PhysicalOffsetY);
    return true;
  }
  bool EndPage() override {
    if (!painter_.isActive()) return false;
    painter_.end();
    TScriptedPage p;
    p.Settings = settings_;
    p.Metrics = Metrics();
    if (printer_.KeepPages) p.Image = page_;
    page_ = QImage();
    doc_.Pages.append(p);
    return true;
  }
  bool EndDoc() override {
    if (!docOpen_) return false;
    if (painter_.isActive()) EndPage();
    docOpen_ = false;
    if (printer_.RefusesJobs) {
      error_ = QStringLiteral("the queue refused the job");
      return false;
    }
    doc_.Ended = true;
    backend_->Documents.append(doc_);
    return true;
  }
  void AbortDoc() override {
    if (!docOpen_) return;
    if (painter_.isActive()) painter_.end();
    docOpen_ = false;
    ++backend_->AbortedDocuments;
  }
  QString ErrorText() const override { return error_; }

 private:
  TScriptedPrinterBackend* backend_;
  TScriptedPrinter printer_;
  TDriverSettings settings_;
  bool printing_;
  bool docOpen_ = false;
  TScriptedDocument doc_;
  QString error_;
  QImage page_;
  QPainter painter_;
};

}  // namespace

TScriptedPrinter* TScriptedPrinterBackend::Find(const QString& device) {
  for (auto& p : Printers)
    if (p.Name == device) return &p;
  return nullptr;
}

QList<TPrinterEntry> TScriptedPrinterBackend::EnumPrinters() {
  QList<TPrinterEntry> list;
  for (const auto& p : Printers) list.append({p.Name, p.Port, p.Network});
  return list;
}

QString TScriptedPrinterBackend::DefaultPrinter() { return Default; }

TDeviceCapabilities TScriptedPrinterBackend::DeviceCapabilities(const QString& device) {
  if (auto* p = Find(device)) return p->Caps;
  return {};
}

bool TScriptedPrinterBackend::DocumentProperties(const QString& device, TDriverSettings& out) {
  ++SettingsQueries;
  auto* p = Find(device);
  if (!p || p->RefusesSettings) return false;
  out = p->Defaults;
  out.DeviceName = device;
  out.Color = p->Color;
  return true;
}

bool TScriptedPrinterBackend::PropertiesDialog(const QString& device, const TDriverSettings& in,
                                               TDriverSettings& out) {
  if (!Find(device)) return false;
  if (PropertiesAnswer) return PropertiesAnswer(in, out);
  const TPrinterOptionsDialog& dialog = PrinterOptionsDialog();
  const TPrinterOptions offered = PrinterOptions(device, in);
  if (!dialog || offered.isEmpty()) return false;
  QMap<QString, QString> chosen;
  if (!dialog(device, offered, chosen)) return false;
  TDriverSettings s = in;
  for (auto it = chosen.cbegin(); it != chosen.cend(); ++it) {
    if (it.key() == QLatin1String("media")) {
      s.PaperSize = it.value().toInt();
      s.Fields |= TDriverSettings::dmPaperSize;
    } else if (it.key() == QLatin1String("media-source")) {
      s.DefaultSource = it.value().toInt();
      s.Fields |= TDriverSettings::dmDefaultSource;
    } else if (it.key() == QLatin1String("sides")) {
      s.Duplex = DuplexForSides(it.value());
      s.Fields |= TDriverSettings::dmDuplex;
    } else {
      s.DriverOptions.insert(it.key(), it.value());
    }
  }
  out = s;
  return true;
}

TPrinterOptions TScriptedPrinterBackend::PrinterOptions(const QString& device,
                                                        const TDriverSettings& settings) {
  const TScriptedPrinter* p = Find(device);
  if (!p) return {};
  TPrinterOptions list = p->Options;
  for (TPrinterOption& o : list) {
    if (o.Keyword == QLatin1String("media"))
      o.Current = QString::number(settings.PaperSize);
    else if (o.Keyword == QLatin1String("media-source"))
      o.Current = QString::number(settings.DefaultSource);
    else if (o.Keyword == QLatin1String("sides"))
      o.Current = SidesKeyword(settings.Duplex);
    else if (settings.DriverOptions.contains(o.Keyword))
      o.Current = settings.DriverOptions.value(o.Keyword);
  }
  return list;
}

std::unique_ptr<TPrinterContext> TScriptedPrinterBackend::DoCreateContext(
    const QString& device, const TDriverSettings* settings, bool printing) {
  auto* p = Find(device);
  if (!p || !p->CanCreateContext) return nullptr;
  ++ContextsCreated;
  TDriverSettings s = settings ? *settings : p->Defaults;
  s.DeviceName = device;
  return std::make_unique<TScriptedContext>(this, *p, s, printing);
}
