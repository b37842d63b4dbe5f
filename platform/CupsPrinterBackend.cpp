// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CupsPrinterBackend.h"

#include "platform/PdfPrinterBackend.h"

#include <QPageLayout>
#include <QTemporaryFile>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include <cups/cups.h>
#include <cups/pwg.h>

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
  ipp_attribute_t* Default(const char* option) const {
    return info_ ? cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest_, info_, option) : nullptr;
  }
  bool Exists() const { return dest_ != nullptr; }
  // The papers of the queue, each with its unprintable borders, in the
  // queue's order.
  QList<cups_size_t> Media() const {
    QList<cups_size_t> list;
    if (!info_) return list;
    const int n = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest_, info_, CUPS_MEDIA_FLAGS_DEFAULT);
    for (int i = 0; i < n; ++i) {
      cups_size_t size{};
      if (cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, dest_, info_, i, CUPS_MEDIA_FLAGS_DEFAULT, &size))
        list.append(size);
    }
    return list;
  }
  bool DefaultMedia(cups_size_t& size) const {
    return info_ && cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest_, info_, CUPS_MEDIA_FLAGS_DEFAULT,
                                            &size);
  }
  // The paper of this size as the queue has it (for a size it does not
  // list, its borders for custom sizes).
  bool MediaBySize(int width100, int length100, cups_size_t& size) const {
    return info_ && cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, dest_, info_, width100, length100,
                                           CUPS_MEDIA_FLAGS_DEFAULT, &size);
  }
  QString LocalizeMedia(cups_size_t size) const {
    const char* s = info_ ? cupsLocalizeDestMedia(CUPS_HTTP_DEFAULT, dest_, info_,
                                                  CUPS_MEDIA_FLAGS_DEFAULT, &size)
                          : nullptr;
    return s ? QString::fromUtf8(s) : QString::fromUtf8(size.media);
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

// A queue's paper as a page size: a standard size as Qt knows it (so it
// has its Windows paper code), any other under the queue's own name.
QPageSize PageSizeOf(const cups_size_t& size, const QString& name) {
  const QSizeF mm(size.width / 100.0, size.length / 100.0);
  const QPageSize fuzzy(mm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
  if (fuzzy.id() != QPageSize::Custom) return fuzzy;
  return QPageSize(mm, QPageSize::Millimeter, name, QPageSize::ExactMatch);
}

QMarginsF BordersOf(const cups_size_t& size) {
  return QMarginsF(size.left / 100.0, size.top / 100.0, size.right / 100.0, size.bottom / 100.0);
}

}  // namespace

TCupsPrinterBackend::TCupsPrinterBackend()
    : UprightPages(qEnvironmentVariableIntValue("LURNS_UPRIGHT_PAGES") != 0) {}
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
  const DestInfo dest(device);
  QList<int> used;
  int nextOwn = 257;  // a driver's own papers have codes above 256
  for (const cups_size_t& m : dest.Media()) {
    // A queue lists a size once with borders and again borderless: the
    // paper is the size, with the borders the queue prints within.
    bool seen = false;
    for (Paper& p : d.Papers) {
      const QSizeF mm = p.Size.size(QPageSize::Millimeter);
      if (std::lround(mm.width() * 100) == m.width && std::lround(mm.height() * 100) == m.length) {
        const QMarginsF b = BordersOf(m);
        if (b.left() + b.top() + b.right() + b.bottom() >
            p.Borders.left() + p.Borders.top() + p.Borders.right() + p.Borders.bottom())
          p.Borders = b;
        seen = true;
      }
    }
    if (seen || m.width <= 0 || m.length <= 0) continue;
    const QPageSize ps = PageSizeOf(m, dest.LocalizeMedia(m));
    int code = ps.id() == QPageSize::Custom ? 0 : ps.windowsId();
    if (code <= 0 || code >= 256 || used.contains(code)) code = nextOwn++;
    used.append(code);
    d.Papers.append({code, ps, BordersOf(m)});
  }
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
  if (device.isEmpty()) return TPrinterBackend::PaperSizeTenths(device, s);
  const QSizeF mm = PageSizeFor(device, s).size(QPageSize::Millimeter);
  return QSize(int(std::lround(mm.width() * 10)), int(std::lround(mm.height() * 10)));
}

