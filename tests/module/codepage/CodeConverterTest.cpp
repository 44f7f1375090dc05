// The code-page converter on forms, values and message boxes, under the configurations a
// client may have.
#include "module/services/CodeConverter.h"

#include "module/controls/SelectPnl.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/UIDriver.h"
#include "tests/module/codepage/CodePageFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

// A form streamed from its resource, with a converter among its components.
class TfrmCodePage : public TForm {
  TAVO_CLASS(TfrmCodePage, TForm)
public:
  using TForm::TForm;
  TLabel* lblFactory = nullptr;
  TEdit* edCode = nullptr;
  TComboBox* cboKind = nullptr;
  TComboBox* cboFree = nullptr;
  TListBox* lstWarehouse = nullptr;
  TMemo* memNote = nullptr;
  TListView* lvRows = nullptr;
  TStatusBar* sbStatus = nullptr;
  TCodeConverter* KvConverter = nullptr;
  TMenuItem* miOpen = nullptr;
};

TAVO_PUBLISHED(TfrmCodePage, TForm) {
  P.Field("lblFactory", &TfrmCodePage::lblFactory);
  P.Field("edCode", &TfrmCodePage::edCode);
  P.Field("cboKind", &TfrmCodePage::cboKind);
  P.Field("cboFree", &TfrmCodePage::cboFree);
  P.Field("lstWarehouse", &TfrmCodePage::lstWarehouse);
  P.Field("memNote", &TfrmCodePage::memNote);
  P.Field("lvRows", &TfrmCodePage::lvRows);
  P.Field("sbStatus", &TfrmCodePage::sbStatus);
  P.Field("KvConverter", &TfrmCodePage::KvConverter);
  P.Field("miOpen", &TfrmCodePage::miOpen);
}

