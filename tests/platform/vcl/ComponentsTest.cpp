#include "platform/vcl/Components.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the notifications it hears and whether its owner was being destroyed.
class TWatcher : public TComponent {
  TAVO_CLASS(TWatcher, TComponent)
public:
  TWatcher(TComponent* owner, std::vector<std::string>* log) : TComponent(owner), Log(log) {}
  ~TWatcher() override {
    if (Log) Log->push_back("free:" + GetName() + (GetOwner() || OwnerWasDestroying() ? ":owned" : ""));
  }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (Log && component != this)
      Log->push_back(GetName() + (operation == opInsert ? ":insert:" : ":remove:") + component->GetName());
  }
  bool OwnerWasDestroying() const { return IsDestroying(); }
  std::vector<std::string>* Log;
};

class TNamedForm : public TComponent {
  TAVO_CLASS(TNamedForm, TComponent)
public:
  using TComponent::TComponent;
  TComponent* Target = nullptr;
};

}  // namespace

TAVO_CLASS_IMPL(TWatcher, TComponent)
TAVO_PUBLISHED(TNamedForm, TComponent) { P.Field("Target", &TNamedForm::Target); }

namespace {

TEST(ComponentTest, OwnedComponentsInCreationOrderAndFoundByName) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("edUser");
  b->SetName("btnOk");
  ASSERT_EQ(owner.GetComponentCount(), 2);
  EXPECT_EQ(owner.GetComponent(0), a);
  EXPECT_EQ(owner.GetComponent(1), b);
  EXPECT_EQ(b->GetComponentIndex(), 1);
  EXPECT_EQ(owner.FindComponent("EDUSER"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  EXPECT_THROW(owner.GetComponent(2), EListError);
}

struct TNameCase {
  const char* Name;
  const char* NewName;
  const char* Message;  // nullptr: accepted
};

std::ostream& operator<<(std::ostream& os, const TNameCase& c) { return os << c.Name; }

const TNameCase NameCases[] = {
    {"Duplicate", "btnOk", "A component named btnOk already exists"},
    {"DuplicateOtherCase", "BTNOK", "A component named BTNOK already exists"},
    {"NotAnIdentifier", "1st", "'1st' is not a valid component name"},
    {"Blank", "ed User", "'ed User' is not a valid component name"},
    {"SameNameOtherCase", "EDUSER", nullptr},
    {"Empty", "", nullptr},
};

class TNameTest : public testing::TestWithParam<TNameCase> {};

TEST_P(TNameTest, RenameIsValidatedAgainstTheOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("edUser");
  b->SetName("btnOk");
  const TNameCase& c = GetParam();
  if (c.Message) {
    try {
      a->SetName(c.NewName);
      FAIL() << "accepted";
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message, c.Message);
    }
    EXPECT_EQ(a->GetName(), "edUser");
  } else {
    a->SetName(c.NewName);
    EXPECT_EQ(a->GetName(), c.NewName);
  }
}

INSTANTIATE_TEST_SUITE_P(Names, TNameTest, testing::ValuesIn(NameCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ComponentTest, DestroyingTheOwnerFreesOwnedComponentsLastFirst) {
  std::vector<std::string> log;
  {
    TComponent owner(nullptr);
    auto* first = new TWatcher(&owner, &log);
    first->SetName("first");
    auto* second = new TWatcher(&owner, &log);
    second->SetName("second");
    log.clear();
  }
  EXPECT_EQ(log, (std::vector<std::string>{"free:second:owned", "free:first:owned"}));
}

TEST(ComponentTest, SiblingsHearOfInsertionAndRemoval) {
  std::vector<std::string> log;
  TComponent owner(nullptr);
  auto* watcher = new TWatcher(&owner, &log);
  watcher->SetName("watcher");
  auto* other = new TComponent(&owner);
  other->SetName("other");
  delete other;
  EXPECT_EQ(log, (std::vector<std::string>{"watcher:insert:", "watcher:remove:other"}));
  EXPECT_EQ(owner.GetComponentCount(), 1);
}

TEST(ComponentTest, FreeNotificationAcrossOwners) {
  std::vector<std::string> log;
  TComponent ownerA(nullptr), ownerB(nullptr);
  auto* watcher = new TWatcher(&ownerA, &log);
  watcher->SetName("watcher");
  auto* target = new TComponent(&ownerB);
  target->SetName("target");
  target->FreeNotification(watcher);
  log.clear();
  delete target;
  EXPECT_EQ(log, std::vector<std::string>{"watcher:remove:target"});
  log.clear();
  // A removed notification is not sent.
  auto* second = new TComponent(&ownerB);
  second->FreeNotification(watcher);
  second->RemoveFreeNotification(watcher);
  delete second;
  EXPECT_TRUE(log.empty());
}

TEST(ComponentTest, OwnerFieldsFollowNamesAndLifetimes) {
  TNamedForm form(nullptr);
  auto* c = new TComponent(&form);
  EXPECT_EQ(form.Target, nullptr);
  c->SetName("target");
  EXPECT_EQ(form.Target, c);
  c->SetName("other");
  EXPECT_EQ(form.Target, nullptr);
  c->SetName("Target");
  EXPECT_EQ(form.Target, c);
  delete c;
  EXPECT_EQ(form.Target, nullptr);
}

TEST(ComponentTest, InsertAndRemoveMoveOwnership) {
  TComponent a(nullptr), b(nullptr);
  auto* c = new TComponent(&a);
  c->SetName("moved");
  b.InsertComponent(c);
  EXPECT_EQ(c->GetOwner(), &b);
  EXPECT_EQ(a.GetComponentCount(), 0);
  auto* clash = new TComponent(&a);
  clash->SetName("moved");
  EXPECT_THROW(a.InsertComponent(c), EComponentError);
  EXPECT_EQ(c->GetOwner(), &b);
  EXPECT_EQ(b.GetComponentCount(), 1);
}

}  // namespace
