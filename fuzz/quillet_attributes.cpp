// Quillet's colour and attribute routines on any text: colour names and
// numbers, font sizes, the tag patterns, attribute values, and the numbers
// and paths the viewer reads from attributes.
#include <string>

#include "fuzz/support/FuzzSupport.h"
#include "htmlview/basHTML.h"
#include "htmlview/basQuillet.h"

namespace {

// The patterns the scanner tests tag texts against.
const char32_t* const kPatterns[] = {U"IMG *", U"!--*",  U"A *",       U"P *",     U"H# *",    U"H#",
                                     U"/H#",   U"TABLE *", U"BASEFONT *", U"BODY *", U"FONT *", U"NAME=*",
                                     U"HREF=*", U"SRC=*"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::u32string text = basQuillet::ToChars(bytes);

  const int32_t color = basHTML::ParseColor(text);
  if (color != -1 && (color < 0 || color > 0xFFFFFF)) fuzz::Fail("a colour with bits above blue");
  if (basHTML::ParseColor(bytes) != color) fuzz::Fail("the two ParseColor forms disagree");

  if (size >= 2) {
    const auto number = static_cast<int16_t>(data[0] | (data[1] << 8));
    for (const bool heading : {false, true}) {
      const int16_t points = basHTML::HtmlSizeToPoints(number, heading);
      if (points < 0 || points > 32) fuzz::Fail("a font size outside the table");
    }
  }

  const std::u32string upper = basHTML::UpperAscii(text);
  if (upper.size() != text.size()) fuzz::Fail("upper case changed the length");
  const std::u32string trimmed = basHTML::TrimSpaces(text);
  if (!trimmed.empty() && (trimmed.front() == U' ' || trimmed.back() == U' ')) fuzz::Fail("trimmed text keeps a space");
  for (const char32_t* pattern : kPatterns) basHTML::Like(upper, pattern);
  for (const size_t start : {size_t{0}, size_t{1}, size_t{3}, size_t{4}, text.size() / 2, text.size(), text.size() + 7}) {
    const std::u32string value = basHTML::AttributeValue(text, start);
    if (value.size() > text.size()) fuzz::Fail("an attribute value longer than its tag");
    basHTML::ParseColor(value);
  }

  basQuillet::NumericOrZero(bytes);
  for (const int16_t mode : {int16_t{0}, int16_t{1}, int16_t{2}}) basQuillet::PathSlash(bytes, mode);
  return 0;
}
