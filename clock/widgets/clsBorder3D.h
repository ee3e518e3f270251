#pragma once
// Draws a three-dimensional frame (bevels, etched and thin frames, system
// edges) around or inside a client, on a form or picture surface. It keeps
// no image: the owner calls Draw from its paint handler after clearing.
//
// Client: any control or form (nullptr: none). Canvas: a form or a picture
// surface (nullptr: none); handing any other kind of control to Canvas is a
// programming error and throws std::logic_error.
//
// Draw raises run-time errors to its caller: 6 when coordinate arithmetic
// overflows (32-bit sums, 16-bit products with the pixel pitch), 91 when the
// style needs a canvas or client that is not set, 5 when style 5 is asked
// of a client without a drawing area. Whatever happens, the canvas's scale
// mode is what it was before Draw.
#include <cstdint>

#include "platform/Color.h"
#include "platform/Control.h"
#include "platform/Surface.h"

class clsBorder3D {
 public:
  clsBorder3D();

  platform::IControl* Client() const { return mctlClient; }
  void SetClient(platform::IControl* ctlClient);
  platform::IControl* Canvas() const { return mctlCanvas; }
  void SetCanvas(platform::IControl* ctlCanvas);

  int32_t Style3D() const { return mlngStyle3D; }
  void SetStyle3D(int32_t vlngStyle3D) { mlngStyle3D = vlngStyle3D; }
  // 0 none, 1 inset, 2 raised.
  int32_t BevelInner() const { return mlngBevelInner; }
  void SetBevelInner(int32_t vlngBevelInner);
  int32_t BevelOuter() const { return mlngBevelOuter; }
  void SetBevelOuter(int32_t vlngBevelOuter);
  // Pixels, ≥ 0.
  int32_t BevelWidth() const { return mlngBevelWidth; }
  void SetBevelWidth(int32_t vlngBevelWidth);
  int32_t BorderWidth() const { return mlngBorderWidth; }
  void SetBorderWidth(int32_t vlngBorderWidth);
  // The rectangle of styles 6, 7, 8, 12 and 13, twips of the canvas, ≥ 0.
  int32_t Left() const { return mlngLeft; }
  void SetLeft(int32_t vlngLeft);
  int32_t Top() const { return mlngTop; }
  void SetTop(int32_t vlngTop);
  int16_t Width() const { return mintWidth; }
  void SetWidth(int16_t vintWidth);
  int32_t Height() const { return mlngHeight; }
  void SetHeight(int32_t vlngHeight);

  platform::OleColor Highlight() const { return mlngHighlight; }
  void SetHighlight(platform::OleColor vlngHighlight) { mlngHighlight = vlngHighlight; }
  platform::OleColor Shadow() const { return mlngShadow; }
  void SetShadow(platform::OleColor vlngShadow) { mlngShadow = vlngShadow; }
  platform::OleColor Background() const { return mlngBackground; }
  void SetBackground(platform::OleColor vlngBackground) { mlngBackground = vlngBackground; }
  // Style 0 erases the one-pixel frame around the client when true.
  bool ActOnNone() const { return mblnActOnNone; }
  void SetActOnNone(bool vblnActOnNone) { mblnActOnNone = vblnActOnNone; }
  // Styles 10 to 13: non-zero draws the edge in one call on all four sides.
  void SetDrawEdgeStyle(int32_t vlngDrawEdgeStyle) { mlngDrawEdgeStyle = vlngDrawEdgeStyle; }

  void Draw();

 private:
  void EraseClientFrame();
  void DrawThinInsetFrame();
  void DrawThinRaisedFrame();
  void DrawFieldFrame();
  void DrawEtchedFrame();
  void DrawOuterBevelFrame();
  void DrawInnerBevelFrame();
  void DrawBevels();
  void DrawInsetBevel();
  void DrawRaisedBevel();
  void DrawSystemEdge();

  void DrawBevel(int32_t lngKind);
  // The rectangle a style frames, twips: the object's own Left, Top, Width
  // and Height, or the client's.
  struct FrameRect {
    int32_t Left, Top, Width, Height;
  };
  FrameRect FramedRectangle(bool blnOwnRectangle) const;
  void SetClientOnePixelFrame();
  void SetTwoPixelFrame();
  platform::ISurface& Surface() const;
  platform::IControl& ClientRef() const;
  // n pixels in twips (16-bit products).
  int32_t PixelsX(int32_t lngCount) const;
  int32_t PixelsY(int32_t lngCount) const;

  platform::IControl* mctlClient = nullptr;
  platform::IControl* mctlCanvas = nullptr;
  int32_t mlngStyle3D = 0;
  int32_t mlngBevelInner = 0;
  int32_t mlngBevelOuter = 2;
  int32_t mlngBevelWidth = 1;
  int32_t mlngBorderWidth = 1;
  int32_t mlngLeft = 0;
  int32_t mlngTop = 0;
  int16_t mintWidth = 0;
  int32_t mlngHeight = 0;
  platform::OleColor mlngHighlight = platform::SystemColor(platform::COLOR_3DHILIGHT);
  platform::OleColor mlngShadow = platform::SystemColor(platform::COLOR_BTNSHADOW);
  platform::OleColor mlngBackground = platform::SystemColor(platform::COLOR_BTNFACE);
  bool mblnActOnNone = false;
  int32_t mlngDrawEdgeStyle = 0;

  // The screen's twips per pixel, read at creation.
  int16_t mintPX;
  int16_t mintPY;
  // The working rectangle, twips of the canvas.
  int32_t mlngX1 = 0;
  int32_t mlngY1 = 0;
  int32_t mlngX2 = 0;
  int32_t mlngY2 = 0;
};
