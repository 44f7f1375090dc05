// Format, and the conversions between floating-point numbers and text.
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

// ---- System arithmetic ---------------------------------------------------------------

int64_t Trunc(double x) { return static_cast<int64_t>(x); }
int64_t Round(double x) { return static_cast<int64_t>(std::nearbyint(x)); }
double Int(double x) { return std::trunc(x); }
double Frac(double x) { return x - std::trunc(x); }

// ---- Decimal digits of a number ------------------------------------------------------

namespace {

constexpr int MaxDigits = 18;
constexpr int NoDecimalLimit = 9999;

// value = 0.Digits x 10^Exponent; Digits has no trailing zeros and is empty for zero.
struct TFloatRec {
  bool Negative = false;
  int Exponent = 0;
  AnsiString Digits;
};

// The number rounded half away from zero to `precision` significant digits and to no
// more than `decimals` digits after the point, working from its first 18 digits.
TFloatRec FloatToDecimal(double value, int precision, int decimals) {
  TFloatRec rec;
  if (value == 0) return rec;
  rec.Negative = value < 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", MaxDigits - 1, std::fabs(value));
  AnsiString digits;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  rec.Exponent = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
  int keep = std::min(precision, MaxDigits);
  if (decimals < NoDecimalLimit) keep = std::min(keep, rec.Exponent + decimals);
  if (keep < 0) return TFloatRec();
  if (static_cast<size_t>(keep) < digits.size()) {
    const bool up = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (up) {
      int i = keep - 1;
      while (i >= 0 && digits[static_cast<size_t>(i)] == '9') digits[static_cast<size_t>(i--)] = '0';
      if (i >= 0) {
        ++digits[static_cast<size_t>(i)];
      } else {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        if (digits.empty()) digits = "1";
        ++rec.Exponent;
      }
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) return TFloatRec();
  rec.Digits = digits;
  return rec;
}

AnsiString ExponentText(int exponent, int minDigits, bool alwaysSign) {
  AnsiString r;
  if (exponent < 0) r += '-';
  else if (alwaysSign) r += '+';
  AnsiString n = std::to_string(std::abs(exponent));
  if (static_cast<int>(n.size()) < minDigits) n.insert(0, static_cast<size_t>(minDigits) - n.size(), '0');
  return r + n;
}

AnsiString SpecialText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

AnsiString FormatGeneral(double value, int precision, int expDigits) {
  precision = std::clamp(precision, 1, MaxDigits);
  expDigits = std::clamp(expDigits, 0, 4);
  const TFloatRec rec = FloatToDecimal(value, precision, NoDecimalLimit);
  if (rec.Digits.empty()) return "0";
  AnsiString r = rec.Negative ? "-" : "";
  const int e = rec.Exponent;
  const AnsiString& d = rec.Digits;
  if (e > precision || e < -3) {
    r += d[0];
    if (d.size() > 1) {
      r += DecimalSeparator;
      r.append(d, 1, AnsiString::npos);
    }
    return r + 'E' + ExponentText(e - 1, expDigits, false);
  }
  if (e <= 0) return r + '0' + DecimalSeparator + AnsiString(static_cast<size_t>(-e), '0') + d;
  if (d.size() <= static_cast<size_t>(e)) return r + d + AnsiString(static_cast<size_t>(e) - d.size(), '0');
  return r + d.substr(0, static_cast<size_t>(e)) + DecimalSeparator + d.substr(static_cast<size_t>(e));
}

AnsiString FormatExponent(double value, int precision, int expDigits) {
  precision = std::clamp(precision, 1, MaxDigits);
  expDigits = std::clamp(expDigits, 0, 4);
  const TFloatRec rec = FloatToDecimal(value, precision, NoDecimalLimit);
  AnsiString d = rec.Digits;
  d.resize(static_cast<size_t>(precision), '0');
  AnsiString r = rec.Negative ? "-" : "";
  r += d[0];
  if (precision > 1) {
    r += DecimalSeparator;
    r.append(d, 1, AnsiString::npos);
  }
  const int exponent = rec.Digits.empty() ? 0 : rec.Exponent - 1;
  return r + 'E' + ExponentText(exponent, expDigits, true);
}

// Groups integer digits by three with ThousandSeparator.
AnsiString GroupThousands(const AnsiString& digits) {
  AnsiString r;
  for (size_t i = 0; i < digits.size(); ++i) {
    r += digits[i];
    const size_t rest = digits.size() - i - 1;
    if (rest > 0 && rest % 3 == 0) r += ThousandSeparator;
  }
  return r;
}

// Fixed notation without sign: integer digits (grouped on request) and `decimals` digits.
// Returns false when the number has more integer digits than `precision`.
bool FixedDigits(double value, int precision, int decimals, bool grouped, AnsiString& text, bool& negative) {
  precision = std::clamp(precision, 1, MaxDigits);
  decimals = std::clamp(decimals, 0, MaxDigits);
  const TFloatRec rec = FloatToDecimal(value, precision, decimals);
  if (rec.Exponent > precision) return false;
  negative = rec.Negative;
  const AnsiString& d = rec.Digits;
  const int e = rec.Exponent;
  AnsiString intPart = "0";
  if (e > 0) {
    intPart = d.substr(0, static_cast<size_t>(e));
    intPart.resize(static_cast<size_t>(e), '0');
  }
  AnsiString frac;
  for (int i = 0; i < decimals; ++i) {
    const int at = e + i;  // index into d of this decimal digit
    frac += (at >= 0 && static_cast<size_t>(at) < d.size()) ? d[static_cast<size_t>(at)] : '0';
  }
  text = grouped ? GroupThousands(intPart) : intPart;
  if (decimals > 0) text += DecimalSeparator + frac;
  return true;
}

AnsiString CurrencyText(const AnsiString& amount, bool negative) {
  const AnsiString& c = CurrencyString;
  if (!negative) {
    switch (CurrencyFormat) {
      case 1: return amount + c;
      case 2: return c + ' ' + amount;
      case 3: return amount + ' ' + c;
      default: return c + amount;
    }
  }
  switch (NegCurrFormat) {
    case 0: return '(' + c + amount + ')';
    case 1: return '-' + c + amount;
    case 2: return c + '-' + amount;
    case 3: return c + amount + '-';
    case 4: return '(' + amount + c + ')';
    case 5: return '-' + amount + c;
    case 6: return amount + '-' + c;
    case 7: return amount + c + '-';
    case 8: return '-' + amount + ' ' + c;
    case 9: return '-' + c + ' ' + amount;
    case 10: return amount + ' ' + c + '-';
    case 11: return c + ' ' + amount + '-';
    case 12: return c + ' ' + '-' + amount;
    case 13: return amount + '-' + ' ' + c;
    case 14: return '(' + c + ' ' + amount + ')';
    case 15: return '(' + amount + ' ' + c + ')';
    default: return '-' + c + amount;
  }
}

}  // namespace

AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
  if (!std::isfinite(value)) return SpecialText(value);
  switch (format) {
    case ffGeneral:
      return FormatGeneral(value, precision, digits);
    case ffExponent:
      return FormatExponent(value, precision, digits);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      AnsiString text;
      bool negative = false;
      if (!FixedDigits(value, precision, digits, format != ffFixed, text, negative))
        return FormatGeneral(value, precision, digits);
      if (format == ffCurrency) return CurrencyText(text, negative);
      return negative ? '-' + text : text;
    }
  }
  return FormatGeneral(value, precision, digits);
}

