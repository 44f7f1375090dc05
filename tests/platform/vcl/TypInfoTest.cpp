#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

TAVO_ENUM(TProbeMode, pmIdle, pmBusy, pmDone)

// A component with one published property of every kind.
class TProbe : public TComponent {
  TAVO_CLASS(TProbe, TComponent)
public:
  explicit TProbe(TComponent* owner) : TComponent(owner), Font(std::make_unique<TFont>()) {}

  int Count = 0;
  char Mark = 'a';
  TProbeMode Mode = pmIdle;
  bool Active = false;
  double Ratio = 0;
  AnsiString Title;
  TAnchors Anchors{akLeft};
  TColor Color = clWindow;
  TCursor Cursor = crDefault;
  std::unique_ptr<TFont> Font;
  TNotifyEvent OnNotify;
  TKeyPressEvent OnPress;

  TFont* GetFont() const { return Font.get(); }
  void SetFont(TFont* value) { Font->Assign(value); }
  int GetTwice() const { return Count * 2; }

  std::vector<std::string> Heard;
  void Notified(TObject*) { Heard.push_back("notified"); }
  void Pressed(TObject*, char& key) { key = static_cast<char>(std::toupper(key)); }
};

class TProbeChild : public TProbe {
  TAVO_CLASS(TProbeChild, TProbe)
public:
  using TProbe::TProbe;
  AnsiString Extra;
  void ChildNotified(TObject*) { Heard.push_back("child"); }
};

}  // namespace

TAVO_PUBLISHED(TProbe, TComponent) {
  P.Int("Count", &TProbe::Count, &TProbe::Count);
  P.Char("Mark", &TProbe::Mark, &TProbe::Mark);
  P.Enum("Mode", &TProbe::Mode, &TProbe::Mode);
  P.Bool("Active", &TProbe::Active, &TProbe::Active);
  P.Float("Ratio", &TProbe::Ratio, &TProbe::Ratio);
  P.Str("Title", &TProbe::Title, &TProbe::Title);
  P.Set("Anchors", &TProbe::Anchors, &TProbe::Anchors);
  P.Int("Color", &TProbe::Color, &TProbe::Color, "TColor");
  P.Int("Cursor", &TProbe::Cursor, &TProbe::Cursor, "TCursor");
  P.Obj("Font", &TProbe::GetFont, &TProbe::SetFont);
  P.Int("Twice", &TProbe::GetTwice);
  P.Event("OnNotify", &TProbe::OnNotify);
  P.Event("OnPress", &TProbe::OnPress);
  P.Method("Notified", &TProbe::Notified);
  P.Method("Pressed", &TProbe::Pressed);
}

TAVO_PUBLISHED(TProbeChild, TProbe) {
  P.Str("Extra", &TProbeChild::Extra, &TProbeChild::Extra);
  P.Method("ChildNotified", &TProbeChild::ChildNotified);
}

