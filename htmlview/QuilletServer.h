#pragma once
// What makes Quillet a component: its class table (classes, type library,
// version data and resources) and its count of live objects, which the
// module's four entry points hand to the platform's standard server.
#include "platform/com/ComponentModule.h"

namespace QuilletServer {

platform::com::ComponentServer& Server();

}  // namespace QuilletServer
