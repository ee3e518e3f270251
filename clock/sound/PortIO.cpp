#include "clock/sound/PortIO.h"

#include "platform/Module.h"

namespace {

using InpFunction = int16_t (*)(int16_t);
using OutpFunction = void (*)(int16_t, int16_t);

class ModulePortIO final : public IPortIO {
 public:
  ModulePortIO(InpFunction inp, OutpFunction outp) : mInp(inp), mOutp(outp) {}
  int16_t agInp(int16_t vintPort) override { return mInp(vintPort); }
  void agOutp(int16_t vintPort, int16_t vintValue) override { mOutp(vintPort, vintValue); }

 private:
  InpFunction mInp;
  OutpFunction mOutp;
};

}  // namespace

IPortIO* PortIOModule() {
  static IPortIO* port = []() -> IPortIO* {
    platform::IModule* module = platform::LoadModule("DWSPY5.DLL");
    if (!module) return nullptr;
    auto inp = reinterpret_cast<InpFunction>(module->Symbol("agInp"));
    auto outp = reinterpret_cast<OutpFunction>(module->Symbol("agOutp"));
    if (!inp || !outp) return nullptr;
    static ModulePortIO instance(inp, outp);
    return &instance;
  }();
  return port;
}
