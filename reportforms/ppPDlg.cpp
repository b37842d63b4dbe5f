// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportforms/ppPDlg.h"

#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "report/ppDevice.h"
#include "report/ppPrintr.h"
#include "report/ppUtils.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHideEvent>
#include <QShowEvent>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

// ---------------------------------------------------------------------------
// Up-down

namespace {
constexpr int kUpDownWidth = 15;
}

TppUpDown::TppUpDown(QLineEdit* edit) : QWidget(edit->parentWidget()), edit_(edit) {
  setObjectName(QStringLiteral("UpDown"));
  setCursor(Qt::ArrowCursor);
  Realign();
  raise();
  edit_->installEventFilter(this);
  connect(&repeat_, &QTimer::timeout, this, [this] {
    repeat_.setInterval(100);
    if (pressed_ >= 0) Click(pressed_ == 0 ? btNext : btPrev);
  });
}

void TppUpDown::Click(TUDBtnType button) {
  if (OnClick) OnClick(button);
}

bool TppUpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Click(key == Qt::Key_Up ? btNext : btPrev);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TppUpDown::Realign() {
  const QRect e = edit_->geometry();
  setGeometry(e.left() + e.width() - kUpDownWidth - 2, e.top() + 2, kUpDownWidth, e.height() - 4);
}

TppUpDown::TUDBtnType TppUpDown::ButtonAt(const QPoint& point) const {
  return point.y() < height() / 2 ? btNext : btPrev;
}

void TppUpDown::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor face = ColorToQColor(clBtnFace);
  const QColor light = ColorToQColor(clBtnHighlight);
  const QColor shadow = ColorToQColor(clBtnShadow);
  const int half = height() / 2;
  // Two buttons, the pressed one sunk.
  for (int b = 0; b < 2; ++b) {
    const QRect r = b == 0 ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
    const bool down = pressed_ == b;
    p.fillRect(r, face);
    p.setPen(down ? shadow : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(down ? light : shadow);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
  }
  // The arrows: three lines each, 1, 3 and 5 pixels wide, centred.
  const int x = width() / 2;
  const int h = height();
  p.setPen(Qt::black);
  for (int i = 0; i < 3; ++i) {
    p.drawLine(x - i, 2 + i, x + i, 2 + i);               // up: rows 2, 3, 4
    p.drawLine(x - i, h - 3 - i, x + i, h - 3 - i);       // down: rows h-3, h-4, h-5
  }
}

void TppUpDown::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const TUDBtnType b = ButtonAt(event->position().toPoint());
  pressed_ = b == btNext ? 0 : 1;
  update();
  Click(b);
  // Held down, the arrow repeats.
  repeat_.start(400);
}

void TppUpDown::mouseReleaseEvent(QMouseEvent*) {
  repeat_.stop();
  pressed_ = -1;
  update();
}

// ---------------------------------------------------------------------------
// Collation pictures

QImage TppMetaBitmap::DrawBitmap() const {
  QImage image(Width, Height, QImage::Format_RGB32);
  image.fill(ColorToQColor(BackgroundColor));
  QPainter painter(&image);
  Draw(painter);
  return image;
}

void TppMetaBitmap::DrawPage(QPainter& painter, int left, int top, int right, int bottom) {
  const int w = right - left + 1, h = bottom - top + 1;
  painter.fillRect(left, top, w, h, ColorToQColor(clWindow));
  painter.fillRect(left, top, w, 1, Qt::black);
  painter.fillRect(left, bottom, w, 1, Qt::black);
  painter.fillRect(left, top, 1, h, Qt::black);
  painter.fillRect(right, top, 1, h, Qt::black);
}

void TppMetaBitmap::DrawNumber(QPainter& painter, int x, int y, const QString& text) {
  // "SMALL FONTS" 7 points, as drawn at 96 pixels per inch.
  QFont font(DrawableFace(QStringLiteral("Small Fonts")));
  font.setPixelSize(9);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRect(x - 1, y - 2, 20, 20), Qt::AlignLeft | Qt::AlignTop, text);
}

TppCollationBitmap::TppCollationBitmap() {
  Width = 102;
  Height = 53;
  BackgroundColor = clBtnFace;
}

