// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppUtils.h"

#include "platform/Types.h"
#include "report/ppPrintr.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cfenv>
#include <cmath>

int ppRound(long double x) {
  // nearbyint rounds in the current mode, which is to-nearest-even unless a
  // library changed it; make sure of it locally rather than trust that.
  const int old = std::fegetround();
  if (old != FE_TONEAREST) std::fesetround(FE_TONEAREST);
  const long double r = std::nearbyintl(x);
  if (old != FE_TONEAREST) std::fesetround(old);
  return int((long long)r);
}

int ppTrunc(long double x) { return int((long long)std::truncl(x)); }

namespace {

// The unit byte as stored may carry a flag in its high bit.
TppUnitType Masked(TppUnitType u) { return TppUnitType(std::uint8_t(u) & 0x7F); }

long double PrinterPixelsPerInch(TppDirection direction, TppPrinter* printer) {
  if (!printer) return ScreenPixelsPerInch();
  int x = 0, y = 0;
  printer->PixelsPerInch(x, y);
  return direction == dirVertical ? y : x;
}

constexpr long double kInchesPerMM = InchesPerMM;  // the Single widened exactly

}  // namespace

float MMThousandthsToUnits(int value, TppUnitType units, TppDirection direction,
                           TppPrinter* printer) {
  const long double x = (long double)value / 1000.0L;
  long double r = 0;
  switch (units) {
    case utScreenPixels: r = ppRound(x * kInchesPerMM * ScreenPixelsPerInch()); break;
    case utInches: r = (long double)ppRound(x * kInchesPerMM * 10000.0L) / 10000.0L; break;
    case utMillimeters: r = x; break;
    case utPrinterPixels:
      r = ppRound(x * kInchesPerMM * PrinterPixelsPerInch(direction, printer));
      break;
    case utMMThousandths: r = value; break;
    default: r = 0; break;
  }
  return float(r);
}

int UnitsToMMThousandths(TppUnitType units, TppDirection direction, TppPrinter* printer,
                         float value) {
  const long double v = value;
  switch (Masked(units)) {
    case utScreenPixels:
      return ppRound(v / ScreenPixelsPerInch() / kInchesPerMM * 1000.0L);
    case utInches: return ppRound(v / kInchesPerMM * 1000.0L);
    case utMillimeters: return ppRound(v * 1000.0L);
    case utPrinterPixels:
      return ppRound(v / PrinterPixelsPerInch(direction, printer) / kInchesPerMM * 1000.0L);
    case utMMThousandths: return ppTrunc(v);
    default: return 0;
  }
}

float ScreenPixelsToUnits(int pixels, TppUnitType units, TppDirection direction,
                          TppPrinter* printer) {
  const int mm = UnitsToMMThousandths(utScreenPixels, direction, printer, float(pixels));
  return MMThousandthsToUnits(mm, units, direction, printer);
}

int UnitsToScreenPixels(TppUnitType units, TppDirection direction, TppPrinter* printer,
                        float value) {
  const int mm = UnitsToMMThousandths(units, direction, printer, value);
  return ppTrunc(MMThousandthsToUnits(mm, utScreenPixels, direction, printer));
}

int DesignPixelsToMMThousandths(int pixels) {
  return ppRound((long double)pixels / DesignPixelsPerInch / kInchesPerMM * 1000.0L);
}

long double MMThousandthsToPixels(int mm, long double pixelsPerInch) {
  return (long double)mm / 1000.0L * kInchesPerMM * pixelsPerInch;
}

int MMThousandthsToDesignPixels(int mm) {
  return ppRound((long double)mm / 1000.0L * kInchesPerMM * DesignPixelsPerInch);
}

float TenthsMMToUnits(int tenths, TppUnitType units, TppDirection direction,
                      TppPrinter* printer) {
  const int m = tenths * 100;
  switch (units) {
    case utInches: {
      // Through whole screen pixels, so that a paper's size in inches is
      // what the screen can show of it.
      const int px = UnitsToScreenPixels(utMMThousandths, direction, printer, float(m));
      return ScreenPixelsToUnits(px, utInches, direction, printer);
    }
    case utMillimeters: return float(ppRound((long double)tenths / 10.0L));
    case utMMThousandths: return float(m);
    case utScreenPixels:
    case utPrinterPixels: return MMThousandthsToUnits(m, units, direction, printer);
    default: return 0;
  }
}

