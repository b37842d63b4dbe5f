// SPDX-License-Identifier: GPL-3.0-or-later
// "Calibrar…": the calibration of one printer's queue.  The user prints
// the calibration page (as the printer prints it, with no calibration),
// measures it with a ruler and enters an offset in millimetres and a
// scale in percent for each axis; a second page printed with the values
// shows the rulers true.  OK keeps the values for the queue.
#pragma once

#include "platform/PrinterBackend.h"

#include <QDialog>
#include <functional>

class QDoubleSpinBox;
class QPushButton;

class TDialogoCalibracao : public QDialog {
 public:
  TDialogoCalibracao(const QString& impressora, const TPrinterCalibration& actual, QWidget* parent = nullptr);

  // Prints the calibration page with the calibration given.
  std::function<void(const TPrinterCalibration&)> Imprimir;
  // The values entered.
  TPrinterCalibration Valores() const;

  QDoubleSpinBox *spinDX, *spinDY, *spinSX, *spinSY;
  QPushButton *botaoSemCalibracao, *botaoComValores;
};
