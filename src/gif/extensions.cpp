#include "gif/extensions.h"

#include <algorithm>
#include <cstring>

#include "gif/extension_registry.h"
#include "gif/gif_error.h"
#include "gif/sub_image.h"

namespace zephlet {

namespace {

void WriteWord(Stream& stream, uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  WriteBytes(stream, bytes, 2);
}

template <typename T>
std::unique_ptr<TGIFExtension> Make(TGIFSubImage* frame) {
  return std::make_unique<T>(frame);
}

}  // namespace

// ---- TGIFExtension

TGIFExtension::TGIFExtension(TGIFSubImage* frame)
    : TGIFItem(frame != nullptr ? frame->Image() : nullptr), frame_(frame) {}

void TGIFExtension::LoadFromStream(Stream& stream) {
  uint8_t start[2];
  ReadExact(stream, start, 2);
  if (start[0] != 0x21) RaiseGIFError(gif_msg::kInvalidIntroducer);
  if (start[1] != ExtensionLabel()) RaiseGIFError(gif_msg::kExtensionLabelMismatch);
}

void TGIFExtension::SaveToStream(Stream& stream) {
  const uint8_t start[2] = {0x21, ExtensionLabel()};
  WriteBytes(stream, start, 2);
}

const TGIFExtensionClass* TGIFExtension::KeepClass(const TGIFExtensionClass& self, Stream&) {
  return &self;
}

// ---- TGIFGraphicControlExtension

const TGIFExtensionClass& TGIFGraphicControlExtension::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFGraphicControlExtension", 0xF9, &KeepClass,
                                      &Make<TGIFGraphicControlExtension>};
  return cls;
}

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* frame)
    : TGIFExtension(frame) {
  if (frame != nullptr && frame->FrameControl == nullptr) frame->FrameControl = this;
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() {
  TGIFSubImage* frame = SubImage();
  if (frame == nullptr) return;
  if (TransparencyFlag()) frame->HasTransparency = false;
  if (frame->FrameControl == this) frame->FrameControl = nullptr;
}

void TGIFGraphicControlExtension::SetFrameDelay(uint16_t delay) {
  Record[2] = static_cast<uint8_t>(delay);
  Record[3] = static_cast<uint8_t>(delay >> 8);
}

void TGIFGraphicControlExtension::SetTransparencyFlag(bool on) {
  Record[1] = static_cast<uint8_t>(on ? Record[1] | 0x01 : Record[1] & ~0x01);
}

void TGIFGraphicControlExtension::SetWaitForInput(bool on) {
  Record[1] = static_cast<uint8_t>(on ? Record[1] | 0x02 : Record[1] & ~0x02);
}

void TGIFGraphicControlExtension::SetDisposalMode(uint8_t mode) {
  Record[1] = static_cast<uint8_t>((Record[1] & ~0x1C) | ((mode & 7) << 2));
}

void TGIFGraphicControlExtension::LoadFromStream(Stream& stream) {
  TGIFExtension::LoadFromStream(stream);
  // The six bytes are taken as they stand, whatever the block size says.
  uint8_t record[6];
  const size_t got = stream.Read(record, sizeof record);
  std::memcpy(Record.data(), record, got);
  if (got < sizeof record) {
    ReportWarning(1, gif_msg::kPrematureEnd);
    return;
  }
  if (TransparencyFlag() && SubImage() != nullptr) SubImage()->HasTransparency = true;
}

void TGIFGraphicControlExtension::SaveToStream(Stream& stream) {
  TGIFExtension::SaveToStream(stream);
  WriteBytes(stream, Record.data(), Record.size());
}

// ---- TGIFTextExtension

const TGIFExtensionClass& TGIFTextExtension::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFTextExtension", 0x01, &KeepClass,
                                      &Make<TGIFTextExtension>};
  return cls;
}

void TGIFTextExtension::LoadFromStream(Stream& stream) {
  TGIFExtension::LoadFromStream(stream);
  ReadExact(stream, Record.data(), Record.size());
  ReadDataLines(stream, TextLines);
}

void TGIFTextExtension::SaveToStream(Stream& stream) {
  TGIFExtension::SaveToStream(stream);
  WriteBytes(stream, Record.data(), Record.size());
  WriteDataLines(stream, TextLines);
}

// ---- TGIFCommentExtension

const TGIFExtensionClass& TGIFCommentExtension::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFCommentExtension", 0xFE, &KeepClass,
                                      &Make<TGIFCommentExtension>};
  return cls;
}

void TGIFCommentExtension::LoadFromStream(Stream& stream) {
  TGIFExtension::LoadFromStream(stream);
  ReadDataLines(stream, CommentLines);
}

void TGIFCommentExtension::SaveToStream(Stream& stream) {
  TGIFExtension::SaveToStream(stream);
  WriteDataLines(stream, CommentLines);
}

// ---- TGIFApplicationExtension

const TGIFExtensionClass& TGIFApplicationExtension::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFApplicationExtension", 0xFF, &ResolveAppClass, nullptr};
  return cls;
}

const TGIFExtensionClass* TGIFApplicationExtension::ResolveAppClass(const TGIFExtensionClass& self,
                                                                    Stream& stream) {
  const int64_t start = stream.Position();
  uint8_t block_size = 0;
  if (!ReadByte(stream, block_size)) return nullptr;
  if (block_size == 10) {
    uint8_t skipped[10];
    if (stream.Read(skipped, sizeof skipped) != sizeof skipped) return nullptr;
    return &TGIFUnknownAppExtension::StaticClass();
  }
  Signature signature{};
  if (block_size != 11 || stream.Read(signature.data(), signature.size()) != signature.size()) {
    stream.SetPosition(start);
    return &self;
  }
  const TGIFExtensionClass* found = AppExtensionRegistry().Find(signature);
  return found != nullptr ? found : &TGIFUnknownAppExtension::StaticClass();
}

