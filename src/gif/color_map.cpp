#include "gif/color_map.h"

#include <algorithm>

#include "gif/gif_error.h"
#include "gif/gif_header.h"
#include "gif/gif_image.h"
#include "gif/sub_image.h"

namespace zephlet {

void TGIFColorMap::SetEntryCount(int count) {
  entry_count_ = std::clamp(count, 0, allocated_);
}

GIFColor TGIFColorMap::Entry(int index) const {
  if (index < 0 || index >= allocated_) throw ListIndexError(index);
  const uint8_t* rgb = entries_.data() + 3 * index;
  return GIFColor{rgb[0], rgb[1], rgb[2]};
}

void TGIFColorMap::SetEntry(int index, GIFColor color) {
  if (index < 0 || index >= allocated_) throw ListIndexError(index);
  uint8_t* rgb = entries_.data() + 3 * index;
  rgb[0] = color.Red;
  rgb[1] = color.Green;
  rgb[2] = color.Blue;
}

void TGIFColorMap::Grow(int n) {
  if (n < allocated_) return;
  int allocate = n <= 16 ? 16 : (n + 31) / 32 * 32;
  allocate = std::min(allocate, kMaxEntries);
  entries_.resize(static_cast<size_t>(allocate) * 3, 0);
  allocated_ = allocate;
  entry_count_ = std::min(entry_count_, allocated_);
}

void TGIFColorMap::Clear() {
  std::vector<uint8_t>().swap(entries_);
  entry_count_ = 0;
  allocated_ = 0;
  sorted_ = false;
}

uint32_t TGIFColorMap::MapColor(int index) {
  if (index < 0 || index >= entry_count_) {
    ReportWarning(1, gif_msg::kInvalidColorIndex);
    if (entry_count_ == 0) RaiseGIFError(gif_msg::kEmptyColorTable);
    index = 0;
  }
  const uint8_t* rgb = entries_.data() + 3 * index;
  return rgb[0] + (uint32_t{rgb[1]} << 8) + (uint32_t{rgb[2]} << 16);
}

void TGIFColorMap::ReadTable(Stream& stream, int n) {
  if (n < 0 || n > kMaxEntries) throw ListIndexError(n);
  Clear();
  Grow(n);
  ReadExact(stream, entries_.data(), static_cast<size_t>(n) * 3);
  entry_count_ = n;
}

void TGIFColorMap::WriteTable(Stream& stream) const {
  WriteBytes(stream, entries_.data(), static_cast<size_t>(entry_count_) * 3);
}

void TGIFColorMap::Assign(const TGIFColorMap& source) {
  if (&source == this) return;
  entries_ = source.entries_;
  entry_count_ = source.entry_count_;
  allocated_ = source.allocated_;
  sorted_ = source.sorted_;
  Changed();
}

void TGIFGlobalColorMap::ReportWarning(int severity, const std::string& message) {
  TGIFImage* image = header_ != nullptr ? header_->Image() : nullptr;
  if (image != nullptr) image->Warning(this, severity, message);
}

void TGIFGlobalColorMap::Changed() {
  // The image's palette and the bitmaps of frames drawn with the global colours were
  // made from these entries.
  TGIFImage* image = header_ != nullptr ? header_->Image() : nullptr;
  if (image == nullptr) return;
  image->SetImagePalette(nullptr);
  for (int i = 0; i < image->Frames().Count(); ++i) {
    TGIFSubImage& frame = image->Frames().SubImage(i);
    if (frame.LocalMap.EntryCount() == 0) frame.FreeFrameBitmap();
  }
}

void TGIFLocalColorMap::ReportWarning(int severity, const std::string& message) {
  TGIFImage* image = frame_ != nullptr ? frame_->Image() : nullptr;
  if (image != nullptr) image->Warning(this, severity, message);
}

void TGIFLocalColorMap::Changed() {
  if (frame_ != nullptr) frame_->SetFramePalette(nullptr);
}

}  // namespace zephlet
