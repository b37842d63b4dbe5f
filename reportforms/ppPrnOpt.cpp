// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportforms/ppPrnOpt.h"

#include "report/ppUtils.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TppPrinterOptionsDialog::TppPrinterOptionsDialog(const QString& device,
                                                 const TPrinterOptions& offered, QWidget* parent)
    : QDialog(parent), offered_(offered) {
  setObjectName(QStringLiteral("ppPrinterOptionsDialog"));
  setWindowTitle(EngineMessage(msgProperties).remove(QLatin1Char('&')) + QStringLiteral(" - ") +
                 device);
  QFont formFont(QStringLiteral("MS Sans Serif"));
  formFont.setPixelSize(11);
  setFont(formFont);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);
  for (const TPrinterOption& o : offered_) {
    auto* box = new QComboBox(this);
    box->setObjectName(o.Keyword);
    box->setMinimumWidth(260);
    for (int i = 0; i < o.Values.size(); ++i)
      box->addItem(o.ValueTexts.value(i, o.Values[i]), o.Values[i]);
    const int current = o.Values.indexOf(o.Current);
    box->setCurrentIndex(current >= 0 ? current : 0);
    form->addRow(o.Text + QStringLiteral(":"), box);
    boxes_.append(box);
  }
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(EngineMessage(msgOK), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("btnOK"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(EngineMessage(msgCancel), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("btnCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
}

QMap<QString, QString> TppPrinterOptionsDialog::Chosen() const {
  QMap<QString, QString> chosen;
  for (int i = 0; i < offered_.size() && i < boxes_.size(); ++i)
    if (boxes_[i]->currentIndex() >= 0)
      chosen.insert(offered_[i].Keyword, boxes_[i]->currentData().toString());
  return chosen;
}

QComboBox* TppPrinterOptionsDialog::OptionBox(const QString& keyword) const {
  for (int i = 0; i < offered_.size() && i < boxes_.size(); ++i)
    if (offered_[i].Keyword == keyword) return boxes_[i];
  return nullptr;
}

bool ShowPrinterOptionsDialog(const QString& device, const TPrinterOptions& offered,
                              QMap<QString, QString>& chosen) {
  QWidget* parent = QApplication::activeWindow();
  if (!parent || offered.isEmpty()) return false;
  TppPrinterOptionsDialog dialog(device, offered, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  chosen = dialog.Chosen();
  return true;
}
