// Colours, fonts, brushes, pens, the canvas and bitmaps: the graphics unit of the VCL,
// drawing into real pixel buffers so that glyph and painting rules can be checked pixel
// by pixel.
#pragma once

#include "platform/rtl/System.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/Windows.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class TBitmap;
class TCanvas;
class TGraphic;

// ---- Geometry -------------------------------------------------------------------------

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and Bottom are exclusive, as in GDI.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(const TPoint& p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return TPoint{x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) {
  return TRect{left, top, left + width, top + height};
}
// The common part of two rectangles; false (and an empty result) when they do not meet.
bool IntersectRect(TRect& result, const TRect& a, const TRect& b);
// Moves the edges outwards by dx and dy, as Windows does (inwards for negative values).
void InflateRect(TRect& rect, int dx, int dy);
void OffsetRect(TRect& rect, int dx, int dy);

// ---- Colours --------------------------------------------------------------------------

// 0x00BBGGRR for an RGB colour; 0x80000000 | COLOR_xxx for a system colour.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

constexpr uint8_t GetRValue(TColor c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GetGValue(TColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t GetBValue(TColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// The colours of the system scheme, the classic Windows "Windows Standard" scheme:
// button face, menu, scroll bar and borders 212,208,200; window white; texts black;
// shadows and grey text 128,128,128; highlight and active caption 10,36,106; inactive
// caption 128,128,128 with text 212,208,200; 3-D dark shadow 64,64,64; tooltip
// background 255,255,225. An index outside the table answers black.
TColor GetSysColor(int index);

// A system colour resolved through the scheme; an RGB colour (and clNone, clDefault)
// unchanged.
TColor ColorToRGB(TColor color);

// The VCL's colour names (clBlack … clWhite, clMoneyGreen … clMedGray, clNone,
// clDefault and the system colours). Look-ups ignore letter case.
bool ColorToIdent(int color, AnsiString& ident);
bool IdentToColor(const AnsiString& ident, int& color);
// The name, or "$" and eight hexadecimal digits.
AnsiString ColorToString(TColor color);
// A name, a decimal number or a "$"/"0x" hexadecimal number; raises EConvertError
// otherwise.
TColor StringToColor(const AnsiString& text);

// The name tables, registered as the identifier mappings of the integer types TColor,
// TFontCharset and TCursor.
std::span<const TIdentMapEntry> ColorIdents();
std::span<const TIdentMapEntry> CharsetIdents();
std::span<const TIdentMapEntry> CursorIdents();

// ---- Character sets and cursors -------------------------------------------------------

using TFontCharset = uint8_t;

constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset MAC_CHARSET = 77;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset HANGEUL_CHARSET = 129;
constexpr TFontCharset JOHAB_CHARSET = 130;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
constexpr TFontCharset GREEK_CHARSET = 161;
constexpr TFontCharset TURKISH_CHARSET = 162;
constexpr TFontCharset VIETNAMESE_CHARSET = 163;
constexpr TFontCharset HEBREW_CHARSET = 177;
constexpr TFontCharset ARABIC_CHARSET = 178;
constexpr TFontCharset BALTIC_CHARSET = 186;
constexpr TFontCharset RUSSIAN_CHARSET = 204;
constexpr TFontCharset THAI_CHARSET = 222;
constexpr TFontCharset EASTEUROPE_CHARSET = 238;
constexpr TFontCharset OEM_CHARSET = 255;

bool CharsetToIdent(int charset, AnsiString& ident);
bool IdentToCharset(const AnsiString& ident, int& charset);

using TCursor = int;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;

bool CursorToIdent(int cursor, AnsiString& ident);
bool IdentToCursor(const AnsiString& ident, int& cursor);

// ---- Graphics objects -----------------------------------------------------------------

// Owners (a canvas, a control) follow a font, brush or pen through OnChange.
class TGraphicsObject : public TPersistent {
  TAVO_CLASS(TGraphicsObject, TPersistent)
public:
  TNotifyEvent OnChange;

protected:
  void Changed();
};

TAVO_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
TAVO_SET_INFO(TFontStyles, TFontStyle)
TAVO_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

// The font model: every character cell is |Height| pixels high (no internal leading);
// a single-byte character is round(|Height| / 2) wide, a double-byte character of the
// process code page |Height| wide. A height of 0 stands for the device default, 12.
class TFont : public TGraphicsObject {
  TAVO_CLASS(TFont, TGraphicsObject)
public:
  TFont();
  void Assign(const TPersistent* source) override;

  AnsiString GetName() const { return FName; }
  void SetName(const AnsiString& v);
  TFontCharset GetCharset() const { return FCharset; }
  void SetCharset(TFontCharset v);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  int GetHeight() const { return FHeight; }
  void SetHeight(int v);
  // Points at PixelsPerInch: Size = -Height * 72 / PixelsPerInch, rounded.
  int GetSize() const;
  void SetSize(int v);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles v);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch v);

  int PixelsPerInch = 96;

  // The pixel height of a character cell and the widths of the model above.
  int CellHeight() const;
  int SingleByteWidth() const;
  int DoubleByteWidth() const;

private:
  AnsiString FName = "MS Sans Serif";
  TFontCharset FCharset = DEFAULT_CHARSET;
  TColor FColor = clWindowText;
  int FHeight = -11;
  TFontStyles FStyle;
  TFontPitch FPitch = fpDefault;
};

TAVO_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

class TBrush : public TGraphicsObject {
  TAVO_CLASS(TBrush, TGraphicsObject)
public:
  void Assign(const TPersistent* source) override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle v);

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

TAVO_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
TAVO_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
          pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)

class TPen : public TGraphicsObject {
  TAVO_CLASS(TPen, TGraphicsObject)
public:
  void Assign(const TPersistent* source) override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle v);
  int GetWidth() const { return FWidth; }
  void SetWidth(int v);  // at least 1
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode v);

