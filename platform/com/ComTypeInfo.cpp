#include "platform/com/ComTypeInfo.h"

#include <cstdio>

namespace platform::com {

const MemberDesc* InterfaceDesc::Find(int32_t dispId, InvokeKind kind) const {
  for (const MemberDesc& member : Members) {
    if (member.DispId == dispId && member.Kind == kind) return &member;
  }
  return nullptr;
}

const InterfaceDesc* TypeLibDesc::FindInterface(const std::string& name) const {
  for (const InterfaceDesc& item : Interfaces) {
    if (item.Name == name) return &item;
  }
  return nullptr;
}

const CoClassDesc* TypeLibDesc::FindClass(const std::string& name) const {
  for (const CoClassDesc& item : Classes) {
    if (item.Name == name) return &item;
  }
  return nullptr;
}

namespace {

const char* KindText(InvokeKind kind) {
  switch (kind) {
    case InvokeKind::PropertyGet: return "propget";
    case InvokeKind::PropertyPut: return "propput";
    case InvokeKind::PropertyPutRef: return "propputref";
    default: return "method";
  }
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

}  // namespace

std::string DescribeTypeLib(const TypeLibDesc& lib) {
  std::string out = "library " + lib.Name + " " + FormatGuid(lib.LIBID) + " version " +
                    std::to_string(lib.MajorVersion) + "." + std::to_string(lib.MinorVersion) + " lcid " +
                    Hex(lib.Lcid) + "\n";
  for (const InterfaceDesc& item : lib.Interfaces) {
    out += "  interface " + item.Name + " " + FormatGuid(item.IID) + (item.Dual ? " dual" : " dispinterface") +
           (item.Hidden ? " hidden" : "") + "\n";
    for (const Guid& alias : item.Aliases) out += "    alias " + FormatGuid(alias) + "\n";
    for (const MemberDesc& member : item.Members) {
      out += "    [" + std::to_string(member.DispId) + " " + KindText(member.Kind) + "] " + member.Name + "(";
      for (size_t i = 0; i < member.Params.size(); ++i) {
        const ParamDesc& param = member.Params[i];
        out += (i ? ", " : "") + std::string(param.ByRef ? "ByRef " : "") + param.Name + " As " +
               VarTypeName(param.Type);
      }
      out += ")";
      if (member.Result != VarType::Empty) out += std::string(" As ") + VarTypeName(member.Result);
      out += "\n";
    }
  }
  for (const CoClassDesc& item : lib.Classes) {
    out += "  coclass " + item.Name + " " + FormatGuid(item.CLSID) + " default " + item.DefaultInterface;
    if (!item.SourceInterface.empty()) out += " source " + item.SourceInterface;
    out += "\n";
  }
  return out;
}

}  // namespace platform::com
