#include "module/controls/DBLabel.h"

#include "LookupFixture.h"
#include "platform/vcl/TypInfo.h"

#include <map>
#include <ostream>
#include <string>

// A data-aware edit as far as the label needs one: a data source whose data set knows the
// display labels of its fields.
class TTestDataSet : public TComponent, public IFieldDisplayLabels {
  TAVO_CLASS(TTestDataSet, TComponent)
public:
  explicit TTestDataSet(TComponent* AOwner) : TComponent(AOwner) {}
  std::map<AnsiString, AnsiString> Labels;
  bool FindDisplayLabel(const AnsiString& fieldName, AnsiString& displayLabel) const override {
    auto it = Labels.find(fieldName);
    if (it == Labels.end()) return false;
    displayLabel = it->second;
    return true;
  }
};

class TTestDataSource : public TComponent {
  TAVO_CLASS(TTestDataSource, TComponent)
public:
  explicit TTestDataSource(TComponent* AOwner) : TComponent(AOwner) {}
  TTestDataSet* DataSet = nullptr;
};

class TTestDBEdit : public TEdit {
  TAVO_CLASS(TTestDBEdit, TEdit)
public:
  explicit TTestDBEdit(TComponent* AOwner) : TEdit(AOwner) {}
  TTestDataSource* DataSource = nullptr;
  AnsiString DataField;
};

TAVO_CLASS_IMPL(TTestDataSet, TComponent)
TAVO_PUBLISHED(TTestDataSource, TComponent) {
  P.Obj("DataSet", &TTestDataSource::DataSet, &TTestDataSource::DataSet);
}
TAVO_PUBLISHED(TTestDBEdit, TEdit) {
  P.Obj("DataSource", &TTestDBEdit::DataSource, &TTestDBEdit::DataSource);
  P.Str("DataField", &TTestDBEdit::DataField, &TTestDBEdit::DataField);
}

namespace {

class DBLabelTest : public LookupTest {
protected:
  // A label of a fixed size, so placements can be computed by hand.
  TDBLabel* AddLabel(const char* name, int width, int height) {
    auto* l = Add<TDBLabel>(name);
    l->SetAutoSize(false);
    l->SetBounds(300, 300, width, height);
    return l;
  }
};

TEST_F(DBLabelTest, StartsAsADesignedAttachedLabel) {
  auto* label = Add<TDBLabel>("lbl01");
  EXPECT_EQ(label->GetCaption(), "挂靠标签");
  EXPECT_TRUE(label->GetAutoAlign());
  EXPECT_TRUE(label->GetAutoCaption());
  EXPECT_EQ(label->GetGap(), 4);
  EXPECT_EQ(label->GetPos(), psLeft);
  EXPECT_EQ(label->GetFocusControl(), nullptr);
  EXPECT_EQ(GetEnumProp(label, "Pos"), "psLeft");
}

// ---- Placement ----------------------------------------------------------------------------

struct TPlacement {
  const char* Name;
  TPos Pos;
  int Gap;
  TRect Control;  // left, top, right, bottom
  int LabelWidth;
  int LabelHeight;
  int Left;
  int Top;
  friend std::ostream& operator<<(std::ostream& os, const TPlacement& p) { return os << p.Name; }
};

const TPlacement Placements[] = {
    // 50 - 52 - 4 is negative.
    {"LeftClampedToZero", psLeft, 4, Bounds(50, 10, 80, 21), 52, 13, 0, 14},
    {"LeftCentred", psLeft, 4, Bounds(100, 40, 80, 21), 52, 13, 44, 44},
    {"LeftSameHeight", psLeft, 4, Bounds(100, 40, 80, 21), 52, 21, 44, 40},
    {"LeftOddHeights", psLeft, 2, Bounds(100, 40, 80, 25), 30, 15, 68, 45},
    {"LeftCentredAboveTheTop", psLeft, 4, Bounds(100, 2, 80, 10), 40, 20, 56, 0},
    // 10 - 13 - 4 is negative.
    {"TopClampedToZero", psTop, 4, Bounds(60, 10, 80, 21), 52, 13, 60, 0},
    {"Top", psTop, 4, Bounds(60, 40, 80, 21), 52, 13, 60, 23},
    {"Right", psRight, 4, Bounds(100, 40, 80, 21), 52, 13, 184, 44},
    {"Bottom", psBottom, 5, Bounds(100, 40, 80, 21), 52, 13, 100, 66},
};

class PlacementTest : public DBLabelTest, public testing::WithParamInterface<TPlacement> {};

TEST_P(PlacementTest, PlacesItselfBesideTheControl) {
  const TPlacement& p = GetParam();
  auto* edit = AddEdit("ed01", p.Control.Left, p.Control.Top, p.Control.Width(), p.Control.Height());
  auto* label = AddLabel("lbl01", p.LabelWidth, p.LabelHeight);
  label->SetPos(p.Pos);
  label->SetGap(static_cast<BYTE>(p.Gap));
  label->SetFocusControl(edit);
  EXPECT_EQ(label->GetBoundsRect(), Bounds(p.Left, p.Top, p.LabelWidth, p.LabelHeight));
}

INSTANTIATE_TEST_SUITE_P(Pos, PlacementTest, testing::ValuesIn(Placements),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DBLabelTest, ChangingPosOrGapPlacesItAgain) {
  auto* edit = AddEdit("ed01", 100, 40, 80, 21);
  auto* label = AddLabel("lbl01", 52, 13);
  label->SetFocusControl(edit);
  EXPECT_EQ(label->GetLeft(), 44);
  label->SetPos(psRight);
  EXPECT_EQ(label->GetLeft(), 184);
  label->SetGap(10);
  EXPECT_EQ(label->GetLeft(), 190);
  label->SetPos(psBottom);
  EXPECT_EQ(label->GetBoundsRect(), Bounds(100, 71, 52, 13));
}

TEST_F(DBLabelTest, WithoutAutoAlignKeepsItsPlace) {
  auto* edit = AddEdit("ed01", 100, 40, 80, 21);
  auto* label = AddLabel("lbl01", 52, 13);
  label->SetAutoAlign(false);
  label->SetFocusControl(edit);
  label->SetPos(psTop);
  EXPECT_EQ(label->GetBoundsRect(), Bounds(300, 300, 52, 13));
  label->SetAutoAlign(true);
  EXPECT_EQ(label->GetBoundsRect(), Bounds(100, 23, 52, 13));
}

// ---- One label per control ---------------------------------------------------------------

TEST_F(DBLabelTest, ASecondLabelForTheSameControlIsRefusedWithAMessage) {
  auto* edit = AddEdit("ed01", 100, 40, 80, 21);
  auto* first = AddLabel("lbl01", 52, 13);
  first->SetFocusControl(edit);
  auto* second = AddLabel("lbl02", 52, 13);
  second->SetFocusControl(edit);

  const auto dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].Text, "不能同时有两个 DBLabel 指到同一个 Control.");
  EXPECT_EQ(dialogs[0].DialogType, mtError);
  ASSERT_EQ(dialogs[0].Buttons.size(), 1u);
  EXPECT_EQ(second->GetFocusControl(), nullptr);
  EXPECT_EQ(second->GetBoundsRect(), Bounds(300, 300, 52, 13));
  EXPECT_EQ(first->GetFocusControl(), edit);

  first->SetFocusControl(edit);
  EXPECT_EQ(Dialogs().size(), 1u);
}

