// The edits with a label exist in the current edition only.
#ifndef TAVO_LEGACY

#include "module/controls/DBLabel.h"
#include "module/controls/F2Button.h"
#include "module/controls/KvEdit.h"
#include "platform/vcl/ExtCtrls.h"
#include "tests/module/inputs/InputsFixture.h"

#include <map>
#include <ostream>

namespace {

class KvEditTest : public InputsTest {
protected:
  void SetUp() override {
    InputsTest::SetUp();
    Edit = Add<TKvEdit>(nullptr, "edEveryHour");
    Label = Edit->GetEditLabel();
    ASSERT_NE(Label, nullptr);
    // A fixed 40 by 13 label, so the placement can be read off directly.
    Label->SetAutoSize(false);
    Label->SetBounds(0, 0, 40, 13);
  }
  TKvEdit* Edit = nullptr;
  TLabel* Label = nullptr;
};

TEST_F(KvEditTest, TheLabelIsAnOwnedEmptyLabelFocusingTheEdit) {
  auto* fresh = Add<TKvEdit>(nullptr, "edFresh");
  TLabel* label = fresh->GetEditLabel();
  EXPECT_EQ(label->GetName(), "EditLabel");
  EXPECT_EQ(label->GetOwner(), fresh);
  EXPECT_EQ(label->GetCaption(), "");
  EXPECT_EQ(label->GetFocusControl(), fresh);
  EXPECT_EQ(label->GetParent(), Form);
  EXPECT_EQ(fresh->GetLabelPosition(), lpLeft);
  EXPECT_EQ(fresh->GetLabelSpacing(), 4);
}

struct PlacementCase {
  const char* Name;
  TLabelPosition Position;
  int Spacing;
  TPoint Expected;
};

std::ostream& operator<<(std::ostream& os, const PlacementCase& c) { return os << c.Name; }

// The edit at (100, 50), 121 by 21; the label 40 by 13.
const PlacementCase PlacementCases[] = {
    {"Left", lpLeft, 4, Point(56, 54)},
    {"Right", lpRight, 4, Point(225, 54)},
    {"Above", lpAbove, 4, Point(100, 33)},
    {"Below", lpBelow, 4, Point(100, 75)},
    {"LeftWithoutSpacing", lpLeft, 0, Point(60, 54)},
    {"AboveFarAway", lpAbove, 20, Point(100, 17)},
};

class KvEditPlacementTest : public KvEditTest, public testing::WithParamInterface<PlacementCase> {};

TEST_P(KvEditPlacementTest, TheLabelSitsBesideTheEdit) {
  const PlacementCase& c = GetParam();
  Edit->SetLabelPosition(c.Position);
  Edit->SetLabelSpacing(c.Spacing);
  Edit->SetBounds(100, 50, 121, 21);
  EXPECT_EQ(Label->GetLeft(), c.Expected.X);
  EXPECT_EQ(Label->GetTop(), c.Expected.Y);
  EXPECT_EQ(Label->GetWidth(), 40);
  EXPECT_EQ(Label->GetHeight(), 13);
  // Moving the edit takes the label along.
  Edit->SetLeft(110);
  EXPECT_EQ(Label->GetLeft(), c.Expected.X + 10);
}

INSTANTIATE_TEST_SUITE_P(Positions, KvEditPlacementTest, testing::ValuesIn(PlacementCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KvEditTest, ANegativeSpacingIsRefused) {
  Edit->SetBounds(100, 50, 121, 21);
  Edit->SetLabelSpacing(-3);
  EXPECT_EQ(Edit->GetLabelSpacing(), 4);
  EXPECT_EQ(Label->GetLeft(), 56);
  SetOrdProp(Edit, "LabelSpacing", 10);
  EXPECT_EQ(Label->GetLeft(), 50);
}

TEST_F(KvEditTest, ACaptionThatResizesTheLabelMovesIt) {
  Label->SetAutoSize(true);
  Edit->GetFont()->SetHeight(-11);
  Label->GetFont()->SetHeight(-11);
  Edit->SetBounds(100, 50, 121, 21);
  // Caption is the label's text, not the edit's.
  SetStrProp(Edit, "Caption", "Every");
  EXPECT_EQ(Label->GetCaption(), "Every");
  EXPECT_EQ(Edit->GetText(), "edEveryHour");
  EXPECT_EQ(GetStrProp(Edit, "Caption"), "Every");
  EXPECT_EQ(Label->GetWidth(), 5 * 6);
  EXPECT_EQ(Label->GetLeft(), 100 - 30 - 4);
  EXPECT_EQ(Label->GetTop(), 50 + (21 - 11) / 2);
  // A change made on the label itself is followed too.
  Label->SetCaption("Hours");
  Label->SetCaption("Every two");
  EXPECT_EQ(Label->GetLeft(), 100 - 9 * 6 - 4);
}

TEST_F(KvEditTest, TheLabelFollowsParentEnabledStateAndVisibility) {
  auto* panel = Add<TPanel>(nullptr, "pnl");
  Edit->SetParent(panel);
  EXPECT_EQ(Label->GetParent(), panel);
  Edit->SetEnabled(false);
  EXPECT_FALSE(Label->GetEnabled());
  Edit->SetEnabled(true);
  EXPECT_TRUE(Label->GetEnabled());
  Edit->SetVisible(false);
  EXPECT_FALSE(Label->GetVisible());
  SetOrdProp(Edit, "Visible", 1);
  EXPECT_TRUE(Label->GetVisible());
  Edit->SetParent(nullptr);
  EXPECT_EQ(Label->GetParent(), nullptr);
}

TEST_F(KvEditTest, AFreedLabelIsForgotten) {
  Label->Free();
  EXPECT_EQ(Edit->GetEditLabel(), nullptr);
  EXPECT_EQ(GetObjectProp(Edit, "EditLabel"), nullptr);
  // Everything that would touch the label goes on without it.
  Edit->SetCaption("x");
  EXPECT_EQ(Edit->GetCaption(), "");
  Edit->SetBounds(10, 10, 50, 21);
  Edit->SetEnabled(false);
  Edit->SetVisible(false);
  Edit->SetParent(nullptr);
  Edit->SetParent(Form);
}

TEST_F(KvEditTest, FreeingTheEditFreesItsLabel) {
  const int before = Form->GetControlCount();
  Edit->Free();
  EXPECT_EQ(Form->GetControlCount(), before - 2);
}

// ---- The data-aware edit --------------------------------------------------------------------

// A data set that knows the display labels of its fields.
class TFakeDataSet : public TComponent, public IFieldDisplayLabels {
  TAVO_CLASS(TFakeDataSet, TComponent)
public:
  explicit TFakeDataSet(TComponent* AOwner) : TComponent(AOwner) {}
  bool FindDisplayLabel(const AnsiString& fieldName, AnsiString& displayLabel) const override {
    auto it = Labels.find(fieldName);
    if (it == Labels.end()) return false;
    displayLabel = it->second;
    return true;
  }
  std::map<AnsiString, AnsiString> Labels{{"FactoryNo", "工厂编号"}};
};

class TFakeDataSource : public TComponent {
  TAVO_CLASS(TFakeDataSource, TComponent)
public:
  explicit TFakeDataSource(TComponent* AOwner) : TComponent(AOwner) {}
  TFakeDataSet* GetDataSet() const { return FDataSet; }
  void SetDataSet(TFakeDataSet* value) { FDataSet = value; }

private:
  TFakeDataSet* FDataSet = nullptr;
};

TAVO_CLASS_IMPL(TFakeDataSet, TComponent)
TAVO_PUBLISHED(TFakeDataSource, TComponent) {
  P.Obj("DataSet", &TFakeDataSource::GetDataSet, &TFakeDataSource::SetDataSet);
}

struct DataFieldCase {
  const char* Name;
  bool Designing;
  bool WithDataSet;
  const char* Field;
  const char* Caption;
};

std::ostream& operator<<(std::ostream& os, const DataFieldCase& c) { return os << c.Name; }

const DataFieldCase DataFieldCases[] = {
    {"DesignTimeKnownField", true, true, "FactoryNo", "工厂编号"},
    {"DesignTimeUnknownField", true, true, "Nothing", "Designed"},
    {"RunTime", false, true, "FactoryNo", "Designed"},
    {"NoDataSet", true, false, "FactoryNo", "Designed"},
};

class KvDBEditDataFieldTest : public InputsTest, public testing::WithParamInterface<DataFieldCase> {};

TEST_P(KvDBEditDataFieldTest, AtDesignTimeTheLabelTakesTheFieldsDisplayLabel) {
  const DataFieldCase& c = GetParam();
  auto* dataSet = new TFakeDataSet(Form);
  auto* dataSource = new TFakeDataSource(Form);
  if (c.WithDataSet) dataSource->SetDataSet(dataSet);
  auto* edit = Add<TKvDBEdit>(nullptr, "ed01");
  edit->SetCaption("Designed");
  edit->SetDataSource(dataSource);
  if (c.Designing) edit->SetDesigning(true);
  SetStrProp(edit, "DataField", c.Field);
  EXPECT_EQ(edit->GetDataField(), c.Field);
  EXPECT_EQ(edit->GetCaption(), c.Caption);
}

INSTANTIATE_TEST_SUITE_P(Fields, KvDBEditDataFieldTest, testing::ValuesIn(DataFieldCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(InputsTest, AFreedDataSourceIsForgotten) {
  auto* dataSource = new TFakeDataSource(Form);
  auto* edit = Add<TKvDBEdit>(nullptr, "ed01");
  SetObjectProp(edit, "DataSource", dataSource);
  EXPECT_EQ(edit->GetDataSource(), dataSource);
  dataSource->Free();
  EXPECT_EQ(edit->GetDataSource(), nullptr);
  edit->SetDesigning(true);
  edit->SetDataField("FactoryNo");
  EXPECT_EQ(edit->GetDataField(), "FactoryNo");
}

// ---- The edit with a lookup button ----------------------------------------------------------

// A form that notes the lookup requests it receives.
class TLookupForm : public TForm {
public:
  explicit TLookupForm(TComponent* AOwner) : TForm(AOwner, CreateNew) {}
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_USER + 10) Requests.push_back(LParamToControl(message.LParam));
    TForm::WndProc(message);
  }
  std::vector<TControl*> Requests;
};

class KvBtnDBEditTest : public InputsTest {
protected:
  void SetUp() override {
    InputsTest::SetUp();
    LookupForm = new TLookupForm(Application);
    LookupForm->SetBounds(0, 0, 400, 300);
    LookupForm->Show();
    Other = new TEdit(LookupForm);
    Other->SetParent(LookupForm);
    Edit = new TKvBtnDBEdit(LookupForm);
    Edit->SetName("ed08");
    Edit->SetParent(LookupForm);
    Edit->SetBounds(100, 50, 121, 21);
    Button = Edit->GetF2Button();
    ASSERT_NE(Button, nullptr);
    Other->SetFocus();
  }
  void TearDown() override {
    LookupForm->Free();
    InputsTest::TearDown();
  }
  TLookupForm* LookupForm = nullptr;
  TEdit* Other = nullptr;
  TKvBtnDBEdit* Edit = nullptr;
  TGSpeedButton* Button = nullptr;
};

TEST_F(KvBtnDBEditTest, TheButtonIsAFlatGlyphEightSquareBesideTheEdit) {
  EXPECT_EQ(Button->GetName(), "F2Button");
  EXPECT_EQ(Button->GetOwner(), Edit);
  EXPECT_EQ(Button->GetParent(), LookupForm);
  EXPECT_TRUE(Button->GetFlat());
  EXPECT_EQ(Button->GetGlyphIndex(), 8);
  EXPECT_EQ(Edit->GetGlyphIndex(), 8);
  EXPECT_EQ(Edit->GetButtonSpacing(), 2);
  EXPECT_EQ(Button->GetBoundsRect(), Bounds(223, 50, 21, 21));
  Edit->SetButtonSpacing(6);
  EXPECT_EQ(Button->GetBoundsRect(), Bounds(227, 50, 21, 21));
  Edit->SetBounds(10, 20, 80, 25);
  EXPECT_EQ(Button->GetBoundsRect(), Bounds(96, 20, 25, 25));
  // The label keeps working beside it.
  Edit->GetEditLabel()->SetAutoSize(false);
  Edit->GetEditLabel()->SetBounds(0, 0, 40, 13);
  Edit->SetBounds(100, 50, 121, 21);
  EXPECT_EQ(Edit->GetEditLabel()->GetBoundsRect(), Bounds(56, 54, 40, 13));
}

TEST_F(KvBtnDBEditTest, PropertiesReachTheButton) {
  SetStrProp(Edit, "ButtonHint", "查询");
  EXPECT_EQ(Button->Hint, "查询");
  EXPECT_EQ(GetStrProp(Edit, "ButtonHint"), "查询");
  SetOrdProp(Edit, "GlyphIndex", 0);
  EXPECT_EQ(Button->GetGlyphIndex(), 0);
  EXPECT_TRUE(Button->GetGlyph()->GetEmpty());
}

TEST_F(KvBtnDBEditTest, TheButtonFollowsParentEnabledStateAndVisibility) {
  auto* panel = new TPanel(LookupForm);
  panel->SetParent(LookupForm);
  Edit->SetParent(panel);
  EXPECT_EQ(Button->GetParent(), panel);
  Edit->SetEnabled(false);
  EXPECT_FALSE(Button->GetEnabled());
  Edit->SetVisible(false);
  EXPECT_FALSE(Button->GetVisible());
  Edit->SetEnabled(true);
  Edit->SetVisible(true);
  EXPECT_TRUE(Button->GetEnabled());
  EXPECT_TRUE(Button->GetVisible());
}

TEST_F(KvBtnDBEditTest, AClickWithoutHandlerFocusesTheEditAndAsksForTheLookup) {
  EXPECT_TRUE(ClickControl(Button));
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(LookupForm->Requests, (std::vector<TControl*>{Edit}));
}

TEST_F(KvBtnDBEditTest, TheFormThatOwnsTheEditGetsTheLookupWhereverItIsShown) {
  // Owned by LookupForm, shown on another form that also listens.
  auto* host = new TLookupForm(Application);
  host->SetBounds(0, 0, 300, 200);
  host->Show();
  Edit->SetParent(host);
  EXPECT_TRUE(ClickControl(Button));
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(LookupForm->Requests, (std::vector<TControl*>{Edit}));
  EXPECT_TRUE(host->Requests.empty());
  Edit->SetParent(LookupForm);
  host->Free();
}

TEST_F(KvBtnDBEditTest, AClickWithAHandlerRaisesOnDialogInstead) {
  Edit->OnDialog = TNotifyEvent(&Log, &TEventLog::Notify);
  EXPECT_TRUE(ClickControl(Button));
  EXPECT_EQ(Log.Take(), (TLog{"click:ed08"}));
  EXPECT_TRUE(LookupForm->Requests.empty());
  EXPECT_TRUE(Other->Focused());
}

// An exit handler that keeps the focus where it is.
class TFocusKeeper : public TObject {
public:
  TWinControl* Keep = nullptr;
  void Exit(TObject*) { Keep->SetFocus(); }
};

TEST_F(KvBtnDBEditTest, NoLookupWhenTheEditDoesNotGetTheFocus) {
  TFocusKeeper keeper;
  keeper.Keep = Other;
  Other->OnExit = TNotifyEvent(&keeper, &TFocusKeeper::Exit);
  EXPECT_TRUE(ClickControl(Button));
  EXPECT_FALSE(Edit->Focused());
  EXPECT_TRUE(LookupForm->Requests.empty());
}

TEST_F(KvBtnDBEditTest, ADisabledEditsButtonDoesNothing) {
  Edit->SetEnabled(false);
  EXPECT_FALSE(ClickControl(Button));
  EXPECT_TRUE(LookupForm->Requests.empty());
}

TEST_F(KvBtnDBEditTest, AFreedButtonIsForgotten) {
  Button->Free();
  EXPECT_EQ(Edit->GetF2Button(), nullptr);
  Edit->SetBounds(0, 0, 50, 21);
  Edit->SetGlyphIndex(9);
  EXPECT_EQ(Edit->GetGlyphIndex(), 0);
  Edit->SetButtonHint("x");
  EXPECT_EQ(Edit->GetButtonHint(), "");
}

}  // namespace

#endif  // TAVO_LEGACY
