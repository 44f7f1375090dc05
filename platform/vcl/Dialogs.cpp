#include "platform/vcl/Dialogs.h"

#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/UIDriver.h"

#include <algorithm>

namespace {

struct TButtonKind {
  TMsgDlgBtn Kind;
  const char* Name;
  const char* Caption;
  TModalResult Result;
};

constexpr TButtonKind ButtonKinds[] = {
    {mbYes, "Yes", "&Yes", mrYes},
    {mbNo, "No", "&No", mrNo},
    {mbOK, "OK", "OK", mrOk},
    {mbCancel, "Cancel", "Cancel", mrCancel},
    {mbAbort, "Abort", "&Abort", mrAbort},
    {mbRetry, "Retry", "&Retry", mrRetry},
    {mbIgnore, "Ignore", "&Ignore", mrIgnore},
    {mbAll, "All", "&All", mrAll},
    {mbNoToAll, "NoToAll", "N&o to All", mrNoToAll},
    {mbYesToAll, "YesToAll", "Yes to &All", mrYesToAll},
    {mbHelp, "Help", "&Help", mrNone},
};

const TButtonKind& KindOf(TMsgDlgBtn button) {
  for (const auto& k : ButtonKinds)
    if (k.Kind == button) return k;
  return ButtonKinds[2];
}

}  // namespace

AnsiString MsgDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    case mtCustom:
      return "";
  }
  return "";
}

AnsiString MsgDlgButtonName(TMsgDlgBtn button) { return KindOf(button).Name; }
AnsiString MsgDlgButtonCaption(TMsgDlgBtn button) { return KindOf(button).Caption; }
TModalResult MsgDlgButtonResult(TMsgDlgBtn button) { return KindOf(button).Result; }

TAVO_CLASS_IMPL(TMessageForm, TForm)

TMessageForm::TMessageForm(TComponent* AOwner) : TForm(AOwner, CreateNew) {
  BorderStyle = bsDialog;
  Position = poScreenCenter;
  AfterConstruction();
}

bool TMessageForm::ExecuteModalStep() {
  TMessageDialogInfo info = DescribeMessageDialog(this);
  TModalResult answer = GetUIDriver()->MessageDialog(info);
  for (int i = 0; i < GetComponentCount(); ++i)
    if (auto* button = dynamic_cast<TButton*>(GetComponent(i)); button && button->ModalResult == answer && answer != mrNone) {
      button->Click();
      return true;
    }
  ModalResult = answer;
  return true;
}

TMessageDialogInfo DescribeMessageDialog(TForm* dialog) {
  TMessageDialogInfo info;
  info.Form = dialog;
  info.Caption = dialog->GetCaption();
  if (auto* form = dynamic_cast<TMessageForm*>(dialog)) info.Type = form->DialogType;
  if (auto* message = dynamic_cast<TLabel*>(dialog->FindComponent("Message"))) info.Text = message->GetCaption();
  for (int i = 0; i < dialog->GetComponentCount(); ++i) {
    auto* button = dynamic_cast<TButton*>(dialog->GetComponent(i));
    if (!button) continue;
    info.Buttons.push_back(TMessageDialogButton{button->GetName(), button->GetCaption(), button->ModalResult,
                                                button->GetDefault(), button->GetCancel()});
    if (button->GetDefault() && info.DefaultResult == mrNone) info.DefaultResult = button->ModalResult;
    if (button->GetCancel() && info.CancelResult == mrNone) info.CancelResult = button->ModalResult;
  }
  for (TCustomForm* f : Screen->Forms())
    if (f != dialog && f->GetVisible()) {
      info.OwnerCaption = f->GetCaption();
      break;
    }
  return info;
}

TForm* CreateMessageDialog(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons) {
  auto* form = new TMessageForm(Application);
  form->DialogType = dlgType;
  form->SetCaption(dlgType == mtCustom ? Application->GetTitle() : MsgDlgCaption(dlgType));
  auto* message = new TLabel(form);
  message->SetName("Message");
  message->SetParent(form);
  message->SetWordWrap(true);
  message->SetBounds(56, 16, 300, 13);
  message->SetCaption(msg);

  TMsgDlgBtn defaultButton = buttons.Contains(mbOK) ? mbOK : buttons.Contains(mbYes) ? mbYes : mbRetry;
  TMsgDlgBtn cancelButton = buttons.Contains(mbCancel) ? mbCancel : buttons.Contains(mbNo) ? mbNo : mbOK;
  int count = 0;
  for (const auto& k : ButtonKinds)
    if (buttons.Contains(k.Kind)) ++count;
  int width = std::max(count * 83 - 8, message->GetWidth()) + 72;
  int left = (width - (count * 83 - 8)) / 2;
  int top = message->GetTop() + message->GetHeight() + 24;
  int tabOrder = 0;
  for (const auto& k : ButtonKinds) {
    if (!buttons.Contains(k.Kind)) continue;
    auto* button = new TButton(form);
    button->SetName(k.Name);
    button->SetParent(form);
    button->SetCaption(k.Caption);
    button->ModalResult = k.Result;
    button->SetDefault(k.Kind == defaultButton);
    button->SetCancel(k.Kind == cancelButton);
    button->SetBounds(left, top, 75, 25);
    button->SetTabOrder(tabOrder++);
    left += 83;
  }
  form->SetClientWidth(width);
  form->SetClientHeight(top + 25 + 16);
  return form;
}

int MessageDlg(const AnsiString& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx) {
  TForm* dialog = CreateMessageDialog(msg, dlgType, buttons);
  dialog->HelpContext = helpCtx;
  int result = mrNone;
  try {
    result = dialog->ShowModal();
  } catch (...) {
    dialog->Free();
    throw;
  }
  dialog->Free();
  return result;
}

void ShowMessage(const AnsiString& msg) { MessageDlg(msg, mtCustom, TMsgDlgButtons{mbOK}, 0); }