int UnitsToTenthsMM(TppUnitType units, TppDirection direction, TppPrinter* printer,
                    float value) {
  switch (units) {
    case utInches: {
      const int px = UnitsToScreenPixels(utInches, direction, printer, value);
      const float mm = ScreenPixelsToUnits(px, utMMThousandths, direction, printer);
      return ppTrunc((long double)mm / 100.0L);
    }
    case utMillimeters: return ppRound((long double)value * 10.0L);
    case utMMThousandths: return ppRound((long double)value / 100.0L);
    case utScreenPixels:
    case utPrinterPixels: return UnitsToMMThousandths(units, direction, printer, value) / 100;
    default: return 0;
  }
}

namespace {

struct StandardPaper {
  int code;
  const char16_t* name;
  bool inches;  // sizes below in inches, else in millimetres
  float width;
  float height;
};

const StandardPaper kPapers[] = {
    {1, u"Letter 8 1/2 x 11 in", true, 8.5f, 11.0f},
    {2, u"Letter 8 1/2 x 11 in", true, 8.5f, 11.0f},
    {3, u"Tabloid 11 x 17 in", true, 11.0f, 17.0f},
    {4, u"Ledger 17 x 11 in", true, 17.0f, 11.0f},
    {5, u"Legal 8 12 x 14 in", true, 8.5f, 14.0f},
    {6, u"Statement 5 1/2 x 8 12 in", true, 5.5f, 8.5f},
    {7, u"Executive 7 14 x 10 1/2 in", true, 7.25f, 10.5f},
    {8, u"A3 297 x 420 mm", false, 297.0f, 420.0f},
    {9, u"A4 210 x 297 mm", false, 210.0f, 297.0f},
    {10, u"A4 Small 210 x 297 mm", false, 210.0f, 297.0f},
    {11, u"A5 148 x 210 mm", false, 148.0f, 210.0f},
    {12, u"B4 (JIS) 250 x 354", false, 250.0f, 354.0f},
    {13, u"B5 (JIS) 182 x 257 mm", false, 182.0f, 257.0f},
    {14, u"Folio 8 1/2 x 13 in", true, 8.5f, 13.0f},
    {15, u"Quarto 215 x 275 mm", false, 215.0f, 275.0f},
    {16, u"10 x 14 in", true, 10.0f, 14.0f},
    {17, u"11 x 17 in", true, 11.0f, 17.0f},
    {18, u"Note 8 1/2 x 11 in", true, 8.5f, 11.0f},
    {19, u"Envelope #9 3 7/8 x 8 7/8", true, 3.875f, 8.875f},
    {20, u"Envelope #10 4 18 x 9 1/2", true, 4.125f, 9.5f},
    {21, u"Envelope #11 4 12 x 10 3/8", true, 4.5f, 10.375f},
    {22, u"Envelope #12 4 276 x 11", true, 4.75f, 11.0f},
    {23, u"Envelope #14 5 x 11 1/2", true, 5.0f, 11.5f},
    {24, u"C size sheet", true, 17.0f, 22.0f},
    {25, u"D size sheet", true, 22.0f, 34.0f},
    {26, u"E size sheet", true, 34.0f, 44.0f},
    {27, u"Envelope DL 110 x 220mm", false, 110.0f, 220.0f},
    {28, u"Envelope C5 162 x 229 mm", false, 162.0f, 229.0f},
    {29, u" Envelope C3  324 x 458 mm", false, 324.0f, 458.0f},
    {30, u"Envelope C4  229 x 324 mm", false, 229.0f, 324.0f},
    {31, u"Envelope C6  114 x 162 mm", false, 114.0f, 162.0f},
    {32, u"Envelope C65 114 x 229 mm", false, 114.0f, 229.0f},
    {33, u"Envelope B4  250 x 353 mm", false, 250.0f, 353.0f},
    {34, u"Envelope B5  176 x 250 mm", false, 176.0f, 250.0f},
    {35, u"Envelope B6  176 x 125 mm", false, 176.0f, 125.0f},
    {36, u"Envelope 110 x 230 mm", false, 110.0f, 230.0f},
    {37, u"Envelope Monarch 3.875 x 7.5 in", true, 3.875f, 7.5f},
    {38, u"6 34 Envelope 3 5/8 x 6 1/2 in", true, 3.625f, 6.5f},
    {39, u"US Std Fanfold 14 7/8 x 11 in", true, 14.875f, 11.0f},
    {40, u"German Std Fanfold 8 1/2 x 12 in", true, 8.5f, 12.0f},
    {41, u"German Legal Fanfold 8 1/2 x 13 in", true, 8.5f, 13.0f},
    {42, u"B4 (ISO) 250 x 353 mm", false, 250.0f, 353.0f},
    {43, u"Japanese Postcard 100 x 148 mm", false, 100.0f, 148.0f},
    {44, u"9 x 11 in", true, 9.0f, 11.0f},
    {45, u"10 x 11 in", true, 10.0f, 11.0f},
    {46, u"15 x 11 in", true, 15.0f, 11.0f},
    {47, u"Envelope Invite 220 x 220 mm", false, 220.0f, 220.0f},
    {50, u"Letter Extra 9 \u00BD x 12 in", true, 9.5f, 12.0f},
    {51, u"Legal Extra 9 \u00BD x 15 in", true, 9.5f, 15.0f},
    {52, u"Tabloid Extra 11.69 x 18 in", true, 11.69f, 18.0f},
    {53, u"A4 Extra 9.27 x 12.69 in", true, 9.27f, 12.69f},
    {54, u"Letter Transverse 8 \u00BD x 11 in", true, 8.5f, 11.0f},
    {55, u"A4 Transverse 210 x 297 mm", false, 210.0f, 297.0f},
    {56, u"Letter Extra Transverse 9\u00BD x 12 in", true, 9.5f, 12.0f},
    {57, u"SuperASuperAA4 227 x 356 mm", false, 227.0f, 356.0f},
    {58, u"SuperBSuperBA3 305 x 487 mm", false, 305.0f, 487.0f},
    {59, u"Letter Plus 8.5 x 12.69 in", true, 8.5f, 12.69f},
    {60, u"A4 Plus 210 x 330 mm", false, 210.0f, 330.0f},
    {61, u"A5 Transverse 148 x 210 mm", false, 148.0f, 210.0f},
    {62, u"B5 (JIS) Transverse 182 x 257 mm", false, 182.0f, 257.0f},
    {63, u"A3 Extra 322 x 445 mm", false, 322.0f, 445.0f},
    {64, u"A5 Extra 174 x 235 mm", false, 174.0f, 235.0f},
    {65, u"B5 (ISO) Extra 201 x 276 mm", false, 201.0f, 276.0f},
    {66, u"A2 420 x 594 mm", false, 420.0f, 594.0f},
    {67, u"A3 Transverse 297 x 420 mm", false, 297.0f, 420.0f},
    {68, u"A3 Extra Transverse 322 x 445 mm", false, 322.0f, 445.0f},
};

const StandardPaper* FindPaper(int code) {
  for (const auto& p : kPapers)
    if (p.code == code) return &p;
  return nullptr;
}

}  // namespace

