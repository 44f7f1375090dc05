// The controls are placed from form resources by class name, in both editions; the edits
// with a label exist only in the current one.
#include "module/controls/BtChkBox.h"
#include "module/controls/ExtPage.h"
#include "module/controls/KvRadio.h"
#include "module/controls/KvSpinEdit.h"
#include "platform/vcl/FormResource.h"
#include "tests/module/inputs/InputsFixture.h"

#ifndef TAVO_LEGACY
#include "module/controls/KvEdit.h"
#endif

#include <ostream>

namespace {

struct ClassCase {
  const char* Name;
  bool Current;
  bool Legacy;
};

std::ostream& operator<<(std::ostream& os, const ClassCase& c) { return os << c.Name; }

const ClassCase ClassCases[] = {
    {"TBitCheckBox", true, true},   {"TKvRadioButton", true, true}, {"TKvGroupButton", true, true},
    {"TKvRadioGroup", true, true},  {"TKvSpinEdit", true, true},    {"TExtPageControl", true, true},
    {"TKvEdit", true, false},       {"TKvDBEdit", true, false},     {"TKvBtnDBEdit", true, false},
};

class RegisteredClassTest : public testing::TestWithParam<ClassCase> {};

TEST_P(RegisteredClassTest, TheEditionRegistersExactlyItsClasses) {
  // Referencing every class keeps its registration linked in.
  (void)TBitCheckBox::StaticClass();
  (void)TKvRadioGroup::StaticClass();
  (void)TKvSpinEdit::StaticClass();
  (void)TExtPageControl::StaticClass();
#ifdef TAVO_LEGACY
  const bool expected = GetParam().Legacy;
#else
  (void)TKvEdit::StaticClass();
  const bool expected = GetParam().Current;
#endif
  EXPECT_EQ(GetClass(GetParam().Name) != nullptr, expected);
}

INSTANTIATE_TEST_SUITE_P(Classes, RegisteredClassTest, testing::ValuesIn(ClassCases),
                         [](const auto& info) { return std::string(info.param.Name); });

const char* const InputsResource = R"(object frmInputs: TForm
  object chkNotify: TBitCheckBox
    Left = 8
    Top = 8
    Caption = '完成通知'
    Alignment = taLeftJustify
    AllowGrayed = True
    State = cbGrayed
    CheckedNumGlyphs = 2
  end
  object rbQueue: TKvRadioButton
    Left = 8
    Top = 30
    Caption = '放入工作队列'
    Checked = True
  end
  object rbNow: TKvRadioButton
    Left = 8
    Top = 50
    Caption = '立即执行'
  end
  object grpAlarm: TKvRadioGroup
    Left = 200
    Top = 8
    Width = 185
    Height = 105
    Columns = 2
    Items.Strings = (
      'a'
      'b'
      'c')
    ItemIndex = 1
  end
  object spCount: TKvSpinEdit
    Left = 8
    Top = 80
    MaxValue = 10
    MinValue = 1
    Value = 3
  end
  object pcOptions: TExtPageControl
    Left = 8
    Top = 120
    Width = 300
    Height = 150
    ActivePage = tsSystem
    object tsBasic: TTabSheet
      Caption = '基本选项'
    end
    object tsSystem: TTabSheet
      Caption = '系统选项'
    end
  end
end
)";

