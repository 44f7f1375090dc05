// The glyph library: small button pictures drawn in code, pixel by pixel, and handed out
// as BMP files.
#include "Glyphbank.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int FrameSize = 16;

// Colours as 0xRRGGBB.
constexpr uint32_t Clear = 0xFF00FF;  // the background, never used inside a picture
constexpr uint32_t Black = 0x000000;
constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Gray = 0x808080;
constexpr uint32_t Silver = 0xC0C0C0;
constexpr uint32_t Navy = 0x000080;
constexpr uint32_t Blue = 0x0050D0;
constexpr uint32_t SkyBlue = 0xB0D8FF;
constexpr uint32_t Red = 0xD00000;
constexpr uint32_t DarkRed = 0x800000;
constexpr uint32_t Green = 0x008000;
constexpr uint32_t Lime = 0x20C020;
constexpr uint32_t Yellow = 0xFFE040;
constexpr uint32_t Ochre = 0xC08000;
constexpr uint32_t Brown = 0x804000;
constexpr uint32_t Skin = 0xF0C090;
constexpr uint32_t Paper = 0xFFFFF0;

// One frame being drawn.
class TFrame {
public:
  TFrame() { FPixels.fill(Clear); }

  uint32_t At(int x, int y) const { return Inside(x, y) ? FPixels[y * FrameSize + x] : Clear; }
  void Set(int x, int y, uint32_t c) {
    if (Inside(x, y)) FPixels[y * FrameSize + x] = c;
  }
  // Corners inclusive.
  void Fill(int x1, int y1, int x2, int y2, uint32_t c) {
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) Set(x, y, c);
  }
  void Frame(int x1, int y1, int x2, int y2, uint32_t c) {
    Line(x1, y1, x2, y1, c);
    Line(x1, y2, x2, y2, c);
    Line(x1, y1, x1, y2, c);
    Line(x2, y1, x2, y2, c);
  }
  void Box(int x1, int y1, int x2, int y2, uint32_t border, uint32_t inside) {
    Fill(x1, y1, x2, y2, inside);
    Frame(x1, y1, x2, y2, border);
  }
  // Both end points drawn.
  void Line(int x0, int y0, int x1, int y1, uint32_t c) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      Set(x0, y0, c);
      if (x0 == x1 && y0 == y1) break;
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
  }
  // A disc of radius r (in half pixels, so even sizes can be centred between pixels)
  // around the centre (cx2 / 2, cy2 / 2).
  void Disc(int cx2, int cy2, int r2, uint32_t c) {
    for (int y = 0; y < FrameSize; ++y)
      for (int x = 0; x < FrameSize; ++x) {
        const int dx = 2 * x + 1 - cx2, dy = 2 * y + 1 - cy2;
        if (dx * dx + dy * dy <= r2 * r2) Set(x, y, c);
      }
  }
  void Ring(int cx2, int cy2, int r2, uint32_t c) {
    for (int y = 0; y < FrameSize; ++y)
      for (int x = 0; x < FrameSize; ++x) {
        const int dx = 2 * x + 1 - cx2, dy = 2 * y + 1 - cy2;
        const int d = dx * dx + dy * dy;
        if (d <= r2 * r2 && d > (r2 - 2) * (r2 - 2)) Set(x, y, c);
      }
  }
  // A triangle pointing right (dir 1) or left (dir -1) with its tip at (tipX, midY).
  void Arrowhead(int tipX, int midY, int half, int dir, uint32_t c) {
    for (int i = 0; i <= half; ++i) Line(tipX - dir * i, midY - i, tipX - dir * i, midY + i, c);
  }
  void ArrowheadVertical(int midX, int tipY, int half, int dir, uint32_t c) {
    for (int i = 0; i <= half; ++i) Line(midX - i, tipY - dir * i, midX + i, tipY - dir * i, c);
  }

private:
  static bool Inside(int x, int y) { return x >= 0 && y >= 0 && x < FrameSize && y < FrameSize; }
  std::array<uint32_t, FrameSize * FrameSize> FPixels;
};

// ---- The pictures ----------------------------------------------------------------------

void Magnifier(TFrame& f) {
  f.Disc(13, 13, 9, SkyBlue);
  f.Ring(13, 13, 10, Black);
  f.Set(4, 4, White);
  f.Set(5, 4, White);
  f.Set(4, 5, White);
  for (int i = 0; i < 5; ++i) {
    f.Line(9 + i, 10 + i, 10 + i, 10 + i, Brown);
    f.Set(10 + i, 9 + i, Brown);
  }
}

