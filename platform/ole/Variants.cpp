#include "platform/ole/Variants.h"

#include "platform/ole/ComObj.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#define TAVO_EXCEPTION_IMPL(Cls) \
  const char* Cls::ClassName() const { return #Cls; }

TAVO_EXCEPTION_IMPL(EVariantOverflowError)
TAVO_EXCEPTION_IMPL(EVariantBadIndexError)
TAVO_EXCEPTION_IMPL(EVariantNotAnArrayError)
TAVO_EXCEPTION_IMPL(EVariantArrayCreateError)
TAVO_EXCEPTION_IMPL(EVariantInvalidOpError)
TAVO_EXCEPTION_IMPL(EVariantInvalidArgError)
TAVO_EXCEPTION_IMPL(EVariantBadVarTypeError)

// The storage of a variant, for the free functions of this unit.
struct TVariantAccess {
  template <class T>
  static Variant Make(TVarType type, T value) {
    Variant v;
    v.FVType = type;
    v.FValue.emplace<T>(std::move(value));
    return v;
  }
  static int64_t Int(const Variant& v) { return std::get<int64_t>(v.FValue); }
  static double Real(const Variant& v) { return std::get<double>(v.FValue); }
  static bool Bool(const Variant& v) { return std::get<bool>(v.FValue); }
  static const AnsiString& Ansi(const Variant& v) { return std::get<AnsiString>(v.FValue); }
  static const WideString& Wide(const Variant& v) { return std::get<WideString>(v.FValue); }
  static const std::shared_ptr<IAutomationObject>& Dispatch(const Variant& v) {
    return std::get<std::shared_ptr<IAutomationObject>>(v.FValue);
  }
  static TVarArrayData* Array(const Variant& v) {
    const auto* box = std::get_if<Variant::TArrayBox>(&v.FValue);
    return box ? box->Get() : nullptr;
  }
};

namespace {

using VA = TVariantAccess;

constexpr int64_t CurrencyScale = 10000;
// Keeps a mistyped bound from asking for gigabytes.
constexpr int64_t MaxArrayElements = int64_t(1) << 24;

const char* const SIndexOutOfBounds = "Variant or safe array index out of bounds";
const char* const SNotAnArray = "Variant is not an array";
const char* const SArrayCreate = "Error creating variant or safe array";
const char* const SInvalidOp = "Invalid variant operation";
const char* const SBadVarType = "Invalid variant type";

[[noreturn]] void CastError(TVarType from, TVarType to) {
  throw EVariantTypeCastError("Could not convert variant of type (" + VarTypeAsText(from) +
                              ") into type (" + VarTypeAsText(to) + ")");
}

[[noreturn]] void OverflowError(TVarType from, TVarType to) {
  throw EVariantOverflowError("Overflow while converting variant of type (" + VarTypeAsText(from) +
                              ") into type (" + VarTypeAsText(to) + ")");
}

bool IsIntegerType(TVarType t) {
  return t == varSmallint || t == varInteger || t == varShortInt || t == varByte || t == varWord ||
         t == varLongWord || t == varInt64;
}

bool IsRealType(TVarType t) { return t == varSingle || t == varDouble || t == varDate; }

bool IsTextType(TVarType t) { return t == varString || t == varOleStr; }

int64_t CheckRange(int64_t value, int64_t lo, int64_t hi, TVarType from, TVarType to) {
  if (value < lo || value > hi) OverflowError(from, to);
  return value;
}

// Half to even, as Delphi's Round.
int64_t RoundToInt64(double d, TVarType from, TVarType to) {
  if (!std::isfinite(d) || d >= 9223372036854775808.0 || d < -9223372036854775808.0)
    OverflowError(from, to);
  return static_cast<int64_t>(std::nearbyint(d));
}

int64_t RoundScaledCurrency(int64_t scaled) {
  int64_t q = scaled / CurrencyScale;
  const int64_t r = scaled % CurrencyScale;
  const int64_t half = CurrencyScale / 2;
  if (r > half || (r == half && (q & 1))) ++q;
  else if (r < -half || (r == -half && (q & 1))) --q;
  return q;
}

AnsiString TextOf(const Variant& v) {
  return VarType(v) == varString ? VA::Ansi(v) : WideToAnsi(VA::Wide(v));
}

bool IsClearDispatch(const Variant& v) { return VarType(v) == varDispatch && !VA::Dispatch(v); }

int64_t ToInt64(const Variant& v, TVarType to) {
  const TVarType t = VarType(v);
  if (t == varEmpty) return 0;
  if (IsIntegerType(t)) return VA::Int(v);
  if (t == varCurrency) return RoundScaledCurrency(VA::Int(v));
  if (IsRealType(t)) return RoundToInt64(VA::Real(v), t, to);
  if (t == varBoolean) return VA::Bool(v) ? -1 : 0;
  if (IsTextType(t)) {
    const AnsiString s = TextOf(v);
    int64_t i = 0;
    if (TryStrToInt64(s, i)) return i;
    double d = 0;
    if (TryStrToFloat(s, d)) return RoundToInt64(d, t, to);
  }
  CastError(t, to);
}

double ToDouble(const Variant& v, TVarType to) {
  const TVarType t = VarType(v);
  if (t == varEmpty) return 0;
  if (IsIntegerType(t)) return static_cast<double>(VA::Int(v));
  if (t == varCurrency) return static_cast<double>(VA::Int(v)) / CurrencyScale;
  if (IsRealType(t)) return VA::Real(v);
  if (t == varBoolean) return VA::Bool(v) ? -1 : 0;
  if (IsTextType(t)) {
    double d = 0;
    if (TryStrToFloat(TextOf(v), d)) return d;
  }
  CastError(t, to);
}

int64_t ScaleToCurrency(double d, TVarType from) {
  return RoundToInt64(d * CurrencyScale, from, varCurrency);
}

int64_t ToCurrencyScaled(const Variant& v) {
  const TVarType t = VarType(v);
  if (t == varCurrency) return VA::Int(v);
  if (IsIntegerType(t)) {
    const int64_t i = VA::Int(v);
    const int64_t limit = std::numeric_limits<int64_t>::max() / CurrencyScale;
    if (i > limit || i < -limit) OverflowError(t, varCurrency);
    return i * CurrencyScale;
  }
  return ScaleToCurrency(ToDouble(v, varCurrency), t);
}

bool ToBool(const Variant& v) {
  const TVarType t = VarType(v);
  if (t == varEmpty) return false;
  if (IsIntegerType(t) || t == varCurrency) return VA::Int(v) != 0;
  if (IsRealType(t)) return VA::Real(v) != 0;
  if (t == varBoolean) return VA::Bool(v);
  if (IsTextType(t)) {
    const AnsiString s = TextOf(v);
    if (SameText(s, "True")) return true;
    if (SameText(s, "False")) return false;
    int64_t i = 0;
    if (TryStrToInt64(s, i)) return i != 0;
    double d = 0;
    if (TryStrToFloat(s, d)) return d != 0;
  }
  CastError(t, varBoolean);
}

// Currency as its exact decimal value, without trailing zeros.
std::string CurrencyDigits(int64_t scaled, char separator) {
  const bool negative = scaled < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : uint64_t(scaled);
  std::string text = std::to_string(magnitude / CurrencyScale);
  uint64_t fraction = magnitude % CurrencyScale;
  if (fraction != 0) {
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
    std::string f(digits);
    while (!f.empty() && f.back() == '0') f.pop_back();
    text += separator;
    text += f;
  }
  return negative ? "-" + text : text;
}

// A Single is shown with the digits that identify it, not the noise of its widening.
double SingleAsDouble(double stored) {
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<float>(stored));
  double d = stored;
  if (ec == std::errc()) std::from_chars(buf, end, d);
  return d;
}

AnsiString ToAnsi(const Variant& v) {
  const TVarType t = VarType(v);
  if (t == varEmpty) return AnsiString();
  if (t == varString) return VA::Ansi(v);
  if (t == varOleStr) return WideToAnsi(VA::Wide(v));
  if (IsIntegerType(t)) return std::to_string(VA::Int(v));
  if (t == varBoolean) return VA::Bool(v) ? "True" : "False";
  if (t == varDouble) return FloatToStr(VA::Real(v));
  if (t == varSingle) return FloatToStr(SingleAsDouble(VA::Real(v)));
  if (t == varCurrency) return CurrencyDigits(VA::Int(v), DecimalSeparator);
  if (t == varDate) return DateTimeToStr(VA::Real(v));
  CastError(t, varString);
}

WideString ToWide(const Variant& v) {
  const TVarType t = VarType(v);
  if (t == varOleStr) return VA::Wide(v);
  if (t == varNull) CastError(t, varOleStr);
  if (t == varDispatch || (t & varArray)) CastError(t, varOleStr);
  return AnsiToWide(ToAnsi(v));
}

TDateTime ToDateTime(const Variant& v) {
  const TVarType t = VarType(v);
  if (t == varDate) return VA::Real(v);
  if (IsTextType(t)) {
    TDateTime d = 0;
    if (TryStrToDateTime(TextOf(v), d)) return d;
    CastError(t, varDate);
  }
  return ToDouble(v, varDate);
}

TVarArrayData& ArrayData(const Variant& v) {
  TVarArrayData* data = VA::Array(v);
  if (!data) throw EVariantNotAnArrayError(SNotAnArray);
  return *data;
}

size_t ElementOffset(const TVarArrayData& data, std::span<const int> indices) {
  if (indices.size() != data.Bounds.size()) throw EVariantBadIndexError(SIndexOutOfBounds);
  size_t offset = 0;
  for (size_t d = 0; d < indices.size(); ++d) {
    const TVarArrayBound& b = data.Bounds[d];
    const int64_t rel = int64_t(indices[d]) - b.LowBound;
    if (rel < 0 || rel >= b.ElementCount) throw EVariantBadIndexError(SIndexOutOfBounds);
    offset = offset * size_t(b.ElementCount) + size_t(rel);
  }
  return offset;
}

bool IsArrayElementType(TVarType t) {
  return t == varVariant || IsIntegerType(t) || IsRealType(t) || t == varCurrency ||
         t == varOleStr || t == varDispatch || t == varBoolean;
}

Variant DefaultElement(TVarType elementType) {
  if (elementType == varVariant) return Variant();
  return VarAsType(Variant(), elementType);
}

const TVarArrayBound& BoundOf(const Variant& v, int dim) {
  const TVarArrayData& data = ArrayData(v);
  if (dim < 1 || dim > int(data.Bounds.size())) throw EVariantBadIndexError(SIndexOutOfBounds);
  return data.Bounds[size_t(dim - 1)];
}

// ---- Comparison -------------------------------------------------------------------

enum class TOrder { Less, Equal, Greater, Unequal };

template <class T>
TOrder OrderOf(const T& a, const T& b) {
  return a < b ? TOrder::Less : (b < a ? TOrder::Greater : TOrder::Equal);
}

bool IsNumberLike(TVarType t) {
  return IsIntegerType(t) || IsRealType(t) || t == varCurrency || t == varBoolean;
}

// Empty takes the other side's kind (0, '', False); Null equals only Null and counts as
// Empty when ordered.
TOrder CompareVariants(const Variant& a, const Variant& b, bool forEquality) {
  const TVarType ta = VarType(a), tb = VarType(b);
  if ((ta & varArray) || (tb & varArray)) throw EVariantInvalidOpError(SInvalidOp);
  if (ta == varNull || tb == varNull) {
    if (forEquality) return ta == tb ? TOrder::Equal : TOrder::Unequal;
    return CompareVariants(ta == varNull ? Variant() : a, tb == varNull ? Variant() : b, false);
  }
  if (ta == varDispatch || tb == varDispatch) {
    if (!forEquality) throw EVariantInvalidOpError(SInvalidOp);
    const bool clearA = ta == varEmpty || IsClearDispatch(a);
    const bool clearB = tb == varEmpty || IsClearDispatch(b);
    if (clearA || clearB) return clearA && clearB ? TOrder::Equal : TOrder::Unequal;
    if (ta != tb) throw EVariantInvalidOpError(SInvalidOp);
    return VA::Dispatch(a) == VA::Dispatch(b) ? TOrder::Equal : TOrder::Unequal;
  }
  if (ta == varEmpty && tb == varEmpty) return TOrder::Equal;
  if (ta == varEmpty) return CompareVariants(VarAsType(a, tb), b, forEquality);
  if (tb == varEmpty) return CompareVariants(a, VarAsType(b, ta), forEquality);

  if (IsTextType(ta) && IsTextType(tb)) {
    if (ta == varString && tb == varString) return OrderOf(VA::Ansi(a), VA::Ansi(b));
    return OrderOf(ToWide(a), ToWide(b));
  }
  if (ta == varBoolean && tb == varBoolean) return OrderOf(VA::Bool(a), VA::Bool(b));
  if (ta == varBoolean && IsTextType(tb)) return OrderOf(VA::Bool(a), ToBool(b));
  if (IsTextType(ta) && tb == varBoolean) return OrderOf(ToBool(a), VA::Bool(b));
  if (ta == varDate && IsTextType(tb)) return OrderOf(VA::Real(a), ToDateTime(b));
  if (IsTextType(ta) && tb == varDate) return OrderOf(ToDateTime(a), VA::Real(b));

  const bool exactA = IsIntegerType(ta) || ta == varBoolean;
  const bool exactB = IsIntegerType(tb) || tb == varBoolean;
  if (exactA && exactB) return OrderOf(ToInt64(a, varInt64), ToInt64(b, varInt64));
  if ((exactA || ta == varCurrency) && (exactB || tb == varCurrency))
    return OrderOf(ToCurrencyScaled(a), ToCurrencyScaled(b));
  if ((IsNumberLike(ta) || IsTextType(ta)) && (IsNumberLike(tb) || IsTextType(tb))) {
    const double da = ToDouble(a, varDouble), db = ToDouble(b, varDouble);
    if (std::isnan(da) || std::isnan(db)) return TOrder::Unequal;
    return OrderOf(da, db);
  }
  throw EVariantInvalidOpError(SInvalidOp);
}

bool Ordered(const Variant& a, const Variant& b, bool (*accept)(TOrder)) {
  return accept(CompareVariants(a, b, false));
}

// ---- Literal form -----------------------------------------------------------------

void AppendText(std::string& out, std::u16string_view text) {
  if (text.empty()) {
    out += "''";
    return;
  }
  bool quoted = false;
  std::u16string run;
  auto flush = [&] {
    if (!run.empty()) out += WideToAnsi(run, CP_UTF8);
    run.clear();
  };
  for (const char16_t c : text) {
    if (c < 32) {
      flush();
      if (quoted) out += '\'';
      quoted = false;
      out += '#';
      out += std::to_string(unsigned(c));
    } else {
      if (!quoted) out += '\'';
      quoted = true;
      run += c;
      if (c == u'\'') run += c;
    }
  }
  flush();
  if (quoted) out += '\'';
}

void AppendFloat(std::string& out, double d) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  out.append(buf, ec == std::errc() ? end : buf);
}

