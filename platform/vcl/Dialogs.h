// Message dialogs: the dialog form with its named buttons, MessageDlg and ShowMessage. The
// dialog is shown through the user-interface driver, which answers it.
#pragma once

#include "platform/vcl/Forms.h"

#include <vector>

TAVO_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
TAVO_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
          mbYesToAll, mbHelp)
TAVO_SET_INFO(TMsgDlgButtons, TMsgDlgBtn)

inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline const TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// "Warning", "Error", "Information", "Confirm"; "" for mtCustom (which shows the
// application's title).
AnsiString MsgDlgCaption(TMsgDlgType type);
// The button's component name ("Yes", "NoToAll" …), its default caption ("&Yes",
// "N&o to All" …) and its modal result (0 for Help).
AnsiString MsgDlgButtonName(TMsgDlgBtn button);
AnsiString MsgDlgButtonCaption(TMsgDlgBtn button);
TModalResult MsgDlgButtonResult(TMsgDlgBtn button);

// The dialog form: a label named "Message" and one TButton per button kind, named after
// the kind, in the order of the kinds. OK (else Yes, else Retry) is the default button;
// Cancel (else No, else OK) the cancel button.
class TMessageForm : public TForm {
  TAVO_CLASS(TMessageForm, TForm)
public:
  explicit TMessageForm(TComponent* AOwner);
  TMsgDlgType DialogType = mtCustom;

protected:
  // The driver answers the dialog; the answer presses the button with that result.
  bool ExecuteModalStep() override;
};

// The dialog as a person sees it when it comes up.
struct TMessageDialogButton {
  AnsiString Name;
  AnsiString Caption;
  TModalResult Result = mrNone;
  bool Default = false;
  bool Cancel = false;
};

struct TMessageDialogInfo {
  TForm* Form = nullptr;
  AnsiString Caption;
  AnsiString Text;
  TMsgDlgType Type = mtCustom;
  std::vector<TMessageDialogButton> Buttons;
  // The caption of the form that was active when the dialog came up ("" when none).
  AnsiString OwnerCaption;
  // The results of the buttons Enter and Escape press (mrNone when there is none).
  TModalResult DefaultResult = mrNone;
  TModalResult CancelResult = mrNone;
};

TMessageDialogInfo DescribeMessageDialog(TForm* dialog);

// A new dialog (owned by the application) whose buttons' captions may be changed before
// ShowModal; the caller frees it.
TForm* CreateMessageDialog(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons);
// Shows a dialog and answers the modal result of the button pressed.
int MessageDlg(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx);
// A dialog with the application's title and an OK button.
void ShowMessage(const AnsiString& msg);
