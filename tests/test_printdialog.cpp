// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's print dialog with its real widgets (its page-list parser is
// the engine core's: test_pppagelist): the controls and their texts, the layout for the cover reports, the
// printers (none, local and network, one that cannot print), the copies
// spinner and its limits, the collation pictures, OK with its checks, and
// printing through the engine's print path with the dialog, the printer's
// own options dialog and the cancel dialog.
#include "reportforms/EngineDialogs.h"
#include "reportforms/ppPDlg.h"
#include "reportforms/ppPrnOpt.h"
#include "report/ppFormIntf.h"
#include "report/ppPrnDev.h"
#include "support/ModalDialogs.h"
#include "support/ReportFixtures.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// ---------------------------------------------------------------------------
// The dialog on its own

TScriptedPrinter Printer(const QString& name, bool network = false) {
  TScriptedPrinter p = TScriptedPrinter::Standard(name);
  p.Port = network ? QStringLiteral("ipp://server/printers/") + name : QStringLiteral("usb://") + name;
  p.Network = network;
  p.KeepPages = false;
  return p;
}

template <class T>
T* Child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

class PrintDialog : public ScriptedPrintersTest {
 protected:
  // A dialog as the engine makes it, for a printer of the given setup.
  std::unique_ptr<TppPrintDialog> Make() {
    printer_ = std::make_unique<TppPrinter>();
    printer_->ApplySetup(setup_);
    auto d = std::make_unique<TppPrintDialog>();
    d->Printer = printer_.get();
    d->PageRequest = &request_;
    d->SetLanguage(lgDefault);
    return d;
  }
  // Shows the dialog (modelessly) and lets it fill its controls.
  void Show(TppPrintDialog& d) {
    d.show();
    QCoreApplication::processEvents();
  }
  TppPrinterSetup setup_;
  TppPageRequest request_;
  std::unique_ptr<TppPrinter> printer_;
};

TEST_F(PrintDialog, ControlsCarryTheirTextsAndBounds) {
  Install({Printer("Laser")});
  auto d = Make();
  Show(*d);
  EXPECT_EQ(d->windowTitle(), "Imprimir");
  struct Text {
    const char* name;
    const char* text;
  };
  for (const Text& t : std::vector<Text>{
           {"lblPrinter", "Impressora"},
           {"lblPrinterName", "&Nome:"},
           {"lblNoPrintersInstalled", "Não está nenhuma impressora instalada no seu computador"},
           {"lblPrinterType", "Tipo:"},
           {"lblPrinterWhere", "Onde:"},
           {"lblPageRange", "Intervalo de Páginas"},
           {"lblPageRangeDescription",
            "Indique os Números de Páginas e/ou Intervalos Separados por Vírgulas.  Por "
            "Exemplo: 1,3,5-12"},
           {"lblCopies", "Cópias"},
           {"lblNumberOfCopies", "Numero de  &cópias:"},
           {"lblCollate", "colar"},
           {"lblPrintWhat", "Imp&rimir"},
           {"lblPrintToFile", "Imprimir para Ficheiro"},
       })
    EXPECT_EQ(Child<QLabel>(d.get(), t.name)->text(), QString::fromUtf8(t.text)) << t.name;
  for (const Text& t : std::vector<Text>{{"btnPrinterProperties", "&Propriedades"},
                                         {"btnOK", "OK"},
                                         {"btnCancel", "Cancelar"},
                                         {"rdbAll", "Todas"},
                                         {"rdbCurrentPage", "Página Actual"},
                                         {"rdbPages", "Páginas"}})
    EXPECT_EQ(Child<QAbstractButton>(d.get(), t.name)->text(), QString::fromUtf8(t.text)) << t.name;
  auto* what = Child<QComboBox>(d.get(), "cbxPrintWhat");
  ASSERT_EQ(what->count(), 3);
  EXPECT_EQ(what->itemText(0), "Todas as páginas do intervalo");
  EXPECT_EQ(what->itemText(1), "Páginas impares");
  EXPECT_EQ(what->itemText(2), "Páginas pares");
  EXPECT_EQ(what->currentIndex(), 0);

  EXPECT_EQ(Child<QWidget>(d.get(), "cbxPrinters")->geometry(), QRect(84, 25, 300, 22));
  EXPECT_EQ(Child<QWidget>(d.get(), "btnPrinterProperties")->geometry(), QRect(392, 25, 75, 21));
  EXPECT_EQ(Child<QWidget>(d.get(), "rdbAll")->geometry(), QRect(16, 115, 202, 17));
  EXPECT_EQ(Child<QWidget>(d.get(), "edtPageRange")->geometry(), QRect(78, 154, 159, 21));
  EXPECT_EQ(Child<QWidget>(d.get(), "edtCopies")->geometry(), QRect(396, 116, 61, 21));
  EXPECT_EQ(Child<QLineEdit>(d.get(), "edtCopies")->maxLength(), 3);
  EXPECT_EQ(Child<QWidget>(d.get(), "imgCollate")->geometry(), QRect(272, 148, 103, 53));
  EXPECT_EQ(Child<QWidget>(d.get(), "btnOK")->geometry(), QRect(322, 9, 75, 23));
  EXPECT_TRUE(Child<QRadioButton>(d.get(), "rdbAll")->isChecked());
}

