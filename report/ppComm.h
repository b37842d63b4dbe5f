// SPDX-License-Identifier: GPL-3.0-or-later
// The base of every report-engine object: TppCommunicator.  Engine objects
// tell each other about changes in two ways:
//
// - Links: a symmetric relation between two objects.  NotifyLinked sends an
//   operation code to every linked object (the last linked first); a
//   communicator that is destroyed sends ppopDestroying, and every object
//   linked to it drops its references to it.
// - Events: an object publishes numbered events; its listeners (subscribed
//   to it) receive the numbers they asked for.
//
// A communicator also carries the user name that designers and the report's
// own objects know it by ("Label1", "Detail", "Report").
#pragma once

#include "platform/Classes.h"

#include <any>
#include <bitset>
#include <cstdint>
#include <functional>
#include <vector>

// Operation codes of NotifyLinked.
enum TppOperation : int {
  ppopDestroying = 0,        // the sender is being destroyed: drop every reference to it
  ppopDataPipelineChange = 2,  // a detail band's data pipeline changed
  ppopUserNameChange = 3,    // the sender's user name changed
};

// Event numbers published on the way to paper.  Producer events first call
// their handler, then publish the number.
enum TppEventNumber : int {
  ppevCancel = 2,
  ppevCancelDialogCreate = 3,
  ppevCancelDialogClose = 4,
  ppevPreviewFormCreate = 5,
  ppevPreviewFormClose = 6,
  ppevPrintDialogCreate = 7,
  ppevPrintDialogClose = 8,
  ppevSaveText = 9,
  ppevStartReport = 13,      // before the first page
  ppevEndFirstPass = 16,
  ppevStartFirstPass = 20,
  ppevStartPage = 21,
  ppevPrint = 32,            // a component's OnPrint
  ppevGetText = 53,          // a text component's OnGetText; the text is the parameter
  ppevDrawCommandCreate = 84,
  ppevDrawCommandClick = 85,
};
// Event numbers reach listeners only below this.
inline constexpr int ppMaxEventNumber = 256;

class TppCommunicator;

// The values an event carries (a draw command, a text, ...); listeners may
// change them, as the text of ppevGetText.
using TppEventParams = std::vector<std::any>;
using TppEventHook =
    std::function<void(TppCommunicator* Sender, int EventNo, TppEventParams& Params)>;
using TppNotifyEvent = std::function<void(TComponent* Sender)>;

class TppCommunicator : public TComponent {
 public:
  LURNS_COMPONENT(TppCommunicator)
  explicit TppCommunicator(TComponent* owner = nullptr);
  ~TppCommunicator() override;

  // --- State flags: a small set of flags of the object's own; a change of
  // the set calls CommStateChanged.
  std::uint16_t CommState() const { return commState_; }
  virtual void AddCommState(std::uint16_t flags);
  virtual void RemoveCommState(std::uint16_t flags);
  virtual void CommStateChanged(std::uint16_t /*oldState*/) {}

  // --- Links
  // Links both ways, each at most once.
  void Link(TppCommunicator* other);
  void Unlink(TppCommunicator* other);
  bool IsLinkedTo(const TppCommunicator* other) const;
  int LinkCount() const { return int(links_.size()); }
  // Calls OnLinkedNotify(this, operation) on every linked object, from the
  // last linked to the first.
  void NotifyLinked(int operation);
  // Another object told about a change; the base does nothing (references
  // to a destroyed sender are dropped from the lists whatever overrides do).
  virtual void OnLinkedNotify(TppCommunicator* sender, int operation);

  // --- Events
  // Keeps listener in this object's listener list (ordered by its
  // ListenerSortKey when that is not empty) and links the two.
  void Subscribe(TppCommunicator* listener);
  // Takes listener off the list; the link stays (it may serve other ties).
  void Unsubscribe(TppCommunicator* listener);
  int ListenerCount() const { return int(listeners_.size()); }
  TppCommunicator* Listeners(int i) const { return listeners_[size_t(i)]; }
  // Calls OnEvent on every listener that asked for the number.  Listeners
  // may unsubscribe themselves or others, or be destroyed, while it runs.
  void PublishEvent(TppCommunicator* sender, int eventNo, TppEventParams& params);
  void PublishEvent(TppCommunicator* sender, int eventNo);
  // The event numbers this object wants to receive (0-255).
  void AddEventNotify(int eventNo);
  void RemoveEventNotify(int eventNo);
  bool WantsEvent(int eventNo) const;
  // A listener received an event; the base calls EventHook.
  virtual void OnEvent(TppCommunicator* sender, int eventNo, TppEventParams& params);
  TppEventHook EventHook;
  // Orders the listener lists this object is kept in; empty: appended.
  virtual QString ListenerSortKey() const { return {}; }

  // A property of the object changed (overrides react, for example by
  // repainting).
  virtual void Changed() {}

  // --- User names
  QString UserName() const { return GetUserName(); }
  virtual QString GetUserName() const { return userName_; }
  // A value that is not an identifier is ignored.  While a design is read
  // the value is stored as it stands.  Otherwise a value no other object of
  // the same scope uses is stored (and ppopUserNameChange sent); a taken
  // value that does not end in a digit 1-9 gets the smallest suffix 1, 2,
  // ... that frees it; a taken value ending in 1-9 is refused.
  virtual void SetUserName(const QString& value);
  virtual bool IsValidUserName(const QString& value) const;
  // Another object of this object's scope with the user name (letters
  // compared without case), or null.
  virtual TppCommunicator* FindUserName(const QString& value) const;
  // value with the smallest suffix 1, 2, ... that no other object uses.
  QString MakeUniqueUserName(const QString& value) const;
  // The user name the Name gives: the Name without its first two letters
  // when those equal the second and third letters of the class name
  // ("ppLabel1" of a TppLabel gives "Label1"), else the Name itself.
  QString DerivedUserName() const;
  // Renaming re-derives the user name when it was empty or the one the old
  // name gave, except while a design is read.
  void SetName(const QString& name) override;
  // A component whose design gave it no user name derives one.
  void Loaded() override;

 protected:
  // The objects whose user names this one's must differ from: the owner's
  // components (relatives search their whole report instead).
  virtual void CollectUserNameScope(std::vector<const TppCommunicator*>& out) const;
  // Stores a user name as it stands, telling the linked objects.
  void StoreUserName(const QString& value);
  // Tells the linked objects that this one goes, and forgets them; runs
  // once.  Destructors of classes that others hold call it first, so that
  // the others drop their references while this object is still whole.
  void BeginDestroy();

 private:
  // A linked object was destroyed: every reference to it goes.
  void Forget(TppCommunicator* gone);

  std::uint16_t commState_ = 0;
  std::vector<TppCommunicator*> links_;
  std::vector<TppCommunicator*> listeners_;
  std::bitset<ppMaxEventNumber> events_;
  QString userName_;
  bool ending_ = false;
};
