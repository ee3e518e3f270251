#pragma once
// The PC-buzzer control as a component: type library TegspkrLib with the
// creatable class Speaker ("TegspkrLib.Speaker"), its dispatch interface
// and its event interface.
#include "platform/com/ComponentModule.h"

namespace BuzzerServer {

inline constexpr platform::com::Guid LIBID_TegspkrLib = platform::com::GuidOf("{DA934ECC-B585-4B61-B4F3-A3E10F13B2D3}");
inline constexpr platform::com::Guid CLSID_Speaker = platform::com::GuidOf("{2C345D63-80BA-45E7-91F8-11BFFAD1939A}");
inline constexpr platform::com::Guid DIID_DSpeaker = platform::com::GuidOf("{AF5FEBFC-91D3-4878-82B6-9B8BA1948233}");
inline constexpr platform::com::Guid DIID_DSpeakerEvents =
    platform::com::GuidOf("{7CA2424F-B1AC-45B1-9EB5-624D08A0784F}");

platform::com::ComponentServer& Server();

}  // namespace BuzzerServer
