#include "support/gif_writer.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

namespace zephlet::test {

void BitPacker::Put(int code, int width) {
  for (int i = 0; i < width; ++i) {
    if (bit_count_ % 8 == 0) bytes_.push_back(0);
    if ((code >> i) & 1)
      bytes_.back() = static_cast<uint8_t>(bytes_.back() | (1 << (bit_count_ % 8)));
    ++bit_count_;
  }
}

Bytes BitPacker::Finish() const {
  return bytes_;
}

CodeWidthTracker::CodeWidthTracker(int min_code_size)
    : min_code_size_(min_code_size),
      clear_(1 << min_code_size),
      width_(min_code_size + 1),
      next_free_(clear_ + 2),
      width_limit_(2 * clear_) {}

void CodeWidthTracker::Advance(int code) {
  if (code == clear_) {
    width_ = min_code_size_ + 1;
    next_free_ = clear_ + 2;
    width_limit_ = 2 * clear_;
    after_clear_ = true;
    return;
  }
  if (after_clear_) {
    after_clear_ = false;
    return;
  }
  if (code == clear_ + 1) return;
  if (next_free_ <= 4095) {
    ++next_free_;
    if (next_free_ >= width_limit_ && width_limit_ <= 4095) {
      width_limit_ *= 2;
      ++width_;
    }
  }
}

Bytes PackCodes(const std::vector<int>& codes, int min_code_size) {
  BitPacker packer;
  CodeWidthTracker tracker(min_code_size);
  for (int code : codes) {
    packer.Put(code, tracker.Width());
    tracker.Advance(code);
  }
  return packer.Finish();
}

Bytes LzwEncode(const Bytes& values, int min_code_size, const LzwOptions& options) {
  if (min_code_size < 2 || min_code_size > 11) {
    throw std::invalid_argument("LzwEncode takes minimum code sizes 2 to 11; use PackCodes");
  }
  const int clear = 1 << min_code_size;
  BitPacker packer;
  CodeWidthTracker tracker(min_code_size);
  auto emit = [&](int code) {
    packer.Put(code, tracker.Width());
    tracker.Advance(code);
  };
  std::unordered_map<uint32_t, int> table;
  int next = clear + 2;
  if (options.initial_clear) emit(clear);
  if (!values.empty()) {
    int prefix = values[0];
    for (size_t i = 1; i < values.size(); ++i) {
      const uint32_t key = static_cast<uint32_t>(prefix) << 8 | values[i];
      const auto found = table.find(key);
      if (found != table.end()) {
        prefix = found->second;
        continue;
      }
      emit(prefix);
      if (next < 4096) {
        table.emplace(key, next++);
      }
      if (next == 4096 && options.clear_when_full) {
        emit(clear);
        table.clear();
        next = clear + 2;
      }
      prefix = values[i];
    }
    emit(prefix);
  }
  if (options.end_code) emit(clear + 1);
  return packer.Finish();
}

Bytes SubBlocks(const Bytes& data, const std::vector<int>& sizes, bool terminator) {
  Bytes out;
  size_t at = 0;
  size_t turn = 0;
  while (at < data.size()) {
    int size = sizes.empty() ? 255 : sizes[std::min(turn, sizes.size() - 1)];
    ++turn;
    if (size < 1 || size > 255) throw std::invalid_argument("sub-block size must be 1 to 255");
    const size_t n = std::min(static_cast<size_t>(size), data.size() - at);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<long>(at),
               data.begin() + static_cast<long>(at + n));
    at += n;
  }
  if (terminator) out.push_back(0);
  return out;
}

Bytes InterlaceRows(const Bytes& pixels, int width, int height) {
  Bytes out;
  out.reserve(pixels.size());
  static constexpr int kStart[4] = {0, 4, 2, 1};
  static constexpr int kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int row = kStart[pass]; row < height; row += kStep[pass]) {
      const auto begin = pixels.begin() + static_cast<long>(row) * width;
      out.insert(out.end(), begin, begin + width);
    }
  }
  return out;
}

int MinCodeSizeFor(const Bytes& values) {
  int largest = 0;
  for (uint8_t v : values) largest = std::max<int>(largest, v);
  int size = 2;
  while ((1 << size) <= largest) ++size;
  return size;
}

void TestColor(int index, uint8_t rgb[3]) {
  rgb[0] = static_cast<uint8_t>(index);
  rgb[1] = static_cast<uint8_t>(255 - index);
  rgb[2] = static_cast<uint8_t>(7 * index);
}

uint8_t TableSizeCode(int entries) {
  uint8_t code = 0;
  while ((2 << code) < entries && code < 7) ++code;
  return code;
}

GifWriter& GifWriter::Header(uint16_t width, uint16_t height, int global_colors,
                             std::string_view signature) {
  Signature(signature);
  const uint8_t flags =
      global_colors > 0 ? static_cast<uint8_t>(0x80 | TableSizeCode(global_colors)) : 0;
  Screen(width, height, flags);
  if (global_colors > 0) ColorTable(global_colors);
  return *this;
}

