// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PrinterBackend.h"

#include "platform/PdfPrinterBackend.h"
#ifdef LURNS_HAVE_CUPS
#include "platform/CupsPrinterBackend.h"
#endif

#include <QPageSize>
#include <cmath>

TPrinterContext::~TPrinterContext() = default;
TPrinterBackend::~TPrinterBackend() = default;
TPrinterDialogHost::~TPrinterDialogHost() = default;

QSize TPrinterBackend::PaperSizeTenths(const QString& device, const TDriverSettings& s) {
  const bool userSize = (s.Fields & TDriverSettings::dmPaperWidth) &&
                        (s.Fields & TDriverSettings::dmPaperLength) && s.PaperWidth > 0 &&
                        s.PaperLength > 0;
  if (userSize && (s.PaperSize == 256 || !(s.Fields & TDriverSettings::dmPaperSize)))
    return QSize(s.PaperWidth, s.PaperLength);
  if (s.PaperSize > 0) {
    const TDeviceCapabilities caps = device.isEmpty() ? TDeviceCapabilities() : DeviceCapabilities(device);
    const int i = caps.PaperNumbers.indexOf(s.PaperSize);
    if (i >= 0 && i < caps.PaperSizes.size() && !caps.PaperSizes[i].isEmpty())
      return caps.PaperSizes[i];
    const QPageSize::PageSizeId id = QPageSize::id(s.PaperSize);
    if (id != QPageSize::Custom) {
      const QSizeF mm = QPageSize::size(id, QPageSize::Millimeter);
      return QSize(int(std::lround(mm.width() * 10)), int(std::lround(mm.height() * 10)));
    }
  }
  if (userSize) return QSize(s.PaperWidth, s.PaperLength);
  return QSize();
}

bool TPrinterBackend::GetForm(const QString& device, const QString& name, TPrinterForm& out) {
  for (const auto& f : forms_)
    if (f.first == device && f.second.Name == name) {
      out = f.second;
      return true;
    }
  return false;
}

bool TPrinterBackend::SetForm(const QString& device, const TPrinterForm& form) {
  for (auto& f : forms_)
    if (f.first == device && f.second.Name == form.Name) {
      f.second = form;
      return true;
    }
  return false;
}

bool TPrinterBackend::AddForm(const QString& device, const TPrinterForm& form) {
  TPrinterForm existing;
  if (form.Name.isEmpty() || GetForm(device, form.Name, existing)) return false;
  forms_.append({device, form});
  return true;
}

std::unique_ptr<TPrinterContext> TPrinterBackend::CreateIC(const QString& device,
                                                           const TDriverSettings* settings) {
  return DoCreateContext(device, settings, false);
}

std::unique_ptr<TPrinterContext> TPrinterBackend::CreateDC(const QString& device,
                                                           const TDriverSettings* settings,
                                                           const QString& outputFile) {
  if (!outputFile.isEmpty()) return CreateFileContext(device, settings, outputFile, true);
  return DoCreateContext(device, settings, true);
}

std::unique_ptr<TPrinterContext> TPrinterBackend::CreateFileContext(
    const QString& device, const TDriverSettings* settings, const QString& outputFile,
    bool printing) {
  TDriverSettings s;
  if (settings) s = *settings;
  s.DeviceName = device;
  const QSize paper = PaperSizeTenths(device, s);
  std::unique_ptr<TPdfDestination> destination;
  if (printing) destination = std::make_unique<TPdfFileDestination>(outputFile);
  return std::make_unique<TPdfPrinterContext>(std::move(destination), s, paper, this);
}

namespace {
std::unique_ptr<TPrinterBackend>& Installed() {
  static std::unique_ptr<TPrinterBackend> backend;
  return backend;
}
}  // namespace

TPrinterBackend& PrinterBackend() {
  auto& b = Installed();
  if (!b) {
#ifdef LURNS_HAVE_CUPS
    b = std::make_unique<TCupsPrinterBackend>();
#else
    b = std::make_unique<TNoPrinterBackend>();
#endif
  }
  return *b;
}

void SetPrinterBackend(std::unique_ptr<TPrinterBackend> backend) {
  Installed() = std::move(backend);
}

namespace {
std::unique_ptr<TPrinterDialogHost>& InstalledHost() {
  static std::unique_ptr<TPrinterDialogHost> host;
  return host;
}
}  // namespace

TPrinterDialogHost* PrinterDialogHost() { return InstalledHost().get(); }

void SetPrinterDialogHost(std::unique_ptr<TPrinterDialogHost> host) {
  InstalledHost() = std::move(host);
}

TPrinterOptions TPrinterBackend::PrinterOptions(const QString&, const TDriverSettings&) {
  return {};
}

QString SidesKeyword(int duplex) {
  switch (duplex) {
    case TDriverSettings::DuplexVertical: return QStringLiteral("two-sided-long-edge");
    case TDriverSettings::DuplexHorizontal: return QStringLiteral("two-sided-short-edge");
    default: return QStringLiteral("one-sided");
  }
}

int DuplexForSides(const QString& keyword) {
  if (keyword == QLatin1String("two-sided-long-edge")) return TDriverSettings::DuplexVertical;
  if (keyword == QLatin1String("two-sided-short-edge")) return TDriverSettings::DuplexHorizontal;
  return TDriverSettings::DuplexSimplex;
}

namespace {
TPrinterOptionsDialog& InstalledOptionsDialog() {
  static TPrinterOptionsDialog dialog;
  return dialog;
}
}  // namespace

void SetPrinterOptionsDialog(TPrinterOptionsDialog dialog) {
  InstalledOptionsDialog() = std::move(dialog);
}

const TPrinterOptionsDialog& PrinterOptionsDialog() { return InstalledOptionsDialog(); }

bool CalibrationIsSound(const TPrinterCalibration& c) {
  auto within = [](double v, double lo, double hi) { return v >= lo && v <= hi; };
  return within(c.OffsetX, -20, 20) && within(c.OffsetY, -20, 20) && within(c.ScaleX, 0.9, 1.1) &&
         within(c.ScaleY, 0.9, 1.1);
}
