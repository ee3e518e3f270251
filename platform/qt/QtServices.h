#pragma once
// The Qt implementations of the screen, message box and clipboard services.
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"

namespace platform::qt {

class QtScreen final : public IScreen {
 public:
  double TwipsPerPixelX() const override;
  double TwipsPerPixelY() const override;
  double Width() const override;
  double Height() const override;
  int16_t MousePointer() const override { return mPointer; }
  void SetMousePointer(int16_t pointer) override;
  std::string DefaultGuiFontFace() const override;
  PixelRect WorkArea(const IForm* window) const override;

 private:
  int16_t mPointer = 0;
};

class QtMessageBox final : public IMessageBox {
 public:
  int32_t Show(const std::string& prompt, int32_t style, const std::string& title) override;
  // The program is being ended from outside: the boxes on screen close and
  // later ones show nothing, each answering as its cautious button would
  // (いいえ, キャンセル, OK), so no question is left waiting for a user who
  // has gone and none is taken as a yes.
  static void EndAll();
};

class QtClipboard final : public IClipboard {
 public:
  void Clear() override;
  void SetText(const std::string& text) override;
  std::string GetText() const override;
};

}  // namespace platform::qt
