#pragma once
// A viewer wired to fake host controls, and a way to show a document text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "htmlview/FakeControls.h"
#include "htmlview/clsHTML.h"
#include "platform/Shell.h"

namespace fakes {

class RecordingShell : public platform::IShell {
 public:
  bool Open(const std::string& target) override {
    Opened.push_back(target);
    return true;
  }
  std::vector<std::string> Opened;
};

struct ViewerFixture : testing::Test {
  ViewerFixture() {
    const char* tmp = std::getenv("KELVORA_TEST_TMP");
    dir = std::filesystem::path(tmp ? tmp : "/tmp") / "docs";
    std::filesystem::create_directories(dir);
    back.Move(0, 0, 3000, 3000);
    canvas.Move(0, 0, 3000, 3000);
    work.Move(0, 0, 3000, 3000);
    html.SetCanvas(&canvas);
    html.SetWorkCanvas(&work);
    html.SetVScroll(&scroll);
    html.SetBackFrame(&back);
    html.DispDone = [this] { ++dispDone; };
    html.LinkClick = [this](const std::string& href, int16_t&) { events.push_back("click " + href); };
    html.LinkRightClick = [this](const std::string& href) { events.push_back("right " + href); };
    html.MouseDown = [this](int16_t& button) { events.push_back("down " + std::to_string(button)); };
  }

  std::string Write(const std::string& name, const std::string& text) {
    const auto path = dir / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  // Shows a document (a whole file text) and returns DispHTML's result.
  bool Show(const std::string& text, const std::string& name = "doc.htm") {
    html.SetHtmlFile(Write(name, text));
    return html.DispHTML(true);
  }
  bool ShowBody(const std::string& body) { return Show("<HTML><BODY>" + body + "</BODY></HTML>"); }

  // The texts printed on the canvas row by row (by Y), each row ordered by X.
  std::map<double, std::string> Rows() const {
    std::map<double, std::map<double, std::string>> cells;
    for (const auto& p : canvas.Prints) cells[p.Y][p.X] += p.Text;
    std::map<double, std::string> rows;
    for (const auto& [y, row] : cells)
      for (const auto& [x, text] : row) rows[y] += text;
    return rows;
  }
  std::vector<std::string> RowTexts() const {
    std::vector<std::string> out;
    for (const auto& [y, text] : Rows()) out.push_back(text);
    return out;
  }

  std::filesystem::path dir;
  FakePictureBox back{"Picture1"}, canvas{"Picture2"}, work{"Picture3"};
  FakeScrollBar scroll;
  clsHTML html;
  int dispDone = 0;
  std::vector<std::string> events;
};

}  // namespace fakes
