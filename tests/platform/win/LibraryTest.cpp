#include "platform/win/Prefix.h"
#include "platform/win/TestPrefix.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>

namespace {

namespace fs = std::filesystem;

using TAnswer = int (*)();
using TLoad = HMODULE (*)(const char*);
using TSelf = HMODULE (*)();

std::string BinDir() {
  const char* env = std::getenv("TAVO_BIN_DIR");
  return env && *env ? std::string(env) : std::string(TAVO_BUILD_BIN_DIR);
}

AnsiString BinWinPath(const char* file) { return UnixPathToWin(BinDir() + "/" + file); }

int CallAnswer(HMODULE h, const char* name) {
  const auto f = reinterpret_cast<TAnswer>(GetProcAddress(h, name));
  return f ? f() : -1;
}

// A prefix holding copies of the probe library where the search routes look.
class LibraryTest : public testing::Test {
protected:
  LibraryTest()
      : Prefix({{"platform.ini", "[Platform]\r\nHostExe=C:\\Host\\Shell.exe\r\nLibraryPath=C:\\Nothing; D:\\Libs\r\n"},
                {"drive_c/Host/Shell.exe", ""},
                {"drive_c/Host/Bad.dll", "this is no library"},
                {"drive_d/Libs/.keep", ""}}) {}

  void CopyProbe(const std::string& relative, const char* file = "WinProbe.dll") {
    fs::create_directories(fs::path(Prefix.Path(relative)).parent_path());
    fs::copy_file(BinDir() + "/" + file, Prefix.Path(relative), fs::copy_options::overwrite_existing);
  }