TEST_F(PrintDialog, TheLayoutFollowsTheDescriptionAndTheFilePanelIsHiddenForTheCovers) {
  Install({Printer("Laser")});
  auto d = Make();
  Show(*d);
  auto* desc = Child<QLabel>(d.get(), "lblPageRangeDescription");
  auto* bevel = Child<QFrame>(d.get(), "bvlPageRange");
  // The description is as high as its wrapped lines.
  const QFontMetrics fm(desc->font());
  EXPECT_EQ(desc->height() % fm.height(), 0);
  EXPECT_GE(desc->height(), 2 * fm.height());
  const int gap = 9;  // 2381 thousandths of a millimetre at 96 pixels per inch
  const int height = desc->y() + desc->height() + gap - 105;
  ASSERT_NE(bevel, nullptr);
  EXPECT_EQ(bevel->height(), height);
  EXPECT_EQ(Child<QFrame>(d.get(), "bvlCopies")->height(), height);
  const int d0 = height - 110;
  auto* printWhat = Child<QWidget>(d.get(), "cbxPrintWhat");
  EXPECT_EQ(printWhat->geometry(), QRect(292, 225 + d0, 187, 21));
  auto* lblWhat = Child<QLabel>(d.get(), "lblPrintWhat");
  EXPECT_EQ(lblWhat->geometry().left() + lblWhat->width(), 285);
  // The cover reports print into no file: the panel is hidden and the
  // window 95 pixels lower than designed (after the adjustment above).
  EXPECT_TRUE(Child<QWidget>(d.get(), "pnlPrintToFile")->isHidden());
  EXPECT_EQ(d->height(), 388 - 95 + d0);
  EXPECT_EQ(d->width(), 482);
  EXPECT_EQ(Child<QWidget>(d.get(), "pnlBottom")->y(), 253 + d0);
}

