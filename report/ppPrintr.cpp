// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppPrintr.h"

#include "platform/PageExporter.h"

#include "report/ppUtils.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>

// ---------------------------------------------------------------------------
// Page definition

int TppPageDef::spHeight() const {
  return ppTrunc(MMThousandthsToUnits(mmHeight, utScreenPixels, dirVertical));
}
int TppPageDef::spWidth() const {
  return ppTrunc(MMThousandthsToUnits(mmWidth, utScreenPixels, dirHorizontal));
}
int TppPageDef::spPrintableWidth() const {
  return ppTrunc(MMThousandthsToUnits(mmPrintableWidth(), utScreenPixels, dirHorizontal));
}

// ---------------------------------------------------------------------------
// Capabilities

namespace {
const QString kCustom = QStringLiteral("Custom");
const QString kDefault = QStringLiteral("Default");
}  // namespace

void TppPrinterCapabilities::Build(const TDeviceCapabilities& raw) {
  PaperNames = raw.PaperNames;
  PaperNumbers.clear();
  for (int n : raw.PaperNumbers) PaperNumbers.append(QString::number(n));
  PaperWidths.clear();
  PaperHeights.clear();
  for (const QSize& s : raw.PaperSizes) {
    PaperWidths.append(QString::number(s.width()));
    PaperHeights.append(QString::number(s.height()));
  }
  BinNames = raw.BinNames;
  BinNumbers.clear();
  for (int n : raw.BinNumbers) BinNumbers.append(QString::number(n));
  Copies = raw.Copies > 2;

  // 1. Names and numbers agree.
  if (PaperNames.size() > PaperNumbers.size()) {
    PaperNames = PaperNames.mid(0, PaperNumbers.size());
  } else if (PaperNumbers.size() > PaperNames.size()) {
    PaperNames.clear();
    for (int i = 0; i < PaperNumbers.size(); ++i) {
      const int code = PaperNumbers[i].toInt();
      QString name = StandardPaperName(code);
      if (name == QLatin1String("Unknown")) {
        if (i < PaperWidths.size() && i < PaperHeights.size())
          name = QStringLiteral("%1 x %2 mm")
                     .arg(PaperWidths[i].toInt() / 10)
                     .arg(PaperHeights[i].toInt() / 10);
        else
          name = QStringLiteral("Unknown: %1").arg(code);
      }
      PaperNames.append(name);
    }
  }

  // 2. One paper is the user size, named "Custom".
  int custom = PaperNumbers.indexOf(QStringLiteral("256"));
  if (custom < 0) {
    for (int i = 0; i < PaperNames.size(); ++i) {
      const QString upper = PaperNames[i].toUpper();
      if (upper.contains(QLatin1String("CUSTOM")) || upper.contains(QLatin1String("USER"))) {
        custom = i;
        break;
      }
    }
  }
  if (custom >= 0) {
    PaperNames[custom] = kCustom;
    if (custom == PaperNumbers.size()) PaperNumbers.append(QStringLiteral("256"));
  } else {
    PaperNames.append(kCustom);
    PaperNumbers.append(QStringLiteral("256"));
  }

  // 3. Papers without a size take the standard one of their code.
  for (int i = 0; i < PaperNames.size(); ++i) {
    if (i < PaperWidths.size() && i < PaperHeights.size()) continue;
    int w = 0, h = 0;
    StandardPaperSize(i < PaperNumbers.size() ? PaperNumbers[i].toInt() : 0, w, h);
    while (PaperWidths.size() <= i) PaperWidths.append(QStringLiteral("0"));
    while (PaperHeights.size() <= i) PaperHeights.append(QStringLiteral("0"));
    PaperWidths[i] = QString::number(w);
    PaperHeights[i] = QString::number(h);
  }

  // 4. Papers without a size are of no use (the user size excepted).
  for (int i = int(PaperNames.size()) - 1; i >= 0; --i) {
    if (PaperNames[i] == kCustom) continue;
    if (PaperWidths[i] == QLatin1String("0") || PaperHeights[i] == QLatin1String("0")) {
      PaperNames.removeAt(i);
      if (i < PaperNumbers.size()) PaperNumbers.removeAt(i);
      PaperWidths.removeAt(i);
      PaperHeights.removeAt(i);
    }
  }

  // 5. The user size comes last.
  custom = PaperNames.indexOf(kCustom);
  if (custom >= 0 && custom != PaperNames.size() - 1) {
    PaperNames.move(custom, PaperNames.size() - 1);
    if (custom < PaperNumbers.size()) PaperNumbers.move(custom, PaperNumbers.size() - 1);
    PaperWidths.move(custom, PaperWidths.size() - 1);
    PaperHeights.move(custom, PaperHeights.size() - 1);
  }

  // 6. Bins agree, and there is a "Default" one.
  while (BinNames.size() > BinNumbers.size()) BinNames.removeLast();
  while (BinNumbers.size() > BinNames.size()) BinNumbers.removeLast();
  if (!BinNames.contains(kDefault)) {
    BinNames.prepend(kDefault);
    BinNumbers.prepend(QStringLiteral("7"));
  }
}

