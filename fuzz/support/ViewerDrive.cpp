#include "fuzz/support/ViewerDrive.h"

#include <cctype>

#include "fuzz/support/FuzzSupport.h"

namespace fuzz {
namespace {

bool IsAddress(const std::string& link) {
  std::string lower = link.substr(0, 7);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.rfind("http:", 0) == 0 || lower.rfind("ftp:", 0) == 0 || lower.rfind("mailto:", 0) == 0;
}

}  // namespace

void DriveViewer(clsHTML& html, platform::IPictureBox& canvas, const std::string& path, size_t variant) {
  html.SetFontSize(static_cast<int16_t>(variant % 3));
  html.SetEnableDispEnd(variant % 2 == 0);
  std::string clicked;
  html.LinkClick = [&clicked](const std::string& href, int16_t&) { clicked = href; };
  try {
    html.SetHtmlFile(path);
    html.DispHTML(true);
    if (!html.Anchors().empty()) {
      html.SetCurName("#" + html.Anchors().back().Name);
      html.DispHTML(false);
      html.GoBack();
      html.GoNext();
    }
    for (int16_t key : {35, 38, 36, 40}) canvas.KeyDown(key, 1);
    if (!html.Links().empty()) {
      const LinkSpot spot = html.Links().front();
      const double x = (spot.Left + spot.Right) / 2.0, y = (spot.Top + spot.Bottom) / 2.0;
      canvas.MouseMove(0, 0, x, y);
      canvas.MouseDown(platform::vbRightButton, 0, x, y);
      canvas.MouseDown(platform::vbLeftButton, 0, x, y);
      // The help window follows the link; addresses go to the (quiet) browser.
      if (!clicked.empty()) {
        if (clicked[0] == '#') html.SetCurName(clicked);
        else html.SetHtmlFile(clicked);
        if (!IsAddress(clicked) || variant % 5 == 0) html.DispHTML(false);
      }
    }
    html.SetHtmlFile(path);
    html.Move(0, 0, 170 * 15, 200 * 15);
  } catch (const platform::RuntimeError& error) {
    ExpectDefinedError(error, {platform::errInvalidCall, platform::errOverflow, platform::errSubscriptRange,
                               platform::errDivisionByZero, platform::errTypeMismatch, platform::errBadFileName,
                               platform::errFileNotFound, platform::errPathFileAccess, platform::errInvalidPicture});
  }
  html.LinkClick = nullptr;
}

}  // namespace fuzz