TEST(InputsResourceTest, ControlsAreReadWithTheirProperties) {
  TScriptedDriver driver;
  TUIDriverScope scope(&driver);
  auto* form = new TForm(Application, CreateNew);
  ReadComponentRes(form, InputsResource, "Inputs.dfm");

  auto* chk = dynamic_cast<TBitCheckBox*>(form->FindComponent("chkNotify"));
  ASSERT_NE(chk, nullptr);
  EXPECT_EQ(chk->GetCaption(), "完成通知");
  EXPECT_EQ(chk->GetAlignment(), taLeftJustify);
  EXPECT_EQ(chk->GetState(), cbGrayed);
  EXPECT_EQ(chk->GetCheckedNumGlyphs(), 2);
  EXPECT_EQ(chk->GetBoundsRect(), Bounds(8, 8, 97, 17));

  auto* queue = dynamic_cast<TKvRadioButton*>(form->FindComponent("rbQueue"));
  auto* now = dynamic_cast<TKvRadioButton*>(form->FindComponent("rbNow"));
  ASSERT_NE(queue, nullptr);
  ASSERT_NE(now, nullptr);
  EXPECT_TRUE(queue->GetChecked());
  EXPECT_FALSE(now->GetChecked());
  EXPECT_EQ(now->GetWidth(), 113);

  auto* group = dynamic_cast<TKvRadioGroup*>(form->FindComponent("grpAlarm"));
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(group->GetButtonCount(), 3);
  EXPECT_EQ(group->GetItemIndex(), 1);
  EXPECT_TRUE(group->GetButton(1)->GetChecked());
  EXPECT_EQ(group->GetButton(2)->GetLeft(), 8 + 87);

  auto* spin = dynamic_cast<TKvSpinEdit*>(form->FindComponent("spCount"));
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->GetValue(), 3);

  auto* pages = dynamic_cast<TExtPageControl*>(form->FindComponent("pcOptions"));
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->GetPageCount(), 2);
  EXPECT_EQ(pages->GetActivePageIndex(), 1);
  EXPECT_TRUE(pages->GetOwnerDraw());
  form->Free();
}

const char* const EditResource = R"(object frmEdit: TForm
  object edEveryHour: TKvEdit
    Left = 100
    Top = 50
    Width = 121
    Height = 21
    Caption = '每隔'
    LabelPosition = lpAbove
    LabelSpacing = 2
    Text = '1'
  end
  object ed08: TKvBtnDBEdit
    Left = 100
    Top = 90
    Width = 121
    Height = 21
    ButtonSpacing = 3
    ButtonHint = '查询'
    DataField = 'FactoryNo'
  end
end
)";

#ifndef TAVO_LEGACY

TEST(InputsResourceTest, EditsAreReadWithLabelAndButton) {
  TScriptedDriver driver;
  TUIDriverScope scope(&driver);
  auto* form = new TForm(Application, CreateNew);
  ReadComponentRes(form, EditResource, "Edit.dfm");
  auto* edit = dynamic_cast<TKvEdit*>(form->FindComponent("edEveryHour"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetText(), "1");
  TLabel* label = edit->GetEditLabel();
  EXPECT_EQ(label->GetCaption(), "每隔");
  EXPECT_EQ(label->GetParent(), form);
  EXPECT_EQ(label->GetLeft(), 100);
  EXPECT_EQ(label->GetTop(), 50 - label->GetHeight() - 2);

  auto* btnEdit = dynamic_cast<TKvBtnDBEdit*>(form->FindComponent("ed08"));
  ASSERT_NE(btnEdit, nullptr);
  EXPECT_EQ(btnEdit->GetDataField(), "FactoryNo");
  ASSERT_NE(btnEdit->GetF2Button(), nullptr);
  EXPECT_EQ(btnEdit->GetF2Button()->Hint, "查询");
  EXPECT_EQ(btnEdit->GetF2Button()->GetBoundsRect(), Bounds(224, 90, 21, 21));
  EXPECT_EQ(btnEdit->GetF2Button()->GetParent(), form);
  form->Free();
}

#else

TEST(InputsResourceTest, TheLegacyEditionCannotReadTheEdits) {
  TScriptedDriver driver;
  TUIDriverScope scope(&driver);
  auto* form = new TForm(Application, CreateNew);
  EXPECT_THROW(ReadComponentRes(form, EditResource, "Edit.dfm"), EReadError);
  form->Free();
}

#endif

}  // namespace
