// The component runtime with a small component module of its own:
// registration, creation by class, late-bound calls, events, errors, the
// module's lifetime and the services it shares with the host.
#include "platform/com/ComRuntime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "platform/com/ComEvents.h"
#include "platform/com/ComRegistry.h"
#include "platform/fake/RecordingMessageBox.h"

using namespace platform::com;

namespace {

constexpr const char* kProbe = "KvTest.Probe";

int32_t ErrorOf(const std::function<void()>& f, std::string* description = nullptr) {
  try {
    f();
  } catch (const platform::RuntimeError& e) {
    if (description) *description = e.Description();
    return e.Number();
  }
  return 0;
}

struct ComRuntime : testing::Test {
  void SetUp() override {
    std::filesystem::remove(ComponentRegistryPath());
    // A copy of the module per test, so that tests may move or remove it.
    const auto dir = std::filesystem::path(std::getenv("KELVORA_TEST_TMP")) / "probe";
    std::filesystem::create_directories(dir);
    module = (dir / ("libprobe-" + std::to_string(++count) + ".so")).string();
    std::filesystem::copy_file(KV_PROBE_MODULE, module, std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(CallRegistrationEntry(module, true), S_OK);
  }
  void TearDown() override { CoFreeUnusedLibraries(); }
  // Points the probe's class at another path.
  static void Reroute(const std::string& path) {
    ASSERT_TRUE(UpdateComponentRegistry([&](ComponentRegistry& r) {
      for (auto& c : r.Classes) c.InprocServer = path;
    }));
  }

  std::string module;
  static inline int count = 0;
};

TEST_F(ComRuntime, RegisterCreateUnregisterTouchingOnlyItsOwnEntries) {
  const Guid other = GuidOf("{00000000-0000-0000-0000-000000000001}");
  ASSERT_TRUE(UpdateComponentRegistry([&](ComponentRegistry& r) { r.Classes.push_back({other, "Other.Thing", "/x.so", {}}); }));
  ASSERT_EQ(CallRegistrationEntry(module, true), S_OK);  // again: replaces, not duplicates

  ComponentRegistry registry = ReadComponentRegistry();
  ASSERT_EQ(registry.Classes.size(), 2u);
  EXPECT_EQ(registry.FindProgID(kProbe)->InprocServer, std::filesystem::canonical(module).string());
  EXPECT_EQ(registry.TypeLibs.at(0).Name, "KvTest");

  EXPECT_TRUE(CreateObject<IDispatch>(kProbe));
  Guid clsid;
  ASSERT_EQ(CLSIDFromProgID(kProbe, &clsid), S_OK);
  EXPECT_TRUE(CreateObject<IDispatch>(FormatGuid(clsid)));

  ASSERT_EQ(CallRegistrationEntry(module, false), S_OK);
  registry = ReadComponentRegistry();
  ASSERT_EQ(registry.Classes.size(), 1u);
  EXPECT_EQ(registry.Classes[0].ProgID, "Other.Thing");
  EXPECT_TRUE(registry.TypeLibs.empty());
  std::string why;
  EXPECT_EQ(ErrorOf([] { CreateObject(kProbe); }, &why), 429);
  EXPECT_NE(why.find("KvTest.Probe は登録されていません"), std::string::npos) << why;
}

TEST_F(ComRuntime, AModuleThatIsGoneOrNotAFileGivesAClearError) {
  std::string why;
  std::filesystem::remove(module);
  EXPECT_EQ(ErrorOf([] { CreateObject(kProbe); }, &why), 429);
  EXPECT_NE(why.find("が見つかりません"), std::string::npos) << why;

  std::filesystem::create_directory(module);  // replaced by a folder
  EXPECT_EQ(ErrorOf([] { CreateObject(kProbe); }, &why), 429);
  EXPECT_NE(why.find("通常のファイルではありません"), std::string::npos) << why;
  std::filesystem::remove(module);

  // Only absolute paths are loaded: never one relative to the current folder.
  Reroute(std::filesystem::path(module).filename().string());
  EXPECT_EQ(ErrorOf([] { CreateObject(kProbe); }, &why), 429);
  EXPECT_NE(why.find("絶対パスではありません"), std::string::npos) << why;

  Reroute("/etc/hostname");
  EXPECT_EQ(ErrorOf([] { CreateObject(kProbe); }, &why), 429);
  EXPECT_NE(why.find("読み込めません"), std::string::npos) << why;
  EXPECT_EQ(CallRegistrationEntry("relative.so", true, &why), CO_E_DLLNOTFOUND);
}

TEST_F(ComRuntime, LateBoundCallsPassByReferenceAndRaiseTheObjectsErrors) {
  auto probe = CreateObject<IDispatch>(kProbe);
  std::vector<Variant> args{"時報"};
  EXPECT_EQ(CallByNumber(*probe, 1, InvokeKind::Method, args).AsLong(), 7);  // bytes of "時報!"
  EXPECT_EQ(args[0].AsString(), "時報!");

  std::string why;
  std::vector<Variant> fail{int32_t{75}};
  EXPECT_EQ(ErrorOf([&] { CallByNumber(*probe, 2, InvokeKind::Method, fail); }, &why), 75);
  EXPECT_EQ(why, "プローブの失敗");
  EXPECT_EQ(ErrorOf([&] { CallByNumber(*probe, 9); }), 438);
  EXPECT_EQ(ErrorOf([&] { CallByNumber(*probe, 5, InvokeKind::PropertyPut); }), 438);
  EXPECT_EQ(ErrorOf([&] { CallByNumber(*probe, 1); }), 450);
  std::vector<Variant> wrong{"x"};
  EXPECT_EQ(ErrorOf([&] { CallByNumber(*probe, 4, InvokeKind::Method, wrong); }), 13);
}

TEST_F(ComRuntime, EventsReachTheSinkAndComeBackChanged) {
  auto probe = CreateObject<IDispatch>(kProbe);
  auto sink = EventSink::Create();
  sink->On(1, [](std::vector<Variant>& args) { args[0] = static_cast<int16_t>(args[0].AsInteger() * 2); });
  {
    EventConnection connection(*probe, *sink);
    std::vector<Variant> args{int16_t{21}};
    EXPECT_EQ(CallByNumber(*probe, 4, InvokeKind::Method, args).AsInteger(), 42);
    // An error in the host's handler comes back as the host's error.
    sink->On(1, [](std::vector<Variant>&) { platform::RaiseError(platform::errPathFileAccess); });
    EXPECT_EQ(ErrorOf([&] { CallByNumber(*probe, 4, InvokeKind::Method, args); }), 75);
  }
  std::vector<Variant> args{int16_t{21}};
  EXPECT_EQ(CallByNumber(*probe, 4, InvokeKind::Method, args).AsInteger(), 21);  // disconnected
}

TEST_F(ComRuntime, TheModuleUsesTheHostsServices) {
  platform::RecordingMessageBox box;
  box.Answers.push_back(platform::vbCancel);
  auto probe = CreateObject<IDispatch>(kProbe);
  std::vector<Variant> args{"モジュールから"};
  EXPECT_EQ(CallByNumber(*probe, 3, InvokeKind::Method, args).AsLong(), platform::vbCancel);
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_EQ(box.Calls[0].Prompt, "モジュールから");
}

TEST_F(ComRuntime, TheModuleStaysUntilItsLastObjectIsReleased) {
  const std::string loaded = std::filesystem::canonical(module).string();
  auto probe = CreateObject<IDispatch>(kProbe);
  EXPECT_EQ(CallByNumber(*probe, 5, InvokeKind::PropertyGet).AsLong(), 1);  // started as a component
  CoFreeUnusedLibraries();
  EXPECT_TRUE(IsComponentLoaded(loaded));
  probe.Reset();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(IsComponentLoaded(loaded));
  EXPECT_EQ(ModuleStartMode(reinterpret_cast<const void*>(&ErrorOf)), 0);  // the program itself

  const ComponentInfo info = GetComponentInfo("KvTest");
  EXPECT_EQ(info.TypeLib.Classes.at(0).SourceInterface, "_ProbeEvents");
}

TEST_F(ComRuntime, AModuleSomeoneElseCouldReplaceIsNeitherLoadedNorRegistered) {
  namespace fs = std::filesystem;
  const fs::path open = fs::path(module).parent_path() / ("open-" + std::to_string(count));
  fs::create_directories(open);
  const std::string planted = (open / "libprobe.so").string();
  fs::copy_file(module, planted, fs::copy_options::overwrite_existing);
  std::string why;
  const auto refused = [&](const char* reason) {
    SCOPED_TRACE(reason);
    Reroute(planted);
    EXPECT_EQ(ErrorOf([] { CreateObject(kProbe); }, &why), 429);
    EXPECT_NE(why.find(reason), std::string::npos) << why;
    EXPECT_EQ(CallRegistrationEntry(planted, true, &why), E_ACCESSDENIED);
    EXPECT_NE(why.find(reason), std::string::npos) << why;
  };

  fs::permissions(open, fs::perms::all | fs::perms::sticky_bit);  // as /tmp
  refused("フォルダー");
  fs::permissions(open, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  fs::permissions(planted, fs::perms::group_write, fs::perm_options::add);
  refused("グループや他のユーザーが書き換えられます");
  fs::permissions(planted, fs::perms::group_write, fs::perm_options::remove);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(planted.c_str(), 4242, 4242), 0);
    refused("他のユーザー (uid 4242)");
    ASSERT_EQ(::chown(planted.c_str(), 0, 0), 0);
  }
  // Owned and writable by its user alone: loaded.
  Reroute(planted);
  EXPECT_TRUE(CreateObject<IDispatch>(kProbe));
}

}  // namespace

