#include "tests/platform/vcl/TestForms.h"

TAVO_PUBLISHED(TTestBaseForm, TForm) {
  P.Field("lblUser", &TTestBaseForm::lblUser);
  P.Field("edUser", &TTestBaseForm::edUser);
  P.Field("edPassword", &TTestBaseForm::edPassword);
  P.Field("chkRemember", &TTestBaseForm::chkRemember);
  P.Field("btnOk", &TTestBaseForm::btnOk);
  P.Field("btnCancel", &TTestBaseForm::btnCancel);
  P.Field("muFile", &TTestBaseForm::muFile);
  P.Method("FormCreate", &TTestBaseForm::FormCreate);
  P.Method("FormKeyDown", &TTestBaseForm::FormKeyDown);
  P.Method("FormKeyPress", &TTestBaseForm::FormKeyPress);
  P.Method("edUserExit", &TTestBaseForm::edUserExit);
  P.Method("btnOkClick", &TTestBaseForm::btnOkClick);
  P.Method("miOpenClick", &TTestBaseForm::miOpenClick);
}

void TTestBaseForm::FormCreate(TObject*) {
  Log.push_back("create");
  FieldsBoundAtCreate = edUser && btnOk && muFile;
}

void TTestBaseForm::FormKeyDown(TObject*, Word& key, TShiftState shift) {
  Log.push_back("form.keydown:" + std::to_string(key));
  if (key == SwallowKey) key = 0;
}

void TTestBaseForm::FormKeyPress(TObject*, char& key) {
  Log.push_back(std::string("form.keypress:") + (key == '\r' ? std::string("#13") : std::string(1, key)));
}

void TTestBaseForm::edUserExit(TObject*) { Log.push_back("edUser.exit"); }
void TTestBaseForm::btnOkClick(TObject*) { Log.push_back("base.ok"); }
void TTestBaseForm::miOpenClick(TObject*) { Log.push_back("open"); }

void TTestBaseForm::Loaded() {
  ++LoadedCalls;
  LoadingDuringLoaded = IsLoading();
  TForm::Loaded();
}

TAVO_PUBLISHED(TTestChildForm, TTestBaseForm) {
  P.Field("grpOptions", &TTestChildForm::grpOptions);
  P.Field("rbDaily", &TTestChildForm::rbDaily);
  P.Field("rbWeekly", &TTestChildForm::rbWeekly);
  P.Field("memNotes", &TTestChildForm::memNotes);
  P.Field("cboKind", &TTestChildForm::cboKind);
  P.Method("btnOkChildClick", &TTestChildForm::btnOkChildClick);
}

void TTestChildForm::btnOkChildClick(TObject*) { Log.push_back("child.ok"); }

// ---- The form built in code ---------------------------------------------------------------

TAVO_PUBLISHED(TEventForm, TForm) {
  P.Message(WM_USER + 10, &TEventForm::LookupMessage);
}

TEventForm::TEventForm(TComponent* owner) : TForm(owner, CreateNew) {
  // Several at once need several names.
  AnsiString name = "EventForm";
  for (int i = 2; Application->FindComponent(name); ++i) name = "EventForm" + std::to_string(i);
  SetName(name);
  SetBounds(0, 0, 400, 300);
  grpA = Add<TGroupBox>(this, "grpA", 0);
  edA1 = Add<TEdit>(grpA, "edA1", 20);
  edA2 = Add<TEdit>(grpA, "edA2", 50);
  grpB = Add<TGroupBox>(this, "grpB", 120);
  edB1 = Add<TEdit>(grpB, "edB1", 20);
  btnGo = Add<TButton>(this, "btnGo", 250);
  OnKeyDown = TKeyEvent(this, &TEventForm::AnyKeyDown);
  OnKeyPress = TKeyPressEvent(this, &TEventForm::AnyKeyPress);
  AfterConstruction();
}

void TEventForm::AnyEnter(TObject* sender) {
  Log.push_back("enter:" + static_cast<TComponent*>(sender)->GetName());
}

void TEventForm::AnyExit(TObject* sender) {
  Log.push_back("exit:" + static_cast<TComponent*>(sender)->GetName());
  if (HoldFocus && sender == HoldWhenLeaving) {
    TWinControl* target = HoldFocus;
    HoldFocus = nullptr;
    target->SetFocus();
  }
}

void TEventForm::AnyKeyDown(TObject* sender, Word& key, TShiftState) {
  Log.push_back("keydown:" + static_cast<TComponent*>(sender)->GetName() + ":" + std::to_string(key));
  if (sender == this && key == SwallowKey) key = 0;
}

void TEventForm::AnyKeyPress(TObject* sender, char& key) {
  Log.push_back("keypress:" + static_cast<TComponent*>(sender)->GetName() + ":" +
                (key == '\r' ? std::string("#13") : std::string(1, key)));
}

void TEventForm::AnyClick(TObject* sender) { Log.push_back("click:" + static_cast<TComponent*>(sender)->GetName()); }

void TEventForm::LookupMessage(TMessage& message) {
  auto* control = static_cast<TComponent*>(LParamToControl(message.LParam));
  Log.push_back("lookup:" + (control ? control->GetName() : AnsiString("nil")));
  message.Result = 1;
}