bool TCupsPrinterBackend::DocumentProperties(const QString& device, TDriverSettings& out) {
  const DestInfo dest(device);
  if (device.isEmpty() || !dest.Exists()) return false;
  TDriverSettings s;
  s.DeviceName = device;
  s.Fields = TDriverSettings::dmOrientation | TDriverSettings::dmPaperSize |
             TDriverSettings::dmCopies | TDriverSettings::dmDuplex | TDriverSettings::dmColor;
  s.Orientation = TDriverSettings::OrientPortrait;
  cups_size_t media{};
  const QPageSize def = dest.DefaultMedia(media) ? PageSizeOf(media, dest.LocalizeMedia(media))
                                                 : QPageSize(QPageSize::A4);
  s.PaperSize = CodeFor(device, def);
  if (s.PaperSize == 0) {
    const QSizeF mm = def.size(QPageSize::Millimeter);
    s.PaperSize = 256;
    s.PaperWidth = int(std::lround(mm.width() * 10));
    s.PaperLength = int(std::lround(mm.height() * 10));
    s.Fields |= TDriverSettings::dmPaperWidth | TDriverSettings::dmPaperLength;
  }
  s.Copies = 1;
  ipp_attribute_t* sides = dest.Default("sides");
  const char* side = sides ? ippGetString(sides, 0, nullptr) : nullptr;
  s.Duplex = DuplexForSides(side ? QString::fromUtf8(side) : QStringLiteral("one-sided"));
  s.Color = false;
  if (ipp_attribute_t* modes = dest.Supported("print-color-mode"))
    for (int i = 0; i < ippGetCount(modes); ++i)
      if (const char* mode = ippGetString(modes, i, nullptr))
        if (QByteArray(mode) == "color") s.Color = true;
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

// Spooler jobs: the document is written into temporary PDF files and sent
// to the queue once it is complete, with every answer of the scheduler
// checked.  A CUPS job has one paper, one tray, one setting of sides and
// colour for all its pages: a run of pages that needs others is a part of
// its own, sent as a job of its own.  Several jobs are sent held and
// released together once every one of them was accepted, so that a
// refused part leaves none of the others printing.  An abandoned document
// is never sent.
class TCupsSpoolDestination : public TPdfDestination {
 public:
  TCupsSpoolDestination(TCupsPrinterBackend* backend, const QString& queue)
      : backend_(backend), queue_(queue) {}

  QIODevice* Open(const TDriverSettings& settings) override {
    auto part = std::make_unique<Part>();
    if (!part->File.open()) {
      ErrorText = part->File.errorString();
      return nullptr;
    }
    part->Settings = settings;
    parts_.push_back(std::move(part));
    return &parts_.back()->File;
  }

  bool SameJob(const TDriverSettings& a, const TDriverSettings& b) override {
    return Options(a) == Options(b);
  }

  bool Commit(const QString& title) override {
    const QByteArray jobTitle = (title.isEmpty() ? QStringLiteral("Lurns") : title).toUtf8();
    const bool held = parts_.size() > 1;
    std::vector<std::pair<int, QByteArray>> jobs;  // job, the hold it is released to
    for (const auto& part : parts_) {
      QList<QPair<QByteArray, QByteArray>> options = Options(part->Settings);
      QByteArray release = "no-hold";
      if (held) {
        for (auto it = options.begin(); it != options.end();)
          if (it->first == "job-hold-until") {
            release = it->second;
            it = options.erase(it);
          } else {
            ++it;
          }
        options.append(qMakePair(QByteArray("job-hold-until"), QByteArray("indefinite")));
      }
      const int job = Send(*part, jobTitle, options);
      if (job <= 0) {
        CancelAll(jobs);
        return false;
      }
      jobs.emplace_back(job, release);
    }
    if (held) {
      // Every part is with the scheduler: they print now (or when the user
      // asked them to be held until).
      for (size_t i = 0; i < jobs.size(); ++i) {
        if (jobs[i].second == "indefinite") continue;
        if (!SetHold(jobs[i].first, jobs[i].second)) {
          const QString why = QString::fromUtf8(cupsLastErrorString());
          CancelAll(std::vector<std::pair<int, QByteArray>>(jobs.begin() + long(i), jobs.end()));
          ErrorText = why;
          return false;
        }
      }
    }
    Discard();
    return true;
  }

  void Discard() override { parts_.clear(); }

 private:
  struct Part {
    QTemporaryFile File;
    TDriverSettings Settings;
  };

  QList<QPair<QByteArray, QByteArray>> Options(const TDriverSettings& settings) {
    return TCupsPrinterBackend::JobOptions(settings, backend_->PaperSizeTenths(queue_, settings),
                                           backend_->Info(queue_).Trays);
  }

  // Creates a job with the options and sends the part into it; the job's
  // number, or 0 (and ErrorText) when the scheduler refused.
  int Send(Part& part, const QByteArray& title, const QList<QPair<QByteArray, QByteArray>>& list) {
    QFile& file = part.File;
    if (!file.flush() || !file.seek(0)) {
      ErrorText = file.errorString();
      return 0;
    }
    const QByteArray name = queue_.toUtf8();
    cups_option_t* options = nullptr;
    int n = 0;
    for (const auto& [option, value] : list) n = cupsAddOption(option.constData(), value.constData(), n, &options);
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), title.constData(), n, options);
    cupsFreeOptions(n, options);
    if (job <= 0) {
      ErrorText = QString::fromUtf8(cupsLastErrorString());
      return 0;
    }
    bool ok = cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), job, title.constData(),
                                CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    QString why;
    while (ok && !file.atEnd()) {
      const QByteArray chunk = file.read(1 << 16);
      if (chunk.isEmpty()) {
        why = file.errorString();
        ok = false;
        break;
      }
      ok = cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk.constData(), size_t(chunk.size())) ==
           HTTP_STATUS_CONTINUE;
    }
    const ipp_status_t finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData());
    if (!ok || finished > IPP_STATUS_OK_CONFLICTING) {
      if (why.isEmpty()) why = QString::fromUtf8(cupsLastErrorString());
      // Half a document must not print.
      cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job, 0);
      ErrorText = why;
      return 0;
    }
    return job;
  }

  // Sets when a held job prints ("no-hold": now).
  bool SetHold(int job, const QByteArray& until) {
    const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(job);
    ipp_t* request = ippNewRequest(IPP_OP_SET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_JOB, IPP_TAG_KEYWORD, "job-hold-until", nullptr, until.constData());
    ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/jobs/"));
    return cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
  }

  void CancelAll(const std::vector<std::pair<int, QByteArray>>& jobs) {
    const QByteArray name = queue_.toUtf8();
    for (const auto& job : jobs) cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job.first, 0);
  }

  TCupsPrinterBackend* backend_;
  QString queue_;
  std::vector<std::unique_ptr<Part>> parts_;
};

}  // namespace

