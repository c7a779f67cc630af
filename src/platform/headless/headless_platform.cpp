#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "runtime/synchronize.h"

namespace zephlet::headless {
namespace fs = std::filesystem;

HeadlessPlatform::HeadlessPlatform() {
  Reset();
}

HeadlessPlatform::~HeadlessPlatform() {
  RemoveTempFolder();
}

void HeadlessPlatform::RemoveTempFolder() {
  if (temp_dir_.empty()) return;
  std::error_code ignored;
  fs::remove_all(temp_dir_, ignored);
  temp_dir_.clear();
}

void HeadlessPlatform::Reset() {
  RemoveTempFolder();
  std::string pattern = (fs::temp_directory_path() / "zephlet-headless-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) != nullptr) temp_dir_ = std::string(buffer.data()) + "/";
  own_path.clear();
  wave_out_devices = 1;
  display_bits_per_pixel = 32;
  fail_temp_names_from = -1;
  message_box_answers.clear();
  application_title.clear();
  message_boxes.clear();
  form_created = false;
  form_visible = false;
  quit_requested = false;
  temp_names_made = 0;
  next_temp_number_ = 1;
  form_events_ = {};
  runtime::SetMainThread();
}

std::vector<std::string> HeadlessPlatform::TempFiles() const {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(temp_dir_, ec))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool HeadlessPlatform::Pump() {
  return runtime::ServeHandOvers();
}

std::string HeadlessPlatform::OwnPath() {
  return own_path;
}

std::string HeadlessPlatform::TempDirectory() {
  return temp_dir_;
}

std::string HeadlessPlatform::MakeTempFileName(const std::string& dir, const std::string& prefix) {
  const int call = temp_names_made++;
  if (fail_temp_names_from >= 0 && call >= fail_temp_names_from) return {};
  // Like the real platform: prefix, a hexadecimal number, ".tmp", never reused.
  for (;;) {
    char number[16];
    std::snprintf(number, sizeof number, "%X", next_temp_number_++ & 0xFFFFu);
    const std::string path = dir + prefix.substr(0, 3) + number + ".tmp";
    if (fs::exists(path)) continue;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return {};
    std::fclose(f);
    return path;
  }
}

std::FILE* HeadlessPlatform::OpenSharedRead(const std::string& path) {
  std::error_code ec;
  if (path.empty() || fs::is_directory(path, ec)) return nullptr;
  return std::fopen(path.c_str(), "rb");
}

void HeadlessPlatform::SetApplicationTitle(const std::string& title) {
  application_title = title;
}

void HeadlessPlatform::RunMessageLoop() {
  // The headless desktop has no user: run what is pending, then return.
  while (!quit_requested && Pump()) {
  }
}

void HeadlessPlatform::Quit() {
  quit_requested = true;
}

int HeadlessPlatform::ShowMessageBox(const std::string& text, const std::string& caption,
                                     unsigned flags) {
  message_boxes.push_back({text, caption, flags});
  if (message_box_answers.empty()) return answer::kOk;
  const int result = message_box_answers.front();
  message_box_answers.pop_front();
  return result;
}

void HeadlessPlatform::CreateFormWindow(const FormWindowEvents& events) {
  form_created = true;
  form_visible = false;
  form_events_ = events;
}

void HeadlessPlatform::DestroyFormWindow() {
  form_created = false;
  form_visible = false;
}

bool HeadlessPlatform::FormVisible() {
  return form_visible;
}

int HeadlessPlatform::DisplayBitsPerPixel() { return display_bits_per_pixel; }

int HeadlessPlatform::WaveOutDeviceCount() {
  return wave_out_devices;
}

HeadlessPlatform& Headless() {
  static HeadlessPlatform platform;
  return platform;
}

}  // namespace zephlet::headless

namespace zephlet {
Platform& ThePlatform() {
  return headless::Headless();
}
}  // namespace zephlet
