#include "htmlview/basQuillet.h"

#include <unicode/ucnv.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "platform/Checked.h"
#include "platform/Services.h"

namespace basQuillet {
namespace {

int16_t gTwipsPerPixelX = 0;
int16_t gTwipsPerPixelY = 0;

// The length of a valid UTF-8 sequence starting at i, 0 when it is not one.
size_t Utf8Length(const std::string& s, size_t i, char32_t& cp) {
  const auto c0 = static_cast<unsigned char>(s[i]);
  size_t len;
  if (c0 < 0x80) {
    cp = c0;
    return 1;
  }
  if (c0 >= 0xC2 && c0 <= 0xDF) len = 2, cp = c0 & 0x1F;
  else if (c0 >= 0xE0 && c0 <= 0xEF) len = 3, cp = c0 & 0x0F;
  else if (c0 >= 0xF0 && c0 <= 0xF4) len = 4, cp = c0 & 0x07;
  else return 0;
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return len;
}

bool IsValidUtf8(const std::string& s) {
  char32_t cp;
  for (size_t i = 0; i < s.size();) {
    const size_t len = Utf8Length(s, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

}  // namespace

int16_t TwipsPerPixelX(int16_t refresh) {
  if (refresh != 0 || gTwipsPerPixelX == 0)
    gTwipsPerPixelX = platform::checked::CInt(platform::Screen().TwipsPerPixelX());
  return gTwipsPerPixelX;
}

int16_t TwipsPerPixelY(int16_t refresh) {
  if (refresh != 0 || gTwipsPerPixelY == 0)
    gTwipsPerPixelY = platform::checked::CInt(platform::Screen().TwipsPerPixelY());
  return gTwipsPerPixelY;
}

void SetBusyCursor(bool busy) {
  platform::Screen().SetMousePointer(busy ? platform::vbHourglass : platform::vbDefault);
}

double NumericOrZero(const std::string& value) {
  size_t b = 0, e = value.size();
  while (b < e && (value[b] == ' ' || value[b] == '\t')) ++b;
  while (e > b && (value[e - 1] == ' ' || value[e - 1] == '\t')) --e;
  const std::string s = value.substr(b, e - b);
  if (s.empty()) return 0;
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++expDigits;
    if (expDigits == 0) return 0;
    i = j;
  }
  if (i != s.size()) return 0;
  const double v = std::strtod(s.c_str(), nullptr);
  return std::isfinite(v) ? v : 0;
}

std::string PathSlash(const std::string& path, int16_t mode) {
  if (path.empty()) return {};
  const bool ends = path.back() == '/';
  switch (mode) {
    case 0: return ends ? path.substr(0, path.size() - 1) : path;
    case 1: return ends ? path : path + '/';
    default: return {};
  }
}

std::u32string ToChars(const std::string& utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  char32_t cp;
  for (size_t i = 0; i < utf8.size();) {
    const size_t len = Utf8Length(utf8, i, cp);
    if (len == 0) {
      out.push_back(U'\uFFFD');
      ++i;
    } else {
      out.push_back(cp);
      i += len;
    }
  }
  return out;
}

static void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string ToUtf8(const std::u32string& chars) {
  std::string out;
  out.reserve(chars.size());
  for (char32_t c : chars) AppendUtf8(out, c);
  return out;
}

std::string ToUtf8(char32_t c) {
  std::string out;
  AppendUtf8(out, c);
  return out;
}

std::u32string DecodeText(const std::string& bytes) {
  if (IsValidUtf8(bytes)) {
    const bool bom = bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    return ToChars(bom ? bytes.substr(3) : bytes);
  }
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, void (*)(UConverter*)> conv(ucnv_open("windows-31j", &status), ucnv_close);
  if (U_FAILURE(status)) return ToChars(bytes);
  std::u32string out;
  out.reserve(bytes.size());
  const char* src = bytes.data();
  const char* end = src + bytes.size();
  while (src < end) {
    status = U_ZERO_ERROR;
    const UChar32 c = ucnv_getNextUChar(conv.get(), &src, end, &status);
    if (U_FAILURE(status)) {
      if (status == U_INDEX_OUTOFBOUNDS_ERROR) break;
      out.push_back(U'\uFFFD');
      continue;
    }
    out.push_back(static_cast<char32_t>(c));
  }
  return out;
}

}  // namespace basQuillet
