#include "player/file_io.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "runtime/file_errors.h"

namespace zephlet {

void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
  std::FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "wb");
  if (f == nullptr) throw FileCreateError(path);
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) throw FileCreateError(path);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) throw FileOpenError(path);
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw FileOpenError(path);
  return bytes;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool DeleteFileIfExists(const std::string& path) {
  if (!FileExists(path)) return true;
  std::error_code ec;
  return std::filesystem::remove(path, ec) && !ec;
}

}  // namespace zephlet
