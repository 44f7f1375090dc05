#include "platform/vcl/Graphics.h"
#include "platform/vcl/TypInfo.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct TIdentCase {
  const char* Name;
  int Value;
  const char* Kind;  // "color", "charset" or "cursor"
  friend std::ostream& operator<<(std::ostream& os, const TIdentCase& c) { return os << c.Name; }
};

const TIdentCase IdentCases[] = {
    {"clBlack", 0x000000, "color"},
    {"clRed", 0x0000FF, "color"},
    {"clNavy", 0x800000, "color"},
    {"clOlive", 0x008080, "color"},
    {"clNone", 0x1FFFFFFF, "color"},
    {"clDefault", 0x20000000, "color"},
    {"clBtnFace", static_cast<int>(0x8000000F), "color"},
    {"clWindowText", static_cast<int>(0x80000008), "color"},
    {"clInfoBk", static_cast<int>(0x80000018), "color"},
    {"clScrollBar", static_cast<int>(0x80000000), "color"},
    {"ANSI_CHARSET", 0, "charset"},
    {"DEFAULT_CHARSET", 1, "charset"},
    {"GB2312_CHARSET", 134, "charset"},
    {"CHINESEBIG5_CHARSET", 136, "charset"},
    {"OEM_CHARSET", 255, "charset"},
    {"crDefault", 0, "cursor"},
    {"crHourGlass", -11, "cursor"},
    {"crHandPoint", -21, "cursor"},
    {"crSizeAll", -22, "cursor"},
};

class IdentTable : public ::testing::TestWithParam<TIdentCase> {};

TEST_P(IdentTable, NameAndValueMapBothWays) {
  const TIdentCase& c = GetParam();
  const std::string kind = c.Kind;
  auto toIdent = kind == "color" ? ColorToIdent : kind == "charset" ? CharsetToIdent : CursorToIdent;
  auto toInt = kind == "color" ? IdentToColor : kind == "charset" ? IdentToCharset : IdentToCursor;
  AnsiString name;
  ASSERT_TRUE(toIdent(c.Value, name));
  EXPECT_EQ(name, c.Name);
  int value = 12345;
  ASSERT_TRUE(toInt(c.Name, value));
  EXPECT_EQ(value, c.Value);
  // Names compare without regard to case.
  AnsiString upper = c.Name;
  for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
  value = 12345;
  ASSERT_TRUE(toInt(upper, value));
  EXPECT_EQ(value, c.Value);
}

