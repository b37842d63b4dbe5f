// SPDX-License-Identifier: GPL-3.0-or-later
// The platform's component class and what goes with it: TComponent (an
// owner that frees it, a Name, a Tag and state flags), references that
// notice when a component is gone, the class registry that creates
// components by class name, and the reader that builds components the way
// a stored design is read.
//
// Components are plain objects, not Qt objects and not widgets: the report
// engine is built from them and runs without windows.  Ownership and order
// are kept in the owner's own list, in creation order.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,     // made from a design that is being read; Loaded has not run yet
  csReading = 1u << 1,     // its stored properties are being assigned
  csWriting = 1u << 2,     // its properties are being stored
  csDestroying = 1u << 3,  // it is being destroyed
  csDesigning = 1u << 4,   // it is shown in a designer
};
using TComponentState = unsigned;

// Gives a component class its platform class name: StaticClassName() for
// the class, ClassName() for an object.  Used in the public section of every
// class that is created by name or whose name matters (user names, device
// and draw-command classes).
#define LURNS_COMPONENT(Class)                                            \
  static QString StaticClassName() { return QStringLiteral(#Class); }     \
  QString ClassName() const override { return StaticClassName(); }

class TComponent {
 public:
  explicit TComponent(TComponent* owner = nullptr);
  // Frees every owned component, the last one first, and leaves the owner.
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  static QString StaticClassName() { return QStringLiteral("TComponent"); }
  virtual QString ClassName() const { return StaticClassName(); }

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return int(components_.size()); }
  TComponent* Components(int i) const;
  // Position in the owner's list; -1 without an owner.
  int ComponentIndex() const;
  // The owned component with this name, letters compared without case.
  TComponent* FindComponent(const QString& name) const;
  // Takes c over from its previous owner and appends it.
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

  QString Name() const { return name_; }
  // Throws Exception when the name is not an identifier or another
  // component of the same owner bears it.  An empty name is allowed.
  virtual void SetName(const QString& name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  TComponentState ComponentState() const { return state_; }
  bool IsLoading() const { return state_ & csLoading; }
  bool IsReading() const { return state_ & csReading; }
  bool IsDesigning() const { return state_ & csDesigning; }
  bool IsDestroying() const { return state_ & csDestroying; }
  void SetDesigning(bool on);

  // Runs once the whole design the component belongs to has been read;
  // the base clears csLoading.  Overrides call it first.
  virtual void Loaded();
  // The component's parent in a stored design (a band for a printable
  // component, a report for a band), given while the design is read.
  virtual void SetParentComponent(TComponent* parent);
  virtual TComponent* GetParentComponent() const { return nullptr; }

  // Identifier rules of component names: a letter or "_", then letters,
  // digits and "_" (ASCII only).
  static bool IsValidIdent(const QString& s);

 protected:
  // Marks the component as being destroyed and makes every reference to it
  // answer null.  Destructors that tell others about their end call it
  // first, so that nobody reaches a half-destroyed object.
  void Destroying();
  void AddComponentState(TComponentState s) { state_ |= s; }
  void RemoveComponentState(TComponentState s) { state_ &= ~s; }

 private:
  template <class T>
  friend class TComponentRef;
  friend class TComponentReader;

  std::shared_ptr<TComponent*> SelfCell() const;

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  QString name_;
  int tag_ = 0;
  TComponentState state_ = 0;
  // The cell references share; null once the component is being destroyed.
  mutable std::shared_ptr<TComponent*> self_;
};

// A reference to a component that answers null once the component is
// being destroyed: back references (a draw command to the component that
// made it) use it, so that what they point at may go first.
template <class T>
class TComponentRef {
 public:
  TComponentRef() = default;
  TComponentRef(T* c) {  // NOLINT(google-explicit-constructor): a reference is made from a pointer
    if (c) cell_ = static_cast<const TComponent*>(c)->SelfCell();
  }
  T* Get() const { return cell_ && *cell_ ? static_cast<T*>(*cell_) : nullptr; }
  explicit operator bool() const { return Get() != nullptr; }

 private:
  std::shared_ptr<TComponent*> cell_;
};

// Creates components by class name.  Classes whose objects are re-created
// from their name (draw commands when pages are copied, devices, report
// components) register here; registering a name again replaces its entry.
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

void RegisterClass(const QString& className, TComponentFactory create);
template <class T>
void RegisterClass() {
  RegisterClass(T::StaticClassName(), [](TComponent* owner) -> TComponent* { return new T(owner); });
}
void UnRegisterClass(const QString& className);
bool IsClassRegistered(const QString& className);
// A new component of the named class, or null when none is registered.
TComponent* CreateComponentOfClass(const QString& className, TComponent* owner);

// Builds components the way a stored design is read, for designs that are
// defined in code.  Every component made through the reader, and the root,
// is in the loading and reading states until Finish: setters that only
// store values while a design is read (page sizes, geometry, stream
// properties, user names as written) behave as they do for a stored design.
// Finish then ends reading and runs Loaded on the root and on every
// component in the order they were made.
//
//   TComponentReader reader(container);
//   auto* report = reader.Add<TppReport>("reportFrenteCD");
//   report->SetUnits(utScreenPixels);
//   auto* band = reader.Add<TppDetailBand>("ppDetailBand1", report);
//   ...
//   reader.Finish();
class TComponentReader {
 public:
  // root: the component that owns the design (a container, or the report
  // itself); it is read too.
  explicit TComponentReader(TComponent* root);
  // A reader left without Finish (an exception while building) only ends
  // the loading and reading states; Loaded does not run.
  ~TComponentReader();
  TComponentReader(const TComponentReader&) = delete;
  TComponentReader& operator=(const TComponentReader&) = delete;

  // A new component of class T owned by the root, named, given its parent
  // in the design, and in the reading state.
  template <class T>
  T* Add(const QString& name, TComponent* parent = nullptr) {
    T* c = new T(root_);
    Begin(c, name, parent);
    return c;
  }
  void Finish();

 private:
  void Begin(TComponent* c, const QString& name, TComponent* parent);
  void Abandon();

  TComponent* root_;
  std::vector<TComponentRef<TComponent>> read_;
  bool finished_ = false;
};
