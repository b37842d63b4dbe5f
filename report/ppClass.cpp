#include "report/ppClass.h"

void TppComponent::BringToFront() {
  if (TppRelative* parent = Parent()) parent->MoveChild(this, parent->ChildCount() - 1);
}

void TppComponent::SendToBack() {
  if (TppRelative* parent = Parent()) parent->MoveChild(this, 0);
}
