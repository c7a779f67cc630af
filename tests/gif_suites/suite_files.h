// Where the peer projects' GIF suites are, and what our reader may answer to their files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zephlet::suites {

// <ZEPHLET_SHARED>/gif-suites, or empty when the variable is unset or the folder missing.
std::filesystem::path SuitesDir();

// The .gif files directly in `dir`, sorted by name.
std::vector<std::filesystem::path> GifFilesIn(const std::filesystem::path& dir);

// True for the reader's own error and warning texts (and the reader's out-of-memory text).
bool IsReaderMessage(const std::string& message);

}  // namespace zephlet::suites
