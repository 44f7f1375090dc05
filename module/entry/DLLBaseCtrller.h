// The controller a host drives: the abstract TDLLBaseController with the four fields the
// host reads and writes, and its virtual operations. The host calls the operations by
// their position in the virtual table, so their order and argument passing never change;
// new operations may only be added after ReservedHook.
#pragma once

#include "platform/ole/Variants.h"
#include "platform/rtl/System.h"
#include "platform/vcl/Messages.h"
#include "platform/vcl/TypInfo.h"

#include <cstdint>

class TDLLBaseController;

// The host's notification handler: (code, controller).
TAVO_EVENT(TDLLNotifyEvent, int32_t, TDLLBaseController*)

// Codes passed to OnNotify.
constexpr int32_t ncFormCreated = 256;  // created, module path and HostObject given, not initialised
constexpr int32_t ncFormShow = 272;
constexpr int32_t ncFormHide = 288;
constexpr int32_t ncFormDestroy = 304;  // ResultCode and ResultData are valid
constexpr int32_t ncCustomNotify = 320;  // only when the host calls DoCustomNotify itself

class TDLLBaseController : public TObject {
  TAVO_CLASS(TDLLBaseController, TObject)
public:
  TDLLBaseController() = default;

  // The host's fields, in this order.
  Variant HostObject;
  int32_t ResultCode = 0;
  Variant ResultData;
  TDLLNotifyEvent OnNotify;

  // Results of 0 mean success, -1 failure.
  virtual void GetVersion(WideString& version) = 0;  // left unchanged when there is no form
  virtual int32_t GetVisible() = 0;                  // -1 visible, 0 not (or no form)
  virtual void SetVisible(int16_t value) = 0;
  virtual HWND GetHandle() = 0;
  virtual int32_t InitForm(Variant params) = 0;
  virtual int32_t Execute(Variant params) = 0;
  virtual int32_t ExecuteCommand(int32_t kind, Variant data) = 0;
  virtual Variant ShowModal() = 0;
  virtual void FreeForm() = 0;
  virtual int32_t GetResult(Variant& data) = 0;
  virtual bool IsFormFreed() = 0;
  virtual void DoFormCreated(TObject* sender);
  virtual void DoFormShow(TObject* sender);
  virtual void DoFormHide(TObject* sender);
  virtual void DoFormDestroy(TObject* sender);
  virtual void DoCustomNotify();
  virtual void Notify(int32_t code, TObject* sender);
  virtual void ReservedHook();
};
