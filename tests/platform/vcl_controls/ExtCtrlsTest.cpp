#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormResource.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/Spin.h"
#include "tests/platform/vcl_controls/ControlsFixture.h"

namespace {

// ---- Radio group ------------------------------------------------------------------------

class RadioGroupTest : public ControlsTest {
protected:
  void SetUp() override {
    ControlsTest::SetUp();
    Group = Add<TRadioGroup>(nullptr, "rg");
    Group->SetBounds(0, 0, 210, 105);
    Group->GetFont()->SetHeight(-13);
    Group->OnClick = TNotifyEvent(&Log, &TEventLog::Notify);
    Group->GetItems()->SetText("Daily\r\nWeekly\r\nMonthly\r\n");
  }
  TRadioGroup* Group = nullptr;
};

TEST_F(RadioGroupTest, OneButtonPerItem) {
  ASSERT_EQ(Group->GetButtonCount(), 3);
  EXPECT_EQ(Group->GetButton(1)->GetCaption(), "Weekly");
  EXPECT_TRUE(Group->GetButton(2)->GetVisible());
  EXPECT_EQ(Group->GetButton(0)->GetParent(), Group);
  EXPECT_EQ(Group->GetItemIndex(), -1);
  Group->GetItems()->Delete(2);
  EXPECT_EQ(Group->GetButtonCount(), 2);
  EXPECT_THROW(Group->GetButton(2), EListError);
}

TEST_F(RadioGroupTest, ButtonsAreLaidOutInColumns) {
  // Height 105, font 13 high: (105 - 13 - 5) = 87 for the rows.
  EXPECT_EQ(Group->GetButton(0)->GetBoundsRect(), Bounds(8, 14, 200, 29));
  EXPECT_EQ(Group->GetButton(2)->GetBoundsRect(), Bounds(8, 14 + 58, 200, 29));
  Group->SetColumns(2);
  // Two rows of 43, the remainder 1 split above: top margin 14.
  EXPECT_EQ(Group->GetButton(0)->GetBoundsRect(), Bounds(8, 14, 100, 43));
  EXPECT_EQ(Group->GetButton(1)->GetBoundsRect(), Bounds(8, 14 + 43, 100, 43));
  EXPECT_EQ(Group->GetButton(2)->GetBoundsRect(), Bounds(108, 14, 100, 43));
  Group->SetColumns(40);
  EXPECT_EQ(Group->GetColumns(), 16);
}

TEST_F(RadioGroupTest, ItemIndexChecksItsButtonAndClicks) {
  Group->SetItemIndex(1);
  EXPECT_TRUE(Group->GetButton(1)->GetChecked());
  EXPECT_EQ(Log.Take(), (TLog{"notify:rg"}));
  Group->SetItemIndex(9);
  EXPECT_EQ(Group->GetItemIndex(), 2);
  EXPECT_FALSE(Group->GetButton(1)->GetChecked());
  Log.Take();
  EXPECT_TRUE(ClickControl(Group->GetButton(0)));
  EXPECT_EQ(Group->GetItemIndex(), 0);
  EXPECT_EQ(Log.Take(), (TLog{"notify:rg"}));
  Group->SetItemIndex(-1);
  EXPECT_FALSE(Group->GetButton(0)->GetChecked());
  EXPECT_TRUE(Log.Take().empty());
  Group->SetEnabled(false);
  EXPECT_FALSE(Group->GetButton(2)->GetEnabled());
}

// ---- Panel, bevel, image, status bar ------------------------------------------------

TEST_F(ControlsTest, PanelBevelsAndBorderNarrowTheClientArea) {
  auto* panel = Add<TPanel>(nullptr, "pnl");
  panel->SetBounds(0, 0, 100, 60);
  EXPECT_EQ(panel->GetBevelOuter(), bvRaised);
  EXPECT_EQ(panel->GetBevelInner(), bvNone);
  auto* child = Add<TPanel>(panel, "child");
  child->SetAlign(alClient);
  EXPECT_EQ(child->GetBoundsRect(), Rect(1, 1, 99, 59));
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  panel->SetBorderWidth(3);
  EXPECT_EQ(child->GetBoundsRect(), Rect(7, 7, 93, 53));
  panel->Repaint();
  TCanvas* c = panel->GetCanvas();
  EXPECT_EQ(c->GetPixels(0, 0), clWhite);                 // raised: light top-left
  EXPECT_EQ(c->GetPixels(99, 59), RGB(128, 128, 128));    // dark bottom-right
  EXPECT_EQ(c->GetPixels(5, 5), RGB(128, 128, 128));      // lowered inner bevel
  EXPECT_EQ(c->GetPixels(3, 3), RGB(212, 208, 200));      // the border in the panel colour
  SetPropTextByPath(panel, "BevelOuter", "bvNone");
  EXPECT_EQ(child->GetBoundsRect(), Rect(5, 5, 95, 55));
}

TEST_F(ControlsTest, PanelCaptionIsCentredOnOneLine) {
  auto* panel = Add<TPanel>(nullptr, "pnl");
  panel->SetBounds(0, 0, 100, 40);
  panel->GetFont()->SetHeight(-10);
  panel->GetFont()->SetColor(clRed);
  panel->SetCaption("ab");
  panel->Repaint();
  // "ab" is 10 wide, 10 high: cells from x 45, y 15.
  EXPECT_EQ(panel->GetCanvas()->GetPixels(46, 16), clRed);
  EXPECT_EQ(panel->GetCanvas()->GetPixels(44, 16), RGB(212, 208, 200));
  panel->SetAlignment(taLeftJustify);
  panel->Repaint();
  EXPECT_EQ(panel->GetCanvas()->GetPixels(2, 16), clRed);
}

TEST_F(ControlsTest, BevelDrawsItsShape) {
  auto* bevel = Add<TBevel>(nullptr, "bvl");
  bevel->SetBounds(0, 0, 20, 10);
  bevel->SetShape(bsTopLine);
  bevel->Repaint();
  EXPECT_EQ(bevel->GetCanvas()->GetPixels(5, 0), RGB(128, 128, 128));
  EXPECT_EQ(bevel->GetCanvas()->GetPixels(5, 1), clWhite);
  bevel->SetStyle(bsRaised);
  bevel->Repaint();
  EXPECT_EQ(bevel->GetCanvas()->GetPixels(5, 0), clWhite);
}

TEST_F(ControlsTest, ImageShowsItsPicture) {
  auto* image = Add<TImage>(nullptr, "img");
  image->SetBounds(0, 0, 20, 20);
  TBitmap b;
  b.SetSize(4, 2);
  b.GetCanvas()->GetBrush()->SetColor(clBlue);
  b.GetCanvas()->FillRect(Rect(0, 0, 4, 2));
  image->GetPicture()->SetBitmap(&b);
  image->SetCenter(true);
  EXPECT_EQ(image->DestRect(), Bounds(8, 9, 4, 2));
  image->Repaint();
  EXPECT_EQ(image->GetCanvas()->GetPixels(8, 9), clBlue);
  image->SetStretch(true);
  image->Repaint();
  EXPECT_EQ(image->GetCanvas()->GetPixels(19, 19), clBlue);
  image->SetAutoSize(true);
  EXPECT_EQ(image->GetWidth(), 4);
  EXPECT_EQ(image->GetHeight(), 2);
}

TEST_F(ControlsTest, StatusBarPanelsSitSideBySide) {
  auto* bar = Add<TStatusBar>(nullptr, "sb");
  EXPECT_EQ(bar->GetAlign(), alBottom);
  EXPECT_EQ(bar->GetHeight(), 19);
  bar->GetPanels()->Add()->SetWidth(100);
  bar->GetPanels()->Add()->SetText("ready");
  EXPECT_EQ(bar->PanelRect(0).Right, 100);
  EXPECT_EQ(bar->PanelRect(1), Rect(100, 2, bar->GetClientWidth(), bar->GetClientHeight()));
  EXPECT_EQ(bar->GetPanels()->GetItem(1)->GetIndex(), 1);
  EXPECT_THROW(bar->GetPanels()->Delete(2), EListError);
  bar->SetSimplePanel(true);
  bar->SetSimpleText("busy");
  EXPECT_EQ(GetPropTextByPath(bar, "SimpleText"), "busy");
}

// ---- Form resources ---------------------------------------------------------------------

const char* const Resource = R"(object Form1: TForm
  Left = 0
  Top = 0
  Width = 500
  Height = 400
  object pc: TPageControl
    Left = 0
    Top = 0
    Width = 400
    Height = 300
    ActivePage = ts2
    OwnerDraw = True
    TabHeight = 20
    object ts1: TTabSheet
      Caption = '基本选项'
      object rg: TRadioGroup
        Left = 8
        Top = 8
        Width = 185
        Height = 105
        Caption = 'Period'
        Columns = 2
        ItemIndex = 1
        Items.Strings = (
          'Daily'
          'Weekly'
          'Monthly')
      end
      object sb1: TSpeedButton
        Left = 8
        Top = 120
        GroupIndex = 3
        Down = True
        Flat = True
      end
      object sb2: TSpeedButton
        Left = 40
        Top = 120
        GroupIndex = 3
      end
    end
    object ts2: TTabSheet
      Caption = 'More'
      TabVisible = False
      object lv: TListView
        Left = 0
        Top = 0
        Width = 200
        Height = 100
        Columns = <
          item
            Caption = 'Code'
            Width = 80
          end
          item
            Alignment = taRightJustify
            Caption = 'Qty'
          end>
        MultiSelect = True
        ReadOnly = True
        RowSelect = True
        ShowColumnHeaders = False
        SortType = stText
        ViewStyle = vsReport
      end
      object spin: TSpinEdit
        Left = 8
        Top = 120
        MaxValue = 99
        MinValue = 1
        Value = 150
      end
      object me: TMaskEdit
        Left = 8
        Top = 150
        EditMask = '!aaaa-aaaaaaaaaaa;0; '
        Text = 'MR  12345678901'
      end
    end
  end
  object btnCancel: TBitBtn
    Left = 8
    Top = 320
    Caption = '取消'
    Kind = bkCancel
  end
  object pnl: TPanel
    Left = 200
    Top = 320
    BevelInner = bvLowered
    BevelWidth = 2
    Color = clInfoBk
  end
  object bar: TStatusBar
    Panels = <
      item
        Text = 'one'
        Width = 50
      end
      item
        Bevel = pbRaised
      end>
    SimplePanel = False
  end
end
)";

