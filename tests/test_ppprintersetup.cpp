// SPDX-License-Identifier: GPL-3.0-or-later
// The printer setup: defaults, setters with their acceptance and
// notification rules, paper names and codes against scripted printers, the
// printer list and the reconciliation of what drivers report.
#include "support/ScriptedPrinters.h"

#include "report/ppUtils.h"

#include <QLocale>

namespace {

class Owner : public TppSetupOwner {
 public:
  bool loading = false;
  bool reading = false;
  bool SetupOwnerLoading() const override { return loading; }
  bool SetupOwnerReading() const override { return reading; }
};

// Counts the hooks a setup fires.
struct Hooks {
  int pageDef = 0;
  int setup = 0;
  void Attach(TppPrinterSetup& s) {
    s.OnPageDefChange = [this](TppPrinterSetup*) { ++pageDef; };
    s.OnSetupChange = [this](TppPrinterSetup*) { ++setup; };
  }
};

TScriptedPrinter WithA4Named(const QString& printer, const QString& a4Name) {
  TScriptedPrinter p = TScriptedPrinter::Standard(printer);
  p.Caps.PaperNames[0] = a4Name;
  return p;
}

}  // namespace

class PrinterSetupTest : public ScriptedPrintersTest {};

TEST_F(PrinterSetupTest, DefaultsFollowTheLocalesDecimalSeparator) {
  Install({});
  const QLocale saved;
  struct Case {
    QLocale locale;
    int width, height;
  };
  for (const Case& c : {Case{QLocale(QLocale::English, QLocale::UnitedStates), 215900, 279401},
                        Case{QLocale(QLocale::Portuguese, QLocale::Portugal), 210000, 297000}}) {
    QLocale::setDefault(c.locale);
    TppPrinterSetup s;
    EXPECT_EQ(s.PageDef().mmWidth, c.width) << c.locale.name().toStdString();
    EXPECT_EQ(s.PageDef().mmHeight, c.height) << c.locale.name().toStdString();
    EXPECT_EQ(s.PageDef().PrintableRect(), (TppRect{6350, 6350, c.width - 6350, c.height - 6350}));
    EXPECT_EQ(s.BinName(), "Default");
    EXPECT_TRUE(s.Collation());
    EXPECT_EQ(s.Copies(), 1);
    EXPECT_EQ(s.DocumentName(), "");
    EXPECT_EQ(s.Duplex(), dpNone);
    EXPECT_EQ(s.Orientation(), poPortrait);
    EXPECT_EQ(s.PrinterName(), "Default");
    EXPECT_EQ(s.Units(), utInches);
    EXPECT_EQ(s.MarginLeft(), 0.25f);
  }
  QLocale::setDefault(saved);
}

TEST_F(PrinterSetupTest, SettersIgnoreInvalidValuesAndNotifyOnChangeOnly) {
  Install({TScriptedPrinter::Standard("P")});
  TppPrinterSetup s;
  s.SetUnits(utMMThousandths);
  Hooks h;
  h.Attach(s);

  s.SetCopies(0);
  s.SetCopies(-3);
  EXPECT_EQ(s.Copies(), 1);
  s.SetCopies(1);
  EXPECT_EQ(h.setup, 0);
  s.SetCopies(3);
  EXPECT_EQ(s.Copies(), 3);
  s.SetBinName("Current");  // the same as "Default"
  s.SetCollation(false);
  s.SetDocumentName("Report");
  s.SetDuplex(dpVertical);
  EXPECT_EQ(h.setup, 4);

  s.SetMarginLeft(-1.0f);
  EXPECT_EQ(s.PageDef().mmMarginLeft, 6350);
  s.SetMarginLeft(1000.9f);  // thousandths are truncated
  s.SetMarginBottom(0.0f);
  EXPECT_EQ(s.PageDef().mmMarginLeft, 1000);
  EXPECT_EQ(s.PageDef().mmMarginBottom, 0);
  EXPECT_EQ(h.pageDef, 2);

  s.SetUnits(utInches);
  s.SetMarginTop(0.5f);
  EXPECT_EQ(s.PageDef().mmMarginTop, 12700);
  EXPECT_EQ(s.MarginTop(), 0.5f);
}

