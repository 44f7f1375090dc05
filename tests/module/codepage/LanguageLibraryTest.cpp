// The language library's exports, called as any program loading it by name would.
#include "outside/kvlanguage/Kvlanguage.h"
#include "tests/module/codepage/CodePageFixture.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using namespace codepage;

class LanguageLibraryTest : public testing::Test {
protected:
  LanguageLibraryTest() : Install({.LibraryDir = BinDir()}) {
    Library = LoadLibrary("Kvlanguage.dll");
  }
  ~LanguageLibraryTest() override {
    // Orders outlive a test when the library stays mapped; leave none behind.
    if (Proc("SaveOrder")) Call("SaveOrder", Gb(u"发\r\n干"));
    if (Library) FreeLibrary(Library);
  }

  TKvLanguageProc Proc(const char* name) const {
    return Library ? reinterpret_cast<TKvLanguageProc>(GetProcAddress(Library, name)) : nullptr;
  }

  // The export's whole answer, asked for in two steps as the header describes.
  std::string Call(const char* name, const std::string& source) const {
    TKvLanguageProc proc = Proc(name);
    if (!proc) return "<missing>";
    const int needed = proc(source.data(), static_cast<int>(source.size()), nullptr, 0);
    if (needed < 0) return "<error " + std::to_string(needed) + ">";
    std::string result(static_cast<size_t>(needed) + 1, '\x7f');
    const int written = proc(source.data(), static_cast<int>(source.size()), result.data(), needed + 1);
    EXPECT_EQ(written, needed);
    EXPECT_EQ(result[static_cast<size_t>(needed)], '\0');
    result.resize(static_cast<size_t>(needed));
    return result;
  }

  TInstallation Install;
  HMODULE Library = nullptr;
};

TEST_F(LanguageLibraryTest, ExportsTheFiveProcedures) {
  ASSERT_NE(Library, nullptr) << GetLastError();
  for (const char* name : {"GBtoBIG5", "BIG5toGB", "GetBIG5Data", "GetGBData", "SaveOrder"})
    EXPECT_NE(Proc(name), nullptr) << name;
}

// ---- Conversions ----------------------------------------------------------------------

struct TConversionCase {
  const char* Name;
  const char* Export;
  WideString Source;
  UINT SourcePage;
  WideString Expected;
  UINT ExpectedPage;
};

std::ostream& operator<<(std::ostream& os, const TConversionCase& c) { return os << c.Name; }

const TConversionCase ConversionCases[] = {
    {"SimplifiedToTraditional", "GBtoBIG5", u"简体", 936, u"簡體", 950},
    {"OneFormChosenByTheWord", "GBtoBIG5", u"发展", 936, u"發展", 950},
    {"OtherFormChosenByTheWord", "GBtoBIG5", u"头发", 936, u"頭髮", 950},
    {"MixedWithAscii", "GBtoBIG5", u"订单 No.12: 数量", 936, u"訂單 No.12: 數量", 950},
    {"CharacterBig5Lacks", "GBtoBIG5", u"丂一", 936, u"?一", 950},
    {"EmptyText", "GBtoBIG5", u"", 936, u"", 950},
    {"TraditionalToSimplified", "BIG5toGB", u"簡體", 950, u"简体", 936},
    {"BothTraditionalFormsGiveOne", "BIG5toGB", u"發展頭髮", 950, u"发展头发", 936},
    {"ZeroBytesAreCharacters", "BIG5toGB", WideString(u"體\0體", 3), 950, WideString(u"体\0体", 3), 936},
};

class LanguageConversionTest : public LanguageLibraryTest,
                               public testing::WithParamInterface<TConversionCase> {};

TEST_P(LanguageConversionTest, ConvertsBetweenTheCodePages) {
  const TConversionCase& c = GetParam();
  EXPECT_EQ(Call(c.Export, WideToAnsi(c.Source, c.SourcePage)), WideToAnsi(c.Expected, c.ExpectedPage));
}

