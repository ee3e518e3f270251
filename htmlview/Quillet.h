#pragma once
// The component Quillet as its hosts see it: the identifiers, the default
// interfaces of its two creatable classes, the member and event numbers
// of late binding, and a short way to create the viewer with its events.
// Hosts include this header and reach the component through the runtime
// (platform/com/ComRuntime.h); they never link its implementation.
//
//   auto mcHTML = std::make_unique<Quillet::clsHTMLWithEvents>();  // error 429 when unusable
//   mcHTML->LinkClick = [this](const std::string& vstrHRef, int16_t& rintRet) { ... };
//   (*mcHTML)->SetCanvas(Picture3.get());  ...  (*mcHTML)->DispHTML(false);
//   mcHTML.reset();  // releases the viewer and its connection
//
// Members may raise platform::RuntimeError: an error inside the component
// comes back to the caller as a run-time error.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/ComDispatch.h"
#include "platform/com/ComEvents.h"
#include "platform/com/ComRuntime.h"
#include "platform/PictureBox.h"

namespace Quillet {

using platform::com::Guid;
using platform::com::GuidOf;

inline constexpr Guid LIBID_Quillet = GuidOf("{AC9A95AA-6E9E-4427-B73D-BD0CD40FD41D}");
inline constexpr Guid CLSID_clsHTML = GuidOf("{A96CD938-E6D3-44B7-B3F6-1CA9F655E1A0}");
inline constexpr Guid CLSID_clsDLLInfo = GuidOf("{BF6D29C4-38EF-4E62-9EF7-EDCC794B9B85}");
// The event interface __clsHTML (C++ reserves names with two underscores
// in a row: the identifiers below spell the interfaces' names without them).
inline constexpr Guid DIID_clsHTMLEvents = GuidOf("{292E8FB0-712D-4414-838E-571ECADFB2A2}");
// The earlier interface identifiers clsHTML___v0 and clsDLLInfo___v0,
// still answered.
inline constexpr Guid IID_clsHTML_v0 = GuidOf("{36C54AC4-1B25-4688-9AFC-7091A9449931}");
inline constexpr Guid IID_clsDLLInfo_v0 = GuidOf("{F4B2DB2D-D9B2-47F0-9D3A-A3721A515FA0}");

// The registered class names.
inline constexpr const char* kclsHTML = "Quillet.clsHTML";
inline constexpr const char* kclsDLLInfo = "Quillet.clsDLLInfo";

// Member numbers of _clsHTML, in interface order. A property's accessors
// share its number.
namespace clsHTMLMember {
enum : int32_t {
  GoNext = 1, GoBack, DispHTML, Initialize, Canvas, WorkCanvas, VScroll, BackFrame, EnableDispEnd, FontSize,
  ExecuteType, PlaneText, AutoHeight, BGColor, CanvasHeight, CanvasTop, CanvasLeft, HtmlFile, CurName, Move,
  ShowBrowser, DispError,
};
}
// Event numbers of __clsHTML, in declared order.
namespace clsHTMLEvent {
enum : int32_t { LinkClick = 1, LinkRightClick, MouseDown, DispDone };
}
// Member numbers of _clsDLLInfo.
namespace clsDLLInfoMember {
enum : int32_t {
  StartMode = 1, Major, Minor, Revision, FileDescription, Comments, LegalCopyright, LegalTrademarks, EXEName,
  Path, Title,
};
}

// The viewer's default interface (dual). Booleans are true/false here and
// −1/0 through late binding.
class _clsHTML : public platform::com::IDispatch {
 public:
  static constexpr Guid IID = GuidOf("{938114D3-3430-4ED8-ABE4-50E3E56EEBE4}");