void Calendar(TFrame& f) {
  f.Box(1, 2, 14, 14, Black, White);
  f.Fill(2, 3, 13, 5, Red);
  f.Fill(4, 1, 4, 3, Black);
  f.Fill(11, 1, 11, 3, Black);
  for (int y = 7; y <= 12; y += 2)
    for (int x = 3; x <= 12; x += 2) f.Set(x, y, Gray);
  f.Fill(8, 9, 10, 11, Blue);
}

void WasteBin(TFrame& f) {
  f.Fill(6, 1, 9, 1, Black);
  f.Fill(2, 2, 13, 3, Gray);
  f.Frame(2, 2, 13, 3, Black);
  f.Box(3, 4, 12, 14, Black, Silver);
  for (int x = 5; x <= 10; x += 2) f.Line(x, 6, x, 12, Gray);
}

void Cross(TFrame& f) {
  for (int i = 0; i <= 8; ++i) {
    f.Set(3 + i, 3 + i, Red);
    f.Set(4 + i, 3 + i, Red);
    f.Set(3 + i, 4 + i, DarkRed);
    f.Set(12 - i, 3 + i, Red);
    f.Set(11 - i, 3 + i, Red);
    f.Set(12 - i, 4 + i, DarkRed);
  }
}

void Warehouse(TFrame& f) {
  for (int i = 0; i <= 6; ++i) f.Line(7 - i, 1 + i, 8 + i, 1 + i, DarkRed);
  f.Line(1, 7, 7, 1, Black);
  f.Line(8, 1, 14, 7, Black);
  f.Box(2, 7, 13, 14, Black, Ochre);
  f.Box(6, 10, 9, 14, Black, Brown);
  f.Box(3, 9, 4, 10, Black, SkyBlue);
  f.Box(11, 9, 12, 10, Black, SkyBlue);
}

// A head (centre and radius in half pixels) over shoulders.
void Person(TFrame& f, int cx2, int cy2, int r2, int x1, int y1, int x2, int y2, uint32_t coat) {
  f.Fill(x1, y1, x2, y2, coat);
  f.Frame(x1, y1, x2, y2, Black);
  f.Set(x1, y1, Clear);
  f.Set(x2, y1, Clear);
  f.Disc(cx2, cy2, r2, Skin);
  f.Ring(cx2, cy2, r2 + 1, Black);
}

void OnePerson(TFrame& f) { Person(f, 15, 9, 6, 3, 9, 12, 14, Blue); }

void Group(TFrame& f) {
  Person(f, 21, 7, 4, 7, 6, 14, 11, Green);
  Person(f, 11, 13, 4, 1, 9, 9, 14, Blue);
}

void Document(TFrame& f) {
  f.Box(3, 1, 12, 14, Black, Paper);
  f.Line(10, 1, 12, 3, Black);
  f.Set(11, 1, Clear);
  f.Set(12, 1, Clear);
  f.Set(12, 2, Clear);
  f.Set(10, 2, Silver);
  f.Set(10, 3, Black);
  f.Set(11, 3, Black);
  for (int y = 5; y <= 12; y += 2) f.Line(5, y, y == 11 ? 8 : 10, y, Navy);
}

void First(TFrame& f) {
  f.Fill(3, 3, 4, 12, Black);
  f.Arrowhead(5, 7, 5, -1, Black);
  f.Arrowhead(5, 8, 5, -1, Black);
}
void Prior(TFrame& f) {
  f.Arrowhead(5, 7, 5, -1, Black);
  f.Arrowhead(5, 8, 5, -1, Black);
}
void Next(TFrame& f) {
  f.Arrowhead(10, 7, 5, 1, Black);
  f.Arrowhead(10, 8, 5, 1, Black);
}
void Last(TFrame& f) {
  f.Arrowhead(10, 7, 5, 1, Black);
  f.Arrowhead(10, 8, 5, 1, Black);
  f.Fill(11, 3, 12, 12, Black);
}

void Folder(TFrame& f) {
  f.Box(1, 3, 6, 5, Black, Yellow);
  f.Box(1, 5, 14, 13, Black, Yellow);
  f.Line(2, 6, 13, 6, White);
  f.Line(2, 12, 13, 12, Ochre);
}

void Printer(TFrame& f) {
  f.Box(4, 1, 11, 5, Black, White);
  f.Box(1, 5, 14, 11, Black, Silver);
  f.Set(12, 7, Lime);
  f.Box(4, 9, 11, 14, Black, White);
  f.Line(6, 11, 9, 11, Gray);
  f.Line(6, 13, 9, 13, Gray);
}

