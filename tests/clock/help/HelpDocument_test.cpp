// The help documents are drawn by a viewer with a small HTML subset and
// its own rules (see the notes at the top of Kelvora.htm); these checks
// catch the mistakes that would break them in the help window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kDocuments = {"Kelvora.htm", "mml.htm"};

std::string Read(const std::string& name) {
  std::ifstream in(fs::path(KV_HELP_DIR) / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Body(const std::string& html) {
  const size_t start = html.find("<BODY");
  return start == std::string::npos ? std::string() : html.substr(start);
}

std::vector<std::string> All(const std::string& text, const std::regex& pattern) {
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1]);
  return found;
}

class HelpDocument : public testing::TestWithParam<std::string> {};

TEST_P(HelpDocument, EveryLinkLeadsSomewhereAndEveryTopicEnds) {
  const std::string body = Body(Read(GetParam()));
  ASSERT_FALSE(body.empty()) << "no <BODY>";
  const std::vector<std::string> anchors = All(body, std::regex(R"re(<A NAME="([^"]+)">)re"));
  ASSERT_FALSE(anchors.empty());
  // The contents button jumps to "context", in every document.
  EXPECT_EQ(anchors.front(), "context");
  const std::set<std::string> names(anchors.begin(), anchors.end());
  EXPECT_EQ(names.size(), anchors.size()) << "an anchor name is used twice";

  for (const std::string& target : All(body, std::regex(R"re(<A HREF="([^"]+)">)re"))) {
    if (target[0] == '#') {
      EXPECT_TRUE(names.count(target.substr(1))) << GetParam() << ": no anchor for " << target;
    } else {
      // Links between documents name a file only; the help window cannot
      // follow a file and an anchor at once.
      EXPECT_EQ(target.find('#'), std::string::npos) << target;
      EXPECT_TRUE(fs::exists(fs::path(KV_HELP_DIR) / target)) << GetParam() << ": no file " << target;
    }
  }
  // Each topic runs from its anchor to an end-of-topic comment.
  size_t from = 0;
  for (const std::string& name : anchors) {
    const size_t anchor = body.find("<A NAME=\"" + name + "\">", from);
    const size_t end = body.find("<!--Quillet.EndOfTopic-->", anchor);
    const size_t next = body.find("<A NAME=", anchor + 1);
    ASSERT_NE(end, std::string::npos) << name;
    EXPECT_TRUE(next == std::string::npos || end < next) << "topic " << name << " does not end";
    from = anchor + 1;
  }
}

TEST_P(HelpDocument, TextKeepsToWhatTheViewerDraws) {
  const std::string body = Body(Read(GetParam()));
  // "&" opens an entity; the viewer knows five, anything else eats text.
  for (size_t at = body.find('&'); at != std::string::npos; at = body.find('&', at + 1)) {
    const std::string rest = body.substr(at, 6);
    const bool known = rest.rfind("&amp;", 0) == 0 || rest.rfind("&lt;", 0) == 0 || rest.rfind("&gt;", 0) == 0 ||
                       rest.rfind("&quot;", 0) == 0 || rest.rfind("&nbsp;", 0) == 0;
    EXPECT_TRUE(known) << GetParam() << ": " << body.substr(at, 20);
  }
  // A line break inside a sentence becomes a blank in the text: every line
  // starts with a tag.
  std::istringstream lines(body);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty()) {
      EXPECT_EQ(line[0], '<') << GetParam() << ": " << line;
    }
  }
  // Font colours the viewer knows (an unknown one stops the drawing).
  for (const std::string& color : All(body, std::regex(R"re(<FONT COLOR=([^ >]+))re"))) {
    EXPECT_TRUE(std::regex_match(color, std::regex("navy|maroon|#[0-9A-Fa-f]{6}"))) << color;
  }
  // Tables are not drawn.
  EXPECT_EQ(body.find("<TABLE"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Help, HelpDocument, testing::ValuesIn(kDocuments),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param.substr(0, info.param.find('.'));
                         });

}  // namespace
