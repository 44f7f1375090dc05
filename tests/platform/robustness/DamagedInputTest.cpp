// Outside text in every state of damage: each reader returns or raises one of our
// exceptions and never crashes, hangs or reads past its input. The damaged inputs come
// from fixed seeds; inputs that once broke a reader are kept as named cases.
#include "module/services/LanguageController.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/FormResource.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/Mask.h"
#include "platform/win/Prefix.h"
#include "platform/win/Registry.h"
#include "platform/win/TestPrefix.h"
#include "platform/xml/XMLDoc.h"
#include "tests/platform/robustness/Mutator.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

const std::string Platform936 = "[Platform]\r\nACP=936\r\n";

// ---- Form resources -------------------------------------------------------------------

const std::vector<std::string> FormTokens = {
    "'",      "''",  "#",    "#13",  "#99999999999", "#-1",   "(",    ")",        "<",   ">",
    "[",      "]",   "{",    "}",    "=",            "+",     ".",    "end",      "end\n", "object ",
    "item\n", "\n",  "\r\n", "1e999", "99999999999999999999", "-",  "$", "$FFFFFFFFFFFFFFFFFF", "inherited ",
    "\xB0",   ":",   "  ",   "0.",   "1.5e",         "#$41",  "'\n"};

void ParseForm(const std::string& text) { ParseFormResource(text, "Damaged.dfm"); }

TEST(DamagedFormResource, ParsesOrRaises) {
  TTempPrefix prefix{{"platform.ini", Platform936}};
  for (const char* cls : {"TTestBaseForm", "TTestChildForm"}) {
    const TFormResource* resource = FindFormResource(cls);
    ASSERT_NE(resource, nullptr) << cls;
    ParseForm(resource->Text);  // the good text parses
    SurvivesDamage(resource->Text, 0x5EED0001u, FormTokens, 2500, ParseForm);
  }
}

// Collections, binary data and lists, which the embedded forms do not hold.
const std::string FormWithEveryKind =
    "object F: TF\n"
    "  Items = <\n"
    "    item\n"
    "      Caption = 'a'\n"
    "      Width = 10\n"
    "    end\n"
    "    item\n"
    "    end>\n"
    "  Data = {\n"
    "    0102030405060708\n"
    "    FF}\n"
    "  Lines.Strings = (\n"
    "    'x'#13#10'y'\n"
    "    12\n"
    "    1.5)\n"
    "  Style = [fsBold, fsItalic]\n"
    "  Ratio = 0.25\n"
    "  Big = -2147483648\n"
    "  Hex = $7FFF\n"
    "end\n";

TEST(DamagedFormResource, EveryValueKindParsesOrRaises) {
  TTempPrefix prefix{{"platform.ini", Platform936}};
  ParseForm(FormWithEveryKind);
  SurvivesDamage(FormWithEveryKind, 0x5EED0002u, FormTokens, 2500, ParseForm);
}

// ---- Registry file --------------------------------------------------------------------

const std::string GoodReg =
    "REGEDIT4\r\n"
    "\r\n"
    "; the client's configuration\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward]\r\n"
    "\"Path\"=\"C:\\\\KVT\\\\Client\\\\\"\r\n"
    "\"Quoted\"=\"say \\\"hi\\\"\"\r\n"
    "@=\"default text\"\r\n"
    "\"Port\"=dword:0000000a\r\n"
    "\"Blob\"=hex:01,02,\\\r\n"
    "  ff\r\n"
    "\"Expand\"=hex(2):25,54,45,4d,50,25,00\r\n"
    "\"Multi\"=hex(7):61,00,62,00,00\r\n"
    "\"\xD6\xD0\xCE\xC4\"=\"\xB7\xFE\xCE\xF1\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward\\Sub1]\r\n"
    "\"x\"=\"\"\r\n"
    "[HKEY_CLASSES_ROOT\\HelmWorkCenter.Manager\\InprocServer32]\n"
    "@=\"C:\\\\KVT\\\\Host.dll\"\n";

