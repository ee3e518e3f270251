#pragma once
// The open-file, save-file and font dialogs behind one object: the caller
// sets title, filter, folder, flags, font and colour, calls ShowOpen,
// ShowSave or ShowFont and reads CancelError and the results. A new object
// is made for each use.
#include <cstdint>
#include <string>

#include "platform/Color.h"
#include "platform/Form.h"
#include "platform/StdFont.h"

class clsCommonDialog1 {
 public:
  clsCommonDialog1();

  void SetDialogTitle(const std::string& strNewDialogTitle) { mstrDialogTitle = strNewDialogTitle; }
  void SetFlags(int32_t lngNewFlags) { mlngFlags = lngNewFlags; }
  // Buffer size in characters, terminating NUL included (1 to 32768).
  void SetMaxFileSize(int32_t lngNewMaxFileSize);
  // "|"-separated pairs of description and pattern; stored NUL-separated.
  void SetFilter(const std::string& strNewFilter);
  int32_t ErrNumber() const { return mlngErrNumber; }
  void ShowOpen() { ShowFileDialog(1); }
  void ShowSave() { ShowFileDialog(2); }
  void SetInitDir(const std::string& strNewInitDir) { mstrInitDir = strNewInitDir; }
  const std::string& FileName() const { return mstrFileName; }
  void SetFileName(const std::string& strNewFileName) { mstrFileName = strNewFileName; }
  void SetFilterIndex(int16_t intNewFilterIndex) { mlngFilterIndex = intNewFilterIndex; }
  void SetDefaultExt(const std::string& strNewDefaultExt) { mstrDefaultExt = strNewDefaultExt; }
  void SetFileTitle(const std::string& strNewFileTitle) { mstrFileTitle = strNewFileTitle; }
  platform::OleColor Color() const { return mlngColor; }
  void SetColor(platform::OleColor lngNewColor) { mlngColor = lngNewColor; }
  void ShowFont();
  platform::IForm* Form() const { return mForm; }
  void SetForm(platform::IForm* NewForm) { mForm = NewForm; }
  // Setting copies the attributes; the caller's font is not kept.
  void SetFont(const platform::StdFont& aFont);
  const platform::StdFont& Font() const { return mFont; }
  int32_t Max() const { return mlngMax; }
  void SetMax(int32_t lngNewMax) { mlngMax = lngNewMax; }
  int32_t Min() const { return mlngMin; }
  void SetMin(int32_t lngNewMin) { mlngMin = lngNewMin; }
  bool CancelError() const { return mblnCancelError; }

  // The stored (NUL-separated) filter.
  const std::string& Filter() const { return mstrFilter; }

 private:
  void ShowFileDialog(int intKind);

  std::string mstrDialogTitle = "Open File";
  int32_t mlngFlags = 0;
  int32_t mlngMaxFileSize = 255;
  std::string mstrFilter{"All Files (*.*)\0*.*\0", 20};
  int32_t mlngErrNumber = 0;
  std::string mstrInitDir;
  std::string mstrFileName;
  int32_t mlngFilterIndex = 0;
  std::string mstrDefaultExt;
  std::string mstrFileTitle = std::string(254, ' ');
  platform::OleColor mlngColor = 0;
  platform::IForm* mForm = nullptr;
  platform::StdFont mFont;
  int32_t mlngMax = 0;
  int32_t mlngMin = 0;
  bool mblnCancelError = false;

  // The kind of the last file dialog (1 open, 2 save) and the last result
  // of the platform call.
  int mintDialogKind = 0;
  bool mblnLastResult = false;
};
