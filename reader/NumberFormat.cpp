#include "reader/NumberFormat.h"

namespace qx::reader {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view s, size_t at, std::string_view word) {
  if (s.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(s[at + i]) != word[i]) return false;
  }
  return true;
}

bool IsBuiltinDate(int id) {
  return (id >= 14 && id <= 22) || (id >= 45 && id <= 47) || (id >= 27 && id <= 36) ||
         (id >= 50 && id <= 58);
}

// [h], [mm], [ss]: elapsed time, the one bracketed section that is a time.
bool IsElapsedSection(std::string_view inner) {
  if (inner.empty()) return false;
  char c = Lower(inner[0]);
  if (c != 'h' && c != 'm' && c != 's') return false;
  for (char d : inner) {
    if (Lower(d) != c) return false;
  }
  return true;
}

}  // namespace

bool IsDateFormat(int builtinId, std::string_view code) {
  if (code.empty()) return IsBuiltinDate(builtinId);
  size_t i = 0;
  const size_t n = code.size();
  while (i < n) {
    char c = code[i];
    switch (c) {
      case '"': {  // quoted literal text
        size_t close = code.find('"', i + 1);
        i = close == std::string_view::npos ? n : close + 1;
        continue;
      }
      case '\\':  // escaped character
      case '_':   // space as wide as the next character
      case '*':   // fill with the next character
        i += 2;
        continue;
      case '[': {  // colour, condition, locale, or elapsed time
        size_t close = code.find(']', i + 1);
        if (close == std::string_view::npos) return false;
        if (IsElapsedSection(code.substr(i + 1, close - i - 1))) return true;
        i = close + 1;
        continue;
      }
      default:
        break;
    }
    if (StartsWithNoCase(code, i, "general")) {
      i += 7;
      continue;
    }
    if (StartsWithNoCase(code, i, "am/pm") || StartsWithNoCase(code, i, "a/p")) return true;
    char l = Lower(c);
    if (l == 'e' && i + 1 < n && (code[i + 1] == '+' || code[i + 1] == '-')) {
      i += 2;  // scientific exponent, 0.00E+00
      continue;
    }
    if (l == 'y' || l == 'm' || l == 'd' || l == 'h' || l == 's' || l == 'e' || l == 'g' ||
        l == 'b') {
      return true;
    }
    ++i;
  }
  return false;
}

uint8_t HiddenValuesOf(std::string_view code) {
  // The sections, each reduced to what it would print: quoted text,
  // escapes and fills print something; colours and locales do not.
  bool shows[4] = {false, false, false, false};
  int sections = 1;
  for (size_t i = 0; i < code.size(); ++i) {
    char c = code[i];
    if (c == ';') {
      if (++sections > 4) return 0;
      continue;
    }
    if (c == '[') {
      size_t close = code.find(']', i + 1);
      if (close == std::string_view::npos) return 0;
      char first = close > i + 1 ? code[i + 1] : ']';
      if (first == '<' || first == '>' || first == '=') return 0;  // a condition
      i = close;
      continue;
    }
    shows[sections - 1] = true;
    if (c == '"') {
      size_t close = code.find('"', i + 1);
      i = close == std::string_view::npos ? code.size() : close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    }
  }
  if (sections == 1) return 0;
  uint8_t hidden = 0;
  if (!shows[0]) hidden |= kHidesPositive;
  if (!shows[1]) hidden |= kHidesNegative;
  if (!shows[sections >= 3 ? 2 : 0]) hidden |= kHidesZero;
  if (sections == 4 && !shows[3]) hidden |= kHidesText;
  return hidden;
}

}  // namespace qx::reader