TEST_F(DBLabelTest, ForgetsAControlThatIsFreed) {
  auto* edit = AddEdit("ed01", 100, 40, 80, 21);
  auto* label = AddLabel("lbl01", 52, 13);
  label->SetFocusControl(edit);
  delete edit;
  EXPECT_EQ(label->GetFocusControl(), nullptr);
  EXPECT_EQ(static_cast<TCustomLabel*>(label)->GetFocusControl(), nullptr);
  label->SetPos(psTop);
}

// ---- Caption from the data field ----------------------------------------------------------

class DBLabelCaptionTest : public DBLabelTest {
protected:
  void SetUp() override {
    DBLabelTest::SetUp();
    DataSet = new TTestDataSet(Form);
    DataSet->Labels["CustName"] = "客户名称";
    Source = new TTestDataSource(Form);
    Source->DataSet = DataSet;
    Edit = Add<TTestDBEdit>("edCust");
    Edit->SetBounds(100, 40, 80, 21);
    Edit->DataSource = Source;
    Edit->DataField = "CustName";
  }
  TTestDataSet* DataSet = nullptr;
  TTestDataSource* Source = nullptr;
  TTestDBEdit* Edit = nullptr;
};

TEST_F(DBLabelCaptionTest, TakesTheFieldsDisplayLabelAndThenPlacesItself) {
  auto* label = Add<TDBLabel>("lbl01");
  label->SetFocusControl(Edit);
  EXPECT_EQ(label->GetCaption(), "客户名称");
  // Sized to the new caption before it was placed: its right edge is Gap from the edit.
  EXPECT_EQ(label->GetLeft() + label->GetWidth(), 96);
}

TEST_F(DBLabelCaptionTest, KeepsItsCaptionWhenTheBindingLeadsNowhere) {
  auto* label = Add<TDBLabel>("lbl01");
  label->SetCaption("designed");
  Edit->DataField = "NoSuchField";
  label->SetFocusControl(Edit);
  EXPECT_EQ(label->GetCaption(), "designed");

  Edit->DataField = "CustName";
  Source->DataSet = nullptr;
  label->SetGap(7);
  EXPECT_EQ(label->GetCaption(), "designed");

  Source->DataSet = DataSet;
  Edit->DataSource = nullptr;
  label->SetPos(psTop);
  EXPECT_EQ(label->GetCaption(), "designed");

  Edit->DataSource = Source;
  label->SetAutoCaption(false);
  EXPECT_EQ(label->GetCaption(), "designed");
  label->SetAutoCaption(true);
  EXPECT_EQ(label->GetCaption(), "客户名称");
}

TEST_F(DBLabelCaptionTest, AControlWithoutDataPropertiesKeepsTheCaption) {
  auto* plain = AddEdit("ed01", 10, 10, 80, 21);
  auto* label = Add<TDBLabel>("lbl01");
  label->SetCaption("plain");
  label->SetFocusControl(plain);
  EXPECT_EQ(label->GetCaption(), "plain");
}

}  // namespace
