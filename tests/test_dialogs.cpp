// SPDX-License-Identifier: GPL-3.0-or-later
// The real Qt dialogs behind the dialog layer, driven by code: the test
// finds each dialog among the top-level windows, looks at its caption,
// icon and buttons, sets its controls and presses a button, and checks what
// the layer answers.  (Every other test answers dialogs through the
// scripted layer, which never shows these.)
#include "editor/Lurns.h"
#include "editor/ReInit.h"
#include "platform/Dialogs.h"
#include "support/ModalDialogs.h"
#include "support/QtPrint.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <optional>

void PrintTo(const TFont& f, std::ostream* os) {
  *os << '"' << f.Name.toStdString() << "\" height " << f.Height << " style " << int(f.Style) << " colour 0x"
      << std::hex << f.Color << std::dec << " set " << int(f.Charset);
}

namespace {

void ClickStandard(QWidget* dialog, QDialogButtonBox::StandardButton which) {
  auto* box = dialog->findChild<QDialogButtonBox*>();
  ASSERT_NE(box, nullptr) << dialog->windowTitle().toStdString();
  ASSERT_NE(box->button(which), nullptr) << dialog->windowTitle().toStdString();
  box->button(which)->click();
}

// The texts of a message box's buttons, in the order they are laid out.
QStringList ButtonTexts(QMessageBox* box) {
  QStringList out;
  for (QAbstractButton* b : box->findChild<QDialogButtonBox*>()->buttons()) out << b->text();
  out.sort();
  return out;
}

class RealDialogs : public ::testing::Test {
 protected:
  QtDialogLayer layer;
};

// ---------------------------------------------------------------------------
// Captions: exactly the designed ones, never with the program's name added.

TEST_F(RealDialogs, StartUpLeavesCaptionsAsDesigned) {
  PrepararAplicacao();
  EXPECT_EQ(ApplicationTitle(), "Lurns para CD");
  // Qt appends the application display name to every window caption on a
  // desktop ("Sobre — Lurns para CD") when one is set; unset, it is the
  // application name and nothing is appended.
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
  EXPECT_EQ(QCoreApplication::applicationName(), "Lurns");
}

// ---------------------------------------------------------------------------
// Message boxes.

TEST_F(RealDialogs, MessageBoxesHaveTheirCaptionsIconsAndButtons) {
  struct Case {
    const char* what;
    std::function<void()> show;
    QString caption;
    QMessageBox::Icon icon;
  } cases[] = {
      {"message", [&] { layer.ShowMessage("Ficheiro gravado."); }, ApplicationTitle(),
       QMessageBox::NoIcon},
      {"warning", [&] { layer.Warning("Erro ao abrir o ficheiro."); }, "Aviso", QMessageBox::Warning},
      {"titled warning",
       [&] { layer.TitledWarning("Lurns para CD", "Application \"Lurns para CD\" is already running."); },
       "Lurns para CD", QMessageBox::Warning},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectDialog box(c.what, [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                     [&](QWidget* w) {
                       auto* m = static_cast<QMessageBox*>(w);
                       EXPECT_EQ(m->windowTitle(), c.caption);
                       EXPECT_EQ(m->icon(), c.icon);
                       EXPECT_EQ(ButtonTexts(m), QStringList{"OK"});
                       EXPECT_TRUE(m->isModal());
                       m->button(QMessageBox::Ok)->click();
                     });
    c.show();
    EXPECT_TRUE(box.Answered());
  }
}

TEST_F(RealDialogs, TheQuestionAnswersWhatWasPressed) {
  struct Case {
    QMessageBox::StandardButton press;  // NoButton: Escape
    TModalResult want;
  } cases[] = {{QMessageBox::Yes, TModalResult::Yes},
               {QMessageBox::No, TModalResult::No},
               {QMessageBox::Cancel, TModalResult::Cancel},
               {QMessageBox::NoButton, TModalResult::Cancel}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.press));
    ExpectDialog question("the question", TitleIs(QString::fromUtf8("Confirmação")), [&](QWidget* w) {
      auto* m = static_cast<QMessageBox*>(w);
      EXPECT_EQ(m->text(), "Ficheiro alterado. Gravar?");
      EXPECT_EQ(m->icon(), QMessageBox::Question);
      EXPECT_EQ(ButtonTexts(m), (QStringList{"&Não", "&Sim", "Cancelar"}));
      EXPECT_EQ(m->defaultButton(), m->button(QMessageBox::Yes));
      if (c.press == QMessageBox::NoButton)
        QTest::keyClick(m, Qt::Key_Escape);
      else
        m->button(c.press)->click();
    });
    EXPECT_EQ(layer.ConfirmYesNoCancel("Ficheiro alterado. Gravar?"), c.want);
    EXPECT_TRUE(question.Answered());
  }
}

