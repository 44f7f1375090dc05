#include "module/entry/DLLRPCtrller.h"

#include "module/entry/DLLFunc.h"
#include "platform/win/Windows.h"

#include <algorithm>

TfrmBaseGeneClass frmBaseGeneClass = nullptr;

TAVO_CLASS_IMPL(TDLLRPCtrller, TDLLBaseController)

namespace {

// The module's initialisation runs before the library's main block (default priority).
struct TDLLRPCtrllerUnit {
  TDLLRPCtrllerUnit() { DLLControllerClass = DLLControllerClassOf<TDLLRPCtrller>(); }
  ~TDLLRPCtrllerUnit() { DLLControllerClass = nullptr; }
};
TDLLRPCtrllerUnit DLLRPCtrllerUnit __attribute__((init_priority(1000)));

// Something of the library's own, to find the library by.
const char ModuleAnchor = 0;

// As GetModuleFileName with a buffer of 261 characters: longer paths are cut.
AnsiString OwnModulePath() {
  char buffer[261] = {};
  const DWORD length = GetModuleFileName(GetModuleHandleFromAddress(&ModuleAnchor), buffer, sizeof buffer);
  return AnsiString(buffer, std::min<size_t>(length, sizeof buffer - 1));
}

}  // namespace

TDLLRPCtrller::TDLLRPCtrller() : FAlive(std::make_shared<bool>(true)) {}

TDLLRPCtrller::~TDLLRPCtrller() {
  FreeForm();
  // Still held: the form is being destroyed right now, or refused to go.
  if (Form) ReturnFormEvents();
  *FAlive = false;
}

void TDLLRPCtrller::GetVersion(WideString& version) {
  if (!Form) return;
  try {
    version = AnsiToWide(Form->VersionStamp);
  } catch (...) {
  }
}

int32_t TDLLRPCtrller::GetVisible() { return Form && Form->GetVisible() ? -1 : 0; }

void TDLLRPCtrller::SetVisible(int16_t value) {
  if (!Form) return;
  try {
    Form->SetVisible(value != 0);
    // The host's 272 or 288 handler may have freed the form meanwhile.
    if (value == 0 || !Form) return;
    if (Form->WindowState == wsMinimized) Form->WindowState = wsNormal;
    if (Form->GetVisible() && Form->GetEnabled()) Form->SetFocus();
  } catch (...) {
  }
}

HWND TDLLRPCtrller::GetHandle() {
  if (!Form) return 0;
  try {
    return Form->GetHandle();
  } catch (...) {
    return 0;
  }
}

int32_t TDLLRPCtrller::InitForm(Variant params) {
  if (!Form && !frmBaseGeneClass)
    throw Exception("KVT DLL Internal Error :\rNot Assign \"frmBaseGeneClass\" varible");
  try {
    if (!Form) {
      if (!frmBaseGeneClass->InheritsFrom(TfrmBaseGene::StaticClass())) return -1;
      Form = static_cast<TfrmBaseGene*>(CreateComponent(frmBaseGeneClass, nullptr));
      Form->SetModulePath(OwnModulePath());
      Form->HostObject = HostObject;
      DoFormCreated(Form);
    }
    // A form on its way out cannot be initialised any more.
    if (!Form || Form->IsDestroying()) return -1;
    TakeOverFormEvents();
    return Form->InitOptionForm(params) ? 0 : -1;
  } catch (...) {
    return -1;
  }
}

// A repeated InitForm on the same form finds the controller's own handlers installed;
// saving those would make each handler call itself, so only foreign ones are saved.
void TDLLRPCtrller::TakeOverFormEvents() {
  const TNotifyEvent onShow(this, &TDLLRPCtrller::DoFormShow);
  const TNotifyEvent onHide(this, &TDLLRPCtrller::DoFormHide);
  const TNotifyEvent onDestroy(this, &TDLLRPCtrller::DoFormDestroy);
  if (Form->OnShow != onShow) {
    SavedOnShow = Form->OnShow;
    Form->OnShow = onShow;
  }
  if (Form->OnHide != onHide) {
    SavedOnHide = Form->OnHide;
    Form->OnHide = onHide;
  }
  if (Form->OnDestroy != onDestroy) {
    SavedOnDestroy = Form->OnDestroy;
    Form->OnDestroy = onDestroy;
  }
}

