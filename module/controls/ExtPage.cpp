#include "module/controls/ExtPage.h"

TAVO_PUBLISHED(TExtPageControl, TPageControl) {}

namespace {
const TClassRegistration ExtPageClasses{TExtPageControl::StaticClass()};
}  // namespace

TExtPageControl::TExtPageControl(TComponent* AOwner) : TPageControl(AOwner) { SetOwnerDraw(true); }

void TExtPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
  if (OnDrawTab) {
    OnDrawTab(this, tabIndex, rect, active);
    return;
  }
  TCanvas* canvas = GetCanvas();
  TRect r = rect;
  TFontStyles style = canvas->GetFont()->GetStyle();
  if (active) {
    InflateRect(r, -2, -2);
    canvas->GetFont()->SetColor(clCaptionText);
    canvas->GetFont()->SetStyle(style.Include(fsBold));
    canvas->GetBrush()->SetColor(clActiveCaption);
  } else {
    canvas->GetFont()->SetColor(clInactiveCaptionText);
    canvas->GetFont()->SetStyle(style.Exclude(fsBold));
    canvas->GetBrush()->SetColor(clInactiveCaption);
  }
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->FillRect(r);
  if (!active) r.Top += 2;
  TTabSheet* page = PageForTab(tabIndex);
  DrawText(canvas, page ? page->GetCaption() : AnsiString(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
