#include "htmlview/clsHTMLObject.h"

#include "htmlview/QuilletServer.h"

using namespace platform::com;

clsHTMLObject::clsHTMLObject() : ObjectBase(QuilletServer::Server().Module()) {
  mHTML.SetOwner(static_cast<Quillet::_clsHTML*>(this));
  mHTML.LinkClick = [this](const std::string& vstrHRef, int16_t& rintRet) {
    std::vector<Variant> args{vstrHRef, rintRet};
    mSinks.Raise(Quillet::clsHTMLEvent::LinkClick, args);
    rintRet = args[1].AsInteger();
  };
  mHTML.LinkRightClick = [this](const std::string& vstrHRef) {
    std::vector<Variant> args{vstrHRef};
    mSinks.Raise(Quillet::clsHTMLEvent::LinkRightClick, args);
  };
  mHTML.MouseDown = [this](int16_t& Button) {
    std::vector<Variant> args{Button};
    mSinks.Raise(Quillet::clsHTMLEvent::MouseDown, args);
    Button = args[0].AsInteger();
  };
  mHTML.DispDone = [this] { mSinks.Raise(Quillet::clsHTMLEvent::DispDone); };
}

clsHTMLObject::~clsHTMLObject() = default;

HRESULT clsHTMLObject::Create(const Guid& iid, void** ppv) {
  ComPtr<clsHTMLObject> object(new clsHTMLObject);
  return object->QueryInterface(iid, ppv);
}

HRESULT clsHTMLObject::QueryInterface(const Guid& iid, void** ppv) {
  if (iid == IUnknown::IID || iid == IDispatch::IID || iid == Quillet::_clsHTML::IID || iid == Quillet::IID_clsHTML_v0) {
    return Answer(static_cast<Quillet::_clsHTML*>(this), ppv);
  }
  if (iid == IConnectionPoint::IID) return Answer(static_cast<IConnectionPoint*>(this), ppv);
  return Answer<IUnknown>(nullptr, ppv);
}

HRESULT clsHTMLObject::GetTypeInfo(const InterfaceDesc** ppInfo) {
  if (!ppInfo) return E_POINTER;
  *ppInfo = &QuilletServer::Server().Interface("_clsHTML");
  return S_OK;
}

HRESULT clsHTMLObject::Invoke(int32_t dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result,
                              ExcepInfo* excep) {
  const HRESULT checked = CheckInvoke(QuilletServer::Server().Interface("_clsHTML"), dispId, kind, args.size());
  if (Failed(checked)) return checked;
  // Keeps the object alive if a handler of an event raised inside releases it.
  const auto call = Hold();
  return InvokeGuarded(excep, [&] {
    Variant value = Call(dispId, kind, args);
    if (result) *result = std::move(value);
    return S_OK;
  });
}

Variant clsHTMLObject::Call(int32_t dispId, InvokeKind kind, std::vector<Variant>& args) {
  namespace m = Quillet::clsHTMLMember;
  const bool get = kind == InvokeKind::PropertyGet;
  switch (dispId) {
    case m::GoNext: return GoNext();
    case m::GoBack: return GoBack();
    case m::DispHTML: return DispHTML(args[0].AsBoolean());
    case m::Initialize: return Initialize();
    case m::Canvas:
      if (get) return static_cast<platform::IControl*>(Canvas());
      SetCanvas(args[0].AsControl());
      return {};
    case m::WorkCanvas: SetWorkCanvas(args[0].AsControl()); return {};
    case m::VScroll: SetVScroll(args[0].AsControl()); return {};
    case m::BackFrame: SetBackFrame(args[0].AsControl()); return {};
    case m::EnableDispEnd: SetEnableDispEnd(args[0].AsBoolean()); return {};
    case m::FontSize: SetFontSize(args[0].AsInteger()); return {};
    case m::ExecuteType: SetExecuteType(args[0].AsInteger()); return {};
    case m::PlaneText: return PlaneText();
    case m::AutoHeight:
      if (get) return AutoHeight();
      SetAutoHeight(args[0].AsBoolean());
      return {};
    case m::BGColor: SetBGColor(args[0].AsLong()); return {};
    case m::CanvasHeight: return CanvasHeight();
    case m::CanvasTop: return CanvasTop();
    case m::CanvasLeft: return CanvasLeft();
    case m::HtmlFile:
      if (get) return HtmlFile();
      SetHtmlFile(args[0].AsString());
      return {};
    case m::CurName:
      if (get) return CurName();
      SetCurName(args[0].AsString());
      return {};
    case m::Move: Move(args[0].AsLong(), args[1].AsLong(), args[2].AsLong(), args[3].AsLong()); return {};
    case m::ShowBrowser: ShowBrowser(args[0].AsBoolean()); return {};
    case m::DispError: return DispError();
    default: return {};
  }
}
