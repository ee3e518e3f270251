#pragma once
// A screen for tests, installed for its lifetime: 15 twips per pixel, a
// screen size and a work area the test sets, and a record of the window
// whose work area was asked for last.
#include <string>

#include "platform/Services.h"

namespace platform {

class FakeScreen final : public IScreen {
 public:
  FakeScreen(int32_t widthPx = 1280, int32_t heightPx = 800)
      : Size{0, 0, widthPx, heightPx}, Area(Size), mInstall(*this) {}

  double TwipsPerPixelX() const override { return 15; }
  double TwipsPerPixelY() const override { return 15; }
  double Width() const override { return (Size.Right - Size.Left) * 15.0; }
  double Height() const override { return (Size.Bottom - Size.Top) * 15.0; }
  int16_t MousePointer() const override { return Pointer; }
  void SetMousePointer(int16_t pointer) override { Pointer = pointer; }
  std::string DefaultGuiFontFace() const override { return "IPAPGothic"; }
  PixelRect WorkArea(const IForm* window) const override {
    AskedFor = window;
    return Area;
  }

  PixelRect Size;
  PixelRect Area;
  int16_t Pointer = 0;
  mutable const IForm* AskedFor = nullptr;

 private:
  ScopedService<IScreen> mInstall;
};

}  // namespace platform
