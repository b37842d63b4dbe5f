// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/uParametros.h"

#include "editor/ReInit.h"
#include "editor/uDefParametros.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLocale>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

QPointer<TfrmParametros> frmParametros;

namespace {
// The decoration of the margins box: a page with three discs on it.
class DesenhoPagina : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF folha(0.5, 0.5, width() - 1, height() - 1);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(folha);
    p.setBrush(QColor(0xC0, 0xC0, 0xC0));
    const qreal d = std::min(width() * 0.42, height() * 0.28);
    const QPointF centros[] = {{width() * 0.3, height() * 0.2}, {width() * 0.7, height() * 0.5},
                               {width() * 0.3, height() * 0.8}};
    for (const QPointF& c : centros) {
      p.drawEllipse(c, d / 2, d / 2);
      p.drawEllipse(c, d / 10, d / 10);
    }
  }
};

// A control of the design: named, captioned through the design, placed.
template <typename T>
T* Controlo(TFormDesign& d, QWidget* parent, const char* nome, const char* caption, const QRect& r) {
  auto* c = new T(parent);
  c->setObjectName(QString::fromLatin1(nome));
  d.Caption(c, caption);
  c->setGeometry(r);
  return c;
}

QSpinBox* Spin(QWidget* parent, const char* nome, int x, int y, int min, int max) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(QString::fromLatin1(nome));
  s->setGeometry(x, y, 57, 22);
  s->setRange(min, max);
  return s;
}
}  // namespace

TfrmParametros::TfrmParametros(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmParametros"));
  desenho = std::make_unique<TFormDesign>(this, "TfrmParametros");
  desenho->Caption(this, "Parametros");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  // A 371 x 340 window: the client area below its title bar and borders,
  // and the disc page's paper below the design's controls.
  setFixedSize(363, 313 + 150);
  setProperty("HelpContext", 7);
  TFormDesign& d = *desenho;

  groupMargens = Controlo<QGroupBox>(d, this, "groupMargens", "Margens", QRect(0, 0, 361, 169));
  RotuloDesenho(d, groupMargens, "Margem superior", 8, 24, 13);
  spinVertical = Spin(groupMargens, "spinVertical", 128, 16, 0, 100);
  RotuloDesenho(d, groupMargens, "mm", 192, 24, 13);
  RotuloDesenho(d, groupMargens, "Margem esquerda", 8, 56, 13);
  spinHorizontal = Spin(groupMargens, "spinHorizontal", 128, 48, 0, 100);
  RotuloDesenho(d, groupMargens, "mm", 192, 56, 13);
  auto* pagina = new DesenhoPagina(groupMargens);
  pagina->setGeometry(256, 18, 96, 140);

  Label7 = RotuloDesenho(d, this, "Gravação por defeito", 0, 176, 13);
  Label7->hide();
  comboGravacao = new QComboBox(this);
  comboGravacao->setObjectName(QStringLiteral("comboGravacao"));
  comboGravacao->setGeometry(144, 176, 217, 21);
  comboGravacao->addItem(QString());
  comboGravacao->addItem(QString());
  QComboBox* combo = comboGravacao;
  d.Set("Lurns sem imagens", [combo](const QString& t) { combo->setItemText(0, t); });
  d.Set("Lurns com imagens", [combo](const QString& t) { combo->setItemText(1, t); });
  comboGravacao->hide();

  RotuloDesenho(d, this, "Cor da marca de dobra", 0, 200, 13);
  shapeMarca = new TShape(this);
  shapeMarca->setObjectName(QStringLiteral("shapeMarca"));
  shapeMarca->setGeometry(152, 200, 65, 25);
  botaoCorMarca = Controlo<QPushButton>(d, this, "botaoCorMarca", "Alterar", QRect(224, 200, 137, 25));
  connect(botaoCorMarca, &QPushButton::clicked, this, &TfrmParametros::botaoCorMarcaClick);

  groupGrelha = Controlo<QGroupBox>(d, this, "groupGrelha", "Grelha", QRect(0, 232, 153, 81));
  RotuloDesenho(d, groupGrelha, "Horizontal", 8, 24, 13);
  spinGrelhaX = Spin(groupGrelha, "spinGrelhaX", 88, 18, 1, 16);
  RotuloDesenho(d, groupGrelha, "Vertical", 8, 52, 13);
  spinGrelhaY = Spin(groupGrelha, "spinGrelhaY", 88, 48, 1, 16);

  radioLinguagem = Controlo<QGroupBox>(d, this, "radioLinguagem", "Lingua", QRect(160, 232, 105, 81));
  radioPortugues = Controlo<QRadioButton>(d, radioLinguagem, "radioPortugues", "Português", QRect(8, 22, 92, 20));
  radioEnglish = Controlo<QRadioButton>(d, radioLinguagem, "radioEnglish", "English", QRect(8, 48, 92, 20));

  btnConfirmar = Controlo<QPushButton>(d, this, "btnConfirmar", "OK", QRect(272, 232, 89, 81));
  btnConfirmar->setDefault(true);
  connect(btnConfirmar, &QPushButton::clicked, this, &TfrmParametros::btnConfirmarClick);
  CriarPapelCD(d);
}

