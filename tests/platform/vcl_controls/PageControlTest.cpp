#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/platform/vcl_controls/ControlsFixture.h"

#include <map>
#include <tuple>

namespace {

class TPageLog : public TEventLog {
public:
  bool Allow = true;
  TWinControl* Hold = nullptr;  // an exit handler keeps the focus here
  std::vector<std::tuple<int, std::string, bool, TRect>> Drawn;

  void Changing(TObject* sender, bool& allow) {
    Add("changing");
    allow = Allow;
  }
  void Change(TObject* sender) { Add("change:" + NameOf(static_cast<TPageControl*>(sender)->GetActivePage())); }
  void DrawTab(TCustomTabControl* control, int tabIndex, const TRect& rect, bool active) {
    auto* pc = static_cast<TPageControl*>(control);
    Drawn.emplace_back(tabIndex, pc->PageForTab(tabIndex)->GetCaption(), active, rect);
  }
  void KeepFocus(TObject* sender) {
    if (Hold) Hold->SetFocus();
  }
};

class PageControlTest : public ControlsTest {
protected:
  void SetUp() override {
    ControlsTest::SetUp();
    Pages = Add<TPageControl>(nullptr, "pc");
    Pages->SetBounds(0, 0, 400, 300);
    const char* captions[] = {"One", "Two", "Three", "Four"};
    for (int i = 0; i < 4; ++i) {
      Sheets[i] = new TTabSheet(Form);
      Sheets[i]->SetName("ts" + std::to_string(i));
      Sheets[i]->SetCaption(captions[i]);
      Sheets[i]->SetPageControl(Pages);
      Edits[i] = Add<TEdit>(Sheets[i], ("ed" + std::to_string(i)).c_str());
    }
    Pages->OnChanging = TTabChangingEvent(&PageLog, &TPageLog::Changing);
    Pages->OnChange = TNotifyEvent(&PageLog, &TPageLog::Change);
  }
  TPageControl* Pages = nullptr;
  TTabSheet* Sheets[4] = {};
  TEdit* Edits[4] = {};
  TPageLog PageLog;
};

TEST_F(PageControlTest, TheFirstPageIsActiveAndOnlyItShows) {
  EXPECT_EQ(Pages->GetPageCount(), 4);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
  EXPECT_TRUE(Sheets[0]->GetVisible());
  EXPECT_FALSE(Sheets[1]->GetVisible());
  EXPECT_EQ(Sheets[2]->GetPageIndex(), 2);
  Pages->SetActivePageIndex(2);
  EXPECT_TRUE(Sheets[2]->GetVisible());
  EXPECT_FALSE(Sheets[0]->GetVisible());
  EXPECT_EQ(Pages->GetTabIndex(), 2);
  // Setting the page in code raises no events.
  EXPECT_TRUE(PageLog.Take().empty());
  // The pages fill the display rectangle below the tabs.
  EXPECT_EQ(Sheets[3]->GetBoundsRect(), Pages->DisplayRect());
  EXPECT_GT(Pages->DisplayRect().Top, Pages->TabRect(0).Top);
}

TEST_F(PageControlTest, SelectNextPageWrapsBothWays) {
  Pages->SetActivePage(Sheets[3]);
  Pages->SelectNextPage(true);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
  EXPECT_EQ(PageLog.Take(), (TLog{"changing", "change:ts0"}));
  Pages->SelectNextPage(false);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[3]);
  // A hidden tab is skipped unless asked otherwise.
  Sheets[0]->SetTabVisible(false);
  Pages->SelectNextPage(true);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[1]);
  Pages->SelectNextPage(false, false);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
}

TEST_F(PageControlTest, FindNextPageStartsFromTheEndForAForeignPage) {
  TTabSheet stray(Form);
  EXPECT_EQ(Pages->FindNextPage(&stray, true, true), Sheets[0]);
  EXPECT_EQ(Pages->FindNextPage(&stray, false, true), Sheets[3]);
  EXPECT_EQ(Pages->FindNextPage(nullptr, true, true), Sheets[0]);
  for (TTabSheet* s : Sheets) s->SetTabVisible(false);
  EXPECT_EQ(Pages->FindNextPage(Sheets[0], true, true), nullptr);
  EXPECT_EQ(Pages->FindNextPage(Sheets[0], true, false), Sheets[1]);
}

TEST_F(PageControlTest, OnChangingCanVetoTheChange) {
  PageLog.Allow = false;
  Pages->SelectNextPage(true);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
  EXPECT_FALSE(Pages->ClickTab(2));
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
  EXPECT_EQ(PageLog.Take(), (TLog{"changing", "changing"}));
  PageLog.Allow = true;
  EXPECT_TRUE(Pages->ClickTab(2));
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
  EXPECT_EQ(PageLog.Take(), (TLog{"changing", "change:ts2"}));
  EXPECT_FALSE(Pages->ClickTab(2));  // already there: nothing happens
  EXPECT_TRUE(PageLog.Take().empty());
}

TEST_F(PageControlTest, AnExitHandlerKeepingTheFocusStopsATabClick) {
  Edits[0]->SetFocus();
  PageLog.Hold = Edits[0];
  Edits[0]->OnExit = TNotifyEvent(&PageLog, &TPageLog::KeepFocus);
  EXPECT_FALSE(Pages->ClickTab(1));
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
  EXPECT_TRUE(Edits[0]->Focused());
  EXPECT_TRUE(PageLog.Take().empty());
  PageLog.Hold = nullptr;
  EXPECT_TRUE(Pages->ClickTab(1));
  EXPECT_EQ(Pages->GetActivePage(), Sheets[1]);
}

