#include "platform/vcl/IniFiles.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Files.h"
#include "platform/win/Profile.h"

const char* EIniFileException::ClassName() const { return "EIniFileException"; }

namespace {

// A file named without a folder lives in the Windows folder, as for the profile API.
AnsiString ProfileFile(const AnsiString& fileName) {
  if (ExtractFilePath(fileName).empty()) return "C:\\windows\\" + fileName;
  return fileName;
}

TProfileText Load(const AnsiString& fileName) {
  AnsiString content;
  if (!ReadFileBytes(ProfileFile(fileName), content)) content.clear();
  return TProfileText(content);
}

// Reading for a change: a file that exists but cannot be read must not be replaced.
TProfileText LoadForUpdate(const AnsiString& fileName) {
  AnsiString content;
  if (!ReadFileBytes(ProfileFile(fileName), content)) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) throw EIniFileException("Unable to write to " + fileName);
    content.clear();
  }
  return TProfileText(content);
}

void Store(const AnsiString& fileName, const TProfileText& profile) {
  if (!WriteFileBytes(ProfileFile(fileName), profile.Text()))
    throw EIniFileException("Unable to write to " + fileName);
}

void Fill(TStrings* strings, const std::vector<AnsiString>& lines) {
  strings->BeginUpdate();
  try {
    strings->Clear();
    for (const AnsiString& line : lines) strings->Add(line);
  } catch (...) {
    strings->EndUpdate();
    throw;
  }
  strings->EndUpdate();
}

}  // namespace

// ---- TCustomIniFile -------------------------------------------------------------------

TAVO_CLASS_IMPL(TCustomIniFile, TObject)

TCustomIniFile::TCustomIniFile(const AnsiString& fileName) : FFileName(fileName) {}
TCustomIniFile::~TCustomIniFile() = default;

int TCustomIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue) {
  AnsiString text = ReadString(section, ident, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = "$" + text.substr(2);
  return StrToIntDef(text, defaultValue);
}

void TCustomIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool defaultValue) {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& section, const AnsiString& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TCustomIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings) {
  TStringList keys;
  ReadSection(section, &keys);
  std::vector<AnsiString> lines;
  for (int i = 0; i < keys.Count(); ++i) lines.push_back(keys[i] + "=" + ReadString(section, keys[i], ""));
  Fill(strings, lines);
}

// As the VCL: a section without keys does not count.
bool TCustomIniFile::SectionExists(const AnsiString& section) {
  TStringList keys;
  ReadSection(section, &keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& section, const AnsiString& ident) {
  TStringList keys;
  ReadSection(section, &keys);
  return keys.IndexOf(ident) >= 0;
}

// ---- TIniFile -------------------------------------------------------------------------

TAVO_CLASS_IMPL(TIniFile, TCustomIniFile)

TIniFile::TIniFile(const AnsiString& fileName) : TCustomIniFile(fileName) {}
TIniFile::~TIniFile() = default;

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& ident,
                                const AnsiString& defaultValue) {
  return Load(GetFileName()).ReadString(section, ident, defaultValue);
}

void TIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) {
  TProfileText profile = LoadForUpdate(GetFileName());
  if (!profile.WriteString(section, ident, value))
    throw EIniFileException("Unable to write to " + GetFileName() + ": [" + section + "] " + ident +
                            " cannot be stored in an INI file");
  Store(GetFileName(), profile);
}

void TIniFile::ReadSection(const AnsiString& section, TStrings* strings) {
  Fill(strings, Load(GetFileName()).KeyNames(section));
}

void TIniFile::ReadSections(TStrings* strings) { Fill(strings, Load(GetFileName()).SectionNames()); }

void TIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings) {
  const TProfileText profile = Load(GetFileName());
  std::vector<AnsiString> lines;
  for (const AnsiString& key : profile.KeyNames(section))
    lines.push_back(key + "=" + profile.ReadString(section, key, ""));
  Fill(strings, lines);
}

bool TIniFile::ValueExists(const AnsiString& section, const AnsiString& ident) {
  return Load(GetFileName()).ValueExists(section, ident);
}

void TIniFile::EraseSection(const AnsiString& section) {
  TProfileText profile = LoadForUpdate(GetFileName());
  if (!profile.SectionExists(section)) return;
  profile.EraseSection(section);
  Store(GetFileName(), profile);
}

void TIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident) {
  TProfileText profile = LoadForUpdate(GetFileName());
  if (!profile.ValueExists(section, ident)) return;
  profile.DeleteKey(section, ident);
  Store(GetFileName(), profile);
}

// Writes reach the file at once; nothing is held back.
void TIniFile::UpdateFile() {}
