// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Classes.h"

#include "platform/Types.h"

#include <algorithm>
#include <map>

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  while (!components_.empty()) {
    TComponent* c = components_.back();
    components_.pop_back();
    c->owner_ = nullptr;
    delete c;
  }
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Destroying() {
  state_ |= csDestroying;
  if (self_) *self_ = nullptr;
}

std::shared_ptr<TComponent*> TComponent::SelfCell() const {
  if (!self_) self_ = std::make_shared<TComponent*>(IsDestroying() ? nullptr : const_cast<TComponent*>(this));
  return self_;
}

TComponent* TComponent::Components(int i) const {
  if (i < 0 || i >= ComponentCount()) return nullptr;
  return components_[size_t(i)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  const auto& list = owner_->components_;
  const auto pos = std::find(list.begin(), list.end(), this);
  return pos == list.end() ? -1 : int(pos - list.begin());
}

TComponent* TComponent::FindComponent(const QString& name) const {
  if (name.isEmpty()) return nullptr;
  for (TComponent* c : components_)
    if (c->name_.compare(name, Qt::CaseInsensitive) == 0) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
  if (!c || c->owner_ == this) return;
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  c->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* c) {
  const auto pos = std::find(components_.begin(), components_.end(), c);
  if (pos == components_.end()) return;
  components_.erase(pos);
  c->owner_ = nullptr;
}

bool TComponent::IsValidIdent(const QString& s) {
  if (s.isEmpty()) return false;
  for (int i = 0; i < s.size(); ++i) {
    const char16_t ch = s[i].unicode();
    const bool letter = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_';
    const bool digit = ch >= '0' && ch <= '9';
    if (!(letter || (i > 0 && digit))) return false;
  }
  return true;
}

void TComponent::SetName(const QString& name) {
  if (name == name_) return;
  if (!name.isEmpty()) {
    if (!IsValidIdent(name))
      throw Exception(QStringLiteral("\"%1\" não é um nome de componente válido.").arg(name));
    if (owner_) {
      TComponent* other = owner_->FindComponent(name);
      if (other && other != this)
        throw Exception(QStringLiteral("Já existe um componente chamado %1.").arg(name));
    }
  }
  name_ = name;
}

void TComponent::SetDesigning(bool on) {
  if (on)
    state_ |= csDesigning;
  else
    state_ &= ~csDesigning;
}

void TComponent::Loaded() { state_ &= ~csLoading; }

void TComponent::SetParentComponent(TComponent*) {}

// ---------------------------------------------------------------------------
// Class registry

namespace {
std::map<QString, TComponentFactory>& Classes() {
  static std::map<QString, TComponentFactory> classes;
  return classes;
}
}  // namespace

void RegisterClass(const QString& className, TComponentFactory create) {
  Classes()[className] = std::move(create);
}

void UnRegisterClass(const QString& className) { Classes().erase(className); }

bool IsClassRegistered(const QString& className) { return Classes().count(className) > 0; }

TComponent* CreateComponentOfClass(const QString& className, TComponent* owner) {
  const auto it = Classes().find(className);
  return it == Classes().end() ? nullptr : it->second(owner);
}

// ---------------------------------------------------------------------------
// Reader

TComponentReader::TComponentReader(TComponent* root) : root_(root) {
  root_->AddComponentState(csLoading | csReading);
  read_.emplace_back(root_);
}

TComponentReader::~TComponentReader() {
  if (!finished_) Abandon();
}

void TComponentReader::Begin(TComponent* c, const QString& name, TComponent* parent) {
  c->AddComponentState(csLoading | csReading);
  read_.emplace_back(c);
  c->SetName(name);
  if (parent) c->SetParentComponent(parent);
}

void TComponentReader::Finish() {
  if (finished_) return;
  finished_ = true;
  for (const auto& ref : read_)
    if (TComponent* c = ref.Get()) c->RemoveComponentState(csReading);
  size_t i = 0;
  try {
    for (; i < read_.size(); ++i)
      if (TComponent* c = read_[i].Get()) c->Loaded();
  } catch (...) {
    // The one that failed and those after it are not left half loaded.
    for (; i < read_.size(); ++i)
      if (TComponent* c = read_[i].Get()) c->RemoveComponentState(csLoading);
    throw;
  }
}

void TComponentReader::Abandon() {
  for (const auto& ref : read_)
    if (TComponent* c = ref.Get()) c->RemoveComponentState(csLoading | csReading);
}
