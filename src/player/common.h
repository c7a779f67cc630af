// Helpers of the player shared by its handlers: temporary files and text lookup.
#pragma once

#include <string>
#include <vector>

namespace zephlet {

// The user's temporary folder, with its trailing path separator.
std::string TempDirectory();

// A new unique temporary file name with the prefix "zep" in TempDirectory();
// the platform creates an empty file under it. Empty text on failure.
std::string MakeTempFileName();

// The index of `text` in `list` by exact, case-sensitive comparison, or -1.
int IndexOfText(const std::string& text, const std::vector<std::string>& list);

}  // namespace zephlet