// The input box takes several lines: Enter starts a new one, Ctrl+Enter
// (or OK) accepts; the lines come back separated by CR LF, as a cover
// keeps them, and a text of several lines is shown with its lines.
TEST_F(RealDialogs, InputBoxTakesSeveralLinesAndAcceptsWithCtrlEnterOrOk) {
  enum Accept { Ok, CtrlEnter, CtrlKeypadEnter, Cancel };
  for (Accept how : {Ok, CtrlEnter, CtrlKeypadEnter, Cancel}) {
    SCOPED_TRACE(int(how));
    ExpectDialog input("the input box", TitleIs(QString::fromUtf8("Introdução")), [&](QWidget* w) {
      EXPECT_EQ(w->findChild<QLabel*>()->text(), "Introduza o texto");
      auto* edit = w->findChild<QPlainTextEdit*>("inputText");
      ASSERT_NE(edit, nullptr);
      EXPECT_EQ(edit->toPlainText(), "Lado A\nLado B");
      edit->setPlainText(QString());
      QTest::keyClicks(edit, "1. Um");
      QTest::keyClick(edit, Qt::Key_Return);
      QTest::keyClicks(edit, "2. Dois");
      EXPECT_TRUE(w->isVisible()) << "Enter must not accept";
      switch (how) {
        case Ok: ClickStandard(w, QDialogButtonBox::Ok); break;
        case CtrlEnter: QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier); break;
        case CtrlKeypadEnter: QTest::keyClick(edit, Qt::Key_Enter, Qt::ControlModifier); break;
        case Cancel: ClickStandard(w, QDialogButtonBox::Cancel); break;
      }
    });
    EXPECT_EQ(layer.InputBox(QString::fromUtf8("Introdução"), "Introduza o texto", "Lado A\r\nLado B", {}),
              how == Cancel ? "Lado A\r\nLado B" : "1. Um\r\n2. Dois");
    EXPECT_TRUE(input.Answered());
  }
}

// A text the check refuses is told in a warning and stays in the box,
// which stays open until a text is accepted (or the box cancelled).
TEST_F(RealDialogs, InputBoxTellsWhyATextIsRefusedAndKeepsIt) {
  QStringList checked;
  const TInputCheck check = [&](const QString& t) {
    checked << t;
    return t.size() > 5 ? QStringLiteral("Cabem 5 caracteres.") : QString();
  };
  bool warned = false;
  ExpectDialog input("the input box", TitleIs(QString::fromUtf8("Introdução")), [&](QWidget* w) {
    auto* edit = w->findChild<QPlainTextEdit*>("inputText");
    ASSERT_NE(edit, nullptr);
    edit->setPlainText("ab\ncd");  // 6 characters with CR LF
    ExpectDialog warning("the warning", TitleIs("Aviso"), [&](QWidget* m) {
      EXPECT_EQ(static_cast<QMessageBox*>(m)->text(), "Cabem 5 caracteres.");
      EXPECT_EQ(static_cast<QMessageBox*>(m)->icon(), QMessageBox::Warning);
      warned = true;
      static_cast<QMessageBox*>(m)->button(QMessageBox::Ok)->click();
    });
    ClickStandard(w, QDialogButtonBox::Ok);
    EXPECT_TRUE(warning.Answered());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(edit->toPlainText(), "ab\ncd");
    edit->setPlainText("abc");
    ClickStandard(w, QDialogButtonBox::Ok);
  });
  EXPECT_EQ(layer.InputBox(QString::fromUtf8("Introdução"), "Introduza o texto", "x", check), "abc");
  EXPECT_TRUE(warned);
  EXPECT_EQ(checked, (QStringList{"ab\r\ncd", "abc"}));
}

// ---------------------------------------------------------------------------
// File dialogs.

