// Binding the language library: where it is found, what is missing, what stays loaded.
#include "module/services/CodeConverter.h"
#include "module/services/TranslatorU.h"
#include "tests/module/codepage/CodePageFixture.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <memory>

namespace {

using namespace codepage;

bool IsMapped(const std::string& file) {
  void* handle = ::dlopen(file.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (handle) ::dlclose(handle);
  return handle != nullptr;
}

TEST(TranslatorTest, ConvertsThroughTheLibraryItFinds) {
  TInstallation install({.LibraryDir = BinDir()});
  TTranslator translator;
  ASSERT_NE(translator.Library, nullptr);
  EXPECT_NE(translator.GetBIG5Data, nullptr);
  EXPECT_NE(translator.GetGBData, nullptr);
  EXPECT_NE(translator.SaveOrder, nullptr);
  EXPECT_EQ(translator.GbToBig5(Gb(u"基本选项")), Big5(u"基本選項"));
  EXPECT_EQ(translator.Big5ToGb(Big5(u"基本選項")), Gb(u"基本选项"));
}

TEST(TranslatorTest, AResultLongerThanItsSourceIsReadWhole) {
  TInstallation install({.LibraryDir = BinDir()});
  TTranslator translator;
  const AnsiString source = Gb(u"发发发发发发发发发发发发发发发发发发发发");
  const AnsiString forms = CallLanguageProc(translator.GetBIG5Data, source);
  EXPECT_EQ(forms.size(), 20 * 4 + 19 * 2u);
  EXPECT_EQ(forms.substr(0, 6), Big5(u"發髮") + "\r\n");
}

TEST(TranslatorTest, AMissingLibraryIsReportedByName) {
  TInstallation install({});
  try {
    TTranslator translator;
    FAIL() << "the translator was made without its library";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Load Library Kvlanguage.dll Error!");
  }
}

TEST(TranslatorTest, AMissingProcedureFailsAndLeavesNothingLoaded) {
  TInstallation install({.LibraryDir = KVLANGUAGE_PARTIAL_DIR});
  const std::string file = std::string(KVLANGUAGE_PARTIAL_DIR) + "/Kvlanguage.dll";
  try {
    TTranslator translator;
    FAIL() << "the translator was made without BIG5toGB";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Get Library Procedure Address Error!");
  }
  EXPECT_FALSE(IsMapped(file));
}

TEST(TranslatorTest, TheLibraryIsFreedWithTheTranslator) {
  TInstallation install({.LibraryDir = KVLANGUAGE_FAILING_DIR});
  const std::string file = std::string(KVLANGUAGE_FAILING_DIR) + "/Kvlanguage.dll";
  {
    TTranslator translator;
    EXPECT_TRUE(IsMapped(file));
    // This stand-in refuses every conversion.
    EXPECT_THROW(translator.GbToBig5("abc"), EConvertError);
  }
  EXPECT_FALSE(IsMapped(file));
}

TEST(TranslatorTest, AnUnresolvedProcedureLeavesTheTextAlone) {
  TInstallation install({.LibraryDir = BinDir()});
  TTranslator translator;
  translator.BIG5toGB = nullptr;
  EXPECT_EQ(translator.Big5ToGb(Big5(u"簡體")), Big5(u"簡體"));
}

// ---- The converter's constructor --------------------------------------------------------

struct TBindCase {
  const char* Name;
  TInstall Install;
  bool Translator;          // a translator is made
  const char* Error;        // the constructor's error, or nullptr
};

std::ostream& operator<<(std::ostream& os, const TBindCase& c) { return os << c.Name; }

const TBindCase BindCases[] = {
    {"Big5InterfaceWithoutLibrary", {.UICodePage = "950"}, false, "Load Library Kvlanguage.dll Error!"},
    {"Big5InterfaceWithoutProcedure", {.UICodePage = "950", .LibraryDir = KVLANGUAGE_PARTIAL_DIR}, false,
     "Get Library Procedure Address Error!"},
    {"GbInterfaceOnBig5SystemWithoutLibrary", {.ACP = 950, .UICodePage = "936"}, false,
     "Load Library Kvlanguage.dll Error!"},
    {"Big5DataWithoutLibrary", {.UICodePage = "936", .DBCodePage = "950"}, false,
     "Load Library Kvlanguage.dll Error!"},
    {"NoConversionNeedsNoLibrary", {.UICodePage = "936", .DBCodePage = "936"}, false, nullptr},
    {"EnglishNeedsNoLibrary", {.ACP = 1252}, false, nullptr},
    {"Big5InterfaceWithLibrary", {.UICodePage = "950", .LibraryDir = BinDir()}, true, nullptr},
    {"Big5DataWithLibrary", {.UICodePage = "936", .DBCodePage = "950", .LibraryDir = BinDir()}, true, nullptr},
};

class ConverterBindTest : public testing::TestWithParam<TBindCase> {};

TEST_P(ConverterBindTest, BindsTheLibraryWhenAConversionIsConfigured) {
  const TBindCase& c = GetParam();
  TInstallation install(c.Install);
  std::unique_ptr<TCodeConverter> converter;
  try {
    converter = std::make_unique<TCodeConverter>(nullptr);
  } catch (const Exception& e) {
    ASSERT_NE(c.Error, nullptr) << e.Message;
    EXPECT_EQ(e.Message, c.Error);
    return;
  }
  ASSERT_EQ(c.Error, nullptr) << "no error was raised";
  EXPECT_EQ(converter->Translator != nullptr, c.Translator);
}

INSTANTIATE_TEST_SUITE_P(Converter, ConverterBindTest, testing::ValuesIn(BindCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
