// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/DialogoCalibracao.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TDialogoCalibracao::TDialogoCalibracao(const QString& impressora, const TPrinterCalibration& actual, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("dlgCalibrar"));
  setWindowTitle(QStringLiteral("Calibrar %1").arg(impressora));
  auto* lay = new QVBoxLayout(this);
  auto* explicacao = new QLabel(
      QStringLiteral("Imprima a página de calibração e meça com uma régua onde ficou cada cruz, a partir das margens "
                     "esquerda e de cima do papel.  Um ponto que devia ficar a (x, y) mm fica a "
                     "(desvio X + escala X · x, desvio Y + escala Y · y)."),
      this);
  explicacao->setWordWrap(true);
  lay->addWidget(explicacao);
  auto* form = new QFormLayout;
  auto spin = [this, form](const char* nome, const QString& rotulo, double min, double max, double valor,
                           const QString& sufixo) {
    auto* s = new QDoubleSpinBox(this);
    s->setObjectName(QString::fromLatin1(nome));
    s->setDecimals(2);
    s->setRange(min, max);
    s->setSingleStep(0.1);
    s->setSuffix(sufixo);
    s->setValue(valor);
    form->addRow(rotulo, s);
    return s;
  };
  spinDX = spin("spinDX", QStringLiteral("Desvio &X:"), -20, 20, actual.OffsetX, QStringLiteral(" mm"));
  spinDY = spin("spinDY", QStringLiteral("Desvio &Y:"), -20, 20, actual.OffsetY, QStringLiteral(" mm"));
  spinSX = spin("spinSX", QStringLiteral("Escala X:"), 90, 110, actual.ScaleX * 100, QStringLiteral(" %"));
  spinSY = spin("spinSY", QStringLiteral("Escala Y:"), 90, 110, actual.ScaleY * 100, QStringLiteral(" %"));
  lay->addLayout(form);
  botaoSemCalibracao = new QPushButton(QStringLiteral("Imprimir a página para &medir"), this);
  botaoSemCalibracao->setObjectName(QStringLiteral("imprimirSemCalibracao"));
  botaoComValores = new QPushButton(QStringLiteral("Imprimir com estes &valores"), this);
  botaoComValores->setObjectName(QStringLiteral("imprimirComValores"));
  lay->addWidget(botaoSemCalibracao);
  lay->addWidget(botaoComValores);
  connect(botaoSemCalibracao, &QPushButton::clicked, this, [this] {
    if (Imprimir) Imprimir(TPrinterCalibration());
  });
  connect(botaoComValores, &QPushButton::clicked, this, [this] {
    if (Imprimir) Imprimir(Valores());
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  lay->addWidget(buttons);
}

TPrinterCalibration TDialogoCalibracao::Valores() const {
  return {spinDX->value(), spinDY->value(), spinSX->value() / 100, spinSY->value() / 100};
}