TEST_F(PrinterSetupTest, ValidationDecidesAndHooksNeedNotificationsAndAnIdleOwner) {
  Install({TScriptedPrinter::Standard("P")});
  Owner owner;
  TppPrinterSetup s(&owner);
  s.SetUnits(utMMThousandths);
  Hooks h;
  h.Attach(s);
  int candidateWidth = 0;
  s.OnValidatePageDef = [&](TppPrinterSetup*, const TppPageDef& pd, bool& accept) {
    candidateWidth = pd.mmWidth;
    accept = false;
  };

  s.SetPaperWidth(100000);
  EXPECT_EQ(candidateWidth, 100000);
  EXPECT_NE(s.PageDef().mmWidth, 100000);
  const int width = s.PageDef().mmWidth;
  s.SetOrientation(poLandscape);  // refused too: the swap is a page change
  EXPECT_EQ(s.Orientation(), poPortrait);
  EXPECT_EQ(s.PageDef().mmWidth, width);
  EXPECT_EQ(h.pageDef, 0);

  // Without notifications nothing asks and nothing is told.
  s.SetNotificationsEnabled(false);
  s.SetPaperWidth(100000);
  s.SetCopies(2);
  EXPECT_EQ(s.PageDef().mmWidth, 100000);
  EXPECT_EQ(h.pageDef + h.setup, 0);
  s.SetNotificationsEnabled(true);

  // While the owner loads, values are stored as they come.
  owner.loading = true;
  s.SetMarginRight(1);
  s.SetCopies(4);
  EXPECT_EQ(s.PageDef().mmMarginRight, 1);
  EXPECT_EQ(s.Copies(), 4);
  EXPECT_EQ(h.pageDef + h.setup, 0);
  owner.loading = false;

  // While it is read, paper sizes are only remembered.
  owner.reading = true;
  s.SetPaperWidth(123456);
  s.SetPaperHeight(654321);
  EXPECT_EQ(s.PageDef().mmWidth, 100000);
  EXPECT_EQ(s.ReadPaperWidth(), 123456.0f);
  EXPECT_EQ(s.ReadPaperHeight(), 654321.0f);
}

TEST_F(PrinterSetupTest, OrientationSwapsThePaper) {
  Install({TScriptedPrinter::Standard("P")});
  TppPrinterSetup s;
  s.SetUnits(utMMThousandths);
  Hooks h;
  h.Attach(s);
  s.SetPaperName("A4");
  h.pageDef = 0;
  s.SetOrientation(poPortrait);
  EXPECT_EQ(h.pageDef, 0);
  s.SetOrientation(poLandscape);
  EXPECT_EQ(s.PageDef().mmWidth, 297000);
  EXPECT_EQ(s.PageDef().mmHeight, 210000);
  EXPECT_EQ(h.pageDef, 1);
  EXPECT_EQ(s.PaperName(), "A4");
  EXPECT_EQ(s.PaperSize(), 9);
}

TEST_F(PrinterSetupTest, PaperNameForSizeAllowsOneMillimetre) {
  Install({TScriptedPrinter::Standard("P")});
  TppPrinterSetup s;
  s.SetUnits(utMMThousandths);
  struct Case {
    float height, width;
    TPrinterOrientation orientation;
    const char* name;
  };
  const Case cases[] = {
      {297000, 210000, poPortrait, "A4"},
      {298000, 211000, poPortrait, "A4"},      // 10 tenths off
      {298100, 210000, poPortrait, "Custom"},  // 11 tenths off
      {210000, 149000, poPortrait, "A5"},
      {210000, 297000, poLandscape, "A4"},
      {297000, 210000, poLandscape, "Custom"},
  };
  for (const Case& c : cases) {
    s.SetNotificationsEnabled(false);
    s.SetOrientation(c.orientation);
    s.SetNotificationsEnabled(true);
    EXPECT_EQ(s.PaperNameForSize(c.height, c.width), c.name) << c.height << " x " << c.width;
  }
}

