// The OLE variant: a value of one of the automation types, variant arrays of one or two
// dimensions, and the Delphi conversion and comparison rules the module relies on.
#pragma once

#include "platform/rtl/System.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

class IAutomationObject;

// ---- Kinds ----------------------------------------------------------------------------

using TVarType = uint16_t;

constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varSmallint = 0x0002;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varSingle = 0x0004;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varCurrency = 0x0006;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varOleStr = 0x0008;
constexpr TVarType varDispatch = 0x0009;
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varVariant = 0x000C;
constexpr TVarType varShortInt = 0x0010;
constexpr TVarType varByte = 0x0011;
constexpr TVarType varWord = 0x0012;
constexpr TVarType varLongWord = 0x0013;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varString = 0x0100;
constexpr TVarType varTypeMask = 0x0FFF;
constexpr TVarType varArray = 0x2000;

// ---- Errors ---------------------------------------------------------------------------

TAVO_EXCEPTION(EVariantOverflowError, EVariantError)
TAVO_EXCEPTION(EVariantBadIndexError, EVariantError)
TAVO_EXCEPTION(EVariantNotAnArrayError, EVariantError)
TAVO_EXCEPTION(EVariantArrayCreateError, EVariantError)
TAVO_EXCEPTION(EVariantInvalidOpError, EVariantError)
TAVO_EXCEPTION(EVariantInvalidArgError, EVariantError)
TAVO_EXCEPTION(EVariantBadVarTypeError, EVariantError)

// ---- Variant --------------------------------------------------------------------------

struct TVarArrayData;

class Variant {
public:
  Variant() = default;  // Unassigned
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant();

  Variant(bool v);
  Variant(char v);                // a one-character ANSI text
  Variant(signed char v);         // varShortInt
  Variant(unsigned char v);       // varByte
  Variant(short v);               // varSmallint
  Variant(unsigned short v);      // varWord
  Variant(int v);                 // varInteger
  Variant(unsigned int v);        // varLongWord
  Variant(long v);                // varInt64
  Variant(long long v);           // varInt64
  Variant(unsigned long v);       // varInt64; raises EVariantOverflowError above its range
  Variant(unsigned long long v);  // varInt64; raises EVariantOverflowError above its range
  Variant(float v);               // varSingle
  Variant(double v);              // varDouble; a date is made with VarFromDateTime
  Variant(const char* v);         // varString
  Variant(char* v);               // varString
  Variant(const AnsiString& v);   // varString
  Variant(AnsiString&& v);        // varString
  Variant(const char16_t* v);     // varOleStr
  Variant(char16_t* v);           // varOleStr
  Variant(const WideString& v);   // varOleStr
  Variant(WideString&& v);        // varOleStr
  Variant(std::shared_ptr<IAutomationObject> v);  // varDispatch
  template <class T>
    requires(std::derived_from<T, IAutomationObject> && !std::same_as<T, IAutomationObject>)
  Variant(std::shared_ptr<T> v) : Variant(std::shared_ptr<IAutomationObject>(std::move(v))) {}
  // Any other pointer would silently become a boolean.
  template <class T>
  Variant(T*) = delete;

  TVarType VType() const { return FVType; }

  // Conversions by the Delphi rules; a failed conversion raises EVariantTypeCastError
  // ("Could not convert variant of type (String) into type (Integer)"), a value out of
  // the target's range EVariantOverflowError. Empty converts to 0, "" and False, Null
  // to nothing. True is -1 as a number, as in Delphi.
  int AsInteger() const;
  int64_t AsInt64() const;
  double AsDouble() const;
  double AsCurrency() const;  // rounded to four decimals
  bool AsBoolean() const;
  AnsiString AsString() const;
  WideString AsWideString() const;
  TDateTime AsDateTime() const;
  std::shared_ptr<IAutomationObject> AsDispatch() const;  // raises EOleError unless Dispatch

  // Array elements, bounds checked: a bad index raises EVariantBadIndexError
  // "Variant or safe array index out of bounds", a non-array EVariantNotAnArrayError.
  Variant GetElement(std::initializer_list<int> indices) const;
  Variant GetElement(std::span<const int> indices) const;
  void PutElement(std::initializer_list<int> indices, const Variant& value);
  void PutElement(std::span<const int> indices, const Variant& value);
  // One-dimensional arrays only. Writing through the reference bypasses the element
  // type of a typed array (VarArrayCreate with varInteger …); PutElement converts.
  Variant& operator[](int index);
  const Variant& operator[](int index) const;

