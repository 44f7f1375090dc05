#include "module/framework/KVForm.h"

#include "module/controls/GSpdBtn.h"
#include "module/services/LogWriters.h"
#include "platform/ole/Variants.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/Files.h"

#include <vector>

TAVO_PUBLISHED(TKVForm, TForm) {
  P.Field("KvConverter", &TKVForm::KvConverter);
  P.Field("LangController", &TKVForm::LangController);
  P.Method("FormCreate", &TKVForm::FormCreate);
  P.Method("FormShow", &TKVForm::FormShow);
}

namespace {
const TClassRegistration KVFormClasses{TKVForm::StaticClass()};
}

TKVForm::TKVForm(TComponent* AOwner) : TForm(AOwner) {}

void TKVForm::FormCreate(TObject*) {
  CaptionsConverted = false;
  const bool english = GetUICodePage() == "437";
  // A copy: a component's setter may create or free components of the form.
  const std::vector<TComponent*> components = Components();
  for (TComponent* component : components) {
    PPropInfo imeName = GetPropInfo(component, "ImeName");
    if (imeName && imeName->Kind() == tkString && imeName->IsWritable()) SetStrProp(component, imeName, "");
    if (english) {
      PPropInfo fontProp = GetPropInfo(component, "Font");
      auto* font = fontProp && fontProp->Kind() == tkClass ? dynamic_cast<TFont*>(GetObjectProp(component, fontProp->Name))
                                                          : nullptr;
      if (font) {
        font->SetCharset(GB2312_CHARSET);
        font->SetName("Tahoma");
      }
    }
#ifndef TAVO_LEGACY
    GiveDisabledImages(component);
#endif
  }
}

void TKVForm::FormShow(TObject*) { LoadLanguage(this, true); }

void TKVForm::LoadLanguage(TComponent* target, bool withAncestors) {
  ApplyLanguagePackages(target, withAncestors, nullptr);
}

void TKVForm::LoadOwnLanguage(TComponent* target, bool withAncestors) {
  ApplyLanguagePackages(target, withAncestors, TKVForm::StaticClass());
}

void TKVForm::ApplyLanguagePackages(TComponent* target, bool withAncestors, const TMetaClass* stopAt) {
  if (!target || !LangController) return;
  std::vector<AnsiString> packages;
  if (withAncestors) {
    for (const TMetaClass* cls = target->ClassType(); cls && cls != TForm::StaticClass() && cls != stopAt;
         cls = cls->ClassParent())
      packages.insert(packages.begin(), cls->ClassName());
  } else {
    packages.push_back(target->ClassName());
  }
  for (const AnsiString& package : packages) {
    LangController->SetLangPackageName(package);
    if (!FileExists(LangController->GetFileName())) continue;
    try {
      LangController->SetActive(true);
      LangController->GetReader()->ReadComponent(target);
    } catch (const Exception& e) {
      // One unreadable package must not keep the form from showing in the others' texts.
      WriteAlertLog("KVForm", LangController->GetFileName() + ": " + e.Message, "D");
    }
  }
}

void TKVForm::ConvertCaptions() {
  if (CaptionsConverted) return;
  if (KvConverter) KvConverter->ConvertForm(this, "", true);
  CaptionsConverted = true;
}

AnsiString TKVForm::GetSystemCodePage() const { return KvConverter ? KvConverter->SystemCodePage : "936"; }
AnsiString TKVForm::GetUICodePage() const { return KvConverter ? KvConverter->UICodePage : "936"; }
BYTE TKVForm::GetUIConvertMode() const { return KvConverter ? KvConverter->UIConvertMode : 0; }
BYTE TKVForm::GetDBConvertMode() const { return KvConverter ? KvConverter->DBConvertMode : 0; }

void TKVForm::GetLangText(const AnsiString& section, const AnsiString& key, AnsiString& text, bool convertDefault,
                          const AnsiString& defaultText) {
  AnsiString fallback = defaultText;
  if (convertDefault && KvConverter) fallback = VarToStr(KvConverter->ConvertForDisplay(Variant(defaultText)));
  text = LookupMessage(LangController ? LangController->DesignType : dtClient, section, key, fallback);
}