void AppendDate(std::string& out, TDateTime value) {
  if (!std::isfinite(value) || std::fabs(value) > 1e9) {
    out += "Date(";
    AppendFloat(out, value);
    out += ')';
    return;
  }
  // Delphi's decoding: milliseconds rounded, the fraction counted from midnight even
  // before 1899-12-30.
  constexpr int64_t msPerDay = 86400000;
  const int64_t total = static_cast<int64_t>(std::llround(value * msPerDay));
  const int64_t ms = (total < 0 ? -total : total) % msPerDay;
  const int64_t days = total / msPerDay;
  // Civil date from a day count (1970-01-01 based; 1899-12-30 is day -25569).
  const int64_t z = days - 25569 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  char buf[64];
  std::snprintf(buf, sizeof buf, "Date(%04lld-%02lld-%02lld %02lld:%02lld:%02lld.%03lld)",
                static_cast<long long>(year), static_cast<long long>(month),
                static_cast<long long>(day), static_cast<long long>(ms / 3600000),
                static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                static_cast<long long>(ms % 1000));
  out += buf;
}

void AppendLiteral(std::string& out, const Variant& v);

void AppendArrayLevel(std::string& out, const TVarArrayData& data, size_t dim, size_t& next) {
  const int count = data.Bounds[dim].ElementCount;
  const bool last = dim + 1 == data.Bounds.size();
  for (int i = 0; i < count; ++i) {
    if (i > 0) out += ", ";
    if (last) {
      AppendLiteral(out, data.Elements[next++]);
    } else {
      out += '(';
      AppendArrayLevel(out, data, dim + 1, next);
      out += ')';
    }
  }
}

