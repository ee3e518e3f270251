#pragma once
// A text label: caption, font, colour; with AutoSize it takes the size of
// its text.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Color.h"
#include "platform/Control.h"
#include "platform/StdFont.h"

namespace platform {

class ILabel : public IControl {
 public:
  ControlKind Kind() const override { return ControlKind::Label; }

  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual bool AutoSize() const = 0;
  virtual void SetAutoSize(bool autoSize) = 0;
  // 0 = transparent, 1 = opaque.
  virtual int16_t BackStyle() const = 0;
  virtual void SetBackStyle(int16_t style) = 0;
  virtual OleColor BackColor() const = 0;
  virtual void SetBackColor(OleColor color) = 0;
  virtual OleColor ForeColor() const = 0;
  virtual void SetForeColor(OleColor color) = 0;

  // True: an "&" in the caption underlines the next character ("&&" shows
  // one "&"), and Alt + that character moves the focus to the control that
  // follows the label in the tab order. False (the default here): the
  // caption shows as it is.
  virtual bool UseMnemonic() const { return false; }
  virtual void SetUseMnemonic(bool) {}
  // The label's own pointer: vbDefault, or vbCustom for a link (a hand).
  virtual int16_t MousePointer() const { return 0; }
  virtual void SetMousePointer(int16_t) {}

  virtual StdFont Font() const = 0;
  // Takes the font; the size snaps to what the platform can realise.
  virtual void SetFont(const StdFont& font) = 0;
  double FontSize() const { return Font().Size; }
  void SetFontSize(double points) {
    StdFont f = Font();
    f.Size = points;
    SetFont(f);
  }

  // Mouse events, positions in twips from the label's top left corner. A
  // label without mouse handlers leaves presses to its container. MouseUp
  // comes to the label that was pressed, also when the pointer has left it.
  std::function<void()> Click;
  std::function<void(int16_t button, int16_t shift, double x, double y)> MouseDown;
  std::function<void(int16_t button, int16_t shift, double x, double y)> MouseUp;
};

}  // namespace platform