void Check(TFrame& f) {
  for (int i = 0; i <= 3; ++i) {
    f.Set(2 + i, 7 + i, Green);
    f.Set(2 + i, 8 + i, Lime);
    f.Set(2 + i, 9 + i, Green);
  }
  for (int i = 0; i <= 7; ++i) {
    f.Set(6 + i, 10 - i, Green);
    f.Set(6 + i, 11 - i, Lime);
    f.Set(6 + i, 12 - i, Green);
  }
}

void Disk(TFrame& f) {
  f.Box(1, 1, 14, 14, Black, Navy);
  f.Box(4, 1, 11, 6, Black, White);
  f.Fill(9, 2, 10, 5, Navy);
  f.Box(3, 9, 12, 14, Black, Silver);
}

void ArrowUp(TFrame& f) {
  f.ArrowheadVertical(7, 2, 5, -1, Blue);
  f.ArrowheadVertical(8, 2, 5, -1, Blue);
  f.Fill(6, 7, 9, 13, Blue);
}
void ArrowDown(TFrame& f) {
  f.ArrowheadVertical(7, 13, 5, 1, Blue);
  f.ArrowheadVertical(8, 13, 5, 1, Blue);
  f.Fill(6, 2, 9, 8, Blue);
}

void Plus(TFrame& f) {
  f.Fill(6, 2, 9, 13, Green);
  f.Fill(2, 6, 13, 9, Green);
}
void Minus(TFrame& f) { f.Fill(2, 6, 13, 9, Red); }

void Question(TFrame& f) {
  f.Disc(16, 16, 14, Blue);
  f.Fill(6, 4, 9, 4, White);
  f.Set(5, 5, White);
  f.Set(10, 5, White);
  f.Set(10, 6, White);
  f.Set(9, 7, White);
  f.Fill(7, 8, 8, 9, White);
  f.Fill(7, 11, 8, 12, White);
}

void Information(TFrame& f) {
  f.Disc(16, 16, 14, Blue);
  f.Fill(7, 3, 8, 4, White);
  f.Fill(7, 6, 8, 12, White);
  f.Set(6, 6, White);
  f.Fill(6, 12, 9, 12, White);
}

void Key(TFrame& f) {
  f.Disc(10, 10, 9, Ochre);
  f.Ring(10, 10, 9, Black);
  f.Disc(10, 10, 3, Clear);
  for (int i = 0; i <= 6; ++i) {
    f.Set(7 + i, 7 + i, Ochre);
    f.Set(8 + i, 7 + i, Black);
    f.Set(7 + i, 8 + i, Black);
  }
  f.Line(10, 12, 11, 11, Black);
  f.Line(12, 14, 13, 13, Black);
}

void Envelope(TFrame& f) {
  f.Box(1, 3, 14, 12, Black, Paper);
  f.Line(1, 3, 7, 8, Black);
  f.Line(8, 8, 14, 3, Black);
}

void Clock(TFrame& f) {
  f.Disc(16, 16, 14, White);
  f.Ring(16, 16, 14, Black);
  f.Line(7, 3, 7, 7, Black);
  f.Line(8, 8, 11, 8, Red);
  f.Set(7, 8, Black);
}

void Funnel(TFrame& f) {
  for (int i = 0; i <= 5; ++i) f.Line(1 + i, 2 + i, 14 - i, 2 + i, Blue);
  f.Line(1, 2, 14, 2, Navy);
  f.Fill(6, 8, 9, 13, Blue);
}

void Sum(TFrame& f) {
  f.Line(3, 2, 12, 2, Black);
  f.Line(3, 13, 12, 13, Black);
  f.Line(3, 2, 8, 7, Black);
  f.Line(4, 2, 9, 7, Black);
  f.Line(8, 8, 3, 13, Black);
  f.Line(9, 8, 4, 13, Black);
  f.Fill(12, 3, 12, 4, Black);
  f.Fill(12, 11, 12, 12, Black);
}

void ExitDoor(TFrame& f) {
  f.Box(2, 1, 9, 14, Black, Brown);
  f.Set(7, 8, Yellow);
  f.Arrowhead(14, 7, 3, 1, Red);
  f.Fill(10, 7, 11, 7, Red);
}

void Refresh(TFrame& f) {
  f.Ring(16, 16, 12, Green);
  f.Ring(16, 16, 11, Green);
  f.Fill(10, 1, 14, 5, Clear);
  f.Arrowhead(13, 4, 3, 1, Green);
}

