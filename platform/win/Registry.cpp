#include "platform/win/Registry.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Prefix.h"
#include "platform/win/WinInternal.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

struct TRegValue {
  AnsiString Name;
  WideString Key;
  DWORD Type = REG_SZ;
  AnsiString Data;  // strings without their terminating zero, a DWORD as 4 bytes little-endian
};

struct TRegKey {
  AnsiString Name;
  WideString Key;
  std::vector<std::unique_ptr<TRegKey>> SubKeys;
  std::vector<TRegValue> Values;

  TRegKey* FindSub(const WideString& key) const {
    for (const auto& k : SubKeys)
      if (k->Key == key) return k.get();
    return nullptr;
  }
  int ValueIndex(const WideString& key) const {
    for (size_t i = 0; i < Values.size(); ++i)
      if (Values[i].Key == key) return static_cast<int>(i);
    return -1;
  }
  TRegValue* FindValue(const WideString& key) {
    const int i = ValueIndex(key);
    return i < 0 ? nullptr : &Values[static_cast<size_t>(i)];
  }
};

struct TRootName {
  HKEY Handle;
  const char* Name;
};
constexpr TRootName RootNames[] = {{HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
                                   {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
                                   {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
                                   {HKEY_USERS, "HKEY_USERS"},
                                   {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"}};
constexpr size_t RootCount = sizeof RootNames / sizeof RootNames[0];

struct TFileSignature {
  bool Exists = false;
  dev_t Device = 0;
  ino_t Inode = 0;
  off_t Size = 0;
  timespec Modified{};

  bool operator==(const TFileSignature& o) const {
    return Exists == o.Exists && Device == o.Device && Inode == o.Inode && Size == o.Size &&
           Modified.tv_sec == o.Modified.tv_sec && Modified.tv_nsec == o.Modified.tv_nsec;
  }
};

TFileSignature SignatureOf(const std::string& file) {
  TFileSignature s;
  struct stat st {};
  if (::stat(file.c_str(), &st) == 0) {
    s.Exists = true;
    s.Device = st.st_dev;
    s.Inode = st.st_ino;
    s.Size = st.st_size;
    s.Modified = st.st_mtim;
  }
  return s;
}

struct TRegStore {
  bool Loaded = false;
  unsigned Generation = 0;
  std::string File;
  TFileSignature Signature;
  TRegKey Roots[RootCount];
};

TRegStore& Store() {
  static auto* store = new TRegStore;
  return *store;
}

// ---- Reading system.reg ---------------------------------------------------------------

class TRegParser {
public:
  TRegParser(const std::string& file, const std::string& content, UINT cp, TRegKey* roots)
      : FFile(file), FContent(content), FCodePage(cp), FLead(LeadByteTable(cp)), FRoots(roots) {}

  void Run() {
    std::vector<std::pair<int, std::string>> lines;
    int number = 0;
    size_t start = 0;
    while (start < FContent.size()) {
      size_t end = FContent.find('\n', start);
      if (end == std::string::npos) end = FContent.size();
      std::string line = FContent.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.emplace_back(++number, line);
      start = end + 1;
    }
    bool header = false;
    TRegKey* current = nullptr;
    for (size_t i = 0; i < lines.size(); ++i) {
      FLine = lines[i].first;
      std::string text = TrimRight(lines[i].second);
      const std::string trimmed = Trim(text);
      if (trimmed.empty() || trimmed[0] == ';') continue;
      if (!header) {
        if (trimmed != "REGEDIT4") Error("the file does not start with REGEDIT4");
        header = true;
        continue;
      }
      if (trimmed[0] == '[') {
        current = ParseSection(trimmed);
        continue;
      }
      // Binary data may continue over lines ending with a backslash.
      while (!text.empty() && text.back() == '\\' && IsHexData(text) && i + 1 < lines.size())
        text = text.substr(0, text.size() - 1) + Trim(lines[++i].second);
      if (!current) Error("a value outside of any key");
      ParseValue(Trim(text), *current);
    }
  }

private:
  [[noreturn]] void Error(const std::string& reason) const {
    throw EInOutError("Malformed registry file " + FFile + ", line " + std::to_string(FLine) + ": " + reason,
                      13 /* ERROR_INVALID_DATA */);
  }

  static bool IsHexData(const std::string& text) {
    const size_t eq = text.find("=hex");
    return eq != std::string::npos;
  }

  TRegKey* ParseSection(const std::string& line) {
    if (line.size() < 2 || line[1] == '-') Error("key deletions are not allowed here");
    // The closing bracket must be a character of its own, not the second byte of one.
    size_t close = std::string::npos;
    for (size_t i = 1; i < line.size();) {
      const size_t n = CharLength(FLead, line, i);
      if (n == 1 && line[i] == ']') close = i;
      i += n;
    }
    if (close == std::string::npos || close != line.size() - 1) Error("a key name must end with ']'");
    const std::vector<AnsiString> parts = SplitAnsi(line.substr(1, close - 1), '\\', FCodePage);
    TRegKey* key = nullptr;
    for (size_t r = 0; r < RootCount; ++r)
      if (SameText(parts[0], RootNames[r].Name)) key = &FRoots[r];
    if (!key) Error("unknown root key '" + parts[0] + "'");
    for (size_t i = 1; i < parts.size(); ++i) {
      if (parts[i].empty()) Error("empty key name in '" + line + "'");
      const WideString k = NameKey(parts[i], FCodePage);
      TRegKey* sub = key->FindSub(k);
      if (!sub) {
        auto created = std::make_unique<TRegKey>();
        created->Name = parts[i];
        created->Key = k;
        sub = created.get();
        key->SubKeys.push_back(std::move(created));
      }
      key = sub;
    }
    return key;
  }

  // A quoted string from s[pos] (the opening quote); pos ends after the closing quote.
  std::string ParseQuoted(const std::string& s, size_t& pos) {
    std::string r;
    ++pos;
    while (pos < s.size()) {
      const size_t n = CharLength(FLead, s, pos);
      if (n == 2) {
        r.append(s, pos, 2);
        pos += 2;
        continue;
      }
      const char c = s[pos];
      if (c == '"') {
        ++pos;
        return r;
      }
      if (c == '\\') {
        if (pos + 1 >= s.size() || (s[pos + 1] != '\\' && s[pos + 1] != '"'))
          Error("unknown escape in a quoted string");
        r.push_back(s[pos + 1]);
        pos += 2;
        continue;
      }
      r.push_back(c);
      ++pos;
    }
    Error("a quoted string is not closed");
  }

  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  void ParseValue(const std::string& line, TRegKey& key) {
    size_t pos = 0;
    TRegValue value;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] == '"') {
      value.Name = ParseQuoted(line, pos);
    } else {
      Error("expected a value name in quotes or @");
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') Error("expected '=' after the value name");
    ++pos;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    const std::string data = line.substr(pos);
    if (!data.empty() && data[0] == '"') {
      size_t p = 0;
      value.Type = REG_SZ;
      value.Data = ParseQuoted(data, p);
      if (!Trim(data.substr(p)).empty()) Error("unexpected text after the string");
    } else if (data.size() > 6 && SameText(data.substr(0, 6), "dword:")) {
      const std::string digits = Trim(data.substr(6));
      if (digits.empty() || digits.size() > 8) Error("a dword needs 1 to 8 hexadecimal digits");
      uint32_t v = 0;
      for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) Error("'" + digits + "' is not a hexadecimal dword");
        v = v * 16 + static_cast<uint32_t>(d);
      }
      value.Type = REG_DWORD;
      value.Data.assign(reinterpret_cast<const char*>(&v), 4);
    } else if (data.size() >= 4 && SameText(data.substr(0, 3), "hex")) {
      size_t p = 3;
      value.Type = REG_BINARY;
      if (data[p] == '(') {
        const size_t close = data.find(')', p);
        if (close == std::string::npos || close == p + 1) Error("malformed hex(type)");
        uint32_t type = 0;
        for (size_t i = p + 1; i < close; ++i) {
          const int d = HexDigit(data[i]);
          if (d < 0) Error("malformed hex(type)");
          type = type * 16 + static_cast<uint32_t>(d);
        }
        value.Type = type;
        p = close + 1;
      }
      if (p >= data.size() || data[p] != ':') Error("expected ':' after hex");
      ++p;
      for (const AnsiString& item : SplitAnsi(data.substr(p), ',', CP_UTF8)) {
        const std::string b = Trim(item);
        if (b.empty() && Trim(data.substr(p)).empty()) break;
        if (b.size() != 2 || HexDigit(b[0]) < 0 || HexDigit(b[1]) < 0) Error("'" + b + "' is not a hex byte");
        value.Data.push_back(static_cast<char>(HexDigit(b[0]) * 16 + HexDigit(b[1])));
      }
      if ((value.Type == REG_SZ || value.Type == REG_EXPAND_SZ) && !value.Data.empty() && value.Data.back() == '\0')
        value.Data.pop_back();
    } else {
      Error("unrecognised value data '" + data + "'");
    }
    value.Key = NameKey(value.Name, FCodePage);
    if (TRegValue* existing = key.FindValue(value.Key))
      *existing = std::move(value);
    else
      key.Values.push_back(std::move(value));
  }

  std::string FFile;
  const std::string& FContent;
  UINT FCodePage;
  const std::array<bool, 256>& FLead;
  TRegKey* FRoots;
  int FLine = 0;
};

// ---- Writing system.reg ---------------------------------------------------------------

AnsiString Escape(const AnsiString& s) {
  const auto& lead = LeadByteTable(CP_ACP);
  AnsiString r;
  for (size_t i = 0; i < s.size();) {
    const size_t n = CharLength(lead, s, i);
    if (n == 1 && (s[i] == '\\' || s[i] == '"')) r.push_back('\\');
    r.append(s, i, n);
    i += n;
  }
  return r;
}

AnsiString HexBytes(const AnsiString& bytes) {
  static const char* digits = "0123456789abcdef";
  AnsiString r;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) r += (i % 24 == 0) ? ",\\\r\n  " : ",";
    const auto b = static_cast<unsigned char>(bytes[i]);
    r.push_back(digits[b >> 4]);
    r.push_back(digits[b & 15]);
  }
  return r;
}

