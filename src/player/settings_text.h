// Reading of the character's settings text (INI form).
//
// Lines end at CR, LF or CR LF and a zero byte ends the text. Empty lines and
// lines starting with ";" are skipped. "[name]" opens a section; lines ahead of
// the first section are ignored. Section and key names match in any letter
// case; the first matching section and, within it, the first matching line
// win. Nothing is trimmed: "Key =1" holds the key "Key ".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zephlet {

// Parses a settings number: a decimal 32-bit integer, optionally preceded by
// spaces and a sign, or a hexadecimal one introduced by "$", "0x" or "0X"
// (up to 32 bits, taken as a two's-complement pattern). Nothing else.
std::optional<int32_t> ParseSettingsNumber(std::string_view text);

class SettingsText {
 public:
  explicit SettingsText(std::string_view text);

  // The value of `key` in `section`, or nothing when either is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // Missing key: the default. Text keys keep an empty value as empty text;
  // number and switch keys take the default for an empty or malformed value.
  std::string ReadString(std::string_view section, std::string_view key,
                         const std::string& fallback) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

 private:
  struct Section {
    // Lower-cased key -> value of the first line holding that key.
    std::unordered_map<std::string, std::string> values;
  };
  // Lower-cased section name -> index of its first occurrence.
  std::unordered_map<std::string, size_t> section_index_;
  std::vector<Section> sections_;
};

}  // namespace zephlet
