// The stream reader: signature, block structure, frames without images, warnings with their
// senders, fatal errors, progress, copying and the memory limits.
#include <gtest/gtest.h>

#include <cstdio>
#include <new>

#include "gif/extensions.h"
#include "gif/gif_error.h"
#include "gif/gif_image.h"
#include "gif/gif_limits.h"
#include "gif/test_helpers.h"

namespace zephlet::test {
namespace {

// A 4 x 2 screen with 4 global colours, without the trailer.
GifWriter Screen42() {
  return GifWriter().Header(4, 2, 4);
}
const Bytes kPixels42 = {0, 1, 2, 3, 3, 2, 1, 0};

TEST(GifReaderTest, LoadsTheCharacterGif) {
  const Loaded loaded = Load(CharacterGif());
  ASSERT_FALSE(loaded.error) << *loaded.error;
  EXPECT_TRUE(loaded.warnings.empty());
  EXPECT_EQ(loaded.image->Width(), 186);
  EXPECT_EQ(loaded.image->Height(), 32);
  EXPECT_EQ(loaded.image->GlobalMap().EntryCount(), 16);
  ASSERT_EQ(loaded.FrameCount(), 1);
  const TGIFSubImage& frame = loaded.Frame(0);
  ASSERT_EQ(frame.ExtensionBlocks.Count(), 2);
  auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(&frame.ExtensionBlocks[0]);
  auto* control = dynamic_cast<TGIFGraphicControlExtension*>(&frame.ExtensionBlocks[1]);
  ASSERT_NE(loop, nullptr);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(loop->LoopCount, 0);
  EXPECT_EQ(loop->BufferingSize, 0u);
  EXPECT_EQ(frame.FrameControl, control);
  EXPECT_EQ(control->DisposalMode(), 2);
  EXPECT_TRUE(control->TransparencyFlag());
  EXPECT_FALSE(control->WaitForInput());
  EXPECT_EQ(control->FrameDelay(), 3);
  EXPECT_EQ(control->TransparentIndex(), 15);
  EXPECT_TRUE(frame.HasTransparency);
  EXPECT_EQ(PixelsOf(frame), CharacterPixels());
}

struct SignatureCase {
  const char* name;
  Bytes prefix;           // bytes before the signature
  std::string signature;  // six bytes
  const char* error;      // null: loads
};

class SignatureTest : public testing::TestWithParam<SignatureCase> {};

TEST_P(SignatureTest, AcceptsOrRejects) {
  const SignatureCase& c = GetParam();
  Bytes bytes = c.prefix;
  const Bytes rest =
      GifWriter().Header(4, 2, 4, c.signature).Image(0, 0, 4, 2, kPixels42).Trailer().Data();
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  const Loaded loaded = Load(bytes);
  if (c.error == nullptr) {
    ASSERT_FALSE(loaded.error) << *loaded.error;
    ASSERT_EQ(loaded.FrameCount(), 1);
    EXPECT_EQ(PixelsOf(loaded.Frame(0)), kPixels42);
  } else {
    ASSERT_TRUE(loaded.error);
    EXPECT_EQ(*loaded.error, c.error);
    EXPECT_EQ(loaded.position_after, 0) << "the position goes back to where the load began";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Signatures, SignatureTest,
    testing::Values(
        SignatureCase{"Gif89a", {}, "GIF89a", nullptr},
        SignatureCase{"Gif87a", {}, "GIF87a", nullptr},
        SignatureCase{"LowerCase", {}, "gif89a", nullptr},
        SignatureCase{"AnyVersion", {}, "GiF1.x", nullptr},
        SignatureCase{"FourBytesBefore", {1, 2, 3, 4}, "GIF89a", nullptr},
        SignatureCase{
            "EightBytesBefore", {1, 2, 3, 4, 5, 6, 7, 8}, "GIF89a", "Invalid GIF signature"},
        SignatureCase{"NotGif", {}, "PNG89a", "Invalid GIF signature"},
        SignatureCase{"ZeroEndsTheText", {}, std::string("GI\0F9a", 6), "Invalid GIF signature"}),
    CaseName());

struct TruncationCase {
  const char* name;
  size_t keep;  // bytes kept of the 4 x 2 file
};

class TruncationTest : public testing::TestWithParam<TruncationCase> {};

TEST_P(TruncationTest, EndsWithPrematureEndOfData) {
  Bytes bytes = Screen42().Image(0, 0, 4, 2, kPixels42).Trailer().Data();
  bytes.resize(GetParam().keep);
  const Loaded loaded = Load(bytes);
  ASSERT_TRUE(loaded.error);
  EXPECT_EQ(*loaded.error, "Premature end of data");
  EXPECT_EQ(loaded.FrameCount(), 0);
}

// 6 signature + 7 descriptor + 12 global table, then the 10-byte image descriptor.
INSTANTIATE_TEST_SUITE_P(Truncations, TruncationTest,
                         testing::Values(TruncationCase{"InSignature", 4},
                                         TruncationCase{"InScreenDescriptor", 10},
                                         TruncationCase{"InGlobalTable", 20},
                                         TruncationCase{"InImageDescriptor", 30}),
                         CaseName());

struct StructureCase {
  const char* name;
  Bytes bytes;
  std::vector<bool> has_image;  // one entry per frame
  std::vector<std::string> warnings;
};

class StructureTest : public testing::TestWithParam<StructureCase> {};

TEST_P(StructureTest, FramesAndWarnings) {
  const StructureCase& c = GetParam();
  const Loaded loaded = Load(c.bytes);
  ASSERT_FALSE(loaded.error) << *loaded.error;
  ASSERT_EQ(loaded.FrameCount(), static_cast<int>(c.has_image.size()));
  for (int i = 0; i < loaded.FrameCount(); ++i) {
    EXPECT_EQ(loaded.Frame(i).Pixels() != nullptr, c.has_image[static_cast<size_t>(i)])
        << "frame " << i;
  }
  EXPECT_EQ(loaded.warnings, c.warnings);
}

INSTANTIATE_TEST_SUITE_P(
    Structure, StructureTest,
    testing::Values(
        StructureCase{"ZeroBytesBetweenBlocks",
                      Screen42()
                          .Raw({0, 0})
                          .Image(0, 0, 4, 2, kPixels42)
                          .Raw({0, 0, 0})
                          .Image(0, 0, 4, 2, kPixels42)
                          .Raw({0})
                          .Trailer()
                          .Data(),
                      {true, true},
                      {}},
        StructureCase{"ExtensionThenZeroThenImage",
                      Screen42()
                          .GraphicControl(0, 5, 0)
                          .Byte(0)
                          .Image(0, 0, 4, 2, kPixels42)
                          .Trailer()
                          .Data(),
                      {false, true},
                      {"extension-list: Invalid extension introducer"}},
        StructureCase{"CommentAfterTheLastImage",
                      Screen42().Image(0, 0, 4, 2, kPixels42).Comment("end").Trailer().Data(),
                      {true, false},
                      {}},
        StructureCase{"ExtensionAtTheEndOfTheData",
                      Screen42().Image(0, 0, 4, 2, kPixels42).Comment("end").Data(),
                      {true, false},
                      {}},
        StructureCase{"NoTrailer", Screen42().Image(0, 0, 4, 2, kPixels42).Data(), {true}, {}},
        StructureCase{"BytesAfterTheTrailer",
                      Screen42().Image(0, 0, 4, 2, kPixels42).Trailer().Raw({0x99, 0x2C, 1}).Data(),
                      {true},
                      {}},
        StructureCase{"UnknownBlockType",
                      Screen42()
                          .Image(0, 0, 4, 2, kPixels42)
                          .Byte(0x99)
                          .Image(0, 0, 4, 2, kPixels42)
                          .Trailer()
                          .Data(),
                      {true},
                      {"frame-list: Unknown GIF block type", "trailer: Invalid Image trailer"}},
        StructureCase{"ByteAfterExtensionsStartsADescriptor",
                      // 0x42 ends the extension list and is taken as the image separator.
                      Screen42()
                          .Comment("x")
                          .ImageDescriptor(0, 0, 4, 2, 0, 0x42)
                          .ImageData(kPixels42)
                          .Trailer()
                          .Data(),
                      {true},
                      {"extension-list: Invalid extension introducer"}},
        StructureCase{"ZeroWidthTakesTheScreen",
                      Screen42().Image(0, 0, 0, 1, kPixels42).Trailer().Data(),
                      {true},
                      {"frame: Image exceeds Logical Screen size"}},
        StructureCase{"ShortGraphicControl",
                      Screen42().Raw({0x21, 0xF9, 4, 1, 2}).Data(),
                      {false},
                      {"graphic-control: Premature end of data"}},
        StructureCase{"DecoderWarningsComeFromTheFrame",
                      // Image data: code size 2, one sub-block claiming 9 bytes of which 2 exist.
                      Screen42().ImageDescriptor(0, 0, 4, 2).Raw({2, 9, 0x44, 0x01}).Data(),
                      {true},
                      {"frame: Premature end of data"}}),
    CaseName());

TEST(GifReaderTest, FrameWithoutImageHoldsOnlyItsExtensions) {
  const Loaded loaded = Load(Screen42()
                                 .GraphicControl(0x01, 5, 2)
                                 .Byte(0)
                                 .Image(1, 0, 3, 2, {0, 1, 2, 3, 3, 2})
                                 .Trailer()
                                 .Data());
  ASSERT_EQ(loaded.FrameCount(), 2);
  EXPECT_EQ(loaded.Frame(0).ExtensionBlocks.Count(), 1);
  EXPECT_NE(loaded.Frame(0).FrameControl, nullptr);
  EXPECT_TRUE(loaded.Frame(0).IsEmpty());
  EXPECT_EQ(loaded.Frame(1).ExtensionBlocks.Count(), 0);
  EXPECT_EQ(loaded.Frame(1).FrameControl, nullptr);
  EXPECT_EQ(loaded.Frame(1).FrameLeft, 1);
}

TEST(GifReaderTest, ZeroSizedFrameTakesBothScreenDimensions) {
  const Loaded loaded = Load(Screen42().Image(0, 0, 7, 0, kPixels42).Trailer().Data());
  ASSERT_EQ(loaded.FrameCount(), 1);
  EXPECT_EQ(loaded.Frame(0).FrameWidth, 4);
  EXPECT_EQ(loaded.Frame(0).FrameHeight, 2);
  EXPECT_EQ(PixelsOf(loaded.Frame(0)), kPixels42);
}

TEST(GifReaderTest, FramePastTheScreenIsKeptAsRead) {
  const Loaded loaded = Load(Screen42().Image(3, 1, 4, 2, kPixels42).Trailer().Data());
  ASSERT_EQ(loaded.FrameCount(), 1);
  const TGIFSubImage& frame = loaded.Frame(0);
  EXPECT_EQ(frame.FrameLeft, 3);
  EXPECT_EQ(frame.FrameTop, 1);
  EXPECT_EQ(frame.FrameWidth, 4);
  EXPECT_EQ(frame.FrameHeight, 2);
  EXPECT_TRUE(loaded.warnings.empty());
}

TEST(GifReaderTest, LocalTableAndActiveMap) {
  const Loaded loaded = Load(
      Screen42().Image(0, 0, 4, 2, kPixels42, 0, 8).Image(0, 0, 4, 2, kPixels42).Trailer().Data());
  ASSERT_EQ(loaded.FrameCount(), 2);
  EXPECT_EQ(loaded.Frame(0).LocalMap.EntryCount(), 8);
  EXPECT_EQ(&loaded.Frame(0).ActiveMap(), &loaded.Frame(0).LocalMap);
  EXPECT_EQ(&loaded.Frame(1).ActiveMap(), &loaded.image->GlobalMap());
}

struct ErrorCase {
  const char* name;
  Bytes bytes;
  const char* error;
  int frames_kept;
};

class ErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorTest, EndsTheLoadKeepingEarlierFrames) {
  const ErrorCase& c = GetParam();
  std::vector<std::pair<ProgressStage, int>> progress;
  auto image = std::make_unique<TGIFImage>();
  image->OnProgress = [&progress](TGIFObject*, ProgressStage stage, int percent, bool,
                                  const ProgressRect&,
                                  const std::string&) { progress.emplace_back(stage, percent); };
  Bytes bytes = {0xAA};  // the load starts one byte into the stream
  bytes.insert(bytes.end(), c.bytes.begin(), c.bytes.end());
  ByteViewStream stream(bytes);
  stream.SetPosition(1);
  try {
    image->LoadFromStream(stream);
    FAIL() << "no error";
  } catch (const GIFException& error) {
    EXPECT_STREQ(error.what(), c.error);
  }
  EXPECT_EQ(stream.Position(), 1);
  EXPECT_EQ(image->Frames().Count(), c.frames_kept);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), std::make_pair(ProgressStage::Ending, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ErrorTest,
    testing::Values(
        ErrorCase{"UnregisteredLabel",
                  Screen42().Image(0, 0, 4, 2, kPixels42).Raw({0x21, 0x02, 0}).Data(),
                  "Unknown extension type", 1},
        ErrorCase{"DataEndsAfterIntroducer", Screen42().Raw({0x21}).Data(),
                  "Unknown extension type", 0},
        ErrorCase{"ApplicationWithoutBlockSize", Screen42().Raw({0x21, 0xFF}).Data(),
                  "Unknown extension type", 0},
        ErrorCase{"ApplicationBlockSizeTenCut", Screen42().Raw({0x21, 0xFF, 10, 'A', 'B'}).Data(),
                  "Unknown extension type", 0},
        ErrorCase{"ApplicationBlockSizeNine", Screen42().Application("ABCDEFGHI", {}).Data(),
                  "Unsupported Application Extension block size", 0},
        ErrorCase{"LoopCountMissing", Screen42().Application("NETSCAPE2.0", {{1, 0}}).Data(),
                  "Invalid GIF data", 0},
        ErrorCase{"BufferingSizeMissing",
                  Screen42().Application("NETSCAPE2.0", {{2, 0, 0, 0}}).Data(), "Invalid GIF data",
                  0},
        ErrorCase{"TextHeaderCut", Screen42().Raw({0x21, 0x01, 12, 0, 0, 0}).Data(),
                  "Premature end of data", 0},
        ErrorCase{"CommentSubBlockCut", Screen42().Raw({0x21, 0xFE, 5, 'a', 'b'}).Data(),
                  "Premature end of data", 0},
        ErrorCase{"ApplicationSignatureCut",
                  Screen42().Image(0, 0, 4, 2, kPixels42).Raw({0x21, 0xFF, 11, 'N', 'E'}).Data(),
                  "Premature end of data", 1},
        ErrorCase{"SelfPrefixedTableEntry",
                  Screen42()
                      .ImageDescriptor(0, 0, 4, 2)
                      .Byte(2)
                      .Raw(SubBlocks(PackCodes({4, 7, 7, 7, 7}, 2)))
                      .Data(),
                  "Circular decoder table entry", 0}),
    CaseName());

TEST(GifReaderTest, ProgressOfALoad) {
  struct Event {
    std::string sender;
    ProgressStage stage;
    int percent;
    bool redraw;
    std::string message;
    bool operator==(const Event&) const = default;
  };
  std::vector<Event> events;
  TGIFImage image;
  image.OnProgress = [&events](TGIFObject* sender, ProgressStage stage, int percent, bool redraw,
                               const ProgressRect&, const std::string& message) {
    events.push_back({SenderKind(sender), stage, percent, redraw, message});
  };
  const Bytes bytes = Screen42().Image(0, 0, 4, 2, kPixels42).Trailer().Data();
  ByteViewStream stream(bytes);
  image.LoadFromStream(stream);
  const int64_t after_frame = static_cast<int64_t>(bytes.size()) - 1;
  const int running =
      static_cast<int>((after_frame * 100 + static_cast<int64_t>(bytes.size()) / 2) /
                       static_cast<int64_t>(bytes.size()));
  const std::vector<Event> expected = {
      {"image", ProgressStage::Starting, 0, false, "Loading..."},
      {"frame-list", ProgressStage::Running, running, false, "Loading..."},
      {"image", ProgressStage::Ending, 100, true, "Loading..."}};
  EXPECT_EQ(events, expected);
}

TEST(GifReaderTest, LoadFromFile) {
  Bytes bytes = {'x', 'x', 'x', 'x'};  // four bytes before the signature
  const Bytes gif = Screen42().Image(0, 0, 4, 2, kPixels42).Trailer().Data();
  bytes.insert(bytes.end(), gif.begin(), gif.end());
  const std::string path = testing::TempDir() + "gif_reader_test.gif";
  {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
  }
  TGIFImage image;
  image.LoadFromFile(path);
  ASSERT_EQ(image.Frames().Count(), 1);
  EXPECT_EQ(PixelsOf(image.Frames()[0]), kPixels42);
  std::remove(path.c_str());
  EXPECT_THROW(image.LoadFromFile(path), FileOpenError);
}

TEST(GifReaderTest, SecondLoadReplacesTheFirst) {
  TGIFImage image;
  const Bytes two = Screen42().Image(0, 0, 4, 2, kPixels42).Image(0, 0, 4, 2, kPixels42).Data();
  ByteViewStream first(two);
  image.LoadFromStream(first);
  ASSERT_EQ(image.Frames().Count(), 2);
  const Bytes one = GifWriter().Header(2, 1).Image(0, 0, 2, 1, {1, 0}).Data();
  ByteViewStream second(one);
  image.LoadFromStream(second);
  EXPECT_EQ(image.Frames().Count(), 1);
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(image.GlobalMap().EntryCount(), 0);
}

TEST(GifReaderTest, MapColor) {
  Loaded loaded = Load(Screen42().Image(0, 0, 4, 2, kPixels42).Data());
  std::vector<std::string> warnings;
  loaded.image->OnGIFWarning = [&warnings](TGIFObject* sender, int, const std::string& message) {
    warnings.push_back(SenderKind(sender) + ": " + message);
  };
  TGIFGlobalColorMap& map = loaded.image->GlobalMap();
  uint8_t rgb[3];
  TestColor(2, rgb);
  EXPECT_EQ(map.MapColor(2), rgb[0] + rgb[1] * 256u + rgb[2] * 65536u);
  TestColor(0, rgb);
  EXPECT_EQ(map.MapColor(4), rgb[0] + rgb[1] * 256u + rgb[2] * 65536u);
  EXPECT_EQ(warnings, std::vector<std::string>{"global-map: Invalid color index"});

  TGIFLocalColorMap& empty = loaded.Frame(0).LocalMap;
  EXPECT_THROW(
      {
        try {
          empty.MapColor(0);
        } catch (const GIFException& error) {
          EXPECT_STREQ(error.what(), "Color table is empty");
          throw;
        }
      },
      GIFException);
  EXPECT_EQ(warnings.back(), "local-map: Invalid color index");
}

TEST(GifReaderTest, ColorMapGrowthRule) {
  struct Case {
    int start;  // allocation before, made by growing to it
    int grow_to;
    int allocated;
  };
  for (const Case& c : {Case{0, 0, 16}, Case{0, 2, 16}, Case{0, 16, 16}, Case{0, 17, 32},
                        Case{0, 33, 64}, Case{0, 250, 256}, Case{0, 300, 256}, Case{32, 20, 32},
                        Case{32, 32, 32}, Case{32, 33, 64}}) {
    TGIFLocalColorMap map(nullptr);
    if (c.start > 0) map.Grow(c.start);
    map.Grow(c.grow_to);
    EXPECT_EQ(map.AllocatedEntries(), c.allocated) << c.start << " -> " << c.grow_to;
  }
}

// ---- copying

TEST(GifReaderTest, AssignCopiesIntoAnIndependentImage) {
  Loaded loaded = Load(Screen42()
                           .NetscapeLoop(3)
                           .GraphicControl(0x05, 7, 1)
                           .Comment("x")
                           .Application("ABCDEFGHIJ", {{1, 2, 3}}, 10)
                           .Image(1, 0, 3, 2, {0, 1, 2, 3, 3, 2}, 0, 4)
                           .Comment("last")
                           .Trailer()
                           .Data());
  ASSERT_FALSE(loaded.error);
  ASSERT_EQ(loaded.FrameCount(), 2);
  // A 300-byte line goes out as sub-blocks of 255 and 45 bytes and comes back as two lines.
  dynamic_cast<TGIFCommentExtension&>(loaded.Frame(0).ExtensionBlocks[2]).CommentLines = {
      std::string(300, 'c')};
  loaded.image->PaintOptions = 0x0041;
  loaded.image->SpeedPercent = 500;
  std::vector<std::string> copying;
  loaded.image->OnProgress = [&copying](TGIFObject*, ProgressStage, int percent, bool,
                                        const ProgressRect&, const std::string& message) {
    copying.push_back(message + " " + std::to_string(percent));
  };

  TGIFImage copy;
  copy.Assign(loaded.image.get());
  EXPECT_EQ(copying, (std::vector<std::string>{"Copying... 0", "Copying... 50", "Copying... 100",
                                               "Copying... 100"}));
  EXPECT_FALSE(copy.OnProgress);
  EXPECT_FALSE(copy.OnGIFWarning);
  EXPECT_EQ(copy.PaintOptions, 0x0041);
  EXPECT_EQ(copy.SpeedPercent, kDefaultSpeedPercent);  // the speed is not copied
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.GlobalMap().EntryCount(), 4);
  ASSERT_EQ(copy.Frames().Count(), 2);

