// The settings file and the component registry against what a broken disk,
// a stray file or the environment can put in their way: an I/O error keeps
// the file and is not written over, only regular files of a sensible size
// are read, writes follow a symbolic link, relative folders are ignored.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/com/ComRegistry.h"
#include "platform/Module.h"
#include "platform/SafeFile.h"
#include "platform/qt/IniSettingsStore.h"

namespace {

namespace fs = std::filesystem;
using platform::qt::IniSettingsStore;
namespace com = platform::com;

int OpenFailsEMFILE(const char*, int) {
  errno = EMFILE;
  return -1;
}
ssize_t ReadFailsEIO(int, void*, size_t) {
  errno = EIO;
  return -1;
}

// Puts the real system calls back.
struct FileLayerKept {
  platform::FileCalls saved = platform::FileLayer();
  ~FileLayerKept() { platform::FileLayer() = saved; }
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
void Put(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

bool AnySetAside(const fs::path& folder) {
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().filename().string().find(".broken-") != std::string::npos) return true;
  return false;
}

const char* const kRegistry =
    "[Class {00000000-0000-0000-0000-0000000000AA}]\nProgID=A.B\nInprocServer=/a.so\n";

// The ways a file can fail to be read, each set up on the file at path
// (which holds good bytes first); the check after the read tells the file
// is as it was.
struct Failure {
  const char* Name;
  std::function<void(const fs::path&)> Prepare;
  std::function<bool(const fs::path&, const std::string& good)> Unchanged;
};

std::vector<Failure> Failures() {
  const auto same = [](const fs::path& path, const std::string& good) { return Slurp(path) == good; };
  return {
      {"EMFILE", [](const fs::path&) { platform::FileLayer().Open = &OpenFailsEMFILE; }, same},
      {"EIO", [](const fs::path&) { platform::FileLayer().Read = &ReadFailsEIO; }, same},
      {"FIFO",
       [](const fs::path& path) {
         fs::remove(path);
         ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
       },
       [](const fs::path& path, const std::string&) { return fs::is_fifo(fs::symlink_status(path)); }},
      {"/dev/zero",
       [](const fs::path& path) {
         fs::remove(path);
         fs::create_symlink("/dev/zero", path);
       },
       [](const fs::path& path, const std::string&) { return fs::read_symlink(path) == "/dev/zero"; }},
      {"2 MB", [](const fs::path& path) { Put(path, std::string(2 << 20, '\n')); },
       [](const fs::path& path, const std::string&) { return fs::file_size(path) == (2u << 20); }},
  };
}

TEST(FileSafety, AFileThatCannotBeReadIsSaidSoKeptAndNotWrittenOver) {
  const fs::path settingsHome = fs::path(std::getenv("XDG_CONFIG_HOME")) / "unreadable";
  const fs::path registry = com::ComponentRegistryPath();
  for (const Failure& failure : Failures()) {
    SCOPED_TRACE(failure.Name);
    fs::remove_all(settingsHome);
    fs::create_directories(settingsHome / "App");
    const fs::path ini = settingsHome / "App" / "App.ini";
    const std::string goodIni = "[Settings]\nName=old\n";
    Put(ini, goodIni);
    fs::create_directories(registry.parent_path());
    for (const auto& e : fs::directory_iterator(registry.parent_path())) fs::remove(e.path());
    Put(registry, kRegistry);

    {
      FileLayerKept kept;
      failure.Prepare(ini);
      failure.Prepare(registry);

      IniSettingsStore store(settingsHome.string());
      EXPECT_EQ(store.GetSetting("App", "Settings", "Name"), std::nullopt);
      EXPECT_NE(store.ReadError().find(ini.string()), std::string::npos) << store.ReadError();
      store.SaveSetting("App", "Settings", "Name", "new");  // the end of the run: nothing is written

      std::string aside, unreadable, error;
      EXPECT_TRUE(com::ReadComponentRegistry(&aside, &unreadable).Classes.empty());
      EXPECT_EQ(aside, "");
      EXPECT_NE(unreadable.find(registry.string()), std::string::npos) << unreadable;
      EXPECT_FALSE(com::UpdateComponentRegistry([](com::ComponentRegistry& r) { r.Classes.clear(); }, &error));
      EXPECT_NE(error.find("読み込めません"), std::string::npos) << error;
    }
    EXPECT_TRUE(failure.Unchanged(ini, goodIni));
    EXPECT_TRUE(failure.Unchanged(registry, kRegistry));
    EXPECT_FALSE(AnySetAside(ini.parent_path()));
    EXPECT_FALSE(AnySetAside(registry.parent_path()));
  }
  fs::remove(registry);
}

TEST(FileSafety, WritesThroughASymbolicLinkUpdateItsTarget) {
  const fs::path base = fs::path(std::getenv("XDG_CONFIG_HOME")) / "linked";
  fs::remove_all(base);
  fs::create_directories(base / "App");
  fs::create_directories(base / "elsewhere");
  Put(base / "elsewhere" / "App.ini", "[Settings]\nName=old\n");
  fs::create_symlink("../elsewhere/App.ini", base / "App" / "App.ini");
  {
    IniSettingsStore store(base.string());
    EXPECT_EQ(store.GetSetting("App", "Settings", "Name"), "old");
    store.SaveSetting("App", "Settings", "Name", "new");
  }
  EXPECT_TRUE(fs::is_symlink(base / "App" / "App.ini"));
  EXPECT_EQ(Slurp(base / "elsewhere" / "App.ini"), "[Settings]\nName=new\n");

  const fs::path registry = com::ComponentRegistryPath();
  fs::create_directories(registry.parent_path());
  fs::remove(registry);
  Put(base / "elsewhere" / "components.ini", kRegistry);
  fs::create_symlink(base / "elsewhere" / "components.ini", registry);
  ASSERT_TRUE(com::UpdateComponentRegistry([](com::ComponentRegistry& r) { r.Classes[0].ProgID = "C.D"; }));
  EXPECT_TRUE(fs::is_symlink(registry));
  EXPECT_NE(Slurp(base / "elsewhere" / "components.ini").find("ProgID=C.D"), std::string::npos);
  fs::remove(registry);
}

TEST(FileSafety, RelativeFoldersFromTheEnvironmentAreIgnored) {
  struct Kept {
    std::string Name, Value;
    bool Had;
  };
  std::vector<Kept> kept;
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "HOME", "KELVORA_MODULE_PATH", "LD_LIBRARY_PATH"}) {
    const char* value = std::getenv(name);
    kept.push_back({name, value ? value : "", value != nullptr});
  }
  setenv("HOME", "/home/kelvora-test", 1);
  setenv("XDG_CONFIG_HOME", "relative/config", 1);
  setenv("XDG_DATA_HOME", "relative/data", 1);
  setenv("KELVORA_MODULE_PATH", "lib::/opt/kelvora-test:./x", 1);
  setenv("LD_LIBRARY_PATH", ":.", 1);
  const std::string settings = IniSettingsStore().FileOf("Kelvora");
  const std::string registry = com::ComponentRegistryPath();
  const std::vector<std::string> search = platform::ModuleSearchPath();
  for (const Kept& k : kept) {
    if (k.Had) setenv(k.Name.c_str(), k.Value.c_str(), 1);
    else unsetenv(k.Name.c_str());
  }
  EXPECT_EQ(settings, "/home/kelvora-test/.config/Kelvora/Kelvora.ini");
  EXPECT_EQ(registry, "/home/kelvora-test/.local/share/Kelvora/components.ini");
  EXPECT_NE(std::find(search.begin(), search.end(), "/opt/kelvora-test"), search.end());
  for (const std::string& folder : search) EXPECT_EQ(folder.rfind('/', 0), 0u) << folder;
}

}  // namespace