void AppendArray(std::string& out, const TVarArrayData& data) {
  out += '[';
  for (size_t d = 0; d < data.Bounds.size(); ++d) {
    if (d > 0) out += ", ";
    const TVarArrayBound& b = data.Bounds[d];
    out += std::to_string(b.LowBound) + ".." +
           std::to_string(int64_t(b.LowBound) + b.ElementCount - 1);
  }
  out += ':';
  if (data.Bounds.empty() || data.Bounds[0].ElementCount > 0) {
    out += ' ';
    size_t next = 0;
    AppendArrayLevel(out, data, 0, next);
  }
  out += ']';
}

void AppendLiteral(std::string& out, const Variant& v) {
  const TVarType t = VarType(v);
  if (t & varArray) return AppendArray(out, ArrayData(v));
  if (t == varEmpty) out += "Unassigned";
  else if (t == varNull) out += "Null";
  else if (t == varBoolean) out += VA::Bool(v) ? "True" : "False";
  else if (IsIntegerType(t)) out += std::to_string(VA::Int(v));
  else if (t == varCurrency) out += CurrencyDigits(VA::Int(v), '.');
  else if (t == varSingle) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<float>(VA::Real(v)));
    out.append(buf, ec == std::errc() ? end : buf);
  } else if (t == varDouble) AppendFloat(out, VA::Real(v));
  else if (t == varDate) AppendDate(out, VA::Real(v));
  else if (t == varString) AppendText(out, AnsiToWide(VA::Ansi(v)));
  else if (t == varOleStr) {
    out += 'W';
    AppendText(out, VA::Wide(v));
  } else if (t == varDispatch) out += "Dispatch";
  else out += VarTypeAsText(t);
}

}  // namespace

