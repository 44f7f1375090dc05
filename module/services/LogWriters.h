// Diagnostic logs. What goes wrong deep inside a utility is never shown to the user; it is
// appended, one line a call, to plain-text files in the "Log" folder of the installation:
// "Alert_<name>_<date stamp>[.log]" for the alert writers, "Alert_Quillmark_<yyyymmdd>.log"
// for exception reports. The writers never raise; a file that cannot be written makes
// them answer false. Dates come from Now(), so a test can pin "today" through NowHook.
#pragma once

#include "platform/rtl/System.h"

#include <vector>

// A database engine's failure with the list of errors the engine reported.
struct TDBError {
  int ErrorCode = 0;
  AnsiString Message;
};

class EDBEngineError : public Exception {
public:
  EDBEngineError(AnsiString message, std::vector<TDBError> errors = {});
  const char* ClassName() const override;
  int ErrorCount() const { return static_cast<int>(Errors.size()); }

  std::vector<TDBError> Errors;
};

// The installation folder: registry value ClientPath, else ServerPath (HKEY_LOCAL_MACHINE
// "Software\KVT\Steward"), else the host executable's folder.
AnsiString GetLogBase();

// period "D" daily ("yyyymmdd"), "M" monthly ("yyyymm"), "Y" yearly ("yyyy"); any other
// code is daily. A name containing "." gets no ".log" extension.
bool WriteAlertLog(const AnsiString& name, const AnsiString& text, const AnsiString& period);
// The same, in the "Log" folder beside the host executable, for the new-file download.
bool WriteDownloadLog(const AnsiString& name, const AnsiString& text, const AnsiString& period);

// ClientPath, else ServerPath, else the temporary folder, else "C:\Temp".
AnsiString GetExceptionLogBase();
bool WriteExceptionLine(const AnsiString& text);
// A report of e (none: nullptr) with its class, codes and messages, framed by a header
// naming the routine and closed by the programmer's note.
void LogException(const Exception* e, const AnsiString& routine, const AnsiString& note);