TppPrinterCapabilities* TppPrinterInfo::Capabilities() {
  if (!caps_) {
    caps_ = std::make_unique<TppPrinterCapabilities>();
    caps_->PrinterName = PrinterName;
    if (!Placeholder) caps_->Build(PrinterBackend().DeviceCapabilities(Device));
  }
  return caps_.get();
}

// ---------------------------------------------------------------------------
// Printer list

void TppPrinterList::Build(TPrinterBackend& backend) {
  backend_ = &backend;
  items_.clear();
  default_.clear();
  // Printers are listed as the spooler's own kind does: name and device are
  // the printer's name, and there is no driver to tell; the port is where
  // the spooler sends the printer's jobs.
  for (const TPrinterEntry& e : backend.EnumPrinters()) {
    auto info = std::make_unique<TppPrinterInfo>();
    info->PrinterName = e.Name;
    info->Device = e.Name;
    info->Port = e.Port;
    info->Local = !e.Network;
    items_.emplace_back(e.Name, std::move(info));
  }
  if (items_.empty()) return;
  auto def = std::make_unique<TppPrinterInfo>();
  def->PrinterName = kDefault;
  items_.emplace(items_.begin(), kDefault, std::move(def));
  RefreshDefault();
}

void TppPrinterList::RefreshDefault() {
  default_.clear();
  if (!backend_) return;
  const QString device = backend_->DefaultPrinter().section(QLatin1Char(','), 0, 0);
  for (const auto& it : items_)
    if (!device.isEmpty() && it.second->Device == device) {
      default_ = it.second->PrinterName;
      break;
    }
}

QStringList TppPrinterList::PrinterNames() const {
  QStringList names;
  for (const auto& it : items_) names.append(it.first);
  return names;
}

QString TppPrinterList::ResolveName(const QString& name) const {
  return name == kDefault ? default_ : name;
}

int TppPrinterList::IndexOfName(const QString& name) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].first.compare(name, Qt::CaseInsensitive) == 0) return int(i);
  return -1;
}

TppPrinterInfo* TppPrinterList::FindPrinterInfo(const QString& name) const {
  const QString wanted = ResolveName(name);
  int i = wanted.isEmpty() ? -1 : IndexOfName(wanted);
  if (i < 0 && wanted.contains(QLatin1String(" on "))) {
    // "device on port": the printer whose device that is.
    const QString device = wanted.left(wanted.indexOf(QLatin1String(" on")));
    for (const auto& it : items_)
      if (it.second->Device.compare(device, Qt::CaseInsensitive) == 0) {
        i = IndexOfName(it.second->PrinterName);
        break;
      }
  }
  if (i < 0 && !default_.isEmpty()) i = IndexOfName(default_);
  return i < 0 ? nullptr : items_[size_t(i)].second.get();
}

namespace {
std::unique_ptr<TppPrinterList>& ListInstance() {
  static std::unique_ptr<TppPrinterList> list;
  return list;
}
std::unique_ptr<TppPrinter>& SharedInstance() {
  static std::unique_ptr<TppPrinter> printer;
  return printer;
}
}  // namespace

TppPrinterList* PrinterList() {
  auto& list = ListInstance();
  if (!list) {
    list = std::make_unique<TppPrinterList>();
    list->Build(PrinterBackend());
  }
  return list.get();
}

TppPrinterInfo* NoPrinterInfo() {
  static TppPrinterInfo* info = [] {
    auto* i = new TppPrinterInfo;
    i->PrinterName = QStringLiteral("No Printer Installed");
    i->Device = QStringLiteral("None");
    i->Driver = QStringLiteral("None");
    i->Placeholder = true;
    return i;
  }();
  return info;
}

namespace {
int& Generation() {
  static int generation = 0;
  return generation;
}
}  // namespace

int PrinterListGeneration() { return Generation(); }

void ResetPrinterList() {
  // Infos of the old list are freed with it: whoever holds one looks it
  // up again by name when the generation has moved on.
  ++Generation();
  SharedInstance().reset();
  ListInstance().reset();
}

TppPrinter* SharedPrinter() {
  auto& p = SharedInstance();
  if (!p && PrinterList()->Count() > 1) p = std::make_unique<TppPrinter>();
  return p.get();
}

// ---------------------------------------------------------------------------
// Printer setup

TppPrinterSetup::TppPrinterSetup(TppSetupOwner* owner) : owner_(owner) {
  pageDef_.mmMarginLeft = pageDef_.mmMarginRight = 6350;
  pageDef_.mmMarginTop = pageDef_.mmMarginBottom = 6350;
  // Letter where numbers are written with a decimal point (the
  // Americas), A4 elsewhere.
  if (QLocale().decimalPoint() == QLatin1String(".")) {
    pageDef_.mmWidth = 215900;
    pageDef_.mmHeight = 279401;
  } else {
    pageDef_.mmWidth = 210000;
    pageDef_.mmHeight = 297000;
  }
  SetInfo(PrinterList()->FindPrinterInfo(printerName_));
}