void TppCollationBitmap::Draw(QPainter& painter) const {
  static const char* const labels[] = {"3", "2", "1"};
  static const int labelX[] = {33, 26, 18};
  static const int labelY[] = {15, 28, 41};
  for (const int stackLeft : {18, 75}) {
    const int shift = stackLeft - 18;
    for (int i = 0; i < 3; ++i) {
      const int left = stackLeft - 7 * i;
      DrawPage(painter, left, 13 * i, left + 20, 13 * i + 25);
      DrawNumber(painter, labelX[i] + shift, labelY[i], QString::fromLatin1(labels[i]));
    }
  }
}

TppNonCollationBitmap::TppNonCollationBitmap() {
  Width = 102;
  Height = 53;
  BackgroundColor = clBtnFace;
}

void TppNonCollationBitmap::Draw(QPainter& painter) const {
  static const int frontX[] = {15, 52, 88};
  static const int backX[] = {23, 59, 95};
  for (int i = 0; i < 3; ++i) {
    const int a = 36 * i;
    const QString n = QString::number(i + 1);
    DrawPage(painter, a + 8, 7, a + 28, 32);
    DrawNumber(painter, backX[i], 22, n);
    DrawPage(painter, a + 1, 20, a + 21, 45);
    DrawNumber(painter, frontX[i], 35, n);
  }
}

// ---------------------------------------------------------------------------
// The dialog

namespace {

// The two printer pictures: a printer on the desk, and one on the network.
QImage PrinterPicture(bool network) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setPen(Qt::black);
  // Paper coming out of the top, the body, the output slot.
  p.fillRect(4, 1, 8, 5, Qt::white);
  p.drawRect(4, 1, 7, 5);
  p.fillRect(1, 6, 14, 6, QColor(192, 192, 192));
  p.drawRect(1, 6, 13, 5);
  p.drawLine(3, 9, 12, 9);
  p.fillRect(12, 7, 2, 1, QColor(0, 160, 0));
  if (network) {
    // A cable from the printer to the network below.
    p.setPen(QColor(0, 0, 160));
    p.drawLine(7, 12, 7, 14);
    p.drawLine(2, 14, 13, 14);
    p.drawLine(2, 15, 2, 15);
    p.drawLine(13, 15, 13, 15);
  }
  return image;
}

// The printer list's items: the picture at (1, 1) and the name at (21, 2).
class TPrinterItemDelegate : public QStyledItemDelegate {
 public:
  TPrinterItemDelegate(const QList<QImage>* pictures, QObject* parent)
      : QStyledItemDelegate(parent), pictures_(pictures) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    const int kind = index.data(Qt::UserRole).isValid() ? index.data(Qt::UserRole).toInt() : 1;
    if (kind >= 0 && kind < pictures_->size())
      painter->drawImage(option.rect.left() + 1, option.rect.top() + 1, pictures_->at(kind));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(QRect(option.rect.left() + 21, option.rect.top() + 2, option.rect.width() - 21,
                            option.rect.height() - 2),
                      Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width() + 21, 16);
  }

 private:
  const QList<QImage>* pictures_;
};

QFrame* Bevel(QWidget* parent, const char* name, const QRect& r) {
  auto* f = new QFrame(parent);
  f->setObjectName(QString::fromLatin1(name));
  f->setFrameStyle(QFrame::Box | QFrame::Sunken);
  f->setGeometry(r);
  f->lower();
  return f;
}

QLabel* Label(QWidget* parent, const char* name, int left, int top, int width = -1,
              int height = 13) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  if (width < 0) {
    l->move(left, top);
  } else {
    l->setGeometry(left, top, width, height);
  }
  return l;
}

// Sizes a label that has no fixed width to its text.
void AutoSize(QLabel* l) {
  l->adjustSize();
  l->resize(l->sizeHint().width(), 13);
}

// The number at the start of a text, as copies are typed; nothing when
// there is none.
std::optional<int> NumberIn(const QString& text) {
  bool ok = false;
  const int n = text.trimmed().toInt(&ok);
  if (ok) return n;
  return std::nullopt;
}

}  // namespace

namespace {
const TppPrintDialog::TFileKind* FileKinds(int& count);
}

