#include "gif/lzw_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "gif/extensions.h"
#include "gif/gif_error.h"
#include "gif/sub_image.h"

namespace zephlet {

namespace {

constexpr int kTableSize = 4096;  // codes are at most 12 bits wide
constexpr int kStackSize = 8192;  // twice the table: no real string comes near it
constexpr int kMaxCodeSize = 11;  // a larger minimum code size puts the clear code past the table

// Decodes one frame's image data. The bits are taken least significant first from a
// buffer whose first two bytes carry the end of the previous sub-block, so a code can
// straddle sub-blocks. Table entries whose string is known to be fixed (every prefix in the
// chain defined before the entry itself) carry their length and first value, so their
// string is written straight into the pixels: copied from where it was written before when
// the rows are in order, else by walking the prefixes. Anything else is expanded link by
// link on the stack, where cycles are caught.
class FrameDecoder {
 public:
  FrameDecoder(TGIFSubImage& frame, Stream& stream, int code_size)
      : frame_(frame),
        stream_(stream),
        clear_(1 << code_size),
        end_(clear_ + 1),
        start_width_(code_size + 1) {
    std::memset(prefix_, 0, sizeof prefix_);
    std::memset(suffix_, 0, sizeof suffix_);
    // An entry's offset is read only while its length is not 0, so zero does for the rest.
    std::memset(entries_, 0, sizeof entries_);
    for (int k = 0; k < clear_; ++k) {
      suffix_[k] = static_cast<uint16_t>(k);
      entries_[k] = Entry{kNoOffset, 1, static_cast<uint16_t>(k)};
    }
    // The end code's entry is never defined: it expands to its zero suffix after entry 0.
    entries_[end_] = Entry{kNoOffset, 2, 0};
    next_free_ = clear_ + 2;
    dirty_end_ = next_free_;
    std::memset(buffer_, 0, sizeof buffer_);
  }

  // The pixel loop: one code at a time, each writing its whole string. Values of the last
  // string beyond the last pixel stay on the stack.
  void Run() {
    uint8_t* pixels = frame_.Pixels();
    width_px_ = frame_.FrameWidth;
    height_ = frame_.FrameHeight;
    interlaced_ = frame_.IsInterlaced();
    if (pixels != nullptr) {
      pixels_ = pixels;
      if (interlaced_) {
        out_ = pixels_;
        out_end_ = pixels_ + width_px_;
        rows_done_ = 0;
      } else {
        out_ = pixels_;
        out_end_ = pixels_ + static_cast<size_t>(width_px_) * height_;
      }
      fill_ = pixels_[0];  // nothing is written yet
    }

    bool end_code_met = false;
    for (;;) {
      if (!interlaced_ && pixels_ != nullptr && !force_clear_) RunFast();
      if (out_ == out_end_ && !NextSegment()) break;  // every pixel has its value
      int code = FetchCode(width_);
      if (code < 0) break;  // the data ran out
      if (code == clear_) {
        code = FetchAfterClear();
        if (code < 0) break;
        previous_position_ = Position();
        previous_exact_ = code < clear_ && !interlaced_;
        *out_++ = static_cast<uint8_t>(code);
        continue;
      }
      if (code == end_) {
        SkipRestOfData();
        end_code_met = true;
        break;
      }
      Expand(code);
    }
    // One more value after the pixels: normally the end code, which moves the stream past
    // the data's terminator.
    if (!end_code_met) NextPixelValue();
  }

 private:
  // ---- fast path for frames whose rows are in order

  // Copies `length` bytes from `source` to `out` eight at a time when the output has room
  // for the rounded-up length; the bytes past `length` are overwritten later. Every source
  // byte below `length` lies before `out`, so each chunk reads only finished output.
  static void CopyString(uint8_t* out, const uint8_t* source, size_t length, size_t room) {
    if (((length + 7) & ~size_t{7}) <= room) {
      for (size_t i = 0; i < length; i += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, source + i, 8);
        std::memcpy(out + i, &chunk, 8);
      }
    } else {
      for (size_t i = 0; i < length; ++i) out[i] = source[i];
    }
  }

