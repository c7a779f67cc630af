#include "player/settings_text.h"

#include <limits>

namespace zephlet {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int32_t> ParseSettingsNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;

  uint64_t magnitude = 0;
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  for (; i < text.size(); ++i) {
    const int digit =
        hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (magnitude > limit) return std::nullopt;
  }
  uint32_t bits = static_cast<uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  return static_cast<int32_t>(bits);
}

SettingsText::SettingsText(std::string_view text) {
  const size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);

  constexpr size_t kNone = static_cast<size_t>(-1);
  size_t current = kNone;  // index of the section opened last
  size_t pos = 0;
  while (pos < text.size()) {
    size_t stop = text.find_first_of("\r\n", pos);
    if (stop == std::string_view::npos) stop = text.size();
    const std::string_view line = text.substr(pos, stop - pos);
    pos = stop;
    if (pos < text.size()) {
      // CR LF counts as one line end; a lone CR or LF ends a line too.
      const bool crlf = text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n';
      pos += crlf ? 2 : 1;
    }

    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string name = Lower(line.substr(1, line.size() - 2));
      // A later section of the same name is parsed but never found.
      section_index_.try_emplace(name, sections_.size());
      sections_.emplace_back();
      current = sections_.size() - 1;
      continue;
    }
    if (current == kNone) continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    sections_[current].values.try_emplace(Lower(line.substr(0, equals)),
                                          std::string(line.substr(equals + 1)));
  }
}

std::optional<std::string> SettingsText::Find(std::string_view section,
                                              std::string_view key) const {
  const auto s = section_index_.find(Lower(section));
  if (s == section_index_.end()) return std::nullopt;
  const auto& values = sections_[s->second].values;
  const auto k = values.find(Lower(key));
  if (k == values.end()) return std::nullopt;
  return k->second;
}

std::string SettingsText::ReadString(std::string_view section, std::string_view key,
                                     const std::string& fallback) const {
  auto value = Find(section, key);
  return value ? *value : fallback;
}

int32_t SettingsText::ReadInteger(std::string_view section, std::string_view key,
                                  int32_t fallback) const {
  const auto value = Find(section, key);
  if (!value) return fallback;
  return ParseSettingsNumber(*value).value_or(fallback);
}

bool SettingsText::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

}  // namespace zephlet
