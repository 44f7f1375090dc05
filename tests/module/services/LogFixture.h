// A temporary prefix for the log writers, and a clock pinned to a known moment, so that
// file names and time stamps do not depend on the day the tests run.
#pragma once

#include "platform/rtl/SysUtils.h"
#include "platform/win/TestPrefix.h"

#include <map>
#include <string>

// Where the installation is, as the host's setup records it.
struct TInstallation {
  std::string ClientPath;  // "" = value missing
  std::string ServerPath;
  bool HasKey = true;
  std::string HostExe = "C:\\Host\\Helm.exe";
  std::string TempPath = "C:\\Tmp\\";
};

inline std::string RegText(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

inline std::map<std::string, std::string> InstallationFiles(const TInstallation& setup) {
  std::string reg = "REGEDIT4\r\n\r\n";
  if (setup.HasKey) {
    reg += "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward]\r\n";
    if (!setup.ClientPath.empty()) reg += "\"ClientPath\"=\"" + RegText(setup.ClientPath) + "\"\r\n";
    if (!setup.ServerPath.empty()) reg += "\"ServerPath\"=\"" + RegText(setup.ServerPath) + "\"\r\n";
    reg += "\r\n";
  }
  return {{"system.reg", reg},
          {"platform.ini", "[Platform]\r\nACP=936\r\nHostExe=" + setup.HostExe +
                               "\r\nTempPath=" + setup.TempPath + "\r\n"}};
}

// Pins Now() and the date and time formats for the lifetime of the object.
class TPinnedClock {
public:
  explicit TPinnedClock(TDateTime moment)
      : FOldHook(NowHook),
        FOldDateSeparator(DateSeparator),
        FOldTimeSeparator(TimeSeparator),
        FOldShortDate(ShortDateFormat),
        FOldLongTime(LongTimeFormat) {
    Moment() = moment;
    NowHook = [] { return Moment(); };
    DateSeparator = '/';
    TimeSeparator = ':';
    ShortDateFormat = "yyyy/m/d";
    LongTimeFormat = "hh:nn:ss";
  }
  ~TPinnedClock() {
    NowHook = FOldHook;
    DateSeparator = FOldDateSeparator;
    TimeSeparator = FOldTimeSeparator;
    ShortDateFormat = FOldShortDate;
    LongTimeFormat = FOldLongTime;
  }
  TPinnedClock(const TPinnedClock&) = delete;
  TPinnedClock& operator=(const TPinnedClock&) = delete;

private:
  static TDateTime& Moment() {
    static TDateTime moment = 0;
    return moment;
  }
  TDateTime (*FOldHook)();
  char FOldDateSeparator;
  char FOldTimeSeparator;
  AnsiString FOldShortDate;
  AnsiString FOldLongTime;
};

// 5 March 2024, 14:07:09.045.
inline TDateTime PinnedMoment() { return EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45); }
