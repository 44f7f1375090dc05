#include "platform/rtl/Classes.h"
#include "platform/win/Prefix.h"
#include "platform/win/Registry.h"
#include "platform/win/TestPrefix.h"
#include "tests/platform/win/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

std::string Join(const TStrings& list) {
  std::string r;
  for (int i = 0; i < list.Count(); ++i) r += (i ? "|" : "") + list[i];
  return r;
}

const char* const StewardReg =
    "REGEDIT4\r\n"
    "\r\n"
    "; the client's configuration\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward]\r\n"
    "\"Path\"=\"C:\\\\KVT\\\\Client\\\\\"\r\n"
    "\"Quoted\"=\"say \\\"hi\\\"\"\r\n"
    "@=\"default text\"\r\n"
    "\"Port\"=dword:0000000a\r\n"
    "\"Enabled\"=dword:00000001\r\n"
    "\"Negative\"=dword:ffffffff\r\n"
    "\"Blob\"=hex:01,02,\\\r\n"
    "  ff\r\n"
    "\"Expand\"=hex(2):25,54,45,4d,50,25,00\r\n"
    "\"中文\"=\"服务器\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward\\Sub1]\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward\\Sub2]\r\n"
    "\"x\"=\"\"\r\n"
    "\n"
    "[HKEY_CLASSES_ROOT\\HelmWorkCenter.Manager\\InprocServer32]\n"
    "@=\"C:\\\\KVT\\\\Host.dll\"\n";

// ---- Reading system.reg ---------------------------------------------------------------

struct TRegRead {
  const char* Name;
  HKEY Root;
  const char* Key;
  const char* Value;
  TRegDataType Type;
  const char* Text;  // for strings
  int Number;        // for integers
};

std::ostream& operator<<(std::ostream& os, const TRegRead& c) { return os << c.Name; }

const TRegRead RegReads[] = {
    {"EscapedBackslashes", HKEY_LOCAL_MACHINE, "Software\\KVT\\Steward", "Path", rdString, "C:\\KVT\\Client\\", 0},
    {"EscapedQuotes", HKEY_LOCAL_MACHINE, "Software\\KVT\\Steward", "Quoted", rdString, "say \"hi\"", 0},
    {"DefaultValue", HKEY_LOCAL_MACHINE, "Software\\KVT\\Steward", "", rdString, "default text", 0},
    {"Dword", HKEY_LOCAL_MACHINE, "Software\\KVT\\Steward", "Port", rdInteger, nullptr, 10},
    {"NegativeDword", HKEY_LOCAL_MACHINE, "Software\\KVT\\Steward", "negative", rdInteger, nullptr, -1},
    {"ExpandString", HKEY_LOCAL_MACHINE, "Software\\KVT\\Steward", "Expand", rdExpandString, "%TEMP%", 0},
    {"GbText", HKEY_LOCAL_MACHINE, "Software\\KVT\\Steward", "中文", rdString, "服务器", 0},
    {"KeysIgnoreCase", HKEY_LOCAL_MACHINE, "SOFTWARE\\kvt\\STEWARD", "PATH", rdString, "C:\\KVT\\Client\\", 0},
    {"EmptyString", HKEY_LOCAL_MACHINE, "Software\\KVT\\Steward\\Sub2", "x", rdString, "", 0},
    {"ClassesRoot", HKEY_CLASSES_ROOT, "HelmWorkCenter.Manager\\InprocServer32", "", rdString, "C:\\KVT\\Host.dll", 0},
};

class RegReadTest : public testing::TestWithParam<TRegRead> {
protected:
  RegReadTest() : Prefix({{"system.reg", StewardReg}}) {}
  TTempPrefix Prefix;
};

