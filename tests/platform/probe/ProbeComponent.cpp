// A small component module for the runtime's tests: class "KvTest.Probe"
// reached by member number, with one event. Its members call back into the
// host's services, raise errors and report how the module was loaded.
#include <stdexcept>

#include "platform/com/ComRuntime.h"
#include "platform/com/ComponentModule.h"
#include "platform/Services.h"

using namespace platform::com;

namespace {

constexpr Guid LIBID_Probe = GuidOf("{8FF869D5-4551-40DF-B6C9-C49211393A44}");
constexpr Guid CLSID_Probe = GuidOf("{7FB5D71B-29FA-494E-939D-31F178CF0CB4}");
constexpr Guid DIID_Probe = GuidOf("{3CAB41C0-D6CB-4E4D-B37A-D021B54D02DE}");
constexpr Guid DIID_ProbeEvents = GuidOf("{CAFD6105-02A1-4C79-828E-ADF512AED313}");

ComponentServer& Server();

class Probe final : public IDispatch, public IConnectionPoint, public ObjectBase {
 public:
  static HRESULT Create(const Guid& iid, void** ppv) {
    ComPtr<Probe> object(new Probe);
    return object->QueryInterface(iid, ppv);
  }
  HRESULT QueryInterface(const Guid& iid, void** ppv) override {
    if (iid == IUnknown::IID || iid == IDispatch::IID || iid == DIID_Probe) return Answer(static_cast<IDispatch*>(this), ppv);
    if (iid == IConnectionPoint::IID) return Answer(static_cast<IConnectionPoint*>(this), ppv);
    return Answer<IUnknown>(nullptr, ppv);
  }
  uint32_t AddRef() override { return AddRefObject(); }
  uint32_t Release() override { return ReleaseObject(); }
  HRESULT GetTypeInfo(const InterfaceDesc** ppInfo) override {
    *ppInfo = &Server().Table().Info.TypeLib.Interfaces[0];
    return S_OK;
  }
  HRESULT Advise(IUnknown* sink, uint32_t* cookie) override { return mSinks.Advise(sink, cookie); }
  HRESULT Unadvise(uint32_t cookie) override { return mSinks.Unadvise(cookie); }

  HRESULT Invoke(int32_t dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result, ExcepInfo* excep) override {
    const HRESULT checked = CheckInvoke(Server().Table().Info.TypeLib.Interfaces[0], dispId, kind, args.size());
    if (Failed(checked)) return checked;
    return InvokeGuarded(excep, [&] {
      Variant value;
      switch (dispId) {
        case 1:  // Echo(ByRef text): appends "!" and returns the new length
          args[0] = args[0].AsString() + "!";
          value = static_cast<int32_t>(args[0].AsString().size());
          break;
        case 2:  // Fail(number)
          throw platform::RuntimeError(args[0].AsLong(), "プローブの失敗", "KvTest");
        case 3:  // Notify(text): a message box of the host
          value = platform::MessageBox().Show(args[0].AsString(), platform::vbOKOnly, "probe");
          break;
        case 4: {  // Fire(value): event Ping(ByRef value), returns what the sinks left
          std::vector<Variant> event{args[0].AsInteger()};
          mSinks.Raise(1, event);
          value = event[0];
          break;
        }
        case 5: value = static_cast<int32_t>(ModuleStartMode(reinterpret_cast<const void*>(&Server))); break;
        default: break;
      }
      if (result) *result = value;
      return S_OK;
    });
  }

 private:
  Probe() : ObjectBase(Server().Module()) {}
  SinkList mSinks;
};

ServerTable MakeTable() {
  ServerTable table;
  table.Info.TypeLib = {"KvTest", LIBID_Probe, 1, 0, 0, {}, {}};
  table.Info.TypeLib.Interfaces = {
      {"_Probe",
       DIID_Probe,
       {},
       false,
       false,
       {{1, "Echo", InvokeKind::Method, {{"text", VarType::String, true}}, VarType::Long},
        {2, "Fail", InvokeKind::Method, {{"number", VarType::Long, false}}, VarType::Empty},
        {3, "Notify", InvokeKind::Method, {{"text", VarType::String, false}}, VarType::Long},
        {4, "Fire", InvokeKind::Method, {{"value", VarType::Integer, false}}, VarType::Integer},
        {5, "StartMode", InvokeKind::PropertyGet, {}, VarType::Long}}},
      {"_ProbeEvents", DIID_ProbeEvents, {}, false, false, {{1, "Ping", InvokeKind::Method, {{"value", VarType::Integer, true}}, VarType::Empty}}},
  };
  table.Info.TypeLib.Classes = {{"Probe", CLSID_Probe, "_Probe", "_ProbeEvents"}};
  table.Classes = {{CLSID_Probe, "KvTest.Probe", &Probe::Create}};
  return table;
}

ComponentServer& Server() {
  static ComponentServer server(&MakeTable);
  return server;
}

}  // namespace

KV_COMPONENT_MODULE(Server())