int TKVForm::MessageBox(const AnsiString& text, TMsgDlgType dlgType, TMsgDlgButtons buttons) {
  if (KvConverter) return KvConverter->ShowMessageBox(text, dlgType, buttons);
  return text.empty() ? 0 : MessageDlg(text, dlgType, buttons, 0);
}

#ifndef TAVO_LEGACY

void AppendDisabledImage(TBitmap* glyph) {
  glyph->SetPixelFormat(pf24bit);
  const int width = glyph->GetWidth(), height = glyph->GetHeight();
  if (width <= 0 || height <= 0) return;
  const TColor transparent = ColorToRGB(glyph->GetTransparentColor());
  const TCanvas* source = glyph->GetCanvas();
  const auto pixel = [&](int x, int y) { return source->GetPixels(x, y); };

  // The pixels to etch: dark ones, and light ones beside the background (a pixel on the
  // border stands in for its missing neighbour). The mask's other pixels are white, not
  // the transparent colour, so a black background cannot pass for pixels to etch.
  TBitmap mask;
  mask.SetPixelFormat(pf24bit);
  mask.SetSize(width, height);
  TCanvas* maskCanvas = mask.GetCanvas();
  maskCanvas->GetBrush()->SetColor(clWhite);
  maskCanvas->FillRect(Rect(0, 0, width, height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const TColor c = pixel(x, y);
      if (c == transparent) continue;
      const int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
      const auto isBackground = [&](int nx, int ny) {
        const bool inside = nx >= 0 && ny >= 0 && nx < width && ny < height;
        return (inside ? pixel(nx, ny) : c) == transparent;
      };
      if (sum < 384 || isBackground(x, y - 1) || isBackground(x, y + 1) || isBackground(x - 1, y) ||
          isBackground(x + 1, y))
        maskCanvas->SetPixels(x, y, clBlack);
    }
  maskCanvas->GetBrush()->SetColor(clBlack);
  mask.SetMonochrome(true);

  TBitmap disabled;
  disabled.SetPixelFormat(pf24bit);
  disabled.SetSize(width, height);
  TCanvas* canvas = disabled.GetCanvas();
  canvas->GetBrush()->SetColor(clBtnFace);
  canvas->FillRect(Rect(0, 0, width, height));
  const auto etch = [&](TColor color, int offset) {
    canvas->GetBrush()->SetColor(color);
    SetTextColor(canvas, clBlack);
    SetBkColor(canvas, clWhite);
    BitBlt(canvas, offset, offset, width, height, maskCanvas, 0, 0, ROP_DSPDxax);
  };
  etch(clBtnHighlight, 1);
  etch(clBtnShadow, 0);

  TBitmap original;
  original.Assign(glyph);
  TCanvas* target = glyph->GetCanvas();
  target->GetBrush()->SetColor(transparent);
  glyph->SetSize(2 * width, height);
  target->FillRect(Rect(0, 0, 2 * width, height));
  BitBlt(target, 0, 0, width, height, original.GetCanvas(), 0, 0, SRCCOPY);
  BitBlt(target, width, 0, width, height, canvas, 0, 0, SRCCOPY);
}

namespace {

template <class TButtonClass>
void GiveDisabledImage(TButtonClass* button) {
  TBitmap* glyph = button->GetGlyph();
  if (!glyph || glyph->GetEmpty() || button->GetNumGlyphs() != 1) return;
  TBitmap widened;
  widened.Assign(glyph);
  AppendDisabledImage(&widened);
  button->SetGlyph(&widened);
  button->SetNumGlyphs(2);
}

}  // namespace

void GiveDisabledImages(TComponent* component) {
  if (auto* carrier = dynamic_cast<IEmbeddedButtons*>(component)) {
    for (TSpeedButton* button : carrier->EmbeddedButtons())
      if (button) GiveDisabledImage(button);
  } else if (auto* speedButton = dynamic_cast<TSpeedButton*>(component)) {
    GiveDisabledImage(speedButton);
  } else if (auto* bitButton = dynamic_cast<TBitBtn*>(component)) {
    GiveDisabledImage(bitButton);
  }
}

#endif
