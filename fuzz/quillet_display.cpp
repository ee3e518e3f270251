// Quillet's whole display path on document bytes, on the real (offscreen)
// surfaces, driven as the help window drives it: display, start at an
// anchor, step through the anchors, scroll, hover and click the first link
// and follow it, then resize the frame (which redisplays).
#include <filesystem>
#include <memory>
#include <string>

#include "fuzz/support/FuzzSupport.h"
#include "htmlview/clsHTML.h"
#include "platform/Services.h"

namespace {

struct HelpHost {
  HelpHost() {
    form = platform::Controls().CreateForm(platform::FormStyle{"frmHTMLHelp", "", platform::vbSizable, false, false});
    form->Move(0, 0, 500 * 15, 400 * 15);
    back = platform::Controls().CreatePictureBox(*form, "Picture1");
    back->Move(0, 0, 400 * 15, 300 * 15);
    canvas = platform::Controls().CreatePictureBox(*back, "Picture3");
    work = platform::Controls().CreatePictureBox(*form, "Picture2");
    scroll = platform::Controls().CreateVScrollBar(*form, "VScroll1");
  }
  std::unique_ptr<platform::IForm> form;
  std::unique_ptr<platform::IPictureBox> back, canvas, work;
  std::unique_ptr<platform::IVScrollBar> scroll;
};

bool IsSpecialLink(const std::string& link) {
  std::string lower = link.substr(0, 7);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.rfind("http:", 0) == 0 || lower.rfind("ftp:", 0) == 0 || lower.rfind("mailto:", 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartPlatform();
  // Pictures the documents may name, beside them.
  std::filesystem::copy_file(KV_SAMPLE_HELP "/logo.png", fuzz::ScratchDir() + "/logo.png",
                             std::filesystem::copy_options::overwrite_existing);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratchFile("doc.htm", data, size);
  fuzz::QuietHost quiet;
  HelpHost host;
  clsHTML html;
  html.SetCanvas(host.canvas.get());
  html.SetWorkCanvas(host.work.get());
  html.SetVScroll(host.scroll.get());
  html.SetBackFrame(host.back.get());
  html.SetFontSize(static_cast<int16_t>(size % 3));
  html.SetEnableDispEnd(size % 2 == 0);
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
    for (int16_t key : {35, 38, 36, 40}) host.canvas->KeyDown(key, 0);
    if (!html.Links().empty()) {
      const LinkSpot spot = html.Links().front();
      const double x = (spot.Left + spot.Right) / 2.0, y = (spot.Top + spot.Bottom) / 2.0;
      host.canvas->MouseMove(0, 0, x, y);
      host.canvas->MouseDown(platform::vbRightButton, 0, x, y);
      host.canvas->MouseDown(platform::vbLeftButton, 0, x, y);
      // The help window follows the link.
      if (!clicked.empty() && !IsSpecialLink(clicked)) {
        if (clicked[0] == '#') html.SetCurName(clicked);
        else html.SetHtmlFile(clicked);
        html.DispHTML(false);
      }
    }
    html.SetHtmlFile(path);
    html.Move(0, 0, 170 * 15, 200 * 15);
  } catch (const platform::RuntimeError& error) {
    // Malformed attribute values stop the walk with these errors.
    fuzz::ExpectDefinedError(error, {platform::errInvalidCall, platform::errOverflow, platform::errSubscriptRange,
                                     platform::errDivisionByZero, platform::errTypeMismatch, platform::errFileNotFound,
                                     platform::errBadFileName, platform::errPathFileAccess, platform::errInvalidPicture});
  }
  return 0;
}
