#pragma once
// Checks a component that must be registered before it can be created,
// offers to register it through its own entry point, reports the outcome
// in Japanese and tells whether the component can be used. The owner
// supplies the creation and registration calls as event handlers.
//
// Handlers run with errors ignored: a handler reports the error of its
// call by raising it (platform::RuntimeError); the helper reads only its
// number, as the language's error object would hold it.
#include <cstdint>
#include <functional>
#include <string>

class clsRegSvrDll {
 public:
  // The outcome texts; each begins with a blank and follows the file name.
  std::string MSG(int32_t Index) const;

  std::string FileName() const { return mstrFileName; }
  // Keeps only the file name of what it is given.
  void SetFileName(const std::string& vNewValue);
  // Accepted and ignored.
  void SetFilePath(const std::string&) {}
  std::string ObjectName() const { return mstrObjectName; }
  void SetObjectName(const std::string& vNewValue) { mstrObjectName = vNewValue; }

  // 1 when FileName is found on the search path, else 0.
  int16_t CheckDllExist() const;
  // True when the owner could create an object.
  bool CheckRegisted();
  // Registers the component: 5 or 6, or 2 (not loadable) / 3 (other error).
  int32_t RegSvrDll();
  // Unregisters it: 8 or 9, or 2 / 3.
  int32_t UnRegSvrDll();
  // The whole check-and-register dialogue; True when the component can be
  // used. NoMsg: no messages and no question (registers without asking).
  bool TryDllRegist(bool NoMsg);

  // rlngResult: the error number of creating one object (0 = created).
  std::function<void(int32_t& rlngResult)> TestInstanced;
  std::function<void()> DllRegisterServer;
  std::function<void()> DllUnRegisterServer;

 private:
  int32_t Registration(bool vblnRegister);
  void Message(const std::string& vstrText) const;

  std::string mstrFileName;
  std::string mstrObjectName;
};