// ---- Variant --------------------------------------------------------------------------

Variant::Variant(const Variant& other) = default;

Variant::Variant(Variant&& other) noexcept
    : FVType(std::exchange(other.FVType, varEmpty)),
      FValue(std::exchange(other.FValue, TStorage())) {}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    // The source may live inside this value (an element of this array): detach it first.
    TStorage value = std::exchange(other.FValue, TStorage());
    const TVarType type = std::exchange(other.FVType, varEmpty);
    std::swap(FValue, value);
    FVType = type;
  }
  return *this;
}

Variant::~Variant() = default;

Variant::Variant(bool v) : FVType(varBoolean), FValue(std::in_place_type<bool>, v) {}
Variant::Variant(char v) : FVType(varString), FValue(std::in_place_type<AnsiString>, 1, v) {}
Variant::Variant(signed char v) : FVType(varShortInt), FValue(std::in_place_type<int64_t>, v) {}
Variant::Variant(unsigned char v) : FVType(varByte), FValue(std::in_place_type<int64_t>, v) {}
Variant::Variant(short v) : FVType(varSmallint), FValue(std::in_place_type<int64_t>, v) {}
Variant::Variant(unsigned short v) : FVType(varWord), FValue(std::in_place_type<int64_t>, v) {}
Variant::Variant(int v) : FVType(varInteger), FValue(std::in_place_type<int64_t>, v) {}
Variant::Variant(unsigned int v) : FVType(varLongWord), FValue(std::in_place_type<int64_t>, v) {}
Variant::Variant(long v) : FVType(varInt64), FValue(std::in_place_type<int64_t>, v) {}
Variant::Variant(long long v) : FVType(varInt64), FValue(std::in_place_type<int64_t>, v) {}
Variant::Variant(unsigned long v) : Variant(static_cast<unsigned long long>(v)) {}
Variant::Variant(unsigned long long v) : FVType(varInt64) {
  if (v > uint64_t(std::numeric_limits<int64_t>::max())) OverflowError(varInt64, varInt64);
  FValue.emplace<int64_t>(static_cast<int64_t>(v));
}
Variant::Variant(float v) : FVType(varSingle), FValue(std::in_place_type<double>, v) {}
Variant::Variant(double v) : FVType(varDouble), FValue(std::in_place_type<double>, v) {}
Variant::Variant(const char* v)
    : FVType(varString), FValue(std::in_place_type<AnsiString>, v ? v : "") {}
