#include "editor/uSplash.h"

#include "platform/Controls.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QIcon>

namespace {
QLabel* Rotulo(QWidget* parent, const QString& text, int x, int y, int w = -1) {
  auto* l = new QLabel(text, parent);
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(13);
  f.setBold(true);
  l->setFont(f);
  l->setStyleSheet(QStringLiteral("color: navy; background: transparent;"));
  l->move(x, y);
  if (w > 0) l->resize(w, l->sizeHint().height());
  else l->adjustSize();
  return l;
}
}  // namespace

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setWindowTitle(QStringLiteral("Lurns para CD"));
  setFixedSize(352, 146);
  auto* painel = new TPanel(this);
  painel->setObjectName(QStringLiteral("Panel1"));
  painel->setGeometry(0, 0, 352, 146);
  painel->SetColor(clSilver);
  painel->BevelInner = bvLowered;
  painel->BevelOuter = bvLowered;
  auto* imagem = new QLabel(painel);
  imagem->setGeometry(8, 8, 105, 129);
  imagem->setPixmap(QIcon(QStringLiteral(":/icons/splash.svg")).pixmap(105, 129));
  auto* icone = new QLabel(painel);
  icone->setGeometry(120, 8, 32, 32);
  icone->setPixmap(QIcon(QStringLiteral(":/icons/lurns.svg")).pixmap(32, 32));
  Rotulo(painel, QStringLiteral("Lurns 1.2"), 160, 17);
  Rotulo(painel, QStringLiteral("Programa de impressão de"), 120, 41);
  Rotulo(painel, QStringLiteral("lurns para CD"), 120, 65);
  Rotulo(painel, QStringLiteral("Feito em Portugal"), 120, 113, 185);
  if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}
