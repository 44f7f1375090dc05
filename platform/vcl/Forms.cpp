#include "platform/vcl/Forms.h"

#include "platform/vcl/FormResource.h"
#include "platform/vcl/UIDriver.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

// Counts focus moves, so a move can tell that an enter or exit handler started another.
int FocusCount = 0;

bool SendFocusMessage(TWinControl* control, UINT msg) {
  int count = FocusCount;
  control->Perform(msg, 0, 0);
  return FocusCount == count;
}

}  // namespace

bool IsAccel(Word charCode, const AnsiString& caption) {
  if (charCode == 0 || charCode > 0xFF) return false;
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(caption[i]))) {
      ++i;
      continue;
    }
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return upper(caption[i + 1]) == upper(static_cast<char>(charCode));
  }
  return false;
}

TAVO_CLASS_IMPL(TScrollingWinControl, TWinControl)

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {}

// ---- TCustomForm --------------------------------------------------------------------------

TAVO_PUBLISHED(TCustomForm, TScrollingWinControl) {
  P.Protected();
  P.Obj("ActiveControl", &TCustomForm::GetActiveControl, &TCustomForm::SetActiveControl);
  P.Bool("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::AutoScroll);
  P.Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::BorderIcons);
  P.Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::BorderStyle);
  P.Enum("FormStyle", &TCustomForm::FormStyle, &TCustomForm::FormStyle);
  P.Str("HelpFile", &TCustomForm::HelpFile, &TCustomForm::HelpFile);
  P.Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::KeyPreview);
  P.Bool("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::OldCreateOrder);
  P.Int("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::PixelsPerInch);
  P.Enum("Position", &TCustomForm::Position, &TCustomForm::Position);
  P.Bool("Scaled", &TCustomForm::Scaled, &TCustomForm::Scaled);
  P.Int("TextHeight", &TCustomForm::TextHeight, &TCustomForm::TextHeight);
  P.Enum("WindowState", &TCustomForm::WindowState, &TCustomForm::WindowState);
  P.Int("ModalResult", &TCustomForm::ModalResult, &TCustomForm::ModalResult, "TModalResult");
  P.Int("DesignLeft", &TCustomForm::DesignLeft, &TCustomForm::DesignLeft);
  P.Int("DesignTop", &TCustomForm::DesignTop, &TCustomForm::DesignTop);
  P.Event("OnActivate", &TCustomForm::OnActivate);
  P.Event("OnClose", &TCustomForm::OnClose);
  P.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
  P.Event("OnCreate", &TCustomForm::OnCreate);
  P.Event("OnDeactivate", &TCustomForm::OnDeactivate);
  P.Event("OnDestroy", &TCustomForm::OnDestroy);
  P.Event("OnHide", &TCustomForm::OnHide);
  P.Event("OnPaint", &TCustomForm::OnPaint);
  P.Event("OnShow", &TCustomForm::OnShow);
}

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FVisible = false;
  SetParentFont(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  Screen->AddForm(this);
}

TCustomForm::TCustomForm(TComponent* AOwner, TCreateNew) : TCustomForm(AOwner) { FCreateNew = true; }

TCustomForm::~TCustomForm() {
  if (!FDestroyDone) {
    // Reached by a plain delete: the descendant's part is gone, so only handlers of other
    // objects may still run.
    FDestroyDone = true;
    Destroying();
    if (OnDestroy.Method.Data != static_cast<void*>(this)) OnDestroy(this);
  }
  Destroying();
  if (TWinControl* f = FocusedControl(); f && ContainsControl(f)) SetFocusedWindow(nullptr);
  FActiveControl = nullptr;
  FFocusedControl = nullptr;
  bool wasActive = FActive;
  FActive = false;
  Screen->RemoveForm(this);
  if (wasActive)
    for (TCustomForm* f : Screen->Forms())
      if (f->GetVisible() && !f->IsDestroying()) {
        f->ActivateForm();
        break;
      }
}

void TCustomForm::AfterConstruction() {
  if (FConstructed) return;
  FConstructed = true;
  if (!FCreateNew) {
    FCreating = true;
    try {
      bool found = InitInheritedComponent(this, TForm::StaticClass());
      if (!found && ClassType() != TForm::StaticClass() && ClassType() != TCustomForm::StaticClass())
        throw EResNotFound("Resource " + ClassName() + " not found");
    } catch (...) {
      FCreating = false;
      throw;
    }
    FCreating = false;
  }
  DoCreate();
  if (FVisibleRead) SetVisible(true);
}

void TCustomForm::BeforeDestruction() {
  if (FDestroyDone) return;
  FDestroyDone = true;
  TScrollingWinControl::BeforeDestruction();
  if (FVisible) SetVisible(false);
  DoDestroy();
}

void TCustomForm::DoCreate() { OnCreate(this); }
void TCustomForm::DoDestroy() { OnDestroy(this); }
void TCustomForm::DoShow() { OnShow(this); }
void TCustomForm::DoHide() { OnHide(this); }
void TCustomForm::DoClose(TCloseAction& action) { OnClose(this, action); }
void TCustomForm::Activate() { OnActivate(this); }
void TCustomForm::Deactivate() { OnDeactivate(this); }

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (FActiveControl == control) return;
  if (control && (control == this || GetParentForm(control) != this || !(IsLoading() || control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = control;
  if (!IsLoading() && FActive) SetWindowFocus();
}

void TCustomForm::SetFocus() {
  if (FActive) return;
  if (!(FVisible && GetEnabled())) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ActivateForm();
}

void TCustomForm::FocusControl(TWinControl* control) {
  bool wasActive = FActive;
  SetActiveControl(control);
  if (!wasActive) SetFocus();
}

void TCustomForm::SetWindowFocus() {
  TWinControl* target = FActiveControl ? FActiveControl : this;
  SetFocusedWindow(target);
  SetFocusedControl(target);
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  ++FocusCount;
  FActiveControl = control != this ? control : nullptr;
  SetFocusedWindow(control);
  if (Screen->FActiveForm != this) {
    TCustomForm* previous = Screen->FActiveForm;
    if (previous) previous->DeactivateForm();
    FActive = true;
    Screen->FActiveForm = this;
  }
  Screen->MoveToFront(this);
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl != control) {
    while (FFocusedControl && !FFocusedControl->ContainsControl(control)) {
      TWinControl* leaving = FFocusedControl;
      FFocusedControl = FFocusedControl->GetParent();
      if (!SendFocusMessage(leaving, CM_EXIT)) return false;
    }
    while (FFocusedControl != control) {
      TWinControl* entering = control;
      while (entering->GetParent() != FFocusedControl) entering = entering->GetParent();
      FFocusedControl = entering;
      if (!SendFocusMessage(entering, CM_ENTER)) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, ControlToLParam(control));
  }
  return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
  if (IsDestroying()) return;
  if (removing && FFocusedControl && control->ContainsControl(FFocusedControl)) FFocusedControl = control->GetParent();
  if (removing)
    if (TWinControl* f = FocusedControl(); f && control->ContainsControl(f)) SetFocusedWindow(FActive ? this : nullptr);
  if (FActiveControl && control->ContainsControl(FActiveControl)) SetActiveControl(nullptr);
}

void TCustomForm::ActivateForm() {
  if (FActive && Screen->FActiveForm == this) return;
  TCustomForm* previous = Screen->FActiveForm;
  if (previous && previous != this) previous->DeactivateForm();
  FActive = true;
  Screen->FActiveForm = this;
  Screen->MoveToFront(this);
  Perform(CM_ACTIVATE, 0, 0);
  if (!FActive || Screen->FActiveForm != this) return;
  if (!FActiveControl && !FShownOnce) {
    // A form shown for the first time without an active control focuses its first tab stop.
    FShownOnce = true;
    if (TWinControl* first = FindNextControl(nullptr, true, true, false)) FActiveControl = first;
  }
  FShownOnce = true;
  SetWindowFocus();
}

void TCustomForm::DeactivateForm() {
  if (!FActive) return;
  FActive = false;
  if (Screen->FActiveForm == this) Screen->FActiveForm = nullptr;
  if (TWinControl* f = FocusedControl(); f && (f == this || ContainsControl(f))) SetFocusedWindow(nullptr);
  Perform(CM_DEACTIVATE, 0, 0);
}

void TCustomForm::PlaceOnScreen() {
  auto centreOn = [this](const TControl* other) {
    if (!other) other = nullptr;
    int l = other ? other->GetLeft() + (other->GetWidth() - GetWidth()) / 2 : (Screen->GetWidth() - GetWidth()) / 2;
    int t = other ? other->GetTop() + (other->GetHeight() - GetHeight()) / 2 : (Screen->GetHeight() - GetHeight()) / 2;
    SetBounds(std::max(l, 0), std::max(t, 0), GetWidth(), GetHeight());
  };
  switch (Position) {
    case poScreenCenter:
    case poDesktopCenter:
      centreOn(nullptr);
      break;
    case poMainFormCenter:
      centreOn(Application->GetMainForm() != this ? Application->GetMainForm() : nullptr);
      break;
    case poOwnerFormCenter:
      centreOn(dynamic_cast<TCustomForm*>(GetOwner()));
      break;
    case poDesigned:
    case poDefault:
    case poDefaultPosOnly:
    case poDefaultSizeOnly:
      break;
  }
}

void TCustomForm::SetVisible(bool value) {
  if (FCreating || IsLoading()) {
    FVisibleRead = value;
    return;
  }
  if (FVisible == value) return;
  if (value && !FConstructed) {
    // Made with a plain new: complete the construction first.
    AfterConstruction();
    if (FVisible) return;
  }
  if (value) {
    FVisible = true;
    PlaceOnScreen();
    DoShow();
    GetUIDriver()->FormShown(this);
    if (FVisible && !IsDestroying()) ActivateForm();
  } else {
    FVisible = false;
    DoHide();
    GetUIDriver()->FormHidden(this);
    if (FActive) {
      DeactivateForm();
      for (TCustomForm* f : Screen->Forms())
        if (f != this && f->GetVisible() && !f->IsDestroying()) {
          f->ActivateForm();
          break;
        }
    }
  }
}

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !GetEnabled() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
  if (!FConstructed) AfterConstruction();
  FModal = true;
  ++Application->ModalLevel;
  auto finish = [this] {
    FModal = false;
    --Application->ModalLevel;
    if (FVisible) SetVisible(false);
  };
  try {
    ModalResult = mrNone;
    SetVisible(true);
    GetUIDriver()->ModalStarted(this);
    constexpr int MaxTurns = 1000;
    for (int turn = 0;; ++turn) {
      bool acted = turn < MaxTurns && ExecuteModalStep();
      Application->ProcessMessages();
      if (Application->Terminated && ModalResult == mrNone) ModalResult = mrCancel;
      if (ModalResult == mrNone && !acted) Close();
      if (ModalResult != mrNone) {
        CloseModal();
        if (ModalResult != mrNone) break;
        if (!acted) {
          // The form refuses to close and nobody will act on it any more.
          ModalResult = mrCancel;
          break;
        }
      }
    }
  } catch (...) {
    finish();
    throw;
  }
  TModalResult result = ModalResult;
  finish();
  GetUIDriver()->ModalFinished(this, result);
  if (FReleasePending) {
    FReleasePending = false;
    Release();
  }
  return result;
}

bool TCustomForm::ExecuteModalStep() { return GetUIDriver()->ModalStep(this); }

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  switch (action) {
    case caNone:
      ModalResult = mrNone;
      break;
    case caFree:
      Release();
      break;
    case caHide:
    case caMinimize:
      break;
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FModal) {
    ModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = FormStyle == fsMDIChild ? caMinimize : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application->GetMainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide:
      SetVisible(false);
      break;
    case caMinimize:
      WindowState = wsMinimized;
      break;
    case caFree:
      Release();
      break;
    case caNone:
      break;
  }
}

