// TIniFile: the VCL's INI-file class over Windows profile files (see
// platform/win/Profile.h for the rules). Every call reads the file afresh, as the
// profile functions do; writes go to the file at once.
#pragma once

#include "platform/rtl/System.h"

class TStrings;

// Raised when a write cannot reach the file: "Unable to write to <file>".
TAVO_EXCEPTION(EIniFileException, Exception)

class TCustomIniFile : public TObject {
  TAVO_CLASS(TCustomIniFile, TObject)
public:
  explicit TCustomIniFile(const AnsiString& fileName);
  ~TCustomIniFile() override;

  const AnsiString& GetFileName() const { return FFileName; }

  virtual AnsiString ReadString(const AnsiString& section, const AnsiString& ident,
                                const AnsiString& defaultValue) = 0;
  virtual void WriteString(const AnsiString& section, const AnsiString& ident,
                           const AnsiString& value) = 0;
  virtual void ReadSection(const AnsiString& section, TStrings* strings) = 0;
  virtual void ReadSections(TStrings* strings) = 0;
  virtual void EraseSection(const AnsiString& section) = 0;
  virtual void DeleteKey(const AnsiString& section, const AnsiString& ident) = 0;
  virtual void UpdateFile() = 0;

  // Decimal or hexadecimal ("0x1F", "$1F"); the default for anything else.
  int ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue);
  void WriteInteger(const AnsiString& section, const AnsiString& ident, int value);
  // "0" is false, any other number true, anything else the default.
  bool ReadBool(const AnsiString& section, const AnsiString& ident, bool defaultValue);
  void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);
  // "name=value" lines of the section.
  virtual void ReadSectionValues(const AnsiString& section, TStrings* strings);
  bool SectionExists(const AnsiString& section);
  virtual bool ValueExists(const AnsiString& section, const AnsiString& ident);

private:
  AnsiString FFileName;
};

class TIniFile : public TCustomIniFile {
  TAVO_CLASS(TIniFile, TCustomIniFile)
public:
  // fileName is a Windows path; a missing file reads as empty.
  explicit TIniFile(const AnsiString& fileName);
  ~TIniFile() override;

  AnsiString ReadString(const AnsiString& section, const AnsiString& ident,
                        const AnsiString& defaultValue) override;
  void WriteString(const AnsiString& section, const AnsiString& ident,
                   const AnsiString& value) override;
  void ReadSection(const AnsiString& section, TStrings* strings) override;
  void ReadSections(TStrings* strings) override;
  void ReadSectionValues(const AnsiString& section, TStrings* strings) override;
  bool ValueExists(const AnsiString& section, const AnsiString& ident) override;
  void EraseSection(const AnsiString& section) override;
  void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
  void UpdateFile() override;
};