QList<QPair<QByteArray, QByteArray>> TCupsPrinterBackend::JobOptions(const TDriverSettings& settings,
                                                                     const QSize& paper,
                                                                     const QList<Tray>& trays) {
  QList<QPair<QByteArray, QByteArray>> o;
  auto add = [&o](const QByteArray& option, const QByteArray& value) { o.append(qMakePair(option, value)); };
  // The engine makes the copies itself, and pages are printed at their
  // true size on the job's paper.
  add("copies", "1");
  add("print-scaling", "none");
  if (!paper.isEmpty())
    if (pwg_media_t* media = pwgMediaForSize(paper.width() * 10, paper.height() * 10))
      add("media", media->pwg);
  add("sides", SidesKeyword(settings.Duplex).toUtf8());
  add("print-color-mode", settings.Color ? "color" : "monochrome");
  if (settings.Fields & TDriverSettings::dmDefaultSource)
    for (const Tray& tray : trays)
      if (tray.Number == settings.DefaultSource && tray.Keyword != QLatin1String("auto"))
        add("media-source", tray.Keyword.toUtf8());
  for (auto it = settings.DriverOptions.cbegin(); it != settings.DriverOptions.cend(); ++it) {
    const QByteArray key = it.key().toUtf8();
    if (key.isEmpty() || key == "copies" || key == "print-scaling") continue;
    bool replaced = false;
    for (auto& [option, value] : o)
      if (option == key) {
        value = it.value().toUtf8();
        replaced = true;
      }
    if (!replaced) add(key, it.value().toUtf8());
  }
  return o;
}

namespace {

// The user's names of the sides and print-quality values.
QString SidesText(const QString& keyword) {
  if (keyword == QLatin1String("one-sided")) return QStringLiteral("Só uma face");
  if (keyword == QLatin1String("two-sided-long-edge"))
    return QStringLiteral("Frente e verso, virar pela margem comprida");
  if (keyword == QLatin1String("two-sided-short-edge"))
    return QStringLiteral("Frente e verso, virar pela margem curta");
  return keyword;
}
QString QualityText(int quality) {
  switch (quality) {
    case IPP_QUALITY_DRAFT: return QStringLiteral("Rascunho");
    case IPP_QUALITY_NORMAL: return QStringLiteral("Normal");
    case IPP_QUALITY_HIGH: return QStringLiteral("Alta");
  }
  return QString::number(quality);
}

}  // namespace