void TCustomForm::Release() { PostMessage(this, CM_RELEASE, 0, 0); }

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TScrollingWinControl::Notification(component, operation);
  if (operation == opRemove) {
    if (component == FActiveControl) FActiveControl = nullptr;
    if (component == FFocusedControl) FFocusedControl = nullptr;
  }
}

void TCustomForm::DefaultHandler(TMessage& message) {
  switch (message.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case CM_RELEASE:
      // A modal form is freed once its ShowModal has returned.
      if (FModal)
        FReleasePending = true;
      else
        Free();
      return;
    case CM_ACTIVATE:
      Activate();
      return;
    case CM_DEACTIVATE:
      Deactivate();
      return;
    case CM_DIALOGKEY: {
      TShiftState shift = TShiftState::FromBits(static_cast<uint32_t>(message.LParam));
      if (!shift.Contains(ssAlt)) {
        switch (message.WParam) {
          case VK_TAB:
            if (!shift.Contains(ssCtrl)) {
              SelectNext(FActiveControl, !shift.Contains(ssShift), true);
              message.Result = 1;
              return;
            }
            break;
          case VK_LEFT:
          case VK_RIGHT:
          case VK_UP:
          case VK_DOWN:
            if (FActiveControl && FActiveControl->GetParent()) {
              FActiveControl->GetParent()->SelectNext(FActiveControl,
                                                      message.WParam == VK_RIGHT || message.WParam == VK_DOWN, false);
              message.Result = 1;
            }
            return;
          default:
            break;
        }
      }
      TScrollingWinControl::DefaultHandler(message);
      return;
    }
    default:
      TScrollingWinControl::DefaultHandler(message);
  }
}