TppPrintDialog::TppPrintDialog(QWidget* parent) : TppCustomPrintDialog(parent) {
  setObjectName(QStringLiteral("ppPrintDialog"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  QFont formFont(QStringLiteral("MS Sans Serif"));
  formFont.setPixelSize(11);
  setFont(formFont);
  CreateControls();
  FormCreate();
  LanguageChanged();
}

TppPrintDialog::~TppPrintDialog() = default;

void TppPrintDialog::CreateControls() {
  resize(482, 388);
  pnlPrint = new TPanel(this);
  pnlPrint->setObjectName(QStringLiteral("pnlPrint"));
  pnlPrint->BevelOuter = bvNone;
  pnlPrint->setGeometry(0, 0, 482, 253);
  QWidget* p = pnlPrint;

  bvlPrinter = Bevel(p, "bvlPrinter", QRect(7, 13, 471, 81));
  lblPrinter = Label(p, "lblPrinter", 14, 7);
  lblPrinterName = Label(p, "lblPrinterName", 14, 28, 67);
  cbxPrinters = new QComboBox(p);
  cbxPrinters->setObjectName(QStringLiteral("cbxPrinters"));
  cbxPrinters->setGeometry(84, 25, 300, 22);
  cbxPrinters->setItemDelegate(new TPrinterItemDelegate(&printerPictures_, cbxPrinters));
  cbxPrinters->setIconSize(QSize(16, 16));
  lblPrinterName->setBuddy(cbxPrinters);
  lblNoPrintersInstalled = Label(p, "lblNoPrintersInstalled", 84, 28, 389);
  lblNoPrintersInstalled->hide();
  btnPrinterProperties = new QPushButton(p);
  btnPrinterProperties->setObjectName(QStringLiteral("btnPrinterProperties"));
  btnPrinterProperties->setGeometry(392, 25, 75, 21);
  lblPrinterType = Label(p, "lblPrinterType", 14, 52);
  lblPrinterTypeDesc = Label(p, "lblPrinterTypeDesc", 84, 52, 389);
  lblPrinterWhere = Label(p, "lblPrinterWhere", 14, 74);
  lblPrinterWhereDesc = Label(p, "lblPrinterWhereDesc", 84, 74, 389);

  bvlPageRange = Bevel(p, "bvlPageRange", QRect(7, 105, 242, 110));
  lblPageRange = Label(p, "lblPageRange", 14, 99);
  rdbAll = new QRadioButton(p);
  rdbAll->setObjectName(QStringLiteral("rdbAll"));
  rdbAll->setGeometry(16, 115, 202, 17);
  rdbAll->setChecked(true);
  rdbCurrentPage = new QRadioButton(p);
  rdbCurrentPage->setObjectName(QStringLiteral("rdbCurrentPage"));
  rdbCurrentPage->setGeometry(16, 135, 202, 17);
  rdbPages = new QRadioButton(p);
  rdbPages->setObjectName(QStringLiteral("rdbPages"));
  rdbPages->setGeometry(16, 156, 63, 17);
  edtPageRange = new QLineEdit(p);
  edtPageRange->setObjectName(QStringLiteral("edtPageRange"));
  edtPageRange->setGeometry(78, 154, 159, 21);
  edtPageRange->installEventFilter(this);
  lblPageRangeDescription = Label(p, "lblPageRangeDescription", 16, 180, 217, 26);
  lblPageRangeDescription->setWordWrap(true);
  lblPageRangeDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  bvlCopies = Bevel(p, "bvlCopies", QRect(259, 105, 220, 110));
  lblCopies = Label(p, "lblCopies", 266, 99);
  lblNumberOfCopies = Label(p, "lblNumberOfCopies", 275, 119);
  edtCopies = new QLineEdit(QStringLiteral("1"), p);
  edtCopies->setObjectName(QStringLiteral("edtCopies"));
  edtCopies->setGeometry(396, 116, 61, 21);
  edtCopies->setMaxLength(3);
  edtCopies->setTextMargins(0, 0, kUpDownWidth, 0);
  lblNumberOfCopies->setBuddy(edtCopies);
  cbxCollate = new QCheckBox(p);
  cbxCollate->setObjectName(QStringLiteral("cbxCollate"));
  cbxCollate->setGeometry(396, 152, 13, 17);
  lblCollate = Label(p, "lblCollate", 414, 154, 59);
  lblCollate->installEventFilter(this);
  imgCollate = Label(p, "imgCollate", 272, 148, 103, 53);
  imgCollate->setAttribute(Qt::WA_TranslucentBackground);

  lblPrintWhat = Label(p, "lblPrintWhat", 285, 230);
  cbxPrintWhat = new QComboBox(p);
  cbxPrintWhat->setObjectName(QStringLiteral("cbxPrintWhat"));
  cbxPrintWhat->setGeometry(292, 225, 187, 21);
  lblPrintWhat->setBuddy(cbxPrintWhat);

  pnlPrintToFile = new TPanel(this);
  pnlPrintToFile->setObjectName(QStringLiteral("pnlPrintToFile"));
  pnlPrintToFile->BevelOuter = bvNone;
  pnlPrintToFile->setGeometry(0, 253, 482, 95);
  pnlPrintToFile->hide();
  QWidget* f = pnlPrintToFile;
  cbxPrintToFile = new QCheckBox(f);
  cbxPrintToFile->setObjectName(QStringLiteral("cbxPrintToFile"));
  cbxPrintToFile->setGeometry(16, -2, 13, 17);
  lblPrintToFile = Label(f, "lblPrintToFile", 35, -1);
  lblPrintToFile->installEventFilter(this);
  lblPrintToFileType = Label(f, "lblPrintToFileType", 21, 24);
  cbxPrintToFileTypes = new QComboBox(f);
  cbxPrintToFileTypes->setObjectName(QStringLiteral("cbxPrintToFileTypes"));
  cbxPrintToFileTypes->setGeometry(75, 21, 190, 21);
  lblPrintToFileWhere = Label(f, "lblPrintToFileWhere", 21, 54);
  edtPrintToFileName = new QLineEdit(f);
  edtPrintToFileName->setObjectName(QStringLiteral("edtPrintToFileName"));
  edtPrintToFileName->setGeometry(75, 50, 370, 21);
  spbPrintToFile = new QToolButton(f);
  spbPrintToFile->setObjectName(QStringLiteral("spbPrintToFile"));
  spbPrintToFile->setGeometry(452, 52, 17, 17);
  spbPrintToFile->setText(QStringLiteral("..."));

  pnlBottom = new TPanel(this);
  pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
  pnlBottom->BevelOuter = bvNone;
  pnlBottom->setGeometry(0, 348, 482, 40);
  btnOK = new QPushButton(pnlBottom);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setGeometry(322, 9, 75, 23);
  btnOK->setDefault(true);
  btnOK->setAutoDefault(true);
  btnCancel = new QPushButton(pnlBottom);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setGeometry(402, 9, 75, 23);
  btnCancel->setAutoDefault(false);

  connect(cbxPrinters, &QComboBox::currentIndexChanged, this, [this] { cbxPrintersChange(); });
  connect(btnPrinterProperties, &QPushButton::clicked, this, [this] { btnPrinterPropertiesClick(); });
  connect(rdbAll, &QRadioButton::clicked, this, [this] { rdbAllClick(); });
  connect(rdbCurrentPage, &QRadioButton::clicked, this, [this] { rdbCurrentPageClick(); });
  connect(rdbPages, &QRadioButton::clicked, this, [this] { rdbPagesClick(); });
  connect(edtCopies, &QLineEdit::editingFinished, this, [this] { edtCopiesExit(); });
  connect(cbxCollate, &QCheckBox::toggled, this, [this] { cbxCollateClick(); });
  connect(cbxPrintWhat, &QComboBox::currentIndexChanged, this, [this] { cbxPrintWhatChange(); });
  connect(cbxPrintToFile, &QCheckBox::toggled, this, [this] {
    if (!loading_) UpdateFileControls();
  });
  connect(cbxPrintToFileTypes, &QComboBox::currentIndexChanged, this, [this] {
    if (!loading_) UpdateFileControls();
  });
  connect(spbPrintToFile, &QToolButton::clicked, this, [this] { btnPrintToFileClick(); });
  connect(edtPrintToFileName, &QLineEdit::textEdited, this, [this] { edtPrintToFileNameChange(); });
  connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
}

void TppPrintDialog::FormCreate() {
  upDown_ = new TppUpDown(edtCopies);
  upDown_->OnClick = [this](TppUpDown::TUDBtnType b) { UpDownClick(b); };
  collationPictures_.append(TppCollationBitmap().DrawBitmap());
  collationPictures_.append(TppNonCollationBitmap().DrawBitmap());
  printerPictures_.append(PrinterPicture(false));
  printerPictures_.append(PrinterPicture(true));
  // Until the engine gives its own, the dialog fills a request of its own.
  ownRequest_ = std::make_unique<TppPageRequest>();
  PageRequest = ownRequest_.get();
  ShowCollationPicture(cbxCollate->isChecked());
}

void TppPrintDialog::LanguageChanged() {
  const QString colon = QStringLiteral(":");
  setWindowTitle(EngineMessage(msgPrint));
  lblPrinter->setText(EngineMessage(msgPrinter));
  lblPrinterName->setText(EngineMessage(msgName) + colon);
  lblNoPrintersInstalled->setText(EngineMessage(msgNoPrintersInstalled));
  btnPrinterProperties->setText(EngineMessage(msgProperties));
  lblPrinterType->setText(EngineMessage(msgType) + colon);
  lblPrinterWhere->setText(EngineMessage(msgWhere) + colon);
  lblPageRange->setText(EngineMessage(msgPageRange));
  rdbAll->setText(EngineMessage(msgAll));
  rdbCurrentPage->setText(EngineMessage(msgCurrentPage));
  rdbPages->setText(EngineMessage(msgPages));
  lblPageRangeDescription->setText(EngineMessage(msgPageRangeHint));
  lblCopies->setText(EngineMessage(msgCopies));
  lblNumberOfCopies->setText(EngineMessage(msgNumberOfCopies) + colon);
  lblCollate->setText(EngineMessage(msgCollate));
  lblPrintWhat->setText(EngineMessage(msgPrintWhat));
  lblPrintToFile->setText(EngineMessage(msgPrintToFile));
  lblPrintToFileType->setText(EngineMessage(msgType) + colon);
  lblPrintToFileWhere->setText(EngineMessage(msgWhere) + colon);
  btnOK->setText(EngineMessage(msgOK));
  btnCancel->setText(EngineMessage(msgCancel));
  for (QLabel* l : {lblPrinter, lblPrinterType, lblPrinterWhere, lblPageRange, lblCopies,
                    lblNumberOfCopies, lblPrintToFile, lblPrintToFileType, lblPrintToFileWhere})
    AutoSize(l);
  // The titles of the framed groups sit on their frames.
  for (QLabel* l : {lblPrinter, lblPageRange, lblCopies}) {
    l->setAutoFillBackground(true);
    l->raise();
  }
  {
    const bool was = loading_;
    loading_ = true;
    cbxPrintWhat->clear();
    cbxPrintWhat->addItem(EngineMessage(msgAllPagesInRange), 0);
    cbxPrintWhat->addItem(EngineMessage(msgOddPages), 1);
    cbxPrintWhat->addItem(EngineMessage(msgEvenPages), 2);
    cbxPrintWhat->setCurrentIndex(0);
    loading_ = was;
  }
  AdjustLayout();
}

void TppPrintDialog::AdjustLayout() {
  const int gap = int(MMThousandthsToUnits(2381, utScreenPixels, dirVertical));
  // The description takes as many lines as its text needs at its width.
  const QFontMetrics fm(lblPageRangeDescription->font());
  const int lineHeight = fm.height();
  const QRect wrapped =
      fm.boundingRect(QRect(0, 0, lblPageRangeDescription->width(), 100000),
                      Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                      lblPageRangeDescription->text());
  const int lines = std::max(1, (wrapped.height() + lineHeight - 1) / lineHeight);
  lblPageRangeDescription->resize(lblPageRangeDescription->width(), lineHeight * lines);

  const int w = lblPrintWhat->fontMetrics().horizontalAdvance(
      QString(lblPrintWhat->text()).remove(QLatin1Char('&')));
  lblPrintWhat->setGeometry(285 - w, lblPrintWhat->y(), w, 13);

  const int newHeight = lblPageRangeDescription->y() + lblPageRangeDescription->height() + gap -
                        bvlPageRange->y();
  const int d = newHeight - bvlPageRange->height();
  bvlPageRange->resize(bvlPageRange->width(), newHeight);
  bvlCopies->resize(bvlCopies->width(), newHeight);
  lblPrintWhat->move(lblPrintWhat->x(), lblPrintWhat->y() + d);
  cbxPrintWhat->move(cbxPrintWhat->x(), cbxPrintWhat->y() + d);
  pnlPrint->resize(pnlPrint->width(), pnlPrint->height() + d);
  RealignPanels();
}

void TppPrintDialog::RealignPanels() {
  // The panels are stacked from the top; a hidden one takes no room.
  int y = 0;
  for (TPanel* panel : {pnlPrint, pnlPrintToFile, pnlBottom}) {
    if (panel->isHidden()) continue;
    panel->move(0, y);
    y += panel->height();
  }
  setFixedSize(482, y);
}

void TppPrintDialog::showEvent(QShowEvent* event) {
  TppCustomPrintDialog::showEvent(event);
  if (event->spontaneous()) return;
  // The controls are filled once per showing: a message box over the
  // dialog (or a switch to another window and back) keeps what the user
  // typed.
  if (!filled_) {
    filled_ = true;
    Activate();
  }
  if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect s = screen->availableGeometry();
    move(s.center() - rect().center());
  }
}

void TppPrintDialog::hideEvent(QHideEvent* event) {
  // Minimised is still the same showing.
  if (!event->spontaneous()) filled_ = false;
  TppCustomPrintDialog::hideEvent(event);
}

void TppPrintDialog::Activate() {
  if (!Printer || !PageRequest) return;
  loading_ = true;
  TppPrinterSetup* setup = Printer->PrinterSetup();

  // 1. Printers.
  const QStringList names = setup->PrinterNames();
  cbxPrinters->clear();
  if (names.isEmpty()) {
    cbxPrinters->hide();
    btnPrinterProperties->hide();
    lblNoPrintersInstalled->show();
  } else {
    cbxPrinters->show();
    btnPrinterProperties->show();
    lblNoPrintersInstalled->hide();
    QStringList sorted = names;
    sorted.sort(Qt::CaseInsensitive);
    TppPrinterList* list = PrinterList();
    for (const QString& name : sorted) {
      TppPrinterInfo* info = list->FindPrinterInfo(name);
      const int kind = info && !info->Local ? 1 : 0;
      cbxPrinters->addItem(QIcon(QPixmap::fromImage(printerPictures_[kind])), name, kind);
    }
    const int i = cbxPrinters->findText(setup->PrinterName());
    cbxPrinters->setCurrentIndex(i >= 0 ? i : 0);
  }
  UpdatePrinterLabels();

  // 2. The page request.
  edtPageRange->clear();
  switch (PageRequest->PageSetting) {
    case psPageList:
      rdbPages->setChecked(true);
      edtPageRange->setText(PageRequest->PageList.join(QLatin1Char(',')));
      break;
    case psSinglePage: rdbCurrentPage->setChecked(true); break;
    case psPageRange:
      rdbPages->setChecked(true);
      edtPageRange->setText(PageRequest->PageList.join(QLatin1Char('-')));
      break;
    default: rdbAll->setChecked(true); break;
  }
  cbxPrintWhat->setCurrentIndex(std::clamp(int(PageRequest->PageRange), 0, 2));
  edtCopies->setText(QString::number(setup->Copies()));
  cbxCollate->setChecked(setup->Collation());
  ShowCollationPicture(setup->Collation());

  // 3. Printing into a file: only for reports that allow it, and only into
  // kinds of file this program can write.
  int count = 0;
  const TFileKind* kinds = FileKinds(count);
  cbxPrintToFileTypes->clear();
  const QStringList devices = DeviceNames();
  for (int k = 0; k < count; ++k) {
    const TFileKind& kind = kinds[k];
    if (!devices.contains(QString::fromLatin1(kind.DeviceName))) continue;
    if (kind.Archive ? !AllowPrintToArchive : !AllowPrintToFile) continue;
    cbxPrintToFileTypes->addItem(QString::fromLatin1(kind.DisplayName), k);
  }
  if (cbxPrintToFileTypes->count() == 0) {
    pnlPrintToFile->hide();
  } else {
    pnlPrintToFile->show();
    for (int i = 0; i < cbxPrintToFileTypes->count(); ++i)
      if (QString::fromLatin1(kinds[cbxPrintToFileTypes->itemData(i).toInt()].DeviceName) ==
          DeviceType) {
        cbxPrintToFileTypes->setCurrentIndex(i);
        cbxPrintToFile->setChecked(true);
      }
    const TFileKind* kind = SelectedFileKind();
    saveFileName_ = kind && kind->Archive ? ArchiveFileName : TextFileName;
    UpdateFileControls();
  }
  RealignPanels();
  loading_ = false;
}

void TppPrintDialog::UpdatePrinterLabels() {
  TppPrinterInfo* info = nullptr;
  if (cbxPrinters->count() > 0) info = PrinterList()->FindPrinterInfo(cbxPrinters->currentText());
  if (info && info->Placeholder) info = nullptr;
  lblPrinterTypeDesc->setText(info ? info->Device : QString());
  lblPrinterWhereDesc->setText(info ? info->Port : QString());
}

void TppPrintDialog::ShowCollationPicture(bool collated) {
  collationIndex_ = collated ? 0 : 1;
  imgCollate->setPixmap(QPixmap::fromImage(collationPictures_[collationIndex_]));
}

bool TppPrintDialog::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type t = event->type();
  if (watched == edtPageRange && (t == QEvent::FocusIn || t == QEvent::MouseButtonPress))
    edtPagesClick();
  else if (watched == lblCollate && t == QEvent::MouseButtonPress)
    lblCollateClick();
  else if (watched == lblPrintToFile && t == QEvent::MouseButtonPress)
    lblPrintToFileClick();
  return TppCustomPrintDialog::eventFilter(watched, event);
}