AnsiString FormatValue(const TRegValue& v) {
  AnsiString line = v.Name.empty() ? AnsiString("@") : "\"" + Escape(v.Name) + "\"";
  line += "=";
  const bool plainString = v.Type == REG_SZ && v.Data.find_first_of(AnsiString("\r\n\0", 3)) == AnsiString::npos;
  if (plainString) {
    line += "\"" + Escape(v.Data) + "\"";
  } else if (v.Type == REG_DWORD && v.Data.size() == 4) {
    uint32_t d = 0;
    std::memcpy(&d, v.Data.data(), 4);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "dword:%08x", d);
    line += buffer;
  } else {
    AnsiString bytes = v.Data;
    if (v.Type == REG_SZ || v.Type == REG_EXPAND_SZ) bytes.push_back('\0');
    if (v.Type == REG_BINARY) {
      line += "hex:";
    } else {
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "hex(%x):", v.Type);
      line += buffer;
    }
    line += HexBytes(bytes);
  }
  return line;
}

void WriteKey(const TRegKey& key, const AnsiString& path, bool isRoot, AnsiString& out) {
  if (!isRoot || !key.Values.empty()) {
    out += "\r\n[" + path + "]\r\n";
    for (const TRegValue& v : key.Values) out += FormatValue(v) + "\r\n";
  }
  for (const auto& sub : key.SubKeys) WriteKey(*sub, path + "\\" + sub->Name, false, out);
}