TPrinterOptions TCupsPrinterBackend::PrinterOptions(const QString& device,
                                                    const TDriverSettings& settings) {
  TPrinterOptions list;
  const Device& d = Info(device);
  const DestInfo dest(device);
  if (ipp_attribute_t* a = dest.Supported("media")) {
    TPrinterOption o;
    o.Keyword = QStringLiteral("media");
    o.Text = QStringLiteral("Papel");
    for (int i = 0; i < ippGetCount(a); ++i)
      if (const char* kw = ippGetString(a, i, nullptr)) {
        // Ranges of custom sizes are no paper to choose.
        if (QByteArray(kw).contains("custom_min") || QByteArray(kw).contains("custom_max")) continue;
        o.Values.append(QString::fromUtf8(kw));
        o.ValueTexts.append(dest.Localize("media", kw));
      }
    const QSize paper = PaperSizeTenths(device, settings);
    if (!paper.isEmpty())
      if (pwg_media_t* m = pwgMediaForSize(paper.width() * 10, paper.height() * 10))
        o.Current = QString::fromUtf8(m->pwg);
    if (!o.Values.isEmpty()) list.append(o);
  }
  if (!d.Trays.isEmpty()) {
    TPrinterOption o;
    o.Keyword = QStringLiteral("media-source");
    o.Text = QStringLiteral("Alimentação");
    for (const Tray& t : d.Trays) {
      o.Values.append(t.Keyword);
      o.ValueTexts.append(t.Name);
      if ((settings.Fields & TDriverSettings::dmDefaultSource) &&
          t.Number == settings.DefaultSource && o.Current.isEmpty())
        o.Current = t.Keyword;
    }
    list.append(o);
  }
  if (ipp_attribute_t* a = dest.Supported("sides")) {
    TPrinterOption o;
    o.Keyword = QStringLiteral("sides");
    o.Text = QStringLiteral("Frente e verso");
    for (int i = 0; i < ippGetCount(a); ++i)
      if (const char* kw = ippGetString(a, i, nullptr)) {
        o.Values.append(QString::fromUtf8(kw));
        o.ValueTexts.append(SidesText(QString::fromUtf8(kw)));
      }
    o.Current = SidesKeyword(settings.Duplex);
    if (o.Values.size() > 1) list.append(o);
  }
  if (ipp_attribute_t* a = dest.Supported("print-quality")) {
    TPrinterOption o;
    o.Keyword = QStringLiteral("print-quality");
    o.Text = QStringLiteral("Qualidade");
    for (int i = 0; i < ippGetCount(a); ++i) {
      const int q = ippGetInteger(a, i);
      o.Values.append(QString::number(q));
      o.ValueTexts.append(QualityText(q));
    }
    o.Current = settings.DriverOptions.value(o.Keyword);
    if (o.Current.isEmpty())
      if (ipp_attribute_t* def = dest.Default("print-quality"))
        o.Current = QString::number(ippGetInteger(def, 0));
    if (o.Values.size() > 1) list.append(o);
  }
  return list;
}

TDriverSettings TCupsPrinterBackend::WithOptions(const QString& device, const TDriverSettings& in,
                                                 const QMap<QString, QString>& chosen) {
  TDriverSettings s = in;
  for (auto it = chosen.cbegin(); it != chosen.cend(); ++it) {
    const QString& key = it.key();
    const QString& value = it.value();
    if (key == QLatin1String("media")) {
      pwg_media_t* m = pwgMediaForPWG(value.toUtf8().constData());
      if (!m) continue;
      const QPageSize size(QSizeF(m->width / 100.0, m->length / 100.0), QPageSize::Millimeter,
                           QString(), QPageSize::FuzzyMatch);
      const int code = CodeFor(device, size);
      s.Fields |= TDriverSettings::dmPaperSize;
      if (code > 0) {
        s.PaperSize = code;
        s.Fields &= ~unsigned(TDriverSettings::dmPaperWidth | TDriverSettings::dmPaperLength);
      } else {
        s.PaperSize = 256;
        s.PaperWidth = int(std::lround(m->width / 10.0));
        s.PaperLength = int(std::lround(m->length / 10.0));
        s.Fields |= TDriverSettings::dmPaperWidth | TDriverSettings::dmPaperLength;
      }
    } else if (key == QLatin1String("media-source")) {
      for (const Tray& t : Info(device).Trays)
        if (t.Keyword == value) {
          s.DefaultSource = t.Number;
          s.Fields |= TDriverSettings::dmDefaultSource;
        }
    } else if (key == QLatin1String("sides")) {
      s.Duplex = DuplexForSides(value);
      s.Fields |= TDriverSettings::dmDuplex;
    } else {
      s.DriverOptions.insert(key, value);
    }
  }
  return s;
}

