// SPDX-License-Identifier: GPL-3.0-or-later
// The window's printing commands through the dialog layer: "print to file"
// in the print dialog writes a PDF, a printer the system does not have is
// an error and nothing is printed in its stead, the printer chosen in
// printer setup is the one the print uses, pages leaving the printable
// area are warned of, the preview says when there is none, and nothing
// replaces, closes or prints the document again while it prints.
#include "components/ProCtrls.h"
#include "editor/uDefParametros.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "support/JanelaLurn.h"
#include "document/MedidaTexto.h"
#include "printing/ComandosImpressao.h"
#include "report/ppBands.h"
#include "report/ppCtrls.h"
#include "report/ppDevice.h"
#include "reportforms/ppForms.h"
#include "report/ppReport.h"
#include "report/ppUtils.h"
#include "support/PdfTools.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinters.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TObjecto Texto(const QString& caption) {
  TObjecto t = TObjecto::NovoTexto();
  t.Texto = caption;
  t.Fonte.Nome = QStringLiteral("Arial");
  t.Fonte.Tamanho = 12;
  t.Left = 30;
  t.Top = 30;
  const QSize s = TamanhoAutomatico(caption, t.Fonte);
  t.Width = s.width();
  t.Height = s.height();
  return t;
}

class PrintCommands : public ScriptedPrintersTest {
 protected:
  // The printer last chosen is the program's: each test starts afresh.
  void SetUp() override {
    ImpressoraActual() = TImpressora();
    d.Adicionar(folhaFrente, Texto(QStringLiteral("Frente")));
    d.Adicionar(folhaCD, Texto(QStringLiteral("Disco")));
  }
  int PdfPages(const QString& file) {
    QString why;
    return int(pdf::Pages(file, &why).size());
  }
  QStringList Warnings() {
    QStringList out;
    for (const QString& a : dialogs->Asked)
      if (a.startsWith(QLatin1String("warning: "))) out << a.mid(9);
    return out;
  }

  TDocumento d;
  QTemporaryDir dir;
  ScriptedDialogsGuard dialogs;
};

TEST_F(PrintCommands, PrintToFileInTheDialogWritesAPdfOfTheChosenPages) {
  Install({});  // no printer at all: a PDF needs none
  TComandosImpressao c(nullptr);
  const QString file = dir.filePath(QStringLiteral("capa.pdf"));
  TPrintDialogChoice all;
  all.File = file;
  dialogs->PrintChoices.push_back(all);
  c.Imprimir(d, folhaFrente, {});
  EXPECT_TRUE(Warnings().isEmpty()) << Warnings().join('\n').toStdString();
  EXPECT_EQ(PdfPages(file), 3);
  // The dialog offered the three pages, the current sheet and a range.
  ASSERT_EQ(dialogs->PrintSpecs.size(), 1u);
  EXPECT_EQ(dialogs->PrintSpecs[0].MaxPage, 3);
  EXPECT_TRUE(dialogs->PrintSpecs[0].AllowSelection);
  EXPECT_TRUE(dialogs->PrintSpecs[0].AllowPageNums);

  // The selection with Interior active prints page 1, twice.
  TPrintDialogChoice current;
  current.Range = TPrintDialogSpec::prSelection;
  current.Copies = 2;
  current.File = dir.filePath(QStringLiteral("interior.pdf"));
  dialogs->PrintChoices.push_back(current);
  c.Imprimir(d, folhaInterior, {});
  EXPECT_EQ(PdfPages(current.File), 2);
  // The dialog keeps its last choices.
  EXPECT_EQ(dialogs->PrintSpecs[1].PrintRange, TPrintDialogSpec::prAllPages);
  dialogs->Prints.push_back(false);
  c.Imprimir(d, folhaInterior, {});
  EXPECT_EQ(dialogs->PrintSpecs[2].PrintRange, TPrintDialogSpec::prSelection);
  EXPECT_EQ(dialogs->PrintSpecs[2].Copies, 2);
}

