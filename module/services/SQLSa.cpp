#include "module/services/SQLSa.h"

#include "module/services/LogWriters.h"

#include <cstdint>

const char* const SQLSaDecodeError = "KV_Say_Password_Error";

namespace {

const char* const EmptyPasswordMarker = "PR_Aig_CxTdmeYish_FezCmlzKyjfTpAewlb";

constexpr uint8_t Key[] = {0x5A, 0x3C, 0xA7, 0x19, 0xE4, 0x6B, 0x92};
constexpr size_t KeyLength = sizeof Key;

// Both steps are bijections on a byte, so every byte value survives the round trip, and
// the stride makes equal characters at different positions look different.
uint8_t Scramble(uint8_t plain, size_t position) {
  const uint8_t shifted = static_cast<uint8_t>(plain + 0x35 + 29 * position);
  return static_cast<uint8_t>(shifted ^ Key[position % KeyLength]);
}

uint8_t Unscramble(uint8_t stored, size_t position) {
  const uint8_t shifted = static_cast<uint8_t>(stored ^ Key[position % KeyLength]);
  return static_cast<uint8_t>(shifted - 0x35 - 29 * position);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

AnsiString EncodeSQLSa(const AnsiString& password) {
  static const char digits[] = "0123456789ABCDEF";
  const AnsiString plain = password.empty() ? AnsiString(EmptyPasswordMarker) : password;
  AnsiString stored;
  stored.reserve(plain.size() * 2);
  for (size_t i = 0; i < plain.size(); ++i) {
    const uint8_t b = Scramble(static_cast<uint8_t>(plain[i]), i);
    stored += digits[b >> 4];
    stored += digits[b & 0x0F];
  }
  return stored;
}

AnsiString DecodeSQLSa(const AnsiString& stored) {
  try {
    AnsiString plain;
    plain.reserve(stored.size() / 2);
    for (size_t i = 0; i + 1 < stored.size(); i += 2) {
      const int high = HexDigit(stored[i]);
      const int low = HexDigit(stored[i + 1]);
      if (high < 0 || low < 0)
        throw EConvertError("'" + stored.substr(i, 2) + "' is not a valid hexadecimal value");
      plain += static_cast<char>(Unscramble(static_cast<uint8_t>(high * 16 + low), i / 2));
    }
    return plain == EmptyPasswordMarker ? AnsiString() : plain;
  } catch (const Exception& e) {
    LogException(&e, EncodeSQLSa("DecodeSQLSa"), "解析 Sa 时发生错误!");
  } catch (...) {
    LogException(nullptr, EncodeSQLSa("DecodeSQLSa"), "解析 Sa 时发生错误!");
  }
  return SQLSaDecodeError;
}