TppPrinterInfo* TppPrinterSetup::Info() const {
  if (generation_ != PrinterListGeneration()) {
    info_ = PrinterList()->FindPrinterInfo(printerName_);
    generation_ = PrinterListGeneration();
  }
  return info_;
}

void TppPrinterSetup::SetInfo(TppPrinterInfo* info) {
  info_ = info;
  generation_ = PrinterListGeneration();
}

bool TppPrinterSetup::OwnerBusy() const {
  return owner_ && (owner_->SetupOwnerLoading() || owner_->SetupOwnerReading());
}

void TppPrinterSetup::Fire(const TSetupNotifyEvent& hook) {
  if (hook && CanNotify()) hook(this);
}

bool TppPrinterSetup::Accept() {
  bool accept = true;
  if (CanNotify() && OnValidatePageDef) OnValidatePageDef(this, scratch_, accept);
  return accept;
}

TppPrinter* TppPrinterSetup::ConversionPrinter() {
  if (units_ != utPrinterPixels) return nullptr;
  TppPrinter* p = OnGetPrinter ? OnGetPrinter(this) : nullptr;
  return p ? p : SharedPrinter();
}

void TppPrinterSetup::SetBinName(const QString& value) {
  const QString v = value == QLatin1String("Current") ? kDefault : value;
  if (v == binName_) return;
  binName_ = v;
  Fire(OnSetupChange);
}

void TppPrinterSetup::SetCollation(bool value) {
  if (value == collation_) return;
  collation_ = value;
  Fire(OnSetupChange);
}

void TppPrinterSetup::SetCopies(int value) {
  if (value < 1 || value == copies_) return;
  copies_ = value;
  Fire(OnSetupChange);
}

void TppPrinterSetup::SetDocumentName(const QString& value) {
  if (value == documentName_) return;
  documentName_ = value;
  Fire(OnSetupChange);
}

void TppPrinterSetup::SetDuplex(TppDuplexType value) {
  if (value == duplex_) return;
  duplex_ = value;
  Fire(OnSetupChange);
}

void TppPrinterSetup::SetOrientation(TPrinterOrientation value) {
  if (value == orientation_) return;
  scratch_ = pageDef_;
  std::swap(scratch_.mmWidth, scratch_.mmHeight);
  if (!Accept()) return;
  orientation_ = value;
  std::swap(pageDef_.mmWidth, pageDef_.mmHeight);
  Fire(OnPageDefChange);
}

float TppPrinterSetup::MarginBottom() {
  return MMThousandthsToUnits(pageDef_.mmMarginBottom, units_, dirVertical, ConversionPrinter());
}
float TppPrinterSetup::MarginLeft() {
  return MMThousandthsToUnits(pageDef_.mmMarginLeft, units_, dirHorizontal, ConversionPrinter());
}
float TppPrinterSetup::MarginRight() {
  return MMThousandthsToUnits(pageDef_.mmMarginRight, units_, dirHorizontal,
                              ConversionPrinter());
}
float TppPrinterSetup::MarginTop() {
  return MMThousandthsToUnits(pageDef_.mmMarginTop, units_, dirVertical, ConversionPrinter());
}
float TppPrinterSetup::PaperHeight() {
  return MMThousandthsToUnits(pageDef_.mmHeight, units_, dirVertical, ConversionPrinter());
}
float TppPrinterSetup::PaperWidth() {
  return MMThousandthsToUnits(pageDef_.mmWidth, units_, dirHorizontal, ConversionPrinter());
}

void TppPrinterSetup::SetPageField(int TppPageDef::*field, TppDirection dir, float value,
                                   bool paperSize) {
  if (value < 0) return;
  scratch_ = pageDef_;
  scratch_.*field = UnitsToMMThousandths(units_, dir, ConversionPrinter(), value);
  if (!Accept()) return;
  pageDef_.*field = scratch_.*field;
  if (paperSize) paperName_ = PaperNameForSize(PaperHeight(), PaperWidth());
  Fire(OnPageDefChange);
}

void TppPrinterSetup::SetMarginBottom(float v) {
  SetPageField(&TppPageDef::mmMarginBottom, dirVertical, v, false);
}
void TppPrinterSetup::SetMarginLeft(float v) {
  SetPageField(&TppPageDef::mmMarginLeft, dirHorizontal, v, false);
}
void TppPrinterSetup::SetMarginRight(float v) {
  SetPageField(&TppPageDef::mmMarginRight, dirHorizontal, v, false);
}
void TppPrinterSetup::SetMarginTop(float v) {
  SetPageField(&TppPageDef::mmMarginTop, dirVertical, v, false);
}
void TppPrinterSetup::SetPaperHeight(float v) {
  if (v < 0) return;
  if (owner_ && owner_->SetupOwnerReading()) {
    readPaperHeight_ = v;
    return;
  }
  SetPageField(&TppPageDef::mmHeight, dirVertical, v, true);
}
void TppPrinterSetup::SetPaperWidth(float v) {
  if (v < 0) return;
  if (owner_ && owner_->SetupOwnerReading()) {
    readPaperWidth_ = v;
    return;
  }
  SetPageField(&TppPageDef::mmWidth, dirHorizontal, v, true);
}

