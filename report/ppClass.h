// The stages between a printable and the concrete report components
// (labels, shapes, images and the program's own rotated label): TppComponent
// is what a report designer places on a band, TppCustomComponent the base
// those components derive from.
#pragma once

#include "report/ppPrnabl.h"

class TppComponent : public TppPrintable {
 public:
  LURNS_COMPONENT(TppComponent)
  explicit TppComponent(TComponent* owner = nullptr) : TppPrintable(owner) {}

  // Moves the component to the end of its band's print order (printed
  // last, above the others) or to its start.
  void BringToFront();
  void SendToBack();
};

class TppCustomComponent : public TppComponent {
 public:
  LURNS_COMPONENT(TppCustomComponent)
  explicit TppCustomComponent(TComponent* owner = nullptr) : TppComponent(owner) {}
};
