// The host's run command drives this edition of the plug-in through the calling order and
// reports every step, notification and result.
#include "host/PlugInHost.h"

#include "platform/win/TestPrefix.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::MatchesRegex;

namespace {

std::string BuiltFile(const std::string& relative) {
  const char* bin = std::getenv("TAVO_BIN_DIR");
  std::ifstream in(std::string(bin ? bin : "build/bin") + "/" + relative, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

#ifdef TAVO_LEGACY
constexpr const char* Built = "legacy/Tavo61C.dll";
constexpr const char* InPrefix = "drive_c/KVT/Client/Legacy/Tavo61C.dll";
constexpr bool Legacy = true;
#else
constexpr const char* Built = "Tavo61C.dll";
constexpr const char* InPrefix = "drive_c/KVT/Client/Tavo61C.dll";
constexpr bool Legacy = false;
#endif

// One installation for the program: every run loads the same file, as one host does.
void Install() {
  static TTempPrefix prefix({{"platform.ini", "[Platform]\r\nACP=936\r\nHostExe=C:\\KVT\\Client\\Helm.exe\r\n"},
                             {InPrefix, BuiltFile(Built)}});
  ASSERT_TRUE(prefix.Exists(InPrefix));
  ASSERT_FALSE(prefix.ReadFile(InPrefix).empty()) << Built << " has not been built";
}

TEST(RunTest, FollowsTheCallingOrder) {
  Install();
  THostRunOptions options;
  if (Legacy) options.Library = LegacyPlugIn;
  options.UserId = "王小明";
  std::ostringstream out;
  EXPECT_EQ(RunPlugIn(options, out), 0);
  EXPECT_THAT(Lines(out.str()),
              ElementsAre(std::string("Plug-in ") + (Legacy ? "C:\\KVT\\Client\\Legacy\\Tavo61C.dll"
                                                           : "C:\\KVT\\Client\\Tavo61C.dll"),
                          "GetController: TDLLRPCtrller",
                          MatchesRegex("InitForm \\[0\\.\\.4: '.+', 'KVT01', 'KVTDB01', [0-9]+, ''\\]"),
                          "  notify 256 (form created)", "  -> 0", "GetVersion: 870401-0.00.00", "GetVisible: 0",
                          reinterpret_cast<const char*>(u8"GetResult: 0 [0..3: '王小明', 'KVT01', 'TAVO61', 'TAVO61']"),
                          "ShowModal", "  notify 272 (form shown)", "  notify 288 (form hidden)", "  -> 2", "Messages",
                          "  notify 304 (form destroyed): ResultCode 0, ResultData Unassigned", "ResultCode: 0",
                          "ResultData: Unassigned", "GetResult: -1 Unassigned", "IsFormFreed: True",
                          "Host calls: none"));
}

// A host that frees the library after each use finds it working the next time.
TEST(RunTest, RunsAgainAfterTheLibraryWasFreed) {
  Install();
  THostRunOptions options;
  if (Legacy) options.Library = LegacyPlugIn;
  for (int use = 0; use < 3; ++use) {
    std::ostringstream out;
    EXPECT_EQ(RunPlugIn(options, out), 0) << out.str();
  }
}

}  // namespace
