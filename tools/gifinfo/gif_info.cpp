#include "gif_info.h"

#include <cstdio>
#include <exception>
#include <new>

#include "gif/extensions.h"
#include "gif/gif_error.h"

namespace zephlet {

namespace {

void AppendString(std::string& out, const char* data, size_t size) {
  out += '"';
  for (size_t i = 0; i < size; ++i) {
    const auto c = static_cast<unsigned char>(data[i]);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

void AppendString(std::string& out, const std::string& text) {
  AppendString(out, text.data(), text.size());
}

void AppendKey(std::string& out, const char* key) {
  AppendString(out, key, std::char_traits<char>::length(key));
  out += ": ";
}

template <typename T>
void AppendNumberOrNull(std::string& out, bool present, T value) {
  out += present ? std::to_string(value) : "null";
}

const char* ExtensionName(const TGIFExtension& extension) {
  if (dynamic_cast<const TGIFGraphicControlExtension*>(&extension)) return "graphic-control";
  if (dynamic_cast<const TGIFAppExtNSLoop*>(&extension)) return "netscape-loop";
  if (dynamic_cast<const TGIFCommentExtension*>(&extension)) return "comment";
  if (dynamic_cast<const TGIFTextExtension*>(&extension)) return "text";
  return "application";
}

void AppendFrame(std::string& out, const TGIFSubImage& frame) {
  const TGIFGraphicControlExtension* control = frame.FrameControl;
  const TGIFAppExtNSLoop* loop = frame.ExtensionBlocks.FindFirst<TGIFAppExtNSLoop>();
  out += "{";
  AppendKey(out, "left");
  out += std::to_string(frame.FrameLeft) + ", ";
  AppendKey(out, "top");
  out += std::to_string(frame.FrameTop) + ", ";
  AppendKey(out, "width");
  out += std::to_string(frame.FrameWidth) + ", ";
  AppendKey(out, "height");
  out += std::to_string(frame.FrameHeight) + ", ";
  AppendKey(out, "interlaced");
  out += frame.IsInterlaced() ? "true, " : "false, ";
  AppendKey(out, "local_colors");
  out += std::to_string(frame.LocalMap.EntryCount()) + ", ";
  AppendKey(out, "has_image");
  out += frame.Pixels() != nullptr ? "true, " : "false, ";
  AppendKey(out, "transparent");
  const bool transparent = frame.HasTransparency && control != nullptr;
  AppendNumberOrNull(out, transparent, transparent ? control->TransparentIndex() : 0);
  out += ", ";
  AppendKey(out, "disposal");
  AppendNumberOrNull(out, control != nullptr, control ? control->DisposalMode() : 0);
  out += ", ";
  AppendKey(out, "delay");
  AppendNumberOrNull(out, control != nullptr, control ? control->FrameDelay() : 0);
  out += ", ";
  AppendKey(out, "loop");
  AppendNumberOrNull(out, loop != nullptr, loop ? loop->LoopCount : 0);
  out += ", ";
  AppendKey(out, "extensions");
  out += "[";
  for (int i = 0; i < frame.ExtensionBlocks.Count(); ++i) {
    if (i > 0) out += ", ";
    out += '"';
    out += ExtensionName(frame.ExtensionBlocks.Extension(i));
    out += '"';
  }
  out += "]";
  if (frame.Pixels() != nullptr) {
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx",
                  static_cast<unsigned long long>(
                      Fnv1a64(frame.Pixels(), static_cast<size_t>(frame.PixelCount()))));
    out += ", ";
    AppendKey(out, "pixels_fnv1a64");
    AppendString(out, digest, 16);
  }
  out += "}";
}

}  // namespace

uint64_t Fnv1a64(const uint8_t* data, size_t size) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (size_t i = 0; i < size; ++i) {
    hash ^= data[i];
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

GifInfo LoadGifInfo(Stream& stream) {
  GifInfo info;
  info.image = std::make_unique<TGIFImage>();
  info.image->OnGIFWarning = [&info](TGIFObject*, int, const std::string& message) {
    info.warnings.push_back(message);
  };
  try {
    info.image->LoadFromStream(stream);
  } catch (const std::bad_alloc&) {
    info.error = OutOfMemoryError().what();
  } catch (const std::exception& error) {
    info.error = error.what();
  }
  info.image->OnGIFWarning = nullptr;
  return info;
}

GifInfo LoadGifInfoFromFile(const std::string& file_name) {
  try {
    FileReadStream stream(file_name);
    return LoadGifInfo(stream);
  } catch (const std::exception& error) {
    GifInfo info;
    info.image = std::make_unique<TGIFImage>();
    info.error = error.what();
    return info;
  }
}

std::string GifInfoJson(const GifInfo& info) {
  const TGIFHeader& header = info.image->ScreenHeader();
  std::string out = "{";
  AppendKey(out, "signature");
  if (header.Signature[0] == 0) {
    out += "null";
  } else {
    AppendString(out, header.Signature.data(), header.Signature.size());
  }
  out += ", ";
  AppendKey(out, "width");
  out += std::to_string(header.LogicalWidth) + ", ";
  AppendKey(out, "height");
  out += std::to_string(header.LogicalHeight) + ", ";
  AppendKey(out, "global_colors");
  out += std::to_string(header.GlobalMap.EntryCount()) + ", ";
  AppendKey(out, "background");
  out += std::to_string(header.BackgroundIndex) + ", ";
  AppendKey(out, "frames");
  out += "[";
  const TGIFImageList& frames = info.image->Frames();
  for (int i = 0; i < frames.Count(); ++i) {
    out += i > 0 ? ",\n  " : "\n  ";
    AppendFrame(out, frames.SubImage(i));
  }
  out += frames.Count() > 0 ? "\n], " : "], ";
  AppendKey(out, "warnings");
  out += "[";
  for (size_t i = 0; i < info.warnings.size(); ++i) {
    if (i > 0) out += ", ";
    AppendString(out, info.warnings[i]);
  }
  out += "], ";
  AppendKey(out, "error");
  if (info.error) {
    AppendString(out, *info.error);
  } else {
    out += "null";
  }
  out += "}\n";
  return out;
}

}  // namespace zephlet
