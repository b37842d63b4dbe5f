// The about box.
#pragma once

#include <QDialog>
#include <QPointer>

class QPushButton;
class TProUrlImage;

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  TProUrlImage* ProgramIcon;
  QPushButton* OKButton;
};

// The about box the program created at start-up.
class TAboutBox;
extern QPointer<TAboutBox> AboutBox;
