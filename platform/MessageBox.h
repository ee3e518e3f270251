#pragma once
// Message boxes with the program's title.
#include <cstdint>
#include <string>

namespace platform {

enum MsgBoxStyle : int32_t {
  vbOKOnly = 0,
  vbOKCancel = 1,
  vbYesNo = 4,
  vbCritical = 16,
  vbQuestion = 32,
  vbExclamation = 48,
  vbInformation = 64,
};

enum MsgBoxResult : int32_t { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  // Shows the prompt with the buttons and icon of style; returns the button pressed.
  virtual int32_t Show(const std::string& prompt, int32_t style, const std::string& title) = 0;
};

}  // namespace platform
