// SPDX-License-Identifier: GPL-3.0-or-later
// The report engine's cancel dialog: shown while a report prints, with the
// status of the page being printed and a Cancel button.  The engine creates
// it through the form registry (TppCustomCancelDialog), shows it modally
// (it starts the print itself once on screen and closes 10 ms after the
// print ends) or modelessly (the window that was in front stays disabled
// while it is up), and sets its status text for every page.
#pragma once

#include "reportforms/ppForms.h"

class QTextEdit;
class QPushButton;

class TppCancelDialog : public TppCustomCancelDialog {
  Q_OBJECT
 public:
  explicit TppCancelDialog(QWidget* parent = nullptr);

  // Closes the dialog as the engine does when printing ends: no cancel.
  void Close() override;

  // Cancel: tells the engine (DoCancel), then closes.
  void btnCancelClick();

 protected:
  void LanguageChanged() override;
  void StatusTextChanged() override;
  // The Cancel button follows AllowCancel, then the engine's work starts:
  // once per showing (the base sees to that), and never while the work
  // started before is still under way (it processes events, in which the
  // dialog may be shown again).
  void RunActivateHook() override;
  // Escape or the window's close box: as Cancel, when cancelling is
  // allowed; never a silent close while the report prints.
  void reject() override;

 private:
  QPushButton* btnCancel = nullptr;
  QTextEdit* memMessage = nullptr;
  bool closing_ = false;
  bool working_ = false;
};
