// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"

#include "platform/PictureLoader.h"
#include "platform/PrinterBackend.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {
std::unique_ptr<TDialogLayer>& LayerSlot() {
  static std::unique_ptr<TDialogLayer> layer;
  return layer;
}

QWidget* DialogParent() { return QApplication::activeWindow(); }

QString AppTitle() { return ApplicationTitle(); }
}  // namespace

TDialogLayer& Dialogs() {
  auto& slot = LayerSlot();
  if (!slot) slot = std::make_unique<QtDialogLayer>();
  return *slot;
}

std::unique_ptr<TDialogLayer> SetDialogs(std::unique_ptr<TDialogLayer> layer) {
  auto old = std::move(LayerSlot());
  LayerSlot() = std::move(layer);
  return old;
}

QString QtFilterFromPlatform(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString desc = parts[i];
    const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt reads the patterns from the parentheses of the description.
    if (!desc.contains(QLatin1Char('('))) desc += QStringLiteral(" (%1)").arg(pattern);
    out << desc;
  }
  return out.join(QStringLiteral(";;"));
}

QString WithDefaultExtension(const QString& fileName, const QString& defaultExt) {
  if (fileName.isEmpty() || defaultExt.isEmpty()) return fileName;
  if (!QFileInfo(fileName).suffix().isEmpty()) return fileName;
  QString ext = defaultExt;
  while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
  return ext.isEmpty() ? fileName : fileName + QLatin1Char('.') + ext;
}

QString PictureFilter() {
  QStringList todas;
  for (const QString& ext : PictureExtensions()) todas << QStringLiteral("*.") + ext;
  return QStringLiteral("Imagens (%1);;Todos os ficheiros (*)").arg(todas.join(QLatin1Char(' ')));
}

void QtDialogLayer::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, AppTitle(), text, QMessageBox::Ok, DialogParent());
  box.exec();
}

void QtDialogLayer::Warning(const QString& text) { TitledWarning(QStringLiteral("Aviso"), text); }

void QtDialogLayer::TitledWarning(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, DialogParent());
  box.exec();
}

TModalResult QtDialogLayer::ConfirmYesNoCancel(const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmação"), text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, DialogParent());
  box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
  box.button(QMessageBox::No)->setText(QStringLiteral("&Não"));
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancelar"));
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes: return TModalResult::Yes;
    case QMessageBox::No: return TModalResult::No;
    default: return TModalResult::Cancel;
  }
}

QString SaveDialogFileName(const TFileDialogSpec& pedido, const QString& accepted) {
  return WithDefaultExtension(accepted, pedido.DefaultExt);
}

bool SaveDialogMustConfirm(const TFileDialogSpec& pedido, const QString& fileName) {
  return pedido.OverwritePrompt && QFileInfo::exists(fileName);
}

QString OverwriteQuestion(const QString& fileName) {
  return QStringLiteral("%1 já existe.\nQuer substituí-lo?").arg(QFileInfo(fileName).fileName());
}

namespace {
std::optional<QString> RunOpenDialog(const TFileDialogSpec& pedido) {
  QFileDialog dlg(DialogParent(), pedido.Title, pedido.InitialDir, QtFilterFromPlatform(pedido.Filter));
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFile);
  if (!pedido.FileName.isEmpty()) dlg.selectFile(pedido.FileName);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  return dlg.selectedFiles().first();
}

// Qt's dialog (and a desktop's own one) would ask about replacing the name
// as typed, before the default extension is added: "capa" would not be
// asked about while "capa.lrn" exists, and then be saved over it.  The
// question is asked here instead, about the final name; answered No, the
// dialog opens again on that name.
std::optional<QString> RunSaveDialog(const TFileDialogSpec& pedido) {
  QString selected = pedido.FileName;
  for (;;) {
    QFileDialog dlg(DialogParent(), pedido.Title, pedido.InitialDir, QtFilterFromPlatform(pedido.Filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (!selected.isEmpty()) dlg.selectFile(selected);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    const QString name = SaveDialogFileName(pedido, dlg.selectedFiles().first());
    if (!SaveDialogMustConfirm(pedido, name)) return name;
    QMessageBox box(QMessageBox::Warning, pedido.Title, OverwriteQuestion(name), QMessageBox::Yes | QMessageBox::No,
                    DialogParent());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Não"));
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() == QMessageBox::Yes) return name;
    selected = name;
  }
}
}  // namespace