void TfrmParametros::CriarPapelCD(TFormDesign& d) {
  groupPapelCD = Controlo<QGroupBox>(d, this, "groupPapelCD", "Papel do CD", QRect(0, 318, 361, 117));
  comboPapelCD = new QComboBox(groupPapelCD);
  comboPapelCD->setObjectName(QStringLiteral("comboPapelCD"));
  comboPapelCD->setGeometry(8, 18, 345, 22);
  comboPapelCD->addItem(QString());
  QComboBox* combo = comboPapelCD;
  d.Set("A4 simples", [combo](const QString& t) { combo->setItemText(0, t); });
  // The makers' sheets by maker and part, with their figures.
  for (const TEtiquetaDisco& e : EtiquetasDisco())
    comboPapelCD->addItem(QStringLiteral("%1 (Ø %2 mm, furo %3 mm)")
                              .arg(e.Nome(), QLocale().toString(e.Exterior, 'f', 1), QLocale().toString(e.Furo, 'f', 1)),
                          e.Referencia);
  comboPapelCD->addItem(QString());
  const int propria = comboPapelCD->count() - 1;
  d.Set("Própria", [combo, propria](const QString& t) { combo->setItemText(propria, t); });
  auto medida = [this](const char* nome, int x, int y) {
    auto* s = new QDoubleSpinBox(groupPapelCD);
    s->setObjectName(QString::fromLatin1(nome));
    s->setGeometry(x, y, 64, 22);
    s->setDecimals(1);
    s->setRange(0, 297);
    s->setSingleStep(0.1);
    return s;
  };
  RotuloDesenho(d, groupPapelCD, "Exterior", 8, 50, 13);
  spinExterior = medida("spinExterior", 80, 46);
  RotuloDesenho(d, groupPapelCD, "Furo", 184, 50, 13);
  spinFuro = medida("spinFuro", 256, 46);
  RotuloDesenho(d, groupPapelCD, "Centro 1", 8, 76, 13);
  spinX1 = medida("spinX1", 80, 72);
  spinY1 = medida("spinY1", 152, 72);
  RotuloDesenho(d, groupPapelCD, "Centro 2", 8, 100, 13);
  spinX2 = medida("spinX2", 80, 96);
  spinY2 = medida("spinY2", 152, 96);
  groupPapelCD->setFixedHeight(122);
  checkMarcas = Controlo<QCheckBox>(d, this, "checkMarcas", "Marcas de corte e dobra", QRect(0, 440, 180, 20));
  checkSangria = Controlo<QCheckBox>(d, this, "checkSangria", "Sangria de 3 mm", QRect(190, 440, 170, 20));
  connect(checkMarcas, &QCheckBox::toggled, checkSangria, &QWidget::setEnabled);
  connect(comboPapelCD, &QComboBox::currentIndexChanged, this, [this] { PapelCDMudou(); });
}

void TfrmParametros::MostrarPapelCD() {
  const TPapelDisco& p = Parametros().PapelCD;
  int i = 0;
  if (p.Tipo == TPapelDisco::Etiqueta) i = std::max(0, comboPapelCD->findData(p.Referencia));
  if (p.Tipo == TPapelDisco::Propria) i = comboPapelCD->count() - 1;
  comboPapelCD->setCurrentIndex(i);
  PapelCDMudou();
  checkMarcas->setChecked(Parametros().Marcas);
  checkSangria->setChecked(Parametros().Sangria);
  checkSangria->setEnabled(Parametros().Marcas);
  if (p.Tipo == TPapelDisco::Propria) {
    const TEtiquetaDisco& e = p.Medidas;
    spinExterior->setValue(e.Exterior);
    spinFuro->setValue(e.Furo);
    spinX1->setValue(e.Centros[0].x());
    spinY1->setValue(e.Centros[0].y());
    spinX2->setValue(e.Centros[1].x());
    spinY2->setValue(e.Centros[1].y());
  }
}

