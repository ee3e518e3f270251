#pragma once
// Colours and sizes from attribute values, and the string routines the
// markup walk uses on tag texts. Texts here are characters (code points).
#include <cstdint>
#include <string>

namespace basHTML {

// A colour named by one of the viewer's names or written in hexadecimal
// ("#RRGGBB", "RRGGBB", short forms as signed numbers); −1 when the text is
// not a colour.
int32_t ParseColor(const std::u32string& value);
int32_t ParseColor(const std::string& value);

// Points of an HTML font size (1 to 7) or heading level (1 to 6); 0 outside.
int16_t HtmlSizeToPoints(int16_t size, bool heading);

// The document text prepared from a file's text: every line with its
// leading and trailing spaces removed, followed by one space.
std::u32string PrepareHtml(const std::u32string& fileText);

// Upper case of the ASCII letters.
std::u32string UpperAscii(const std::u32string& text);
// The text without leading and trailing spaces (character 32 only).
std::u32string TrimSpaces(const std::u32string& text);
// Wildcard match: "*" any run of characters, "#" one digit, all else exact.
bool Like(const std::u32string& text, const std::u32string& pattern);
// The attribute value after the first "=" at or after start (0-based): up
// to the next space, trimmed, one leading and one trailing double quote
// removed. A value that opens with a double quote runs to its closing
// quote, spaces included. Empty when there is no "=".
std::u32string AttributeValue(const std::u32string& tag, size_t start);
// The position (0-based) of the attribute named `name` in a tag text, found
// as a whole attribute name at or after `from`: not inside another name or
// a value. npos when the tag has no such attribute.
size_t FindAttribute(const std::u32string& tag, const std::u32string& name, size_t from = 0);

}  // namespace basHTML
