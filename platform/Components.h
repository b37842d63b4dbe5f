// SPDX-License-Identifier: GPL-3.0-or-later
// The list of components a control owns, in the order they were created.
// Qt's own child list reorders itself when a widget is raised, so the
// creation order that saving and printing walk is kept here instead.
#pragma once

#include <QMetaObject>
#include <QString>
#include <vector>

class QObject;

class TOwnedComponents {
 public:
  TOwnedComponents() = default;
  TOwnedComponents(const TOwnedComponents&) = delete;
  TOwnedComponents& operator=(const TOwnedComponents&) = delete;
  // Frees every component still owned, the last one first.
  ~TOwnedComponents();

  // Appends c; it leaves the list by itself when it is destroyed.
  void InsertComponent(QObject* c);
  void RemoveComponent(QObject* c);
  int ComponentCount() const { return int(items_.size()); }
  QObject* Components(int i) const;
  int IndexOf(const QObject* c) const;
  // The owned component with this name, letters compared without case.
  QObject* FindComponent(const QString& name) const;
  // The platform class name of an owned component ("TProLabel", ...).
  static QString ClassName(const QObject* c);

 private:
  struct Item {
    QObject* obj;
    QMetaObject::Connection onDestroyed;
  };
  std::vector<Item> items_;
};
