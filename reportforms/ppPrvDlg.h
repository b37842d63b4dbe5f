// SPDX-License-Identifier: GPL-3.0-or-later
// The print preview window: the report engine's previewer (registered for
// TppCustomPreviewer), with a bar of buttons (print, search, whole page,
// page width, 100 %, a typed percentage, first, prior, a typed page number,
// next, last, close), the page viewer and a status bar.  Its texts are the
// engine's messages.
//
// While the viewer's device produces pages the window is busy: the edit
// boxes are disabled, the hourglass shows, and the close button reads
// "Cancelar" and stops the generation.  Closing the window while the
// engine is at work (the close box, Alt+F4) cancels first and closes once
// the engine has returned, never under it.
#pragma once

#include "platform/Types.h"
#include "reportforms/ppViewr.h"
#include "reportforms/ppForms.h"

class QKeyEvent;
class QLabel;
class QLineEdit;
class QStatusBar;
class QToolButton;
class QWidget;

class TppPrintPreview : public TppCustomPreviewer {
  Q_OBJECT
 public:
  explicit TppPrintPreview(QWidget* parent = nullptr);
  ~TppPrintPreview() override;

  QWidget* Viewer() const override { return ppViewer1; }
  void ReportAssigned() override;
  // Refused while the engine is at work: the generation is cancelled and
  // the window closes once the engine has returned.
  void done(int result) override;

  // --- The controls
  QWidget* pnlPreviewBar = nullptr;
  QToolButton* spbPreviewPrint = nullptr;
  QToolButton* spbAutoSearch = nullptr;
  QWidget* pnlStandardButtons = nullptr;
  QToolButton* spbPreviewWhole = nullptr;
  QToolButton* spbPreviewWidth = nullptr;
  QToolButton* spbPreview100Percent = nullptr;
  QLineEdit* mskPreviewPercentage = nullptr;
  QToolButton* spbPreviewFirst = nullptr;
  QToolButton* spbPreviewPrior = nullptr;
  QLineEdit* mskPreviewPage = nullptr;
  QToolButton* spbPreviewNext = nullptr;
  QToolButton* spbPreviewLast = nullptr;
  QToolButton* spbPreviewClose = nullptr;
  TppViewer* ppViewer1 = nullptr;
  QStatusBar* statusBar = nullptr;
  QLabel* statusText = nullptr;

  // --- Handlers
  void spbPreviewPrintClick();
  void spbAutoSearchClick();
  void spbPreviewWholeClick();
  void spbPreviewWidthClick();
  void spbPreview100PercentClick();
  void spbPreviewFirstClick();
  void spbPreviewPriorClick();
  void spbPreviewNextClick();
  void spbPreviewLastClick();
  void spbPreviewCloseClick();
  void mskPreviewPercentageKeyPress(QChar key);
  void mskPreviewPageKeyPress(QChar key);
  void ppViewerPageChange();
  void ppViewerStatusChange();
  void ppViewer1PrintStateChange();
  // Page keys with Ctrl turn pages; Page Up/Down and the arrows scroll by
  // the box's size.  The key is not consumed.
  void FormKeyDown(int& key, TShiftState shift);

  // The digits typed in a masked box, without the mask's literal
  // characters and blanks.
  static QString MaskedDigits(const QLineEdit* edit);

 protected:
  void LanguageChanged() override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Starts the engine's work for a showing, unless it is at work already.
  void RunActivateHook() override;

 private:
  void FormCreate();
  void FormShow();
  // The engine is generating or printing for this window.
  bool EngineAtWork() const;
  void CloseWhenDone();
  void CloseIfPending();
  void ZoomButtonClicked(QToolButton* button, TppZoomSettingType setting);
  void ShowCalculatedZoom();

  int activating_ = 0;
  bool closeWhenDone_ = false;
  // An edit box's key is being handed to the box after the window acted
  // on it.
  bool forwardingKey_ = false;
};
