#include "platform/vcl/Components.h"

#include <algorithm>
#include <map>

namespace {

AnsiString UpperAscii(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

bool SameAscii(const AnsiString& a, const AnsiString& b) { return UpperAscii(a) == UpperAscii(b); }

std::map<AnsiString, const TMetaClass*>& ClassRegistry() {
  static auto* registry = new std::map<AnsiString, const TMetaClass*>;
  return *registry;
}

}  // namespace

TAVO_PUBLISHED(TComponent, TPersistent) {
  P.Str("Name", &TComponent::GetName, &TComponent::SetName);
  P.Int("Tag", &TComponent::Tag, &TComponent::Tag);
}

bool IsValidIdent(const AnsiString& ident) {
  if (ident.empty()) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!alpha(ident[0])) return false;
  return std::all_of(ident.begin(), ident.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    other->FFreeNotifies.erase(std::remove(other->FFreeNotifies.begin(), other->FFreeNotifies.end(), this),
                               other->FFreeNotifies.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Free() {
  BeforeDestruction();
  delete this;
}

void TComponent::BeforeDestruction() { Destroying(); }

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::SetName(const AnsiString& value) {
  if (FName == value) return;
  if (!value.empty() && !IsValidIdent(value))
    throw EComponentError("'" + value + "' is not a valid component name");
  if (FOwner)
    FOwner->ValidateRename(this, FName, value);
  else
    ValidateRename(nullptr, FName, value);
  if (FOwner) FOwner->ClearBoundField(this);
  FName = value;
  if (FOwner) FOwner->BindField(this);
}

void TComponent::ValidateRename(TComponent* component, const AnsiString& curName, const AnsiString& newName) {
  if (component && !SameAscii(curName, newName) && component->FOwner == this && FindComponent(newName))
    throw EComponentError("A component named " + newName + " already exists");
}

TComponent* TComponent::GetComponent(int index) const {
  if (index < 0 || index >= GetComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FComponents[index];
}

int TComponent::GetComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int value) {
  if (!FOwner) return;
  auto& list = FOwner->FComponents;
  int current = GetComponentIndex();
  if (current < 0) return;
  value = std::clamp(value, 0, static_cast<int>(list.size()) - 1);
  list.erase(list.begin() + current);
  list.insert(list.begin() + value, this);
}

TComponent* TComponent::FindComponent(const AnsiString& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameAscii(c->FName, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->FOwner == this) return;
  if (FindComponent(component->FName))
    throw EComponentError("A component named " + component->FName + " already exists");
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  Insert(component);
  BindField(component);
  if (FComponentState.Contains(csDesigning)) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->FOwner != this) return;
  ClearBoundField(component);
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  FComponents.push_back(component);
  component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component), FComponents.end());
  component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* instance = FComponents.back();
    if (instance->FComponentState.Contains(csFreeNotification))
      RemoveComponent(instance);
    else
      Remove(instance);
    delete instance;
  }
}

void TComponent::BindField(TComponent* component) {
  if (component->FName.empty() || FComponentState.Contains(csDestroying)) return;
  if (const TPublishedField* f = FindPublishedField(ClassType(), component->FName))
    f->Set(this, component);
}

void TComponent::ClearBoundField(TComponent* component) {
  if (component->FName.empty() || FComponentState.Contains(csDestroying)) return;
  if (const TPublishedField* f = FindPublishedField(ClassType(), component->FName))
    if (f->Get(this) == static_cast<TObject*>(component)) f->Set(this, nullptr);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
    FFreeNotifies.push_back(component);
  if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
      component->FFreeNotifies.end())
    component->FFreeNotifies.push_back(this);
  FComponentState.Include(csFreeNotification);
  component->FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component), FFreeNotifies.end());
  component->FFreeNotifies.erase(
      std::remove(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this),
      component->FFreeNotifies.end());
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::Notification(TComponent* component, TOperation operation) {
  switch (operation) {
    case opRemove:
      if (component) RemoveFreeNotification(component);
      break;
    case opInsert:
      break;
  }
  // Every owned component hears of it too, so references between siblings are dropped.
  std::vector<TComponent*> owned = FComponents;
  for (TComponent* c : owned)
    if (c != component) c->Notification(component, operation);
}

void TComponent::SetDesigning(bool value) {
  if (value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  for (TComponent* c : FComponents) c->SetDesigning(value);
}

// ---- Class registry -------------------------------------------------------------------

void RegisterClass(const TMetaClass* cls) {
  if (!cls) return;
  auto& reg = ClassRegistry();
  AnsiString key = UpperAscii(cls->ClassName());
  auto it = reg.find(key);
  if (it != reg.end()) {
    if (it->second == cls) return;
    throw EComponentError("A class named " + cls->ClassName() + " already exists");
  }
  reg[key] = cls;
}

void RegisterClasses(std::initializer_list<const TMetaClass*> classes) {
  for (const TMetaClass* c : classes) RegisterClass(c);
}

void UnRegisterClass(const TMetaClass* cls) {
  if (!cls) return;
  auto& reg = ClassRegistry();
  auto it = reg.find(UpperAscii(cls->ClassName()));
  if (it != reg.end() && it->second == cls) reg.erase(it);
}

const TMetaClass* GetClass(const AnsiString& className) {
  auto& reg = ClassRegistry();
  auto it = reg.find(UpperAscii(className));
  return it == reg.end() ? nullptr : it->second;
}

const TMetaClass* FindClass(const AnsiString& className) {
  const TMetaClass* c = GetClass(className);
  if (!c) throw EClassNotFound("Class " + className + " not found");
  return c;
}

TComponent* CreateComponent(const TMetaClass* cls, TComponent* owner) {
  if (!cls || !cls->InheritsFrom(TComponent::StaticClass()) || !cls->Factory)
    throw EComponentError("Cannot create an instance of " + (cls ? cls->ClassName() : AnsiString("nil")));
  return AfterConstructed(static_cast<TComponent*>(cls->Factory(owner)));
}
