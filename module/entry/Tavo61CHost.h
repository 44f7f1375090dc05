// What a host includes to drive the plug-in Tavo61C: the controller it receives from
// GetController (its fields and, in their fixed order, its virtual operations), Variant,
// the automation interface the host object implements, and the notification codes.
//
//   HMODULE lib = LoadLibrary("C:\\KVT\\Client\\Tavo61C.dll");
//   auto get = reinterpret_cast<TGetController>(GetProcAddress(lib, GetControllerExport));
//   TDLLBaseController* controller = get();   // raises Exception when the library is broken
//   controller->HostObject = hostObject;
//   controller->OnNotify = TDLLNotifyEvent(this, &THost::ControllerNotify);
//   controller->InitForm(VarArrayOf({user, company, database, window, reserved}));
//   controller->ShowModal();
//   Application->ProcessMessages();            // the closed form frees itself: 304
//   … ResultCode, ResultData …
//   delete controller;
#pragma once

#include "module/entry/DLLBaseCtrller.h"
#include "platform/ole/ComObj.h"
#include "platform/ole/Variants.h"

// The library's only export.
using TGetController = TDLLBaseController* (*)();
inline constexpr const char* GetControllerExport = "GetController";
