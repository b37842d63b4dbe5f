// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog of "Importar faixas…": the track list read, before it is
// placed.  Each title can be edited; the line's format, the font and the
// sheet are chosen, and the album's title and artist, when known, can go
// on the front and on the spines too.  Each line shows as it will be
// placed.
#pragma once

#include "session/Perguntas.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class TFormDesign;

class TDialogoFaixas : public QDialog {
 public:
  TDialogoFaixas(const TPedidoFaixas& pedido, QWidget* parent = nullptr);
  ~TDialogoFaixas() override;
  // The choices as they stand.
  TPedidoFaixas Pedido() const;

 private:
  void ActualizarLinhas();
  void MostrarFonte();
  void EscolherFonte();

  std::unique_ptr<TFormDesign> desenho_;
  TPedidoFaixas pedido_;
  QTableWidget* tabela_;
  QLineEdit* formato_;
  QLabel* fonte_;
  QComboBox* folha_;
  QCheckBox *frente_, *lombadas_;
  bool aActualizar_ = false;
};
