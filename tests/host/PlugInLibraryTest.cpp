// Loading a plug-in library: what the host reports when it cannot.
#include "host/PlugInHost.h"

#include "platform/win/TestPrefix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

std::string BuiltFile(const std::string& relative) {
  const char* bin = std::getenv("TAVO_BIN_DIR");
  std::ifstream in(std::string(bin ? bin : "build/bin") + "/" + relative, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(RunFailureTest, AMissingPlugInIsReportedByName) {
  TTempPrefix prefix({{"platform.ini", "[Platform]\r\nACP=936\r\n"}});
  std::ostringstream out;
  try {
    RunPlugIn(THostRunOptions{}, out);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Cannot load the plug-in C:\\KVT\\Client\\Tavo61C.dll (error 126)");
  }
}

TEST(RunFailureTest, ALibraryWithoutGetControllerIsRefused) {
  // The glyph library is a library, built with the plug-in, that exports no controller.
  const std::string image = BuiltFile("Glyphbank.dll");
  ASSERT_FALSE(image.empty());
  TTempPrefix prefix({{"platform.ini", "[Platform]\r\nACP=936\r\n"}, {"drive_c/KVT/Client/Other.dll", image}});
  THostRunOptions options;
  options.Library = "C:\\KVT\\Client\\Other.dll";
  std::ostringstream out;
  try {
    RunPlugIn(options, out);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "The plug-in C:\\KVT\\Client\\Other.dll does not export GetController");
  }
}

}  // namespace
