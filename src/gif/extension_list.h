// A frame's extension blocks, in file order.
#pragma once

#include "gif/extensions.h"
#include "gif/gif_item.h"

namespace zephlet {

class TGIFExtensionList : public TGIFList {
 public:
  explicit TGIFExtensionList(TGIFSubImage* frame);

  TGIFSubImage* SubImage() const { return frame_; }
  TGIFExtension& Extension(int index) const;
  TGIFExtension& operator[](int index) const { return Extension(index); }
  // The first extension of class T, or null.
  template <typename T>
  T* FindFirst() const {
    for (int i = 0; i < Count(); ++i) {
      if (auto* found = dynamic_cast<T*>(&Item(i))) return found;
    }
    return nullptr;
  }

  // Reads the extensions at the stream position into the list; `parent` is the frame.
  // Leaves the stream at the byte that ended the list.
  void LoadFromStream(Stream& stream, TGIFObject* parent) override;

 private:
  TGIFSubImage* frame_;
};

}  // namespace zephlet
