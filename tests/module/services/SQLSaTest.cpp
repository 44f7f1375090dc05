#include "module/services/SQLSa.h"

#include "tests/module/services/LogFixture.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <set>
#include <string>

namespace {

AnsiString EveryByte() {
  AnsiString all;
  for (int b = 255; b >= 0; --b) all += static_cast<char>(b);
  return all;
}

struct TPasswordCase {
  const char* Label;
  AnsiString Plain;
};

std::ostream& operator<<(std::ostream& os, const TPasswordCase& c) { return os << c.Label; }

const TPasswordCase PasswordCases[] = {
    {"Empty", ""},
    {"Short", "sa"},
    {"Blanks", " pass word "},
    {"Chinese", "管理员密码"},
    {"Repeated", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"},
    {"EveryByteValue", EveryByte()},
};

class SQLSaRoundTrip : public testing::TestWithParam<TPasswordCase> {};

TEST_P(SQLSaRoundTrip, DecodeInvertsEncode) {
  const AnsiString& plain = GetParam().Plain;
  const AnsiString stored = EncodeSQLSa(plain);
  EXPECT_FALSE(stored.empty());
  for (char c : stored) EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c))) << stored;
  if (!plain.empty()) {
    EXPECT_EQ(stored.size(), 2 * plain.size());
  }
  EXPECT_EQ(DecodeSQLSa(stored), plain);
  AnsiString lower = stored;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(DecodeSQLSa(lower), plain);
}

INSTANTIATE_TEST_SUITE_P(Passwords, SQLSaRoundTrip, testing::ValuesIn(PasswordCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(SQLSa, EqualCharactersAreStoredDifferentlyByPosition) {
  const AnsiString stored = EncodeSQLSa("aaaaaaaaaaaaaaaa");
  std::set<std::string> pairs;
  for (size_t i = 0; i < stored.size(); i += 2) pairs.insert(stored.substr(i, 2));
  EXPECT_GT(pairs.size(), 8u);
}

TEST(SQLSa, EmptyPasswordIsStoredAsTheMarker) {
  EXPECT_EQ(EncodeSQLSa(""), EncodeSQLSa("PR_Aig_CxTdmeYish_FezCmlzKyjfTpAewlb"));
  EXPECT_EQ(DecodeSQLSa(EncodeSQLSa("")), "");
  EXPECT_EQ(DecodeSQLSa(""), "");
}

TEST(SQLSa, OddTrailingDigitIsIgnored) {
  EXPECT_EQ(DecodeSQLSa(EncodeSQLSa("x") + "7"), "x");
  EXPECT_EQ(DecodeSQLSa(EncodeSQLSa("sa") + "F"), "sa");
  EXPECT_EQ(DecodeSQLSa("A"), "");
}

TEST(SQLSa, NonHexadecimalTextIsReportedAndGivesTheErrorValue) {
  TTempPrefix prefix(InstallationFiles({"C:\\KVT\\Client", ""}));
  TPinnedClock clock(PinnedMoment());
  const AnsiString stored = EncodeSQLSa("sa") + "G1" + EncodeSQLSa("tail");
  EXPECT_EQ(DecodeSQLSa(stored), "KV_Say_Password_Error");
  EXPECT_EQ(AnsiString(SQLSaDecodeError), "KV_Say_Password_Error");

  const std::string report = prefix.ReadFile("drive_c/KVT/Client/Log/Alert_Quillmark_20240305.log");
  const std::string rule = "----------------------------------";
  EXPECT_NE(report.find("] " + rule + " on " + EncodeSQLSa("DecodeSQLSa") + " " + rule + "\r\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("] Exception is EConvertError\r\nMessage 01: 'G1'"), std::string::npos)
      << report;
  EXPECT_NE(report.find("] ErrorMessage Count: 1\r\n"), std::string::npos) << report;
  EXPECT_NE(report.find("] Programer Message: 解析 Sa 时发生错误!\r\n"), std::string::npos) << report;
}

}  // namespace
