// The component registry: its text form, what counts as a broken file, and
// the file itself (set aside when broken, never overwritten unseen).
#include "platform/com/ComRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/com/ComVariant.h"
#include "platform/RuntimeError.h"

using namespace platform::com;

namespace {

constexpr Guid kA = GuidOf("{00000000-0000-0000-0000-0000000000AA}");
constexpr Guid kB = GuidOf("{00000000-0000-0000-0000-0000000000BB}");

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ComRegistry, TextRoundTripKeepsEveryFieldAndEscapesOddPaths) {
  ComponentRegistry registry;
  registry.Classes.push_back({kA, "Quillet.clsHTML", "/opt/k\\v\nx\r/libQuillet.so", kB});
  registry.Classes.push_back({kB, "Other.Thing", "/usr/lib/ü.so", std::nullopt});
  registry.TypeLibs.push_back({kB, "Quillet", 1, 1, 0x409, "/opt/libQuillet.so"});
  const std::string text = FormatComponentRegistry(registry);
  EXPECT_EQ(text.find("\n\n\n"), std::string::npos);
  const auto back = ParseComponentRegistry(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, registry);
  EXPECT_TRUE(ParseComponentRegistry("") && ParseComponentRegistry("")->Classes.empty());
  // Hand edits: CRLF line ends, comments, unknown keys.
  const auto edited = ParseComponentRegistry("# mine\r\n[Class {00000000-0000-0000-0000-0000000000AA}]\r\n"
                                             "ProgID=A.B\r\nFuture=1\r\nInprocServer=/a.so\r\n");
  ASSERT_TRUE(edited);
  EXPECT_EQ(edited->Classes.at(0).InprocServer, "/a.so");
}

TEST(ComRegistry, BrokenTextIsRecognised) {
  const std::string head = "[Class {00000000-0000-0000-0000-0000000000AA}]\n";
  for (const std::string& text : {
           head + "ProgID=A.B",                                   // torn: no final line end
           head + std::string("ProgID=A\0B\n", 11),                // NUL
           head + "ProgID=\xC3\n",                                // not UTF-8
           head + "ProgID=\xC0\xAF\n",                            // overlong
           std::string("ProgID=A.B\n"),                           // outside a section
           head + "ProgID\n",                                     // no "="
           head + "ProgID=a\\tb\n",                               // unknown escape
           head + "ProgID=a\\\n",                                 // escape at the end
           head + "ProgID=a\nProgID=b\n",                         // repeated key
           head + head,                                           // repeated section
           std::string("[Class {0000-0000}]\n"),                  // bad identifier
           std::string("[Klass {00000000-0000-0000-0000-0000000000AA}]\n"),
           std::string("[TypeLib {00000000-0000-0000-0000-0000000000AA}]\nVersion=1\n"),
           std::string("[TypeLib {00000000-0000-0000-0000-0000000000AA}]\nVersion=70000.0\n"),
           std::string("[TypeLib {00000000-0000-0000-0000-0000000000AA}]\nLCID=12345678A\n"),
           head + "TypeLib=nope\n",
       }) {
    EXPECT_FALSE(ParseComponentRegistry(text)) << text;
  }
}

TEST(ComRegistry, NamesAreFoundIgnoringCaseTheLastRegisteredWinning) {
  ComponentRegistry registry;
  registry.Classes.push_back({kA, "Quillet.clsHTML", "/old.so", std::nullopt});
  registry.Classes.push_back({kB, "Quillet.clsHTML", "/new.so", std::nullopt});
  ASSERT_TRUE(registry.FindProgID("quillet.CLSHTML"));
  EXPECT_EQ(registry.FindProgID("quillet.CLSHTML")->InprocServer, "/new.so");
  EXPECT_EQ(registry.FindClass(kA)->InprocServer, "/old.so");
  EXPECT_FALSE(registry.FindProgID(""));
}

TEST(ComRegistry, BrokenFileIsSetAsideAndAFreshOneWritten) {
  const std::string path = ComponentRegistryPath();
  ASSERT_EQ(path, std::string(std::getenv("XDG_DATA_HOME")) + "/Kelvora/components.ini");
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
    std::filesystem::remove(entry.path());
  std::ofstream(path, std::ios::binary) << "[Class {00000000-0000-0000-0000-0000000000AA}]\nProgID=torn";

  std::string aside;
  EXPECT_TRUE(ReadComponentRegistry(&aside).Classes.empty());
  ASSERT_FALSE(aside.empty());
  EXPECT_EQ(Slurp(aside), "[Class {00000000-0000-0000-0000-0000000000AA}]\nProgID=torn");
  EXPECT_FALSE(std::filesystem::exists(path));

  ASSERT_TRUE(UpdateComponentRegistry([](ComponentRegistry& r) { r.Classes.push_back({kA, "A.B", "/a.so", {}}); }));
  ASSERT_TRUE(UpdateComponentRegistry([](ComponentRegistry& r) { r.Classes.push_back({kB, "C.D", "/c.so", {}}); }));
  EXPECT_EQ(ReadComponentRegistry().Classes.size(), 2u);
  EXPECT_TRUE(std::filesystem::exists(aside));  // the broken file stays
}

TEST(ComRegistry, UnwritableFolderIsReportedNotIgnored) {
  const char* old = std::getenv("XDG_DATA_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_DATA_HOME", "/proc/kelvora-no-such-folder", 1);
  std::string error;
  EXPECT_FALSE(UpdateComponentRegistry([](ComponentRegistry&) {}, &error));
  EXPECT_NE(error.find("/proc/kelvora-no-such-folder/Kelvora/components.ini"), std::string::npos);
  setenv("XDG_DATA_HOME", saved.c_str(), 1);
}

TEST(ComVariant, ConvertsAsTheLanguageDoes) {
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(int32_t{40000}).AsLong(), 40000);
  EXPECT_TRUE(Variant(int16_t{2}).AsBoolean());
  EXPECT_EQ(Variant(int16_t{-5}).AsString(), "-5");
  EXPECT_EQ(Variant().AsString(), "");
  const auto number = [](auto f) {
    try {
      f();
    } catch (const platform::RuntimeError& e) {
      return e.Number();
    }
    return 0;
  };
  EXPECT_EQ(number([] { Variant(int32_t{40000}).AsInteger(); }), 6);
  EXPECT_EQ(number([] { Variant("12").AsLong(); }), 13);
  EXPECT_EQ(number([] { Variant(int16_t{1}).AsControl(); }), 13);
  EXPECT_EQ(FormatGuid(*ParseGuid("{7fb5d71b-29fa-494e-939d-31f178cf0cb4}")), "{7FB5D71B-29FA-494E-939D-31F178CF0CB4}");
  EXPECT_FALSE(ParseGuid("{7FB5D71B-29FA-494E-939D-31F178CF0CB4"));
  EXPECT_FALSE(ParseGuid("{7FB5D71B+29FA-494E-939D-31F178CF0CB4}"));
}

}  // namespace