int TCupsPrinterBackend::Resolution(const QString& device) {
  Info(device);
  Device& d = devices_[device];
  if (d.Resolution == 0) {
    // The queue's default resolution, else its finest; a queue that tells
    // none is taken to print at 300 pixels per inch.
    const DestInfo dest(device);
    int best = 0;
    auto dpi = [](ipp_attribute_t* a, int i) {
      ipp_res_t units = IPP_RES_PER_INCH;
      int y = 0;
      int x = ippGetResolution(a, i, &y, &units);
      if (units == IPP_RES_PER_CM) x = int(std::lround(x * 2.54));
      return x;
    };
    if (ipp_attribute_t* a = dest.Default("printer-resolution")) best = dpi(a, 0);
    if (best <= 0)
      if (ipp_attribute_t* a = dest.Supported("printer-resolution"))
        for (int i = 0; i < ippGetCount(a); ++i) best = std::max(best, dpi(a, i));
    d.Resolution = best > 0 ? std::max(72, best) : 300;
  }
  return d.Resolution;
}

QMargins TCupsPrinterBackend::UnprintablePortrait(const QString& device, const TDriverSettings& s) {
  const QSize paper = PaperSizeTenths(device, s);
  const QString key = device + QLatin1Char('/') + QString::number(paper.width()) +
                      QLatin1Char('x') + QString::number(paper.height());
  const auto it = margins_.constFind(key);
  if (it != margins_.constEnd()) return it.value();
  // The borders of the paper as the queue lists it, else those the queue
  // has for a paper of that size (its custom sizes' borders).
  QMarginsF mm;
  bool found = false;
  const QPageSize size = PageSizeFor(device, s);
  for (const Paper& p : Info(device).Papers)
    if (p.Size.isEquivalentTo(size)) {
      mm = p.Borders;
      found = true;
      break;
    }
  if (!found) {
    const QSizeF portrait = size.size(QPageSize::Millimeter);
    cups_size_t media{};
    if (DestInfo(device).MediaBySize(int(std::lround(std::min(portrait.width(), portrait.height()) * 100)),
                                     int(std::lround(std::max(portrait.width(), portrait.height()) * 100)),
                                     media))
      mm = BordersOf(media);
  }
  const int ppi = Resolution(device);
  auto px = [ppi](qreal millimetres) { return int(std::lround(millimetres / 25.4 * ppi)); };
  const QMargins m(px(mm.left()), px(mm.top()), px(mm.right()), px(mm.bottom()));
  margins_.insert(key, m);
  return m;
}

bool TCupsPrinterBackend::PropertiesDialog(const QString& device, const TDriverSettings& in,
                                           TDriverSettings& out) {
  // The program's own dialog of the queue's options, when its windows
  // installed one and the queue tells its options; otherwise the page
  // set-up.
  if (const TPrinterOptionsDialog& dialog = PrinterOptionsDialog()) {
    const TPrinterOptions offered = PrinterOptions(device, in);
    if (!offered.isEmpty()) {
      QMap<QString, QString> chosen;
      if (!dialog(device, offered, chosen)) return false;
      out = WithOptions(device, in, chosen);
      return true;
    }
  }
  TPrinterDialogHost* host = PrinterDialogHost();
  if (!host || device.isEmpty() || !DestInfo(device).Exists()) return false;
  QPageLayout layout(PageSizeFor(device, in),
                     in.Orientation == TDriverSettings::OrientLandscape ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait,
                     QMarginsF());
  if (!host->PageSetupDialog(device, layout)) return false;
  TDriverSettings s = in;
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
  if (device.isEmpty() || !DestInfo(device).Exists()) return nullptr;
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
  TPdfGeometry geometry;
  geometry.Resolution = Resolution(device);
  geometry.UnprintablePortrait = [this, device](const TDriverSettings& settings) {
    return UnprintablePortrait(device, settings);
  };
  geometry.UprightPages = UprightPages;
  std::unique_ptr<TPdfDestination> destination;
  if (printing) destination = std::make_unique<TCupsSpoolDestination>(this, device);
  return std::make_unique<TPdfPrinterContext>(std::move(destination), s,
                                              PaperSizeTenths(device, s), this, geometry);
}
