#pragma once
// The per-user component registry: which module (an absolute path) serves
// each registered class, under its class identifier and its name
// ("Quillet.clsHTML"), and where each type library lives. It is the file
// $XDG_DATA_HOME/Kelvora/components.ini (default ~/.local/share), UTF-8:
//
//   [Class {CLSID}]            [TypeLib {LIBID}]
//   ProgID=Quillet.clsHTML     Name=Quillet
//   InprocServer=/abs/path     Version=1.1
//   TypeLib={LIBID}            LCID=409
//                              Path=/abs/path
//
// Values escape "\" as "\\", line feed as "\n" and carriage return as "\r".
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/Guid.h"

namespace platform::com {

struct ClassRegistration {
  Guid CLSID;
  std::string ProgID;
  std::string InprocServer;
  std::optional<Guid> TypeLib;
  bool operator==(const ClassRegistration&) const = default;
};

struct TypeLibRegistration {
  Guid LIBID;
  std::string Name;
  uint16_t MajorVersion = 0;
  uint16_t MinorVersion = 0;
  uint32_t Lcid = 0;
  std::string Path;
  bool operator==(const TypeLibRegistration&) const = default;
};

struct ComponentRegistry {
  std::vector<ClassRegistration> Classes;
  std::vector<TypeLibRegistration> TypeLibs;

  const ClassRegistration* FindClass(const Guid& clsid) const;
  // By name, ignoring case; the entry registered last when several claim it.
  const ClassRegistration* FindProgID(std::string_view progId) const;
  const TypeLibRegistration* FindTypeLib(const Guid& libid) const;
  const TypeLibRegistration* FindTypeLibByName(std::string_view name) const;
  bool operator==(const ComponentRegistry&) const = default;
};

// The registry written in bytes; nullopt when the bytes are not a whole,
// well-formed registry (torn, not UTF-8, a NUL, an unknown section, a bad
// identifier or number, a line outside a section or without "=", a bad
// escape, a repeated section or key). Unknown keys are ignored.
std::optional<ComponentRegistry> ParseComponentRegistry(std::string_view bytes);
std::string FormatComponentRegistry(const ComponentRegistry& registry);

// The registry file of this user.
std::string ComponentRegistryPath();

// The registry as the file holds it; empty when there is none. A file whose
// bytes cannot be parsed is renamed "<file>.broken-<stamp>" (never
// overwritten) and reads as empty; setAside receives the new name. A file
// that cannot be read (an I/O error, no permission, not a regular file,
// larger than 1 MB) reads as empty and stays as it is; readError says why.
ComponentRegistry ReadComponentRegistry(std::string* setAside = nullptr, std::string* readError = nullptr);

// Reads the registry, applies change and writes it back atomically
// (temporary file, flush, rename; through a symbolic link to its target),
// holding a lock against other programs doing the same. False with a
// message in error when it cannot be written, or when the file there
// cannot be read (it is not written over then).
bool UpdateComponentRegistry(const std::function<void(ComponentRegistry&)>& change, std::string* error = nullptr);

// ---- machine-wide registrations
//
// A package installs the registrations of its components for every user in
// <data folder>/Kelvora/components.ini, one for each folder of
// $XDG_DATA_DIRS (default /usr/local/share:/usr/share; relative entries are
// ignored). They are only read: registering and unregistering change the
// user's registry alone.

// The machine-wide registry files, the first folder first.
std::vector<std::string> MachineComponentRegistryPaths();

// One machine-wide registry file; empty when there is none. One that cannot
// be read or parsed is reported on stderr and reads as empty (it is never
// moved: it is not the user's).
ComponentRegistry ReadMachineComponentRegistry(const std::string& path);

// What the runtime looks classes up in: the user's registry first, then
// each machine-wide file in turn. A class (by identifier or name) or type
// library (by identifier or name) comes from the first layer that names it,
// so a user's registration overrides the machine's.
ComponentRegistry ReadLayeredComponentRegistry(std::string* readError = nullptr);

}  // namespace platform::com
