// The codec of the database passwords kept in the client configuration. A stored password
// is text of hexadecimal digit pairs, one pair per byte of the password, each byte
// scrambled by its position; an empty password is stored as the encoding of a marker so
// that it never appears as empty text.
#pragma once

#include "platform/rtl/System.h"

// What DecodeSQLSa answers for a stored text that is not hexadecimal; it then stands in
// the configuration as the password.
extern const char* const SQLSaDecodeError;

AnsiString EncodeSQLSa(const AnsiString& password);
// An odd trailing digit is ignored. Never raises: a pair that is not hexadecimal is
// reported to the exception log and gives SQLSaDecodeError.
AnsiString DecodeSQLSa(const AnsiString& stored);