std::optional<QString> QtDialogLayer::OpenFile(const TFileDialogSpec& pedido) { return RunOpenDialog(pedido); }

std::optional<QString> QtDialogLayer::SaveFile(const TFileDialogSpec& pedido) { return RunSaveDialog(pedido); }

std::optional<QString> QtDialogLayer::OpenPicture(const QString& title) {
  const QString name = QFileDialog::getOpenFileName(DialogParent(), title, QString(), PictureFilter());
  if (name.isEmpty()) return std::nullopt;
  return name;
}

namespace {
// The font dialog of the platform also offers the text colour; Qt's does
// not, so it is shown inside a dialog of ours with a colour list.
//
// The dialog must not change what the user leaves alone.  A name such as
// "Arial" may be one the font system only resolves to another face (here
// "Liberation Sans"): Qt's dialog lists real faces only and would open on
// some other one, in another style, and OK would hand that back.  So
// the dialog opens on the face the name resolves to, in the given style and
// size, remembers what it showed, and at OK takes from it only what the
// user changed; everything else comes from the font it was given.
class FontAndColourDialog : public QDialog {
 public:
  explicit FontAndColourDialog(const TFont& initial, QWidget* parent) : QDialog(parent), font_(initial) {
    setWindowTitle(QStringLiteral("Tipo de letra"));
    auto* lay = new QVBoxLayout(this);
    QFont asked = initial.ToQFont();
    asked.setPointSize(std::max(1, initial.Size()));
    // The face and the style it is drawn with, named as the dialog lists
    // them: a regular face may call its style "Book", which the dialog
    // would not find for a plain font and replace by its first style.
    const QFontInfo drawn(asked);
    asked.setFamily(drawn.family());
    asked.setStyleName(drawn.styleName());
    fontDlg_ = new QFontDialog(this);
    fontDlg_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog |
                         QFontDialog::ScalableFonts);
    fontDlg_->setCurrentFont(asked);
    fontDlg_->setWindowFlags(Qt::Widget);
    shown_ = fontDlg_->currentFont();
    lay->addWidget(fontDlg_);
    auto* row = new QHBoxLayout;
    auto* rotuloCor = new QLabel(QStringLiteral("&Cor:"), this);
    row->addWidget(rotuloCor);
    colours_ = new QComboBox(this);
    colours_->setObjectName(QStringLiteral("cores"));
    // The label's "&" marks the key that takes the focus to the list.
    rotuloCor->setBuddy(colours_);
    static const std::pair<TColor, const char*> kColours[] = {
        {clBlack, "Preto"},      {clMaroon, "Castanho"}, {clGreen, "Verde"},   {clOlive, "Azeitona"},
        {clNavy, "Azul-marinho"}, {clPurple, "Roxo"},     {clTeal, "Azul-petróleo"}, {clGray, "Cinzento"},
        {clSilver, "Prateado"},  {clRed, "Vermelho"},   {clLime, "Lima"},      {clYellow, "Amarelo"},
        {clBlue, "Azul"},        {clFuchsia, "Fúcsia"}, {clAqua, "Água"},      {clWhite, "Branco"}};
    for (const auto& [c, name] : kColours) {
      QPixmap swatch(16, 16);
      swatch.fill(ColorToQColor(c));
      colours_->addItem(QIcon(swatch), QString::fromUtf8(name), QVariant::fromValue<uint>(c));
    }
    const TColor current = initial.Color & clSystemColor ? QColorToColor(ColorToQColor(initial.Color))
                                                         : initial.Color;
    int idx = colours_->findData(QVariant::fromValue<uint>(current));
    if (idx < 0) {
      QPixmap swatch(16, 16);
      swatch.fill(ColorToQColor(current));
      colours_->addItem(QIcon(swatch), QStringLiteral("Personalizada"), QVariant::fromValue<uint>(current));
      idx = colours_->count() - 1;
    }
    colours_->setCurrentIndex(idx);
    shownColour_ = idx;
    row->addWidget(colours_, 1);
    lay->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    // Enter in a field of the font part comes here: it presses OK.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    lay->addWidget(buttons);
    // Enter (or Escape) inside the font part's lists ends that inner dialog, which
    // would then hide itself and leave this one with only the colour row:
    // it ends this dialog instead.
    connect(fontDlg_, &QDialog::accepted, this, &QDialog::accept);
    connect(fontDlg_, &QDialog::rejected, this, &QDialog::reject);
    // Enter in its fields reaches the font part, which would swallow it.
    fontDlg_->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched == fontDlg_ && e->type() == QEvent::KeyPress) {
      const auto* k = static_cast<QKeyEvent*>(e);
      const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
      if (enter && (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        accept();
        return true;
      }
    }
    return QDialog::eventFilter(watched, e);
  }

