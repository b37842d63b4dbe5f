// SPDX-License-Identifier: GPL-3.0-or-later
// The window shown while the program starts.
#pragma once

#include <QWidget>
#include <memory>

class TFormDesign;

class TfrmSplash : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmSplash(QWidget* parent = nullptr);
  ~TfrmSplash() override;
  std::unique_ptr<TFormDesign> desenho;
};
