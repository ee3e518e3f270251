#pragma once
// The about box: the clock's icon, title, version, product data, a support
// mail address that works as a link, a legal notice, and a button that
// starts the desktop's system-information tool. Shown modally; each opening
// builds a new box.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/CommandButton.h"
#include "platform/ControlArray.h"
#include "platform/Form.h"
#include "platform/Frame.h"
#include "platform/Label.h"
#include "platform/LineControl.h"
#include "platform/Menu.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"

class frmVersionInfo {
 public:
  // vstrIconFile: the picture file of the clock's icon (the start-up's
  // mpicMainIcon); empty for none. The box is centred on vfrmCentreOn (the
  // clock), on the screen when there is none.
  explicit frmVersionInfo(std::string vstrIconFile = {}, const platform::IForm* vfrmCentreOn = nullptr);
  ~frmVersionInfo();
  frmVersionInfo(const frmVersionInfo&) = delete;
  frmVersionInfo& operator=(const frmVersionInfo&) = delete;

  platform::IForm& Form() const { return *mForm; }
  // Loads the box and shows it modally; returns when it is closed.
  void Show();

  // The version line: "Version :  2.03.00.26" for 2, 3 and 26.
  static std::string VersionLine(int intMajor, int intMinor, int intRevision);
  // The comments split at their first ":": the caption up to and with the
  // colon, and the trimmed rest, the mail address. Without a colon the
  // caption is empty and the whole text is the address.
  static std::pair<std::string, std::string> MailCaptionAndAddress(const std::string& strComments);

  // Starts the system-information tool, or says that none can be started.
  void StartSysInfo();
  // Reads one value of the Windows registry; there is none here, so the
  // answer is always false with an empty value.
  static bool GetKeyValue(int32_t lngRootKey, const std::string& strKeyName, const std::string& strValueName,
                          std::string& rstrValue);
  // Hands "mailto:" and the address to the desktop.
  void SendMail();

  // ---- events
  void Form_Load();
  void Form_Unload(int16_t& cancel);
  void cmdOK_Click();
  void cmdSysInfo_Click();
  void Label1_Click(int16_t Index);
  void Label1_MouseDown(int16_t Index, int16_t Button, int16_t Shift, double X, double Y);
  void Label1_MouseUp(int16_t Index, int16_t Button, int16_t Shift, double X, double Y);
  void mnupCopy_Click();
  void mnupOpen_Click();
  void picIcon_GotFocus();

  // The last press on the address was made with the left button.
  bool mblnLeftPress = false;
  bool mblnUnloaded = false;

 private:
  std::string mstrIconFile;
  const platform::IForm* mfrmCentreOn = nullptr;
  // The form goes last: the controls on it are released first.
  std::unique_ptr<platform::IForm> mForm;

 public:
  std::unique_ptr<platform::IPictureBox> picIcon;
  std::unique_ptr<platform::IFrame> Frame1;
  platform::ControlArray<platform::ITextBox> Text1;  // (0) title, (1) version, (2) product block
  platform::ControlArray<platform::ILabel> Label1;   // (0) mail caption, (1) mail address, (2) spare
  std::unique_ptr<platform::ILabel> lblDisclaimer;
  std::unique_ptr<platform::ICommandButton> cmdOK;
  std::unique_ptr<platform::ICommandButton> cmdSysInfo;
  platform::ControlArray<platform::ILine> Line1;
  // The hidden menu popped up on the address: mnupOpen, mnupLine0, mnupCopy.
  platform::Menu mnuPopup;
};
