#pragma once
// Test doubles for the viewer's host controls: a picture surface with fixed
// character metrics (every character Size × 10 twips wide, a line Size × 20
// twips high) that records what is drawn, and a scroll bar.
#include <map>
#include <string>
#include <vector>

#include "platform/PictureBox.h"
#include "platform/RuntimeError.h"
#include "platform/VScrollBar.h"

namespace fakes {

inline size_t CharCount(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

struct Printed {
  std::string Text;
  double X, Y;
  platform::OleColor Color;
  platform::StdFont Font;
};
struct Drawn {
  std::string Kind;  // "line", "box"
  double X1, Y1, X2, Y2;
  platform::OleColor Color;
};
struct Copy {
  int32_t SrcW, SrcH, DstX, DstY, DstW, DstH;
};

class FakePictureBox : public platform::IPictureBox {
 public:
  explicit FakePictureBox(std::string name = "Picture1") : mName(std::move(name)) { mFont.Size = 14; }

  std::string Name() const override { return mName; }
  platform::IControl* Container() const override { return nullptr; }
  double Left() const override { return mLeft; }
  double Top() const override { return mTop; }
  double Width() const override { return mWidth; }
  double Height() const override { return mHeight; }
  void Move(double left, double top, double width, double height) override {
    const bool resized = width != mWidth || height != mHeight;
    mLeft = left, mTop = top, mWidth = width, mHeight = height;
    if (resized && Resize) Resize();
  }
  bool Visible() const override { return mVisible; }
  void SetVisible(bool visible) override { mVisible = visible; }

  int16_t ScaleMode() const override { return platform::vbTwips; }
  void SetScaleMode(int16_t) override {}
  double ScaleWidth() const override { return mWidth; }
  double ScaleHeight() const override { return mHeight; }
  double CurrentX() const override { return mX; }
  double CurrentY() const override { return mY; }
  void SetCurrentX(double x) override { mX = x; }
  void SetCurrentY(double y) override { mY = y; }
  void Print(const std::string& text) override {
    size_t start = 0;
    while (true) {
      const size_t nl = text.find("\r\n", start);
      const std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
      if (!line.empty() && Records) Prints.push_back({line, mX, mY, mFore, mFont});
      if (nl == std::string::npos) {
        mX += CharWidth() * static_cast<double>(CharCount(line));
        break;
      }
      mX = 0;
      mY += LineHeight();
      start = nl + 2;
    }
  }
  void PrintLine(const std::string& text) override {
    Print(text);
    mX = 0;
    mY += LineHeight();
  }
  double TextWidth(const std::string& text) const override {
    MeasuredChars += CharCount(text);
    return CharWidth() * static_cast<double>(CharCount(text));
  }
  double TextHeight(const std::string& text) const override {
    MeasuredChars += CharCount(text);
    size_t lines = 1;
    for (size_t p = text.find('\n'); p != std::string::npos; p = text.find('\n', p + 1)) ++lines;
    return LineHeight() * static_cast<double>(lines);
  }
  void Line(double x1, double y1, double x2, double y2, platform::OleColor color) override {
    Drawings.push_back({"line", x1, y1, x2, y2, color});
    mX = x2, mY = y2;
  }
  void Box(double x1, double y1, double x2, double y2, platform::OleColor color) override {
    Drawings.push_back({"box", x1, y1, x2, y2, color});
    mX = x2, mY = y2;
  }
  void FillBox(double, double, double x2, double y2, platform::OleColor) override { mX = x2, mY = y2; }
  void Cls() override {
    Prints.clear();
    Drawings.clear();
    Copies.clear();
    mX = mY = 0;
  }
  platform::OleColor BackColor() const override { return mBack; }
  void SetBackColor(platform::OleColor color) override {
    mBack = color;
    Cls();
  }
  platform::OleColor ForeColor() const override { return mFore; }
  void SetForeColor(platform::OleColor color) override { mFore = color; }
  int16_t DrawWidth() const override { return 1; }
  void SetDrawWidth(int16_t) override {}
  platform::StdFont Font() const override { return mFont; }
  void SetFont(const platform::StdFont& font) override { mFont = font; }
  void SetPixel(int32_t, int32_t, platform::OleColor) override {}
  platform::OleColor GetPixel(int32_t, int32_t) const override { return mBack; }
  void DrawEdge(const platform::PixelRect&, uint32_t, uint32_t) override {}
  void Refresh() override {}

  bool AutoSize() const override { return mAutoSize; }
  void SetAutoSize(bool value) override { mAutoSize = value; }
  void LoadPicture(const std::string& path) override {
    auto it = Pictures.find(path);
    if (it == Pictures.end()) platform::RaiseError(platform::errFileNotFound);
    Cls();
    if (mAutoSize) Move(mLeft, mTop, it->second.first * 15.0, it->second.second * 15.0);
  }
  void ClearPicture() override { Cls(); }
  void PaintPicture(const platform::IPictureBox&, int32_t, int32_t, int32_t srcW, int32_t srcH, int32_t dstX,
                    int32_t dstY, int32_t dstW, int32_t dstH) override {
    Copies.push_back({srcW, srcH, dstX, dstY, dstW, dstH});
  }
  int16_t MousePointer() const override { return mPointer; }
  void SetMousePointer(int16_t pointer) override { mPointer = pointer; }
  std::string ToolTipText() const override { return mToolTip; }
  void SetToolTipText(const std::string& text) override { mToolTip = text; }

  // Everything printed, joined.
  std::string AllText() const {
    std::string s;
    for (const auto& p : Prints) s += p.Text;
    return s;
  }
  // The first print of a text, or nullptr.
  const Printed* Find(const std::string& text) const {
    for (const auto& p : Prints)
      if (p.Text == text) return &p;
    return nullptr;
  }

  // Off, prints only move the current position (the fuzz target's drive,
  // which never reads them back).
  bool Records = true;
  std::vector<Printed> Prints;
  std::vector<Drawn> Drawings;
  std::vector<Copy> Copies;
  std::map<std::string, std::pair<int, int>> Pictures;  // path → pixel size
  // Characters measured so far: the work the drawing puts into measuring.
  mutable size_t MeasuredChars = 0;

 private:
  double CharWidth() const { return mFont.Size * 10; }
  double LineHeight() const { return mFont.Size * 20; }

  std::string mName;
  double mLeft = 0, mTop = 0, mWidth = 0, mHeight = 0;
  bool mVisible = true;
  double mX = 0, mY = 0;
  platform::OleColor mBack = 0xFFFFFF, mFore = 0;
  platform::StdFont mFont;
  bool mAutoSize = false;
  int16_t mPointer = 0;
  std::string mToolTip;
};

class FakeScrollBar : public platform::IVScrollBar {
 public:
  std::string Name() const override { return "VScroll1"; }
  platform::IControl* Container() const override { return nullptr; }
  double Left() const override { return mLeft; }
  double Top() const override { return mTop; }
  double Width() const override { return mWidth; }
  double Height() const override { return mHeight; }
  void Move(double left, double top, double width, double height) override {
    mLeft = left, mTop = top, mWidth = width, mHeight = height;
  }
  bool Visible() const override { return true; }
  void SetVisible(bool) override {}
  int16_t Min() const override { return mMin; }
  int16_t Max() const override { return mMax; }
  int16_t Value() const override { return mValue; }
  void SetMin(int16_t v) override { mMin = v; }
  void SetMax(int16_t v) override {
    mMax = v;
    if (mValue > v) SetValue(v);
  }
  void SetValue(int16_t v) override {
    if (v < mMin) v = mMin;
    if (v > mMax) v = mMax;
    if (v == mValue) return;
    mValue = v;
    if (Change) Change();
  }
  int16_t SmallChange() const override { return mSmall; }
  int16_t LargeChange() const override { return mLarge; }
  void SetSmallChange(int16_t v) override { mSmall = v; }
  void SetLargeChange(int16_t v) override { mLarge = v; }
  bool Enabled() const override { return mEnabled; }
  void SetEnabled(bool e) override { mEnabled = e; }

 private:
  double mLeft = 0, mTop = 0, mWidth = 255, mHeight = 0;
  int16_t mMin = 0, mMax = 32767, mValue = 0, mSmall = 1, mLarge = 1;
  bool mEnabled = true;
};

}  // namespace fakes
