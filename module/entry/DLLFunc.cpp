#include "module/entry/DLLFunc.h"

TDLLControllerClass DLLControllerClass = nullptr;

TDLLBaseController* GetController() {
  if (!DLLControllerClass)
    throw Exception("KVT DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  return DLLControllerClass->Create();
}