  TTempPrefix Prefix;
};

// ---- Search routes --------------------------------------------------------------------

struct TRoute {
  const char* Name;
  const char* Copies[2];  // where copies of WinProbe.dll are placed
  const char* Request;    // the name given to LoadLibrary
  const char* Found;      // GetModuleFileName of the result
};

std::ostream& operator<<(std::ostream& os, const TRoute& c) { return os << c.Name; }

const TRoute Routes[] = {
    {"FullPathAnyCase", {"drive_c/KVT/Bin/WinProbe.dll", nullptr}, "c:\\kvt\\BIN\\winprobe.DLL", "c:\\KVT\\Bin\\WinProbe.dll"},
    {"ExtensionAdded", {"drive_c/KVT/Bin/WinProbe.dll", nullptr}, "C:\\KVT\\Bin\\WinProbe", "C:\\KVT\\Bin\\WinProbe.dll"},
    {"RelativeToCurrentDir", {"drive_c/Host/Plugins/WinProbe.dll", nullptr}, "Plugins\\WinProbe.dll", "C:\\Host\\Plugins\\WinProbe.dll"},
    {"HostFolder", {"drive_c/Host/WinProbe.dll", nullptr}, "WinProbe.dll", "C:\\Host\\WinProbe.dll"},
    {"LibraryPath", {"drive_d/Libs/WinProbe.dll", nullptr}, "WINPROBE", "D:\\Libs\\WinProbe.dll"},
    {"HostFolderBeforeLibraryPath", {"drive_d/Libs/WinProbe.dll", "drive_c/Host/WinProbe.dll"}, "winprobe.dll", "C:\\Host\\WinProbe.dll"},
};

class LibraryRouteTest : public LibraryTest, public testing::WithParamInterface<TRoute> {};

TEST_P(LibraryRouteTest, FindsTheLibrary) {
  const TRoute& c = GetParam();
  for (const char* copy : c.Copies)
    if (copy) CopyProbe(copy);
  const HMODULE h = LoadLibrary(c.Request);
  ASSERT_NE(h, nullptr) << GetLastError();
  EXPECT_EQ(CallAnswer(h, "WinProbeAnswer"), 42);
  EXPECT_EQ(GetModuleFileName(h), c.Found);
  const auto self = reinterpret_cast<TSelf>(GetProcAddress(h, "WinProbeSelf"));
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(self(), h);  // the library finds its own handle
  EXPECT_TRUE(FreeLibrary(h));
}

INSTANTIATE_TEST_SUITE_P(Routes, LibraryRouteTest, testing::ValuesIn(Routes),
                         [](const testing::TestParamInfo<TRoute>& i) { return std::string(i.param.Name); });

TEST_F(LibraryTest, TheCallersFolderComesFirst) {
  // The test program's own folder holds no libraries, so only the probe, which lives
  // beside its sibling, can find the sibling by name.
  SetLastError(0);
  EXPECT_EQ(LoadLibrary("WinProbeSibling.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

  const HMODULE probe = LoadLibrary(BinWinPath("WinProbe.dll"));
  ASSERT_NE(probe, nullptr) << GetLastError();
  EXPECT_EQ(GetModuleFileName(probe), BinWinPath("WinProbe.dll"));
  const auto load = reinterpret_cast<TLoad>(GetProcAddress(probe, "WinProbeLoad"));
  ASSERT_NE(load, nullptr);
  const HMODULE sibling = load("WinProbeSibling.dll");
  ASSERT_NE(sibling, nullptr) << GetLastError();
  EXPECT_EQ(CallAnswer(sibling, "WinProbeSiblingAnswer"), 7);
  EXPECT_EQ(GetModuleFileName(sibling), BinWinPath("WinProbeSibling.dll"));
  EXPECT_TRUE(FreeLibrary(sibling));
  EXPECT_TRUE(FreeLibrary(probe));
}

TEST_F(LibraryTest, FailuresSetTheWindowsCodes) {
  SetLastError(0);
  EXPECT_EQ(LoadLibrary("NoSuchLib.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  SetLastError(0);
  EXPECT_EQ(LoadLibrary("C:\\Host\\NoSuch.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  SetLastError(0);
  EXPECT_EQ(LoadLibrary("Q:\\x.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  SetLastError(0);
  EXPECT_EQ(LoadLibrary("Bad.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
  SetLastError(0);
  EXPECT_EQ(LoadLibrary(""), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST_F(LibraryTest, OnlyOwnExportsAreFound) {
  CopyProbe("drive_c/Host/WinProbe.dll");
  const HMODULE h = LoadLibrary("WinProbe.dll");
  ASSERT_NE(h, nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(h, "NoSuchExport"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(h, "malloc"), nullptr);  // a dependency's, not the library's
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_EQ(GetProcAddress(h, "WinProbeSiblingAnswer"), nullptr);
  EXPECT_TRUE(FreeLibrary(h));
}

TEST_F(LibraryTest, LoadsAreCounted) {
  CopyProbe("drive_c/Host/WinProbe.dll");
  const HMODULE first = LoadLibrary("WinProbe.dll");
  const HMODULE second = LoadLibrary("C:\\HOST\\WINPROBE.DLL");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(CallAnswer(second, "WinProbeAnswer"), 42);  // still loaded
  EXPECT_EQ(GetModuleFileName(second), "C:\\Host\\WinProbe.dll");
  EXPECT_TRUE(FreeLibrary(second));
  SetLastError(0);
  EXPECT_FALSE(FreeLibrary(second));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FreeLibrary(nullptr));
}

// ---- The host executable --------------------------------------------------------------

void LocalFunction() {}

TEST_F(LibraryTest, TheMainProgramIsTheHostExecutable) {
  EXPECT_EQ(GetModuleFileName(nullptr), "C:\\Host\\Shell.exe");
  const HMODULE self = GetModuleHandleFromAddress(reinterpret_cast<const void*>(&LocalFunction));
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(GetModuleFileName(self), "C:\\Host\\Shell.exe");
  char small[8];
  SetLastError(0);
  EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), sizeof small);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_STREQ(small, "C:\\Host");
  EXPECT_EQ(GetModuleHandleFromAddress(nullptr), nullptr);
}

TEST(LibraryHostTest, WithoutHostExeTheProgramsOwnPath) {
  TTempPrefix prefix;
  EXPECT_EQ(GetModuleFileName(nullptr), UnixPathToWin(fs::read_symlink("/proc/self/exe").string()));
}

}  // namespace
