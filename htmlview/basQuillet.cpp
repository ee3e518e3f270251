#include "htmlview/basQuillet.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
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

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The position of `word` (lower-case ASCII) in bytes[from, to), ignoring case.
size_t FindNoCase(const std::string& bytes, const char* word, size_t from, size_t to) {
  const size_t len = std::strlen(word);
  for (size_t i = from; i + len <= to; ++i) {
    size_t k = 0;
    while (k < len && LowerAscii(bytes[i + k]) == word[k]) ++k;
    if (k == len) return i;
  }
  return std::string::npos;
}

// Labels that name a narrower set than the pages carrying them use, read as
// browsers read them.
std::string ConverterName(const std::string& label) {
  std::string lower;
  for (char c : label) lower.push_back(LowerAscii(c));
  if (lower.empty()) return {};
  if (lower == "iso-8859-1" || lower == "iso8859-1" || lower == "latin1" || lower == "l1" ||
      lower == "us-ascii" || lower == "ascii" || lower == "iso_8859-1" || lower == "cp819")
    return "windows-1252";
  if (lower == "shift_jis" || lower == "shift-jis" || lower == "sjis" || lower == "x-sjis" || lower == "ms_kanji" ||
      lower == "csshiftjis")
    return "windows-31j";
  return label;
}

using Converter = std::unique_ptr<UConverter, void (*)(UConverter*)>;

Converter OpenConverter(const std::string& name) {
  UErrorCode status = U_ZERO_ERROR;
  Converter conv(ucnv_open(name.c_str(), &status), ucnv_close);
  if (U_FAILURE(status)) conv.reset();
  if (conv) ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) conv.reset();
  return conv;
}

std::u32string Convert(UConverter* conv, const char* src, const char* end) {
  // In a stateless converter an ASCII byte never belongs to a bad sequence
  // before it; in ISO-2022 ASCII bytes carry the encoded characters.
  const bool asciiSafe = ucnv_getType(conv) != UCNV_ISO_2022;
  std::u32string out;
  out.reserve(static_cast<size_t>(end - src));
  while (src < end) {
    UErrorCode status = U_ZERO_ERROR;
    const char* before = src;
    const UChar32 c = ucnv_getNextUChar(conv, &src, end, &status);
    if (status == U_INDEX_OUTOFBOUNDS_ERROR) break;
    if (U_SUCCESS(status)) {
      out.push_back(static_cast<char32_t>(c));
      continue;
    }
    out.push_back(U'\uFFFD');
    if (src <= before) src = before + 1;
    if (asciiSafe) {
      // Only the first byte is lost; an ASCII byte taken with it is text.
      for (const char* p = before + 1; p < src; ++p) {
        if (static_cast<unsigned char>(*p) < 0x80) {
          src = p;
          break;
        }
      }
      ucnv_resetToUnicode(conv);
    }
  }
  return out;
}

}  // namespace

std::string DeclaredCharset(const std::string& bytes) {
  size_t to = FindNoCase(bytes, "<body", 0, bytes.size());
  if (to == std::string::npos) to = bytes.size();
  size_t from = 0;
  for (size_t meta; (meta = FindNoCase(bytes, "<meta", from, to)) != std::string::npos;) {
    const size_t close = std::min(bytes.find('>', meta), to);
    from = close;
    size_t at = FindNoCase(bytes, "charset", meta, close);
    if (at == std::string::npos) continue;
    at += 7;
    while (at < close && (bytes[at] == ' ' || bytes[at] == '\t')) ++at;
    if (at >= close || bytes[at] != '=') continue;
    ++at;
    while (at < close && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '"' || bytes[at] == '\'')) ++at;
    size_t end = at;
    while (end < close && (std::isalnum(static_cast<unsigned char>(bytes[end])) || bytes[end] == '-' ||
                           bytes[end] == '_' || bytes[end] == '.' || bytes[end] == ':'))
      ++end;
    if (end > at) return bytes.substr(at, end - at);
  }
  return {};
}

namespace {

// Whether the converter reads ASCII markup as itself, which a declaration
// inside that markup needs in order to be read at all. UTF-16, UTF-32,
// EBCDIC, UTF-7 and HZ do not.
bool ReadsAsciiAsItself(UConverter* conv) {
  static const std::string probe =
      "\t\r\n !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"
      " +AGE- ~{a~} <meta charset=x>";
  ucnv_resetToUnicode(conv);
  const std::u32string read = Convert(conv, probe.data(), probe.data() + probe.size());
  ucnv_resetToUnicode(conv);
  return read == std::u32string(probe.begin(), probe.end());
}

// The converter for the character set a document declares, as browsers obey
// a declaration in META: UTF-16 and UTF-32 mean UTF-8 (the bytes that carry
// the declaration are not UTF-16), and a set that does not read ASCII as
// ASCII is ignored.
Converter DeclaredConverter(const std::string& label) {
  const std::string name = ConverterName(label);
  if (name.empty()) return Converter(nullptr, ucnv_close);
  Converter conv = OpenConverter(name);
  if (!conv) return conv;
  switch (ucnv_getType(conv.get())) {
    case UCNV_UTF16_BigEndian:
    case UCNV_UTF16_LittleEndian:
    case UCNV_UTF16:
    case UCNV_UTF32_BigEndian:
    case UCNV_UTF32_LittleEndian:
    case UCNV_UTF32:
      return OpenConverter("UTF-8");
    default:
      break;
  }
  if (!ReadsAsciiAsItself(conv.get())) conv.reset();
  return conv;
}

}  // namespace

std::u32string DecodeText(const std::string& bytes) {
  const char* src = bytes.data();
  const char* end = src + bytes.size();
  std::string name;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) name = "UTF-8", src += 3;
  else if (bytes.compare(0, 2, "\xFF\xFE") == 0) name = "UTF-16LE", src += 2;
  else if (bytes.compare(0, 2, "\xFE\xFF") == 0) name = "UTF-16BE", src += 2;
  const bool bom = src != bytes.data();
  Converter conv = bom ? OpenConverter(name) : DeclaredConverter(DeclaredCharset(bytes));
  if (!conv || (!bom && ucnv_getType(conv.get()) == UCNV_UTF8)) {
    // Valid UTF-8 is read as such; undeclared other bytes as Shift-JIS.
    std::string rest(src, end);
    if (IsValidUtf8(rest)) return ToChars(rest);
    if (!conv) conv = OpenConverter("windows-31j");
    if (!conv) return ToChars(rest);
  }
  return Convert(conv.get(), src, end);
}

}  // namespace basQuillet
