#pragma once
// A creatable clsHTML object: the viewer behind its default interface
// _clsHTML, reachable by member number too, raising the viewer's events to
// the sinks connected to __clsHTML.
#include <memory>

#include "htmlview/Quillet.h"
#include "htmlview/clsHTML.h"
#include "platform/com/ComObject.h"

class clsHTMLObject final : public Quillet::_clsHTML, public platform::com::IConnectionPoint,
                            public platform::com::ObjectBase {
 public:
  // The class's creation routine in the class table.
  static platform::com::HRESULT Create(const platform::com::Guid& iid, void** ppv);

  platform::com::HRESULT QueryInterface(const platform::com::Guid& iid, void** ppv) override;
  uint32_t AddRef() override { return AddRefObject(); }
  uint32_t Release() override { return ReleaseObject(); }

  platform::com::HRESULT GetTypeInfo(const platform::com::InterfaceDesc** ppInfo) override;
  platform::com::HRESULT Invoke(int32_t dispId, platform::com::InvokeKind kind, std::vector<platform::com::Variant>& args,
                                platform::com::Variant* result, platform::com::ExcepInfo* excep) override;

  platform::com::HRESULT Advise(IUnknown* sink, uint32_t* cookie) override { return mSinks.Advise(sink, cookie); }
  platform::com::HRESULT Unadvise(uint32_t cookie) override { return mSinks.Unadvise(cookie); }

  bool GoNext() override { const auto call = Hold(); return mHTML.GoNext(); }
  bool GoBack() override { const auto call = Hold(); return mHTML.GoBack(); }
  bool DispHTML(bool blnForce) override { const auto call = Hold(); return mHTML.DispHTML(blnForce); }
  bool Initialize() override { const auto call = Hold(); return mHTML.Initialize(); }
  void SetCanvas(platform::IControl* vNewValue) override { const auto call = Hold(); mHTML.SetCanvas(vNewValue); }
  void SetWorkCanvas(platform::IControl* vNewValue) override { const auto call = Hold(); mHTML.SetWorkCanvas(vNewValue); }
  void SetVScroll(platform::IControl* vNewValue) override { const auto call = Hold(); mHTML.SetVScroll(vNewValue); }
  void SetBackFrame(platform::IControl* vNewValue) override { const auto call = Hold(); mHTML.SetBackFrame(vNewValue); }
  void SetEnableDispEnd(bool vNewValue) override { const auto call = Hold(); mHTML.SetEnableDispEnd(vNewValue); }
  void SetFontSize(int16_t vNewValue) override { const auto call = Hold(); mHTML.SetFontSize(vNewValue); }
  void SetExecuteType(int16_t vNewValue) override { const auto call = Hold(); mHTML.SetExecuteType(vNewValue); }
  std::string PlaneText() override { const auto call = Hold(); return mHTML.PlaneText(); }
  void SetAutoHeight(bool vNewValue) override { const auto call = Hold(); mHTML.SetAutoHeight(vNewValue); }
  bool AutoHeight() override { const auto call = Hold(); return mHTML.AutoHeight(); }
  void SetBGColor(int32_t vNewValue) override { const auto call = Hold(); mHTML.SetBGColor(vNewValue); }
  int32_t CanvasHeight() override { const auto call = Hold(); return mHTML.CanvasHeight(); }
  int32_t CanvasTop() override { const auto call = Hold(); return mHTML.CanvasTop(); }
  int32_t CanvasLeft() override { const auto call = Hold(); return mHTML.CanvasLeft(); }
  void SetHtmlFile(const std::string& vNewValue) override { const auto call = Hold(); mHTML.SetHtmlFile(vNewValue); }
  std::string HtmlFile() override { const auto call = Hold(); return mHTML.HtmlFile(); }
  void SetCurName(const std::string& vNewValue) override { const auto call = Hold(); mHTML.SetCurName(vNewValue); }
  std::string CurName() override { const auto call = Hold(); return mHTML.CurName(); }
  void Move(int32_t l, int32_t t, int32_t w, int32_t h) override { const auto call = Hold(); mHTML.Move(l, t, w, h); }
  void ShowBrowser(bool bln1) override { const auto call = Hold(); mHTML.ShowBrowser(bln1); }
  platform::IPictureBox* Canvas() override { const auto call = Hold(); return mHTML.Canvas(); }
  std::string DispError() override { const auto call = Hold(); return mHTML.DispError(); }

 private:
  clsHTMLObject();
  // Held by every member for the length of the call (the viewer's control
  // events hold one too).
  platform::com::ComponentCall Hold() { return platform::com::ComponentCall(static_cast<Quillet::_clsHTML*>(this)); }
  ~clsHTMLObject() override;

  platform::com::Variant Call(int32_t dispId, platform::com::InvokeKind kind, std::vector<platform::com::Variant>& args);

  clsHTML mHTML;
  platform::com::SinkList mSinks;
};
