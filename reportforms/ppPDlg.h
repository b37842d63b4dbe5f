// SPDX-License-Identifier: GPL-3.0-or-later
// The report engine's print dialog: the printer, the pages ("Todas",
// "Página Actual", a list such as "1,3,5-12", odd or even ones), the number
// of copies with collation, the printer's type and location, its own
// properties, and (for reports that may print into files) the output file.
// The engine creates it through the form registry (TppCustomPrintDialog),
// fills the fields of TppPrintDialogIntf and reads them back after OK; the
// dialog edits the printer setup of the printer it is given directly.
//
// Also here: the copies spinner TppUpDown and the collation pictures drawn
// in code.  The page-list parser it reads its list with is the engine core's
// (report/ppPageList).
#pragma once

#include "report/ppPageList.h"
#include "reportforms/ppForms.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class TPanel;

// ---------------------------------------------------------------------------
// The copies spinner

// A small up-down control inside the right end of an edit box, owned by the
// edit's parent: its upper half is the up arrow, its lower half the down
// arrow, each marked with a black triangle of three lines.  Held down, an
// arrow repeats; the Up and Down keys in the edit box work as the arrows.
class TppUpDown : public QWidget {
  Q_OBJECT
 public:
  enum TUDBtnType { btNext, btPrev };

  // Placed at the edit's right end: left = edit left + edit width − own
  // width − 2, top = edit top + 2, height = edit height − 4.
  explicit TppUpDown(QLineEdit* edit);

  QLineEdit* Associate() const { return edit_; }
  int Min = -100;
  int Max = 100;
  std::function<void(TUDBtnType button)> OnClick;

  // Places itself again beside its edit.
  void Realign();
  // What a press at a point does (the upper half is "up").
  TUDBtnType ButtonAt(const QPoint& point) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Click(TUDBtnType button);

  QLineEdit* edit_;
  int pressed_ = -1;
  QTimer repeat_;
};

// ---------------------------------------------------------------------------
// Collation pictures

// A small picture drawn by code: drawing it into a bitmap sizes the bitmap,
// fills it with the background colour and runs the drawing routine.
class TppMetaBitmap {
 public:
  virtual ~TppMetaBitmap() = default;
  int Height = 0;
  int Width = 0;
  TColor BackgroundColor = clBtnFace;

  QImage DrawBitmap() const;

 protected:
  virtual void Draw(class QPainter& painter) const = 0;
  // A page from (left, top) to (right, bottom), corners included: filled
  // with the window colour, framed in black.
  static void DrawPage(QPainter& painter, int left, int top, int right, int bottom);
  // A page number whose top-left corner is one pixel left of and two
  // pixels above the point.
  static void DrawNumber(QPainter& painter, int x, int y, const QString& text);
};

// Two stacks of pages 1, 2, 3 (collated copies).
class TppCollationBitmap : public TppMetaBitmap {
 public:
  TppCollationBitmap();

 protected:
  void Draw(QPainter& painter) const override;
};

// Pairs of pages 1-1, 2-2, 3-3 (copies not collated).
class TppNonCollationBitmap : public TppMetaBitmap {
 public:
  TppNonCollationBitmap();

 protected:
  void Draw(QPainter& painter) const override;
};

// ---------------------------------------------------------------------------
// The dialog

class TppPrintDialog : public TppCustomPrintDialog {
  Q_OBJECT
 public:
  explicit TppPrintDialog(QWidget* parent = nullptr);
  ~TppPrintDialog() override;

  // A kind of file a report may print into: the device that writes it.
  struct TFileKind {
    const char* DeviceName;
    const char* DisplayName;
    const char* DefaultExt;
    const char* Filter;
    bool Archive;
  };

  // The picture list: 0 collated, 1 not collated; the printer pictures:
  // 0 local, 1 network.
  const QList<QImage>& CollationPictures() const { return collationPictures_; }
  const QList<QImage>& PrinterPictures() const { return printerPictures_; }
  // The collation picture shown now (0 or 1).
  int CollationPictureIndex() const { return collationIndex_; }
  TppUpDown* UpDown() const { return upDown_; }

  // The handlers, public for the program's own tests of them.
  void btnOKClick();
  void UpDownClick(TppUpDown::TUDBtnType button);
  void edtCopiesExit();

 protected:
  void LanguageChanged() override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void FormCreate();
  void Activate();
  void AdjustLayout();
  void RealignPanels();
  void UpdatePrinterLabels();
  void ShowCollationPicture(bool collated);
  void UpdateFileControls();
  const TFileKind* SelectedFileKind() const;
  void StoreFileName(const QString& name);

  void cbxPrintersChange();
  void btnPrinterPropertiesClick();
  void rdbAllClick();
  void rdbCurrentPageClick();
  void rdbPagesClick();
  void edtPagesClick();
  void cbxPrintWhatChange();
  void cbxCollateClick();
  void lblCollateClick();
  void lblPrintToFileClick();
  void btnPrintToFileClick();
  void edtPrintToFileNameChange();

  bool loading_ = false;
  bool filled_ = false;
  QList<QImage> collationPictures_;
  QList<QImage> printerPictures_;
  int collationIndex_ = 0;
  std::unique_ptr<TppPageRequest> ownRequest_;
  QString saveFileName_;  // the save dialog's file name
  QString saveInitialDir_;
  QString saveDefaultExt_ = QStringLiteral("txt");
  QString saveFilter_ = QStringLiteral("Text files|*.TXT|All files|*.*");

  TPanel* pnlPrint = nullptr;
  QFrame* bvlPrinter = nullptr;
  QLabel* lblPrinter = nullptr;
  QLabel* lblPrinterName = nullptr;
  QComboBox* cbxPrinters = nullptr;
  QLabel* lblNoPrintersInstalled = nullptr;
  QPushButton* btnPrinterProperties = nullptr;
  QLabel* lblPrinterType = nullptr;
  QLabel* lblPrinterTypeDesc = nullptr;
  QLabel* lblPrinterWhere = nullptr;
  QLabel* lblPrinterWhereDesc = nullptr;
  QFrame* bvlPageRange = nullptr;
  QLabel* lblPageRange = nullptr;
  QRadioButton* rdbAll = nullptr;
  QRadioButton* rdbCurrentPage = nullptr;
  QRadioButton* rdbPages = nullptr;
  QLineEdit* edtPageRange = nullptr;
  QLabel* lblPageRangeDescription = nullptr;
  QFrame* bvlCopies = nullptr;
  QLabel* lblCopies = nullptr;
  QLabel* lblNumberOfCopies = nullptr;
  QLineEdit* edtCopies = nullptr;
  QCheckBox* cbxCollate = nullptr;
  QLabel* lblCollate = nullptr;
  QLabel* imgCollate = nullptr;
  QLabel* lblPrintWhat = nullptr;
  QComboBox* cbxPrintWhat = nullptr;
  TPanel* pnlPrintToFile = nullptr;
  QCheckBox* cbxPrintToFile = nullptr;
  QLabel* lblPrintToFile = nullptr;
  QLabel* lblPrintToFileType = nullptr;
  QComboBox* cbxPrintToFileTypes = nullptr;
  QLabel* lblPrintToFileWhere = nullptr;
  QLineEdit* edtPrintToFileName = nullptr;
  QToolButton* spbPrintToFile = nullptr;
  TPanel* pnlBottom = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  TppUpDown* upDown_ = nullptr;
};