const std::vector<std::string> RegTokens = {
    "\"",        "\\",         "\\\r\n", "[",      "]",        "=",           "@",       "dword:",
    "hex:",      "hex(2):",    "hex(",   "hex(ffffffffff):", ",", ",,",  "ffffffffffffffffff", "\r\n",
    "\n",        ";",          "-",      "HKEY_",  "\\\\",     "dword:fffffffff", "\xB0", ":",
    "REGEDIT4",  "Windows Registry Editor Version 5.00\r\n", "[HKEY_LOCAL_MACHINE\\", "\"=\"", "hex:zz"};

// Loads the text as system.reg and reads everything below the keys it should hold.
void ReadRegistry(const TTempPrefix& prefix, const std::string& text) {
  prefix.WriteFile("system.reg", text);
  ReloadPrefix();
  TRegistry reg(KEY_READ);
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT}) {
    reg.SetRootKey(root);
    for (const char* key : {"Software\\KVT\\Steward", "Software\\KVT\\Steward\\Sub1", "HelmWorkCenter.Manager\\InprocServer32"}) {
      if (!reg.OpenKeyReadOnly(key)) continue;
      TStringList names;
      reg.GetValueNames(&names);
      reg.GetKeyNames(&names);
      for (int i = 0; i < names.Count(); ++i) {
        const AnsiString name = names[i];
        char buffer[16];
        switch (reg.GetDataType(name)) {
          case rdString:
          case rdExpandString: reg.ReadString(name); break;
          case rdInteger: reg.ReadInteger(name); break;
          case rdBinary: reg.ReadBinaryData(name, buffer, sizeof buffer); break;
          default: reg.GetDataSize(name); break;
        }
      }
      reg.CloseKey();
    }
  }
}

TEST(DamagedRegistryFile, LoadsOrRaises) {
  TTempPrefix prefix{{"platform.ini", Platform936}};
  ReadRegistry(prefix, GoodReg);
  SurvivesDamage(GoodReg, 0x5EED0003u, RegTokens, 1500,
                 [&](const std::string& text) { ReadRegistry(prefix, text); });
}

// ---- INI files ------------------------------------------------------------------------

const std::string GoodIni =
    "; settings\r\n"
    "[CodePage]\r\n"
    "UICodePage=936\r\n"
    "[Server Information]\r\n"
    "ComputerName = 127.0.0.1 \r\n"
    "Port=0x1F\r\n"
    "Hex=$1F\r\n"
    "Flag=1\r\n"
    "Quoted=\"a b\"\r\n"
    "\xC3\xFB\xB3\xC6=\xB7\xFE\xCE\xF1\xC6\xF7\r\n"
    "NoValue\r\n"
    "=NoName\r\n"
    "[Empty]\r\n";

const std::vector<std::string> IniTokens = {
    "[", "]", "=", "\"", "'", ";", "\r\n", "\n", "\r", " ", "\t", "0x", "$", "-", "99999999999999999999",
    "0xFFFFFFFFFFFF", "\xB0", "[]", "==", std::string(1, '\0')};

void ReadIni(const TTempPrefix& prefix, const std::string& text) {
  prefix.WriteFile("drive_c/KVT/Client/StewardC.ini", text);
  TIniFile ini("C:\\KVT\\Client\\StewardC.ini");
  TStringList sections;
  ini.ReadSections(&sections);
  sections.Add("Server Information");
  for (int i = 0; i < sections.Count(); ++i) {
    const AnsiString section = sections[i];
    TStringList keys;
    ini.ReadSection(section, &keys);
    ini.ReadSectionValues(section, &keys);
    keys.Add("Port");
    for (int k = 0; k < keys.Count(); ++k) {
      ini.ReadString(section, keys[k], "d");
      ini.ReadInteger(section, keys[k], -1);
      ini.ReadBool(section, keys[k], false);
      ini.ValueExists(section, keys[k]);
    }
    ini.SectionExists(section);
  }
}

