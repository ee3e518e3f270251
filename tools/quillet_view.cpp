// Starts the program's help window on an HTML file, or renders the help
// window's page headless to a PNG.
//
//   quillet_view FILE.htm[#anchor]
//   quillet_view --png OUT.png [--screen] [--width PX] [--height PX] [--scale 0|1|2]
//                [--click X,Y ...] FILE.htm[#anchor]
// --click presses the left button at a canvas pixel before rendering, so
// that a link there is followed as in the window. A drawing taller than
// 30 000 rows is saved as several PNG files, OUT-001.png, OUT-002.png, ...
// The help window creates its viewer "Quillet.clsHTML" through the
// component runtime, so Quillet must be registered (kvregsvr).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "clock/help/frmHTMLHelp.h"
#include "platform/Application.h"
#include "platform/Services.h"
#include "platform/Shell.h"

namespace {

constexpr double kTpp = 15.0;

// Without a screen nobody answers a message box and no browser opens:
// messages are printed, questions declined, and addresses only named.
class PrintedMessages final : public platform::IMessageBox {
 public:
  int32_t Show(const std::string& prompt, int32_t style, const std::string& title) override {
    std::string text = prompt;
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
    return (style & 7) == platform::vbYesNo ? platform::vbNo : platform::vbOK;
  }
};
class PrintedShell final : public platform::IShell {
 public:
  bool Open(const std::string& target) override {
    std::printf("link to %s (opens in the browser)\n", target.c_str());
    return true;
  }
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

// Sizes the window so that its page is width × height pixels.
void SizePage(frmHTMLHelp& help, int width, int height) {
  platform::IForm& form = help.Form();
  const double cl = help.Picture1->Left(), ct = help.Picture1->Top();
  const double menuBar = form.Height() - form.ScaleHeight();
  form.Move(form.Left(), form.Top(), width * kTpp + 2 * cl + help.VScroll1->Width(),
            height * kTpp + ct + cl + menuBar);
  // A hidden window hears of its new size only when shown.
  help.Form_Resize();
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
  std::string png, target;
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
    else if (!arg.empty() && arg[0] != '-') target = arg;
    else return Usage();
  }
  if (target.empty() || width < 50 || height < 50 || width > 20000 || height > 20000 || scale < 0 || scale > 2)
    return Usage();
  const bool headless = !png.empty();
  if (headless && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

  platform::Application app(argc, argv, "QuilletHelp");
  PrintedMessages printedMessages;
  PrintedShell printedShell;
  std::unique_ptr<platform::ScopedService<platform::IMessageBox>> quietMessages;
  std::unique_ptr<platform::ScopedService<platform::IShell>> quietShell;
  if (headless) {
    quietMessages = std::make_unique<platform::ScopedService<platform::IMessageBox>>(printedMessages);
    quietShell = std::make_unique<platform::ScopedService<platform::IShell>>(printedShell);
  }

  const size_t hash = target.find('#');
  frmHTMLHelp help;
  // A full path, as the program gives it: the version box and copied links name it.
  help.SetHTMLHelpFile(std::filesystem::absolute(target.substr(0, hash)).string());
  if (!headless) {
    help.Show();
    if (!help.Loaded()) {
      std::fprintf(stderr, "Quillet を登録するには: kvregsvr libQuillet.so のパス\n");
      return 1;
    }
    if (hash != std::string::npos) {
      (*help.Viewer())->SetCurName(target.substr(hash));
      (*help.Viewer())->DispHTML(false);
    }
    // Closing the help window, the only one, ends the program.
    return app.Run();
  }

  help.Form_Load();
  if (!help.Loaded()) return 1;
  Quillet::_clsHTML& html = help.Viewer()->Object();
  SizePage(help, width, height);
  if (scale != 0) help.mnuOpFont_Click(scale == 1 ? 0 : 2);
  if (hash != std::string::npos) {
    html.SetCurName(target.substr(hash));
    html.DispHTML(false);
  }
  platform::IPictureBox& canvas = *help.Picture3;
  for (const auto& [x, y] : clicks) {
    if (canvas.MouseMove) canvas.MouseMove(0, 0, x * kTpp, y * kTpp);
    if (canvas.MouseDown) canvas.MouseDown(platform::vbLeftButton, 0, x * kTpp, y * kTpp);
    const std::string name = html.CurName();
    std::printf("clicked %d,%d: now %s%s\n", x, y, html.HtmlFile().c_str(), name == "#" ? "" : name.c_str());
  }
  const auto rows = static_cast<int32_t>(screen ? height : canvas.Height() / kTpp);
  const std::vector<std::string> written = SavePng(canvas, png, width, rows);
  if (written.empty()) return 1;
  const std::string where = written.size() == 1 ? written.front()
                                                 : written.front() + " to " + written.back() + " (" +
                                                       std::to_string(written.size()) + " files of at most " +
                                                       std::to_string(kPngRows) + " rows)";
  std::printf("%s: %d x %d pixels\n", where.c_str(), width, static_cast<int>(rows));
  return 0;
}
