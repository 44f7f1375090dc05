// Each test starts from the Chinese (PRC) settings of a code page 936 process and a
// clock fixed at 2024-05-06 14:03:09.045, and gets the process's hooks back afterwards.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

class TRtlTest : public ::testing::Test {
protected:
  static TDateTime FixedNow() { return EncodeDate(2024, 5, 6) + EncodeTime(14, 3, 9, 45); }

  void SetUp() override {
    SavedACP = GetACPHook;
    SavedNow = NowHook;
    GetACPHook = [] { return 936; };
    NowHook = FixedNow;
    GetFormatSettings();
  }
  void TearDown() override {
    GetACPHook = SavedACP;
    NowHook = SavedNow;
    GetFormatSettings();
  }
  void UseCodePage(int acp) {
    static int current;
    current = acp;
    GetACPHook = [] { return current; };
  }

private:
  int (*SavedACP)() = nullptr;
  TDateTime (*SavedNow)() = nullptr;
};