TEST_F(ComRuntime, MachineWideRegistrationsServeWhatTheUserHasNotRegisteredAndStayUnchanged) {
  namespace fs = std::filesystem;
  const fs::path tmp = std::getenv("KELVORA_TEST_TMP");
  const fs::path broken = tmp / "machine1/Kelvora/components.ini";
  const fs::path machine = tmp / "machine2/Kelvora/components.ini";
  fs::create_directories(broken.parent_path());
  fs::create_directories(machine.parent_path());
  std::ofstream(broken) << "not a registry\n";
  // The registration moves from the user's registry to the machine's.
  fs::copy_file(ComponentRegistryPath(), machine, fs::copy_options::overwrite_existing);
  fs::remove(ComponentRegistryPath());
  const std::string machineText = [&] {
    std::ifstream in(machine);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }();
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  const std::string oldDirs = dirs ? dirs : "";
  setenv("XDG_DATA_DIRS", ("relative/share::" + (tmp / "machine1").string() + ":" + (tmp / "machine2").string()).c_str(), 1);

  // A broken machine file is passed over, never moved.
  EXPECT_TRUE(CreateObject<IDispatch>(kProbe));
  EXPECT_TRUE(fs::exists(broken));

  // What the user registers comes first, even when it does not work.
  const ComponentRegistry layer = ReadMachineComponentRegistry(machine.string());
  ASSERT_EQ(layer.Classes.size(), 1u);
  ASSERT_TRUE(UpdateComponentRegistry([&](ComponentRegistry& r) {
    r.Classes.push_back({layer.Classes[0].CLSID, "kvtest.probe", "/nonexistent/libprobe.so", {}});
  }));
  std::string why;
  EXPECT_EQ(ErrorOf([] { CreateObject(kProbe); }, &why), 429);
  EXPECT_NE(why.find("/nonexistent/libprobe.so"), std::string::npos) << why;

  // Unregistering takes the user's entry away and leaves the machine's.
  CoFreeUnusedLibraries();
  ASSERT_EQ(CallRegistrationEntry(module, false), S_OK);
  EXPECT_TRUE(ReadComponentRegistry().Classes.empty());
  EXPECT_TRUE(CreateObject<IDispatch>(kProbe));
  std::ifstream in(machine);
  std::stringstream after;
  after << in.rdbuf();
  EXPECT_EQ(after.str(), machineText);
  setenv("XDG_DATA_DIRS", oldDirs.c_str(), 1);
}
