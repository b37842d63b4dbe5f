// SPDX-License-Identifier: GPL-3.0-or-later
// The platform's component class: ownership in creation order, names,
// references that notice the end of a component, creation by class name,
// and the reader that builds components as a stored design is read.
#include "platform/Classes.h"
#include "platform/Types.h"

#include <gtest/gtest.h>

namespace {

// Records the order in which components finish loading.
class Recorder : public TComponent {
 public:
  LURNS_COMPONENT(Recorder)
  using TComponent::TComponent;
  static inline std::vector<QString> loaded;
  void Loaded() override {
    EXPECT_TRUE(IsLoading()) << Name().toStdString();
    EXPECT_FALSE(IsReading()) << Name().toStdString();
    TComponent::Loaded();
    loaded.push_back(Name());
  }
};

}  // namespace

TEST(Components, OwnersFreeWhatTheyOwnInCreationOrder) {
  auto* owner = new TComponent;
  auto* a = new TComponent(owner);
  auto* b = new TComponent(owner);
  auto* c = new TComponent(owner);
  a->SetName("Texto1");
  EXPECT_EQ(owner->FindComponent("TEXTO1"), a);
  EXPECT_EQ(c->ComponentIndex(), 2);

  delete b;  // a freed component leaves its owner
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(1), c);

  TComponent other;
  other.InsertComponent(a);  // taken over
  EXPECT_EQ(a->Owner(), &other);
  EXPECT_EQ(owner->ComponentCount(), 1);

  TComponentRef<TComponent> ref(c);
  EXPECT_EQ(ref.Get(), c);
  delete owner;
  EXPECT_FALSE(ref);
  EXPECT_EQ(other.ComponentCount(), 1);
}

TEST(Components, NamesAreIdentifiersUniqueInTheirOwner) {
  TComponent owner;
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Imagem1");
  const struct {
    const char* name;
    bool ok;
  } cases[] = {{"Imagem2", true}, {"_x9", true}, {"", true},         {"IMAGEM1", false},
               {"9lives", false}, {"a-b", false}, {"Não", false}};
  for (const auto& c : cases) {
    if (c.ok) {
      EXPECT_NO_THROW(b->SetName(c.name)) << c.name;
      EXPECT_EQ(b->Name(), QString::fromUtf8(c.name));
    } else {
      EXPECT_THROW(b->SetName(QString::fromUtf8(c.name)), Exception) << c.name;
    }
  }
}

TEST(Components, ClassesAreCreatedByName) {
  EXPECT_EQ(CreateComponentOfClass("Recorder", nullptr), nullptr);
  RegisterClass<Recorder>();
  TComponent owner;
  TComponent* made = CreateComponentOfClass("Recorder", &owner);
  ASSERT_NE(dynamic_cast<Recorder*>(made), nullptr);
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_EQ(made->ClassName(), "Recorder");
  UnRegisterClass("Recorder");
  EXPECT_FALSE(IsClassRegistered("Recorder"));
}

TEST(Components, TheReaderLoadsTheRootFirstThenInCreationOrder) {
  Recorder::loaded.clear();
  Recorder root;
  root.SetName("root");
  {
    TComponentReader reader(&root);
    EXPECT_TRUE(root.IsReading());
    auto* first = reader.Add<Recorder>("first");
    auto* second = reader.Add<Recorder>("second");
    EXPECT_EQ(first->ComponentState() & (csLoading | csReading), csLoading | csReading);
    EXPECT_EQ(second->Owner(), &root);
    reader.Finish();
    EXPECT_FALSE(second->IsLoading());
  }
  EXPECT_EQ(Recorder::loaded, (std::vector<QString>{"root", "first", "second"}));
}
