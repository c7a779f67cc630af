#include "gif/gif_item.h"

#include <algorithm>

#include "gif/gif_error.h"
#include "gif/gif_image.h"

namespace zephlet {

void TGIFItem::ReportWarning(int severity, const std::string& message) {
  if (image_ != nullptr) image_->Warning(this, severity, message);
}

void TGIFItem::SaveToFile(const std::string& file_name) {
  MemoryStream buffer;
  SaveToStream(buffer);
  std::filebuf file;
  if (file.open(file_name, std::ios::out | std::ios::binary | std::ios::trunc) == nullptr) {
    throw FileCreateError(file_name);
  }
  const auto& bytes = buffer.Bytes();
  const auto size = static_cast<std::streamsize>(bytes.size());
  if (file.sputn(reinterpret_cast<const char*>(bytes.data()), size) != size) {
    RaiseGIFError("Stream write error");
  }
}

void TGIFItem::LoadFromFile(const std::string& file_name) {
  FileReadStream stream(file_name);
  LoadFromStream(stream);
}

TGIFList::~TGIFList() {
  Clear();
}

TGIFItem& TGIFList::Item(int index) const {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  return *items_[static_cast<size_t>(index)];
}

TGIFItem& TGIFList::Add(std::unique_ptr<TGIFItem> item) {
  items_.push_back(std::move(item));
  return *items_.back();
}

void TGIFList::Delete(int index) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  // Unlink first, so that the item's destructor sees the list without it.
  std::unique_ptr<TGIFItem> item = std::move(items_[static_cast<size_t>(index)]);
  items_.erase(items_.begin() + index);
  item.reset();
}

void TGIFList::Clear() {
  // Unlinks everything at once, then frees the items from the first to the last.
  std::vector<std::unique_ptr<TGIFItem>> items;
  items.swap(items_);
  for (auto& item : items) item.reset();
}

std::unique_ptr<TGIFItem> TGIFList::Remove(const TGIFItem* item) {
  const int index = IndexOf(item);
  if (index < 0) return nullptr;
  std::unique_ptr<TGIFItem> removed = std::move(items_[static_cast<size_t>(index)]);
  items_.erase(items_.begin() + index);
  return removed;
}

int TGIFList::IndexOf(const TGIFItem* item) const {
  const auto found = std::find_if(items_.begin(), items_.end(),
                                  [item](const auto& owned) { return owned.get() == item; });
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void TGIFList::ReportWarning(int severity, const std::string& message) {
  if (image_ != nullptr) image_->Warning(this, severity, message);
}

void TGIFList::SaveToStream(Stream& stream) {
  for (auto& item : items_) item->SaveToStream(stream);
}

}  // namespace zephlet
