// A break opportunity that the system's line breaking does not give: after
// the colon of a row prefix in a run of them. A sheet's empty rows convert
// to their prefixes alone, "300:301:302:", one unbroken line with no space;
// without this a wrapped line of it ends in the middle of a number.
#pragma once

#include <cstddef>

namespace qx {

template <typename Char>
bool IsAsciiDigit(Char c) {
  return c >= '0' && c <= '9';
}

// Whether a line may break before position `i` of `text` (`n` characters):
// the character before it is a colon after a digit, and what follows is the
// next prefix, digits and a colon. "10:30" in a question keeps together.
template <typename Char>
bool BreaksAfterRowPrefix(const Char* text, size_t n, size_t i) {
  if (i < 2 || i >= n || text[i - 1] != ':' || !IsAsciiDigit(text[i - 2])) return false;
  size_t j = i;
  while (j < n && IsAsciiDigit(text[j])) ++j;
  return j > i && j < n && text[j] == ':';
}

}  // namespace qx