AnsiString Serialize(const TRegStore& store) {
  AnsiString out = "REGEDIT4\r\n";
  for (size_t r = 0; r < RootCount; ++r) WriteKey(store.Roots[r], RootNames[r].Name, true, out);
  return out;
}

bool Save(TRegStore& store) {
  if (WriteUnixFileAtomic(store.File, Serialize(store)) != 0) return false;
  store.Signature = SignatureOf(store.File);
  return true;
}

// The registry as system.reg holds it now: read again when the prefix changed or another
// process rewrote the file.
TRegStore& Loaded() {
  TRegStore& store = Store();
  const unsigned generation = PrefixGeneration();
  const std::string file = RequirePrefixDir() + "/system.reg";
  const TFileSignature signature = SignatureOf(file);
  if (store.Loaded && store.Generation == generation && store.File == file && store.Signature == signature)
    return store;
  store.Loaded = false;
  std::string content;
  if (signature.Exists) {
    int err = 0;
    if (!ReadUnixFile(file, content, err))
      throw EInOutError("Cannot read the registry file " + file + ": " + std::strerror(err),
                        static_cast<int>(ErrnoToWin32(err)));
  }
  TRegKey roots[RootCount];
  TRegParser(file, content, GetACP(), roots).Run();
  for (size_t r = 0; r < RootCount; ++r) {
    store.Roots[r].SubKeys = std::move(roots[r].SubKeys);
    store.Roots[r].Values = std::move(roots[r].Values);
  }
  store.File = file;
  store.Generation = generation;
  store.Signature = signature;
  store.Loaded = true;
  return store;
}

