// Forms shared by the component-model tests: two streamed from embedded resources, and a
// form built in code whose controls record their events.
#pragma once

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/UIDriver.h"

#include <string>
#include <vector>

class TTestBaseForm : public TForm {
  TAVO_CLASS(TTestBaseForm, TForm)
public:
  using TForm::TForm;

  TLabel* lblUser = nullptr;
  TEdit* edUser = nullptr;
  TEdit* edPassword = nullptr;
  TCheckBox* chkRemember = nullptr;
  TButton* btnOk = nullptr;
  TButton* btnCancel = nullptr;
  TPopupMenu* muFile = nullptr;

  std::vector<std::string> Log;
  int LoadedCalls = 0;
  bool LoadingDuringLoaded = false;
  bool FieldsBoundAtCreate = false;
  // What FormKeyDown does with the keys it sees (0: nothing).
  Word SwallowKey = 0;

  void FormCreate(TObject* sender);
  void FormKeyDown(TObject* sender, Word& key, TShiftState shift);
  void FormKeyPress(TObject* sender, char& key);
  void edUserExit(TObject* sender);
  void btnOkClick(TObject* sender);
  void miOpenClick(TObject* sender);
  void Loaded() override;
};

class TTestChildForm : public TTestBaseForm {
  TAVO_CLASS(TTestChildForm, TTestBaseForm)
public:
  using TTestBaseForm::TTestBaseForm;

  TGroupBox* grpOptions = nullptr;
  TRadioButton* rbDaily = nullptr;
  TRadioButton* rbWeekly = nullptr;
  TMemo* memNotes = nullptr;
  TComboBox* cboKind = nullptr;

  void btnOkChildClick(TObject* sender);
};

// A form built in code: panels (group boxes) with edits and buttons whose enter, exit, key
// and click events are written to Log as "<event>:<name>".
class TEventForm : public TForm {
  TAVO_CLASS(TEventForm, TForm)
public:
  explicit TEventForm(TComponent* owner);

  TGroupBox* grpA = nullptr;
  TGroupBox* grpB = nullptr;
  TEdit* edA1 = nullptr;
  TEdit* edA2 = nullptr;
  TEdit* edB1 = nullptr;
  TButton* btnGo = nullptr;

  std::vector<std::string> Log;
  // The control an exit handler sends the focus back to (nullptr: none).
  TWinControl* HoldFocus = nullptr;
  TWinControl* HoldWhenLeaving = nullptr;
  // A key the form's own key-down handler consumes (0: none).
  Word SwallowKey = 0;

  void AnyEnter(TObject* sender);
  void AnyExit(TObject* sender);
  void AnyKeyDown(TObject* sender, Word& key, TShiftState shift);
  void AnyKeyPress(TObject* sender, char& key);
  void AnyClick(TObject* sender);
  void LookupMessage(TMessage& message);

  // Adds a control of class T to parent, named and wired to the logging handlers.
  template <class T>
  T* Add(TWinControl* parent, const char* name, int top);

  std::vector<std::string> TakeLog() {
    std::vector<std::string> r;
    r.swap(Log);
    return r;
  }
};

template <class T>
T* TEventForm::Add(TWinControl* parent, const char* name, int top) {
  auto* c = new T(this);
  c->SetName(name);
  c->SetText("");  // a control named in code shows its name until then
  c->SetParent(parent);
  c->SetTop(top);
  c->OnEnter = TNotifyEvent(this, &TEventForm::AnyEnter);
  c->OnExit = TNotifyEvent(this, &TEventForm::AnyExit);
  c->OnKeyDown = TKeyEvent(this, &TEventForm::AnyKeyDown);
  c->OnKeyPress = TKeyPressEvent(this, &TEventForm::AnyKeyPress);
  c->OnClick = TNotifyEvent(this, &TEventForm::AnyClick);
  return c;
}

// Installs a scripted driver for a test and frees the forms it made.
class TFormFixtureBase {
protected:
  TFormFixtureBase() : Scope(&Driver) {}
  ~TFormFixtureBase() {
    for (auto it = Owned.rbegin(); it != Owned.rend(); ++it) (*it)->Free();
    Application->ProcessMessages();
  }
  template <class T>
  T* Make() {
    T* form = CreateComponent<T>(Application);
    Owned.push_back(form);
    return form;
  }
  TEventForm* MakeEventForm() {
    auto* form = new TEventForm(Application);
    Owned.push_back(form);
    return form;
  }
  // Frees a form the test is done with before the fixture ends.
  void Forget(TCustomForm* form) { std::erase(Owned, form); }

  TScriptedDriver Driver;
  TUIDriverScope Scope;
  std::vector<TCustomForm*> Owned;
};
