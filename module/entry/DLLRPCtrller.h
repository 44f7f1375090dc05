// TDLLRPCtrller: the controller of a report program's option form. It creates the form
// of frmBaseGeneClass, forwards the host's requests to it and tells the host what happens
// to the form through the chained show, hide and destroy handlers.
#pragma once

#include "module/entry/DLLBaseCtrller.h"
#include "module/framework/BaseGene.h"

#include <memory>

// The option-form class the controller creates; empty until the library's main block ran.
extern TfrmBaseGeneClass frmBaseGeneClass;

class TDLLRPCtrller : public TDLLBaseController {
  TAVO_CLASS(TDLLRPCtrller, TDLLBaseController)
public:
  TDLLRPCtrller();
  // Frees a form that is still held.
  ~TDLLRPCtrller() override;

  void GetVersion(WideString& version) override;
  int32_t GetVisible() override;
  void SetVisible(int16_t value) override;
  HWND GetHandle() override;
  // Raises Exception when no form class is registered; every other failure is -1.
  int32_t InitForm(Variant params) override;
  int32_t Execute(Variant params) override;
  int32_t ExecuteCommand(int32_t kind, Variant data) override;
  Variant ShowModal() override;
  void FreeForm() override;
  int32_t GetResult(Variant& data) override;
  bool IsFormFreed() override;
  void DoFormShow(TObject* sender) override;
  void DoFormHide(TObject* sender) override;
  void DoFormDestroy(TObject* sender) override;

  TfrmBaseGene* Form = nullptr;
  TNotifyEvent SavedOnShow;
  TNotifyEvent SavedOnHide;
  TNotifyEvent SavedOnDestroy;

private:
  void TakeOverFormEvents();
  void ReturnFormEvents();

  // False once the controller is gone: a host may free it from its 304 handler, while
  // DoFormDestroy is still on the stack.
  std::shared_ptr<bool> FAlive;
};
