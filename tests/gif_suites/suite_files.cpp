#include "gif_suites/suite_files.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "gif/gif_error.h"

namespace zephlet::suites {

namespace fs = std::filesystem;

fs::path SuitesDir() {
  const char* shared = std::getenv("ZEPHLET_SHARED");
  if (shared == nullptr) return {};
  fs::path dir = fs::path(shared) / "gif-suites";
  return fs::is_directory(dir) ? dir : fs::path();
}

std::vector<fs::path> GifFilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  if (!fs::is_directory(dir)) return files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file() && entry.path().extension() == ".gif") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool IsReaderMessage(const std::string& message) {
  using namespace gif_msg;
  static const std::array<const char*, 17> kMessages = {
      kInvalidSignature,   kPrematureEnd,      kCircularTable,          kUnknownBlockType,
      kImageExceedsScreen, kBitBufferUnderrun, kInvalidTrailer,         kInvalidColorIndex,
      kEmptyColorTable,    kUnsupportedObject, kUnknownExtension,       kUnsupportedAppBlockSize,
      kInvalidData,        kInvalidIntroducer, kExtensionLabelMismatch, kInvalidCodeSize,
      kWriteNotSupported};
  return std::find(kMessages.begin(), kMessages.end(), message) != kMessages.end() ||
         message == OutOfMemoryError().what();
}

}  // namespace zephlet::suites
