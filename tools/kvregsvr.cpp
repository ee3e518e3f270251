// Registers component modules in the user's component registry through
// their own entry points, removes them again, or lists what is registered.
//
//   kvregsvr MODULE        register (DllRegisterServer)
//   kvregsvr -u MODULE     unregister (DllUnregisterServer)
//   kvregsvr --as DIR MODULE
//                          register MODULE under the path it will have once
//                          installed in DIR (the build makes the machine-wide
//                          registration of a package this way, in a scratch
//                          registry)
//   kvregsvr --list        list the registered classes and type libraries of
//                          the user and of the machine, with their layer
//   kvregsvr --types NAME  print the type description of a class or type library
//
// Only the user's registry is ever written; machine-wide registrations come
// with a package and go with it.
// MODULE is a path to the module file, or a module name ("Quillet.dll",
// "libQuillet.so") looked for on the program's search path; the current
// folder is searched only when the name says so ("./libQuillet.so").
// Exit codes: 0 done, 1 the module reported a failure, 2 wrong use,
// 3 module not found, not loadable or not safe to load (another user's, or
// writable by others), 4 not a component module.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/com/ComRegistry.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/ComTypeInfo.h"
#include "platform/Module.h"
#include "platform/RuntimeError.h"

namespace {

namespace com = platform::com;

int Usage() {
  std::fprintf(stderr,
               "使い方: kvregsvr MODULE        コンポーネントを登録します\n"
               "        kvregsvr -u MODULE     登録を解除します\n"
               "        kvregsvr --as DIR MODULE  インストール先 DIR にあるものとして登録します\n"
               "        kvregsvr --list        登録されているコンポーネントを表示します\n"
               "        kvregsvr --types NAME  クラスまたは型ライブラリの型情報を表示します\n"
               "MODULE はモジュールファイルのパス、または検索パス上のモジュール名 (Quillet.dll など) です。\n");
  return 2;
}

// The module's absolute path; empty with a message when there is none.
std::string ResolveModule(const std::string& name) {
  std::error_code error;
  if (name.find('/') == std::string::npos) {
    const std::string found = platform::FindOnSearchPath(name);
    if (found.empty()) {
      std::fprintf(stderr,
                   "kvregsvr: モジュール %s が検索パス上に見つかりません。"
                   "ファイルのパスで指定してください (例: ./%s)。\n",
                   name.c_str(), platform::ModuleFileName(name).c_str());
      return {};
    }
    return std::filesystem::canonical(found, error).string();
  }
  const std::filesystem::path path = std::filesystem::canonical(std::filesystem::absolute(name, error), error);
  if (error) {
    std::fprintf(stderr, "kvregsvr: モジュール %s が見つかりません。\n", name.c_str());
    return {};
  }
  if (!std::filesystem::is_regular_file(path, error)) {
    std::fprintf(stderr, "kvregsvr: %s はモジュールファイルではありません。\n", path.c_str());
    return {};
  }
  return path.string();
}

// Unregistering changes the user's registry only: say when the machine's
// registration of the same module stays in force.
void WarnOfMachineEntries(const std::string& path) {
  const std::string file = std::filesystem::path(path).filename().string();
  for (const std::string& registry : com::MachineComponentRegistryPaths()) {
    for (const com::ClassRegistration& entry : com::ReadMachineComponentRegistry(registry).Classes) {
      if (std::filesystem::path(entry.InprocServer).filename() == file) {
        std::printf("(全体の登録 %s の %s は残ります。パッケージと共に削除されます)\n", registry.c_str(),
                    entry.ProgID.c_str());
        return;
      }
    }
  }
}

// Points the user's entries of the module at path to the same file in dir.
bool MoveEntries(const std::string& path, const std::string& dir) {
  const std::string installed = (std::filesystem::path(dir) / std::filesystem::path(path).filename()).string();
  std::string error;
  const bool moved = com::UpdateComponentRegistry(
      [&](com::ComponentRegistry& registry) {
        for (com::ClassRegistration& entry : registry.Classes) {
          if (entry.InprocServer == path) entry.InprocServer = installed;
        }
        for (com::TypeLibRegistration& entry : registry.TypeLibs) {
          if (entry.Path == path) entry.Path = installed;
        }
      },
      &error);
  if (!moved) std::fprintf(stderr, "kvregsvr: %s\n", error.c_str());
  return moved;
}

// installedIn: the folder the module will be installed in (empty: where it is).
int Register(const std::string& name, bool vblnRegister, const std::string& installedIn = {}) {
  const std::string path = ResolveModule(name);
  if (path.empty()) return 3;
  std::string why;
  const com::HRESULT hr = com::CallRegistrationEntry(path, vblnRegister, &why);
  if (com::Succeeded(hr)) {
    if (!installedIn.empty() && !MoveEntries(path, installedIn)) return 1;
    std::printf(vblnRegister ? "%s を登録しました。\n" : "%s の登録を解除しました。\n", path.c_str());
    if (!vblnRegister) WarnOfMachineEntries(path);
    return 0;
  }
  std::fprintf(stderr, vblnRegister ? "kvregsvr: %s を登録できませんでした: %s\n"
                                    : "kvregsvr: %s の登録を解除できませんでした: %s\n",
               path.c_str(), why.c_str());
  if (hr == com::REGDB_E_WRITEREGDB) {
    std::fprintf(stderr, "kvregsvr: 登録ファイル %s に書き込めません。フォルダーの書き込み権と空き容量を確かめてください。\n",
                 com::ComponentRegistryPath().c_str());
  }
  if (hr == com::CO_E_DLLNOTFOUND || hr == com::CO_E_ERRORINDLL || hr == com::E_ACCESSDENIED) return 3;
  if (hr == com::TYPE_E_DLLFUNCTIONNOTFOUND) return 4;
  return 1;
}

std::string ModuleState(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) ? "" : "  (モジュールが見つかりません)";
}