// On a sheet of disc labels the dialog offers which discs to print (and
// keeps the last choice); the marks are offered always, as the settings
// have them.
TEST_F(PrintCommands, TheDialogChoosesTheDiscsOfALabelSheetAndTheMarks) {
  Install({});
  TComandosImpressao c(nullptr);
  d.DefinirCor(folhaCD, 0x000000);
  TOpcoesCapa labels;
  labels.Etiqueta = EtiquetaDisco(QStringLiteral("L7676"));
  ASSERT_TRUE(labels.Etiqueta);
  TPrintDialogChoice second;
  second.Range = TPrintDialogSpec::prSelection;
  second.File = dir.filePath(QStringLiteral("segundo.pdf"));
  second.DiscPosition = 2;
  dialogs->PrintChoices.push_back(second);
  c.Imprimir(d, folhaCD, labels);
  ASSERT_EQ(dialogs->PrintSpecs.size(), 1u);
  EXPECT_EQ(dialogs->PrintSpecs[0].DiscPosition, 3);  // both, to begin with
  EXPECT_EQ(dialogs->PrintSpecs[0].Marks, 0);
  QString why;
  const pdf::GreyImage page = pdf::Rasterise(second.File, 1, 100, &why);
  ASSERT_GT(page.Width, 0) << why.toStdString();
  EXPECT_TRUE(pdf::DarkBoxMM(page, QRectF(40, 15, 130, 131)).isEmpty());
  EXPECT_NEAR(pdf::DarkBoxMM(page, QRectF(40, 152, 130, 131)).center().y(), 217.5, 0.5);
  // The next print offers the last choice; plain paper offers none.
  dialogs->Prints.push_back(false);
  c.Imprimir(d, folhaCD, labels);
  EXPECT_EQ(dialogs->PrintSpecs[1].DiscPosition, 2);
  dialogs->Prints.push_back(false);
  c.Imprimir(d, folhaCD, {});
  EXPECT_EQ(dialogs->PrintSpecs[2].DiscPosition, 0);
  // Marks chosen in the dialog: the disc's square gets its crop marks.
  TPrintDialogChoice marks;
  marks.Range = TPrintDialogSpec::prSelection;
  marks.File = dir.filePath(QStringLiteral("marcas.pdf"));
  marks.Marks = 1;
  dialogs->PrintChoices.push_back(marks);
  c.Imprimir(d, folhaCD, {});
  const pdf::GreyImage marked = pdf::Rasterise(marks.File, 1, 100, &why);
  ASSERT_GT(marked.Width, 0) << why.toStdString();
  // Left of the disc's square, on its top edge's line.
  const double left = 6.35 + 48 * 25.4 / 96, top = 6.35 + 104 * 25.4 / 96;
  EXPECT_FALSE(pdf::DarkBoxMM(marked, QRectF(left - 8, top - 0.5, 7, 1)).isEmpty());
}

TEST_F(PrintCommands, AnUnknownPrinterIsAnErrorNotTheDefaultPrinter) {
  TScriptedPrinterBackend& b = Install({TScriptedPrinter::Standard(QStringLiteral("Alfa"))});
  TComandosImpressao c(nullptr);
  TPrintDialogChoice choice;
  choice.Printer = QStringLiteral("Beta");
  dialogs->PrintChoices.push_back(choice);
  c.Imprimir(d, folhaFrente, {});
  ASSERT_EQ(Warnings().size(), 1);
  EXPECT_TRUE(Warnings()[0].contains(QStringLiteral("Beta"))) << Warnings()[0].toStdString();
  EXPECT_TRUE(b.Documents.isEmpty());
  // A printer added after start-up is found in a fresh list.
  b.Printers.append(TScriptedPrinter::Standard(QStringLiteral("Beta")));
  dialogs->PrintChoices.push_back(choice);
  c.Imprimir(d, folhaFrente, {});
  ASSERT_EQ(b.Documents.size(), 1);
  EXPECT_EQ(b.Documents[0].Printer, "Beta");
  EXPECT_EQ(b.Documents[0].Pages.size(), 3);
}

