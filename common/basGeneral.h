#pragma once
// Small routines the whole program uses: error report, screen metrics, fonts,
// numbers from stored text, strings, paths, arrays and window centring.
//
// Paths use the platform's separator "/" where the original used "\"; the
// root folder plays the part of a drive.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Checked.h"
#include "platform/Form.h"
#include "platform/RuntimeError.h"
#include "platform/StdFont.h"

namespace basGeneral {

// The platform's path separator.
inline constexpr char kPathSeparator = '/';

// Shows the error in a message box with a critical icon and an OK button,
// titled with the application title.
void ReportError(const platform::RuntimeError& error);
// Any other exception is reported with number 0 and its message.
void ReportError(const std::exception& error);

// The error saved by SaveErrState.
struct SavedError {
  int32_t Number = 0;
  std::string Description;
  std::string Source;
  std::string HelpFile;
  int32_t HelpContext = 0;
  int32_t LastDllError = 0;
};
void SaveErrState(const platform::RuntimeError& error);
// The saved error as an error object again (help file and context are not
// part of it).
platform::RuntimeError RestoreErrState();
const SavedError& SavedErrState();

// The screen's twips per pixel, rounded; read from the platform when refresh
// is non-zero or nothing is cached yet.
int16_t TwipsPerPixelX(int16_t refresh = 0);
int16_t TwipsPerPixelY(int16_t refresh = 0);

// Hourglass pointer when busy, default pointer otherwise.
void SetBusyCursor(bool busy);

// Copies name, size, weight, bold, charset, italic, strikethrough and
// underline.
void CopyFont(const platform::StdFont& source, platform::StdFont& target);

// The face name of the platform's default GUI font.
std::string DefaultGuiFontFace(const platform::IForm& window);

// The number a stored text holds, or 0 when it holds none (empty, "True",
// letters). Surrounding blanks are allowed.
double NumericOrZero(const std::string& value);
// True when the text is a number in the language's sense: blanks, a sign,
// digits with a decimal point, an exponent, or &H / &O prefixed integers.
bool IsNumeric(const std::string& value);

// The text without leading and trailing blanks (spaces and tabs).
std::string TrimBlanks(const std::string& text);

// The text before the first NUL character.
std::string TrimAtNul(const std::string& text);

// b when x equals a, else a.
template <typename T>
T ToggleValue(const T& x, const T& a, const T& b) {
  return x == a ? b : a;
}

// Resizes target to the source's upper bound + offset and copies source
// element i to target element i + offset; false when that size is impossible.
template <typename T>
bool ArrayCopy(std::vector<T>& target, const std::vector<T>& source, int16_t offset) {
  const long long size = static_cast<long long>(source.size()) + offset;
  if (size < 0 || offset < 0) return false;
  target.resize(static_cast<size_t>(size));
  for (size_t i = 0; i < source.size(); ++i) target[i + static_cast<size_t>(offset)] = source[i];
  return true;
}

// The upper bound of a dimensioned array; −1 for anything else.
template <typename T>
int16_t ArrayUpperBound(const std::vector<T>& array) {
  return platform::checked::ToInt16(static_cast<int64_t>(array.size()) - 1);
}
template <typename T>
int16_t ArrayUpperBound(const T&) {
  return -1;
}

// Centres the window on the reference window, or on the screen when there is
// none or the window does not fit into it. Only a window in normal state moves.
void CenterForm(platform::IForm& window, const platform::IForm* reference = nullptr);

// mode 0: removes one trailing separator; mode 1: appends one if missing;
// empty for an empty path or another mode.
std::string PathSlash(const std::string& path, int16_t mode);
// The text after the last separator (for paths over 100 characters the last
// ":" counts too); a path without one is returned whole.
std::string FileNamePart(const std::string& path);
// The folder levels steps above the path's last component, ending in a
// separator; empty when that would go above the root.
std::string ParentFolder(const std::string& path, int16_t levels);
// 1 for an empty path; −1 when the path exists and is of the kind wanted
// (folder or file); 0 otherwise.
int16_t PathExists(const std::string& path, bool folderWanted);

// Reads the digits "0"–"9" starting at the 1-based byte position and moves
// the position past them; on a non-digit, the number of the whole rest of
// the text, and the position moves by one.
double ReadNumber(const std::string& text, int32_t& position);

}  // namespace basGeneral
