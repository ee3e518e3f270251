#pragma once
// The file dialogs (QFileDialog) and the font dialog (QFontDialog with a
// colour button beside it), modal to the owner window.
#include <QStringList>
#include <functional>

#include "platform/CommonDialogs.h"

class QDialog;

namespace platform::qt {

class QtCommonDialogs final : public ICommonDialogs {
 public:
  bool GetOpenFileName(OpenFileNameInfo& ofn) override { return FileDialog(false, ofn); }
  bool GetSaveFileName(OpenFileNameInfo& ofn) override { return FileDialog(true, ofn); }
  bool ChooseFont(ChooseFontInfo& cf) override;
  int32_t CommDlgExtendedError() const override { return mError; }
  int32_t LogPixelsY() const override;

  // Called with each dialog once it is shown, before the user acts; tests
  // drive the dialog from here.
  std::function<void(QDialog&)> Shown;

  // The Qt name filters for a NUL-separated filter list: the description
  // as written, the patterns (";"-separated) in parentheses after it.
  static QStringList NameFilters(const std::string& filter);

 private:
  bool FileDialog(bool save, OpenFileNameInfo& ofn);
  int Run(QDialog& dialog);

  int32_t mError = 0;
};

}  // namespace platform::qt
