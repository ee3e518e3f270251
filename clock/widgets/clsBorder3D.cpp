#include "clock/widgets/clsBorder3D.h"

#include <stdexcept>

#include "common/basGeneral.h"
#include "platform/Checked.h"
#include "platform/RuntimeError.h"

using platform::IControl;
using platform::ISurface;
using platform::checked::Add32;
using platform::checked::CLng;
using platform::checked::Div;
using platform::checked::Sub32;

namespace {

// Forms and picture surfaces are the only controls one can draw on.
ISurface* SurfaceOf(IControl* ctl) {
  if (!ctl) return nullptr;
  const platform::ControlKind kind = ctl->Kind();
  if (kind != platform::ControlKind::Form && kind != platform::ControlKind::PictureBox) return nullptr;
  return dynamic_cast<ISurface*>(ctl);
}

// Switches a surface to twips and restores its scale mode when it leaves,
// also when an error leaves with it.
class TwipsScope {
 public:
  explicit TwipsScope(ISurface& surface) : mSurface(surface), mintOld(surface.ScaleMode()) {
    if (mintOld != platform::vbTwips) surface.SetScaleMode(platform::vbTwips);
  }
  ~TwipsScope() {
    try {
      if (mSurface.ScaleMode() != mintOld) mSurface.SetScaleMode(mintOld);
    } catch (...) {
      // The remembered mode was valid when read; nothing sensible is left to do.
    }
  }
  TwipsScope(const TwipsScope&) = delete;
  TwipsScope& operator=(const TwipsScope&) = delete;

 private:
  ISurface& mSurface;
  int16_t mintOld;
};

enum BevelKind : int32_t { bvNone = 0, bvInset = 1, bvRaised = 2 };

}  // namespace

clsBorder3D::clsBorder3D() : mintPX(basGeneral::TwipsPerPixelX()), mintPY(basGeneral::TwipsPerPixelY()) {}

void clsBorder3D::SetClient(IControl* ctlClient) { mctlClient = ctlClient; }

void clsBorder3D::SetCanvas(IControl* ctlCanvas) {
  if (ctlCanvas && !SurfaceOf(ctlCanvas))
    throw std::logic_error("clsBorder3D::Canvas: a form or a picture surface is required");
  mctlCanvas = ctlCanvas;
}

void clsBorder3D::SetBevelInner(int32_t vlngBevelInner) {
  if (vlngBevelInner >= bvNone && vlngBevelInner <= bvRaised) mlngBevelInner = vlngBevelInner;
}
void clsBorder3D::SetBevelOuter(int32_t vlngBevelOuter) {
  if (vlngBevelOuter >= bvNone && vlngBevelOuter <= bvRaised) mlngBevelOuter = vlngBevelOuter;
}
void clsBorder3D::SetBevelWidth(int32_t vlngBevelWidth) {
  if (vlngBevelWidth >= 0) mlngBevelWidth = vlngBevelWidth;
}
void clsBorder3D::SetBorderWidth(int32_t vlngBorderWidth) {
  if (vlngBorderWidth >= 0) mlngBorderWidth = vlngBorderWidth;
}
void clsBorder3D::SetLeft(int32_t vlngLeft) {
  if (vlngLeft >= 0) mlngLeft = vlngLeft;
}
void clsBorder3D::SetTop(int32_t vlngTop) {
  if (vlngTop >= 0) mlngTop = vlngTop;
}
void clsBorder3D::SetWidth(int16_t vintWidth) {
  if (vintWidth >= 0) mintWidth = vintWidth;
}
void clsBorder3D::SetHeight(int32_t vlngHeight) {
  if (vlngHeight >= 0) mlngHeight = vlngHeight;
}

ISurface& clsBorder3D::Surface() const {
  ISurface* surface = SurfaceOf(mctlCanvas);
  if (!surface) platform::RaiseError(platform::errObjectNotSet);
  return *surface;
}

