// The LZW decoder: codes across sub-blocks, table limits, unusual codes, the end of the data,
// interlaced rows, and a check against the plain reference decoder on generated streams.
#include <gtest/gtest.h>

#include <random>

#include "gif/extensions.h"
#include "gif/gif_error.h"
#include "gif/lzw_decoder.h"
#include "gif/reference_decoder.h"
#include "gif/test_helpers.h"

namespace zephlet::test {
namespace {

struct Decoded {
  Bytes pixels;
  std::vector<std::string> warnings;
  std::optional<std::string> error;
  int64_t position = 0;
};

// Decodes `data` (minimum code size byte first) for a frame of the given shape.
Decoded Decode(const Bytes& data, int width, int height, bool interlaced = false,
               int transparent = -1) {
  Decoded result;
  TGIFImage image;
  image.OnGIFWarning = [&result](TGIFObject*, int, const std::string& message) {
    result.warnings.push_back(message);
  };
  TGIFSubImage frame(&image);
  frame.FrameWidth = static_cast<uint16_t>(width);
  frame.FrameHeight = static_cast<uint16_t>(height);
  frame.FrameFlags = interlaced ? 0x40 : 0;
  std::unique_ptr<TGIFGraphicControlExtension> control;
  if (transparent >= 0) {
    control = std::make_unique<TGIFGraphicControlExtension>(&frame);
    control->SetTransparencyFlag(true);
    control->SetTransparentIndex(static_cast<uint8_t>(transparent));
    frame.HasTransparency = true;
  }
  ByteViewStream stream(data);
  try {
    DecodeFrameData(frame, stream);
  } catch (const GIFException& error) {
    result.error = error.what();
  }
  result.pixels = PixelsOf(frame);
  result.position = stream.Position();
  return result;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes RandomPixels(size_t count, int colors, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes pixels(count);
  // Runs of repeated values make long table strings; single values make many short ones.
  for (size_t i = 0; i < count; ++i) {
    pixels[i] =
        (i > 0 && random() % 4 != 0) ? pixels[i - 1] : static_cast<uint8_t>(random() % colors);
  }
  return pixels;
}

TEST(LzwDecoderTest, CharacterFrameUsesCodeSizeFour) {
  const Bytes pixels = CharacterPixels();
  const Bytes data = Concat({{4}, SubBlocks(LzwEncode(pixels, 4))});
  const Decoded decoded = Decode(data, 186, 32);
  EXPECT_EQ(decoded.pixels, pixels);
  EXPECT_TRUE(decoded.warnings.empty());
  EXPECT_EQ(decoded.position, static_cast<int64_t>(data.size()));
}

struct RoundTripCase {
  const char* name;
  int code_size;
  int colors;
  std::vector<int> sub_blocks;
  bool clear_when_full;
  size_t pixel_count;
};

class RoundTripTest : public testing::TestWithParam<RoundTripCase> {};

// Codes straddle byte and sub-block boundaries in every way; the pixels must not notice.
TEST_P(RoundTripTest, DecodesWhatWasEncoded) {
  const RoundTripCase& c = GetParam();
  const Bytes pixels = RandomPixels(c.pixel_count, c.colors, 7);
  LzwOptions options;
  options.clear_when_full = c.clear_when_full;
  const Bytes data = Concat({{static_cast<uint8_t>(c.code_size)},
                             SubBlocks(LzwEncode(pixels, c.code_size, options), c.sub_blocks)});
  const Decoded decoded = Decode(data, static_cast<int>(c.pixel_count), 1);
  EXPECT_EQ(decoded.pixels, pixels);
  EXPECT_TRUE(decoded.warnings.empty());
  EXPECT_FALSE(decoded.error);
  EXPECT_EQ(decoded.position, static_cast<int64_t>(data.size()));
}

INSTANTIATE_TEST_SUITE_P(
    RoundTrips, RoundTripTest,
    testing::Values(RoundTripCase{"Full255", 8, 256, {255}, true, 20000},
                    RoundTripCase{"OneByteSubBlocks", 8, 256, {1}, true, 3000},
                    RoundTripCase{"TwoByteSubBlocks", 5, 32, {2}, true, 3000},
                    RoundTripCase{"MixedSubBlocks", 8, 200, {3, 1, 7, 254, 1, 2, 100}, true, 20000},
                    RoundTripCase{"TableFullWithoutClear", 8, 256, {255}, false, 40000},
                    RoundTripCase{"TableFullWithoutClearOneByte", 4, 16, {1}, false, 40000},
                    RoundTripCase{"CodeSizeTwo", 2, 4, {255}, true, 5000},
                    RoundTripCase{"CodeSizeEleven", 11, 256, {255}, true, 5000}),
    CaseName());

TEST(LzwDecoderTest, CodeStraddlingSubBlocksEqualsJoinedSubBlocks) {
  // Code size 8: after the clear code, 9-bit codes. Sub-blocks of 1 and 2 bytes split codes
  // 3 bits / 6 bits and in every other way.
  const Bytes codes = LzwEncode(RandomPixels(500, 256, 3), 8);
  const Decoded joined = Decode(Concat({{8}, SubBlocks(codes, {255})}), 500, 1);
  for (const std::vector<int>& sizes : {std::vector<int>{1}, {2}, {1, 2, 3}, {5, 1}}) {
    const Decoded split = Decode(Concat({{8}, SubBlocks(codes, sizes)}), 500, 1);
    EXPECT_EQ(split.pixels, joined.pixels);
    EXPECT_TRUE(split.warnings.empty());
  }
}

struct CodeCase {
  const char* name;
  int code_size;
  std::vector<int> codes;
  std::vector<int> sub_blocks;
  int pixel_count;
  Bytes pixels;
  std::vector<std::string> warnings;
};

class CodeSequenceTest : public testing::TestWithParam<CodeCase> {};

TEST_P(CodeSequenceTest, Pixels) {
  const CodeCase& c = GetParam();
  const Bytes data = Concat({{static_cast<uint8_t>(c.code_size)},
                             SubBlocks(PackCodes(c.codes, c.code_size), c.sub_blocks)});
  const Decoded decoded = Decode(data, c.pixel_count, 1);
  EXPECT_EQ(decoded.pixels, c.pixels);
  EXPECT_EQ(decoded.warnings, c.warnings);
  EXPECT_FALSE(decoded.error);
}

// Code size 2: clear code 4, end code 5, first free entry 6.
INSTANTIATE_TEST_SUITE_P(
    Codes, CodeSequenceTest,
    testing::Values(
        // A code equal to the next free entry: the previous string and its first value.
        CodeCase{"NextFreeCode", 2, {4, 1, 6, 5}, {255}, 3, {1, 1, 1}, {}},
        CodeCase{
            "NextFreeCodeOfAString", 2, {4, 1, 2, 6, 8, 5}, {255}, 7, {1, 2, 1, 2, 1, 2, 1}, {}},
        // A code above the next free entry is decoded the same way.
        CodeCase{"CodeAboveNextFree", 2, {4, 1, 7, 5}, {255}, 3, {1, 1, 1}, {}},
        // After a clear code the end code is taken as a value (5) and decoding goes on.
        CodeCase{"ClearThenEndCode", 2, {4, 2, 4, 5, 3, 5}, {255}, 5, {2, 5, 3, 0, 0}, {}},
        // The first code is a clear code even when the data does not start with one.
        CodeCase{"NoLeadingClear", 2, {3, 1, 5}, {255}, 2, {3, 1}, {}},
        CodeCase{"RepeatedClears", 2, {4, 4, 4, 2, 4, 4, 1, 5}, {255}, 2, {2, 1}, {}},
        // The end code halfway: the rest keeps the fill value, nothing is reported.
        CodeCase{"EndCodeHalfway", 2, {4, 1, 2, 5}, {255}, 4, {1, 2, 0, 0}, {}},
        // The terminator with no unread bit left (code size 3: four 4-bit codes fill two
        // bytes): the pixel loop and the final fetch both report the under-run.
        CodeCase{"UnderRunReportedTwice",
                 3,
                 {8, 1, 2, 3},
                 {255},
                 6,
                 {1, 2, 3, 0, 0, 0},
                 {"Decoder bit buffer under-run", "Decoder bit buffer under-run"}},
        // A few bits left, fewer than a code: nothing is reported (code size 4, 15 bits).
        CodeCase{"FewBitsLeft", 4, {16, 1, 2}, {255}, 4, {1, 2, 0, 0}, {}},
        // Minimum code size 9: literals above 255 are stored as their low 8 bits.
        CodeCase{"ValuesAboveByte", 9, {512, 300, 1, 513}, {255}, 2, {44, 1}, {}}),
    CaseName());

TEST(LzwDecoderTest, FillValueIsTheTransparentIndex) {
  const Bytes data = Concat({{2}, SubBlocks(PackCodes({4, 1, 2, 5}, 2))});
  EXPECT_EQ(Decode(data, 4, 1, false, 3).pixels, (Bytes{1, 2, 3, 3}));
  EXPECT_EQ(Decode(data, 4, 1, false, -1).pixels, (Bytes{1, 2, 0, 0}));
  const Decoded nothing = Decode({}, 3, 1, false, 9);
  EXPECT_EQ(nothing.pixels, (Bytes{9, 9, 9}));
}

TEST(LzwDecoderTest, SubBlockLongerThanTheData) {
  Bytes data = Concat({{2}, SubBlocks(PackCodes({4, 1, 2, 3, 5}, 2), {255}, false)});
  data[1] = 200;  // the size byte claims more than there is
  const Decoded decoded = Decode(data, 3, 1);
  EXPECT_EQ(decoded.pixels, (Bytes{1, 2, 3}));
  EXPECT_EQ(decoded.warnings, std::vector<std::string>{"Premature end of data"});
}

TEST(LzwDecoderTest, CodeSizeTwelveOrMoreKeepsTheFillValue) {
  for (uint8_t code_size : {12, 13, 32, 255}) {
    const Bytes data = {code_size, 3, 1, 2, 3, 1, 9, 0, 0x3B};
    const Decoded decoded = Decode(data, 2, 2, false, 7);
    EXPECT_EQ(decoded.pixels, Bytes(4, 7));
    EXPECT_EQ(decoded.warnings, std::vector<std::string>{"Invalid LZW code size"});
    EXPECT_EQ(decoded.position, 8) << "the stream stands after the data's terminator";
  }
}

TEST(LzwDecoderTest, TableCyclesEndTheLoad) {
  // 6 -> 7 -> 6: entry 6 is made with prefix 7 (a code not yet defined), entry 7 with prefix 6.
  const Bytes data = Concat({{2}, SubBlocks(PackCodes({4, 7, 6, 7, 6, 5}, 2))});
  const Decoded decoded = Decode(data, 20, 1);
  ASSERT_TRUE(decoded.error);
  EXPECT_EQ(*decoded.error, "Circular decoder table entry");
}

struct InterlaceCase {
  int height;
  int rows_with_data;          // rows the data covers
  std::vector<int> row_order;  // rows filled, in order
};

TEST(LzwDecoderTest, InterlacedRowOrder) {
  for (const InterlaceCase& c :
       {InterlaceCase{10, 10, {0, 8, 4, 2, 6, 1, 3, 5, 7, 9}}, InterlaceCase{1, 1, {0}},
        InterlaceCase{3, 3, {0, 2, 1}}, InterlaceCase{10, 3, {0, 8, 4}},
        InterlaceCase{17, 4, {0, 8, 16, 4}}}) {
    // Row k of the data holds the value k + 1; the rest keeps the fill value 0.
    constexpr int kWidth = 3;
    Bytes values;
    for (int k = 0; k < c.rows_with_data; ++k)
      values.insert(values.end(), kWidth, static_cast<uint8_t>(k + 1));
    const Bytes data = Concat({{4}, SubBlocks(LzwEncode(values, 4))});
    const Decoded decoded = Decode(data, kWidth, c.height, true);
    Bytes expected(static_cast<size_t>(kWidth) * c.height, 0);
    for (size_t k = 0; k < c.row_order.size(); ++k) {
      std::fill_n(expected.begin() + c.row_order[k] * kWidth, kWidth, static_cast<uint8_t>(k + 1));
    }
    EXPECT_EQ(decoded.pixels, expected) << "height " << c.height;
  }
}

TEST(LzwDecoderTest, InterlacedStringsCrossRows) {
  const Bytes pixels = RandomPixels(7 * 13, 8, 11);
  const Bytes data = Concat({{3}, SubBlocks(LzwEncode(InterlaceRows(pixels, 7, 13), 3))});
  EXPECT_EQ(Decode(data, 7, 13, true).pixels, pixels);
}

// ---- where the stream is left, seen through whole files

TEST(LzwDecoderTest, EndCodeHalfwayLeavesTheStreamAfterTheData) {
  ImageDataOptions half;
  half.sub_blocks = {1};
  const Bytes first_data = Concat({{2}, SubBlocks(PackCodes({4, 1, 2, 5, 3, 3, 3, 3}, 2), {1})});
  const Loaded loaded = Load(GifWriter()
                                 .Header(4, 1, 4)
                                 .ImageDescriptor(0, 0, 4, 1)
                                 .Raw(first_data)
                                 .Image(0, 0, 4, 1, {3, 2, 1, 0}, 0, 0, half)
                                 .Trailer()
                                 .Data());
  ASSERT_EQ(loaded.FrameCount(), 2);
  EXPECT_EQ(PixelsOf(loaded.Frame(0)), (Bytes{1, 2, 0, 0}));
  EXPECT_EQ(PixelsOf(loaded.Frame(1)), (Bytes{3, 2, 1, 0}));
  EXPECT_TRUE(loaded.warnings.empty());
}

TEST(LzwDecoderTest, ClearAndEndCodeAfterTheLastPixel) {
  // The final fetch takes the clear code and returns the end code as a value, unhandled: the
  // terminator stays unread and the frame list skips it as a zero byte.
  const Bytes first_data = Concat({{2}, SubBlocks(PackCodes({4, 2, 4, 5}, 2))});
  const Loaded loaded = Load(GifWriter()
                                 .Header(1, 1, 4)
                                 .ImageDescriptor(0, 0, 1, 1)
                                 .Raw(first_data)
                                 .Image(0, 0, 1, 1, {3})
                                 .Trailer()
                                 .Data());
  ASSERT_EQ(loaded.FrameCount(), 2);
  EXPECT_EQ(PixelsOf(loaded.Frame(0)), Bytes{2});
  EXPECT_EQ(PixelsOf(loaded.Frame(1)), Bytes{3});
  EXPECT_TRUE(loaded.warnings.empty());
}

TEST(LzwDecoderTest, MoreCodesThanPixels) {
  // One pixel, then codes in one-byte sub-blocks: the final fetch reads one more sub-block and
  // the frame list resumes at the next size byte, 0x01, an unknown block type.
  const Bytes data = Concat({{2}, SubBlocks(PackCodes({4, 1, 1, 1, 1, 1, 1, 1, 5}, 2), {1})});
  const Loaded loaded =
      Load(GifWriter().Header(1, 1, 4).ImageDescriptor(0, 0, 1, 1).Raw(data).Trailer().Data());
  ASSERT_EQ(loaded.FrameCount(), 1);
  EXPECT_EQ(PixelsOf(loaded.Frame(0)), Bytes{1});
  EXPECT_EQ(loaded.warnings, (std::vector<std::string>{"frame-list: Unknown GIF block type",
                                                       "trailer: Invalid Image trailer"}));
}

// ---- generated streams against the reference decoder

Bytes Mangle(Bytes data, std::mt19937& random) {
  const int edits = static_cast<int>(random() % 4);
  for (int i = 0; i < edits && !data.empty(); ++i) {
    switch (random() % 4) {
      case 0:
        data[random() % data.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
        break;
      case 1:
        data.resize(random() % data.size());
        break;
      case 2:
        data[random() % data.size()] = static_cast<uint8_t>(random());
        break;
      default:
        data.insert(data.begin() + static_cast<long>(random() % data.size()),
                    static_cast<uint8_t>(random()));
        break;
    }
  }
  return data;
}

TEST(LzwDecoderTest, AgreesWithTheReferenceDecoder) {
  std::mt19937 random(20261211);
  int errors = 0;
  for (int round = 0; round < 3000; ++round) {
    const int code_size = static_cast<int>(random() % 12);
    const int width = static_cast<int>(random() % 24);
    const int height = static_cast<int>(random() % 12);
    const bool interlaced = random() % 3 == 0;
    const int colors = 1 << std::min(code_size, 8);
    std::vector<int> sizes = {static_cast<int>(1 + random() % 255),
                              static_cast<int>(1 + random() % 9)};
    Bytes codes;
    if (random() % 2 == 0) {
      // Real data of a different size than the frame, possibly without clear or end codes.
      LzwOptions options;
      options.initial_clear = random() % 4 != 0;
      options.end_code = random() % 4 != 0;
      options.clear_when_full = random() % 2 == 0;
      codes = LzwEncode(RandomPixels(random() % 400, colors, static_cast<uint32_t>(random())),
                        std::max(code_size, 2), options);
    } else {
      // Arbitrary codes: undefined entries, cycles, clear and end codes anywhere.
      std::vector<int> list(random() % 300);
      const int limit = 1 << std::min(code_size + 1 + static_cast<int>(random() % 3), 12);
      for (int& code : list) code = static_cast<int>(random() % limit);
      codes = PackCodes(list, code_size);
    }
    Bytes data =
        Concat({{static_cast<uint8_t>(code_size)}, SubBlocks(codes, sizes, random() % 5 != 0)});
    if (random() % 5 == 0) data.insert(data.end(), {0x2C, 1, 2, 3});
    data = Mangle(data, random);
    const uint8_t fill = static_cast<uint8_t>(random() % 3);
    const ReferenceResult expected = ReferenceDecode(data, width, height, interlaced, fill);
    const Decoded actual = Decode(data, width, height, interlaced, fill == 0 ? -1 : fill);
    if (expected.error) ++errors;
    ASSERT_EQ(actual.error, expected.error) << "round " << round;
    ASSERT_EQ(actual.pixels, expected.pixels) << "round " << round;
    ASSERT_EQ(actual.warnings, expected.warnings) << "round " << round;
    ASSERT_EQ(actual.position, expected.end_position) << "round " << round;
  }
  EXPECT_GT(errors, 0) << "the generated streams should include table cycles";
}

TEST(LzwDecoderTest, AgreesWithTheReferenceDecoderOnLargeFrames) {
  // Full tables, deferred clear codes and long strings, damaged in a few places.
  std::mt19937 random(4096);
  for (int round = 0; round < 120; ++round) {
    const int code_size = 2 + static_cast<int>(random() % 7);
    const int width = 50 + static_cast<int>(random() % 300);
    const int height = 20 + static_cast<int>(random() % 100);
    const bool interlaced = random() % 2 == 0;
    LzwOptions options;
    options.clear_when_full = random() % 2 == 0;
    const size_t count = static_cast<size_t>(width) * height + random() % 200 - 100;
    const Bytes pixels = RandomPixels(count, 1 << code_size, static_cast<uint32_t>(random()));
    Bytes data = Concat(
        {{static_cast<uint8_t>(code_size)},
         SubBlocks(LzwEncode(pixels, code_size, options), {static_cast<int>(1 + random() % 255)})});
    if (round % 3 != 0) data = Mangle(data, random);
    const ReferenceResult expected = ReferenceDecode(data, width, height, interlaced, 0);
    const Decoded actual = Decode(data, width, height, interlaced);
    ASSERT_EQ(actual.error, expected.error) << "round " << round;
    ASSERT_EQ(actual.pixels, expected.pixels) << "round " << round;
    ASSERT_EQ(actual.warnings, expected.warnings) << "round " << round;
    ASSERT_EQ(actual.position, expected.end_position) << "round " << round;
  }
}

}  // namespace
}  // namespace zephlet::test
