// The one interface between the player and the operating system, in the
// player's own terms. The Windows build links the Win32 backend, the test
// build links the headless backend; nothing else differs between the two.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace zephlet {

// Message box buttons and icons, and the answers, with the operating system's values.
namespace mb {
constexpr unsigned kOk = 0x00;
constexpr unsigned kOkCancel = 0x01;
constexpr unsigned kYesNo = 0x04;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
}  // namespace mb
namespace answer {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace answer

// What the character window reports to the form.
struct FormWindowEvents {
  std::function<void()> on_close;  // the window is being closed
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Files -------------------------------------------------------------
  // Full path of the running program's own file.
  virtual std::string OwnPath() = 0;
  // The user's temporary folder, with its trailing path separator.
  virtual std::string TempDirectory() = 0;
  // A new unique file name in `dir` with a three-letter prefix; the platform
  // creates an empty file under it to reserve it. Empty text on failure.
  virtual std::string MakeTempFileName(const std::string& dir, const std::string& prefix) = 0;
  // Opens a file for reading, letting others read it but not write it.
  // nullptr when it cannot be opened.
  virtual std::FILE* OpenSharedRead(const std::string& path) = 0;

  // --- Application and message loop ---------------------------------------
  virtual void SetApplicationTitle(const std::string& title) = 0;
  // Runs the message loop until Quit; serves hand-overs from other threads.
  virtual void RunMessageLoop() = 0;
  // Ends the message loop (from the main thread).
  virtual void Quit() = 0;

  // --- Message boxes --------------------------------------------------------
  // Shows a modal message box and returns the answer (answer::k...). Hand-overs
  // are served while it is open.
  virtual int ShowMessageBox(const std::string& text, const std::string& caption,
                             unsigned flags) = 0;

  // --- The character window ------------------------------------------------
  // Creates the borderless, topmost tool window, hidden.
  virtual void CreateFormWindow(const FormWindowEvents& events) = 0;
  virtual void DestroyFormWindow() = 0;
  virtual bool FormVisible() = 0;

  // --- Display -------------------------------------------------------------------
  // Bits per pixel times colour planes of the screen.
  virtual int DisplayBitsPerPixel() = 0;

  // --- Sound devices ---------------------------------------------------------
  virtual int WaveOutDeviceCount() = 0;
};

// The backend linked into this build.
Platform& ThePlatform();

}  // namespace zephlet
