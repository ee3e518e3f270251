#pragma once
// The owners' side of a component check (the clock window for the PC-buzzer
// control, the settings dialog for Quillet): creating one object of the
// component's class, calling the module's registration entry points, and
// the whole check as each owner runs it at load.
#include <cstdint>
#include <string>

class clsRegSvrDll;

namespace basComponents {

// The components the program checks, by module file and class.
inline constexpr const char* kSpeakerFile = "TEGSPKR3.OCX";
inline constexpr const char* kQuilletFile = "Quillet.dll";

// TestInstanced: the error number of creating one object of the class
// (0 = created); the object is released at once.
int32_t TryCreateObject(const std::string& vstrClass);

// DllRegisterServer / DllUnRegisterServer: calls that entry point of the
// module file found on the search path. Raises error 48 when the module
// cannot be loaded and 453 when it has no such entry point; the entry
// point's result is left as the last DLL error (0 = success).
void CallDllRegisterServer(const std::string& vstrFileName);
void CallDllUnregisterServer(const std::string& vstrFileName);

// Sets the helper's three events to the routines above for that module
// file and class.
void HandleEvents(clsRegSvrDll& helper, const std::string& vstrFileName, const std::string& vstrClass);

// The owner's load step: a helper for the file, TryDllRegist(NoMsg), the
// helper released; true when the component can be used.
bool CheckComponent(const std::string& vstrFileName, const std::string& vstrClass, bool NoMsg);

}  // namespace basComponents
