// The window shown while the program starts.
#pragma once

#include <QWidget>

class TfrmSplash : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmSplash(QWidget* parent = nullptr);
};
