// Colour tables: the global one of the screen header and the local one of a frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gif/gif_object.h"
#include "gif/stream.h"

namespace zephlet {

class TGIFHeader;
class TGIFImage;
class TGIFSubImage;

struct GIFColor {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
};

class TGIFColorMap : public TGIFObject {
 public:
  static constexpr int kMaxEntries = 256;

  // Entry i is red, green, blue at bytes 3i, 3i + 1, 3i + 2; AllocatedEntries x 3 bytes.
  const uint8_t* Entries() const { return entries_.data(); }
  uint8_t* Entries() { return entries_.data(); }
  int EntryCount() const { return entry_count_; }
  // Sets the entries in use, 0 to AllocatedEntries.
  void SetEntryCount(int count);
  int AllocatedEntries() const { return allocated_; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted) { sorted_ = sorted; }

  GIFColor Entry(int index) const;
  void SetEntry(int index, GIFColor color);

  // Makes room for n entries: nothing when n is below AllocatedEntries, else 16 for n up to
  // 16, else n rounded up to a multiple of 32, never more than 256.
  void Grow(int n);
  // Frees the entries; count, allocation and Sorted become zero.
  void Clear();
  // Entry i as red + green x 256 + blue x 65536. An index outside 0 to EntryCount - 1
  // reports "Invalid color index" and gives entry 0; an empty map raises "Color table is empty".
  uint32_t MapColor(int index);
  // Reads a table of n entries: Clear, Grow(n), 3n bytes with ReadExact, EntryCount = n.
  void ReadTable(Stream& stream, int n);
  // Writes the EntryCount entries.
  void WriteTable(Stream& stream) const;
  // Copies entries, count, allocation and Sorted.
  void Assign(const TGIFColorMap& source);

  virtual void ReportWarning(int severity, const std::string& message) = 0;
  // Called after the entries changed; drops palettes made from them.
  virtual void Changed() {}

 private:
  std::vector<uint8_t> entries_;
  int entry_count_ = 0;
  int allocated_ = 0;
  bool sorted_ = false;
};

// The global colour table; forwards warnings to the image of its header.
class TGIFGlobalColorMap : public TGIFColorMap {
 public:
  explicit TGIFGlobalColorMap(TGIFHeader* header) : header_(header) {}
  TGIFHeader* Header() const { return header_; }
  void ReportWarning(int severity, const std::string& message) override;
  void Changed() override;

 private:
  TGIFHeader* header_;
};

// A frame's local colour table; forwards warnings to the frame's image.
class TGIFLocalColorMap : public TGIFColorMap {
 public:
  explicit TGIFLocalColorMap(TGIFSubImage* frame) : frame_(frame) {}
  TGIFSubImage* SubImage() const { return frame_; }
  void ReportWarning(int severity, const std::string& message) override;
  void Changed() override;

 private:
  TGIFSubImage* frame_;
};

}  // namespace zephlet
