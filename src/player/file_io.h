// Whole-file reads and writes of the player's temporary files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zephlet {

// Creates (or truncates) `path` and writes `bytes`; FileCreateError when the
// file cannot be created or written whole.
void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

// Reads the whole file; FileOpenError when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);

// Deletes the file when it exists; false when it stays.
bool DeleteFileIfExists(const std::string& path);

}  // namespace zephlet