  const TGIFSubImage& frame = copy.Frames()[0];
  const TGIFSubImage& source = loaded.Frame(0);
  EXPECT_EQ(frame.FrameLeft, 1);
  EXPECT_EQ(frame.FrameWidth, 3);
  EXPECT_EQ(frame.LocalMap.EntryCount(), 4);
  EXPECT_EQ(PixelsOf(frame), PixelsOf(source));
  EXPECT_NE(frame.Pixels(), source.Pixels());
  EXPECT_TRUE(frame.HasTransparency);
  ASSERT_NE(frame.FrameControl, nullptr);
  EXPECT_NE(frame.FrameControl, source.FrameControl);
  EXPECT_EQ(frame.FrameControl->FrameDelay(), 7);

  // Extensions come back through their written form: the 10-byte application block with an
  // 11-byte signature.
  ASSERT_EQ(frame.ExtensionBlocks.Count(), 4);
  EXPECT_EQ(dynamic_cast<TGIFAppExtNSLoop&>(frame.ExtensionBlocks[0]).LoopCount, 3);
  const auto& comment = dynamic_cast<TGIFCommentExtension&>(frame.ExtensionBlocks[2]);
  EXPECT_EQ(comment.CommentLines,
            (std::vector<std::string>{std::string(255, 'c'), std::string(45, 'c')}));
  const auto& app = dynamic_cast<TGIFUnknownAppExtension&>(frame.ExtensionBlocks[3]);
  EXPECT_EQ(app.AppSignatureText(), std::string("ABCDEFGHIJ\0", 11));
  ASSERT_EQ(app.RawBlocks.size(), 1u);
  EXPECT_EQ(app.RawBlocks[0].BlockBytes, (Bytes{1, 2, 3}));