TEST_P(RegReadTest, ReadsTheValue) {
  const TRegRead& c = GetParam();
  TRegistry reg(KEY_READ);
  reg.SetRootKey(c.Root);
  ASSERT_TRUE(reg.OpenKeyReadOnly(c.Key));
  ASSERT_TRUE(reg.ValueExists(c.Value));
  EXPECT_EQ(reg.GetDataType(c.Value), c.Type);
  if (c.Text) {
    EXPECT_EQ(reg.ReadString(c.Value), c.Text);
    EXPECT_EQ(reg.GetDataSize(c.Value), static_cast<int>(std::string(c.Text).size() + 1));
  } else {
    EXPECT_EQ(reg.ReadInteger(c.Value), c.Number);
  }
}

INSTANTIATE_TEST_SUITE_P(Values, RegReadTest, testing::ValuesIn(RegReads),
                         [](const testing::TestParamInfo<TRegRead>& i) { return std::string(i.param.Name); });

TEST(RegBinaryTest, HexDataContinuesOverLines) {
  TTempPrefix prefix({{"system.reg", StewardReg}});
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("Software\\KVT\\Steward", false));
  unsigned char buffer[8] = {};
  EXPECT_EQ(reg.GetDataType("Blob"), rdBinary);
  ASSERT_EQ(reg.ReadBinaryData("Blob", buffer, sizeof buffer), 3);
  EXPECT_EQ(buffer[0], 0x01);
  EXPECT_EQ(buffer[1], 0x02);
  EXPECT_EQ(buffer[2], 0xFF);
  EXPECT_THROW(reg.ReadBinaryData("Blob", buffer, 2), ERegistryException);
}

// ---- Malformed files ------------------------------------------------------------------

struct TBadReg {
  const char* Name;
  const char* Content;
  int Line;
};

std::ostream& operator<<(std::ostream& os, const TBadReg& c) { return os << c.Name; }

