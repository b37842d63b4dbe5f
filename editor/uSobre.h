// SPDX-License-Identifier: GPL-3.0-or-later
// The about box.
#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

class QPushButton;
class TProUrlImage;
class TFormDesign;

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  ~TAboutBox() override;
  std::unique_ptr<TFormDesign> desenho;
  TProUrlImage* ProgramIcon;
  QPushButton* OKButton;
};

// The about box the program created at start-up.
class TAboutBox;
extern QPointer<TAboutBox> AboutBox;