namespace {

using namespace codepage;

// Screen fonts are the process's; each test gets them back as they were.
class TScreenFonts {
public:
  TScreenFonts() {
    for (int i = 0; i < 3; ++i) Saved[i].Assign(Font(i));
  }
  ~TScreenFonts() {
    for (int i = 0; i < 3; ++i) Font(i)->Assign(&Saved[i]);
  }
  static TFont* Font(int i) {
    return i == 0 ? Screen->GetIconFont() : i == 1 ? Screen->GetHintFont() : Screen->GetMenuFont();
  }

private:
  TFont Saved[3];
};

struct TFormDeleter {
  void operator()(TForm* form) const { form->Free(); }
};
using TFormPtr = std::unique_ptr<TfrmCodePage, TFormDeleter>;

TFormPtr MakeForm() {
  TFormPtr form(CreateComponent<TfrmCodePage>(Application));
  TListItem* item = form->lvRows->GetItems()->Add();
  item->SetCaption("发货单");
  item->GetSubItems()->Add("数量");
  return form;
}

// ---- Forms under three interfaces -----------------------------------------------------

struct TFormCase {
  const char* Name;
  TInstall Install;
  bool Translator;
  bool TextsInBig5;        // captions, hints, lists, panels, menus, list view
  bool FormCaptionInBig5;  // only a BIG5 system shows a converted title
  int Charset;             // of the controls' and the screen's fonts; -1: left alone
  TComboBoxStyle KindStyle;
  TComboBoxStyle FreeStyle;
  TListBoxStyle ListStyle;
  int FreeIndex;           // the drop-down combo box without a selection
};

std::ostream& operator<<(std::ostream& os, const TFormCase& c) { return os << c.Name; }

const TFormCase FormCases[] = {
    {"Big5InterfaceOnGbSystem", {.UICodePage = "950", .LibraryDir = BinDir()}, true, true, false,
     CHINESEBIG5_CHARSET, csOwnerDrawFixed, csOwnerDrawFixed, lbOwnerDrawFixed, 0},
    {"GbInterfaceOnBig5System", {.ACP = 950, .UICodePage = "936", .LibraryDir = BinDir()}, true, false, true,
     GB2312_CHARSET, csOwnerDrawFixed, csOwnerDrawVariable, lbOwnerDrawFixed, -1},
    {"EnglishInterface", {.ACP = 1252, .LibraryDir = BinDir()}, false, false, false, -1, csDropDownList,
     csDropDown, lbStandard, -1},
};

class ConvertFormTest : public testing::TestWithParam<TFormCase> {
protected:
  TScreenFonts Fonts;
};

TEST_P(ConvertFormTest, ConvertsTheTextsAndFontsTheInterfaceNeeds) {
  const TFormCase& c = GetParam();
  TInstallation install(c.Install);
  TFormPtr form = MakeForm();
  TCodeConverter* converter = form->KvConverter;
  ASSERT_NE(converter, nullptr);
  EXPECT_EQ(converter->Translator != nullptr, c.Translator);
  const int designedCharset = form->lblFactory->GetFont()->GetCharset();
  const int screenCharset = Screen->GetHintFont()->GetCharset();

  converter->ConvertForm(form.get(), "", true);

  // The designed GB text, or its Traditional form in BIG5.
  const auto text = [&c](const WideString& gb, const WideString& big5) { return c.TextsInBig5 ? Big5(big5) : Gb(gb); };
  EXPECT_EQ(form->GetCaption(), c.FormCaptionInBig5 ? Big5(u"基本選項") : Gb(u"基本选项"));
  EXPECT_EQ(form->Hint, text(u"选择工厂", u"選擇工廠"));
  EXPECT_EQ(form->lblFactory->GetCaption(), text(u"工厂", u"工廠"));
  EXPECT_EQ(form->lblFactory->Hint, text(u"选择工厂", u"選擇工廠"));
  EXPECT_EQ(form->edCode->Hint, text(u"发货单", u"發貨單"));
  EXPECT_EQ(form->edCode->GetText(), Gb(u"发货单")) << "an edit's text is never converted";
  EXPECT_EQ(form->cboKind->GetItems()->GetText(), text(u"汇总\r\n明细\r\n", u"匯總\r\n明細\r\n"));
  EXPECT_EQ(form->cboKind->GetItemIndex(), 1);
  EXPECT_EQ(form->cboKind->GetText(), text(u"明细", u"明細"));
  EXPECT_EQ(form->lstWarehouse->GetItems()->GetText(), text(u"仓库一\r\n仓库二\r\n", u"倉庫一\r\n倉庫二\r\n"));
  EXPECT_EQ(form->memNote->GetLines()->GetText(), text(u"备注\r\n订单数量\r\n", u"備注\r\n訂單數量\r\n"));
  EXPECT_EQ(form->sbStatus->GetPanels()->GetItem(0)->GetText(), text(u"就绪", u"就緒"));
  EXPECT_EQ(form->miOpen->GetCaption(), text(u"打开", u"打開"));
  EXPECT_EQ(form->lvRows->Column(0)->GetCaption(), text(u"单号", u"單號"));
  EXPECT_EQ(form->lvRows->GetItems()->GetItem(0)->GetCaption(), text(u"发货单", u"發貨單"));
  EXPECT_EQ(form->lvRows->GetItems()->GetItem(0)->GetSubItems()->Get(0), text(u"数量", u"數量"));

  EXPECT_EQ(form->cboKind->GetStyle(), c.KindStyle);
  EXPECT_EQ(form->cboFree->GetStyle(), c.FreeStyle);
  EXPECT_EQ(form->cboFree->GetItemIndex(), c.FreeIndex);
  EXPECT_EQ(form->lstWarehouse->GetStyle(), c.ListStyle);

  for (TControl* control : std::initializer_list<TControl*>{form->lblFactory, form->edCode, form->cboKind,
                                                            form->lstWarehouse, form->memNote}) {
    const TFont* font = control->GetFont();
    EXPECT_EQ(font->GetCharset(), c.Charset < 0 ? designedCharset : c.Charset) << control->GetName();
    EXPECT_EQ(font->GetName(), c.Charset < 0 ? Gb(u"宋体") : AnsiString("SimSun")) << control->GetName();
  }
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(TScreenFonts::Font(i)->GetCharset(), c.Charset < 0 ? screenCharset : c.Charset) << i;
}

// A selection panel's parts are its own, not the form's: the panel's hints, words and list
// reach them only through the panel.
TEST_P(ConvertFormTest, ConvertsASelectionPanelThroughItsLists) {
  const TFormCase& c = GetParam();
  TInstallation install(c.Install);
  TFormPtr form = MakeForm();
  auto* panel = new TSelectPanel(form.get());
  panel->SetName("sp02");
  panel->SetParent(form.get());
  panel->SetHintWord(Gb(u"区间选择"));
  TStringList words;
  words.Add(Gb(u"起"));
  words.Add(Gb(u"起始"));
  panel->SetBeginWords(&words);
  words.Clear();
  words.Add(Gb(u"至"));
  words.Add(Gb(u"截止"));
  panel->SetFinalWords(&words);
  panel->GetColumns()->Add()->SetCaption(Gb(u"仓库"));
  panel->GetItems()->Add()->SetCaption(Gb(u"仓库一"));
  panel->GetItems()->GetItem(0)->GetSubItems()->Add(Gb(u"总仓"));

  form->KvConverter->ConvertForm(form.get(), "", true);

  const auto text = [&c](const WideString& gb, const WideString& big5) { return c.TextsInBig5 ? Big5(big5) : Gb(gb); };
  EXPECT_EQ(panel->GetHintWord(), text(u"区间选择", u"區間選擇"));
  EXPECT_EQ(panel->chkUserChoice->GetCaption(), text(u"区间选择", u"區間選擇"));
  EXPECT_EQ(panel->GetBeginWords()->GetText(), text(u"起\r\n起始\r\n", u"起\r\n起始\r\n"));
  EXPECT_EQ(panel->GetFinalWords()->GetText(), text(u"至\r\n截止\r\n", u"至\r\n截止\r\n"));
  EXPECT_EQ(panel->lblBegin->GetCaption(), text(u"起", u"起"));
  EXPECT_EQ(panel->lblFinal->GetCaption(), text(u"至", u"至"));
  EXPECT_EQ(panel->GetChildHints()->Get(1), text(u"区间选择-起始信息", u"區間選擇-起始信息"));
  EXPECT_EQ(panel->edBegin->Hint, text(u"区间选择-起始信息", u"區間選擇-起始信息"));
  EXPECT_EQ(panel->btnClear->Hint, text(u"多选-删除己选信息", u"多選-刪除己選信息"));
  EXPECT_EQ(panel->GetColumns()->GetItem(0)->GetCaption(), text(u"仓库", u"倉庫"));
  EXPECT_EQ(panel->GetItems()->GetItem(0)->GetCaption(), text(u"仓库一", u"倉庫一"));
  EXPECT_EQ(panel->GetItems()->GetItem(0)->GetSubItems()->Get(0), text(u"总仓", u"總倉"));
}

INSTANTIATE_TEST_SUITE_P(Converter, ConvertFormTest, testing::ValuesIn(FormCases),
                         [](const auto& info) { return std::string(info.param.Name); });

class ConverterFormTest : public testing::Test {
protected:
  TScreenFonts Fonts;
};

TEST_F(ConverterFormTest, ExcludedComponentsKeepTheNamedProperties) {
  TInstallation install({.UICodePage = "950", .LibraryDir = BinDir()});
  TFormPtr form = MakeForm();
  form->KvConverter->ConvertForm(form.get(), "LBLFACTORY;Hint\r\nmemNote", true);
  EXPECT_EQ(form->lblFactory->GetCaption(), Big5(u"工廠"));
  EXPECT_EQ(form->lblFactory->Hint, Gb(u"选择工厂"));
  EXPECT_FALSE(form->lblFactory->GetParentFont());
  EXPECT_EQ(form->memNote->GetLines()->GetText(), Gb(u"备注\r\n订单数量\r\n"));
  EXPECT_EQ(form->memNote->GetFont()->GetName(), Gb(u"宋体"));
  EXPECT_EQ(form->edCode->Hint, Big5(u"發貨單"));
}

TEST_F(ConverterFormTest, ASortedListKeepsItsLinesAndSelection) {
  TInstallation install({.UICodePage = "950", .LibraryDir = BinDir()});
  TFormPtr form = MakeForm();
  TComboBox* combo = form->cboFree;
  TObject marker;
  combo->GetItems()->Clear();
  combo->GetItems()->AddObject("干", nullptr);
  combo->GetItems()->AddObject("幹", &marker);  // both are 幹 in BIG5
  combo->GetItems()->AddObject("发", nullptr);
  combo->SetSorted(true);
  const int selected = combo->GetItems()->IndexOf("发");
  combo->SetItemIndex(selected);

  form->KvConverter->ConvertForm(form.get(), "", true);

  TStrings* items = combo->GetItems();
  ASSERT_EQ(items->Count(), 3);
  EXPECT_EQ(combo->GetText(), Big5(u"發"));
  EXPECT_EQ(items->Get(combo->GetItemIndex()), Big5(u"發"));
  EXPECT_EQ(items->IndexOfObject(&marker) >= 0 ? items->Get(items->IndexOfObject(&marker)) : "", Big5(u"幹"));
}

TEST_F(ConverterFormTest, AFormCannotBeMadeWithoutTheLibraryItNeeds) {
  TInstallation install({.UICodePage = "950"});
  try {
    TFormPtr form = MakeForm();
    FAIL() << "the form was made";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message.find("Load Library Kvlanguage.dll Error!"), std::string::npos) << e.Message;
  }
}

