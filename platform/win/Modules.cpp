// Libraries loaded at run time: the Windows search order and reference counts over dlopen.
#include "platform/rtl/SysUtils.h"
#include "platform/win/Files.h"
#include "platform/win/Prefix.h"
#include "platform/win/WinInternal.h"
#include "platform/win/Windows.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <map>

namespace {

struct TModuleEntry {
  int RefCount = 0;
  AnsiString WinPath;
};

std::map<void*, TModuleEntry>& Modules() {
  static auto* modules = new std::map<void*, TModuleEntry>;
  return *modules;
}

void* MainProgram() {
  static void* main = ::dlopen(nullptr, RTLD_LAZY);
  return main;
}

std::string ExecutablePath() {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

// The Linux file of the module that holds address ("" when none does).
std::string ModuleFileOf(const void* address) {
  Dl_info info{};
  link_map* map = nullptr;
  if (!::dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map) return "";
  if (!map->l_name || !map->l_name[0]) return ExecutablePath();
  return map->l_name;
}

bool HasFolder(const AnsiString& name) {
  const auto& lead = LeadByteTable(CP_ACP);
  for (size_t i = 0; i < name.size();) {
    const size_t n = CharLength(lead, name, i);
    if (n == 1 && (name[i] == '\\' || name[i] == '/' || name[i] == ':')) return true;
    i += n;
  }
  return false;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

HMODULE Open(const AnsiString& winPath, const std::string& unixPath) {
  void* handle = ::dlopen(unixPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = ::dlerror();
    const bool notALibrary = why && (std::strstr(why, "invalid ELF header") || std::strstr(why, "wrong ELF class") ||
                                     std::strstr(why, "file too short"));
    SetLastError(notALibrary ? ERROR_BAD_EXE_FORMAT : ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  TModuleEntry& entry = Modules()[handle];
  if (entry.RefCount++ == 0) {
    AnsiString resolved;
    entry.WinPath = TryResolveWinPath(winPath, resolved) ? resolved : winPath;
  }
  return static_cast<HMODULE>(handle);
}

HMODULE TryFolder(const AnsiString& folder, const AnsiString& fileName) {
  const AnsiString winPath = IncludeTrailingBackslash(folder) + fileName;
  std::string unixPath;
  if (!TryWinPathToUnix(winPath, unixPath) || !IsRegularFile(unixPath)) return nullptr;
  return Open(ExpandFileName(winPath), unixPath);
}

HMODULE LoadFrom(const AnsiString& libFileName, const void* caller) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  AnsiString name = Trim(libFileName);
  if (name.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  if (!name.empty() && name.back() == '.')
    name.pop_back();
  else if (ExtractFileExt(name).empty())
    name += ".dll";

  if (HasFolder(name)) {
    std::string unixPath;
    if (!TryWinPathToUnix(name, unixPath) || !IsRegularFile(unixPath)) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
    return Open(ExpandFileName(name), unixPath);
  }

  std::vector<AnsiString> folders;
  const std::string callerFile = ModuleFileOf(caller);
  if (!callerFile.empty()) folders.push_back(ExtractFilePath(UnixPathToWin(callerFile)));
  const TPlatformSettings& settings = PlatformSettings();
  if (!settings.HostExe.empty()) folders.push_back(ExtractFilePath(settings.HostExe));
  for (const AnsiString& f : settings.LibraryPath) folders.push_back(f);
  for (const AnsiString& folder : folders) {
    if (folder.empty()) continue;
    if (HMODULE h = TryFolder(folder, name)) return h;
    if (GetLastError() == ERROR_BAD_EXE_FORMAT) return nullptr;
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

}  // namespace

__attribute__((noinline)) HMODULE LoadLibrary(const AnsiString& lpLibFileName) {
  return LoadFrom(lpLibFileName, __builtin_extract_return_addr(__builtin_return_address(0)));
}

BOOL FreeLibrary(HMODULE hLibModule) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  auto it = Modules().find(hLibModule);
  if (!hLibModule || it == Modules().end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (--it->second.RefCount == 0) Modules().erase(it);
  ::dlclose(hLibModule);
  return TRUE;
}

FARPROC GetProcAddress(HMODULE hModule, const char* lpProcName) {
  if (!lpProcName || reinterpret_cast<uintptr_t>(lpProcName) < 0x10000) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  void* handle = hModule ? static_cast<void*>(hModule) : MainProgram();
  ::dlerror();
  void* symbol = ::dlsym(handle, lpProcName);
  link_map* own = nullptr;
  link_map* found = nullptr;
  Dl_info info{};
  // dlsym also searches the library's dependencies; Windows finds only its own exports.
  if (!symbol || ::dlinfo(handle, RTLD_DI_LINKMAP, &own) != 0 ||
      !::dladdr1(symbol, &info, reinterpret_cast<void**>(&found), RTLD_DL_LINKMAP) || found != own) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

AnsiString GetModuleFileName(HMODULE hModule) {
  std::lock_guard<std::recursive_mutex> lock(PrefixMutex());
  if (!hModule || static_cast<void*>(hModule) == MainProgram()) {
    const AnsiString host = GetPrefixDir().empty() ? AnsiString() : PlatformSettings().HostExe;
    return host.empty() ? UnixPathToWin(ExecutablePath()) : host;
  }
  auto it = Modules().find(hModule);
  if (it != Modules().end()) return it->second.WinPath;
  link_map* map = nullptr;
  if (::dlinfo(hModule, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return "";
  return map->l_name[0] ? UnixPathToWin(map->l_name) : UnixPathToWin(ExecutablePath());
}

DWORD GetModuleFileName(HMODULE hModule, char* lpFilename, DWORD nSize) {
  const AnsiString path = GetModuleFileName(hModule);
  if (path.empty()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() >= nSize) {
    std::memcpy(lpFilename, path.data(), nSize - 1);
    lpFilename[nSize - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::memcpy(lpFilename, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

HMODULE GetModuleHandleFromAddress(const void* address) {
  Dl_info info{};
  link_map* map = nullptr;
  if (!address || !::dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map)
    return nullptr;
  if (!map->l_name || !map->l_name[0]) return static_cast<HMODULE>(MainProgram());
  void* handle = ::dlopen(map->l_name, RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) return nullptr;
  ::dlclose(handle);  // only asked for the handle: keep the count as it was
  return static_cast<HMODULE>(handle);
}
