// A form shown for each test to put controls on, under a scripted user-interface driver,
// and the core of an object whose handlers write what happened into a log.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/UIDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using TLog = std::vector<std::string>;

class TEventLogBase : public TObject {
public:
  TLog Lines;
  // The lines so far; the log starts again empty.
  TLog Take() {
    TLog r;
    r.swap(Lines);
    return r;
  }
  static std::string NameOf(TObject* o) {
    if (auto* c = dynamic_cast<TComponent*>(o)) return c->GetName();
    return o ? o->ClassName() : "nil";
  }
};

class ShownFormTest : public testing::Test {
protected:
  ShownFormTest() : Scope(&Driver) {}
  virtual TForm* NewForm() { return new TForm(Application, CreateNew); }
  void SetUp() override {
    Form = NewForm();
    Form->SetBounds(0, 0, 600, 400);
    Form->Show();
  }
  void TearDown() override {
    Form->Free();
    Application->ProcessMessages();
  }
  // A control of Form, named, on parent (the form itself when none).
  template <class T>
  T* Add(TWinControl* parent, const char* name) {
    auto* c = new T(Form);
    c->SetName(name);
    c->SetParent(parent ? parent : Form);
    return c;
  }

  TScriptedDriver Driver;
  TUIDriverScope Scope;
  TForm* Form = nullptr;
};