// --- Handlers

void TppPrintDialog::cbxPrintersChange() {
  if (loading_ || !Printer || cbxPrinters->currentIndex() < 0) return;
  Printer->PrinterSetup()->SetPrinterName(cbxPrinters->currentText());
  UpdatePrinterLabels();
}

void TppPrintDialog::btnPrinterPropertiesClick() {
  if (loading_ || !Printer) return;
  if (Printer->PrinterPropertiesDialog()) {
    UpdatePrinterLabels();
    SetupChanged = true;
  }
}

void TppPrintDialog::rdbAllClick() {
  if (loading_) return;
  rdbAll->setChecked(true);
  edtPageRange->clear();
}

void TppPrintDialog::rdbCurrentPageClick() {
  if (loading_) return;
  rdbCurrentPage->setChecked(true);
  edtPageRange->clear();
}

void TppPrintDialog::rdbPagesClick() {
  if (loading_) return;
  rdbPages->setChecked(true);
}

void TppPrintDialog::edtPagesClick() {
  if (loading_) return;
  rdbPages->setChecked(true);
}

void TppPrintDialog::cbxPrintWhatChange() {
  if (loading_ || !PageRequest || cbxPrintWhat->currentIndex() < 0) return;
  PageRequest->PageRange = TppPageRangeType(cbxPrintWhat->currentData().toInt());
}

