#include "player/payload_file.h"

#include "platform/platform.h"
#include "runtime/file_errors.h"

namespace zephlet {

PayloadFile::PayloadFile(const std::string& path) {
  file_ = ThePlatform().OpenSharedRead(path);
  if (file_ == nullptr) throw FileOpenError(path);
  // Player files are far below 2 GiB; a larger one reads as too short.
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    const long end = std::ftell(file_);
    if (end > 0) size_ = end;
  }
}

PayloadFile::~PayloadFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool PayloadFile::Contains(int64_t start, int64_t length) const {
  return start >= 0 && length >= 0 && start <= size_ && length <= size_ - start;
}

std::vector<uint8_t> PayloadFile::Read(int64_t start, int64_t length) {
  if (!Contains(start, length)) throw StreamReadError();
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  if (length == 0) return bytes;
  if (std::fseek(file_, static_cast<long>(start), SEEK_SET) != 0 ||
      std::fread(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    throw StreamReadError();
  return bytes;
}

int32_t PayloadFile::ReadTrailingLength() {
  const std::vector<uint8_t> b = Read(size_ - 4, 4);
  const uint32_t value = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                         static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
  return static_cast<int32_t>(value);
}

}  // namespace zephlet