  TFont Result() const {
    TFont f = font_;
    const QFont now = fontDlg_->currentFont();
    if (now.family() != shown_.family()) {
      f.Name = now.family();
      // Symbol faces keep their own character set; everything else is
      // offered in the Western set.
      f.Charset = QFontDatabase::writingSystems(now.family()).contains(QFontDatabase::Symbol)
                      ? SYMBOL_CHARSET
                      : ANSI_CHARSET;
    }
    if (now.pointSize() != shown_.pointSize() && now.pointSize() > 0) f.SetSize(now.pointSize());
    auto style = [&f](TFontStyles flag, bool was, bool is) {
      if (was == is) return;
      if (is)
        f.Style |= flag;
      else
        f.Style &= ~flag;
    };
    style(fsBold, shown_.bold(), now.bold());
    style(fsItalic, shown_.italic(), now.italic());
    style(fsUnderline, shown_.underline(), now.underline());
    style(fsStrikeOut, shown_.strikeOut(), now.strikeOut());
    if (colours_->currentIndex() != shownColour_) f.Color = colours_->currentData().value<uint>();
    return f;
  }

 private:
  TFont font_;
  QFont shown_;
  int shownColour_ = -1;
  QFontDialog* fontDlg_;
  QComboBox* colours_;
};
}  // namespace

std::optional<TFont> QtDialogLayer::ChooseFont(const TFont& initial) {
  FontAndColourDialog dlg(initial, DialogParent());
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  return dlg.Result();
}

std::optional<TColor> QtDialogLayer::ChooseColor(TColor initial) {
  const QColor c = QColorDialog::getColor(ColorToQColor(initial), DialogParent(), QStringLiteral("Cor"));
  if (!c.isValid()) return std::nullopt;
  return QColorToColor(c);
}

namespace {
// The input box: a box of several lines where Enter starts a new line and
// Ctrl+Enter (either Enter key) accepts, as OK does; a refused text is told
// and stays in the box.
class InputTextDialog : public QDialog {
 public:
  InputTextDialog(const QString& caption, const QString& prompt, const QString& value, TInputCheck check,
                  QWidget* parent)
      : QDialog(parent), check_(std::move(check)) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(prompt, this);
    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName(QStringLiteral("inputText"));
    edit_->setTabChangesFocus(true);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setPlainText(QString(value).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    edit_->selectAll();
    edit_->installEventFilter(this);
    label->setBuddy(edit_);
    auto* hint = new QLabel(QStringLiteral("Enter muda de linha; Ctrl+Enter aceita."), this);
    hint->setObjectName(QStringLiteral("inputHint"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &InputTextDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &InputTextDialog::reject);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    resize(420, 220);
  }
  // The text with its lines separated by CR LF.
  QString Text() const { return edit_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")); }

  void accept() override {
    if (check_) {
      const QString why = check_(Text());
      if (!why.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Aviso"), why, QMessageBox::Ok, this);
        box.exec();
        edit_->setFocus();
        return;
      }
    }
    QDialog::accept();
  }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o == edit_ && e->type() == QEvent::KeyPress) {
      const auto* k = static_cast<QKeyEvent*>(e);
      if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && (k->modifiers() & Qt::ControlModifier)) {
        accept();
        return true;
      }
    }
    return QDialog::eventFilter(o, e);
  }

