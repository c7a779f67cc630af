// TGIFItem, the base of the header, frames, extensions and trailer, and TGIFList, the
// owning list that frames and extensions are kept in.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gif/gif_object.h"
#include "gif/stream.h"

namespace zephlet {

class TGIFImage;

class TGIFItem : public TGIFObject {
 public:
  // `image` is the owning image; it may be null for an item made on its own.
  explicit TGIFItem(TGIFImage* image) : image_(image) {}

  TGIFImage* Image() const { return image_; }

  // 1 for GIF87a, 2 for GIF89a; used only when writing.
  virtual int RequiredVersion() const { return 1; }
  // Forwards to the owning image's OnGIFWarning with this item as the sender.
  virtual void ReportWarning(int severity, const std::string& message);
  virtual void SaveToStream(Stream& stream) = 0;
  virtual void LoadFromStream(Stream& stream) = 0;
  void SaveToFile(const std::string& file_name);
  void LoadFromFile(const std::string& file_name);

 private:
  TGIFImage* image_;
};

// An ordered list that owns its items.
class TGIFList : public TGIFObject {
 public:
  explicit TGIFList(TGIFImage* image) : image_(image) {}
  ~TGIFList() override;

  TGIFImage* Image() const { return image_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises ListIndexError for an index outside the list.
  TGIFItem& Item(int index) const;
  // Appends and takes ownership; returns the item.
  TGIFItem& Add(std::unique_ptr<TGIFItem> item);
  // Unlinks and frees the item at `index`.
  void Delete(int index);
  // Deletes item 0 until the list is empty.
  void Clear();
  // Unlinks `item` without freeing it and hands it back; null when it is not in the list.
  std::unique_ptr<TGIFItem> Remove(const TGIFItem* item);
  int IndexOf(const TGIFItem* item) const;

  virtual void ReportWarning(int severity, const std::string& message);
  // Writes every item in order.
  virtual void SaveToStream(Stream& stream);
  virtual void LoadFromStream(Stream& stream, TGIFObject* parent) = 0;

 private:
  TGIFImage* image_;
  std::vector<std::unique_ptr<TGIFItem>> items_;
};

}  // namespace zephlet
