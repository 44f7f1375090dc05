// The base form gives the lookup buttons that controls carry inside them a disabled
// image, as it does for its own buttons.
#include "KVFormFixture.h"

#include "module/controls/KvEdit.h"
#include "module/controls/SelectPnl.h"

using namespace kvform;

class TfrmEmbedded : public TKVForm {
  TAVO_CLASS(TfrmEmbedded, TKVForm)
public:
  explicit TfrmEmbedded(TComponent* AOwner) : TKVForm(AOwner) {
    sp01 = new TSelectPanel(this);
    sp01->SetName("sp01");
    sp01->SetParent(this);
#ifndef TAVO_LEGACY
    ed02 = new TKvBtnDBEdit(this);
    ed02->SetName("ed02");
    ed02->SetParent(this);
#endif
  }
  TSelectPanel* sp01;
#ifndef TAVO_LEGACY
  TKvBtnDBEdit* ed02;
#endif
};

TAVO_CLASS_IMPL(TfrmEmbedded, TKVForm)

namespace {

TEST_F(KVFormTest, ButtonsInsideControlsGetADisabledImage) {
  Install({});
  auto* form = Create<TfrmEmbedded>();
#ifndef TAVO_LEGACY
  const int frames = 2;
#else
  const int frames = 1;
#endif
  std::vector<std::pair<const char*, TSpeedButton*>> buttons = {
      {"btnBegin", form->sp01->btnBegin}, {"btnFinal", form->sp01->btnFinal}, {"btnList", form->sp01->btnList}};
#ifndef TAVO_LEGACY
  buttons.emplace_back("ed02 button", form->ed02->GetF2Button());
#endif
  for (const auto& [name, button] : buttons) {
    SCOPED_TRACE(name);
    ASSERT_NE(button, nullptr);
    ASSERT_FALSE(button->GetGlyph()->GetEmpty());
    EXPECT_EQ(button->GetNumGlyphs(), frames);
    EXPECT_EQ(button->GetGlyph()->GetWidth(), button->GetGlyph()->GetHeight() * frames);
  }
}

}  // namespace