TEST_F(PrintDialog, PrintersShowTheirPicturesTypeAndPlace) {
  Install({Printer("Zeta"), Printer("Alfa", true)}, "Zeta");
  setup_.SetPrinterName("Alfa");
  auto d = Make();
  Show(*d);
  auto* list = Child<QComboBox>(d.get(), "cbxPrinters");
  ASSERT_EQ(list->count(), 3);
  // Sorted, with the picture of each: 0 local, 1 network.
  EXPECT_EQ(list->itemText(0), "Alfa");
  EXPECT_EQ(list->itemData(0).toInt(), 1);
  EXPECT_EQ(list->itemText(1), "Default");
  EXPECT_EQ(list->itemText(2), "Zeta");
  EXPECT_EQ(list->itemData(2).toInt(), 0);
  EXPECT_EQ(list->currentText(), "Alfa");
  EXPECT_EQ(Child<QLabel>(d.get(), "lblPrinterTypeDesc")->text(), "Alfa");
  EXPECT_EQ(Child<QLabel>(d.get(), "lblPrinterWhereDesc")->text(), "ipp://server/printers/Alfa");
  EXPECT_FALSE(d->PrinterPictures()[0] == d->PrinterPictures()[1]);
  // Choosing another printer sets it in the printer's setup.
  list->setCurrentIndex(2);
  EXPECT_EQ(printer_->PrinterSetup()->PrinterName(), "Zeta");
  EXPECT_EQ(Child<QLabel>(d.get(), "lblPrinterWhereDesc")->text(), "usb://Zeta");
}

TEST_F(PrintDialog, NoPrintersInstalledIsToldAndOKStaysOpen) {
  Install({});
  ScriptedDialogsGuard dialogs;
  auto d = Make();
  Show(*d);
  EXPECT_TRUE(Child<QWidget>(d.get(), "cbxPrinters")->isHidden());
  EXPECT_TRUE(Child<QWidget>(d.get(), "btnPrinterProperties")->isHidden());
  EXPECT_FALSE(Child<QWidget>(d.get(), "lblNoPrintersInstalled")->isHidden());
  EXPECT_EQ(Child<QLabel>(d.get(), "lblPrinterTypeDesc")->text(), "");
  QTest::mouseClick(Child<QPushButton>(d.get(), "btnOK"), Qt::LeftButton);
  EXPECT_EQ(dialogs->Messages(),
            QStringList{"Não está nenhuma impressora instalada no seu computador"});
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(d->result(), QDialog::Rejected);
}

TEST_F(PrintDialog, APrinterThatCannotPrintKeepsTheDialogOpen) {
  TScriptedPrinter broken = Printer("Broken");
  broken.CanCreateContext = false;
  Install({broken});
  ScriptedDialogsGuard dialogs;
  auto d = Make();
  Show(*d);
  QTest::mouseClick(Child<QPushButton>(d.get(), "btnOK"), Qt::LeftButton);
  EXPECT_EQ(dialogs->Messages(),
            QStringList{"Windows não imprime devido a um problema com a impressora instalada"});
  EXPECT_TRUE(d->isVisible());
}

TEST_F(PrintDialog, APageListMustNamePages) {
  Install({Printer("Laser")});
  ScriptedDialogsGuard dialogs;
  auto d = Make();
  d->PageCount = 3;
  Show(*d);
  auto* pages = Child<QLineEdit>(d.get(), "edtPageRange");
  // Clicking into the list chooses "Páginas".
  QTest::mouseClick(pages, Qt::LeftButton);
  EXPECT_TRUE(Child<QRadioButton>(d.get(), "rdbPages")->isChecked());
  for (const char* none : {"abc", "", "7-9"}) {
    pages->setText(QString::fromLatin1(none));
    QTest::mouseClick(Child<QPushButton>(d.get(), "btnOK"), Qt::LeftButton);
    EXPECT_TRUE(d->isVisible()) << none;
  }
  EXPECT_EQ(dialogs->Messages(), QStringList(3, QStringLiteral("Nenhuma página escolhida")));
  // A list of pages closes the dialog with them, capped at the report's.
  pages->setText(QStringLiteral("2-2000000000"));
  QTest::mouseClick(Child<QPushButton>(d.get(), "btnOK"), Qt::LeftButton);
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->result(), QDialog::Accepted);
  EXPECT_EQ(request_.PageSetting, psPageList);
  EXPECT_EQ(request_.PageList, (QStringList{"2", "3"}));
}