Variant::Variant(char* v) : Variant(static_cast<const char*>(v)) {}
Variant::Variant(const AnsiString& v) : FVType(varString), FValue(std::in_place_type<AnsiString>, v) {}
Variant::Variant(AnsiString&& v)
    : FVType(varString), FValue(std::in_place_type<AnsiString>, std::move(v)) {}
Variant::Variant(const char16_t* v)
    : FVType(varOleStr), FValue(std::in_place_type<WideString>, v ? v : u"") {}
Variant::Variant(char16_t* v) : Variant(static_cast<const char16_t*>(v)) {}
Variant::Variant(const WideString& v) : FVType(varOleStr), FValue(std::in_place_type<WideString>, v) {}
Variant::Variant(WideString&& v)
    : FVType(varOleStr), FValue(std::in_place_type<WideString>, std::move(v)) {}
Variant::Variant(std::shared_ptr<IAutomationObject> v)
    : FVType(varDispatch),
      FValue(std::in_place_type<std::shared_ptr<IAutomationObject>>, std::move(v)) {}

int Variant::AsInteger() const {
  return static_cast<int>(CheckRange(ToInt64(*this, varInteger), std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max(), FVType, varInteger));
}

int64_t Variant::AsInt64() const { return ToInt64(*this, varInt64); }

double Variant::AsDouble() const { return ToDouble(*this, varDouble); }

double Variant::AsCurrency() const {
  return static_cast<double>(ToCurrencyScaled(*this)) / CurrencyScale;
}

bool Variant::AsBoolean() const { return ToBool(*this); }

