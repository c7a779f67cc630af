// The headless platform: a real platform that keeps its desktop in memory.
// Tests reach it through Headless() to set the scene (own file, temp folder,
// devices), answer message boxes and read what the player did.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/headless/virtual_clock.h"
#include "platform/platform.h"

namespace zephlet::headless {

struct MessageBoxRecord {
  std::string text;
  std::string caption;
  unsigned flags = 0;
};

class HeadlessPlatform final : public Platform {
 public:
  HeadlessPlatform();
  ~HeadlessPlatform() override;

  // Puts the platform back into its initial state with a fresh temp folder.
  void Reset();

  // --- Scene set-up -----------------------------------------------------------
  std::string own_path;
  int wave_out_devices = 1;
  int display_bits_per_pixel = 32;
  // MakeTempFileName fails from this call on (0-based count); -1 never fails.
  int fail_temp_names_from = -1;
  // Answers given to message boxes, in order; kOk when none is left.
  std::deque<int> message_box_answers;

  // --- What the player did ---------------------------------------------------
  std::string application_title;
  std::vector<MessageBoxRecord> message_boxes;
  bool form_created = false;
  bool form_visible = false;
  bool quit_requested = false;
  int temp_names_made = 0;

  VirtualClock& clock() { return clock_; }
  // Files in the temp folder, by name only, sorted.
  std::vector<std::string> TempFiles() const;

  // Serves pending hand-overs and posted work once; returns whether anything ran.
  bool Pump();

  // Platform
  std::string OwnPath() override;
  std::string TempDirectory() override;
  std::string MakeTempFileName(const std::string& dir, const std::string& prefix) override;
  std::FILE* OpenSharedRead(const std::string& path) override;
  void SetApplicationTitle(const std::string& title) override;
  void RunMessageLoop() override;
  void Quit() override;
  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  void CreateFormWindow(const FormWindowEvents& events) override;
  void DestroyFormWindow() override;
  bool FormVisible() override;
  int DisplayBitsPerPixel() override;
  int WaveOutDeviceCount() override;

 private:
  void RemoveTempFolder();

  std::string temp_dir_;
  unsigned next_temp_number_ = 1;
  FormWindowEvents form_events_;
  VirtualClock clock_;
};

// The headless platform of this build (the same object as ThePlatform()).
HeadlessPlatform& Headless();

}  // namespace zephlet::headless
