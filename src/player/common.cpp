#include "player/common.h"

#include "platform/platform.h"

namespace zephlet {

std::string TempDirectory() {
  return ThePlatform().TempDirectory();
}

std::string MakeTempFileName() {
  return ThePlatform().MakeTempFileName(TempDirectory(), "zep");
}

int IndexOfText(const std::string& text, const std::vector<std::string>& list) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == text) return static_cast<int>(i);
  return -1;
}

}  // namespace zephlet
