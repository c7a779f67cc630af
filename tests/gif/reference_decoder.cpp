#include "gif/reference_decoder.h"

#include <vector>

namespace zephlet::test {

namespace {

struct Failure {
  std::string message;
};

class Reference {
 public:
  Reference(const std::vector<uint8_t>& data, ReferenceResult& result)
      : data_(data), result_(result) {}

  bool ReadByte(uint8_t& value) {
    if (pos_ >= static_cast<int64_t>(data_.size())) return false;
    value = data_[static_cast<size_t>(pos_++)];
    return true;
  }
  int64_t Remaining() const {
    const int64_t left = static_cast<int64_t>(data_.size()) - pos_;
    return left > 0 ? left : 0;
  }

  void Init(int m) {
    clear_ = 1 << m;
    end_ = clear_ + 1;
    start_width_ = m + 1;
    width_ = start_width_;
    next_free_ = clear_ + 2;
    limit_ = 2 * clear_;
  }

  int Fetch(int width) {
    if (force_clear_) {
      force_clear_ = false;
      return clear_;
    }
    if (bitpos_ + width >= bitlimit_) {
      for (;;) {
        if (exhausted_) {
          if (bitpos_ >= bitlimit_) result_.warnings.push_back("Decoder bit buffer under-run");
          return -1;
        }
        uint8_t n8;
        if (!ReadByte(n8)) return -1;
        buf_[0] = buf_[fill_ - 2];
        buf_[1] = buf_[fill_ - 1];
        int n = n8;
        if (n == 0) {
          terminator_ = exhausted_ = true;
        } else {
          if (n > Remaining()) {
            result_.warnings.push_back("Premature end of data");
            n = static_cast<int>(Remaining());
          }
          for (int i = 0; i < n; ++i) ReadByte(buf_[2 + i]);
        }
        fill_ = 2 + n;
        bitpos_ = bitpos_ - bitlimit_ + 16;
        bitlimit_ = 8 * fill_;
        if (bitpos_ + width <= bitlimit_) break;
      }
    }
    int v = 0;
    for (int i = 0; i < width; ++i) {
      const int bit = bitpos_ + i;
      v |= ((buf_[bit / 8] >> (bit % 8)) & 1) << i;
    }
    bitpos_ += width;
    return v;
  }

  void Push(int v) {
    if (stack_.size() == 8192) throw Failure{"Circular decoder table entry"};
    stack_.push_back(v);
  }

  int ExpandNextCode() {
    int c = Fetch(width_);
    if (c < 0) return c;
    if (c == clear_) {
      for (int k = 0; k < 4096; ++k) {
        prefix_[k] = 0;
        suffix_[k] = k < clear_ ? k : 0;
      }
      width_ = start_width_;
      limit_ = 2 * clear_;
      next_free_ = clear_ + 2;
      stack_.clear();
      do {
        c = Fetch(width_);
      } while (c == clear_);
      if (c >= 0) first_ = prev_ = c;
      return c;
    }
    if (c == end_) {
      if (!terminator_) {
        uint8_t n;
        while (ReadByte(n) && n != 0) pos_ += n;
      }
      return -2;
    }
    const int incoming = c;
    if (c >= next_free_) {
      Push(first_);
      c = prev_;
    }
    while (c >= clear_) {
      Push(suffix_[c]);
      if (prefix_[c] == c) throw Failure{"Circular decoder table entry"};
      c = prefix_[c];
    }
    first_ = suffix_[c];
    Push(first_);
    if (next_free_ <= 4095) {
      prefix_[next_free_] = prev_;
      suffix_[next_free_] = first_;
      ++next_free_;
      if (next_free_ >= limit_ && limit_ <= 4095) {
        limit_ *= 2;
        ++width_;
      }
    }
    prev_ = incoming;
    const int v = stack_.back();
    stack_.pop_back();
    return v;
  }

  int NextPixelValue() {
    if (!stack_.empty()) {
      const int v = stack_.back();
      stack_.pop_back();
      return v;
    }
    return ExpandNextCode();
  }

  int64_t pos_ = 0;

 private:
  const std::vector<uint8_t>& data_;
  ReferenceResult& result_;
  int clear_ = 0, end_ = 0, start_width_ = 0, width_ = 0, next_free_ = 0, limit_ = 0;
  int first_ = 0, prev_ = 0;
  int prefix_[4096] = {};
  int suffix_[4096] = {};
  std::vector<int> stack_;
  uint8_t buf_[260] = {};
  int fill_ = 2, bitpos_ = 0, bitlimit_ = 0;
  bool terminator_ = false, exhausted_ = false, force_clear_ = true;
};

}  // namespace

ReferenceResult ReferenceDecode(const std::vector<uint8_t>& data, int width, int height,
                                bool interlaced, uint8_t fill) {
  ReferenceResult result;
  result.pixels.assign(static_cast<size_t>(width) * height, fill);
  Reference r(data, result);
  uint8_t m;
  if (!r.ReadByte(m)) {
    result.end_position = r.pos_;
    return result;
  }
  if (m >= 12) {
    result.warnings.push_back("Invalid LZW code size");
    uint8_t n;
    while (r.ReadByte(n) && n != 0) r.pos_ += n;
    result.end_position = r.pos_;
    return result;
  }
  r.Init(m);
  try {
    int last = 0;
    bool stopped = false;
    if (interlaced) {
      int row = 0, pass = 0, step = 8;
      for (int y = 0; y < height && !stopped; ++y) {
        for (int x = 0; x < width; ++x) {
          last = r.NextPixelValue();
          if (last < 0) {
            stopped = true;
            break;
          }
          result.pixels[static_cast<size_t>(row) * width + x] = static_cast<uint8_t>(last);
        }
        if (stopped) break;
        row += step;
        while (row >= height && step > 0) {
          if (pass > 0) step /= 2;
          ++pass;
          row = step / 2;
        }
      }
    } else {
      for (size_t i = 0; i < result.pixels.size(); ++i) {
        last = r.NextPixelValue();
        if (last < 0) break;
        result.pixels[i] = static_cast<uint8_t>(last);
      }
    }
    if (last != -2) r.NextPixelValue();
  } catch (const Failure& failure) {
    result.error = failure.message;
  }
  result.end_position = r.pos_;
  return result;
}

}  // namespace zephlet::test