// A press of the left button at a point of the control's client area, and its release.
void PressAt(TControl* control, int x, int y) {
  control->Perform(WM_LBUTTONDOWN, 0, (static_cast<LPARAM>(y) << 16) | x);
  control->Perform(WM_LBUTTONUP, 0, (static_cast<LPARAM>(y) << 16) | x);
}

TEST_F(PageControlTest, PressingOnATabTurnsToItsPage) {
  Pages->SetTabWidth(40);
  Pages->SetTabHeight(20);
  PressAt(Pages, 2 + 40 * 2 + 5, 10);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
  EXPECT_TRUE(Pages->Focused());
  EXPECT_EQ(PageLog.Take(), (TLog{"changing", "change:ts2"}));
  PressAt(Pages, 200, 150);  // on the page, not a tab
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
  EXPECT_TRUE(PageLog.Take().empty());
  // The focus kept elsewhere by an exit handler keeps the page too.
  Edits[2]->SetFocus();
  PageLog.Hold = Edits[2];
  Edits[2]->OnExit = TNotifyEvent(&PageLog, &TPageLog::KeepFocus);
  PressAt(Pages, 10, 10);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
}

TEST_F(PageControlTest, ArrowKeysMoveBetweenNeighbouringTabsWithoutWrapping) {
  Pages->SetFocus();
  PressKey(Pages, VK_LEFT);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
  PressKey(Pages, VK_RIGHT);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[1]);
  EXPECT_EQ(PageLog.Take(), (TLog{"changing", "change:ts1"}));
}

TEST_F(PageControlTest, CtrlTabTurnsThePageAndTheFocusFollows) {
  Edits[0]->SetFocus();
  PressKey(Edits[0], VK_TAB, {ssCtrl});
  EXPECT_EQ(Pages->GetActivePage(), Sheets[1]);
  EXPECT_TRUE(Edits[1]->Focused());
  EXPECT_EQ(PageLog.Take(), (TLog{"changing", "change:ts1"}));
  PressKey(Edits[1], VK_TAB, {ssCtrl, ssShift});
  EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
  EXPECT_TRUE(Edits[0]->Focused());
}

TEST_F(PageControlTest, HidingTheActiveTabActivatesTheOneTakingItsPlace) {
  Pages->SetActivePage(Sheets[1]);
  Sheets[1]->SetTabVisible(false);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
  EXPECT_EQ(Sheets[1]->GetTabIndex(), -1);
  EXPECT_EQ(Sheets[2]->GetTabIndex(), 1);
  Pages->SetActivePage(Sheets[3]);
  Sheets[3]->SetTabVisible(false);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);  // the last visible tab
  EXPECT_EQ(Pages->TabCount(), 2);
}

TEST_F(PageControlTest, FreeingTheActivePageActivatesTheNext) {
  Pages->SetActivePage(Sheets[1]);
  delete Sheets[1];
  EXPECT_EQ(Pages->GetPageCount(), 3);
  EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
  EXPECT_EQ(Sheets[2]->GetPageIndex(), 1);
  Sheets[3]->SetPageIndex(0);
  EXPECT_EQ(Pages->GetPage(0), Sheets[3]);
  EXPECT_THROW(Pages->GetPage(7), EListError);
}

TEST_F(PageControlTest, OwnerDrawnTabsCountVisibleTabsOnly) {
  Pages->SetOwnerDraw(true);
  Pages->OnDrawTab = TDrawTabEvent(&PageLog, &TPageLog::DrawTab);
  Sheets[1]->SetTabVisible(false);
  Pages->SetActivePage(Sheets[2]);
  Pages->Repaint();
  ASSERT_EQ(PageLog.Drawn.size(), 3u);
  std::map<int, std::pair<std::string, bool>> seen;
  for (const auto& [index, caption, active, rect] : PageLog.Drawn) {
    seen[index] = {caption, active};
    EXPECT_EQ(rect, Pages->TabRect(index));
  }
  EXPECT_EQ(seen[0], std::make_pair(std::string("One"), false));
  EXPECT_EQ(seen[1], std::make_pair(std::string("Three"), true));
  EXPECT_EQ(seen[2], std::make_pair(std::string("Four"), false));
  // The active tab is 2 pixels larger on every side.
  Pages->SetTabWidth(40);
  Pages->SetTabHeight(20);
  EXPECT_EQ(Pages->TabRect(0), Bounds(2, 2, 40, 20));
  EXPECT_EQ(Pages->TabRect(1), Bounds(40, 0, 44, 24));
  EXPECT_EQ(Pages->IndexOfTabAt(90, 10), 2);
}

TEST_F(PageControlTest, PublishedPropertiesReachThePages) {
  SetPropTextByPath(Pages, "TabHeight", "30");
  EXPECT_EQ(Pages->GetTabHeight(), 30);
  EXPECT_EQ(Sheets[0]->GetBoundsRect(), Pages->DisplayRect());
  EXPECT_EQ(GetPropTextByPath(Sheets[2], "TabVisible"), "True");
  SetPropTextByPath(Sheets[2], "TabVisible", "False");
  EXPECT_FALSE(Sheets[2]->GetTabVisible());
}

}  // namespace
