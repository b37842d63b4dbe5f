// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Components.h"

#include <QObject>
#include <algorithm>

TOwnedComponents::~TOwnedComponents() {
  while (!items_.empty()) {
    Item it = items_.back();
    items_.pop_back();
    QObject::disconnect(it.onDestroyed);
    delete it.obj;
  }
}

void TOwnedComponents::InsertComponent(QObject* c) {
  if (!c || IndexOf(c) >= 0) return;
  Item it{c, {}};
  it.onDestroyed = QObject::connect(c, &QObject::destroyed, [this, c] { RemoveComponent(c); });
  items_.push_back(it);
}

void TOwnedComponents::RemoveComponent(QObject* c) {
  auto pos = std::find_if(items_.begin(), items_.end(), [c](const Item& it) { return it.obj == c; });
  if (pos == items_.end()) return;
  QObject::disconnect(pos->onDestroyed);
  items_.erase(pos);
}

QObject* TOwnedComponents::Components(int i) const {
  if (i < 0 || i >= ComponentCount()) return nullptr;
  return items_[size_t(i)].obj;
}

int TOwnedComponents::IndexOf(const QObject* c) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].obj == c) return int(i);
  return -1;
}

QObject* TOwnedComponents::FindComponent(const QString& name) const {
  if (name.isEmpty()) return nullptr;
  for (const Item& it : items_)
    if (it.obj->objectName().compare(name, Qt::CaseInsensitive) == 0) return it.obj;
  return nullptr;
}

QString TOwnedComponents::ClassName(const QObject* c) {
  return c ? QString::fromLatin1(c->metaObject()->className()) : QString();
}