void TCustomForm::Loaded() { TScrollingWinControl::Loaded(); }

// ---- TForm --------------------------------------------------------------------------------

TAVO_PUBLISHED(TForm, TCustomForm) {
  P.Publish({"ActiveControl", "Align", "Anchors", "AutoScroll", "AutoSize", "BiDiMode", "BorderIcons",
             "BorderStyle", "Caption", "ClientHeight", "ClientWidth", "Color", "Ctl3D", "DragKind",
             "DragMode", "Enabled", "Font", "FormStyle", "HelpFile", "KeyPreview", "OldCreateOrder",
             "ParentBiDiMode", "ParentFont", "PixelsPerInch", "PopupMenu", "Position", "Scaled",
             "ShowHint", "TextHeight", "Visible", "WindowState", "DesignLeft", "DesignTop",
             "OnActivate", "OnClick", "OnClose", "OnCloseQuery", "OnCreate", "OnDblClick",
             "OnDeactivate", "OnDestroy", "OnHide", "OnKeyDown", "OnKeyPress", "OnKeyUp",
             "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnPaint", "OnResize", "OnShow"});
}

static TClassRegistration FormClasses{TForm::StaticClass()};

// ---- TApplication -------------------------------------------------------------------------

TAVO_CLASS_IMPL(TApplication, TComponent)

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  FHandle = AllocateHWnd([this](TMessage& m) {
    if (m.Msg == WM_CLOSE || m.Msg == WM_QUIT) Terminate();
  });
}

