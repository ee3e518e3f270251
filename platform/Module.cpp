#include "platform/Module.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

#include "platform/Sound.h"

namespace platform {
namespace {

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

void AppendFolders(std::vector<std::string>& folders, const char* list) {
  if (!list) return;
  std::string rest = list;
  size_t start = 0;
  while (start <= rest.size()) {
    const size_t end = std::min(rest.find(':', start), rest.size());
    // Empty and relative entries would be found from the current folder:
    // skipped on purpose.
    if (end > start && rest[start] == '/') folders.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
}

class LoadedModule final : public IModule {
 public:
  explicit LoadedModule(void* handle) : mHandle(handle) {}
  void* Symbol(const char* name) const override { return dlsym(mHandle, name); }

 private:
  void* mHandle;  // never closed: the mixer may still hold the module's sources
};

void* FindModuleSymbol(const char* module, const char* symbol) {
  IModule* loaded = LoadModule(module ? module : "");
  return loaded && symbol ? loaded->Symbol(symbol) : nullptr;
}

}  // namespace

namespace {

// The one place where the outside components' Windows names meet the files
// that replace them.
const std::map<std::string, std::string>& ModuleFiles() {
  static const std::map<std::string, std::string> files{
      {"DWSPY5.DLL", "libkvportio.so"},
      {"TEGSPKR3.OCX", "libkvbuzzer.so"},
      {"Quillet.dll", "libQuillet.so"},
  };
  return files;
}

}  // namespace

std::string ModuleFileName(const std::string& name) {
  for (const auto& [windows, file] : ModuleFiles()) {
    if (Upper(windows) == Upper(name)) return file;
  }
  return name;
}

std::string ModuleWindowsName(const std::string& file) {
  for (const auto& [windows, mapped] : ModuleFiles()) {
    if (mapped == file) return windows;
  }
  return file;
}

namespace {
thread_local int32_t gLastDllError = 0;
}

int32_t LastDllError() { return gLastDllError; }
void SetLastDllError(int32_t value) { gLastDllError = value; }

std::vector<std::string> ModuleSearchPath() {
  std::vector<std::string> folders;
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) folders.push_back(self.parent_path().string());
  AppendFolders(folders, std::getenv("KELVORA_MODULE_PATH"));
  AppendFolders(folders, std::getenv("LD_LIBRARY_PATH"));
  for (const char* system : {"/usr/local/lib", "/usr/lib/x86_64-linux-gnu", "/usr/lib", "/lib"}) {
    folders.emplace_back(system);
  }
  return folders;
}

std::string FindOnSearchPath(const std::string& fileName) {
  const std::string file = ModuleFileName(fileName);
  if (file.empty() || file.find('/') != std::string::npos) return {};
  for (const std::string& folder : ModuleSearchPath()) {
    const std::filesystem::path candidate = std::filesystem::path(folder) / file;
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate.string();
  }
  return {};
}

namespace {

// Why the owner and mode of one file or folder make it unsafe; empty if not.
std::string UnsafeOwnerOrMode(const struct stat& info) {
  const uid_t me = ::geteuid();
  if (info.st_uid != me && info.st_uid != 0) return "他のユーザー (uid " + std::to_string(info.st_uid) + ") のものです";
  if (info.st_mode & (S_IWGRP | S_IWOTH)) return "グループや他のユーザーが書き換えられます";
  return {};
}

}  // namespace

std::string UnsafeModuleReason(const std::string& path) {
  std::error_code error;
  const std::filesystem::path file = std::filesystem::canonical(path, error);
  if (error) return "モジュール " + path + " が見つかりません";
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return "モジュール " + path + " を調べられません";
  if (std::string why = UnsafeOwnerOrMode(info); !why.empty()) return "モジュール " + file.string() + " は" + why;
  const std::filesystem::path folder = file.parent_path();
  if (::stat(folder.c_str(), &info) != 0) return "モジュール " + path + " のフォルダーを調べられません";
  if (std::string why = UnsafeOwnerOrMode(info); !why.empty())
    return "モジュール " + file.string() + " のフォルダー " + folder.string() + " は" + why;
  return {};
}

IModule* LoadModule(const std::string& name) {
  static std::mutex lock;
  static std::map<std::string, std::unique_ptr<LoadedModule>> loaded;
  std::unique_lock<std::mutex> guard(lock);
  const std::string key = Upper(name);
  if (const auto found = loaded.find(key); found != loaded.end()) return found->second.get();

  const std::string path = FindOnSearchPath(name);
  if (path.empty()) return nullptr;
  if (const std::string why = UnsafeModuleReason(path); !why.empty()) {
    std::fprintf(stderr, "Kelvora: %s。読み込みません。\n", why.c_str());
    return nullptr;
  }
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  auto module = std::make_unique<LoadedModule>(handle);
  IModule* result = module.get();
  loaded.emplace(key, std::move(module));
  guard.unlock();

  if (auto attach = reinterpret_cast<ModuleAttachFunction>(dlsym(handle, "KvModuleAttach"))) {
    static const ModuleHost host{&SoundEngine(), &FindModuleSymbol};
    attach(&host);
  }
  return result;
}

std::string ProgramFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

}  // namespace platform