void TppPrintDialog::edtCopiesExit() {
  if (loading_) return;
  edtCopies->setText(QString::number(NumberIn(edtCopies->text()).value_or(1)));
}

void TppPrintDialog::UpDownClick(TppUpDown::TUDBtnType button) {
  if (loading_) return;
  // The arrows count between 1 and 999 (what the box can hold); a text
  // that is no number counts as 1.
  const int n = NumberIn(edtCopies->text()).value_or(1);
  if (button == TppUpDown::btNext)
    edtCopies->setText(QString::number(std::clamp(n + 1, 1, 999)));
  else
    edtCopies->setText(QString::number(std::clamp(n - 1, 1, 999)));
}

void TppPrintDialog::cbxCollateClick() {
  // Also while loading: the picture follows the box.
  if (Printer) Printer->PrinterSetup()->SetCollation(cbxCollate->isChecked());
  ShowCollationPicture(cbxCollate->isChecked());
}

void TppPrintDialog::lblCollateClick() {
  if (loading_) return;
  cbxCollate->toggle();
}

void TppPrintDialog::lblPrintToFileClick() {
  if (loading_) return;
  cbxPrintToFile->toggle();
  UpdateFileControls();
}

void TppPrintDialog::btnPrintToFileClick() {
  if (loading_) return;
  TFileDialogSpec request;
  request.Filter = saveFilter_;
  request.DefaultExt = saveDefaultExt_;
  request.OverwritePrompt = true;
  request.InitialDir = saveInitialDir_;
  request.FileName = saveFileName_;
  const std::optional<QString> name = Dialogs().SaveFile(request);
  if (!name) return;
  saveFileName_ = *name;
  edtPrintToFileName->setText(*name);
  StoreFileName(*name);
  UpdateFileControls();
}