TEST_F(PrintCommands, APrinterThatRefusesTheJobIsReportedAndNothingIsPrinted) {
  TScriptedPrinter refusing = TScriptedPrinter::Standard(QStringLiteral("Alfa"));
  refusing.RefusesJobs = true;
  TScriptedPrinterBackend& b = Install({refusing});
  TComandosImpressao c(nullptr);
  dialogs->Prints.push_back(true);
  c.Imprimir(d, folhaFrente, {});
  ASSERT_EQ(Warnings().size(), 1);
  EXPECT_TRUE(Warnings()[0].startsWith(QStringLiteral("Impossível Gerar Relatório"))) << Warnings()[0].toStdString();
  for (const TScriptedDocument& doc : b.Documents) EXPECT_FALSE(doc.Ended);
  EXPECT_FALSE(c.Ocupado());
}

TEST_F(PrintCommands, PrinterNamesAreResolvedAgainstAFreshList) {
  TScriptedPrinterBackend& b = Install({TScriptedPrinter::Standard(QStringLiteral("Alfa"))});
  const std::pair<QString, QString> cases[] = {
      {"Alfa", "Alfa"},      {"alfa", "Alfa"}, {"Alfa/frente-e-verso", "Alfa"},
      {"Default", "Default"}, {"", "Default"},  {"Beta", ""},
  };
  for (const auto& [asked, found] : cases) EXPECT_EQ(ResolverImpressora(asked), found) << asked.toStdString();
  b.Printers.append(TScriptedPrinter::Standard(QStringLiteral("Beta")));
  EXPECT_EQ(ResolverImpressora(QStringLiteral("Beta")), "Beta");
  Install({});
  EXPECT_EQ(ResolverImpressora(QStringLiteral("Default")), "");
}

TEST_F(PrintCommands, ThePrinterChosenInPrinterSetupIsTheOneThePrintUses) {
  TScriptedPrinterBackend& b = Install(
      {TScriptedPrinter::Standard(QStringLiteral("Alfa")), TScriptedPrinter::Standard(QStringLiteral("Beta"))});
  TComandosImpressao c(nullptr);
  dialogs->SetupChoices.push_back(TPrinterSetupChoice{QStringLiteral("Beta"), QString(), QString()});
  c.ConfigurarImpressora();
  ASSERT_EQ(dialogs->SetupSpecs.size(), 1u);
  EXPECT_EQ(dialogs->SetupSpecs[0].Printers, QStringList({"Alfa", "Beta"}));
  dialogs->Prints.push_back(true);  // OK as offered
  c.Imprimir(d, folhaFrente, {});
  ASSERT_EQ(dialogs->PrintSpecs.size(), 1u);
  EXPECT_EQ(dialogs->PrintSpecs[0].PrinterName, "Beta");
  ASSERT_EQ(b.Documents.size(), 1);
  EXPECT_EQ(b.Documents[0].Printer, "Beta");
}

TEST_F(PrintCommands, APageLeavingThePrintableAreaIsWarnedOfBeforeTheDialog) {
  Install({});
  TComandosImpressao c(nullptr);
  dialogs->Prints.push_back(false);
  c.Imprimir(d, folhaCD, {true, 0, 100});
  ASSERT_GE(dialogs->Asked.size(), 2);
  EXPECT_TRUE(dialogs->Asked[0].startsWith(QLatin1String("warning: "))) << dialogs->Asked[0].toStdString();
  EXPECT_TRUE(dialogs->Asked[0].contains(QStringLiteral("CD")));
  EXPECT_EQ(dialogs->Asked[1], "print");
}

TEST_F(PrintCommands, ThePreviewSaysWhenThereIsNoPreviewWindow) {
  Install({});
  TComandosImpressao c(nullptr);
  ASSERT_FALSE(TImpressaoCapa::PrevisaoDisponivel());
  c.Prever(d, folhaTras, {});
  ASSERT_EQ(dialogs->Asked.size(), 1);
  EXPECT_TRUE(dialogs->Asked[0].contains(QStringLiteral("previsão"))) << dialogs->Asked[0].toStdString();
  // The reports were filled all the same.
  EXPECT_EQ(c.Capa().Transitorios(paginaFrente).size(), 1u);
}