TRegKey* RootOf(TRegStore& store, HKEY root) {
  for (size_t r = 0; r < RootCount; ++r)
    if (RootNames[r].Handle == root) return &store.Roots[r];
  return nullptr;
}

std::vector<AnsiString> PathParts(const AnsiString& path) {
  std::vector<AnsiString> parts;
  for (const AnsiString& p : SplitAnsi(path, '\\'))
    if (!p.empty()) parts.push_back(p);
  return parts;
}

TRegKey* FindKey(TRegStore& store, HKEY root, const AnsiString& path) {
  TRegKey* key = RootOf(store, root);
  for (const AnsiString& part : PathParts(path)) {
    if (!key) return nullptr;
    key = key->FindSub(NameKey(part));
  }
  return key;
}

bool ValidName(const AnsiString& name) { return name.find_first_of(AnsiString("\r\n\0", 3)) == AnsiString::npos; }

// Creates the missing keys of path; *firstCreated is the topmost new key's parent and
// index, so that a failed save can take the new branch away again.
TRegKey* CreatePath(TRegStore& store, HKEY root, const AnsiString& path, TRegKey*& branchParent) {
  branchParent = nullptr;
  TRegKey* key = RootOf(store, root);
  if (!key) return nullptr;
  for (const AnsiString& part : PathParts(path)) {
    if (!ValidName(part)) return nullptr;
    const WideString k = NameKey(part);
    TRegKey* sub = key->FindSub(k);
    if (!sub) {
      if (!branchParent) branchParent = key;
      auto created = std::make_unique<TRegKey>();
      created->Name = part;
      created->Key = k;
      sub = created.get();
      key->SubKeys.push_back(std::move(created));
    }
    key = sub;
  }
  return key;
}

[[noreturn]] void SetDataFailed(const AnsiString& name) {
  throw ERegistryException("Failed to set data for '" + name + "'");
}
[[noreturn]] void GetDataFailed(const AnsiString& name) {
  throw ERegistryException("Failed to get data for '" + name + "'");
}
[[noreturn]] void InvalidType(const AnsiString& name) {
  throw ERegistryException("Invalid data type for '" + name + "'");
}

TRegDataType DataTypeOf(DWORD type) {
  switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

int DataSizeOf(const TRegValue& v) {
  const bool text = v.Type == REG_SZ || v.Type == REG_EXPAND_SZ;
  return static_cast<int>(v.Data.size() + (text ? 1 : 0));
}

}  // namespace

const char* ERegistryException::ClassName() const { return "ERegistryException"; }

TAVO_CLASS_IMPL(TRegistry, TObject)

TRegistry::TRegistry(DWORD access) : Access(access) {}
TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(HKEY value) {
  CloseKey();
  FRootKey = value;
}

AnsiString TRegistry::TargetPath(const AnsiString& key) const {
  const bool absolute = !key.empty() && key[0] == '\\';
  AnsiString joined;
  if (!absolute && FHasCurrentKey) joined = FCurrentPath;
  for (const AnsiString& part : PathParts(key)) {
    if (!joined.empty()) joined += "\\";
    joined += part;
  }
  return joined;
}

bool TRegistry::OpenKey(const AnsiString& key, bool canCreate) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  TRegStore& store = Loaded();
  const AnsiString path = TargetPath(key);
  if (!FindKey(store, FRootKey, path)) {
    if (!canCreate || !(Access & (KEY_CREATE_SUB_KEY | KEY_SET_VALUE))) return false;
    TRegKey* branchParent = nullptr;
    if (!CreatePath(store, FRootKey, path, branchParent)) {
      if (branchParent) branchParent->SubKeys.pop_back();
      return false;
    }
    if (!Save(store)) {
      if (branchParent) branchParent->SubKeys.pop_back();
      return false;
    }
  }
  CloseKey();
  FCurrentPath = path;
  FHasCurrentKey = true;
  FReadOnly = (Access & KEY_SET_VALUE) == 0;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& key) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  TRegStore& store = Loaded();
  const AnsiString path = TargetPath(key);
  if (!FindKey(store, FRootKey, path)) return false;
  CloseKey();
  FCurrentPath = path;
  FHasCurrentKey = true;
  FReadOnly = true;
  return true;
}

