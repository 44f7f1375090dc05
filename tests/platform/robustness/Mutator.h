// Deterministic damage to known-good inputs: every truncation, then a fixed series of
// random edits (byte changes, inserted tokens, cut and doubled ranges). The same seed
// gives the same inputs on every machine, so a failure can be replayed.
#pragma once

#include "platform/rtl/System.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <typeinfo>
#include <vector>

class TMutator {
public:
  TMutator(uint32_t seed, std::vector<std::string> tokens) : FState(seed ? seed : 1), FTokens(std::move(tokens)) {}

  uint32_t Next() {
    // xorshift32: portable and fixed, unlike the standard distributions.
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return FState;
  }
  size_t Below(size_t n) { return n ? Next() % n : 0; }

  std::string Mutate(const std::string& base) {
    std::string s = base;
    const int edits = 1 + static_cast<int>(Below(3));
    for (int e = 0; e < edits; ++e) {
      const size_t pos = Below(s.size() + 1);
      switch (Below(6)) {
        case 0:  // any byte
          if (!s.empty()) s[Below(s.size())] = static_cast<char>(Next() & 0xFF);
          break;
        case 1:
        case 2:  // a token that means something to the parser
          if (!FTokens.empty()) s.insert(pos, FTokens[Below(FTokens.size())]);
          break;
        case 3:  // a token in place of what was there
          if (!FTokens.empty()) {
            const std::string& t = FTokens[Below(FTokens.size())];
            s.replace(pos, t.size(), t);
          }
          break;
        case 4:  // a cut
          s.erase(pos, 1 + Below(24));
          break;
        case 5:  // a doubled range
          s.insert(pos, s.substr(Below(s.size() + 1), 1 + Below(40)));
          break;
      }
    }
    return s;
  }

private:
  uint32_t FState;
  std::vector<std::string> FTokens;
};

// Readable bytes for a failure message.
inline std::string Printable(const std::string& s) {
  std::string r;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F) {
      r += static_cast<char>(c);
    } else {
      static const char hex[] = "0123456789ABCDEF";
      r += "\\x";
      r += hex[c >> 4];
      r += hex[c & 15];
    }
  }
  return r;
}

// Runs parse on input: it may return or raise one of our exceptions; anything else (a
// foreign exception) fails the test. Answers false once too many inputs failed, so that
// one fault does not flood the log.
template <class F>
bool Survives(const std::string& input, F&& parse, int& failures) {
  try {
    parse(input);
  } catch (const Exception&) {
  } catch (const std::exception& e) {
    ADD_FAILURE() << "foreign error " << typeid(e).name() << ": " << e.what() << "\ninput: " << Printable(input);
    ++failures;
  }
  return failures < 5;
}

// Every truncation of base, then count mutations of it.
template <class F>
void SurvivesDamage(const std::string& base, uint32_t seed, const std::vector<std::string>& tokens, int count,
                    F&& parse) {
  int failures = 0;
  for (size_t n = 0; n <= base.size(); ++n)
    if (!Survives(base.substr(0, n), parse, failures)) return;
  TMutator mutator(seed, tokens);
  for (int i = 0; i < count; ++i)
    if (!Survives(mutator.Mutate(base), parse, failures)) return;
}
