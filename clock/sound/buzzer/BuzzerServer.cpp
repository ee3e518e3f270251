#include "clock/sound/buzzer/BuzzerServer.h"

#include "clock/sound/buzzer/Speaker.h"

using namespace platform::com;

namespace BuzzerServer {
namespace {

ServerTable MakeTable() {
  ServerTable table;
  TypeLibDesc& lib = table.Info.TypeLib;
  lib.Name = "TegspkrLib";
  lib.LIBID = LIBID_TegspkrLib;
  lib.MajorVersion = 1;
  lib.MinorVersion = 0;
  lib.Lcid = 0;
  lib.Interfaces = {
      {"_DSpeaker",
       DIID_DSpeaker,
       {},
       false,
       false,
       {
           {buzzer::kSetWaveFile, "SetWaveFile", InvokeKind::Method, {{"strFileName", VarType::String, true}}, VarType::Empty},
           {buzzer::kRelease, "Release", InvokeKind::Method, {}, VarType::Empty},
           {buzzer::kPlay,
            "Play",
            InvokeKind::Method,
            {{"lngArg1", VarType::Long, false},
             {"lngArg2", VarType::Long, false},
             {"lngArg3", VarType::Long, false},
             {"blnArg4", VarType::Boolean, false}},
            VarType::Empty},
       }},
      {"_DSpeakerEvents", DIID_DSpeakerEvents, {}, false, false, {{buzzer::kDone, "Done", InvokeKind::Method, {}, VarType::Empty}}},
  };
  lib.Classes = {{"Speaker", CLSID_Speaker, "_DSpeaker", "_DSpeakerEvents"}};
  table.Info.Version.FileVersion = {3, 0, 0, 1};
  table.Info.Version.ProductVersion = {3, 0, 0, 1};
  table.Info.Version.Language = 0x411;
  table.Info.Version.Strings = {{"OriginalFilename", "TEGSPKR3.OCX"},
                                {"FileDescription", "PC ブザー コントロール (エミュレートした PC スピーカーで WAVE を再生)"},
                                {"OLESelfRegister", ""}};
  table.Classes = {{CLSID_Speaker, "TegspkrLib.Speaker", &buzzer::Speaker::Create}};
  return table;
}

}  // namespace

ComponentServer& Server() {
  static ComponentServer server(&MakeTable);
  return server;
}

}  // namespace BuzzerServer

KV_COMPONENT_MODULE(BuzzerServer::Server())
