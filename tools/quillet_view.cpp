// Shows an HTML file with the viewer component, in a window built like the
// help window (back frame, canvas inside it, hidden work surface, scroll bar
// beside it), following links and anchors; or renders it headless to a PNG.
//
//   quillet_view FILE.htm[#anchor]
//   quillet_view --png OUT.png [--screen] [--width PX] [--height PX] [--scale 0|1|2]
//                [--click X,Y ...] FILE.htm[#anchor]
// --click presses the left button at a canvas pixel before rendering, so
// that a link there is followed as in the window. A drawing taller than
// 30 000 rows is saved as several PNG files, OUT-001.png, OUT-002.png, ...
// The viewer is created as the help window creates it: "Quillet.clsHTML"
// through the component runtime, so Quillet must be registered
// (tools/kvregsvr).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "htmlview/Quillet.h"
#include "platform/Application.h"
#include "platform/Services.h"

namespace {

constexpr double kTpp = 15.0;

bool IsAddress(const std::string& link) {
  std::string lower = link;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* prefix : {"http:", "https:", "ftp:", "mailto:"})
    if (lower.rfind(prefix, 0) == 0) return true;
  return false;
}

// The help window's controls and its viewer.
struct HelpHost {
  explicit HelpHost(int widthPx, int heightPx) {
    form = platform::Controls().CreateForm(platform::FormStyle{"frmHTMLHelp", "Quillet", platform::vbSizable, true, true});
    form->Move(0, 0, (widthPx + 40) * kTpp, (heightPx + 16) * kTpp);
    back = platform::Controls().CreatePictureBox(*form, "Picture1");
    back->Move(8 * kTpp, 8 * kTpp, widthPx * kTpp, heightPx * kTpp);
    canvas = platform::Controls().CreatePictureBox(*back, "Picture3");
    canvas->Move(0, 0, widthPx * kTpp, heightPx * kTpp);
    work = platform::Controls().CreatePictureBox(*form, "Picture2");
    scroll = platform::Controls().CreateVScrollBar(*form, "VScroll1");
    scroll->Move(0, 0, 16 * kTpp, heightPx * kTpp);
    html = std::make_unique<Quillet::clsHTMLWithEvents>();
    (*html)->SetCanvas(canvas.get());
    (*html)->SetWorkCanvas(work.get());
    (*html)->SetVScroll(scroll.get());
    (*html)->SetBackFrame(back.get());
    (*html)->SetEnableDispEnd(true);
    html->LinkClick = [this](const std::string& link, int16_t&) { Follow(link); };
  }
  ~HelpHost() { html.reset(); }

  // Sets the file and anchor of "file#anchor" (either part may be missing).
  void Locate(const std::string& target) {
    const size_t hash = target.find('#');
    const std::string file = target.substr(0, hash);
    if (!file.empty()) (*html)->SetHtmlFile(file);
    if (hash != std::string::npos) (*html)->SetCurName(target.substr(hash));
  }

  void Follow(const std::string& link) {
    if (Headless) {
      // No dialogs and no browser without a screen: report instead.
      if (IsAddress(link)) {
        std::printf("link to %s (opens in the browser)\n", link.c_str());
        return;
      }
      Locate(link);
      if (!(*html)->DispHTML(false)) std::fprintf(stderr, "%s を開けません\n", link.c_str());
      return;
    }
    if (IsAddress(link)) {
      const int32_t answer = platform::MessageBox().Show(
          link + "\r Internet URL へのハイパーリンクです。実行しますか？", platform::vbYesNo, "QuilletHelp");
      if (answer != platform::vbYes) return;
      (*html)->SetHtmlFile(link);
    } else {
      Locate(link);
    }
    if (!(*html)->DispHTML(false))
      platform::MessageBox().Show(link + " を開けません", platform::vbCritical | platform::vbOKOnly, "QuilletHelp");
  }

  void Layout() {
    const double cl = (*html)->CanvasLeft(), ct = (*html)->CanvasTop();
    (*html)->Move(static_cast<int32_t>(cl), static_cast<int32_t>(ct),
               static_cast<int32_t>(form->ScaleWidth() - 2 * cl - scroll->Width()),
               static_cast<int32_t>(form->ScaleHeight() - ct - cl));
  }

  std::unique_ptr<platform::IForm> form;
  std::unique_ptr<platform::IPictureBox> back, canvas, work;
  std::unique_ptr<platform::IVScrollBar> scroll;
  std::unique_ptr<Quillet::clsHTMLWithEvents> html;
  bool Headless = false;
};

// Rows of one PNG file. A taller drawing is saved as several files named
// OUT-001.png, OUT-002.png, ... from the top, each this tall but the last.
constexpr int32_t kPngRows = 30000;