TApplication::~TApplication() { DeallocateHWnd(FHandle); }

void TApplication::ProcessMessages() { DeliverPostedMessages(); }

AnsiString TApplication::GetExeName() const { return GetModuleFileName(nullptr); }

AnsiString TApplication::GetTitle() const {
  if (!FTitle.empty()) return FTitle;
  return ChangeFileExt(ExtractFileName(GetExeName()), "");
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FMainForm) FMainForm = nullptr;
}

// ---- TScreen ------------------------------------------------------------------------------

TAVO_CLASS_IMPL(TScreen, TComponent)

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner),
      FIconFont(std::make_unique<TFont>()),
      FHintFont(std::make_unique<TFont>()),
      FMenuFont(std::make_unique<TFont>()) {
  // The fonts of a Simplified Chinese Windows.
  for (TFont* f : {FIconFont.get(), FHintFont.get(), FMenuFont.get()}) {
    f->SetName("宋体");
    f->SetCharset(GB2312_CHARSET);
    f->SetHeight(-12);
  }
}

TScreen::~TScreen() = default;

TWinControl* TScreen::GetActiveControl() const {
  TWinControl* f = FocusedControl();
  if (!f || dynamic_cast<TCustomForm*>(f)) return nullptr;
  return f;
}

TCustomForm* TScreen::GetForm(int index) const {
  if (index < 0 || index >= GetFormCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FForms[index];
}

void TScreen::AddForm(TCustomForm* form) {
  if (std::find(FForms.begin(), FForms.end(), form) == FForms.end()) FForms.push_back(form);
}

void TScreen::MoveToFront(TCustomForm* form) {
  // The most recently active form comes first.
  FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
  FForms.insert(FForms.begin(), form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
  if (FActiveForm == form) FActiveForm = nullptr;
}

TScreen* Screen = new TScreen(nullptr);
TApplication* Application = new TApplication(nullptr);

const char* EResNotFound::ClassName() const { return "EResNotFound"; }
