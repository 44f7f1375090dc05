// Initialization files with Windows profile semantics: the text model shared by
// GetPrivateProfileString, TIniFile and the prefix's own platform.ini.
//
// Sections and keys match case-insensitively and the first occurrence wins; blanks
// around section names, keys and values are dropped; a value enclosed in matching
// double or single quotes loses them; lines starting with ";" are comments. Text is
// bytes in the ANSI code page and is not converted.
#pragma once

#include "platform/win/Windows.h"

#include <vector>

class TProfileText {
public:
  TProfileText() = default;
  explicit TProfileText(const AnsiString& content, UINT codePage = CP_ACP);

  bool SectionExists(const AnsiString& section) const;
  bool ValueExists(const AnsiString& section, const AnsiString& key) const;
  bool ReadValue(const AnsiString& section, const AnsiString& key, AnsiString& value) const;
  AnsiString ReadString(const AnsiString& section, const AnsiString& key,
                        const AnsiString& defaultValue) const;
  // Distinct names in file order, as first spelled.
  std::vector<AnsiString> SectionNames() const;
  std::vector<AnsiString> KeyNames(const AnsiString& section) const;

  // Edits that keep every other line (comments, blank lines, other sections) as it is.
  // A new key goes after the section's last entry, a new section at the end. Names
  // that the file could not hold (empty key, "=" in a key, "]" in a section, line
  // breaks anywhere) are refused with false.
  bool WriteString(const AnsiString& section, const AnsiString& key, const AnsiString& value);
  void DeleteKey(const AnsiString& section, const AnsiString& key);
  void EraseSection(const AnsiString& section);

  // The file text, with the line breaks the file had ("\r\n" for a new file).
  AnsiString Text() const;

private:
  struct TLine {
    AnsiString Raw;
    enum TKind { Other, Section, Entry } Kind = Other;
    AnsiString Name;  // section name or key, trimmed
    WideString Key;   // NameKey of Name
    AnsiString Value;
  };
  void Parse(const AnsiString& content);
  int FindSection(const WideString& key) const;  // index of the header line, -1
  int SectionEnd(int header) const;              // index after the section's last line
  int FindEntry(int header, const WideString& key) const;

  std::vector<TLine> FLines;
  AnsiString FLineBreak = "\r\n";
  bool FEndsWithBreak = true;
  UINT FCodePage = CP_ACP;
};

// Win32 forms over a file named by a Windows path. GetPrivateProfileString with a null
// key lists the section's keys, with a null section the section names, each ending in a
// zero, the list in another zero.
DWORD GetPrivateProfileString(const char* lpAppName, const char* lpKeyName, const char* lpDefault,
                              char* lpReturnedString, DWORD nSize, const char* lpFileName);
UINT GetPrivateProfileInt(const char* lpAppName, const char* lpKeyName, int nDefault,
                          const char* lpFileName);
// A null key erases the section, a null value deletes the key.
BOOL WritePrivateProfileString(const char* lpAppName, const char* lpKeyName, const char* lpString,
                               const char* lpFileName);
