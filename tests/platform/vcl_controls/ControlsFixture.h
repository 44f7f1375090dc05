// A shown form to put controls on, a scripted user-interface driver, and an object whose
// handlers write what happened into a log.
#pragma once

#include "tests/platform/vcl/ShownFormFixture.h"

#include <string>

class TEventLog : public TEventLogBase {
public:
  void Add(const std::string& line) { Lines.push_back(line); }
  void Notify(TObject* sender) { Add("notify:" + NameOf(sender)); }
};

class ControlsTest : public ShownFormTest {
protected:
  TEventLog Log;
};
