#pragma once
// What makes Quillet a component: its class table (classes, type library,
// version data and resources) and its count of live objects, which the
// module's four entry points hand to the platform's standard server.
#include "platform/ComServer.h"

namespace QuilletServer {

const platform::com::ServerTable& Table();
platform::com::ServerModule& Module();
// The description of one of the type library's interfaces.
const platform::com::InterfaceDesc& Interface(const char* name);

}  // namespace QuilletServer