INSTANTIATE_TEST_SUITE_P(Library, LanguageConversionTest, testing::ValuesIn(ConversionCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(LanguageLibraryTest, BytesThatAreNoCharacterBecomeQuestionMarks) {
  // A lead byte at the end has no second byte.
  EXPECT_EQ(Call("GBtoBIG5", Gb(u"简") + "\x81"), Big5(u"簡") + "?");
  EXPECT_EQ(Call("BIG5toGB", "A\xA4"), "A?");
}

// ---- The calling convention -----------------------------------------------------------

TEST_F(LanguageLibraryTest, WritesOnlyWhenTheResultAndItsZeroFit) {
  TKvLanguageProc proc = Proc("GBtoBIG5");
  ASSERT_NE(proc, nullptr);
  const std::string source = Gb(u"简体");
  const std::string expected = Big5(u"簡體");
  char buffer[16];

  std::fill(std::begin(buffer), std::end(buffer), 'x');
  EXPECT_EQ(proc(source.data(), 4, buffer, 4), 4);  // no room for the zero
  EXPECT_EQ(std::string(buffer, 4), "xxxx");

  EXPECT_EQ(proc(source.data(), 4, buffer, 5), 4);
  EXPECT_EQ(std::string(buffer, 5), expected + '\0');
  EXPECT_EQ(buffer[5], 'x');

  std::fill(std::begin(buffer), std::end(buffer), 'x');
  EXPECT_EQ(proc(source.c_str(), -1, buffer, sizeof buffer), 4);  // up to the zero
  EXPECT_EQ(std::string(buffer), expected);
  EXPECT_EQ(proc(nullptr, 0, buffer, sizeof buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
}

struct TArgumentCase {
  const char* Name;
  bool NullSource;
  int SourceLength;
  bool NullBuffer;
  int BufferSize;
};

std::ostream& operator<<(std::ostream& os, const TArgumentCase& c) { return os << c.Name; }

const TArgumentCase ArgumentCases[] = {
    {"NullSourceWithLength", true, 3, false, 8},
    {"NullSourceUpToZero", true, -1, false, 8},
    {"LengthBelowMinusOne", false, -2, false, 8},
    {"NegativeBufferSize", false, 2, false, -1},
    {"NullBufferWithSize", false, 2, true, 8},
};

class LanguageArgumentTest : public LanguageLibraryTest, public testing::WithParamInterface<TArgumentCase> {};

TEST_P(LanguageArgumentTest, BadArgumentsAreRefusedAndNothingIsWritten) {
  const TArgumentCase& c = GetParam();
  char buffer[8] = "unset";
  for (const char* name : {"GBtoBIG5", "BIG5toGB", "GetBIG5Data", "GetGBData", "SaveOrder"}) {
    TKvLanguageProc proc = Proc(name);
    ASSERT_NE(proc, nullptr) << name;
    EXPECT_EQ(proc(c.NullSource ? nullptr : "ab", c.SourceLength, c.NullBuffer ? nullptr : buffer, c.BufferSize),
              KVL_ERROR_ARGUMENT)
        << name;
    EXPECT_STREQ(buffer, "unset") << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Library, LanguageArgumentTest, testing::ValuesIn(ArgumentCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- The table and the order of forms -------------------------------------------------

TEST_F(LanguageLibraryTest, DataListsTheFormsOfEachCharacter) {
  const std::string forms = Call("GetBIG5Data", Gb(u"发A\t丂"));
  EXPECT_EQ(forms.find("\r\n"), 4u) << "one line per character, two forms on the first";
  EXPECT_EQ(forms.substr(0, 4), Big5(u"發髮"));
  EXPECT_EQ(forms.substr(4), "\r\nA\r\n\r\n?");

  const std::string simplified = Call("GetGBData", Big5(u"乾"));
  EXPECT_EQ(simplified.substr(0, 2), Gb(u"干")) << "the simplified form first";
  EXPECT_NE(simplified.find(Gb(u"乾")), std::string::npos) << "then the characters that stay";
}

TEST_F(LanguageLibraryTest, ASavedOrderChoosesTheForm) {
  EXPECT_EQ(Call("SaveOrder", Gb(u"发 髮發\r\n")), Gb(u"发髮發"));
  EXPECT_EQ(Call("GBtoBIG5", Gb(u"发展")), Big5(u"髮展"));
  EXPECT_EQ(Call("GetBIG5Data", Gb(u"发")), Big5(u"髮發"));

  // A form that is not one of the character's is refused, and the order stays.
  EXPECT_EQ(Call("SaveOrder", Gb(u"发體")), "");
  EXPECT_EQ(Call("GBtoBIG5", Gb(u"发")), Big5(u"髮"));

  EXPECT_EQ(Call("SaveOrder", Gb(u"发")), Gb(u"发"));
  EXPECT_EQ(Call("GBtoBIG5", Gb(u"发展")), Big5(u"發展"));
}

}  // namespace
