// One case of the pygif test suite: the expectations of its .conf file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zephlet::suites {

struct PygifCase {
  std::string name;
  std::string input;  // the GIF's file name
  int width = 0;
  int height = 0;
  std::string loop_count;   // "0" (no loop block), "infinite" or a number
  std::vector<int> delays;  // per expected frame; -1 where the .conf gives none
  // An empty "frames =" line: a decoder should reject the file.
  bool Rejected() const { return delays.empty(); }
};

// Reads <dir>/<name>.conf; a missing file gives a case with an empty input.
PygifCase ReadPygifCase(const std::filesystem::path& dir, const std::string& name);

// The case names listed in <dir>/TESTS, in order.
std::vector<std::string> PygifCaseNames(const std::filesystem::path& dir);

}  // namespace zephlet::suites