INSTANTIATE_TEST_SUITE_P(Graphics, IdentTable, ::testing::ValuesIn(IdentCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(IdentTableTest, UnknownNamesAndValuesAreRefused) {
  int value = 7;
  EXPECT_FALSE(IdentToColor("clRedish", value));
  EXPECT_FALSE(IdentToColor("", value));
  EXPECT_EQ(value, 7);
  AnsiString name;
  EXPECT_FALSE(ColorToIdent(0x123456, name));
  EXPECT_FALSE(CharsetToIdent(3, name));
  EXPECT_FALSE(CursorToIdent(5, name));
  // crSize is an alias of crSizeAll: readable, never written.
  ASSERT_TRUE(IdentToCursor("crSize", value));
  EXPECT_EQ(value, crSizeAll);
}

TEST(IdentTableTest, MappingsAreRegisteredWithTheIntegerTypes) {
  for (const char* type : {"TColor", "TFontCharset", "TCursor"}) {
    const TTypeInfo* info = IntegerTypeInfo(type);
    ASSERT_NE(FindIdentToInt(info), nullptr) << type;
    ASSERT_NE(FindIntToIdent(info), nullptr) << type;
  }
  int value = 0;
  EXPECT_TRUE(FindIdentToInt(IntegerTypeInfo("TColor"))("clHighlight", value));
  EXPECT_EQ(value, clHighlight);
}

struct TSchemeCase {
  const char* Name;
  TColor Color;
  int R, G, B;
  friend std::ostream& operator<<(std::ostream& os, const TSchemeCase& c) { return os << c.Name; }
};

const TSchemeCase SchemeCases[] = {
    {"BtnFace", clBtnFace, 212, 208, 200},
    {"BtnShadow", clBtnShadow, 128, 128, 128},
    {"BtnHighlight", clBtnHighlight, 255, 255, 255},
    {"Window", clWindow, 255, 255, 255},
    {"WindowText", clWindowText, 0, 0, 0},
    {"Highlight", clHighlight, 10, 36, 106},
    {"ActiveCaption", clActiveCaption, 10, 36, 106},
    {"InactiveCaption", clInactiveCaption, 128, 128, 128},
    {"InactiveCaptionText", clInactiveCaptionText, 212, 208, 200},
    {"InfoBk", clInfoBk, 255, 255, 225},
    {"GrayText", clGrayText, 128, 128, 128},
    {"RgbUnchanged", RGB(1, 2, 3), 1, 2, 3},
};

class SystemScheme : public ::testing::TestWithParam<TSchemeCase> {};

TEST_P(SystemScheme, ResolvesToTheClassicScheme) {
  const TSchemeCase& c = GetParam();
  const TColor rgb = ColorToRGB(c.Color);
  EXPECT_EQ(GetRValue(rgb), c.R);
  EXPECT_EQ(GetGValue(rgb), c.G);
  EXPECT_EQ(GetBValue(rgb), c.B);
}

INSTANTIATE_TEST_SUITE_P(Graphics, SystemScheme, ::testing::ValuesIn(SchemeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ColorStringTest, WritesNamesOrHexadecimal) {
  EXPECT_EQ(ColorToString(clRed), "clRed");
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(ColorToString(clSilver), "clSilver");  // not its alias clLtGray
}

TEST(ColorStringTest, ReadsNamesAndNumbers) {
  EXPECT_EQ(StringToColor("clYellow"), clYellow);
  EXPECT_EQ(StringToColor("CLBTNFACE"), clBtnFace);
  EXPECT_EQ(StringToColor("$00FF0000"), clBlue);
  EXPECT_EQ(StringToColor("$8000000F"), clBtnFace);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
  EXPECT_EQ(StringToColor("0x00FF00"), clLime);
  for (const char* bad : {"", "red", "$", "12a", "$1FFFFFFFF", "2147483648"})
    EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
}

// ---- Fonts, brushes, pens ----------------------------------------------------------------

struct TSizeCase {
  int Height;
  int Size;
};

TEST(FontTest, SizeAndHeightAreLinkedAtNinetySixDots) {
  const TSizeCase cases[] = {{-11, 8}, {-12, 9}, {-13, 10}, {-16, 12}, {-15, 11}, {-19, 14}};
  TFont f;
  for (const TSizeCase& c : cases) {
    f.SetHeight(c.Height);
    EXPECT_EQ(f.GetSize(), c.Size) << c.Height;
  }
  f.SetSize(9);
  EXPECT_EQ(f.GetHeight(), -12);
  f.SetSize(10);
  EXPECT_EQ(f.GetHeight(), -13);
  f.SetHeight(16);  // a positive height is a cell height: negative points, as the VCL
  EXPECT_EQ(f.GetSize(), -12);
}

class TChangeCounter : public TObject {
public:
  void Count(TObject* sender) {
    ++Changes;
    Sender = sender;
  }
  int Changes = 0;
  TObject* Sender = nullptr;
};

TEST(FontTest, ReportsRealChangesOnly) {
  TFont f;
  TChangeCounter counter;
  f.OnChange = TNotifyEvent(&counter, &TChangeCounter::Count);
  f.SetColor(clRed);
  f.SetColor(clRed);
  f.SetName("宋体");
  f.SetName("宋体");
  f.SetName("");  // an empty name is ignored
  f.SetStyle({fsBold, fsUnderline});
  f.SetStyle({fsUnderline, fsBold});
  EXPECT_EQ(counter.Changes, 3);
  EXPECT_EQ(counter.Sender, &f);
  EXPECT_EQ(f.GetName(), "宋体");
  EXPECT_TRUE(f.GetStyle().Contains(fsBold));
  EXPECT_FALSE(f.GetStyle().Contains(fsItalic));
}

TEST(FontTest, AssignCopiesEverythingAndRefusesOtherKinds) {
  TFont a;
  a.SetName("Tahoma");
  a.SetCharset(GB2312_CHARSET);
  a.SetColor(clNavy);
  a.SetHeight(-13);
  a.SetStyle({fsItalic});
  a.SetPitch(fpFixed);
  TFont b;
  TChangeCounter counter;
  b.OnChange = TNotifyEvent(&counter, &TChangeCounter::Count);
  b.Assign(&a);
  EXPECT_EQ(counter.Changes, 1);
  EXPECT_EQ(b.GetName(), "Tahoma");
  EXPECT_EQ(b.GetCharset(), GB2312_CHARSET);
  EXPECT_EQ(b.GetColor(), clNavy);
  EXPECT_EQ(b.GetHeight(), -13);
  EXPECT_EQ(b.GetStyle(), TFontStyles({fsItalic}));
  EXPECT_EQ(b.GetPitch(), fpFixed);
  TBrush brush;
  EXPECT_THROW(b.Assign(&brush), EConvertError);
}

TEST(FontTest, PublishedPropertiesTakeIdentifiersAndSets) {
  TFont f;
  SetPropTextByPath(&f, "Color", "clRed");
  SetPropTextByPath(&f, "Charset", "GB2312_CHARSET");
  SetPropTextByPath(&f, "Style", "[fsBold,fsStrikeOut]");
  SetPropTextByPath(&f, "Name", "Tahoma");
  SetPropTextByPath(&f, "Size", "9");
  EXPECT_EQ(f.GetColor(), clRed);
  EXPECT_EQ(f.GetCharset(), 134);
  EXPECT_EQ(f.GetStyle(), TFontStyles({fsBold, fsStrikeOut}));
  EXPECT_EQ(f.GetName(), "Tahoma");
  EXPECT_EQ(f.GetHeight(), -12);
  EXPECT_EQ(GetPropTextByPath(&f, "Color"), "clRed");
  EXPECT_EQ(GetPropTextByPath(&f, "Charset"), "GB2312_CHARSET");
  EXPECT_EQ(GetPropTextByPath(&f, "Pitch"), "fpDefault");
}

TEST(BrushTest, AColourMakesAClearBrushSolid) {
  TBrush b;
  b.SetStyle(bsClear);
  b.SetColor(clRed);
  EXPECT_EQ(b.GetStyle(), bsSolid);
  TPen p;
  p.SetWidth(0);
  EXPECT_EQ(p.GetWidth(), 1);
}

}  // namespace
