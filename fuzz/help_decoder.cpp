// The help-file decoder on any bytes: by a byte-order mark, by a declared
// character set that reads ASCII as ASCII, else UTF-8 when valid, else
// Shift-JIS. The characters must be valid and survive the round trip
// through UTF-8. A declaration is obeyed only when the markup it stands in
// reads as itself in that set, so a file of printable ASCII, tabs and line
// ends decodes as itself whatever it declares; a UTF-8 file that declares
// nothing, or a Unicode form (UTF-16 and UTF-32 in a declaration mean
// UTF-8), decodes without loss. The prepared document text follows.
#include <algorithm>
#include <cctype>
#include <string>

#include "fuzz/support/FuzzSupport.h"
#include "htmlview/basHTML.h"
#include "htmlview/basQuillet.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::u32string chars = basQuillet::DecodeText(bytes);
  for (const char32_t c : chars) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) fuzz::Fail("the decoder made a character that does not exist");
  }
  const std::string utf8 = basQuillet::ToUtf8(chars);
  if (!fuzz::IsUtf8(utf8)) fuzz::Fail("the decoded text is not UTF-8 again");
  if (basQuillet::ToChars(utf8) != chars) fuzz::Fail("characters do not survive the round trip through UTF-8");
  const bool printableAscii = std::all_of(bytes.begin(), bytes.end(), [](char c) {
    return (c >= 0x20 && c <= 0x7E) || c == '\t' || c == '\r' || c == '\n';
  });
  if (printableAscii && utf8 != bytes) fuzz::Fail("ASCII markup did not decode as itself");
  std::string declared = basQuillet::DeclaredCharset(bytes);
  for (char& c : declared) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool unicodeOrNone = declared.empty() || declared.rfind("utf", 0) == 0;
  const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  if (unicodeOrNone && fuzz::IsUtf8(bytes) && utf8 != (bom ? bytes.substr(3) : bytes))
    fuzz::Fail("a UTF-8 file did not decode as itself");

  const std::u32string prepared = basHTML::PrepareHtml(chars);
  for (const char32_t c : prepared) {
    if (c == U'\r' || c == U'\n') fuzz::Fail("a line end reached the prepared text");
  }
  return 0;
}
