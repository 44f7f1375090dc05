// A shown form to put controls on, a scripted user-interface driver, and an object whose
// handlers write what happened into a log.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/UIDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using TLog = std::vector<std::string>;

class TEventLog : public TObject {
public:
  TLog Lines;
  TLog Take() {
    TLog r;
    r.swap(Lines);
    return r;
  }
  void Add(const std::string& line) { Lines.push_back(line); }
  void Notify(TObject* sender) { Add("notify:" + NameOf(sender)); }
  static std::string NameOf(TObject* o) {
    if (auto* c = dynamic_cast<TComponent*>(o)) return c->GetName();
    return o ? o->ClassName() : "nil";
  }
};

class ControlsTest : public testing::Test {
protected:
  ControlsTest() : Scope(&Driver) {}
  void SetUp() override {
    Form = new TForm(Application, CreateNew);
    Form->SetBounds(0, 0, 600, 400);
    Form->Show();
  }
  void TearDown() override {
    Form->Free();
    Application->ProcessMessages();
  }
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
  TEventLog Log;
};
