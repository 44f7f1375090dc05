#include "platform/vcl/Graphics.h"

#include "platform/win/Files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

// ---- Geometry -------------------------------------------------------------------------

bool IntersectRect(TRect& result, const TRect& a, const TRect& b) {
  result = TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                 std::min(a.Bottom, b.Bottom)};
  if (result.IsEmpty()) {
    result = TRect{};
    return false;
  }
  return true;
}

void InflateRect(TRect& rect, int dx, int dy) {
  rect.Left -= dx;
  rect.Right += dx;
  rect.Top -= dy;
  rect.Bottom += dy;
}

void OffsetRect(TRect& rect, int dx, int dy) {
  rect.Left += dx;
  rect.Right += dx;
  rect.Top += dy;
  rect.Bottom += dy;
}

// ---- Colours --------------------------------------------------------------------------

namespace {

constexpr TColor SysColors[] = {
    RGB(212, 208, 200),  // scroll bar
    RGB(58, 110, 165),   // desktop
    RGB(10, 36, 106),    // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(212, 208, 200),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(212, 208, 200),  // active border
    RGB(212, 208, 200),  // inactive border
    RGB(128, 128, 128),  // application work space
    RGB(10, 36, 106),    // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(212, 208, 200),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(212, 208, 200),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(64, 64, 64),     // 3-D dark shadow
    RGB(212, 208, 200),  // 3-D light
    RGB(0, 0, 0),        // tooltip text
    RGB(255, 255, 225),  // tooltip background
    RGB(181, 181, 181),  // (unused slot)
    RGB(0, 0, 128),      // hot-tracked item
    RGB(166, 202, 240),  // active caption gradient
    RGB(192, 192, 192),  // inactive caption gradient
    RGB(10, 36, 106),    // menu highlight
    RGB(212, 208, 200),  // menu bar
};

constexpr TIdentMapEntry ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

constexpr TIdentMapEntry CharsetNames[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

// crSizeAll precedes its alias crSize, so -22 is written as crSizeAll.
constexpr TIdentMapEntry CursorNames[] = {
    {crDefault, "crDefault"},   {crNone, "crNone"},         {crArrow, "crArrow"},
    {crCross, "crCross"},       {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},     {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},   {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},     {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"}, {crNo, "crNo"},
    {crAppStart, "crAppStart"}, {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},   {crSize, "crSize"},
};

}  // namespace

TColor GetSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(SysColors))) return clBlack;
  return SysColors[index];
}

TColor ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return color;
}

std::span<const TIdentMapEntry> ColorIdents() { return ColorNames; }
std::span<const TIdentMapEntry> CharsetIdents() { return CharsetNames; }
std::span<const TIdentMapEntry> CursorIdents() { return CursorNames; }

bool ColorToIdent(int color, AnsiString& ident) { return IntToIdent(color, ident, ColorNames); }
bool IdentToColor(const AnsiString& ident, int& color) { return IdentToInt(ident, color, ColorNames); }
bool CharsetToIdent(int charset, AnsiString& ident) { return IntToIdent(charset, ident, CharsetNames); }
bool IdentToCharset(const AnsiString& ident, int& charset) {
  return IdentToInt(ident, charset, CharsetNames);
}
bool CursorToIdent(int cursor, AnsiString& ident) { return IntToIdent(cursor, ident, CursorNames); }
bool IdentToCursor(const AnsiString& ident, int& cursor) { return IdentToInt(ident, cursor, CursorNames); }

namespace {

const struct TIntegerConstsRegistration {
  TIntegerConstsRegistration() {
    RegisterIntegerConsts("TColor", IdentToColor, ColorToIdent);
    RegisterIntegerConsts("TFontCharset", IdentToCharset, CharsetToIdent);
    RegisterIntegerConsts("TCursor", IdentToCursor, CursorToIdent);
  }
} IntegerConstsRegistration;

}  // namespace

AnsiString ColorToString(TColor color) {
  AnsiString ident;
  if (ColorToIdent(color, ident)) return ident;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%.8X", static_cast<unsigned>(color));
  return buf;
}

TColor StringToColor(const AnsiString& text) {
  int color = 0;
  if (IdentToColor(text, color)) return color;
  // Delphi's StrToInt: optional blanks and sign, decimal or "$"/"0x" hexadecimal,
  // hexadecimal taken as the 32-bit pattern.
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  const size_t start = i;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      break;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) break;
  }
  const bool fits = base == 16 ? value <= 0xFFFFFFFFull : value <= (negative ? 0x80000000ull : 0x7FFFFFFFull);
  if (i == start || i != text.size() || !fits)
    throw EConvertError("'" + text + "' is not a valid integer value");
  const int64_t signedValue = base == 16 ? static_cast<int32_t>(static_cast<uint32_t>(value))
                                         : static_cast<int64_t>(value);
  return static_cast<TColor>(negative ? -signedValue : signedValue);
}

// ---- Graphics objects -----------------------------------------------------------------

TAVO_CLASS_IMPL(TGraphicsObject, TPersistent)

TAVO_PUBLISHED(TFont, TGraphicsObject) {
  P.Int("Charset", &TFont::GetCharset, &TFont::SetCharset, "TFontCharset");
  P.Int("Color", &TFont::GetColor, &TFont::SetColor, "TColor");
  P.Int("Height", &TFont::GetHeight, &TFont::SetHeight);
  P.Str("Name", &TFont::GetName, &TFont::SetName);
  P.Enum("Pitch", &TFont::GetPitch, &TFont::SetPitch);
  P.Int("Size", &TFont::GetSize, &TFont::SetSize);
  P.Set("Style", &TFont::GetStyle, &TFont::SetStyle);
}

