// SPDX-License-Identifier: GPL-3.0-or-later
// The export dialog of the real dialog layer: the format, the resolution of
// pictures and drawings, and the pages, chosen as the print dialog chooses
// them.
#include "platform/Dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

class ExportDialog : public QDialog {
 public:
  ExportDialog(TExportDialogSpec& pedido, QWidget* parent) : QDialog(parent), pedido_(pedido) {
    setObjectName(QStringLiteral("dlgExportar"));
    setWindowTitle(QStringLiteral("Exportar"));
    auto* lay = new QVBoxLayout(this);

    auto* formato = new QGroupBox(QStringLiteral("Formato"), this);
    auto* fl = new QGridLayout(formato);
    pdf_ = Radio(formato, QStringLiteral("&PDF (um ficheiro)"), QStringLiteral("formatoPdf"));
    png_ = Radio(formato, QStringLiteral("P&NG (uma imagem por página)"), QStringLiteral("formatoPng"));
    svg_ = Radio(formato, QStringLiteral("&SVG (um desenho por página)"), QStringLiteral("formatoSvg"));
    fl->addWidget(pdf_, 0, 0, 1, 2);
    fl->addWidget(png_, 1, 0, 1, 2);
    fl->addWidget(svg_, 2, 0, 1, 2);
    auto* dpiLabel = new QLabel(QStringLiteral("&Resolução (pontos por polegada):"), formato);
    dpi_ = new QSpinBox(formato);
    dpi_->setObjectName(QStringLiteral("resolucao"));
    dpi_->setRange(pedido.MinDpi, pedido.MaxDpi);
    dpi_->setValue(std::clamp(pedido.Dpi, pedido.MinDpi, pedido.MaxDpi));
    dpiLabel->setBuddy(dpi_);
    fl->addWidget(dpiLabel, 3, 0);
    fl->addWidget(dpi_, 3, 1);
    lay->addWidget(formato);

    auto* paginas = new QGroupBox(QStringLiteral("Páginas"), this);
    auto* pl = new QGridLayout(paginas);
    todas_ = Radio(paginas, QStringLiteral("&Todas"), QStringLiteral("paginasTodas"));
    actual_ = Radio(paginas, QStringLiteral("Página &actual"), QStringLiteral("paginaActual"));
    intervalo_ = Radio(paginas, QStringLiteral("&De:"), QStringLiteral("paginasIntervalo"));
    de_ = Spin(paginas, QStringLiteral("de"), pedido.FromPage);
    ate_ = Spin(paginas, QStringLiteral("ate"), pedido.ToPage);
    auto* ateLabel = new QLabel(QStringLiteral("&até:"), paginas);
    ateLabel->setBuddy(ate_);
    pl->addWidget(todas_, 0, 0, 1, 4);
    pl->addWidget(actual_, 1, 0, 1, 4);
    pl->addWidget(intervalo_, 2, 0);
    pl->addWidget(de_, 2, 1);
    pl->addWidget(ateLabel, 2, 2);
    pl->addWidget(ate_, 2, 3);
    lay->addWidget(paginas);

    auto* grupoFormato = new QButtonGroup(this);
    for (QRadioButton* b : {pdf_, png_, svg_}) grupoFormato->addButton(b);
    auto* grupoPaginas = new QButtonGroup(this);
    for (QRadioButton* b : {todas_, actual_, intervalo_}) grupoPaginas->addButton(b);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    lay->addWidget(buttons);

    (pedido.Formato == TExportDialogSpec::fmtPng   ? png_
     : pedido.Formato == TExportDialogSpec::fmtSvg ? svg_
                                                 : pdf_)
        ->setChecked(true);
    (pedido.PrintRange == TPrintDialogSpec::prSelection ? actual_
     : pedido.PrintRange == TPrintDialogSpec::prPageNums ? intervalo_
                                                        : todas_)
        ->setChecked(true);
    // A PDF keeps the pages' own drawing: it has no resolution to choose.
    auto seguir = [this] {
      dpi_->setEnabled(!pdf_->isChecked());
      de_->setEnabled(intervalo_->isChecked());
      ate_->setEnabled(intervalo_->isChecked());
    };
    for (QRadioButton* b : {pdf_, png_, svg_, todas_, actual_, intervalo_})
      connect(b, &QRadioButton::toggled, this, seguir);
    seguir();
  }

  void Answer() {
    pedido_.Formato = png_->isChecked()   ? TExportDialogSpec::fmtPng
                    : svg_->isChecked() ? TExportDialogSpec::fmtSvg
                                        : TExportDialogSpec::fmtPdf;
    pedido_.Dpi = dpi_->value();
    pedido_.PrintRange = actual_->isChecked()      ? TPrintDialogSpec::prSelection
                       : intervalo_->isChecked() ? TPrintDialogSpec::prPageNums
                                                 : TPrintDialogSpec::prAllPages;
    pedido_.FromPage = de_->value();
    pedido_.ToPage = ate_->value();
  }

 private:
  QRadioButton* Radio(QWidget* parent, const QString& text, const QString& name) {
    auto* b = new QRadioButton(text, parent);
    b->setObjectName(name);
    return b;
  }
  QSpinBox* Spin(QWidget* parent, const QString& name, int value) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(pedido_.MinPage, std::max(pedido_.MinPage, pedido_.MaxPage));
    s->setValue(value);
    return s;
  }

  TExportDialogSpec& pedido_;
  QRadioButton *pdf_, *png_, *svg_, *todas_, *actual_, *intervalo_;
  QSpinBox *dpi_, *de_, *ate_;
};

}  // namespace

bool QtDialogLayer::Export(TExportDialogSpec& pedido) {
  ExportDialog dlg(pedido, QApplication::activeWindow());
  if (dlg.exec() != QDialog::Accepted) return false;
  dlg.Answer();
  return true;
}
