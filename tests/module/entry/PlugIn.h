// The plug-in of this edition as a host sees it: copied into a temporary prefix's client
// folder, loaded with LoadLibrary and reached through GetController alone.
#pragma once

#include "module/entry/Tavo61CHost.h"
#include "platform/vcl/Forms.h"
#include "platform/win/TestPrefix.h"
#include "platform/win/Windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#ifdef TAVO_LEGACY
inline constexpr const char* PlugInBuilt = "legacy/Tavo61C.dll";
inline constexpr const char* PlugInInPrefix = "drive_c/KVT/Client/Legacy/Tavo61C.dll";
inline constexpr const char* PlugInPath = "C:\\KVT\\Client\\Legacy\\Tavo61C.dll";
#else
inline constexpr const char* PlugInBuilt = "Tavo61C.dll";
inline constexpr const char* PlugInInPrefix = "drive_c/KVT/Client/Tavo61C.dll";
inline constexpr const char* PlugInPath = "C:\\KVT\\Client\\Tavo61C.dll";
#endif

inline std::string BuiltPlugIn() {
  const char* bin = std::getenv("TAVO_BIN_DIR");
  std::ifstream in(std::string(bin ? bin : "build/bin") + "/" + PlugInBuilt, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The notifications a host receives, with the results as they stood at each.
struct TNotification {
  int32_t Code;
  int32_t ResultCode;
  std::string ResultData;
  bool operator==(const TNotification&) const = default;
};

inline void PrintTo(const TNotification& n, std::ostream* os) {
  *os << "{" << n.Code << ", " << n.ResultCode << ", " << n.ResultData << "}";
}

class THostRecorder {
public:
  void ControllerNotify(int32_t code, TDLLBaseController* sender) {
    Received.push_back({code, sender->ResultCode, VarToLiteral(sender->ResultData)});
    Senders.push_back(sender);
    if (FreeOn == code) {
      FreeOn = 0;
      delete sender;
    }
  }
  std::vector<int32_t> Codes() const {
    std::vector<int32_t> codes;
    for (const TNotification& n : Received) codes.push_back(n.Code);
    return codes;
  }

  std::vector<TNotification> Received;
  std::vector<TDLLBaseController*> Senders;
  // A host that frees the controller from its handler of this code.
  int32_t FreeOn = 0;
};

struct TControllerFree {
  void operator()(TDLLBaseController* c) const { delete c; }
};
using TControllerPtr = std::unique_ptr<TDLLBaseController, TControllerFree>;

// One prefix and one load of the plug-in for the whole program, as a host loads it once:
// another copy of the file would be another library registering the same classes.
class PlugInTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (Library) return;
    const std::string image = BuiltPlugIn();
    ASSERT_FALSE(image.empty()) << "the plug-in " << PlugInBuilt << " has not been built";
    static TTempPrefix prefix({{"platform.ini", "[Platform]\r\nACP=936\r\nHostExe=C:\\KVT\\Client\\Helm.exe\r\n"},
                               {"drive_c/KVT/Client/Helm.exe", ""},
                               {PlugInInPrefix, image}});
    Library = LoadLibrary(PlugInPath);
    ASSERT_NE(Library, nullptr) << "LoadLibrary failed with " << GetLastError();
    Entry = reinterpret_cast<TGetController>(GetProcAddress(Library, GetControllerExport));
    ASSERT_NE(Entry, nullptr);
  }

  void SetUp() override { ASSERT_NE(Entry, nullptr); }

  // A controller with the recorder as its host's notification handler.
  TControllerPtr NewController() {
    TControllerPtr controller(Entry());
    controller->OnNotify = TDLLNotifyEvent(&Host, &THostRecorder::ControllerNotify);
    return controller;
  }

  static Variant HostParams(const char* user = "KVADMIN", const char* company = "KVT01") {
    return VarArrayOf({Variant(user), Variant(company), Variant("KVTDB01"), Variant(4242), Variant("")});
  }

  THostRecorder Host;
  static inline HMODULE Library = nullptr;
  static inline TGetController Entry = nullptr;
};
