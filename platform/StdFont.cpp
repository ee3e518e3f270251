#include "platform/StdFont.h"

#include <cmath>

namespace platform {

double SnapFontSize(double points, double dotsPerInch) {
  if (points <= 0.0) return 0.0;
  double pixels = std::round(points * dotsPerInch / 72.0);
  if (pixels < 1.0) pixels = 1.0;
  return pixels * 72.0 / dotsPerInch;
}

}  // namespace platform
