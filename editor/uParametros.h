// The settings dialog: print margins, fold-mark colour, snap grid and
// language.
#pragma once

#include "platform/Types.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class QComboBox;
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

  // The colour dialog remembers the last colour chosen in it.
  TColor ColorDialog1Color = clBlack;

  void FormShow();
  void botaoCorMarcaClick();
  void btnConfirmarClick();

 protected:
  void showEvent(QShowEvent* e) override;
};

// The settings dialog the program created at start-up.
extern QPointer<TfrmParametros> frmParametros;