void TRegistry::CloseKey() {
  FCurrentPath.clear();
  FHasCurrentKey = false;
  FReadOnly = false;
}

bool TRegistry::CreateKey(const AnsiString& key) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  TRegStore& store = Loaded();
  const AnsiString path = TargetPath(key);
  if (FindKey(store, FRootKey, path)) return true;
  TRegKey* branchParent = nullptr;
  const bool created = CreatePath(store, FRootKey, path, branchParent) != nullptr;
  if (!created || !Save(store)) {
    if (branchParent) branchParent->SubKeys.pop_back();
    return false;
  }
  return true;
}

bool TRegistry::DeleteKey(const AnsiString& key) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  TRegStore& store = Loaded();
  const std::vector<AnsiString> parts = PathParts(TargetPath(key));
  if (parts.empty()) return false;
  AnsiString parentPath;
  for (size_t i = 0; i + 1 < parts.size(); ++i) parentPath += (i ? "\\" : "") + parts[i];
  TRegKey* parent = FindKey(store, FRootKey, parentPath);
  if (!parent) return false;
  const WideString k = NameKey(parts.back());
  for (size_t i = 0; i < parent->SubKeys.size(); ++i) {
    if (parent->SubKeys[i]->Key != k) continue;
    std::unique_ptr<TRegKey> removed = std::move(parent->SubKeys[i]);
    parent->SubKeys.erase(parent->SubKeys.begin() + static_cast<std::ptrdiff_t>(i));
    if (!Save(store)) {
      parent->SubKeys.insert(parent->SubKeys.begin() + static_cast<std::ptrdiff_t>(i), std::move(removed));
      return false;
    }
    return true;
  }
  return false;
}

bool TRegistry::KeyExists(const AnsiString& key) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  return FindKey(Loaded(), FRootKey, TargetPath(key)) != nullptr;
}

bool TRegistry::HasSubKeys() {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  if (!FHasCurrentKey) return false;
  const TRegKey* k = FindKey(Loaded(), FRootKey, FCurrentPath);
  return k && !k->SubKeys.empty();
}

void TRegistry::GetKeyNames(TStrings* strings) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  strings->BeginUpdate();
  strings->Clear();
  if (FHasCurrentKey)
    if (const TRegKey* k = FindKey(Loaded(), FRootKey, FCurrentPath))
      for (const auto& sub : k->SubKeys) strings->Add(sub->Name);
  strings->EndUpdate();
}

void TRegistry::GetValueNames(TStrings* strings) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  strings->BeginUpdate();
  strings->Clear();
  if (FHasCurrentKey)
    if (const TRegKey* k = FindKey(Loaded(), FRootKey, FCurrentPath))
      for (const TRegValue& v : k->Values) strings->Add(v.Name);
  strings->EndUpdate();
}

bool TRegistry::ValueExists(const AnsiString& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

bool TRegistry::GetDataInfo(const AnsiString& name, TRegDataInfo& info) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  info = TRegDataInfo{};
  if (!FHasCurrentKey) return false;
  TRegKey* k = FindKey(Loaded(), FRootKey, FCurrentPath);
  const TRegValue* v = k ? k->FindValue(NameKey(name)) : nullptr;
  if (!v) return false;
  info.RegData = DataTypeOf(v->Type);
  info.DataSize = DataSizeOf(*v);
  return true;
}

TRegDataType TRegistry::GetDataType(const AnsiString& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.RegData : rdUnknown;
}

int TRegistry::GetDataSize(const AnsiString& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.DataSize : -1;
}

bool TRegistry::DeleteValue(const AnsiString& name) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  if (!FHasCurrentKey || FReadOnly) return false;
  TRegStore& store = Loaded();
  TRegKey* k = FindKey(store, FRootKey, FCurrentPath);
  if (!k) return false;
  const int i = k->ValueIndex(NameKey(name));
  if (i < 0) return false;
  const auto at = k->Values.begin() + i;
  TRegValue removed = std::move(*at);
  k->Values.erase(at);
  if (!Save(store)) {
    k->Values.insert(k->Values.begin() + i, std::move(removed));
    return false;
  }
  return true;
}