AnsiString Variant::AsString() const { return ToAnsi(*this); }

WideString Variant::AsWideString() const { return ToWide(*this); }

TDateTime Variant::AsDateTime() const { return ToDateTime(*this); }

std::shared_ptr<IAutomationObject> Variant::AsDispatch() const {
  if (FVType != varDispatch || !VA::Dispatch(*this))
    throw EOleError("Variant does not reference an automation object");
  return VA::Dispatch(*this);
}

Variant Variant::GetElement(std::initializer_list<int> indices) const {
  return GetElement(std::span<const int>(indices.begin(), indices.size()));
}

Variant Variant::GetElement(std::span<const int> indices) const {
  const TVarArrayData& data = ArrayData(*this);
  return data.Elements[ElementOffset(data, indices)];
}

void Variant::PutElement(std::initializer_list<int> indices, const Variant& value) {
  PutElement(std::span<const int>(indices.begin(), indices.size()), value);
}

void Variant::PutElement(std::span<const int> indices, const Variant& value) {
  TVarArrayData& data = ArrayData(*this);
  Variant stored = data.ElementType == varVariant ? value : VarAsType(value, data.ElementType);
  data.Elements[ElementOffset(data, indices)] = std::move(stored);
}

Variant& Variant::operator[](int index) {
  TVarArrayData& data = ArrayData(*this);
  const int indices[] = {index};
  return data.Elements[ElementOffset(data, indices)];
}

const Variant& Variant::operator[](int index) const {
  const TVarArrayData& data = ArrayData(*this);
  const int indices[] = {index};
  return data.Elements[ElementOffset(data, indices)];
}

bool operator==(const Variant& a, const Variant& b) {
  return CompareVariants(a, b, true) == TOrder::Equal;
}
bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }
bool operator<(const Variant& a, const Variant& b) {
  return Ordered(a, b, [](TOrder o) { return o == TOrder::Less; });
}
bool operator<=(const Variant& a, const Variant& b) {
  return Ordered(a, b, [](TOrder o) { return o == TOrder::Less || o == TOrder::Equal; });
}
bool operator>(const Variant& a, const Variant& b) {
  return Ordered(a, b, [](TOrder o) { return o == TOrder::Greater; });
}
bool operator>=(const Variant& a, const Variant& b) {
  return Ordered(a, b, [](TOrder o) { return o == TOrder::Greater || o == TOrder::Equal; });
}

Variant::TArrayBox::TArrayBox() : Data(std::make_unique<TVarArrayData>()) {}
Variant::TArrayBox::TArrayBox(std::unique_ptr<TVarArrayData> data) : Data(std::move(data)) {}
Variant::TArrayBox::TArrayBox(const TArrayBox& other)
    : Data(other.Data ? std::make_unique<TVarArrayData>(*other.Data) : nullptr) {}
Variant::TArrayBox::TArrayBox(TArrayBox&&) noexcept = default;
Variant::TArrayBox& Variant::TArrayBox::operator=(const TArrayBox& other) {
  TArrayBox copy(other);
  Data = std::move(copy.Data);
  return *this;
}
Variant::TArrayBox& Variant::TArrayBox::operator=(TArrayBox&&) noexcept = default;
Variant::TArrayBox::~TArrayBox() = default;

// ---- Construction ---------------------------------------------------------------------

Variant Unassigned() { return Variant(); }

Variant Null() { return VA::Make(varNull, std::monostate()); }

Variant VarFromDateTime(TDateTime value) { return VA::Make(varDate, value); }

Variant VarFromCurrency(double value) {
  return VA::Make(varCurrency, ScaleToCurrency(value, varDouble));
}

Variant VarArrayCreate(std::initializer_list<int> bounds, TVarType elementType) {
  return VarArrayCreate(std::span<const int>(bounds.begin(), bounds.size()), elementType);
}

Variant VarArrayCreate(std::span<const int> bounds, TVarType elementType) {
  if (bounds.empty() || bounds.size() % 2 != 0 || !IsArrayElementType(elementType))
    throw EVariantArrayCreateError(SArrayCreate);
  auto data = std::make_unique<TVarArrayData>();
  data->ElementType = elementType;
  int64_t total = 1;
  for (size_t i = 0; i < bounds.size(); i += 2) {
    const int64_t count = int64_t(bounds[i + 1]) - bounds[i] + 1;
    if (count < 0 || count > MaxArrayElements) throw EVariantArrayCreateError(SArrayCreate);
    total *= count;
    if (total > MaxArrayElements) throw EVariantArrayCreateError(SArrayCreate);
    data->Bounds.push_back({bounds[i], static_cast<int>(count)});
  }
  data->Elements.assign(size_t(total), DefaultElement(elementType));
  return VA::Make(TVarType(varArray | elementType), Variant::TArrayBox(std::move(data)));
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
  return VarArrayOf(std::span<const Variant>(values.begin(), values.size()));
}

