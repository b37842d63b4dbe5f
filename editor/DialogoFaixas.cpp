// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DialogoFaixas.h"

#include "editor/ReInit.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TDialogoFaixas::~TDialogoFaixas() = default;

TDialogoFaixas::TDialogoFaixas(const TPedidoFaixas& pedido, QWidget* parent) : QDialog(parent), pedido_(pedido) {
  setObjectName(QStringLiteral("dlgImportarFaixas"));
  // The texts of the design, in the language of the module in use.
  desenho_ = std::make_unique<TFormDesign>(this, "TDialogoFaixas");
  TFormDesign& d = *desenho_;
  d.Caption(this, "Importar faixas");
  auto* layout = new QVBoxLayout(this);

  auto* origem = new QLabel(this);
  const QString nomeOrigem = QFileInfo(pedido.Origem).fileName();
  d.Set("Faixas de %1:", [origem, nomeOrigem](const QString& t) { origem->setText(t.arg(nomeOrigem)); });
  origem->setObjectName(QStringLiteral("origemFaixas"));
  origem->setToolTip(pedido.Origem);
  layout->addWidget(origem);

  tabela_ = new QTableWidget(int(pedido.Titulos.size()), 2, this);
  tabela_->setObjectName(QStringLiteral("tabelaFaixas"));
  tabela_->setHorizontalHeaderLabels({QString(), QString()});
  d.Set("Título", [this](const QString& t) { tabela_->horizontalHeaderItem(0)->setText(t); });
  d.Set("Linha na capa", [this](const QString& t) { tabela_->horizontalHeaderItem(1)->setText(t); });
  tabela_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  for (int i = 0; i < pedido.Titulos.size(); ++i) {
    tabela_->setItem(i, 0, new QTableWidgetItem(pedido.Titulos[i]));
    auto* linha = new QTableWidgetItem;
    linha->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    tabela_->setItem(i, 1, linha);
  }
  layout->addWidget(tabela_, 1);

  if (!pedido.Ignorados.isEmpty()) {
    auto* ignorados = new QLabel(this);
    const QString lista = pedido.Ignorados.join(QLatin1Char('\n'));
    d.Set("Ficheiros ignorados:", [ignorados, lista](const QString& t) { ignorados->setText(t + QLatin1Char('\n') + lista); });
    ignorados->setObjectName(QStringLiteral("ignoradosFaixas"));
    ignorados->setWordWrap(true);
    layout->addWidget(ignorados);
  }

  auto* form = new QFormLayout;
  formato_ = new QLineEdit(pedido.Formato, this);
  formato_->setObjectName(QStringLiteral("formatoFaixas"));
  d.Hint(formato_, "{n} número, {t} título, {a} artista, {d} duração");
  auto* rotuloFormato = new QLabel(this);
  d.Caption(rotuloFormato, "&Formato da linha:");
  rotuloFormato->setBuddy(formato_);
  form->addRow(rotuloFormato, formato_);

  auto* linhaFonte = new QHBoxLayout;
  fonte_ = new QLabel(this);
  fonte_->setObjectName(QStringLiteral("fonteFaixas"));
  auto* botaoFonte = new QPushButton(this);
  d.Caption(botaoFonte, "&Letra...");
  botaoFonte->setObjectName(QStringLiteral("botaoFonteFaixas"));
  linhaFonte->addWidget(fonte_, 1);
  linhaFonte->addWidget(botaoFonte);
  auto* rotuloFonte = new QLabel(this);
  d.Caption(rotuloFonte, "Letra:");
  form->addRow(rotuloFonte, linhaFonte);

  folha_ = new QComboBox(this);
  folha_->setObjectName(QStringLiteral("folhaFaixas"));
  folha_->addItem(QString(), 3);
  folha_->addItem(QString(), 2);
  d.Set("Trás", [this](const QString& t) { folha_->setItemText(0, t); });
  d.Set("Interior", [this](const QString& t) { folha_->setItemText(1, t); });
  folha_->setCurrentIndex(pedido.Folha == 2 ? 1 : 0);
  auto* rotuloFolha = new QLabel(this);
  d.Caption(rotuloFolha, "Fol&ha:");
  rotuloFolha->setBuddy(folha_);
  form->addRow(rotuloFolha, folha_);
  layout->addLayout(form);

  const bool conhecido = !pedido.Album.isEmpty() || !pedido.Artista.isEmpty();
  QString album = pedido.Album;
  if (!pedido.Artista.isEmpty()) album = album.isEmpty() ? pedido.Artista : pedido.Artista + QStringLiteral(" \u2014 ") + album;
  frente_ = new QCheckBox(this);
  if (conhecido)
    d.Set("Álbum na frente: %1", [this, album](const QString& t) { frente_->setText(t.arg(album)); });
  else
    d.Caption(frente_, "Álbum na frente (título e artista não conhecidos)");
  frente_->setObjectName(QStringLiteral("albumFrente"));
  lombadas_ = new QCheckBox(this);
  d.Caption(lombadas_, "Álbum nas lombadas");
  lombadas_->setObjectName(QStringLiteral("albumLombadas"));
  frente_->setEnabled(conhecido);
  lombadas_->setEnabled(conhecido);
  frente_->setChecked(conhecido && pedido.AlbumNaFrente);
  lombadas_->setChecked(conhecido && pedido.AlbumNasLombadas);
  layout->addWidget(frente_);
  layout->addWidget(lombadas_);

  auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  d.Caption(botoes->button(QDialogButtonBox::Ok), "&Colocar");
  d.Caption(botoes->button(QDialogButtonBox::Cancel), "Cancelar");
  layout->addWidget(botoes);

  connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(botaoFonte, &QPushButton::clicked, this, [this] { EscolherFonte(); });
  connect(formato_, &QLineEdit::textChanged, this, [this] { ActualizarLinhas(); });
  connect(tabela_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() == 0) ActualizarLinhas();
  });
  MostrarFonte();
  ActualizarLinhas();
  resize(560, 460);
}

TPedidoFaixas TDialogoFaixas::Pedido() const {
  TPedidoFaixas p = pedido_;
  p.Titulos.clear();
  for (int i = 0; i < tabela_->rowCount(); ++i) p.Titulos << tabela_->item(i, 0)->text();
  p.Formato = formato_->text();
  p.Folha = folha_->currentData().toInt();
  p.AlbumNaFrente = frente_->isChecked();
  p.AlbumNasLombadas = lombadas_->isChecked();
  return p;
}

void TDialogoFaixas::ActualizarLinhas() {
  if (aActualizar_ || !pedido_.Linhas) return;
  aActualizar_ = true;
  const TPedidoFaixas p = Pedido();
  const QStringList linhas = pedido_.Linhas(p.Titulos, p.Formato);
  for (int i = 0; i < tabela_->rowCount() && i < linhas.size(); ++i) tabela_->item(i, 1)->setText(linhas[i]);
  aActualizar_ = false;
}

void TDialogoFaixas::MostrarFonte() {
  const TFont& f = pedido_.Fonte;
  fonte_->setText(QStringLiteral("%1, %2 pt").arg(f.Name).arg(f.Size()));
}

void TDialogoFaixas::EscolherFonte() {
  if (auto f = Dialogs().ChooseFont(pedido_.Fonte)) {
    pedido_.Fonte = *f;
    MostrarFonte();
  }
}