using TPainter = void (*)(TFrame&);

// Pictures for numbers that name no particular one.
constexpr TPainter Others[] = {Folder,  Printer, Check,       Disk,  ArrowUp, ArrowDown, Plus,
                               Minus,   Question, Information, Key,   Clock,   Envelope,  Funnel,
                               Sum,     ExitDoor, Refresh};

constexpr int MaxBmpID = 96;

TPainter PainterOf(int id) {
  switch (id) {
    case 4: return WasteBin;
    case 8: return Magnifier;
    case 9: return Calendar;
    case 28: return First;
    case 29: return Prior;
    case 30: return Next;
    case 31: return Last;
    case 39: return OnePerson;
    case 47: return Cross;
    case 63: return Warehouse;
    case 78: return Group;
    case 81: return Document;
    case 10: return Folder;
    case 11: return Printer;
    case 12: return Check;
    case 13: return Disk;
    default: return Others[id % (sizeof(Others) / sizeof(Others[0]))];
  }
}

// Glyphs that carry their own disabled look as a second frame.
bool HasDisabledFrame(int id) { return id == 4; }

// The disabled look: the picture's dark pixels in grey, with a white edge below right.
TFrame Etched(const TFrame& up) {
  TFrame f;
  for (int y = 0; y < FrameSize; ++y)
    for (int x = 0; x < FrameSize; ++x) {
      const uint32_t c = up.At(x, y);
      if (c == Clear) continue;
      const int sum = int(c >> 16) + int((c >> 8) & 0xFF) + int(c & 0xFF);
      if (sum < 384 || up.At(x + 1, y) == Clear || up.At(x, y + 1) == Clear) {
        if (f.At(x + 1, y + 1) == Clear && up.At(x + 1, y + 1) == Clear) f.Set(x + 1, y + 1, White);
        f.Set(x, y, Gray);
      }
    }
  // The bottom-left pixel names the background, so it must stay clear.
  f.Set(0, FrameSize - 1, Clear);
  return f;
}

void Put16(std::vector<unsigned char>& out, size_t at, uint32_t v) {
  out[at] = static_cast<unsigned char>(v);
  out[at + 1] = static_cast<unsigned char>(v >> 8);
}
void Put32(std::vector<unsigned char>& out, size_t at, uint32_t v) {
  Put16(out, at, v & 0xFFFF);
  Put16(out, at + 2, v >> 16);
}

std::vector<unsigned char> EncodeBmp(const std::vector<const TFrame*>& frames) {
  const int width = FrameSize * static_cast<int>(frames.size());
  const int height = FrameSize;
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t offBits = 14 + 40;
  const uint32_t imageSize = static_cast<uint32_t>(stride * height);
  std::vector<unsigned char> out(offBits + imageSize, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, offBits + imageSize);
  Put32(out, 10, offBits);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<uint32_t>(width));
  Put32(out, 22, static_cast<uint32_t>(height));
  Put16(out, 26, 1);
  Put16(out, 28, 24);
  Put32(out, 34, imageSize);
  Put32(out, 38, 3780);  // 96 dots per inch
  Put32(out, 42, 3780);
  for (int y = 0; y < height; ++y) {
    size_t row = offBits + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const uint32_t c = frames[x / FrameSize]->At(x % FrameSize, y);
      out[row++] = static_cast<unsigned char>(c);
      out[row++] = static_cast<unsigned char>(c >> 8);
      out[row++] = static_cast<unsigned char>(c >> 16);
    }
  }
  return out;
}

std::vector<unsigned char> RenderGlyph(int id) {
  TFrame up;
  PainterOf(id)(up);
  up.Set(0, FrameSize - 1, Clear);
  if (!HasDisabledFrame(id)) return EncodeBmp({&up});
  const TFrame disabled = Etched(up);
  return EncodeBmp({&up, &disabled});
}

}  // namespace

extern "C" {

GLYPHBANK_API int GetMaxBmpID(void) { return MaxBmpID; }

GLYPHBANK_API int LoadBmp(int id, unsigned char* buffer, int bufferSize) {
  if (bufferSize < 0 || (!buffer && bufferSize > 0)) return GLB_ERROR_ARGUMENT;
  if (id < 1 || id > MaxBmpID) return GLB_ERROR_UNKNOWN_ID;
  const std::vector<unsigned char> bmp = RenderGlyph(id);
  const int size = static_cast<int>(bmp.size());
  if (size <= bufferSize) std::memcpy(buffer, bmp.data(), bmp.size());
  return size;
}

}  // extern "C"