class RealFileDialogs : public RealDialogs {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QFile f(dir.filePath("capa.lrn"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  TFileDialogSpec Request(const QString& title, bool save) const {
    TFileDialogSpec s;
    s.Title = title;
    s.Filter = "Lurns CD (*.lrn)|*.lrn";
    s.DefaultExt = "lrn";
    s.OverwritePrompt = save;
    s.InitialDir = dir.path();
    return s;
  }
  // Types `name` into the dialog's file name box and presses its button.
  static std::function<void(QWidget*)> Type(const QString& name) {
    return [name](QWidget* w) {
      auto* d = static_cast<QFileDialog*>(w);
      auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(edit, nullptr);
      edit->setText(name);
      d->findChild<QDialogButtonBox*>()->buttons().first()->click();
      if (d->isVisible()) {
        ADD_FAILURE() << "the dialog did not take " << name.toStdString();
        d->reject();
      }
    };
  }
  QTemporaryDir dir;
};

TEST_F(RealFileDialogs, OpenShowsItsCaptionFilterAndFolderAndAnswersTheChosenFile) {
  ExpectDialog open("Abrir Lurn", TitleIs("Abrir Lurn"), [&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(d->nameFilters(), QStringList{"Lurns CD (*.lrn)"});
    EXPECT_EQ(d->directory().absolutePath(), QDir(dir.path()).absolutePath());
    Type("capa.lrn")(w);
  });
  EXPECT_EQ(layer.OpenFile(Request("Abrir Lurn", false)), std::optional<QString>(dir.filePath("capa.lrn")));

  ExpectDialog cancelled("Abrir Lurn", TitleIs("Abrir Lurn"),
                         [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_EQ(layer.OpenFile(Request("Abrir Lurn", false)), std::nullopt);
}

TEST_F(RealFileDialogs, SaveAddsTheExtensionToANameTypedWithoutOne) {
  ExpectDialog save("Gravar Lurn", TitleIs("Gravar Lurn"), [&](QWidget* w) {
    EXPECT_EQ(static_cast<QFileDialog*>(w)->acceptMode(), QFileDialog::AcceptSave);
    Type("nova")(w);
  });
  EXPECT_EQ(layer.SaveFile(Request("Gravar Lurn", true)), std::optional<QString>(dir.filePath("nova.lrn")));
}

TEST_F(RealFileDialogs, SavingOverAFileAsksFirst) {
  ExpectDialog save("Gravar Lurn", TitleIs("Gravar Lurn"), Type("capa.lrn"));
  ExpectDialog overwrite("the overwrite question", [](QWidget* w) { return qobject_cast<QMessageBox*>(w); },
                         [](QWidget* w) { static_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click(); });
  EXPECT_EQ(layer.SaveFile(Request("Gravar Lurn", true)), std::optional<QString>(dir.filePath("capa.lrn")));
  EXPECT_TRUE(overwrite.Answered());
}

TEST_F(RealFileDialogs, PictureDialogOffersThePictureFormats) {
  QFile png(dir.filePath("foto.png"));
  ASSERT_TRUE(png.open(QIODevice::WriteOnly));
  png.close();
  ExpectDialog picture("Adicionar Imagem", TitleIs("Adicionar Imagem"), [&](QWidget* w) {
    auto* d = static_cast<QFileDialog*>(w);
    ASSERT_EQ(d->nameFilters().size(), 2);
    EXPECT_EQ(d->nameFilters().value(0), PictureFilter().split(";;").value(0));
    for (const char* ext : {"*.jpg", "*.bmp", "*.ico", "*.png", "*.gif", "*.svg"})
      EXPECT_TRUE(d->nameFilters().value(0).contains(ext)) << ext;
    d->setDirectory(dir.path());
    Type("foto.png")(w);
  });
  EXPECT_EQ(layer.OpenPicture("Adicionar Imagem"), std::optional<QString>(dir.filePath("foto.png")));
}

// ---------------------------------------------------------------------------
// The colour dialog.

TEST_F(RealDialogs, ColourDialogStartsOnTheColourAndAnswersTheChosenOne) {
  ExpectDialog colour("Cor", TitleIs("Cor"), [](QWidget* w) {
    auto* d = qobject_cast<QColorDialog*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->currentColor(), QColor(0x12, 0x34, 0x56));
    d->setCurrentColor(QColor(0x00, 0x80, 0xFF));
    ClickStandard(w, QDialogButtonBox::Ok);
  });
  EXPECT_EQ(layer.ChooseColor(TColor(0x563412)), std::optional<TColor>(0xFF8000));

  ExpectDialog cancelled("Cor", TitleIs("Cor"), [](QWidget* w) { ClickStandard(w, QDialogButtonBox::Cancel); });
  EXPECT_EQ(layer.ChooseColor(clRed), std::nullopt);
}

// ---------------------------------------------------------------------------
// The font dialog.

class RealFontDialog : public RealDialogs {
 protected:
  // Runs the font dialog on `initial`; `drive` changes what it likes in
  // Qt's font dialog and the colour list, then OK is pressed.
  std::optional<TFont> Run(const TFont& initial,
                           const std::function<void(QFontDialog*, QComboBox*)>& drive,
                           bool ok = true) {
    ExpectDialog font("Tipo de letra", TitleIs("Tipo de letra"), [&](QWidget* w) {
      auto* fd = w->findChild<QFontDialog*>();
      auto* colours = w->findChild<QComboBox*>();
      ASSERT_NE(fd, nullptr);
      ASSERT_NE(colours, nullptr);
      shown = fd->currentFont();
      families = Families(fd);
      drive(fd, colours);
      ClickStandard(w, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
    });
    return layer.ChooseFont(initial);
  }
  // The items of the dialog's list (faces, styles or sizes) that holds
  // `one`.
  static QListView* ListWith(QFontDialog* fd, const QString& one) {
    for (QListView* list : fd->findChildren<QListView*>())
      for (int i = 0; i < list->model()->rowCount(); ++i)
        if (list->model()->index(i, 0).data().toString() == one) return list;
    return nullptr;
  }
  static QStringList Items(QListView* list) {
    QStringList items;
    for (int i = 0; list && i < list->model()->rowCount(); ++i)
      items << list->model()->index(i, 0).data().toString();
    return items;
  }
  // The faces the dialog offers.
  static QStringList Families(QFontDialog* fd) { return Items(ListWith(fd, QStringLiteral("DejaVu Sans"))); }
  // Picks an item in one of the dialog's lists, as a click would.
  static void Pick(QFontDialog* fd, const QString& item) {
    QListView* list = ListWith(fd, item);
    ASSERT_NE(list, nullptr) << item.toStdString();
    const QStringList items = Items(list);
    list->setCurrentIndex(list->model()->index(int(items.indexOf(item)), 0));
  }
  static TFont ArialBoldItalic() {
    TFont f;
    f.Name = "Arial";
    f.SetSize(12);
    f.Style = fsBold | fsItalic;
    f.Color = clRed;
    f.Charset = ANSI_CHARSET;
    return f;
  }

  QFont shown;
  QStringList families;
};

// "Arial" is a name the font system resolves to another face: the dialog
// opens on that face in the given style and size, and OK without a change
// gives back exactly the font it was given.
TEST_F(RealFontDialog, OkWithoutAChangeGivesBackTheSameFont) {
  TFont plain;  // the platform's default: a system colour and another set
  plain.Name = "MS Sans Serif";
  plain.Charset = DEFAULT_CHARSET;
  TFont underlined = ArialBoldItalic();
  underlined.Style = fsUnderline | fsStrikeOut;
  underlined.Color = 0x123456;  // not in the colour list
  for (const TFont& initial : {ArialBoldItalic(), plain, underlined}) {
    SCOPED_TRACE(initial.Name.toStdString());
    const std::optional<TFont> got = Run(initial, [](QFontDialog*, QComboBox*) {});
    ASSERT_TRUE(got);
    EXPECT_EQ(got->Name, initial.Name);
    EXPECT_EQ(got->Height, initial.Height);
    EXPECT_EQ(got->Style, initial.Style);
    EXPECT_EQ(got->Color, initial.Color);
    EXPECT_EQ(got->Charset, initial.Charset);
    EXPECT_EQ(shown.pointSize(), initial.Size());
    EXPECT_EQ(shown.bold(), bool(initial.Style & fsBold));
    EXPECT_EQ(shown.italic(), bool(initial.Style & fsItalic));
  }
  // The face it opened on is the one "Arial" is drawn with.
  Run(ArialBoldItalic(), [](QFontDialog*, QComboBox*) {});
  EXPECT_EQ(shown.family(), QFontInfo(QFont("Arial")).family());
}

TEST_F(RealFontDialog, EnterAcceptsTheWholeDialog) {
  // Enter in the lists or the fields of the font part ends the dialog, as
  // OK does, instead of leaving it with only the colour row.
  for (const char* onde : {"lista", "campo"}) {
    SCOPED_TRACE(onde);
    bool fechado = false;
    ExpectDialog font("Tipo de letra", TitleIs("Tipo de letra"), [&](QWidget* w) {
      auto* fd = w->findChild<QFontDialog*>();
      ASSERT_NE(fd, nullptr);
      QWidget* alvo = QLatin1String(onde) == QLatin1String("lista") ? static_cast<QWidget*>(fd->findChild<QListView*>())
                                                                    : static_cast<QWidget*>(fd->findChild<QLineEdit*>());
      ASSERT_NE(alvo, nullptr);
      alvo->setFocus();
      QTest::keyClick(alvo, Qt::Key_Return);
      QCoreApplication::processEvents();
      fechado = !w->isVisible();
      EXPECT_TRUE(fechado);
      EXPECT_TRUE(fd->isVisible() || !w->isVisible());
      if (w->isVisible()) ClickStandard(w, QDialogButtonBox::Cancel);
    });
    const std::optional<TFont> got = layer.ChooseFont(ArialBoldItalic());
    EXPECT_TRUE(fechado);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->Name, "Arial");
  }
}

TEST_F(RealFontDialog, TheColourLabelMarksTheKeyOfTheColourList) {
  Run(ArialBoldItalic(), [](QFontDialog* fd, QComboBox* colours) {
    QLabel* rotulo = nullptr;
    for (QLabel* l : fd->parentWidget()->findChildren<QLabel*>())
      if (l->text() == QLatin1String("&Cor:")) rotulo = l;
    ASSERT_NE(rotulo, nullptr);
    EXPECT_EQ(rotulo->buddy(), colours);
  });
}

// Qt's own texts in its dialogs follow the program's language.
TEST_F(RealDialogs, ThePlatformsDialogsSpeakTheLanguageChosen) {
  struct {
    int lingua;
    QString cancelar, basicas, estilo;
  } cases[] = {{2070, "Cancelar", QString::fromUtf8("Cores &básicas"), "&Estilo Tipo de Letra"},
               {1033, "Cancel", "&Basic colors", "Font st&yle"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lingua);
    EXPECT_TRUE(LoadPlatformTranslations(c.lingua));
    ExpectDialog colour("Cor", TitleIs("Cor"), [&](QWidget* w) {
      QStringList rotulos;
      for (QLabel* l : w->findChildren<QLabel*>()) rotulos << l->text();
      EXPECT_TRUE(rotulos.contains(c.basicas)) << rotulos.join('|').toStdString();
      auto* box = w->findChild<QDialogButtonBox*>();
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->button(QDialogButtonBox::Cancel)->text(), c.cancelar);
      ClickStandard(w, QDialogButtonBox::Cancel);
    });
    layer.ChooseColor(clRed);
    ExpectDialog font("Tipo de letra", TitleIs("Tipo de letra"), [&](QWidget* w) {
      QStringList rotulos;
      for (QLabel* l : w->findChildren<QLabel*>()) rotulos << l->text();
      EXPECT_TRUE(rotulos.contains(c.estilo)) << rotulos.join('|').toStdString();
      ClickStandard(w, QDialogButtonBox::Cancel);
    });
    layer.ChooseFont(TFont());
    ExpectDialog message("caixa", [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                         [&](QWidget* w) {
                           auto* m = static_cast<QMessageBox*>(w);
                           EXPECT_EQ(m->button(QMessageBox::Cancel)->text(), c.cancelar);
                           m->button(QMessageBox::Cancel)->click();
                         });
    QMessageBox caixa(QMessageBox::Question, "Teste", "Texto", QMessageBox::Ok | QMessageBox::Cancel);
    caixa.exec();
  }
  // A folder without Qt's translations changes nothing and says so.
  QTemporaryDir vazia;
  EXPECT_FALSE(LoadPlatformTranslations(2070, vazia.path()));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
  LoadPlatformTranslations(1033);
}

TEST_F(RealFontDialog, AChangeTakesOnlyWhatWasChanged) {
  const TFont initial = ArialBoldItalic();
  // The size.
  std::optional<TFont> got = Run(initial, [](QFontDialog* fd, QComboBox*) { Pick(fd, "20"); });
  ASSERT_TRUE(got);
  TFont want = initial;
  want.SetSize(20);
  EXPECT_EQ(*got, want);
  // The face.
  // A face the project installs in all four styles (fonts-liberation2).
  got = Run(initial, [](QFontDialog* fd, QComboBox*) { Pick(fd, "Liberation Serif"); });
  ASSERT_TRUE(got);
  EXPECT_EQ(got->Name, "Liberation Serif");
  EXPECT_EQ(got->Style, fsBold | fsItalic);
  EXPECT_EQ(got->Size(), 12);
  EXPECT_EQ(got->Color, clRed);
  // Bold off.
  got = Run(initial, [](QFontDialog* fd, QComboBox*) { Pick(fd, "Italic"); });
  ASSERT_TRUE(got);
  want = initial;
  want.Style = fsItalic;
  EXPECT_EQ(*got, want);
  // The colour.
  got = Run(initial, [](QFontDialog*, QComboBox* colours) {
    colours->setCurrentIndex(colours->findText("Azul"));
  });
  ASSERT_TRUE(got);
  want = initial;
  want.Color = clBlue;
  EXPECT_EQ(*got, want);
  // Cancel.
  EXPECT_EQ(Run(initial, [](QFontDialog*, QComboBox*) {}, false), std::nullopt);
}

TEST_F(RealFontDialog, OffersScalableFacesOnly) {
  // A bitmap face of the Windows compatibility fonts.
  const QString file = "/usr/share/wine/fonts/coure.fon";
  ASSERT_TRUE(QFile::exists(file)) << "fonts-wine is not installed";
  const int id = QFontDatabase::addApplicationFont(file);
  ASSERT_GE(id, 0);
  const QStringList bitmap = QFontDatabase::applicationFontFamilies(id);
  ASSERT_FALSE(bitmap.isEmpty());
  ASSERT_FALSE(QFontDatabase::isScalable(bitmap.first()));

  Run(ArialBoldItalic(), [](QFontDialog*, QComboBox*) {});
  ASSERT_FALSE(families.isEmpty());
  EXPECT_FALSE(families.contains(bitmap.first())) << bitmap.first().toStdString();
  for (const QString& f : families) EXPECT_TRUE(QFontDatabase::isScalable(f)) << f.toStdString();
  QFontDatabase::removeApplicationFont(id);
}

}  // namespace

// ---------------------------------------------------------------------------
// Printing dialogs.

namespace {

// "Print to File" in Qt's print dialog answers the file, never a printer,
// with the range and copies chosen; Cancel answers false.
TEST_F(RealDialogs, PrintDialogAnswersPrintToFileAsAFileAndNoPrinter) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("capa.pdf"));
  TPrintDialogSpec request;
  request.MinPage = 1;
  request.MaxPage = 3;
  request.FromPage = 1;
  request.ToPage = 3;
  request.AllowPageNums = true;
  request.AllowSelection = true;
  request.Copies = 1;
  bool sawFileEntry = false;
  ExpectDialog print("the print dialog", TitleIs(QStringLiteral("Imprimir")), [&](QWidget* w) {
    auto* printers = w->findChild<QComboBox*>(QStringLiteral("printers"));
    ASSERT_NE(printers, nullptr);
    // Without any printer installed, the file is the one choice; else it
    // is the last entry.
    printers->setCurrentIndex(printers->count() - 1);
    auto* name = w->findChild<QLineEdit*>(QStringLiteral("filename"));
    ASSERT_NE(name, nullptr);
    sawFileEntry = name->isEnabled();
    name->setText(file);
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
      if (b->objectName() == QLatin1String("printSelection")) b->click();
    static_cast<QDialog*>(w)->accept();
  });
  ASSERT_TRUE(layer.Print(request));
  EXPECT_TRUE(print.Answered());
  EXPECT_TRUE(sawFileEntry);
  EXPECT_TRUE(request.PrinterName.isEmpty()) << request.PrinterName.toStdString();
  EXPECT_EQ(request.OutputFileName, file);
  EXPECT_EQ(request.PrintRange, TPrintDialogSpec::prSelection);
  EXPECT_GE(request.Copies, 1);

  ExpectDialog cancel("the print dialog", TitleIs(QStringLiteral("Imprimir")),
                      [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(layer.Print(request));
}

// The paper in the user's hands, on a tab of its own: which discs of a
// label sheet, and the marks; not offered, no tab.
TEST_F(RealDialogs, ThePrintDialogOffersTheDiscsOfALabelSheetAndTheMarks) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("etiquetas.pdf"));
  TPrintDialogSpec request;
  request.MaxPage = 3;
  request.ToPage = 3;
  request.DiscPosition = 3;
  request.Marks = 0;
  ExpectDialog print("the print dialog", TitleIs(QStringLiteral("Imprimir")), [&](QWidget* w) {
    auto* printers = w->findChild<QComboBox*>(QStringLiteral("printers"));
    ASSERT_NE(printers, nullptr);
    printers->setCurrentIndex(printers->count() - 1);
    w->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(file);
    auto* both = w->findChild<QRadioButton*>(QStringLiteral("posicaoDisco3"));
    auto* second = w->findChild<QRadioButton*>(QStringLiteral("posicaoDisco2"));
    auto* marks = w->findChild<QCheckBox*>(QStringLiteral("marcas"));
    ASSERT_TRUE(both && second && marks);
    EXPECT_TRUE(both->isChecked());
    EXPECT_FALSE(marks->isChecked());
    second->setChecked(true);
    marks->setChecked(true);
    static_cast<QDialog*>(w)->accept();
  });
  ASSERT_TRUE(layer.Print(request));
  EXPECT_EQ(request.DiscPosition, 2);
  EXPECT_EQ(request.Marks, 1);

  TPrintDialogSpec plain;
  plain.MaxPage = 3;
  plain.ToPage = 3;
  ExpectDialog none("the print dialog", TitleIs(QStringLiteral("Imprimir")), [](QWidget* w) {
    EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("papelNasMaos")), nullptr);
    static_cast<QDialog*>(w)->reject();
  });
  EXPECT_FALSE(layer.Print(plain));
  EXPECT_EQ(plain.DiscPosition, 0);
  EXPECT_EQ(plain.Marks, -1);
}

