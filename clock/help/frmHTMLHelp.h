#pragma once
// The help window: shows the program's HTML help file with the viewer of
// the component Quillet, which draws on this window's controls (a back
// frame with the canvas inside it, a hidden work surface, a scroll bar).
// A row of buttons, a menu bar and a popup menu for links; links that leave
// the help file are confirmed first. Modeless, without owner; it remembers
// its placement under "Help".
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "htmlview/Quillet.h"
#include "platform/CommandButton.h"
#include "platform/ControlArray.h"
#include "platform/Form.h"
#include "platform/Menu.h"
#include "platform/MenuBar.h"
#include "platform/PictureBox.h"
#include "platform/VScrollBar.h"

class frmHTMLHelp {
 public:
  frmHTMLHelp();
  ~frmHTMLHelp();
  frmHTMLHelp(const frmHTMLHelp&) = delete;
  frmHTMLHelp& operator=(const frmHTMLHelp&) = delete;

  platform::IForm& Form() const { return *mForm; }

  // The help file to show; set before the window loads.
  void SetHTMLHelpFile(const std::string& vstrHTMLHelpFile) { mstrHTMLHelpFile = vstrHTMLHelpFile; }
  // Loads the window unless it is loaded, and shows it modeless. The load
  // may close the window again (no viewer, no file); Loaded() then is false.
  void Show();
  // Closes the window as its close command does.
  void Unload();
  bool Loaded() const { return mblnLoaded; }

  // ---- events
  void Form_Load();
  void Form_Resize();
  // Places the buttons in as many rows as the width needs; returns where
  // the page starts below them (twips).
  double LayoutButtons();
  void Form_Unload(int16_t& cancel);
  void Command1_Click(int16_t Index);
  void mcHTML_LinkClick(const std::string& vstrHRef, int16_t& rintRet);
  void mcHTML_LinkRightClick(const std::string& vstrHRef);
  void mcHTML_DispDone();
  void mnuOpen_Click();
  void mnuEnd_Click();
  void mnuCopy_Click();
  void mnuOpDisp_Click(int16_t Index);
  void mnuOpFont_Click(int16_t Index);
  void mnuLinkNoConfirm_Click();
  void mnuVer_Click();
  void mnuPuCopy_Click();

  // The viewer, while the window is loaded (null otherwise).
  Quillet::clsHTMLWithEvents* Viewer() const { return mcHTML.get(); }
  const std::string& LastLink() const { return mstrLastLink; }

 private:
  // Creates the menu bar's items (captions, shortcuts, start states).
  void CreateMenus();
  // Shows the viewer's page again with the hourglass; the viewer's answer.
  bool Redisplay();
  // Runs an event handler; a run-time error is reported instead of ending
  // the program, and the pointer goes back to normal.
  void Guarded(const std::function<void()>& handler);

  std::unique_ptr<Quillet::clsHTMLWithEvents> mcHTML;
  std::string mstrHTMLHelpFile;
  std::string mstrLastLink;
  std::string mstrPopupLink;
  bool mblnLoaded = false;
  bool mblnUnloading = false;

  // The form goes last: the controls on it are released first.
  std::unique_ptr<platform::IForm> mForm;

 public:
  std::unique_ptr<platform::IPictureBox> Picture1;  // back frame
  std::unique_ptr<platform::IPictureBox> Picture3;  // canvas, inside Picture1
  std::unique_ptr<platform::IPictureBox> Picture2;  // work surface, hidden
  std::unique_ptr<platform::IVScrollBar> VScroll1;
  platform::ControlArray<platform::ICommandButton> Command1;

  // Menu bar. Menus go before their items, so that the items are released first.
  std::unique_ptr<platform::IMenuItem> mnuFile, mnuEdit, mnuOption, mnuHelp;
  std::unique_ptr<platform::IMenuItem> mnuOpen, mnuLine0, mnuEnd;
  std::unique_ptr<platform::IMenuItem> mnuCopy;
  std::unique_ptr<platform::IMenuItem> mnuOp1, mnuOp2, mnuLinkNoConfirm;
  platform::ControlArray<platform::IMenuItem> mnuOpDisp;
  platform::ControlArray<platform::IMenuItem> mnuOpFont;
  std::unique_ptr<platform::IMenuItem> mnuVer;
  // The link popup, not shown in the bar.
  platform::Menu mnuPu;
};
