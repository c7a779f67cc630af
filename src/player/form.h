// The character's form: its components, its start-up and shutdown handlers.
// Each group of handlers lives in a file named for what it handles.
#pragma once

#include <string>
#include <vector>

#include "player/form_components.h"
#include "player/image_control.h"

namespace zephlet {

class TFrmMain {
 public:
  TFrmMain();
  TFrmMain(const TFrmMain&) = delete;
  TFrmMain& operator=(const TFrmMain&) = delete;

  // --- Form events -----------------------------------------------------------
  void FormCreate();   // the start-up sequence
  void FormClose();    // releases the image, deletes the temporary files
  void FormDestroy();  // releases what the form still holds

  // Closes the window: runs FormClose once and ends the message loop.
  void Close();
  bool Closed() const { return closed_; }

  // Whether the window is shown.
  bool Visible = false;

  // --- Components -------------------------------------------------------------
  TImageControl ImageGIF;
  TCharacterControl AnimatedImage;
  TTimer TimerRPlay;
  TTimer TimerPlayMusic;

  TMenuItem MnuAbout, N2, MnuHomepage, MnuEmailauthor, MnuNemail, Screen1, Mnu640x480, Mnu800x600,
      Mnu1024x768, Mnu1280x960, Mnu1600x1200, N3, MnuRestoreScrSetting, mnuScreenSaver,
      MnuLaunchScr, MnuChgScr, mnuWallpaper, N1, MnuClone, MnuBGMSwitch, MnuZephletMoveSwitch, N5,
      MnuRunonStartup, MnuSavetoDesktop, N4, MnuExit;
  TMenuItem PopupMenu;  // the root: its Items are the top level of the popup menu

  // Every menu item of the form, submenus included, in menu order.
  std::vector<TMenuItem*> MenuItems();

  // --- Start-up steps, in the order FormCreate runs them --------------------------
  void CreateMoveWorker();
  void RegisterHandCursor();
  void HookScreenAreaItems();
  void CheckScreenAreaItem();
  void CheckRunOnStartupItem();
  void AddDirectPaintOption();
  void PrepareCapture();
  void ReadPayload();
  void StartMusic();
  void PlaceWindow();
  void StartMoving();

  // Reads the settings file at `path` into PlayerSettings and applies their
  // effects on the form (menu items, random-sound timer, region table, hint).
  void ReadSettings(const std::string& path);

  // Loads the GIF file into the image control; throws when it cannot.
  void LoadCharacterGif(const std::string& path);
  // Starts the frame capture; throws when it cannot.
  void StartCapture();

  // Handler of the Screen Area items.
  void ScreenAreaClick(TMenuItem& sender);

  // --- Shutdown steps -------------------------------------------------------------
  void ReleaseCharacterGif();
  void CloseMusic();
  void StopAnimation();
  void StopImagePainters();
  void ReleaseCaptureBitmaps();
  void ReleaseMoveWorker();

 private:
  void BuildMenu();
  bool closed_ = false;
  bool destroyed_ = false;
};

// The one form of the running player.
extern TFrmMain* FrmMain;

// Shows a start-up error: the message, followed by a full stop when its last
// character sorts after the full stop, captioned with the application title.
void ShowStartupError(const std::string& message);

// The application title, also the caption of the player's messages.
inline constexpr const char* kApplicationTitle = "Zephlet";

}  // namespace zephlet