namespace {

// ---- Text and variant access, one row per kind --------------------------------------------

struct TPropCase {
  const char* Name;
  const char* Path;
  const char* TextIn;
  const char* TextOut;
  const char* ValueLiteral;  // GetPropValue, preferring strings
};

std::ostream& operator<<(std::ostream& os, const TPropCase& c) { return os << c.Name; }

const TPropCase PropCases[] = {
    {"Integer", "Count", "42", "42", "42"},
    {"NegativeHex", "Count", "$FFFFFFFF", "-1", "-1"},
    {"Char", "Mark", "x", "x", "120"},
    {"Enumeration", "Mode", "pmBusy", "pmBusy", "'pmBusy'"},
    {"EnumerationAnyCase", "Mode", " PMDONE ", "pmDone", "'pmDone'"},
    {"Boolean", "Active", "True", "True", "True"},
    {"Float", "Ratio", "0.125", "0.125", "0.125"},
    {"String", "Title", "基本选项", "基本选项", nullptr},
    {"Set", "Anchors", "[akTop, akRight]", "[akTop,akRight]", "'akTop,akRight'"},
    {"EmptySet", "Anchors", "[]", "[]", "''"},
    {"ColourIdentifier", "Color", "clRed", "clRed", "255"},
    {"SystemColour", "Color", "clBtnFace", "clBtnFace", "-2147483633"},
    {"ColourNumber", "Color", "$00123456", "1193046", "1193046"},
    {"CursorIdentifier", "Cursor", "crHourGlass", "crHourGlass", "-11"},
    {"PathString", "Font.Name", "Tahoma", "Tahoma", "'Tahoma'"},
    {"PathCharset", "Font.Charset", "GB2312_CHARSET", "GB2312_CHARSET", "134"},
    {"PathCharsetNumber", "Font.Charset", "136", "CHINESEBIG5_CHARSET", "136"},
    {"PathSet", "Font.Style", "[fsBold,fsItalic]", "[fsBold,fsItalic]", "'fsBold,fsItalic'"},
};

class TPropTextTest : public testing::TestWithParam<TPropCase> {
protected:
  TProbe Probe{nullptr};
};

TEST_P(TPropTextTest, TextRoundTrip) {
  const TPropCase& c = GetParam();
  SetPropTextByPath(&Probe, c.Path, c.TextIn);
  EXPECT_EQ(GetPropTextByPath(&Probe, c.Path), c.TextOut);
  if (c.ValueLiteral) {
    EXPECT_EQ(VarToLiteral(GetPropValueByPath(&Probe, c.Path)), c.ValueLiteral);
  }
}

TEST_P(TPropTextTest, VariantRoundTrip) {
  const TPropCase& c = GetParam();
  SetPropValueByPath(&Probe, c.Path, Variant(AnsiString(c.TextIn)));
  EXPECT_EQ(GetPropTextByPath(&Probe, c.Path), c.TextOut);
  // What was read can be written back unchanged.
  Variant read = GetPropValueByPath(&Probe, c.Path);
  SetPropValueByPath(&Probe, c.Path, read);
  EXPECT_EQ(GetPropTextByPath(&Probe, c.Path), c.TextOut);
}

INSTANTIATE_TEST_SUITE_P(Kinds, TPropTextTest, testing::ValuesIn(PropCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Errors -------------------------------------------------------------------------------

struct TPropErrorCase {
  const char* Name;
  const char* Path;
  const char* Text;
  const char* Message;
};

std::ostream& operator<<(std::ostream& os, const TPropErrorCase& c) { return os << c.Name; }

const TPropErrorCase PropErrorCases[] = {
    {"UnknownProperty", "Colour", "1", "Property Colour does not exist"},
    {"UnknownPathSegment", "Font.Nmae", "x", "Property Font.Nmae does not exist"},
    {"ReadOnly", "Twice", "4", "Property Twice is read-only"},
    {"UnknownEnumName", "Mode", "pmSleeping", "Invalid property value"},
    {"UnknownSetElement", "Anchors", "[akTop,akMiddle]", "Invalid property element: akMiddle"},
    {"NotANumber", "Count", "12a", "Invalid property value"},
    {"UnknownColour", "Color", "clNope", "Invalid property value"},
    {"LongChar", "Mark", "xy", "Invalid property value"},
    {"ObjectByText", "Font", "x", "Invalid property type: TFont"},
};

class TPropErrorTest : public testing::TestWithParam<TPropErrorCase> {};

TEST_P(TPropErrorTest, RaisesAndKeepsTheValue) {
  const TPropErrorCase& c = GetParam();
  TProbe probe(nullptr);
  probe.Count = 7;
  probe.Mode = pmBusy;
  try {
    SetPropTextByPath(&probe, c.Path, c.Text);
    FAIL() << "no error";
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message, c.Message);
  }
  EXPECT_EQ(probe.Count, 7);
  EXPECT_EQ(probe.Mode, pmBusy);
}

INSTANTIATE_TEST_SUITE_P(Errors, TPropErrorTest, testing::ValuesIn(PropErrorCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(TypInfoTest, AccessThroughTheWrongKindRaises) {
  TProbe probe(nullptr);
  EXPECT_THROW(GetStrProp(&probe, "Count"), EPropertyError);
  EXPECT_THROW(SetOrdProp(&probe, "Title", 1), EPropertyError);
  EXPECT_THROW(SetOrdProp(&probe, "Mode", 3), EPropertyError);  // past the last value
  EXPECT_THROW(GetObjectProp(&probe, "Count"), EPropertyError);
}

// ---- Lookups ------------------------------------------------------------------------------

TEST(TypInfoTest, EnumNamesBothWays) {
  const TTypeInfo* mode = TypeInfo<TProbeMode>();
  EXPECT_EQ(mode->Name, "TProbeMode");
  EXPECT_EQ(GetEnumName(mode, 2), "pmDone");
  EXPECT_EQ(GetEnumName(mode, 3), "");
  EXPECT_EQ(GetEnumValue(mode, "PMBUSY"), 1);
  EXPECT_EQ(GetEnumValue(mode, "pmBusyx"), -1);
  const TTypeInfo* boolean = TypeInfo<bool>();
  EXPECT_EQ(GetEnumName(boolean, 1), "True");
  EXPECT_EQ(GetEnumValue(boolean, "false"), 0);
  EXPECT_EQ(GetEnumName(TypeInfo<TAlign>(), alClient), "alClient");
  EXPECT_EQ(SetToString(TypeInfo<TShiftState>(), TShiftState{ssShift, ssCtrl}.Bits()), "[ssShift,ssCtrl]");
}

TEST(TypInfoTest, LookupIsCaseInsensitiveAndWalksTheClassChain) {
  TProbeChild child(nullptr);
  EXPECT_EQ(GetPropInfo(&child, "count")->Owner, TProbe::StaticClass());
  EXPECT_EQ(GetPropInfo(&child, "EXTRA")->Owner, TProbeChild::StaticClass());
  EXPECT_TRUE(IsPublishedProp(&child, "Name"));
  EXPECT_FALSE(IsPublishedProp(&child, "Owner"));
  TPropList list = GetPropList(&child);
  ASSERT_GE(list.size(), 3u);
  EXPECT_EQ(list.front()->Name, "Name");  // ancestors first
  EXPECT_EQ(list.back()->Name, "Extra");
}

TEST(TypInfoTest, ControlsPublishOnlyWhatTheirVclClassPublishes) {
  // The language files and the stored-layout check rely on these differences.
  TEdit edit(nullptr);
  TButton button(nullptr);
  TMemo memo(nullptr);
  EXPECT_TRUE(IsPublishedProp(&edit, "Text"));
  EXPECT_TRUE(IsPublishedProp(&edit, "ImeName"));
  EXPECT_FALSE(IsPublishedProp(&edit, "Caption"));
  EXPECT_TRUE(IsPublishedProp(&button, "Caption"));
  EXPECT_FALSE(IsPublishedProp(&button, "ImeName"));
  EXPECT_TRUE(IsPublishedProp(&memo, "Lines"));
  EXPECT_FALSE(IsPublishedProp(&memo, "Text"));
  EXPECT_EQ(GetPropInfo(&edit, "BorderStyle")->PropType->Name, "TBorderStyle");
  EXPECT_EQ(GetPropInfo(&memo, "Lines")->PropType->Name, "TStrings");
  EXPECT_EQ(GetPropInfo(&edit, "Color")->PropType->Name, "TColor");
}

// ---- Method references --------------------------------------------------------------------

TEST(MethodTest, BoundHandlersCompareByCodeAndData) {
  TProbe a(nullptr), b(nullptr);
  TNotifyEvent onA(&a, &TProbe::Notified);
  TNotifyEvent onA2(&a, &TProbe::Notified);
  TNotifyEvent onB(&b, &TProbe::Notified);
  EXPECT_EQ(onA, onA2);
  EXPECT_EQ(onA.Method.Code, onB.Method.Code);
  EXPECT_NE(onA, onB);
  EXPECT_EQ(onA.Method.Code, a.MethodAddress("notified"));
  EXPECT_EQ(a.MethodName(onA.Method.Code), "Notified");
  EXPECT_EQ(onA.Method.Data, static_cast<void*>(&a));
}

TEST(MethodTest, SaveRestoreAndCallThroughProperties) {
  TProbeChild child(nullptr);
  TProbe other(nullptr);
  child.OnNotify = TNotifyEvent(&other, &TProbe::Notified);
  TMethod saved = GetMethodProp(&child, "OnNotify");
  SetMethodProp(&child, "OnNotify", TMethod{child.MethodAddress("ChildNotified"), &child});
  child.OnNotify(&child);
  SetMethodProp(&child, "OnNotify", saved);
  child.OnNotify(&child);
  EXPECT_EQ(child.Heard, std::vector<std::string>{"child"});
  EXPECT_EQ(other.Heard, std::vector<std::string>{"notified"});
  EXPECT_EQ(GetPropText(&child, GetPropInfo(&child, "OnNotify")), "Notified");

  SetPropText(&child, GetPropInfo(&child, "OnPress"), "Pressed");
  char key = 'q';
  child.OnPress(&child, key);
  EXPECT_EQ(key, 'Q');
}

TEST(MethodTest, AHandlerWithOtherParametersIsRefused) {
  TProbe probe(nullptr);
  TMethod press{probe.MethodAddress("Pressed"), &probe};
  EXPECT_THROW(SetMethodProp(&probe, "OnNotify", press), EPropertyError);
  EXPECT_FALSE(probe.OnNotify.Assigned());
  TNotifyEvent forged(press);
  EXPECT_THROW(forged(&probe), EInvalidOperation);
  EXPECT_EQ(probe.MethodAddress("NoSuchMethod"), nullptr);
}

TEST(MethodTest, UnassignedEventsDoNothing) {
  TNotifyEvent none;
  EXPECT_FALSE(none);
  none(nullptr);
}

// ---- Class registry -----------------------------------------------------------------------

TEST(ClassRegistryTest, RegisteredClassesAreFoundAndCreated) {
  RegisterClass(TProbeChild::StaticClass());
  EXPECT_EQ(FindClass("tprobechild"), TProbeChild::StaticClass());
  EXPECT_EQ(GetClass("TButton"), TButton::StaticClass());
  EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
  try {
    FindClass("TNoSuchClass");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message, "Class TNoSuchClass not found");
  }
  TComponent owner(nullptr);
  TComponent* c = CreateComponent(FindClass("TProbeChild"), &owner);
  EXPECT_EQ(c->ClassType(), TProbeChild::StaticClass());
  EXPECT_EQ(c->GetOwner(), &owner);
  EXPECT_THROW(CreateComponent(TControl::StaticClass()->ClassParent()->ClassParent(), &owner), EComponentError);
  UnRegisterClass(TProbeChild::StaticClass());
  EXPECT_EQ(GetClass("TProbeChild"), nullptr);
}

}  // namespace
