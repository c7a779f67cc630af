// The extension blocks (introducer 0x21 and a label) that stand before a frame's image,
// and the class descriptors through which the registries pick a class from the bytes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gif/gif_item.h"
#include "gif/stream.h"

namespace zephlet {

class TGIFExtension;
class TGIFSubImage;

// An extension class: its label, its class-level ResolveClass and its constructor.
struct TGIFExtensionClass {
  const char* Name;
  uint8_t Label;
  // May pick a more specific class from the bytes after the label, reading on from the
  // stream's position; answers `self` to keep the class, or null for none.
  const TGIFExtensionClass* (*ResolveClass)(const TGIFExtensionClass& self, Stream& stream);
  // Null for an abstract class.
  std::unique_ptr<TGIFExtension> (*Create)(TGIFSubImage* frame);
};

class TGIFExtension : public TGIFItem {
 public:
  // `frame` owns the extension; the frame's image becomes the owning image.
  explicit TGIFExtension(TGIFSubImage* frame);

  TGIFSubImage* SubImage() const { return frame_; }
  virtual const TGIFExtensionClass& Class() const = 0;
  uint8_t ExtensionLabel() const { return Class().Label; }
  int RequiredVersion() const override { return 2; }

  // Reads the introducer and the label: "Invalid extension introducer" when the first byte
  // is not 0x21, "Internal error: Extension Instance does not match Extension Label" when
  // the second is not this class's label. Subclasses read their data after it.
  void LoadFromStream(Stream& stream) override;
  // Writes the introducer and the label.
  void SaveToStream(Stream& stream) override;

  // The default class-level ResolveClass: keeps the asking class.
  static const TGIFExtensionClass* KeepClass(const TGIFExtensionClass& self, Stream& stream);

 private:
  TGIFSubImage* frame_;
};

// Label 0xF9: disposal, delay and transparency of the frame.
class TGIFGraphicControlExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass& StaticClass();
  // Becomes the frame's FrameControl when the frame has none yet.
  explicit TGIFGraphicControlExtension(TGIFSubImage* frame);
  // Clears the frame's HasTransparency when its own flag is set, and its FrameControl
  // when that is this extension.
  ~TGIFGraphicControlExtension() override;
  const TGIFExtensionClass& Class() const override { return StaticClass(); }

  // Block size, flags, delay (16-bit little-endian), transparent index, terminator, kept as
  // read; a short read keeps the creation values for the bytes that did not come.
  std::array<uint8_t, 6> Record{4, 0, 0, 0, 0, 0};

  uint8_t BlockSize() const { return Record[0]; }
  uint8_t ControlFlags() const { return Record[1]; }
  void SetControlFlags(uint8_t flags) { Record[1] = flags; }
  uint16_t FrameDelay() const { return static_cast<uint16_t>(Record[2] | (Record[3] << 8)); }
  void SetFrameDelay(uint16_t delay);
  uint8_t TransparentIndex() const { return Record[4]; }
  void SetTransparentIndex(uint8_t index) { Record[4] = index; }
  bool TransparencyFlag() const { return (Record[1] & 0x01) != 0; }
  void SetTransparencyFlag(bool on);
  bool WaitForInput() const { return (Record[1] & 0x02) != 0; }
  void SetWaitForInput(bool on);
  // Bits 2 to 4 of the flags, 0 to 7, as read.
  uint8_t DisposalMode() const { return static_cast<uint8_t>((Record[1] >> 2) & 7); }
  void SetDisposalMode(uint8_t mode);

  void LoadFromStream(Stream& stream) override;
  void SaveToStream(Stream& stream) override;
};