TEST_F(PrintDialog, AllOrTheCurrentPageEmptyTheListAndSetTheRequest) {
  Install({Printer("Laser")});
  auto d = Make();
  request_.PageRequested = 2;
  request_.PageSetting = psPageList;
  request_.PageList = QStringList{"1", "3"};
  Show(*d);
  auto* pages = Child<QLineEdit>(d.get(), "edtPageRange");
  EXPECT_TRUE(Child<QRadioButton>(d.get(), "rdbPages")->isChecked());
  EXPECT_EQ(pages->text(), "1,3");
  QTest::mouseClick(Child<QRadioButton>(d.get(), "rdbCurrentPage"), Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_EQ(pages->text(), "");
  // Odd or even pages are kept whatever the page choice.
  Child<QComboBox>(d.get(), "cbxPrintWhat")->setCurrentIndex(2);
  QTest::mouseClick(Child<QPushButton>(d.get(), "btnOK"), Qt::LeftButton);
  EXPECT_EQ(d->result(), QDialog::Accepted);
  EXPECT_EQ(request_.PageSetting, psSinglePage);
  EXPECT_EQ(request_.PageRequested, 2);
  EXPECT_EQ(request_.PageRange, prEvenPages);
}

TEST_F(PrintDialog, WhatWasTypedSurvivesAnotherWindowComingInFront) {
  Install({Printer("Laser")});
  auto d = Make();
  Show(*d);
  ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
  auto* pages = Child<QLineEdit>(d.get(), "edtPageRange");
  QTest::mouseClick(pages, Qt::LeftButton);
  QTest::keyClicks(pages, QStringLiteral("1-2"));
  // A message box or another window in front, then the dialog again: it
  // is filled once per showing, so nothing typed is lost.
  QWidget other;
  other.resize(100, 50);
  other.show();
  QApplication::setActiveWindow(&other);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  other.hide();
  QApplication::setActiveWindow(d.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
  EXPECT_EQ(pages->text(), "1-2");
  EXPECT_TRUE(Child<QRadioButton>(d.get(), "rdbPages")->isChecked());
}

TEST_F(PrintDialog, TheCopiesSpinnerCountsBetweenOneAnd999) {
  Install({Printer("Laser")});
  auto d = Make();
  Show(*d);
  auto* copies = Child<QLineEdit>(d.get(), "edtCopies");
  TppUpDown* up = d->UpDown();
  ASSERT_NE(up, nullptr);
  // Inside the box's right end.
  EXPECT_EQ(up->geometry().right() + 1, 396 + 61 - 2);
  EXPECT_EQ(up->y(), 116 + 2);
  EXPECT_EQ(up->height(), 21 - 4);
  const QPoint upper(up->width() / 2, 2), lower(up->width() / 2, up->height() - 3);
  struct Step {
    const char* before;
    QPoint at;
    const char* after;
  };
  for (const Step& s : std::vector<Step>{{"998", upper, "999"},
                                         {"999", upper, "999"},
                                         {"2", lower, "1"},
                                         {"1", lower, "1"},
                                         {"0", lower, "1"},
                                         {"x", upper, "2"},
                                         {"x", lower, "1"}}) {
    copies->setText(QString::fromLatin1(s.before));
    QTest::mouseClick(up, Qt::LeftButton, {}, s.at);
    EXPECT_EQ(copies->text(), QString::fromLatin1(s.after)) << s.before;
  }
  // The arrow keys in the box count as well.
  copies->setText(QStringLiteral("5"));
  QTest::keyClick(copies, Qt::Key_Up);
  EXPECT_EQ(copies->text(), "6");
  QTest::keyClick(copies, Qt::Key_Down);
  QTest::keyClick(copies, Qt::Key_Down);
  EXPECT_EQ(copies->text(), "4");
  // Black triangles of 1, 3 and 5 pixels on rows 2-4 and h-3 to h-5.
  const QImage image = up->grab().toImage();
  const int cx = up->width() / 2, h = up->height();
  auto blackRun = [&](int y) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == Qt::black;
    return n;
  };
  EXPECT_EQ(image.pixelColor(cx, 2), QColor(Qt::black));
  EXPECT_EQ(blackRun(2), 1);
  EXPECT_EQ(blackRun(3), 3);
  EXPECT_EQ(blackRun(4), 5);
  EXPECT_EQ(blackRun(h - 3), 1);
  EXPECT_EQ(blackRun(h - 4), 3);
  EXPECT_EQ(blackRun(h - 5), 5);
}

TEST_F(PrintDialog, CopiesLeftAsNoNumberBecomeOneAndZeroIsIgnored) {
  Install({Printer("Laser")});
  setup_.SetCopies(2);
  auto d = Make();
  Show(*d);
  auto* copies = Child<QLineEdit>(d.get(), "edtCopies");
  EXPECT_EQ(copies->text(), "2");
  copies->setText(QStringLiteral("ab"));
  d->edtCopiesExit();
  EXPECT_EQ(copies->text(), "1");
  copies->setText(QStringLiteral("0"));
  d->edtCopiesExit();
  EXPECT_EQ(copies->text(), "0");
  QTest::mouseClick(Child<QPushButton>(d.get(), "btnOK"), Qt::LeftButton);
  EXPECT_EQ(d->result(), QDialog::Accepted);
  // The printer setup takes no count below 1.
  EXPECT_EQ(printer_->PrinterSetup()->Copies(), 2);
}

// The colour of a pixel of a picture.
QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

TEST_F(PrintDialog, TheCollationPicturesAreDrawnAndFollowTheBox) {
  Install({Printer("Laser")});
  setup_.SetCollation(false);
  auto d = Make();
  Show(*d);
  ASSERT_EQ(d->CollationPictures().size(), 2);
  const QImage collated = d->CollationPictures()[0];
  const QImage separate = d->CollationPictures()[1];
  EXPECT_EQ(collated.size(), QSize(102, 53));
  const QColor black(Qt::black), window = ColorToQColor(clWindow), face = ColorToQColor(clBtnFace);
  // Collated: the back page of each stack from x 18 (75) to 38 (95), the
  // front page 14 pixels further left and 26 lower, drawn over the others.
  EXPECT_EQ(At(collated, 18, 0), black);
  EXPECT_EQ(At(collated, 38, 25), black);
  EXPECT_EQ(At(collated, 75, 0), black);
  EXPECT_EQ(At(collated, 95, 25), black);
  EXPECT_EQ(At(collated, 4, 51), black);
  EXPECT_EQ(At(collated, 24, 26), black);
  EXPECT_EQ(At(collated, 10, 45), window);
  EXPECT_EQ(At(collated, 50, 10), face);
  // Not collated: pairs, the front page over the back one.
  EXPECT_EQ(At(separate, 8, 7), black);
  EXPECT_EQ(At(separate, 28, 32), black);
  EXPECT_EQ(At(separate, 1, 20), black);
  EXPECT_EQ(At(separate, 21, 45), black);
  EXPECT_EQ(At(separate, 73, 20), black);   // third pair's front page
  EXPECT_EQ(At(separate, 18, 25), window);  // inside the front page
  EXPECT_EQ(At(separate, 25, 10), window);  // the back page
  // Numbers are drawn on the pages.
  auto darkIn = [](const QImage& img, QRect r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += qGray(img.pixel(x, y)) < 100;
    return n;
  };
  EXPECT_GT(darkIn(separate, QRect(15, 34, 5, 7)), 0);
  EXPECT_GT(darkIn(collated, QRect(33, 14, 4, 7)), 0);

  // The box shows the matching picture and sets the printer's collation.
  auto* box = Child<QCheckBox>(d.get(), "cbxCollate");
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(d->CollationPictureIndex(), 1);
  QTest::mouseClick(Child<QLabel>(d.get(), "lblCollate"), Qt::LeftButton);
  EXPECT_TRUE(box->isChecked());
  EXPECT_EQ(d->CollationPictureIndex(), 0);
  EXPECT_TRUE(printer_->PrinterSetup()->Collation());
  EXPECT_EQ(Child<QLabel>(d.get(), "imgCollate")->pixmap().toImage().convertToFormat(
                QImage::Format_RGB32),
            collated.convertToFormat(QImage::Format_RGB32));
}

// A kind of file a report may print into (this program registers none).
class TTextFileDevice : public TppDevice {
 public:
  LURNS_COMPONENT(TTextFileDevice)
  using TppDevice::TppDevice;
  static QString DeviceName() { return QStringLiteral("TextFile"); }
};

TEST_F(PrintDialog, AReportThatMayPrintIntoAFileShowsThePanelAndNeedsAName) {
  Install({Printer("Laser")});
  RegisterDeviceClass<TTextFileDevice>();
  ScriptedDialogsGuard dialogs;
  auto d = Make();
  d->AllowPrintToFile = true;
  d->DeviceType = QStringLiteral("Printer");
  Show(*d);
  auto* panel = Child<QWidget>(d.get(), "pnlPrintToFile");
  EXPECT_FALSE(panel->isHidden());
  EXPECT_EQ(d->height(), Child<QWidget>(d.get(), "pnlPrint")->height() + 95 + 40);
  auto* kinds = Child<QComboBox>(d.get(), "cbxPrintToFileTypes");
  ASSERT_EQ(kinds->count(), 1);
  auto* name = Child<QLineEdit>(d.get(), "edtPrintToFileName");
  // The file controls work only with the box ticked.
  EXPECT_FALSE(name->isEnabled());
  QTest::mouseClick(Child<QLabel>(d.get(), "lblPrintToFile"), Qt::LeftButton);
  EXPECT_TRUE(Child<QCheckBox>(d.get(), "cbxPrintToFile")->isChecked());
  EXPECT_TRUE(name->isEnabled());
  QTest::mouseClick(Child<QPushButton>(d.get(), "btnOK"), Qt::LeftButton);
  EXPECT_EQ(dialogs->Messages(), QStringList{"Especifique o nome do ficheiro para continuar"});
  EXPECT_TRUE(d->isVisible());
  // The save dialog's name goes into the box; a name without an extension
  // gets the kind's own.
  QTemporaryDir dir;
  dialogs->Files.push_back(dir.filePath(QStringLiteral("capa")));
  QTest::mouseClick(Child<QWidget>(d.get(), "spbPrintToFile"), Qt::LeftButton);
  EXPECT_EQ(name->text(), dir.filePath(QStringLiteral("capa.txt")));
  EXPECT_EQ(d->TextFileName, dir.filePath(QStringLiteral("capa.txt")));
  ASSERT_FALSE(dialogs->FileSpecs.empty());
  EXPECT_EQ(dialogs->FileSpecs.back().DefaultExt, "txt");
  EXPECT_TRUE(dialogs->FileSpecs.back().OverwritePrompt);
  // Typed without an extension (or ending in "."), the name gets the kind's.
  name->clear();
  QTest::keyClicks(name, dir.filePath(QStringLiteral("outra.")));
  QTest::mouseClick(Child<QPushButton>(d.get(), "btnOK"), Qt::LeftButton);
  EXPECT_EQ(d->result(), QDialog::Accepted);
  EXPECT_EQ(d->TextFileName, dir.filePath(QStringLiteral("outra.txt")));
  EXPECT_EQ(d->DeviceType, "TextFile");
  EXPECT_TRUE(d->PrintToFile);
  EXPECT_FALSE(d->PrintToArchive);
  UnregisterDeviceClass<TTextFileDevice>();
}

// ---------------------------------------------------------------------------
// Through the engine's print path

class PrintDialogPath : public ScriptedPrintersTest {
 protected:
  void SetUp() override {
    RegisterDeviceClass<TppPrinterDevice>();
    RegisterEngineDialogs();
  }
  void TearDown() override {
    UnregisterEngineDialogs();
    UnregisterDeviceClass<TppPrinterDevice>();
    ScriptedPrintersTest::TearDown();
  }
};

// A report of `pages` pages with a black square 10 mm further right on each
// page, so the printed page tells its number.
struct Pages {
  TComponent owner;
  TestReport r;
  TppShape* marker;
  explicit Pages(int pages) : r(&owner, poPortrait, 150000) {
    r.band->SetPrintCount(pages);
    r.report->SetAutoStop(false);
    r.report->SetDeviceType(QStringLiteral("Printer"));
    marker = r.Square(0, 0, 5000, &owner);
    marker->OnPrint = [this](TComponent*) { marker->SetmmLeft(10000 * r.report->Engine()->PageNo()); };
  }
};

// The page numbers the printed pages show.
std::vector<int> PrintedPages(const TScriptedDocument& doc, int ppi = 100) {
  std::vector<int> out;
  for (const TScriptedPage& p : doc.Pages) {
    int x0 = p.Image.width();
    for (int y = 0; y < p.Image.height(); ++y)
      for (int x = 0; x < x0; ++x)
        if (qGray(p.Image.pixel(x, y)) < 128) x0 = x;
    out.push_back(int(std::lround((x0 * 25.4 / ppi - 6.35) / 10)));
  }
  return out;
}

TScriptedPrinter KeepingPrinter(const QString& name) {
  TScriptedPrinter p = TScriptedPrinter::Standard(name);
  p.PixelsPerInchX = p.PixelsPerInchY = 100;
  return p;
}

// Answers the print dialog by setting its controls, then OK.
std::function<void(QWidget*)> Choose(std::function<void(QWidget*)> set) {
  return [set](QWidget* w) {
    set(w);
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
  };
}

TEST_F(PrintDialogPath, OddAndEvenPagesAreTakenFromTheChosenOnes) {
  TScriptedPrinterBackend& backend = Install({KeepingPrinter("P")});
  Pages report(6);
  // The preview ran before: the dialog knows the report's pages.
  TCaptureDevice viewer;
  viewer.AttachPublisher(report.r.report->Publisher());
  report.r.report->GenerateToDevices();
  viewer.AttachPublisher(nullptr);
  {
    ExpectDialog print("the print dialog", ObjectNameIs("ppPrintDialog"), Choose([](QWidget* w) {
                         w->findChild<QLineEdit*>("edtPageRange")->setText("2-2000000000");
                         w->findChild<QRadioButton*>("rdbPages")->setChecked(true);
                         w->findChild<QComboBox*>("cbxPrintWhat")->setCurrentIndex(1);
                       }));
    report.r.report->Print();
    EXPECT_TRUE(print.Answered());
  }
  ASSERT_EQ(backend.Documents.size(), 1);
  EXPECT_EQ(PrintedPages(backend.Documents[0]), (std::vector<int>{3, 5}));
}

TEST_F(PrintDialogPath, TheCurrentPagePrintsExactlyThatPage) {
  TScriptedPrinterBackend& backend = Install({KeepingPrinter("P")});
  Pages report(3);
  report.r.report->SetCurrentPageNo(1);
  {
    ExpectDialog print("the print dialog", ObjectNameIs("ppPrintDialog"), Choose([](QWidget* w) {
                         QTest::mouseClick(w->findChild<QRadioButton*>("rdbCurrentPage"),
                                           Qt::LeftButton, {}, QPoint(6, 8));
                       }));
    report.r.report->Print();
    EXPECT_TRUE(print.Answered());
  }
  ASSERT_EQ(backend.Documents.size(), 1);
  EXPECT_EQ(PrintedPages(backend.Documents[0]), (std::vector<int>{1}));
}

TEST_F(PrintDialogPath, TheQueueOptionsChosenInThePropertiesReachTheJob) {
  TScriptedPrinter p = KeepingPrinter("P");
  p.Options = {
      {"media", "Papel", {"9", "1"}, {"A4", "Letter"}, {}},
      {"sides", "Frente e verso", {"one-sided", "two-sided-long-edge"}, {"Uma face", "Duas faces"}, {}},
      {"print-quality", "Qualidade", {"3", "4", "5"}, {"Rascunho", "Normal", "Alta"}, "4"},
  };
  TScriptedPrinterBackend& backend = Install({p});
  Pages report(1);
  QString offeredQuality;
  ExpectDialog options(
      "the printer's options", ObjectNameIs("ppPrinterOptionsDialog"), [&](QWidget* w) {
        auto* dialog = static_cast<TppPrinterOptionsDialog*>(w);
        offeredQuality = dialog->OptionBox("print-quality")->currentData().toString();
        dialog->OptionBox("print-quality")->setCurrentIndex(2);
        dialog->OptionBox("sides")->setCurrentIndex(1);
        QTest::mouseClick(w->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
      });
  bool setupChanged = false;
  ExpectDialog print("the print dialog", ObjectNameIs("ppPrintDialog"), Choose([&](QWidget* w) {
                       // The printer's dialog belongs to the active window,
                       // as the dialog is when the user clicks in it.
                       EXPECT_TRUE(QTest::qWaitForWindowActive(w));
                       QTest::mouseClick(w->findChild<QPushButton*>("btnPrinterProperties"),
                                         Qt::LeftButton);
                       setupChanged = static_cast<TppPrintDialog*>(w)->SetupChanged;
                     }));
  QStringList statuses;
  report.r.report->OnCancelDialogCreate = [&](TComponent*) {
    auto* dialog = dynamic_cast<QWidget*>(report.r.report->CancelDialog());
    ASSERT_NE(dialog, nullptr);
    auto* memo = dialog->findChild<QTextEdit*>("memMessage");
    ASSERT_NE(memo, nullptr);
    QObject::connect(memo, &QTextEdit::textChanged, memo,
                     [&statuses, memo] { statuses.append(memo->toPlainText()); });
  };
  report.r.report->Print();
  EXPECT_TRUE(print.Answered());
  EXPECT_TRUE(options.Answered());
  EXPECT_TRUE(setupChanged);
  EXPECT_EQ(offeredQuality, "4");
  ASSERT_EQ(backend.Documents.size(), 1);
  ASSERT_EQ(backend.Documents[0].Pages.size(), 1);
  const TDriverSettings& job = backend.Documents[0].Pages[0].Settings;
  EXPECT_EQ(job.DriverOptions.value("print-quality"), "5");
  EXPECT_EQ(job.Duplex, int(TDriverSettings::DuplexVertical));
  EXPECT_EQ(job.PaperSize, 9);
  // The cancel dialog told the page while it printed.
  EXPECT_TRUE(statuses.contains("A Imprimir a Página 1 de 1 para o Relatório Report em P"))
      << statuses.join(" | ").toStdString();
  // The report's own setup is as it was.
  EXPECT_EQ(report.r.report->PrinterSetup()->Duplex(), dpNone);
}

TEST_F(PrintDialogPath, CancelInTheDialogPrintsNothing) {
  TScriptedPrinterBackend& backend = Install({KeepingPrinter("P")});
  Pages report(2);
  ExpectDialog print("the print dialog", ObjectNameIs("ppPrintDialog"), ClickButton("btnCancel"));
  report.r.report->Print();
  EXPECT_TRUE(print.Answered());
  EXPECT_TRUE(backend.Documents.isEmpty());
}

}  // namespace