IControl& clsBorder3D::ClientRef() const {
  if (!mctlClient) platform::RaiseError(platform::errObjectNotSet);
  return *mctlClient;
}

int32_t clsBorder3D::PixelsX(int32_t lngCount) const {
  return platform::checked::ToInt16(int64_t{lngCount} * mintPX);
}
int32_t clsBorder3D::PixelsY(int32_t lngCount) const {
  return platform::checked::ToInt16(int64_t{lngCount} * mintPY);
}

void clsBorder3D::Draw() {
  if (!mctlCanvas && !mctlClient) return;
  switch (mlngStyle3D) {
    case 0:
      if (!mblnActOnNone) return;
      break;
    case 1:
    case 2:
    case 3:
    case 9: {
      // These frames lie outside the client: they go onto its container.
      IControl* container = ClientRef().Container();
      if (!SurfaceOf(container)) return;
      mctlCanvas = container;
      break;
    }
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 10:
    case 11:
    case 12:
    case 13:
      break;
    default:
      return;
  }

  const TwipsScope twips(Surface());
  switch (mlngStyle3D) {
    case 0: EraseClientFrame(); break;
    case 1: DrawThinInsetFrame(); break;
    case 2: DrawThinRaisedFrame(); break;
    case 3:
    case 6: DrawEtchedFrame(); break;
    case 4:
    case 7: DrawOuterBevelFrame(); break;
    case 5:
    case 8: DrawInnerBevelFrame(); break;
    case 9: DrawFieldFrame(); break;
    default: DrawSystemEdge(); break;
  }
}

// ---- one-pixel frames around the client (styles 0, 1, 2)

clsBorder3D::FrameRect clsBorder3D::FramedRectangle(bool blnOwnRectangle) const {
  if (blnOwnRectangle) return {mlngLeft, mlngTop, mintWidth, mlngHeight};
  const IControl& client = ClientRef();
  return {CLng(client.Left()), CLng(client.Top()), CLng(client.Width()), CLng(client.Height())};
}

void clsBorder3D::SetClientOnePixelFrame() {
  const FrameRect r = FramedRectangle(false);
  mlngX1 = Sub32(r.Left, mintPX);
  mlngY1 = Sub32(r.Top, mintPY);
  mlngX2 = Add32(r.Left, r.Width);
  mlngY2 = Add32(r.Top, r.Height);
}

void clsBorder3D::EraseClientFrame() {
  SetClientOnePixelFrame();
  Surface().Box(mlngX1, mlngY1, mlngX2, mlngY2, mlngBackground);
}

void clsBorder3D::DrawThinInsetFrame() {
  SetClientOnePixelFrame();
  ISurface& canvas = Surface();
  canvas.Box(mlngX1, mlngY1, mlngX2, mlngY2, mlngShadow);
  canvas.Line(mlngX2, mlngY1, mlngX2, Add32(mlngY2, mintPY), mlngHighlight);
  canvas.Line(mlngX1, mlngY2, Add32(mlngX2, mintPX), mlngY2, mlngHighlight);
}

void clsBorder3D::DrawThinRaisedFrame() {
  SetClientOnePixelFrame();
  ISurface& canvas = Surface();
  canvas.Box(mlngX1, mlngY1, mlngX2, mlngY2, mlngShadow);
  canvas.Line(mlngX1, mlngY1, Add32(mlngX2, mintPX), mlngY1, mlngHighlight);
  canvas.Line(mlngX1, mlngY1, mlngX1, Add32(mlngY2, mintPY), mlngHighlight);
}

// ---- two-pixel frames (styles 3, 6, 9)

void clsBorder3D::SetTwoPixelFrame() {
  const FrameRect r = FramedRectangle(mlngStyle3D == 6);
  mlngX1 = Sub32(r.Left, PixelsX(2));
  mlngY1 = Sub32(r.Top, PixelsY(2));
  mlngX2 = Add32(r.Left, r.Width);
  mlngY2 = Add32(r.Top, r.Height);
}

