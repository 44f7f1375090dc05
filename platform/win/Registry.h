// The registry: a tree of keys and typed values kept in the prefix's system.reg
// (REGEDIT4 text in the ANSI code page), and the VCL's TRegistry over it.
#pragma once

#include "platform/win/Windows.h"

#include <memory>

class TStrings;

using HKEY = uint32_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

constexpr DWORD KEY_QUERY_VALUE = 0x0001;
constexpr DWORD KEY_SET_VALUE = 0x0002;
constexpr DWORD KEY_CREATE_SUB_KEY = 0x0004;
constexpr DWORD KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr DWORD KEY_READ = 0x20019;
constexpr DWORD KEY_WRITE = 0x20006;
constexpr DWORD KEY_ALL_ACCESS = 0xF003F;

TAVO_EXCEPTION(ERegistryException, Exception)

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;  // bytes; strings count their terminating zero
};

// Keys are "\"-separated paths; a leading "\" makes a path absolute (from the root key),
// otherwise it is relative to the open key, as in the VCL. Key and value names match
// case-insensitively; "" is the default value (@ in system.reg).
//
// The registry file is read on first use; a malformed file raises EInOutError naming
// the file and the line. Every change is written back to system.reg at once, through a
// temporary file, so a failed write leaves both the file and the registry as they were
// (and raises ERegistryException).
class TRegistry : public TObject {
  TAVO_CLASS(TRegistry, TObject)
public:
  explicit TRegistry(DWORD access = KEY_ALL_ACCESS);
  ~TRegistry() override;

  HKEY GetRootKey() const { return FRootKey; }
  void SetRootKey(HKEY value);  // closes the open key
  // The open key's path below the root key, "" when none is open.
  const AnsiString& GetCurrentPath() const { return FCurrentPath; }
  bool HasCurrentKey() const { return FHasCurrentKey; }

  // Access asked for by OpenKey (KEY_READ, KEY_WRITE, KEY_ALL_ACCESS ...).
  DWORD Access;

  bool OpenKey(const AnsiString& key, bool canCreate);
  bool OpenKeyReadOnly(const AnsiString& key);
  void CloseKey();
  bool CreateKey(const AnsiString& key);
  bool DeleteKey(const AnsiString& key);  // with everything below it
  bool KeyExists(const AnsiString& key);
  bool HasSubKeys();
  void GetKeyNames(TStrings* strings);
  void GetValueNames(TStrings* strings);

  bool ValueExists(const AnsiString& name);
  bool DeleteValue(const AnsiString& name);
  bool GetDataInfo(const AnsiString& name, TRegDataInfo& info);
  TRegDataType GetDataType(const AnsiString& name);  // rdUnknown when missing
  int GetDataSize(const AnsiString& name);           // -1 when missing

  // A missing value reads as ""; a value of another type raises ERegistryException
  // "Invalid data type for '<name>'".
  AnsiString ReadString(const AnsiString& name);
  // A missing value raises "Failed to get data for '<name>'", one of another type
  // "Invalid data type for '<name>'".
  int ReadInteger(const AnsiString& name);
  bool ReadBool(const AnsiString& name);
  // Copies up to bufSize bytes of a binary value; returns the bytes copied.
  int ReadBinaryData(const AnsiString& name, void* buffer, int bufSize);

  // Need an open key with write access, else "Failed to set data for '<name>'".
  void WriteString(const AnsiString& name, const AnsiString& value);
  void WriteExpandString(const AnsiString& name, const AnsiString& value);
  void WriteInteger(const AnsiString& name, int value);
  void WriteBool(const AnsiString& name, bool value);
  void WriteBinaryData(const AnsiString& name, const void* buffer, int bufSize);

private:
  AnsiString TargetPath(const AnsiString& key) const;
  void WriteValue(const AnsiString& name, TRegDataType type, AnsiString data);

  HKEY FRootKey = HKEY_CURRENT_USER;
  AnsiString FCurrentPath;
  bool FHasCurrentKey = false;
  bool FReadOnly = false;
};
