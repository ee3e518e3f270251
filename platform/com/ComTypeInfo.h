#pragma once
// The type description of a component (its type library): the classes, the
// interfaces with their members, member numbers and parameter names, and
// the event interfaces. Plain values, so that a host keeps a copy after the
// module is gone.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/ComVariant.h"
#include "platform/com/Guid.h"

namespace platform::com {

enum class InvokeKind : uint16_t { Method = 1, PropertyGet = 2, PropertyPut = 4, PropertyPutRef = 8 };

struct ParamDesc {
  std::string Name;
  VarType Type = VarType::Empty;
  bool ByRef = false;
};

struct MemberDesc {
  int32_t DispId = 0;  // the member number of late-bound calls
  std::string Name;
  InvokeKind Kind = InvokeKind::Method;
  std::vector<ParamDesc> Params;
  VarType Result = VarType::Empty;  // Empty: no result
};

struct InterfaceDesc {
  std::string Name;
  Guid IID;
  std::vector<Guid> Aliases;  // earlier identifiers still answered
  bool Dual = false;          // reachable through its vtable and by member number
  bool Hidden = false;
  std::vector<MemberDesc> Members;

  // The member of that number and kind, or nullptr.
  const MemberDesc* Find(int32_t dispId, InvokeKind kind) const;
};

struct CoClassDesc {
  std::string Name;
  Guid CLSID;
  std::string DefaultInterface;
  std::string SourceInterface;  // the event interface; empty when none
};

struct TypeLibDesc {
  std::string Name;
  Guid LIBID;
  uint16_t MajorVersion = 1;
  uint16_t MinorVersion = 0;
  uint32_t Lcid = 0;
  std::vector<InterfaceDesc> Interfaces;
  std::vector<CoClassDesc> Classes;

  const InterfaceDesc* FindInterface(const std::string& name) const;
  const CoClassDesc* FindClass(const std::string& name) const;
};

// The description as readable text, in the manner of an interface
// definition listing.
std::string DescribeTypeLib(const TypeLibDesc& lib);

}  // namespace platform::com