const TBadReg BadRegs[] = {
    {"NoHeader", "[HKEY_CURRENT_USER\\A]\r\n", 1},
    {"UnknownRoot", "REGEDIT4\r\n\r\n[HKEY_SOMEWHERE\\A]\r\n", 3},
    {"UnclosedKey", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A\r\n", 2},
    {"ValueOutsideAKey", "REGEDIT4\r\n\"a\"=\"b\"\r\n", 2},
    {"UnclosedString", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=\"b\r\n", 3},
    {"UnknownEscape", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=\"b\\n\"\r\n", 3},
    {"BadDword", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"ok\"=dword:1\r\n\"a\"=dword:12345678Z\r\n", 4},
    {"LongDword", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=dword:123456789\r\n", 3},
    {"BadHexByte", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=hex:01,2g\r\n", 3},
    {"NoEquals", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\" \"b\"\r\n", 3},
    {"BareWord", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\r\nname=value\r\n", 4},
    {"TextAfterString", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=\"b\" c\r\n", 3},
    {"EmptyKeyName", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A\\\\B]\r\n", 2},
};

class BadRegTest : public testing::TestWithParam<TBadReg> {};

TEST_P(BadRegTest, NamesTheFileAndLine) {
  const TBadReg& c = GetParam();
  TTempPrefix prefix({{"system.reg", c.Content}});
  TRegistry reg;
  try {
    reg.OpenKey("A", false);
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message.find(prefix.Path("system.reg")), std::string::npos) << e.Message;
    EXPECT_NE(e.Message.find("line " + std::to_string(c.Line) + ":"), std::string::npos) << e.Message;
  }
  // The file is left as it was.
  EXPECT_EQ(prefix.ReadFile("system.reg"), c.Content);
}

INSTANTIATE_TEST_SUITE_P(Files, BadRegTest, testing::ValuesIn(BadRegs),
                         [](const testing::TestParamInfo<TBadReg>& i) { return std::string(i.param.Name); });

// ---- TRegistry ------------------------------------------------------------------------

class RegistryTest : public testing::Test {
protected:
  RegistryTest() : Prefix({{"system.reg", StewardReg}}) { Reg.SetRootKey(HKEY_LOCAL_MACHINE); }
  TTempPrefix Prefix;
  TRegistry Reg;
};

TEST_F(RegistryTest, MissingAndMistypedValues) {
  ASSERT_TRUE(Reg.OpenKeyReadOnly("\\Software\\KVT\\Steward"));
  EXPECT_EQ(Reg.ReadString("Missing"), "");
  EXPECT_FALSE(Reg.ValueExists("Missing"));
  EXPECT_EQ(Reg.GetDataSize("Missing"), -1);
  try {
    Reg.ReadString("Port");
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Invalid data type for 'Port'");
    EXPECT_STREQ(e.ClassName(), "ERegistryException");
  }
  try {
    Reg.ReadInteger("Missing");
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Failed to get data for 'Missing'");
  }
  EXPECT_THROW(Reg.ReadInteger("Path"), ERegistryException);
  EXPECT_TRUE(Reg.ReadBool("Enabled"));
  EXPECT_THROW(Reg.ReadBool("Path"), ERegistryException);
}

TEST_F(RegistryTest, KeysOpenRelativeToTheOpenKey) {
  EXPECT_FALSE(Reg.OpenKey("Software\\KVT\\Nothing", false));
  EXPECT_FALSE(Reg.HasCurrentKey());
  ASSERT_TRUE(Reg.OpenKey("Software\\KVT", false));
  EXPECT_EQ(Reg.GetCurrentPath(), "Software\\KVT");
  EXPECT_TRUE(Reg.KeyExists("steward\\sub1"));
  EXPECT_TRUE(Reg.KeyExists("\\Software\\KVT\\Steward"));
  EXPECT_FALSE(Reg.KeyExists("Steward\\Sub3"));
  ASSERT_TRUE(Reg.OpenKey("Steward", false));
  EXPECT_EQ(Reg.GetCurrentPath(), "Software\\KVT\\Steward");
  EXPECT_EQ(Reg.ReadInteger("Port"), 10);
  Reg.CloseKey();
  EXPECT_EQ(Reg.GetCurrentPath(), "");
  EXPECT_EQ(Reg.ReadString("Path"), "");
  EXPECT_FALSE(Reg.KeyExists("Steward"));
  Reg.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_FALSE(Reg.KeyExists("Software\\KVT"));
}

TEST_F(RegistryTest, ListsKeysAndValuesInFileOrder) {
  ASSERT_TRUE(Reg.OpenKeyReadOnly("Software\\KVT\\Steward"));
  TStringList names;
  Reg.GetKeyNames(&names);
  EXPECT_EQ(Join(names), "Sub1|Sub2");
  Reg.GetValueNames(&names);
  EXPECT_EQ(Join(names), "Path|Quoted||Port|Enabled|Negative|Blob|Expand|中文");
  EXPECT_TRUE(Reg.HasSubKeys());
}

TEST_F(RegistryTest, WritesPersistToTheFile) {
  ASSERT_TRUE(Reg.OpenKey("Software\\KVT\\Steward\\New Key", true));
  Reg.WriteString("Folder", "D:\\Data \"quoted\"");
  Reg.WriteInteger("Count", 255);
  Reg.WriteBool("Flag", false);
  Reg.WriteString("Lines", "one\r\ntwo");
  ASSERT_TRUE(Reg.OpenKey("\\Software\\KVT\\Steward", false));
  Reg.WriteString("port", "now text");
  EXPECT_TRUE(Reg.DeleteValue("Quoted"));
  EXPECT_FALSE(Reg.DeleteValue("Quoted"));

  const std::string file = Prefix.ReadFile("system.reg");
  EXPECT_NE(file.find("[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward\\New Key]\r\n"
                      "\"Folder\"=\"D:\\\\Data \\\"quoted\\\"\"\r\n"
                      "\"Count\"=dword:000000ff\r\n"
                      "\"Flag\"=dword:00000000\r\n"),
            std::string::npos)
      << file;
  EXPECT_EQ(file.find("Quoted"), std::string::npos);

  ReloadPrefix();
  TRegistry again;
  again.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(again.OpenKeyReadOnly("software\\kvt\\steward\\new key"));
  EXPECT_EQ(again.ReadString("folder"), "D:\\Data \"quoted\"");
  EXPECT_EQ(again.ReadInteger("COUNT"), 255);
  EXPECT_FALSE(again.ReadBool("Flag"));
  EXPECT_EQ(again.ReadString("Lines"), "one\r\ntwo");
  ASSERT_TRUE(again.OpenKeyReadOnly("\\Software\\KVT\\Steward"));
  EXPECT_EQ(again.ReadString("Port"), "now text");
  EXPECT_EQ(again.ReadString("中文"), "服务器");
  EXPECT_TRUE(again.KeyExists("Sub1"));
  unsigned char blob[3] = {};
  EXPECT_EQ(again.ReadBinaryData("Blob", blob, 3), 3);
  EXPECT_EQ(blob[2], 0xFF);
  EXPECT_EQ(again.ReadString("Expand"), "%TEMP%");
}

TEST_F(RegistryTest, ReadOnlyKeysRefuseWrites) {
  ASSERT_TRUE(Reg.OpenKeyReadOnly("Software\\KVT\\Steward"));
  try {
    Reg.WriteString("Path", "x");
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Failed to set data for 'Path'");
  }
  EXPECT_FALSE(Reg.DeleteValue("Path"));
  TRegistry reader(KEY_READ);
  reader.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reader.OpenKey("Software\\Created", true));
  ASSERT_TRUE(reader.OpenKey("Software\\KVT\\Steward", false));
  EXPECT_THROW(reader.WriteInteger("Port", 1), ERegistryException);
  EXPECT_EQ(Prefix.ReadFile("system.reg"), StewardReg);
}

TEST_F(RegistryTest, KeysAreCreatedAndDeleted) {
  EXPECT_TRUE(Reg.CreateKey("Software\\A\\B\\C"));
  EXPECT_TRUE(Reg.KeyExists("software\\a\\b\\c"));
  EXPECT_TRUE(Reg.DeleteKey("Software\\A\\B"));
  EXPECT_FALSE(Reg.KeyExists("Software\\A\\B\\C"));
  EXPECT_TRUE(Reg.KeyExists("Software\\A"));
  EXPECT_FALSE(Reg.DeleteKey("Software\\A\\B"));
  ReloadPrefix();
  EXPECT_TRUE(Reg.KeyExists("Software\\A"));
  EXPECT_FALSE(Reg.KeyExists("Software\\A\\B"));
}

TEST_F(RegistryTest, AnotherWriterIsSeen) {
  ASSERT_TRUE(Reg.OpenKeyReadOnly("Software\\KVT\\Steward"));
  EXPECT_EQ(Reg.ReadInteger("Port"), 10);
  Prefix.WriteFile("system.reg",
                   "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward]\r\n\"Port\"=dword:00000014\r\n");
  EXPECT_EQ(Reg.ReadInteger("Port"), 20);
}

TEST_F(RegistryTest, AFailedSaveLosesNothing) {
  ASSERT_TRUE(Reg.OpenKey("Software\\KVT\\Steward", false));
  bool raised = false;
  bool created = true;
  {
    const TFileSizeLimit limit(64);
    try {
      Reg.WriteString("Path", "D:\\Elsewhere\\");
    } catch (const ERegistryException&) {
      raised = true;
    }
    created = Reg.CreateKey("\\Software\\Never");
  }
  EXPECT_TRUE(raised);
  EXPECT_FALSE(created);
  EXPECT_EQ(Prefix.ReadFile("system.reg"), StewardReg);
  EXPECT_EQ(Reg.ReadString("Path"), "C:\\KVT\\Client\\");
  EXPECT_FALSE(Reg.KeyExists("\\Software\\Never"));
}

TEST(RegistryFileTest, AMissingFileIsAnEmptyRegistryCreatedOnWrite) {
  TTempPrefix prefix;
  TRegistry reg;
  EXPECT_FALSE(reg.KeyExists("Software"));
  ASSERT_TRUE(reg.OpenKey("Software\\KVT", true));
  reg.WriteString("", "x");
  EXPECT_EQ(prefix.ReadFile("system.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                                           "[HKEY_CURRENT_USER\\Software\\KVT]\r\n@=\"x\"\r\n");
}

}  // namespace
