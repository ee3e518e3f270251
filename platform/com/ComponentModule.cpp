#include "platform/com/ComponentModule.h"

#include <stdexcept>
#include <string>

namespace platform::com {

const ServerTable& ComponentServer::Table() {
  std::call_once(mDescribed, [this] { mTable.emplace(mDescribe()); });
  return *mTable;
}

const InterfaceDesc& ComponentServer::Interface(const char* name) {
  const InterfaceDesc* found = Table().Info.TypeLib.FindInterface(name);
  if (!found) throw std::logic_error("no interface " + std::string(name) + " in the type library " + Table().Info.TypeLib.Name);
  return *found;
}

}  // namespace platform::com