// "Print to File" writes a PDF: a name typed without an extension gets
// ".pdf", and an existing file is replaced only when the user says so —
// answered No, the dialog opens again.  A PDF file is in colour: shades of
// grey are not offered for it.
TEST_F(RealDialogs, PrintToFileAddsPdfAndAsksBeforeReplacingAFile) {
  QTemporaryDir dir;
  {
    QFile old(dir.filePath(QStringLiteral("capa.pdf")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  }
  auto isPrintDialog = [](QWidget* w) { return qobject_cast<QPrintDialog*>(w) != nullptr; };
  bool greyOffered = true;
  // Chooses the file entry, types the name and presses OK.
  auto typeFile = [&](const QString& name) {
    return [&, name](QWidget* w) {
      auto* printers = w->findChild<QComboBox*>(QStringLiteral("printers"));
      ASSERT_NE(printers, nullptr);
      printers->setCurrentIndex(printers->count() - 1);
      greyOffered = w->findChild<QRadioButton*>(QStringLiteral("grayscale"))->isEnabled();
      w->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(dir.filePath(name));
      static_cast<QDialog*>(w)->accept();
    };
  };
  TPrintDialogSpec request;
  request.MaxPage = request.ToPage = 3;
  {
    ExpectDialog print("the print dialog", isPrintDialog, typeFile(QStringLiteral("nova")));
    ASSERT_TRUE(layer.Print(request));
  }
  EXPECT_EQ(request.OutputFileName, dir.filePath(QStringLiteral("nova.pdf")));
  EXPECT_FALSE(greyOffered);
  EXPECT_TRUE(request.Color);

  // "capa" is "capa.pdf", which exists: No, and the dialog is there again.
  std::optional<ExpectDialog> again;
  QString question;
  {
    ExpectDialog print("the print dialog", isPrintDialog, typeFile(QStringLiteral("capa")));
    ExpectDialog overwrite(
        "the overwrite question", [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
        [&](QWidget* w) {
          question = static_cast<QMessageBox*>(w)->text();
          again.emplace("the print dialog again", isPrintDialog, typeFile(QStringLiteral("outra.pdf")));
          static_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
        });
    ASSERT_TRUE(layer.Print(request));
    EXPECT_TRUE(overwrite.Answered());
  }
  ASSERT_TRUE(again);
  EXPECT_TRUE(again->Answered());
  again.reset();
  EXPECT_EQ(question, OverwriteQuestion(dir.filePath(QStringLiteral("capa.pdf"))));
  EXPECT_EQ(request.OutputFileName, dir.filePath(QStringLiteral("outra.pdf")));

  // Yes replaces it.
  {
    ExpectDialog print("the print dialog", isPrintDialog, typeFile(QStringLiteral("capa")));
    ExpectDialog overwrite(
        "the overwrite question", [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
        [](QWidget* w) { static_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click(); });
    ASSERT_TRUE(layer.Print(request));
  }
  EXPECT_EQ(request.OutputFileName, dir.filePath(QStringLiteral("capa.pdf")));
}

// Printer setup chooses a printer and, for it, a paper and a source.
TEST_F(RealDialogs, PrinterSetupAnswersThePrinterPaperAndSourceChosen) {
  TPrinterSetupSpec request;
  request.Printers = {QStringLiteral("Alfa"), QStringLiteral("Beta")};
  request.PrinterName = QStringLiteral("Alfa");
  request.Papers = [](const QString& p) {
    return p == QLatin1String("Alfa") ? QStringList{"A4", "Letter"} : QStringList{"A4", "A5"};
  };
  request.Bins = [](const QString&) { return QStringList{"Default", "Manual"}; };
  request.PaperName = QStringLiteral("A4");
  request.BinName = QStringLiteral("Default");
  ExpectDialog setup("printer setup", TitleIs(QStringLiteral("Configurar Impressora")), [](QWidget* w) {
    w->findChild<QComboBox*>(QStringLiteral("impressoras"))->setCurrentIndex(1);
    auto* papers = w->findChild<QComboBox*>(QStringLiteral("papeis"));
    EXPECT_EQ(papers->currentText(), "A4");  // kept: Beta has A4 too
    papers->setCurrentIndex(papers->findText(QStringLiteral("A5")));
    auto* bins = w->findChild<QComboBox*>(QStringLiteral("alimentacao"));
    bins->setCurrentIndex(bins->findText(QStringLiteral("Manual")));
    ClickStandard(w, QDialogButtonBox::Ok);
  });
  ASSERT_TRUE(layer.PrinterSetup(request));
  EXPECT_EQ(request.PrinterName, "Beta");
  EXPECT_EQ(request.PaperName, "A5");
  EXPECT_EQ(request.BinName, "Manual");
}

// The export dialog offers the resolution only for pictures and drawings,
// and the pages from-to only when a range is chosen; it answers what was
// chosen, and Cancelar changes nothing.
TEST_F(RealDialogs, ExportAnswersTheFormatResolutionAndPagesChosen) {
  TExportDialogSpec request;
  request.MinPage = 1;
  request.MaxPage = 3;
  request.FromPage = 1;
  request.ToPage = 3;
  ExpectDialog choose("export", TitleIs(QStringLiteral("Exportar")), [](QWidget* w) {
    auto* dpi = w->findChild<QSpinBox*>(QStringLiteral("resolucao"));
    auto* de = w->findChild<QSpinBox*>(QStringLiteral("de"));
    EXPECT_FALSE(dpi->isEnabled());  // a PDF has none
    EXPECT_FALSE(de->isEnabled());
    w->findChild<QRadioButton*>(QStringLiteral("formatoPng"))->setChecked(true);
    EXPECT_TRUE(dpi->isEnabled());
    dpi->setValue(300);
    w->findChild<QRadioButton*>(QStringLiteral("paginasIntervalo"))->setChecked(true);
    EXPECT_TRUE(de->isEnabled());
    de->setValue(2);
    de->setValue(9);  // beyond the pages there are
    ClickStandard(w, QDialogButtonBox::Ok);
  });
  ASSERT_TRUE(layer.Export(request));
  EXPECT_EQ(request.Formato, TExportDialogSpec::fmtPng);
  EXPECT_EQ(request.Dpi, 300);
  EXPECT_EQ(request.PrintRange, TPrintDialogSpec::prPageNums);
  EXPECT_EQ(request.FromPage, 3);
  EXPECT_EQ(request.ToPage, 3);

  const TExportDialogSpec before = request;
  ExpectDialog cancel("export", TitleIs(QStringLiteral("Exportar")), [](QWidget* w) {
    EXPECT_TRUE(w->findChild<QRadioButton*>(QStringLiteral("formatoPng"))->isChecked());  // as it was left
    w->findChild<QRadioButton*>(QStringLiteral("formatoSvg"))->setChecked(true);
    ClickStandard(w, QDialogButtonBox::Cancel);
  });
  EXPECT_FALSE(layer.Export(request));
  EXPECT_EQ(request.Formato, before.Formato);
}

// "Calibrar…" is there when the program offers calibration, and calibrates
// the printer shown.
TEST_F(RealDialogs, PrinterSetupOffersTheCalibrationOfThePrinterShown) {
  TPrinterSetupSpec request;
  request.Printers = {QStringLiteral("Alfa"), QStringLiteral("Beta")};
  request.PrinterName = QStringLiteral("Alfa");
  QStringList calibrated;
  ExpectDialog plain("printer setup", TitleIs(QStringLiteral("Configurar Impressora")), [](QWidget* w) {
    EXPECT_EQ(w->findChild<QPushButton*>(QStringLiteral("calibrar")), nullptr);
    ClickStandard(w, QDialogButtonBox::Cancel);
  });
  EXPECT_FALSE(layer.PrinterSetup(request));
  request.Calibrate = [&](const QString& printer) { calibrated << printer; };
  ExpectDialog setup("printer setup", TitleIs(QStringLiteral("Configurar Impressora")), [](QWidget* w) {
    w->findChild<QComboBox*>(QStringLiteral("impressoras"))->setCurrentIndex(1);
    auto* button = w->findChild<QPushButton*>(QStringLiteral("calibrar"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8("&Calibrar…"));
    button->click();
    ClickStandard(w, QDialogButtonBox::Cancel);
  });
  EXPECT_FALSE(layer.PrinterSetup(request));
  EXPECT_EQ(calibrated, QStringList{"Beta"});
}

}  // namespace
