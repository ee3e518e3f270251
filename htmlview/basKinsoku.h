#pragma once
// Japanese line-breaking rules (kinsoku) for the character wrapping of the
// drawing walk: which characters may not start a line and which may not end
// one. The classes come from ICU's line-break data, read the strict way
// (small kana and the prolonged sound mark count as non-starters).
#include <cstddef>
#include <string>

namespace basKinsoku {

// Closing brackets and punctuation (、。，．）」』】〕！？), small kana and ー.
bool NoLineStart(char32_t c);
// Opening brackets (「『（【〔).
bool NoLineEnd(char32_t c);
// A line may end after `before` and the next start with `after`.
bool CanBreakBetween(char32_t before, char32_t after);

// Where to wrap a line whose character at `overflow` does not fit. The
// characters from `first` to `overflow` - 1 are on the line and not yet
// drawn; `lastDrawn` is the character drawn just before `first` on the same
// line (0 when the line holds nothing before `first`). Returns the index of
// the character that starts the next line, moved back from `overflow` so
// that the break obeys the rules; `overflow` itself when no such break
// keeps at least one character on the line.
size_t WrapPosition(const std::u32string& text, size_t first, size_t overflow, char32_t lastDrawn);

}  // namespace basKinsoku