TEST_F(PrinterSetupTest, PaperNameSetsTheDriversSize) {
  Install({TScriptedPrinter::Standard("P")});
  TppPrinterSetup s;
  // In inches a driver's size goes through whole screen pixels.
  s.SetPaperName("A4");
  EXPECT_EQ(s.PageDef().mmWidth, 210079);
  EXPECT_EQ(s.PageDef().mmHeight, 297127);
  EXPECT_EQ(s.PaperName(), "A4");

  s.SetUnits(utMMThousandths);
  s.SetPaperName("A5");
  EXPECT_EQ(s.PageDef().mmWidth, 148000);
  EXPECT_EQ(s.PageDef().mmHeight, 210000);
  EXPECT_EQ(s.PaperSize(), 11);

  s.SetOrientation(poLandscape);
  s.SetPaperName("A4");
  EXPECT_EQ(s.PageDef().mmWidth, 297000);
  EXPECT_EQ(s.PageDef().mmHeight, 210000);

  // A name the printer does not know keeps the size.
  s.SetPaperName("Poster");
  EXPECT_EQ(s.PageDef().mmWidth, 297000);
  EXPECT_EQ(s.PaperName(), "Poster");
  EXPECT_EQ(s.PaperSize(), 9);  // found by its size

  // A size no paper has is the user size.
  s.SetPaperWidth(100000);
  EXPECT_EQ(s.PaperName(), "Custom");
  EXPECT_EQ(s.PaperSize(), 256);

  // Envelopes turn the page without swapping it.
  s.SetNotificationsEnabled(false);
  s.SetOrientation(poPortrait);
  s.SetNotificationsEnabled(true);
  const TppPageDef before = s.PageDef();
  s.SetPaperName("Envelope #10");
  EXPECT_EQ(s.Orientation(), poLandscape);
  EXPECT_EQ(s.PageDef(), before);
}

TEST_F(PrinterSetupTest, ChangingPrintersKeepsThePaper) {
  TScriptedPrinter other = WithA4Named("Q", "A4 (Q)");
  other.Caps.PaperNumbers[0] = 300;  // Q's A4 has another code
  Install({WithA4Named("P", "A4 (P)"), other, WithA4Named("R", "A4 (R)")}, "P");
  TppPrinterSetup s;
  Hooks h;
  h.Attach(s);
  s.SetPaperName("A4 (P)");
  EXPECT_EQ(s.PaperSize(), 9);

  s.SetPrinterName("R");  // same code
  EXPECT_EQ(s.PrinterName(), "R");
  EXPECT_EQ(s.PaperName(), "A4 (R)");
  s.SetPrinterName("Q");  // found by size
  EXPECT_EQ(s.PaperName(), "A4 (Q)");
  EXPECT_EQ(s.PaperSize(), 300);
  EXPECT_EQ(h.setup, 2);

  s.SetPrinterName("r");  // the printer's own name is stored
  EXPECT_EQ(s.PrinterName(), "R");
  s.SetPrinterName("Current");
  EXPECT_EQ(s.PrinterName(), "Default");
  EXPECT_EQ(s.PrinterInfo()->PrinterName, "P");
  s.SetPrinterName("Nowhere");  // unknown names fall back on the default printer
  EXPECT_EQ(s.PrinterName(), "P");
}