TEST_F(ConverterFormTest, DataInBig5ConvertsButTheGbFormStaysAsDesigned) {
  TInstallation install({.UICodePage = "936", .DBCodePage = "950", .LibraryDir = BinDir()});
  TFormPtr form = MakeForm();
  TCodeConverter* converter = form->KvConverter;
  EXPECT_EQ(converter->DBConvertMode, 1);
  const int charset = form->lblFactory->GetFont()->GetCharset();
  converter->ConvertForm(form.get(), "", true);
  EXPECT_EQ(form->lblFactory->GetCaption(), Gb(u"工厂"));
  EXPECT_EQ(form->lblFactory->GetFont()->GetCharset(), charset);
  EXPECT_EQ(form->cboKind->GetStyle(), csDropDownList);
  EXPECT_EQ(VarToStr(converter->ConvertForData(Big5(u"訂單"))), Gb(u"订单"));
  EXPECT_EQ(VarToStr(converter->RevertForData(Gb(u"订单"))), Big5(u"訂單"));
}

// ---- Values ---------------------------------------------------------------------------

Variant Nested(const Variant& a, const Variant& b) { return VarArrayOf({a, b}); }

Variant Grid(const Variant& a, const Variant& b, const Variant& c, const Variant& d) {
  Variant grid = VarArrayCreate({1, 2, 0, 1}, varVariant);
  grid.PutElement({1, 0}, a);
  grid.PutElement({1, 1}, b);
  grid.PutElement({2, 0}, c);
  grid.PutElement({2, 1}, d);
  return grid;
}

