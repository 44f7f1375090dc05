#include "platform/vcl/Buttons.h"
#include "platform/vcl/ExtCtrls.h"
#include "tests/platform/vcl_controls/ControlsFixture.h"

#include <ostream>

namespace {

// ---- Speed buttons ----------------------------------------------------------------------

class SpeedButtonTest : public ControlsTest {
protected:
  void SetUp() override {
    ControlsTest::SetUp();
    auto* panel = Add<TPanel>(nullptr, "pnl");
    for (int i = 0; i < 3; ++i) {
      Group[i] = Add<TSpeedButton>(panel, ("sb" + std::to_string(i)).c_str());
      Group[i]->SetGroupIndex(1);
      Group[i]->OnClick = TNotifyEvent(&Log, &TEventLog::Notify);
    }
    Elsewhere = Add<TSpeedButton>(nullptr, "sbOther");
    Elsewhere->SetGroupIndex(1);
  }
  std::string Downs() const {
    std::string s;
    for (TSpeedButton* b : Group) s += b->GetDown() ? 'D' : 'u';
    return s + (Elsewhere->GetDown() ? 'D' : 'u');
  }
  TSpeedButton* Group[3] = {};
  TSpeedButton* Elsewhere = nullptr;
};

TEST_F(SpeedButtonTest, ClicksKeepOneButtonDownPerGroupAndParent) {
  Elsewhere->SetDown(true);
  EXPECT_TRUE(ClickControl(Group[0]));
  EXPECT_EQ(Downs(), "DuuD");
  EXPECT_TRUE(ClickControl(Group[2]));
  EXPECT_EQ(Downs(), "uuDD");
  // The last button down stays down ...
  EXPECT_TRUE(ClickControl(Group[2]));
  EXPECT_EQ(Downs(), "uuDD");
  EXPECT_EQ(Log.Take(), (TLog{"notify:sb0", "notify:sb2", "notify:sb2"}));
  // ... unless the group allows all up; setting it on one button sets it on the group.
  Group[0]->SetAllowAllUp(true);
  EXPECT_TRUE(Group[2]->GetAllowAllUp());
  EXPECT_FALSE(Elsewhere->GetAllowAllUp());
  EXPECT_TRUE(ClickControl(Group[2]));
  EXPECT_EQ(Downs(), "uuuD");
}

TEST_F(SpeedButtonTest, DownInCodeAndOutsideGroups) {
  Group[1]->SetDown(true);
  EXPECT_EQ(Downs(), "uDuu");
  Group[0]->SetDown(true);
  EXPECT_EQ(Downs(), "Duuu");
  Group[0]->SetDown(false);  // refused: the last one down
  EXPECT_EQ(Downs(), "Duuu");
  // A click from code runs OnClick without toggling.
  Group[1]->Click();
  EXPECT_EQ(Downs(), "Duuu");
  EXPECT_EQ(Log.Take(), (TLog{"notify:sb1"}));
  // Outside a group a button never stays down.
  Group[0]->SetGroupIndex(0);
  EXPECT_FALSE(Group[0]->GetDown());
  Group[0]->SetDown(true);
  EXPECT_FALSE(Group[0]->GetDown());
  EXPECT_TRUE(ClickControl(Group[0]));
  EXPECT_FALSE(Group[0]->GetDown());
}

TEST_F(SpeedButtonTest, ADisabledButtonIgnoresClicks) {
  Group[0]->SetEnabled(false);
  EXPECT_FALSE(ClickControl(Group[0]));
  EXPECT_FALSE(Group[0]->GetDown());
  EXPECT_TRUE(Log.Take().empty());
  EXPECT_EQ(Group[0]->GetState(), bsDisabled);
}

// ---- Glyphs -----------------------------------------------------------------------------

// A strip of frames 8 x 8, each filled with its colour on an olive ground.
TBitmap* Strip(TBitmap& b, std::initializer_list<TColor> frames) {
  b.SetSize(8 * static_cast<int>(frames.size()), 8);
  b.GetCanvas()->GetBrush()->SetColor(clOlive);
  b.GetCanvas()->FillRect(Rect(0, 0, b.GetWidth(), 8));
  int i = 0;
  for (TColor c : frames) {
    b.GetCanvas()->GetBrush()->SetColor(c);
    b.GetCanvas()->FillRect(Rect(8 * i + 1, 1, 8 * i + 7, 7));
    ++i;
  }
  return &b;
}

TEST(ButtonGlyphTest, AStripSetsTheNumberOfFramesWhenItDividesEvenly) {
  TButtonGlyph g;
  TBitmap b;
  g.SetGlyph(Strip(b, {clRed, clBlue, clLime, clYellow}));
  EXPECT_EQ(g.GetNumGlyphs(), 4);
  TBitmap odd;
  odd.SetSize(40, 16);
  g.SetGlyph(&odd);
  EXPECT_EQ(g.GetNumGlyphs(), 4);  // 40 x 16 keeps the count
  TBitmap wide;
  wide.SetSize(80, 16);  // five frames: more than a button holds
  g.SetGlyph(&wide);
  EXPECT_EQ(g.GetNumGlyphs(), 1);
  g.SetNumGlyphs(9);
  EXPECT_EQ(g.GetNumGlyphs(), 4);
  g.SetNumGlyphs(0);
  EXPECT_EQ(g.GetNumGlyphs(), 1);
}

struct TFrameCase {
  int NumGlyphs;
  int Up, Disabled, Down, Exclusive;
};

TEST(ButtonGlyphTest, EachStateDrawsItsFrameOrAFallback) {
  const TFrameCase cases[] = {
      {1, 0, -1, 0, 0},
      {2, 0, 1, 0, 0},
      {3, 0, 1, 2, 2},
      {4, 0, 1, 2, 3},
  };
  for (const TFrameCase& c : cases) {
    TButtonGlyph g;
    g.SetNumGlyphs(c.NumGlyphs);
    EXPECT_EQ(g.FrameFor(bsUp), c.Up) << c.NumGlyphs;
    EXPECT_EQ(g.FrameFor(bsDisabled), c.Disabled) << c.NumGlyphs;
    EXPECT_EQ(g.FrameFor(bsDown), c.Down) << c.NumGlyphs;
    EXPECT_EQ(g.FrameFor(bsExclusive), c.Exclusive) << c.NumGlyphs;
  }
}

TEST(ButtonGlyphTest, AMissingDisabledFrameIsEtchedFromTheUpFrame) {
  TButtonGlyph g;
  TBitmap b;
  g.SetGlyph(Strip(b, {clNavy}));
  TBitmap frame;
  g.GetFrame(bsDisabled, &frame);
  ASSERT_EQ(frame.GetWidth(), 8);
  EXPECT_EQ(frame.GetCanvas()->GetPixels(1, 1), RGB(128, 128, 128));  // dark: shadow
  EXPECT_EQ(frame.GetCanvas()->GetPixels(7, 7), clWhite);              // highlight below right
  EXPECT_EQ(frame.GetCanvas()->GetPixels(0, 0), clOlive);              // ground stays transparent
  EXPECT_TRUE(frame.GetTransparent());
  EXPECT_EQ(frame.GetTransparentColor(), clOlive);
}

TEST_F(SpeedButtonTest, PaintingShowsTheFrameOfTheState) {
  TBitmap b;
  TSpeedButton* sb = Group[0];
  sb->SetGlyph(Strip(b, {clRed, clBlue}));
  EXPECT_EQ(sb->GetNumGlyphs(), 2);
  sb->Repaint();
  // 23 x 22 without caption: the glyph centred at (8, 7); its olive ground left out.
  EXPECT_EQ(sb->GetCanvas()->GetPixels(10, 10), clRed);
  EXPECT_EQ(sb->GetCanvas()->GetPixels(8, 7), RGB(212, 208, 200));
  sb->SetEnabled(false);
  sb->Repaint();
  EXPECT_EQ(sb->GetCanvas()->GetPixels(10, 10), clBlue);
  // Down buttons draw their picture one pixel down and right.
  sb->SetEnabled(true);
  sb->SetDown(true);
  sb->Repaint();
  EXPECT_EQ(sb->GetCanvas()->GetPixels(9, 8), RGB(212, 208, 200));
  EXPECT_EQ(sb->GetCanvas()->GetPixels(10, 9), clRed);
}

// ---- Bitmap buttons ---------------------------------------------------------------------

struct TKindCase {
  TBitBtnKind Kind;
  const char* Caption;
  TModalResult Result;
  bool Default, Cancel;
  friend std::ostream& operator<<(std::ostream& os, const TKindCase& c) {
    return os << GetEnumName(TypeInfo<TBitBtnKind>(), c.Kind);
  }
};

const TKindCase KindCases[] = {
    {bkOK, "OK", mrOk, true, false},         {bkCancel, "Cancel", mrCancel, false, true},
    {bkHelp, "&Help", mrNone, false, false}, {bkYes, "&Yes", mrYes, true, false},
    {bkNo, "&No", mrNo, false, true},        {bkClose, "&Close", mrNone, false, false},
    {bkAbort, "Abort", mrAbort, false, false}, {bkRetry, "&Retry", mrRetry, false, false},
    {bkIgnore, "&Ignore", mrIgnore, false, false}, {bkAll, "&All", mrAll, false, false},
};

class BitBtnKind : public ControlsTest, public testing::WithParamInterface<TKindCase> {};

TEST_P(BitBtnKind, SetsCaptionModalResultAndRole) {
  const TKindCase& c = GetParam();
  auto* btn = Add<TBitBtn>(nullptr, "btn");
  btn->SetKind(c.Kind);
  EXPECT_EQ(btn->GetKind(), c.Kind);
  EXPECT_EQ(btn->GetCaption(), c.Caption);
  EXPECT_EQ(btn->ModalResult, c.Result);
  EXPECT_EQ(btn->GetDefault(), c.Default);
  EXPECT_EQ(btn->GetCancel(), c.Cancel);
  EXPECT_EQ(GetPropTextByPath(btn, "Kind"), GetEnumName(TypeInfo<TBitBtnKind>(), c.Kind));
  // Changing what the kind stands for makes the button a custom one.
  btn->ModalResult = 99;
  EXPECT_EQ(btn->GetKind(), bkCustom);
}

INSTANTIATE_TEST_SUITE_P(Buttons, BitBtnKind, testing::ValuesIn(KindCases),
                         [](const auto& info) { return GetEnumName(TypeInfo<TBitBtnKind>(), info.param.Kind); });

TEST_F(ControlsTest, BitBtnKindTurnsCustomWhenItsRoleOrPictureChanges) {
  auto* btn = Add<TBitBtn>(nullptr, "btn");
  btn->SetKind(bkOK);
  btn->SetDefault(false);
  EXPECT_EQ(btn->GetKind(), bkCustom);
  btn->SetKind(bkCancel);
  EXPECT_EQ(btn->GetKind(), bkCancel);
  TBitmap b;
  btn->SetGlyph(Strip(b, {clRed}));
  EXPECT_EQ(btn->GetKind(), bkCustom);
}

TEST_F(ControlsTest, BitBtnClickSetsTheFormsModalResultAndCloseClosesIt) {
  auto* ok = Add<TBitBtn>(nullptr, "btnOk");
  ok->SetKind(bkOK);
  ok->OnClick = TNotifyEvent(&Log, &TEventLog::Notify);
  EXPECT_TRUE(ClickControl(ok));
  EXPECT_EQ(Form->ModalResult, mrOk);
  EXPECT_EQ(Log.Take(), (TLog{"notify:btnOk"}));
  auto* close = Add<TBitBtn>(nullptr, "btnClose");
  close->SetKind(bkClose);
  close->OnClick = TNotifyEvent(&Log, &TEventLog::Notify);
  EXPECT_TRUE(Form->GetVisible());
  ClickControl(close);
  EXPECT_FALSE(Form->GetVisible());
  EXPECT_TRUE(Log.Take().empty());
}

TEST_F(ControlsTest, BitBtnPaintsItsGlyphBesideTheCaption) {
  auto* btn = Add<TBitBtn>(nullptr, "btn");
  btn->SetBounds(0, 0, 75, 25);
  TBitmap b;
  btn->SetGlyph(Strip(b, {clRed}));
  btn->SetCaption("OK");
  btn->SetMargin(4);
  btn->Repaint();
  // Glyph at left 4, vertically centred ((25 - 8 + 1) / 2 = 9).
  EXPECT_EQ(btn->GetCanvas()->GetPixels(6, 12), clRed);
  EXPECT_EQ(btn->GetCanvas()->GetPixels(4, 9), RGB(212, 208, 200));
}

}  // namespace