// A preview window and screen device standing in for the program's: the
// window notes the report it was opened for and how, then closes.
class TestPreviewWindow : public TppCustomPreviewer {
  Q_OBJECT
 public:
  static inline QString reportName;
  static inline bool maximised = false;
  static inline int shown = 0;

 protected:
  void showEvent(QShowEvent* e) override {
    TppCustomPreviewer::showEvent(e);
    ++shown;
    reportName = Report() ? Report()->Name() : QString();
    maximised = isMaximized();
    QTimer::singleShot(0, this, [this] { Close(); });
  }
};

class TestScreenDevice : public TppDevice {
 public:
  LURNS_COMPONENT(TestScreenDevice)
  using TppDevice::TppDevice;
  static QString DeviceName() { return QStringLiteral("Screen"); }
};

TEST_F(PrintCommands, ThePreviewOpensTheActiveSheetsReportOnTheScreenDevice) {
  Install({});
  RegisterEngineForm<TppCustomPreviewer, TestPreviewWindow>();
  RegisterDeviceClass<TestScreenDevice>();
  ASSERT_TRUE(TImpressaoCapa::PrevisaoDisponivel());
  TComandosImpressao c(nullptr);
  const std::pair<int, const char*> cases[] = {{folhaFrente, "reportFrenteCD"},
                                               {folhaInterior, "reportFrenteCD"},
                                               {folhaTras, "reportTrasCD"},
                                               {folhaCD, "reportCentroCD"}};
  for (const auto& [folha, report] : cases) {
    TestPreviewWindow::shown = 0;
    c.Prever(d, folha, {});
    EXPECT_EQ(TestPreviewWindow::shown, 1) << folha;
    EXPECT_EQ(TestPreviewWindow::reportName, report);
    EXPECT_TRUE(TestPreviewWindow::maximised);
    EXPECT_EQ(c.Capa().Relatorio(PaginaDaFolha(folha))->DeviceType(), "Screen");
  }
  EXPECT_TRUE(dialogs->Asked.isEmpty()) << dialogs->Asked.join('\n').toStdString();
  EXPECT_FALSE(c.Ocupado());
  UnregisterDeviceClass<TestScreenDevice>();
  UnregisterEngineForm<TppCustomPreviewer>();
}

// The paper and tray chosen in printer setup go with the job and with
// every page, whichever pages print: here the disc's page alone.
TEST_F(PrintCommands, ThePaperAndTrayOfPrinterSetupGoWithTheJobOfAnyPages) {
  TScriptedPrinterBackend& b = Install({TScriptedPrinter::Standard(QStringLiteral("Alfa"))});
  TComandosImpressao c(nullptr);
  dialogs->SetupChoices.push_back(TPrinterSetupChoice{"Alfa", "Letter", "Tray 1"});
  c.ConfigurarImpressora();
  for (int first : {3, 1}) {
    SCOPED_TRACE(first);
    TPrintDialogChoice pages;
    pages.Range = TPrintDialogSpec::prPageNums;
    pages.From = first;
    pages.To = 3;
    dialogs->PrintChoices.push_back(pages);
    b.Documents.clear();
    c.Imprimir(d, folhaFrente, {});
    EXPECT_TRUE(Warnings().isEmpty()) << Warnings().join('\n').toStdString();
    ASSERT_EQ(b.Documents.size(), 1);
    const TScriptedDocument& doc = b.Documents[0];
    ASSERT_EQ(doc.Pages.size(), 4 - first);
    for (const TDriverSettings& s : {doc.Settings, doc.Pages.first().Settings, doc.Pages.last().Settings}) {
      EXPECT_EQ(s.PaperSize, 1);
      EXPECT_TRUE(s.Fields & TDriverSettings::dmDefaultSource);
      EXPECT_EQ(s.DefaultSource, 257);
    }
  }
}

// A preview window that prints the report it shows, as its print button
// does, then closes.
class PrintingPreviewWindow : public TppCustomPreviewer {
  Q_OBJECT

