// The help-file decoder on any bytes: UTF-8 with or without a byte-order
// mark, else Shift-JIS. The characters must be valid, survive the round
// trip through UTF-8, and a UTF-8 file must decode without loss; the
// prepared document text follows.
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
  const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  if (fuzz::IsUtf8(bytes) && utf8 != (bom ? bytes.substr(3) : bytes)) fuzz::Fail("a UTF-8 file did not decode as itself");

  const std::u32string prepared = basHTML::PrepareHtml(chars);
  for (const char32_t c : prepared) {
    if (c == U'\r' || c == U'\n') fuzz::Fail("a line end reached the prepared text");
  }
  return 0;
}