QString TppPrinterSetup::PaperName() {
  if (paperName_ == kCustom) paperName_ = PaperNameForSize(PaperHeight(), PaperWidth());
  return paperName_;
}

void TppPrinterSetup::SetPaperName(const QString& value) {
  if (!CanNotify() || value == kCustom) {
    paperName_ = value;
    return;
  }
  // Envelopes are fed sideways; the page size follows below.
  if (value.contains(QLatin1String("Envelope"))) orientation_ = poLandscape;
  TppPrinter* p = ConversionPrinter();
  float width = 0, height = 0;
  const TppPrinterCapabilities* caps = Info() ? Info()->Capabilities() : nullptr;
  const int i = caps ? caps->PaperNames.indexOf(value) : -1;
  if (i >= 0) {
    width = TenthsMMToUnits(caps->PaperWidths.value(i).toInt(), units_, dirHorizontal, p);
    height = TenthsMMToUnits(caps->PaperHeights.value(i).toInt(), units_, dirVertical, p);
    if (orientation_ == poLandscape) std::swap(width, height);
  } else {
    width = PaperWidth();
    height = PaperHeight();
  }
  scratch_ = pageDef_;
  scratch_.mmWidth = UnitsToMMThousandths(units_, dirHorizontal, p, width);
  scratch_.mmHeight = UnitsToMMThousandths(units_, dirVertical, p, height);
  if (!Accept()) return;
  paperName_ = value;
  pageDef_.mmWidth = scratch_.mmWidth;
  pageDef_.mmHeight = scratch_.mmHeight;
  Fire(OnPageDefChange);
}

void TppPrinterSetup::SetPrinterName(const QString& value) {
  const QString name = value == QLatin1String("Current") ? kDefault : value;
  const bool notifying = CanNotify();
  const int code = notifying ? PaperSize() : 0;
  TppPrinterInfo* info = PrinterList()->FindPrinterInfo(name);
  if (!info) return;
  printerName_ = name == kDefault ? kDefault : info->PrinterName;
  SetInfo(info);
  if (!notifying) return;
  // Keep the paper: the same standard code on the new printer, else the
  // same size.  Codes above 256 are places in the old printer's own list
  // and mean nothing on another printer.
  QString paper;
  TppPrinterCapabilities* caps = Info()->Capabilities();
  if (code > 0 && code < DMPAPER_USER) {
    const int i = caps->PaperNumbers.indexOf(QString::number(code));
    if (i >= 0) paper = caps->PaperNames.value(i);
  }
  if (paper.isEmpty()) paper = PaperNameForSize(PaperHeight(), PaperWidth());
  paperName_ = paper;
  Fire(OnSetupChange);
}

QString TppPrinterSetup::PaperNameForSize(float height, float width) {
  if (!Info()) return paperName_;
  TppPrinter* p = ConversionPrinter();
  int driverWidth = UnitsToTenthsMM(units_, dirHorizontal, p, width);
  int driverHeight = UnitsToTenthsMM(units_, dirVertical, p, height);
  // Drivers list papers upright.
  if (orientation_ == poLandscape) std::swap(driverWidth, driverHeight);
  const TppPrinterCapabilities* caps = Info()->Capabilities();
  for (int i = 0; i < caps->PaperNames.size(); ++i) {
    const int w = caps->PaperWidths.value(i).toInt();
    const int h = caps->PaperHeights.value(i).toInt();
    if (std::abs(h - driverHeight) <= 10 && std::abs(w - driverWidth) <= 10)
      return caps->PaperNames[i];
  }
  return kCustom;
}

int TppPrinterSetup::PaperSize() {
  if (!Info()) return 0;
  const TppPrinterCapabilities* caps = Info()->Capabilities();
  int i = caps->PaperNames.indexOf(PaperName());
  if (i < 0) i = caps->PaperNames.indexOf(PaperNameForSize(PaperHeight(), PaperWidth()));
  if (i < 0 || i >= caps->PaperNumbers.size()) return DMPAPER_USER;
  return caps->PaperNumbers[i].toInt();
}

void TppPrinterSetup::Loaded() {
  // A stored code above 256 was a place in some printer's own list: the
  // page size read with it stands instead.
  if (storedPaperSize_ <= 0 || storedPaperSize_ > DMPAPER_USER || !Info()) return;
  const TppPrinterCapabilities* caps = Info()->Capabilities();
  const int i = caps->PaperNumbers.indexOf(QString::number(storedPaperSize_));
  if (i >= 0 && i < caps->PaperNames.size()) paperName_ = caps->PaperNames[i];
}

