#pragma once
// Loadable modules (the outside components the program uses when present):
// found on the program's search path by the name the program asks for,
// loaded once and kept for the life of the process.
#include <string>
#include <vector>

namespace platform {

class ISoundMixer;

// What the host offers a module that exports KvModuleAttach.
struct ModuleHost {
  ISoundMixer* Mixer = nullptr;
  // Looks up a symbol of another module by the name the program uses for it
  // (loading that module if needed); nullptr when missing.
  void* (*FindSymbol)(const char* module, const char* symbol) = nullptr;
};
// Signature of the optional entry point "KvModuleAttach".
using ModuleAttachFunction = void (*)(const ModuleHost*);

// The file a module name stands for on this platform ("DWSPY5.DLL" →
// "libkvportio.so"); names without a mapping are returned unchanged.
std::string ModuleFileName(const std::string& name);
// The other way: the Windows name of a module file ("libQuillet.so" →
// "Quillet.dll"); other names are returned unchanged.
std::string ModuleWindowsName(const std::string& file);

// The error code the last call into a module left (the language's
// LastDllError): 0 after success. Per thread.
int32_t LastDllError();
void SetLastDllError(int32_t value);

// The running program's folder (App.Path), without a trailing separator;
// empty when it cannot be read.
std::string ProgramFolder();

// The folders searched, in order: the running program's folder, the folders
// of KELVORA_MODULE_PATH, of LD_LIBRARY_PATH, then the system library
// folders. The current folder is never searched: empty and relative
// entries of the two variables are skipped.
std::vector<std::string> ModuleSearchPath();

// The full path of the file (a mapped module name, or any file name) found
// on the search path; empty when there is none.
std::string FindOnSearchPath(const std::string& fileName);

// Why code in the file at path must not be loaded: the file (symbolic links
// followed) or the folder holding it belongs to another user (root aside)
// or may be written by its group or by others, so someone else could put
// their code in its place. Empty when it may be loaded.
std::string UnsafeModuleReason(const std::string& path);

class IModule {
 public:
  virtual ~IModule() = default;
  // The exported symbol, or nullptr.
  virtual void* Symbol(const char* name) const = 0;
};

// Loads the module once (later calls return the same object); nullptr when
// it is missing, cannot be loaded or is not safe to load (said on stderr).
IModule* LoadModule(const std::string& name);

}  // namespace platform