  friend bool operator==(const Variant& a, const Variant& b);
  friend bool operator!=(const Variant& a, const Variant& b);
  friend bool operator<(const Variant& a, const Variant& b);
  friend bool operator<=(const Variant& a, const Variant& b);
  friend bool operator>(const Variant& a, const Variant& b);
  friend bool operator>=(const Variant& a, const Variant& b);

  // Copies of an array value own their elements, as in Delphi.
  class TArrayBox {
  public:
    TArrayBox();
    explicit TArrayBox(std::unique_ptr<TVarArrayData> data);
    TArrayBox(const TArrayBox& other);
    TArrayBox(TArrayBox&&) noexcept;
    TArrayBox& operator=(const TArrayBox& other);
    TArrayBox& operator=(TArrayBox&&) noexcept;
    ~TArrayBox();
    TVarArrayData* Get() const { return Data.get(); }

  private:
    std::unique_ptr<TVarArrayData> Data;
  };

private:
  friend struct TVariantAccess;
  using TStorage = std::variant<std::monostate, int64_t, double, bool, AnsiString, WideString,
                                std::shared_ptr<IAutomationObject>, TArrayBox>;
  TVarType FVType = varEmpty;
  TStorage FValue;
};

// The bounds of one array dimension.
struct TVarArrayBound {
  int LowBound;
  int ElementCount;
};

// The elements in row-major order: the last index varies fastest.
struct TVarArrayData {
  TVarType ElementType = varVariant;
  std::vector<TVarArrayBound> Bounds;
  std::vector<Variant> Elements;
};

// ---- Construction ---------------------------------------------------------------------

Variant Unassigned();
Variant Null();
Variant VarFromDateTime(TDateTime value);
Variant VarFromCurrency(double value);  // rounded to four decimals

// bounds is {lo, hi} or {lo1, hi1, lo2, hi2}; elementType is varVariant or a simple type
// whose elements then start as that type's zero and are converted on PutElement.
Variant VarArrayCreate(std::initializer_list<int> bounds, TVarType elementType);
Variant VarArrayCreate(std::span<const int> bounds, TVarType elementType);
// A zero-based one-dimensional array of varVariant.
Variant VarArrayOf(std::initializer_list<Variant> values);
Variant VarArrayOf(std::span<const Variant> values);

// ---- Inspection -----------------------------------------------------------------------

TVarType VarType(const Variant& v);
bool VarIsType(const Variant& v, TVarType type);
bool VarIsEmpty(const Variant& v);
bool VarIsNull(const Variant& v);
bool VarIsClear(const Variant& v);  // Empty, or a dispatch holding no object
bool VarIsArray(const Variant& v);
bool VarIsStr(const Variant& v);
bool VarIsNumeric(const Variant& v);  // ordinal or floating point
bool VarIsOrdinal(const Variant& v);  // integers of any width and Boolean
bool VarIsFloat(const Variant& v);    // Single, Double, Currency
// "Integer", "String", "OleStr", "Array Variant" …, as in the cast messages.
AnsiString VarTypeAsText(TVarType type);

// ---- Arrays ---------------------------------------------------------------------------

int VarArrayDimCount(const Variant& v);  // 0 for a non-array
int VarArrayLowBound(const Variant& v, int dim);   // dim counts from 1
int VarArrayHighBound(const Variant& v, int dim);  // dim counts from 1
// Resizes the last dimension, keeping the elements that remain inside the bounds.
void VarArrayRedim(Variant& v, int newHighBound);
Variant VarArrayGet(const Variant& v, std::initializer_list<int> indices);
void VarArrayPut(Variant& v, const Variant& value, std::initializer_list<int> indices);

// ---- Conversion -----------------------------------------------------------------------

AnsiString VarToStr(const Variant& v);       // Null and Empty give ""
WideString VarToWideStr(const Variant& v);   // Null and Empty give u""
TDateTime VarToDateTime(const Variant& v);
Variant VarAsType(const Variant& v, TVarType type);

// The one-line UTF-8 notation tests and tools compare variants by: Unassigned, Null,
// True, 12, 1.5, Date(2024-05-06 10:30:15.000), 'abc', W'abc', 'A'#3'B',
// [1..3: a, b, c], [0..1, 0..2: (a, b, c), (d, e, f)], Dispatch.
std::string VarToLiteral(const Variant& v);

// Format over variants: integers are passed as vtInteger/vtInt64, floating point,
// currency and dates as vtExtended, texts as vtString/vtWideString, Booleans as
// vtBoolean and Empty/Null as an empty text. Errors are the runtime Format's
// (EConvertError).
AnsiString Format(const AnsiString& format, std::span<const Variant> args);
AnsiString Format(const AnsiString& format, const std::vector<Variant>& args);