void clsBorder3D::DrawEtchedFrame() {
  SetTwoPixelFrame();
  ISurface& canvas = Surface();
  canvas.Box(mlngX1, mlngY1, mlngX2, mlngY2, mlngShadow);
  canvas.Box(Add32(mlngX1, mintPX), Add32(mlngY1, mintPY), Add32(mlngX2, mintPX), Add32(mlngY2, mintPY),
             mlngHighlight);
}

void clsBorder3D::DrawFieldFrame() {
  SetTwoPixelFrame();
  ISurface& canvas = Surface();
  const int32_t lngInX1 = Add32(mlngX1, mintPX);
  const int32_t lngInY1 = Add32(mlngY1, mintPY);
  canvas.Line(mlngX1, mlngY1, mlngX2, mlngY1, mlngShadow);
  canvas.Line(mlngX1, mlngY1, mlngX1, mlngY2, mlngShadow);
  canvas.Line(lngInX1, lngInY1, Sub32(mlngX2, mintPX), lngInY1, platform::RGB(0, 0, 0));
  canvas.Line(lngInX1, lngInY1, lngInX1, Sub32(mlngY2, mintPY), platform::RGB(0, 0, 0));
  canvas.Line(mlngX1, mlngY2, mlngX2, mlngY2, mlngHighlight);
  canvas.Line(mlngX2, mlngY1, mlngX2, Add32(mlngY2, mintPY), mlngHighlight);
}

// ---- bevel frames (styles 4, 5, 7, 8)

void clsBorder3D::DrawOuterBevelFrame() {
  // The thickness of both bevels and the band between them, in pixels.
  int32_t lngThick = mlngBevelWidth;
  if (mlngBevelInner != bvNone && mlngBevelOuter != bvNone)
    lngThick = Add32(platform::checked::Mul32(2, mlngBevelWidth), mlngBorderWidth);

  const FrameRect r = FramedRectangle(mlngStyle3D == 7);
  const int32_t lngThickX = PixelsX(lngThick);
  const int32_t lngThickY = PixelsY(lngThick);
  mlngX1 = Sub32(r.Left, lngThickX);
  mlngY1 = Sub32(r.Top, lngThickY);
  mlngX2 = Sub32(Add32(Add32(r.Left, r.Width), lngThickX), mintPX);
  mlngY2 = Sub32(Add32(Add32(r.Top, r.Height), lngThickY), mintPY);
  DrawBevels();
}

void clsBorder3D::DrawInnerBevelFrame() {
  if (mlngStyle3D == 8) {
    mlngX1 = mlngLeft;
    mlngY1 = mlngTop;
    mlngX2 = Sub32(Add32(mlngLeft, mintWidth), mintPX);
    mlngY2 = Sub32(Add32(mlngTop, mlngHeight), mintPY);
  } else {
    IControl& client = ClientRef();
    ISurface* clientSurface = SurfaceOf(&client);
    // Only forms and picture surfaces have an inner drawing area.
    if (!clientSurface) platform::RaiseError(platform::errInvalidCall);
    // The inner size in twips; the canvas (normally the client) is in twips already.
    const TwipsScope twips(*clientSurface);
    mlngX1 = 0;
    mlngY1 = 0;
    mlngX2 = Sub32(CLng(clientSurface->ScaleWidth()), mintPX);
    mlngY2 = Sub32(CLng(clientSurface->ScaleHeight()), mintPY);
  }
  DrawBevels();
}

void clsBorder3D::DrawBevel(int32_t lngKind) {
  if (lngKind == bvInset) DrawInsetBevel();
  else if (lngKind == bvRaised) DrawRaisedBevel();
}

void clsBorder3D::DrawBevels() {
  if (mlngBevelOuter == bvNone) {
    DrawBevel(mlngBevelInner);
    return;
  }
  DrawBevel(mlngBevelOuter);
  // Past the outer bevel and the untouched band of BorderWidth pixels.
  const int32_t lngStep = Add32(mlngBevelWidth, mlngBorderWidth);
  const int32_t lngStepX = PixelsX(lngStep);
  const int32_t lngStepY = PixelsY(lngStep);
  mlngX1 = Add32(mlngX1, lngStepX);
  mlngY1 = Add32(mlngY1, lngStepY);
  mlngX2 = Sub32(mlngX2, lngStepX);
  mlngY2 = Sub32(mlngY2, lngStepY);
  DrawBevel(mlngBevelInner);
}

