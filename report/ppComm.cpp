// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppComm.h"

#include <algorithm>

namespace {
template <class T>
bool Contains(const std::vector<T*>& v, const T* x) {
  return std::find(v.begin(), v.end(), x) != v.end();
}
template <class T>
void Erase(std::vector<T*>& v, const T* x) {
  v.erase(std::remove(v.begin(), v.end(), x), v.end());
}
}  // namespace

TppCommunicator::TppCommunicator(TComponent* owner) : TComponent(owner) {}

TppCommunicator::~TppCommunicator() { BeginDestroy(); }

void TppCommunicator::BeginDestroy() {
  if (ending_) return;
  ending_ = true;
  Destroying();
  NotifyLinked(ppopDestroying);
  const std::vector<TppCommunicator*> linked = links_;
  for (TppCommunicator* other : linked) other->Forget(this);
  links_.clear();
  listeners_.clear();
}

void TppCommunicator::Forget(TppCommunicator* gone) {
  Erase(links_, gone);
  Erase(listeners_, gone);
}

void TppCommunicator::AddCommState(std::uint16_t flags) {
  const std::uint16_t old = commState_;
  commState_ |= flags;
  if (commState_ != old) CommStateChanged(old);
}

void TppCommunicator::RemoveCommState(std::uint16_t flags) {
  const std::uint16_t old = commState_;
  commState_ &= std::uint16_t(~flags);
  if (commState_ != old) CommStateChanged(old);
}

// ---------------------------------------------------------------------------
// Links

void TppCommunicator::Link(TppCommunicator* other) {
  if (!other || other == this || ending_ || other->ending_) return;
  if (!Contains(links_, other)) links_.push_back(other);
  if (!Contains(other->links_, static_cast<const TppCommunicator*>(this))) other->links_.push_back(this);
}

void TppCommunicator::Unlink(TppCommunicator* other) {
  if (!other) return;
  Erase(links_, other);
  Erase(other->links_, this);
}

bool TppCommunicator::IsLinkedTo(const TppCommunicator* other) const {
  return Contains(links_, other);
}

void TppCommunicator::NotifyLinked(int operation) {
  // Receivers may unlink themselves (or others) while this runs.
  for (int i = int(links_.size()) - 1; i >= 0; --i) {
    if (i >= int(links_.size())) continue;
    links_[size_t(i)]->OnLinkedNotify(this, operation);
  }
}

void TppCommunicator::OnLinkedNotify(TppCommunicator*, int) {}

// ---------------------------------------------------------------------------
// Events

void TppCommunicator::Subscribe(TppCommunicator* listener) {
  if (!listener || listener == this || Contains(listeners_, listener)) return;
  const QString key = listener->ListenerSortKey();
  auto pos = listeners_.end();
  if (!key.isEmpty())
    pos = std::find_if(listeners_.begin(), listeners_.end(), [&](TppCommunicator* l) {
      const QString other = l->ListenerSortKey();
      return !other.isEmpty() && QString::compare(other, key) > 0;
    });
  listeners_.insert(pos, listener);
  Link(listener);
}

void TppCommunicator::Unsubscribe(TppCommunicator* listener) { Erase(listeners_, listener); }

void TppCommunicator::PublishEvent(TppCommunicator* sender, int eventNo, TppEventParams& params) {
  if (eventNo < 0 || eventNo >= ppMaxEventNumber) return;
  // Listeners that leave the list (or are destroyed) while the event goes
  // round are skipped; those that stay are called once.
  const std::vector<TppCommunicator*> round = listeners_;
  for (TppCommunicator* l : round)
    if (Contains(listeners_, l) && l->WantsEvent(eventNo)) l->OnEvent(sender, eventNo, params);
}

void TppCommunicator::PublishEvent(TppCommunicator* sender, int eventNo) {
  TppEventParams none;
  PublishEvent(sender, eventNo, none);
}

void TppCommunicator::AddEventNotify(int eventNo) {
  if (eventNo >= 0 && eventNo < ppMaxEventNumber) events_.set(size_t(eventNo));
}

void TppCommunicator::RemoveEventNotify(int eventNo) {
  if (eventNo >= 0 && eventNo < ppMaxEventNumber) events_.reset(size_t(eventNo));
}

bool TppCommunicator::WantsEvent(int eventNo) const {
  return eventNo >= 0 && eventNo < ppMaxEventNumber && events_.test(size_t(eventNo));
}

void TppCommunicator::OnEvent(TppCommunicator* sender, int eventNo, TppEventParams& params) {
  if (EventHook) EventHook(sender, eventNo, params);
}

// ---------------------------------------------------------------------------
// User names

bool TppCommunicator::IsValidUserName(const QString& value) const { return IsValidIdent(value); }

void TppCommunicator::CollectUserNameScope(std::vector<const TppCommunicator*>& out) const {
  if (!Owner()) return;
  for (int i = 0; i < Owner()->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<const TppCommunicator*>(Owner()->Components(i))) out.push_back(c);
}

TppCommunicator* TppCommunicator::FindUserName(const QString& value) const {
  std::vector<const TppCommunicator*> scope;
  CollectUserNameScope(scope);
  for (const TppCommunicator* c : scope)
    if (c != this && c->GetUserName().compare(value, Qt::CaseInsensitive) == 0)
      return const_cast<TppCommunicator*>(c);
  return nullptr;
}

QString TppCommunicator::MakeUniqueUserName(const QString& value) const {
  for (int n = 1;; ++n) {
    const QString candidate = value + QString::number(n);
    if (!FindUserName(candidate)) return candidate;
  }
}

void TppCommunicator::StoreUserName(const QString& value) {
  userName_ = value;
  NotifyLinked(ppopUserNameChange);
}

void TppCommunicator::SetUserName(const QString& value) {
  if (value == userName_) return;
  if (IsReading()) {
    userName_ = value;
    return;
  }
  if (!IsValidUserName(value)) return;
  if (!FindUserName(value)) {
    StoreUserName(value);
    return;
  }
  // A name that ends in a digit 1-9 is somebody's numbered name: it is not
  // renumbered.
  const QChar last = value.back();
  if (last >= QLatin1Char('1') && last <= QLatin1Char('9')) return;
  StoreUserName(MakeUniqueUserName(value));
}

QString TppCommunicator::DerivedUserName() const {
  const QString name = Name();
  const QString cls = ClassName();
  if (name.size() >= 2 && cls.size() >= 3 && name.left(2) == cls.mid(1, 2)) return name.mid(2);
  return name;
}

void TppCommunicator::SetName(const QString& name) {
  const QString oldDerived = DerivedUserName();
  TComponent::SetName(name);
  if (IsReading()) return;
  if (userName_.isEmpty() || userName_ == oldDerived) SetUserName(DerivedUserName());
}

void TppCommunicator::Loaded() {
  TComponent::Loaded();
  if (userName_.isEmpty()) SetUserName(DerivedUserName());
}