bool TppPrinterSetup::ReadStreamProperty(const QString& name, double value) {
  const int v = ppTrunc(value);
  if (name == QLatin1String("mmMarginBottom")) pageDef_.mmMarginBottom = v;
  else if (name == QLatin1String("mmMarginLeft")) pageDef_.mmMarginLeft = v;
  else if (name == QLatin1String("mmMarginRight")) pageDef_.mmMarginRight = v;
  else if (name == QLatin1String("mmMarginTop")) pageDef_.mmMarginTop = v;
  else if (name == QLatin1String("mmPaperHeight")) pageDef_.mmHeight = v;
  else if (name == QLatin1String("mmPaperWidth")) pageDef_.mmWidth = v;
  else if (name == QLatin1String("PaperSize")) storedPaperSize_ = v;
  else return false;
  return true;
}

std::vector<std::pair<QString, int>> TppPrinterSetup::StreamProperties(
    TppPrinterSetup* ancestor) {
  std::vector<std::pair<QString, int>> all = {
      {QStringLiteral("mmMarginBottom"), pageDef_.mmMarginBottom},
      {QStringLiteral("mmMarginLeft"), pageDef_.mmMarginLeft},
      {QStringLiteral("mmMarginRight"), pageDef_.mmMarginRight},
      {QStringLiteral("mmMarginTop"), pageDef_.mmMarginTop},
      {QStringLiteral("mmPaperHeight"), pageDef_.mmHeight},
      {QStringLiteral("mmPaperWidth"), pageDef_.mmWidth},
      {QStringLiteral("PaperSize"), PaperSize()},
  };
  if (!ancestor) return all;
  const std::vector<std::pair<QString, int>> base = ancestor->StreamProperties(nullptr);
  std::vector<std::pair<QString, int>> differing;
  for (size_t i = 0; i < all.size(); ++i)
    if (all[i].second != base[i].second) differing.push_back(all[i]);
  return differing;
}

QStringList TppPrinterSetup::PaperNames() const {
  return (Info() ? Info() : NoPrinterInfo())->Capabilities()->PaperNames;
}

QStringList TppPrinterSetup::BinNames() const {
  return (Info() ? Info() : NoPrinterInfo())->Capabilities()->BinNames;
}

QStringList TppPrinterSetup::PrinterNames() const { return PrinterList()->PrinterNames(); }

void TppPrinterSetup::Assign(const TppPrinterSetup& s) {
  printerName_ = s.printerName_;
  binName_ = s.binName_;
  collation_ = s.collation_;
  copies_ = s.copies_;
  documentName_ = s.documentName_;
  outputFileName_ = s.outputFileName_;
  duplex_ = s.duplex_;
  orientation_ = s.orientation_;
  pageDef_ = s.pageDef_;
  // The paper name goes with the page size; a stale name would give the
  // driver another paper than the size says.
  paperName_ = s.paperName_;
  units_ = s.units_;
  SetInfo(PrinterList()->FindPrinterInfo(printerName_));
}

bool TppPrinterSetup::IsEqualPrinterAndOrientation(const TppPrinterSetup& o) const {
  const TppPrinterList* list = PrinterList();
  return list->ResolveName(printerName_) == list->ResolveName(o.printerName_) &&
         orientation_ == o.orientation_;
}

bool TppPrinterSetup::EqualTo(const TppPrinterSetup& o) const {
  return IsEqualPrinterAndOrientation(o) && binName_ == o.binName_ &&
         collation_ == o.collation_ && copies_ == o.copies_ &&
         documentName_ == o.documentName_ && outputFileName_ == o.outputFileName_ &&
         duplex_ == o.duplex_ && pageDef_ == o.pageDef_;
}

// ---------------------------------------------------------------------------
// Printer canvas

const TFont& TppPrinterCanvas::Font() {
  SyncFont();
  return font_;
}

void TppPrinterCanvas::SetFont(const TFont& font) {
  font_ = font;
  SyncFont();
}

void TppPrinterCanvas::SyncFont() {
  // Only a context already made counts; the canvas never makes one itself.
  const int ppiY = printer_->Metrics().LogPixelsY > 0 ? printer_->Metrics().LogPixelsY
                                                      : ScreenPixelsPerInch();
  if (font_.PixelsPerInch != ppiY) {
    const int points = font_.Size();
    font_.PixelsPerInch = ppiY;
    font_.SetSize(points);
  }
  // Judged by the colour printed: a system colour by the fixed palette
  // (the window's white stays white).
  if (!printer_->IsColor()) {
    const QRgb c = FixedPaletteColor(font_.Color).rgb() & 0xFFFFFFu;
    if (c != 0x000000u && c != 0xFFFFFFu) font_.Color = clBlack;
  }
}

QPainter* TppPrinterCanvas::Painter() {
  TPrinterContext* dc = printer_->PageOpen() ? printer_->DC() : nullptr;
  return dc ? dc->Painter() : nullptr;
}

