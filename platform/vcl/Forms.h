// Forms, the application and the screen: a form's life (creation from its resources,
// show, modal show, close, release), its focus bookkeeping, and the process-wide
// Application and Screen objects.
#pragma once

#include "platform/vcl/Controls.h"

#include <vector>

TAVO_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
TAVO_EVENT(TCloseEvent, TObject*, TCloseAction&)
TAVO_EVENT(TCloseQueryEvent, TObject*, bool&)

TAVO_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
          poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
TAVO_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
TAVO_SET_INFO(TBorderIcons, TBorderIcon)
TAVO_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
TAVO_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)

TAVO_EXCEPTION(EResNotFound, Exception)

// Selects the form constructor that reads no resource (Delphi's CreateNew).
struct TCreateNew {};
inline constexpr TCreateNew CreateNew{};

class TScrollingWinControl : public TWinControl {
  TAVO_CLASS(TScrollingWinControl, TWinControl)
public:
  explicit TScrollingWinControl(TComponent* AOwner);
  bool AutoScroll = false;
};

class TCustomForm : public TScrollingWinControl {
  TAVO_CLASS(TCustomForm, TScrollingWinControl)
public:
  // The form's resources (its class's and its ancestors' below TForm) are streamed in
  // AfterConstruction, followed by OnCreate; a form class other than TForm/TCustomForm
  // without any resource raises EResNotFound "Resource %s not found" there.
  explicit TCustomForm(TComponent* AOwner);
  TCustomForm(TComponent* AOwner, TCreateNew);
  ~TCustomForm() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TWinControl* GetActiveControl() const { return FActiveControl; }
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" for a control
  // of another form or one that cannot take the focus (while loading it is only noted).
  void SetActiveControl(TWinControl* control);
  bool GetActive() const { return FActive; }

  // Shows the form, hands it to the user-interface driver's modal loop and answers the
  // modal result once it is set (by a button, by ModalResult, or by Close: mrCancel).
  // Raises EInvalidOperation "Cannot make a visible window modal" when the form is
  // already visible.
  TModalResult ShowModal();
  bool IsModal() const { return FModal; }
  // Asks OnCloseQuery, then OnClose with caHide; acts on the answer (hide, minimise,
  // release). A modal form only gets ModalResult mrCancel; its loop does the rest.
  // Closing the main form terminates the application.
  void Close();
  bool CloseQuery();
  // Frees the form once the messages queued before it are processed.
  void Release();

  void SetFocus() override;
  // The focus bookkeeping of the VCL: exits from the focused control up to the common
  // parent, enters down to control; stops when a handler moved the focus meanwhile.
  bool SetFocusedControl(TWinControl* control);
  void FocusControl(TWinControl* control);
  // control is going away (removing) or can no longer have the focus.
  void DefocusControl(TWinControl* control, bool removing);
  TWinControl* GetFocusedControl() const { return FFocusedControl; }

  void SetVisible(bool value) override;
  TCanvas* GetCanvas() const { return FCanvas.get(); }

  TModalResult ModalResult = mrNone;
  bool KeyPreview = false;
  TPosition Position = poDesigned;
  TBorderIcons BorderIcons{biSystemMenu, biMinimize, biMaximize};
  TFormBorderStyle BorderStyle = bsSizeable;
  TWindowState WindowState = wsNormal;
  TFormStyle FormStyle = fsNormal;
  bool Scaled = true;
  int PixelsPerInch = 96;
  bool OldCreateOrder = false;
  int TextHeight = 13;
  AnsiString HelpFile;
  int DesignLeft = 0;
  int DesignTop = 0;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;

protected:
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Activate();
  virtual void Deactivate();
  // One turn of the modal loop: the driver acts on the form. Answers false when nothing
  // more will happen (the form is then closed as by its close box).
  virtual bool ExecuteModalStep();
  void Notification(TComponent* component, TOperation operation) override;
  void DefaultHandler(TMessage& message) override;
  void Loaded() override;
  bool FocusOnClick() const override { return false; }

private:
  friend class TScreen;
  void CloseModal();
  void ActivateForm();
  void DeactivateForm();
  void SetWindowFocus();
  void PlaceOnScreen();

  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  std::unique_ptr<TControlCanvas> FCanvas;
  bool FActive = false;
  bool FModal = false;
  bool FCreateNew = false;
  bool FConstructed = false;
  bool FCreating = false;
  bool FDestroyDone = false;
  bool FShownOnce = false;
  bool FVisibleRead = false;
  bool FReleasePending = false;
};

class TForm : public TCustomForm {
  TAVO_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
  TForm(TComponent* AOwner, TCreateNew) : TCustomForm(AOwner, CreateNew) {}
};

using TFormClass = const TMetaClass*;

// Whether charCode is the accelerator a caption marks with "&" ("&&" is a plain "&"),
// letters compared without regard to case.
bool IsAccel(Word charCode, const AnsiString& caption);

// ---- Application ----------------------------------------------------------------------

class TApplication : public TComponent {
  TAVO_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Delivers the posted messages.
  void ProcessMessages();
  void Terminate() { Terminated = true; }
  HWND GetHandle() const { return FHandle; }
  TCustomForm* GetMainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* form) { FMainForm = form; }
  // Creates a form owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    reference = CreateComponent<T>(this);
    if (!FMainForm) FMainForm = reference;
  }

  // The host executable's Windows path.
  AnsiString GetExeName() const;
  // Without a title of its own, the executable's name without extension.
  AnsiString GetTitle() const;
  void SetTitle(const AnsiString& value) { FTitle = value; }

  bool ShowHint = true;
  int HintPause = 500;
  int HintHidePause = 2500;
  int HintShortPause = 50;
  TColor HintColor = clInfoBk;
  bool Terminated = false;
  int ModalLevel = 0;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  HWND FHandle = 0;
  TCustomForm* FMainForm = nullptr;
  AnsiString FTitle;
};

// ---- Screen ---------------------------------------------------------------------------

// A 1024 x 768 screen at 96 pixels per inch.
class TScreen : public TComponent {
  TAVO_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // The focused control of the active form.
  TWinControl* GetActiveControl() const;
  TCustomForm* GetActiveForm() const { return FActiveForm; }
  TCustomForm* GetActiveCustomForm() const { return FActiveForm; }
  int GetFormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* GetForm(int index) const;
  const std::vector<TCustomForm*>& Forms() const { return FForms; }

  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor value) { FCursor = value; }
  TFont* GetIconFont() const { return FIconFont.get(); }
  TFont* GetHintFont() const { return FHintFont.get(); }
  TFont* GetMenuFont() const { return FMenuFont.get(); }
  int GetWidth() const { return 1024; }
  int GetHeight() const { return 768; }
  int PixelsPerInch = 96;

private:
  friend class TCustomForm;
  void AddForm(TCustomForm* form);
  void MoveToFront(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TCursor FCursor = crDefault;
  std::unique_ptr<TFont> FIconFont;
  std::unique_ptr<TFont> FHintFont;
  std::unique_ptr<TFont> FMenuFont;
};

extern TApplication* Application;
extern TScreen* Screen;