AnsiString TRegistry::ReadString(const AnsiString& name) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  if (!FHasCurrentKey) return "";
  TRegKey* k = FindKey(Loaded(), FRootKey, FCurrentPath);
  const TRegValue* v = k ? k->FindValue(NameKey(name)) : nullptr;
  if (!v) return "";
  if (v->Type != REG_SZ && v->Type != REG_EXPAND_SZ) InvalidType(name);
  return v->Data;
}

int TRegistry::ReadInteger(const AnsiString& name) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  if (!FHasCurrentKey) GetDataFailed(name);
  TRegKey* k = FindKey(Loaded(), FRootKey, FCurrentPath);
  const TRegValue* v = k ? k->FindValue(NameKey(name)) : nullptr;
  if (!v) GetDataFailed(name);
  if (v->Type != REG_DWORD || v->Data.size() != 4) InvalidType(name);
  int32_t value = 0;
  std::memcpy(&value, v->Data.data(), 4);
  return value;
}

bool TRegistry::ReadBool(const AnsiString& name) { return ReadInteger(name) != 0; }

int TRegistry::ReadBinaryData(const AnsiString& name, void* buffer, int bufSize) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  if (!FHasCurrentKey) return 0;
  TRegKey* k = FindKey(Loaded(), FRootKey, FCurrentPath);
  const TRegValue* v = k ? k->FindValue(NameKey(name)) : nullptr;
  if (!v) return 0;
  const TRegDataType type = DataTypeOf(v->Type);
  if (type != rdBinary && type != rdUnknown) InvalidType(name);
  if (bufSize < 0 || static_cast<size_t>(bufSize) < v->Data.size()) GetDataFailed(name);
  if (!v->Data.empty()) std::memcpy(buffer, v->Data.data(), v->Data.size());
  return static_cast<int>(v->Data.size());
}

void TRegistry::WriteValue(const AnsiString& name, TRegDataType type, AnsiString data) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  if (!FHasCurrentKey || FReadOnly || !ValidName(name)) SetDataFailed(name);
  TRegStore& store = Loaded();
  TRegKey* k = FindKey(store, FRootKey, FCurrentPath);
  if (!k) SetDataFailed(name);
  DWORD regType = REG_SZ;
  switch (type) {
    case rdString: regType = REG_SZ; break;
    case rdExpandString: regType = REG_EXPAND_SZ; break;
    case rdInteger: regType = REG_DWORD; break;
    case rdBinary: regType = REG_BINARY; break;
    case rdUnknown: SetDataFailed(name);
  }
  const WideString key = NameKey(name);
  const int i = k->ValueIndex(key);
  if (i >= 0) {
    TRegValue& v = k->Values[static_cast<size_t>(i)];
    const TRegValue previous = v;
    v.Type = regType;
    v.Data = std::move(data);
    if (!Save(store)) {
      k->Values[static_cast<size_t>(i)] = previous;
      SetDataFailed(name);
    }
    return;
  }
  k->Values.push_back(TRegValue{name, key, regType, std::move(data)});
  if (!Save(store)) {
    k->Values.pop_back();
    SetDataFailed(name);
  }
}

void TRegistry::WriteString(const AnsiString& name, const AnsiString& value) { WriteValue(name, rdString, value); }

void TRegistry::WriteExpandString(const AnsiString& name, const AnsiString& value) {
  WriteValue(name, rdExpandString, value);
}

void TRegistry::WriteInteger(const AnsiString& name, int value) {
  const int32_t v = value;
  WriteValue(name, rdInteger, AnsiString(reinterpret_cast<const char*>(&v), 4));
}

void TRegistry::WriteBool(const AnsiString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteBinaryData(const AnsiString& name, const void* buffer, int bufSize) {
  if (bufSize < 0 || (bufSize > 0 && !buffer)) SetDataFailed(name);
  AnsiString data;
  if (bufSize > 0) data.assign(static_cast<const char*>(buffer), static_cast<size_t>(bufSize));
  WriteValue(name, rdBinary, std::move(data));
}