  virtual bool GoNext() = 0;
  virtual bool GoBack() = 0;
  virtual bool DispHTML(bool blnForce) = 0;
  virtual bool Initialize() = 0;
  // Objects of another kind than the property needs are ignored.
  virtual void SetCanvas(platform::IControl* vNewValue) = 0;
  virtual void SetWorkCanvas(platform::IControl* vNewValue) = 0;
  virtual void SetVScroll(platform::IControl* vNewValue) = 0;
  virtual void SetBackFrame(platform::IControl* vNewValue) = 0;
  virtual void SetEnableDispEnd(bool vNewValue) = 0;
  virtual void SetFontSize(int16_t vNewValue) = 0;
  virtual void SetExecuteType(int16_t vNewValue) = 0;
  virtual std::string PlaneText() = 0;
  virtual void SetAutoHeight(bool vNewValue) = 0;
  virtual bool AutoHeight() = 0;
  virtual void SetBGColor(int32_t vNewValue) = 0;
  virtual int32_t CanvasHeight() = 0;
  virtual int32_t CanvasTop() = 0;
  virtual int32_t CanvasLeft() = 0;
  virtual void SetHtmlFile(const std::string& vNewValue) = 0;
  virtual std::string HtmlFile() = 0;
  virtual void SetCurName(const std::string& vNewValue) = 0;
  virtual std::string CurName() = 0;
  virtual void Move(int32_t l, int32_t t, int32_t w, int32_t h) = 0;
  virtual void ShowBrowser(bool bln1) = 0;
  virtual platform::IPictureBox* Canvas() = 0;
  // Why the last DispHTML stopped before the end of the page (no BODY, a
  // malformed attribute); empty otherwise. A member of this version only.
  virtual std::string DispError() = 0;

 protected:
  ~_clsHTML() = default;
};

// The component information object's default interface (dual).
class _clsDLLInfo : public platform::com::IDispatch {
 public:
  static constexpr Guid IID = GuidOf("{F2523C1E-1F9F-4D71-A321-9867EAB5DE42}");

  virtual int32_t StartMode() = 0;
  virtual int32_t Major() = 0;
  virtual int32_t Minor() = 0;
  virtual int32_t Revision() = 0;
  virtual std::string FileDescription() = 0;
  virtual std::string Comments() = 0;
  virtual std::string LegalCopyright() = 0;
  virtual std::string LegalTrademarks() = 0;
  virtual std::string EXEName() = 0;
  virtual std::string Path() = 0;
  virtual std::string Title() = 0;

 protected:
  ~_clsDLLInfo() = default;
};

// A viewer created through the runtime, with its four events as handlers
// of the host (a "WithEvents" reference). Creation raises run-time error
// 429 when the component cannot be used; destruction disconnects the
// events and releases the viewer.
class clsHTMLWithEvents {
 public:
  clsHTMLWithEvents() : mObject(platform::com::CreateObject<_clsHTML>(kclsHTML)) {
    using platform::com::Variant;
    mSink->On(clsHTMLEvent::LinkClick, [this](std::vector<Variant>& args) {
      if (!LinkClick || args.size() != 2) return;
      int16_t rintRet = args[1].AsInteger();
      // A copy: the handler may release this reference.
      const auto handler = LinkClick;
      handler(args[0].AsString(), rintRet);
      args[1] = rintRet;
    });
    mSink->On(clsHTMLEvent::LinkRightClick, [this](std::vector<Variant>& args) {
      if (!LinkRightClick || args.size() != 1) return;
      const auto handler = LinkRightClick;
      handler(args[0].AsString());
    });
    mSink->On(clsHTMLEvent::MouseDown, [this](std::vector<Variant>& args) {
      if (!MouseDown || args.size() != 1) return;
      int16_t Button = args[0].AsInteger();
      const auto handler = MouseDown;
      handler(Button);
      args[0] = Button;
    });
    mSink->On(clsHTMLEvent::DispDone, [this](std::vector<Variant>&) {
      if (!DispDone) return;
      const auto handler = DispDone;
      handler();
    });
    mConnection = std::make_unique<platform::com::EventConnection>(*mObject, *mSink);
  }
  clsHTMLWithEvents(const clsHTMLWithEvents&) = delete;
  clsHTMLWithEvents& operator=(const clsHTMLWithEvents&) = delete;

  _clsHTML* operator->() const { return mObject.Get(); }
  _clsHTML& Object() const { return *mObject; }

  std::function<void(const std::string& vstrHRef, int16_t& rintRet)> LinkClick;
  std::function<void(const std::string& vstrHRef)> LinkRightClick;
  std::function<void(int16_t& Button)> MouseDown;
  std::function<void()> DispDone;

 private:
  platform::com::ComPtr<_clsHTML> mObject;
  platform::com::ComPtr<platform::com::EventSink> mSink = platform::com::EventSink::Create();
  std::unique_ptr<platform::com::EventConnection> mConnection;  // goes first
};

// A component information object; raises run-time error 429 when the
// component cannot be used.
inline platform::com::ComPtr<_clsDLLInfo> CreateclsDLLInfo() {
  return platform::com::CreateObject<_clsDLLInfo>(kclsDLLInfo);
}

}  // namespace Quillet
