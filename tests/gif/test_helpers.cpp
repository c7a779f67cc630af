#include "gif/test_helpers.h"

#include <new>

#include "gif/extension_list.h"
#include "gif/extensions.h"

namespace zephlet::test {

std::string SenderKind(TGIFObject* sender) {
  if (dynamic_cast<TGIFImageList*>(sender)) return "frame-list";
  if (dynamic_cast<TGIFSubImage*>(sender)) return "frame";
  if (dynamic_cast<TGIFExtensionList*>(sender)) return "extension-list";
  if (dynamic_cast<TGIFGraphicControlExtension*>(sender)) return "graphic-control";
  if (dynamic_cast<TGIFExtension*>(sender)) return "extension";
  if (dynamic_cast<TGIFGlobalColorMap*>(sender)) return "global-map";
  if (dynamic_cast<TGIFLocalColorMap*>(sender)) return "local-map";
  if (dynamic_cast<TGIFTrailer*>(sender)) return "trailer";
  if (dynamic_cast<TGIFImage*>(sender)) return "image";
  return "other";
}

Loaded Load(const Bytes& bytes) {
  Loaded loaded;
  loaded.image->OnGIFWarning = [&loaded](TGIFObject* sender, int severity,
                                         const std::string& message) {
    loaded.warnings.push_back(
        SenderKind(sender) + ": " + message +
        (severity == 1 ? "" : " (severity " + std::to_string(severity) + ")"));
  };
  ByteViewStream stream(bytes);
  try {
    loaded.image->LoadFromStream(stream);
  } catch (const std::bad_alloc& error) {
    loaded.error = error.what();
  } catch (const std::exception& error) {
    loaded.error = error.what();
  }
  loaded.image->OnGIFWarning = nullptr;
  loaded.position_after = stream.Position();
  return loaded;
}

Bytes PixelsOf(const TGIFSubImage& frame) {
  if (frame.Pixels() == nullptr) return {};
  return Bytes(frame.Pixels(), frame.Pixels() + frame.PixelCount());
}

}  // namespace zephlet::test
