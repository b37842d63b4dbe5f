#include "editor/uSobre.h"

#include "components/ProUrl.h"
#include "platform/Controls.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

QPointer<TAboutBox> AboutBox;

namespace {
QLabel* Rotulo(QWidget* parent, const QString& text, int x, int y, int w = -1, bool wrap = false) {
  auto* l = new QLabel(text, parent);
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(15);
  f.setBold(true);
  l->setFont(f);
  l->setWordWrap(wrap);
  l->move(x, y);
  if (w > 0) l->resize(w, l->heightForWidth(w) > 0 ? l->heightForWidth(w) : l->sizeHint().height());
  else l->adjustSize();
  return l;
}
}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("Sobre"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(438, 227);
  setProperty("HelpContext", 1);
  auto* painel = new TPanel(this);
  painel->setObjectName(QStringLiteral("Panel1"));
  painel->setGeometry(8, 8, 425, 177);
  painel->BevelInner = bvRaised;
  painel->BevelOuter = bvLowered;
  ProgramIcon = new TProUrlImage(painel);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setGeometry(8, 8, 105, 129);
  ProgramIcon->SetStretch(true);
  ProgramIcon->SetShowHint(true);
  ProgramIcon->SetHint(QStringLiteral("Clique na imagem para visitar a minha página"));
  try {
    ProgramIcon->LoadPicture(QStringLiteral(":/icons/splash.svg"));
  } catch (const Exception&) {
    // The picture is decoration; the box is complete without it.
  }
  Rotulo(painel, QStringLiteral("Programa de impressão de lurns para CD"), 120, 8);
  Rotulo(painel, QStringLiteral("Versão 1.2"), 120, 40);
  Rotulo(painel, QStringLiteral("Desenho e programação:"), 120, 96);
  Rotulo(painel, QStringLiteral("a equipa Lurns"), 120, 120);
  Rotulo(painel, QString(), 8, 152, 323, true);
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(351, 196, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}