// Label 0x01: plain text.
class TGIFTextExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass& StaticClass();
  explicit TGIFTextExtension(TGIFSubImage* frame) : TGIFExtension(frame) {}
  const TGIFExtensionClass& Class() const override { return StaticClass(); }

  // Block size, grid left, top, width, height (16-bit each), cell width, cell height,
  // foreground and background index.
  std::array<uint8_t, 13> Record{12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::vector<std::string> TextLines;

  uint16_t GridLeft() const { return Word(1); }
  uint16_t GridTop() const { return Word(3); }
  uint16_t GridWidth() const { return Word(5); }
  uint16_t GridHeight() const { return Word(7); }
  uint8_t CharWidth() const { return Record[9]; }
  uint8_t CharHeight() const { return Record[10]; }
  uint8_t TextForeIndex() const { return Record[11]; }
  uint8_t TextBackIndex() const { return Record[12]; }

  void LoadFromStream(Stream& stream) override;
  void SaveToStream(Stream& stream) override;

 private:
  uint16_t Word(int at) const { return static_cast<uint16_t>(Record[at] | (Record[at + 1] << 8)); }
};

// Label 0xFE: comment lines.
class TGIFCommentExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass& StaticClass();
  explicit TGIFCommentExtension(TGIFSubImage* frame) : TGIFExtension(frame) {}
  const TGIFExtensionClass& Class() const override { return StaticClass(); }

  std::vector<std::string> CommentLines;

  void LoadFromStream(Stream& stream) override;
  void SaveToStream(Stream& stream) override;
};

// Label 0xFF: an application's block, identified by an 11-byte signature.
class TGIFApplicationExtension : public TGIFExtension {
 public:
  using Signature = std::array<uint8_t, 11>;
  // Abstract: the registry's class choice never creates it (see FindExtensionClass).
  static const TGIFExtensionClass& StaticClass();
  // Picks the class from the block size and the signature.
  static const TGIFExtensionClass* ResolveAppClass(const TGIFExtensionClass& self, Stream& stream);
  explicit TGIFApplicationExtension(TGIFSubImage* frame) : TGIFExtension(frame) {}

  // 8-byte identifier and 3-byte authentication code.
  Signature AppSignature{};
  std::string AppSignatureText() const;

  // Common start, block size, signature, then ReadAppData. A block size of 10 takes the 10
  // bytes and a zero byte as the signature; below 10 raises "Unsupported Application
  // Extension block size"; above 11 skips the bytes after the 11th.
  void LoadFromStream(Stream& stream) override;
  // 0x21 0xFF 0x0B, the signature, then WriteAppData.
  void SaveToStream(Stream& stream) override;
  virtual void ReadAppData(Stream& stream) = 0;
  virtual void WriteAppData(Stream& stream) = 0;
};

// "NETSCAPE2.0" and "ANIMEXTS1.0": the loop count of an animation.
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
 public:
  static const TGIFExtensionClass& StaticClass();
  explicit TGIFAppExtNSLoop(TGIFSubImage* frame);
  const TGIFExtensionClass& Class() const override { return StaticClass(); }

  uint16_t LoopCount = 0;  // 0 = loop forever
  uint32_t BufferingSize = 0;

  void ReadAppData(Stream& stream) override;
  void WriteAppData(Stream& stream) override;
};

struct TGIFBlock {
  uint8_t BlockLength = 0;
  std::vector<uint8_t> BlockBytes;
};

// Any other application block: every data sub-block is kept as it was read.
class TGIFUnknownAppExtension : public TGIFApplicationExtension {
 public:
  static const TGIFExtensionClass& StaticClass();
  explicit TGIFUnknownAppExtension(TGIFSubImage* frame) : TGIFApplicationExtension(frame) {}
  const TGIFExtensionClass& Class() const override { return StaticClass(); }

  std::vector<TGIFBlock> RawBlocks;

  void ReadAppData(Stream& stream) override;
  void WriteAppData(Stream& stream) override;
};

// Data sub-blocks as lines: each sub-block becomes one line, cut at its first 0x00 byte.
void ReadDataLines(Stream& stream, std::vector<std::string>& lines);
// Each line in chunks of at most 255 bytes (an empty line writes nothing), then 0x00.
void WriteDataLines(Stream& stream, const std::vector<std::string>& lines);

}  // namespace zephlet