double TppPrinterCanvas::Resolution() {
  return printer_->Metrics().LogPixelsY > 0 ? printer_->Metrics().LogPixelsY
                                            : ScreenPixelsPerInch();
}

// ---------------------------------------------------------------------------
// Printer

TppCustomPrinter::TppCustomPrinter() {
  info_ = PrinterList()->FindPrinterInfo(printerName_);
  generation_ = PrinterListGeneration();
}

TppCustomPrinter::~TppCustomPrinter() {
  // A printer that goes mid-document prints nothing of it.
  if (printing_) AbortDoc();
  ReleaseAll();
}

TppPrinterInfo* TppCustomPrinter::Info() const {
  if (generation_ != PrinterListGeneration()) {
    auto* self = const_cast<TppCustomPrinter*>(this);
    self->generation_ = PrinterListGeneration();
    self->info_ = PrinterList()->FindPrinterInfo(printerName_);
    if (!printing_) {
      // The context and settings belong to the old list's printer (and
      // perhaps to a backend that is gone).
      self->ReleaseAll();
      self->SettingsLost();
    }
  }
  return info_;
}

void TppCustomPrinter::DeleteDC() { dc_.reset(); }

void TppCustomPrinter::ReleaseAll() {
  DeleteDC();
  settings_.reset();
  defaultSource_ = 0;
}

void TppCustomPrinter::ReadMetrics() {
  metrics_ = dc_->Metrics();
  unprintableRight_ = metrics_.PhysicalWidth - metrics_.PhysicalOffsetX - metrics_.HorzRes;
  unprintableBottom_ = metrics_.PhysicalHeight - metrics_.PhysicalOffsetY - metrics_.VertRes;
  color_ = !(metrics_.SizePalette == 2 && metrics_.NumColors == 2);
}

const TDriverSettings* TppCustomPrinter::DriverSettings() {
  TppPrinterInfo* info = Info();
  if (!settings_ && info && !info->Placeholder && !info->Device.isEmpty()) {
    TDriverSettings s;
    if (PrinterBackend().DocumentProperties(info->Device, s)) {
      settings_ = std::make_unique<TDriverSettings>(s);
      defaultSource_ = s.DefaultSource;
    }
  }
  return settings_.get();
}

TPrinterContext* TppCustomPrinter::DC() {
  if (dc_) return dc_.get();
  TppPrinterInfo* info = Info();
  if (!info) info = info_ = PrinterList()->FindPrinterInfo(printerName_);
  const bool printer = info && info->Usable && !info->Placeholder && !info->Device.isEmpty();
  if (exporter_) {
    // Exported pages need no printer either; the paper as for a file.
    const TDriverSettings* s = DriverSettings();
    TDriverSettings settings;
    if (s) settings = *s;
    settings.DeviceName = printer ? info->Device : QString();
    dc_ = exporter_->CreateContext(settings,
                                   PrinterBackend().PaperSizeTenths(settings.DeviceName, settings),
                                   &PrinterBackend());
    if (!dc_) return nullptr;
  } else if (!outputFileName_.isEmpty()) {
    // A PDF file needs no printer: the paper comes from the printer's list
    // when there is one, else from the settings alone.
    const TDriverSettings* s = DriverSettings();
    dc_ = PrinterBackend().CreateFileContext(printer ? info->Device : QString(), s,
                                             outputFileName_, printing_);
    if (!dc_) return nullptr;
  } else {
    if (!printer) return nullptr;
    const TDriverSettings* s = DriverSettings();
    dc_ = printing_ ? PrinterBackend().CreateDC(info->Device, s, QString())
                    : PrinterBackend().CreateIC(info->Device, s);
    if (!dc_) {
      info->Usable = false;
      return nullptr;
    }
  }
  ReadMetrics();
  if (canvas_) canvas_->SyncFont();
  return dc_.get();
}

TppPrinterCanvas* TppCustomPrinter::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TppPrinterCanvas>(this);
    canvas_->SyncFont();
  }
  return canvas_.get();
}

void TppCustomPrinter::SetExporter(TPageExporter* exporter) {
  if (exporter == exporter_) return;
  exporter_ = exporter;
  if (!printing_) DeleteDC();
}

void TppCustomPrinter::SetOutputFileName(const QString& s) {
  if (s == outputFileName_) return;
  outputFileName_ = s;
  // The next document goes elsewhere: a file, or the printer.
  if (!printing_) DeleteDC();
}

bool TppCustomPrinter::BeginDoc() {
  if (printing_) return true;
  error_.clear();
  printing_ = true;
  pageOpen_ = false;
  pagesStarted_ = 0;
  settingsChanged_ = false;
  DeleteDC();
  if (!DC() || !dc_->StartDoc(documentName_)) {
    error_ = dc_ ? dc_->ErrorText() : QString();
    DeleteDC();
    printing_ = false;
    return false;
  }
  return true;
}