QString StandardPaperName(int code) {
  if (const StandardPaper* p = FindPaper(code)) return QString::fromUtf16(p->name);
  if (code == 118) return QStringLiteral("DMPAPER_A3_EXTRA_TRANSVERSE");
  if (code == DMPAPER_USER) return QStringLiteral("Custom");
  return QStringLiteral("Unknown");
}

void StandardPaperSize(int code, int& width, int& height) {
  width = height = 0;
  const StandardPaper* p = FindPaper(code);
  if (!p) return;
  if (p->inches) {
    width = UnitsToTenthsMM(utInches, dirHorizontal, nullptr, p->width);
    height = UnitsToTenthsMM(utInches, dirVertical, nullptr, p->height);
  } else {
    width = ppRound((long double)p->width * 10.0L);
    height = ppRound((long double)p->height * 10.0L);
  }
}

// ---------------------------------------------------------------------------
// Engine messages

std::optional<QHash<int, QString>> ParseMessageTable(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8.decode(bytes);
  if (utf8.hasError() || text.contains(QChar(0))) return std::nullopt;
  QHash<int, QString> table;
  for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0) continue;
    bool ok = false;
    const int id = line.left(eq).trimmed().toInt(&ok);
    if (!ok) continue;
    QString value;
    const QStringView raw = line.mid(eq + 1);
    for (qsizetype i = 0; i < raw.size(); ++i) {
      if (raw[i] == QLatin1Char('\\') && i + 1 < raw.size()) {
        const QChar next = raw[++i];
        if (next == QLatin1Char('n')) value += QLatin1Char('\n');
        else if (next == QLatin1Char('t')) value += QLatin1Char('\t');
        else value += next;
      } else {
        value += raw[i];
      }
    }
    // Module strings were read into a buffer of 1024 characters.
    table.insert(id, value.left(1023));
  }
  return table;
}

namespace {

const QHash<int, QString>& BuiltInTable() {
  static const QHash<int, QString> table = [] {
    static const char text[] =
#include "ppMessages.inc"
        ;
    return ParseMessageTable(QByteArray(text)).value_or(QHash<int, QString>());
  }();
  return table;
}

const QString kPlaceholders[] = {
    QStringLiteral("<page>"),        QStringLiteral("<pagecount>"),   QStringLiteral("<documentname>"),
    QStringLiteral("<printername>"), QStringLiteral("<columnno>"),    QStringLiteral("<filename>"),
    QStringLiteral("<minbarwidth>"), QStringLiteral("<maxbarwidth>"), QStringLiteral("<character>"),
    QStringLiteral("<identifier>"),  QStringLiteral("<name>"),        QStringLiteral("<count>"),
    QStringLiteral("<message>"),     QStringLiteral("<length>"),      QStringLiteral("<no>"),
};

}  // namespace

