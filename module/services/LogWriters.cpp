#include "module/services/LogWriters.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/Files.h"
#include "platform/win/Registry.h"

#include <utility>

namespace {

const char* const StewardKey = "Software\\KVT\\Steward";
const char* const FallbackExceptionBase = "C:\\Temp";
const char* const HeaderRule = "----------------------------------";

// ClientPath, else ServerPath; "" when neither is set. May raise.
AnsiString InstallationPath() {
  TRegistry registry(KEY_READ);
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKeyReadOnly(StewardKey)) return AnsiString();
  AnsiString path = registry.ReadString("ClientPath");
  if (Trim(path).empty()) path = registry.ReadString("ServerPath");
  registry.CloseKey();
  return Trim(path).empty() ? AnsiString() : path;
}

AnsiString HostFolder() { return ExtractFilePath(GetModuleFileName(nullptr)); }

AnsiString DateStamp(const AnsiString& period, TDateTime now) {
  if (period == "M") return FormatDateTime("yyyymm", now);
  if (period == "Y") return FormatDateTime("yyyy", now);
  return FormatDateTime("yyyymmdd", now);
}

// Appends one line to fileName in base's "Log" folder, creating the folder as needed.
bool AppendLogLine(const AnsiString& base, const AnsiString& fileName, const AnsiString& line) {
  const AnsiString folder = base + "\\Log";
  if (!DirectoryExists(folder) && !ForceDirectories(folder)) return false;
  return AppendFileBytes(folder + "\\" + fileName, line + "\r\n");
}

bool WriteAlertLogIn(const AnsiString& base, const AnsiString& name, const AnsiString& text,
                     const AnsiString& period) {
  try {
    // The name is part of a file name; a folder inside it would write outside the log.
    if (name.find_first_of("\\/:") != AnsiString::npos) return false;
    const TDateTime now = Now();
    AnsiString fileName = "Alert_" + name + "_" + DateStamp(period, now);
    if (name.find('.') == AnsiString::npos) fileName += ".log";
    return AppendLogLine(base, fileName,
                         "[" + FormatDateTime("yyyy/mm/dd hh:nn:ss:zzz", now) + "] " + text);
  } catch (...) {
    return false;
  }
}

}  // namespace

EDBEngineError::EDBEngineError(AnsiString message, std::vector<TDBError> errors)
    : Exception(std::move(message)), Errors(std::move(errors)) {}

const char* EDBEngineError::ClassName() const { return "EDBEngineError"; }

AnsiString GetLogBase() {
  AnsiString base;
  try {
    base = InstallationPath();
  } catch (...) {
    base.clear();
  }
  if (!base.empty()) return base;
  try {
    return HostFolder();
  } catch (...) {
    return AnsiString();
  }
}

bool WriteAlertLog(const AnsiString& name, const AnsiString& text, const AnsiString& period) {
  try {
    return WriteAlertLogIn(GetLogBase(), name, text, period);
  } catch (...) {
    return false;
  }
}

bool WriteDownloadLog(const AnsiString& name, const AnsiString& text, const AnsiString& period) {
  try {
    return WriteAlertLogIn(HostFolder(), name, text, period);
  } catch (...) {
    return false;
  }
}

AnsiString GetExceptionLogBase() {
  try {
    AnsiString base = InstallationPath();
    if (!base.empty()) return base;
    char buffer[255];
    const DWORD length = GetTempPath(sizeof buffer, buffer);
    if (length > 0 && length < sizeof buffer) return AnsiString(buffer, length);
  } catch (...) {
  }
  return FallbackExceptionBase;
}

bool WriteExceptionLine(const AnsiString& text) {
  try {
    const TDateTime now = Now();
    const AnsiString stamp = FormatDateTime(ShortDateFormat + " " + LongTimeFormat, now);
    return AppendLogLine(GetExceptionLogBase(),
                         "Alert_Quillmark_" + FormatDateTime("yyyymmdd", now) + ".log",
                         "[" + stamp + "] " + text);
  } catch (...) {
    return false;
  }
}

void LogException(const Exception* e, const AnsiString& routine, const AnsiString& note) {
  try {
    AnsiString header = HeaderRule;
    if (!Trim(routine).empty()) header += " on " + routine + " ";
    WriteExceptionLine(header + HeaderRule);
    if (e) {
      WriteExceptionLine("讯息信息:");
      int count = 1;
      if (const auto* db = dynamic_cast<const EDBEngineError*>(e)) {
        count = db->ErrorCount();
        for (int i = 1; i <= count; ++i) {
          const TDBError& entry = db->Errors[static_cast<size_t>(i - 1)];
          WriteExceptionLine(Format("EDBEngineError Error %.2d: Code: %d, Message: %s",
                                    {i, entry.ErrorCode, entry.Message}));
        }
      } else if (const auto* win = dynamic_cast<const EWin32Error*>(e)) {
        WriteExceptionLine(Format("EWin32Error Error %.2d: Code: %d, Message: %s",
                                  {1, win->ErrorCode, win->Message}));
      } else if (const auto* io = dynamic_cast<const EInOutError*>(e)) {
        WriteExceptionLine(Format("EInOutError Error %.2d: Code: %d, Message: %s",
                                  {1, io->ErrorCode, io->Message}));
      } else {
        // The message goes after the format: a "%" in it is text, not a directive.
        WriteExceptionLine(Format("Exception is %s\r\nMessage %.2d: ", {e->ClassName(), 1}) +
                           e->Message);
      }
      WriteExceptionLine(Format("ErrorMessage Count: %d", {count}));
    }
    if (!Trim(note).empty()) WriteExceptionLine("Programer Message: " + note);
  } catch (...) {
  }
}