TEST(DamagedIniFile, ReadsWithoutRaising) {
  TTempPrefix prefix{{"platform.ini", Platform936}};
  int failures = 0;
  auto strict = [&](const std::string& text) {
    // Reading raises nothing at all: damage gives neutral results.
    try {
      ReadIni(prefix, text);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\ninput: " << Printable(text);
      ++failures;
    }
  };
  for (size_t n = 0; n <= GoodIni.size() && failures < 5; n += 3) strict(GoodIni.substr(0, n));
  TMutator mutator(0x5EED0004u, IniTokens);
  for (int i = 0; i < 400 && failures < 5; ++i) strict(mutator.Mutate(GoodIni));
}

// ---- Edit masks -----------------------------------------------------------------------

const std::vector<std::string> MaskTokens = {
    "\\", ";", ";0", ";1", ";1;", ";0;*", "!", ">", "<", "<>", "L", "l", "A", "a", "C", "c", "0", "9",
    "#", ":", "/", "_", " ", "\xB0", "\xB0\xA1", ";;", "\\\\", ">\\"};

// Every operation of a parsed mask over text, at every position.
void UseMask(const std::string& mask, const std::string& text) {
  TEditMask m(mask);
  m.BlankEditText();
  const AnsiString edit = m.TextToEditText(text);
  m.EditTextToText(edit);
  m.EditTextToText(text);
  m.NormalizeEditText(text);
  int errorPosition = 0;
  m.Validate(text, errorPosition);
  m.Validate(edit, errorPosition);
  for (int p = -1; p <= m.Length() + 1; ++p) {
    char accepted = 0;
    m.AcceptChar(p, text.empty() ? 'x' : text[static_cast<size_t>(p + 1) % text.size()], accepted);
    m.NextEditable(p);
    m.PrevEditable(p);
  }
  for (int o = 0; o <= static_cast<int>(mask.size()) + 1; ++o) MaskGetCharType(mask, o);
  MaskGetMaskSave(mask);
  MaskGetMaskBlank(mask);
  FormatMaskText(mask, text);
}

const char* const GoodMasks[] = {"!99/99/0000;1;_", "(999)000-0000;0; ", ">LL<ll\\-AAaa;1;*",
                                 "\xC7\xF8\xBA\xC5 000\\\xB0;0", "!>ccc:##;0"};

TEST(DamagedEditMask, MasksParseAndApply) {
  int index = 0;
  for (const char* good : GoodMasks) {
    const std::string text = "12ab" "\xD6\xD0" "-34 x";
    SurvivesDamage(good, 0x5EED0005u + static_cast<uint32_t>(index++), MaskTokens, 800,
                   [&](const std::string& mask) { UseMask(mask, text); });
  }
}

TEST(DamagedEditMask, TextsApplyToGoodMasks) {
  const std::string text = "(010)555-1234\xD6\xD0\xCE\xC4" "ab";
  int index = 0;
  for (const char* good : GoodMasks)
    SurvivesDamage(text, 0x5EED0010u + static_cast<uint32_t>(index++), MaskTokens, 400,
                   [&](const std::string& t) { UseMask(good, t); });
}

// ---- Format ---------------------------------------------------------------------------

const std::string GoodFormat = "%d|%5.3d|%-8x|%s|%.2f|%e|%g|%n|%m|%u|%1:d|%*d|%.*s|%%|%p";

const std::vector<std::string> FormatTokens = {
    "%", "%%", "*", ":", ".", "-", "d", "s", "f", "x", "p", "e", "g", "n", "m", "u",
    "99999", "2147483647", "99999999999999999999", "%99:s", "%-*.*f", "%0:", "\xB0", "%\xB0"};

const std::vector<TVarRec> FormatArgs = {42, int64_t{-9000000000}, "\xD6\xD0\xCE\xC4text", 3.25, 'c', true,
                                         static_cast<const void*>(&FormatArgs), 7, 1e300, 5};

void FormatWith(const std::string& fmt) { Format(fmt, FormatArgs.data(), FormatArgs.size()); }