Variant VarArrayOf(std::span<const Variant> values) {
  if (values.size() > size_t(MaxArrayElements)) throw EVariantArrayCreateError(SArrayCreate);
  auto data = std::make_unique<TVarArrayData>();
  data->Bounds.push_back({0, static_cast<int>(values.size())});
  data->Elements.assign(values.begin(), values.end());
  return VA::Make(TVarType(varArray | varVariant), Variant::TArrayBox(std::move(data)));
}

// ---- Inspection -----------------------------------------------------------------------

TVarType VarType(const Variant& v) { return v.VType(); }

bool VarIsType(const Variant& v, TVarType type) { return VarType(v) == type; }

bool VarIsEmpty(const Variant& v) { return VarType(v) == varEmpty; }

bool VarIsNull(const Variant& v) { return VarType(v) == varNull; }

bool VarIsClear(const Variant& v) { return VarIsEmpty(v) || IsClearDispatch(v); }

bool VarIsArray(const Variant& v) { return (VarType(v) & varArray) != 0; }

bool VarIsStr(const Variant& v) { return IsTextType(VarType(v)); }

bool VarIsOrdinal(const Variant& v) {
  return IsIntegerType(VarType(v)) || VarType(v) == varBoolean;
}

bool VarIsFloat(const Variant& v) {
  const TVarType t = VarType(v);
  return t == varSingle || t == varDouble || t == varCurrency;
}

bool VarIsNumeric(const Variant& v) { return VarIsOrdinal(v) || VarIsFloat(v); }

AnsiString VarTypeAsText(TVarType type) {
  const char* name = nullptr;
  switch (type & varTypeMask) {
    case varEmpty: name = "Empty"; break;
    case varNull: name = "Null"; break;
    case varSmallint: name = "Smallint"; break;
    case varInteger: name = "Integer"; break;
    case varSingle: name = "Single"; break;
    case varDouble: name = "Double"; break;
    case varCurrency: name = "Currency"; break;
    case varDate: name = "Date"; break;
    case varOleStr: name = "OleStr"; break;
    case varDispatch: name = "Dispatch"; break;
    case varBoolean: name = "Boolean"; break;
    case varVariant: name = "Variant"; break;
    case varShortInt: name = "ShortInt"; break;
    case varByte: name = "Byte"; break;
    case varWord: name = "Word"; break;
    case varLongWord: name = "LongWord"; break;
    case varInt64: name = "Int64"; break;
    case varString: name = "String"; break;
    default: break;
  }
  AnsiString text;
  if (name) {
    text = name;
  } else {
    char buf[8];
    std::snprintf(buf, sizeof buf, "$%.4X", unsigned(type & varTypeMask));
    text = buf;
  }
  return (type & varArray) ? "Array " + text : text;
}

// ---- Arrays ---------------------------------------------------------------------------

int VarArrayDimCount(const Variant& v) {
  const TVarArrayData* data = VA::Array(v);
  return data ? int(data->Bounds.size()) : 0;
}

int VarArrayLowBound(const Variant& v, int dim) { return BoundOf(v, dim).LowBound; }

int VarArrayHighBound(const Variant& v, int dim) {
  const TVarArrayBound& b = BoundOf(v, dim);
  return static_cast<int>(int64_t(b.LowBound) + b.ElementCount - 1);
}

void VarArrayRedim(Variant& v, int newHighBound) {
  TVarArrayData& data = ArrayData(v);
  TVarArrayBound& lastBound = data.Bounds.back();
  const int64_t newCount = int64_t(newHighBound) - lastBound.LowBound + 1;
  if (newCount < 0 || newCount > MaxArrayElements) throw EVariantArrayCreateError(SArrayCreate);
  const size_t oldCount = size_t(lastBound.ElementCount);
  size_t outerCount = 1;
  for (size_t d = 0; d + 1 < data.Bounds.size(); ++d) outerCount *= size_t(data.Bounds[d].ElementCount);
  if (int64_t(outerCount) * newCount > MaxArrayElements) throw EVariantArrayCreateError(SArrayCreate);
  std::vector<Variant> elements(outerCount * size_t(newCount), DefaultElement(data.ElementType));
  const size_t kept = std::min(oldCount, size_t(newCount));
  for (size_t r = 0; r < outerCount; ++r)
    for (size_t c = 0; c < kept; ++c)
      elements[r * size_t(newCount) + c] = std::move(data.Elements[r * oldCount + c]);
  data.Elements = std::move(elements);
  lastBound.ElementCount = static_cast<int>(newCount);
}

