#pragma once
// Common dialogs for tests: record what each dialog was given and answer
// from a script (cancel once the script is used up). Installed for its
// lifetime.
#include <deque>
#include <string>
#include <vector>

#include "platform/CommonDialogs.h"

namespace platform {

class ScriptedCommonDialogs final : public ICommonDialogs {
 public:
  struct FileAnswer {
    bool Chosen = true;
    std::string Path;  // written to the file buffer as the platform would
    std::string Title;
    int32_t Error = 0;  // the extended error when not chosen
  };
  struct FontAnswer {
    bool Chosen = true;
    LogFont Font;
    OleColor Color = 0;
    int32_t Error = 0;
  };
  struct FileCall {
    int Kind;  // 1 open, 2 save
    OpenFileNameInfo Info;
  };
  struct FontCall {
    ChooseFontInfo Info;
    LogFont FontIn;
  };

  ScriptedCommonDialogs() : mInstall(*this) {}

  bool GetOpenFileName(OpenFileNameInfo& ofn) override { return File(1, ofn); }
  bool GetSaveFileName(OpenFileNameInfo& ofn) override { return File(2, ofn); }

  bool ChooseFont(ChooseFontInfo& cf) override {
    FontCalls.push_back({cf, cf.lpLogFont ? *cf.lpLogFont : LogFont{}});
    if (FontAnswers.empty()) return Cancel();
    const FontAnswer answer = FontAnswers.front();
    FontAnswers.pop_front();
    if (!answer.Chosen) {
      mError = answer.Error;
      return false;
    }
    *cf.lpLogFont = answer.Font;
    cf.rgbColors = answer.Color;
    mError = 0;
    return true;
  }

  int32_t CommDlgExtendedError() const override { return mError; }
  int32_t LogPixelsY() const override { return Dpi; }

  std::deque<FileAnswer> FileAnswers;
  std::deque<FontAnswer> FontAnswers;
  std::vector<FileCall> FileCalls;
  std::vector<FontCall> FontCalls;
  int32_t Dpi = 96;

 private:
  bool Cancel() {
    mError = 0;
    return false;
  }
  bool File(int kind, OpenFileNameInfo& ofn) {
    FileCalls.push_back({kind, ofn});
    if (FileAnswers.empty()) return Cancel();
    const FileAnswer answer = FileAnswers.front();
    FileAnswers.pop_front();
    if (!answer.Chosen) {
      mError = answer.Error;
      return false;
    }
    ofn.lpstrFile.assign(static_cast<size_t>(ofn.nMaxFile), '\0');
    ofn.lpstrFile.replace(0, answer.Path.size(), answer.Path);
    ofn.lpstrFileTitle.assign(static_cast<size_t>(ofn.nMaxFileTitle), '\0');
    ofn.lpstrFileTitle.replace(0, answer.Title.size(), answer.Title);
    mError = 0;
    return true;
  }

  int32_t mError = 0;
  ScopedService<ICommonDialogs> mInstall;
};

}  // namespace platform