QString BuiltInMessage(int n) { return BuiltInTable().value(MessageIdentifierBase + n); }

QString EngineMessage(int n) {
  const QString s = ResourceManager().ModuleString(MessageIdentifierBase + n);
  return s.isEmpty() ? BuiltInMessage(n) : s;
}

QString EngineMessage(int n, const QStringList& values) {
  return FillMessagePlaceholders(EngineMessage(n), values);
}

QString FillMessagePlaceholders(const QString& text, const QStringList& values) {
  QString out;
  int next = 0;
  qsizetype i = 0;
  while (i < text.size()) {
    const QString* found = nullptr;
    if (text[i] == QLatin1Char('<'))
      for (const QString& p : kPlaceholders)
        if (QStringView(text).mid(i).startsWith(p)) {
          found = &p;
          break;
        }
    if (found) {
      if (next < values.size()) out += values[next];
      ++next;
      i += found->size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

TppResourceManager::TppResourceManager() { AddModule(QStringLiteral("ppPrint")); }

TppResourceManager& ResourceManager() {
  static TppResourceManager manager;
  return manager;
}

QString TppResourceManager::ModuleDirectory() const {
  if (!directory_.isEmpty()) return directory_;
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  // No application object (yet): the folder of the running program.
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

void TppResourceManager::SetModuleDirectory(const QString& directory) {
  directory_ = directory;
  UnloadAll();
  loaded_ = false;
}

void TppResourceManager::LoadModule(Module& m) {
  const QString ext = LanguageExtension(language_);
  if (ext.isEmpty()) return;
  QFile f(QDir(ModuleDirectory()).filePath(m.baseName + QLatin1Char('.') + ext));
  // A message table is small; anything far larger is not one.
  constexpr qint64 maxBytes = 1 << 20;
  if (!f.open(QIODevice::ReadOnly) || f.size() > maxBytes) return;
  m.strings = ParseMessageTable(f.readAll());
  if (m.strings) ++loadedCount_;
}

void TppResourceManager::UnloadAll() {
  for (Module& m : modules_) m.strings.reset();
  loadedCount_ = 0;
}

void TppResourceManager::AddModule(const QString& baseName) {
  for (const Module& m : modules_)
    if (m.baseName == baseName) return;
  modules_.push_back({baseName, std::nullopt});
  LoadModule(modules_.back());
}

void TppResourceManager::RemoveModule(const QString& baseName) {
  for (auto it = modules_.begin(); it != modules_.end(); ++it)
    if (it->baseName == baseName) {
      if (it->strings) --loadedCount_;
      modules_.erase(it);
      return;
    }
}

QStringList TppResourceManager::ModuleNames() const {
  QStringList names;
  for (const Module& m : modules_) names.append(m.baseName);
  return names;
}

void TppResourceManager::LoadModules() {
  if (loaded_) return;
  UnloadAll();
  for (Module& m : modules_) LoadModule(m);
  loaded_ = true;
}

bool TppResourceManager::SetLanguage(TppLanguageType language) {
  const TppLanguageType old = language_;
  language_ = language;
  if (language != old) loaded_ = false;
  LoadModules();
  if (language == lgDefault || loadedCount_ > 0) return true;
  // Refused: back to the previous language with its own modules, so that
  // its texts stay in force.
  language_ = old;
  loaded_ = false;
  LoadModules();
  return false;
}

QString TppResourceManager::ModuleString(int identifier) const {
  for (const Module& m : modules_)
    if (m.strings) {
      const QString s = m.strings->value(identifier);
      if (!s.isEmpty()) return s;
    }
  return {};
}

// ---------------------------------------------------------------------------
// Print errors

EPrintError::EPrintError(const QString& reason)
    : Exception(EngineMessage(msgCannotGenerateReport) + QStringLiteral("\n\n") + reason),
      Reason(reason) {}

// ---------------------------------------------------------------------------
// Pending events

namespace {
TppProcessMessagesHook& InstalledProcessMessages() {
  static TppProcessMessagesHook hook = [] {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
  };
  return hook;
}
}  // namespace

void SetProcessMessagesHook(TppProcessMessagesHook hook) {
  InstalledProcessMessages() = std::move(hook);
}

void ProcessMessages() {
  if (const TppProcessMessagesHook& hook = InstalledProcessMessages()) hook();
}
