// The four exported entry points of the component module, and nothing else
// (the module's link step keeps every other symbol local).
#include "htmlview/QuilletServer.h"

KV_COMPONENT_MODULE(QuilletServer::Server())
