// SPDX-License-Identifier: GPL-3.0-or-later
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

// The report components a report designer offers on its tool bar, by class
// name: the page of the tool bar, the place on it and the hint.  A class
// registered here can also be made by name (RegisterClass); registering
// a class again replaces its entry.  The cover reports are built in code,
// so only the class names matter to this program.
struct TppComponentClassInfo {
  QString ClassName;
  QString Page;
  int Position = 0;
  QString Hint;
};
void ppRegisterComponent(const QString& className, TComponentFactory create, const QString& page,
                         int position, const QString& hint);
template <class T>
void ppRegisterComponent(const QString& page, int position, const QString& hint) {
  ppRegisterComponent(
      T::StaticClassName(), [](TComponent* owner) -> TComponent* { return new T(owner); }, page,
      position, hint);
}
// Takes the class off the tool bar and out of the classes made by name.
void ppUnRegisterComponent(const QString& className);
// The entry of a class, or null.
const TppComponentClassInfo* ppComponentClass(const QString& className);
