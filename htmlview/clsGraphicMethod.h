#pragma once
// A small text helper: draws and measures text on a picture surface with a
// drawing position of its own, kept in pixels and shown in twips.
#include <cstdint>
#include <string>

#include "platform/PictureBox.h"

class clsGraphicMethod {
 public:
  void SetCanvas(platform::IPictureBox* vNewValue) { mctlSurface = vNewValue; }
  bool Syncro() { return false; }
  int32_t TextWidth(const std::string& lpszString) const;
  int32_t TextHeight(const std::string& lpszString) const;
  bool PrintWithCrLf(const std::string& lpszString);
  bool PrintNoCrLf(const std::string& lpszString);
  void Refresh();
  bool AutoRedraw() const;
  void SetAutoRedraw(bool vNewValue);
  int32_t CurrentX() const;
  void SetCurrentX(int32_t vNewValue);
  int32_t CurrentY() const;
  void SetCurrentY(int32_t vNewValue);

 private:
  // Size of the text in pixels.
  int32_t WidthPx(const std::string& text) const;
  int32_t HeightPx(const std::string& text) const;
  void DrawAt(const std::string& text);

  platform::IPictureBox* mctlSurface = nullptr;
  int32_t mlngX = 0;
  int32_t mlngY = 0;
};
