// SPDX-License-Identifier: GPL-3.0-or-later
// The printer's own properties: a dialog of the options the printer's queue
// offers (paper, tray, sides, print quality), one drop-down list each.  The
// printer backend (platform/) reads the options from the queue and puts the
// choices into the driver settings that go with the job; this is only the
// window, installed as the backend's options dialog by the program.
#pragma once

#include "platform/PrinterBackend.h"

#include <QDialog>
#include <QList>

class QComboBox;

class TppPrinterOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  TppPrinterOptionsDialog(const QString& device, const TPrinterOptions& offered,
                          QWidget* parent = nullptr);

  // The value chosen for every option, by keyword.
  QMap<QString, QString> Chosen() const;
  // The list of an option, for the program's tests; null when not offered.
  QComboBox* OptionBox(const QString& keyword) const;

 private:
  TPrinterOptions offered_;
  QList<QComboBox*> boxes_;
};

// Shows the dialog over the active window; true and the choices in `chosen`
// when the user confirmed.  Without an active window nothing is shown.
bool ShowPrinterOptionsDialog(const QString& device, const TPrinterOptions& offered,
                              QMap<QString, QString>& chosen);