 protected:
  void showEvent(QShowEvent* e) override {
    TppCustomPreviewer::showEvent(e);
    QTimer::singleShot(0, this, [this] {
      if (TppProducer* report = Report()) {
        report->SetDeviceType(QStringLiteral("Printer"));
        report->Print();
        report->SetDeviceType(QStringLiteral("Screen"));
      }
      Close();
    });
  }
};

// The job of a print from the preview carries the cover's name, as the
// job of "Imprimir" does.
TEST_F(PrintCommands, ThePreviewsPrintIsNamedAfterTheCoverAsTheMainPrintIs) {
  TScriptedPrinterBackend& b = Install({TScriptedPrinter::Standard(QStringLiteral("Alfa"))});
  RegisterEngineForm<TppCustomPreviewer, PrintingPreviewWindow>();
  RegisterDeviceClass<TestScreenDevice>();
  TfrmLurn w(nullptr, false);
  w.Sessao().UsarRecentes(false);
  ASSERT_TRUE(w.Sessao().GravarFicheiro(dir.filePath(QStringLiteral("capa.lrn"))));
  ASSERT_TRUE(w.Sessao().AbrirFicheiro(dir.filePath(QStringLiteral("capa.lrn"))));
  dialogs->Prints.push_back(true);
  w.findChild<QAction*>(QStringLiteral("menuFicheiroImprimir"))->trigger();
  w.findChild<QAction*>(QStringLiteral("menuFicheiroPreverImpresso"))->trigger();
  ASSERT_EQ(b.Documents.size(), 2) << dialogs->Asked.join('\n').toStdString();
  EXPECT_EQ(b.Documents[0].Name, "Lurns para CD - capa.lrn");
  EXPECT_EQ(b.Documents[1].Name, "Lurns para CD - capa.lrn");
  UnregisterDeviceClass<TestScreenDevice>();
  UnregisterEngineForm<TppCustomPreviewer>();
}

// The print dialog's choices besides the range and copies: only the odd
// (or even) pages, the last first, both sides, shades of grey, a paper
// chosen in the printer's properties (the printer's paper from then on,
// as printer setup's choice is) and the queue's own options.
TEST_F(PrintCommands, EveryChoiceOfThePrintDialogReachesThePrint) {
  TScriptedPrinterBackend& b = Install({TScriptedPrinter::Standard(QStringLiteral("Alfa"))});
  TComandosImpressao c(nullptr);
  TPrintDialogChoice choice;
  choice.Set = TPrintDialogSpec::setOdd;
  choice.Reverse = true;
  choice.Duplex = TDriverSettings::DuplexVertical;
  choice.Color = false;
  choice.Paper = QStringLiteral("Letter");
  choice.QueueOptions = {{QStringLiteral("number-up"), QStringLiteral("2")},
                         {QStringLiteral("InputSlot"), QStringLiteral("Tray1")}};
  dialogs->PrintChoices.push_back(choice);
  c.Imprimir(d, folhaFrente, {});
  EXPECT_TRUE(Warnings().isEmpty()) << Warnings().join('\n').toStdString();
  ASSERT_EQ(dialogs->PrintSpecs.size(), 1u);
  EXPECT_EQ(dialogs->PrintSpecs[0].PaperName, "A4");
  ASSERT_EQ(b.Documents.size(), 1);
  const TScriptedDocument& doc = b.Documents[0];
  ASSERT_EQ(doc.Pages.size(), 2);
  // Page 3, the disc (portrait), before page 1 (landscape); no page 2.
  EXPECT_EQ(doc.Pages[0].Settings.Orientation, int(TDriverSettings::OrientPortrait));
  EXPECT_EQ(doc.Pages[1].Settings.Orientation, int(TDriverSettings::OrientLandscape));
  for (const TDriverSettings& s : {doc.Settings, doc.Pages[0].Settings, doc.Pages[1].Settings}) {
    EXPECT_EQ(s.Duplex, int(TDriverSettings::DuplexVertical));
    EXPECT_FALSE(s.Color);
    EXPECT_EQ(s.PaperSize, 1);
    EXPECT_EQ(s.DriverOptions.value(QStringLiteral("number-up")), "2");
    EXPECT_EQ(s.DriverOptions.value(QStringLiteral("InputSlot")), "Tray1");
  }
  EXPECT_EQ(ImpressoraActual().Papel, "Letter");
  // The next print offers that paper, and prints in colour on one side
  // again unless chosen otherwise.
  dialogs->Prints.push_back(true);
  c.Imprimir(d, folhaFrente, {});
  ASSERT_EQ(dialogs->PrintSpecs.size(), 2u);
  EXPECT_EQ(dialogs->PrintSpecs[1].PaperName, "Letter");
  ASSERT_EQ(b.Documents.size(), 2);
  ASSERT_EQ(b.Documents[1].Pages.size(), 3);
  EXPECT_TRUE(b.Documents[1].Settings.Color);
  EXPECT_EQ(b.Documents[1].Settings.Duplex, int(TDriverSettings::DuplexSimplex));
  EXPECT_EQ(b.Documents[1].Settings.PaperSize, 1);

  // The even pages of page 3 alone: nothing to print, said once.
  TPrintDialogChoice even;
  even.Range = TPrintDialogSpec::prPageNums;
  even.From = even.To = 3;
  even.Set = TPrintDialogSpec::setEven;
  dialogs->PrintChoices.push_back(even);
  c.Imprimir(d, folhaFrente, {});
  EXPECT_EQ(Warnings(), QStringList{"Impossível Gerar Relatório\n\nNenhuma página para imprimir."});
  EXPECT_EQ(b.Documents.size(), 2);
  EXPECT_EQ(b.AbortedDocuments, 0);
}

