#include "module/controls/GSpdBtn.h"

#include "outside/glyphbank/Glyphbank.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/Dialogs.h"

#include <vector>

namespace {

// The imported library: its pictures arrive as BMP files.
class TGlyphbank : public TGlyphSource {
public:
  int GetMaxBmpID() override { return ::GetMaxBmpID(); }

  bool LoadBmp(TBitmap* bitmap, int number) override {
    const int size = ::LoadBmp(number, nullptr, 0);
    if (size <= 0) return false;
    std::vector<unsigned char> bytes(static_cast<size_t>(size));
    if (::LoadBmp(number, bytes.data(), size) != size) return false;
    bitmap->LoadFromBuffer(bytes.data(), bytes.size());
    return true;
  }
};

TGlyphSource* InstalledSource = nullptr;

}  // namespace

TGlyphSource* GetGlyphSource() {
  static TGlyphbank library;
  return InstalledSource ? InstalledSource : &library;
}

void SetGlyphSource(TGlyphSource* source) { InstalledSource = source; }

TAVO_PUBLISHED(TGSpeedButton, TSpeedButton) {
  P.Int("GlyphIndex", &TGSpeedButton::GetGlyphIndex, &TGSpeedButton::SetGlyphIndex);
  P.Int("HintIndex", &TGSpeedButton::HintIndex, &TGSpeedButton::HintIndex);
}

const TClassRegistration GSpeedButtonClasses{TGSpeedButton::StaticClass()};

TGSpeedButton::TGSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

void TGSpeedButton::SetGlyphIndex(int value) {
  if (value == FGlyphIndex) return;
  FGlyphIndex = value;
  SetCaption(IntToStr(value));
  try {
    TGlyphSource* source = GetGlyphSource();
    // Numbers outside the library, negative ones included, give a button without a
    // picture rather than an error.
    if (value <= 0 || value > source->GetMaxBmpID()) {
      SetGlyph(nullptr);
      return;
    }
    TBitmap picture;
    if (!source->LoadBmp(&picture, value)) return;
    SetGlyph(&picture);
    SetCaption("");
    const int height = picture.GetHeight();
    SetNumGlyphs(height > 0 ? picture.GetWidth() / height : 1);
  } catch (const std::exception&) {
    MessageDlg("读取 BMP 发生错误", mtError, TMsgDlgButtons{mbOK}, 0);
  }
}