  // Decodes codes while nothing unusual happens: the code lies whole in the bit buffer, it
  // is a root or a fixed entry (or the entry being defined) whose string fits in the
  // output, and it is neither the clear code nor the end code. The hot state lives in
  // locals and is stored back on return; the code that stopped the loop stays unread.
  void RunFast() {
    uint8_t* out = out_;
    uint8_t* const out_end = out_end_;
    uint8_t* const pixels = pixels_;
    const uint8_t* const buffer = buffer_;
    Entry* const entries = entries_;
    const int clear = clear_;
    const int end = end_;
    const int bit_limit = bit_limit_;
    int bit_position = bit_position_;
    int width = width_;
    uint32_t mask = (1u << width) - 1;
    int width_limit = width_limit_;
    int next_free = next_free_;
    int previous_code = previous_code_;
    int first_value = first_value_;
    uint32_t previous_position = previous_position_;
    bool previous_exact = previous_exact_;

    while (out != out_end && bit_position + width < bit_limit) {
      const int at = bit_position >> 3;
      const uint32_t bits =
          uint32_t{buffer[at]} | (uint32_t{buffer[at + 1]} << 8) | (uint32_t{buffer[at + 2]} << 16);
      const int code = static_cast<int>((bits >> (bit_position & 7)) & mask);
      const size_t room = static_cast<size_t>(out_end - out);
      const uint32_t start = static_cast<uint32_t>(out - pixels);
      bool exact = true;
      if (code < clear) {
        *out++ = static_cast<uint8_t>(code);
        first_value = code;
      } else if (code == clear || code == end) {
        break;
      } else if (code < next_free) {
        const Entry entry = entries[code];
        if (entry.length == 0 || entry.length > room || entry.offset == kNoOffset) break;
        CopyString(out, pixels + entry.offset, entry.length, room);
        out += entry.length;
        first_value = entry.first;
      } else {
        // Not yet in the table: the previous string followed by its first value.
        const Entry previous = entries[previous_code];
        const size_t length = previous.length;
        if (length == 0 || length + 1 > room || !previous_exact) break;
        CopyString(out, pixels + previous_position, length, room);
        out[length] = static_cast<uint8_t>(first_value);
        out += length + 1;
        // The output is the new entry's string when the code names that entry.
        exact = code == next_free && first_value == previous.first;
        first_value = previous.first;
      }
      bit_position += width;
      if (next_free < kTableSize) {
        const Entry previous = entries[previous_code];
        prefix_[next_free] = static_cast<uint16_t>(previous_code);
        suffix_[next_free] = static_cast<uint16_t>(first_value);
        entries[next_free] = Entry{
            previous.length != 0 && previous_exact ? previous_position : kNoOffset,
            static_cast<uint16_t>(previous.length != 0 ? previous.length + 1 : 0), previous.first};
        ++next_free;
        if (next_free >= width_limit && width_limit < kTableSize) {
          width_limit *= 2;
          ++width;
          mask = mask * 2 + 1;
        }
      }
      previous_code = code;
      previous_position = start;
      previous_exact = exact;
    }

    // The copies may have run up to seven bytes past the last pixel written: those pixels
    // get the fill value back, which they keep unless later codes reach them.
    const size_t rest = static_cast<size_t>(out_end - out);
    std::fill_n(out, rest < 8 ? rest : 8, fill_);
    out_ = out;
    bit_position_ = bit_position;
    width_ = width;
    width_limit_ = width_limit;
    next_free_ = next_free;
    dirty_end_ = next_free;
    previous_code_ = previous_code;
    first_value_ = first_value;
    previous_position_ = previous_position;
    previous_exact_ = previous_exact;
  }

  // ---- bit input

