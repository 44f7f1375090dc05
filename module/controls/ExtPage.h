// TExtPageControl: the page control whose tabs are always owner-drawn, by OnDrawTab when
// it is assigned and otherwise in the caption colours, the active tab bold.
#pragma once

#include "platform/vcl/ComCtrls.h"

class TExtPageControl : public TPageControl {
  TAVO_CLASS(TExtPageControl, TPageControl)
public:
  explicit TExtPageControl(TComponent* AOwner);

protected:
  // tabIndex counts visible tabs only, so hidden pages take no tab.
  void DrawTab(int tabIndex, const TRect& rect, bool active) override;
};
