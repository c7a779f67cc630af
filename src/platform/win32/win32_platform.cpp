// The Win32 backend of the platform interface.
#include <windows.h>

// These need the types of windows.h.
#include <mmsystem.h>
#include <share.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "runtime/synchronize.h"

namespace zephlet {
namespace {

constexpr UINT kServeHandOvers = WM_APP + 1;
constexpr const char* kFormClass = "TFrmMain";
constexpr const char* kHandOverClass = "ZephletHandOver";

class Win32Platform final : public Platform {
 public:
  std::string OwnPath() override {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, length);
  }

  std::string TempDirectory() override {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, buffer);
    return length > 0 && length <= MAX_PATH ? std::string(buffer, length) : std::string();
  }

  std::string MakeTempFileName(const std::string& dir, const std::string& prefix) override {
    char buffer[MAX_PATH + 1] = {};
    if (GetTempFileNameA(dir.c_str(), prefix.c_str(), 0, buffer) == 0) return {};
    return buffer;
  }

  std::FILE* OpenSharedRead(const std::string& path) override {
    return _fsopen(path.c_str(), "rb", _SH_DENYWR);
  }

  void SetApplicationTitle(const std::string& title) override { title_ = title; }

  void RunMessageLoop() override {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  void Quit() override { PostQuitMessage(0); }

  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
    return MessageBoxA(form_, text.c_str(), caption.c_str(), flags);
  }

  void CreateFormWindow(const FormWindowEvents& events) override {
    events_ = events;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    CreateHandOverWindow(instance);

    WNDCLASSA form_class = {};
    form_class.lpfnWndProc = &FormProc;
    form_class.hInstance = instance;
    form_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    form_class.lpszClassName = kFormClass;
    RegisterClassA(&form_class);
    // Borderless pop-up, above all other windows, without a taskbar button.
    form_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kFormClass, title_.c_str(), WS_POPUP,
                            0, 0, 150, 90, nullptr, nullptr, instance, nullptr);
  }

  void DestroyFormWindow() override {
    if (form_ != nullptr) DestroyWindow(form_);
    form_ = nullptr;
    runtime::SetWakeHandler(nullptr);
    if (hand_over_ != nullptr) DestroyWindow(hand_over_);
    hand_over_ = nullptr;
  }

  bool FormVisible() override { return form_ != nullptr && IsWindowVisible(form_) != FALSE; }

  int DisplayBitsPerPixel() override {
    HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits;
  }

  int WaveOutDeviceCount() override { return static_cast<int>(waveOutGetNumDevs()); }

 private:
  // A hidden message-only window: a posted message wakes the main thread to
  // run hand-overs, also inside modal loops (menus, message boxes).
  void CreateHandOverWindow(HINSTANCE instance) {
    WNDCLASSA hand_over_class = {};
    hand_over_class.lpfnWndProc = &HandOverProc;
    hand_over_class.hInstance = instance;
    hand_over_class.lpszClassName = kHandOverClass;
    RegisterClassA(&hand_over_class);
    hand_over_ = CreateWindowExA(0, kHandOverClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 instance, nullptr);
    HWND target = hand_over_;
    runtime::SetWakeHandler([target] { PostMessageA(target, kServeHandOvers, 0, 0); });
  }

  static LRESULT CALLBACK HandOverProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == kServeHandOvers) {
      runtime::ServeHandOvers();
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wparam, lparam);
  }

  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

  std::string title_;
  FormWindowEvents events_;
  HWND form_ = nullptr;
  HWND hand_over_ = nullptr;
};

Win32Platform& Instance() {
  static Win32Platform platform;
  return platform;
}

LRESULT CALLBACK Win32Platform::FormProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CLOSE:
      if (Instance().events_.on_close) Instance().events_.on_close();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // nothing to erase: the character covers the whole window
    default:
      return DefWindowProcA(hwnd, msg, wparam, lparam);
  }
}

}  // namespace

Platform& ThePlatform() {
  return Instance();
}

}  // namespace zephlet