TEST_F(PrinterSetupTest, WithoutPrintersTheListsAreEmpty) {
  Install({});
  EXPECT_EQ(PrinterList()->Count(), 0);
  EXPECT_EQ(SharedPrinter(), nullptr);
  TppPrinterSetup s;
  EXPECT_EQ(s.PrinterInfo(), nullptr);
  EXPECT_EQ(s.PaperSize(), 0);
  EXPECT_TRUE(s.PaperNames().isEmpty());
  EXPECT_TRUE(s.BinNames().isEmpty());
  EXPECT_TRUE(s.PrinterNames().isEmpty());
  EXPECT_EQ(s.PaperName(), "Custom");
  s.SetPrinterName("P");
  EXPECT_EQ(s.PrinterName(), "Default");
  EXPECT_EQ(NoPrinterInfo()->PrinterName, "No Printer Installed");
  EXPECT_EQ(NoPrinterInfo()->Device, "None");
  EXPECT_TRUE(NoPrinterInfo()->Capabilities()->PaperNames.isEmpty());
}

TEST_F(PrinterSetupTest, PrinterListLookups) {
  TScriptedPrinter remote = TScriptedPrinter::Standard("Remote");
  remote.Network = true;
  Install({TScriptedPrinter::Standard("Local"), remote}, "Remote");
  TppPrinterList* list = PrinterList();
  EXPECT_EQ(list->PrinterNames(), (QStringList{"Default", "Local", "Remote"}));
  EXPECT_EQ(list->DefaultPrinterName(), "Remote");
  EXPECT_EQ(list->FindPrinterInfo("Default")->PrinterName, "Remote");
  EXPECT_EQ(list->FindPrinterInfo("local")->PrinterName, "Local");
  EXPECT_EQ(list->FindPrinterInfo("Local on scripted:")->PrinterName, "Local");
  EXPECT_EQ(list->FindPrinterInfo("Elsewhere")->PrinterName, "Remote");
  EXPECT_TRUE(list->FindPrinterInfo("Local")->Local);
  EXPECT_FALSE(list->FindPrinterInfo("Remote")->Local);
  EXPECT_NE(SharedPrinter(), nullptr);
}

TEST_F(PrinterSetupTest, AssignAndEquality) {
  Install({TScriptedPrinter::Standard("P"), TScriptedPrinter::Standard("Q")});
  TppPrinterSetup a, b;
  Hooks h;
  h.Attach(b);
  a.SetPaperName("A5");
  a.SetOrientation(poLandscape);
  a.SetCopies(2);
  a.SetDocumentName("Report");
  a.SetOutputFileName("/tmp/x.pdf");
  a.SetUnits(utMMThousandths);
  EXPECT_FALSE(b.EqualTo(a));
  b.Assign(a);
  EXPECT_EQ(h.pageDef + h.setup, 0);
  EXPECT_TRUE(b.EqualTo(a));
  EXPECT_EQ(b.Units(), utMMThousandths);
  EXPECT_EQ(b.PaperName(), "A5");
  // "Default" and the default printer's name are the same printer.
  b.SetPrinterName("P");
  EXPECT_TRUE(b.EqualTo(a));
  EXPECT_TRUE(b.IsEqualPrinterAndOrientation(a));
  b.SetCopies(3);
  EXPECT_FALSE(b.EqualTo(a));
  EXPECT_TRUE(b.IsEqualPrinterAndOrientation(a));
  b.SetPrinterName("Q");
  EXPECT_FALSE(b.IsEqualPrinterAndOrientation(a));
}