 private:
  TInputCheck check_;
  QPlainTextEdit* edit_;
};
}  // namespace

QString QtDialogLayer::InputBox(const QString& caption, const QString& prompt, const QString& value,
                                const TInputCheck& check) {
  InputTextDialog dlg(caption, prompt, value, check, DialogParent());
  return dlg.exec() == QDialog::Accepted ? dlg.Text() : value;
}

QPrinter& ApplicationPrinter() {
  static QPrinter printer(QPrinter::HighResolution);
  return printer;
}

namespace {

// Qt's print engine for CUPS queues keeps what its dialog chose for the
// queue beyond QPrinter's own settings (pages per sheet, the page set, the
// job's options, the driver's own options of the "Advanced" page) under
// this property, as a list of keyword and value pairs, the way it would
// hand them to CUPS.
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The queue options the program takes as they are: everything but what it
// honours itself (pages, their order and copies, sides, colour, paper and
// orientation) and options left empty.
QMap<QString, QString> QueueOptionsOf(QPrinter& printer) {
  static const QStringList own = {
      QStringLiteral("page-set"),        QStringLiteral("page-ranges"),
      QStringLiteral("copies"),          QStringLiteral("collate"),
      QStringLiteral("outputorder"),     QStringLiteral("sides"),
      QStringLiteral("print-color-mode"), QStringLiteral("media"),
      QStringLiteral("PageSize"),        QStringLiteral("PageRegion"),
      QStringLiteral("orientation-requested"), QStringLiteral("landscape"),
  };
  QMap<QString, QString> out;
  const QStringList list = printer.printEngine()->property(kCupsOptions).toStringList();
  for (int i = 0; i + 1 < list.size(); i += 2)
    if (!list[i].isEmpty() && !list[i + 1].isEmpty() && !own.contains(list[i])) out.insert(list[i], list[i + 1]);
  return out;
}

QString PageSetOf(QPrinter& printer) {
  const QStringList list = printer.printEngine()->property(kCupsOptions).toStringList();
  for (int i = 0; i + 1 < list.size(); i += 2)
    if (list[i] == QLatin1String("page-set")) return list[i + 1];
  return QString();
}

// The printer's properties dialog, which Qt's print dialog opens on its
// own: it offers no orientation and no margins there (the cover's pages
// have their own orientation and are printed at true size), it opens on
// the paper the print is on (Qt would show the printer's default), and
// the paper chosen in it is noted.
class TPrinterPropertiesWatch : public QObject {
 public:
  explicit TPrinterPropertiesWatch(const QString& paper) : paper_(paper) {}
  QString Shown;   // the paper it opened on, the last time
  QString Chosen;  // the paper it was confirmed with, the last time

  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::Show && e->type() != QEvent::Hide) return false;
    auto* w = qobject_cast<QDialog*>(o);
    if (!w || !w->inherits("QPrintPropertiesDialog")) return false;
    auto* paper = w->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
    if (e->type() == QEvent::Show) {
      for (const char* inside : {"portrait", "topMargin"})
        if (auto* child = w->findChild<QWidget*>(QLatin1String(inside)); child && child->parentWidget())
          child->parentWidget()->hide();
      if (paper && paper->findText(paper_) >= 0) paper->setCurrentIndex(paper->findText(paper_));
      Shown = paper ? paper->currentText() : QString();
    } else if (w->result() == QDialog::Accepted && paper) {
      Chosen = paper->currentText();
    }
    return false;
  }

 private:
  QString paper_;
};

}  // namespace