bool TppCustomPrinter::StartPage() {
  if (!printing_ || pageOpen_ || !dc_) return false;
  if (settingsChanged_ && settings_) {
    if (!dc_->Reset(*settings_)) {
      error_ = dc_->ErrorText();
      return false;
    }
    ReadMetrics();
  }
  settingsChanged_ = false;
  if (!dc_->StartPage()) {
    error_ = dc_->ErrorText();
    return false;
  }
  ++pagesStarted_;
  pageOpen_ = true;
  Canvas()->SyncFont();
  return true;
}

bool TppCustomPrinter::EndPage() {
  if (!pageOpen_) return false;
  pageOpen_ = false;
  if (dc_ && !dc_->EndPage()) {
    error_ = dc_->ErrorText();
    return false;
  }
  return true;
}

bool TppCustomPrinter::EndDoc() {
  if (!printing_) return false;
  bool ok = true;
  if (pageOpen_) ok = EndPage();
  if (dc_ && !dc_->EndDoc()) {
    error_ = dc_->ErrorText();
    ok = false;
  }
  DeleteDC();
  printing_ = false;
  pageOpen_ = false;
  pagesStarted_ = 0;
  settingsChanged_ = false;
  return ok;
}

void TppCustomPrinter::AbortDoc() {
  if (!printing_) return;
  if (dc_) dc_->AbortDoc();
  DeleteDC();
  printing_ = false;
  pageOpen_ = false;
  pagesStarted_ = 0;
  settingsChanged_ = false;
}

void TppCustomPrinter::PixelsPerInch(int& x, int& y) {
  if (DC()) {
    x = metrics_.LogPixelsX;
    y = metrics_.LogPixelsY;
  } else {
    x = y = ScreenPixelsPerInch();
  }
}

void TppCustomPrinter::PageOffsets(int& left, int& top, int& right, int& bottom) {
  DC();
  left = metrics_.PhysicalOffsetX;
  top = metrics_.PhysicalOffsetY;
  right = unprintableRight_;
  bottom = unprintableBottom_;
}

bool TppCustomPrinter::IsColor() {
  DC();
  return color_;
}

TppPrinterCapabilities* TppCustomPrinter::Capabilities() {
  TppPrinterInfo* info = Info();
  return (info ? info : NoPrinterInfo())->Capabilities();
}

void TppCustomPrinter::SetPrinterName(const QString& name) {
  if (printing_) return;
  Info();
  if (name == kDefault) PrinterList()->RefreshDefault();
  TppPrinterInfo* info = PrinterList()->FindPrinterInfo(name);
  if (!info || info == info_) return;
  ReleaseAll();
  info_ = info;
  printerName_ = info->PrinterName;
}

void TppCustomPrinter::InstallSettings(const TDriverSettings& s) {
  if (printing_)
    settingsChanged_ = true;  // taken up by the next page
  else
    DeleteDC();
  settings_ = std::make_unique<TDriverSettings>(s);
}

void TppCustomPrinter::SetQueueOptions(bool color, const QMap<QString, QString>& options) {
  const TDriverSettings* cur = DriverSettings();
  TDriverSettings s = cur ? *cur : TDriverSettings();
  s.Color = color;
  s.Fields |= TDriverSettings::dmColor;
  for (auto it = options.cbegin(); it != options.cend(); ++it) {
    if (it.value().isEmpty())
      s.DriverOptions.remove(it.key());
    else
      s.DriverOptions.insert(it.key(), it.value());
  }
  InstallSettings(s);
}

bool TppCustomPrinter::PrinterPropertiesDialog() {
  // The driver's dialog belongs to the active window; without one (or in a
  // program without windows) there is nothing to show it over.
  TPrinterDialogHost* host = PrinterDialogHost();
  TppPrinterInfo* info = Info();
  if (!host || !host->HasActiveWindow() || !info) return false;
  const TDriverSettings* cur = DriverSettings();
  TDriverSettings in = cur ? *cur : TDriverSettings();
  TDriverSettings out;
  if (!PrinterBackend().PropertiesDialog(info->Device, in, out)) return false;
  InstallSettings(out);
  if (OnChange) OnChange(this);
  return true;
}

TppPrinter::TppPrinter() {
  setup_.OnGetPrinter = [this](TppPrinterSetup*) { return this; };
  setup_.OnPageDefChange = [this](TppPrinterSetup*) { WriteSettings(); };
  setup_.OnSetupChange = [this](TppPrinterSetup*) { WriteSettings(); };
}

TppPrinter::~TppPrinter() = default;

void TppPrinter::ApplySetup(const TppPrinterSetup& setup) {
  TppPrinterList* list = PrinterList();
  const QString wanted = list->ResolveName(setup.PrinterName());
  const bool serves = !PrinterInfo() || PrinterInfo()->PrinterName == wanted;
  if (serves && setup_.EqualTo(setup)) return;
  if (!Printing() && wanted != list->ResolveName(setup_.PrinterName()))
    setup_.SetPrinterName(setup.PrinterName());
  setup_.SetNotificationsEnabled(false);
  setup_.Assign(setup);
  WriteSettings();
  setup_.SetNotificationsEnabled(true);
}