std::string TGIFApplicationExtension::AppSignatureText() const {
  return std::string(reinterpret_cast<const char*>(AppSignature.data()), AppSignature.size());
}

void TGIFApplicationExtension::LoadFromStream(Stream& stream) {
  TGIFExtension::LoadFromStream(stream);
  uint8_t block_size = 0;
  ReadExact(stream, &block_size, 1);
  if (block_size == 10) {
    AppSignature.fill(0);
    ReadExact(stream, AppSignature.data(), 10);
  } else if (block_size < 10) {
    RaiseGIFError(gif_msg::kUnsupportedAppBlockSize);
  } else {
    ReadExact(stream, AppSignature.data(), AppSignature.size());
    stream.Seek(block_size - 11);
  }
  ReadAppData(stream);
}

void TGIFApplicationExtension::SaveToStream(Stream& stream) {
  TGIFExtension::SaveToStream(stream);
  WriteByte(stream, 11);
  WriteBytes(stream, AppSignature.data(), AppSignature.size());
  WriteAppData(stream);
}

// ---- TGIFAppExtNSLoop

const TGIFExtensionClass& TGIFAppExtNSLoop::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFAppExtNSLoop", 0xFF, &ResolveAppClass,
                                      &Make<TGIFAppExtNSLoop>};
  return cls;
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* frame) : TGIFApplicationExtension(frame) {
  std::memcpy(AppSignature.data(), "NETSCAPE2.0", AppSignature.size());
}

void TGIFAppExtNSLoop::ReadAppData(Stream& stream) {
  uint8_t size = 0;
  if (!ReadByte(stream, size)) return;
  while (size != 0) {
    uint8_t identifier = 0;
    ReadExact(stream, &identifier, 1);
    int left = size - 1;  // the identifier is a byte of the sub-block
    switch (identifier & 7) {
      case 1: {
        if (left < 2) RaiseGIFError(gif_msg::kInvalidData);
        uint8_t count[2];
        ReadExact(stream, count, 2);
        LoopCount = static_cast<uint16_t>(count[0] | (count[1] << 8));
        left -= 2;
        break;
      }
      case 2: {
        if (left < 4) RaiseGIFError(gif_msg::kInvalidData);
        uint8_t buffering[4];
        ReadExact(stream, buffering, 4);
        BufferingSize = uint32_t{buffering[0]} | (uint32_t{buffering[1]} << 8) |
                        (uint32_t{buffering[2]} << 16) | (uint32_t{buffering[3]} << 24);
        left -= 4;
        break;
      }
      default:
        break;
    }
    stream.Seek(left);
    if (!ReadByte(stream, size)) return;
  }
}

void TGIFAppExtNSLoop::WriteAppData(Stream& stream) {
  WriteByte(stream, 3);
  WriteByte(stream, 1);
  WriteWord(stream, LoopCount);
  if (BufferingSize != 0) {
    WriteByte(stream, 5);
    WriteByte(stream, 2);
    WriteWord(stream, static_cast<uint16_t>(BufferingSize));
    WriteWord(stream, static_cast<uint16_t>(BufferingSize >> 16));
  }
  WriteByte(stream, 0);
}

// ---- TGIFUnknownAppExtension

const TGIFExtensionClass& TGIFUnknownAppExtension::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFUnknownAppExtension", 0xFF, &ResolveAppClass,
                                      &Make<TGIFUnknownAppExtension>};
  return cls;
}

void TGIFUnknownAppExtension::ReadAppData(Stream& stream) {
  RawBlocks.clear();
  uint8_t size = 0;
  if (!ReadByte(stream, size)) return;
  while (size != 0) {
    TGIFBlock block;
    block.BlockLength = size;
    block.BlockBytes.assign(size, 0);
    ReadExact(stream, block.BlockBytes.data(), size);
    RawBlocks.push_back(std::move(block));
    if (!ReadByte(stream, size)) return;
  }
}

void TGIFUnknownAppExtension::WriteAppData(Stream& stream) {
  for (const TGIFBlock& block : RawBlocks) {
    WriteByte(stream, block.BlockLength);
    std::vector<uint8_t> bytes(block.BlockLength, 0);
    std::copy_n(block.BlockBytes.begin(),
                std::min<size_t>(block.BlockLength, block.BlockBytes.size()), bytes.begin());
    WriteBytes(stream, bytes.data(), bytes.size());
  }
  WriteByte(stream, 0);
}

// ---- data sub-block lines

void ReadDataLines(Stream& stream, std::vector<std::string>& lines) {
  lines.clear();
  uint8_t size = 0;
  if (!ReadByte(stream, size)) return;
  char bytes[255];
  while (size != 0) {
    ReadExact(stream, bytes, size);
    lines.emplace_back(bytes, std::find(bytes, bytes + size, '\0'));
    if (!ReadByte(stream, size)) return;
  }
}

void WriteDataLines(Stream& stream, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    for (size_t at = 0; at < line.size(); at += 255) {
      const size_t chunk = std::min<size_t>(255, line.size() - at);
      WriteByte(stream, static_cast<uint8_t>(chunk));
      WriteBytes(stream, line.data() + at, chunk);
    }
  }
  WriteByte(stream, 0);
}

}  // namespace zephlet