bool QtDialogLayer::Print(TPrintDialogSpec& pedido) {
  QPrinter& printer = ApplicationPrinter();
  // The current printer is offered first, unless the last print went to a
  // file and no printer is named.
  if (!pedido.PrinterName.isEmpty()) {
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(pedido.PrinterName);
  }
  printer.setCopyCount(std::max(1, pedido.Copies));
  printer.setCollateCopies(pedido.Collate);
  QPrintDialog dlg(&printer, DialogParent());
  dlg.setWindowTitle(QStringLiteral("Imprimir"));
  dlg.setMinMax(pedido.MinPage, pedido.MaxPage);
  dlg.setFromTo(pedido.FromPage, pedido.ToPage);
  QAbstractPrintDialog::PrintDialogOptions opts =
      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintToFile;
  if (pedido.AllowPageNums) opts |= QAbstractPrintDialog::PrintPageRange;
  if (pedido.AllowSelection) opts |= QAbstractPrintDialog::PrintSelection;
  dlg.setOptions(opts);
  switch (pedido.PrintRange) {
    case TPrintDialogSpec::prSelection: dlg.setPrintRange(QAbstractPrintDialog::Selection); break;
    case TPrintDialogSpec::prPageNums: dlg.setPrintRange(QAbstractPrintDialog::PageRange); break;
    default: dlg.setPrintRange(QAbstractPrintDialog::AllPages); break;
  }
  // A list of single pages ("1,3") is not offered: the range is from one
  // page to another.
  for (const char* name : {"pagesRadioButton", "pagesLineEdit"})
    if (auto* w = dlg.findChild<QWidget*>(QLatin1String(name))) w->hide();
  // Qt's printer does not tell the colour mode of a CUPS queue chosen in
  // its dialog: it is read from the dialog.  A PDF file is written in
  // colour: shades of grey are not offered for it.
  auto* grey = dlg.findChild<QRadioButton*>(QStringLiteral("grayscale"));
  auto* colour = dlg.findChild<QRadioButton*>(QStringLiteral("color"));
  auto* fileName = dlg.findChild<QLineEdit*>(QStringLiteral("filename"));
  auto greyForPrintersOnly = [grey, colour, fileName] {
    if (!grey || !colour || !fileName) return;
    const bool toFile = fileName->isEnabled();
    if (toFile) colour->setChecked(true);
    grey->setEnabled(!toFile);
  };
  if (auto* printers = dlg.findChild<QComboBox*>(QStringLiteral("printers")))
    QObject::connect(printers, &QComboBox::currentIndexChanged, &dlg, greyForPrintersOnly);
  TPrinterPropertiesWatch properties(pedido.PaperName.isEmpty() ? QPageSize(QPageSize::A4).name()
                                                                 : pedido.PaperName);
  qApp->installEventFilter(&properties);
  struct TRemoveFilter {
    TPrinterPropertiesWatch& w;
    ~TRemoveFilter() { qApp->removeEventFilter(&w); }
  } removeFilter{properties};

  // The paper in the user's hands, on a tab of its own: which discs of a
  // label sheet, and the crop and fold marks.
  std::unique_ptr<QWidget> discs;
  QRadioButton* discRadios[3] = {};
  QCheckBox* marks = nullptr;
  const bool offerDiscs = pedido.DiscPosition >= 1 && pedido.DiscPosition <= 3;
  if (offerDiscs || pedido.Marks >= 0) {
    discs = std::make_unique<QWidget>();
    discs->setObjectName(QStringLiteral("papelNasMaos"));
    discs->setWindowTitle(QStringLiteral("Papel"));
    auto* layout = new QVBoxLayout(discs.get());
    if (pedido.Marks >= 0) {
      marks = new QCheckBox(QStringLiteral("Marcas de corte e dobra"), discs.get());
      marks->setObjectName(QStringLiteral("marcas"));
      marks->setChecked(pedido.Marks > 0);
      layout->addWidget(marks);
    }
  }
  if (offerDiscs) {
    auto* layout = static_cast<QVBoxLayout*>(discs->layout());
    const char* const texts[] = {"Só o disco 1 (em cima)", "Só o disco 2 (em baixo)", "Os dois discos"};
    for (int i = 0; i < 3; ++i) {
      discRadios[i] = new QRadioButton(QString::fromUtf8(texts[i]), discs.get());
      discRadios[i]->setObjectName(QStringLiteral("posicaoDisco%1").arg(i + 1));
      layout->addWidget(discRadios[i]);
    }
    discRadios[pedido.DiscPosition - 1]->setChecked(true);
  }
  if (discs) {
    static_cast<QVBoxLayout*>(discs->layout())->addStretch();
    dlg.setOptionTabs({discs.get()});
  }

  for (;;) {
    // Once the dialog has set itself up for the printer it shows.
    QTimer::singleShot(0, &dlg, greyForPrintersOnly);
    if (dlg.exec() != QDialog::Accepted) return false;
    // "Print to File" leaves Qt's printer without a printer name, set to
    // write a PDF file: that is the program's PDF output, never the default
    // printer.
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat || printer.printerName().isEmpty();
    if (!toFile) {
      pedido.OutputFileName.clear();
      break;
    }
    // The file is a PDF: a name typed without an extension gets ".pdf",
    // and an existing file is replaced only when the user says so (about
    // the name that will be written).
    const QString name = WithDefaultExtension(printer.outputFileName(), QStringLiteral("pdf"));
    const QFileInfo info(name);
    if (name.isEmpty() || name.endsWith(QLatin1Char('/')) || info.isDir()) {
      QMessageBox box(QMessageBox::Warning, QStringLiteral("Imprimir"),
                      QStringLiteral("Indique o nome do ficheiro PDF."), QMessageBox::Ok, DialogParent());
      box.exec();
      continue;
    }
    if (info.exists()) {
      QMessageBox box(QMessageBox::Warning, QStringLiteral("Imprimir"), OverwriteQuestion(name),
                      QMessageBox::Yes | QMessageBox::No, DialogParent());
      box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
      box.button(QMessageBox::No)->setText(QStringLiteral("&Não"));
      box.setDefaultButton(QMessageBox::No);
      if (box.exec() != QMessageBox::Yes) {
        printer.setOutputFileName(name);
        continue;
      }
    }
    pedido.OutputFileName = name;
    break;
  }
  for (int i = 0; i < 3; ++i)
    if (discRadios[i] && discRadios[i]->isChecked()) pedido.DiscPosition = i + 1;
  if (marks) pedido.Marks = marks->isChecked() ? 1 : 0;
  const bool toFile = !pedido.OutputFileName.isEmpty();
  switch (printer.printRange()) {
    case QPrinter::Selection: pedido.PrintRange = TPrintDialogSpec::prSelection; break;
    case QPrinter::PageRange: pedido.PrintRange = TPrintDialogSpec::prPageNums; break;
    default: pedido.PrintRange = TPrintDialogSpec::prAllPages; break;
  }
  pedido.FromPage = printer.fromPage() ? printer.fromPage() : pedido.MinPage;
  pedido.ToPage = printer.toPage() ? printer.toPage() : pedido.MaxPage;
  pedido.Copies = std::max(1, printer.copyCount());
  pedido.Collate = printer.collateCopies();
  pedido.Reverse = printer.pageOrder() == QPrinter::LastPageFirst;
  const QString set = toFile ? QString() : PageSetOf(printer);
  pedido.Set = set == QLatin1String("odd")    ? TPrintDialogSpec::setOdd
               : set == QLatin1String("even") ? TPrintDialogSpec::setEven
                                              : TPrintDialogSpec::setAll;
  switch (toFile ? QPrinter::DuplexNone : printer.duplex()) {
    case QPrinter::DuplexShortSide: pedido.Duplex = 2; break;
    case QPrinter::DuplexLongSide:
    case QPrinter::DuplexAuto: pedido.Duplex = 3; break;
    default: pedido.Duplex = 1; break;
  }
  pedido.Color = toFile || !grey || !grey->isChecked();
  if (!toFile && !properties.Chosen.isEmpty() && properties.Chosen != properties.Shown)
    pedido.PaperName = properties.Chosen;
  pedido.QueueOptions = toFile ? QMap<QString, QString>() : QueueOptionsOf(printer);
  pedido.PrinterName = toFile ? QString() : printer.printerName();
  return true;
}