TAVO_PUBLISHED(TBrush, TGraphicsObject) {
  P.Int("Color", &TBrush::GetColor, &TBrush::SetColor, "TColor");
  P.Enum("Style", &TBrush::GetStyle, &TBrush::SetStyle);
}

TAVO_PUBLISHED(TPen, TGraphicsObject) {
  P.Int("Color", &TPen::GetColor, &TPen::SetColor, "TColor");
  P.Enum("Mode", &TPen::GetMode, &TPen::SetMode);
  P.Enum("Style", &TPen::GetStyle, &TPen::SetStyle);
  P.Int("Width", &TPen::GetWidth, &TPen::SetWidth);
}

void TGraphicsObject::Changed() { OnChange(this); }

namespace {

// Windows' MulDiv: the product in 64 bits, rounded half away from zero.
int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t p = static_cast<int64_t>(a) * b;
  const int64_t q = (std::llabs(p) * 2 + std::llabs(c)) / (2 * std::llabs(c));
  return static_cast<int>(((p < 0) != (c < 0)) ? -q : q);
}

template <class T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

TFont::TFont() = default;

void TFont::Assign(const TPersistent* source) {
  if (auto* f = dynamic_cast<const TFont*>(source)) {
    FName = f->FName;
    FCharset = f->FCharset;
    FColor = f->FColor;
    FHeight = f->FHeight;
    FStyle = f->FStyle;
    FPitch = f->FPitch;
    if (f->PixelsPerInch != PixelsPerInch) FHeight = MulDiv(FHeight, PixelsPerInch, f->PixelsPerInch);
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

void TFont::SetName(const AnsiString& v) {
  if (!v.empty() && Store(FName, v)) Changed();
}
void TFont::SetCharset(TFontCharset v) {
  if (Store(FCharset, v)) Changed();
}
void TFont::SetColor(TColor v) {
  if (Store(FColor, v)) Changed();
}
void TFont::SetHeight(int v) {
  if (Store(FHeight, v)) Changed();
}
int TFont::GetSize() const { return -MulDiv(FHeight, 72, PixelsPerInch); }
void TFont::SetSize(int v) { SetHeight(-MulDiv(v, PixelsPerInch, 72)); }
void TFont::SetStyle(TFontStyles v) {
  if (Store(FStyle, v)) Changed();
}
void TFont::SetPitch(TFontPitch v) {
  if (Store(FPitch, v)) Changed();
}

int TFont::CellHeight() const { return FHeight == 0 ? 12 : std::abs(FHeight); }
int TFont::SingleByteWidth() const { return (CellHeight() + 1) / 2; }
int TFont::DoubleByteWidth() const { return CellHeight(); }

void TBrush::Assign(const TPersistent* source) {
  if (auto* b = dynamic_cast<const TBrush*>(source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

// As the VCL: a colour makes a clear brush solid again.
void TBrush::SetColor(TColor v) {
  if (FColor == v && FStyle != bsClear) return;
  FColor = v;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}
void TBrush::SetStyle(TBrushStyle v) {
  if (Store(FStyle, v)) Changed();
}

void TPen::Assign(const TPersistent* source) {
  if (auto* p = dynamic_cast<const TPen*>(source)) {
    FColor = p->FColor;
    FStyle = p->FStyle;
    FWidth = p->FWidth;
    FMode = p->FMode;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}
void TPen::SetColor(TColor v) {
  if (Store(FColor, v)) Changed();
}
void TPen::SetStyle(TPenStyle v) {
  if (Store(FStyle, v)) Changed();
}
void TPen::SetWidth(int v) {
  if (Store(FWidth, std::max(1, v))) Changed();
}
void TPen::SetMode(TPenMode v) {
  if (Store(FMode, v)) Changed();
}

// ---- Pixel arithmetic ----------------------------------------------------------------

namespace {

constexpr uint32_t White = 0xFFFFFF;

uint32_t Rgb(TColor c) { return static_cast<uint32_t>(ColorToRGB(c)) & 0xFFFFFF; }

// The nearer of black and white.
uint32_t ToMono(uint32_t c) {
  const int sum = (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF);
  return sum >= 383 ? White : 0;
}

uint32_t ForSurface(const TPixelSurface& s, uint32_t c) { return s.Monochrome ? ToMono(c) : c; }

uint32_t Rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
  switch (code) {
    case 0xCC: return s;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x66: return s ^ d;
    default: break;
  }
  uint32_t r = 0;
  for (int i = 0; i < 8; ++i)
    if ((code >> i) & 1) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  return r & White;
}

uint32_t Rop2(TPenMode mode, uint32_t p, uint32_t d) {
  switch (mode) {
    case pmBlack: return 0;
    case pmWhite: return White;
    case pmNop: return d;
    case pmNot: return ~d & White;
    case pmCopy: return p;
    case pmNotCopy: return ~p & White;
    case pmMergePenNot: return (p | ~d) & White;
    case pmMaskPenNot: return p & ~d & White;
    case pmMergeNotPen: return (~p | d) & White;
    case pmMaskNotPen: return ~p & d & White;
    case pmMerge: return p | d;
    case pmNotMerge: return ~(p | d) & White;
    case pmMask: return p & d;
    case pmNotMask: return ~(p & d) & White;
    case pmXor: return p ^ d;
    case pmNotXor: return ~(p ^ d) & White;
  }
  return p;
}

bool UsesSource(uint8_t code) { return (((code >> 2) ^ code) & 0x33) != 0; }

bool OnHatch(TBrushStyle style, int x, int y) {
  const int fx = ((x % 8) + 8) % 8;
  const int fy = ((y % 8) + 8) % 8;
  const bool h = fy == 0;
  const bool v = fx == 0;
  const bool f = ((fx - fy + 8) % 8) == 0;
  const bool b = ((fx + fy) % 8) == 7;
  switch (style) {
    case bsSolid: return true;
    case bsClear: return false;
    case bsHorizontal: return h;
    case bsVertical: return v;
    case bsFDiagonal: return f;
    case bsBDiagonal: return b;
    case bsCross: return h || v;
    case bsDiagCross: return f || b;
  }
  return true;
}

bool IsLead(const AnsiString& text, size_t i) {
  return i + 1 < text.size() && IsDBCSLeadByte(static_cast<BYTE>(text[i]));
}

}  // namespace

// ---- Canvas ---------------------------------------------------------------------------

TAVO_CLASS_IMPL(TCanvas, TPersistent)

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FBrush(std::make_unique<TBrush>()), FPen(std::make_unique<TPen>()) {
  FFont->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
  FBrush->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
}

void TCanvas::FontChanged(TObject*) { FFontDirty = true; }
void TCanvas::BrushChanged(TObject*) { FBrushDirty = true; }

TCanvas::~TCanvas() = default;

TPixelSurface* TCanvas::Surface() const { return nullptr; }

void TCanvas::RequiredState() {
  if (FFontDirty) {
    FTextColor = FFont->GetColor();
    FFontDirty = false;
  }
  if (FBrushDirty) {
    // A hatched brush draws on a transparent background; the VCL then sets the
    // background colour to the brush's complement.
    const uint32_t b = Rgb(FBrush->GetColor());
    FBkColor = FBrush->GetStyle() == bsSolid ? static_cast<TColor>(b) : static_cast<TColor>(~b & White);
    FBrushDirty = false;
  }
}

TColor SetTextColor(TCanvas* canvas, TColor color) {
  if (!canvas) return -1;
  canvas->RequiredState();
  return std::exchange(canvas->FTextColor, color);
}

TColor SetBkColor(TCanvas* canvas, TColor color) {
  if (!canvas) return -1;
  canvas->RequiredState();
  return std::exchange(canvas->FBkColor, color);
}

uint32_t TCanvas::PatternAt(int x, int y) const {
  const TBrushStyle style = FBrush->GetStyle();
  if (style == bsSolid || style == bsClear || OnHatch(style, x, y)) return Rgb(FBrush->GetColor());
  return Rgb(FBkColor);
}

TColor TCanvas::GetPixels(int x, int y) const {
  const TPixelSurface* s = Surface();
  if (!s || !s->Inside(x, y)) return -1;
  return static_cast<TColor>(s->At(x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  TPixelSurface* s = Surface();
  if (!s || !s->Inside(x, y)) return;
  Changing();
  s->At(x, y) = ForSurface(*s, Rgb(color));
  Changed();
}

void TCanvas::FillRect(const TRect& rect) {
  TPixelSurface* s = Surface();
  TRect r;
  if (!s || FBrush->GetStyle() == bsClear || !IntersectRect(r, rect, TRect{0, 0, s->Width, s->Height})) return;
  RequiredState();
  Changing();
  const TBrushStyle style = FBrush->GetStyle();
  const uint32_t c = ForSurface(*s, Rgb(FBrush->GetColor()));
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (style == bsSolid || OnHatch(style, x, y)) s->At(x, y) = c;
  Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
  if (rect.IsEmpty()) return;
  FillRect(TRect{rect.Left, rect.Top, rect.Right, rect.Top + 1});
  FillRect(TRect{rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom});
  FillRect(TRect{rect.Left, rect.Top, rect.Left + 1, rect.Bottom});
  FillRect(TRect{rect.Right - 1, rect.Top, rect.Right, rect.Bottom});
}

void TCanvas::PlotPen(int x, int y) {
  TPixelSurface* s = Surface();
  const int w = FPen->GetWidth();
  const uint32_t p = Rgb(FPen->GetColor());
  const int from = -(w - 1) / 2;
  for (int dy = from; dy < from + w; ++dy)
    for (int dx = from; dx < from + w; ++dx)
      if (s->Inside(x + dx, y + dy)) {
        uint32_t& d = s->At(x + dx, y + dy);
        d = ForSurface(*s, Rop2(FPen->GetMode(), ForSurface(*s, p), d));
      }
}

void TCanvas::LineTo(int x, int y) {
  TPixelSurface* s = Surface();
  const TPoint from = FPenPos;
  FPenPos = TPoint{x, y};
  if (!s || FPen->GetStyle() == psClear) return;
  Changing();
  // On/off run lengths of the styled pens (width 1 only, as GDI's cosmetic pens).
  static constexpr int dash[] = {18, 6};
  static constexpr int dot[] = {3, 3};
  static constexpr int dashDot[] = {9, 6, 3, 6};
  static constexpr int dashDotDot[] = {9, 3, 3, 3, 3, 3};
  std::span<const int> pattern;
  if (FPen->GetWidth() == 1) switch (FPen->GetStyle()) {
      case psDash: pattern = dash; break;
      case psDot: pattern = dot; break;
      case psDashDot: pattern = dashDot; break;
      case psDashDotDot: pattern = dashDotDot; break;
      case psSolid:
      case psClear:
      case psInsideFrame: break;
    }
  int period = 0;
  for (int n : pattern) period += n;
  auto visible = [&](int step) {
    if (pattern.empty()) return true;
    int k = step % period;
    for (size_t i = 0; i < pattern.size(); ++i) {
      if (k < pattern[i]) return i % 2 == 0;
      k -= pattern[i];
    }
    return true;
  };
  int x0 = from.X, y0 = from.Y;
  const int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
  const int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
  int err = dx + dy;
  while (!(x0 == x && y0 == y)) {
    if (visible(FPenStep++)) PlotPen(x0, y0);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  TPixelSurface* s = Surface();
  if (!s) return;
  if (FPen->GetStyle() == psClear) {
    // Without a pen GDI fills one pixel less on the right and bottom.
    FillRect(TRect{x1, y1, x2 - 1, y2 - 1});
    return;
  }
  const int w = std::min({FPen->GetWidth(), (x2 - x1 + 1) / 2, (y2 - y1 + 1) / 2});
  if (w <= 0) return;
  FillRect(TRect{x1 + w, y1 + w, x2 - w, y2 - w});
  Changing();
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) {
      const bool border = x < x1 + w || x >= x2 - w || y < y1 + w || y >= y2 - w;
      if (border && s->Inside(x, y)) {
        uint32_t& d = s->At(x, y);
        d = ForSurface(*s, Rop2(FPen->GetMode(), ForSurface(*s, Rgb(FPen->GetColor())), d));
      }
    }
  Changed();
}

// One block transfer: destination rectangle, optional source with its rectangle (nearest
// pixel when sizes differ) and how source pixels become destination values.
struct TCanvas::TBlit {
  TRect Dest;
  const TPixelSurface* Source = nullptr;
  TRect SourceRect;
  DWORD Rop = SRCCOPY;
  uint32_t MonoZero = 0;      // colour of a 0 bit of a monochrome source on colour
  uint32_t MonoOne = White;   // colour of a 1 bit
  uint32_t SourceBk = White;  // colour source onto monochrome: this colour is 1
  bool Transparent = false;   // source pixels of TransparentColor are left out
  uint32_t TransparentColor = 0;
  bool Replace = false;       // source pixels of ReplaceColor become the brush
  uint32_t ReplaceColor = 0;
};

void TCanvas::Blit(const TBlit& b) {
  TPixelSurface* d = Surface();
  if (!d || b.Dest.IsEmpty()) return;
  const uint8_t code = static_cast<uint8_t>(b.Rop >> 16);
  const bool useSource = b.Source && (UsesSource(code) || b.Transparent || b.Replace);
  if (useSource && b.SourceRect.IsEmpty()) return;
  TRect clip;
  if (!IntersectRect(clip, b.Dest, TRect{0, 0, d->Width, d->Height})) return;
  Changing();
  // Reading and writing the same surface: read from a copy.
  TPixelSurface copy;
  const TPixelSurface* src = b.Source;
  if (useSource && src == d) {
    copy = *d;
    src = &copy;
  }
  const int dw = b.Dest.Width(), dh = b.Dest.Height();
  const int sw = b.SourceRect.Width(), sh = b.SourceRect.Height();
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    int sy = 0;
    if (useSource) {
      sy = b.SourceRect.Top + static_cast<int>(static_cast<int64_t>(y - b.Dest.Top) * sh / dh);
      if (sy < 0 || sy >= src->Height) continue;
    }
    for (int x = clip.Left; x < clip.Right; ++x) {
      uint32_t sv = 0;
      if (useSource) {
        const int sx = b.SourceRect.Left + static_cast<int>(static_cast<int64_t>(x - b.Dest.Left) * sw / dw);
        if (sx < 0 || sx >= src->Width) continue;
        sv = src->At(sx, sy);
        if (b.Transparent && sv == b.TransparentColor) continue;
        if (b.Replace && sv == b.ReplaceColor) {
          d->At(x, y) = ForSurface(*d, PatternAt(x, y));
          continue;
        }
        if (src->Monochrome && !d->Monochrome)
          sv = sv ? b.MonoOne : b.MonoZero;
        else if (!src->Monochrome && d->Monochrome)
          sv = sv == b.SourceBk ? White : 0;
      }
      uint32_t& dv = d->At(x, y);
      dv = ForSurface(*d, Rop3(code, ForSurface(*d, PatternAt(x, y)), sv, dv));
    }
  }
  Changed();
}

BOOL BitBlt(TCanvas* dest, int x, int y, int width, int height, TCanvas* source, int sx, int sy, DWORD rop) {
  if (!dest || !dest->Surface()) return FALSE;
  const uint8_t code = static_cast<uint8_t>(rop >> 16);
  if (UsesSource(code) && (!source || !source->Surface())) return FALSE;
  dest->RequiredState();
  if (source) source->RequiredState();
  TCanvas::TBlit b;
  b.Dest = Bounds(x, y, width, height);
  b.Source = source ? source->Surface() : nullptr;
  b.SourceRect = Bounds(sx, sy, width, height);
  b.Rop = rop;
  b.MonoZero = Rgb(dest->FTextColor);
  b.MonoOne = Rgb(dest->FBkColor);
  b.SourceBk = source ? Rgb(source->FBkColor) : White;
  dest->Blit(b);
  return TRUE;
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic) {
  if (graphic && !graphic->GetEmpty()) graphic->DrawOn(this, Bounds(x, y, graphic->GetWidth(), graphic->GetHeight()));
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic* graphic) {
  if (graphic && !graphic->GetEmpty()) graphic->DrawOn(this, rect);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect) {
  if (!source || !source->Surface()) return;
  RequiredState();
  source->RequiredState();
  TBlit b;
  b.Dest = dest;
  b.Source = source->Surface();
  b.SourceRect = sourceRect;
  b.Rop = CopyMode;
  b.MonoZero = Rgb(FTextColor);
  b.MonoOne = Rgb(FBkColor);
  b.SourceBk = Rgb(source->FBkColor);
  Blit(b);
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap* bitmap, const TRect& sourceRect, TColor color) {
  if (!bitmap || bitmap->GetEmpty()) return;
  RequiredState();
  TBlit b;
  b.Dest = dest;
  b.Source = &bitmap->Surface();
  b.SourceRect = sourceRect;
  b.Rop = SRCCOPY;
  b.Replace = true;
  b.ReplaceColor = ForSurface(bitmap->Surface(), Rgb(color));
  Blit(b);
}

// ---- Text -----------------------------------------------------------------------------

int TCanvas::TextWidth(const AnsiString& text) const {
  int w = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLead(text, i)) {
      w += FFont->DoubleByteWidth();
      ++i;
    } else {
      w += FFont->SingleByteWidth();
    }
  }
  return w;
}

int TCanvas::TextHeight(const AnsiString&) const { return FFont->CellHeight(); }

TSize TCanvas::TextExtent(const AnsiString& text) const { return TSize{TextWidth(text), TextHeight(text)}; }

void TCanvas::DrawTextClipped(int x, int y, const AnsiString& text, const TRect* clip) {
  TPixelSurface* s = Surface();
  if (!s) return;
  RequiredState();
  TRect area{0, 0, s->Width, s->Height};
  if (clip && !IntersectRect(area, area, *clip)) return;
  Changing();
  const int h = FFont->CellHeight();
  const uint32_t ink = ForSurface(*s, Rgb(FTextColor));
  const uint32_t paper = ForSurface(*s, Rgb(FBkColor));
  const bool opaque = FBrush->GetStyle() == bsSolid;
  const TFontStyles style = FFont->GetStyle();
  auto fill = [&](int l, int t, int r, int btm, uint32_t c) {
    TRect box;
    if (!IntersectRect(box, TRect{l, t, r, btm}, area)) return;
    for (int yy = box.Top; yy < box.Bottom; ++yy)
      for (int xx = box.Left; xx < box.Right; ++xx) s->At(xx, yy) = c;
  };
  int cx = x;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool dbcs = IsLead(text, i);
    const int w = dbcs ? FFont->DoubleByteWidth() : FFont->SingleByteWidth();
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (opaque) fill(cx, y, cx + w, y + h, paper);
    if (dbcs || c > ' ') fill(cx + 1, y + 1, cx + w - 1, y + h - 1, ink);
    if (style.Contains(fsUnderline)) fill(cx, y + h - 1, cx + w, y + h, ink);
    if (style.Contains(fsStrikeOut)) fill(cx, y + h / 2, cx + w, y + h / 2 + 1, ink);
    if (dbcs) ++i;
    cx += w;
  }
  Changed();
}

void TCanvas::TextOut(int x, int y, const AnsiString& text) {
  DrawTextClipped(x, y, text, nullptr);
  MoveTo(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const AnsiString& text) {
  RequiredState();
  if (FBrush->GetStyle() != bsClear) {
    TPixelSurface* s = Surface();
    TRect r;
    if (s && IntersectRect(r, rect, TRect{0, 0, s->Width, s->Height})) {
      const uint32_t paper = ForSurface(*s, Rgb(FBkColor));
      Changing();
      for (int yy = r.Top; yy < r.Bottom; ++yy)
        for (int xx = r.Left; xx < r.Right; ++xx) s->At(xx, yy) = paper;
      Changed();
    }
  }
  DrawTextClipped(x, y, text, &rect);
}

namespace {

// Removes the accelerator marks: "&&" stands for "&", a single "&" is dropped.
AnsiString StripPrefix(const AnsiString& text) {
  AnsiString out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    if (IsLead(text, i)) out += text[i++];
    out += text[i];
  }
  return out;
}

}  // namespace

int DrawText(TCanvas* canvas, const AnsiString& text, TRect& rect, UINT format) {
  if (!canvas) return 0;
  canvas->RequiredState();
  const AnsiString shown = (format & DT_NOPREFIX) ? text : StripPrefix(text);
  std::vector<AnsiString> lines;
  if (format & DT_SINGLELINE) {
    lines.push_back(shown);
  } else {
    AnsiString line;
    for (size_t i = 0; i < shown.size(); ++i) {
      if (shown[i] == '\r' || shown[i] == '\n') {
        lines.push_back(line);
        line.clear();
        if (shown[i] == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n') ++i;
        continue;
      }
      if (IsLead(shown, i)) line += shown[i++];
      line += shown[i];
    }
    lines.push_back(line);
    if (format & DT_WORDBREAK) {
      // Breaks at the last blank that keeps a line inside the rectangle; a word longer
      // than the rectangle stays whole.
      std::vector<AnsiString> wrapped;
      for (const AnsiString& l : lines) {
        AnsiString rest = l;
        while (canvas->TextWidth(rest) > rect.Width()) {
          size_t cut = AnsiString::npos;
          for (size_t i = 0; i < rest.size(); ++i) {
            if (rest[i] == ' ' && canvas->TextWidth(rest.substr(0, i)) <= rect.Width()) cut = i;
            if (IsLead(rest, i)) ++i;
          }
          if (cut == AnsiString::npos || cut == 0) break;
          wrapped.push_back(rest.substr(0, cut));
          rest = rest.substr(cut + 1);
        }
        wrapped.push_back(rest);
      }
      lines = std::move(wrapped);
    }
  }
  const int lineHeight = canvas->GetFont()->CellHeight();
  const int total = lineHeight * static_cast<int>(lines.size());
  if (format & DT_CALCRECT) {
    int width = 0;
    for (const AnsiString& l : lines) width = std::max(width, canvas->TextWidth(l));
    rect.Right = rect.Left + width;
    rect.Bottom = rect.Top + total;
    return total;
  }
  int y = rect.Top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      y = rect.Top + (rect.Height() - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      y = rect.Bottom - lineHeight;
  }
  for (const AnsiString& l : lines) {
    const int w = canvas->TextWidth(l);
    int x = rect.Left;
    if (format & DT_CENTER)
      x = rect.Left + (rect.Width() - w) / 2;
    else if (format & DT_RIGHT)
      x = rect.Right - w;
    canvas->DrawTextClipped(x, y, l, (format & DT_NOCLIP) ? nullptr : &rect);
    y += lineHeight;
  }
  return total;
}

// ---- Graphic and bitmap ---------------------------------------------------------------

TAVO_CLASS_IMPL(TGraphic, TPersistent)
TAVO_CLASS_IMPL(TBitmap, TGraphic)
TAVO_CLASS_IMPL(TPicture, TPersistent)

const char* EInvalidGraphic::ClassName() const { return "EInvalidGraphic"; }
const char* EInvalidGraphicOperation::ClassName() const { return "EInvalidGraphicOperation"; }

void TGraphic::Changed() { OnChange(this); }

void TGraphic::SetTransparent(bool v) {
  if (Store(FTransparent, v)) Changed();
}

class TBitmap::TBitmapCanvas : public TCanvas {
public:
  explicit TBitmapCanvas(TBitmap* owner) : Owner(owner) {}
  TPixelSurface* Surface() const override { return &Owner->FSurface; }

protected:
  void Changed() override { Owner->Changed(); }

private:
  TBitmap* Owner;
};

namespace {

// Beyond this a picture is refused rather than allocated (64 million pixels).
constexpr int64_t MaxPixels = int64_t{1} << 26;

}  // namespace

TBitmap::TBitmap() : FCanvas(std::make_unique<TBitmapCanvas>(this)) {}
TBitmap::~TBitmap() = default;

void TBitmap::Assign(const TPersistent* source) {
  if (!source) {
    FSurface = TPixelSurface{};
    FPixelFormat = pfDevice;
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<const TBitmap*>(source)) {
    if (b == this) return;
    FSurface = b->FSurface;
    FPixelFormat = b->FPixelFormat;
    FTransparent = b->FTransparent;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    Changed();
    return;
  }
  if (auto* p = dynamic_cast<const TPicture*>(source)) {
    if (const TGraphic* g = p->GetGraphic()) {
      Assign(g);
    } else {
      Assign(nullptr);
    }
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::Resize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == FSurface.Width && height == FSurface.Height) return;
  if (static_cast<int64_t>(width) * height > MaxPixels)
    throw EInvalidGraphicOperation("Bitmap of " + std::to_string(width) + " by " + std::to_string(height) +
                                   " pixels is too large");
  FCanvas->RequiredState();
  const uint32_t fill = ForSurface(FSurface, Rgb(FCanvas->GetBrush()->GetColor()));
  TPixelSurface n;
  n.Width = width;
  n.Height = height;
  n.Monochrome = FSurface.Monochrome;
  n.Pixels.assign(static_cast<size_t>(width) * height, fill);
  const int cw = std::min(width, FSurface.Width), ch = std::min(height, FSurface.Height);
  for (int y = 0; y < ch; ++y)
    std::copy_n(&FSurface.Pixels[static_cast<size_t>(y) * FSurface.Width], cw, &n.Pixels[static_cast<size_t>(y) * width]);
  FSurface = std::move(n);
  Changed();
}

void TBitmap::SetWidth(int v) { Resize(v, FSurface.Height); }
void TBitmap::SetHeight(int v) { Resize(FSurface.Width, v); }
void TBitmap::SetSize(int width, int height) { Resize(width, height); }

void TBitmap::SetPixelFormat(TPixelFormat v) {
  if (v == FPixelFormat) return;
  FPixelFormat = v;
  switch (v) {
    case pf1bit:
      FSurface.Monochrome = true;
      for (uint32_t& p : FSurface.Pixels) p = ToMono(p);
      break;
    case pfDevice:
    case pf24bit:
    case pf32bit:
      FSurface.Monochrome = false;
      break;
  }
  Changed();
}

void TBitmap::SetMonochrome(bool v) {
  if (v == FSurface.Monochrome) return;
  FCanvas->RequiredState();
  if (v) {
    const uint32_t bk = Rgb(FCanvas->GetBrush()->GetColor());
    for (uint32_t& p : FSurface.Pixels) p = p == bk ? White : 0;
    FPixelFormat = pf1bit;
  } else {
    const uint32_t zero = Rgb(FCanvas->GetFont()->GetColor());
    const uint32_t one = Rgb(FCanvas->GetBrush()->GetColor());
    for (uint32_t& p : FSurface.Pixels) p = p ? one : zero;
    FPixelFormat = pfDevice;
  }
  FSurface.Monochrome = v;
  Changed();
}

TColor TBitmap::GetTransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return ColorToRGB(FTransparentColor);
  if (GetEmpty()) return clDefault;
  if (FSurface.Monochrome) return clWhite;
  return static_cast<TColor>(FSurface.At(0, FSurface.Height - 1));
}

void TBitmap::SetTransparentColor(TColor v) {
  FTransparentColor = v;
  FTransparentMode = v == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode v) {
  if (v == FTransparentMode) return;
  if (v == tmAuto)
    SetTransparentColor(clDefault);
  else
    SetTransparentColor(GetTransparentColor());
}

void TBitmap::DrawOn(TCanvas* canvas, const TRect& rect) const {
  canvas->RequiredState();
  TCanvas::TBlit b;
  b.Dest = rect;
  b.Source = &FSurface;
  b.SourceRect = TRect{0, 0, FSurface.Width, FSurface.Height};
  b.Rop = FTransparent ? SRCCOPY : canvas->CopyMode;
  // A monochrome bitmap draws in black and white.
  b.MonoZero = 0;
  b.MonoOne = White;
  b.SourceBk = White;
  if (FTransparent) {
    b.Transparent = true;
    b.TransparentColor = ForSurface(FSurface, Rgb(GetTransparentColor()));
  }
  canvas->Blit(b);
}

// ---- Windows BMP ----------------------------------------------------------------------

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

[[noreturn]] void BadBitmap(const char* why) {
  throw EInvalidGraphic(AnsiString("Bitmap image is not valid: ") + why);
}

// The value of a bit-field channel scaled to 0..255.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const uint32_t max = mask >> shift;
  const uint32_t v = (pixel & mask) >> shift;
  return static_cast<uint32_t>((static_cast<uint64_t>(v) * 255 + max / 2) / max);
}

void Put16(AnsiString& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void Put32(AnsiString& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

void TBitmap::LoadFromBuffer(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  if (!p || size < 14 + 12) BadBitmap("too short");
  if (p[0] != 'B' || p[1] != 'M') BadBitmap("no BM signature");
  const uint32_t offBits = U32(p + 10);
  const uint8_t* h = p + 14;
  const uint32_t headerSize = U32(h);
  if (headerSize != 12 && (headerSize < 40 || headerSize > 124)) BadBitmap("unknown header");
  if (14 + static_cast<size_t>(headerSize) > size) BadBitmap("truncated header");
  int64_t width, height;
  int bits;
  uint32_t compression = 0, colorsUsed = 0;
  size_t paletteEntry = 4;
  if (headerSize == 12) {
    width = static_cast<int16_t>(U16(h + 4));
    height = static_cast<int16_t>(U16(h + 6));
    if (U16(h + 8) != 1) BadBitmap("planes");
    bits = U16(h + 10);
    paletteEntry = 3;
  } else {
    width = static_cast<int32_t>(U32(h + 4));
    height = static_cast<int32_t>(U32(h + 8));
    if (U16(h + 12) != 1) BadBitmap("planes");
    bits = U16(h + 14);
    compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width * height > MaxPixels) BadBitmap("size");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) BadBitmap("bit count");
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  size_t paletteAt = 14 + headerSize;
  if (bits == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }
  if (compression == 3) {
    if (bits != 16 && bits != 32) BadBitmap("bit fields need 16 or 32 bits");
    const uint8_t* m = h + 40;
    if (headerSize == 40) {
      if (14 + 40 + 12 > size) BadBitmap("truncated masks");
      paletteAt += 12;
    }
    masks[0] = U32(m);
    masks[1] = U32(m + 4);
    masks[2] = U32(m + 8);
  } else if (compression != 0) {
    BadBitmap("compressed pictures are not supported");
  }
  std::vector<uint32_t> palette;
  if (bits <= 8) {
    const uint32_t count = colorsUsed ? colorsUsed : (1u << bits);
    if (count > (1u << bits)) BadBitmap("palette size");
    if (paletteAt + count * paletteEntry > size) BadBitmap("truncated palette");
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = p + paletteAt + i * paletteEntry;
      palette.push_back(static_cast<uint32_t>(RGB(e[2], e[1], e[0])));
    }
  }
  const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  if (offBits < paletteAt || offBits > size || stride * height > size - offBits) BadBitmap("truncated pixels");

  const bool mono = bits == 1 && palette.size() == 2 &&
                    ((palette[0] == 0 && palette[1] == White) || (palette[0] == White && palette[1] == 0));
  TPixelSurface s;
  s.Width = static_cast<int>(width);
  s.Height = static_cast<int>(height);
  s.Monochrome = mono;
  s.Pixels.resize(static_cast<size_t>(width) * height);
  for (int row = 0; row < s.Height; ++row) {
    const uint8_t* r = p + offBits + stride * (topDown ? row : s.Height - 1 - row);
    for (int x = 0; x < s.Width; ++x) {
      uint32_t c = 0;
      switch (bits) {
        case 1:
        case 4:
        case 8: {
          const size_t bit = static_cast<size_t>(x) * bits;
          const unsigned index = (r[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
          if (index >= palette.size()) BadBitmap("colour index outside the palette");
          c = palette[index];
          break;
        }
        case 16: {
          const uint32_t v = U16(r + 2 * x);
          c = static_cast<uint32_t>(RGB(Channel(v, masks[0]), Channel(v, masks[1]), Channel(v, masks[2])));
          break;
        }
        case 24: c = static_cast<uint32_t>(RGB(r[3 * x + 2], r[3 * x + 1], r[3 * x])); break;
        case 32: {
          const uint32_t v = U32(r + 4 * x);
          c = static_cast<uint32_t>(RGB(Channel(v, masks[0]), Channel(v, masks[1]), Channel(v, masks[2])));
          break;
        }
        default: BadBitmap("bit count");
      }
      s.At(x, row) = c;
    }
  }
  FSurface = std::move(s);
  FPixelFormat = mono ? pf1bit : bits == 32 ? pf32bit : pf24bit;
  Changed();
}

AnsiString TBitmap::SaveToBytes() const {
  const int bits = FSurface.Monochrome ? 1 : FPixelFormat == pf32bit ? 32 : 24;
  const size_t stride = ((static_cast<size_t>(FSurface.Width) * bits + 31) / 32) * 4;
  const uint32_t paletteSize = bits == 1 ? 8 : 0;
  const uint32_t offBits = 14 + 40 + paletteSize;
  const size_t imageSize = stride * FSurface.Height;
  AnsiString out;
  out.reserve(offBits + imageSize);
  out += "BM";
  Put32(out, static_cast<uint32_t>(offBits + imageSize));
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(FSurface.Width));
  Put32(out, static_cast<uint32_t>(FSurface.Height));
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(bits));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(imageSize));
  Put32(out, 3780);  // 96 pixels per inch
  Put32(out, 3780);
  Put32(out, bits == 1 ? 2 : 0);
  Put32(out, 0);
  if (bits == 1) {
    Put32(out, 0x00000000);
    Put32(out, 0x00FFFFFF);
  }
  std::string row(stride, '\0');
  for (int y = FSurface.Height - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), '\0');
    for (int x = 0; x < FSurface.Width; ++x) {
      const uint32_t c = FSurface.At(x, y);
      switch (bits) {
        case 1:
          if (c) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
          break;
        case 24:
          row[3 * x] = static_cast<char>(GetBValue(c));
          row[3 * x + 1] = static_cast<char>(GetGValue(c));
          row[3 * x + 2] = static_cast<char>(GetRValue(c));
          break;
        default:
          row[4 * x] = static_cast<char>(GetBValue(c));
          row[4 * x + 1] = static_cast<char>(GetGValue(c));
          row[4 * x + 2] = static_cast<char>(GetRValue(c));
          break;
      }
    }
    out += row;
  }
  return out;
}