struct TValueCase {
  const char* Name;
  int Type;
  Variant (*Input)();
  Variant (*Expected)();
};

std::ostream& operator<<(std::ostream& os, const TValueCase& c) { return os << c.Name; }

const TValueCase ValueCases[] = {
    {"GbText", 2, [] { return Variant(Gb(u"订单")); }, [] { return Variant(Big5(u"訂單")); }},
    {"Big5Text", 1, [] { return Variant(Big5(u"訂單")); }, [] { return Variant(Gb(u"订单")); }},
    {"WideTextBecomesNarrow", 2, [] { return Variant(WideString(u"订单")); }, [] { return Variant(Big5(u"訂單")); }},
    {"NumberBecomesText", 2, [] { return Variant(12); }, [] { return Variant(AnsiString("12")); }},
    {"NumberUnderOtherType", 4, [] { return Variant(12); }, [] { return Variant(12); }},
    {"TextUnderOtherType", 4, [] { return Variant(Gb(u"订单")); }, [] { return Variant(Gb(u"订单")); }},
    {"TypeZero", 0, [] { return Variant(Gb(u"订单")); }, [] { return Variant(Gb(u"订单")); }},
    {"Null", 2, [] { return Null(); }, [] { return Null(); }},
    {"Empty", 2, [] { return Unassigned(); }, [] { return Unassigned(); }},
    {"ListWithNestedList", 2,
     [] { return VarArrayOf({Gb(u"工厂"), Nested(Gb(u"仓库"), 3), Null(), 7}); },
     [] { return VarArrayOf({Big5(u"工廠"), Nested(Big5(u"倉庫"), "3"), Null(), "7"}); }},
    {"GridWithNestedListInACell", 2,
     [] { return Grid(Gb(u"单号"), Nested(Gb(u"数量"), Gb(u"备注")), Null(), 5); },
     [] { return Grid(Big5(u"單號"), Nested(Big5(u"數量"), Big5(u"備注")), Null(), "5"); }},
    {"GridBackToGb", 1,
     [] { return Grid(Big5(u"單號"), Nested(Big5(u"數量"), 1), WideString(u"倉庫"), Unassigned()); },
     [] { return Grid(Gb(u"单号"), Nested(Gb(u"数量"), "1"), Gb(u"仓库"), Unassigned()); }},
};

