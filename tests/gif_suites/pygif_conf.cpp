#include "gif_suites/pygif_conf.h"

#include <fstream>
#include <map>
#include <sstream>

namespace zephlet::suites {
namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// section -> key -> value; comment lines start with '#'.
using Ini = std::map<std::string, std::map<std::string, std::string>>;

Ini ReadIni(const std::filesystem::path& path) {
  Ini ini;
  std::ifstream file(path);
  std::string line;
  std::string section;
  while (std::getline(file, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    ini[section][Trim(line.substr(0, equals))] = Trim(line.substr(equals + 1));
  }
  return ini;
}

}  // namespace

PygifCase ReadPygifCase(const std::filesystem::path& dir, const std::string& name) {
  const Ini ini = ReadIni(dir / (name + ".conf"));
  PygifCase out;
  out.name = name;
  const auto config = ini.find("config");
  if (config == ini.end()) return out;
  const auto value = [&](const std::string& key) {
    const auto found = config->second.find(key);
    return found == config->second.end() ? std::string() : found->second;
  };
  out.input = value("input");
  out.width = std::stoi(value("width"));
  out.height = std::stoi(value("height"));
  out.loop_count = value("loop-count");
  std::stringstream frames(value("frames"));
  std::string frame;
  while (std::getline(frames, frame, ',')) {
    frame = Trim(frame);
    if (frame.empty()) continue;
    const auto section = ini.find(frame);
    int delay = -1;
    if (section != ini.end() && section->second.count("delay")) {
      delay = std::stoi(section->second.at("delay"));
    }
    out.delays.push_back(delay);
  }
  return out;
}

std::vector<std::string> PygifCaseNames(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  std::ifstream file(dir / "TESTS");
  std::string line;
  while (std::getline(file, line)) {
    line = Trim(line);
    if (!line.empty()) names.push_back(line);
  }
  return names;
}

}  // namespace zephlet::suites
