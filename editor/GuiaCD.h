// SPDX-License-Identifier: GPL-3.0-or-later
// The guide over the CD sheet's disc: the centre hole of the label stock
// chosen in the settings (and its outer circle), or on plain paper the
// standard 15 mm spindle hole and the 41 mm hub.  A thin line that only
// shows: it takes no mouse press and never prints.
#pragma once

#include <QWidget>

class TGuiaCD : public QWidget {
 public:
  // Over the whole of `parent`, on a disc `diametro` pixels across whose
  // box starts at the parent's corner.
  TGuiaCD(QWidget* parent, int diametro);
  // The circles drawn now, as diameters in millimetres.
  QList<double> Circulos() const;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int diametro_;
};