class ConvertValueTest : public testing::TestWithParam<TValueCase> {};

TEST_P(ConvertValueTest, ConvertsACopyElementByElement) {
  const TValueCase& c = GetParam();
  TInstallation install({.UICodePage = "950", .LibraryDir = BinDir()});
  TCodeConverter converter(nullptr);
  const Variant input = c.Input();
  const Variant result = converter.ConvertValue(c.Type, input);
  EXPECT_EQ(VarToLiteral(result), VarToLiteral(c.Expected()));
  EXPECT_EQ(VarToLiteral(input), VarToLiteral(c.Input())) << "the value itself is left alone";
}

INSTANTIATE_TEST_SUITE_P(Converter, ConvertValueTest, testing::ValuesIn(ValueCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ConverterValueTest, WithoutConversionEverythingIsACopy) {
  TInstallation install({.ACP = 1252});
  TCodeConverter converter(nullptr);
  const Variant list = VarArrayOf({Gb(u"订单"), 3});
  EXPECT_EQ(VarToLiteral(converter.ConvertValue(2, list)), VarToLiteral(list));
  EXPECT_EQ(converter.GbToBig5(Gb(u"订单")), Gb(u"订单"));
  EXPECT_EQ(VarToLiteral(converter.ConvertForDisplay(3)), "3");
}

TEST(ConverterValueTest, DisplayAndDataFollowTheirModes) {
  TInstallation install({.UICodePage = "950", .DBCodePage = "936", .LibraryDir = BinDir()});
  TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.UIConvertMode, 2);
  EXPECT_EQ(converter.DBConvertMode, 2);
  EXPECT_EQ(VarToStr(converter.ConvertForDisplay(Gb(u"订单"))), Big5(u"訂單"));
  EXPECT_EQ(VarToStr(converter.ConvertForData(Gb(u"订单"))), Big5(u"訂單"));
  EXPECT_EQ(VarToStr(converter.RevertForDisplay(Big5(u"訂單"))), Gb(u"订单"));
  EXPECT_EQ(VarToStr(converter.RevertForData(Big5(u"訂單"))), Gb(u"订单"));
  EXPECT_EQ(converter.Big5ToGb(""), "");
}

TEST(ConverterValueTest, RevertingSwallowsFailuresConvertingDoesNot) {
  TInstallation install({.UICodePage = "950", .DBCodePage = "936", .LibraryDir = KVLANGUAGE_FAILING_DIR});
  TCodeConverter converter(nullptr);
  const Variant list = VarArrayOf({"abc", Nested("def", 1)});
  EXPECT_EQ(VarToLiteral(converter.RevertForData(list)), VarToLiteral(list));
  EXPECT_EQ(VarToLiteral(converter.RevertForDisplay("abc")), "'abc'");
  EXPECT_THROW(converter.ConvertForData(list), EConvertError);
}

