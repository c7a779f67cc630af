#include "gif/extension_list.h"

#include "gif/extension_registry.h"
#include "gif/gif_error.h"
#include "gif/sub_image.h"

namespace zephlet {

TGIFExtensionList::TGIFExtensionList(TGIFSubImage* frame)
    : TGIFList(frame != nullptr ? frame->Image() : nullptr), frame_(frame) {}

TGIFExtension& TGIFExtensionList::Extension(int index) const {
  return static_cast<TGIFExtension&>(Item(index));
}

void TGIFExtensionList::LoadFromStream(Stream& stream, TGIFObject* parent) {
  auto* frame = dynamic_cast<TGIFSubImage*>(parent);
  if (frame == nullptr) frame = frame_;
  uint8_t value = 0;
  if (!ReadByte(stream, value)) return;
  while (value != 0x2C && value != 0x3B) {
    if (value != 0x21) {
      ReportWarning(1, gif_msg::kInvalidIntroducer);
      break;
    }
    const TGIFExtensionClass* cls = FindExtensionClass(stream);
    if (cls == nullptr || cls->Create == nullptr) RaiseGIFError(gif_msg::kUnknownExtension);
    stream.Seek(-1);
    // A failed extension is freed on the way out; the ones read before it stay.
    std::unique_ptr<TGIFExtension> extension = cls->Create(frame);
    extension->LoadFromStream(stream);
    Add(std::move(extension));
    if (!ReadByte(stream, value)) return;
  }
  stream.Seek(-1);
}

}  // namespace zephlet
