// The library's export: GetController, and the controller class it instantiates.
#pragma once

#include "module/entry/DLLBaseCtrller.h"

#include <type_traits>

// A class reference to a controller class: its descriptor and its plain constructor.
struct TDLLControllerClassInfo {
  const TMetaClass* ClassType;
  TDLLBaseController* (*Create)();
};
using TDLLControllerClass = const TDLLControllerClassInfo*;

template <class C>
TDLLControllerClass DLLControllerClassOf() {
  static_assert(std::is_base_of_v<TDLLBaseController, C> && !std::is_abstract_v<C>);
  static const TDLLControllerClassInfo info{C::StaticClass(), []() -> TDLLBaseController* { return new C(); }};
  return &info;
}

// Empty until the controller's module has been initialised.
extern TDLLControllerClass DLLControllerClass;

// A new controller of DLLControllerClass; raises Exception when none is registered.
extern "C" __attribute__((visibility("default"))) TDLLBaseController* GetController();