TEST(ConverterValueTest, TheServerConfigurationIsReadOnRequest) {
  TInstallation install({.UICodePage = "936", .ServerSide = true, .ServerUICodePage = "950"});
  TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.UICodePage, "936");
  converter.DesignType = dtServer;
  converter.LoadCodePages();
  EXPECT_EQ(converter.UICodePage, "950");
  EXPECT_EQ(converter.UIConvertMode, 2);
  EXPECT_EQ(GetEnumProp(&converter, "DesignType"), "dtServer");
}

// ---- Fonts and the message box ----------------------------------------------------------

struct TFontCase {
  int Mode;
  int Charset;  // -1: the font is left alone
};

std::ostream& operator<<(std::ostream& os, const TFontCase& c) { return os << "mode " << c.Mode; }

const TFontCase FontCases[] = {{0, GB2312_CHARSET},      {1, GB2312_CHARSET}, {2, CHINESEBIG5_CHARSET},
                               {3, CHINESEBIG5_CHARSET}, {4, GB2312_CHARSET}, {5, -1}};

class FontForModeTest : public testing::TestWithParam<TFontCase> {};

TEST_P(FontForModeTest, GivesTheCharacterSetOfTheMode) {
  const TFontCase& c = GetParam();
  TInstallation install({});
  TCodeConverter converter(nullptr);
  TFont font;
  font.SetName("Tahoma");
  font.SetCharset(ANSI_CHARSET);
  converter.SetFontForMode(c.Mode, &font);
  EXPECT_EQ(font.GetName(), c.Charset < 0 ? "Tahoma" : "SimSun");
  EXPECT_EQ(font.GetCharset(), c.Charset < 0 ? ANSI_CHARSET : c.Charset);
}

INSTANTIATE_TEST_SUITE_P(Converter, FontForModeTest, testing::ValuesIn(FontCases),
                         [](const auto& info) { return "Mode" + std::to_string(info.param.Mode); });

struct TMessageCase {
  const char* Name;
  TInstall Install;
  const char* Padding;
  int Charset;
};

std::ostream& operator<<(std::ostream& os, const TMessageCase& c) { return os << c.Name; }

const TMessageCase MessageCases[] = {
    {"Big5InterfaceOnGbSystem", {.UICodePage = "950", .LibraryDir = BinDir()}, "      ", CHINESEBIG5_CHARSET},
    {"EnglishInterface", {.ACP = 1252}, "", GB2312_CHARSET},
};

class MessageBoxTest : public testing::TestWithParam<TMessageCase> {
protected:
  MessageBoxTest() : Scope(&Driver) {}
  TScriptedDriver Driver;
  TUIDriverScope Scope;
};

TEST_P(MessageBoxTest, ShowsTheTextCaptionedLikeItsForm) {
  const TMessageCase& c = GetParam();
  TInstallation install(c.Install);
  TFormPtr form(CreateComponent<TfrmCodePage>(Application, CreateNew));
  form->SetCaption("TAVO61");
  form->WindowState = wsMinimized;
  TCodeConverter* converter = new TCodeConverter(form.get());
  int charset = -1;
  Driver.AnswerDialog([&charset](const TMessageDialogInfo& info) {
    charset = info.Form->GetFont()->GetCharset();
    return mrYes;
  });
  EXPECT_EQ(converter->ShowMessageBox("Delete?", mtConfirmation, {mbYes, mbNo}), mrYes);
  ASSERT_EQ(Driver.EventsOf(ueMessageDialog).size(), 1u);
  const TUIEvent shown = Driver.EventsOf(ueMessageDialog)[0];
  EXPECT_EQ(shown.Text, std::string("Delete?") + c.Padding);
  EXPECT_EQ(shown.Caption, "TAVO61");
  EXPECT_EQ(charset, c.Charset);
  EXPECT_EQ(form->WindowState, wsNormal);
}

TEST_P(MessageBoxTest, AnEmptyTextShowsNothing) {
  TInstallation install(GetParam().Install);
  TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.ShowMessageBox("", mtError, {mbOK}), 0);
  EXPECT_TRUE(Driver.EventsOf(ueMessageDialog).empty());
}

INSTANTIATE_TEST_SUITE_P(Converter, MessageBoxTest, testing::ValuesIn(MessageCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
