// Published properties by name, for code that handles components it knows only by name
// (scheme values, language texts, event hand-overs). A missing object, an empty name, a
// property the class does not publish or one of another kind makes a setter do nothing
// and a getter answer its empty value; none of them raises.
#pragma once

#include "platform/rtl/System.h"
#include "platform/vcl/TypInfo.h"

#include <cstdint>

AnsiString GetStrPropByName(TObject* obj, const AnsiString& name);
void SetStrPropByName(TObject* obj, const AnsiString& name, const AnsiString& value);

// Integers, characters, enumerations, sets (their bits) and object references (the
// object's address, 0 for none). An enumeration value outside the type is not written.
int64_t GetOrdPropByName(TObject* obj, const AnsiString& name);
void SetOrdPropByName(TObject* obj, const AnsiString& name, int64_t value);

TMethod GetMethodPropByName(TObject* obj, const AnsiString& name);
void SetMethodPropByName(TObject* obj, const AnsiString& name, const TMethod& value);

bool HasPropByName(const TObject* obj, const AnsiString& name);