// The entries of one layer; those an earlier layer overrides are marked.
void ListLayer(const char* layer, const com::ComponentRegistry& registry, const com::ComponentRegistry& earlier) {
  for (const com::ClassRegistration& entry : registry.Classes) {
    const bool hidden = earlier.FindClass(entry.CLSID) || earlier.FindProgID(entry.ProgID);
    std::printf("%s クラス    %-22s %s %s%s%s\n", layer, entry.ProgID.c_str(), com::FormatGuid(entry.CLSID).c_str(),
                entry.InprocServer.c_str(), ModuleState(entry.InprocServer).c_str(), hidden ? "  (利用者の登録が優先)" : "");
  }
  for (const com::TypeLibRegistration& entry : registry.TypeLibs) {
    const bool hidden = earlier.FindTypeLib(entry.LIBID) || earlier.FindTypeLibByName(entry.Name);
    std::printf("%s 型ライブラリ %-19s %s %u.%u %s%s%s\n", layer, entry.Name.c_str(), com::FormatGuid(entry.LIBID).c_str(),
                entry.MajorVersion, entry.MinorVersion, entry.Path.c_str(), ModuleState(entry.Path).c_str(),
                hidden ? "  (利用者の登録が優先)" : "");
  }
}

int List() {
  std::string setAside, unreadable;
  com::ComponentRegistry seen = com::ReadComponentRegistry(&setAside, &unreadable);
  bool any = !seen.Classes.empty() || !seen.TypeLibs.empty();
  std::printf("利用者の登録ファイル: %s\n", com::ComponentRegistryPath().c_str());
  if (!setAside.empty()) std::printf("(壊れていたファイルを %s に退避しました)\n", setAside.c_str());
  // Why it cannot be read was said on stderr.
  if (!unreadable.empty()) return 1;
  ListLayer("[利用者]", seen, {});
  for (const std::string& path : com::MachineComponentRegistryPaths()) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) continue;
    std::printf("全体の登録ファイル: %s\n", path.c_str());
    const com::ComponentRegistry layer = com::ReadMachineComponentRegistry(path);
    ListLayer("[全体]  ", layer, seen);
    any = any || !layer.Classes.empty() || !layer.TypeLibs.empty();
    seen.Classes.insert(seen.Classes.end(), layer.Classes.begin(), layer.Classes.end());
    seen.TypeLibs.insert(seen.TypeLibs.end(), layer.TypeLibs.begin(), layer.TypeLibs.end());
  }
  if (!any) std::printf("登録されているコンポーネントはありません。\n");
  return 0;
}

int Types(const std::string& name) {
  try {
    const com::ComponentInfo info = com::GetComponentInfo(name);
    std::printf("%s", com::DescribeTypeLib(info.TypeLib).c_str());
    const auto& v = info.Version.FileVersion;
    std::printf("  version %u.%u.%u.%u", v[0], v[1], v[2], v[3]);
    for (const auto& [key, value] : info.Version.Strings) std::printf("\n  %s: %s", key.c_str(), value.c_str());
    std::printf("\n");
    for (const com::Resource& resource : info.Resources) {
      std::printf("  resource %s (%zu bytes)\n", resource.Name.c_str(), resource.Data.size());
    }
    return 0;
  } catch (const platform::RuntimeError& error) {
    std::fprintf(stderr, "kvregsvr: %s\n", error.Description().c_str());
    return 3;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help")) {
    Usage();
    return 0;
  }
  if (argc == 2 && std::string(argv[1]) == "--list") return List();
  if (argc == 3 && std::string(argv[1]) == "--types") return Types(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "-u") return Register(argv[2], false);
  if (argc == 4 && std::string(argv[1]) == "--as" && argv[2][0] == '/') return Register(argv[3], true, argv[2]);
  if (argc == 2 && argv[1][0] != '-') return Register(argv[1], true);
  return Usage();
}