void TppPrinter::WriteSettings() {
  SetPrinterName(setup_.PrinterName());
  SetDocumentName(setup_.DocumentName());
  SetOutputFileName(setup_.OutputFileName());
  // Without a printer (a PDF file needs none) the settings are made from
  // the setup alone.
  const TDriverSettings* cur = DriverSettings();
  TDriverSettings s = cur ? *cur : TDriverSettings();
  s.Orientation = setup_.Orientation() + 1;
  s.PaperSize = setup_.PaperSize();
  s.Copies = 1;  // the printer device makes the copies
  s.Duplex = setup_.Duplex() + 1;
  s.Fields |= TDriverSettings::dmOrientation | TDriverSettings::dmPaperSize |
              TDriverSettings::dmCopies | TDriverSettings::dmDuplex;
  const QString paper = setup_.PaperName();
  if (s.PaperSize <= 0) s.PaperSize = DMPAPER_USER;
  if (paper == kCustom || s.PaperSize == DMPAPER_USER) {
    // Drivers take the user size upright.
    int w = setup_.PageDef().mmWidth, h = setup_.PageDef().mmHeight;
    if (setup_.Orientation() == poLandscape) std::swap(w, h);
    s.PaperWidth = ppRound(w / 100.0L);
    s.PaperLength = ppRound(h / 100.0L);
    s.Fields |= TDriverSettings::dmPaperWidth | TDriverSettings::dmPaperLength;
    if (PrinterInfo() && cur) {
      // Keep a spooler form of that name and size, as the spooler wants
      // user sizes named.
      TPrinterForm form;
      form.Name = paper;
      form.Size = QSize(w, h);
      form.ImageableArea = QRect(0, 0, w, h);
      TPrinterForm existing;
      const QString device = PrinterInfo()->Device;
      if (!PrinterBackend().GetForm(device, paper, existing))
        PrinterBackend().AddForm(device, form);
      else if (existing.Size != form.Size || existing.ImageableArea != form.ImageableArea)
        PrinterBackend().SetForm(device, form);
      s.FormName = paper;
      s.Fields |= TDriverSettings::dmFormName;
    }
  }
  const TppPrinterCapabilities* caps = Capabilities();
  const int bin = caps->BinNames.indexOf(setup_.BinName());
  if (bin >= 0) {
    s.DefaultSource =
        setup_.BinName() == kDefault ? DefaultSource() : caps->BinNumbers.value(bin).toInt();
    s.Fields |= TDriverSettings::dmDefaultSource;
  }
  InstallSettings(s);
}

TppPrinterSetup* TppPrinter::ReadBackSetup() {
  const bool notify = setup_.NotificationsEnabled();
  const TppUnitType units = setup_.Units();
  setup_.SetNotificationsEnabled(false);
  setup_.SetUnits(utInches);
  if (setup_.PrinterName() != PrinterName()) setup_.SetPrinterName(PrinterName());
  if (const TDriverSettings* s = DriverSettings()) {
    if (s->Fields & TDriverSettings::dmDuplex)
      setup_.SetDuplex(TppDuplexType(std::clamp(s->Duplex - 1, 0, 2)));
    if (s->Fields & TDriverSettings::dmOrientation)
      setup_.SetOrientation(s->Orientation == TDriverSettings::OrientLandscape ? poLandscape
                                                                               : poPortrait);
    const bool landscape = setup_.Orientation() == poLandscape;
    const TppPrinterCapabilities* caps = Capabilities();
    const int i = (s->Fields & TDriverSettings::dmPaperSize)
                      ? caps->PaperNumbers.indexOf(QString::number(s->PaperSize))
                      : -1;
    int w = -1, h = -1;
    if (i >= 0) {
      setup_.SetPaperName(caps->PaperNames.value(i));
      w = caps->PaperWidths.value(i).toInt();
      h = caps->PaperHeights.value(i).toInt();
    } else if ((s->Fields & TDriverSettings::dmPaperSize) && s->PaperSize == DMPAPER_USER) {
      w = s->PaperWidth;
      h = s->PaperLength;
    }
    if (w >= 0 && h >= 0) {
      if (landscape) std::swap(w, h);
      setup_.SetPaperWidth(TenthsMMToUnits(w, utInches, dirHorizontal, this));
      setup_.SetPaperHeight(TenthsMMToUnits(h, utInches, dirVertical, this));
    }
    if (s->Fields & TDriverSettings::dmDefaultSource) {
      const int b = caps->BinNumbers.indexOf(QString::number(s->DefaultSource));
      if (b >= 0) setup_.SetBinName(caps->BinNames.value(b));
    }
  }
  setup_.SetUnits(units);
  setup_.SetNotificationsEnabled(notify);
  return &setup_;
}