Variant VarArrayGet(const Variant& v, std::initializer_list<int> indices) {
  return v.GetElement(indices);
}

void VarArrayPut(Variant& v, const Variant& value, std::initializer_list<int> indices) {
  v.PutElement(indices, value);
}

// ---- Conversion -----------------------------------------------------------------------

AnsiString VarToStr(const Variant& v) { return VarIsNull(v) ? AnsiString() : ToAnsi(v); }

WideString VarToWideStr(const Variant& v) { return VarIsNull(v) ? WideString() : ToWide(v); }

TDateTime VarToDateTime(const Variant& v) { return ToDateTime(v); }

Variant VarAsType(const Variant& v, TVarType type) {
  const TVarType from = VarType(v);
  if (from == type) return v;
  if ((from & varArray) || (type & varArray)) CastError(from, type);
  switch (type) {
    case varEmpty: return Variant();
    case varNull: return Null();
    case varSmallint:
      return VA::Make(type, CheckRange(ToInt64(v, type), INT16_MIN, INT16_MAX, from, type));
    case varInteger:
      return VA::Make(type, CheckRange(ToInt64(v, type), INT32_MIN, INT32_MAX, from, type));
    case varShortInt:
      return VA::Make(type, CheckRange(ToInt64(v, type), INT8_MIN, INT8_MAX, from, type));
    case varByte: return VA::Make(type, CheckRange(ToInt64(v, type), 0, UINT8_MAX, from, type));
    case varWord: return VA::Make(type, CheckRange(ToInt64(v, type), 0, UINT16_MAX, from, type));
    case varLongWord:
      return VA::Make(type, CheckRange(ToInt64(v, type), 0, UINT32_MAX, from, type));
    case varInt64: return VA::Make(type, ToInt64(v, type));
    case varSingle: {
      const double d = ToDouble(v, type);
      if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
        OverflowError(from, type);
      return VA::Make(type, double(static_cast<float>(d)));
    }
    case varDouble: return VA::Make(type, ToDouble(v, type));
    case varCurrency: return VA::Make(type, ToCurrencyScaled(v));
    case varDate: return VA::Make(type, ToDateTime(v));
    case varBoolean: return VA::Make(type, ToBool(v));
    case varString:
      if (from == varNull) CastError(from, type);
      return VA::Make(type, ToAnsi(v));
    case varOleStr: return VA::Make(type, ToWide(v));
    case varDispatch:
      if (from == varEmpty) return Variant(std::shared_ptr<IAutomationObject>());
      CastError(from, type);
    case varVariant: return v;
    default: throw EVariantBadVarTypeError(SBadVarType);
  }
}

std::string VarToLiteral(const Variant& v) {
  std::string out;
  AppendLiteral(out, v);
  return out;
}

// ---- Format ---------------------------------------------------------------------------

AnsiString Format(const AnsiString& format, std::span<const Variant> args) {
  std::vector<TVarRec> recs;
  recs.reserve(args.size());
  for (const Variant& v : args) {
    const TVarType t = VarType(v);
    if (t == varEmpty || t == varNull) recs.emplace_back(AnsiString());
    else if (t == varLongWord || t == varInt64) recs.emplace_back(static_cast<long long>(VA::Int(v)));
    else if (IsIntegerType(t)) recs.emplace_back(static_cast<int>(VA::Int(v)));
    else if (t == varBoolean) recs.emplace_back(VA::Bool(v));
    else if (t == varCurrency) recs.emplace_back(ToDouble(v, varDouble));
    else if (t == varSingle) recs.emplace_back(SingleAsDouble(VA::Real(v)));
    else if (IsRealType(t)) recs.emplace_back(VA::Real(v));
    else if (t == varString) recs.emplace_back(VA::Ansi(v));
    else if (t == varOleStr) recs.emplace_back(VA::Wide(v));
    else if (t == varDispatch) recs.emplace_back(static_cast<const void*>(VA::Dispatch(v).get()));
    else recs.emplace_back(static_cast<const void*>(VA::Array(v)));
  }
  return ::Format(format, recs.data(), recs.size());
}

AnsiString Format(const AnsiString& format, const std::vector<Variant>& args) {
  return Format(format, std::span<const Variant>(args));
}
