// The Win32 surface the module uses: basic types, the last-error value, code pages and
// conversions, system information and run-time loaded libraries.
#pragma once

#include "platform/rtl/System.h"

#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = unsigned int;
using BOOL = int;
using WCHAR = char16_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// A loaded library. 0 is "none"; for GetModuleFileName it means the host executable.
struct HINSTANCE__;
using HMODULE = HINSTANCE__*;
using HINSTANCE = HMODULE;
// An export's address; cast it to the export's own type (void(*)() casts to any function
// type without a warning).
using FARPROC = void (*)();

constexpr DWORD MAX_PATH = 260;
constexpr DWORD MAX_COMPUTERNAME_LENGTH = 15;

// ---- Error codes ----------------------------------------------------------------------

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_SAME_DEVICE = 17;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_READ_FAULT = 30;
constexpr DWORD ERROR_BAD_NETPATH = 53;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_BUFFER_OVERFLOW = 111;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_BAD_EXE_FORMAT = 193;
constexpr DWORD ERROR_INVALID_FLAGS = 1004;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

DWORD GetLastError();
void SetLastError(DWORD errorCode);

// Milliseconds since the system started; wraps after 49.7 days as on Windows.
DWORD GetTickCount();

// ---- Code pages -----------------------------------------------------------------------

constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_UTF8 = 65001;

constexpr DWORD MB_PRECOMPOSED = 0x01;
constexpr DWORD MB_COMPOSITE = 0x02;
constexpr DWORD MB_USEGLYPHCHARS = 0x04;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x08;

constexpr DWORD WC_COMPOSITECHECK = 0x200;
constexpr DWORD WC_DISCARDNS = 0x10;
constexpr DWORD WC_SEPCHARS = 0x20;
constexpr DWORD WC_DEFAULTCHAR = 0x40;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

// The process's ANSI code page (the prefix's "ACP" setting, 936 when none is set) and
// the matching OEM code page.
UINT GetACP();
UINT GetOEMCP();

// As Win32: a length of -1 means "up to and including the terminating zero"; a zero
// output size asks for the length needed. Returns the number of units written (or
// needed), or 0 with GetLastError set (ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_PARAMETER,
// ERROR_INVALID_FLAGS, ERROR_NO_UNICODE_TRANSLATION).
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, const char* lpMultiByteStr, int cbMultiByte,
                        WCHAR* lpWideCharStr, int cchWideChar);
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, const WCHAR* lpWideCharStr, int cchWideChar,
                        char* lpMultiByteStr, int cbMultiByte, const char* lpDefaultChar,
                        BOOL* lpUsedDefaultChar);

// Whole-string forms. Characters the code page lacks become '?' and set *usedDefault.
WideString AnsiToWide(const AnsiString& text, UINT codePage = CP_ACP);
AnsiString WideToAnsi(const WideString& text, UINT codePage = CP_ACP, bool* usedDefault = nullptr);

BOOL IsDBCSLeadByte(BYTE TestChar);
BOOL IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar);

// Case-insensitive comparison of ANSI texts as Windows compares names (file names,
// registry keys, INI sections): <0, 0 or >0.
int lstrcmpi(const AnsiString& a, const AnsiString& b);

// The form of an ANSI name under which names that lstrcmpi calls equal are equal, for
// keyed look-ups.
WideString NameKey(const AnsiString& name, UINT codePage = CP_ACP);

// ---- System information ---------------------------------------------------------------
//
// The buffer forms behave as Win32 (lengths, ERROR_INSUFFICIENT_BUFFER /
// ERROR_BUFFER_OVERFLOW); the AnsiString forms return the text or "" on failure.

// The temporary folder with a trailing backslash; created in the prefix when missing.
DWORD GetTempPath(DWORD nBufferLength, char* lpBuffer);
AnsiString GetTempPath();

// Replaces 8.3 aliases (DOCUME~1) by the names they stand for; the path must exist
// (ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND otherwise).
DWORD GetLongPathName(const char* lpszShortPath, char* lpszLongPath, DWORD cchBuffer);
AnsiString GetLongPathName(const AnsiString& shortPath);

// *lpnSize: buffer size in; on success the length including the terminating zero.
BOOL GetUserName(char* lpBuffer, DWORD* lpnSize);
AnsiString GetUserName();

// Upper case and at most MAX_COMPUTERNAME_LENGTH characters, as the NetBIOS name.
// *lpnSize: buffer size in; on success the length without the terminating zero.
BOOL GetComputerName(char* lpBuffer, DWORD* lpnSize);
AnsiString GetComputerName();

// ---- Libraries ------------------------------------------------------------------------

// A name with a folder is taken as given; otherwise the folder of the calling module,
// the host executable's folder and the prefix's LibraryPath folders are searched. A name
// without extension gets ".dll" (a trailing "." means none). Failure returns 0 with
// ERROR_MOD_NOT_FOUND (or ERROR_BAD_EXE_FORMAT for a file that is no library); a missing
// prefix raises EInOutError. Each successful call must be matched by FreeLibrary.
HMODULE LoadLibrary(const AnsiString& lpLibFileName);
BOOL FreeLibrary(HMODULE hLibModule);

// Only the module's own exports are found; otherwise 0 with ERROR_PROC_NOT_FOUND.
FARPROC GetProcAddress(HMODULE hModule, const char* lpProcName);

// The module's Windows path (0 or the main program: the host executable, HostExe).
DWORD GetModuleFileName(HMODULE hModule, char* lpFilename, DWORD nSize);
AnsiString GetModuleFileName(HMODULE hModule);

// The module containing an address (Delphi's HInstance: pass the address of something
// of one's own); 0 when the address belongs to no module.
HMODULE GetModuleHandleFromAddress(const void* address);
