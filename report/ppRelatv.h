// SPDX-License-Identifier: GPL-3.0-or-later
// Engine objects that form a tree: a report holds its bands, a band its
// components, in an order of their own (the print order).  TppRelative
// keeps the parent and the ordered children; a relative frees its children
// when it is destroyed.  TppCacheable is the stage of objects that could
// keep per-page state for regenerating pages; nothing here keeps any.
#pragma once

#include "report/ppComm.h"

class TppRelative : public TppCommunicator {
 public:
  LURNS_COMPONENT(TppRelative)
  explicit TppRelative(TComponent* owner = nullptr);
  // Frees the children, then leaves the parent.
  ~TppRelative() override;

  TppRelative* Parent() const { return parent_; }
  // Leaves the old parent's children and joins the end of the new one's.
  virtual void SetParent(TppRelative* parent);

  virtual int ChildCount() const { return int(children_.size()); }
  virtual TppRelative* Child(int index) const;
  virtual void AddChild(TppRelative* child);
  virtual void InsertChild(int index, TppRelative* child);
  virtual int IndexOfChild(const TppRelative* child) const;
  virtual void RemoveChild(TppRelative* child);
  // Moves a child to another place in the order (clamped to the list).
  void MoveChild(TppRelative* child, int newIndex);

  // The top of the tree this object belongs to (itself without a parent).
  TppRelative* Root() const;

 protected:
  // Relatives share user names across their whole tree (a report with its
  // bands and components); without a parent, across the owner's components.
  void CollectUserNameScope(std::vector<const TppCommunicator*>& out) const override;
  // The parent changed (SetParent, AddChild, RemoveChild).
  virtual void ParentChanged(TppRelative* /*oldParent*/) {}

 private:
  void CollectTree(std::vector<const TppCommunicator*>& out) const;

  std::vector<TppRelative*> children_;
  TppRelative* parent_ = nullptr;
  bool freeingChildren_ = false;
};

class TppCacheable : public TppRelative {
 public:
  LURNS_COMPONENT(TppCacheable)
  explicit TppCacheable(TComponent* owner = nullptr) : TppRelative(owner) {}
};
