#pragma once
// The platform's standard in-process server: a component module describes
// its classes, type library, version data and resources in one table and
// its four entry points hand that table to these routines.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/com/ComTypeInfo.h"

namespace platform::com {

// The version data of a module file (its version resource).
struct VersionInfo {
  std::array<uint16_t, 4> FileVersion{};
  std::array<uint16_t, 4> ProductVersion{};
  uint16_t Language = 0;
  std::vector<std::pair<std::string, std::string>> Strings;  // FileVersion, ProductName, ...

  // The text of that name; empty when the data has none.
  std::string String(const std::string& name) const;
  bool Has(const std::string& name) const;
};

// A small named resource of the module.
struct Resource {
  std::string Name;
  std::vector<uint8_t> Data;
};

// What a module tells about itself; hosts get a copy through the runtime.
struct ComponentInfo {
  TypeLibDesc TypeLib;
  VersionInfo Version;
  std::vector<Resource> Resources;

  const Resource* FindResource(const std::string& name) const;
};

struct ClassInfo {
  Guid CLSID;
  std::string ProgID;  // type library name, a dot, class name
  // Creates a new object and returns its interface iid.
  HRESULT (*Create)(const Guid& iid, void** ppv) = nullptr;
};

struct ServerTable {
  ComponentInfo Info;
  std::vector<ClassInfo> Classes;
};

// Answered by every class object of a standard server (and by the object
// asked for with the type library's identifier in place of a class).
class IComponentInfo : public IUnknown {
 public:
  static constexpr Guid IID = GuidOf("{6A1F3C20-8B7E-4D52-9E61-2C4B7F0D9A13}");
  virtual const ComponentInfo& Info() = 0;

 protected:
  ~IComponentInfo() = default;
};

// The entry points every component module exports (C linkage).
using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();
using DllGetClassObjectFunction = HRESULT (*)(const Guid* clsid, const Guid* iid, void** ppv);
using DllCanUnloadNowFunction = HRESULT (*)();

// Writes the table's classes and type library to the registry with the
// absolute path of the module that holds address (any function of the
// module). Only these entries change. SELFREG_E_CLASS when the module's
// path is unknown, REGDB_E_WRITEREGDB when the registry cannot be written.
HRESULT ServerRegister(const ServerTable& table, const void* address);
// Removes the same entries, and nothing else.
HRESULT ServerUnregister(const ServerTable& table);
HRESULT ServerGetClassObject(const ServerTable& table, ServerModule& module, const Guid& clsid, const Guid& iid,
                             void** ppv);
// S_OK when no object or lock of the module is alive, else S_FALSE.
HRESULT ServerCanUnloadNow(const ServerModule& module);

}  // namespace platform::com