// An object that could not be printed is told once the job is out, in one
// message; the pages print without it.
TEST_F(PrintCommands, ObjectsThatCouldNotBePrintedAreToldOnceAfterTheJob) {
  Install({});
  TComandosImpressao c(nullptr);
  TppReport* disc = c.Capa().Relatorio(paginaCD);
  // A component of the design (which a print leaves in place) that cannot
  // make its draw command.
  auto* bad = new TppShape(disc->Owner());
  bad->SetBand(disc->DetailBand());
  bad->SetDescription(QStringLiteral("Mau (CD)"));
  bad->SetDrawCommandClass(QStringLiteral("TNoSuchCommand"));
  const QString file = dir.filePath(QStringLiteral("capa.pdf"));
  TPrintDialogChoice all;
  all.File = file;
  all.Copies = 2;
  dialogs->PrintChoices.push_back(all);
  c.Imprimir(d, folhaFrente, {});
  EXPECT_EQ(Warnings(), QStringList{"Alguns objectos não foram impressos:\n"
                                    "Mau (CD): O comando de desenho TNoSuchCommand não está registado."});
  EXPECT_EQ(PdfPages(file), 6);
  delete bad;
}

TEST_F(PrintCommands, NothingReplacesClosesOrPrintsTheDocumentAgainWhileItPrints) {
  Install({});
  TfrmLurn w(nullptr, false);
  w.Sessao().UsarRecentes(false);
  w.Sessao().Alterar(QStringLiteral("Preparar"), [&](TDocumento& d) { d.Adicionar(folhaFrente, Texto(QStringLiteral("Frente"))); });
  ASSERT_FALSE(w.Sessao().Gravado());
  w.show();
  const QString file = dir.filePath(QStringLiteral("uma.pdf"));
  TPrintDialogChoice choice;
  choice.File = file;
  dialogs->PrintChoices.push_back(choice);
  auto* imprimir = w.findChild<QAction*>(QStringLiteral("menuFicheiroImprimir"));
  ASSERT_NE(imprimir, nullptr);
  // A second click on Imprimir, New, Open and closing the window, all
  // coming in while the pages are made.
  int during = 0;
  bool enabledDuring = true;
  SetProcessMessagesHook([&] {
    if (during++) return;
    enabledDuring = w.isEnabled();
    imprimir->trigger();
    Escolher(w, "menuFicheiroNovo");
    Escolher(w, "manuFicheiroAbrir");
    w.close();
  });
  imprimir->trigger();
  SetProcessMessagesHook([] { QCoreApplication::processEvents(); });
  EXPECT_GT(during, 0);
  EXPECT_FALSE(enabledDuring);
  EXPECT_TRUE(w.isEnabled());
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(dialogs->Asked, QStringList({"print"}));  // no second dialog, no question
  EXPECT_EQ(w.Sessao().Documento().Objectos(folhaFrente).size(), 1u);
  EXPECT_EQ(PdfPages(file), 3);
}