void TppPrintDialog::edtPrintToFileNameChange() {
  if (loading_) return;
  saveFileName_ = edtPrintToFileName->text();
  StoreFileName(saveFileName_);
  UpdateFileControls();
}

void TppPrintDialog::StoreFileName(const QString& name) {
  const TFileKind* kind = SelectedFileKind();
  if (kind && kind->Archive)
    ArchiveFileName = name;
  else
    TextFileName = name;
}

const TppPrintDialog::TFileKind* TppPrintDialog::SelectedFileKind() const {
  if (cbxPrintToFileTypes->currentIndex() < 0) return nullptr;
  int count = 0;
  const TFileKind* kinds = FileKinds(count);
  const int k = cbxPrintToFileTypes->currentData().toInt();
  return k >= 0 && k < count ? &kinds[k] : nullptr;
}

void TppPrintDialog::UpdateFileControls() {
  const bool on = cbxPrintToFile->isChecked();
  spbPrintToFile->setEnabled(on);
  cbxPrintToFileTypes->setEnabled(on);
  edtPrintToFileName->setEnabled(on);
  if (const TFileKind* kind = SelectedFileKind()) {
    saveFileName_ = kind->Archive ? ArchiveFileName : TextFileName;
    saveDefaultExt_ = QString::fromLatin1(kind->DefaultExt);
    saveFilter_ = QString::fromLatin1(kind->Filter);
  }
  if (!saveFileName_.isEmpty()) saveInitialDir_ = QFileInfo(saveFileName_).absolutePath();
  if (edtPrintToFileName->text() != saveFileName_) {
    const bool was = loading_;
    loading_ = true;
    edtPrintToFileName->setText(saveFileName_);
    loading_ = was;
  }
}