private:
  TColor FColor = clBlack;
  TPenStyle FStyle = psSolid;
  int FWidth = 1;
  TPenMode FMode = pmCopy;
};

// ---- Raster operations ----------------------------------------------------------------

// Ternary raster operations: bits 16..23 hold the truth table over pattern (brush),
// source and destination, indexed by P*4 + S*2 + D.
using TCopyMode = DWORD;

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
// Brush where the source is white (1 in a monochrome source), destination elsewhere.
constexpr DWORD ROP_DSPDxax = 0x00E20746;

constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

// ---- Text drawing flags ---------------------------------------------------------------

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;

// ---- Canvas ---------------------------------------------------------------------------

// The pixels a canvas draws on: 0x00BBGGRR values, row by row from the top. A monochrome
// surface holds only black (bit 0) and white (bit 1).
struct TPixelSurface {
  int Width = 0;
  int Height = 0;
  bool Monochrome = false;
  std::vector<uint32_t> Pixels;

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  uint32_t& At(int x, int y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
  uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// A drawing surface with the GDI device-context state it needs: the text and background
// colours that convert between monochrome and colour pixels in block transfers. As with
// the VCL, the canvas realises its font colour as text colour and (for a solid brush)
// its brush colour as background colour before an operation when font or brush changed
// since; SetTextColor/SetBkColor override that until the next change.
class TCanvas : public TPersistent {
  TAVO_CLASS(TCanvas, TPersistent)
public:
  TCanvas();
  ~TCanvas() override;

  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* v) { FFont->Assign(v); }
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(const TBrush* v) { FBrush->Assign(v); }
  TPen* GetPen() const { return FPen.get(); }
  void SetPen(const TPen* v) { FPen->Assign(v); }

  TCopyMode CopyMode = cmSrcCopy;

  TPoint GetPenPos() const { return FPenPos; }
  void SetPenPos(TPoint p) { FPenPos = p; }

  // -1 (CLR_INVALID) outside the surface; writes outside are ignored.
  TColor GetPixels(int x, int y) const;
  void SetPixels(int x, int y, TColor color);

  void FillRect(const TRect& rect);
  void FrameRect(const TRect& rect);
  // Outline with the pen, inside filled with the brush (bsClear: not filled).
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
  void MoveTo(int x, int y) { FPenPos = TPoint{x, y}; }
  // Draws to (x, y) without its last point, as GDI does.
  void LineTo(int x, int y);

  // The graphic at (x, y), leaving out its transparent colour when it is transparent.
  void Draw(int x, int y, const TGraphic* graphic);
  void StretchDraw(const TRect& rect, const TGraphic* graphic);
  // Copies with CopyMode, stretching (nearest pixel) when the sizes differ.
  void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
  // Copies a part of a bitmap, turning its pixels of colour into this canvas's brush.
  void BrushCopy(const TRect& dest, const TBitmap* bitmap, const TRect& sourceRect, TColor color);

  // Text is drawn as one filled box per visible character in the font colour, over the
  // brush when the brush is solid; the pen position moves to the end of the text.
  void TextOut(int x, int y, const AnsiString& text);
  // The same, clipped to rect, which is first filled when the brush is solid.
  void TextRect(const TRect& rect, int x, int y, const AnsiString& text);
  int TextWidth(const AnsiString& text) const;
  int TextHeight(const AnsiString& text) const;
  TSize TextExtent(const AnsiString& text) const;

  // The drawing surface; nullptr when the canvas draws nowhere (drawing then does nothing).
  virtual TPixelSurface* Surface() const;

  // The device-context colours of monochrome conversions (see the class comment).
  TColor GetTextColor() const { return FTextColor; }
  TColor GetBkColor() const { return FBkColor; }
  // Realises font and brush into the device-context state when they changed.
  void RequiredState();

protected:
  // Called before and after the canvas changes its surface.
  virtual void Changing() {}
  virtual void Changed() {}

private:
  friend TColor SetTextColor(TCanvas*, TColor);
  friend TColor SetBkColor(TCanvas*, TColor);
  friend BOOL BitBlt(TCanvas*, int, int, int, int, TCanvas*, int, int, DWORD);
  friend int DrawText(TCanvas*, const AnsiString&, TRect&, UINT);
  friend class TBitmap;
  void DrawTextClipped(int x, int y, const AnsiString& text, const TRect* clip);
  struct TBlit;
  void Blit(const TBlit& blit);
  void PlotPen(int x, int y);
  uint32_t PatternAt(int x, int y) const;
  void FontChanged(TObject* sender);
  void BrushChanged(TObject* sender);

  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TPen> FPen;
  TPoint FPenPos;
  TColor FTextColor = clBlack;
  TColor FBkColor = clWhite;
  bool FFontDirty = true;
  bool FBrushDirty = true;
  int FPenStep = 0;
};

// GDI on a canvas: the colours above, returning the previous one (after realising the
// canvas's pending font and brush, as reading the VCL's Canvas.Handle does).
TColor SetTextColor(TCanvas* canvas, TColor color);
TColor SetBkColor(TCanvas* canvas, TColor color);
// A block transfer with a ternary raster operation; the pattern is the destination's
// brush. A monochrome source meets a colour destination as: 0 bits the destination's
// text colour, 1 bits its background colour. A colour source meets a monochrome
// destination as: pixels of the source's background colour 1, all others 0.
BOOL BitBlt(TCanvas* dest, int x, int y, int width, int height, TCanvas* source, int sx, int sy, DWORD rop);
// Text in a rectangle with DT_ flags (alignment, single line, word breaks, DT_CALCRECT);
// returns the height of the text.
int DrawText(TCanvas* canvas, const AnsiString& text, TRect& rect, UINT format);

// ---- Graphics and bitmaps -------------------------------------------------------------

TAVO_EXCEPTION(EInvalidGraphic, Exception)
TAVO_EXCEPTION(EInvalidGraphicOperation, Exception)

class TGraphic : public TPersistent {
  TAVO_CLASS(TGraphic, TPersistent)
public:
  virtual int GetWidth() const = 0;
  virtual void SetWidth(int v) = 0;
  virtual int GetHeight() const = 0;
  virtual void SetHeight(int v) = 0;
  virtual bool GetEmpty() const = 0;
  bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool v);