namespace {
class TWidgetPrinterDialogHost : public TPrinterDialogHost {
 public:
  bool HasActiveWindow() override { return DialogParent() != nullptr; }
  bool PageSetupDialog(const QString& name, QPageLayout& layout) override {
    QWidget* parent = DialogParent();
    if (!parent) return false;
    QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageSize(layout.pageSize());
    printer.setPageOrientation(layout.orientation());
    QPageSetupDialog dlg(&printer, parent);
    if (dlg.exec() != QDialog::Accepted) return false;
    layout = printer.pageLayout();
    return true;
  }
};
}  // namespace

void InstallPrinterDialogHost() {
  SetPrinterDialogHost(std::make_unique<TWidgetPrinterDialogHost>());
}

namespace {
// Printer setup: which printer the program prints on, and on which paper
// from which paper source.
class PrinterSetupDialog : public QDialog {
 public:
  PrinterSetupDialog(TPrinterSetupSpec& setup, QWidget* parent) : QDialog(parent), spec_(setup) {
    setObjectName(QStringLiteral("dlgConfigurarImpressora"));
    setWindowTitle(QStringLiteral("Configurar Impressora"));
    auto* lay = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    printers_ = Combo(grid, 0, QStringLiteral("&Impressora:"), QStringLiteral("impressoras"));
    papers_ = Combo(grid, 1, QStringLiteral("&Papel:"), QStringLiteral("papeis"));
    bins_ = Combo(grid, 2, QStringLiteral("&Alimentação:"), QStringLiteral("alimentacao"));
    lay->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    if (setup.Calibrate) {
      auto* calibrate = buttons->addButton(QStringLiteral("&Calibrar…"), QDialogButtonBox::ActionRole);
      calibrate->setObjectName(QStringLiteral("calibrar"));
      connect(calibrate, &QPushButton::clicked, this, [this] { spec_.Calibrate(printers_->currentText()); });
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    lay->addWidget(buttons);
    printers_->addItems(setup.Printers);
    const int i = setup.Printers.indexOf(setup.PrinterName);
    printers_->setCurrentIndex(i >= 0 ? i : 0);
    FillLists(setup.PaperName, setup.BinName);
    connect(printers_, &QComboBox::currentIndexChanged, this,
            [this] { FillLists(papers_->currentText(), bins_->currentText()); });
    buttons->button(QDialogButtonBox::Ok)->setEnabled(printers_->count() > 0);
  }

  void Answer() {
    spec_.PrinterName = printers_->currentText();
    spec_.PaperName = papers_->currentText();
    spec_.BinName = bins_->currentText();
  }

 private:
  QComboBox* Combo(QGridLayout* grid, int row, const QString& label, const QString& name) {
    auto* l = new QLabel(label, this);
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    c->setMinimumWidth(240);
    l->setBuddy(c);
    grid->addWidget(l, row, 0);
    grid->addWidget(c, row, 1);
    return c;
  }
  // The papers and sources of the printer shown, keeping the ones chosen
  // where the printer has them too.
  void FillLists(const QString& paper, const QString& bin) {
    const QString printer = printers_->currentText();
    auto fill = [](QComboBox* c, const QStringList& items, const QString& keep) {
      c->clear();
      c->addItems(items);
      const int i = items.indexOf(keep);
      if (i >= 0) c->setCurrentIndex(i);
    };
    fill(papers_, spec_.Papers ? spec_.Papers(printer) : QStringList(), paper);
    fill(bins_, spec_.Bins ? spec_.Bins(printer) : QStringList(), bin);
  }

  TPrinterSetupSpec& spec_;
  QComboBox* printers_;
  QComboBox* papers_;
  QComboBox* bins_;
};
}  // namespace

bool QtDialogLayer::PrinterSetup(TPrinterSetupSpec& pedido) {
  PrinterSetupDialog dlg(pedido, DialogParent());
  if (dlg.exec() != QDialog::Accepted) return false;
  dlg.Answer();
  return true;
}
