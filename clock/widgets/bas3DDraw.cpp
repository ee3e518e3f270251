#include "clock/widgets/bas3DDraw.h"

#include "common/basGeneral.h"
#include "platform/Checked.h"
#include "platform/Surface.h"

namespace bas3DDraw {
namespace {

using platform::checked::Mul16;

bool EtchInFrame(platform::ILine& line, int16_t intPX, int16_t intPY) {
  platform::ILine* lineNew = nullptr;
  try {
    lineNew = line.LoadNextElement();
  } catch (...) {
    lineNew = nullptr;
  }
  if (!lineNew) return false;
  line.SetBorderColor(platform::SystemColor(platform::COLOR_BTNSHADOW));
  lineNew->SetBorderColor(platform::RGB(0xFF, 0xFF, 0xFF));
  // The new element is created in the line's own frame.
  lineNew->SetEnds(line.X1(), line.Y1() + intPY, line.X2() + intPX, line.Y2() + intPY);
  lineNew->SetVisible(true);
  return true;
}

bool EtchOnSurface(platform::ILine& line, platform::ISurface& surface, int16_t intPX, int16_t intPY) {
  // The line's ends are twips; a container drawn in pixels gets them in pixels.
  const bool blnTwips = surface.ScaleMode() == platform::vbTwips;
  const int16_t u = blnTwips ? intPX : int16_t{1};
  const int16_t v = blnTwips ? intPY : int16_t{1};
  const double x1 = blnTwips ? line.X1() : line.X1() / intPX;
  const double x2 = blnTwips ? line.X2() : line.X2() / intPX;
  const double y1 = blnTwips ? line.Y1() : line.Y1() / intPY;
  const double y = y1 + Mul16(line.BorderWidth(), v);
  surface.SetDrawWidth(1);
  surface.SetForeColor(platform::RGB(0xFF, 0xFF, 0xFF));
  surface.Line(x1, y, x1 + (x2 - x1 + u), y, surface.ForeColor());
  line.SetBorderColor(platform::SystemColor(platform::COLOR_BTNSHADOW));
  return true;
}

}  // namespace

bool DrawEtchedLine(platform::ILine& line) {
  try {
    if (!line.Visible()) return false;
    platform::IControl* container = line.Container();
    if (!container) return false;
    const int16_t intPX = basGeneral::TwipsPerPixelX();
    const int16_t intPY = basGeneral::TwipsPerPixelY();
    switch (container->Kind()) {
      case platform::ControlKind::Frame:
        return EtchInFrame(line, intPX, intPY);
      case platform::ControlKind::Form:
      case platform::ControlKind::PictureBox: {
        auto* surface = dynamic_cast<platform::ISurface*>(container);
        return surface ? EtchOnSurface(line, *surface, intPX, intPY) : false;
      }
      default:
        return false;
    }
  } catch (...) {
    return false;
  }
}

}  // namespace bas3DDraw
