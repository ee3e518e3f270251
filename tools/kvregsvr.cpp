// Registers component modules in the user's component registry through
// their own entry points, removes them again, or lists what is registered.
//
//   kvregsvr MODULE        register (DllRegisterServer)
//   kvregsvr -u MODULE     unregister (DllUnregisterServer)
//   kvregsvr --list        list the registered classes and type libraries
//   kvregsvr --types NAME  print the type description of a class or type library
//
// MODULE is a path to the module file, or a module name ("Quillet.dll",
// "libQuillet.so") looked for on the program's search path; the current
// folder is searched only when the name says so ("./libQuillet.so").
// Exit codes: 0 done, 1 the module reported a failure, 2 wrong use,
// 3 module not found, not loadable or not safe to load (another user's, or
// writable by others), 4 not a component module.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/ComRegistry.h"
#include "platform/ComRuntime.h"
#include "platform/ComTypeInfo.h"
#include "platform/Module.h"
#include "platform/RuntimeError.h"

namespace {

namespace com = platform::com;

int Usage() {
  std::fprintf(stderr,
               "使い方: kvregsvr MODULE        コンポーネントを登録します\n"
               "        kvregsvr -u MODULE     登録を解除します\n"
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

int Register(const std::string& name, bool vblnRegister) {
  const std::string path = ResolveModule(name);
  if (path.empty()) return 3;
  std::string why;
  const com::HRESULT hr = com::CallRegistrationEntry(path, vblnRegister, &why);
  if (com::Succeeded(hr)) {
    std::printf(vblnRegister ? "%s を登録しました。\n" : "%s の登録を解除しました。\n", path.c_str());
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

int List() {
  std::string setAside, unreadable;
  const com::ComponentRegistry registry = com::ReadComponentRegistry(&setAside, &unreadable);
  std::printf("登録ファイル: %s\n", com::ComponentRegistryPath().c_str());
  if (!setAside.empty()) std::printf("(壊れていたファイルを %s に退避しました)\n", setAside.c_str());
  // Why it cannot be read was said on stderr.
  if (!unreadable.empty()) return 1;
  if (registry.Classes.empty() && registry.TypeLibs.empty()) std::printf("登録されているコンポーネントはありません。\n");
  for (const com::ClassRegistration& entry : registry.Classes) {
    std::printf("クラス    %-22s %s %s%s\n", entry.ProgID.c_str(), com::FormatGuid(entry.CLSID).c_str(),
                entry.InprocServer.c_str(), ModuleState(entry.InprocServer).c_str());
  }
  for (const com::TypeLibRegistration& entry : registry.TypeLibs) {
    std::printf("型ライブラリ %-19s %s %u.%u %s%s\n", entry.Name.c_str(), com::FormatGuid(entry.LIBID).c_str(),
                entry.MajorVersion, entry.MinorVersion, entry.Path.c_str(), ModuleState(entry.Path).c_str());
  }
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
  if (argc == 2 && argv[1][0] != '-') return Register(argv[1], true);
  return Usage();
}