TEST(DamagedFormat, FormatsOrRaises) {
  SurvivesDamage(GoodFormat, 0x5EED0020u, FormatTokens, 3000, FormatWith);
}

// A width read as a huge number once asked for gigabytes of padding.
TEST(DamagedFormat, HugeWidthRaises) {
  for (const char* fmt : {"%2147483647d", "%99999999999999999999s", "%1048577x", "%-2147483647.2f", "%0:2147483647s"})
    EXPECT_THROW(FormatWith(fmt), EConvertError) << fmt;
  EXPECT_EQ(Format("%1048576d", {1}).size(), 1048576u);
}

// ---- XML documents and language files -------------------------------------------------

const std::string GoodXml =
    "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n"
    "<R a=\"1\" b='&amp;&lt;&#x4E2D;&#20013;'>\r\n"
    "  <!-- note -->\r\n"
    "  <sExeVer Msg=\"\xB0\xE6\xB1\xBE\"/>\r\n"
    "  <x:y xmlns:x=\"urn:x\"><![CDATA[<raw>]]>text</x:y>\r\n"
    "  <?pi data?>\r\n"
    "</R>\r\n";

const std::vector<std::string> XmlTokens = {
    "<", ">", "/>", "</", "&", ";", "&#", "&#x", "&#99999999999;", "&#x110000;", "&#0;", "&amp;", "&bogus;",
    "\"", "'", "=", "<!--", "-->", "<![CDATA[", "]]>", "<?", "?>", "<!DOCTYPE R [", "]>",
    "<!ENTITY e \"&e;\">", "&e;", "encoding=\"UTF-8\"", "encoding=\"BIG5\"", "encoding=\"nonesuch\"",
    "xmlns:x=\"\"", "\xB0", "\xFF\xFE", "\xEF\xBB\xBF", std::string(1, '\0')};

void LoadAndWalk(const std::string& text) {
  IXMLDOMDocument doc = CoDOMDocument::Create();
  if (!doc.loadXML(AnsiString(text))) {
    doc.parseError();
    return;
  }
  doc.xml();
  doc.selectNodes("//*");
  for (IXMLDOMNode n = doc.firstChild(); n; n = n.nextSibling()) {
    n.nodeName();
    n.text();
  }
}

TEST(DamagedXml, LoadsOrReportsTheError) {
  TTempPrefix prefix{{"platform.ini", Platform936}};
  LoadAndWalk(GoodXml);
  SurvivesDamage(GoodXml, 0x5EED0030u, XmlTokens, 2500, LoadAndWalk);
}

// A client installation whose language folder holds the damaged file.
std::map<std::string, std::string> Installation() {
  return {
      {"platform.ini", Platform936},
      {"system.reg",
       "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward]\r\n"
       "\"ClientPath\"=\"C:\\\\KVT\\\\Client\\\\\"\r\n\"ServerPath\"=\"C:\\\\KVT\\\\Server\\\\\"\r\n"
       "\"ProfileType\"=\"0\"\r\n"},
      {"drive_c/KVT/Client/StewardC.ini", "[CodePage]\r\nUICodePage=936\r\n"},
      {"drive_c/KVT/Client/MultiLanguage/CHS/TfrmBaseGene.Lng", GoodXml},
  };
}

TEST(DamagedLanguageFile, LookupFallsBackWithoutRaising) {
  TTempPrefix prefix(Installation());
  ASSERT_EQ(LookupMessage(dtClient, "TfrmBaseGene", "sExeVer", "d"), "\xB0\xE6\xB1\xBE");
  int failures = 0;
  TMutator mutator(0x5EED0040u, XmlTokens);
  for (int i = 0; i < 400 && failures < 5; ++i) {
    const std::string text = mutator.Mutate(GoodXml);
    prefix.WriteFile("drive_c/KVT/Client/MultiLanguage/CHS/TfrmBaseGene.Lng", text);
    try {
      LookupMessage(dtClient, "TfrmBaseGene", "sExeVer", "d");
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\ninput: " << Printable(text);
      ++failures;
    }
  }
}

}  // namespace