void clsBorder3D::DrawRaisedBevel() {
  ISurface& canvas = Surface();
  for (int32_t i = 0; i < mlngBevelWidth; ++i) {
    const int32_t a = Add32(mlngX1, PixelsX(i));
    const int32_t c = Add32(mlngY1, PixelsY(i));
    const int32_t r = Sub32(mlngX2, PixelsX(i));
    const int32_t d = Sub32(mlngY2, PixelsY(i));
    canvas.Line(a, c, r, c, mlngHighlight);
    canvas.Line(a, c, a, d, mlngHighlight);
    canvas.Line(a, d, r, d, mlngShadow);
    canvas.Line(r, c, r, Add32(d, mintPY), mlngShadow);
  }
}

void clsBorder3D::DrawInsetBevel() {
  ISurface& canvas = Surface();
  for (int32_t i = 0; i < mlngBevelWidth; ++i) {
    const int32_t a = Add32(mlngX1, PixelsX(i));
    const int32_t c = Add32(mlngY1, PixelsY(i));
    const int32_t r = Sub32(mlngX2, PixelsX(i));
    const int32_t d = Sub32(mlngY2, PixelsY(i));
    canvas.Line(a, d, r, d, mlngHighlight);
    canvas.Line(r, c, r, Add32(d, mintPY), mlngHighlight);
    canvas.Line(a, c, r, c, mlngShadow);
    canvas.Line(a, c, a, d, mlngShadow);
  }
}

// ---- system edges (styles 10 to 13)

void clsBorder3D::DrawSystemEdge() {
  using namespace platform;
  ISurface& canvas = Surface();
  PixelRect rect;
  if (mlngStyle3D == 10 || mlngStyle3D == 11) {
    rect.Left = 0;
    rect.Top = 0;
    rect.Right = CLng(Div(mctlCanvas->Width(), mintPX));
    rect.Bottom = CLng(Div(mctlCanvas->Height(), mintPY));
  } else {
    rect.Left = CLng(Div(mlngLeft, mintPX));
    rect.Top = CLng(Div(mlngTop, mintPY));
    rect.Right = CLng(Div(Add32(mlngLeft, mintWidth), mintPX));
    rect.Bottom = CLng(Div(Add32(mlngTop, mlngHeight), mintPY));
  }

  const bool blnRaised = mlngStyle3D == 10 || mlngStyle3D == 12;
  if (blnRaised) {
    if (mlngDrawEdgeStyle != 0) {
      canvas.DrawEdge(rect, BDR_RAISEDINNER, BF_RECT);
    } else {
      canvas.DrawEdge(rect, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
      rect.Right = Sub32(rect.Right, 1);
      rect.Bottom = Sub32(rect.Bottom, 1);
      canvas.DrawEdge(rect, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
      canvas.DrawEdge(rect, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
    }
  } else {
    if (mlngDrawEdgeStyle != 0) {
      canvas.DrawEdge(rect, BDR_SUNKENOUTER | BDR_RAISEDINNER | BDR_SUNKENINNER, BF_RECT);
    } else {
      canvas.DrawEdge(rect, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
      canvas.DrawEdge(rect, BDR_SUNKENOUTER, BF_RIGHT | BF_BOTTOM);
      rect.Left = Add32(rect.Left, 1);
      rect.Top = Add32(rect.Top, 1);
      rect.Right = Sub32(rect.Right, 2);
      rect.Bottom = Sub32(rect.Bottom, 2);
      canvas.DrawEdge(rect, BDR_SUNKENOUTER, BF_LEFT | BF_TOP);
    }
  }
}
