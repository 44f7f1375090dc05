// The user-interface driver: everything a person would see or answer goes through one
// interface a program installs: modal forms, message dialogs, forms shown and hidden, the
// shell's open verb and the browser. The headless default records every call; the
// scripted driver lets a test queue what the person does.
#pragma once

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"

#include <deque>
#include <functional>
#include <vector>

class TUIDriver {
public:
  virtual ~TUIDriver();
  // A modal form has come up (shown, active).
  virtual void ModalStarted(TCustomForm* form) = 0;
  // One turn of the modal loop: act on the form as a person would (type, click, set
  // ModalResult); answer false when there is nothing (more) to do, and the form is closed
  // as by its close box.
  virtual bool ModalStep(TCustomForm* form) = 0;
  virtual void ModalFinished(TCustomForm* form, TModalResult result) = 0;
  // A message dialog: answer the modal result of the button the person presses.
  virtual TModalResult MessageDialog(const TMessageDialogInfo& info) = 0;
  virtual void FormShown(TCustomForm* form) = 0;
  virtual void FormHidden(TCustomForm* form) = 0;
  // The shell's verb ("open") on a file or address; true when it succeeded.
  virtual bool ShellExecute(const AnsiString& verb, const AnsiString& file, const AnsiString& parameters,
                            const AnsiString& directory) = 0;
  // A browser window navigates to the address.
  virtual void Navigate(const AnsiString& url) = 0;
};

TAVO_ENUM(TUIEventKind, ueShowModal, ueMessageDialog, ueShow, ueHide, ueShellExecute, ueNavigate)

// One recorded call.
struct TUIEvent {
  TUIEventKind Kind = ueShow;
  AnsiString FormClass;  // forms and dialogs
  AnsiString FormName;
  AnsiString Caption;    // the form's or dialog's caption
  AnsiString Text;       // the dialog's message; the shell's file; the browser's address
  TMsgDlgType DialogType = mtCustom;
  std::vector<AnsiString> Buttons;  // the dialog's button captions, in order
  AnsiString OwnerCaption;
  TModalResult Result = mrNone;     // modal forms and dialogs: how they ended
  AnsiString Verb;
  AnsiString Parameters;
  AnsiString Directory;
};

// Records every call. Nobody acts on modal forms, so they close as by their close box
// (mrCancel); each message dialog is answered as Escape would: its cancel button (Cancel,
// else No, else OK). The shell's verb succeeds.
class THeadlessDriver : public TUIDriver {
public:
  void ModalStarted(TCustomForm* form) override;
  bool ModalStep(TCustomForm* form) override;
  void ModalFinished(TCustomForm* form, TModalResult result) override;
  TModalResult MessageDialog(const TMessageDialogInfo& info) override;
  void FormShown(TCustomForm* form) override;
  void FormHidden(TCustomForm* form) override;
  bool ShellExecute(const AnsiString& verb, const AnsiString& file, const AnsiString& parameters,
                    const AnsiString& directory) override;
  void Navigate(const AnsiString& url) override;

  const std::vector<TUIEvent>& Events() const { return FEvents; }
  std::vector<TUIEvent> EventsOf(TUIEventKind kind) const;
  void ClearEvents() { FEvents.clear(); }

  // What the shell's verb answers.
  bool ShellSucceeds = true;

protected:
  TUIEvent& Record(TUIEvent event);
  // Records the dialog with its answer and answers it.
  TModalResult RecordDialog(const TMessageDialogInfo& info, TModalResult answer);
  // The answer when no script says otherwise.
  TModalResult DefaultAnswer(const TMessageDialogInfo& info) const;

private:
  std::vector<TUIEvent> FEvents;
};

// A headless driver that does what a test queued: answers for the next dialogs, actions for
// the next modal forms of a class. What is not scripted falls back to the headless answers.
class TScriptedDriver : public THeadlessDriver {
public:
  using TFormAction = std::function<void(TCustomForm* form)>;
  using TDialogAnswer = std::function<TModalResult(const TMessageDialogInfo& info)>;

  // The next dialog is answered with result (or by answer, which may also look at it).
  void AnswerDialog(TModalResult result);
  void AnswerDialog(TDialogAnswer answer);
  // The next modal form whose class or name is formClass ("" for any) gets action run on
  // it once it is up; the action ends the modal loop by setting a result (clicking OK).
  void OnModal(const AnsiString& formClass, TFormAction action);
  // Scripted steps not used yet.
  int PendingDialogs() const { return static_cast<int>(FDialogs.size()); }
  int PendingModals() const { return static_cast<int>(FModals.size()); }

  bool ModalStep(TCustomForm* form) override;
  TModalResult MessageDialog(const TMessageDialogInfo& info) override;

private:
  struct TModalScript {
    AnsiString FormClass;
    TFormAction Action;
  };
  std::deque<TDialogAnswer> FDialogs;
  std::deque<TModalScript> FModals;
};

// The installed driver; nullptr restores the process's headless driver. The caller keeps
// ownership.
void SetUIDriver(TUIDriver* driver);
TUIDriver* GetUIDriver();
THeadlessDriver* DefaultUIDriver();

// Installs a driver for a scope.
class TUIDriverScope {
public:
  explicit TUIDriverScope(TUIDriver* driver) : FPrevious(GetUIDriver()) { SetUIDriver(driver); }
  ~TUIDriverScope() { SetUIDriver(FPrevious); }
  TUIDriverScope(const TUIDriverScope&) = delete;
  TUIDriverScope& operator=(const TUIDriverScope&) = delete;

private:
  TUIDriver* FPrevious;
};

// ---- The shell and the browser ----------------------------------------------------------

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SE_ERR_NOASSOC = 31;

// As the shell's: a value above 32 on success, SE_ERR_NOASSOC when the driver failed.
intptr_t ShellExecute(HWND hwnd, const AnsiString& operation, const AnsiString& file,
                      const AnsiString& parameters, const AnsiString& directory, int showCmd);
// Opens the address in a browser window.
void BrowserNavigate(const AnsiString& url);