void TppPrintDialog::btnOKClick() {
  if (!Printer || !PageRequest) {
    accept();
    return;
  }
  const bool toFile = !pnlPrintToFile->isHidden() && cbxPrintToFile->isChecked();
  // 1. and 2.: what must be there before the dialog may close.
  if (rdbPages->isChecked()) {
    const QStringList pages = ParsePageList(edtPageRange->text(), PageCount);
    if (pages.isEmpty()) {
      Dialogs().Warning(EngineMessage(msgNoPagesChosen));
      return;
    }
    PageRequest->PageList = pages;
    PageRequest->PageSetting = psPageList;
  } else if (toFile && saveFileName_.trimmed().isEmpty()) {
    Dialogs().Warning(EngineMessage(msgSpecifyFileName));
    return;
  }
  // 3. The choices go to the request and the printer setup.
  if (rdbCurrentPage->isChecked()) PageRequest->PageSetting = psSinglePage;
  if (rdbAll->isChecked()) PageRequest->PageSetting = psAll;
  PageRequest->PageRange = TppPageRangeType(std::clamp(cbxPrintWhat->currentIndex(), 0, 2));
  edtCopiesExit();
  Printer->PrinterSetup()->SetCopies(NumberIn(edtCopies->text()).value_or(1));
  PrintToArchive = false;
  PrintToFile = false;
  if (toFile) {
    if (const TFileKind* kind = SelectedFileKind()) {
      QString name = saveFileName_;
      if (QFileInfo(name).suffix().isEmpty()) {
        if (name.endsWith(QLatin1Char('.'))) name.chop(1);
        name += QLatin1Char('.') + QString::fromLatin1(kind->DefaultExt);
      }
      StoreFileName(name);
      DeviceType = QString::fromLatin1(kind->DeviceName);
      PrintToArchive = kind->Archive;
      PrintToFile = !kind->Archive;
    }
  }
  // 4. Printing needs a printer that can print.
  if (!PrintToArchive && !PrintToFile && !Printer->DC()) {
    Dialogs().Warning(Printer->PrinterSetup()->PrinterNames().isEmpty()
                          ? EngineMessage(msgNoPrintersInstalled)
                          : EngineMessage(msgPrinterProblem));
    return;
  }
  accept();
}

namespace {
const TppPrintDialog::TFileKind* FileKinds(int& count) {
  static const TppPrintDialog::TFileKind kinds[] = {
      {"TextFile", "Ficheiro de Texto", "txt", "Text files|*.TXT|All files|*.*", false},
      {"ReportTextFile", "Ficheiro de Texto do Relatório", "txt", "Text files|*.TXT|All files|*.*",
       false},
      {"ArchiveFile", "Ficheiro de Arquivo", "raf", "Archive files|*.RAF|All files|*.*", true},
  };
  count = int(std::size(kinds));
  return kinds;
}
}  // namespace
