// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog: print margins, fold-mark colour, snap grid and
// language.
#pragma once

#include "document/EtiquetasDisco.h"
#include "platform/Types.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TFormDesign;
class TShape;

class TfrmParametros : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmParametros(QWidget* parent = nullptr);
  ~TfrmParametros() override;

  std::unique_ptr<TFormDesign> desenho;
  QGroupBox* groupMargens;
  QSpinBox *spinVertical, *spinHorizontal;
  QLabel* Label7;
  QComboBox* comboGravacao;
  TShape* shapeMarca;
  QPushButton* botaoCorMarca;
  QGroupBox* groupGrelha;
  QSpinBox *spinGrelhaX, *spinGrelhaY;
  QGroupBox* radioLinguagem;
  QRadioButton *radioPortugues, *radioEnglish;
  QPushButton* btnConfirmar;
  // The paper of the disc page: "A4 simples", the makers' label sheets,
  // or the user's own ("Própria", with its figures in millimetres).
  QGroupBox* groupPapelCD;
  QComboBox* comboPapelCD;
  QDoubleSpinBox *spinExterior, *spinFuro, *spinX1, *spinY1, *spinX2, *spinY2;
  // Crop and fold marks, and the bleed with them.
  QCheckBox *checkMarcas, *checkSangria;

  // The colour dialog remembers the last colour chosen in it.
  TColor ColorDialog1Color = clBlack;

  void FormShow();
  void botaoCorMarcaClick();
  void btnConfirmarClick();

 private:
  void CriarPapelCD(TFormDesign& d);
  void MostrarPapelCD();
  // The paper chosen, in `papel`; false (and the user told why) when the
  // user's own figures make no labels.
  bool LerPapelCD(TPapelDisco& papel);
  void PapelCDMudou();

 protected:
  void showEvent(QShowEvent* e) override;
};

// The settings dialog the program created at start-up.
extern QPointer<TfrmParametros> frmParametros;