// Gives a form the controller lets go of its own handlers back, so that nothing of it
// refers to the controller any more.
void TDLLRPCtrller::ReturnFormEvents() {
  if (Form->OnShow == TNotifyEvent(this, &TDLLRPCtrller::DoFormShow)) Form->OnShow = SavedOnShow;
  if (Form->OnHide == TNotifyEvent(this, &TDLLRPCtrller::DoFormHide)) Form->OnHide = SavedOnHide;
  if (Form->OnDestroy == TNotifyEvent(this, &TDLLRPCtrller::DoFormDestroy)) Form->OnDestroy = SavedOnDestroy;
  SavedOnShow = TNotifyEvent();
  SavedOnHide = TNotifyEvent();
  SavedOnDestroy = TNotifyEvent();
}

int32_t TDLLRPCtrller::Execute(Variant params) {
  if (!Form || VarIsNull(params) || !VarIsArray(params)) return -1;
  try {
    Form->RunRequest(VarArrayOf({true, params.GetElement({1})}));
    return 0;
  } catch (...) {
    return -1;
  }
}

int32_t TDLLRPCtrller::ExecuteCommand(int32_t kind, Variant data) {
  if (!Form || (kind != 5 && kind != 9)) return -1;
  try {
    Form->RunRequest(VarArrayOf({false, data}));
    return 0;
  } catch (...) {
    return -1;
  }
}

Variant TDLLRPCtrller::ShowModal() {
  if (!Form) return Variant(static_cast<int>(mrCancel));
  try {
    return Variant(static_cast<int>(Form->ShowModal()));
  } catch (...) {
    // The form never ran modally: as if it had been cancelled.
    return Variant(static_cast<int>(mrCancel));
  }
}

void TDLLRPCtrller::FreeForm() {
  if (!Form || Form->IsDestroying()) return;
  try {
    Form->Free();
  } catch (...) {
  }
}

int32_t TDLLRPCtrller::GetResult(Variant& data) {
  if (!Form) return -1;
  try {
    Variant result = VarArrayCreate({0, 3}, varVariant);
    result.PutElement({0}, Variant(Form->UserId));
    result.PutElement({1}, Variant(Form->CompanyId));
    result.PutElement({2}, Variant(Form->ProgramId));
    result.PutElement({3}, Variant(Form->ProgramName));
    data = std::move(result);
    return 0;
  } catch (...) {
    return -1;
  }
}

bool TDLLRPCtrller::IsFormFreed() { return Form == nullptr; }

void TDLLRPCtrller::DoFormShow(TObject* sender) {
  SavedOnShow(sender);
  TDLLBaseController::DoFormShow(sender);
}

void TDLLRPCtrller::DoFormHide(TObject* sender) {
  SavedOnHide(sender);
  TDLLBaseController::DoFormHide(sender);
}

void TDLLRPCtrller::DoFormDestroy(TObject* sender) {
  const std::shared_ptr<bool> alive = FAlive;
  struct TFormCleared {
    TDLLRPCtrller* Self;
    const std::shared_ptr<bool>& Alive;
    ~TFormCleared() {
      if (!*Alive || !Self->Form) return;
      // A form that survives this (its destruction failed, or the host called in
      // directly) must not keep calling a controller that has forgotten it.
      Self->ReturnFormEvents();
      Self->Form = nullptr;
    }
  } cleared{this, alive};

  if (Form) {
    ResultCode = Form->FormResultCode;
    ResultData = Form->FormResultData;
  }
  try {
    SavedOnDestroy(sender);
  } catch (...) {
    // The host still learns that the form has ended.
    TDLLBaseController::DoFormDestroy(sender);
    throw;
  }
  TDLLBaseController::DoFormDestroy(sender);
}
