#include "common/basGeneral.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/Application.h"
#include "platform/Services.h"

namespace basGeneral {
namespace {

SavedError gSaved;
int16_t gTwipsPerPixelX = 0;
int16_t gTwipsPerPixelY = 0;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }


// Length in characters of UTF-8 text.
size_t CharacterCount(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

bool ParseRadix(const std::string& digits, int base, double& value) {
  if (digits.empty()) return false;
  char* end = nullptr;
  const unsigned long long v = std::strtoull(digits.c_str(), &end, base);
  if (*end != '\0' || v > 0xFFFFFFFFull) return false;
  // &H and &O values are 16- or 32-bit signed patterns.
  if (v <= 0xFFFF) value = static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(v)));
  else value = static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
  return true;
}

bool ParseNumber(const std::string& value, double& result) {
  const std::string s = TrimBlanks(value);
  if (s.empty()) return false;
  if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) return ParseRadix(s.substr(2), 16, result);
  if (s.size() > 2 && s[0] == '&' && (s[1] == 'O' || s[1] == 'o')) return ParseRadix(s.substr(2), 8, result);
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++expDigits;
    if (expDigits == 0) return false;
    i = j;
  }
  if (i != s.size()) return false;
  std::string normal = s;
  for (char& c : normal)
    if (c == 'd' || c == 'D') c = 'e';
  result = std::strtod(normal.c_str(), nullptr);
  return std::isfinite(result);
}

}  // namespace

void ReportError(const platform::RuntimeError& error) {
  const std::string text = "Number: " + std::to_string(error.Number()) + "\n Description: " + error.Description() +
                           "\n Source: " + error.Source();
  platform::MessageBox().Show(text, platform::vbCritical | platform::vbOKOnly, platform::Application::Title());
}

void ReportError(const std::exception& error) {
  if (const auto* runtime = dynamic_cast<const platform::RuntimeError*>(&error)) {
    ReportError(*runtime);
    return;
  }
  ReportError(platform::RuntimeError(0, error.what(), platform::Application::Title()));
}

void SaveErrState(const platform::RuntimeError& error) {
  gSaved = SavedError{error.Number(), error.Description(), error.Source(), {}, 0, 0};
}

platform::RuntimeError RestoreErrState() { return platform::RuntimeError(gSaved.Number, gSaved.Description, gSaved.Source); }

const SavedError& SavedErrState() { return gSaved; }

int16_t TwipsPerPixelX(int16_t refresh) {
  if (refresh != 0 || gTwipsPerPixelX == 0) gTwipsPerPixelX = platform::checked::CInt(platform::Screen().TwipsPerPixelX());
  return gTwipsPerPixelX;
}

int16_t TwipsPerPixelY(int16_t refresh) {
  if (refresh != 0 || gTwipsPerPixelY == 0) gTwipsPerPixelY = platform::checked::CInt(platform::Screen().TwipsPerPixelY());
  return gTwipsPerPixelY;
}

void SetBusyCursor(bool busy) { platform::Screen().SetMousePointer(busy ? platform::vbHourglass : platform::vbDefault); }

void CopyFont(const platform::StdFont& source, platform::StdFont& target) {
  target.Name = source.Name;
  target.Size = source.Size;
  target.Weight = source.Weight;
  target.Bold = source.Bold;
  target.Charset = source.Charset;
  target.Italic = source.Italic;
  target.Strikethrough = source.Strikethrough;
  target.Underline = source.Underline;
  target.Stretch = source.Stretch;
}

std::string DefaultGuiFontFace(const platform::IForm&) { return platform::Screen().DefaultGuiFontFace(); }

bool IsNumeric(const std::string& value) {
  double ignored = 0;
  return ParseNumber(value, ignored);
}

double NumericOrZero(const std::string& value) {
  double result = 0;
  return ParseNumber(value, result) ? result : 0.0;
}

std::string TrimBlanks(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

std::string TrimAtNul(const std::string& text) {
  const size_t nul = text.find('\0');
  return nul == std::string::npos ? text : text.substr(0, nul);
}

void CenterForm(platform::IForm& window, const platform::IForm* reference) {
  if (window.WindowState() != platform::vbNormal) return;
  double refLeft = 0, refTop = 0, refWidth = platform::Screen().Width(), refHeight = platform::Screen().Height();
  if (reference && window.Width() <= reference->Width() && window.Height() <= reference->Height()) {
    refLeft = reference->Left();
    refTop = reference->Top();
    refWidth = reference->Width();
    refHeight = reference->Height();
  }
  const int32_t dx = platform::checked::CLng(refWidth - window.Width());
  const int32_t dy = platform::checked::CLng(refHeight - window.Height());
  window.Move(refLeft + dx / 2, refTop + dy / 2, window.Width(), window.Height());
}

std::string PathSlash(const std::string& path, int16_t mode) {
  if (path.empty()) return {};
  const bool ends = path.back() == kPathSeparator;
  switch (mode) {
    case 0: return ends ? path.substr(0, path.size() - 1) : path;
    case 1: return ends ? path : path + kPathSeparator;
    default: return {};
  }
}

std::string FileNamePart(const std::string& path) {
  size_t cut = path.rfind(kPathSeparator);
  if (CharacterCount(path) > 100) {
    const size_t colon = path.rfind(':');
    if (colon != std::string::npos && (cut == std::string::npos || colon > cut)) cut = colon;
  }
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ParentFolder(const std::string& path, int16_t levels) {
  if (path.empty() || levels < 0) return {};
  std::string p = path;
  int count = 0;
  if (p.back() == kPathSeparator) {
    if (levels == 0) return p;
    p.pop_back();
    count = levels - 1;
  } else {
    if (p.find(kPathSeparator) == std::string::npos) return {};
    count = levels;
  }
  for (int i = 0;; ++i) {
    if (count < i) return p + kPathSeparator;
    // Above a drive ("C:") or the root there is nothing.
    if ((!p.empty() && p.back() == ':') || (p.empty() && i > 0)) return {};
    const size_t cut = p.rfind(kPathSeparator);
    if (cut == std::string::npos) return {};
    p.resize(cut);
  }
}

int16_t PathExists(const std::string& path, bool folderWanted) {
  if (path.empty()) return 1;
  std::string p = path;
  if (p.size() > 1 && p.back() == kPathSeparator) p.pop_back();
  std::error_code ec;
  const auto status = std::filesystem::status(p, ec);
  if (ec || !std::filesystem::exists(status)) return 0;
  const bool isFolder = std::filesystem::is_directory(status);
  return isFolder == folderWanted ? -1 : 0;
}

double ReadNumber(const std::string& text, int32_t& position) {
  const size_t start = position > 0 ? static_cast<size_t>(position - 1) : 0;
  size_t end = start;
  while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
  if (end > start) {
    position += static_cast<int32_t>(end - start);
    return NumericOrZero(text.substr(start, end - start));
  }
  position += 1;
  return start < text.size() ? NumericOrZero(text.substr(start)) : 0.0;
}

}  // namespace basGeneral
