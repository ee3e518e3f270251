#pragma once
// A font description: face, size in points (fractional), weight, style and
// character set. Surfaces and labels hand it out and take it back whole.
#include <cstdint>
#include <string>

namespace platform {

struct StdFont {
  std::string Name = "ＭＳ Ｐゴシック";
  double Size = 9.0;  // points
  int16_t Weight = 400;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Strikethrough = false;
  int16_t Charset = 128;  // SHIFTJIS_CHARSET, the design font's character set
  // Width in percent of the face's normal width (75 condensed, 125
  // expanded); 0 leaves it to the face.
  int16_t Stretch = 0;

  bool operator==(const StdFont&) const = default;
};

// The size a font really takes for a requested size: fonts are realised in
// whole screen pixels, so sizes snap to multiples of 72 / dpi points
// (0.75 point at 96 dots per inch).
double SnapFontSize(double points, double dotsPerInch = 96.0);

}  // namespace platform
