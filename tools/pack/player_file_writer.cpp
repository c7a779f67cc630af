#include "player_file_writer.h"

#include <stdexcept>

namespace zephlet::pack {
namespace {

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

struct Line {
  size_t begin;  // first character
  size_t end;    // one past the last character, before the line end
  size_t next;   // first character of the next line
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t stop = text.find_first_of("\r\n", pos);
    if (stop == std::string_view::npos) stop = text.size();
    size_t next = stop;
    if (next < text.size())
      next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    lines.push_back({pos, stop, next});
    pos = next;
  }
  return lines;
}

bool IsSection(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

void AppendLittleEndian(Bytes& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t ReadLittleEndian(const Bytes& data, size_t at) {
  return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
         static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
}

}  // namespace

std::string SetSettingsKey(std::string_view text, std::string_view section, std::string_view key,
                           std::string_view value) {
  std::string entry(key);
  entry.append("=").append(value);
  const std::vector<Line> lines = SplitLines(text);
  bool in_section = false;
  size_t insert_at = std::string_view::npos;  // end of the wanted section's last line
  for (const Line& line : lines) {
    const std::string_view content = text.substr(line.begin, line.end - line.begin);
    if (IsSection(content)) {
      if (in_section) break;
      in_section = SameText(content.substr(1, content.size() - 2), section);
      if (in_section) insert_at = line.next;
      continue;
    }
    if (!in_section) continue;
    if (!content.empty() && content.front() != ';') {
      const size_t equals = content.find('=');
      if (equals != std::string_view::npos && SameText(content.substr(0, equals), key)) {
        std::string out(text.substr(0, line.begin));
        out.append(entry).append(text.substr(line.end));
        return out;
      }
    }
    if (!content.empty()) insert_at = line.next;
  }
  const bool add_section = insert_at == std::string_view::npos;
  std::string out(text.substr(0, add_section ? text.size() : insert_at));
  if (!out.empty() && out.back() != '\n' && out.back() != '\r') out.append("\r\n");
  if (add_section) {
    out.append("[").append(section).append("]\r\n").append(entry).append("\r\n");
    return out;
  }
  out.append(entry).append("\r\n").append(text.substr(insert_at));
  return out;
}

std::vector<Bytes> SplitRegionData(const Bytes& data) {
  std::vector<Bytes> entries;
  size_t pos = 0;
  while (pos < data.size()) {
    if (data.size() - pos < 32 || ReadLittleEndian(data, pos) != 32)
      throw std::runtime_error("damaged region data at byte " + std::to_string(pos));
    const uint64_t length = 32 + 16ull * ReadLittleEndian(data, pos + 8);
    if (length > data.size() - pos)
      throw std::runtime_error("region data at byte " + std::to_string(pos) + " is cut short");
    entries.emplace_back(data.begin() + static_cast<std::ptrdiff_t>(pos),
                         data.begin() + static_cast<std::ptrdiff_t>(pos + length));
    pos += static_cast<size_t>(length);
  }
  return entries;
}

std::string FillSizeKeys(const PlayerFileParts& parts) {
  std::string text = parts.settings;
  uint64_t region_bytes = 0;
  for (const Bytes& entry : parts.regions) region_bytes += entry.size();
  text = SetSettingsKey(text, "Gif", "GifSize", std::to_string(parts.gif.size()));
  text = SetSettingsKey(text, "Rgn", "RgnAllSize", std::to_string(region_bytes));
  text = SetSettingsKey(text, "Rgn", "RgnNum", std::to_string(parts.regions.size()));
  for (size_t n = 0; n < parts.regions.size(); ++n)
    text = SetSettingsKey(text, "Rgn", "Rgn" + std::to_string(n),
                          std::to_string(parts.regions[n].size()));
  if (parts.sound)
    text = SetSettingsKey(text, "Sound", "SndSize", std::to_string(parts.sound->size()));
  if (parts.music)
    text = SetSettingsKey(text, "Sound", "BGMusicSize", std::to_string(parts.music->size()));
  return text;
}

Bytes BuildPlayerFile(const PlayerFileParts& parts) {
  const std::string settings = FillSizeKeys(parts);
  if (settings.size() > 0x7FFFFFFFu) throw std::runtime_error("settings text too long");
  Bytes out = parts.program;
  auto append = [&out](const Bytes& piece) { out.insert(out.end(), piece.begin(), piece.end()); };
  if (parts.sound) append(*parts.sound);
  if (parts.music) append(*parts.music);
  for (const Bytes& entry : parts.regions) append(entry);
  append(parts.gif);
  out.insert(out.end(), settings.begin(), settings.end());
  AppendLittleEndian(out, static_cast<uint32_t>(settings.size()));
  return out;
}

}  // namespace zephlet::pack
