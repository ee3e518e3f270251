// The settings file as the next start meets it: the file's parser and
// writer, the store, the load pass with every key's decoding, the rows'
// font keys, then a save and a second start that must read the same values.
// A file that cannot be parsed must be kept aside byte for byte and read as
// defaults; a saved file must keep every other key and section.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "clock/core/SettingsStore.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/fake/FakeClock.h"
#include "platform/qt/IniSettingsStore.h"

namespace {

namespace fs = std::filesystem;
using Document = std::map<std::string, std::map<std::string, std::string>>;

// What a start reads: the in-memory copies and the rows' font and colour.
struct StartState {
  int16_t MoveSide;
  std::array<int16_t, 2> Rows;
  std::string UpperRowFormat, UnderRowFormat, WavFile;
  bool TopMost, TimeSignalRepeat, NoUseTimeSignal, UsePCBuzzer, NoTestDllReg;
  platform::StdFont Font;
  platform::OleColor Color;
  bool operator==(const StartState&) const = default;
};

StartState Start(fuzz::QuietHost& host) {
  SettingsStore::LoadSettings();
  if (host.Box.Calls.size() > 1) fuzz::Fail("more than one message at start-up");
  StartState s{SettingsStore::MoveSide,       SettingsStore::mintRows,       SettingsStore::UpperRowFormat,
               SettingsStore::UnderRowFormat, SettingsStore::WavFile,        SettingsStore::TopMost,
               SettingsStore::TimeSignalRepeat, SettingsStore::NoUseTimeSignal, SettingsStore::UsePCBuzzer,
               SettingsStore::NoTestDllReg,   {},                            0};
  // The clock window's load reads the font keys this way.
  s.Font.Name = SettingsStore::GetAppSetting("FontName", "IPAPGothic");
  s.Font.Weight = SettingsStore::ReadInt16Setting("FontWeight", 400);
  s.Font.Bold = SettingsStore::ReadBooleanSetting("FontBold");
  s.Font.Italic = SettingsStore::ReadBooleanSetting("FontItalic");
  s.Font.Strikethrough = SettingsStore::ReadBooleanSetting("FontStrikethrough");
  s.Font.Underline = SettingsStore::ReadBooleanSetting("FontUnderline");
  s.Color = SettingsStore::ReadColorSetting("FontColor", platform::SystemColor(platform::COLOR_BTNTEXT));
  return s;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartPlatform();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  // A file that parses is written back with the same meaning.
  Document doc;
  const bool parsed = platform::qt::ParseIni(text, doc);
  if (parsed) {
    Document again;
    if (!platform::qt::ParseIni(platform::qt::FormatIni(doc), again) || again != doc)
      fuzz::Fail("a parsed settings file is not written back as it was read");
  }

  const fs::path home = fuzz::ScratchDir() + "/settings";
  fs::remove_all(home);
  fs::create_directories(home / "Kelvora");
  const fs::path file = home / "Kelvora" / "Kelvora.ini";
  fuzz::WriteScratchFile("settings/Kelvora/Kelvora.ini", data, size);

  fuzz::QuietHost host;
  platform::FakeClock clock;
  StartState first;
  {
    platform::qt::IniSettingsStore store(home.string());
    platform::ScopedService<platform::ISettingsStore> install(store);
    first = Start(host);
    if (!parsed) {
      // Kept aside whole; the start sees the defaults.
      if (store.KeptAsideAs().empty() || ReadBytes(store.KeptAsideAs()) != text)
        fuzz::Fail("an unreadable settings file was not kept aside unchanged");
      if (first.MoveSide != 3 || first.Rows != std::array<int16_t, 2>{1, 1} || first.WavFile != "")
        fuzz::Fail("an unreadable settings file did not read as the defaults");
    }
    SettingsStore::SaveSettings(first.Font, first.Color);
  }

  // Every other key and section of the file survives the save.
  Document saved;
  if (!platform::qt::ParseIni(ReadBytes(file), saved)) fuzz::Fail("the saved settings file does not parse");
  if (parsed) {
    for (const auto& [section, keys] : doc) {
      for (const auto& [key, value] : keys) {
        const auto s = saved.find(section);
        if (s == saved.end() || s->second.find(key) == s->second.end())
          fuzz::Fail("saving lost the key " + key + " of section " + section);
        if (section != SettingsStore::kSection && s->second.at(key) != value)
          fuzz::Fail("saving changed the key " + key + " of section " + section);
      }
    }
  }

  // The next start reads what was saved.
  fuzz::QuietHost secondHost;
  platform::qt::IniSettingsStore reread(home.string());
  platform::ScopedService<platform::ISettingsStore> install(reread);
  if (!(Start(secondHost) == first)) fuzz::Fail("the next start read other values than were saved");
  if (!secondHost.Box.Calls.empty()) fuzz::Fail("the saved formats were refused at the next start");
  return 0;
}
