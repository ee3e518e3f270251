#include "htmlview/basHTML.h"

#include "htmlview/basQuillet.h"

namespace basHTML {
namespace {

int32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return static_cast<int32_t>(r | (g << 8) | (b << 16)); }

struct NamedColor {
  const char32_t* name;
  int32_t value;
};

// The viewer's own colour names, in the order they are compared.
const NamedColor kNames[] = {
    {U"aqua", Rgb(0, 255, 255)},     {U"black", Rgb(0, 0, 0)},        {U"blue", Rgb(0, 0, 255)},
    {U"fuchsia", Rgb(255, 0, 255)},  {U"gray", Rgb(192, 192, 192)},   {U"green", Rgb(0, 255, 0)},
    {U"lime", Rgb(0, 255, 0)},       {U"maroon", Rgb(128, 0, 0)},     {U"navy", Rgb(0, 0, 128)},
    {U"olive", Rgb(128, 128, 0)},    {U"purple", Rgb(255, 0, 255)},   {U"red", Rgb(255, 0, 0)},
    {U"silver", Rgb(192, 192, 192)}, {U"teal", Rgb(0, 128, 128)},     {U"white", Rgb(255, 255, 255)},
    {U"yellow", Rgb(255, 255, 0)},   {U"pink", Rgb(255, 192, 203)},   {U"orange", Rgb(255, 85, 0)},
};

int HexDigit(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
  return -1;
}

}  // namespace

int32_t ParseColor(const std::u32string& value) {
  std::u32string lower = value;
  for (char32_t& c : lower)
    if (c >= U'A' && c <= U'Z') c += 32;
  for (const NamedColor& named : kNames)
    if (lower == named.name) return named.value;

  std::u32string digits = value;
  if (!digits.empty() && digits[0] == U'#') digits.erase(0, 1);
  if (digits.empty() || digits.size() > 8) return -1;
  uint32_t raw = 0;
  for (char32_t c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return -1;
    raw = (raw << 4) | static_cast<uint32_t>(d);
  }
  // Up to four digits are a signed 16-bit number, more a signed 32-bit one.
  const int32_t n = digits.size() <= 4 ? static_cast<int32_t>(static_cast<int16_t>(static_cast<uint16_t>(raw)))
                                       : static_cast<int32_t>(raw);
  const auto lowByte = [](int32_t v) { return static_cast<uint32_t>(v) & 0xFFu; };
  return Rgb(lowByte(n / 65536), lowByte(n / 256), lowByte(n));
}

int32_t ParseColor(const std::string& value) { return ParseColor(basQuillet::ToChars(value)); }

int16_t HtmlSizeToPoints(int16_t size, bool heading) {
  static constexpr int16_t kText[] = {8, 10, 12, 14, 18, 24, 32};
  static constexpr int16_t kHeading[] = {20, 15, 12, 10, 8, 7, 0};
  if (size < 1 || size > 7) return 0;
  return heading ? kHeading[size - 1] : kText[size - 1];
}

std::u32string PrepareHtml(const std::u32string& fileText) {
  std::u32string out;
  out.reserve(fileText.size() + fileText.size() / 32);
  size_t i = 0;
  const size_t n = fileText.size();
  while (i < n) {
    // A line ends at CR LF, CR or LF.
    size_t end = i;
    while (end < n && fileText[end] != U'\r' && fileText[end] != U'\n') ++end;
    size_t b = i, e = end;
    while (b < e && fileText[b] == U' ') ++b;
    while (e > b && fileText[e - 1] == U' ') --e;
    out.append(fileText, b, e - b);
    out.push_back(U' ');
    if (end < n && fileText[end] == U'\r' && end + 1 < n && fileText[end + 1] == U'\n') ++end;
    i = end + 1;
  }
  return out;
}

std::u32string UpperAscii(const std::u32string& text) {
  std::u32string out = text;
  for (char32_t& c : out)
    if (c >= U'a' && c <= U'z') c -= 32;
  return out;
}

std::u32string TrimSpaces(const std::u32string& text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == U' ') ++b;
  while (e > b && text[e - 1] == U' ') --e;
  return text.substr(b, e - b);
}

bool Like(const std::u32string& text, const std::u32string& pattern) {
  // Iterative match with backtracking to the last "*".
  size_t t = 0, p = 0, star = std::u32string::npos, mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == U'*') {
      star = p++;
      mark = t;
    } else if (p < pattern.size() &&
               (pattern[p] == U'#' ? (text[t] >= U'0' && text[t] <= U'9') : pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (star != std::u32string::npos) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

std::u32string AttributeValue(const std::u32string& tag, size_t start) {
  const size_t eq = tag.find(U'=', start);
  if (eq == std::u32string::npos) return {};
  // A quoted value keeps its spaces.
  if (eq + 1 < tag.size() && tag[eq + 1] == U'"') {
    const size_t close = tag.find(U'"', eq + 2);
    if (close != std::u32string::npos) return tag.substr(eq + 2, close - eq - 2);
  }
  const size_t space = tag.find(U' ', eq + 1);
  std::u32string value =
      TrimSpaces(tag.substr(eq + 1, space == std::u32string::npos ? std::u32string::npos : space - eq - 1));
  if (!value.empty() && value.front() == U'"') value.erase(0, 1);
  if (!value.empty() && value.back() == U'"') value.pop_back();
  return value;
}

size_t FindAttribute(const std::u32string& tag, const std::u32string& name, size_t from) {
  const auto blank = [](char32_t c) { return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n'; };
  const size_t n = tag.size();
  size_t i = 0;
  while (i < n && !blank(tag[i])) ++i;  // the tag name
  while (i < n) {
    while (i < n && blank(tag[i])) ++i;
    const size_t at = i;
    while (i < n && !blank(tag[i]) && tag[i] != U'=') ++i;
    if (i > at && at >= from && tag.compare(at, i - at, name) == 0) return at;
    size_t j = i;
    while (j < n && blank(tag[j])) ++j;
    if (j >= n || tag[j] != U'=') continue;
    // Skip the value: quoted up to its closing quote, else up to a blank.
    i = j + 1;
    while (i < n && blank(tag[i])) ++i;
    if (i < n && (tag[i] == U'"' || tag[i] == U'\'')) {
      const size_t close = tag.find(tag[i], i + 1);
      if (close != std::u32string::npos) {
        i = close + 1;
        continue;
      }
    }
    while (i < n && !blank(tag[i])) ++i;
  }
  return std::u32string::npos;
}

}  // namespace basHTML
