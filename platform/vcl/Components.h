// The component: a named, owned object that frees what it owns, and the class registry
// through which form resources create components by class name.
#pragma once

#include "platform/rtl/System.h"
#include "platform/vcl/TypInfo.h"

#include <initializer_list>
#include <utility>
#include <vector>

TAVO_ENUM(TComponentStateFlag, csLoading, csReading, csWriting, csDestroying, csDesigning,
          csAncestor, csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance)
TAVO_SET_INFO(TComponentState, TComponentStateFlag)

TAVO_ENUM(TOperation, opInsert, opRemove)

class TReader;

class TComponent : public TPersistent {
  TAVO_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* AOwner);
  // Frees every owned component (last created first) with csDestroying set, tells the
  // components that asked for free notification, and leaves the owner.
  ~TComponent() override;

  // Runs BeforeDestruction while the object is whole, then deletes it. Prefer it to a
  // plain delete for forms, whose OnDestroy handlers are methods of the form itself.
  void Free();
  virtual void BeforeDestruction();
  // Completes construction once the most derived constructor has run: a form streams its
  // resources and raises OnCreate here. CreateComponent calls it; code that uses a plain
  // new must call it itself.
  virtual void AfterConstruction() {}

  const AnsiString& GetName() const { return FName; }
  // Raises EComponentError "A component named %s already exists" when another component
  // of the owner has the name (case-insensitive), and "%s" is not a valid component name
  // for a name that is not an identifier.
  virtual void SetName(const AnsiString& value);

  TComponent* GetOwner() const { return FOwner; }
  int GetComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* GetComponent(int index) const;  // raises EListError out of range
  int GetComponentIndex() const;
  void SetComponentIndex(int value);
  const std::vector<TComponent*>& Components() const { return FComponents; }

  TComponent* FindComponent(const AnsiString& name) const;  // case-insensitive

  TComponentState GetComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState.Contains(csLoading); }
  bool IsDestroying() const { return FComponentState.Contains(csDestroying); }

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();

  // AComponent is told (opRemove) when this component is destroyed, and vice versa.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Called on every component read from a resource, once the whole resource is read.
  virtual void Loaded();
  virtual void Notification(TComponent* component, TOperation operation);

  // The component a resource nests this one in: a control's parent, a menu item's menu.
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* value) {}
  virtual bool HasParent() const { return false; }

  // Marks the component as designed; used by tools that show forms for editing.
  void SetDesigning(bool value);

  int Tag = 0;

protected:
  virtual void ValidateRename(TComponent* component, const AnsiString& curName,
                              const AnsiString& newName);
  // Sets csDestroying on this component and everything it owns.
  void Destroying();

private:
  friend class TReader;
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void ClearBoundField(TComponent* component);
  void BindField(TComponent* component);

  AnsiString FName;
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
};

using TComponentClass = const TMetaClass*;

// ---- Class registry -------------------------------------------------------------------

// Registers component classes by name for FindClass/GetClass (and the resource reader).
// Raises EComponentError when the class cannot be created with an owner.
void RegisterClass(const TMetaClass* cls);
void RegisterClasses(std::initializer_list<const TMetaClass*> classes);
void UnRegisterClass(const TMetaClass* cls);
// Case-insensitive; FindClass raises EClassNotFound "Class %s not found".
const TMetaClass* FindClass(const AnsiString& className);
const TMetaClass* GetClass(const AnsiString& className);

// Creates a component of a registered or known class with its owner; raises
// EComponentError when the class is not a component class that can be created so.
TComponent* CreateComponent(const TMetaClass* cls, TComponent* owner);

// Runs the AfterConstruction of a newly created obj; a failure there deletes the object
// again.
template <class T>
T* AfterConstructed(T* obj) {
  try {
    obj->AfterConstruction();
  } catch (...) {
    delete obj;
    throw;
  }
  return obj;
}

// new T(args…) followed by AfterConstruction, as above.
template <class T, class... Args>
T* CreateComponent(Args&&... args) {
  return AfterConstructed(new T(std::forward<Args>(args)...));
}

// Registers classes when the library that holds them is loaded.
struct TClassRegistration {
  TClassRegistration(std::initializer_list<const TMetaClass*> classes) { RegisterClasses(classes); }
};

// Valid component names are identifiers (letters, digits, underscores, not starting with
// a digit); the empty name is allowed.
bool IsValidIdent(const AnsiString& ident);