void TBitmap::LoadFromFile(const AnsiString& fileName) {
  AnsiString bytes;
  if (!ReadFileBytes(fileName, bytes))
    throw EInOutError("Cannot open file \"" + fileName + "\"", static_cast<int>(GetLastError()));
  LoadFromBytes(bytes);
}

void TBitmap::SaveToFile(const AnsiString& fileName) const {
  if (!WriteFileBytes(fileName, SaveToBytes()))
    throw EInOutError("Cannot create file \"" + fileName + "\"", static_cast<int>(GetLastError()));
}

// ---- Picture --------------------------------------------------------------------------

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

TBitmap* TPicture::GetBitmap() {
  if (!FBitmap) {
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->OnChange = TNotifyEvent(this, &TPicture::BitmapChanged);
  }
  return FBitmap.get();
}

void TPicture::BitmapChanged(TObject*) { OnChange(this); }

void TPicture::SetBitmap(const TBitmap* v) { GetBitmap()->Assign(v); }

void TPicture::Assign(const TPersistent* source) {
  if (!source) {
    FBitmap.reset();
    OnChange(this);
    return;
  }
  if (auto* p = dynamic_cast<const TPicture*>(source)) {
    if (p == this) return;
    if (p->FBitmap)
      GetBitmap()->Assign(p->FBitmap.get());
    else
      Assign(nullptr);
    return;
  }
  if (auto* b = dynamic_cast<const TBitmap*>(source)) {
    GetBitmap()->Assign(b);
    return;
  }
  TPersistent::Assign(source);
}

int TPicture::GetWidth() const { return FBitmap ? FBitmap->GetWidth() : 0; }
int TPicture::GetHeight() const { return FBitmap ? FBitmap->GetHeight() : 0; }
void TPicture::LoadFromFile(const AnsiString& fileName) { GetBitmap()->LoadFromFile(fileName); }
void TPicture::SaveToFile(const AnsiString& fileName) const {
  if (FBitmap) FBitmap->SaveToFile(fileName);
}
