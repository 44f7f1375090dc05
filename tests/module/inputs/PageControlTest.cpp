#include "module/controls/ExtPage.h"
#include "tests/module/inputs/InputsFixture.h"

#include <ostream>
#include <tuple>

namespace {

class ExtPageControlTest : public InputsTest {
protected:
  void SetUp() override {
    InputsTest::SetUp();
    Pages = Add<TExtPageControl>(nullptr, "pcOptions");
    Pages->SetBounds(0, 0, 400, 300);
    Pages->GetFont()->SetHeight(-11);
    for (const char* caption : {"A", "BBBBB", "CCC", "DD"}) {
      auto* sheet = new TTabSheet(Form);
      sheet->SetCaption(caption);
      sheet->SetPageControl(Pages);
    }
    Pages->SetActivePageIndex(0);
  }
  TCanvas* Canvas() const { return Pages->GetCanvas(); }
  TExtPageControl* Pages = nullptr;
};

TEST_F(ExtPageControlTest, StartsOwnerDrawn) { EXPECT_TRUE(Pages->GetOwnerDraw()); }

struct TabCase {
  const char* Name;
  int HiddenPage;   // -1: none
  int Tab;
  int Characters;   // of the caption drawn on that tab
};

std::ostream& operator<<(std::ostream& os, const TabCase& c) { return os << c.Name; }

const TabCase TabCases[] = {
    {"AllVisibleSecondTab", -1, 1, 5},
    {"AllVisibleThirdTab", -1, 2, 3},
    {"SecondHiddenSecondTabShowsThirdPage", 1, 1, 3},
    {"FirstHiddenFirstTabShowsSecondPage", 0, 0, 5},
};

class ExtPageTabTest : public ExtPageControlTest, public testing::WithParamInterface<TabCase> {};

TEST_P(ExtPageTabTest, ATabShowsTheCaptionOfTheNthPageWithAVisibleTab) {
  const TabCase& c = GetParam();
  if (c.HiddenPage >= 0) Pages->GetPage(c.HiddenPage)->SetTabVisible(false);
  Pages->SetActivePageIndex(3);
  ASSERT_NE(Pages->GetTabIndex(), c.Tab);
  Pages->Repaint();
  const TRect tab = Pages->TabRect(c.Tab);
  EXPECT_EQ(MostInkRuns(Canvas(), tab, clInactiveCaptionText), c.Characters);
}

INSTANTIATE_TEST_SUITE_P(Tabs, ExtPageTabTest, testing::ValuesIn(TabCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ExtPageControlTest, TheActiveTabIsShrunkAndBoldInTheActiveCaptionColours) {
  Pages->Repaint();
  const TRect active = Pages->TabRect(0);
  const TRect inactive = Pages->TabRect(1);
  // Filled two pixels inside its rectangle ...
  EXPECT_EQ(Canvas()->GetPixels(active.Left + 2, active.Top + 2), ColorToRGB(clActiveCaption));
  EXPECT_NE(Canvas()->GetPixels(active.Left + 1, active.Top + 1), ColorToRGB(clActiveCaption));
  EXPECT_EQ(MostInkRuns(Canvas(), active, clCaptionText), 1);
  // The active tab is drawn last, so its bold font is what the canvas keeps.
  EXPECT_TRUE(Canvas()->GetFont()->GetStyle().Contains(fsBold));
  // ... the inactive ones over their whole rectangle, text two pixels lower.
  EXPECT_EQ(Canvas()->GetPixels(inactive.Left, inactive.Top), ColorToRGB(clInactiveCaption));
  EXPECT_EQ(MostInkRuns(Canvas(), inactive, clInactiveCaptionText), 5);
  int firstInkRow = -1;
  for (int y = inactive.Top; y < inactive.Bottom && firstInkRow < 0; ++y)
    if (InkRuns(Canvas(), y, inactive.Left, inactive.Right, clInactiveCaptionText) > 0) firstInkRow = y;
  const int cell = 11;
  EXPECT_EQ(firstInkRow, inactive.Top + 2 + (inactive.Height() - 2 - cell) / 2 + 1);
}

// Records the tab drawings OnDrawTab is asked for.
class TTabLog : public TObject {
public:
  std::vector<std::tuple<TCustomTabControl*, int, TRect, bool>> Calls;
  void DrawTab(TCustomTabControl* control, int index, const TRect& rect, bool active) {
    Calls.emplace_back(control, index, rect, active);
  }
};

TEST_F(ExtPageControlTest, AnAssignedOnDrawTabDrawsEveryVisibleTabInstead) {
  TTabLog log;
  Pages->GetPage(0)->SetTabVisible(false);
  Pages->SetActivePageIndex(2);
  SetMethodProp(Pages, "OnDrawTab", TDrawTabEvent(&log, &TTabLog::DrawTab).Method);
  Pages->Repaint();
  ASSERT_EQ(log.Calls.size(), 3u);
  EXPECT_EQ(log.Calls[0], std::make_tuple(static_cast<TCustomTabControl*>(Pages), 0, Pages->TabRect(0), false));
  EXPECT_EQ(log.Calls[1], std::make_tuple(static_cast<TCustomTabControl*>(Pages), 2, Pages->TabRect(2), false));
  EXPECT_EQ(log.Calls[2], std::make_tuple(static_cast<TCustomTabControl*>(Pages), 1, Pages->TabRect(1), true));
  const TRect first = Pages->TabRect(0);
  EXPECT_NE(Canvas()->GetPixels((first.Left + first.Right) / 2, first.Top + 1), ColorToRGB(clInactiveCaption));
}

}  // namespace