GifWriter& GifWriter::Signature(std::string_view signature) {
  for (const char c : signature) bytes_.push_back(static_cast<uint8_t>(c));
  return *this;
}

GifWriter& GifWriter::Screen(uint16_t width, uint16_t height, uint8_t flags, uint8_t background,
                             uint8_t aspect) {
  Word(width).Word(height).Byte(flags).Byte(background).Byte(aspect);
  return *this;
}

GifWriter& GifWriter::ColorTable(int entries) {
  for (int i = 0; i < entries; ++i) {
    uint8_t rgb[3];
    TestColor(i, rgb);
    bytes_.insert(bytes_.end(), rgb, rgb + 3);
  }
  return *this;
}

GifWriter& GifWriter::GraphicControl(uint8_t flags, uint16_t delay, uint8_t transparent_index) {
  Raw({0x21, 0xF9, 0x04, flags}).Word(delay).Byte(transparent_index).Byte(0);
  return *this;
}

GifWriter& GifWriter::NetscapeLoop(uint16_t loop_count) {
  return Application("NETSCAPE2.0", {{0x01, static_cast<uint8_t>(loop_count),
                                      static_cast<uint8_t>(loop_count >> 8)}});
}

GifWriter& GifWriter::Application(std::string_view signature,
                                  const std::vector<test::Bytes>& sub_blocks, int block_size) {
  Raw({0x21, 0xFF});
  Byte(static_cast<uint8_t>(block_size < 0 ? static_cast<int>(signature.size()) : block_size));
  Signature(signature);
  for (const test::Bytes& block : sub_blocks) {
    Byte(static_cast<uint8_t>(block.size()));
    Raw(block);
  }
  return Byte(0);
}

GifWriter& GifWriter::Comment(std::string_view text) {
  Raw({0x21, 0xFE});
  return Raw(SubBlocks(test::Bytes(text.begin(), text.end())));
}

GifWriter& GifWriter::PlainText(std::string_view text) {
  Raw({0x21, 0x01, 12});
  Word(0)
      .Word(0)
      .Word(static_cast<uint16_t>(8 * text.size()))
      .Word(8)
      .Byte(8)
      .Byte(8)
      .Byte(1)
      .Byte(0);
  return Raw(SubBlocks(test::Bytes(text.begin(), text.end())));
}

GifWriter& GifWriter::ImageDescriptor(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                                      uint8_t flags, uint8_t separator) {
  return Byte(separator).Word(left).Word(top).Word(width).Word(height).Byte(flags);
}

GifWriter& GifWriter::ImageData(const test::Bytes& pixels, const ImageDataOptions& options,
                                int interlace_width, int interlace_height) {
  const int code_size = options.min_code_size >= 0 ? options.min_code_size : MinCodeSizeFor(pixels);
  const test::Bytes values = interlace_width > 0 && interlace_height > 0
                                 ? InterlaceRows(pixels, interlace_width, interlace_height)
                                 : pixels;
  Byte(static_cast<uint8_t>(code_size));
  return Raw(
      SubBlocks(LzwEncode(values, code_size, options.lzw), options.sub_blocks, options.terminator));
}

GifWriter& GifWriter::Image(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                            const test::Bytes& pixels, uint8_t flags, int local_colors,
                            const ImageDataOptions& options) {
  if (local_colors > 0) flags = static_cast<uint8_t>(flags | 0x80 | TableSizeCode(local_colors));
  ImageDescriptor(left, top, width, height, flags);
  if (local_colors > 0) ColorTable(2 << (flags & 7));
  const bool interlaced = (flags & 0x40) != 0;
  return ImageData(pixels, options, interlaced ? width : 0, interlaced ? height : 0);
}

GifWriter& GifWriter::Raw(const test::Bytes& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

GifWriter& GifWriter::Byte(uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

GifWriter& GifWriter::Word(uint16_t value) {
  return Byte(static_cast<uint8_t>(value)).Byte(static_cast<uint8_t>(value >> 8));
}

GifWriter& GifWriter::Trailer() {
  return Byte(0x3B);
}

test::Bytes CharacterPixels() {
  // A figure of colours 0 to 14 on the transparent colour 15.
  test::Bytes pixels(186 * 32, 15);
  for (int y = 2; y < 30; ++y) {
    for (int x = 20 + y; x < 120 + y / 2; ++x) {
      pixels[static_cast<size_t>(y) * 186 + x] = static_cast<uint8_t>((x / 7 + y / 3) % 15);
    }
  }
  return pixels;
}

test::Bytes CharacterGif() {
  ImageDataOptions data;
  data.min_code_size = 4;
  return GifWriter()
      .Header(186, 32, 16)
      .NetscapeLoop(0)
      .GraphicControl(0x09, 3, 15)
      .Image(0, 0, 186, 32, CharacterPixels(), 0, 0, data)
      .Trailer()
      .Data();
}

}  // namespace zephlet::test
