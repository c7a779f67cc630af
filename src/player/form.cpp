#include "player/form.h"

#include "platform/platform.h"

namespace zephlet {

TFrmMain* FrmMain = nullptr;

namespace {

void Init(TMenuItem& item, const char* name, const char* caption, int tag = 0) {
  item.Name = name;
  item.Caption = caption;
  item.Tag = tag;
}

}  // namespace

TFrmMain::TFrmMain() {
  // The random-sound timer is disabled until the settings switch it on.
  TimerRPlay.Enabled = false;
  TimerPlayMusic.Enabled = false;
  BuildMenu();
}

void TFrmMain::BuildMenu() {
  Init(PopupMenu, "PopupMenu", "");
  Init(MnuAbout, "MnuAbout", "About...");
  Init(N2, "N2", "-");
  Init(MnuHomepage, "MnuHomepage", "Homepage");
  Init(MnuEmailauthor, "MnuEmailauthor", "Email author");
  Init(MnuNemail, "MnuNemail", "-");
  Init(Screen1, "Screen1", "Screen Area");
  Init(Mnu640x480, "Mnu640x480", "640 x 480", 1010);
  Init(Mnu800x600, "Mnu800x600", "800 x 600", 1020);
  Init(Mnu1024x768, "Mnu1024x768", "1024 x 768", 1030);
  Init(Mnu1280x960, "Mnu1280x960", "1280 x 960", 1040);
  Init(Mnu1600x1200, "Mnu1600x1200", "1600 x 1200", 1050);
  Init(N3, "N3", "-");
  Init(MnuRestoreScrSetting, "MnuRestoreScrSetting", "Restore last setting");
  Init(mnuScreenSaver, "mnuScreenSaver", "Screen Saver");
  Init(MnuLaunchScr, "MnuLaunchScr", "Launch");
  Init(MnuChgScr, "MnuChgScr", "Change Screen Saver");
  Init(mnuWallpaper, "mnuWallpaper", "Wallpaper");
  Init(N1, "N1", "-");
  Init(MnuClone, "MnuClone", "Clone");
  Init(MnuBGMSwitch, "MnuBGMSwitch", "Background Music");
  Init(MnuZephletMoveSwitch, "MnuZephletMoveSwitch", "Stand still");
  Init(N5, "N5", "-");
  Init(MnuRunonStartup, "MnuRunonStartup", "Run on startup");
  Init(MnuSavetoDesktop, "MnuSavetoDesktop", "Save to desktop");
  Init(N4, "N4", "-");
  Init(MnuExit, "MnuExit", "E&xit");

  for (TMenuItem* item : {&Mnu640x480, &Mnu800x600, &Mnu1024x768, &Mnu1280x960, &Mnu1600x1200})
    item->RadioItem = true;
  Screen1.Items = {&Mnu640x480,   &Mnu800x600, &Mnu1024x768,         &Mnu1280x960,
                   &Mnu1600x1200, &N3,         &MnuRestoreScrSetting};
  mnuScreenSaver.Items = {&MnuLaunchScr, &MnuChgScr};
  PopupMenu.Items = {&MnuAbout,
                     &N2,
                     &MnuHomepage,
                     &MnuEmailauthor,
                     &MnuNemail,
                     &Screen1,
                     &mnuScreenSaver,
                     &mnuWallpaper,
                     &N1,
                     &MnuClone,
                     &MnuBGMSwitch,
                     &MnuZephletMoveSwitch,
                     &N5,
                     &MnuRunonStartup,
                     &MnuSavetoDesktop,
                     &N4,
                     &MnuExit};
  MnuExit.OnClick = [this](TMenuItem&) { Close(); };
}

std::vector<TMenuItem*> TFrmMain::MenuItems() {
  std::vector<TMenuItem*> all;
  std::vector<TMenuItem*> pending(PopupMenu.Items.rbegin(), PopupMenu.Items.rend());
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    all.push_back(item);
    pending.insert(pending.end(), item->Items.rbegin(), item->Items.rend());
  }
  return all;
}

void TFrmMain::Close() {
  if (closed_) return;
  closed_ = true;
  FormClose();
  ThePlatform().Quit();
}

void ShowStartupError(const std::string& message) {
  std::string text = message;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  ThePlatform().ShowMessageBox(text, kApplicationTitle, mb::kOk | mb::kIconError);
}

}  // namespace zephlet
