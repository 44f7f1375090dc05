// File functions on Windows paths (mapped onto the prefix), full path names and
// folder listing, with the runtime library's names.
#pragma once

#include "platform/rtl/SysUtils.h"
#include "platform/win/Windows.h"

#include <memory>

// ---- Path strings ---------------------------------------------------------------------
//
// ExtractFilePath, ExtractFileName, ChangeFileExt and the other pure text operations
// come from the runtime (SysUtils.h).

// The current directory for relative paths (default: the host executable's folder, else
// "C:\"). SetCurrentDir fails for a folder that does not exist.
AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString& dir);

// The full path: relative names resolved against the current directory, "/" turned
// into "\", "." and ".." removed.
AnsiString ExpandFileName(const AnsiString& fileName);

// ---- Files and folders ----------------------------------------------------------------
//
// Failures answer false and set GetLastError; none raises, except for a missing prefix
// (EInOutError).

bool FileExists(const AnsiString& fileName);  // a file, not a folder
bool DirectoryExists(const AnsiString& dir);
bool CreateDir(const AnsiString& dir);         // the parent must exist
bool ForceDirectories(const AnsiString& dir);  // creates every missing level
bool RemoveDir(const AnsiString& dir);         // must be empty
bool DeleteFile(const AnsiString& fileName);
bool RenameFile(const AnsiString& oldName, const AnsiString& newName);  // never replaces
BOOL CopyFile(const AnsiString& existingFileName, const AnsiString& newFileName,
              BOOL bFailIfExists);

// Whole files as bytes. Writing replaces the file atomically (a failed write leaves the
// old content); appending creates the file when missing.
bool ReadFileBytes(const AnsiString& fileName, AnsiString& content);
bool WriteFileBytes(const AnsiString& fileName, const AnsiString& content);
bool AppendFileBytes(const AnsiString& fileName, const AnsiString& content);

// ---- File dates -----------------------------------------------------------------------

// DOS date and time of the last change in local time (2-second resolution), -1 when the
// file does not exist.
int FileAge(const AnsiString& fileName);
// The same as a TDateTime, to the millisecond; false when the file does not exist.
bool FileAge(const AnsiString& fileName, TDateTime& fileDateTime);
// 0 on success, else a Win32 error code.
int FileSetDate(const AnsiString& fileName, int age);
bool FileSetDateTime(const AnsiString& fileName, TDateTime dateTime);

TDateTime FileDateToDateTime(int fileDate);
int DateTimeToFileDate(TDateTime dateTime);

// ---- Listing folders ------------------------------------------------------------------

constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;  // Linux dot files
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;

struct TSearchRec {
  int Time = 0;      // DOS date, as FileAge
  int64_t Size = 0;
  int Attr = 0;
  AnsiString Name;   // as stored, in the ANSI code page
  int ExcludeAttr = 0;
  std::shared_ptr<struct TFindState> FindHandle;
};

// path is a folder and a mask ("C:\Data\*.ini"; "*" and "?" match case-insensitively,
// "*.*" matches every name). Entries with hidden, system or folder attributes are
// skipped unless attr asks for them; "." and ".." come with folders outside a drive's
// root. Entries come in name order. Returns 0, or ERROR_FILE_NOT_FOUND (nothing
// matches), ERROR_PATH_NOT_FOUND (no such folder), ERROR_NO_MORE_FILES (FindNext at
// the end).
int FindFirst(const AnsiString& path, int attr, TSearchRec& f);
int FindNext(TSearchRec& f);
void FindClose(TSearchRec& f);

// The mask match FindFirst uses, on names in the ANSI code page.
bool MatchesFileMask(const AnsiString& name, const AnsiString& mask);