// Saves the canvas rows 0..height-1; the names written, none on failure.
std::vector<std::string> SavePng(const platform::IPictureBox& canvas, const std::string& png, int width,
                                 int32_t height) {
  std::vector<std::string> names;
  if (height <= kPngRows) {
    names.push_back(png);
  } else {
    const size_t dot = png.rfind('.');
    const bool ext = dot != std::string::npos && png.find('/', dot) == std::string::npos;
    const std::string stem = ext ? png.substr(0, dot) : png, suffix = ext ? png.substr(dot) : ".png";
    for (int32_t part = 1; (part - 1) * static_cast<int64_t>(kPngRows) < height; ++part) {
      char number[16];
      std::snprintf(number, sizeof number, "-%03d", part);
      names.push_back(stem + number + suffix);
    }
  }
  for (size_t i = 0; i < names.size(); ++i) {
    const int32_t top = static_cast<int32_t>(i) * kPngRows;
    const int32_t rows = std::min(kPngRows, height - top);
    if (!canvas.SaveImage(names[i], 0, top, width, rows)) {
      std::fprintf(stderr, "%s に書き込めませんでした\n", names[i].c_str());
      return {};
    }
  }
  return names;
}

int Usage() {
  std::fprintf(stderr,
               "usage: quillet_view FILE.htm[#anchor]\n"
               "       quillet_view --png OUT.png [--screen] [--width PX] [--height PX] [--scale 0|1|2]\n"
               "                    [--click X,Y ...] FILE.htm[#anchor]\n"
               "       (a drawing taller than 30000 rows is saved as OUT-001.png, OUT-002.png, ...)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string png, file;
  bool screen = false;
  std::vector<std::pair<int, int>> clicks;
  int width = 600, height = 480, scale = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool more = i + 1 < argc;
    if (arg == "--png" && more) png = argv[++i];
    else if (arg == "--screen") screen = true;
    else if (arg == "--width" && more) width = std::atoi(argv[++i]);
    else if (arg == "--height" && more) height = std::atoi(argv[++i]);
    else if (arg == "--scale" && more) scale = std::atoi(argv[++i]);
    else if (arg == "--click" && more) {
      int x = 0, y = 0;
      if (std::sscanf(argv[++i], "%d,%d", &x, &y) != 2) return Usage();
      clicks.emplace_back(x, y);
    }
    else if (!arg.empty() && arg[0] != '-') file = arg;
    else return Usage();
  }
  if (file.empty() || width < 50 || height < 50) return Usage();
  if (!png.empty() && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

  platform::Application app(argc, argv, "QuilletHelp");
  std::unique_ptr<HelpHost> created;
  try {
    created = std::make_unique<HelpHost>(width, height);
  } catch (const platform::RuntimeError& error) {
    std::fprintf(stderr, "%d%s\nQuillet を登録するには: kvregsvr libQuillet.so のパス\n", error.Number(),
                 error.Description().c_str());
    return 1;
  }
  HelpHost& host = *created;
  host.Headless = !png.empty();
  (*host.html)->SetFontSize(static_cast<int16_t>(scale));
  host.Locate(file);
  bool drawn = false;
  host.html->DispDone = [&drawn] { drawn = true; };
  const bool complete = (*host.html)->DispHTML(false);
  if (!complete && drawn) {
    // A malformed attribute stopped the drawing; what was drawn is shown.
    std::fprintf(stderr, "%s: 表示は途中で終わりました\n", file.c_str());
  } else if (!complete) {
    std::fprintf(stderr, "指定された HTML ファイル %s が見つかりませんでした\n", file.c_str());
    if (png.empty())
      platform::MessageBox().Show("指定された HTML ファイル " + file + " が見つかりませんでした", platform::vbOKOnly,
                                  "QuilletHelp");
    return 1;
  }
  if (!png.empty()) {
    for (const auto& [x, y] : clicks) {
      host.canvas->MouseMove(0, 0, x * kTpp, y * kTpp);
      if (host.canvas->MouseDown) host.canvas->MouseDown(platform::vbLeftButton, 0, x * kTpp, y * kTpp);
      const std::string name = (*host.html)->CurName();
      std::printf("clicked %d,%d: now %s%s\n", x, y, (*host.html)->HtmlFile().c_str(), name == "#" ? "" : name.c_str());
    }
    const auto h = static_cast<int32_t>(screen ? height : host.canvas->Height() / kTpp);
    const std::vector<std::string> written = SavePng(*host.canvas, png, width, h);
    if (written.empty()) return 1;
    const std::string where = written.size() == 1 ? written.front()
                                                   : written.front() + " to " + written.back() + " (" +
                                                         std::to_string(written.size()) + " files of at most " +
                                                         std::to_string(kPngRows) + " rows)";
    std::printf("%s: %d x %d pixels\n", where.c_str(), width, static_cast<int>(h));
    return 0;
  }
  host.form->Events.Resize = [&host] { host.Layout(); };
  host.form->Show();
  host.Layout();
  return app.Run();
}