void TfrmParametros::PapelCDMudou() {
  const int i = comboPapelCD->currentIndex();
  const bool propria = i == comboPapelCD->count() - 1;
  // The figures of the sheet chosen; the user's own are edited.
  std::optional<TEtiquetaDisco> e = EtiquetaDisco(comboPapelCD->itemData(i).toString());
  if (propria && !e) {
    // Starting from the user's own figures, or from the first sheet's.
    const TPapelDisco& p = Parametros().PapelCD;
    e = p.Medidas.Exterior > 0 ? p.Medidas : EtiquetasDisco().value(0);
  }
  for (QDoubleSpinBox* s : {spinExterior, spinFuro, spinX1, spinY1, spinX2, spinY2}) {
    s->setEnabled(propria);
    if (!e) s->clear();
  }
  if (e) {
    spinExterior->setValue(e->Exterior);
    spinFuro->setValue(e->Furo);
    spinX1->setValue(e->Centros[0].x());
    spinY1->setValue(e->Centros[0].y());
    spinX2->setValue(e->Centros[1].x());
    spinY2->setValue(e->Centros[1].y());
  }
  // The margins place the disc on plain A4 only.
  spinVertical->setEnabled(i == 0);
  spinHorizontal->setEnabled(i == 0);
}

bool TfrmParametros::LerPapelCD(TPapelDisco& papel) {
  const int i = comboPapelCD->currentIndex();
  papel.Tipo = TPapelDisco::A4Simples;
  if (i == comboPapelCD->count() - 1) {
    TEtiquetaDisco e;
    e.Referencia = QStringLiteral("Própria");
    e.Exterior = spinExterior->value();
    e.Furo = spinFuro->value();
    e.Centros[0] = QPointF(spinX1->value(), spinY1->value());
    e.Centros[1] = QPointF(spinX2->value(), spinY2->value());
    if (const QString why = ProblemaEtiqueta(e); !why.isEmpty()) {
      Dialogs().Warning(QStringLiteral("As medidas das etiquetas não servem: %1.").arg(why));
      return false;
    }
    papel.Tipo = TPapelDisco::Propria;
    papel.Medidas = e;
  } else if (i > 0) {
    papel.Tipo = TPapelDisco::Etiqueta;
    papel.Referencia = comboPapelCD->itemData(i).toString();
  }
  return true;
}

TfrmParametros::~TfrmParametros() = default;

void TfrmParametros::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormShow();
}

void TfrmParametros::FormShow() {
  const TParametros& p = Parametros();
  spinVertical->setValue(p.Superior);
  spinHorizontal->setValue(p.Esquerda);
  (p.Lingua == 0 ? radioPortugues : radioEnglish)->setChecked(true);
  spinGrelhaX->setValue(p.GrelhaX);
  spinGrelhaY->setValue(p.GrelhaY);
  shapeMarca->SetBrushColor(p.Dobra);
  comboGravacao->setCurrentIndex(p.Grava <= 1 ? p.Grava : -1);
  MostrarPapelCD();
}

void TfrmParametros::botaoCorMarcaClick() {
  if (const auto cor = Dialogs().ChooseColor(ColorDialog1Color)) {
    ColorDialog1Color = *cor;
    shapeMarca->SetBrushColor(*cor);
  }
}

void TfrmParametros::btnConfirmarClick() {
  TPapelDisco papel;
  if (!LerPapelCD(papel)) return;  // nothing is kept; the dialog stays open
  TParametros& p = Parametros();
  p.PapelCD = papel;
  p.Marcas = checkMarcas->isChecked();
  p.Sangria = checkSangria->isChecked();
  p.Superior = std::uint16_t(spinVertical->value());
  p.Esquerda = std::uint16_t(spinHorizontal->value());
  p.Lingua = radioEnglish->isChecked() ? 1 : 0;
  p.GrelhaX = std::uint8_t(spinGrelhaX->value());
  p.GrelhaY = std::uint8_t(spinGrelhaY->value());
  p.Dobra = shapeMarca->BrushColor();
  p.Grava = std::uint8_t(std::max(0, comboGravacao->currentIndex()));
  GravarParametros();
  accept();
}