  int FetchCode(int width) {
    if (force_clear_) {
      // The first code of a frame is taken as a clear code without reading any bits.
      force_clear_ = false;
      return clear_;
    }
    if (bit_position_ + width >= bit_limit_ && !Refill(width)) return -1;
    const int at = bit_position_ >> 3;
    const uint32_t bits = uint32_t{buffer_[at]} | (uint32_t{buffer_[at + 1]} << 8) |
                          (uint32_t{buffer_[at + 2]} << 16);
    const int code = static_cast<int>((bits >> (bit_position_ & 7)) & ((1u << width) - 1));
    bit_position_ += width;
    return code;
  }

  // Reads sub-blocks until the buffer holds the next code, carrying the last two bytes
  // (all the unread bits: fewer than a code) in front of each new sub-block.
  bool Refill(int width) {
    for (;;) {
      if (data_exhausted_) {
        if (bit_position_ >= bit_limit_) frame_.ReportWarning(1, gif_msg::kBitBufferUnderrun);
        return false;
      }
      uint8_t size = 0;
      if (!ReadByte(stream_, size)) return false;
      buffer_[0] = buffer_[buffer_fill_ - 2];
      buffer_[1] = buffer_[buffer_fill_ - 1];
      int count = size;
      if (count == 0) {
        terminator_seen_ = true;
        data_exhausted_ = true;
      } else {
        const int64_t remaining = stream_.Remaining();
        if (count > remaining) {
          frame_.ReportWarning(1, gif_msg::kPrematureEnd);
          count = static_cast<int>(remaining);
        }
        if (count != 0) ReadExact(stream_, buffer_ + 2, static_cast<size_t>(count));
      }
      buffer_fill_ = 2 + count;
      bit_position_ = bit_position_ - bit_limit_ + 16;
      bit_limit_ = 8 * buffer_fill_;
      if (bit_position_ + width <= bit_limit_) return true;
    }
  }

  // After an end code: skip the remaining sub-blocks up to and including the terminator.
  void SkipRestOfData() {
    if (terminator_seen_) return;
    uint8_t size = 0;
    while (ReadByte(stream_, size) && size != 0) stream_.Seek(size);
  }

  // ---- table

  void ResetTable() {
    // Only entries defined since the last reset differ from their initial zero.
    const size_t dirty = static_cast<size_t>(dirty_end_ - (clear_ + 2));
    std::memset(prefix_ + clear_ + 2, 0, dirty * sizeof prefix_[0]);
    std::memset(suffix_ + clear_ + 2, 0, dirty * sizeof suffix_[0]);
    std::memset(entries_ + clear_ + 2, 0, dirty * sizeof entries_[0]);
    width_ = start_width_;
    width_limit_ = 2 * clear_;
    next_free_ = clear_ + 2;
    dirty_end_ = next_free_;
    stack_top_ = 0;
  }

  // The codes after a clear code: further clear codes are skipped; the first other code
  // (the end code and codes not in the table included) is taken as a value as it stands.
  int FetchAfterClear() {
    ResetTable();
    int code;
    do {
      code = FetchCode(width_);
    } while (code == clear_);
    if (code < 0) return code;  // the data ran out; nothing will be expanded any more
    first_value_ = code;
    previous_code_ = code;
    return code;
  }

  void Define(int value) {
    if (next_free_ >= kTableSize) return;  // full: codes go on referring to it
    const int entry = next_free_;
    prefix_[entry] = static_cast<uint16_t>(previous_code_);
    suffix_[entry] = static_cast<uint16_t>(value);
    const Entry& previous = entries_[previous_code_];
    const int previous_length = previous.length;
    // The entry is the previous string followed by the first value written after it.
    entries_[entry] = Entry{
        previous_length != 0 && previous_exact_ ? previous_position_ : kNoOffset,
        static_cast<uint16_t>(previous_length != 0 ? previous_length + 1 : 0), previous.first};
    next_free_ = entry + 1;
    dirty_end_ = next_free_;
    if (next_free_ >= width_limit_ && width_limit_ < kTableSize) {
      width_limit_ *= 2;
      ++width_;
    }
  }

