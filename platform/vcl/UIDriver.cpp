#include "platform/vcl/UIDriver.h"

namespace {

TUIDriver* Installed = nullptr;

bool SameAscii(const AnsiString& a, const AnsiString& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

TUIEvent FormEvent(TUIEventKind kind, TCustomForm* form) {
  TUIEvent e;
  e.Kind = kind;
  e.FormClass = form->ClassName();
  e.FormName = form->GetName();
  e.Caption = form->GetCaption();
  return e;
}

}  // namespace

TUIDriver::~TUIDriver() = default;

THeadlessDriver* DefaultUIDriver() {
  static auto* driver = new THeadlessDriver;
  return driver;
}

void SetUIDriver(TUIDriver* driver) { Installed = driver; }

TUIDriver* GetUIDriver() { return Installed ? Installed : DefaultUIDriver(); }

TUIEvent& THeadlessDriver::Record(TUIEvent event) {
  FEvents.push_back(std::move(event));
  return FEvents.back();
}

std::vector<TUIEvent> THeadlessDriver::EventsOf(TUIEventKind kind) const {
  std::vector<TUIEvent> r;
  for (const TUIEvent& e : FEvents)
    if (e.Kind == kind) r.push_back(e);
  return r;
}

void THeadlessDriver::ModalStarted(TCustomForm* form) {
  // Message dialogs are recorded as dialogs, with their answer.
  if (!dynamic_cast<TMessageForm*>(form)) Record(FormEvent(ueShowModal, form));
}

bool THeadlessDriver::ModalStep(TCustomForm* form) { return false; }

void THeadlessDriver::ModalFinished(TCustomForm* form, TModalResult result) {
  if (dynamic_cast<TMessageForm*>(form)) return;
  for (auto it = FEvents.rbegin(); it != FEvents.rend(); ++it)
    if (it->Kind == ueShowModal && it->FormClass == form->ClassName() && it->FormName == form->GetName()) {
      it->Result = result;
      return;
    }
}

TModalResult THeadlessDriver::DefaultAnswer(const TMessageDialogInfo& info) const {
  if (info.CancelResult != mrNone) return info.CancelResult;
  return info.Buttons.empty() ? mrCancel : info.Buttons.front().Result;
}

TModalResult THeadlessDriver::MessageDialog(const TMessageDialogInfo& info) {
  return RecordDialog(info, DefaultAnswer(info));
}

TModalResult THeadlessDriver::RecordDialog(const TMessageDialogInfo& info, TModalResult answer) {
  TUIEvent e;
  e.Kind = ueMessageDialog;
  e.FormClass = info.Form ? info.Form->ClassName() : AnsiString();
  e.FormName = info.Form ? info.Form->GetName() : AnsiString();
  e.Caption = info.Caption;
  e.Text = info.Text;
  e.DialogType = info.Type;
  for (const auto& b : info.Buttons) e.Buttons.push_back(b.Caption);
  e.OwnerCaption = info.OwnerCaption;
  e.Result = answer;
  Record(std::move(e));
  return answer;
}

void THeadlessDriver::FormShown(TCustomForm* form) {
  if (!dynamic_cast<TMessageForm*>(form)) Record(FormEvent(ueShow, form));
}

void THeadlessDriver::FormHidden(TCustomForm* form) {
  if (!dynamic_cast<TMessageForm*>(form)) Record(FormEvent(ueHide, form));
}

bool THeadlessDriver::ShellExecute(const AnsiString& verb, const AnsiString& file, const AnsiString& parameters,
                                   const AnsiString& directory) {
  TUIEvent e;
  e.Kind = ueShellExecute;
  e.Verb = verb;
  e.Text = file;
  e.Parameters = parameters;
  e.Directory = directory;
  e.Result = ShellSucceeds ? mrOk : mrNone;
  Record(std::move(e));
  return ShellSucceeds;
}

void THeadlessDriver::Navigate(const AnsiString& url) {
  TUIEvent e;
  e.Kind = ueNavigate;
  e.Text = url;
  Record(std::move(e));
}

void TScriptedDriver::AnswerDialog(TModalResult result) {
  FDialogs.push_back([result](const TMessageDialogInfo&) { return result; });
}

void TScriptedDriver::AnswerDialog(TDialogAnswer answer) { FDialogs.push_back(std::move(answer)); }

void TScriptedDriver::OnModal(const AnsiString& formClass, TFormAction action) {
  FModals.push_back(TModalScript{formClass, std::move(action)});
}

bool TScriptedDriver::ModalStep(TCustomForm* form) {
  for (auto it = FModals.begin(); it != FModals.end(); ++it) {
    if (!it->FormClass.empty() && !SameAscii(it->FormClass, form->ClassName()) &&
        !SameAscii(it->FormClass, form->GetName()))
      continue;
    TFormAction action = std::move(it->Action);
    FModals.erase(it);
    action(form);
    return true;
  }
  return false;
}

TModalResult TScriptedDriver::MessageDialog(const TMessageDialogInfo& info) {
  if (FDialogs.empty()) return THeadlessDriver::MessageDialog(info);
  TDialogAnswer answer = std::move(FDialogs.front());
  FDialogs.pop_front();
  return RecordDialog(info, answer(info));
}

intptr_t ShellExecute(HWND, const AnsiString& operation, const AnsiString& file, const AnsiString& parameters,
                      const AnsiString& directory, int) {
  AnsiString verb = operation.empty() ? AnsiString("open") : operation;
  return GetUIDriver()->ShellExecute(verb, file, parameters, directory) ? 42 : SE_ERR_NOASSOC;
}

void BrowserNavigate(const AnsiString& url) { GetUIDriver()->Navigate(url); }
