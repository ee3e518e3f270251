#include "htmlview/basKinsoku.h"

#include <unicode/uchar.h>

namespace basKinsoku {

bool NoLineStart(char32_t c) {
  switch (u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_LINE_BREAK)) {
    case U_LB_CLOSE_PUNCTUATION:
    case U_LB_CLOSE_PARENTHESIS:
    case U_LB_EXCLAMATION:
    case U_LB_INFIX_NUMERIC:
    case U_LB_NONSTARTER:
    case U_LB_CONDITIONAL_JAPANESE_STARTER:  // strict: a non-starter
      return true;
    default:
      return false;
  }
}

bool NoLineEnd(char32_t c) {
  return u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_LINE_BREAK) == U_LB_OPEN_PUNCTUATION;
}

bool CanBreakBetween(char32_t before, char32_t after) { return !NoLineEnd(before) && !NoLineStart(after); }

size_t WrapPosition(const std::u32string& text, size_t first, size_t overflow, char32_t lastDrawn) {
  if (overflow >= text.size()) return overflow;
  // A break right before `first` is possible only after something drawn.
  const size_t lowest = lastDrawn != 0 ? first : first + 1;
  for (size_t at = overflow + 1; at-- > lowest;) {
    const char32_t before = at > first ? text[at - 1] : lastDrawn;
    if (CanBreakBetween(before, text[at])) return at;
  }
  return overflow;
}

}  // namespace basKinsoku