TEST_F(PrinterSetupTest, StreamValuesOverwriteThePageAndThePaperCodeRestoresTheName) {
  Install({WithA4Named("P", "A4 210 x 297 mm")});
  Owner owner;
  owner.loading = owner.reading = true;
  TppPrinterSetup s(&owner);
  // A landscape A4 cover report as stored.
  s.SetPaperName("A4");
  s.SetOrientation(poLandscape);
  EXPECT_TRUE(s.ReadStreamProperty("mmPaperWidth", 297000));
  EXPECT_TRUE(s.ReadStreamProperty("mmPaperHeight", 210000.9));
  EXPECT_TRUE(s.ReadStreamProperty("PaperSize", 9));
  EXPECT_FALSE(s.ReadStreamProperty("Nothing", 1));
  owner.loading = owner.reading = false;
  s.Loaded();
  EXPECT_EQ(s.PageDef().mmWidth, 297000);
  EXPECT_EQ(s.PageDef().mmHeight, 210000);
  EXPECT_EQ(s.PaperName(), "A4 210 x 297 mm");
  EXPECT_EQ(s.PaperSize(), 9);

  const auto all = s.StreamProperties(nullptr);
  ASSERT_EQ(all.size(), 7u);
  EXPECT_EQ(all[0].first, "mmMarginBottom");
  EXPECT_EQ(all[6], (std::pair<QString, int>("PaperSize", 9)));
  TppPrinterSetup ancestor;
  ancestor.Assign(s);
  ancestor.SetUnits(utMMThousandths);
  ancestor.SetMarginTop(0);
  const auto diff = s.StreamProperties(&ancestor);
  ASSERT_EQ(diff.size(), 1u);
  EXPECT_EQ(diff[0], (std::pair<QString, int>("mmMarginTop", 6350)));
}

TEST(PrinterCapabilities, Reconciliation) {
  struct Case {
    const char* what;
    TDeviceCapabilities raw;
    QStringList names, numbers, widths, heights, binNames, binNumbers;
    bool copies;
  };
  auto caps = [](QStringList names, QList<int> numbers, QList<QSize> sizes,
                 QStringList binNames = {}, QList<int> binNumbers = {}, int copies = 1) {
    TDeviceCapabilities c;
    c.PaperNames = names;
    c.PaperNumbers = numbers;
    c.PaperSizes = sizes;
    c.BinNames = binNames;
    c.BinNumbers = binNumbers;
    c.Copies = copies;
    return c;
  };
  const Case cases[] = {
      {"surplus names are dropped; Custom is added",
       caps({"A4", "Letter", "Extra"}, {9, 1}, {{2100, 2970}, {2159, 2794}}, {"Upper"}, {1}, 3),
       {"A4", "Letter", "Custom"}, {"9", "1", "256"}, {"2100", "2159", "0"},
       {"2970", "2794", "0"}, {"Default", "Upper"}, {"7", "1"}, true},
      {"names rebuilt from numbers; sizeless papers dropped",
       caps({}, {9, 300, 301}, {{2100, 2970}, {1000, 2000}}),
       {StandardPaperName(9), "100 x 200 mm", "Custom"}, {"9", "300", "256"},
       {"2100", "1000", "0"}, {"2970", "2000", "0"}, {"Default"}, {"7"}, false},
      {"a user paper found by name is renamed and goes last",
       caps({"User Defined", "A4", "Zero"}, {1000, 9, 5}, {{0, 0}, {2100, 2970}},
            {"Tray", "Default", "Extra"}, {1, 2}, 2),
       {"A4", "Zero", "Custom"}, {"9", "5", "1000"}, {"2100", "2159", "0"},
       {"2970", "3556", "0"}, {"Tray", "Default"}, {"1", "2"}, false},
      {"a paper whose driver size is zero is dropped",
       caps({"A4", "Odd", "Own"}, {9, 400, 256}, {{2100, 2970}, {0, 100}, {0, 0}}),
       {"A4", "Custom"}, {"9", "256"}, {"2100", "0"}, {"2970", "0"}, {"Default"}, {"7"},
       false},
  };
  for (const Case& c : cases) {
    TppPrinterCapabilities pc;
    pc.Build(c.raw);
    EXPECT_EQ(pc.PaperNames, c.names) << c.what;
    EXPECT_EQ(pc.PaperNumbers, c.numbers) << c.what;
    EXPECT_EQ(pc.PaperWidths, c.widths) << c.what;
    EXPECT_EQ(pc.PaperHeights, c.heights) << c.what;
    EXPECT_EQ(pc.BinNames, c.binNames) << c.what;
    EXPECT_EQ(pc.BinNumbers, c.binNumbers) << c.what;
    EXPECT_EQ(pc.Copies, c.copies) << c.what;
  }
}