AnsiString FloatToStr(double value) { return FloatToStrF(value, ffGeneral, 15, 0); }

// ---- Text to number ------------------------------------------------------------------

bool TextToFloat(const AnsiString& text, double& value) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  AnsiString c;  // the number in C notation for strtod
  if (i < n && (text[i] == '+' || text[i] == '-')) c += text[i++];
  int mantissaDigits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') {
    c += text[i++];
    ++mantissaDigits;
  }
  if (i < n && text[i] == DecimalSeparator) {
    c += '.';
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      c += text[i++];
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    c += 'e';
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) c += text[i++];
    int expDigits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      c += text[i++];
      ++expDigits;
    }
    if (expDigits == 0) return false;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return false;
  const double v = std::strtod(c.c_str(), nullptr);
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

bool TryStrToFloat(const AnsiString& s, double& value) { return TextToFloat(s, value); }

double StrToFloat(const AnsiString& s) {
  double v;
  if (!TextToFloat(s, v)) throw EConvertError("'" + s + "' is not a valid floating point value");
  return v;
}

double StrToFloatDef(const AnsiString& s, double defaultValue) {
  double v;
  return TextToFloat(s, v) ? v : defaultValue;
}

// ---- FormatFloat ---------------------------------------------------------------------

namespace {

size_t CharLength(const AnsiString& s, size_t i) {
  return (i + 1 < s.size() && IsDBCSLeadByteOfACP(static_cast<unsigned char>(s[i]))) ? 2 : 1;
}

// The picture of one section of a FormatFloat format.
struct TPicture {
  int IntPlaces = 0;   // '0' and '#' before the point
  int MinInt = 0;      // placeholders from the first '0' to the point
  int MinDec = 0;      // '0' after the point, up to the last one
  int MaxDec = 0;      // all placeholders after the point
  bool Thousands = false;
  bool Scientific = false;
};

TPicture AnalysePicture(const AnsiString& section) {
  TPicture p;
  bool afterPoint = false, sawZero = false;
  for (size_t i = 0; i < section.size();) {
    const char c = section[i];
    if (c == '"' || c == '\'') {
      const size_t close = section.find(c, i + 1);
      i = close == AnsiString::npos ? section.size() : close + 1;
      continue;
    }
    if (CharLength(section, i) == 2) {
      i += 2;
      continue;
    }
    if ((c == 'E' || c == 'e') && i + 1 < section.size() && (section[i + 1] == '+' || section[i + 1] == '-')) {
      p.Scientific = true;
      i += 2;
      while (i < section.size() && section[i] == '0') ++i;
      continue;
    }
    if (c == '0' || c == '#') {
      if (afterPoint) {
        ++p.MaxDec;
        if (c == '0') p.MinDec = p.MaxDec;
      } else {
        ++p.IntPlaces;
        if (c == '0') sawZero = true;
        if (sawZero) ++p.MinInt;
      }
    } else if (c == '.') {
      afterPoint = true;
    } else if (c == ',' && !afterPoint) {
      p.Thousands = true;
    }
    ++i;
  }
  return p;
}

std::vector<AnsiString> SplitSections(const AnsiString& format) {
  std::vector<AnsiString> sections(1);
  char quote = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';' && sections.size() < 3) {
      sections.emplace_back();
      continue;
    } else if (CharLength(format, i) == 2) {
      sections.back() += format.substr(i, 2);
      ++i;
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

// Writes one section with the digits of value; returns false when the value rounds to
// zero, so that the zero section may take over.
bool RenderSection(const AnsiString& section, double value, bool withSign, AnsiString& out) {
  const TPicture pic = AnalysePicture(section);
  AnsiString intDigits, decDigits;
  int exponent = 0;
  bool isZero;
  if (pic.Scientific) {
    const int places = std::max(pic.IntPlaces + pic.MaxDec, 1);
    const TFloatRec rec = FloatToDecimal(value, std::min(places, 15), NoDecimalLimit);
    isZero = rec.Digits.empty();
    AnsiString d = rec.Digits;
    d.resize(static_cast<size_t>(places), '0');
    intDigits = d.substr(0, static_cast<size_t>(pic.IntPlaces));
    decDigits = d.substr(static_cast<size_t>(pic.IntPlaces));
    exponent = isZero ? 0 : rec.Exponent - pic.IntPlaces;
  } else {
    const TFloatRec rec = FloatToDecimal(value, 15, pic.MaxDec);
    isZero = rec.Digits.empty();
    const AnsiString& d = rec.Digits;
    const int e = rec.Exponent;
    if (e > 0) {
      intDigits = d.substr(0, static_cast<size_t>(e));
      intDigits.resize(static_cast<size_t>(e), '0');
    }
    for (int i = 0; i < pic.MaxDec; ++i) {
      const int at = e + i;
      decDigits += (at >= 0 && static_cast<size_t>(at) < d.size()) ? d[static_cast<size_t>(at)] : '0';
    }
  }
  // Trailing decimals beyond the required ones are shown only when significant.
  while (static_cast<int>(decDigits.size()) > pic.MinDec && decDigits.back() == '0') decDigits.pop_back();
  if (static_cast<int>(intDigits.size()) < pic.MinInt)
    intDigits.insert(0, static_cast<size_t>(pic.MinInt) - intDigits.size(), '0');

  out.clear();
  if (withSign && !isZero && value < 0) out += '-';
  const int excess = static_cast<int>(intDigits.size()) - pic.IntPlaces;
  int intSeen = 0, decSeen = 0;
  bool afterPoint = false, intEmitted = false;
  auto emitInt = [&](int index) {
    out += intDigits[static_cast<size_t>(index)];
    const int rest = static_cast<int>(intDigits.size()) - index - 1;
    if (pic.Thousands && rest > 0 && rest % 3 == 0) out += ThousandSeparator;
  };
  for (size_t i = 0; i < section.size();) {
    const char c = section[i];
    if (c == '"' || c == '\'') {
      const size_t close = section.find(c, i + 1);
      const size_t end = close == AnsiString::npos ? section.size() : close;
      out.append(section, i + 1, end - i - 1);
      i = close == AnsiString::npos ? section.size() : close + 1;
      continue;
    }
    if (CharLength(section, i) == 2) {
      out.append(section, i, 2);
      i += 2;
      continue;
    }
    if ((c == 'E' || c == 'e') && pic.Scientific && i + 1 < section.size() &&
        (section[i + 1] == '+' || section[i + 1] == '-')) {
      const bool plus = section[i + 1] == '+';
      i += 2;
      int zeros = 0;
      while (i < section.size() && section[i] == '0') {
        ++zeros;
        ++i;
      }
      out += c;
      out += ExponentText(exponent, std::min(zeros, 4), plus);
      continue;
    }
    if ((c == '0' || c == '#') && !afterPoint) {
      if (intSeen == 0)
        for (int k = 0; k < excess; ++k) emitInt(k);
      intEmitted = true;
      const int index = excess + intSeen;
      if (index >= 0) emitInt(index);
      ++intSeen;
    } else if ((c == '0' || c == '#') && afterPoint) {
      if (decSeen < static_cast<int>(decDigits.size())) out += decDigits[static_cast<size_t>(decSeen)];
      ++decSeen;
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      // A picture without integer placeholders still shows the integer part.
      if (!intEmitted)
        for (int k = 0; k < excess; ++k) emitInt(k);
      intEmitted = true;
      if (!decDigits.empty()) out += DecimalSeparator;
    } else if (c == ',' && !afterPoint) {
      // Grouping is placed with the digits.
    } else {
      out += c;
    }
    ++i;
  }
  if (!intEmitted)
    for (int k = 0; k < excess; ++k) emitInt(k);
  return !isZero;
}

}  // namespace

AnsiString FormatFloat(const AnsiString& format, double value) {
  if (!std::isfinite(value)) return SpecialText(value);
  if (format.empty()) return FloatToStr(value);
  const std::vector<AnsiString> sections = SplitSections(format);
  const bool hasNegative = sections.size() >= 2 && !sections[1].empty();
  const bool hasZero = sections.size() >= 3 && !sections[2].empty();
  AnsiString out;
  if (value == 0) {
    RenderSection(hasZero ? sections[2] : sections[0], 0, false, out);
    return out;
  }
  const bool useNegative = value < 0 && hasNegative;
  const bool nonZero = RenderSection(useNegative ? sections[1] : sections[0], useNegative ? -value : value,
                                     !useNegative, out);
  if (!nonZero && hasZero) RenderSection(sections[2], 0, false, out);
  return out;
}

// ---- Format --------------------------------------------------------------------------

namespace {

constexpr int64_t MaxFormatWidth = 1 << 20;

[[noreturn]] void FormatError(const AnsiString& fmt) {
  throw EConvertError("Format '" + fmt + "' invalid or incompatible with argument");
}

}  // namespace

AnsiString Format(const AnsiString& fmt, std::initializer_list<TVarRec> args) {
  return Format(fmt, args.begin(), args.size());
}

AnsiString Format(const AnsiString& fmt, const TVarRec* args, size_t count) {
  AnsiString out;
  size_t argIndex = 0;
  const size_t n = fmt.size();
  auto nextArg = [&]() -> const TVarRec& {
    if (argIndex >= count) FormatError(fmt);
    return args[argIndex++];
  };
  // A number written in the format or taken from the arguments by "*"; -1 when absent.
  // A negative number from the arguments stands for left justification, as in C.
  bool starNegative = false;
  auto readNumber = [&](size_t& i) -> int64_t {
    if (i < n && fmt[i] == '*') {
      ++i;
      const TVarRec& a = nextArg();
      if (a.VType != TVarRec::vtInteger) FormatError(fmt);
      starNegative = a.VInteger < 0;
      return a.VInteger < 0 ? -a.VInteger : a.VInteger;
    }
    if (i >= n || fmt[i] < '0' || fmt[i] > '9') return -1;
    int64_t v = 0;
    while (i < n && fmt[i] >= '0' && fmt[i] <= '9') {
      v = std::min<int64_t>(v * 10 + (fmt[i] - '0'), INT_MAX);
      ++i;
    }
    return v;
  };

  for (size_t i = 0; i < n;) {
    const char c = fmt[i];
    if (c != '%') {
      out += c;
      ++i;
      continue;
    }
    ++i;
    if (i >= n) FormatError(fmt);
    if (fmt[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // [index ":"] ["-"] [width] ["." prec] type
    starNegative = false;
    int64_t width = readNumber(i);
    if (i < n && fmt[i] == ':') {
      if (width < 0 || starNegative) FormatError(fmt);
      argIndex = static_cast<size_t>(width);
      width = -1;
      ++i;
    }
    bool leftJustify = false;
    if (width < 0 && i < n && fmt[i] == '-') {
      leftJustify = true;
      ++i;
    }
    if (width < 0) width = readNumber(i);
    if (starNegative) leftJustify = true;
    starNegative = false;
    // A width no text needs would only exhaust memory: a clear error instead.
    if (width > MaxFormatWidth) FormatError(fmt);
    int64_t prec = -1;
    if (i < n && fmt[i] == '.') {
      ++i;
      prec = readNumber(i);
      if (prec < 0) prec = 0;
      // A negative precision from the arguments means none was given.
      if (starNegative) prec = -1;
    }
    if (i >= n) FormatError(fmt);
    const char type = UpCase(fmt[i++]);
    const TVarRec& a = nextArg();
    const bool isInt = a.VType == TVarRec::vtInteger || a.VType == TVarRec::vtInt64;
    const int precision = prec < 0 ? -1 : static_cast<int>(std::min<int64_t>(prec, 9999));
    AnsiString text;
    switch (type) {
      case 'D':
      case 'U': {
        if (!isInt) FormatError(fmt);
        bool negative = false;
        uint64_t magnitude;
        if (type == 'U') {
          magnitude = a.VType == TVarRec::vtInteger ? static_cast<uint32_t>(a.VInteger)
                                                    : static_cast<uint64_t>(a.VInteger);
        } else {
          negative = a.VInteger < 0;
          magnitude = negative ? ~static_cast<uint64_t>(a.VInteger) + 1 : static_cast<uint64_t>(a.VInteger);
        }
        text = std::to_string(magnitude);
        if (precision > static_cast<int>(text.size())) text.insert(0, static_cast<size_t>(precision) - text.size(), '0');
        if (negative) text.insert(0, 1, '-');
        break;
      }
      case 'X': {
        if (!isInt) FormatError(fmt);
        const uint64_t bits = a.VType == TVarRec::vtInteger ? static_cast<uint32_t>(a.VInteger)
                                                            : static_cast<uint64_t>(a.VInteger);
        text = IntToHexU(bits, std::max(precision, 0));
        break;
      }
      case 'E':
      case 'F':
      case 'G':
      case 'N':
      case 'M': {
        if (a.VType != TVarRec::vtExtended) FormatError(fmt);
        const double v = a.VExtended;
        switch (type) {
          case 'E': text = FloatToStrF(v, ffExponent, precision < 0 ? 15 : precision, 3); break;
          case 'F': text = FloatToStrF(v, ffFixed, MaxDigits, precision < 0 ? 2 : precision); break;
          case 'G': text = FloatToStrF(v, ffGeneral, precision < 0 ? 15 : precision, 3); break;
          case 'N': text = FloatToStrF(v, ffNumber, MaxDigits, precision < 0 ? 2 : precision); break;
          default: text = FloatToStrF(v, ffCurrency, MaxDigits, precision < 0 ? CurrencyDecimals : precision); break;
        }
        break;
      }
      case 'S': {
        switch (a.VType) {
          case TVarRec::vtString: text = a.VString; break;
          case TVarRec::vtWideString: text = WideToAnsiHook(a.VWideString); break;
          case TVarRec::vtChar: text = AnsiString(1, static_cast<char>(a.VInteger)); break;
          case TVarRec::vtInteger:
          case TVarRec::vtInt64:
          case TVarRec::vtBoolean:
          case TVarRec::vtExtended:
          case TVarRec::vtPointer:
            FormatError(fmt);
        }
        if (precision >= 0 && static_cast<size_t>(precision) < text.size()) {
          size_t cut = static_cast<size_t>(precision);
          // Never keep half of a double-byte character.
          if (ByteType(text, static_cast<int>(cut)) == mbLeadByte) --cut;
          text.resize(cut);
        }
        break;
      }
      case 'P': {
        if (a.VType != TVarRec::vtPointer) FormatError(fmt);
        text = IntToHexU(reinterpret_cast<uintptr_t>(a.VPointer), 8);
        break;
      }
      default:
        FormatError(fmt);
    }
    if (width > static_cast<int64_t>(text.size())) {
      const AnsiString pad(static_cast<size_t>(width) - text.size(), ' ');
      text = leftJustify ? text + pad : pad + text;
    }
    out += text;
  }
  return out;
}