  // Writes the string of a fixed entry ending at `last`, walking the prefixes back.
  void WriteString(int code, uint8_t* last) const {
    while (code >= clear_) {
      *last-- = static_cast<uint8_t>(suffix_[code]);
      code = prefix_[code];
    }
    *last = static_cast<uint8_t>(suffix_[code]);
  }

  uint32_t Position() const { return static_cast<uint32_t>(out_ - pixels_); }

  // Copies `length` bytes written earlier at `from` to the output.
  void CopyEarlier(uint32_t from, size_t length) {
    const uint8_t* source = pixels_ + from;
    if (length < 16) {
      for (size_t i = 0; i < length; ++i) out_[i] = source[i];
    } else {
      std::memcpy(out_, source, length);
    }
  }

  void Expand(int code) {
    const size_t room = static_cast<size_t>(out_end_ - out_);
    const uint32_t start = Position();
    if (code < next_free_) {
      const size_t length = entries_[code].length;
      if (length != 0 && length <= room) {
        if (entries_[code].offset != kNoOffset) {
          CopyEarlier(entries_[code].offset, length);
        } else {
          WriteString(code, out_ + length - 1);
        }
        out_ += length;
        first_value_ = entries_[code].first;
        Define(first_value_);
        previous_code_ = code;
        previous_position_ = start;
        previous_exact_ = !interlaced_;
        return;
      }
    } else {
      // Not yet in the table: the previous string followed by its first value.
      const size_t length = entries_[previous_code_].length;
      if (length != 0 && length + 1 <= room) {
        const int old_first = first_value_;
        if (previous_exact_) {
          CopyEarlier(previous_position_, length);
        } else {
          WriteString(previous_code_, out_ + length - 1);
        }
        out_[length] = static_cast<uint8_t>(old_first);
        out_ += length + 1;
        first_value_ = entries_[previous_code_].first;
        const int defined = next_free_;
        Define(first_value_);
        // The output is the new entry's string when the code names that entry.
        previous_exact_ = !interlaced_ && code == defined && old_first == first_value_;
        previous_code_ = code;
        previous_position_ = start;
        return;
      }
    }
    ExpandOnStack(code);
    previous_exact_ = false;
    Drain();
  }

  void Push(int value) {
    // Only a cycle in the table makes a string this long.
    if (stack_top_ == kStackSize) RaiseGIFError(gif_msg::kCircularTable);
    stack_[stack_top_++] = static_cast<uint16_t>(value);
  }

  // Expands a code link by link onto the stack, last value first.
  void ExpandOnStack(int code) {
    const int incoming = code;
    if (code >= next_free_) {
      Push(first_value_);
      code = previous_code_;
    }
    while (code >= clear_) {
      Push(suffix_[code]);
      if (prefix_[code] == code) RaiseGIFError(gif_msg::kCircularTable);
      code = prefix_[code];
    }
    first_value_ = suffix_[code];
    Push(first_value_);
    Define(first_value_);
    previous_code_ = incoming;
  }

  // Moves the stack into the pixels; what does not fit stays on the stack.
  void Drain() {
    while (stack_top_ > 0) {
      if (out_ == out_end_ && !NextSegment()) return;
      size_t n = static_cast<size_t>(out_end_ - out_);
      if (n > static_cast<size_t>(stack_top_)) n = static_cast<size_t>(stack_top_);
      for (size_t i = 0; i < n; ++i) *out_++ = static_cast<uint8_t>(stack_[--stack_top_]);
    }
  }

  // The next decoded value: one left over from the last string, else ExpandNextCode.
  int NextPixelValue() {
    if (stack_top_ > 0) return stack_[--stack_top_];
    return ExpandNextCode();
  }