  virtual void LoadFromFile(const AnsiString& fileName) = 0;
  virtual void SaveToFile(const AnsiString& fileName) const = 0;

  TNotifyEvent OnChange;

protected:
  friend class TCanvas;
  virtual void DrawOn(TCanvas* canvas, const TRect& rect) const = 0;
  void Changed();
  bool FTransparent = false;
};

TAVO_ENUM(TPixelFormat, pfDevice, pf1bit, pf24bit, pf32bit)
TAVO_ENUM(TTransparentMode, tmAuto, tmFixed)

class TBitmap : public TGraphic {
  TAVO_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  ~TBitmap() override;

  void Assign(const TPersistent* source) override;

  int GetWidth() const override { return FSurface.Width; }
  // Resizing keeps the pixels that stay inside and fills new ones with the canvas brush.
  void SetWidth(int v) override;
  int GetHeight() const override { return FSurface.Height; }
  void SetHeight(int v) override;
  void SetSize(int width, int height);
  bool GetEmpty() const override { return FSurface.Width == 0 || FSurface.Height == 0; }

  // pf1bit converts each colour pixel to the nearer of black and white.
  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat v);
  // Becoming monochrome follows GDI's colour-to-monochrome transfer: pixels of the
  // canvas's brush colour become white (1), all others black (0) — so to mark the black
  // pixels of a mask, set Canvas->Brush->Color to clBlack first. Leaving monochrome turns
  // 0 bits into the font colour and 1 bits into the brush colour.
  bool GetMonochrome() const { return FSurface.Monochrome; }
  void SetMonochrome(bool v);

  // Under tmAuto the colour of the bottom-left pixel (white for a monochrome bitmap,
  // clDefault for an empty one); under tmFixed the colour set, resolved to RGB.
  TColor GetTransparentColor() const;
  void SetTransparentColor(TColor v);  // clDefault returns to tmAuto, others set tmFixed
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode v);

  TCanvas* GetCanvas() const { return FCanvas.get(); }

  void Dormant() {}
  void FreeImage() {}

  // Windows BMP: BITMAPINFOHEADER (and the larger V4/V5 headers) or BITMAPCOREHEADER;
  // 1, 4, 8, 24 and 32 bits uncompressed, 16 and 32 bits with bit fields; bottom-up or
  // top-down. A 1-bit picture with a black-and-white palette stays monochrome; others
  // become 24-bit. Invalid data raise EInvalidGraphic and leave the bitmap unchanged.
  void LoadFromBuffer(const void* data, size_t size);
  void LoadFromBytes(const AnsiString& bytes) { LoadFromBuffer(bytes.data(), bytes.size()); }
  // Monochrome bitmaps are written with 1 bit per pixel, pf32bit with 32, others with 24.
  AnsiString SaveToBytes() const;
  // Windows paths in the prefix; a file that cannot be read or written raises EInOutError.
  void LoadFromFile(const AnsiString& fileName) override;
  void SaveToFile(const AnsiString& fileName) const override;

  const TPixelSurface& Surface() const { return FSurface; }

protected:
  void DrawOn(TCanvas* canvas, const TRect& rect) const override;

private:
  class TBitmapCanvas;
  void Resize(int width, int height);
  TPixelSurface FSurface;
  TPixelFormat FPixelFormat = pfDevice;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  std::unique_ptr<TCanvas> FCanvas;
};

// A picture holder: the bitmap it keeps, created on first use.
class TPicture : public TPersistent {
  TAVO_CLASS(TPicture, TPersistent)
public:
  TPicture();
  ~TPicture() override;
  void Assign(const TPersistent* source) override;
  TBitmap* GetBitmap();
  void SetBitmap(const TBitmap* v);
  TGraphic* GetGraphic() const { return FBitmap.get(); }
  int GetWidth() const;
  int GetHeight() const;
  void LoadFromFile(const AnsiString& fileName);
  void SaveToFile(const AnsiString& fileName) const;

  TNotifyEvent OnChange;

private:
  void BitmapChanged(TObject* sender);
  std::unique_ptr<TBitmap> FBitmap;
};