TEST_F(PrintCommands, ACaptionsAmpersandIsShownAsACharacterAsItPrints) {
  Install({});
  TfrmLurn w(nullptr, false);
  w.Sessao().UsarRecentes(false);
  w.Sessao().Alterar(QStringLiteral("Preparar"),
                     [&](TDocumento& d) { d.Adicionar(folhaFrente, Texto(QStringLiteral("Rock & Roll"))); });
  TProLabel* label = nullptr;
  for (int i = 0; i < PainelFolha(w, folhaFrente)->Owned.ComponentCount(); ++i)
    if (auto* l = dynamic_cast<TProLabel*>(PainelFolha(w, folhaFrente)->Owned.Components(i))) label = l;
  ASSERT_NE(label, nullptr);
  EXPECT_FALSE(label->ShowAccelChar());
  // Measured with its "&": wider than without it; a lone "&" is a character.
  TFonteDoc f;
  f.Nome = QStringLiteral("Arial");
  f.Tamanho = 12;
  EXPECT_GT(TamanhoAutomatico(QStringLiteral("A&B"), f).width(), TamanhoAutomatico(QStringLiteral("AB"), f).width());
  EXPECT_NE(TamanhoAutomatico(QStringLiteral("&"), f).width(), TamanhoAutomatico(QStringLiteral(" "), f).width());
}

}  // namespace

#include "test_printcommands.moc"

// "Exportar…": the export dialog, then the save dialog beside the cover
// under its name, then the pages through the exporters: a PDF of the
// chosen pages, or a picture a page named after the file chosen, with one
// question before any of them is replaced; nothing asked further when the
// export dialog is cancelled.
class ExportCommands : public PrintCommands {
 protected:
  TExportChoice Choice(TExportDialogSpec::Format f, TPrintDialogSpec::Range r = TPrintDialogSpec::prAllPages,
                       int dpi = 150) {
    TExportChoice c;
    c.Formato = f;
    c.Range = r;
    c.Dpi = dpi;
    return c;
  }
};

TEST_F(ExportCommands, APdfOfThePagesChosenBesideTheCover) {
  Install({});  // no printer is needed
  TComandosImpressao c(nullptr);
  const QString capa = dir.filePath(QStringLiteral("banda.lrn"));
  dialogs->ExportChoices.push_back(Choice(TExportDialogSpec::fmtPdf));
  dialogs->Files.push_back(dir.filePath(QStringLiteral("banda")));
  c.Exportar(d, folhaFrente, {}, capa);
  EXPECT_TRUE(Warnings().isEmpty()) << Warnings().join('\n').toStdString();
  ASSERT_EQ(dialogs->ExportSpecs.size(), 1u);
  EXPECT_EQ(dialogs->ExportSpecs[0].MaxPage, 3);
  EXPECT_EQ(dialogs->ExportSpecs[0].ToPage, 3);
  ASSERT_EQ(dialogs->FileSpecs.size(), 1u);
  const TFileDialogSpec& f = dialogs->FileSpecs[0];
  EXPECT_EQ(f.DefaultExt, "pdf");
  EXPECT_TRUE(f.OverwritePrompt);
  EXPECT_EQ(f.FileName, "banda.pdf");
  EXPECT_EQ(QDir(f.InitialDir), QDir(dir.path()));
  EXPECT_EQ(PdfPages(dir.filePath(QStringLiteral("banda.pdf"))), 3);

  // Pages 2 to 3 only, remembered by the dialog for the next export.
  TExportChoice dois = Choice(TExportDialogSpec::fmtPdf, TPrintDialogSpec::prPageNums);
  dois.From = 2;
  dois.To = 3;
  dialogs->ExportChoices.push_back(dois);
  dialogs->Files.push_back(dir.filePath(QStringLiteral("duas.pdf")));
  c.Exportar(d, folhaFrente, {}, capa);
  EXPECT_EQ(PdfPages(dir.filePath(QStringLiteral("duas.pdf"))), 2);
  dialogs->ExportChoices.push_back(std::nullopt);
  c.Exportar(d, folhaFrente, {}, capa);
  ASSERT_EQ(dialogs->ExportSpecs.size(), 3u);
  EXPECT_EQ(dialogs->ExportSpecs[2].PrintRange, TPrintDialogSpec::prPageNums);
  EXPECT_EQ(dialogs->ExportSpecs[2].FromPage, 2);
  EXPECT_EQ(dialogs->FileSpecs.size(), 2u);  // cancelled: no save dialog
}

