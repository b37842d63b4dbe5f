// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/uSplash.h"

#include "editor/ReInit.h"
#include "platform/Controls.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QIcon>


TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmSplash"));
  desenho = std::make_unique<TFormDesign>(this, "TfrmSplash");
  desenho->Caption(this, "Lurns para CD");
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
  // Navy labels on the silver panel.
  painel->setStyleSheet(QStringLiteral("QLabel { color: navy; background: transparent; }"));
  RotuloDesenho(*desenho, painel, "Lurns 1.2", 160, 17, 13);
  RotuloDesenho(*desenho, painel, "Programa de impressão de", 120, 41, 13);
  RotuloDesenho(*desenho, painel, "lurns para CD", 120, 65, 13);
  RotuloDesenho(*desenho, painel, "Feito em Portugal", 120, 113, 13, 185);
  if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

TfrmSplash::~TfrmSplash() = default;
