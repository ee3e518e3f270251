#pragma once
// The component information object: the start mode recorded at creation
// and, when the module runs as a component, its version data and path.
#include "htmlview/Quillet.h"
#include "platform/com/ComObject.h"

class clsDLLInfo final : public Quillet::_clsDLLInfo, public platform::com::ObjectBase {
 public:
  static platform::com::HRESULT Create(const platform::com::Guid& iid, void** ppv);

  platform::com::HRESULT QueryInterface(const platform::com::Guid& iid, void** ppv) override;
  uint32_t AddRef() override { return AddRefObject(); }
  uint32_t Release() override { return ReleaseObject(); }
  platform::com::HRESULT GetTypeInfo(const platform::com::InterfaceDesc** ppInfo) override;
  platform::com::HRESULT Invoke(int32_t dispId, platform::com::InvokeKind kind, std::vector<platform::com::Variant>& args,
                                platform::com::Variant* result, platform::com::ExcepInfo* excep) override;

  int32_t StartMode() override { return mintStartMode; }
  int32_t Major() override;
  int32_t Minor() override;
  int32_t Revision() override;
  std::string FileDescription() override { return VersionText("FileDescription"); }
  std::string Comments() override { return VersionText("Comments"); }
  std::string LegalCopyright() override { return VersionText("LegalCopyright"); }
  std::string LegalTrademarks() override { return VersionText("LegalTrademarks"); }
  std::string EXEName() override;
  std::string Path() override;
  std::string Title() override;

 private:
  clsDLLInfo();
  ~clsDLLInfo() override = default;
  bool RunningAsComponent() const { return mintStartMode == 1; }
  std::string VersionText(const char* name) const;

  int16_t mintStartMode = 0;
};