  // Fetches and expands the next code one value at a time: the string's first value, or -1
  // when the data has run out, or -2 at the end code.
  int ExpandNextCode() {
    const int code = FetchCode(width_);
    if (code < 0) return code;
    if (code == clear_) return FetchAfterClear();
    if (code == end_) {
      SkipRestOfData();
      return -2;
    }
    ExpandOnStack(code);
    return stack_[--stack_top_];
  }

  // ---- output rows

  // Moves the output to the next row (interlaced frames) or reports that all are filled.
  bool NextSegment() {
    if (!interlaced_ || pixels_ == nullptr) return false;
    if (++rows_done_ >= height_) return false;
    // Interlace passes: rows 0, 8, ...; 4, 12, ...; 2, 6, ...; 1, 3, ...
    row_ += step_;
    while (row_ >= height_) {
      if (pass_ > 0) step_ /= 2;
      ++pass_;
      if (step_ == 0) return false;
      row_ = step_ / 2;
    }
    out_ = pixels_ + static_cast<size_t>(row_) * width_px_;
    out_end_ = out_ + width_px_;
    return true;
  }

  TGIFSubImage& frame_;
  Stream& stream_;

  const int clear_;
  const int end_;
  const int start_width_;
  int width_ = start_width_;
  int width_limit_ = 2 * clear_;
  int next_free_ = 0;
  int dirty_end_ = 0;
  int first_value_ = 0;
  int previous_code_ = 0;

  uint16_t prefix_[kTableSize];
  uint16_t suffix_[kTableSize];
  static constexpr uint32_t kNoOffset = 0xFFFFFFFF;
  // What the pixel writers know of an entry's string.
  struct Entry {
    uint32_t offset;  // where a fixed entry's string stands in the pixels, or kNoOffset
    uint16_t length;  // string length of a fixed entry, 0 when not known
    uint16_t first;   // first value of a fixed entry's string
  };
  Entry entries_[kTableSize];
  uint32_t previous_position_ = 0;  // where the previous code's output begins
  bool previous_exact_ = false;     // that output is the previous code's table string
  uint16_t stack_[kStackSize];
  int stack_top_ = 0;

  // Two carried bytes, at most 255 bytes of the current sub-block, and two spare bytes so
  // that a code is always assembled from three bytes.
  uint8_t buffer_[2 + 255 + 2];
  int buffer_fill_ = 2;
  int bit_position_ = 0;
  int bit_limit_ = 0;
  bool terminator_seen_ = false;
  bool data_exhausted_ = false;
  bool force_clear_ = true;

  uint8_t* pixels_ = nullptr;
  uint8_t fill_ = 0;
  uint8_t* out_ = nullptr;
  uint8_t* out_end_ = nullptr;
  int width_px_ = 0;
  int height_ = 0;
  bool interlaced_ = false;
  int rows_done_ = 0;
  int row_ = 0;
  int pass_ = 0;
  int step_ = 8;
};

// Skips image data that cannot be decoded, up to and including its terminator.
void SkipImageData(Stream& stream) {
  uint8_t size = 0;
  while (ReadByte(stream, size) && size != 0) stream.Seek(size);
}

}  // namespace

void DecodeFrameData(TGIFSubImage& frame, Stream& stream) {
  const bool transparent = frame.HasTransparency && frame.FrameControl != nullptr;
  frame.AllocatePixels(transparent ? frame.FrameControl->TransparentIndex() : 0);

  uint8_t code_size = 0;
  if (!ReadByte(stream, code_size)) return;
  if (code_size > kMaxCodeSize) {
    // The clear code would lie past the 4096-entry table: keep the fill value.
    frame.ReportWarning(1, gif_msg::kInvalidCodeSize);
    SkipImageData(stream);
    return;
  }
  FrameDecoder decoder(frame, stream, code_size);
  decoder.Run();
}

}  // namespace zephlet
