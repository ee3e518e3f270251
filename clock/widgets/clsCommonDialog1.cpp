#include "clock/widgets/clsCommonDialog1.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <utility>

#include "common/basGeneral.h"
#include "platform/Checked.h"
#include "platform/CommonDialogs.h"
#include "platform/ScopeExit.h"

namespace {

constexpr int32_t kLargestFileBuffer = 32768;

// a × b ÷ c, rounded half away from zero (MulDiv); −1 when c is 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  return platform::checked::ToInt32(std::llround(static_cast<double>(int64_t{a} * b) / c));
}

void ReportNoOwner() {
  basGeneral::ReportError(platform::RuntimeError(platform::errObjectNotSet,
                                                  platform::ErrorDescription(platform::errObjectNotSet),
                                                  platform::DefaultErrorSource()));
}

}  // namespace

clsCommonDialog1::clsCommonDialog1() {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  if (!error) mstrInitDir = current.string();
}

void clsCommonDialog1::SetMaxFileSize(int32_t lngNewMaxFileSize) {
  if (lngNewMaxFileSize < 1 || lngNewMaxFileSize > kLargestFileBuffer) return;
  mlngMaxFileSize = lngNewMaxFileSize;
}

void clsCommonDialog1::SetFilter(const std::string& strNewFilter) {
  std::string filter = strNewFilter;
  std::replace(filter.begin(), filter.end(), '|', '\0');
  if (filter.empty() || filter.back() != '\0') filter.push_back('\0');
  mstrFilter = std::move(filter);
}

void clsCommonDialog1::SetFont(const platform::StdFont& aFont) { basGeneral::CopyFont(aFont, mFont); }

void clsCommonDialog1::ShowFileDialog(int intKind) {
  mblnLastResult = false;
  mlngErrNumber = 0;
  mintDialogKind = intKind;
  if (!mForm) {
    ReportNoOwner();
    return;
  }
  try {
    platform::OpenFileNameInfo ofn;
    ofn.hwndOwner = mForm;
    ofn.lpstrFilter = mstrFilter + '\0';
    ofn.nFilterIndex = mlngFilterIndex;
    const auto maxFile = static_cast<size_t>(mlngMaxFileSize);
    ofn.lpstrFile = (mstrFileName + std::string(maxFile, '\0')).substr(0, maxFile - 1) + '\0';
    ofn.nMaxFile = mlngMaxFileSize;
    ofn.lpstrFileTitle = mstrFileTitle + '\0';
    ofn.nMaxFileTitle = platform::checked::ToInt32(static_cast<int64_t>(ofn.lpstrFileTitle.size()));
    ofn.lpstrInitialDir = mstrInitDir;
    ofn.lpstrTitle = mstrDialogTitle;
    ofn.Flags = mlngFlags;
    ofn.lpstrDefExt = mstrDefaultExt;

    platform::ICommonDialogs& dialogs = platform::CommonDialogs();
    mblnLastResult = intKind == 1 ? dialogs.GetOpenFileName(ofn) : dialogs.GetSaveFileName(ofn);
    if (!mblnLastResult) {
      mblnCancelError = true;
      mstrFileName.clear();
      mlngErrNumber = dialogs.CommDlgExtendedError();
      return;
    }
    mblnCancelError = false;
    // The names end at the first two NULs; a name that fills the buffer
    // has only its terminating NUL.
    const size_t end = ofn.lpstrFile.find(std::string(2, '\0'));
    std::string chosen = ofn.lpstrFile.substr(0, end);
    while (!chosen.empty() && chosen.back() == '\0') chosen.pop_back();
    mstrFileName = std::move(chosen);
    mstrFileTitle = basGeneral::TrimBlanks(basGeneral::TrimAtNul(ofn.lpstrFileTitle));
  } catch (const platform::RuntimeError&) {
    // An error during the call ends it without a word.
  }
}

void clsCommonDialog1::ShowFont() {
  if (!mForm) {
    ReportNoOwner();
    return;
  }
  // The owner window describes the font to edit while the dialog runs and
  // gets its own font back afterwards, whatever happens.
  const platform::StdFont savedFont = mForm->Font();
  platform::StdFont editFont = savedFont;
  basGeneral::CopyFont(mFont, editFont);
  mForm->SetFont(editFont);
  platform::ScopeExit restore([this, &savedFont] { mForm->SetFont(savedFont); });

  platform::ICommonDialogs& dialogs = platform::CommonDialogs();
  const int32_t dpi = dialogs.LogPixelsY();
  if (dpi <= 0) return;

  const platform::StdFont ownerFont = mForm->Font();
  const int32_t points = platform::checked::CLng(ownerFont.Size);
  platform::LogFont lf;
  lf.lfHeight = -MulDiv(points, dpi, 72);
  // A weight other than normal (a light face) goes in too, so that the
  // dialog shows the style the font has.
  lf.lfWeight = ownerFont.Bold ? std::max<int32_t>(700, ownerFont.Weight) : (ownerFont.Weight != 400 ? ownerFont.Weight : 0);
  lf.lfItalic = ownerFont.Italic ? 1 : 0;
  lf.lfUnderline = ownerFont.Underline ? 1 : 0;
  lf.lfStrikeOut = ownerFont.Strikethrough ? 1 : 0;
  lf.lfCharSet = 1;
  lf.lfFaceName = ownerFont.Name;
  lf.lfStretch = ownerFont.Stretch;

  platform::ChooseFontInfo cf;
  cf.hwndOwner = mForm;
  cf.lpLogFont = &lf;
  cf.iPointSize = points;
  cf.Flags = mlngFlags | platform::CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = mlngColor;
  cf.nFontType = static_cast<int16_t>((ownerFont.Bold ? platform::BOLD_FONTTYPE : 0) |
                                      (ownerFont.Italic ? platform::ITALIC_FONTTYPE : 0));
  cf.nSizeMin = mlngMin;
  cf.nSizeMax = mlngMax;

  if (!dialogs.ChooseFont(cf)) {
    mlngErrNumber = dialogs.CommDlgExtendedError();
    mblnCancelError = true;
    return;
  }
  mblnCancelError = false;

  const std::string face = basGeneral::TrimAtNul(lf.lfFaceName);
  if (!face.empty()) mFont.Name = face;
  mFont.Size = std::fabs(72.0 * lf.lfHeight / dpi);
  mFont.Bold = lf.lfWeight >= 500;
  // The weight is the chosen one (a light or medium face stays so), and
  // follows the bold state where the dialog gives none, so that a font made
  // normal again is not drawn with its old heavy weight.
  mFont.Weight = lf.lfWeight > 0 ? static_cast<int16_t>(std::min(lf.lfWeight, 1000)) : (mFont.Bold ? 700 : 400);
  mFont.Stretch = lf.lfStretch;
  mFont.Italic = lf.lfItalic != 0;
  mFont.Strikethrough = lf.lfStrikeOut != 0;
  mFont.Underline = lf.lfUnderline != 0;
  mlngColor = cf.rgbColors;
}
