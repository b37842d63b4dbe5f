// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppRelatv.h"

#include <algorithm>

TppRelative::TppRelative(TComponent* owner) : TppCommunicator(owner) {}

TppRelative::~TppRelative() {
  BeginDestroy();
  freeingChildren_ = true;
  while (!children_.empty()) {
    TppRelative* c = children_.back();
    children_.pop_back();
    c->parent_ = nullptr;
    delete c;
  }
  freeingChildren_ = false;
  if (parent_) parent_->RemoveChild(this);
}

TppRelative* TppRelative::Child(int index) const {
  if (index < 0 || index >= int(children_.size())) return nullptr;
  return children_[size_t(index)];
}

int TppRelative::IndexOfChild(const TppRelative* child) const {
  const auto pos = std::find(children_.begin(), children_.end(), child);
  return pos == children_.end() ? -1 : int(pos - children_.begin());
}

void TppRelative::SetParent(TppRelative* parent) {
  if (parent == parent_) return;
  if (parent)
    parent->AddChild(this);
  else
    parent_->RemoveChild(this);
}

void TppRelative::AddChild(TppRelative* child) { InsertChild(int(children_.size()), child); }

void TppRelative::InsertChild(int index, TppRelative* child) {
  if (!child || child == this || IndexOfChild(child) >= 0) return;
  TppRelative* old = child->parent_;
  if (old) {
    child->parent_ = nullptr;
    old->RemoveChild(child);
  }
  index = std::clamp(index, 0, int(children_.size()));
  children_.insert(children_.begin() + index, child);
  child->parent_ = this;
  child->ParentChanged(old);
}

void TppRelative::RemoveChild(TppRelative* child) {
  if (freeingChildren_) return;
  const auto pos = std::find(children_.begin(), children_.end(), child);
  if (pos == children_.end()) return;
  children_.erase(pos);
  if (child->parent_ == this) {
    child->parent_ = nullptr;
    child->ParentChanged(this);
  }
}

void TppRelative::MoveChild(TppRelative* child, int newIndex) {
  const int i = IndexOfChild(child);
  if (i < 0) return;
  children_.erase(children_.begin() + i);
  newIndex = std::clamp(newIndex, 0, int(children_.size()));
  children_.insert(children_.begin() + newIndex, child);
}

TppRelative* TppRelative::Root() const {
  const TppRelative* r = this;
  while (r->parent_) r = r->parent_;
  return const_cast<TppRelative*>(r);
}

void TppRelative::CollectTree(std::vector<const TppCommunicator*>& out) const {
  out.push_back(this);
  for (const TppRelative* c : children_) c->CollectTree(out);
}

void TppRelative::CollectUserNameScope(std::vector<const TppCommunicator*>& out) const {
  if (!parent_) {
    TppCommunicator::CollectUserNameScope(out);
    return;
  }
  Root()->CollectTree(out);
}