  // A last frame of extensions only is copied as an empty frame without extensions.
  EXPECT_TRUE(copy.Frames()[1].IsEmpty());
  EXPECT_EQ(copy.Frames()[1].ExtensionBlocks.Count(), 0);

  loaded.image.reset();
  EXPECT_EQ(copy.Frames()[0].Pixels()[5], 2);  // still readable after the source is gone
}

TEST(GifReaderTest, AssignOfNothingOrItself) {
  Loaded loaded = Load(Screen42().Image(0, 0, 4, 2, kPixels42).Data());
  loaded.image->Assign(loaded.image.get());
  EXPECT_EQ(loaded.FrameCount(), 1);
  loaded.image->Assign(nullptr);
  EXPECT_EQ(loaded.FrameCount(), 0);
  EXPECT_TRUE(loaded.image->Empty());
}

// ---- memory limits

TEST(GifReaderTest, OversizedFrameFailsWithoutAllocating) {
  struct Case {
    uint16_t width;
    uint16_t height;
  };
  for (const Case& c : {Case{65535, 65535}, Case{8193, 8192}, Case{65535, 1025}}) {
    const Loaded loaded = Load(GifWriter()
                                   .Header(4, 2, 4)
                                   .Image(0, 0, 4, 2, kPixels42)
                                   .ImageDescriptor(0, 0, c.width, c.height)
                                   .Raw({2, 0})
                                   .Trailer()
                                   .Data());
    ASSERT_TRUE(loaded.error) << c.width << " x " << c.height;
    EXPECT_EQ(*loaded.error, "Out of memory");
    EXPECT_EQ(loaded.FrameCount(), 1);
    EXPECT_EQ(loaded.image->AllocatedPixels(), 8);
  }
}

TEST(GifReaderTest, ImageTotalIsLimited) {
  TGIFImage image;
  const Bytes bytes = Screen42().Image(0, 0, 4, 2, kPixels42).Image(0, 0, 4, 2, kPixels42).Data();
  ByteViewStream stream(bytes);
  image.LoadFromStream(stream);
  EXPECT_EQ(image.AllocatedPixels(), 16);

  // The copy counts its own pixels, and stops at the image limit.
  TGIFImage copy;
  copy.ReservePixels(kMaxImagePixels - 12);
  image.OnGIFWarning = [](TGIFObject*, int, const std::string&) {};
  EXPECT_THROW(copy.Assign(&image), std::bad_alloc);
  EXPECT_FALSE(copy.OnGIFWarning) << "the source's handler is dropped after a failed copy too";
  EXPECT_EQ(copy.Frames().Count(), 1);
  EXPECT_EQ(copy.AllocatedPixels(), kMaxImagePixels - 4);
  copy.Clear();
  EXPECT_EQ(copy.AllocatedPixels(), kMaxImagePixels - 12);
}

}  // namespace
}  // namespace zephlet::test
