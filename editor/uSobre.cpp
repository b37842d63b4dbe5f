// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/uSobre.h"

#include "components/ProUrl.h"
#include "editor/ReInit.h"
#include "platform/Controls.h"
#include "platform/HelpViewer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

QPointer<TAboutBox> AboutBox;


TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  desenho = std::make_unique<TFormDesign>(this, "TAboutBox");
  desenho->Caption(this, "Sobre");
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
  // The program's page is its help: shown in the help viewer (there is no
  // web address to open).
  ProgramIcon->OnClick = [](QObject*) { HelpContents(); };
  TProUrlImage* icone = ProgramIcon;
  desenho->Set("Clique na imagem para visitar a minha página", [icone](const QString& t) { icone->SetHint(t); });
  try {
    ProgramIcon->LoadPicture(QStringLiteral(":/icons/splash.svg"));
  } catch (const Exception&) {
    // The picture is decoration; the box is complete without it.
  }
  RotuloDesenho(*desenho, painel, "Programa de impressão de lurns para CD", 120, 8, 15);
  RotuloDesenho(*desenho, painel, "Versão 1.2", 120, 40, 15);
  RotuloDesenho(*desenho, painel, "Desenho e programação:", 120, 96, 15);
  RotuloDesenho(*desenho, painel, "a equipa Lurns", 120, 120, 15);
  RotuloDesenho(*desenho, painel, "", 8, 152, 15, 323, true);
  OKButton = new QPushButton(this);
  desenho->Caption(OKButton, "OK");
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(351, 196, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

TAboutBox::~TAboutBox() = default;