TEST_F(ControlsTest, AFormResourceBuildsTheControls) {
  TForm* form = new TForm(Application, CreateNew);
  ReadComponentRes(form, Resource, "ControlsTest.dfm");
  auto find = [&](const char* name) { return form->FindComponent(name); };
  auto* pc = dynamic_cast<TPageControl*>(find("pc"));
  ASSERT_NE(pc, nullptr);
  EXPECT_EQ(pc->GetPageCount(), 2);
  EXPECT_EQ(pc->GetActivePage(), find("ts2"));
  EXPECT_TRUE(pc->GetOwnerDraw());
  EXPECT_EQ(pc->TabCount(), 1);
  EXPECT_EQ(pc->TabCaption(0), "基本选项");

  auto* rg = dynamic_cast<TRadioGroup*>(find("rg"));
  ASSERT_NE(rg, nullptr);
  EXPECT_EQ(rg->GetButtonCount(), 3);
  EXPECT_EQ(rg->GetItemIndex(), 1);
  EXPECT_TRUE(rg->GetButton(1)->GetChecked());
  EXPECT_EQ(rg->GetButton(2)->GetLeft(), 8 + (185 - 10) / 2);

  auto* sb1 = dynamic_cast<TSpeedButton*>(find("sb1"));
  auto* sb2 = dynamic_cast<TSpeedButton*>(find("sb2"));
  ASSERT_TRUE(sb1 && sb2);
  EXPECT_TRUE(sb1->GetDown());
  EXPECT_TRUE(sb1->GetFlat());
  sb2->SetDown(true);
  EXPECT_FALSE(sb1->GetDown());

  auto* lv = dynamic_cast<TListView*>(find("lv"));
  ASSERT_NE(lv, nullptr);
  ASSERT_EQ(lv->GetColumns()->Count(), 2);
  EXPECT_EQ(lv->Column(0)->GetWidth(), 80);
  EXPECT_EQ(lv->Column(1)->GetCaption(), "Qty");
  EXPECT_EQ(lv->Column(1)->GetAlignment(), taRightJustify);
  EXPECT_TRUE(lv->GetMultiSelect());
  EXPECT_TRUE(lv->GetReadOnly());
  EXPECT_EQ(lv->GetSortType(), stText);
  EXPECT_EQ(lv->GetViewStyle(), vsReport);

  auto* spin = dynamic_cast<TSpinEdit*>(find("spin"));
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->GetValue(), 99);
  auto* me = dynamic_cast<TMaskEdit*>(find("me"));
  ASSERT_NE(me, nullptr);
  EXPECT_EQ(me->GetEditText(), "MR  -12345678901");

  auto* cancel = dynamic_cast<TBitBtn*>(find("btnCancel"));
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->GetKind(), bkCancel);
  EXPECT_EQ(cancel->GetCaption(), "取消");  // the resource's caption wins
  EXPECT_EQ(cancel->ModalResult, mrCancel);
  EXPECT_TRUE(cancel->GetCancel());

  auto* pnl = dynamic_cast<TPanel*>(find("pnl"));
  ASSERT_NE(pnl, nullptr);
  EXPECT_EQ(pnl->GetBevelInner(), bvLowered);
  EXPECT_EQ(pnl->GetBevelWidth(), 2);
  EXPECT_EQ(pnl->GetColor(), clInfoBk);

  auto* bar = dynamic_cast<TStatusBar*>(find("bar"));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->GetPanels()->Count(), 2);
  EXPECT_EQ(bar->GetPanels()->GetItem(0)->GetText(), "one");
  EXPECT_EQ(bar->GetPanels()->GetItem(1)->GetBevel(), pbRaised);
  form->Free();
}

}  // namespace
