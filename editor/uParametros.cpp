#include "editor/uParametros.h"

#include "editor/ReInit.h"
#include "editor/uDefParametros.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

#include <QComboBox>
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
  // A 371 x 340 window: the client area below its title bar and borders.
  setFixedSize(363, 313);
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
}

void TfrmParametros::botaoCorMarcaClick() {
  if (const auto cor = Dialogs().ChooseColor(ColorDialog1Color)) {
    ColorDialog1Color = *cor;
    shapeMarca->SetBrushColor(*cor);
  }
}

void TfrmParametros::btnConfirmarClick() {
  TParametros& p = Parametros();
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