TEST_F(ExportCommands, PicturesOfTheSheetShownAndAQuestionBeforeReplacingThem) {
  Install({});
  TComandosImpressao c(nullptr);
  dialogs->ExportChoices.push_back(Choice(TExportDialogSpec::fmtPng, TPrintDialogSpec::prSelection, 50));
  dialogs->Files.push_back(dir.filePath(QStringLiteral("disco.png")));
  c.Exportar(d, folhaCD, {}, QString());
  const QString pagina = dir.filePath(QStringLiteral("disco-3.png"));
  QImage png(pagina);
  ASSERT_FALSE(png.isNull()) << dialogs->Asked.join('\n').toStdString();
  EXPECT_NEAR(png.width(), 210 * 50 / 25.4, 1.0);  // A4 at 50 pixels an inch
  EXPECT_NEAR(png.height(), 297 * 50 / 25.4, 1.0);
  EXPECT_EQ(dialogs->FileSpecs[0].DefaultExt, "png");
  EXPECT_FALSE(dialogs->FileSpecs[0].OverwritePrompt);  // asked of every page's file instead

  // Again, into the same names: asked once, and No leaves the file as it is.
  QFile marca(pagina);
  ASSERT_TRUE(marca.open(QIODevice::WriteOnly));
  marca.write("antes");
  marca.close();
  for (TModalResult answer : {TModalResult::No, TModalResult::Yes}) {
    dialogs->ExportChoices.push_back(Choice(TExportDialogSpec::fmtPng, TPrintDialogSpec::prSelection, 50));
    dialogs->Files.push_back(dir.filePath(QStringLiteral("disco.png")));
    dialogs->Confirms.push_back(answer);
    dialogs->Asked.clear();
    c.Exportar(d, folhaCD, {}, QString());
    const QStringList perguntas = dialogs->Asked.filter(QStringLiteral("confirm: "));
    ASSERT_EQ(perguntas.size(), 1);
    EXPECT_TRUE(perguntas[0].contains(QStringLiteral("disco-3.png")));
    EXPECT_EQ(QImage(pagina).isNull(), answer == TModalResult::No);
  }
}

TEST_F(ExportCommands, TheMainWindowsExportWritesTheCoverItShows) {
  Install({});
  TfrmLurn w(nullptr, false);
  w.Sessao().UsarRecentes(false);
  w.Sessao().Alterar(QStringLiteral("Preparar"), [&](TDocumento& doc) { doc.Adicionar(folhaFrente, Texto(QStringLiteral("Frente"))); });
  dialogs->ExportChoices.push_back(Choice(TExportDialogSpec::fmtSvg, TPrintDialogSpec::prSelection, 96));
  dialogs->Files.push_back(dir.filePath(QStringLiteral("frente.svg")));
  Escolher(w, "menuFicheiroExportar");
  QFile svg(dir.filePath(QStringLiteral("frente-1.svg")));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly)) << dialogs->Asked.join('\n').toStdString();
  EXPECT_TRUE(svg.readAll().contains("<svg"));
  EXPECT_TRUE(Warnings().isEmpty()) << Warnings().join('\n').toStdString();
}
