#include "htmlview/QuilletServer.h"

#include "htmlview/Quillet.h"
#include "htmlview/clsDLLInfo.h"
#include "htmlview/clsHTMLObject.h"

using namespace platform::com;

namespace QuilletServer {
namespace {

constexpr auto Get = InvokeKind::PropertyGet;
constexpr auto Put = InvokeKind::PropertyPut;
constexpr auto PutRef = InvokeKind::PropertyPutRef;
constexpr auto Method = InvokeKind::Method;
constexpr auto Integer = VarType::Integer;
constexpr auto Long = VarType::Long;
constexpr auto String = VarType::String;
constexpr auto Boolean = VarType::Boolean;
constexpr auto Object = VarType::Control;

ParamDesc Value(VarType type) { return {"vNewValue", type, false}; }

InterfaceDesc clsHTMLInterface() {
  namespace m = Quillet::clsHTMLMember;
  return {"_clsHTML",
          Quillet::_clsHTML::IID,
          {Quillet::IID_clsHTML_v0},
          true,
          true,
          {
              {m::GoNext, "GoNext", Method, {}, Boolean},
              {m::GoBack, "GoBack", Method, {}, Boolean},
              {m::DispHTML, "DispHTML", Method, {{"blnForce", Boolean, false}}, Boolean},
              {m::Initialize, "Initialize", Method, {}, Boolean},
              {m::Canvas, "Canvas", PutRef, {Value(Object)}, VarType::Empty},
              {m::WorkCanvas, "WorkCanvas", PutRef, {Value(Object)}, VarType::Empty},
              {m::VScroll, "VScroll", PutRef, {Value(Object)}, VarType::Empty},
              {m::BackFrame, "BackFrame", PutRef, {Value(Object)}, VarType::Empty},
              {m::EnableDispEnd, "EnableDispEnd", Put, {Value(Boolean)}, VarType::Empty},
              {m::FontSize, "FontSize", Put, {Value(Integer)}, VarType::Empty},
              {m::ExecuteType, "ExecuteType", Put, {Value(Integer)}, VarType::Empty},
              {m::PlaneText, "PlaneText", Get, {}, String},
              {m::AutoHeight, "AutoHeight", Put, {Value(Boolean)}, VarType::Empty},
              {m::AutoHeight, "AutoHeight", Get, {}, Boolean},
              {m::BGColor, "BGColor", Put, {Value(Long)}, VarType::Empty},
              {m::CanvasHeight, "CanvasHeight", Get, {}, Long},
              {m::CanvasTop, "CanvasTop", Get, {}, Long},
              {m::CanvasLeft, "CanvasLeft", Get, {}, Long},
              {m::HtmlFile, "HtmlFile", Put, {Value(String)}, VarType::Empty},
              {m::HtmlFile, "HtmlFile", Get, {}, String},
              {m::CurName, "CurName", Put, {Value(String)}, VarType::Empty},
              {m::CurName, "CurName", Get, {}, String},
              {m::Move, "Move", Method, {{"l", Long, false}, {"t", Long, false}, {"w", Long, false}, {"h", Long, false}},
               VarType::Empty},
              {m::ShowBrowser, "ShowBrowser", Method, {{"bln1", Boolean, false}}, VarType::Empty},
              {m::Canvas, "Canvas", Get, {}, Object},
              {m::DispError, "DispError", Get, {}, String},
          }};
}

InterfaceDesc clsHTMLEvents() {
  namespace e = Quillet::clsHTMLEvent;
  return {"__clsHTML",
          Quillet::DIID_clsHTMLEvents,
          {},
          false,
          true,
          {
              {e::LinkClick, "LinkClick", Method, {{"vstrHRef", String, false}, {"rintRet", Integer, true}}, VarType::Empty},
              {e::LinkRightClick, "LinkRightClick", Method, {{"vstrHRef", String, false}}, VarType::Empty},
              {e::MouseDown, "MouseDown", Method, {{"Button", Integer, true}}, VarType::Empty},
              {e::DispDone, "DispDone", Method, {}, VarType::Empty},
          }};
}

InterfaceDesc clsDLLInfoInterface() {
  namespace m = Quillet::clsDLLInfoMember;
  return {"_clsDLLInfo",
          Quillet::_clsDLLInfo::IID,
          {Quillet::IID_clsDLLInfo_v0},
          true,
          true,
          {
              {m::StartMode, "StartMode", Get, {}, Long},
              {m::Major, "Major", Get, {}, Long},
              {m::Minor, "Minor", Get, {}, Long},
              {m::Revision, "Revision", Get, {}, Long},
              {m::FileDescription, "FileDescription", Get, {}, String},
              {m::Comments, "Comments", Get, {}, String},
              {m::LegalCopyright, "LegalCopyright", Get, {}, String},
              {m::LegalTrademarks, "LegalTrademarks", Get, {}, String},
              {m::EXEName, "EXEName", Get, {}, String},
              {m::Path, "Path", Get, {}, String},
              {m::Title, "Title", Get, {}, String},
          }};
}

// A 32-bit byte count (32), then the earlier and the current identifier.
Resource InterfaceIds(const char* name, const Guid& earlier, const Guid& current) {
  Resource resource{name, {32, 0, 0, 0}};
  for (const Guid& id : {earlier, current}) {
    const auto put = [&](uint64_t value, int bytes) {
      for (int i = 0; i < bytes; ++i) resource.Data.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    put(id.Data1, 4);
    put(id.Data2, 2);
    put(id.Data3, 2);
    resource.Data.insert(resource.Data.end(), id.Data4.begin(), id.Data4.end());
  }
  return resource;
}

ServerTable MakeTable() {
  ServerTable table;
  TypeLibDesc& lib = table.Info.TypeLib;
  lib.Name = "Quillet";
  lib.LIBID = Quillet::LIBID_Quillet;
  lib.MajorVersion = 1;
  lib.MinorVersion = 1;
  lib.Lcid = 0x409;
  lib.Interfaces = {clsHTMLInterface(), clsHTMLEvents(), clsDLLInfoInterface()};
  lib.Classes = {{"clsHTML", Quillet::CLSID_clsHTML, "_clsHTML", "__clsHTML"},
                 {"clsDLLInfo", Quillet::CLSID_clsDLLInfo, "_clsDLLInfo", ""}};

  VersionInfo& version = table.Info.Version;
  version.FileVersion = {1, 0, 0, 23};
  version.ProductVersion = {1, 0, 0, 23};
  version.Language = 0x411;
  version.Strings = {
      {"FileVersion", "1.00.0023"},
      {"ProductVersion", "1.00.0023"},
      {"ProductName", "Quillet"},
      {"InternalName", "Quillet"},
      {"OriginalFilename", "Quillet.dll"},
      {"OLESelfRegister", ""},
      {"FileDescription", "Quillet HTML ビューアー (インプロセス COM コンポーネント)"},
      {"Comments", "不具合のご報告とご質問は Kelvora の開発チームまでお寄せください。"},
      {"LegalCopyright", "Copyright (C) Kelvora 開発チーム"},
  };

  table.Info.Resources = {
      InterfaceIds("_IID_CLSHTML", Quillet::IID_clsHTML_v0, Quillet::_clsHTML::IID),
      InterfaceIds("_SRCIID_CLSHTML", Quillet::DIID_clsHTMLEvents, Quillet::DIID_clsHTMLEvents),
      InterfaceIds("_IID_CLSDLLINFO", Quillet::IID_clsDLLInfo_v0, Quillet::_clsDLLInfo::IID),
  };

  table.Classes = {{Quillet::CLSID_clsHTML, Quillet::kclsHTML, &clsHTMLObject::Create},
                   {Quillet::CLSID_clsDLLInfo, Quillet::kclsDLLInfo, &clsDLLInfo::Create}};
  return table;
}

}  // namespace

ComponentServer& Server() {
  static ComponentServer server(&MakeTable);
  return server;
}

}  // namespace QuilletServer
