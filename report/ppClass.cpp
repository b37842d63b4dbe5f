// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppClass.h"

#include <vector>

void TppComponent::BringToFront() {
  if (TppRelative* parent = Parent()) parent->MoveChild(this, parent->ChildCount() - 1);
}

void TppComponent::SendToBack() {
  if (TppRelative* parent = Parent()) parent->MoveChild(this, 0);
}

namespace {
std::vector<TppComponentClassInfo>& ComponentClasses() {
  static std::vector<TppComponentClassInfo> classes;
  return classes;
}
}  // namespace

void ppRegisterComponent(const QString& className, TComponentFactory create, const QString& page,
                         int position, const QString& hint) {
  ppUnRegisterComponent(className);
  ComponentClasses().push_back({className, page, position, hint});
  RegisterClass(className, std::move(create));
}

void ppUnRegisterComponent(const QString& className) {
  auto& classes = ComponentClasses();
  for (auto it = classes.begin(); it != classes.end(); ++it)
    if (it->ClassName == className) {
      classes.erase(it);
      UnRegisterClass(className);
      return;
    }
}

const TppComponentClassInfo* ppComponentClass(const QString& className) {
  for (const auto& c : ComponentClasses())
    if (c.ClassName == className) return &c;
  return nullptr;
}
