#pragma once
// The system's open-file, save-file and font dialogs, filled and read
// through the structures the callers prepare. The dialogs are modal to their
// owner window.
#include <cstdint>
#include <string>

#include "platform/Color.h"
#include "platform/Form.h"
#include "platform/Services.h"

namespace platform {

// Flags of the file dialogs (those the platform acts on; others pass).
enum OpenFileNameFlags : int32_t {
  OFN_READONLY = 0x1,
  OFN_OVERWRITEPROMPT = 0x2,
  OFN_HIDEREADONLY = 0x4,
  OFN_ALLOWMULTISELECT = 0x200,
  OFN_PATHMUSTEXIST = 0x800,
  OFN_FILEMUSTEXIST = 0x1000,
  OFN_LONGNAMES = 0x200000,
};

// Flags of the font dialog.
enum ChooseFontFlags : int32_t {
  CF_SCREENFONTS = 0x1,
  CF_INITTOLOGFONTSTRUCT = 0x40,
  CF_EFFECTS = 0x100,
  CF_LIMITSIZE = 0x2000,
  CF_FORCEFONTEXIST = 0x10000,
  CF_SCALABLEONLY = 0x20000,
};

enum FontTypeFlags : int16_t { BOLD_FONTTYPE = 0x100, ITALIC_FONTTYPE = 0x200 };

// Extended error codes (CommDlgExtendedError); 0 after a plain cancel.
enum CommonDialogError : int32_t {
  CDERR_DIALOGFAILURE = 0xFFFF,
  CDERR_INITIALIZATION = 0x0002,
  FNERR_BUFFERTOOSMALL = 0x3003,
};

// What a file dialog is given and fills in (OPENFILENAME).
struct OpenFileNameInfo {
  IForm* hwndOwner = nullptr;
  // Pairs of description and pattern(s), each ended by a NUL, the list
  // ended by a second NUL. Patterns are separated by ";".
  std::string lpstrFilter;
  int32_t nFilterIndex = 0;  // 1-based; 0 = the first
  // In: the initial name, NUL-ended, in a buffer of nMaxFile characters.
  // Out: the chosen path and a NUL, the rest of the buffer NULs; with
  // OFN_ALLOWMULTISELECT and several files: the folder, NUL, each name, NUL,
  // and a final NUL.
  std::string lpstrFile;
  int32_t nMaxFile = 0;
  // Out: the chosen name without its folder, when it fits nMaxFileTitle.
  std::string lpstrFileTitle;
  int32_t nMaxFileTitle = 0;
  std::string lpstrInitialDir;
  std::string lpstrTitle;
  int32_t Flags = 0;
  std::string lpstrDefExt;
};

// A font as the font dialog takes and returns it (LOGFONT). Heights are in
// device pixels; a negative height is the character height without the
// internal leading.
struct LogFont {
  int32_t lfHeight = 0;
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = 0;  // 0 = default, 400 normal, 700 bold
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = 1;  // DEFAULT_CHARSET
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  // The face name; the part before a NUL counts.
  std::string lfFaceName;
  // Beyond the system's structure: the width in percent of the face's
  // normal width (100 normal, 75 condensed); 0 = the face's own.
  int16_t lfStretch = 0;
};

// What the font dialog is given and fills in (CHOOSEFONT).
struct ChooseFontInfo {
  IForm* hwndOwner = nullptr;
  LogFont* lpLogFont = nullptr;
  int32_t iPointSize = 0;
  int32_t Flags = 0;
  OleColor rgbColors = 0;  // in and out (with CF_EFFECTS)
  int16_t nFontType = 0;
  int32_t nSizeMin = 0;  // points, with CF_LIMITSIZE
  int32_t nSizeMax = 0;
};

class ICommonDialogs {
 public:
  virtual ~ICommonDialogs() = default;
  // Show the dialog; true when the user chose, false when he cancelled or
  // the dialog failed (CommDlgExtendedError tells which).
  virtual bool GetOpenFileName(OpenFileNameInfo& ofn) = 0;
  virtual bool GetSaveFileName(OpenFileNameInfo& ofn) = 0;
  virtual bool ChooseFont(ChooseFontInfo& cf) = 0;
  // The error code of the last dialog call; 0 after a plain cancel.
  virtual int32_t CommDlgExtendedError() const = 0;
  // The screen's logical dots per inch, vertically (GetDeviceCaps with
  // LOGPIXELSY); 0 when the screen cannot be read.
  virtual int32_t LogPixelsY() const = 0;
};

inline ICommonDialogs& CommonDialogs() { return ServiceSlot<ICommonDialogs>::Get(); }

}  // namespace platform
